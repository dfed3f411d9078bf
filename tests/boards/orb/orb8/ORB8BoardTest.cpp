#include "boards/orb/orb8/ORB8Board.h"
#include "boards/BoardFactory.h"
#include "boards/orb/orb4/ORB4Board.h"

#include "support/BoardText.h"
#include "support/SignalBoardSamples.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <vector>

using namespace samples;

TEST(ORB8Board, PlainFieldsInTheirSVsAndBack)
{
    TORB8Board b;
    b.SetSignalBaseAddress(2048);
    b.ReportSPAD = 1;
    b.IsolationDelay = 32;
    b.RedReleaseDelay = 5;
    b.Signals1to4Leds = 1;
    b.Signals5to8Leds = 1;
    b.AuxOutputs = 1;
    b.InterrogateAtPowerUp = 1;
    b.LampBrightnessSim = 1;
    b.LocoNetSwitchCommands = 1;
    b.SensorConfig().OnBoardInputs = 3;
    b.SensorConfig().ExternalInputs = 2;
    b.SensorConfig().SensorBoardNumber = 256;
    ASSERT_TRUE(b.CalculateSVs());
    const std::vector<std::pair<uint32_t, uint8_t>> expected = {
        {5, 0},  {6, 8},  {9, 1},  {20, 3},  {21, 2},   {22, 1},  {23, 1},  {24, 1},  {25, 1},
        {26, 0}, {27, 0}, {28, 0}, {507, 1}, {508, 32}, {509, 1}, {510, 5}, {511, 0}, {512, 0}};
    for (auto [n, v] : expected) EXPECT_EQ(b.GetSV(n), v) << "SV " << n;

    TORB8Board d;
    for (uint32_t n = 1; n <= 512; ++n) d.SetSV(n, b.GetSV(n));
    d.DecodeSVs();
    EXPECT_EQ(d.GetSignalBaseAddress(), 2048u);
    EXPECT_EQ(d.RedReleaseDelay, 5u);
    EXPECT_EQ(d.IsolationDelay, 32u);
    EXPECT_EQ(d.AuxOutputs, 1);
    EXPECT_EQ(d.LocoNetSwitchCommands, 1);
    EXPECT_EQ(d.InterrogateAtPowerUp, 1);
    EXPECT_EQ(d.SensorConfig().OnBoardInputs, 3);
    EXPECT_EQ(d.SensorConfig().ExternalInputs, 2);
    EXPECT_EQ(d.SensorConfig().SensorBoardNumber, 0u);
    EXPECT_EQ(SaveToText(d).substr(0, 40), SaveToText(b).substr(0, 40));
}

TEST(ORB8Board, SignalsAndZonesAreLaidOutLikeTheORB4)
{
    TORB8Board b8;
    TORB4Board b4;
    DescribeJunction(b8);
    DescribeJunction(b4);
    ASSERT_TRUE(b8.CalculateSVs());
    ASSERT_TRUE(b4.CalculateSVs());
    for (uint32_t n = 30; n <= 506; ++n) EXPECT_EQ(b8.GetSV(n), b4.GetSV(n)) << "SV " << n;
    EXPECT_EQ(b8.GetSV(331 - 24), 12);

    std::vector<std::string> d8 = DescriptionLines(b8);
    std::vector<std::string> d4 = DescriptionLines(b4);
    auto from8 = std::find(d8.begin(), d8.end(), "Signal Settings:");
    auto from4 = std::find(d4.begin(), d4.end(), "Signal Settings:");
    ASSERT_EQ(d8.end() - from8, d4.end() - from4);
    for (; from8 != d8.end(); ++from8, ++from4) {
        if (*from4 == "reverse Run Zone Settings:") {
            EXPECT_EQ(*from8, "Reverse Run Zone Settings:");
        } else {
            EXPECT_EQ(*from8, *from4);
        }
    }
}

TEST(ORB8Board, RecordsSurviveSaveAndLoadByteForByte)
{
    std::string file;
    for (uint32_t seed = 0; seed < 4; ++seed) {
        TORB8Board b;
        DescribeFully(b, seed);
        b.Signals1to4Leds = 1;
        b.AuxOutputs = static_cast<uint8_t>(seed % 2);
        b.RedReleaseDelay = 3 + seed;
        b.InterrogateAtPowerUp = 1;
        b.SensorConfig().ExternalInputs = 1;
        file += SaveToText(b);
    }
    std::istringstream in(file);
    std::string again;
    for (int i = 0; i < 4; ++i) {
        TORB8Board b;
        b.LoadFromStream(in);
        again += SaveToText(b);
    }
    EXPECT_EQ(again, file);

    std::istringstream flags("\"ORB8_BOARD\",\"F\",1,1,5,0,7,1,2,3,4,5,6\r\n");
    TORB8Board f;
    f.LoadFromStream(flags);
    EXPECT_EQ(f.ReportSPAD, 1);
    EXPECT_EQ(f.Signals1to4Leds, 7);
    EXPECT_EQ(f.AuxOutputs, 2);
    EXPECT_EQ(f.InterrogateAtPowerUp, 1);
    EXPECT_EQ(f.LampBrightnessSim, 1);
    EXPECT_EQ(f.LocoNetSwitchCommands, 1);
    EXPECT_EQ(f.RedReleaseDelay, 6u);
}

TEST(ORB8Board, DescriptionOptionsNeverStopEarly)
{
    TORB8Board b;
    b.ReportSPAD = 1;
    b.IsolationDelay = 1;
    b.RedReleaseDelay = 33;
    b.Signals1to4Leds = 1;
    b.Signals5to8Leds = 1;
    b.AuxOutputs = 1;
    b.InterrogateAtPowerUp = 1;
    b.LampBrightnessSim = 1;
    b.LocoNetSwitchCommands = 1;
    b.SensorConfig().OnBoardInputs = 1;
    b.SensorConfig().ExternalInputs = 3;
    std::vector<std::string> lines = DescriptionLines(b);
    ASSERT_EQ(lines.size(), 20u + 10 * 17 + 2 + 3 * 10);
    EXPECT_EQ(lines[5], "Report signal passed at danger ENABLED");
    EXPECT_EQ(lines[6], "Delay for power isolation zone = 0.25 s");
    EXPECT_EQ(lines[7], "Delay before change from RED = 8.25 s");
    EXPECT_EQ(lines[8], "Signals 1-3 have 4 LEDs each, signal 4 has no outputs");
    EXPECT_EQ(lines[9], "Signals 5-7 have 4 LEDs each, signal 8 has no outputs");
    EXPECT_EQ(lines[10], "Aux outputs drive LEDs for signals 9&10");
    EXPECT_EQ(lines[11], "Board generates interrogate response after power up & on demand");
    EXPECT_EQ(lines[12], "Signal lamp brighness simulation ENABLED");
    EXPECT_EQ(lines[13], "Uses LocoNet switch commands");
    EXPECT_EQ(lines[16], "On-board Input config = General Sensor Inputs, numbers 1 to 8");
    EXPECT_EQ(lines[17], "External Input config = Locally connected inputs, to make signals red");
    b.SensorConfig().OnBoardInputs = 2;
    b.Signals5to8Leds = 2; // only 1 means the four-LED arrangement
    lines = DescriptionLines(b);
    EXPECT_EQ(lines[16], "On-board Input config = General Sensor Inputs, numbers 9 to 16");
    EXPECT_EQ(lines[9], "Signals 5-8 have 3 LEDs each");
}

TEST(ORB8Board, TooManyDevicesFails)
{
    TORB8Board b;
    for (uint32_t n = 1; n <= 10; ++n)
        for (uint32_t i = 0; i < 5; ++i) b.GetSignal(n).RedSet().ConditionAt(i) = Sensor(n, i + 1, 0);
    EXPECT_FALSE(b.CalculateSVs());
    TORB8Board copy(b);
    copy.GetSignal(10).RedSet().Clear();
    copy.GetSignal(9).RedSet().Clear();
    TORB8Board fresh;
    std::ostringstream out;
    copy.SaveToStream(out);
    std::istringstream in(out.str());
    fresh.LoadFromStream(in);
    EXPECT_TRUE(fresh.CalculateSVs());
}

namespace {

// Settings of each signal controller's own that reach its SVs, varied by seed.
void DescribeSettings(TORB4Board& b, uint32_t seed)
{
    b.ReportSPAD = seed % 2;
    b.IsolationDelay = seed;
    b.SensorConfig().PairConfig = {static_cast<uint8_t>(seed % 3), 1, 2, 0};
    b.HighCurrentConfig().DCCBaseAddress = 1000 + seed;
}
void DescribeSettings(TORB8Board& b, uint32_t seed)
{
    b.RedReleaseDelay = seed;
    b.AuxOutputs = seed % 2;
    b.SensorConfig().OnBoardInputs = static_cast<uint8_t>(seed % 4);
}

template <class T> class SignalControllerSVs : public ::testing::Test {};
using TSignalControllerTypes = ::testing::Types<TORB4Board, TORB8Board>;
TYPED_TEST_SUITE(SignalControllerSVs, TSignalControllerTypes);

} // namespace

TYPED_TEST(SignalControllerSVs, DecodingCalculatedSVsGivesTheSameSVs)
{
    for (uint32_t seed = 0; seed < 20; ++seed) {
        TypeParam b;
        DescribeFully(b, seed);
        DescribeSettings(b, seed);
        ASSERT_TRUE(b.CalculateSVs()) << seed;
        TypeParam d;
        for (uint32_t n = 1; n <= 512; ++n) d.SetSV(n, b.GetSV(n));
        d.DecodeSVs();
        ASSERT_TRUE(d.CalculateSVs()) << seed;
        EXPECT_EQ(d.GetSVTable(), b.GetSVTable()) << seed;
        for (uint32_t n = 1; n <= 10; ++n) {
            EXPECT_EQ(d.GetSignal(n).GetType(), b.GetSignal(n).GetType());
            EXPECT_TRUE(d.GetSignal(n).RedSet().SameConditions(b.GetSignal(n).RedSet())) << n;
        }
    }
}

TEST(SignalControllers, ArbitrarySVTablesDecodeIntoBoardsThatSaveAndLoadUnchanged)
{
    uint32_t state = 12345;
    auto next = [&] {
        state = state * 1103515245u + 12345u;
        return static_cast<uint8_t>(state >> 16);
    };
    for (int round = 0; round < 60; ++round) {
        for (int type : {eORB4, eORB8}) {
            auto b = CreateBoardOfType(type);
            for (uint32_t n = 1; n <= 512; ++n) b->SetSV(n, round % 3 == 0 ? next() % 8 : next());
            b->DecodeSVs();
            const std::string record = SaveToText(*b);
            auto again = CreateBoardOfType(type);
            std::istringstream in(record);
            again->LoadFromStream(in);
            EXPECT_EQ(SaveToText(*again), record);
            EXPECT_EQ(DescriptionLines(*again), DescriptionLines(*b));
            if (b->CalculateSVs()) {
                for (uint32_t n : b->GetUnusedSVs()) {
                    if (n > 4) {
                        EXPECT_EQ(b->GetSV(n), 0) << n;
                    }
                }
            }
        }
    }
}

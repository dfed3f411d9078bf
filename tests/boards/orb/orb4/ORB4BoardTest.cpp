#include "boards/orb/orb4/ORB4Board.h"

#include "support/BoardText.h"
#include "support/SignalBoardSamples.h"

#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <vector>

using namespace samples;

TEST(ORB4Board, NextSignalsOfANewBoardShareOneDeviceEntry)
{
    TORB4Board b;
    ASSERT_TRUE(b.CalculateSVs());
    // The ten next signals (0, normal) share one entry: signal 0 in entry 49, written as 0, 0.
    EXPECT_EQ(b.GetDevTable().Entry(49).DeviceType, edtSignal);
    EXPECT_EQ(b.GetDevTable().Entry(49).Number, 0u);
    EXPECT_EQ(b.GetDevTable().Entry(50).DeviceType, edtNone);
}

TEST(ORB4Board, PlainFieldsInTheirSVs)
{
    TORB4Board b;
    b.SetSignalBaseAddress(300);
    EXPECT_EQ(b.GetSignal(10).DCCAddress(), 309u);
    b.SerialNumber = 0x1234;
    b.ReportSPAD = 1;
    b.DisplayMode = 1;
    b.IsolationDelay = 33;
    b.LampBrightnessSim = 1;
    b.SensorConfig().PairConfig = {1, 2, 0, 2};
    b.SensorConfig().SensorBoardNumber = 300;
    b.HighCurrentConfig().Outputs1to4 = 3;
    b.HighCurrentConfig().Outputs5to8 = 1;
    b.HighCurrentConfig().DCCBaseAddress = 2048;
    ASSERT_TRUE(b.CalculateSVs());
    EXPECT_EQ(b.GetSV(3), 0x34);
    EXPECT_EQ(b.GetSV(4), 0x12);
    EXPECT_EQ(b.GetSV(5), 44);
    EXPECT_EQ(b.GetSV(6), 1);
    EXPECT_EQ(b.GetSV(9), 1);
    EXPECT_EQ(b.GetSV(20), 1);
    EXPECT_EQ(b.GetSV(21), 2);
    EXPECT_EQ(b.GetSV(22), 0);
    EXPECT_EQ(b.GetSV(23), 2);
    EXPECT_EQ(b.GetSV(24), 3);
    EXPECT_EQ(b.GetSV(25), 1);
    EXPECT_EQ(b.GetSV(26), 44);
    EXPECT_EQ(b.GetSV(27), 0);
    EXPECT_EQ(b.GetSV(28), 8);
    EXPECT_EQ(b.GetSV(507), 1);
    EXPECT_EQ(b.GetSV(508), 33);
    EXPECT_EQ(b.GetSV(509), 1);

    TORB4Board d;
    for (uint32_t n = 1; n <= 512; ++n) d.SetSV(n, b.GetSV(n));
    d.DecodeSVs();
    EXPECT_EQ(d.SerialNumber, 0x1234u);
    EXPECT_EQ(d.GetSignalBaseAddress(), 300u);
    EXPECT_EQ(d.GetSignal(7).GetBaseAddress(), 300u);
    EXPECT_EQ(d.IsolationDelay, 33u);
    EXPECT_EQ(d.SensorConfig().SensorBoardNumber, 44u);
    EXPECT_EQ(d.SensorConfig().PairConfig, (std::array<uint8_t, 4>{1, 2, 0, 2}));
    EXPECT_EQ(d.HighCurrentConfig().DCCBaseAddress, 2048u);
    EXPECT_EQ(d.HighCurrentConfig().Outputs1to4, 3);
    EXPECT_EQ(d.DisplayMode, 1);
    EXPECT_EQ(d.LampBrightnessSim, 1);
    EXPECT_EQ(d.ReportSPAD, 1);
}

TEST(ORB4Board, JunctionBoardSVsByHand)
{
    TORB4Board b;
    DescribeJunction(b);
    ASSERT_TRUE(b.CalculateSVs());
    // Device table: point 20, sensor 5,3 and point 21; signal 0, signal 50, signal 2.
    const std::vector<std::pair<uint32_t, uint8_t>> table = {{40, 20},  {41, 0},  {42, 5},  {43, 103}, {44, 21},
                                                             {45, 0},   {46, 0},  {47, 0},  {136, 0},  {137, 0},
                                                             {138, 50}, {139, 0}, {140, 2}, {141, 0},  {142, 0}};
    for (auto [n, v] : table) EXPECT_EQ(b.GetSV(n), v) << "SV " << n;
    EXPECT_EQ(b.GetSV(32), 0);
    EXPECT_EQ(b.GetSV(164), 44);
    EXPECT_EQ(b.GetSV(165), 1);
    const uint8_t block[25] = {12, 1, 4, 12, 2, 0, 0, 178, 61, 0, 0, 0, 0, 0, 0, 121, 0, 0, 0, 0, 3, 0, 0, 62, 0};
    for (uint32_t i = 0; i < 25; ++i) EXPECT_EQ(b.GetSV(307 + i), block[i]) << "SV " << 307 + i;
    EXPECT_EQ(b.GetSV(180), 130);
    EXPECT_EQ(b.GetSV(181), 111);
    EXPECT_EQ(b.GetSV(196), 254);
    for (uint32_t n = 182; n <= 254; ++n) {
        if (n != 196) {
            EXPECT_EQ(b.GetSV(n), 0) << "SV " << n;
        }
    }
    EXPECT_EQ(b.GetSV(259), 0); // signal 1: next signal 0
}

TEST(ORB4Board, AlwaysRedSignalIsProgrammedRed)
{
    TORB4Board b;
    b.GetSignal(5).SetNextMode(ensAlwaysRed);
    b.GetSignal(6).SetNextMode(ensAlwaysRed);
    b.GetSignal(6).NextSignal = 1999; // off the board and never gathered
    ASSERT_TRUE(b.CalculateSVs());
    EXPECT_EQ(b.GetSV(257 + 4 * 25 + 2), 255);
    EXPECT_EQ(b.GetSV(257 + 5 * 25 + 2), 255);
    EXPECT_EQ(b.GetSV(257 + 3 * 25 + 2), 0);
    EXPECT_EQ(b.GetDevTable().Find({edtSignal, 1999, 0}), 0u);
}

TEST(ORB4Board, TooManyDevicesFailsWithTheErrorText)
{
    TORB4Board b;
    uint32_t point = 1;
    for (uint32_t n = 1; n <= 10 && point <= 49; ++n)
        for (uint32_t i = 0; i < 14 && point <= 49; ++i) b.GetSignal(n).RedSet().ConditionAt(i) = Point(point++, 0);
    EXPECT_FALSE(b.CalculateSVs());
    EXPECT_EQ(b.GetSVErrorText(),
              "SV Calculation Error: too many points, sensors or signals called up by board programming");
    b.GetSignal(4).RedSet().ConditionAt(6).Clear(); // point 49
    EXPECT_TRUE(b.CalculateSVs());

    TORB4Board signals; // signal 0 takes one entry; 11 more fit, the 12th does not
    for (uint32_t n = 1; n <= 10; ++n) signals.GetSignal(n).NextSignal = 500 + n;
    signals.GetSignal(1).NextSignal = 0;
    signals.GetZone(1).WestEastSet().ConditionAt(0) = Signal(600, 0);
    signals.GetZone(1).WestEastSet().ConditionAt(1) = Signal(601, 0);
    EXPECT_TRUE(signals.CalculateSVs());
    TORB4Board more(signals);
    more.GetZone(2).ShuntSet().ConditionAt(0) = Signal(602, 1);
    EXPECT_FALSE(more.CalculateSVs());
}

TEST(ORB4Board, DeviceEntriesDependOnTheDescriptionAlone)
{
    TORB4Board b;
    b.GetSignal(1).AuxSet().ConditionAt(0) = Point(7, 0);
    ASSERT_TRUE(b.CalculateSVs());
    b.GetSignal(1).AuxSet().ConditionAt(0) = Point(8, 0);
    ASSERT_TRUE(b.CalculateSVs());
    EXPECT_EQ(b.GetSV(40), 8); // point 7 is named no more and keeps no entry
    EXPECT_EQ(b.GetSV(42), 0);
    EXPECT_EQ(b.GetSV(257 + 23), 1);

    // So the board programs the same after its record is saved and read again.
    TORB4Board reloaded;
    std::istringstream in(SaveToText(b));
    reloaded.LoadFromStream(in);
    ASSERT_TRUE(reloaded.CalculateSVs());
    EXPECT_EQ(reloaded.GetSVTable(), b.GetSVTable());
}

TEST(ORB4Board, RecordsSurviveSaveAndLoadByteForByte)
{
    std::string file;
    for (uint32_t seed = 0; seed < 5; ++seed) {
        TORB4Board b;
        DescribeFully(b, seed);
        b.Name = "Board " + std::to_string(seed);
        b.DisplayMode = seed == 3;
        b.LampBrightnessSim = 1;
        b.SensorConfig().SensorBoardNumber = 256;
        b.HighCurrentConfig().Outputs5to8 = 2;
        file += SaveToText(b);
    }
    std::istringstream in(file);
    std::string again;
    for (int i = 0; i < 5; ++i) {
        TORB4Board b;
        b.LoadFromStream(in);
        if (i == 1) {
            EXPECT_EQ(b.Name, "Board 1");
            EXPECT_EQ(b.SerialNumber, 1001u);
            EXPECT_EQ(b.GetSignalBaseAddress(), 102u);
            EXPECT_EQ(b.GetSignal(4).GetBaseAddress(), 102u);
            EXPECT_FALSE(b.GetSignal(3).IsBlock());
        }
        again += SaveToText(b);
    }
    EXPECT_EQ(in.peek(), std::char_traits<char>::eof());
    EXPECT_EQ(again, file);
}

TEST(ORB4Board, LoadingReadsFlagsAsNonzeroAndSurvivesACutOffRecord)
{
    std::istringstream in("\"ORB4_BOARD\",\"Cut\",12,5,7,3,-2,9\r\n,\"n\"\r\n");
    TORB4Board b;
    b.LoadFromStream(in);
    EXPECT_EQ(b.Name, "Cut");
    EXPECT_EQ(b.ReportSPAD, 1);
    EXPECT_EQ(b.DisplayMode, 1);
    EXPECT_EQ(b.LampBrightnessSim, 1);
    EXPECT_EQ(b.IsolationDelay, 3u);
    EXPECT_EQ(b.SensorConfig().SensorBoardNumber, 0u);
    EXPECT_EQ(b.GetSignal(10).Name, "");
    EXPECT_TRUE(b.CalculateSVs());
}

TEST(ORB4Board, DescriptionOptions)
{
    TORB4Board b;
    b.SerialNumber = 4321;
    b.ReportSPAD = 1;
    b.IsolationDelay = 33;
    b.LampBrightnessSim = 1;
    b.SensorConfig().PairConfig = {0, 1, 2, 0};
    b.HighCurrentConfig().Outputs1to4 = 1;
    b.HighCurrentConfig().Outputs5to8 = 3;
    std::vector<std::string> lines = DescriptionLines(b);
    EXPECT_EQ(lines[1], "Serial number: 4321");
    EXPECT_EQ(lines[5], "Report signal passed at danger ENABLED");
    EXPECT_EQ(lines[6], "Delay for power isolation zone = 8.25 s");
    EXPECT_EQ(lines[7], "Simulation of lamp brightness ENABLED");
    EXPECT_EQ(lines[11], "Sensor Input 3,4 config = General Sensor Inputs");
    EXPECT_EQ(lines[12], "Sensor Input 5,6 config = Turnout Feedback Inputs");
    EXPECT_EQ(lines[16], "High current o/p 1-4 config = Indiviaual On/Off Control");
    EXPECT_EQ(lines[17], "High current o/p 5-8 config = Solenoid type point");
    for (auto [q, text] :
         std::vector<std::pair<uint32_t, std::string>>{{0, "0"}, {1, "0.25"}, {2, "0.5"}, {3, "0.75"}, {32, "8"}})
        EXPECT_EQ(TSignalControllerBoard::QuarterSecondsText(q), text);
    b.HighCurrentConfig().Outputs1to4 = 2;
    EXPECT_EQ(DescriptionLines(b)[16], "High current o/p 1-4 config = Tortoise type Point");

    b.DisplayMode = 1;
    lines = DescriptionLines(b);
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(lines[5], "Board operates in Display Mode only");
    ASSERT_TRUE(b.CalculateSVs()); // the SVs are complete all the same
    EXPECT_EQ(b.GetSV(508), 33);
    EXPECT_EQ(b.GetSV(26), 10);
}

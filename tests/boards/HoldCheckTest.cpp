// The hold check, one table per board type: descriptions whose values a board cannot hold name
// each such value, and descriptions it can hold give no line.
#include "boards/HoldCheck.h"

#include "boards/BoardFactory.h"
#include "boards/kpx9/KPX9Board.h"
#include "boards/orb/orb4/ORB4Board.h"
#include "boards/orb/orb8/ORB8Board.h"
#include "boards/qxp6/QXP6Board.h"
#include "boards/rvn2/RVN2Board.h"
#include "support/SignalBoardSamples.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>

using ::testing::ElementsAre;
using namespace samples;

namespace {

struct THoldCase {
    const char* Name;
    int Type;
    std::function<void(TConfigurableBoard&)> Describe;
    std::vector<std::string> Lines; // none: the board holds the description
};

void PrintTo(const THoldCase& c, std::ostream* out)
{
    *out << c.Name;
}

// A description step on a board of a known class.
template <class T> std::function<void(TConfigurableBoard&)> As(std::function<void(T&)> describe)
{
    return [describe](TConfigurableBoard& board) { describe(dynamic_cast<T&>(board)); };
}

class HoldCheck : public ::testing::TestWithParam<THoldCase> {};

TEST_P(HoldCheck, NamesEveryValueTheBoardCannotHold)
{
    const THoldCase& c = GetParam();
    auto board = CreateBoardOfType(c.Type);
    board->SerialNumber = 1000;
    c.Describe(*board);
    const THoldReport report = CheckHold(*board, 1);
    EXPECT_TRUE(report.Checked);
    EXPECT_EQ(report.Lines(), c.Lines);
    EXPECT_EQ(report.CanBeHeld(), c.Lines.empty());
}

std::string CaseName(const ::testing::TestParamInfo<THoldCase>& info)
{
    return info.param.Name;
}

const char* const kSensor44 = "Signal 1, red set, condition 1: Sensor 300,16 is Occupied; the board would hold Sensor 44,16";

const THoldCase kORB4Cases[] = {
    {"SensorAbove255", eORB4, As<TORB4Board>([](TORB4Board& b) { b.GetSignal(1).RedSet().ConditionAt(0) = Sensor(300, 16, 0); }),
     {kSensor44}},
    {"SensorBoardNumber256", eORB4, As<TORB4Board>([](TORB4Board& b) { b.SensorConfig().SensorBoardNumber = 256; }),
     {"Sensor board number: 256; the board would hold 0"}},
    {"Serial65536", eORB4, [](TConfigurableBoard& b) { b.SerialNumber = 65536; },
     {"Serial Number: 65536; the board would hold 0"}},
    {"DivergingJunction", eORB4, As<TORB4Board>([](TORB4Board& b) { DescribeJunction(b); }), {}},
};
INSTANTIATE_TEST_SUITE_P(ORB4, HoldCheck, ::testing::ValuesIn(kORB4Cases), CaseName);

const THoldCase kORB8Cases[] = {
    {"ZoneSensorAbove255", eORB8,
     As<TORB8Board>([](TORB8Board& b) { b.GetZone(2).FreezeSet().ConditionAt(1) = Sensor(1000, 3, 1, true); }),
     {"Zone B, freeze set, condition 2: Sensor 1000,3 is Unoccupied, AND; the board would hold Sensor 232,3"}},
    {"ThirteenOffBoardSignals", eORB8, As<TORB8Board>([](TORB8Board& b) {
         // The next signals 0 take the first signal entry; conditions 12 and 13 find none.
         for (uint32_t i = 0; i < 13; ++i) b.GetSignal(1).RedSet().ConditionAt(i) = Signal(600 + i, 0);
     }),
     {"SV Calculation Error: too many points, sensors or signals called up by board programming",
      "Signal 1, red set, condition 12: Signal 611 is Red; the board would hold (No Condition)",
      "Signal 1, red set, condition 13: Signal 612 is Red; the board would hold (No Condition)"}},
};
INSTANTIATE_TEST_SUITE_P(ORB8, HoldCheck, ::testing::ValuesIn(kORB8Cases), CaseName);

const THoldCase kKPX9Cases[] = {
    {"CascadeTickedOnRoute0", eKPX9, As<TKPX9Board>([](TKPX9Board& b) {
         b.GetRoute(0).Cascade = true;
         b.GetRoute(0).CascadeRoute = 0;
     }),
     {"Route 1, Cascade: route 0; the board would hold none",
      "Route 1, entry 1: nothing; the board would hold Point 1 Thrown"}},
    {"CellCascadeFromCell31", eKPX9, As<TKPX9Board>([](TKPX9Board& b) {
         b.GetCell(4).CellType = eKPX9Point;
         b.GetCell(4).CascadeMode = 1;
         b.GetCell(4).CascadeCell = 31;
     }),
     {"Cell 5, Cascade: from cell 31 Closed; the board would hold from cell 1 Thrown"}},
    {"CascadeToRoute24", eKPX9, As<TKPX9Board>([](TKPX9Board& b) {
         b.GetRoute(1).SetEntry(0, 2048, eKPX9Thrown);
         b.GetRoute(1).Cascade = true;
         b.GetRoute(1).CascadeRoute = 24;
     }),
     {}},
};
INSTANTIATE_TEST_SUITE_P(KPX9, HoldCheck, ::testing::ValuesIn(kKPX9Cases), CaseName);

std::function<void(TConfigurableBoard&)> FirstStep(std::function<void(TRVN2SequenceStep&)> describe)
{
    return As<TRVN2Board>([describe](TRVN2Board& b) { describe(b.GetSequence(0).StepAt(0)); });
}

const THoldCase kRVN2Cases[] = {
    {"Accel12WithAction5", eRVN2, FirstStep([](TRVN2SequenceStep& s) {
         s.Action = eActStartDirB;
         s.SpeedChangeTime = 12;
     }),
     {"Sequence 1, step 1, action: Start train in direction B, accelerating over 12 seconds; the board would hold "
      "Set Loco function 0 on for 1 seconds"}},
    {"Function12OnFor4", eRVN2, FirstStep([](TRVN2SequenceStep& s) {
         s.Action = eActLocoFunction;
         s.FunctionNumber = 12;
         s.FunctionTime = 4;
     }),
     {"Sequence 1, step 1, action: Set Loco function 12 on for 4 seconds; the board would hold Dispatch Loco"}},
    {"NameOf16Bytes", eRVN2, As<TRVN2Board>([](TRVN2Board& b) { b.GetSequence(0).Name = "Bahnhof S\xC3\xBC" "d 123"; }),
     {"Sequence 1, Short Name: Bahnhof S\xC3\xBC" "d 123; the board would hold Bahnhof S\xC3\xBC" "d 12"}},
    {"Accel12WithAction4", eRVN2, FirstStep([](TRVN2SequenceStep& s) {
         s.Action = eActStartDirA;
         s.SpeedChangeTime = 12;
     }),
     {}},
};
INSTANTIATE_TEST_SUITE_P(RVN2, HoldCheck, ::testing::ValuesIn(kRVN2Cases), CaseName);

const THoldCase kQXP6Cases[] = {
    {"SensorAbove255", eQXP6,
     As<TQXP6Board>([](TQXP6Board& b) { b.GetOutputCell(5)->ThrownConditions.ConditionAt(0).SetSensor(300, 16, 0, false); }),
     {"Output cell 6, thrown set, condition 1: Sensor 300,16 is Occupied; the board would hold Sensor 44,16"}},
    {"SensorBoardNumber256", eQXP6, As<TQXP6Board>([](TQXP6Board& b) {
         b.SensorBoardNumber = 256;
         b.GetOutputCell(0)->ClosedConditions.ConditionAt(0).SetSensor(256, 3, 0, false);
     }),
     {"Sensor Board Number: 256; the board would hold 0",
      "Output cell 1, closed set, condition 1: Sensor 256,3 is Occupied; the board would hold Sensor 0,3"}},
    {"UndefinedRouteEntry", eQXP6, As<TQXP6Board>([](TQXP6Board& b) {
         b.GetRoute(0)->EntryCount = 1;
         b.GetRoute(0)->EntryAddress[0] = 12;
     }),
     {"Route 1, entry 1: Point 12 UNDEF; the board would hold Point 12 Closed"}},
    {"OwnAndOutsideDevices", eQXP6, As<TQXP6Board>([](TQXP6Board& b) {
         b.SensorBoardNumber = 255;
         b.GetOutputCell(2)->ClosedConditions.ConditionAt(0).SetSensor(255, 10, 0, true);
         b.GetOutputCell(2)->ClosedConditions.ConditionAt(1).SetSignal(2048, 1, false);
     }),
     {}},
};
INSTANTIATE_TEST_SUITE_P(QXP6, HoldCheck, ::testing::ValuesIn(kQXP6Cases), CaseName);

TEST(HoldCheckOf, LeavesTheBoardAsItWas)
{
    TKPX9Board b;
    b.GetCell(0).CellType = eKPX9Copy;
    b.GetCell(0).Address = 45;
    const std::vector<uint8_t> svs = b.GetSVTable();
    EXPECT_THAT(CheckHold(b, 1).Lines(), ElementsAre("Cell 1, Copies cell: 45; the board would hold 1"));
    EXPECT_EQ(b.GetCell(0).Address, 45u);
    EXPECT_EQ(b.GetSVTable(), svs);
}

} // namespace

// The hold check, one table per board type: descriptions whose values a board cannot hold name
// each such value, and descriptions it can hold give no line.
#include "boards/HoldCheck.h"

#include "boards/BoardData.h"
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
using ::testing::IsEmpty;
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
    {"NewBoard", eORB4, [](TConfigurableBoard&) {}, {}},
    {"SensorAbove255", eORB4, As<TORB4Board>([](TORB4Board& b) { b.GetSignal(1).RedSet().ConditionAt(0) = Sensor(300, 16, 0); }),
     {kSensor44}},
    {"Sensor255AndPoint2048", eORB4, As<TORB4Board>([](TORB4Board& b) {
         b.GetSignal(1).RedSet().ConditionAt(0) = Sensor(255, 16, 0, true);
         b.GetSignal(1).RedSet().ConditionAt(1) = Point(2048, 1);
     }),
     {}},
    {"SensorBoardNumber256", eORB4, As<TORB4Board>([](TORB4Board& b) { b.SensorConfig().SensorBoardNumber = 256; }),
     {"Sensor board number: 256; the board would hold 0"}},
    {"Serial65536", eORB4, [](TConfigurableBoard& b) { b.SerialNumber = 65536; },
     {"Serial Number: 65536; the board would hold 0"}},
    {"IsolationDelay300", eORB4, As<TORB4Board>([](TORB4Board& b) { b.IsolationDelay = 300; }),
     {"Delay before power isolation applied: 75 s; the board would hold 11 s"}},
    {"DivergingJunction", eORB4, As<TORB4Board>([](TORB4Board& b) { DescribeJunction(b); }), {}},
    {"NextSignal0IsAlwaysGreen", eORB4, As<TORB4Board>([](TORB4Board& b) { b.GetSignal(2).SetNextMode(ensVirtual); }),
     {}},
};
INSTANTIATE_TEST_SUITE_P(ORB4, HoldCheck, ::testing::ValuesIn(kORB4Cases), CaseName);

const THoldCase kORB8Cases[] = {
    {"Junction", eORB8, As<TORB8Board>([](TORB8Board& b) { DescribeJunction(b); }), {}},
    {"ZoneSensorAbove255", eORB8,
     As<TORB8Board>([](TORB8Board& b) { b.GetZone(2).FreezeSet().ConditionAt(1) = Sensor(1000, 3, 1, true); }),
     {"Zone B, freeze set, condition 2: Sensor 1000,3 is Unoccupied, AND; the board would hold Sensor 232,3"}},
    {"RedReleaseDelay256", eORB8, As<TORB8Board>([](TORB8Board& b) { b.RedReleaseDelay = 256; }),
     {"Delay before releasing from RED: 64 s; the board would hold 0 s"}},
    {"ThirteenOffBoardSignals", eORB8, As<TORB8Board>([](TORB8Board& b) {
         // The next signals 0 take the first signal entry; conditions 12 and 13 find none.
         for (uint32_t i = 0; i < 13; ++i) b.GetSignal(1).RedSet().ConditionAt(i) = Signal(600 + i, 0);
     }),
     {"SV Calculation Error: too many points, sensors or signals called up by board programming",
      "Signal 1, red set, condition 12: Signal 611 is Red; the board would hold (No Condition)",
      "Signal 1, red set, condition 13: Signal 612 is Red; the board would hold (No Condition)"}},
};
INSTANTIATE_TEST_SUITE_P(ORB8, HoldCheck, ::testing::ValuesIn(kORB8Cases), CaseName);

void PointCell(TKPX9Board& b, uint32_t index, uint32_t address)
{
    b.GetCell(index).CellType = eKPX9Point;
    b.GetCell(index).Address = address;
}

const THoldCase kKPX9Cases[] = {
    {"NewBoard", eKPX9, [](TConfigurableBoard&) {}, {}},
    {"CascadeTickedOnRoute0", eKPX9, As<TKPX9Board>([](TKPX9Board& b) {
         b.GetRoute(0).Cascade = true;
         b.GetRoute(0).CascadeRoute = 0;
     }),
     {"Route 1, Cascade: route 0; the board would hold none",
      "Route 1, entry 1: nothing; the board would hold Point 1 Thrown"}},
    {"CascadeRoute25", eKPX9, As<TKPX9Board>([](TKPX9Board& b) {
         b.GetRoute(3).Cascade = true;
         b.GetRoute(3).CascadeRoute = 25;
     }),
     {"Route 4, Cascade: route 25; the board would hold none",
      "Route 4, entry 1: nothing; the board would hold Point 1 Closed"}},
    {"EntryAddressAbove2048", eKPX9, As<TKPX9Board>([](TKPX9Board& b) { b.GetRoute(1).SetEntry(0, 3000, eKPX9Closed); }),
     {"Route 2, entry 1: Point 3000 Closed; the board would hold Point 1"}},
    {"CellCascadeFromCell31", eKPX9, As<TKPX9Board>([](TKPX9Board& b) {
         PointCell(b, 4, 12);
         b.GetCell(4).CascadeMode = 1;
         b.GetCell(4).CascadeCell = 31;
     }),
     {"Cell 5, Cascade: from cell 31 Closed; the board would hold from cell 1 Thrown"}},
    {"ExecuteRoute0", eKPX9, As<TKPX9Board>([](TKPX9Board& b) {
         b.GetCell(1).ButtonAEffect = kKPX9EffectRoute;
         b.GetCell(1).ButtonARoute = 0;
     }),
     {"Cell 2, Pushbutton A Function: Execute Route 0; the board would hold effect 100"}},
    {"FullRoutesAndCopies", eKPX9, As<TKPX9Board>([](TKPX9Board& b) {
         for (uint32_t i = 0; i < 12; ++i) PointCell(b, i, 100 + i);
         PointCell(b, 12, 2048);
         b.GetCell(12).TurnoutFeedback = true;
         b.GetCell(12).CascadeMode = 2;
         b.GetCell(12).CascadeCell = 30;
         b.GetCell(12).Initialise = 2;
         b.GetCell(13).CellType = eKPX9Copy;
         b.GetCell(13).Address = 13;
         b.GetCell(13).CascadeMode = 1;
         b.GetCell(13).CascadeCell = 4;
         for (uint32_t i = 0; i < 12; ++i) b.GetRoute(0).SetEntry(i, 100 + i, i % 2 ? eKPX9Thrown : eKPX9Closed);
         b.SetToFromRoutes(true);
         b.GetRoute(0).SetEntry(11, 1, eKPX9Undef); // ten one-byte entries fit with the buttons
         b.GetRoute(0).SetEntry(10, 1, eKPX9Undef);
         b.GetRoute(1).SetEntry(0, 1500, eKPX9Thrown);
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
    {"NewBoard", eRVN2, [](TConfigurableBoard&) {}, {}},
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
    {"Delay1500", eRVN2, FirstStep([](TRVN2SequenceStep& s) {
         s.Action = eActDispatch;
         s.Delay = 1500;
     }),
     {"Sequence 1, step 1, trigger: after 1500 seconds; the board would hold after 1000 seconds"}},
    {"EditorLimits", eRVN2, As<TRVN2Board>([](TRVN2Board& b) {
         TRVN2Sequence& q = b.GetSequence(3);
         q.Name = "Fifteen letters";
         q.StepAt(0).Action = eActStartDirA;
         q.StepAt(0).SpeedChangeTime = 12;
         q.StepAt(1).Action = eActLocoFunction;
         q.StepAt(1).FunctionNumber = 28;
         q.StepAt(1).FunctionTime = 7;
         q.StepAt(1).Trigger = eTrigSensor;
         q.StepAt(1).TriggerSensorBoard = 256;
         q.StepAt(1).TriggerSensorInput = 16;
         q.StepAt(2).Action = eActPointThrown;
         q.StepAt(2).ActionPoint = 2048;
         q.StepAt(2).Iterations = 255;
     }),
     {}},
};
INSTANTIATE_TEST_SUITE_P(RVN2, HoldCheck, ::testing::ValuesIn(kRVN2Cases), CaseName);

const THoldCase kQXP6Cases[] = {
    {"NewBoard", eQXP6, [](TConfigurableBoard&) {}, {}},
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
    {"OnTimeSetting9", eQXP6, As<TQXP6Board>([](TQXP6Board& b) { b.GetOutputCell(0)->TimeSetting = 9; }),
     {"Output cell 1, Cell Type: Point cell, solenoid type motor; the board would hold Point cell, tortoise type motor",
      "Output cell 1, on time: 1.25s; the board would hold nothing"}},
    {"OwnAndOutsideDevices", eQXP6, As<TQXP6Board>([](TQXP6Board& b) {
         b.SetBaseAddress(100);
         b.SensorBoardNumber = 255;
         TQXP6Cell& c = *b.GetOutputCell(2);
         c.OutputType = 7;
         c.TimeSetting = 8;
         c.InvertOutputs = true;
         c.ClosedConditions.ConditionAt(0).SetPoint(103, 1, true);
         c.ClosedConditions.ConditionAt(1).SetSensor(255, 10, 0, false);
         c.ThrownConditions.ConditionAt(0).SetSignal(2048, 1, false);
         c.FreezeConditions.ConditionAt(0).SetSensor(12, 16, 1, false);
         b.GetRoute(7)->SetEntry(0, 105, eQXP6Thrown);
         b.GetRoute(7)->SetEntry(1, 2048, eQXP6Closed);
         b.GetRoute(7)->TriggerConditions.ConditionAt(4).SetPoint(7, 0, false);
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

TEST(HoldCheckOf, ShippedExamplesCanBeHeld)
{
    const char* const files[kBoardTypeCount] = {"orb4", "kpx9", "orb8", "rvn2", "qxp6"};
    for (int type = 0; type < kBoardTypeCount; ++type) {
        TBoardData data;
        const std::string file = std::string(RAILSCOPE_SOURCE_DIR "/data/examples/layout-") + files[type] + ".csv";
        ASSERT_TRUE(data.LoadFile(type, file)) << data.GetLastError();
        ASSERT_GT(data.BoardCount(type), 0u);
        for (uint32_t i = 0; i < data.BoardCount(type); ++i)
            EXPECT_THAT(CheckHold(*data.GetBoard(type, i), 1).Lines(), IsEmpty()) << file << " board " << i;
    }
}

} // namespace

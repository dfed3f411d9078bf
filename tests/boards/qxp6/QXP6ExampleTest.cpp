// The shipped example board file is the save code's own output for the boards built here.
// Set RAILSCOPE_WRITE_EXAMPLES=1 to write it again after a deliberate change.
#include "boards/qxp6/QXP6Board.h"
#include "support/BoardText.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

TQXP6Board StationBoard()
{
    TQXP6Board b;
    b.Name = "Station throat";
    b.SerialNumber = 4101;
    b.SetBaseAddress(101);
    b.Notes = "Main station: points 101-104; platform lamps 105-108";
    b.LocoNetCommands = true;
    b.CduDelay = 10;
    b.StateMemoryLocation = 3;
    b.SensorBoardNumber = 21;
    b.RouteBaseAddress = 1201;

    const char* const descriptions[8] = {"Up main crossover", "Down main crossover", "Goods loop",
                                         "Yard headshunt",    "Platform 1 lamps",    "Level crossing",
                                         "Platform 2 lamps",  "Signal box lamp"};
    for (int i = 0; i < 8; ++i) {
        TQXP6Cell& c = *b.GetOutputCell(i);
        c.OutputType = static_cast<uint8_t>(i + 1); // types 1..8
        c.Description = descriptions[i];
        c.TimeSetting = TQXP6Cell::IsTimedType(c.OutputType) ? static_cast<uint32_t>(i) : 1;
    }
    TQXP6Cell& up = *b.GetOutputCell(0);
    up.MessageType = 2;
    up.ClosedConditions.ConditionAt(0).SetSensor(21, 1, 1, true);
    up.ClosedConditions.ConditionAt(1).SetSignal(12, 1, false);
    up.ThrownConditions.ConditionAt(0).SetSensor(21, 2, 0, false);
    up.ThrownConditions.ConditionAt(1).SetPoint(210, 1, false);
    up.FreezeConditions.ConditionAt(0).SetSensor(22, 5, 0, false);

    TQXP6Cell& down = *b.GetOutputCell(1);
    down.FollowCell = 1;
    down.MessageType = 1;
    down.ChangeDelay = 15;

    TQXP6Cell& loop = *b.GetOutputCell(2);
    loop.MessageType = 4;
    loop.ConditionTime = 4;
    loop.ThrownConditions.ConditionAt(0).SetPoint(104, 0, true);
    loop.ThrownConditions.ConditionAt(1).SetSensor(21, 10, 1, false);

    b.GetOutputCell(4)->SimulateBrightness = true;
    b.GetOutputCell(4)->MessageType = 3;
    TQXP6Cell& crossing = *b.GetOutputCell(5);
    crossing.ClosedConditions.ConditionAt(0).SetSensor(30, 16, 0, false);
    crossing.FreezeConditions.ConditionAt(0).SetSignal(2048, 0, false);
    TQXP6Cell& lamps2 = *b.GetOutputCell(6);
    lamps2.InvertOutputs = true;
    lamps2.SimulateBrightness = true;
    lamps2.MessageType = 5;
    TQXP6Cell& box = *b.GetOutputCell(7);
    box.InvertOutputs = true;

    const struct {
        uint8_t type;
        uint8_t message;
        const char* description;
    } inputs[10] = {
        {3, 1, "Crossover button"}, {4, 2, "Goods loop lever"},
        {5, 0, "Route 1 button"},   {1, 1, "Spare button"},
        {2, 1, "Yard switch"},      {0, 0, ""},
        {3, 0, "Lamps button"},     {0, 0, ""},
        {1, 3, "Emergency stop"},   {2, 4, "Power off switch"},
    };
    for (int i = 0; i < 10; ++i) {
        TQXP6InputCell& in = *b.GetInputCell(i);
        in.InputType = inputs[i].type;
        in.MessageType = inputs[i].message;
        in.Description = inputs[i].description;
    }

    TQXP6Route& r1 = *b.GetRoute(0);
    r1.SetEntry(0, 101, eQXP6Thrown);
    r1.SetEntry(1, 102, eQXP6Thrown);
    r1.SetEntry(2, 210, eQXP6Closed);
    r1.TriggerConditions.ConditionAt(0).SetSensor(21, 3, 0, false);
    TQXP6Route& r2 = *b.GetRoute(1);
    r2.SetEntry(0, 101, eQXP6Closed);
    r2.SetEntry(1, 102, eQXP6Closed);
    r2.SetEntry(2, 103, eQXP6Thrown);
    r2.SetEntry(3, 1500, eQXP6Thrown);
    r2.TriggerConditions.ConditionAt(0).SetPoint(1500, 0, true);
    r2.TriggerConditions.ConditionAt(1).SetSignal(12, 0, false);
    return b;
}

TQXP6Board YardBoard()
{
    TQXP6Board b;
    b.Name = "Goods yard";
    b.SerialNumber = 4102;
    b.SetBaseAddress(121);
    b.Use16Addresses = true;
    b.CduDelay = 5;
    b.SensorBoardNumber = 22;
    b.RouteBaseAddress = 1211;
    b.GetOutputCell(0)->Description = "Yard entry";
    b.GetOutputCell(1)->Description = "Siding 1";
    b.GetOutputCell(1)->OutputType = 2;
    b.GetOutputCell(1)->TimeSetting = 1;
    b.GetOutputCell(7)->OutputType = 0;
    b.GetOutputCell(7)->Description = "Not fitted";
    b.GetOutputCell(0)->ClosedConditions.ConditionAt(0).SetSensor(22, 4, 1, false);
    TQXP6Route& r = *b.GetRoute(0);
    for (int i = 0; i < 8; ++i) r.SetEntry(i, static_cast<uint32_t>(121 + i), i % 2 ? eQXP6Thrown : eQXP6Closed);
    return b;
}

std::string ExampleText()
{
    std::ostringstream out;
    TQXP6Board a = StationBoard();
    TQXP6Board b = YardBoard();
    a.SaveToStream(out);
    b.SaveToStream(out);
    return out.str();
}

} // namespace

TEST(QXP6Example, FileIsTheSaveCodesOutput)
{
    EXPECT_EQ(ExampleFileText("layout-qxp6.csv", ExampleText()), ExampleText());
}

TEST(QXP6Example, BoardsCalculate)
{
    TQXP6Board station = StationBoard();
    TQXP6Board yard = YardBoard();
    ASSERT_TRUE(station.CalculateSVs());
    ASSERT_TRUE(yard.CalculateSVs());
    // Station: point 210, sensor 22:5, sensor 30:16, signal 2048, point 1500 and signal 12
    // are outside devices.
    EXPECT_EQ(station.GetDeviceTable().UsedEntries(), 6);
    EXPECT_EQ(station.GetSV(11), 1); // solenoid, on time setting 0
    EXPECT_EQ(station.GetSV(17), 31 + 6 + 10);
    EXPECT_EQ(station.GetSV(18), 50);
    EXPECT_EQ(station.GetSV(20), 16 + 64);
    EXPECT_EQ(yard.GetSV(63), 1);
    EXPECT_EQ(yard.GetSV(64), 12);
}

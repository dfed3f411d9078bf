#include "boards/qxp6/QXP6Board.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

namespace {

// The board used for the hand-computed SV table below.
TQXP6Board KnownBoard()
{
    TQXP6Board b;
    b.SerialNumber = 1234;
    b.SetBaseAddress(100);
    b.Use16Addresses = true;
    b.StateMemoryLocation = 5;

    TQXP6Cell& c1 = *b.GetOutputCell(0);
    c1.OutputType = 1;
    c1.TimeSetting = 3;
    c1.MessageType = 2;
    c1.ConditionTime = 10;
    c1.ChangeDelay = 25;
    c1.ClosedConditions.ConditionAt(0).SetPoint(103, 1, true);
    c1.ClosedConditions.ConditionAt(1).SetSensor(16, 10, 0, false);
    c1.ThrownConditions.ConditionAt(0).SetPoint(500, 0, false);
    c1.FreezeConditions.ConditionAt(0).SetSignal(300, 1, false);

    TQXP6Cell& c2 = *b.GetOutputCell(1);
    c2.OutputType = 7;
    c2.TimeSetting = 4;
    c2.InvertOutputs = true;
    c2.SimulateBrightness = true;
    c2.FollowCell = 1;

    TQXP6Cell& c8 = *b.GetOutputCell(7);
    c8.OutputType = 8;
    c8.InvertOutputs = true;
    c8.SimulateBrightness = true;

    b.GetInputCell(9)->InputType = 5;
    b.GetInputCell(9)->MessageType = 1;

    TQXP6Route& r1 = *b.GetRoute(0);
    r1.SetEntry(0, 105, eQXP6Thrown);
    r1.SetEntry(1, 300, eQXP6Closed);
    r1.TriggerConditions.ConditionAt(0).SetSensor(20, 3, 1, false);
    return b;
}

std::map<uint32_t, uint8_t> KnownSVs()
{
    std::map<uint32_t, uint8_t> sv = {
        {3, 210},
        {4, 4}, // serial 1234
        {5, 100},
        {6, 0},
        {9, 1},
        {10, 0}, // base address, 16 addresses, DCC only
        {11, 4},
        {12, 45},
        {13, 4},
        {14, 4},
        {15, 4},
        {16, 4},
        {17, 4},
        {18, 50},
        {19, 8},
        {20, 130},
        {22, 1},
        {30, 5},
        {31, 2},
        {39, 16},
        {61, 232},
        {62, 3}, // route base 1000
        {63, 16},
        {64, 101},
        {65, 44}, // route 1: own point 6 thrown, point 300 closed
        {161, 10},
        {421, 25},
        {171, 244},
        {172, 1}, // entry 0: point 500
        {173, 44},
        {174, 51}, // entry 1: signal 300
        {175, 20},
        {176, 103}, // entry 2: sensor 20 input 3
        {251, 21}, // cell 1 thrown: point 500 thrown
        {258, 14 + 60 + 128},
        {259, 10}, // cell 1 closed
        {265, 22 + 60}, // cell 1 freeze: signal 300 not red
        {381, 23 + 60}, // route 1 trigger
        {50, 5},
        {60, 1},
    };
    for (uint32_t m = 1; m <= 9; ++m) sv[40 + m] = 3; // default input type
    return sv;
}

} // namespace

TEST(QXP6Board, DefaultsAndParts)
{
    TQXP6Board b;
    EXPECT_EQ(b.GetBaseAddress(), 1u);
    for (int i = 0; i < 8; ++i) EXPECT_EQ(b.GetOutputCell(i)->CellNumber, static_cast<uint32_t>(i + 1));
    for (int i = 0; i < 10; ++i) EXPECT_EQ(b.GetInputCell(i)->CellNumber, static_cast<uint32_t>(i + 1));
    for (int i = 0; i < 8; ++i) EXPECT_EQ(b.GetRoute(i)->RouteNumber, static_cast<uint32_t>(i + 1));
    EXPECT_EQ(b.GetOutputCell(8), nullptr);
    EXPECT_EQ(b.GetInputCell(10), nullptr);
    EXPECT_EQ(b.GetRoute(-1), nullptr);
}

TEST(QXP6Board, SetBaseAddressKeepsEveryCopyEqual)
{
    TQXP6Board b;
    b.SetBaseAddress(777);
    EXPECT_EQ(b.GetBaseAddress(), 777u);
    EXPECT_EQ(b.GetDeviceTable().BaseAddress, 777u);
    for (int i = 0; i < 8; ++i) EXPECT_EQ(b.GetOutputCell(i)->BaseAddress, 777u);
    for (int i = 0; i < 8; ++i) EXPECT_EQ(b.GetRoute(i)->BaseAddress, 777u);

    // Decoding sets it through the same path.
    b.SetSV(5, 0x34);
    b.SetSV(6, 0x02);
    b.DecodeSVs();
    EXPECT_EQ(b.GetBaseAddress(), 0x234u);
    EXPECT_EQ(b.GetDeviceTable().BaseAddress, 0x234u);
    for (int i = 0; i < 8; ++i) EXPECT_EQ(b.GetRoute(i)->BaseAddress, 0x234u);
    for (int i = 0; i < 8; ++i) EXPECT_EQ(b.GetOutputCell(i)->BaseAddress, 0x234u);
}

TEST(QXP6Board, ChangingTheBaseAddressChangesOwnOutputs)
{
    TQXP6Board b;
    b.SetBaseAddress(100);
    b.GetOutputCell(0)->ThrownConditions.ConditionAt(0).SetPoint(105, 0, false);
    b.GetRoute(0)->SetEntry(0, 105, eQXP6Closed);
    ASSERT_TRUE(b.CalculateSVs());
    EXPECT_EQ(b.GetSV(251), 16);
    EXPECT_EQ(b.GetSV(63), 6);
    EXPECT_EQ(b.GetSV(171), 0);

    b.SetBaseAddress(200);
    ASSERT_TRUE(b.CalculateSVs());
    EXPECT_EQ(b.GetSV(251), 21); // now an outside device: table entry 0
    EXPECT_EQ(b.GetSV(171), 105);
    EXPECT_EQ(b.GetSV(63), 100); // two bytes
    EXPECT_EQ(b.GetSV(64), 105);
}

TEST(QXP6Cell, OutputTypeCodes)
{
    struct Case {
        uint8_t type;
        uint32_t time;
        bool invert;
        uint8_t code;
    };
    const Case cases[] = {
        {0, 5, true, 0},  {1, 0, false, 1},  {1, 8, false, 9}, {2, 5, false, 10}, {3, 3, false, 14},
        {4, 5, true, 20}, {5, 0, false, 21}, {5, 8, true, 29}, {6, 2, false, 30}, {7, 4, false, 35},
        {7, 4, true, 45}, {8, 3, false, 40}, {8, 3, true, 50}, {7, 0, true, 41},  {7, 8, true, 49},
    };
    for (const auto& c : cases) {
        TQXP6Cell cell;
        cell.OutputType = c.type;
        cell.TimeSetting = c.time;
        cell.InvertOutputs = c.invert;
        EXPECT_EQ(cell.TypeCode(), c.code) << int(c.type) << "/" << c.time << "/" << c.invert;
    }

    TQXP6Cell cell;
    cell.SetFromTypeCode(45);
    EXPECT_EQ(cell.OutputType, 7);
    EXPECT_EQ(cell.TimeSetting, 4u);
    EXPECT_TRUE(cell.InvertOutputs);
    cell.SetFromTypeCode(50);
    EXPECT_EQ(cell.OutputType, 8);
    EXPECT_EQ(cell.TimeSetting, 1u);
    EXPECT_TRUE(cell.InvertOutputs);
    cell.SetFromTypeCode(40);
    EXPECT_EQ(cell.OutputType, 8);
    EXPECT_FALSE(cell.InvertOutputs);
    cell.SetFromTypeCode(19);
    EXPECT_EQ(cell.OutputType, 3);
    EXPECT_EQ(cell.TimeSetting, 8u);
    cell.SetFromTypeCode(10);
    EXPECT_EQ(cell.OutputType, 2);
    EXPECT_EQ(cell.TimeSetting, 1u);
    cell.SetFromTypeCode(21);
    EXPECT_EQ(cell.OutputType, 5);
    EXPECT_EQ(cell.TimeSetting, 0u);
    cell.SetFromTypeCode(0);
    EXPECT_EQ(cell.OutputType, 0);
    EXPECT_EQ(cell.TimeSetting, 1u);
    // No type has a code above 50: the cell keeps its type and time and is no longer inverted.
    cell.SetFromTypeCode(45);
    cell.SetFromTypeCode(200);
    EXPECT_EQ(cell.OutputType, 7);
    EXPECT_EQ(cell.TimeSetting, 4u);
    EXPECT_FALSE(cell.InvertOutputs);
    cell.SetFromTypeCode(2);
    cell.SetFromTypeCode(51);
    EXPECT_EQ(cell.OutputType, 1);
    EXPECT_EQ(cell.TimeSetting, 1u);

    // Every valid code decodes to a cell that encodes it again.
    for (int code = 0; code <= 50; ++code) {
        TQXP6Cell c;
        c.SetFromTypeCode(static_cast<uint8_t>(code));
        EXPECT_EQ(c.TypeCode(), code);
    }
}

TEST(QXP6Route, OwnPointsPackingAndFits)
{
    TQXP6Route r;
    r.BaseAddress = 100;
    EXPECT_EQ(r.IsOwnPoint(100), 1u);
    EXPECT_EQ(r.IsOwnPoint(107), 8u);
    EXPECT_EQ(r.IsOwnPoint(108), 0u);
    EXPECT_EQ(r.IsOwnPoint(99), 0u);
    EXPECT_EQ(r.IsOwnPoint(0), 0u);

    r.SetEntry(0, 105, eQXP6Thrown);
    r.SetEntry(1, 300, eQXP6Closed);
    r.SetEntry(2, 2048, eQXP6Thrown);
    r.SetEntry(3, 100, eQXP6Closed);
    uint8_t block[12];
    EXPECT_TRUE(r.PackEntries(block));
    const uint8_t expected[12] = {16, 101, 44, 208, 0, 1, 0, 0, 0, 0, 0, 0};
    for (int i = 0; i < 12; ++i) EXPECT_EQ(block[i], expected[i]) << i;

    TQXP6Route back;
    back.BaseAddress = 100;
    EXPECT_TRUE(back.UnpackEntries(block));
    ASSERT_EQ(back.EntryCount, 4u);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(back.GetEntryAddress(i), r.GetEntryAddress(i));
        EXPECT_EQ(back.GetEntryState(i), r.GetEntryState(i));
    }
    EXPECT_EQ(back.GetEntryAddress(4), 1u);
    EXPECT_EQ(back.GetEntryState(4), eQXP6Undef);

    // Twelve own points fit; one outside point among eleven own ones does not.
    TQXP6Route own;
    own.BaseAddress = 100;
    for (int i = 0; i < 12; ++i) own.SetEntry(i, static_cast<uint32_t>(100 + i % 8), eQXP6Closed);
    EXPECT_EQ(own.EntryCount, 12u);
    EXPECT_TRUE(own.Fits());
    EXPECT_TRUE(own.PackEntries(block));
    EXPECT_EQ(block[11], 4);
    own.SetEntry(11, 500, eQXP6Thrown);
    EXPECT_FALSE(own.Fits());
    EXPECT_FALSE(own.PackEntries(block));
    // The high byte still fits in the last place; the low byte does not.
    EXPECT_EQ(block[10], 3);
    EXPECT_EQ(block[11], 201);
}

TEST(QXP6Route, FitsIgnoresUndefinedEntries)
{
    TQXP6Route r;
    r.BaseAddress = 1;
    for (int i = 0; i < 6; ++i) r.SetEntry(i, static_cast<uint32_t>(500 + i), eQXP6Closed);
    EXPECT_TRUE(r.Fits());
    r.EntryState[5] = eQXP6Undef;
    r.EntryCount = 7;
    r.EntryAddress[6] = 600;
    r.EntryState[6] = eQXP6Closed;
    EXPECT_TRUE(r.Fits()); // 12 bytes for the six defined entries
    uint8_t block[12];
    EXPECT_FALSE(r.PackEntries(block)); // packing places the undefined entry too
}

TEST(QXP6Route, SetEntryAndRemoveUndefined)
{
    TQXP6Route r;
    EXPECT_FALSE(r.SetEntry(5, 10, eQXP6Closed)); // past the end: appended
    EXPECT_EQ(r.EntryCount, 1u);
    EXPECT_EQ(r.GetEntryAddress(0), 10u);
    EXPECT_FALSE(r.SetEntry(1, 11, eQXP6Thrown));
    EXPECT_FALSE(r.SetEntry(2, 12, eQXP6Closed));
    EXPECT_EQ(r.EntryCount, 3u);
    EXPECT_FALSE(r.SetEntry(1, 21, eQXP6Closed)); // change in place
    EXPECT_EQ(r.GetEntryAddress(1), 21u);

    EXPECT_TRUE(r.SetEntry(0, 1, eQXP6Undef)); // a middle entry is removed
    EXPECT_EQ(r.EntryCount, 2u);
    EXPECT_EQ(r.GetEntryAddress(0), 21u);
    EXPECT_EQ(r.GetEntryAddress(1), 12u);
    EXPECT_FALSE(r.SetEntry(1, 1, eQXP6Undef)); // the last entry: the count shrinks
    EXPECT_EQ(r.EntryCount, 1u);
    EXPECT_FALSE(r.SetEntry(7, 1, eQXP6Undef)); // beyond the end: nothing
    EXPECT_EQ(r.EntryCount, 1u);
    EXPECT_FALSE(r.SetEntry(12, 5, eQXP6Closed));
    EXPECT_EQ(r.EntryCount, 1u);

    r.EntryCount = 4;
    r.EntryState = {eQXP6Undef, eQXP6Closed, eQXP6Undef, eQXP6Undef};
    r.EntryAddress[1] = 77;
    EXPECT_TRUE(r.RemoveUndefinedEntries());
    EXPECT_EQ(r.EntryCount, 1u);
    EXPECT_EQ(r.GetEntryAddress(0), 77u);
    EXPECT_FALSE(r.RemoveUndefinedEntries());
}

TEST(QXP6Route, DecodingBadBytes)
{
    TQXP6Route r;
    r.BaseAddress = 2045;
    // 9: no such code; 8: own point beyond 2048; 150,0: point 12800; 16: own point 6 thrown;
    // 0 ends the list.
    const uint8_t block[12] = {9, 8, 150, 0, 16, 0, 5, 5, 5, 5, 5, 5};
    EXPECT_FALSE(r.UnpackEntries(block));
    ASSERT_EQ(r.EntryCount, 4u);
    EXPECT_EQ(r.GetEntryAddress(0), 1u);
    EXPECT_EQ(r.GetEntryState(0), eQXP6Closed);
    EXPECT_EQ(r.GetEntryAddress(1), 1u);
    EXPECT_EQ(r.GetEntryAddress(2), 1u);
    EXPECT_EQ(r.GetEntryAddress(3), 1u);
    EXPECT_EQ(r.GetEntryState(3), eQXP6Thrown);

    // A two-byte entry cut off by the end of the block; a zero low byte is no terminator.
    const uint8_t cut[12] = {101, 0, 1, 1, 1, 1, 1, 1, 1, 1, 1, 208};
    r.BaseAddress = 1;
    EXPECT_FALSE(r.UnpackEntries(cut));
    ASSERT_EQ(r.EntryCount, 11u);
    EXPECT_EQ(r.GetEntryAddress(0), 256u);
    EXPECT_EQ(r.GetEntryAddress(9), 1u);
    EXPECT_EQ(r.GetEntryState(10), eQXP6Thrown);
    EXPECT_EQ(r.GetEntryAddress(10), 1u);

    const uint8_t zeros[12] = {};
    EXPECT_TRUE(r.UnpackEntries(zeros));
    EXPECT_EQ(r.EntryCount, 0u);
}

TEST(QXP6Board, KnownBoardSVs)
{
    TQXP6Board b = KnownBoard();
    ASSERT_TRUE(b.CalculateSVs());
    const auto expected = KnownSVs();
    for (uint32_t n = 1; n <= 512; ++n) {
        const auto it = expected.find(n);
        EXPECT_EQ(b.GetSV(n), it == expected.end() ? 0 : it->second) << "SV " << n;
    }
}

TEST(QXP6Board, DeviceTableIsRebuiltOnEveryCalculation)
{
    TQXP6Board b = KnownBoard();
    ASSERT_TRUE(b.CalculateSVs());
    EXPECT_EQ(b.GetDeviceTable().UsedEntries(), 3);
    b.GetOutputCell(0)->ThrownConditions.Clear();
    ASSERT_TRUE(b.CalculateSVs());
    EXPECT_EQ(b.GetDeviceTable().UsedEntries(), 2);
    EXPECT_EQ(b.GetSV(171), 44); // signal 300 moved up to entry 0
    EXPECT_EQ(b.GetSV(265), 21 + 60);
}

TEST(QXP6Board, TooManyOutsideDevicesFails)
{
    TQXP6Board b;
    int n = 0;
    for (int cell = 0; cell < 6; ++cell)
        for (int i = 0; i < 7; ++i)
            b.GetOutputCell(cell)->ThrownConditions.ConditionAt(i).SetSignal(static_cast<uint32_t>(1000 + n++), 0,
                                                                             false);
    EXPECT_FALSE(b.CalculateSVs()); // 42 devices
    EXPECT_EQ(b.GetSVErrorText(),
              "SV Calculation Error: too many points, sensors or signals called up by board programming");
    EXPECT_EQ(b.GetSV(251 + 16 * 5 + 4), 60); // the 40th takes the last entry
    EXPECT_EQ(b.GetSV(251 + 16 * 5 + 5), 0); // the 41st cannot be encoded
    EXPECT_EQ(b.GetSV(3 + 8), 4); // the rest is still written

    b.GetOutputCell(5)->ThrownConditions.ConditionAt(5).Clear();
    b.GetOutputCell(5)->ThrownConditions.ConditionAt(6).Clear();
    EXPECT_TRUE(b.CalculateSVs());

    // A route that does not fit fails too.
    TQXP6Route& r = *b.GetRoute(7);
    r.SetEntry(0, 1, eQXP6Closed); // own output: one byte
    for (int i = 1; i < 7; ++i) r.SetEntry(i, static_cast<uint32_t>(500 + i), eQXP6Closed);
    EXPECT_FALSE(b.CalculateSVs());
    EXPECT_EQ(b.GetSV(147), 1);
    EXPECT_EQ(b.GetSV(158), 101); // high byte of the last entry in the last place
    EXPECT_EQ(b.GetSV(159), 0); // nothing beyond the route's twelve bytes
}

TEST(QXP6Board, DecodeOfCalculateRoundTrips)
{
    TQXP6Board b = KnownBoard();
    b.GetOutputCell(3)->OutputType = 5;
    b.GetOutputCell(3)->TimeSetting = 6;
    b.GetOutputCell(4)->OutputType = 2;
    b.GetOutputCell(4)->TimeSetting = 1;
    b.GetOutputCell(5)->OutputType = 6;
    b.GetOutputCell(5)->TimeSetting = 1;
    b.GetOutputCell(2)->TimeSetting = 0;
    b.GetOutputCell(7)->TimeSetting = 1; // untimed types read back with setting 1
    b.GetInputCell(0)->InputType = 0;
    b.GetInputCell(1)->MessageType = 4;
    b.GetRoute(3)->SetEntry(0, 2048, eQXP6Thrown);
    b.GetRoute(3)->SetEntry(1, 107, eQXP6Closed);
    b.GetRoute(3)->TriggerConditions.ConditionAt(2).SetSignal(300, 0, true);
    // A signal below 256 is stored with 50 in the second byte of its entry and reads back as
    // that signal, not as a point.
    b.GetOutputCell(5)->FreezeConditions.ConditionAt(0).SetSignal(12, 1, false);
    b.SensorBoardNumber = 20; // now sensor 20 input 3 is an own input
    b.RouteBaseAddress = 2000;
    b.CduDelay = 32;
    ASSERT_TRUE(b.CalculateSVs());
    const std::vector<uint8_t> svs = b.GetSVTable();

    TQXP6Board d;
    for (uint32_t n = 1; n <= 512; ++n) d.SetSV(n, svs[n - 1]);
    d.DecodeSVs();
    EXPECT_EQ(d.SerialNumber, 1234u);
    EXPECT_EQ(d.GetBaseAddress(), 100u);
    EXPECT_EQ(d.RouteBaseAddress, 2000u);
    EXPECT_EQ(d.SensorBoardNumber, 20u);
    EXPECT_EQ(d.CduDelay, 32u);
    EXPECT_TRUE(d.Use16Addresses);
    for (int i = 0; i < 8; ++i) {
        const TQXP6Cell& x = *b.GetOutputCell(i);
        const TQXP6Cell& y = *d.GetOutputCell(i);
        EXPECT_EQ(y.OutputType, x.OutputType) << i;
        EXPECT_EQ(y.TimeSetting, x.TimeSetting) << i;
        EXPECT_EQ(y.InvertOutputs, x.InvertOutputs) << i;
        EXPECT_EQ(y.SimulateBrightness, x.SimulateBrightness) << i;
        EXPECT_EQ(y.FollowCell, x.FollowCell) << i;
        EXPECT_EQ(y.MessageType, x.MessageType) << i;
        EXPECT_EQ(y.ConditionTime, x.ConditionTime) << i;
        EXPECT_EQ(y.ChangeDelay, x.ChangeDelay) << i;
        EXPECT_TRUE(y.ClosedConditions.SameConditions(x.ClosedConditions)) << i;
        EXPECT_TRUE(y.ThrownConditions.SameConditions(x.ThrownConditions)) << i;
        EXPECT_TRUE(y.FreezeConditions.SameConditions(x.FreezeConditions)) << i;
    }
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(d.GetInputCell(i)->InputType, b.GetInputCell(i)->InputType) << i;
        EXPECT_EQ(d.GetInputCell(i)->MessageType, b.GetInputCell(i)->MessageType) << i;
    }
    for (int i = 0; i < 8; ++i) {
        const TQXP6Route& x = *b.GetRoute(i);
        const TQXP6Route& y = *d.GetRoute(i);
        ASSERT_EQ(y.EntryCount, x.EntryCount) << i;
        for (int e = 0; e < 12; ++e) {
            EXPECT_EQ(y.GetEntryAddress(e), x.GetEntryAddress(e));
            EXPECT_EQ(y.GetEntryState(e), x.GetEntryState(e));
        }
        EXPECT_TRUE(y.TriggerConditions.SameConditions(x.TriggerConditions)) << i;
    }
    ASSERT_TRUE(d.CalculateSVs());
    EXPECT_EQ(d.GetSVTable(), svs);
}

TEST(QXP6Board, BrightnessBits)
{
    TQXP6Board b;
    b.GetOutputCell(0)->SimulateBrightness = true;
    b.GetOutputCell(7)->SimulateBrightness = true;
    ASSERT_TRUE(b.CalculateSVs());
    EXPECT_EQ(b.GetSV(20), 129);
    b.SetSV(20, 0x24);
    b.DecodeSVs();
    for (int i = 0; i < 8; ++i) EXPECT_EQ(b.GetOutputCell(i)->SimulateBrightness, i == 2 || i == 5) << i;
}

TEST(QXP6Board, DecodeClampsInputCells)
{
    TQXP6Board b;
    b.SetSV(41, 5);
    b.SetSV(42, 6);
    b.SetSV(51, 4);
    b.SetSV(52, 5);
    b.DecodeSVs();
    EXPECT_EQ(b.GetInputCell(0)->InputType, 5);
    EXPECT_EQ(b.GetInputCell(1)->InputType, 0);
    EXPECT_EQ(b.GetInputCell(0)->MessageType, 4);
    EXPECT_EQ(b.GetInputCell(1)->MessageType, 0);
}

TEST(QXP6Text, ListLines)
{
    TQXP6Board b = KnownBoard();
    EXPECT_EQ(b.GetOutputCell(0)->GetListLine(), "1\tPoint cell, solenoid type motor");
    EXPECT_EQ(b.GetOutputCell(1)->GetListLine(), "2\tIndividual flashing lamps");

    TQXP6InputCell& in9 = *b.GetInputCell(8);
    in9.Description = "north button";
    EXPECT_EQ(in9.GetListLine(), "A\tPushbutton input, changes point 9; No message; north button");
    EXPECT_EQ(b.GetInputCell(9)->GetListLine(), "B\tPushbutton input, sets route 10; Sensor message; ");
    b.GetInputCell(2)->InputType = 2;
    b.GetInputCell(2)->MessageType = 3;
    EXPECT_EQ(b.GetInputCell(2)->GetListLine(), "3\tToggle switch, no change to o/p; Emergency stop message; ");

    EXPECT_EQ(b.GetRoute(0)->GetListLine(), "1\tPoints 105T; 300C; ");
    EXPECT_EQ(b.GetRoute(1)->GetListLine(), "2\tnot defined.");
    TQXP6Route& r = *b.GetRoute(2);
    for (int i = 0; i < 7; ++i) r.SetEntry(i, static_cast<uint32_t>(1000 + i), eQXP6Closed);
    EXPECT_EQ(r.GetListLine(), "3\tPoints 1000C; 1001C; 1002C; 1003C; 1004C; 1005C; 1006C; !TOO MANY ENTRIES");

    EXPECT_EQ(b.GetRoute(0)->GetEditorLine(1), "Point 105 Thrown (on this decoder) ");
    EXPECT_EQ(b.GetRoute(0)->GetEditorLine(2), "Point 300 Closed  (not this decoder)");
    EXPECT_EQ(b.GetRoute(0)->GetEditorLine(3), "not defined.");
    EXPECT_EQ(b.GetRoute(0)->GetEditorLine(12), "not defined.");
    b.GetRoute(0)->EntryState[1] = eQXP6Undef;
    EXPECT_EQ(b.GetRoute(0)->GetEditorLine(2), "Point 300 UNDEF");
}

TEST(QXP6Text, CellDescriptions)
{
    TQXP6Cell cell;
    cell.CellNumber = 4;
    cell.OutputType = 7;
    cell.TimeSetting = 2;
    cell.SimulateBrightness = true;
    cell.FollowCell = 2;
    cell.MessageType = 5;
    cell.ConditionTime = 12;
    cell.ChangeDelay = 15;
    cell.Description = "platform lamps";
    cell.ThrownConditions.ConditionAt(0).SetPoint(12, 1, true);
    cell.ThrownConditions.ConditionAt(1).SetSignal(3, 0, false);
    std::vector<std::string> lines;
    cell.AddDescription(lines);
    const std::vector<std::string> expected = {
        "     Cell: 4",
        "     Individual flashing lamps",
        "     Description: platform lamps",
        "     TurnoutFeedback message (only when interrogated)",
        "     Brightness simulation enabled;",
        "     Flash rate: 3",
        "     Follows output 2",
        "     Delay after conditions assert output = 12s",
        "     Delay after output changes = 1.5s",
        "     conditions to make cell closed:",
        "          (No conditions assigned)",
        "     conditions to make cell thrown:",
        "          Point 12 is Closed, AND Signal 3 is Red",
        "     conditions to freeze cell:",
        "          (No conditions assigned)",
        "",
    };
    EXPECT_EQ(lines, expected);

    // Solenoid types show the on time; brightness only counts for lamp types.
    cell.OutputType = 3;
    cell.TimeSetting = 8;
    cell.FollowCell = 0;
    cell.ConditionTime = 0;
    cell.ChangeDelay = 10;
    lines.clear();
    cell.AddDescription(lines);
    EXPECT_EQ(lines[1], "     On/Off cell, solenoid motor");
    EXPECT_EQ(lines[4], "     On Time: 1.125s");
    EXPECT_EQ(lines[5], "     Follows no other output");
    EXPECT_EQ(lines[6], "     Delay after output changes = 1s");
    EXPECT_EQ(lines[7], "     conditions to make cell closed:");

    for (uint32_t t = 0; t <= 8; ++t) {
        static const char* const kTimes[] = {"0.125s", "0.25s",  "0.375s", "0.5s",  "0.625s",
                                             "0.75s",  "0.875s", "1s",     "1.125s"};
        EXPECT_EQ(TQXP6Cell::OnTimeText(t), kTimes[t]);
    }

    cell.OutputType = 8; // untimed
    lines.clear();
    cell.AddDescription(lines);
    EXPECT_EQ(lines[4], "     Brightness simulation enabled;");
    EXPECT_EQ(lines[5], "     Follows no other output");
}

TEST(QXP6Text, BoardDescription)
{
    TQXP6Board b = KnownBoard();
    b.CduDelay = 3;
    std::vector<std::string> lines;
    b.DisplayBoard(lines);
    const std::vector<std::string> head = {
        "Board Type: QXP6",
        "Serial number: 1234",
        "Board name: QXP6 Accessory Decoder",
        "Board Base address: 100",
        "User Description: Unassigned",
        "occupies 16 addresses",
        "DCC commands only",
        "CDU delay = 0.3 s",
        "sensor board number = 16",
        "output memory location = 5",
        "",
        "Output Cell Settings:",
        "     Cell: 1",
        "     Point cell, solenoid type motor",
        "     Description: undefined",
        "     TurnoutFeedback message",
        "     On Time: 0.5s",
        "     Follows no other output",
        "     Delay after conditions assert output = 10s",
        "     Delay after output changes = 2.5s",
        "     conditions to make cell closed:",
        "          Point 103 is Closed, AND Sensor 16,10 is Occupied",
        "     conditions to make cell thrown:",
        "          Point 500 is Thrown",
        "     conditions to freeze cell:",
        "          Signal 300 is not Red",
        "",
    };
    ASSERT_GE(lines.size(), head.size());
    EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.begin() + static_cast<long>(head.size())), head);

    const auto inputs = std::find(lines.begin(), lines.end(), "Input Cell Settings:");
    ASSERT_NE(inputs, lines.end());
    EXPECT_EQ(*(inputs - 1), "");
    EXPECT_EQ(*(inputs - 2), ""); // the last cell's closing empty line, then the section's
    EXPECT_EQ(*(inputs + 1), "    i/p Cell 1: ");
    EXPECT_EQ(*(inputs + 2), "       Pushbutton input, changes point 1");
    EXPECT_EQ(*(inputs + 3), "       No message");
    EXPECT_EQ(*(inputs + 28), "    i/p Cell B: ");
    EXPECT_EQ(*(inputs + 29), "       Pushbutton input, sets route 10");
    EXPECT_EQ(*(inputs + 30), "       Sensor message");

    const std::vector<std::string> tail = {
        "",
        "Route Settings:",
        "DCC Base address to set routes: 1000",
        "  Route 1:",
        "      Point 105 Thrown; ",
        "      Point 300 Closed; ",
        "      conditions to trigger route:",
        "          Sensor 20,3 is Unoccupied",
        "  Route 2:not defined.",
        "  Route 3:not defined.",
        "  Route 4:not defined.",
        "  Route 5:not defined.",
        "  Route 6:not defined.",
        "  Route 7:not defined.",
        "  Route 8:not defined.",
    };
    EXPECT_EQ(inputs + 31 + static_cast<long>(tail.size()), lines.end());
    EXPECT_EQ(std::vector<std::string>(inputs + 31, lines.end()), tail);

    TQXP6Board fresh;
    fresh.LocoNetCommands = true;
    lines.clear();
    fresh.DisplayBoard(lines);
    EXPECT_EQ(lines[1], "Serial number: not set yet");
    EXPECT_EQ(lines[5], "occupies 8 addresses");
    EXPECT_EQ(lines[6], "responds to LocoNet switch commands");
    EXPECT_EQ(lines[7], "CDU delay = 0.8 s");
    EXPECT_EQ(lines[9], "output memory location = 0");
    EXPECT_EQ(lines.size(), 10u + 2 + 8 * 13 + 2 + 30 + 3 + 8);
}

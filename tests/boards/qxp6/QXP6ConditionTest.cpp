#include "boards/qxp6/QXP6ConditionSet.h"
#include "boards/qxp6/QXP6ExtDevTable.h"

#include <gtest/gtest.h>
#include <sstream>

namespace {

TQXP6DeviceKey Point(uint32_t n)
{
    return {eQXP6Point, n, 0};
}
TQXP6DeviceKey Sensor(uint32_t n, uint32_t o)
{
    return {eQXP6Sensor, n, o};
}
TQXP6DeviceKey Signal(uint32_t n)
{
    return {eQXP6Signal, n, 0};
}

TQXP6ExtDevTable TableAt(uint32_t base, uint32_t sensorBoard)
{
    TQXP6ExtDevTable table;
    table.BaseAddress = base;
    table.SensorBoard = sensorBoard;
    return table;
}

TQXP6Condition Cond(uint8_t type, uint32_t number, uint32_t offset, uint8_t state, bool andNext)
{
    TQXP6Condition c;
    c.DeviceType = type;
    c.Number = number;
    c.Offset = offset;
    c.State = state;
    c.AndNext = andNext;
    return c;
}

} // namespace

TEST(QXP6Condition, TextAndToken)
{
    TQXP6Condition c;
    EXPECT_EQ(c.Text(), "(No Condition)");
    EXPECT_EQ(c.Token(), "Unused");
    c.AndNext = true; // an empty condition never shows its AND flag
    EXPECT_EQ(c.Text(), "(No Condition)");
    EXPECT_EQ(c.Token(), "Unused");

    c.SetPoint(12, 1, true);
    EXPECT_EQ(c.Text(), "Point 12 is Closed, AND");
    EXPECT_EQ(c.Token(), "PT 12 CL+");
    c.SetPoint(7, 0, false);
    EXPECT_EQ(c.Text(), "Point 7 is Thrown");
    EXPECT_EQ(c.Token(), "PT 7 TH");
    c.SetSensor(3, 5, 0, false);
    EXPECT_EQ(c.Text(), "Sensor 3,5 is Occupied");
    EXPECT_EQ(c.Token(), "SE 3:5 OC");
    c.SetSensor(300, 16, 1, true);
    EXPECT_EQ(c.Text(), "Sensor 300,16 is Unoccupied, AND");
    EXPECT_EQ(c.Token(), "SE 300:16 UN+");
    c.SetSignal(14, 0, false);
    EXPECT_EQ(c.Text(), "Signal 14 is Red");
    EXPECT_EQ(c.Token(), "SG 14 RD");
    c.SetSignal(2048, 1, true);
    EXPECT_EQ(c.Text(), "Signal 2048 is not Red, AND");
    EXPECT_EQ(c.Token(), "SG 2048 NR+");
}

TEST(QXP6Condition, ParseTokens)
{
    TQXP6Condition c;
    EXPECT_FALSE(c.ParseToken("PT 12 CL+"));
    EXPECT_EQ(c, Cond(eQXP6Point, 12, 0, 1, true));
    EXPECT_FALSE(c.ParseToken("SE 3:5 OC"));
    EXPECT_EQ(c, Cond(eQXP6Sensor, 3, 5, 0, false));
    EXPECT_FALSE(c.ParseToken("SE 16:10 UN"));
    EXPECT_EQ(c, Cond(eQXP6Sensor, 16, 10, 1, false));
    EXPECT_FALSE(c.ParseToken("SG 300 NR"));
    EXPECT_EQ(c, Cond(eQXP6Signal, 300, 0, 1, false));
    EXPECT_FALSE(c.ParseToken("SG 5 RD+"));
    EXPECT_EQ(c, Cond(eQXP6Signal, 5, 0, 0, true));
    EXPECT_FALSE(c.ParseToken("Unused"));
    EXPECT_EQ(c, TQXP6Condition{});

    // A state word of another device type leaves the state 0.
    EXPECT_FALSE(c.ParseToken("PT 9 OC"));
    EXPECT_EQ(c, Cond(eQXP6Point, 9, 0, 0, false));
    // Zones are no device of this decoder.
    EXPECT_TRUE(c.ParseToken("ZN AWE"));
    EXPECT_TRUE(c.IsEmpty());
    EXPECT_TRUE(c.ParseToken(""));
    EXPECT_TRUE(c.IsEmpty());
    // The parse starts afresh each time.
    c.SetPoint(4, 1, true);
    EXPECT_FALSE(c.ParseToken("PT 5 TH"));
    EXPECT_EQ(c, Cond(eQXP6Point, 5, 0, 0, false));
    // A number that is not one reads as its leading digits, or 0.
    EXPECT_FALSE(c.ParseToken("PT 12x CL"));
    EXPECT_EQ(c.Number, 12u);
    EXPECT_FALSE(c.ParseToken("SG abc RD"));
    EXPECT_EQ(c.Number, 0u);
}

TEST(QXP6Condition, TokensRoundTrip)
{
    const TQXP6Condition samples[] = {
        Cond(eQXP6Point, 1, 0, 0, false),     Cond(eQXP6Point, 2048, 0, 1, true), Cond(eQXP6Sensor, 16, 1, 0, true),
        Cond(eQXP6Sensor, 255, 16, 1, false), Cond(eQXP6Signal, 1, 0, 1, false),  Cond(eQXP6Signal, 999, 0, 0, true),
    };
    for (const auto& sample : samples) {
        TQXP6Condition back;
        EXPECT_FALSE(back.ParseToken(sample.Token()));
        EXPECT_EQ(back, sample) << sample.Token();
    }
}

TEST(QXP6DeviceTable, DeviceIndexOwnDevicesAndEntries)
{
    TQXP6ExtDevTable table = TableAt(100, 16);
    EXPECT_EQ(table.DeviceIndex(Point(100)), 11);
    EXPECT_EQ(table.DeviceIndex(Point(103)), 14);
    EXPECT_EQ(table.DeviceIndex(Point(107)), 18);
    EXPECT_EQ(table.DeviceIndex(Point(108)), 0);
    EXPECT_EQ(table.DeviceIndex(Point(99)), 0);
    EXPECT_EQ(table.DeviceIndex(Signal(103)), 0); // signals are never own outputs
    EXPECT_EQ(table.DeviceIndex(Sensor(16, 1)), 1);
    EXPECT_EQ(table.DeviceIndex(Sensor(16, 10)), 10);
    EXPECT_EQ(table.DeviceIndex(Sensor(16, 11)), 0);
    EXPECT_EQ(table.DeviceIndex(Sensor(16, 0)), 0);
    EXPECT_EQ(table.DeviceIndex(Sensor(17, 1)), 0);

    // Own devices take no entry.
    EXPECT_TRUE(table.AddDevice(Point(103)));
    EXPECT_TRUE(table.AddDevice(Sensor(16, 10)));
    EXPECT_EQ(table.UsedEntries(), 0);

    EXPECT_TRUE(table.AddDevice(Point(108)));
    EXPECT_TRUE(table.AddDevice(Sensor(16, 11)));
    EXPECT_TRUE(table.AddDevice(Signal(108))); // a signal is another device than point 108
    EXPECT_TRUE(table.AddDevice(Sensor(16, 12)));
    EXPECT_TRUE(table.AddDevice(Point(108))); // already there
    EXPECT_EQ(table.UsedEntries(), 4);
    EXPECT_EQ(table.DeviceIndex(Point(108)), 21);
    EXPECT_EQ(table.DeviceIndex(Sensor(16, 11)), 22);
    EXPECT_EQ(table.DeviceIndex(Signal(108)), 23);
    EXPECT_EQ(table.DeviceIndex(Sensor(16, 12)), 24);

    EXPECT_TRUE(table.DeviceAt(1).SameDevice(Sensor(16, 1)));
    EXPECT_TRUE(table.DeviceAt(18).SameDevice(Point(107)));
    EXPECT_TRUE(table.DeviceAt(19).IsFree());
    EXPECT_TRUE(table.DeviceAt(20).IsFree());
    EXPECT_TRUE(table.DeviceAt(22).SameDevice(Sensor(16, 11)));
    EXPECT_TRUE(table.DeviceAt(25).IsFree());
    EXPECT_TRUE(table.DeviceAt(0).IsFree());
    EXPECT_TRUE(table.DeviceAt(61).IsFree());

    table.Clear();
    EXPECT_EQ(table.UsedEntries(), 0);
    EXPECT_EQ(table.BaseAddress, 100u);
    EXPECT_EQ(table.SensorBoard, 16u);
}

TEST(QXP6DeviceTable, FullTableRefusesTheFortyFirstDevice)
{
    TQXP6ExtDevTable table = TableAt(1, 16);
    for (uint32_t n = 0; n < 40; ++n) ASSERT_TRUE(table.AddDevice(n % 2 ? Signal(500 + n) : Point(500 + n)));
    EXPECT_FALSE(table.AddDevice(Point(1000)));
    EXPECT_TRUE(table.AddDevice(Point(501 - 1))); // present
    EXPECT_TRUE(table.AddDevice(Point(3))); // own output
    EXPECT_EQ(table.DeviceIndex(Signal(539)), 60);
}

TEST(QXP6DeviceTable, SVLayout)
{
    TQXP6ExtDevTable table = TableAt(1, 16);
    ASSERT_TRUE(table.AddDevice(Signal(300)));
    ASSERT_TRUE(table.AddDevice(Point(300)));
    ASSERT_TRUE(table.AddDevice(Sensor(300, 16)));
    ASSERT_TRUE(table.AddDevice(Point(2048)));
    ASSERT_TRUE(table.AddDevice(Signal(5)));
    std::vector<uint8_t> svs(512, 0xEE);
    ASSERT_TRUE(table.ToSVBytes(svs.data()));
    const uint8_t expected[] = {44, 51, 44, 1, 44, 116, 0, 8, 5, 50};
    for (size_t i = 0; i < sizeof expected; ++i) EXPECT_EQ(svs[170 + i], expected[i]) << "SV " << 171 + i;
    for (size_t sv = 181; sv <= 250; ++sv) EXPECT_EQ(svs[sv - 1], 0) << "SV " << sv;
    EXPECT_EQ(svs[169], 0xEE); // SV170 untouched
    EXPECT_EQ(svs[250], 0xEE); // SV251 untouched

    TQXP6ExtDevTable back = TableAt(1, 16);
    ASSERT_TRUE(back.FromSVBytes(svs.data()));
    EXPECT_TRUE(back.Entry(0).SameDevice(Signal(300)));
    EXPECT_TRUE(back.Entry(1).SameDevice(Point(300)));
    // Sensors keep only the low byte of their number.
    EXPECT_TRUE(back.Entry(2).SameDevice(Sensor(44, 16)));
    EXPECT_TRUE(back.Entry(3).SameDevice(Point(2048)));
    EXPECT_TRUE(back.Entry(4).SameDevice(Signal(5)));
    EXPECT_TRUE(back.Entry(5).IsFree());
}

TEST(QXP6DeviceTable, DecodingEntryBoundaries)
{
    std::vector<uint8_t> svs(512, 0);
    auto put = [&](int entry, uint8_t a, uint8_t b) {
        svs[170 + 2 * entry] = a;
        svs[171 + 2 * entry] = b;
    };
    put(0, 7, 0); // point 7
    put(1, 0, 49); // point 12544
    put(2, 9, 51); // signal 9 + 256
    put(3, 9, 100); // signal 9 + 50 * 256
    put(4, 9, 101); // sensor 9 input 1
    put(5, 0, 0); // free
    put(6, 0, 255); // sensor 0 input 155
    put(7, 200, 50); // signal 200: a signal below 256 has 50 in its second byte
    TQXP6ExtDevTable table = TableAt(1, 16);
    table.FromSVBytes(svs.data());
    EXPECT_TRUE(table.Entry(0).SameDevice(Point(7)));
    EXPECT_TRUE(table.Entry(1).SameDevice(Point(12544)));
    EXPECT_TRUE(table.Entry(2).SameDevice(Signal(265)));
    EXPECT_TRUE(table.Entry(3).SameDevice(Signal(12809)));
    EXPECT_TRUE(table.Entry(4).SameDevice(Sensor(9, 1)));
    EXPECT_TRUE(table.Entry(5).IsFree());
    EXPECT_TRUE(table.Entry(6).SameDevice(Sensor(0, 155)));
    EXPECT_TRUE(table.Entry(7).SameDevice(Signal(200)));
}

TEST(QXP6Condition, SVBytes)
{
    TQXP6ExtDevTable table = TableAt(100, 16);
    TQXP6Condition c;
    uint8_t byte = 0xFF;

    EXPECT_TRUE(c.SVByte(table, byte));
    EXPECT_EQ(byte, 0);
    c.AndNext = true;
    EXPECT_TRUE(c.SVByte(table, byte));
    EXPECT_EQ(byte, 0);

    c.SetPoint(103, 1, false);
    EXPECT_TRUE(c.SVByte(table, byte));
    EXPECT_EQ(byte, 74);
    c.SetSensor(16, 10, 0, false);
    EXPECT_TRUE(c.SVByte(table, byte));
    EXPECT_EQ(byte, 10);
    c.SetSensor(16, 1, 1, true);
    EXPECT_TRUE(c.SVByte(table, byte));
    EXPECT_EQ(byte, 1 + 60 + 128);

    // Not in the table: failure, byte 0 or 128.
    c.SetPoint(108, 1, false);
    EXPECT_FALSE(c.SVByte(table, byte));
    EXPECT_EQ(byte, 0);
    c.SetPoint(108, 1, true);
    EXPECT_FALSE(c.SVByte(table, byte));
    EXPECT_EQ(byte, 128);

    ASSERT_TRUE(table.AddDevice(Point(108)));
    ASSERT_TRUE(table.AddDevice(Signal(50)));
    EXPECT_TRUE(c.SVByte(table, byte));
    EXPECT_EQ(byte, 21 + 60 + 128);
    c.SetSignal(50, 1, true);
    EXPECT_TRUE(c.SVByte(table, byte));
    EXPECT_EQ(byte, 22 + 60 + 128);
    c.SetSignal(50, 0, false);
    EXPECT_TRUE(c.SVByte(table, byte));
    EXPECT_EQ(byte, 22);
}

TEST(QXP6Condition, FromSVBytes)
{
    TQXP6ExtDevTable table = TableAt(100, 16);
    ASSERT_TRUE(table.AddDevice(Signal(300)));
    TQXP6Condition c;

    EXPECT_TRUE(c.FromSVByte(0, table));
    EXPECT_EQ(c, TQXP6Condition{});
    EXPECT_TRUE(c.FromSVByte(74, table));
    EXPECT_EQ(c, Cond(eQXP6Point, 103, 0, 1, false));
    EXPECT_TRUE(c.FromSVByte(10 + 128, table));
    EXPECT_EQ(c, Cond(eQXP6Sensor, 16, 10, 0, true));
    EXPECT_TRUE(c.FromSVByte(21 + 60, table));
    EXPECT_EQ(c, Cond(eQXP6Signal, 300, 0, 1, false));

    // 19 names nothing: an empty condition that keeps its AND flag, and failure.
    EXPECT_FALSE(c.FromSVByte(19 + 128, table));
    EXPECT_TRUE(c.IsEmpty());
    EXPECT_TRUE(c.AndNext);
    EXPECT_FALSE(c.FromSVByte(22, table)); // free entry
    EXPECT_TRUE(c.IsEmpty());
    EXPECT_FALSE(c.FromSVByte(127, table)); // index 67 lies past the table
    EXPECT_TRUE(c.IsEmpty());
    EXPECT_TRUE(c.FromSVByte(128, table));
    EXPECT_TRUE(c.IsEmpty());
    EXPECT_TRUE(c.AndNext);
}

TEST(QXP6ConditionSet, KindsAndCopying)
{
    EXPECT_EQ(TQXP6ConditionSet(eQXP6CondThrown).Count(), 7);
    EXPECT_EQ(TQXP6ConditionSet(eQXP6CondClosed).Count(), 7);
    EXPECT_EQ(TQXP6ConditionSet(eQXP6CondFreeze).Count(), 2);
    EXPECT_EQ(TQXP6ConditionSet(eQXP6CondRoute).Count(), 5);
    EXPECT_EQ(TQXP6ConditionSet::KindName(0), "Conditions for change to Thrown");
    EXPECT_EQ(TQXP6ConditionSet::KindName(1), "Conditions for change to Closed");
    EXPECT_EQ(TQXP6ConditionSet::KindName(2), "Conditions to freeze cell");
    EXPECT_EQ(TQXP6ConditionSet::KindName(3), "Conditions to trigger route");

    TQXP6ConditionSet thrown(eQXP6CondThrown);
    for (int i = 0; i < 7; ++i) thrown.ConditionAt(i).SetPoint(static_cast<uint32_t>(200 + i), 1, false);
    TQXP6ConditionSet freeze(eQXP6CondFreeze, &thrown);
    ASSERT_EQ(freeze.Count(), 2);
    EXPECT_EQ(freeze.Kind(), eQXP6CondFreeze);
    EXPECT_EQ(freeze.ConditionAt(0).Number, 200u);
    EXPECT_EQ(freeze.ConditionAt(1).Number, 201u);
    TQXP6ConditionSet route(eQXP6CondRoute, &freeze);
    EXPECT_EQ(route.ConditionAt(1).Number, 201u);
    EXPECT_TRUE(route.ConditionAt(2).IsEmpty());

    // Assignment takes the source's kind and conditions; the copy is independent.
    TQXP6ConditionSet assigned(eQXP6CondRoute);
    assigned = thrown;
    EXPECT_EQ(assigned.Kind(), eQXP6CondThrown);
    EXPECT_EQ(assigned.Count(), 7);
    assigned.ConditionAt(0).SetSignal(1, 0, false);
    EXPECT_EQ(thrown.ConditionAt(0).DeviceType, eQXP6Point);
}

TEST(QXP6ConditionSet, InsertAndDelete)
{
    TQXP6ConditionSet set(eQXP6CondRoute);
    for (int i = 0; i < 5; ++i) set.ConditionAt(i).SetPoint(static_cast<uint32_t>(i + 1), 0, false);
    TQXP6Condition c;
    c.SetSignal(9, 1, false);
    set.InsertAt(1, c); // full: the last condition drops out
    EXPECT_EQ(set.ConditionAt(0).Number, 1u);
    EXPECT_EQ(set.ConditionAt(1).DeviceType, eQXP6Signal);
    EXPECT_EQ(set.ConditionAt(2).Number, 2u);
    EXPECT_EQ(set.ConditionAt(4).Number, 4u);
    set.DeleteAt(0);
    EXPECT_EQ(set.ConditionAt(0).DeviceType, eQXP6Signal);
    EXPECT_EQ(set.ConditionAt(3).Number, 4u);
    EXPECT_TRUE(set.ConditionAt(4).IsEmpty());
    set.InsertAt(5, c); // out of range: nothing happens
    set.DeleteAt(-1);
    EXPECT_TRUE(set.ConditionAt(4).IsEmpty());
    set.Clear();
    for (int i = 0; i < 5; ++i) EXPECT_TRUE(set.ConditionAt(i).IsEmpty());
}

TEST(QXP6ConditionSet, TextLines)
{
    TQXP6ConditionSet set(eQXP6CondThrown);
    std::vector<std::string> lines;
    set.AddText(lines);
    ASSERT_EQ(lines, std::vector<std::string>{"          (No conditions assigned)"});

    // Later places are not shown when the first one is empty...
    set.ConditionAt(1).SetPoint(5, 0, false);
    lines.clear();
    set.AddText(lines);
    ASSERT_EQ(lines, std::vector<std::string>{"          (No conditions assigned)"});

    set.ConditionAt(0).SetPoint(12, 1, true);
    set.ConditionAt(1).SetSensor(3, 5, 0, false);
    set.ConditionAt(2).SetSignal(14, 0, true);
    set.ConditionAt(3).SetSignal(15, 1, true); // last shown: its line ends anyway
    set.ConditionAt(5).SetPoint(99, 0, false); // after the empty place: not shown
    lines.clear();
    set.AddText(lines);
    const std::vector<std::string> expected = {
        "          Point 12 is Closed, AND Sensor 3,5 is Occupied",
        "          Signal 14 is Red, AND Signal 15 is not Red, AND",
    };
    EXPECT_EQ(lines, expected);
}

TEST(QXP6ConditionSet, GatherAndBytesIncludePlacesAfterAGap)
{
    TQXP6ExtDevTable table = TableAt(100, 16);
    TQXP6ConditionSet set(eQXP6CondThrown);
    set.ConditionAt(1).SetPoint(500, 0, true);
    set.ConditionAt(2).SetPoint(101, 1, false);
    set.ConditionAt(6).SetSignal(500, 1, false);
    EXPECT_TRUE(set.GatherDevices(table));
    EXPECT_EQ(table.UsedEntries(), 2);
    uint8_t bytes[7];
    EXPECT_TRUE(set.ToSVBytes(bytes, table));
    const uint8_t expected[7] = {0, 21 + 128, 12 + 60, 0, 0, 0, 22 + 60};
    for (int i = 0; i < 7; ++i) EXPECT_EQ(bytes[i], expected[i]) << i;

    TQXP6ConditionSet back(eQXP6CondThrown);
    EXPECT_TRUE(back.FromSVBytes(bytes, table));
    EXPECT_TRUE(back.SameConditions(set));

    TQXP6ExtDevTable empty = TableAt(100, 16);
    EXPECT_FALSE(set.ToSVBytes(bytes, empty));
}

TEST(QXP6ConditionSet, Record)
{
    TQXP6ConditionSet set(eQXP6CondFreeze);
    set.ConditionAt(0).SetPoint(12, 1, true);
    std::ostringstream out;
    set.WriteRecord(out);
    EXPECT_EQ(out.str(), ",,\"Cond_Cell_F\",\"2\",\"PT 12 CL+\",\"Unused\"\r\n");

    TQXP6ConditionSet route(eQXP6CondRoute);
    route.ConditionAt(4).SetSensor(16, 3, 1, false);
    std::ostringstream routeOut;
    route.WriteRecord(routeOut);
    EXPECT_EQ(routeOut.str(), ",,\"Cond_Route\",\"5\",\"Unused\",\"Unused\",\"Unused\",\"Unused\",\"SE 16:3 UN\"\r\n");

    std::istringstream in(routeOut.str());
    TQXP6ConditionSet back(eQXP6CondRoute);
    back.ReadRecord(in);
    EXPECT_TRUE(back.SameConditions(route));

    // The count limits what is read; places beyond it keep their conditions.
    TQXP6ConditionSet partial(eQXP6CondThrown);
    partial.ConditionAt(3).SetSignal(8, 0, false);
    std::istringstream shortLine(",,\"Cond_Cell_T\",\"2\",\"SG 1 NR\",\"PT 4 TH\",\"PT 5 TH\"\r\n");
    partial.ReadRecord(shortLine);
    EXPECT_EQ(partial.ConditionAt(0), Cond(eQXP6Signal, 1, 0, 1, false));
    EXPECT_EQ(partial.ConditionAt(1), Cond(eQXP6Point, 4, 0, 0, false));
    EXPECT_TRUE(partial.ConditionAt(2).IsEmpty());
    EXPECT_EQ(partial.ConditionAt(3).Number, 8u);

    // A count beyond the capacity reads only the capacity.
    TQXP6ConditionSet freeze(eQXP6CondFreeze);
    std::istringstream longLine(",,\"Cond_Cell_F\",\"7\",\"SG 1 NR\",\"PT 4 TH\",\"PT 5 TH\"\r\n");
    freeze.ReadRecord(longLine);
    EXPECT_EQ(freeze.ConditionAt(1).Number, 4u);
}

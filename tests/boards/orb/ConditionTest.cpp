#include "boards/orb/Condition.h"
#include "support/Conditions.h"

#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <vector>

using namespace samples;

namespace {} // namespace

TEST(Condition, TextOfEveryKind)
{
    EXPECT_EQ(TCondition().Text(), "(No Condition)");
    TCondition emptyWithAnd;
    emptyWithAnd.AndNext = 1;
    EXPECT_EQ(emptyWithAnd.Text(), "(No Condition)");
    EXPECT_EQ(Point(12, 0).Text(), "Point 12 is Thrown");
    EXPECT_EQ(Point(12, 1, true).Text(), "Point 12 is Closed, AND");
    EXPECT_EQ(Sensor(3, 5, 0).Text(), "Sensor 3,5 is Occupied");
    EXPECT_EQ(Sensor(300, 16, 1, true).Text(), "Sensor 300,16 is Unoccupied, AND");
    EXPECT_EQ(Signal(14, 0).Text(), "Signal 14 is Red");
    EXPECT_EQ(Signal(2048, 1).Text(), "Signal 2048 is not Red");
    const char* zones[6] = {"Rev Zone A running W-E", "Rev Zone A running E-W", "Rev Zone B running W-E",
                            "Rev Zone B running E-W", "Rev Zone C running W-E", "Rev Zone C running E-W"};
    for (uint8_t s = 0; s < 6; ++s) {
        EXPECT_EQ(Zone(s).Text(), zones[s]);
        EXPECT_EQ(Zone(s, true).Text(), std::string(zones[s]) + ", AND");
    }
}

TEST(Condition, TokensOfEveryKind)
{
    EXPECT_EQ(TCondition().Token(), "Unused");
    EXPECT_EQ(Point(12, 1, true).Token(), "PT 12 CL+");
    EXPECT_EQ(Point(7, 0).Token(), "PT 7 TH");
    EXPECT_EQ(Sensor(3, 5, 0).Token(), "SE 3:5 OC");
    EXPECT_EQ(Sensor(3, 5, 1, true).Token(), "SE 3:5 UN+");
    EXPECT_EQ(Signal(14, 0).Token(), "SG 14 RD");
    EXPECT_EQ(Signal(14, 1).Token(), "SG 14 NR");
    EXPECT_EQ(Zone(3, true).Token(), "ZN BEW+");
    const char* words[6] = {"AWE", "AEW", "BWE", "BEW", "CWE", "CEW"};
    for (uint8_t s = 0; s < 6; ++s) EXPECT_EQ(Zone(s).Token(), std::string("ZN ") + words[s]);
}

TEST(Condition, TokensParseBackToTheSameCondition)
{
    const std::vector<TCondition> all = {
        TCondition(),  Point(12, 1, true),    Point(0, 0), Sensor(3, 5, 0), Sensor(44, 16, 1, true),
        Signal(14, 0), Signal(2048, 1, true), Zone(0),     Zone(5, true),   Zone(2)};
    for (const auto& c : all) {
        TCondition parsed;
        EXPECT_FALSE(parsed.ParseToken(c.Token())) << c.Token();
        EXPECT_EQ(parsed, c) << c.Token();
    }
}

TEST(Condition, ParsingOddTokens)
{
    TCondition c;
    EXPECT_TRUE(c.ParseToken("garbage"));
    EXPECT_EQ(c.DeviceType, edtNone);
    EXPECT_TRUE(TCondition().ParseToken(""));

    // A state word of another device type leaves the state 0.
    TCondition p;
    EXPECT_FALSE(p.ParseToken("PT 7 OC"));
    EXPECT_EQ(p, Point(7, 0));

    // A sensor without an offset, and a number that is not one.
    TCondition s;
    s.ParseToken("SE 9 UN");
    EXPECT_EQ(s, Sensor(9, 0, 1));
    TCondition bad;
    bad.ParseToken("SG x1 NR");
    EXPECT_EQ(bad, Signal(0, 1));

    // "Unused" wins over any other word; the device word may be anywhere in the field.
    TCondition u;
    EXPECT_FALSE(u.ParseToken("Unused PT 4 CL"));
    EXPECT_EQ(u, TCondition());
    TCondition z;
    z.ParseToken("xx ZN CEW");
    EXPECT_EQ(z, Zone(5));

    // Parsing never clears the AND flag.
    TCondition keep = Point(1, 0, true);
    keep.ParseToken("PT 4 CL");
    EXPECT_EQ(keep.AndNext, 1);
    EXPECT_EQ(keep.Number, 4u);
}

TEST(Condition, SVBytes)
{
    TExtDevTable t;
    for (uint32_t i = 1; i <= 49; ++i) t.Add({edtSignal, 900 + i, 0}); // entries 49-60
    t.Add({edtPoint, 12, 0}); // entry 1
    t.Add({edtSensor, 3, 5}); // entry 2
    uint8_t b = 99;
    EXPECT_TRUE(TCondition().GetSVByte(t, b));
    EXPECT_EQ(b, 0);
    EXPECT_TRUE(Signal(902, 1, true).GetSVByte(t, b)); // entry 50
    EXPECT_EQ(b, 238);
    EXPECT_TRUE(Zone(5).GetSVByte(t, b));
    EXPECT_EQ(b, 126);
    EXPECT_TRUE(Zone(0, true).GetSVByte(t, b));
    EXPECT_EQ(b, 249);
    EXPECT_TRUE(Point(12, 0).GetSVByte(t, b));
    EXPECT_EQ(b, 1);
    EXPECT_TRUE(Sensor(3, 5, 1).GetSVByte(t, b));
    EXPECT_EQ(b, 62);
    EXPECT_FALSE(Sensor(3, 6, 1).GetSVByte(t, b)); // another input of the same board
    EXPECT_FALSE(Signal(12, 0).GetSVByte(t, b)); // a signal is not the point 12
}

TEST(Condition, FromSVBytes)
{
    TExtDevTable t;
    t.Add({edtPoint, 12, 0});
    t.Add({edtSensor, 3, 5});
    t.Add({edtSignal, 40, 0});
    TCondition c;
    EXPECT_TRUE(c.FromSVByte(1 + 60 + 128, t));
    EXPECT_EQ(c, Point(12, 1, true));
    EXPECT_TRUE(c.FromSVByte(2, t));
    EXPECT_EQ(c, Sensor(3, 5, 0));
    EXPECT_TRUE(c.FromSVByte(49, t));
    EXPECT_EQ(c, Signal(40, 0));
    EXPECT_TRUE(c.FromSVByte(124, t));
    EXPECT_EQ(c, Zone(3));
    EXPECT_TRUE(c.FromSVByte(128, t));
    EXPECT_EQ(c, TCondition());
    EXPECT_FALSE(c.FromSVByte(3, t)); // free entry
    EXPECT_EQ(c, TCondition());
    EXPECT_FALSE(c.FromSVByte(127, t)); // no seventh zone state
    EXPECT_EQ(c, TCondition());
    EXPECT_FALSE(c.FromSVByte(255, t));
}

TEST(Condition, EveryDecodableByteEncodesBackToItself)
{
    TExtDevTable t;
    for (uint32_t i = 1; i <= 48; ++i) t.Add(i % 3 ? TDeviceKey{edtPoint, i, 0} : TDeviceKey{edtSensor, i, i % 16});
    for (uint32_t i = 1; i <= 12; ++i) t.Add({edtSignal, 500 + i, 0});
    for (int byte = 1; byte < 256; ++byte) {
        if (byte == 128) continue;
        TCondition c;
        if (!c.FromSVByte(static_cast<uint8_t>(byte), t)) {
            EXPECT_TRUE(byte == 127 || byte == 255) << byte;
            continue;
        }
        uint8_t back = 0;
        ASSERT_TRUE(c.GetSVByte(t, back)) << byte;
        EXPECT_EQ(back, byte);
    }
}

// ---------------------------------------------------------------------------------------------

TEST(ConditionSet, KindsCapacitiesAndCopyBetweenKinds)
{
    const uint32_t caps[8] = {3, 14, 5, 3, 2, 8, 6, 3};
    for (uint8_t k = 0; k < 8; ++k) {
        TConditionSet s(k);
        EXPECT_EQ(s.Count(), caps[k]);
        for (uint32_t i = 0; i < s.Count(); ++i) EXPECT_TRUE(s.ConditionAt(i).IsEmpty());
    }
    EXPECT_STREQ(TConditionSet::KindName(2), "Red Conditions for Diverging Junction");
    EXPECT_STREQ(TConditionSet::KindTag(3), "Cond_Isol_Override:");

    TConditionSet red(ecsRedNorm);
    for (uint32_t i = 0; i < 14; ++i) red.ConditionAt(i) = Point(i + 1, 0);
    TConditionSet small(ecsRedDiverge, &red);
    ASSERT_EQ(small.Count(), 5u);
    for (uint32_t i = 0; i < 5; ++i) EXPECT_EQ(small.ConditionAt(i), Point(i + 1, 0));
    TConditionSet big(ecsRedNorm, &small);
    EXPECT_EQ(big.ConditionAt(4), Point(5, 0));
    EXPECT_TRUE(big.ConditionAt(5).IsEmpty());
    EXPECT_TRUE(big.ConditionAt(13).IsEmpty());
}

TEST(ConditionSet, InsertDropsTheLastAndDeleteClearsIt)
{
    TConditionSet s(ecsBlock);
    s.ConditionAt(0) = Point(1, 0);
    s.ConditionAt(1) = Point(2, 0);
    s.ConditionAt(2) = Point(3, 0);
    s.InsertAt(1, Signal(9, 1));
    EXPECT_EQ(s.ConditionAt(0), Point(1, 0));
    EXPECT_EQ(s.ConditionAt(1), Signal(9, 1));
    EXPECT_EQ(s.ConditionAt(2), Point(2, 0));
    s.DeleteAt(0);
    EXPECT_EQ(s.ConditionAt(0), Signal(9, 1));
    EXPECT_EQ(s.ConditionAt(1), Point(2, 0));
    EXPECT_TRUE(s.ConditionAt(2).IsEmpty());
    s.InsertAt(3, Point(7, 0)); // beyond the end: nothing happens
    s.DeleteAt(5);
    EXPECT_EQ(s.ConditionAt(1), Point(2, 0));
    s.Clear();
    EXPECT_TRUE(s.ConditionAt(0).IsEmpty());
}

TEST(ConditionSet, TextStopsAtTheFirstEmptyPlaceAndJoinsAndChains)
{
    TConditionSet s(ecsRedNorm);
    std::vector<std::string> lines;
    s.ConditionAt(1) = Point(5, 0);
    s.AddText(lines);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0], "          (No conditions assigned)");

    s.ConditionAt(0) = Point(12, 1, true);
    s.ConditionAt(1) = Sensor(3, 5, 0);
    s.ConditionAt(2) = Signal(14, 0, true);
    s.ConditionAt(3) = Zone(1, true);
    s.ConditionAt(4) = Zone(2, true); // last shown: the line still ends
    s.ConditionAt(6) = Point(99, 0); // after an empty place: not shown
    lines.clear();
    s.AddText(lines);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], "          Point 12 is Closed, AND Sensor 3,5 is Occupied");
    EXPECT_EQ(lines[1], "          Signal 14 is Red, AND Rev Zone A running E-W, AND Rev Zone B running W-E, AND");
}

TEST(ConditionSet, GatheringIncludesPlacesAfterAnEmptyOne)
{
    TConditionSet s(ecsRevDirection);
    s.ConditionAt(1) = Signal(3, 0);
    s.ConditionAt(3) = Sensor(3, 2, 1);
    s.ConditionAt(4) = Zone(4);
    s.ConditionAt(5) = Point(3, 0);
    s.ConditionAt(6) = Sensor(3, 2, 0);
    TExtDevTable t;
    EXPECT_TRUE(s.GatherDevices(t));
    EXPECT_EQ(t.Find({edtSignal, 3, 0}), 49u);
    EXPECT_EQ(t.Find({edtSensor, 3, 2}), 1u);
    EXPECT_EQ(t.Find({edtPoint, 3, 0}), 2u);
    EXPECT_EQ(t.Entry(3).DeviceType, edtNone);

    uint8_t bytes[8] = {};
    EXPECT_TRUE(s.ToSVBytes(bytes, t));
    const uint8_t expected[8] = {0, 49, 0, 61, 125, 2, 1, 0};
    for (int i = 0; i < 8; ++i) EXPECT_EQ(bytes[i], expected[i]) << i;
    TConditionSet back(ecsRevDirection);
    EXPECT_TRUE(back.FromSVBytes(bytes, t));
    EXPECT_TRUE(back.SameConditions(s));

    TExtDevTable empty;
    EXPECT_FALSE(s.ToSVBytes(bytes, empty));
}

TEST(ConditionSet, RecordLine)
{
    TConditionSet s(ecsBlock);
    s.ConditionAt(0) = Point(12, 1, true);
    std::ostringstream out;
    s.WriteRecord(out);
    EXPECT_EQ(out.str(), ",,\"Cond_Block:\",\"3\",\"PT 12 CL+\",\"Unused\",\"Unused\"\r\n");

    TConditionSet aux(ecsAux);
    aux.ConditionAt(0) = Zone(5);
    aux.ConditionAt(1) = Sensor(1, 16, 1);
    std::ostringstream auxOut;
    aux.WriteRecord(auxOut);
    EXPECT_EQ(auxOut.str(), ",,\"Cond_Aux:\",\"2\",\"ZN CEW\",\"SE 1:16 UN\"\r\n");

    std::istringstream in(out.str() + auxOut.str());
    TConditionSet a(ecsBlock);
    a.ConditionAt(2) = Signal(1, 0);
    a.ReadRecord(in);
    EXPECT_TRUE(a.SameConditions(s));
    TConditionSet b(ecsAux);
    b.ReadRecord(in);
    EXPECT_TRUE(b.SameConditions(aux));
}

TEST(ConditionSet, ReadingKeepsPlacesBeyondTheRecordsCount)
{
    std::istringstream in(",,\"Cond_Red_Norm:\",\"2\",\"SG 4 RD\",\"bogus\",\"PT 9 TH\"\r\n"
                          ",,\"Cond_Block:\",\"99\",\"PT 1 TH\",\"PT 2 TH\",\"PT 3 TH\",\"PT 4 TH\"\r\n");
    TConditionSet red(ecsRedNorm);
    red.ConditionAt(1) = Point(5, 0);
    red.ConditionAt(2) = Point(6, 0);
    red.ReadRecord(in);
    EXPECT_EQ(red.ConditionAt(0), Signal(4, 0));
    EXPECT_TRUE(red.ConditionAt(1).IsEmpty()); // a token without a device word
    EXPECT_EQ(red.ConditionAt(2), Point(6, 0));
    TConditionSet block(ecsBlock);
    block.ReadRecord(in); // more tokens than places: the capacity wins
    EXPECT_EQ(block.ConditionAt(2), Point(3, 0));
}

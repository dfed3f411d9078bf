#include "boards/orb/RevRunZone.h"
#include "support/Conditions.h"

#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <vector>

using namespace samples;

namespace {
TRevRunZone ZoneB()
{
    TRevRunZone z;
    z.SetZoneNumber(2);
    z.Name = "Loop";
    z.Description = "reversing loop";
    z.WestEastSet().ConditionAt(0) = Sensor(5, 3, 0, true);
    z.WestEastSet().ConditionAt(1) = Signal(2, 1);
    z.EastWestSet().ConditionAt(7) = Point(4, 1);
    z.FreezeSet().ConditionAt(0) = Zone(5, true);
    z.ShuntSet().ConditionAt(2) = Point(9, 0);
    return z;
}
} // namespace

TEST(RevRunZone, LetterAndListLine)
{
    TRevRunZone z = ZoneB();
    EXPECT_EQ(z.Letter(), "B");
    EXPECT_EQ(z.ListLine(), "B\tLoop");
    z.SetZoneNumber(3);
    EXPECT_EQ(z.Letter(), "C");
    TRevRunZone fresh;
    EXPECT_EQ(fresh.Letter(), "A");
    EXPECT_EQ(fresh.Name, "");
}

TEST(RevRunZone, GathersItsSetsInOrderAndWritesItsBlock)
{
    const TRevRunZone z = ZoneB();
    TExtDevTable t;
    EXPECT_TRUE(z.GatherDevices(t));
    EXPECT_EQ(t.Find({edtSensor, 5, 3}), 1u);
    EXPECT_EQ(t.Find({edtPoint, 4, 0}), 2u);
    EXPECT_EQ(t.Find({edtPoint, 9, 0}), 3u);
    EXPECT_EQ(t.Find({edtSignal, 2, 0}), 49u);

    std::vector<uint8_t> svs(512, 0);
    ASSERT_TRUE(z.ToSVs(svs, t));
    // Zone B: SV 205-229.
    EXPECT_EQ(svs[205 - 1], 1 + 128);
    EXPECT_EQ(svs[206 - 1], 49 + 60);
    EXPECT_EQ(svs[220 - 1], 2 + 60);
    EXPECT_EQ(svs[221 - 1], 126 + 128);
    EXPECT_EQ(svs[229 - 1], 3);
    int nonzero = 0;
    for (uint8_t b : svs) nonzero += b != 0;
    EXPECT_EQ(nonzero, 5);

    TRevRunZone back;
    back.SetZoneNumber(2);
    ASSERT_TRUE(back.FromSVs(svs, t));
    for (int which = 0; which < TRevRunZone::ezsCount; ++which)
        EXPECT_TRUE(back.Set(TRevRunZone::EZoneSet(which)).SameConditions(z.Set(TRevRunZone::EZoneSet(which))));

    EXPECT_FALSE(z.ToSVs(svs, TExtDevTable()));
}

TEST(RevRunZone, DescriptionLeavesOutNameAndDescription)
{
    std::vector<std::string> lines;
    ZoneB().AddText(lines);
    const std::vector<std::string> expected = {
        "     Zone: B",
        "     West - East Settings:",
        "          Sensor 5,3 is Occupied, AND Signal 2 is not Red",
        "     East - West Settings:",
        "          (No conditions assigned)",
        "     Freeze from changing Settings:",
        "          Rev Zone C running E-W, AND",
        "     Shunt Mode Settings:",
        "          (No conditions assigned)",
        "",
    };
    EXPECT_EQ(lines, expected);
}

TEST(RevRunZone, BoardFileLines)
{
    TRevRunZone z = ZoneB();
    std::ostringstream out;
    z.WriteLines(out);
    const std::string expected =
        ",\"Zone_2\",\"Loop\",\"reversing loop\"\r\n"
        ",,\"Cond_Rev_Direction:\",\"8\",\"SE 5:3 OC+\",\"SG 2 NR\",\"Unused\",\"Unused\",\"Unused\",\"Unused\","
        "\"Unused\",\"Unused\"\r\n"
        ",,\"Cond_Rev_Direction:\",\"8\",\"Unused\",\"Unused\",\"Unused\",\"Unused\",\"Unused\",\"Unused\","
        "\"Unused\",\"PT 4 CL\"\r\n"
        ",,\"Cond_Rev_Freeze:\",\"6\",\"ZN CEW+\",\"Unused\",\"Unused\",\"Unused\",\"Unused\",\"Unused\"\r\n"
        ",,\"Cond_Rev_Shunt:\",\"3\",\"Unused\",\"Unused\",\"PT 9 TH\"\r\n";
    EXPECT_EQ(out.str(), expected);

    std::istringstream in(expected);
    TRevRunZone back;
    back.SetZoneNumber(2);
    back.ReadLines(in);
    EXPECT_EQ(back.Name, "Loop");
    EXPECT_EQ(back.Description, "reversing loop");
    std::ostringstream again;
    back.WriteLines(again);
    EXPECT_EQ(again.str(), expected);
}

#include "boards/orb/Signal.h"
#include "support/SignalBoardSamples.h"

#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <vector>

using namespace samples;

namespace {

uint8_t SV(const std::vector<uint8_t>& svs, uint32_t n)
{
    return svs.at(n - 1);
}

// Signal 3 of a board at base 1: diverging, conditions of every kind.
TSignal DivergingSignal()
{
    TSignal s;
    s.SetSignalNumber(3);
    DescribeDivergingSignal(s);
    s.Name = "Junction west";
    s.Description = "up main";
    return s;
}

} // namespace

TEST(Signal, DefaultsAndListLine)
{
    TSignal s;
    EXPECT_TRUE(s.IsBlock());
    EXPECT_EQ(s.HeadType, 2);
    EXPECT_EQ(s.Name, "unnamed");
    EXPECT_EQ(s.Description, "undefined");
    EXPECT_EQ(s.RedSet().Count(), 14u);
    EXPECT_EQ(s.BlockOccupiedThrownSet(), nullptr);
    EXPECT_EQ(s.RedThrownSet(), nullptr);
    s.SetSignalNumber(4);
    s.SetBaseAddress(100);
    EXPECT_EQ(s.DCCAddress(), 103u);
    EXPECT_EQ(s.ListLine(), "4\tBlock\tunnamed");
    s.SetType(estDiverging);
    s.Name = "Up home";
    EXPECT_EQ(s.ListLine(), "4\tDiverging\tUp home");
}

TEST(Signal, ChangingTheTypeKeepsWhatFits)
{
    TSignal s;
    for (uint32_t i = 0; i < 6; ++i) s.RedSet().ConditionAt(i) = Point(i + 1, 0);
    s.BlockOccupiedSet().ConditionAt(2) = Signal(8, 1);
    s.AuxSet().ConditionAt(1) = Zone(2);
    s.SetType(estDiverging);
    ASSERT_EQ(s.RedSet().Count(), 5u);
    EXPECT_EQ(s.RedSet().ConditionAt(4), Point(5, 0));
    ASSERT_NE(s.RedThrownSet(), nullptr);
    EXPECT_TRUE(s.RedThrownSet()->ConditionAt(0).IsEmpty());
    s.RedThrownSet()->ConditionAt(0) = Point(40, 0);
    s.SetType(estDiverging); // same type again: nothing is lost
    EXPECT_EQ(s.RedThrownSet()->ConditionAt(0), Point(40, 0));
    s.SetType(estBlock);
    ASSERT_EQ(s.RedSet().Count(), 14u);
    EXPECT_EQ(s.RedSet().ConditionAt(4), Point(5, 0));
    EXPECT_TRUE(s.RedSet().ConditionAt(5).IsEmpty());
    EXPECT_EQ(s.RedThrownSet(), nullptr);
    EXPECT_EQ(s.BlockOccupiedSet().ConditionAt(2), Signal(8, 1));
    EXPECT_EQ(s.AuxSet().ConditionAt(1), Zone(2));
    s.SetType(7); // any nonzero type is a block signal
    EXPECT_TRUE(s.IsBlock());
    EXPECT_EQ(s.GetType(), estBlock);
}

TEST(Signal, NewSignalSVBlock)
{
    TSignal s;
    s.SetSignalNumber(10);
    TExtDevTable t;
    s.GatherDevices(t);
    EXPECT_EQ(t.Find({edtSignal, 0, 0}), 49u); // next signal 0 is gathered as signal 0
    std::vector<uint8_t> svs(512, 0);
    ASSERT_TRUE(s.ToSVs(svs, t));
    EXPECT_EQ(SV(svs, 19), 2);
    EXPECT_EQ(SV(svs, 39), 1);
    for (uint32_t n = 482; n <= 506; ++n) EXPECT_EQ(SV(svs, n), 0) << n;
}

TEST(Signal, NextSignalCodes)
{
    TSignal s;
    s.SetBaseAddress(100);
    TExtDevTable t;
    uint8_t code = 0;
    EXPECT_TRUE(s.NextSignalCode(105, ensNormal, t, code));
    EXPECT_EQ(code, 6);
    EXPECT_TRUE(s.NextSignalCode(100, ensVirtual, t, code));
    EXPECT_EQ(code, 101);
    EXPECT_FALSE(s.NextSignalCode(99, ensNormal, t, code)); // off the board and not gathered

    s.NextSignal = 99;
    s.GatherDevices(t);
    EXPECT_EQ(t.Find({edtSignal, 99, 0}), 49u);
    EXPECT_TRUE(s.NextSignalCode(99, ensNormal, t, code));
    EXPECT_EQ(code, 11);
    EXPECT_TRUE(s.NextSignalCode(99, ensVirtual, t, code));
    EXPECT_EQ(code, 111);
    EXPECT_TRUE(s.NextSignalCode(0, ensNormal, t, code));
    EXPECT_EQ(code, 0);
    EXPECT_TRUE(s.NextSignalCode(0, ensVirtual, t, code));
    EXPECT_EQ(code, 0);
    EXPECT_TRUE(s.NextSignalCode(777, ensAlwaysGreen, t, code));
    EXPECT_EQ(code, 0);
    EXPECT_TRUE(s.NextSignalCode(777, ensAlwaysRed, t, code));
    EXPECT_EQ(code, 255);

    TSignal b1;
    EXPECT_TRUE(b1.NextSignalCode(3, ensVirtual, t, code));
    EXPECT_EQ(code, 103);
}

TEST(Signal, AlwaysRedWithoutANextSignalIsNeverGreen)
{
    TSignal s;
    s.SetSignalNumber(1);
    s.SetNextMode(ensAlwaysRed);
    TExtDevTable t;
    s.GatherDevices(t);
    EXPECT_EQ(t.Find({edtSignal, 0, 0}), 0u); // an always-red next signal is not looked up
    std::vector<uint8_t> svs(512, 0);
    ASSERT_TRUE(s.ToSVs(svs, t));
    EXPECT_EQ(SV(svs, 259), 255);

    TSignal back;
    back.SetSignalNumber(1);
    back.FromSVs(svs, t);
    EXPECT_EQ(back.GetNextMode(), ensAlwaysRed);
    EXPECT_EQ(back.NextSignal, 0u);

    uint32_t number = 9;
    uint8_t mode = 9;
    EXPECT_TRUE(s.DecodeNextSignal(0, t, number, mode));
    EXPECT_EQ(mode, ensAlwaysGreen);
    EXPECT_EQ(number, 0u);
}

TEST(Signal, DecodingNextSignalCodes)
{
    TSignal s;
    s.SetBaseAddress(100);
    TExtDevTable t;
    t.Add({edtSignal, 7, 0});
    uint32_t number = 0;
    uint8_t mode = 0;
    EXPECT_TRUE(s.DecodeNextSignal(6, t, number, mode));
    EXPECT_EQ(number, 105u);
    EXPECT_EQ(mode, ensNormal);
    EXPECT_TRUE(s.DecodeNextSignal(111, t, number, mode));
    EXPECT_EQ(number, 7u);
    EXPECT_EQ(mode, ensVirtual);
    EXPECT_FALSE(s.DecodeNextSignal(12, t, number, mode)); // free entry 50
    EXPECT_FALSE(s.DecodeNextSignal(100, t, number, mode)); // no entry 138
    EXPECT_FALSE(s.DecodeNextSignal(200, t, number, mode));
    EXPECT_EQ(number, 0u);
}

TEST(Signal, ZoneCodes)
{
    const uint8_t codes[7] = {0, 1, 11, 2, 12, 3, 13};
    for (uint8_t z = 0; z < 7; ++z) {
        EXPECT_EQ(TSignal::RevZoneCode(z), codes[z]);
        EXPECT_EQ(TSignal::RevZoneFromCode(codes[z]), z);
    }
    EXPECT_EQ(TSignal::RevZoneFromCode(4), 0);
    EXPECT_EQ(TSignal::RevZoneFromCode(255), 0);
    TSignal s;
    s.SetRevZone(9);
    EXPECT_EQ(s.GetRevZone(), 0);
}

TEST(Signal, DivergingSignalGathersAndWritesItsBlock)
{
    const TSignal s = DivergingSignal();
    TExtDevTable t;
    EXPECT_TRUE(s.GatherDevices(t));
    EXPECT_EQ(t.Find({edtPoint, 20, 0}), 1u);
    EXPECT_EQ(t.Find({edtSignal, 50, 0}), 49u);
    EXPECT_EQ(t.Find({edtSensor, 5, 3}), 2u);
    EXPECT_EQ(t.Find({edtPoint, 21, 0}), 3u);
    EXPECT_EQ(t.Entry(4).DeviceType, edtNone);

    std::vector<uint8_t> svs(512, 0);
    ASSERT_TRUE(s.ToSVs(svs, t));
    EXPECT_EQ(SV(svs, 12), 2);
    EXPECT_EQ(SV(svs, 32), 0);
    EXPECT_EQ(SV(svs, 164), 44);
    EXPECT_EQ(SV(svs, 165), 1);
    const uint8_t expected[25] = {12, 1, 4, 11, 2, 0, 0, 177, 61, 0, 0, 0, 0, 0, 0, 121, 0, 0, 0, 0, 3, 0, 0, 62, 0};
    for (uint32_t i = 0; i < 25; ++i) EXPECT_EQ(SV(svs, 307 + i), expected[i]) << "B+" << i;

    TSignal back;
    back.SetSignalNumber(3);
    ASSERT_TRUE(back.FromSVs(svs, t));
    EXPECT_FALSE(back.IsBlock());
    EXPECT_EQ(back.JunctionPoint, 20u);
    EXPECT_EQ(back.TranspondingZone, 300u);
    EXPECT_EQ(back.GetRevZone(), 4);
    EXPECT_EQ(back.NextSignal, 4u);
    EXPECT_EQ(back.NextSignalThrown, 50u);
    EXPECT_TRUE(back.RedSet().SameConditions(s.RedSet()));
    EXPECT_TRUE(back.RedThrownSet()->SameConditions(*s.RedThrownSet()));
    EXPECT_TRUE(back.AuxSet().SameConditions(s.AuxSet()));
    EXPECT_TRUE(back.IsolationOverrideSet().SameConditions(s.IsolationOverrideSet()));
}

TEST(Signal, MissingDevicesFailTheSignal)
{
    const TSignal s = DivergingSignal();
    std::vector<uint8_t> svs(512, 0);
    TExtDevTable t;
    EXPECT_FALSE(s.ToSVs(svs, t));

    // A block signal neither gathers nor needs its junction point, but shows it when present.
    TSignal block;
    block.JunctionPoint = 33;
    block.NextSignal = 2;
    TExtDevTable bt;
    block.GatherDevices(bt);
    EXPECT_EQ(bt.Find({edtPoint, 33, 0}), 0u);
    EXPECT_TRUE(block.ToSVs(svs, bt));
    EXPECT_EQ(SV(svs, 258), 0);
    bt.Add({edtPoint, 33, 0});
    EXPECT_TRUE(block.ToSVs(svs, bt));
    EXPECT_EQ(SV(svs, 258), 1);
}

TEST(Signal, DescriptionOfADivergingSignal)
{
    const TSignal s = DivergingSignal();
    std::vector<std::string> lines;
    s.AddText(lines);
    const std::vector<std::string> expected = {
        "     Signal: 3",
        "     Diverging junction signal, controlled by point 20",
        "     Signal Name: Junction west",
        "     Description: up main",
        "     Transponding Zone: 300",
        "     Reverse Running Zone B, East to West",
        "     3 aspect, common cathode LEDs;",
        "     Next signal if point is closed: signal number 4, Normal",
        "     Next signal if point is thrown: signal number 50, Normal",
        "     Block occupied conditions when point is closed:",
        "          Sensor 5,3 is Occupied",
        "     Force to Red conditions when point is closed:",
        "          Signal 50 is Red, AND Point 20 is Closed",
        "     Block occupied conditions when point is thrown:",
        "          (No conditions assigned)",
        "     Force to Red conditions when point is thrown:",
        "          Rev Zone A running W-E",
        "     Isolation zone override conditions:",
        "          Point 21 is Thrown",
        "     Auxiliary output conditions:",
        "          Sensor 5,3 is Unoccupied",
        "",
    };
    EXPECT_EQ(lines, expected);
}

TEST(Signal, DescriptionOfABlockSignalAndItsModes)
{
    TSignal s;
    s.SetSignalNumber(1);
    s.HeadType = 13;
    s.SetNextMode(ensVirtual);
    s.NextSignal = 7;
    std::vector<std::string> lines;
    s.AddText(lines);
    ASSERT_EQ(lines.size(), 17u);
    EXPECT_EQ(lines[1], "     Block signal");
    EXPECT_EQ(lines[4], "     No assigned Transponding Zone;");
    EXPECT_EQ(lines[5], "     No Reverse Running Zone assigned");
    EXPECT_EQ(lines[6], "     US 3 aspect, approach lit, common anode LEDs;");
    EXPECT_EQ(lines[7], "     Next signal: signal number 7, Virtual");
    EXPECT_EQ(lines[8], "     Block occupied conditions:");
    EXPECT_EQ(lines[10], "     Force to Red conditions:");
    EXPECT_EQ(lines[16], "");
    s.SetNextMode(ensAlwaysGreen);
    s.HeadType = 14;
    lines.clear();
    s.AddText(lines);
    EXPECT_EQ(lines[6], "     Unknown head type 14;");
    EXPECT_EQ(lines[7], "     Next signal: is always Green");

    TSignal d;
    d.SetType(estDiverging);
    d.SetNextMode(ensAlwaysRed);
    d.SetNextModeThrown(ensAlwaysGreen);
    lines.clear();
    d.AddText(lines);
    EXPECT_EQ(lines[7], "     Next signal if point is closed: is always Red");
    EXPECT_EQ(lines[8], "     Next signal if point is thrown: is always Green");
}

TEST(Signal, BoardFileLines)
{
    TSignal s = DivergingSignal();
    s.SetNextModeThrown(ensVirtual);
    std::ostringstream out;
    s.WriteLines(out);
    const std::string expected =
        ",\"Signal_3\",\"Junction west\",0,2,20,300,4,4,50,0,1\r\n"
        ",,\"up main\"\r\n"
        ",,\"Cond_Block:\",\"3\",\"SE 5:3 OC\",\"Unused\",\"Unused\"\r\n"
        ",,\"Cond_Block:\",\"3\",\"Unused\",\"Unused\",\"Unused\"\r\n"
        ",,\"Cond_redDiverge:\",\"5\",\"SG 50 RD+\",\"PT 20 CL\",\"Unused\",\"Unused\",\"Unused\"\r\n"
        ",,\"Cond_redDiverge:\",\"5\",\"ZN AWE\",\"Unused\",\"Unused\",\"Unused\",\"Unused\"\r\n"
        ",,\"Cond_Aux:\",\"2\",\"SE 5:3 UN\",\"Unused\"\r\n"
        ",,\"Cond_Isol_Override:\",\"3\",\"PT 21 TH\",\"Unused\",\"Unused\"\r\n";
    EXPECT_EQ(out.str(), expected);

    std::istringstream in(expected);
    TSignal back;
    back.SetSignalNumber(3);
    back.ReadLines(in);
    std::ostringstream again;
    back.WriteLines(again);
    EXPECT_EQ(again.str(), expected);
    EXPECT_EQ(back.GetNextModeThrown(), ensVirtual);

    TSignal block;
    std::ostringstream blockOut;
    block.WriteLines(blockOut);
    EXPECT_EQ(blockOut.str(),
              ",\"Signal_1\",\"unnamed\",1,2,0,0,0,0,0,0,0\r\n"
              ",,\"undefined\"\r\n"
              ",,\"Cond_Block:\",\"3\",\"Unused\",\"Unused\",\"Unused\"\r\n"
              ",,\"Cond_Red_Norm:\",\"14\",\"Unused\",\"Unused\",\"Unused\",\"Unused\",\"Unused\",\"Unused\","
              "\"Unused\",\"Unused\",\"Unused\",\"Unused\",\"Unused\",\"Unused\",\"Unused\",\"Unused\"\r\n"
              ",,\"Cond_Aux:\",\"2\",\"Unused\",\"Unused\"\r\n"
              ",,\"Cond_Isol_Override:\",\"3\",\"Unused\",\"Unused\",\"Unused\"\r\n");
}

TEST(Signal, ReadingKeepsTheBoardsNumberAndTamesOddValues)
{
    std::istringstream in(",\"Signal_9\",\"x\",5,2,0,0,17,0,0,9,-1\r\n");
    TSignal s;
    s.SetSignalNumber(2);
    s.ReadLines(in); // the remaining lines are missing: they read as empty lines
    EXPECT_EQ(s.GetSignalNumber(), 2u);
    EXPECT_TRUE(s.IsBlock());
    EXPECT_EQ(s.GetRevZone(), 0);
    EXPECT_EQ(s.GetNextMode(), ensNormal);
    EXPECT_EQ(s.GetNextModeThrown(), ensNormal);
    EXPECT_EQ(s.Description, "");
}

TEST(Signal, NegativeNumbersFromAFileAreSavedAsTheyWereRead)
{
    const std::string first = ",\"Signal_4\",\"neg\",0,2,-3,-70000,1,-1,-2,0,1\r\n";
    std::istringstream in(first);
    TSignal s;
    s.SetSignalNumber(4);
    s.ReadLines(in);
    std::ostringstream out;
    s.WriteLines(out);
    EXPECT_EQ(out.str().substr(0, first.size()), first);
}

#include "boards/qxp6/QXP6Board.h"
#include "support/BoardText.h"

#include <gtest/gtest.h>
#include <sstream>

namespace {

TQXP6Board RichBoard()
{
    TQXP6Board b;
    b.Name = "Goods yard";
    b.SerialNumber = 65536;
    b.SetBaseAddress(2041);
    b.Notes = "west end, fiddle yard";
    b.Use16Addresses = true;
    b.LocoNetCommands = true;
    b.CduDelay = 32;
    b.StateMemoryLocation = 40;
    b.SensorBoardNumber = 256;
    b.RouteBaseAddress = 2048;
    TQXP6Cell& c = *b.GetOutputCell(2);
    c.OutputType = 7;
    c.TimeSetting = 8;
    c.InvertOutputs = true;
    c.SimulateBrightness = true;
    c.FollowCell = 8;
    c.MessageType = 5;
    c.ConditionTime = 255;
    c.ChangeDelay = 255;
    c.Description = "signal lamps";
    c.ClosedConditions.ConditionAt(0).SetSensor(256, 10, 1, true);
    c.ClosedConditions.ConditionAt(1).SetSignal(2048, 0, false);
    c.FreezeConditions.ConditionAt(1).SetPoint(1, 1, false);
    b.GetInputCell(9)->InputType = 0;
    b.GetInputCell(9)->MessageType = 4;
    b.GetInputCell(9)->Description = "spare";
    TQXP6Route& r = *b.GetRoute(7);
    for (int i = 0; i < 12; ++i) r.SetEntry(i, static_cast<uint32_t>(2041 + i), i % 2 ? eQXP6Thrown : eQXP6Closed);
    r.TriggerConditions.ConditionAt(4).SetPoint(3, 0, true);
    return b;
}

} // namespace

TEST(QXP6Record, RichBoardLines)
{
    TQXP6Board b = RichBoard();
    const auto lines = CrlfLines(SaveToText(b));
    ASSERT_EQ(lines.size(), 68u);
    EXPECT_EQ(lines[0], "\"QXP6_BOARD\",\"Goods yard\",65536,2041,1,1,32,40,256,2048");
    EXPECT_EQ(lines[1], ",\"west end, fiddle yard\"");
    EXPECT_EQ(lines[12], ",\"OPCell_\",3,2041,7,8,1,1,8,5,255,255");
    EXPECT_EQ(lines[13], ",,\"signal lamps\"");
    EXPECT_EQ(lines[14], ",,\"Cond_Cell_C\",\"7\",\"SE 256:10 UN+\",\"SG 2048 RD\",\"Unused\",\"Unused\","
                         "\"Unused\",\"Unused\",\"Unused\"");
    EXPECT_EQ(lines[16], ",,\"Cond_Cell_F\",\"2\",\"Unused\",\"PT 1 CL\"");
    EXPECT_EQ(lines[51], ",\"INCell_\",10,0,4,\"spare\"");
    EXPECT_EQ(lines[66], ",\"route_config\",8,12,2041,\"2041 Closed\",\"2042 Thrown\",\"2043 Closed\","
                         "\"2044 Thrown\",\"2045 Closed\",\"2046 Thrown\",\"2047 Closed\",\"2048 Thrown\","
                         "\"2049 Closed\",\"2050 Thrown\",\"2051 Closed\",\"2052 Thrown\"");
    EXPECT_EQ(lines[67], ",,\"Cond_Route\",\"5\",\"Unused\",\"Unused\",\"Unused\",\"Unused\",\"PT 3 TH+\"");
}

TEST(QXP6Record, SaveLoadRoundTripIsByteForByte)
{
    for (TQXP6Board original : {TQXP6Board(), RichBoard()}) {
        const std::string first = SaveToText(original);
        std::istringstream in(first);
        TQXP6Board loaded;
        loaded.LoadFromStream(in);
        EXPECT_EQ(SaveToText(loaded), first);
        EXPECT_EQ(in.peek(), std::char_traits<char>::eof());

        ASSERT_EQ(loaded.CalculateSVs(), original.CalculateSVs());
        EXPECT_EQ(loaded.GetSVTable(), original.GetSVTable());
        std::vector<std::string> a;
        std::vector<std::string> b;
        loaded.DisplayBoard(a);
        original.DisplayBoard(b);
        EXPECT_EQ(a, b);
    }
}

TEST(QXP6Record, TwoRecordsFollowEachOther)
{
    TQXP6Board first = RichBoard();
    TQXP6Board second;
    second.Name = "second";
    const std::string text = SaveToText(first) + SaveToText(second);
    std::istringstream in(text);
    TQXP6Board a;
    TQXP6Board b;
    a.LoadFromStream(in);
    b.LoadFromStream(in);
    EXPECT_EQ(a.Name, "Goods yard");
    EXPECT_EQ(b.Name, "second");
    EXPECT_EQ(SaveToText(a) + SaveToText(b), text);
}

TEST(QXP6Record, LoadKeepsBaseAddressCopiesEqual)
{
    TQXP6Board b;
    b.SetBaseAddress(300);
    std::string text = SaveToText(b);
    // Copies in the cell and route lines that disagree with the board line are overruled.
    const std::string cellLine = ",\"OPCell_\",1,300,";
    text.replace(text.find(cellLine), cellLine.size(), ",\"OPCell_\",1,999,");
    const std::string routeLine = ",\"route_config\",1,0,300,";
    text.replace(text.find(routeLine), routeLine.size(), ",\"route_config\",1,0,5,");
    std::istringstream in(text);
    TQXP6Board loaded;
    loaded.LoadFromStream(in);
    EXPECT_EQ(loaded.GetBaseAddress(), 300u);
    EXPECT_EQ(loaded.GetOutputCell(0)->BaseAddress, 300u);
    EXPECT_EQ(loaded.GetRoute(0)->BaseAddress, 300u);
    EXPECT_EQ(loaded.GetDeviceTable().BaseAddress, 300u);
}

TEST(QXP6Record, RouteEntryParsing)
{
    TQXP6Board b;
    std::string text = SaveToText(b);
    const std::string routeLine = ",\"route_config\",1,0,1,\"0\",\"0\",\"0\",\"0\",\"0\"";
    const size_t at = text.find(routeLine);
    ASSERT_NE(at, std::string::npos);
    // Count 5: an entry without state, one with address 0, one whose address is no number (it
    // reads as 1 and makes the load fail), the UNDEF state, and a text that holds a state word
    // anywhere.
    text.replace(at, routeLine.size(),
                 ",\"route_config\",1,5,1,\"12\",\"0 Thrown\",\"x Closed\",\"7 UNDEF\",\"9 xThrownx\"");
    std::istringstream in(text);
    TQXP6Board loaded;
    loaded.LoadFromStream(in);
    const TQXP6Route& r = *loaded.GetRoute(0);
    ASSERT_EQ(r.EntryCount, 5u);
    EXPECT_EQ(r.GetEntryAddress(0), 12u);
    EXPECT_EQ(r.GetEntryState(0), eQXP6Undef);
    EXPECT_EQ(r.GetEntryAddress(1), 0u);
    EXPECT_EQ(r.GetEntryState(1), eQXP6Undef);
    EXPECT_EQ(r.GetEntryAddress(2), 1u);
    EXPECT_EQ(r.GetEntryState(2), eQXP6Closed);
    EXPECT_EQ(loaded.GetLoadErrorText(), "Route 1, entry 3: the point address in 'x Closed' is not a whole number");
    EXPECT_EQ(r.GetEntryAddress(3), 7u);
    EXPECT_EQ(r.GetEntryState(3), eQXP6Undef);
    EXPECT_EQ(r.GetEntryAddress(4), 9u);
    EXPECT_EQ(r.GetEntryState(4), eQXP6Thrown);
    // A count beyond twelve reads twelve entries.
    TQXP6Route big;
    std::istringstream bigLine(",\"route_config\",4,99,1,\"5 Closed\"\r\n");
    big.LoadFromStream(bigLine);
    EXPECT_EQ(big.EntryCount, 12u);
    EXPECT_EQ(big.RouteNumber, 4u);
    EXPECT_EQ(big.GetEntryState(0), eQXP6Closed);
    EXPECT_EQ(big.GetEntryAddress(1), 1u); // a missing field is no whole number either
    EXPECT_NE(big.LoadErrorText.find("entry 2"), std::string::npos);
}

TEST(QXP6Record, CutOffRecordReadsEmptyFields)
{
    TQXP6Board b = RichBoard();
    const std::string full = SaveToText(b);
    std::istringstream in(full.substr(0, full.size() / 3));
    TQXP6Board loaded;
    loaded.LoadFromStream(in);
    EXPECT_EQ(loaded.Name, "Goods yard");
    EXPECT_EQ(loaded.GetRoute(7)->EntryCount, 0u);
    EXPECT_EQ(loaded.GetInputCell(9)->Description, "");
    EXPECT_EQ(loaded.GetInputCell(9)->InputType, 0);
    // Still described whole: the cells read before the cut, the empty ones after it, every section.
    const std::vector<std::string> lines = DescriptionLines(loaded);
    ASSERT_EQ(lines.size(), 159u);
    EXPECT_EQ(lines[40], "     Description: signal lamps"); // cell 3
    EXPECT_EQ(lines[81], "     Cell not used"); // cell 6
    EXPECT_EQ(lines[117], "Input Cell Settings:");
    EXPECT_EQ(lines[149], "Route Settings:");
}

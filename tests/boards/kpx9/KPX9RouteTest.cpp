#include "boards/kpx9/KPX9Board.h"
#include "support/BoardText.h"

#include <gtest/gtest.h>

#include <array>
#include <sstream>

namespace {

using Block = std::array<uint8_t, 12>;

// Point cells 1 (address 12), 2 (address 14) and 5 (address 12 again).
TKPX9Cells PointCells()
{
    TKPX9Cells cells;
    for (uint32_t i = 0; i < kKPX9CellCount; ++i) cells[i] = TKPX9Cell(i + 1);
    cells[0].CellType = eKPX9Point;
    cells[0].Address = 12;
    cells[1].CellType = eKPX9Point;
    cells[1].Address = 14;
    cells[4].CellType = eKPX9Point;
    cells[4].Address = 12;
    cells[6].CellType = eKPX9Sensor;
    cells[6].Address = 16;
    return cells;
}

void Add(TKPX9Route& route, uint32_t address, uint8_t state)
{
    ASSERT_LT(route.EntryCount, kKPX9RouteEntries);
    route.EntryAddress[route.EntryCount] = address;
    route.EntryState[route.EntryCount] = state;
    ++route.EntryCount;
}

Block Pack(const TKPX9Route& route, const TKPX9Cells& cells, bool* fits = nullptr)
{
    Block block;
    block.fill(0xEE);
    const bool ok = route.EncodeSVs(block.data(), cells);
    if (fits) *fits = ok;
    return block;
}

} // namespace

TEST(KPX9Route, FindPointCellTakesTheFirstPointCell)
{
    const TKPX9Cells cells = PointCells();
    EXPECT_EQ(FindPointCell(12, cells), 1u);
    EXPECT_EQ(FindPointCell(14, cells), 2u);
    EXPECT_EQ(FindPointCell(16, cells), 0u); // a sensor cell is no point cell
    EXPECT_EQ(FindPointCell(99, cells), 0u);
}

TEST(KPX9Route, PacksCellReferencesTwoBytePointsAndCascade)
{
    const TKPX9Cells cells = PointCells();
    TKPX9Route route(1);
    Add(route, 12, eKPX9Closed);
    Add(route, 14, eKPX9Thrown);
    Add(route, 300, eKPX9Closed);
    Add(route, 2000, eKPX9Thrown);
    route.Cascade = true;
    route.CascadeRoute = 5;
    bool fits = false;
    EXPECT_EQ(Pack(route, cells, &fits), (Block{1, 32, 101, 44, 207, 208, 65, 0, 0, 0, 0, 0}));
    EXPECT_TRUE(fits);

    route.ToFrom = true;
    route.FromButton = 3;
    route.ToButton = 4;
    EXPECT_EQ(Pack(route, cells, &fits), (Block{3, 4, 1, 32, 101, 44, 207, 208, 65, 0, 0, 0}));
    EXPECT_TRUE(fits);
}

TEST(KPX9Route, EmptyRouteWithCascadePacksOnlyTheCascade)
{
    const TKPX9Cells cells = PointCells();
    TKPX9Route route(2);
    EXPECT_EQ(Pack(route, cells), Block{});
    route.Cascade = true;
    route.CascadeRoute = 24;
    EXPECT_EQ(Pack(route, cells), (Block{84, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
    route.ToFrom = true;
    route.FromButton = 1;
    route.ToButton = 2;
    EXPECT_EQ(Pack(route, cells), (Block{1, 2, 84, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
}

TEST(KPX9Route, TwelveSingleByteEntriesFitExactly)
{
    TKPX9Cells cells = PointCells();
    for (uint32_t i = 0; i < 12; ++i) {
        cells[10 + i].CellType = eKPX9Point;
        cells[10 + i].Address = 100 + i;
    }
    TKPX9Route route(1);
    for (uint32_t i = 0; i < 12; ++i) Add(route, 100 + i, eKPX9Closed);
    bool fits = false;
    EXPECT_EQ(Pack(route, cells, &fits), (Block{11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22}));
    EXPECT_TRUE(fits);
    EXPECT_EQ(route.Capacity(), 12u);
    EXPECT_TRUE(route.Fits(cells));

    // A cascade needs a thirteenth byte: it is not written and the route fails.
    route.Cascade = true;
    EXPECT_EQ(Pack(route, cells, &fits), (Block{11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22}));
    EXPECT_FALSE(fits);
    EXPECT_EQ(route.Capacity(), 11u);
    EXPECT_FALSE(route.Fits(cells));

    // With to/from numbering at most ten single-byte entries fit.
    route.Cascade = false;
    route.ToFrom = true;
    EXPECT_EQ(route.Capacity(), 10u);
    EXPECT_FALSE(route.Fits(cells));
    Pack(route, cells, &fits);
    EXPECT_FALSE(fits);
    route.EntryCount = 10;
    EXPECT_TRUE(route.Fits(cells));
    Pack(route, cells, &fits);
    EXPECT_TRUE(fits);
    route.Cascade = true;
    EXPECT_EQ(route.Capacity(), 9u);
    EXPECT_FALSE(route.Fits(cells));
}

TEST(KPX9Route, OverflowingTwoByteEntryStopsInsideTheBlock)
{
    TKPX9Cells cells = PointCells();
    for (uint32_t i = 0; i < 11; ++i) {
        cells[10 + i].CellType = eKPX9Point;
        cells[10 + i].Address = 100 + i;
    }
    TKPX9Route route(1);
    for (uint32_t i = 0; i < 11; ++i) Add(route, 100 + i, eKPX9Thrown);
    Add(route, 1500, eKPX9Closed); // 0x5DC: 105, 220
    bool fits = true;
    EXPECT_EQ(Pack(route, cells, &fits), (Block{41, 42, 43, 44, 45, 46, 47, 48, 49, 50, 51, 105}));
    EXPECT_FALSE(fits);
}

TEST(KPX9Route, FitsCountsByCellsAndSkipsUndefinedEntries)
{
    TKPX9Cells cells = PointCells();
    TKPX9Route route(1);
    for (uint32_t i = 0; i < 6; ++i) Add(route, 12, eKPX9Closed);
    Add(route, 500, eKPX9Undef);
    Add(route, 501, eKPX9Thrown);
    Add(route, 502, eKPX9Thrown);
    Add(route, 503, eKPX9Undef);
    // 6 single bytes + 2 two-byte points = 10; the UNDEF entries count nothing.
    EXPECT_TRUE(route.Fits(cells));
    route.ToFrom = true;
    EXPECT_TRUE(route.Fits(cells));
    route.Cascade = true;
    EXPECT_FALSE(route.Fits(cells));
    route.Cascade = false;

    // Moving the point cell away makes its six entries cost two bytes each.
    cells[0].Address = 13;
    EXPECT_TRUE(route.Fits(cells)); // cell 5 still shows point 12
    cells[4].Address = 13;
    EXPECT_FALSE(route.Fits(cells));
}

TEST(KPX9Route, DecodeAllZeroGivesEmptyRoute)
{
    const TKPX9Cells cells = PointCells();
    TKPX9Route route(1);
    Add(route, 5, eKPX9Closed);
    route.Cascade = true;
    route.CascadeRoute = 9;
    const Block zero{};
    EXPECT_TRUE(route.DecodeSVs(zero.data(), cells));
    EXPECT_EQ(route.EntryCount, 0u);
    EXPECT_FALSE(route.Cascade);
    EXPECT_EQ(route.CascadeRoute, 1u);
}

TEST(KPX9Route, DecodeEntryKinds)
{
    const TKPX9Cells cells = PointCells();
    TKPX9Route route(1);
    const Block block{1, 32, 101, 44, 207, 208, 65, 2, 0, 99, 99, 99};
    EXPECT_TRUE(route.DecodeSVs(block.data(), cells));
    ASSERT_EQ(route.EntryCount, 5u);
    EXPECT_EQ(route.GetEntryAddress(0), 12u);
    EXPECT_EQ(route.GetEntryState(0), eKPX9Closed);
    EXPECT_EQ(route.GetEntryAddress(1), 14u);
    EXPECT_EQ(route.GetEntryState(1), eKPX9Thrown);
    EXPECT_EQ(route.GetEntryAddress(2), 300u);
    EXPECT_EQ(route.GetEntryState(2), eKPX9Closed);
    EXPECT_EQ(route.GetEntryAddress(3), 2000u);
    EXPECT_EQ(route.GetEntryState(3), eKPX9Thrown);
    EXPECT_EQ(route.GetEntryAddress(4), 14u); // entries may follow the cascade byte
    EXPECT_TRUE(route.Cascade);
    EXPECT_EQ(route.CascadeRoute, 5u);
    // Beyond the entries in use: address 1, state UNDEF.
    EXPECT_EQ(route.GetEntryAddress(5), 1u);
    EXPECT_EQ(route.GetEntryState(5), eKPX9Undef);
}

TEST(KPX9Route, DecodeWithToFromNumbering)
{
    const TKPX9Cells cells = PointCells();
    TKPX9Route route(1);
    route.ToFrom = true;
    // The first two bytes are buttons even when they look like entries; ten bytes remain.
    const Block block{7, 0, 1, 1, 1, 1, 1, 1, 1, 1, 1, 2};
    EXPECT_TRUE(route.DecodeSVs(block.data(), cells));
    EXPECT_EQ(route.FromButton, 7u);
    EXPECT_EQ(route.ToButton, 0u);
    ASSERT_EQ(route.EntryCount, 10u);
    EXPECT_EQ(route.GetEntryAddress(9), 14u);
}

TEST(KPX9Route, DecodeBadBytesGiveAddressOne)
{
    const TKPX9Cells cells = PointCells();
    TKPX9Route route(1);
    // Cell 7 is a sensor cell; 85 names nothing; 108/255 is above 2048; 230 is cut off.
    const Block block{7, 85, 108, 255, 12, 12, 12, 12, 12, 12, 12, 230};
    EXPECT_FALSE(route.DecodeSVs(block.data(), cells));
    // Cell 12 is undefined, so each 12 is a bad reference too.
    ASSERT_EQ(route.EntryCount, 11u);
    for (uint32_t i = 0; i < 11; ++i) EXPECT_EQ(route.GetEntryAddress(i), 1u) << i;
    EXPECT_EQ(route.GetEntryState(0), eKPX9Closed);
    EXPECT_EQ(route.GetEntryState(3), eKPX9Closed);
    EXPECT_EQ(route.GetEntryState(10), eKPX9Thrown);
}

TEST(KPX9Route, PackThenDecodeRoundTrip)
{
    const TKPX9Cells cells = PointCells();
    TKPX9Route route(1);
    route.ToFrom = true;
    route.FromButton = 9;
    route.ToButton = 24;
    Add(route, 14, eKPX9Thrown);
    Add(route, 2048, eKPX9Closed);
    Add(route, 1, eKPX9Thrown);
    Add(route, 12, eKPX9Thrown);
    route.Cascade = true;
    route.CascadeRoute = 17;
    Block block{};
    ASSERT_TRUE(route.EncodeSVs(block.data(), cells));

    TKPX9Route back(1);
    back.ToFrom = true;
    EXPECT_TRUE(back.DecodeSVs(block.data(), cells));
    EXPECT_EQ(back.FromButton, 9u);
    EXPECT_EQ(back.ToButton, 24u);
    ASSERT_EQ(back.EntryCount, 4u);
    for (uint32_t i = 0; i < 4; ++i) {
        EXPECT_EQ(back.GetEntryAddress(i), route.GetEntryAddress(i));
        EXPECT_EQ(back.GetEntryState(i), route.GetEntryState(i));
    }
    EXPECT_TRUE(back.Cascade);
    EXPECT_EQ(back.CascadeRoute, 17u);
}

TEST(KPX9Route, SetEntryAppendsReplacesAndRemoves)
{
    TKPX9Route route(1);
    EXPECT_FALSE(route.SetEntry(5, 12, eKPX9Closed)); // past the end: appended at 0
    EXPECT_EQ(route.EntryCount, 1u);
    EXPECT_EQ(route.GetEntryAddress(0), 12u);
    EXPECT_FALSE(route.SetEntry(1, 13, eKPX9Thrown));
    EXPECT_FALSE(route.SetEntry(2, 14, eKPX9Closed));
    EXPECT_FALSE(route.SetEntry(1, 20, eKPX9Closed)); // replaced in place
    EXPECT_EQ(route.GetEntryAddress(1), 20u);
    EXPECT_EQ(route.EntryCount, 3u);

    // UNDEF on the last entry shrinks the route.
    EXPECT_FALSE(route.SetEntry(2, 14, eKPX9Undef));
    EXPECT_EQ(route.EntryCount, 2u);
    // UNDEF in the middle removes that entry and moves the rest down.
    route.SetEntry(2, 30, eKPX9Thrown);
    EXPECT_TRUE(route.SetEntry(0, 12, eKPX9Undef));
    ASSERT_EQ(route.EntryCount, 2u);
    EXPECT_EQ(route.GetEntryAddress(0), 20u);
    EXPECT_EQ(route.GetEntryAddress(1), 30u);
    EXPECT_EQ(route.GetEntryState(1), eKPX9Thrown);

    // UNDEF beyond the entries changes nothing visible; index 12 is refused.
    EXPECT_FALSE(route.SetEntry(7, 99, eKPX9Undef));
    EXPECT_EQ(route.EntryCount, 2u);
    EXPECT_FALSE(route.SetEntry(12, 99, eKPX9Closed));
    EXPECT_EQ(route.EntryCount, 2u);
}

TEST(KPX9Route, RemoveUndefinedEntriesHandlesNeighbours)
{
    TKPX9Route route(1);
    Add(route, 1, eKPX9Undef);
    Add(route, 2, eKPX9Undef);
    Add(route, 3, eKPX9Closed);
    Add(route, 4, eKPX9Undef);
    Add(route, 5, eKPX9Thrown);
    EXPECT_TRUE(route.RemoveUndefinedEntries());
    ASSERT_EQ(route.EntryCount, 2u);
    EXPECT_EQ(route.GetEntryAddress(0), 3u);
    EXPECT_EQ(route.GetEntryAddress(1), 5u);
    EXPECT_FALSE(route.RemoveUndefinedEntries());
}

TEST(KPX9Route, ListLine)
{
    TKPX9Cells cells = PointCells();
    TKPX9Route route(3);
    EXPECT_EQ(route.GetListLine(cells), "Route 3:not defined.");
    route.Cascade = true;
    route.CascadeRoute = 4;
    EXPECT_EQ(route.GetListLine(cells), "Route 3:not defined.");
    Add(route, 12, eKPX9Closed);
    Add(route, 300, eKPX9Thrown);
    Add(route, 7, eKPX9Undef);
    EXPECT_EQ(route.GetListLine(cells), "Route 3:Points 12C; 300T; 7U; ; then cascade route 4");
    route.Cascade = false;
    EXPECT_EQ(route.GetListLine(cells), "Route 3:Points 12C; 300T; 7U; ");
    for (uint32_t i = 0; i < 5; ++i) Add(route, 400 + i, eKPX9Closed);
    // 1 + 2 + 0 + 5 * 2 = 13 bytes
    EXPECT_EQ(route.GetListLine(cells),
              "Route 3:Points 12C; 300T; 7U; 400C; 401C; 402C; 403C; 404C; !TOO MANY ENTRIES");
}

TEST(KPX9Route, EditorLines)
{
    TKPX9Cells cells = PointCells();
    TKPX9Route route(1);
    Add(route, 12, eKPX9Closed);
    Add(route, 300, eKPX9Thrown);
    Add(route, 14, eKPX9Undef);
    EXPECT_EQ(route.GetEditorLine(1, cells), "Point 12 Closed (Cell 1)");
    EXPECT_EQ(route.GetEditorLine(2, cells), "Point 300 Thrown  (no cell)");
    EXPECT_EQ(route.GetEditorLine(3, cells), "Point 14 UNDEF");
    EXPECT_EQ(route.GetEditorLine(4, cells), "not defined.");
    EXPECT_EQ(route.GetEditorLine(12, cells), "not defined.");
}

TEST(KPX9Route, DescriptionLines)
{
    TKPX9Route route(5);
    std::vector<std::string> lines;
    route.GetDescriptionLines(lines);
    EXPECT_EQ(lines, std::vector<std::string>{"  Route 5:not defined."});

    Add(route, 12, eKPX9Closed);
    Add(route, 300, eKPX9Thrown);
    route.Cascade = true;
    route.CascadeRoute = 2;
    lines.clear();
    route.GetDescriptionLines(lines);
    const std::vector<std::string> expected = {
        "  Route 5:",
        "      Point 12 Closed; ",
        "      Point 300 Thrown; ",
        "      then invoke route 2",
    };
    EXPECT_EQ(lines, expected);
}

TEST(KPX9Route, RecordLine)
{
    TKPX9Route route(3);
    EXPECT_EQ(SaveToText(route),
              ",\"route_config\",3,1,1,0,\"0\",\"0\",\"0\",\"0\",\"0\",\"0\",\"0\",\"0\",\"0\",\"0\",\"0\",0\r\n");
    route.FromButton = 4;
    route.ToButton = 6;
    Add(route, 12, eKPX9Closed);
    Add(route, 300, eKPX9Thrown);
    route.Cascade = true;
    route.CascadeRoute = 9;
    EXPECT_EQ(SaveToText(route), ",\"route_config\",3,4,6,2,\"12 Closed\",\"300 Thrown\",\"0\",\"0\",\"0\",\"0\",\"0\","
                                 "\"0\",\"0\",\"0\",\"0\",9\r\n");
}

TEST(KPX9Route, LoadReadsEntriesAndCascade)
{
    std::istringstream in(
        ",\"route_config\",3,4,6,4,\"12 Closed\",\"300 Thrown\",\"0\",\"15 Thrown Closed\","
        "\"0\",\"0\",\"0\",\"0\",\"0\",\"0\",\"0\",9\r\n"
        ",\"route_config\",4,1,1,1,\"7\",\"0\",\"0\",\"0\",\"0\",\"0\",\"0\",\"0\",\"0\",\"0\",\"0\",0\r\n"
        ",\"route_config\",5,1,1,0\r\n");
    TKPX9Route route(1);
    EXPECT_TRUE(route.LoadFromStream(in));
    EXPECT_EQ(route.RouteNumber, 1u); // kept from the board, unlike a cell's number
    EXPECT_EQ(route.FromButton, 4u);
    EXPECT_EQ(route.ToButton, 6u);
    ASSERT_EQ(route.EntryCount, 4u);
    EXPECT_EQ(route.GetEntryAddress(1), 300u);
    EXPECT_EQ(route.GetEntryState(1), eKPX9Thrown);
    EXPECT_EQ(route.GetEntryAddress(2), 0u); // "0" reads as address 0, UNDEF
    EXPECT_EQ(route.GetEntryState(2), eKPX9Undef);
    EXPECT_EQ(route.GetEntryState(3), eKPX9Closed); // first of UNDEF, Closed, Thrown found
    EXPECT_TRUE(route.Cascade);
    EXPECT_EQ(route.CascadeRoute, 9u);

    EXPECT_TRUE(route.LoadFromStream(in));
    EXPECT_EQ(route.GetEntryAddress(0), 7u);
    EXPECT_EQ(route.GetEntryState(0), eKPX9Undef); // no state name
    EXPECT_FALSE(route.Cascade);
    EXPECT_EQ(route.CascadeRoute, 0u); // a 0 cascade field is kept as the number

    EXPECT_TRUE(route.LoadFromStream(in));
    EXPECT_EQ(route.EntryCount, 0u);
    EXPECT_FALSE(route.Cascade);
    EXPECT_EQ(route.CascadeRoute, 1u); // no cascade field at all
}

TEST(KPX9Route, LoadRejectsAddressThatIsNoNumber)
{
    std::istringstream in(",\"route_config\",2,1,1,2,\"12 Closed\",\"1x2 Thrown\",\"0\",\"0\",\"0\",\"0\",\"0\","
                          "\"0\",\"0\",\"0\",\"0\",0\r\nnext");
    TKPX9Route route(1);
    EXPECT_FALSE(route.LoadFromStream(in));
    EXPECT_NE(route.LoadErrorText.find("1x2 Thrown"), std::string::npos);
    EXPECT_EQ(route.EntryCount, 2u);
    EXPECT_EQ(route.GetEntryAddress(1), 1u);
    EXPECT_EQ(in.get(), 'n'); // the line was consumed whole
}

TEST(KPX9Route, TwelveEntryRouteRoundTrips)
{
    TKPX9Route route(8);
    for (uint32_t i = 0; i < 12; ++i) Add(route, 100 + i, i % 2 ? eKPX9Thrown : eKPX9Closed);
    route.Cascade = true;
    route.CascadeRoute = 3;
    const std::string line = SaveToText(route);
    EXPECT_EQ(line, ",\"route_config\",8,1,1,12,\"100 Closed\",\"101 Thrown\",\"102 Closed\",\"103 Thrown\","
                    "\"104 Closed\",\"105 Thrown\",\"106 Closed\",\"107 Thrown\",\"108 Closed\",\"109 Thrown\","
                    "\"110 Closed\",3,\"111 Thrown\"\r\n");
    std::istringstream in(line);
    TKPX9Route back(8);
    EXPECT_TRUE(back.LoadFromStream(in));
    ASSERT_EQ(back.EntryCount, 12u);
    EXPECT_EQ(back.GetEntryAddress(11), 111u);
    EXPECT_EQ(back.GetEntryState(11), eKPX9Thrown);
    EXPECT_TRUE(back.Cascade);
    EXPECT_EQ(back.CascadeRoute, 3u);
    EXPECT_EQ(SaveToText(back), line);
}

TEST(KPX9Route, TwelveEntryLineWithoutExtraFieldTakesFieldSeventeen)
{
    std::istringstream in(",\"route_config\",8,1,1,12,\"1 Closed\",\"2 Closed\",\"3 Closed\",\"4 Closed\","
                          "\"5 Closed\",\"6 Closed\",\"7 Closed\",\"8 Closed\",\"9 Closed\",\"10 Closed\","
                          "\"11 Closed\",\"12 Thrown\"\r\n");
    TKPX9Route route(1);
    EXPECT_TRUE(route.LoadFromStream(in));
    ASSERT_EQ(route.EntryCount, 12u);
    EXPECT_EQ(route.GetEntryAddress(11), 12u);
    EXPECT_EQ(route.GetEntryState(11), eKPX9Thrown);
    EXPECT_TRUE(route.Cascade);
    EXPECT_EQ(route.CascadeRoute, 12u);
}

TEST(KPX9Route, CopyAndAssignKeepAllEntries)
{
    TKPX9Route route(4);
    for (uint32_t i = 0; i < 12; ++i) Add(route, 50 + i, eKPX9Thrown);
    route.Cascade = true;
    route.ToFrom = true;
    TKPX9Route copy(route);
    copy.EntryAddress[11] = 999;
    EXPECT_EQ(route.EntryAddress[11], 61u);
    TKPX9Route other(1);
    other = route;
    EXPECT_EQ(other.EntryCount, 12u);
    EXPECT_EQ(other.EntryAddress[11], 61u);
    EXPECT_EQ(other.RouteNumber, 4u);
    EXPECT_TRUE(other.ToFrom);
    EXPECT_TRUE(other.Cascade);
}

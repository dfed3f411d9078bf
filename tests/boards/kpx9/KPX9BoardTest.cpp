#include "boards/kpx9/KPX9Board.h"
#include "support/BoardText.h"

#include <gtest/gtest.h>

#include <random>
#include <sstream>

namespace {

void AddEntry(TKPX9Route& route, uint32_t address, uint8_t state)
{
    ASSERT_LT(route.EntryCount, kKPX9RouteEntries);
    route.EntryAddress[route.EntryCount] = address;
    route.EntryState[route.EntryCount] = state;
    ++route.EntryCount;
}

// The boards of the example file: every cell type and a few routes.
std::vector<TKPX9Board> ExampleBoards()
{
    std::vector<TKPX9Board> boards(2);
    TKPX9Board& a = boards[0];
    a.Name = "Station throat panel";
    a.SerialNumber = 2101;
    a.Notes = "Down side of the station; levers 1-12";
    a.PointDelay = 5;
    a.SensorBoardNumber = 12;
    a.SensorsUsed = 2;
    auto& c = a.Cells;
    c[0].Description = "Platform 1 points";
    c[0].CellType = eKPX9Point;
    c[0].Address = 101;
    c[0].ButtonAEffect = 1;
    c[0].ButtonBEffect = 19;
    c[0].ButtonBRoute = 1;
    c[0].Initialise = 1;
    c[1].Description = "Crossover, west";
    c[1].CellType = eKPX9Point;
    c[1].Address = 102;
    c[1].TurnoutFeedback = true;
    c[1].Token = 2;
    c[1].CascadeCell = 1;
    c[1].CascadeMode = 2;
    c[1].ButtonAEffect = 2;
    c[1].ButtonBEffect = 3;
    c[2].Description = "Platform 1 occupied";
    c[2].CellType = eKPX9Sensor;
    c[2].Address = 12;
    c[2].SensorNumber = 5;
    c[2].SensorFlash = true;
    c[2].ButtonAEffect = 4;
    c[3].Description = "Down starter";
    c[3].CellType = eKPX9ORB8Signal;
    c[3].Address = 301;
    c[3].Aspect = 4;
    c[3].TurnoutFeedback = true;
    c[3].ButtonAEffect = 7;
    c[3].ButtonBEffect = 8;
    c[4].Description = "Branch zone";
    c[4].CellType = eKPX9ORB8Zone;
    c[4].Address = 310;
    c[4].ZoneFlash = true;
    c[4].ButtonAEffect = 9;
    c[4].ButtonBEffect = 10;
    c[5].Description = "Goods loop exit";
    c[5].CellType = eKPX9SE8cRG;
    c[5].Address = 401;
    c[5].Aspect = 1;
    c[5].ButtonAEffect = 11;
    c[6].Description = "Up home";
    c[6].CellType = eKPX9SE8cRGA;
    c[6].Address = 403;
    c[6].Aspect = 0;
    c[6].ButtonAEffect = 11;
    c[7].Description = "Box interlock";
    c[7].CellType = eKPX9Interlock;
    c[7].Address = 1500;
    c[7].InterlockNumber = 2;
    c[7].ButtonAEffect = 6;
    c[8].Description = "Repeat of crossover";
    c[8].CellType = eKPX9Copy;
    c[8].Address = 2;
    c[8].CascadeCell = 1;
    c[8].CascadeMode = 2;
    c[9].Description = "Mode";
    c[9].CellType = eKPX9BoardMode;
    c[9].Address = 1025;
    c[9].ButtonAEffect = 13;
    c[9].ButtonBEffect = 14;
    c[10].Description = "Yard lights";
    c[10].CellType = eKPX9PM42Relay;
    c[10].Address = 3;
    c[10].RelayNumber = 2;
    c[10].ButtonAEffect = 15;
    c[10].ButtonBEffect = 16;
    c[11].Description = "Emergency";
    c[11].ButtonAEffect = 17;
    c[11].ButtonBEffect = 18;
    AddEntry(a.Routes[0], 101, eKPX9Closed);
    AddEntry(a.Routes[0], 102, eKPX9Thrown);
    AddEntry(a.Routes[0], 640, eKPX9Closed);
    a.Routes[0].Cascade = true;
    a.Routes[0].CascadeRoute = 2;
    AddEntry(a.Routes[1], 701, eKPX9Thrown);
    AddEntry(a.Routes[1], 702, eKPX9Thrown);
    for (uint32_t i = 0; i < 12; ++i) AddEntry(a.Routes[5], 101, i % 2 ? eKPX9Thrown : eKPX9Closed);

    TKPX9Board& b = boards[1];
    b.Name = "Fiddle yard panel";
    b.SerialNumber = 2102;
    b.SetToFromRoutes(true);
    b.PowerUpMode = 1;
    b.RouteDccAddress = 0;
    b.SensorsUsed = 0;
    b.Cells[0].Description = "Road 1";
    b.Cells[0].CellType = eKPX9Point;
    b.Cells[0].Address = 201;
    b.Cells[0].ButtonAEffect = 12;
    b.Routes[0].FromButton = 1;
    b.Routes[0].ToButton = 2;
    AddEntry(b.Routes[0], 201, eKPX9Thrown);
    AddEntry(b.Routes[0], 202, eKPX9Closed);
    b.Routes[3].FromButton = 3;
    b.Routes[3].ToButton = 4;
    AddEntry(b.Routes[3], 201, eKPX9Closed);
    b.Routes[3].Cascade = true;
    b.Routes[3].CascadeRoute = 1;
    return boards;
}

} // namespace

TEST(KPX9Board, SetToFromRoutesKeepsRoutesInStep)
{
    TKPX9Board board;
    board.SetToFromRoutes(true);
    for (const auto& route : board.Routes) EXPECT_TRUE(route.ToFrom);
    board.SetToFromRoutes(false);
    for (const auto& route : board.Routes) EXPECT_FALSE(route.ToFrom);
}

TEST(KPX9Board, BoardSettingsSVs)
{
    TKPX9Board board;
    board.SerialNumber = 0x1234;
    board.SetToFromRoutes(true);
    board.PointDelay = 250;
    board.SensorBoardNumber = 300;
    board.SensorsUsed = 4;
    board.PowerUpMode = 2;
    board.RouteDccAddress = 2048;
    board.SlaveDccAddress = 1;
    board.InterlockDccAddress = 515;
    board.CalculateSVs();
    const std::vector<std::pair<uint32_t, uint8_t>> changed = {
        {3, 0x34}, {4, 0x12}, {5, 1},  {6, 250}, {9, 44}, {10, 4}, {11, 2},
        {12, 0},   {13, 8},   {14, 1}, {15, 0},  {16, 3}, {17, 2},
    };
    for (const auto& [sv, value] : changed) EXPECT_EQ(board.GetSV(sv), value) << "SV" << sv;
    // With to/from numbering every route starts with its buttons, even an empty one.
    EXPECT_EQ(board.GetSV(210), 1);
    EXPECT_EQ(board.GetSV(211), 1);
    EXPECT_EQ(board.GetSV(497), 1);
}

TEST(KPX9Board, CellAndRouteBlockPositions)
{
    TKPX9Board board;
    board.Cells[0].CellType = eKPX9Sensor;
    board.Cells[0].Address = 9;
    board.Cells[29].CellType = eKPX9BoardMode;
    board.Cells[29].Address = 0x0203;
    board.Cells[29].ButtonBEffect = 17;
    AddEntry(board.Routes[0], 700, eKPX9Closed);
    AddEntry(board.Routes[2], 2000, eKPX9Closed);
    AddEntry(board.Routes[2], 2000, eKPX9Closed);
    AddEntry(board.Routes[2], 2000, eKPX9Closed);
    AddEntry(board.Routes[2], 2000, eKPX9Closed);
    AddEntry(board.Routes[2], 2000, eKPX9Closed);
    AddEntry(board.Routes[2], 2000, eKPX9Thrown);
    AddEntry(board.Routes[3], 5, eKPX9Thrown);
    AddEntry(board.Routes[23], 6, eKPX9Closed);
    board.Routes[23].Cascade = true;
    board.Routes[23].CascadeRoute = 1;
    ASSERT_TRUE(board.CalculateSVs());

    EXPECT_EQ(board.GetSV(30), 6);
    EXPECT_EQ(board.GetSV(31), 9);
    EXPECT_EQ(board.GetSV(32), 1);
    EXPECT_EQ(board.GetSV(204), 13);
    EXPECT_EQ(board.GetSV(205), 3);
    EXPECT_EQ(board.GetSV(206), 2);
    EXPECT_EQ(board.GetSV(208), 17);
    EXPECT_EQ(board.GetSV(210), 102);
    EXPECT_EQ(board.GetSV(211), 188);
    EXPECT_EQ(board.GetSV(234), 107);
    EXPECT_EQ(board.GetSV(235), 208);
    EXPECT_EQ(board.GetSV(244), 207);
    EXPECT_EQ(board.GetSV(245), 208);
    EXPECT_EQ(board.GetSV(246), 0);
    for (uint32_t n = 247; n <= 256; ++n) EXPECT_EQ(board.GetSV(n), 0) << n;
    EXPECT_EQ(board.GetSV(257), 200);
    EXPECT_EQ(board.GetSV(258), 5);
    EXPECT_EQ(board.GetSV(497), 100);
    EXPECT_EQ(board.GetSV(498), 6);
    EXPECT_EQ(board.GetSV(499), 61);
    EXPECT_EQ(board.GetSV(500), 0);
}

TEST(KPX9Board, FailingRouteStillLeavesEveryOtherSVComputed)
{
    TKPX9Board board;
    for (uint32_t i = 0; i < 7; ++i) AddEntry(board.Routes[1], 1000 + i, eKPX9Closed);
    AddEntry(board.Routes[10], 40, eKPX9Closed);
    board.Cells[3].CellType = eKPX9Point;
    board.Cells[3].Address = 40;
    EXPECT_FALSE(board.CalculateSVs());
    EXPECT_EQ(board.GetSV(222), 103); // route 2, first entry
    EXPECT_EQ(board.GetSV(233), 237); // its twelfth byte: low byte of the sixth entry
    EXPECT_EQ(board.GetSV(257 + 12 * 7), 4); // route 11 packed after the failure
    EXPECT_EQ(board.GetSV(48), 5); // cell 4
}

TEST(KPX9Board, DecodeSettingsAndRoundTrip)
{
    auto boards = ExampleBoards();
    for (auto& original : boards) {
        ASSERT_TRUE(original.CalculateSVs());
        TKPX9Board decoded;
        for (uint32_t n = 1; n <= 512; ++n) decoded.SetSV(n, original.GetSV(n));
        decoded.DecodeSVs();
        EXPECT_EQ(decoded.SerialNumber, original.SerialNumber);
        EXPECT_EQ(decoded.GetToFromRoutes(), original.GetToFromRoutes());
        EXPECT_EQ(decoded.PointDelay, original.PointDelay);
        EXPECT_EQ(decoded.SensorBoardNumber, original.SensorBoardNumber);
        EXPECT_EQ(decoded.SensorsUsed, original.SensorsUsed);
        EXPECT_EQ(decoded.PowerUpMode, original.PowerUpMode);
        EXPECT_EQ(decoded.RouteDccAddress, original.RouteDccAddress);
        EXPECT_EQ(decoded.SlaveDccAddress, original.SlaveDccAddress);
        EXPECT_EQ(decoded.InterlockDccAddress, original.InterlockDccAddress);
        EXPECT_FALSE(decoded.HadDecodeErrors());
        // Descriptions and names are not in the SVs.
        decoded.Name = original.Name;
        for (uint32_t i = 0; i < kKPX9CellCount; ++i) decoded.Cells[i].Description = original.Cells[i].Description;
        std::vector<std::string> want;
        std::vector<std::string> got;
        original.DisplayBoard(want);
        decoded.DisplayBoard(got);
        EXPECT_EQ(got, want);
        ASSERT_TRUE(decoded.CalculateSVs());
        EXPECT_EQ(decoded.GetSVTable(), original.GetSVTable());
    }
}

TEST(KPX9Board, RandomValidBoardsSurviveCalculateAndDecode)
{
    std::mt19937 rng(20240611);
    auto pick = [&rng](uint32_t lo, uint32_t hi) { return std::uniform_int_distribution<uint32_t>(lo, hi)(rng); };
    for (int round = 0; round < 300; ++round) {
        TKPX9Board board;
        board.SerialNumber = pick(1, 65535);
        board.SetToFromRoutes(pick(0, 1) == 1);
        board.PointDelay = pick(0, 250);
        board.SensorBoardNumber = pick(0, 255);
        board.SensorsUsed = static_cast<uint8_t>(pick(0, 4));
        board.PowerUpMode = static_cast<uint8_t>(pick(0, 2));
        board.RouteDccAddress = pick(0, 2048);
        board.SlaveDccAddress = pick(1, 2048);
        board.InterlockDccAddress = pick(1, 2048);
        for (auto& cell : board.Cells) {
            cell.CellType = static_cast<uint8_t>(pick(0, 10));
            cell.Address = pick(1, 2048);
            for (auto* effect : {&cell.ButtonAEffect, &cell.ButtonBEffect}) *effect = static_cast<uint8_t>(pick(0, 19));
            cell.ButtonARoute = pick(1, 24);
            cell.ButtonBRoute = pick(1, 24);
            cell.TurnoutFeedback = pick(0, 1) == 1;
            switch (cell.CellType) {
            case eKPX9Point:
                cell.Token = pick(0, 4);
                cell.Initialise = static_cast<uint8_t>(pick(0, 2));
                cell.CascadeMode = static_cast<uint8_t>(pick(0, 2));
                cell.CascadeCell = cell.CascadeMode ? pick(1, 30) : 0;
                break;
            case eKPX9Sensor:
            case eKPX9PM42Relay:
                cell.Address = pick(0, 255);
                cell.SensorNumber = pick(1, 16);
                cell.RelayNumber = pick(1, 4);
                cell.SensorFlash = pick(0, 1) == 1;
                break;
            case eKPX9Copy: cell.Address = pick(1, 30); break;
            default:
                cell.Aspect = static_cast<uint8_t>(pick(0, 4));
                cell.ZoneFlash = pick(0, 1) == 1;
                cell.InterlockNumber = pick(1, 4);
                break;
            }
        }
        for (auto& route : board.Routes) {
            route.FromButton = pick(1, 24);
            route.ToButton = pick(1, 24);
            route.Cascade = pick(0, 3) == 0;
            route.CascadeRoute = pick(1, 24);
            const uint32_t wanted = pick(0, 12);
            for (uint32_t i = 0; i < wanted; ++i) {
                route.SetEntry(route.EntryCount, pick(1, 2048), static_cast<uint8_t>(pick(1, 2)));
                if (!route.Fits(board.Cells)) {
                    route.SetEntry(route.EntryCount - 1, 1, eKPX9Undef);
                    break;
                }
            }
        }
        ASSERT_TRUE(board.CalculateSVs()) << round;

        TKPX9Board decoded;
        for (uint32_t n = 1; n <= 512; ++n) decoded.SetSV(n, board.GetSV(n));
        decoded.DecodeSVs();
        decoded.Name = board.Name;
        for (uint32_t i = 0; i < kKPX9CellCount; ++i) {
            decoded.Cells[i].Description = board.Cells[i].Description;
            // A copy cell's own fields only reach the SVs for the copied type; compare the SVs only.
        }
        ASSERT_TRUE(decoded.CalculateSVs()) << round;
        ASSERT_EQ(decoded.GetSVTable(), board.GetSVTable()) << round;
        for (uint32_t r = 0; r < kKPX9RouteCount; ++r) {
            ASSERT_EQ(decoded.Routes[r].GetListLine(decoded.Cells), board.Routes[r].GetListLine(board.Cells)) << round;
        }
        for (uint32_t i = 0; i < kKPX9CellCount; ++i) {
            if (board.Cells[i].CellType == eKPX9Copy) continue;
            ASSERT_EQ(decoded.Cells[i].GetListLine(), board.Cells[i].GetListLine()) << round << " cell " << i;
        }
    }
}

TEST(KPX9Board, RecordSaveLoadSaveIsByteIdentical)
{
    auto boards = ExampleBoards();
    std::string text;
    for (auto& board : boards) text += SaveToText(board);

    std::istringstream in(text);
    std::string again;
    for (size_t i = 0; i < boards.size(); ++i) {
        TKPX9Board loaded;
        loaded.LoadFromStream(in);
        EXPECT_TRUE(loaded.GetLoadErrorText().empty());
        EXPECT_EQ(loaded.Name, boards[i].Name);
        EXPECT_EQ(loaded.Notes, boards[i].Notes);
        EXPECT_EQ(loaded.GetToFromRoutes(), boards[i].GetToFromRoutes());
        for (const auto& route : loaded.Routes) EXPECT_EQ(route.ToFrom, loaded.GetToFromRoutes());
        again += SaveToText(loaded);
    }
    EXPECT_EQ(in.peek(), std::char_traits<char>::eof());
    EXPECT_EQ(again, text);
    // The twelve-entry route came back whole.
    std::istringstream in2(text);
    TKPX9Board first;
    first.LoadFromStream(in2);
    ASSERT_EQ(first.Routes[5].EntryCount, 12u);
    EXPECT_EQ(first.Routes[5].GetEntryState(11), eKPX9Thrown);
    EXPECT_FALSE(first.Routes[5].Cascade);
}

TEST(KPX9Board, BadRouteEntryReportsAndKeepsTheNextRecordAligned)
{
    auto boards = ExampleBoards();
    std::string text = SaveToText(boards[0]);
    const size_t at = text.find("\"640 Closed\"");
    ASSERT_NE(at, std::string::npos);
    text.replace(at, 12, "\"6x0 Closed\"");
    text += SaveToText(boards[1]);
    std::istringstream in(text);
    TKPX9Board first;
    TKPX9Board second;
    first.LoadFromStream(in);
    second.LoadFromStream(in);
    EXPECT_EQ(first.GetLoadErrorText(), "Route 1, entry 3: the point address in '6x0 Closed' is not a whole number");
    EXPECT_EQ(first.Routes[0].GetEntryAddress(2), 1u);
    EXPECT_EQ(second.Name, "Fiddle yard panel");
    EXPECT_TRUE(second.GetLoadErrorText().empty());
}

TEST(KPX9Board, TruncatedRecordReadsEmptyFields)
{
    std::istringstream in("\"KPX9_BOARD\",\"Short\",77\r\n");
    TKPX9Board board;
    board.LoadFromStream(in);
    EXPECT_EQ(board.Name, "Short");
    EXPECT_EQ(board.SerialNumber, 77u);
    EXPECT_EQ(board.SensorBoardNumber, 0u);
    EXPECT_EQ(board.Notes, "");
    EXPECT_EQ(board.Cells[5].CellNumber, 0u);
    EXPECT_EQ(board.Cells[5].Description, "");
    EXPECT_EQ(board.Routes[5].EntryCount, 0u);
    EXPECT_EQ(board.Routes[5].RouteNumber, 6u);
}

TEST(KPX9Board, DescriptionModeLines)
{
    TKPX9Board board;
    board.SerialNumber = 5;
    board.SetToFromRoutes(true);
    board.RouteDccAddress = 0;
    const std::vector<std::string> modes = {"  Board is in STANDALONE mode after power up",
                                            "  Board is in SLAVE mode after power up",
                                            "  Board is in INTERLOCKED mode after power up"};
    const std::vector<std::string> sensors = {
        "  Board can be used in SLAVE mode, and occupies 4 board addresses;",
        "  Board can occupy 4 slave addresses, 1-4", "  Board can occupy 4 slave addresses, 5-8",
        "  Board can occupy 4 slave addresses, 9-12", "  Board can occupy 4 slave addresses, 13-16"};
    for (uint8_t m = 0; m < 3; ++m) {
        for (uint8_t s = 0; s < 5; ++s) {
            board.PowerUpMode = m;
            board.SensorsUsed = s;
            std::vector<std::string> lines;
            board.DisplayBoard(lines);
            EXPECT_EQ(lines[1], "Serial number: 5");
            EXPECT_EQ(lines[127], "  Routes use to, from button presses");
            EXPECT_EQ(lines[128], "  Routes not invoked by any DCC accessory address");
            EXPECT_EQ(lines[lines.size() - 5], modes[m]);
            EXPECT_EQ(lines.back(), sensors[s]);
        }
    }
}

TEST(KPX9Board, ExampleFileIsWrittenBySaveCode)
{
    auto boards = ExampleBoards();
    std::string text;
    for (auto& board : boards) text += SaveToText(board);
    EXPECT_EQ(ExampleFileText("layout-kpx9.csv", text), text);
}

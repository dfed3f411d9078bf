#include "boards/kpx9/KPX9Board.h"

#include <gtest/gtest.h>

#include <array>
#include <sstream>

namespace {

using Block = std::array<uint8_t, 6>;

Block Encode(TKPX9Board& board, uint32_t index)
{
    Block block{};
    board.Cells[index].EncodeSVs(block.data(), board.Cells);
    return block;
}

Block MakeBlock(uint8_t b0, uint8_t b1, uint8_t b2, uint8_t b3, uint8_t b4, uint8_t b5)
{
    return Block{b0, b1, b2, b3, b4, b5};
}

} // namespace

TEST(KPX9Cell, Defaults)
{
    TKPX9Cell cell(7);
    EXPECT_EQ(cell.CellNumber, 7u);
    EXPECT_EQ(cell.Description, "undefined");
    EXPECT_EQ(cell.CellType, eKPX9Undefined);
    EXPECT_EQ(cell.Address, 1u);
    EXPECT_EQ(cell.ButtonARoute, 1u);
    EXPECT_EQ(cell.ButtonBRoute, 1u);
    EXPECT_EQ(cell.SensorNumber, 1u);
    EXPECT_EQ(cell.Aspect, 1);
    EXPECT_EQ(cell.InterlockNumber, 1u);
    EXPECT_EQ(cell.RelayNumber, 1u);
    EXPECT_FALSE(cell.TurnoutFeedback);
}

TEST(KPX9Cell, EncodePointCells)
{
    TKPX9Board board;
    TKPX9Cell& a = board.Cells[0];
    a.CellType = eKPX9Point;
    a.Address = 100;
    a.TurnoutFeedback = true;
    a.Token = 0;
    a.Initialise = 1;
    a.CascadeMode = 2;
    a.CascadeCell = 4;
    a.ButtonAEffect = 19;
    a.ButtonARoute = 7;
    a.ButtonBEffect = 2;
    // Token 0 gives type code 5; feedback adds 16 to the high byte; Thrown cascade adds 30,
    // Initialise Closed adds 64.
    EXPECT_EQ(Encode(board, 0), MakeBlock(5, 100, 16, 107, 2, 34 + 64));

    a.TurnoutFeedback = false;
    EXPECT_EQ(Encode(board, 0)[2], 0);

    TKPX9Cell& b = board.Cells[1];
    b.CellType = eKPX9Point;
    b.Address = 300;
    b.Token = 3;
    b.Initialise = 2;
    b.CascadeMode = 1;
    b.CascadeCell = 5;
    b.ButtonAEffect = 1;
    b.ButtonBEffect = 3;
    EXPECT_EQ(Encode(board, 1), MakeBlock(3, 44, 1, 1, 3, 5 + 128));

    b.CascadeMode = 0;
    b.Initialise = 0;
    EXPECT_EQ(Encode(board, 1)[5], 0);
}

TEST(KPX9Cell, EncodeOtherCellTypes)
{
    TKPX9Board board;
    auto& c = board.Cells;

    c[0].CellType = eKPX9Sensor;
    c[0].Address = 7;
    c[0].SensorNumber = 12;
    c[0].SensorFlash = true;
    c[0].TurnoutFeedback = true; // never applies to a sensor
    EXPECT_EQ(Encode(board, 0), MakeBlock(6, 7, 12, 0, 0, 1));

    c[1].CellType = eKPX9ORB8Signal;
    c[1].Address = 513;
    c[1].TurnoutFeedback = true;
    c[1].Aspect = 3;
    c[1].ButtonAEffect = 7;
    c[1].ButtonBEffect = 8;
    EXPECT_EQ(Encode(board, 1), MakeBlock(7, 1, 18, 7, 8, 3));

    c[2].CellType = eKPX9ORB8Zone;
    c[2].Address = 20;
    c[2].ZoneFlash = true;
    EXPECT_EQ(Encode(board, 2), MakeBlock(8, 20, 0, 0, 0, 1));

    c[3].CellType = eKPX9SE8cRG;
    c[3].Address = 258;
    c[3].TurnoutFeedback = true; // no feedback for SE8c signals
    c[3].Aspect = 4;
    EXPECT_EQ(Encode(board, 3), MakeBlock(9, 2, 1, 0, 0, 4));

    c[4].CellType = eKPX9SE8cRGA;
    c[4].Address = 9;
    c[4].Aspect = 0;
    c[4].ButtonBEffect = 11;
    EXPECT_EQ(Encode(board, 4), MakeBlock(10, 9, 0, 0, 11, 0));

    c[5].CellType = eKPX9Interlock;
    c[5].Address = 5;
    c[5].InterlockNumber = 3;
    c[5].ButtonAEffect = 6;
    EXPECT_EQ(Encode(board, 5), MakeBlock(11, 5, 0, 6, 0, 3));

    c[6].CellType = eKPX9BoardMode;
    c[6].Address = 1000;
    c[6].ButtonAEffect = 13;
    c[6].ButtonBEffect = 14;
    EXPECT_EQ(Encode(board, 6), MakeBlock(13, 232, 3, 13, 14, 0));

    c[7].CellType = eKPX9PM42Relay;
    c[7].Address = 300; // the PM42 board: only its low byte
    c[7].RelayNumber = 2;
    EXPECT_EQ(Encode(board, 7), MakeBlock(14, 44, 2, 0, 0, 0));

    // An undefined cell writes only its buttons.
    c[8].Address = 500;
    c[8].Aspect = 3;
    c[8].ButtonAEffect = 3;
    c[8].ButtonBEffect = 19;
    c[8].ButtonBRoute = 24;
    EXPECT_EQ(Encode(board, 8), MakeBlock(0, 0, 0, 3, 124, 0));
}

TEST(KPX9Cell, EncodeCopyCellsByCopiedType)
{
    TKPX9Board board;
    auto& c = board.Cells;
    c[0].CellType = eKPX9Point;
    c[1].CellType = eKPX9ORB8Signal;
    c[2].CellType = eKPX9Sensor;

    TKPX9Cell& copy = c[9];
    copy.CellType = eKPX9Copy;
    copy.Address = 1;
    copy.CascadeMode = 2;
    copy.CascadeCell = 9;
    copy.Initialise = 2; // not part of a copy's last byte
    copy.Aspect = 2;
    EXPECT_EQ(Encode(board, 9), MakeBlock(12, 1, 0, 0, 0, 39));

    copy.Address = 2;
    EXPECT_EQ(Encode(board, 9), MakeBlock(12, 2, 0, 0, 0, 2));

    copy.Address = 3;
    EXPECT_EQ(Encode(board, 9), MakeBlock(12, 3, 0, 0, 0, 0));

    // A cell number above 30 becomes 1, and stays so.
    copy.Address = 45;
    EXPECT_EQ(Encode(board, 9), MakeBlock(12, 1, 0, 0, 0, 39));
    EXPECT_EQ(copy.Address, 1u);
    copy.Address = 0;
    EXPECT_EQ(Encode(board, 9)[1], 1);
}

TEST(KPX9Cell, DecodeEachType)
{
    TKPX9Cell cell(1);
    Block block = MakeBlock(5, 100, 16, 107, 2, 98);
    cell.DecodeSVs(block.data());
    EXPECT_EQ(cell.CellType, eKPX9Point);
    EXPECT_EQ(cell.Token, 0u);
    EXPECT_EQ(cell.Address, 100u);
    EXPECT_TRUE(cell.TurnoutFeedback);
    EXPECT_EQ(cell.ButtonAEffect, 19);
    EXPECT_EQ(cell.ButtonARoute, 7u);
    EXPECT_EQ(cell.ButtonBEffect, 2);
    EXPECT_EQ(cell.Initialise, 1);
    EXPECT_EQ(cell.CascadeMode, 2);
    EXPECT_EQ(cell.CascadeCell, 4u);

    // Address exactly 4096 is not above it: no feedback. Byte 100 is no route.
    block = MakeBlock(2, 0, 16, 100, 0, 200);
    cell.DecodeSVs(block.data());
    EXPECT_EQ(cell.Token, 2u);
    EXPECT_EQ(cell.Address, 4096u);
    EXPECT_FALSE(cell.TurnoutFeedback);
    EXPECT_EQ(cell.ButtonAEffect, 100);
    EXPECT_EQ(cell.Initialise, 2);
    EXPECT_EQ(cell.CascadeMode, 1);
    EXPECT_EQ(cell.CascadeCell, 8u); // 200 & 63

    block = MakeBlock(4, 1, 0, 0, 0, 64);
    cell.DecodeSVs(block.data());
    EXPECT_EQ(cell.Initialise, 1);
    EXPECT_EQ(cell.CascadeMode, 0);
    EXPECT_EQ(cell.CascadeCell, 0u);

    block = MakeBlock(6, 7, 12, 0, 0, 3);
    cell.DecodeSVs(block.data());
    EXPECT_EQ(cell.CellType, eKPX9Sensor);
    EXPECT_EQ(cell.Address, 7u);
    EXPECT_EQ(cell.SensorNumber, 12u);
    EXPECT_TRUE(cell.SensorFlash);

    block = MakeBlock(7, 1, 18, 0, 0, 3);
    cell.DecodeSVs(block.data());
    EXPECT_EQ(cell.CellType, eKPX9ORB8Signal);
    EXPECT_EQ(cell.Address, 513u);
    EXPECT_TRUE(cell.TurnoutFeedback);
    EXPECT_EQ(cell.Aspect, 3);

    block = MakeBlock(8, 20, 0, 0, 0, 0);
    cell.DecodeSVs(block.data());
    EXPECT_EQ(cell.CellType, eKPX9ORB8Zone);
    EXPECT_FALSE(cell.ZoneFlash);
    EXPECT_FALSE(cell.TurnoutFeedback);

    // SE8c cells never carry feedback, even above 4096.
    block = MakeBlock(10, 2, 17, 0, 0, 4);
    cell.DecodeSVs(block.data());
    EXPECT_EQ(cell.CellType, eKPX9SE8cRGA);
    EXPECT_EQ(cell.Address, 4354u);
    EXPECT_FALSE(cell.TurnoutFeedback);
    EXPECT_EQ(cell.Aspect, 4);

    block = MakeBlock(11, 5, 0, 0, 0, 3);
    cell.DecodeSVs(block.data());
    EXPECT_EQ(cell.CellType, eKPX9Interlock);
    EXPECT_EQ(cell.InterlockNumber, 3u);

    block = MakeBlock(14, 44, 2, 0, 0, 0);
    cell.DecodeSVs(block.data());
    EXPECT_EQ(cell.CellType, eKPX9PM42Relay);
    EXPECT_EQ(cell.Address, 44u);
    EXPECT_EQ(cell.RelayNumber, 2u);

    block = MakeBlock(0, 0, 0, 0, 0, 0);
    cell.DecodeSVs(block.data());
    EXPECT_EQ(cell.CellType, eKPX9Undefined);
    EXPECT_EQ(cell.Address, 0u);
}

TEST(KPX9Cell, CopyCellsAreResolvedAfterAllCells)
{
    // Cell 3 copies cell 10, which comes later in the table: the copied type is only known once
    // every cell has been decoded.
    TKPX9Board board;
    board.CalculateSVs();
    auto setBlock = [&](uint32_t cell, Block b) {
        for (uint32_t k = 0; k < 6; ++k) board.SetSV(30 + 6 * (cell - 1) + k, b[k]);
    };
    setBlock(3, MakeBlock(12, 10, 0, 0, 0, 40));
    setBlock(10, MakeBlock(5, 20, 0, 0, 0, 0));
    setBlock(4, MakeBlock(12, 11, 0, 0, 0, 3));
    setBlock(11, MakeBlock(9, 21, 0, 0, 0, 0));
    setBlock(5, MakeBlock(12, 45, 0, 0, 0, 3)); // copies cell 1 (Undefined): b5 ignored
    setBlock(6, MakeBlock(12, 10, 0, 0, 0, 200)); // not masked
    board.DecodeSVs();

    EXPECT_EQ(board.Cells[2].CellType, eKPX9Copy);
    EXPECT_EQ(board.Cells[2].CascadeMode, 2);
    EXPECT_EQ(board.Cells[2].CascadeCell, 10u);
    EXPECT_EQ(board.Cells[3].Aspect, 3);
    EXPECT_EQ(board.Cells[4].Address, 1u);
    EXPECT_EQ(board.Cells[4].Aspect, 1);
    EXPECT_EQ(board.Cells[4].CascadeMode, 0);
    EXPECT_EQ(board.Cells[5].CascadeMode, 2);
    EXPECT_EQ(board.Cells[5].CascadeCell, 170u);
}

TEST(KPX9Cell, ListLines)
{
    TKPX9Cell cell(4);
    cell.Description = "Up main";
    EXPECT_EQ(cell.GetListLine(), "4: Up main; Undefined");

    cell.CellType = eKPX9Point;
    cell.Address = 12;
    EXPECT_EQ(cell.GetListLine(), "4: Up main; Point Cell, Addr 12");
    cell.TurnoutFeedback = true;
    cell.Token = 2;
    cell.CascadeMode = 2;
    cell.CascadeCell = 3;
    EXPECT_EQ(cell.GetListLine(), "4: Up main; Point Cell, Addr 12 (TO F/B), Interlock 2, Cascades from cell 3 Thrown");
    cell.CascadeMode = 1;
    EXPECT_EQ(cell.GetListLine(), "4: Up main; Point Cell, Addr 12 (TO F/B), Interlock 2, Cascades from cell 3 Closed");

    cell.CellType = eKPX9Sensor;
    cell.Address = 9;
    cell.SensorNumber = 16;
    cell.SensorFlash = true;
    EXPECT_EQ(cell.GetListLine(), "4: Up main; Sensor Cell, Board = 9, Sensor = 16, flashes until known");

    cell.CellType = eKPX9ORB8Signal;
    EXPECT_EQ(cell.GetListLine(), "4: Up main; ORB8 Signal Cell, Address = 9 (TO F/B)");
    cell.CellType = eKPX9ORB8Zone;
    cell.ZoneFlash = true;
    EXPECT_EQ(cell.GetListLine(),
              "4: Up main; ORB8 Reverse Running Zone Cell, Address = 9 (TO F/B), Flashes when locked");
    cell.CellType = eKPX9SE8cRG;
    EXPECT_EQ(cell.GetListLine(), "4: Up main; SE8c Signal Cell, Red/Green, Address = 9");
    cell.CellType = eKPX9SE8cRGA;
    EXPECT_EQ(cell.GetListLine(), "4: Up main; SE8c Signal Cell, Red/Green/Amber, Address = 9");
    cell.CellType = eKPX9Interlock;
    cell.InterlockNumber = 3;
    EXPECT_EQ(cell.GetListLine(), "4: Up main; RR&Co Interlock Cell 3, DCC Address = 9");
    cell.CellType = eKPX9Copy;
    EXPECT_EQ(cell.GetListLine(), "4: Up main; Copy of Another Cell, Copies cell 9");
    cell.CellType = eKPX9BoardMode;
    EXPECT_EQ(cell.GetListLine(), "4: Up main; Display Board Mode Cell");
    cell.CellType = eKPX9PM42Relay;
    cell.RelayNumber = 4;
    EXPECT_EQ(cell.GetListLine(), "4: Up main; PM42 Relay Cell, Board = 9, Relay number = 4");
}

TEST(KPX9Cell, DescriptionLines)
{
    TKPX9Cell cell(2);
    cell.Description = "Yard";
    cell.CellType = eKPX9Point;
    cell.Address = 12;
    cell.TurnoutFeedback = true;
    cell.Token = 4;
    cell.CascadeMode = 2;
    cell.CascadeCell = 1;
    cell.ButtonAEffect = 19;
    cell.ButtonARoute = 7;
    cell.ButtonBEffect = 3;
    std::vector<std::string> lines;
    cell.GetDescriptionLines(lines);
    const std::vector<std::string> point = {
        "    Cell 2: Yard",
        "       Point Cell, Point Address 12 (Uses Turnout Feedback)",
        "       Assigned to Interlock 4",
        "       Cascades from cell 1 Thrown",
        "       Pushbutton A effect: Execute Route 7",
        "       Pushbutton B effect: set Point Thrown",
    };
    EXPECT_EQ(lines, point);

    auto second = [&cell]() {
        std::vector<std::string> l;
        cell.GetDescriptionLines(l);
        return l.at(1);
    };
    cell.Address = 9;
    cell.SensorNumber = 5;
    cell.SensorFlash = true;
    cell.CellType = eKPX9Sensor;
    EXPECT_EQ(second(), "       Sensor Cell, Board = 9, Sensor = 5, flashes until known");
    cell.CellType = eKPX9ORB8Signal;
    EXPECT_EQ(second(), "       ORB8 Signal Cell, Address = 9 (Uses Turnout Feedback)");
    cell.CellType = eKPX9ORB8Zone;
    cell.ZoneFlash = true;
    EXPECT_EQ(second(),
              "       ORB8 Reverse Running Zone Cell, Address = 9 (Uses Turnout Feedback), Flashes when locked");
    cell.CellType = eKPX9SE8cRG;
    EXPECT_EQ(second(), "       SE8c Signal Cell, Red/Green, Address = 9");
    cell.CellType = eKPX9Interlock;
    cell.InterlockNumber = 2;
    EXPECT_EQ(second(), "       RR&Co Interlock Cell, Interlock number = 2, DCC Address = 9");
    cell.CellType = eKPX9Copy;
    EXPECT_EQ(second(), "       Copy of Another Cell, Copies cell 9");
    cell.CellType = eKPX9PM42Relay;
    cell.RelayNumber = 3;
    EXPECT_EQ(second(), "       PM42 Relay Cell, Board = 9, Relay = 3");
    cell.CellType = eKPX9BoardMode;
    EXPECT_EQ(second(), "       Display Board Mode Cell");

    // Only point cells show token and cascade.
    lines.clear();
    cell.GetDescriptionLines(lines);
    EXPECT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[2], "       Pushbutton A effect: Execute Route 7");
}

TEST(KPX9Cell, EffectTexts)
{
    EXPECT_EQ(KPX9EffectText(0), "No Action");
    EXPECT_EQ(KPX9EffectText(3), "set Point Thrown");
    EXPECT_EQ(KPX9EffectText(6), "Request Interlock from RR&co or similar");
    EXPECT_EQ(KPX9EffectText(18), "Generate Interrogate sequence");
    EXPECT_EQ(KPX9EffectText(19), "Execute Route ");
    EXPECT_EQ(KPX9EffectText(20), "");
    EXPECT_EQ(KPX9CellTypeName(10), "PM42 Relay Cell");
    EXPECT_EQ(KPX9CellTypeName(11), "");
}

TEST(KPX9Cell, RecordLinesByType)
{
    auto save = [](TKPX9Cell& cell) {
        std::ostringstream out;
        cell.SaveToStream(out);
        return out.str();
    };
    TKPX9Cell cell(1);
    EXPECT_EQ(save(cell), ",\"Cell_\",1,0,1,0,0,1,1,,,,,,\"undefined\"\r\n");

    cell.CellType = eKPX9Point;
    cell.Address = 12;
    cell.Initialise = 2;
    cell.Token = 3;
    cell.CascadeCell = 4;
    cell.CascadeMode = 1;
    cell.TurnoutFeedback = true;
    cell.ButtonAEffect = 19;
    cell.ButtonARoute = 5;
    cell.Description = "Main, east";
    EXPECT_EQ(save(cell), ",\"Cell_\",1,1,12,19,0,5,1,2,3,4,1,1,\"Main, east\"\r\n");

    cell.CellType = eKPX9Sensor;
    cell.SensorNumber = 9;
    cell.SensorFlash = true;
    EXPECT_EQ(save(cell), ",\"Cell_\",1,2,12,19,0,5,1,9,1,,,,\"Main, east\"\r\n");
    cell.CellType = eKPX9ORB8Signal;
    cell.Aspect = 3;
    EXPECT_EQ(save(cell), ",\"Cell_\",1,3,12,19,0,5,1,3,4,1,1,,\"Main, east\"\r\n");
    cell.CellType = eKPX9ORB8Zone;
    cell.ZoneFlash = false;
    EXPECT_EQ(save(cell), ",\"Cell_\",1,4,12,19,0,5,1,0,1,,,,\"Main, east\"\r\n");
    cell.CellType = eKPX9SE8cRGA;
    EXPECT_EQ(save(cell), ",\"Cell_\",1,6,12,19,0,5,1,3,4,1,,,\"Main, east\"\r\n");
    cell.CellType = eKPX9Interlock;
    cell.InterlockNumber = 2;
    EXPECT_EQ(save(cell), ",\"Cell_\",1,7,12,19,0,5,1,2,,,,,\"Main, east\"\r\n");
    cell.CellType = eKPX9Copy;
    cell.Address = 45;
    EXPECT_EQ(save(cell), ",\"Cell_\",1,8,1,19,0,5,1,3,4,1,,,\"Main, east\"\r\n");
    cell.CellType = eKPX9BoardMode;
    EXPECT_EQ(save(cell), ",\"Cell_\",1,9,1,19,0,5,1,,,,,,\"Main, east\"\r\n");
    cell.CellType = eKPX9PM42Relay;
    cell.RelayNumber = 4;
    EXPECT_EQ(save(cell), ",\"Cell_\",1,10,1,19,0,5,1,4,,,,,\"Main, east\"\r\n");
}

TEST(KPX9Cell, LoadReadsFieldsByTypeAndCellNumber)
{
    std::istringstream in(",\"Cell_\",6,1,12,19,0,5,1,2,3,4,1,1,\"Main, east\"\r\n"
                          ",\"Cell_\",7,2,3,0,0,1,1,9,1,,,,\"Sidings\"\r\n");
    TKPX9Cell cell(1);
    cell.LoadFromStream(in);
    EXPECT_EQ(cell.CellNumber, 6u);
    EXPECT_EQ(cell.CellType, eKPX9Point);
    EXPECT_EQ(cell.Address, 12u);
    EXPECT_EQ(cell.ButtonAEffect, 19);
    EXPECT_EQ(cell.ButtonARoute, 5u);
    EXPECT_EQ(cell.Initialise, 2);
    EXPECT_EQ(cell.Token, 3u);
    EXPECT_EQ(cell.CascadeCell, 4u);
    EXPECT_EQ(cell.CascadeMode, 1);
    EXPECT_TRUE(cell.TurnoutFeedback);
    EXPECT_EQ(cell.Description, "Main, east");

    cell.LoadFromStream(in);
    EXPECT_EQ(cell.CellType, eKPX9Sensor);
    EXPECT_EQ(cell.SensorNumber, 9u);
    EXPECT_TRUE(cell.SensorFlash);
    EXPECT_EQ(cell.Token, 0u); // point fields of the previous line do not linger
    EXPECT_EQ(cell.Description, "Sidings");
}

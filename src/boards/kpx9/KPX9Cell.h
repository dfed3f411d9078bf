#pragma once
// One panel position of a KPX9 board: a lamp/pushbutton cell that shows and controls a point,
// sensor, signal, zone, interlock, relay or the board mode. Writes and reads itself as one
// board-file line, and as a six-byte SV block.

#include "boards/CsvIo.h"
#include "boards/HeldValues.h"

#include <array>
#include <cstdint>
#include <istream>
#include <ostream>
#include <string>
#include <vector>

class TKPX9Cell;

constexpr uint32_t kKPX9CellCount = 30;
constexpr uint32_t kKPX9CellSVBytes = 6;
using TKPX9Cells = std::array<TKPX9Cell, kKPX9CellCount>;

// Cell type codes.
enum EKPX9CellType : uint8_t {
    eKPX9Undefined = 0,
    eKPX9Point = 1,
    eKPX9Sensor = 2,
    eKPX9ORB8Signal = 3,
    eKPX9ORB8Zone = 4,
    eKPX9SE8cRG = 5,
    eKPX9SE8cRGA = 6,
    eKPX9Interlock = 7,
    eKPX9Copy = 8,
    eKPX9BoardMode = 9,
    eKPX9PM42Relay = 10,
};
constexpr uint8_t kKPX9CellTypeCount = 11;

// Pushbutton effect that runs a route.
constexpr uint8_t kKPX9EffectRoute = 19;
constexpr uint8_t kKPX9EffectCount = 20;

// Display name of a cell type; empty for a code outside the table.
std::string KPX9CellTypeName(uint32_t cellType);
// Description text of a pushbutton effect (19 is "Execute Route " without the number); empty
// for a code outside the table.
std::string KPX9EffectText(uint32_t effect);

// The number (1..30) of the first cell, in cell order, whose type is Point Cell and whose Address
// equals the address; 0 when there is none. The number is the cell's position, so that a route
// byte always names the SV block it refers to.
uint32_t FindPointCell(uint32_t address, const TKPX9Cells& cells);

class TKPX9Cell : public TCsvIo {
public:
    TKPX9Cell();
    explicit TKPX9Cell(uint32_t cellNumber);

    // Back to the defaults of a new cell; the cell number is kept.
    void SetDefaults();

    // The line in the board window's cell list.
    std::string GetListLine() const;
    // The lines of the board description.
    void GetDescriptionLines(std::vector<std::string>& lines) const;

    // What the board holds of the cell (HeldValues.h); `cells` are the board's cells, for the cell
    // a copy cell copies.
    void AddHeldValues(THeldValues& values, const TKPX9Cells& cells) const;

    // One board-file line. A copy cell first brings the cell it copies into 1..30.
    void SaveToStream(std::ostream& stream);
    void LoadFromStream(std::istream& stream);

    // Fills the six bytes of this cell's SV block (which the caller has cleared). A copy cell
    // first brings the cell it copies into 1..30 and looks at that cell's type in `cells`.
    void EncodeSVs(uint8_t* block, const TKPX9Cells& cells);
    // Reads the six bytes of this cell's SV block; the last byte is kept for DecodeAfterAll.
    void DecodeSVs(const uint8_t* block);
    // Second pass once every cell is decoded: a copy cell reads its kept last byte according to
    // the type of the cell it copies.
    void DecodeAfterAll(const TKPX9Cells& cells);

    // A copy cell's Address outside 1..30 becomes 1, and stays so.
    void ForceCopiedCellIntoRange();

    uint32_t CellNumber = 0;
    std::string Description = "undefined";
    uint8_t CellType = eKPX9Undefined;
    uint32_t Address = 1;
    uint8_t ButtonAEffect = 0;
    uint8_t ButtonBEffect = 0;
    uint32_t ButtonARoute = 1;
    uint32_t ButtonBRoute = 1;
    uint8_t Initialise = 0;
    uint32_t Token = 0;
    uint32_t CascadeCell = 0;
    uint8_t CascadeMode = 0;
    bool TurnoutFeedback = false;
    bool SensorFlash = false;
    uint32_t SensorNumber = 1;
    uint8_t Aspect = 1;
    bool ZoneFlash = false;
    uint32_t InterlockNumber = 1;
    uint32_t RelayNumber = 1;

    // The last SV byte as read by DecodeSVs, for the copy-cell pass.
    uint8_t DecodedB5 = 0;

private:
    // What the list line (forList) or the description says of the cell after its type name, e.g.
    // ", Board = 3, Sensor = 5, flashes until known".
    std::string DetailText(bool forList) const;
    // 0 without cascade, CascadeCell when following Closed, CascadeCell + 30 when following Thrown.
    uint8_t CascadeByte() const;
    // Cascade mode and cell from a cascade value (1..30 Closed, 31 and up Thrown, 0 none).
    void SetCascadeFromByte(uint32_t value);
    std::string EffectPiece(uint8_t effect, uint32_t route) const;
};

#pragma once
// An output cell of the QXP6 decoder: a point motor, an on/off output or lamps, changed by its
// closed and thrown conditions and held by its freeze conditions.

#include "boards/CsvIo.h"
#include "boards/HeldValues.h"
#include "boards/qxp6/QXP6ConditionSet.h"

#include <cstdint>
#include <istream>
#include <ostream>
#include <string>
#include <vector>

class TQXP6Cell : public TCsvIo {
public:
    static constexpr int kOutputTypeCount = 9;
    static constexpr int kMessageTypeCount = 6;
    // Type names as the board description shows them; empty for a type out of range.
    static std::string OutputTypeName(uint32_t type);
    static std::string MessageTypeName(uint32_t type);
    // Whether the type's SV code carries TimeSetting (on time or flash rate).
    static bool IsTimedType(uint32_t type);
    // "0.125s" .. "1.125s" for settings 0..8.
    static std::string OnTimeText(uint32_t setting);

    TQXP6Cell();

    // The SV code: base code of the type, plus TimeSetting when timed, plus 10 for inverted
    // individual lamps.
    uint8_t TypeCode() const;
    // Sets OutputType, TimeSetting and InvertOutputs from an SV code.
    void SetFromTypeCode(uint8_t code);

    // The cell's line in the board window's list: number, TAB, type name.
    std::string GetListLine() const;
    void AddDescription(std::vector<std::string>& lines) const;
    // What the board holds of the cell (HeldValues.h).
    void AddHeldValues(THeldValues& values) const;

    void SaveToStream(std::ostream& stream);
    void LoadFromStream(std::istream& stream);

    TQXP6ConditionSet ClosedConditions{eQXP6CondClosed};
    TQXP6ConditionSet ThrownConditions{eQXP6CondThrown};
    TQXP6ConditionSet FreezeConditions{eQXP6CondFreeze};
    uint32_t CellNumber = 1;
    uint32_t BaseAddress = 1; // the board's base address, kept equal by the board
    uint8_t OutputType = 1;
    std::string Description = "undefined";
    uint32_t TimeSetting = 3;
    bool SimulateBrightness = false;
    bool InvertOutputs = false;
    uint32_t FollowCell = 0; // the cell this one follows; 0 for none
    uint8_t MessageType = 0;
    uint32_t ConditionTime = 0; // seconds the conditions must hold
    uint32_t ChangeDelay = 0;
};

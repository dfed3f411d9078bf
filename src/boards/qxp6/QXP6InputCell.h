#pragma once
// An input cell of the QXP6 decoder: a pushbutton, toggle switch or sensor wired to the board.

#include "boards/CsvIo.h"
#include "boards/HeldValues.h"

#include <cstdint>
#include <istream>
#include <ostream>
#include <string>
#include <vector>

class TQXP6InputCell : public TCsvIo {
public:
    static constexpr int kInputTypeCount = 6;
    static constexpr int kMessageTypeCount = 5;
    static std::string InputTypeName(uint32_t type);
    static std::string MessageTypeName(uint32_t type);
    // "1".."8", "A", "B" for cells 1..10.
    static std::string Label(uint32_t cellNumber);

    TQXP6InputCell();

    // The type name, followed for the types that act on an output or route by the cell number.
    std::string TypeText() const;
    std::string GetListLine() const;
    void AddDescription(std::vector<std::string>& lines) const;
    // What the board holds of the cell (HeldValues.h).
    void AddHeldValues(THeldValues& values) const;

    void SaveToStream(std::ostream& stream);
    void LoadFromStream(std::istream& stream);

    uint32_t CellNumber = 1;
    std::string Description;
    uint8_t InputType = 3;
    uint8_t MessageType = 0;
};

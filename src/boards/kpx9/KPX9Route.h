#pragma once
// One KPX9 route: up to twelve (point address, state) entries, started by a single button press
// or by a from-button and a to-button, optionally cascading into another route. Writes and reads
// itself as one board-file line and as a twelve-byte SV block.

#include "boards/CsvIo.h"
#include "boards/HeldValues.h"
#include "boards/kpx9/KPX9Cell.h"

#include <array>
#include <cstdint>
#include <istream>
#include <ostream>
#include <string>
#include <vector>

constexpr uint32_t kKPX9RouteCount = 24;
constexpr uint32_t kKPX9RouteEntries = 12;
constexpr uint32_t kKPX9RouteSVBytes = 12;

// Entry states.
enum EKPX9EntryState : uint8_t { eKPX9Undef = 0, eKPX9Closed = 1, eKPX9Thrown = 2 };

// "UNDEF", "Closed" or "Thrown" (any other value reads as UNDEF).
std::string KPX9StateName(uint32_t state);

class TKPX9Route : public TCsvIo {
public:
    TKPX9Route();
    explicit TKPX9Route(uint32_t routeNumber);

    // Entry bytes the SV block has room for: 12, 10 with to/from numbering, one less with a cascade.
    uint32_t Capacity() const;
    // Whether the entries that are not UNDEF fit: one byte for a point shown on a point cell,
    // two bytes for any other point.
    bool Fits(const TKPX9Cells& cells) const;
    // Sets, appends or (with state 0) removes an entry; true when an UNDEF entry was removed.
    bool SetEntry(uint32_t index, uint32_t address, uint8_t state);
    // Removes every entry in use whose state is 0; true when at least one was removed.
    bool RemoveUndefinedEntries();
    // Address and state of an entry; an index at or beyond EntryCount gives 1 and 0.
    uint32_t GetEntryAddress(uint32_t index) const;
    uint8_t GetEntryState(uint32_t index) const;

    // The line in the board window's route list.
    std::string GetListLine(const TKPX9Cells& cells) const;
    // Line i (1-based) of the route editor.
    std::string GetEditorLine(uint32_t i, const TKPX9Cells& cells) const;
    // The lines of the board description.
    void GetDescriptionLines(std::vector<std::string>& lines) const;

    // What the board holds of the route (HeldValues.h).
    void AddHeldValues(THeldValues& values) const;

    // One board-file line. The twelfth entry goes into a field after the cascade field.
    void SaveToStream(std::ostream& stream);
    // Reads one board-file line; false (with LoadErrorText set) when an entry's address part is
    // not a whole number. The line is consumed either way.
    bool LoadFromStream(std::istream& stream);

    // Packs the route into its twelve bytes (which are cleared first); false when it does not fit.
    bool EncodeSVs(uint8_t* block, const TKPX9Cells& cells) const;
    // Rebuilds the route from its twelve bytes; false when a bad byte gave an entry address 1.
    bool DecodeSVs(const uint8_t* block, const TKPX9Cells& cells);

    uint32_t EntryCount = 0;
    std::array<uint32_t, kKPX9RouteEntries> EntryAddress{};
    std::array<uint8_t, kKPX9RouteEntries> EntryState{};
    uint32_t RouteNumber = 0;
    // Copy of the board's ToFromRoutes; the board keeps the two equal.
    bool ToFrom = false;
    uint32_t FromButton = 1;
    uint32_t ToButton = 1;
    bool Cascade = false;
    uint32_t CascadeRoute = 1;

    std::string LoadErrorText;

private:
    std::string EntryField(uint32_t index) const;
    bool ReadEntry(uint32_t index, size_t field);
};

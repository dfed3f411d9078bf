#pragma once
// The hold check: whether a board can hold its description as it stands. The board's SVs are
// calculated for a firmware version and decoded into a fresh board of the same type, and the two
// descriptions are compared by meaning (HeldValues.h). Each value that would not come back is one
// difference: where it is, what the description says and what the board would hold, e.g.
//   "Output cell 6, thrown set, condition 1: Sensor 300,16 is Occupied; the board would hold Sensor 44,16"
// The same comparison tells whether two SV tables make a board act alike (verifying by meaning).
//
// For the windows: CheckHold(board, version).Lines() are the lines to show; a difference's Part
// names the part of the board an editor window edits ("Signal 3", "Sequence 2, step 5", "Route 4";
// empty for the board's own settings) and its Item the field within it ("Sensor Board Number",
// "action", "red set, condition 2").

#include "boards/ConfigurableBoard.h"
#include "boards/HeldValues.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

struct THoldDifference {
    std::string Part;
    std::string Item;
    std::string Described; // what the description says; "nothing" where it has no such value
    std::string Held; // what the board would hold; "nothing" where it would hold no such value

    std::string Place() const;
    // "<place>: <described>; the board would hold <held>".
    std::string Line() const;
};

struct THoldReport {
    // False for a board class that cannot be copied or lists no values: nothing was checked.
    bool Checked = false;
    // The board's calculation error when its SVs could not be calculated.
    std::string CalculationError;
    std::vector<THoldDifference> Differences;

    bool CanBeHeld() const { return CalculationError.empty() && Differences.empty(); }
    // The calculation error, if any, then one line per difference.
    std::vector<std::string> Lines() const;
};

// Checks the board for firmware version `swVersion`. The board itself is not changed.
THoldReport CheckHold(const TConfigurableBoard& board, uint32_t swVersion);

// The differences between two lists by meaning: in the order of `described`, then the places only
// `held` has.
std::vector<THoldDifference> CompareHeldValues(const THeldValues& described, const THeldValues& held);

// A new board of the type of `like`, for its firmware version, holding `svs` and decoded from
// them; none for a type without a board class.
std::unique_ptr<TConfigurableBoard> DecodedBoard(const TConfigurableBoard& like, const std::vector<uint8_t>& svs);

// Whether two SV tables make a board of the type of `like` act alike: both are decoded and their
// descriptions compared by meaning. The differences, with `first` as the described side (empty
// when they act alike); none for a type whose board lists no values, which cannot be compared so.
std::optional<std::vector<THoldDifference>> CompareSVsByMeaning(const TConfigurableBoard& like,
                                                                const std::vector<uint8_t>& first,
                                                                const std::vector<uint8_t>& second);

// "1 value cannot be held", "3 values cannot be held".
std::string HoldSummary(size_t values);

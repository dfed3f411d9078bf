#pragma once
// A fixed-size list of conditions that an output cell or a route holds for one purpose, with its
// description lines, its board-file line and its SV bytes.

#include "boards/CsvIo.h"
#include "boards/HeldValues.h"
#include "boards/qxp6/QXP6Condition.h"

#include <cstdint>
#include <istream>
#include <ostream>
#include <string>
#include <vector>

enum EQXP6SetKind : uint8_t { eQXP6CondThrown, eQXP6CondClosed, eQXP6CondFreeze, eQXP6CondRoute };

class TQXP6ConditionSet : public TCsvIo {
public:
    static constexpr int kKindCount = 4;
    // The kind's capacity (also its number of SV bytes), display name and file tag.
    static int KindCapacity(uint8_t kind);
    static std::string KindName(uint8_t kind);
    static std::string KindTag(uint8_t kind);

    // A set of the kind with all places empty; with a source set, its first conditions are
    // copied, as many as both sets hold.
    explicit TQXP6ConditionSet(uint8_t kind, const TQXP6ConditionSet* source = nullptr);
    TQXP6ConditionSet(const TQXP6ConditionSet&) = default;
    TQXP6ConditionSet& operator=(const TQXP6ConditionSet&) = default;

    uint8_t Kind() const { return SetKind; }
    int Count() const { return static_cast<int>(Conditions.size()); }
    const TQXP6Condition& ConditionAt(int index) const { return Conditions[static_cast<size_t>(index)]; }
    TQXP6Condition& ConditionAt(int index) { return Conditions[static_cast<size_t>(index)]; }
    // Out-of-range indexes do nothing.
    void InsertAt(int index, const TQXP6Condition& condition);
    void DeleteAt(int index);
    void Clear();

    // Adds every device a condition names to the table; false when one could not be added.
    bool GatherDevices(TQXP6ExtDevTable& table) const;
    // Count() bytes, condition i to dest[i]; false when a condition could not be encoded.
    bool ToSVBytes(uint8_t* dest, const TQXP6ExtDevTable& table) const;
    bool FromSVBytes(const uint8_t* source, const TQXP6ExtDevTable& table);

    // The description lines: ten blanks, then the conditions up to the first empty place, those
    // chained by AND sharing a line.
    void AddText(std::vector<std::string>& lines) const;
    // What the board holds of the set, one value a place: "<name>, condition <n>".
    void AddHeldValues(const std::string& name, THeldValues& values) const;

    void WriteRecord(std::ostream& stream);
    void ReadRecord(std::istream& stream);

    bool SameConditions(const TQXP6ConditionSet& other) const
    {
        return SetKind == other.SetKind && Conditions == other.Conditions;
    }

private:
    uint8_t SetKind;
    std::vector<TQXP6Condition> Conditions;
};

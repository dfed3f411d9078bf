#include "boards/qxp6/QXP6ConditionSet.h"

#include "boards/orb/ConditionText.h"

#include <algorithm>

namespace {
struct KindInfo {
    const char* Name;
    const char* Tag;
    int Capacity;
};
constexpr KindInfo kKinds[TQXP6ConditionSet::kKindCount] = {
    {"Conditions for change to Thrown", "Cond_Cell_T", 7},
    {"Conditions for change to Closed", "Cond_Cell_C", 7},
    {"Conditions to freeze cell", "Cond_Cell_F", 2},
    {"Conditions to trigger route", "Cond_Route", 5},
};
} // namespace

int TQXP6ConditionSet::KindCapacity(uint8_t kind)
{
    return kind < kKindCount ? kKinds[kind].Capacity : 0;
}

std::string TQXP6ConditionSet::KindName(uint8_t kind)
{
    return kind < kKindCount ? kKinds[kind].Name : "";
}

std::string TQXP6ConditionSet::KindTag(uint8_t kind)
{
    return kind < kKindCount ? kKinds[kind].Tag : "";
}

TQXP6ConditionSet::TQXP6ConditionSet(uint8_t kind, const TQXP6ConditionSet* source)
    : SetKind(kind), Conditions(static_cast<size_t>(KindCapacity(kind)))
{
    SetQuoteStrings(true);
    if (source != nullptr) {
        const size_t n = std::min(Conditions.size(), source->Conditions.size());
        std::copy_n(source->Conditions.begin(), n, Conditions.begin());
    }
}

void TQXP6ConditionSet::InsertAt(int index, const TQXP6Condition& condition)
{
    if (index < 0 || index >= Count()) return;
    for (int i = Count() - 1; i > index; --i)
        Conditions[static_cast<size_t>(i)] = Conditions[static_cast<size_t>(i - 1)];
    Conditions[static_cast<size_t>(index)] = condition;
}

void TQXP6ConditionSet::DeleteAt(int index)
{
    if (index < 0 || index >= Count()) return;
    for (int i = index; i + 1 < Count(); ++i)
        Conditions[static_cast<size_t>(i)] = Conditions[static_cast<size_t>(i + 1)];
    Conditions.back().Clear();
}

void TQXP6ConditionSet::Clear()
{
    for (auto& c : Conditions) c.Clear();
}

bool TQXP6ConditionSet::GatherDevices(TQXP6ExtDevTable& table) const
{
    bool ok = true;
    for (const auto& c : Conditions) {
        if (c.IsEmpty()) continue;
        if (!table.AddDevice(c.Key())) ok = false;
    }
    return ok;
}

bool TQXP6ConditionSet::ToSVBytes(uint8_t* dest, const TQXP6ExtDevTable& table) const
{
    bool ok = true;
    for (size_t i = 0; i < Conditions.size(); ++i)
        if (!Conditions[i].SVByte(table, dest[i])) ok = false;
    return ok;
}

bool TQXP6ConditionSet::FromSVBytes(const uint8_t* source, const TQXP6ExtDevTable& table)
{
    bool ok = true;
    for (size_t i = 0; i < Conditions.size(); ++i)
        if (!Conditions[i].FromSVByte(source[i], table)) ok = false;
    return ok;
}

void TQXP6ConditionSet::AddText(std::vector<std::string>& lines) const
{
    conditiontext::AddSetText(Conditions, lines);
}

void TQXP6ConditionSet::AddHeldValues(const std::string& name, THeldValues& values) const
{
    conditiontext::AddHeldConditions(Conditions, name, values);
}

void TQXP6ConditionSet::WriteRecord(std::ostream& stream)
{
    conditiontext::WriteSetLine(conditiontext::SetLineBuffer(GetQuoteStrings()), stream, KindTag(SetKind), Conditions);
}

void TQXP6ConditionSet::ReadRecord(std::istream& stream)
{
    conditiontext::ReadSetLine(conditiontext::SetLineBuffer(GetQuoteStrings()), stream, Conditions);
}

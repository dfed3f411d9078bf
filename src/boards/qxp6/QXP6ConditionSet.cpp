#include "boards/qxp6/QXP6ConditionSet.h"

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
const std::string kIndent(10, ' ');
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
    size_t shown = 0;
    while (shown < Conditions.size() && !Conditions[shown].IsEmpty()) ++shown;
    if (shown == 0) {
        lines.push_back(kIndent + "(No conditions assigned)");
        return;
    }
    std::string line = kIndent;
    for (size_t i = 0; i < shown; ++i) {
        line += Conditions[i].Text();
        if (!Conditions[i].AndNext || i + 1 == shown) {
            lines.push_back(line);
            line = kIndent;
        } else {
            line += ' ';
        }
    }
}

void TQXP6ConditionSet::WriteRecord(std::ostream& stream)
{
    ClearFields();
    // Fields 0 and 1 stay empty.
    SetText(2, KindTag(SetKind));
    SetText(3, std::to_string(Count()));
    for (int i = 0; i < Count(); ++i) SetText(static_cast<size_t>(4 + i), Conditions[static_cast<size_t>(i)].Token());
    WriteLine(stream);
}

void TQXP6ConditionSet::ReadRecord(std::istream& stream)
{
    ReadLine(stream);
    // The tag in field 2 is not checked: a board's lines follow in a fixed order.
    const int count = std::clamp(GetNumber(3), 0, Count());
    for (int i = 0; i < count; ++i) Conditions[static_cast<size_t>(i)].ParseToken(GetText(static_cast<size_t>(4 + i)));
}

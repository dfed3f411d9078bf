#include "boards/orb/Condition.h"

#include "boards/orb/ConditionText.h"

#include <algorithm>

static_assert(edtPoint == conditiontext::kPoint && edtSensor == conditiontext::kSensor &&
              edtSignal == conditiontext::kSignal && edtZone == conditiontext::kZone);

namespace {

const char* const kZoneTexts[TCondition::kZoneStateCount] = {"Rev Zone A running W-E", "Rev Zone A running E-W",
                                                             "Rev Zone B running W-E", "Rev Zone B running E-W",
                                                             "Rev Zone C running W-E", "Rev Zone C running E-W"};
const char* const kZoneWords[TCondition::kZoneStateCount] = {"AWE", "AEW", "BWE", "BEW", "CWE", "CEW"};

struct TSetKindInfo {
    const char* Name;
    const char* Tag;
    uint32_t Capacity;
};
const TSetKindInfo kSetKinds[kConditionSetKindCount] = {
    {"Block Occupancy Conditions", "Cond_Block:", 3},
    {"Red Conditions For Block Signal", "Cond_Red_Norm:", 14},
    {"Red Conditions for Diverging Junction", "Cond_redDiverge:", 5},
    {"Isolation Zone Override Conditions", "Cond_Isol_Override:", 3},
    {"Auxiliary Conditions", "Cond_Aux:", 2},
    {"Reverse Zone Direction Conditions", "Cond_Rev_Direction:", 8},
    {"Reverse Zone Freeze Conditions", "Cond_Rev_Freeze:", 6},
    {"Reverse Zone Shunt Conditions", "Cond_Rev_Shunt:", 3},
};

} // namespace

TDeviceKey TCondition::Key() const
{
    return conditiontext::DeviceKey<TDeviceKey>(*this);
}

std::string TCondition::Text() const
{
    std::string text;
    switch (DeviceType) {
    case edtNone: return "(No Condition)";
    case edtPoint:
    case edtSensor:
    case edtSignal: text = conditiontext::DeviceText(DeviceType, Number, Offset, State); break;
    case edtZone: text = State < kZoneStateCount ? kZoneTexts[State] : "Rev Zone (invalid state)"; break;
    default: return "(Unknown Condition)";
    }
    if (AndNext) text += ", AND";
    return text;
}

std::string TCondition::Token() const
{
    std::string token;
    switch (DeviceType) {
    case edtPoint:
    case edtSensor:
    case edtSignal: token = conditiontext::DeviceToken(DeviceType, Number, Offset, State); break;
    case edtZone:
        if (State >= kZoneStateCount) return "Unused";
        token = std::string("ZN ") + kZoneWords[State];
        break;
    default: return "Unused";
    }
    if (AndNext) token += "+";
    return token;
}

bool TCondition::ParseToken(std::string_view token)
{
    const conditiontext::TTokenWords words = conditiontext::FindTokenWords(token);
    const int type = conditiontext::TokenDeviceType(words, true);
    if (type < 0) {
        DeviceType = edtNone;
        return true;
    }
    DeviceType = static_cast<uint8_t>(type);
    if (type == edtNone) return false;

    if (type != edtZone) Number = conditiontext::TokenNumber(token);
    if (type == edtSensor) Offset = conditiontext::TokenOffset(token);
    conditiontext::TokenState(words, DeviceType, true, State);
    if (token.find('+') != std::string_view::npos) AndNext = 1;
    return false;
}

bool TCondition::GetSVByte(const TExtDevTable& table, uint8_t& byte) const
{
    byte = 0;
    const uint8_t andBit = AndNext ? 128 : 0;
    switch (DeviceType) {
    case edtNone: return true;
    case edtZone:
        if (State >= kZoneStateCount) return false;
        byte = static_cast<uint8_t>(121 + State + andBit);
        return true;
    case edtPoint:
    case edtSensor:
    case edtSignal: {
        const uint32_t entry = table.Find(Key());
        if (entry == 0) return false;
        byte = static_cast<uint8_t>(entry + (State != 0 ? 60 : 0) + andBit);
        return true;
    }
    default: return false;
    }
}

bool TCondition::FromSVByte(uint8_t byte, const TExtDevTable& table)
{
    Clear();
    const bool andNext = byte >= 128;
    uint32_t rest = andNext ? byte - 128u : byte;
    if (rest >= 121) {
        // 127 would be a seventh zone state, which no board knows: not a condition.
        if (rest - 121 >= kZoneStateCount) return false;
        SetZone(static_cast<uint8_t>(rest - 121), andNext);
        return true;
    }
    if (rest == 0) return true; // no condition, whatever bit 7 says
    uint8_t state = 0;
    if (rest > 60) {
        state = 1;
        rest -= 60;
    }
    const TDeviceKey entry = table.Entry(rest);
    switch (entry.DeviceType) {
    case edtPoint: SetPoint(entry.Number, state, andNext); return true;
    case edtSensor: SetSensor(entry.Number, entry.Offset, state, andNext); return true;
    case edtSignal: SetSignal(entry.Number, state, andNext); return true;
    default: return false;
    }
}

// ---------------------------------------------------------------------------------------------

TConditionSet::TConditionSet(uint8_t kind, const TConditionSet* source)
    : Kind(kind < kConditionSetKindCount ? kind : static_cast<uint8_t>(ecsBlock)), Conditions(KindCapacity(Kind))
{
    SetQuoteStrings(true);
    if (source) {
        const size_t n = std::min(Conditions.size(), source->Conditions.size());
        std::copy_n(source->Conditions.begin(), n, Conditions.begin());
    }
}

const char* TConditionSet::KindName(uint8_t kind)
{
    return kind < kConditionSetKindCount ? kSetKinds[kind].Name : "";
}

const char* TConditionSet::KindTag(uint8_t kind)
{
    return kind < kConditionSetKindCount ? kSetKinds[kind].Tag : "";
}

uint32_t TConditionSet::KindCapacity(uint8_t kind)
{
    return kind < kConditionSetKindCount ? kSetKinds[kind].Capacity : 0;
}

void TConditionSet::InsertAt(uint32_t index, const TCondition& condition)
{
    if (index >= Conditions.size()) return;
    for (size_t i = Conditions.size() - 1; i > index; --i) Conditions[i] = Conditions[i - 1];
    Conditions[index] = condition;
}

void TConditionSet::DeleteAt(uint32_t index)
{
    if (index >= Conditions.size()) return;
    for (size_t i = index; i + 1 < Conditions.size(); ++i) Conditions[i] = Conditions[i + 1];
    Conditions.back().Clear();
}

void TConditionSet::Clear()
{
    for (auto& c : Conditions) c.Clear();
}

bool TConditionSet::GatherDevices(TExtDevTable& table) const
{
    bool ok = true;
    for (const auto& c : Conditions) {
        const TDeviceKey key = c.Key();
        if (key.DeviceType != edtNone && !table.Add(key)) ok = false;
    }
    return ok;
}

bool TConditionSet::ToSVBytes(uint8_t* dest, const TExtDevTable& table) const
{
    bool ok = true;
    for (size_t i = 0; i < Conditions.size(); ++i) {
        if (!Conditions[i].GetSVByte(table, dest[i])) ok = false;
    }
    return ok;
}

bool TConditionSet::FromSVBytes(const uint8_t* source, const TExtDevTable& table)
{
    bool ok = true;
    for (size_t i = 0; i < Conditions.size(); ++i) {
        if (!Conditions[i].FromSVByte(source[i], table)) ok = false;
    }
    return ok;
}

void TConditionSet::AddText(std::vector<std::string>& lines) const
{
    conditiontext::AddSetText(Conditions, lines);
}

void TConditionSet::AddHeldValues(const std::string& name, THeldValues& values) const
{
    conditiontext::AddHeldConditions(Conditions, name, values);
}

void TConditionSet::WriteRecord(std::ostream& stream)
{
    conditiontext::WriteSetLine(conditiontext::SetLineBuffer(GetQuoteStrings()), stream, KindTag(Kind), Conditions);
}

void TConditionSet::ReadRecord(std::istream& stream)
{
    conditiontext::ReadSetLine(conditiontext::SetLineBuffer(GetQuoteStrings()), stream, Conditions);
}

#include "boards/qxp6/QXP6Condition.h"

#include "boards/orb/ConditionText.h"

static_assert(eQXP6Point == conditiontext::kPoint && eQXP6Sensor == conditiontext::kSensor &&
              eQXP6Signal == conditiontext::kSignal);

TQXP6DeviceKey TQXP6Condition::Key() const
{
    return conditiontext::DeviceKey<TQXP6DeviceKey>(*this);
}

std::string TQXP6Condition::Text() const
{
    std::string text = conditiontext::DeviceText(DeviceType, Number, Offset, State);
    if (text.empty()) return "(No Condition)";
    if (AndNext) text += ", AND";
    return text;
}

std::string TQXP6Condition::Token() const
{
    std::string token = conditiontext::DeviceToken(DeviceType, Number, Offset, State);
    if (token.empty()) return "Unused";
    if (AndNext) token += "+";
    return token;
}

bool TQXP6Condition::ParseToken(std::string_view token)
{
    Clear();
    const conditiontext::TTokenWords words = conditiontext::FindTokenWords(token);
    const int type = conditiontext::TokenDeviceType(words, false);
    if (type < 0) return true;
    DeviceType = static_cast<uint8_t>(type);
    if (DeviceType == eQXP6None) return false;

    Number = conditiontext::TokenNumber(token);
    if (DeviceType == eQXP6Sensor) Offset = conditiontext::TokenOffset(token);
    conditiontext::TokenState(words, DeviceType, false, State);
    if (token.find('+') != std::string_view::npos) AndNext = true;
    return false;
}

bool TQXP6Condition::SVByte(const TQXP6ExtDevTable& table, uint8_t& byte) const
{
    byte = 0;
    if (IsEmpty()) return true;
    const int index = table.DeviceIndex(Key());
    const int andBit = AndNext ? 128 : 0;
    if (index == 0) {
        byte = static_cast<uint8_t>(andBit);
        return false;
    }
    byte = static_cast<uint8_t>(index + (State == 1 ? 60 : 0) + andBit);
    return true;
}

bool TQXP6Condition::FromSVByte(uint8_t byte, const TQXP6ExtDevTable& table)
{
    Clear();
    int rest = byte;
    if (rest >= 128) {
        AndNext = true;
        rest -= 128;
    }
    if (rest == 0) return true;
    if (rest > 60) {
        State = 1;
        rest -= 60;
    }
    const TQXP6DeviceKey key = table.DeviceAt(rest);
    if (key.IsFree()) {
        State = 0;
        return false;
    }
    DeviceType = key.DeviceType;
    Number = key.Number;
    Offset = key.DeviceType == eQXP6Sensor ? key.Offset : 0;
    return true;
}

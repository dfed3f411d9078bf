#include "boards/qxp6/QXP6Condition.h"

namespace {

const char* const kStateWords[6] = {"TH", "CL", "OC", "UN", "RD", "NR"};

} // namespace

void TQXP6Condition::SetPoint(uint32_t number, uint8_t state, bool andNext)
{
    *this = TQXP6Condition{eQXP6Point, number, 0, state, andNext};
}

void TQXP6Condition::SetSensor(uint32_t number, uint32_t offset, uint8_t state, bool andNext)
{
    *this = TQXP6Condition{eQXP6Sensor, number, offset, state, andNext};
}

void TQXP6Condition::SetSignal(uint32_t number, uint8_t state, bool andNext)
{
    *this = TQXP6Condition{eQXP6Signal, number, 0, state, andNext};
}

TQXP6DeviceKey TQXP6Condition::Key() const
{
    TQXP6DeviceKey key;
    switch (DeviceType) {
    case eQXP6Point:
    case eQXP6Signal:
        key.DeviceType = DeviceType;
        key.Number = Number;
        break;
    case eQXP6Sensor:
        key.DeviceType = DeviceType;
        key.Number = Number;
        key.Offset = Offset;
        break;
    default: break;
    }
    return key;
}

std::string TQXP6Condition::Text() const
{
    std::string text;
    switch (DeviceType) {
    case eQXP6Point: text = "Point " + std::to_string(Number) + (State == 0 ? " is Thrown" : " is Closed"); break;
    case eQXP6Sensor:
        text = "Sensor " + std::to_string(Number) + "," + std::to_string(Offset) +
               (State == 0 ? " is Occupied" : " is Unoccupied");
        break;
    case eQXP6Signal: text = "Signal " + std::to_string(Number) + (State == 0 ? " is Red" : " is not Red"); break;
    default: return "(No Condition)";
    }
    if (AndNext) text += ", AND";
    return text;
}

std::string TQXP6Condition::Token() const
{
    std::string token;
    switch (DeviceType) {
    case eQXP6Point: token = "PT " + std::to_string(Number) + (State == 0 ? " TH" : " CL"); break;
    case eQXP6Sensor:
        token = "SE " + std::to_string(Number) + ":" + std::to_string(Offset) + (State == 0 ? " OC" : " UN");
        break;
    case eQXP6Signal: token = "SG " + std::to_string(Number) + (State == 0 ? " RD" : " NR"); break;
    default: return "Unused";
    }
    if (AndNext) token += "+";
    return token;
}

bool TQXP6Condition::ParseToken(const std::string& token)
{
    Clear();
    static const char* const kDeviceWords[4] = {"Unused", "PT", "SE", "SG"};
    int type = -1;
    for (int i = 0; i < 4; ++i) {
        if (token.find(kDeviceWords[i]) != std::string::npos) {
            type = i;
            break;
        }
    }
    if (type < 0) return true;
    DeviceType = static_cast<uint8_t>(type);
    if (DeviceType == eQXP6None) return false;

    const std::string rest = token.size() > 3 ? token.substr(3) : std::string();
    const std::string numberText = rest.substr(0, rest.find(' '));
    if (DeviceType == eQXP6Sensor) {
        const size_t colon = numberText.find(':');
        Number = static_cast<uint32_t>(LeadingNumber(numberText.substr(0, colon)));
        Offset = colon == std::string::npos ? 0 : static_cast<uint32_t>(LeadingNumber(numberText.substr(colon + 1)));
    } else {
        Number = static_cast<uint32_t>(LeadingNumber(numberText));
    }

    for (int p = 0; p < 6; ++p) {
        if (token.find(kStateWords[p]) != std::string::npos) {
            // Accepted only when the word belongs to the device type.
            if (p / 2 + 1 == DeviceType) State = static_cast<uint8_t>(p % 2);
            break;
        }
    }
    if (token.find('+') != std::string::npos) AndNext = true;
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

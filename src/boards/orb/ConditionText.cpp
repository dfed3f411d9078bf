#include "boards/orb/ConditionText.h"

namespace conditiontext {

namespace {

// State words in the order a token is searched for them: two for each of point, sensor and
// signal, then the six zone states.
const char* const kStateWords[12] = {"TH", "CL", "OC", "UN", "RD", "NR", "AWE", "AEW", "BWE", "BEW", "CWE", "CEW"};
const char* const kTypeWords[5] = {"Unused", "PT", "SE", "SG", "ZN"};

// "3:5" of "SE 3:5 OC".
std::string NumberText(const std::string& token)
{
    const std::string rest = token.size() > 3 ? token.substr(3) : std::string();
    return rest.substr(0, rest.find(' '));
}

} // namespace

std::string DeviceText(uint8_t deviceType, uint32_t number, uint32_t offset, uint8_t state)
{
    switch (deviceType) {
    case kPoint: return "Point " + std::to_string(number) + (state == 0 ? " is Thrown" : " is Closed");
    case kSensor:
        return "Sensor " + std::to_string(number) + "," + std::to_string(offset) +
               (state == 0 ? " is Occupied" : " is Unoccupied");
    case kSignal: return "Signal " + std::to_string(number) + (state == 0 ? " is Red" : " is not Red");
    default: return "";
    }
}

std::string DeviceToken(uint8_t deviceType, uint32_t number, uint32_t offset, uint8_t state)
{
    switch (deviceType) {
    case kPoint: return "PT " + std::to_string(number) + (state == 0 ? " TH" : " CL");
    case kSensor: return "SE " + std::to_string(number) + ":" + std::to_string(offset) + (state == 0 ? " OC" : " UN");
    case kSignal: return "SG " + std::to_string(number) + (state == 0 ? " RD" : " NR");
    default: return "";
    }
}

int TokenDeviceType(const std::string& token, bool withZones)
{
    const int words = withZones ? 5 : 4;
    for (int type = 0; type < words; ++type) {
        if (token.find(kTypeWords[type]) != std::string::npos) return type;
    }
    return -1;
}

uint32_t TokenNumber(const std::string& token)
{
    const std::string text = NumberText(token);
    return static_cast<uint32_t>(LeadingNumber(text.substr(0, text.find(':'))));
}

uint32_t TokenOffset(const std::string& token)
{
    const std::string text = NumberText(token);
    const size_t colon = text.find(':');
    return colon == std::string::npos ? 0 : static_cast<uint32_t>(LeadingNumber(text.substr(colon + 1)));
}

bool TokenState(const std::string& token, uint8_t deviceType, bool withZones, uint8_t& state)
{
    const int words = withZones ? 12 : 6;
    for (int p = 0; p < words; ++p) {
        if (token.find(kStateWords[p]) == std::string::npos) continue;
        const uint8_t owner = p < 6 ? static_cast<uint8_t>(p / 2 + 1) : kZone;
        if (owner != deviceType) return false;
        state = static_cast<uint8_t>(p < 6 ? p % 2 : p - 6);
        return true;
    }
    return false;
}

} // namespace conditiontext

#include "boards/orb/ConditionText.h"

#include <array>
#include <bit>

namespace conditiontext {

namespace {

// The words a token is searched for, as bits of TTokenWords::Found: the device types, then the
// states in the order a token is searched for them: two for each of point, sensor and signal,
// then the six zone states.
constexpr uint32_t kUnused = 1u << 0, kPT = 1u << 1, kSE = 1u << 2, kSG = 1u << 3, kZN = 1u << 4;
constexpr uint32_t kTH = 1u << 5, kCL = 1u << 6, kOC = 1u << 7, kUN = 1u << 8, kRD = 1u << 9, kNR = 1u << 10;
constexpr uint32_t kAWE = 1u << 11, kAEW = 1u << 12, kBWE = 1u << 13, kBEW = 1u << 14, kCWE = 1u << 15,
                   kCEW = 1u << 16;
constexpr int kTypeWordCount = 5;
// The characters the words begin with.
constexpr std::array<bool, 256> kBeginsWord = [] {
    std::array<bool, 256> begins{};
    for (const unsigned char c : std::string_view("UPSZTORNABC")) begins[c] = true;
    return begins;
}();

// The first of the first `count` words found (in their order); -1 when none is.
int FirstFound(uint32_t found, int count)
{
    found &= (1u << count) - 1;
    return found == 0 ? -1 : std::countr_zero(found);
}

// The part of a token before the first `stop` character (all of it without one). Tokens are a
// few characters long: a plain loop beats a library search here too.
std::string_view Before(std::string_view token, char stop)
{
    size_t end = 0;
    while (end < token.size() && token[end] != stop) ++end;
    return token.substr(0, end);
}

// "3:5" of "SE 3:5 OC".
std::string_view NumberText(std::string_view token)
{
    return token.size() > 3 ? Before(token.substr(3), ' ') : std::string_view();
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

// Every condition token of a board file is searched for all seventeen words while the file
// loads, so this looks at each character once: a word is found at the character it begins with.
TTokenWords FindTokenWords(std::string_view token)
{
    uint32_t found = 0;
    const size_t n = token.size();
    for (size_t i = 0; i + 1 < n; ++i) {
        if (!kBeginsWord[static_cast<unsigned char>(token[i])]) continue; // most characters
        const char b = token[i + 1];
        const char c = i + 2 < n ? token[i + 2] : '\0';
        switch (token[i]) {
        case 'U':
            if (b == 'N') found |= kUN;
            else if (token.substr(i, 6) == "Unused") found |= kUnused;
            break;
        case 'P': found |= b == 'T' ? kPT : 0u; break;
        case 'S': found |= b == 'E' ? kSE : b == 'G' ? kSG : 0u; break;
        case 'Z': found |= b == 'N' ? kZN : 0u; break;
        case 'T': found |= b == 'H' ? kTH : 0u; break;
        case 'O': found |= b == 'C' ? kOC : 0u; break;
        case 'R': found |= b == 'D' ? kRD : 0u; break;
        case 'N': found |= b == 'R' ? kNR : 0u; break;
        case 'A': found |= b == 'W' && c == 'E' ? kAWE : b == 'E' && c == 'W' ? kAEW : 0u; break;
        case 'B': found |= b == 'W' && c == 'E' ? kBWE : b == 'E' && c == 'W' ? kBEW : 0u; break;
        case 'C': found |= b == 'L' ? kCL : b == 'W' && c == 'E' ? kCWE : b == 'E' && c == 'W' ? kCEW : 0u; break;
        default: break;
        }
    }
    return {found};
}

int TokenDeviceType(TTokenWords words, bool withZones)
{
    return FirstFound(words.Found, withZones ? 5 : 4);
}

uint32_t TokenNumber(std::string_view token)
{
    return static_cast<uint32_t>(LeadingNumber(Before(NumberText(token), ':')));
}

uint32_t TokenOffset(std::string_view token)
{
    const std::string_view text = NumberText(token);
    const size_t colon = Before(text, ':').size();
    return colon == text.size() ? 0 : static_cast<uint32_t>(LeadingNumber(text.substr(colon + 1)));
}

bool TokenState(TTokenWords words, uint8_t deviceType, bool withZones, uint8_t& state)
{
    const int p = FirstFound(words.Found >> kTypeWordCount, withZones ? 12 : 6);
    if (p < 0) return false;
    const uint8_t owner = p < 6 ? static_cast<uint8_t>(p / 2 + 1) : kZone;
    if (owner != deviceType) return false;
    state = static_cast<uint8_t>(p < 6 ? p % 2 : p - 6);
    return true;
}

} // namespace conditiontext

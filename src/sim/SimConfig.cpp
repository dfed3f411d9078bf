#include "sim/SimConfig.h"

#include "boards/BoardTypes.h"

#include <cctype>
#include <charconv>

namespace {

std::string_view Trim(std::string_view s)
{
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front()))) s.remove_prefix(1);
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back()))) s.remove_suffix(1);
    return s;
}

// The items of a list separated by `separator`, trimmed; empty items are left out.
std::vector<std::string_view> SplitList(std::string_view text, char separator)
{
    std::vector<std::string_view> items;
    size_t pos = 0;
    while (pos <= text.size()) {
        size_t end = text.find(separator, pos);
        if (end == std::string_view::npos) end = text.size();
        std::string_view item = Trim(text.substr(pos, end - pos));
        pos = end + 1;
        if (!item.empty()) items.push_back(item);
    }
    return items;
}

std::string Upper(std::string_view s)
{
    std::string out(s);
    for (auto& c : out) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return out;
}

bool ParseUnsigned(std::string_view text, uint64_t max, uint64_t& value)
{
    if (text.empty()) return false;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc() && end == text.data() + text.size() && value <= max;
}

bool ParseProbability(std::string_view text, double& value)
{
    if (text.empty()) return false;
    for (char c : text) {
        if (!std::isdigit(static_cast<unsigned char>(c)) && c != '.') return false;
    }
    // from_chars, not strtod: the decimal point is '.' in every locale (strtod follows the C
    // library's locale, which a program may set to one with a decimal comma).
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc() && end == text.data() + text.size() && value >= 0.0 && value <= 1.0;
}

bool ParseBoard(std::string_view text, TSimBoardEntry& entry, std::string& error)
{
    auto at = text.find('@');
    if (at == std::string_view::npos) {
        error = "board '" + std::string(text) + "' must be TYPE@SERIAL, for example ORB4@1000";
        return false;
    }
    std::string tag = Upper(Trim(text.substr(0, at)));
    entry.TypeIndex = -1;
    for (int type = 0; type < kBoardTypeCount; ++type) {
        if (tag == BoardTypeTag(type)) entry.TypeIndex = type;
    }
    if (entry.TypeIndex < 0) {
        error = "unknown board type '" + tag + "' (ORB4, KPX9, ORB8, RVN2 or QXP6)";
        return false;
    }
    std::string_view rest = Trim(text.substr(at + 1));
    std::string_view serialText = rest.substr(0, rest.find('/'));
    uint64_t serial = 0;
    if (!ParseUnsigned(Trim(serialText), 65535, serial) || serial == 0) {
        error = "bad serial number '" + std::string(serialText) + "' (1 to 65535)";
        return false;
    }
    entry.Serial = static_cast<uint16_t>(serial);
    entry.Firmware = 1;
    if (serialText.size() < rest.size()) {
        std::string fw = Upper(Trim(rest.substr(serialText.size() + 1)));
        uint64_t version = 0;
        if (fw.rfind("FW", 0) != 0 || !ParseUnsigned(std::string_view(fw).substr(2), 255, version)) {
            error = "bad firmware '" + fw + "' (fwN, N from 0 to 255)";
            return false;
        }
        entry.Firmware = static_cast<uint8_t>(version);
    }
    return true;
}

} // namespace

std::vector<TSimBoardEntry> TSimConfig::DefaultBoards()
{
    std::vector<TSimBoardEntry> boards;
    for (int type = 0; type < kBoardTypeCount; ++type) boards.push_back({type, static_cast<uint16_t>(1001 + type), 1});
    return boards;
}

bool ParseSimOptions(std::string_view options, TSimConfig& config, std::string& error)
{
    TSimConfig result = config;
    for (std::string_view item : SplitList(options, ';')) {
        auto eq = item.find('=');
        if (eq == std::string_view::npos) {
            error = "simulated LocoNet: option '" + std::string(item) + "' needs a value (NAME=VALUE)";
            return false;
        }
        std::string name(Trim(item.substr(0, eq)));
        std::string_view value = Trim(item.substr(eq + 1));
        std::string bad;
        if (name == "boards") {
            result.Boards.clear();
            for (std::string_view one : SplitList(value, ',')) {
                TSimBoardEntry entry;
                if (!ParseBoard(one, entry, bad)) break;
                result.Boards.push_back(entry);
            }
        } else if (name == "traffic" || name == "pace") {
            std::string v = Upper(value);
            bool on = name == "traffic" ? v == "ON" : v == "REAL";
            if (!on && v != "OFF")
                bad = "value '" + std::string(value) + "' must be " + (name == "traffic" ? "on or off" : "real or off");
            (name == "traffic" ? result.Traffic : result.PaceReal) = on;
        } else if (name == "drop" || name == "corrupt" || name == "junk") {
            double p = 0;
            if (!ParseProbability(value, p)) bad = "probability '" + std::string(value) + "' must be from 0 to 1";
            (name == "drop" ? result.Drop : name == "corrupt" ? result.Corrupt : result.Junk) = p;
        } else if (name == "readback") {
            uint64_t sv = 0;
            if (!ParseUnsigned(value, 512, sv) || sv == 0)
                bad = "SV '" + std::string(value) + "' must be from 1 to 512";
            result.ReadbackSV = static_cast<uint32_t>(sv);
        } else if (name == "silent") {
            uint64_t serial = 0;
            if (!ParseUnsigned(value, 65535, serial) || serial == 0)
                bad = "serial number '" + std::string(value) + "' must be from 1 to 65535";
            result.SilentSerial = static_cast<uint32_t>(serial);
        } else if (name == "seed") {
            uint64_t seed = 0;
            if (!ParseUnsigned(value, UINT64_MAX, seed))
                bad = "seed '" + std::string(value) + "' must be a whole number";
            result.Seed = seed;
        } else {
            error = "simulated LocoNet: unknown option '" + name +
                    "' (boards, traffic, pace, drop, corrupt, junk, readback, silent, seed)";
            return false;
        }
        if (!bad.empty()) {
            error = "simulated LocoNet: " + name + ": " + bad;
            return false;
        }
    }
    config = result;
    return true;
}

bool ParseSimDeviceName(std::string_view deviceName, TSimConfig& config, std::string& error)
{
    error.clear();
    if (deviceName == "sim") {
        config = TSimConfig();
        return true;
    }
    if (deviceName.substr(0, 4) != "sim:") return false;
    TSimConfig fresh;
    if (!ParseSimOptions(deviceName.substr(4), fresh, error)) return false;
    config = fresh;
    return true;
}

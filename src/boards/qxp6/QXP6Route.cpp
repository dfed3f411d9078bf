#include "boards/qxp6/QXP6Route.h"

#include "boards/RouteEntry.h"

#include <algorithm>

namespace {
constexpr const char* kStateNames[3] = {"UNDEF", "Closed", "Thrown"};
} // namespace

std::string TQXP6Route::StateName(uint8_t state)
{
    return state < 3 ? kStateNames[state] : "UNDEF";
}

TQXP6Route::TQXP6Route()
{
    SetQuoteStrings(true);
    EntryAddress.fill(1);
}

uint32_t TQXP6Route::IsOwnPoint(uint32_t address) const
{
    const long long difference = static_cast<long long>(address) - static_cast<long long>(BaseAddress);
    return difference >= 0 && difference <= 7 ? static_cast<uint32_t>(difference + 1) : 0;
}

bool TQXP6Route::Fits() const
{
    uint32_t needed = 0;
    for (uint32_t i = 0; i < EntryCount && i < kMaxEntries; ++i) {
        if (EntryState[i] == eQXP6Undef) continue;
        needed += IsOwnPoint(EntryAddress[i]) > 0 ? 1 : 2;
    }
    return needed <= kBlockSize;
}

bool TQXP6Route::SetEntry(int index, uint32_t address, uint8_t state)
{
    if (index < 0 || index >= kMaxEntries) return false;
    if (EntryCount > kMaxEntries) EntryCount = kMaxEntries;
    auto i = static_cast<uint32_t>(index);
    if (i >= EntryCount && state != eQXP6Undef) {
        i = EntryCount;
        ++EntryCount;
    } else if (state == eQXP6Undef && EntryCount > 0 && i == EntryCount - 1) {
        --EntryCount;
    }
    EntryAddress[i] = address;
    EntryState[i] = state;
    return RemoveUndefinedEntries();
}

bool TQXP6Route::RemoveUndefinedEntries()
{
    if (EntryCount > kMaxEntries) EntryCount = kMaxEntries;
    bool removed = false;
    uint32_t i = 0;
    while (i < EntryCount) {
        if (EntryState[i] == eQXP6Undef) {
            for (uint32_t j = i; j + 1 < EntryCount; ++j) {
                EntryAddress[j] = EntryAddress[j + 1];
                EntryState[j] = EntryState[j + 1];
            }
            --EntryCount;
            removed = true;
        } else {
            ++i;
        }
    }
    return removed;
}

uint32_t TQXP6Route::GetEntryAddress(int index) const
{
    if (index < 0 || static_cast<uint32_t>(index) >= EntryCount || index >= kMaxEntries) return 1;
    return EntryAddress[static_cast<size_t>(index)];
}

uint8_t TQXP6Route::GetEntryState(int index) const
{
    if (index < 0 || static_cast<uint32_t>(index) >= EntryCount || index >= kMaxEntries) return eQXP6Undef;
    return EntryState[static_cast<size_t>(index)];
}

bool TQXP6Route::PackEntries(uint8_t* block) const
{
    std::fill(block, block + kBlockSize, uint8_t{0});
    uint32_t used = 0;
    auto put = [&](uint32_t value) {
        // Nothing is written outside the route's twelve bytes.
        if (used < kBlockSize) block[used] = static_cast<uint8_t>(value);
        ++used;
    };
    const uint32_t count = std::min<uint32_t>(EntryCount, kMaxEntries);
    for (uint32_t i = 0; i < count; ++i) {
        const bool thrown = EntryState[i] == eQXP6Thrown;
        const uint32_t own = IsOwnPoint(EntryAddress[i]);
        if (own > 0) {
            put(thrown ? own + 10 : own);
        } else {
            put((EntryAddress[i] >> 8) + (thrown ? 200 : 100));
            put(EntryAddress[i] & 0xFF);
        }
        if (used > kBlockSize) return false;
    }
    return true;
}

bool TQXP6Route::UnpackEntries(const uint8_t* block)
{
    bool ok = true;
    EntryCount = 0;
    EntryAddress.fill(1);
    EntryState.fill(eQXP6Undef);
    int pos = 0;
    while (pos < kBlockSize && block[pos] != 0) {
        uint32_t value = block[pos++];
        uint8_t state = eQXP6Closed;
        if (value >= 11 && value <= 18) {
            state = eQXP6Thrown;
            value -= 10;
        } else if (value >= 200) {
            state = eQXP6Thrown;
            value -= 100;
        }
        uint32_t address = 1;
        if (value >= 1 && value <= 8) {
            address = BaseAddress + value - 1;
        } else if (value >= 100) {
            if (pos < kBlockSize) {
                address = (value - 100) * 256 + block[pos++];
            } else {
                ok = false;
            }
        } else {
            // No entry is coded this way.
            ok = false;
        }
        if (address > 2048) {
            address = 1;
            ok = false;
        }
        EntryAddress[EntryCount] = address;
        EntryState[EntryCount] = state;
        ++EntryCount;
    }
    return ok;
}

bool TQXP6Route::ToSVBytes(uint8_t* svs, uint32_t blockSV, uint32_t triggerSV, const TQXP6ExtDevTable& table) const
{
    const bool fits = PackEntries(svs + blockSV - 1);
    const bool triggers = TriggerConditions.ToSVBytes(svs + triggerSV - 1, table);
    return fits && triggers;
}

void TQXP6Route::FromSVBytes(const uint8_t* svs, uint32_t blockSV, uint32_t triggerSV, const TQXP6ExtDevTable& table)
{
    UnpackEntries(svs + blockSV - 1);
    TriggerConditions.FromSVBytes(svs + triggerSV - 1, table);
}

std::string TQXP6Route::GetListLine() const
{
    std::string line = std::to_string(RouteNumber) + "\t";
    const uint32_t count = std::min<uint32_t>(EntryCount, kMaxEntries);
    if (count == 0) return line + "not defined.";
    line += "Points ";
    for (uint32_t i = 0; i < count; ++i)
        line += std::to_string(EntryAddress[i]) + StateName(EntryState[i]).substr(0, 1) + "; ";
    if (!Fits()) line += "!TOO MANY ENTRIES";
    return line;
}

std::string TQXP6Route::GetEditorLine(int line) const
{
    if (line < 1 || static_cast<uint32_t>(line) > EntryCount || line > kMaxEntries) return "not defined.";
    const auto i = static_cast<size_t>(line - 1);
    std::string text = "Point " + std::to_string(EntryAddress[i]) + " " + StateName(EntryState[i]);
    if (EntryState[i] != eQXP6Undef)
        text += IsOwnPoint(EntryAddress[i]) != 0 ? " (on this decoder) " : "  (not this decoder)";
    return text;
}

void TQXP6Route::AddDescription(std::vector<std::string>& lines) const
{
    const uint32_t count = std::min<uint32_t>(EntryCount, kMaxEntries);
    const std::string head = "  Route " + std::to_string(RouteNumber) + ":";
    if (count == 0) {
        lines.push_back(head + "not defined.");
        return;
    }
    lines.push_back(head);
    for (uint32_t i = 0; i < count; ++i)
        lines.push_back("      Point " + std::to_string(EntryAddress[i]) + " " + StateName(EntryState[i]) + "; ");
    lines.push_back("      conditions to trigger route:");
    TriggerConditions.AddText(lines);
}

void TQXP6Route::AddHeldValues(THeldValues& values) const
{
    const uint32_t count = std::min<uint32_t>(EntryCount, kMaxEntries);
    for (uint32_t i = 0; i < count; ++i)
        values.AddSplit("entry " + std::to_string(i + 1), "Point " + std::to_string(EntryAddress[i]),
                        " " + StateName(EntryState[i]));
    TriggerConditions.AddHeldValues("trigger set", values);
}

void TQXP6Route::SaveToStream(std::ostream& stream)
{
    ClearFields();
    SetText(1, "route_config");
    SetNumber(2, RouteNumber);
    SetNumber(3, EntryCount);
    SetNumber(4, BaseAddress);
    for (uint32_t i = 0; i < kMaxEntries; ++i) {
        // Like every number of the file, the address is written as the signed 32-bit value it
        // holds, which reads back as a whole number.
        const std::string entry = i < EntryCount ? std::to_string(static_cast<int32_t>(EntryAddress[i])) + " " +
                                                       StateName(EntryState[i])
                                                 : std::string("0");
        SetText(5 + i, entry);
    }
    WriteLine(stream);
    TriggerConditions.WriteRecord(stream);
}

void TQXP6Route::LoadFromStream(std::istream& stream)
{
    ReadLine(stream);
    RouteNumber = static_cast<uint32_t>(GetNumber(2));
    EntryCount = static_cast<uint32_t>(std::clamp(GetNumber(3), 0, kMaxEntries));
    BaseAddress = static_cast<uint32_t>(GetNumber(4));
    EntryAddress.fill(1);
    EntryState.fill(eQXP6Undef);
    LoadErrorText.clear();
    for (uint32_t i = 0; i < EntryCount; ++i) {
        const TRouteEntryField entry = ReadRouteEntryField(GetText(5 + i), RouteNumber, i + 1);
        if (LoadErrorText.empty()) LoadErrorText = entry.Error;
        EntryAddress[i] = entry.Address;
        EntryState[i] = entry.State;
    }
    TriggerConditions.ReadRecord(stream);
}

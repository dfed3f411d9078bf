#include "boards/kpx9/KPX9Route.h"

#include "boards/RouteEntry.h"

#include <algorithm>

namespace {

std::string Num(uint32_t value)
{
    return std::to_string(value);
}

constexpr uint32_t kMaxPointAddress = 2048;

} // namespace

std::string KPX9StateName(uint32_t state)
{
    switch (state) {
    case eKPX9Closed: return "Closed";
    case eKPX9Thrown: return "Thrown";
    default: return "UNDEF";
    }
}

TKPX9Route::TKPX9Route() : TKPX9Route(0) {}

TKPX9Route::TKPX9Route(uint32_t routeNumber) : RouteNumber(routeNumber)
{
    SetQuoteStrings(true);
    EntryAddress.fill(1);
    EntryState.fill(eKPX9Undef);
}

uint32_t TKPX9Route::Capacity() const
{
    uint32_t capacity = ToFrom ? 10 : 12;
    if (Cascade) --capacity;
    return capacity;
}

bool TKPX9Route::Fits(const TKPX9Cells& cells) const
{
    uint32_t count = 0;
    const uint32_t entries = std::min(EntryCount, kKPX9RouteEntries);
    for (uint32_t i = 0; i < entries; ++i) {
        if (EntryState[i] == eKPX9Undef) continue;
        count += FindPointCell(EntryAddress[i], cells) > 0 ? 1 : 2;
    }
    return count <= Capacity();
}

bool TKPX9Route::SetEntry(uint32_t index, uint32_t address, uint8_t state)
{
    if (index >= kKPX9RouteEntries) return false;
    if (index >= EntryCount && state != eKPX9Undef) {
        index = EntryCount;
        ++EntryCount;
    } else if (state == eKPX9Undef && EntryCount > 0 && index == EntryCount - 1) {
        --EntryCount;
    }
    EntryAddress[index] = address;
    EntryState[index] = state;
    return RemoveUndefinedEntries();
}

bool TKPX9Route::RemoveUndefinedEntries()
{
    EntryCount = std::min(EntryCount, kKPX9RouteEntries);
    bool removed = false;
    uint32_t i = 0;
    while (i < EntryCount) {
        if (EntryState[i] != eKPX9Undef) {
            ++i;
            continue;
        }
        for (uint32_t j = i + 1; j < EntryCount; ++j) {
            EntryAddress[j - 1] = EntryAddress[j];
            EntryState[j - 1] = EntryState[j];
        }
        --EntryCount;
        removed = true;
    }
    return removed;
}

uint32_t TKPX9Route::GetEntryAddress(uint32_t index) const
{
    return index < EntryCount && index < kKPX9RouteEntries ? EntryAddress[index] : 1;
}

uint8_t TKPX9Route::GetEntryState(uint32_t index) const
{
    return index < EntryCount && index < kKPX9RouteEntries ? EntryState[index] : uint8_t{eKPX9Undef};
}

std::string TKPX9Route::GetListLine(const TKPX9Cells& cells) const
{
    std::string line = "Route " + Num(RouteNumber) + ":";
    const uint32_t entries = std::min(EntryCount, kKPX9RouteEntries);
    if (entries == 0) return line + "not defined.";
    line += "Points ";
    for (uint32_t i = 0; i < entries; ++i) {
        line += Num(EntryAddress[i]) + KPX9StateName(EntryState[i]).substr(0, 1) + "; ";
    }
    if (Cascade) line += "; then cascade route " + Num(CascadeRoute);
    if (!Fits(cells)) line += "!TOO MANY ENTRIES";
    return line;
}

std::string TKPX9Route::GetEditorLine(uint32_t i, const TKPX9Cells& cells) const
{
    if (i < 1 || i > EntryCount || i > kKPX9RouteEntries) return "not defined.";
    const uint32_t address = EntryAddress[i - 1];
    const uint8_t state = EntryState[i - 1];
    std::string line = "Point " + Num(address) + " " + KPX9StateName(state);
    if (state != eKPX9Undef) {
        const uint32_t cell = FindPointCell(address, cells);
        line += cell > 0 ? " (Cell " + Num(cell) + ")" : std::string("  (no cell)");
    }
    return line;
}

void TKPX9Route::GetDescriptionLines(std::vector<std::string>& lines) const
{
    const uint32_t entries = std::min(EntryCount, kKPX9RouteEntries);
    if (entries == 0) {
        lines.push_back("  Route " + Num(RouteNumber) + ":not defined.");
        return;
    }
    lines.push_back("  Route " + Num(RouteNumber) + ":");
    for (uint32_t i = 0; i < entries; ++i) {
        lines.push_back("      Point " + Num(EntryAddress[i]) + " " + KPX9StateName(EntryState[i]) + "; ");
    }
    if (Cascade) lines.push_back("      then invoke route " + Num(CascadeRoute));
}

void TKPX9Route::AddHeldValues(THeldValues& values) const
{
    if (ToFrom) {
        values.Add("From Button", FromButton);
        values.Add("To Button", ToButton);
    }
    const uint32_t entries = std::min(EntryCount, kKPX9RouteEntries);
    for (uint32_t i = 0; i < entries; ++i)
        values.AddSplit("entry " + Num(i + 1), "Point " + Num(EntryAddress[i]), " " + KPX9StateName(EntryState[i]));
    values.Add("Cascade", Cascade ? "route " + Num(CascadeRoute) : std::string("none"));
}

std::string TKPX9Route::EntryField(uint32_t index) const
{
    // Like every number of the file, the address is written as the signed 32-bit value it holds.
    return std::to_string(static_cast<int32_t>(EntryAddress[index])) + " " + KPX9StateName(EntryState[index]);
}

// Fields of a route line: 1 tag, 2 route number, 3 from button, 4 to button, 5 entry count,
// 6..16 entries 1..11, 17 cascade route (0 without cascade).
//
// The twelfth entry has no field among those, so it is written into field 18, after the cascade
// field, and only when the route has twelve entries. A route of up to eleven entries therefore
// writes exactly fields 0..17, and a reader that knows nothing of field 18 still finds the
// cascade in field 17. When reading a twelve-entry route, entry 12 comes from field 18 when the
// line has it; a line without it (an older file) takes entry 12 from field 17, as before.
constexpr size_t kFirstEntryField = 6;
constexpr size_t kCascadeField = 17;
constexpr size_t kTwelfthEntryField = 18;

void TKPX9Route::SaveToStream(std::ostream& stream)
{
    ClearFields();
    SetText(1, "route_config");
    SetNumber(2, RouteNumber);
    SetNumber(3, FromButton);
    SetNumber(4, ToButton);
    const uint32_t entries = std::min(EntryCount, kKPX9RouteEntries);
    SetNumber(5, entries);
    for (uint32_t i = 0; i < kKPX9RouteEntries - 1; ++i) {
        SetText(kFirstEntryField + i, i < entries ? EntryField(i) : std::string("0"));
    }
    SetNumber(kCascadeField, Cascade ? CascadeRoute : 0);
    if (entries == kKPX9RouteEntries) SetText(kTwelfthEntryField, EntryField(kKPX9RouteEntries - 1));
    WriteLine(stream);
}

bool TKPX9Route::ReadEntry(uint32_t index, size_t field)
{
    const TRouteEntryField entry = ReadRouteEntryField(GetText(field), RouteNumber, index + 1);
    if (LoadErrorText.empty()) LoadErrorText = entry.Error;
    EntryAddress[index] = entry.Address;
    EntryState[index] = entry.State;
    return entry.Error.empty();
}

bool TKPX9Route::LoadFromStream(std::istream& stream)
{
    ReadLine(stream);
    LoadErrorText.clear();
    EntryAddress.fill(1);
    EntryState.fill(eKPX9Undef);
    // The route number in field 2 is informative: a route keeps the number the board gave it.
    FromButton = static_cast<uint32_t>(GetNumber(3));
    ToButton = static_cast<uint32_t>(GetNumber(4));
    const int count = GetNumber(5);
    EntryCount = count < 0 ? 0 : std::min(static_cast<uint32_t>(count), kKPX9RouteEntries);
    const bool hasTwelfthField = FieldCount() > kTwelfthEntryField;
    bool ok = true;
    for (uint32_t i = 0; i < EntryCount; ++i) {
        size_t field = kFirstEntryField + i;
        if (i == kKPX9RouteEntries - 1 && hasTwelfthField) field = kTwelfthEntryField;
        ok = ReadEntry(i, field) && ok;
    }
    Cascade = false;
    CascadeRoute = 1;
    if (!GetText(kCascadeField).empty()) {
        CascadeRoute = static_cast<uint32_t>(GetNumber(kCascadeField));
        Cascade = CascadeRoute != 0;
    }
    return ok;
}

bool TKPX9Route::EncodeSVs(uint8_t* block, const TKPX9Cells& cells) const
{
    std::fill(block, block + kKPX9RouteSVBytes, uint8_t{0});
    uint32_t used = 0;
    // Nothing is written outside the route's twelve bytes.
    auto put = [&](uint32_t value) {
        if (used < kKPX9RouteSVBytes) block[used] = static_cast<uint8_t>(value);
        ++used;
    };
    if (ToFrom) {
        put(FromButton);
        put(ToButton);
    }
    const uint32_t entries = std::min(EntryCount, kKPX9RouteEntries);
    for (uint32_t i = 0; i < entries; ++i) {
        const uint32_t address = EntryAddress[i];
        const bool thrown = EntryState[i] == eKPX9Thrown;
        const uint32_t cell = FindPointCell(address, cells);
        if (cell > 0) {
            put(thrown ? cell + 30 : cell);
        } else {
            put(((address >> 8) & 0xFF) + (thrown ? 200 : 100));
            put(address & 0xFF);
        }
        if (used > kKPX9RouteSVBytes) break;
    }
    if (Cascade) put(CascadeRoute + 60);
    return used <= kKPX9RouteSVBytes;
}

bool TKPX9Route::DecodeSVs(const uint8_t* block, const TKPX9Cells& cells)
{
    bool ok = true;
    Cascade = false;
    CascadeRoute = 1;
    uint32_t pos = 0;
    if (ToFrom) {
        FromButton = block[0];
        ToButton = block[1];
        pos = 2;
    }
    EntryCount = 0;
    while (pos < kKPX9RouteSVBytes) {
        uint32_t v = block[pos++];
        if (v == 0) break;
        uint8_t state = eKPX9Closed;
        if (v >= 31 && v <= 60) {
            state = eKPX9Thrown;
            v -= 30;
        } else if (v >= 200) {
            state = eKPX9Thrown;
            v -= 100;
        }
        uint32_t address = 1;
        if (v >= 100) {
            if (pos < kKPX9RouteSVBytes) {
                address = (v - 100) * 256 + block[pos++];
            } else {
                ok = false;
            }
        } else if (v <= 30) {
            const TKPX9Cell& cell = cells[v - 1];
            if (cell.CellType == eKPX9Point) {
                address = cell.Address;
            } else {
                ok = false;
            }
        } else if (v >= 61 && v <= 84) {
            Cascade = true;
            CascadeRoute = v - 60;
            continue;
        } else {
            // 85..99 name no entry of any kind.
            ok = false;
        }
        if (address > kMaxPointAddress) {
            address = 1;
            ok = false;
        }
        if (EntryCount < kKPX9RouteEntries) {
            EntryAddress[EntryCount] = address;
            EntryState[EntryCount] = state;
            ++EntryCount;
        }
    }
    return ok;
}

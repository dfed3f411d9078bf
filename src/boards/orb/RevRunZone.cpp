#include "boards/orb/RevRunZone.h"

#include "boards/HeldValues.h"

#include <istream>
#include <ostream>

TRevRunZone::TRevRunZone()
{
    SetQuoteStrings(true);
}

std::string TRevRunZone::Letter() const
{
    if (ZoneNumber >= 1 && ZoneNumber <= kZonesPerBoard) return std::string(1, static_cast<char>('A' + ZoneNumber - 1));
    return "?";
}

std::string TRevRunZone::ListLine() const
{
    return Letter() + "\t" + Name;
}

namespace {
// Where each set stands in the zone's SV block, and how the listing and the hold check name it.
struct TZoneSetPlace {
    uint32_t Offset;
    const char* Heading;
    const char* HeldName;
};
constexpr std::array<TZoneSetPlace, TRevRunZone::ezsCount> kSetPlaces{{
    {0, "     West - East Settings:", "west to east set"},
    {8, "     East - West Settings:", "east to west set"},
    {16, "     Freeze from changing Settings:", "freeze set"},
    {22, "     Shunt Mode Settings:", "shunt set"},
}};
} // namespace

bool TRevRunZone::GatherDevices(TExtDevTable& table) const
{
    bool ok = true;
    for (const TConditionSet& set : Sets) ok = set.GatherDevices(table) && ok;
    return ok;
}

bool TRevRunZone::ToSVs(std::vector<uint8_t>& svs, const TExtDevTable& table) const
{
    if (ZoneNumber < 1 || ZoneNumber > kZonesPerBoard) return false;
    const uint32_t z = FirstSV();
    if (z + kBlockSize - 1 > svs.size()) return false;
    uint8_t* block = svs.data() + (z - 1);
    bool ok = true;
    for (size_t i = 0; i < Sets.size(); ++i) ok = Sets[i].ToSVBytes(block + kSetPlaces[i].Offset, table) && ok;
    return ok;
}

bool TRevRunZone::FromSVs(const std::vector<uint8_t>& svs, const TExtDevTable& table)
{
    if (ZoneNumber < 1 || ZoneNumber > kZonesPerBoard) return false;
    const uint32_t z = FirstSV();
    if (z + kBlockSize - 1 > svs.size()) return false;
    const uint8_t* block = svs.data() + (z - 1);
    bool ok = true;
    for (size_t i = 0; i < Sets.size(); ++i) ok = Sets[i].FromSVBytes(block + kSetPlaces[i].Offset, table) && ok;
    return ok;
}

void TRevRunZone::AddText(std::vector<std::string>& lines) const
{
    lines.push_back("     Zone: " + Letter());
    for (size_t i = 0; i < Sets.size(); ++i) {
        lines.push_back(kSetPlaces[i].Heading);
        Sets[i].AddText(lines);
    }
    lines.push_back("");
}

void TRevRunZone::AddHeldValues(THeldValues& values) const
{
    values.SetPart("Zone " + Letter());
    for (size_t i = 0; i < Sets.size(); ++i) Sets[i].AddHeldValues(kSetPlaces[i].HeldName, values);
}

void TRevRunZone::ReadLines(std::istream& stream)
{
    ReadLine(stream);
    Name = GetText(2);
    Description = GetText(3);
    for (TConditionSet& set : Sets) set.ReadRecord(stream);
}

void TRevRunZone::WriteLines(std::ostream& stream)
{
    ClearFields();
    SetText(1, "Zone_" + std::to_string(ZoneNumber));
    SetText(2, Name);
    SetText(3, Description);
    WriteLine(stream);
    for (TConditionSet& set : Sets) set.WriteRecord(stream);
}

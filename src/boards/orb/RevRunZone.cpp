#include "boards/orb/RevRunZone.h"

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

bool TRevRunZone::GatherDevices(TExtDevTable& table) const
{
    bool ok = WestEast.GatherDevices(table);
    ok = EastWest.GatherDevices(table) && ok;
    ok = Freeze.GatherDevices(table) && ok;
    ok = Shunt.GatherDevices(table) && ok;
    return ok;
}

bool TRevRunZone::ToSVs(std::vector<uint8_t>& svs, const TExtDevTable& table) const
{
    if (ZoneNumber < 1 || ZoneNumber > kZonesPerBoard) return false;
    const uint32_t z = FirstSV();
    if (z + kBlockSize - 1 > svs.size()) return false;
    uint8_t* block = svs.data() + (z - 1);
    bool ok = WestEast.ToSVBytes(block, table);
    ok = EastWest.ToSVBytes(block + 8, table) && ok;
    ok = Freeze.ToSVBytes(block + 16, table) && ok;
    ok = Shunt.ToSVBytes(block + 22, table) && ok;
    return ok;
}

bool TRevRunZone::FromSVs(const std::vector<uint8_t>& svs, const TExtDevTable& table)
{
    if (ZoneNumber < 1 || ZoneNumber > kZonesPerBoard) return false;
    const uint32_t z = FirstSV();
    if (z + kBlockSize - 1 > svs.size()) return false;
    const uint8_t* block = svs.data() + (z - 1);
    bool ok = WestEast.FromSVBytes(block, table);
    ok = EastWest.FromSVBytes(block + 8, table) && ok;
    ok = Freeze.FromSVBytes(block + 16, table) && ok;
    ok = Shunt.FromSVBytes(block + 22, table) && ok;
    return ok;
}

void TRevRunZone::AddText(std::vector<std::string>& lines) const
{
    lines.push_back("     Zone: " + Letter());
    lines.push_back("     West - East Settings:");
    WestEast.AddText(lines);
    lines.push_back("     East - West Settings:");
    EastWest.AddText(lines);
    lines.push_back("     Freeze from changing Settings:");
    Freeze.AddText(lines);
    lines.push_back("     Shunt Mode Settings:");
    Shunt.AddText(lines);
    lines.push_back("");
}

void TRevRunZone::AddHeldValues(THeldValues& values) const
{
    values.SetPart("Zone " + Letter());
    WestEast.AddHeldValues("west to east set", values);
    EastWest.AddHeldValues("east to west set", values);
    Freeze.AddHeldValues("freeze set", values);
    Shunt.AddHeldValues("shunt set", values);
}

void TRevRunZone::WriteLines(std::ostream& stream)
{
    ClearFields();
    SetText(1, "Zone_" + std::to_string(ZoneNumber));
    SetText(2, Name);
    SetText(3, Description);
    WriteLine(stream);
    WestEast.WriteRecord(stream);
    EastWest.WriteRecord(stream);
    Freeze.WriteRecord(stream);
    Shunt.WriteRecord(stream);
}

void TRevRunZone::ReadLines(std::istream& stream)
{
    ReadLine(stream);
    Name = GetText(2);
    Description = GetText(3);
    WestEast.ReadRecord(stream);
    EastWest.ReadRecord(stream);
    Freeze.ReadRecord(stream);
    Shunt.ReadRecord(stream);
}

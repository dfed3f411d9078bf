#include "boards/SignalControllerBoard.h"

TSignalControllerBoard::TSignalControllerBoard()
{
    SetSVCount(512);
    for (uint32_t i = 0; i < kSignalCount; ++i) Signals[i].SetSignalNumber(i + 1);
    for (uint32_t z = 0; z < kZoneCount; ++z) Zones[z].SetZoneNumber(z + 1);
}

std::string TSignalControllerBoard::GetSVErrorText() const
{
    return "SV Calculation Error: too many points, sensors or signals called up by board programming";
}

void TSignalControllerBoard::SetSignalBaseAddress(uint32_t address)
{
    SignalBaseAddress = address;
    for (auto& s : Signals) s.SetBaseAddress(address);
}

std::string TSignalControllerBoard::QuarterSecondsText(uint32_t quarters)
{
    static const char* const kFractions[4] = {"", ".25", ".5", ".75"};
    return std::to_string(quarters / 4) + kFractions[quarters % 4];
}

void TSignalControllerBoard::GatherDevices()
{
    for (const auto& s : Signals) s.GatherDevices(DevTable);
    for (const auto& z : Zones) z.GatherDevices(DevTable);
}

bool TSignalControllerBoard::DevTableToSVs()
{
    return DevTable.ToSVs(SVs);
}

bool TSignalControllerBoard::SignalsAndZonesToSVs()
{
    bool ok = true;
    for (const auto& s : Signals) ok = s.ToSVs(SVs, DevTable) && ok;
    for (const auto& z : Zones) ok = z.ToSVs(SVs, DevTable) && ok;
    return ok;
}

bool TSignalControllerBoard::DecodeDevTableAndParts()
{
    bool ok = DevTable.FromSVs(SVs);
    for (auto& s : Signals) ok = s.FromSVs(SVs, DevTable) && ok;
    for (auto& z : Zones) ok = z.FromSVs(SVs, DevTable) && ok;
    return ok;
}

void TSignalControllerBoard::AddSignalAndZoneText(std::vector<std::string>& lines, const std::string& zoneHeading) const
{
    lines.push_back("");
    lines.push_back("Signal Settings:");
    for (const auto& s : Signals) s.AddText(lines);
    lines.push_back("");
    lines.push_back(zoneHeading);
    for (const auto& z : Zones) z.AddText(lines);
}

void TSignalControllerBoard::WriteSignalsAndZones(std::ostream& stream)
{
    for (auto& s : Signals) s.WriteLines(stream);
    for (auto& z : Zones) z.WriteLines(stream);
}

void TSignalControllerBoard::ReadSignalsAndZones(std::istream& stream)
{
    for (auto& s : Signals) s.ReadLines(stream);
    for (auto& z : Zones) z.ReadLines(stream);
}

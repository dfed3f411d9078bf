#include "boards/orb/SignalControllerBoard.h"

void TSettingsLine::WriteNumbers(std::ostream& stream, const char* tag, std::initializer_list<long long> numbers)
{
    ClearFields();
    SetText(1, tag);
    SetNumbers(2, numbers);
    WriteLine(stream);
}

std::vector<int> TSettingsLine::ReadNumbers(std::istream& stream, size_t count)
{
    ReadLine(stream);
    std::vector<int> numbers(count);
    for (size_t i = 0; i < count; ++i) numbers[i] = GetNumber(2 + i);
    return numbers;
}

// ---------------------------------------------------------------------------------------------

TSignalControllerBoard::TSignalControllerBoard(EBoardType type) : TTypedBoard(type)
{
    for (uint32_t i = 0; i < kSignalCount; ++i) Signals[i].SetSignalNumber(i + 1);
    for (uint32_t z = 0; z < kZoneCount; ++z) Zones[z].SetZoneNumber(z + 1);
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

void TSignalControllerBoard::StartSVs()
{
    DevTable = TExtDevTable();
    for (const auto& s : Signals) s.GatherDevices(DevTable);
    for (const auto& z : Zones) z.GatherDevices(DevTable);
    TConfigurableBoard::CalculateSVs();
    SetSV(5, Low(SignalBaseAddress));
    SetSV(6, High(SignalBaseAddress));
    SetSV(9, ReportSPAD);
    SetSV(508, Low(IsolationDelay));
    SetSV(509, LampBrightnessSim);
}

bool TSignalControllerBoard::FinishSVs()
{
    bool ok = DevTable.ToSVs(SVs);
    for (const auto& s : Signals) ok = s.ToSVs(SVs, DevTable) && ok;
    for (const auto& z : Zones) ok = z.ToSVs(SVs, DevTable) && ok;
    return ok;
}

void TSignalControllerBoard::StartDecode()
{
    TConfigurableBoard::DecodeSVs();
    SetSignalBaseAddress(GetSV(6) * 256u + GetSV(5));
    ReportSPAD = Flag(GetSV(9));
    IsolationDelay = GetSV(508);
    LampBrightnessSim = Flag(GetSV(509));
}

void TSignalControllerBoard::FinishDecode()
{
    DevTable.FromSVs(SVs);
    for (auto& s : Signals) s.FromSVs(SVs, DevTable);
    for (auto& z : Zones) z.FromSVs(SVs, DevTable);
}

void TSignalControllerBoard::AddHeadText(std::vector<std::string>& lines) const
{
    lines.push_back("Signal Base address: " + std::to_string(SignalBaseAddress));
    lines.push_back("User Description: " + Notes);
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

void TSignalControllerBoard::AddSharedHeldValues(THeldValues& values) const
{
    values.Add("DCC Base address", SignalBaseAddress);
    values.AddFlag("Report signal passed at danger", ReportSPAD != 0);
    values.Add("Delay before power isolation applied", QuarterSecondsText(IsolationDelay) + " s");
    values.AddFlag("Simulate lamp brightness", LampBrightnessSim != 0);
}

void TSignalControllerBoard::AddSignalAndZoneHeldValues(THeldValues& values) const
{
    for (const auto& s : Signals) s.AddHeldValues(values);
    for (const auto& z : Zones) z.AddHeldValues(values);
}

void TSignalControllerBoard::StartBoardLine()
{
    ClearFields();
    SetText(0, BoardRecordTag(Type));
    SetText(1, Name);
    SetNumber(2, SerialNumber);
    SetNumber(3, SignalBaseAddress);
    SetNumber(4, ReportSPAD);
    SetNumber(5, IsolationDelay);
}

void TSignalControllerBoard::ReadBoardLine(std::istream& stream)
{
    ReadLine(stream);
    Name = GetText(1);
    SerialNumber = static_cast<uint32_t>(GetNumber(2));
    SetSignalBaseAddress(static_cast<uint32_t>(GetNumber(3)));
    ReportSPAD = Flag(GetNumber(4));
    IsolationDelay = static_cast<uint32_t>(GetNumber(5));
}

void TSignalControllerBoard::WriteNotesLine(std::ostream& stream)
{
    ClearFields();
    SetText(1, Notes);
    WriteLine(stream);
}

void TSignalControllerBoard::ReadNotesLine(std::istream& stream)
{
    ReadLine(stream);
    Notes = GetText(1);
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

#include "boards/orb4/ORB4Board.h"

namespace {

uint8_t Low(uint32_t v)
{
    return static_cast<uint8_t>(v & 0xFF);
}
uint8_t High(uint32_t v)
{
    return static_cast<uint8_t>((v >> 8) & 0xFF);
}
uint8_t Flag(int v)
{
    return v != 0 ? 1 : 0;
}

} // namespace

// ---------------------------------------------------------------------------------------------

std::string TORB4SensorConfig::PairConfigName(uint8_t code)
{
    switch (code) {
    case 0: return "Not Unused";
    case 1: return "General Sensor Inputs";
    case 2: return "Turnout Feedback Inputs";
    default: return "Unknown (" + std::to_string(code) + ")";
    }
}

void TORB4SensorConfig::WriteLines(std::ostream& stream)
{
    ClearFields();
    SetText(1, "sensor_config");
    SetNumber(2, static_cast<int32_t>(SensorBoardNumber));
    for (size_t i = 0; i < PairConfig.size(); ++i) SetNumber(3 + i, PairConfig[i]);
    WriteLine(stream);
}

void TORB4SensorConfig::ReadLines(std::istream& stream)
{
    ReadLine(stream);
    SensorBoardNumber = static_cast<uint32_t>(GetNumber(2));
    for (size_t i = 0; i < PairConfig.size(); ++i) PairConfig[i] = static_cast<uint8_t>(GetNumber(3 + i));
}

std::string TORB4HighCurrentConfig::OutputConfigName(uint8_t code)
{
    switch (code) {
    case 0: return "Power Isolating Relay";
    case 1: return "Indiviaual On/Off Control";
    case 2: return "Tortoise type Point";
    case 3: return "Solenoid type point";
    default: return "Unknown (" + std::to_string(code) + ")";
    }
}

void TORB4HighCurrentConfig::WriteLines(std::ostream& stream)
{
    ClearFields();
    SetText(1, "highcurrent_config");
    SetNumber(2, static_cast<int32_t>(DCCBaseAddress));
    SetNumber(3, Outputs1to4);
    SetNumber(4, Outputs5to8);
    WriteLine(stream);
}

void TORB4HighCurrentConfig::ReadLines(std::istream& stream)
{
    ReadLine(stream);
    DCCBaseAddress = static_cast<uint32_t>(GetNumber(2));
    Outputs1to4 = static_cast<uint8_t>(GetNumber(3));
    Outputs5to8 = static_cast<uint8_t>(GetNumber(4));
}

// ---------------------------------------------------------------------------------------------

TORB4Board::TORB4Board()
{
    Name = "ORB4 Signal Controller";
}

bool TORB4Board::IsBoardIdentity(uint32_t manufacturerId, uint32_t productId, uint32_t serial) const
{
    return manufacturerId == 1 && productId == 1 && serial == SerialNumber;
}

const std::vector<uint32_t>& TORB4Board::GetProtectedSVs() const
{
    static const std::vector<uint32_t> list = {1, 2, 7, 8, 29};
    return list;
}

const std::vector<uint32_t>& TORB4Board::GetUnusedSVs() const
{
    static const std::vector<uint32_t> list = {1, 2, 7, 8, 29, 255, 256, 510, 511, 512};
    return list;
}

bool TORB4Board::CalculateSVs()
{
    GatherDevices();
    TConfigurableBoard::CalculateSVs();

    SetSV(5, Low(SignalBaseAddress));
    SetSV(6, High(SignalBaseAddress));
    SetSV(9, ReportSPAD);
    SetSV(507, DisplayMode);
    SetSV(508, Low(IsolationDelay));
    SetSV(509, LampBrightnessSim);

    bool ok = DevTableToSVs();
    SetSV(24, HighCurrent.Outputs1to4);
    SetSV(25, HighCurrent.Outputs5to8);
    SetSV(27, Low(HighCurrent.DCCBaseAddress));
    SetSV(28, High(HighCurrent.DCCBaseAddress));
    for (uint32_t i = 0; i < Sensors.PairConfig.size(); ++i) SetSV(20 + i, Sensors.PairConfig[i]);
    SetSV(26, Low(Sensors.SensorBoardNumber));

    ok = SignalsAndZonesToSVs() && ok;
    return ok;
}

void TORB4Board::DecodeSVs()
{
    TConfigurableBoard::DecodeSVs();
    SetSignalBaseAddress(GetSV(6) * 256u + GetSV(5));
    ReportSPAD = Flag(GetSV(9));
    DisplayMode = Flag(GetSV(507));
    IsolationDelay = GetSV(508);
    LampBrightnessSim = Flag(GetSV(509));
    HighCurrent.Outputs1to4 = GetSV(24);
    HighCurrent.Outputs5to8 = GetSV(25);
    HighCurrent.DCCBaseAddress = GetSV(28) * 256u + GetSV(27);
    for (uint32_t i = 0; i < Sensors.PairConfig.size(); ++i) Sensors.PairConfig[i] = GetSV(20 + i);
    Sensors.SensorBoardNumber = GetSV(26);
    DecodeDevTableAndParts();
}

void TORB4Board::DisplayBoard(std::vector<std::string>& lines)
{
    TConfigurableBoard::DisplayBoard(lines);
    lines.push_back("Signal Base address: " + std::to_string(SignalBaseAddress));
    lines.push_back("User Description: " + Notes);
    if (DisplayMode) {
        lines.push_back("Board operates in Display Mode only");
        return;
    }
    lines.push_back(ReportSPAD ? "Report signal passed at danger ENABLED" : "Report signal passed at danger DISABLED");
    lines.push_back("Delay for power isolation zone = " + QuarterSecondsText(IsolationDelay) + " s");
    lines.push_back(LampBrightnessSim ? "Simulation of lamp brightness ENABLED"
                                      : "Simulation of lamp brightness DISABLED");

    lines.push_back("");
    lines.push_back("Sensor Board Addr Number: " + std::to_string(Sensors.SensorBoardNumber));
    static const char* const kPairLabels[4] = {"Sensor Input 1,2 config = ", "Sensor Input 3,4 config = ",
                                               "Sensor Input 5,6 config = ", "Sensor Input 7,8 config = "};
    for (size_t i = 0; i < 4; ++i)
        lines.push_back(kPairLabels[i] + TORB4SensorConfig::PairConfigName(Sensors.PairConfig[i]));

    lines.push_back("");
    lines.push_back("High current o/p DCC base addr: " + std::to_string(HighCurrent.DCCBaseAddress));
    lines.push_back("High current o/p 1-4 config = " +
                    TORB4HighCurrentConfig::OutputConfigName(HighCurrent.Outputs1to4));
    lines.push_back("High current o/p 5-8 config = " +
                    TORB4HighCurrentConfig::OutputConfigName(HighCurrent.Outputs5to8));

    AddSignalAndZoneText(lines, "reverse Run Zone Settings:");
}

void TORB4Board::SaveToStream(std::ostream& stream)
{
    ClearFields();
    SetText(0, "ORB4_BOARD");
    SetText(1, Name);
    SetNumber(2, static_cast<int32_t>(SerialNumber));
    SetNumber(3, static_cast<int32_t>(SignalBaseAddress));
    SetNumber(4, ReportSPAD);
    SetNumber(5, static_cast<int32_t>(IsolationDelay));
    SetNumber(6, DisplayMode);
    SetNumber(7, LampBrightnessSim);
    WriteLine(stream);

    ClearFields();
    SetText(1, Notes);
    WriteLine(stream);

    Sensors.WriteLines(stream);
    HighCurrent.WriteLines(stream);
    WriteSignalsAndZones(stream);
}

void TORB4Board::LoadFromStream(std::istream& stream)
{
    ReadLine(stream);
    Name = GetText(1);
    SerialNumber = static_cast<uint32_t>(GetNumber(2));
    SetSignalBaseAddress(static_cast<uint32_t>(GetNumber(3)));
    ReportSPAD = Flag(GetNumber(4));
    IsolationDelay = static_cast<uint32_t>(GetNumber(5));
    DisplayMode = Flag(GetNumber(6));
    LampBrightnessSim = Flag(GetNumber(7));

    ReadLine(stream);
    Notes = GetText(1);

    Sensors.ReadLines(stream);
    HighCurrent.ReadLines(stream);
    ReadSignalsAndZones(stream);
}

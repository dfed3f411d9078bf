#include "boards/orb/orb4/ORB4Board.h"

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
    WriteNumbers(stream, "sensor_config",
                 {SensorBoardNumber, PairConfig[0], PairConfig[1], PairConfig[2], PairConfig[3]});
}

void TORB4SensorConfig::ReadLines(std::istream& stream)
{
    const std::vector<int> numbers = ReadNumbers(stream, 1 + PairConfig.size());
    SensorBoardNumber = static_cast<uint32_t>(numbers[0]);
    for (size_t i = 0; i < PairConfig.size(); ++i) PairConfig[i] = static_cast<uint8_t>(numbers[1 + i]);
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
    WriteNumbers(stream, "highcurrent_config", {DCCBaseAddress, Outputs1to4, Outputs5to8});
}

void TORB4HighCurrentConfig::ReadLines(std::istream& stream)
{
    const std::vector<int> numbers = ReadNumbers(stream, 3);
    DCCBaseAddress = static_cast<uint32_t>(numbers[0]);
    Outputs1to4 = static_cast<uint8_t>(numbers[1]);
    Outputs5to8 = static_cast<uint8_t>(numbers[2]);
}

// ---------------------------------------------------------------------------------------------

TORB4Board::TORB4Board() : TSignalControllerBoard(eORB4) {}

bool TORB4Board::CalculateSVs()
{
    StartSVs();
    SetSV(507, DisplayMode);
    for (uint32_t i = 0; i < Sensors.PairConfig.size(); ++i) SetSV(20 + i, Sensors.PairConfig[i]);
    SetSV(24, HighCurrent.Outputs1to4);
    SetSV(25, HighCurrent.Outputs5to8);
    SetSV(26, Low(Sensors.SensorBoardNumber));
    SetSV(27, Low(HighCurrent.DCCBaseAddress));
    SetSV(28, High(HighCurrent.DCCBaseAddress));
    return FinishSVs();
}

void TORB4Board::DecodeSVs()
{
    StartDecode();
    DisplayMode = Flag(GetSV(507));
    for (uint32_t i = 0; i < Sensors.PairConfig.size(); ++i) Sensors.PairConfig[i] = GetSV(20 + i);
    HighCurrent.Outputs1to4 = GetSV(24);
    HighCurrent.Outputs5to8 = GetSV(25);
    Sensors.SensorBoardNumber = GetSV(26);
    HighCurrent.DCCBaseAddress = GetSV(28) * 256u + GetSV(27);
    FinishDecode();
}

void TORB4Board::DisplayBoard(std::vector<std::string>& lines)
{
    TConfigurableBoard::DisplayBoard(lines);
    AddHeadText(lines);
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

void TORB4Board::AddHeldValues(THeldValues& values) const
{
    AddSharedHeldValues(values);
    values.AddFlag("Display Mode", DisplayMode != 0);
    values.Add("Sensor board number", Sensors.SensorBoardNumber);
    static const char* const kPairs[4] = {"1 & 2", "3 & 4", "5 & 6", "7 & 8"};
    for (size_t i = 0; i < 4; ++i)
        values.Add(std::string("Sensor ") + kPairs[i] + " Configuration",
                   TORB4SensorConfig::PairConfigName(Sensors.PairConfig[i]));
    values.Add("Output 1 - 4 Configuration", TORB4HighCurrentConfig::OutputConfigName(HighCurrent.Outputs1to4));
    values.Add("Output 5 - 8 Configuration", TORB4HighCurrentConfig::OutputConfigName(HighCurrent.Outputs5to8));
    values.Add("High Current O/P DCC Address", HighCurrent.DCCBaseAddress);
    AddSignalAndZoneHeldValues(values);
}

void TORB4Board::SaveToStream(std::ostream& stream)
{
    StartBoardLine();
    SetNumber(6, DisplayMode);
    SetNumber(7, LampBrightnessSim);
    WriteLine(stream);
    WriteNotesLine(stream);
    Sensors.WriteLines(stream);
    HighCurrent.WriteLines(stream);
    WriteSignalsAndZones(stream);
}

void TORB4Board::LoadFromStream(std::istream& stream)
{
    ReadBoardLine(stream);
    DisplayMode = Flag(GetNumber(6));
    LampBrightnessSim = Flag(GetNumber(7));
    ReadNotesLine(stream);
    Sensors.ReadLines(stream);
    HighCurrent.ReadLines(stream);
    ReadSignalsAndZones(stream);
}

#include "boards/orb/orb8/ORB8Board.h"

std::string TORB8SensorConfig::InputConfigName(uint8_t code)
{
    switch (code) {
    case 0: return "Not Used";
    case 1: return "General Sensor Inputs, numbers 1 to 8";
    case 2: return "General Sensor Inputs, numbers 9 to 16";
    case 3: return "Locally connected inputs, to make signals red";
    default: return "Unknown (" + std::to_string(code) + ")";
    }
}

void TORB8SensorConfig::WriteLines(std::ostream& stream)
{
    WriteNumbers(stream, "sensor_config", {SensorBoardNumber, OnBoardInputs, ExternalInputs});
}

void TORB8SensorConfig::ReadLines(std::istream& stream)
{
    const std::vector<int> numbers = ReadNumbers(stream, 3);
    SensorBoardNumber = static_cast<uint32_t>(numbers[0]);
    OnBoardInputs = static_cast<uint8_t>(numbers[1]);
    ExternalInputs = static_cast<uint8_t>(numbers[2]);
}

// ---------------------------------------------------------------------------------------------

TORB8Board::TORB8Board() : TSignalControllerBoard(eORB8) {}

bool TORB8Board::CalculateSVs()
{
    StartSVs();
    SetSV(20, Sensors.OnBoardInputs);
    SetSV(21, Sensors.ExternalInputs);
    SetSV(22, AuxOutputs);
    SetSV(23, LocoNetSwitchCommands);
    SetSV(24, Signals1to4Leds);
    SetSV(25, Signals5to8Leds);
    SetSV(26, Low(Sensors.SensorBoardNumber));
    SetSV(507, InterrogateAtPowerUp);
    SetSV(510, Low(RedReleaseDelay));
    return FinishSVs();
}

void TORB8Board::DecodeSVs()
{
    StartDecode();
    Sensors.OnBoardInputs = GetSV(20);
    Sensors.ExternalInputs = GetSV(21);
    AuxOutputs = GetSV(22);
    LocoNetSwitchCommands = Flag(GetSV(23));
    Signals1to4Leds = GetSV(24);
    Signals5to8Leds = GetSV(25);
    Sensors.SensorBoardNumber = GetSV(26);
    InterrogateAtPowerUp = Flag(GetSV(507));
    RedReleaseDelay = GetSV(510);
    FinishDecode();
}

void TORB8Board::DisplayBoard(std::vector<std::string>& lines)
{
    TConfigurableBoard::DisplayBoard(lines);
    AddHeadText(lines);
    lines.push_back(ReportSPAD ? "Report signal passed at danger ENABLED" : "Report signal passed at danger DISABLED");
    lines.push_back("Delay for power isolation zone = " + QuarterSecondsText(IsolationDelay) + " s");
    lines.push_back("Delay before change from RED = " + QuarterSecondsText(RedReleaseDelay) + " s");
    lines.push_back(Signals1to4Leds == 1 ? "Signals 1-3 have 4 LEDs each, signal 4 has no outputs"
                                         : "Signals 1-4 have 3 LEDs each");
    lines.push_back(Signals5to8Leds == 1 ? "Signals 5-7 have 4 LEDs each, signal 8 has no outputs"
                                         : "Signals 5-8 have 3 LEDs each");
    lines.push_back(AuxOutputs == 1 ? "Aux outputs drive LEDs for signals 9&10"
                                    : "Aux outputs drive isolating relays for signals 1-8");
    lines.push_back(InterrogateAtPowerUp ? "Board generates interrogate response after power up & on demand"
                                         : "Board generates interrogate response on demand only");
    lines.push_back(LampBrightnessSim ? "Signal lamp brighness simulation ENABLED"
                                      : "Signal lamp brighness simulation DISABLED");
    lines.push_back(LocoNetSwitchCommands ? "Uses LocoNet switch commands" : "Uses DCC switch commands");

    lines.push_back("");
    lines.push_back("Sensor Board Addr Number: " + std::to_string(Sensors.SensorBoardNumber));
    lines.push_back("On-board Input config = " + TORB8SensorConfig::InputConfigName(Sensors.OnBoardInputs));
    lines.push_back("External Input config = " + TORB8SensorConfig::InputConfigName(Sensors.ExternalInputs));

    AddSignalAndZoneText(lines, "Reverse Run Zone Settings:");
}

void TORB8Board::AddHeldValues(THeldValues& values) const
{
    AddSharedHeldValues(values);
    values.Add("Delay before releasing from RED", QuarterSecondsText(RedReleaseDelay) + " s");
    values.Add("Signals 1-4", Signals1to4Leds);
    values.Add("Signals 5-8", Signals5to8Leds);
    values.Add("Aux Output", AuxOutputs);
    values.AddFlag("Report Signal States after Power on", InterrogateAtPowerUp != 0);
    values.AddFlag("Use LocoNet SWRQ commands", LocoNetSwitchCommands != 0);
    values.Add("Sensor board number", Sensors.SensorBoardNumber);
    values.Add("On-board Inputs", TORB8SensorConfig::InputConfigName(Sensors.OnBoardInputs));
    values.Add("External Inputs", TORB8SensorConfig::InputConfigName(Sensors.ExternalInputs));
    AddSignalAndZoneHeldValues(values);
}

void TORB8Board::SaveToStream(std::ostream& stream)
{
    StartBoardLine();
    SetNumber(6, Signals1to4Leds);
    SetNumber(7, Signals5to8Leds);
    SetNumber(8, AuxOutputs);
    SetNumber(9, InterrogateAtPowerUp);
    SetNumber(10, LampBrightnessSim);
    SetNumber(11, LocoNetSwitchCommands);
    SetNumber(12, RedReleaseDelay);
    WriteLine(stream);
    WriteNotesLine(stream);
    Sensors.WriteLines(stream);
    WriteSignalsAndZones(stream);
}

void TORB8Board::LoadFromStream(std::istream& stream)
{
    ReadBoardLine(stream);
    Signals1to4Leds = static_cast<uint8_t>(GetNumber(6));
    Signals5to8Leds = static_cast<uint8_t>(GetNumber(7));
    AuxOutputs = static_cast<uint8_t>(GetNumber(8));
    InterrogateAtPowerUp = Flag(GetNumber(9));
    LampBrightnessSim = Flag(GetNumber(10));
    LocoNetSwitchCommands = Flag(GetNumber(11));
    RedReleaseDelay = static_cast<uint32_t>(GetNumber(12));
    ReadNotesLine(stream);
    Sensors.ReadLines(stream);
    ReadSignalsAndZones(stream);
}

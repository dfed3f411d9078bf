#include "boards/orb8/ORB8Board.h"

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
    ClearFields();
    SetText(1, "sensor_config");
    SetNumber(2, static_cast<int32_t>(SensorBoardNumber));
    SetNumber(3, OnBoardInputs);
    SetNumber(4, ExternalInputs);
    WriteLine(stream);
}

void TORB8SensorConfig::ReadLines(std::istream& stream)
{
    ReadLine(stream);
    SensorBoardNumber = static_cast<uint32_t>(GetNumber(2));
    OnBoardInputs = static_cast<uint8_t>(GetNumber(3));
    ExternalInputs = static_cast<uint8_t>(GetNumber(4));
}

// ---------------------------------------------------------------------------------------------

TORB8Board::TORB8Board()
{
    Name = "ORB8 Signal Controller";
}

bool TORB8Board::IsBoardIdentity(uint32_t manufacturerId, uint32_t productId, uint32_t serial) const
{
    return manufacturerId == 1 && productId == 5 && serial == SerialNumber;
}

const std::vector<uint32_t>& TORB8Board::GetProtectedSVs() const
{
    static const std::vector<uint32_t> list = {1, 2, 7, 8, 29};
    return list;
}

const std::vector<uint32_t>& TORB8Board::GetUnusedSVs() const
{
    static const std::vector<uint32_t> list = {1, 2, 7, 8, 27, 28, 29, 255, 256, 511, 512};
    return list;
}

bool TORB8Board::CalculateSVs()
{
    GatherDevices();
    TConfigurableBoard::CalculateSVs();

    SetSV(5, Low(SignalBaseAddress));
    SetSV(6, High(SignalBaseAddress));
    SetSV(9, ReportSPAD);
    SetSV(22, AuxOutputs);
    SetSV(23, LocoNetSwitchCommands);
    SetSV(24, Signals1to4Leds);
    SetSV(25, Signals5to8Leds);
    SetSV(507, InterrogateAtPowerUp);
    SetSV(508, Low(IsolationDelay));
    SetSV(509, LampBrightnessSim);
    SetSV(510, Low(RedReleaseDelay));

    bool ok = DevTableToSVs();
    SetSV(20, Sensors.OnBoardInputs);
    SetSV(21, Sensors.ExternalInputs);
    SetSV(26, Low(Sensors.SensorBoardNumber));

    ok = SignalsAndZonesToSVs() && ok;
    return ok;
}

void TORB8Board::DecodeSVs()
{
    TConfigurableBoard::DecodeSVs();
    SetSignalBaseAddress(GetSV(6) * 256u + GetSV(5));
    ReportSPAD = Flag(GetSV(9));
    IsolationDelay = GetSV(508);
    RedReleaseDelay = GetSV(510);
    Signals1to4Leds = GetSV(24);
    Signals5to8Leds = GetSV(25);
    AuxOutputs = GetSV(22);
    InterrogateAtPowerUp = Flag(GetSV(507));
    LampBrightnessSim = Flag(GetSV(509));
    LocoNetSwitchCommands = Flag(GetSV(23));
    Sensors.OnBoardInputs = GetSV(20);
    Sensors.ExternalInputs = GetSV(21);
    Sensors.SensorBoardNumber = GetSV(26);
    DecodeDevTableAndParts();
}

void TORB8Board::DisplayBoard(std::vector<std::string>& lines)
{
    TConfigurableBoard::DisplayBoard(lines);
    lines.push_back("Signal Base address: " + std::to_string(SignalBaseAddress));
    lines.push_back("User Description: " + Notes);
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

void TORB8Board::SaveToStream(std::ostream& stream)
{
    ClearFields();
    SetText(0, "ORB8_BOARD");
    SetText(1, Name);
    SetNumber(2, static_cast<int32_t>(SerialNumber));
    SetNumber(3, static_cast<int32_t>(SignalBaseAddress));
    SetNumber(4, ReportSPAD);
    SetNumber(5, static_cast<int32_t>(IsolationDelay));
    SetNumber(6, Signals1to4Leds);
    SetNumber(7, Signals5to8Leds);
    SetNumber(8, AuxOutputs);
    SetNumber(9, InterrogateAtPowerUp);
    SetNumber(10, LampBrightnessSim);
    SetNumber(11, LocoNetSwitchCommands);
    SetNumber(12, static_cast<int32_t>(RedReleaseDelay));
    WriteLine(stream);

    ClearFields();
    SetText(1, Notes);
    WriteLine(stream);

    Sensors.WriteLines(stream);
    WriteSignalsAndZones(stream);
}

void TORB8Board::LoadFromStream(std::istream& stream)
{
    ReadLine(stream);
    Name = GetText(1);
    SerialNumber = static_cast<uint32_t>(GetNumber(2));
    SetSignalBaseAddress(static_cast<uint32_t>(GetNumber(3)));
    ReportSPAD = Flag(GetNumber(4));
    IsolationDelay = static_cast<uint32_t>(GetNumber(5));
    Signals1to4Leds = static_cast<uint8_t>(GetNumber(6));
    Signals5to8Leds = static_cast<uint8_t>(GetNumber(7));
    AuxOutputs = static_cast<uint8_t>(GetNumber(8));
    InterrogateAtPowerUp = Flag(GetNumber(9));
    LampBrightnessSim = Flag(GetNumber(10));
    LocoNetSwitchCommands = Flag(GetNumber(11));
    RedReleaseDelay = static_cast<uint32_t>(GetNumber(12));

    ReadLine(stream);
    Notes = GetText(1);

    Sensors.ReadLines(stream);
    ReadSignalsAndZones(stream);
}

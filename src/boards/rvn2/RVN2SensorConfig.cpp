#include "boards/rvn2/RVN2SensorConfig.h"

TRVN2SensorConfig::TRVN2SensorConfig()
{
    SetQuoteStrings(true);
}

std::string TRVN2SensorConfig::GetConfigName() const
{
    switch (ConfigCode) {
    case 0: return "Not Used";
    case 1: return "General Sensor Inputs, numbers 1 to 4";
    case 2: return "General Sensor Inputs, numbers 5 to 8";
    case 3: return "General Sensor Inputs, numbers 9 to 12";
    case 4: return "General Sensor Inputs, numbers 13 to 16";
    default: return "";
    }
}

void TRVN2SensorConfig::GetTextLines(std::vector<std::string>& lines) const
{
    lines.emplace_back();
    lines.push_back("Sensor Board Addr Number: " + std::to_string(SensorBoardNumber));
    lines.push_back("Sensor config = " + GetConfigName());
}

void TRVN2SensorConfig::SaveToStream(std::ostream& stream)
{
    ClearFields();
    SetText(1, "sensor_config");
    SetNumber(2, static_cast<int32_t>(SensorBoardNumber));
    SetNumber(3, ConfigCode);
    WriteLine(stream);
}

void TRVN2SensorConfig::LoadFromStream(std::istream& stream)
{
    ReadLine(stream);
    SensorBoardNumber = static_cast<uint32_t>(GetNumber(2));
    ConfigCode = static_cast<uint8_t>(GetNumber(3));
}

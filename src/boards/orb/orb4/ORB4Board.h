#pragma once
// The ORB4 signal controller: ten signal outputs, three reverse running zones, eight sensor inputs
// and eight high-current outputs.

#include "boards/orb/SignalControllerBoard.h"

#include <array>
#include <cstdint>
#include <istream>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

class TORB4SensorConfig : public TSettingsLine {
public:
    // Inputs 1&2, 3&4, 5&6, 7&8: 0 not used, 1 general sensor inputs, 2 turnout feedback inputs.
    std::array<uint8_t, 4> PairConfig{};
    uint32_t SensorBoardNumber = 10;

    static std::string PairConfigName(uint8_t code);
    void WriteLines(std::ostream& stream);
    void ReadLines(std::istream& stream);
};

class TORB4HighCurrentConfig : public TSettingsLine {
public:
    // 0 power isolating relay, 1 individual on/off control, 2 Tortoise type point, 3 solenoid type point.
    uint8_t Outputs1to4 = 0;
    uint8_t Outputs5to8 = 0;
    uint32_t DCCBaseAddress = 1000;

    static std::string OutputConfigName(uint8_t code);
    void WriteLines(std::ostream& stream);
    void ReadLines(std::istream& stream);
};

class TORB4Board : public TSignalControllerBoard {
public:
    TORB4Board();

    void SaveToStream(std::ostream& stream) override;
    void LoadFromStream(std::istream& stream) override;
    bool CalculateSVs() override; // false when the 60 device table entries cannot hold every device called up
    void DecodeSVs() override;
    void DisplayBoard(std::vector<std::string>& lines) override;
    std::unique_ptr<TConfigurableBoard> Clone() const override { return std::make_unique<TORB4Board>(*this); }
    void AddHeldValues(THeldValues& values) const override;

    TORB4SensorConfig& SensorConfig() { return Sensors; }
    const TORB4SensorConfig& SensorConfig() const { return Sensors; }
    TORB4HighCurrentConfig& HighCurrentConfig() { return HighCurrent; }
    const TORB4HighCurrentConfig& HighCurrentConfig() const { return HighCurrent; }

    uint8_t DisplayMode = 0;

private:
    TORB4SensorConfig Sensors;
    TORB4HighCurrentConfig HighCurrent;
};

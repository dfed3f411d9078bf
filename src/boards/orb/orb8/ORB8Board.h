#pragma once
// The ORB8 signal controller: ten signals and three reverse running zones like the ORB4, with
// configurable LED groups, auxiliary outputs, on-board and external sensor inputs, a choice of
// LocoNet or DCC switch commands and a delay before a signal is released from red.

#include "boards/orb/SignalControllerBoard.h"

#include <cstdint>
#include <istream>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

class TORB8SensorConfig : public TSettingsLine {
public:
    // 0 not used, 1 general inputs 1-8, 2 general inputs 9-16, 3 local inputs that make signals red.
    uint8_t OnBoardInputs = 0;
    uint8_t ExternalInputs = 0;
    uint32_t SensorBoardNumber = 10;

    static std::string InputConfigName(uint8_t code);
    void WriteLines(std::ostream& stream);
    void ReadLines(std::istream& stream);
};

class TORB8Board : public TSignalControllerBoard {
public:
    TORB8Board();

    void SaveToStream(std::ostream& stream) override;
    void LoadFromStream(std::istream& stream) override;
    bool CalculateSVs() override; // false past 48 points and sensors or 12 signals called up (the device table)
    void DecodeSVs() override;
    void DisplayBoard(std::vector<std::string>& lines) override;
    std::unique_ptr<TConfigurableBoard> Clone() const override { return std::make_unique<TORB8Board>(*this); }
    void AddHeldValues(THeldValues& values) const override;

    TORB8SensorConfig& SensorConfig() { return Sensors; }
    const TORB8SensorConfig& SensorConfig() const { return Sensors; }

    uint8_t Signals1to4Leds = 0; // 1: signals 1-3 have 4 LEDs, signal 4 none
    uint8_t Signals5to8Leds = 0; // 1: signals 5-7 have 4 LEDs, signal 8 none
    uint8_t AuxOutputs = 0; // 1: drive the LEDs of signals 9 and 10
    uint8_t InterrogateAtPowerUp = 0; // report all signal states after power-up
    uint32_t RedReleaseDelay = 8; // delay before change from red, quarter seconds
    uint8_t LocoNetSwitchCommands = 0;

private:
    TORB8SensorConfig Sensors;
};

#pragma once
// What the ORB4 and ORB8 signal controllers share: the device table, the ten signals and three
// reverse running zones, the signal base address and the plain fields both boards have, and the
// steps of SV calculation, decoding, description and board-file record that are the same on both.

#include "boards/ConfigurableBoard.h"
#include "boards/ExtDevTable.h"
#include "boards/RevRunZone.h"
#include "boards/Signal.h"

#include <array>
#include <cstdint>
#include <istream>
#include <ostream>
#include <string>
#include <vector>

class TSignalControllerBoard : public TConfigurableBoard {
public:
    static constexpr uint32_t kSignalCount = 10;
    static constexpr uint32_t kZoneCount = 3;

    TSignalControllerBoard();

    std::string GetSVErrorText() const override;

    // Setting the base address copies it into the ten signals.
    void SetSignalBaseAddress(uint32_t address);
    uint32_t GetSignalBaseAddress() const { return SignalBaseAddress; }

    // Signal i (1-10) and zone z (1-3); out-of-range numbers give the nearest one.
    TSignal& GetSignal(uint32_t i) { return Signals[Clamp(i, kSignalCount) - 1]; }
    const TSignal& GetSignal(uint32_t i) const { return Signals[Clamp(i, kSignalCount) - 1]; }
    TRevRunZone& GetZone(uint32_t z) { return Zones[Clamp(z, kZoneCount) - 1]; }
    const TRevRunZone& GetZone(uint32_t z) const { return Zones[Clamp(z, kZoneCount) - 1]; }

    const TExtDevTable& GetDevTable() const { return DevTable; }

    // Quarter seconds as seconds in the shortest decimal form: 0, 0.25, 0.5, 2, 8.25.
    static std::string QuarterSecondsText(uint32_t quarters);

    std::string Notes = "Unassigned";
    uint8_t ReportSPAD = 0; // report signal passed at danger
    uint32_t IsolationDelay = 8; // quarter seconds
    uint8_t LampBrightnessSim = 0; // lamp brightness simulation

protected:
    static uint32_t Clamp(uint32_t n, uint32_t count) { return n < 1 ? 1 : (n > count ? count : n); }

    // Gathers the devices of signals 1-10, then zones A-C, into the device table.
    void GatherDevices();
    // Device table, then signals and zones into the SVs; the AND of their successes.
    bool DevTableToSVs();
    bool SignalsAndZonesToSVs();
    // Refills the device table, then the signals and zones, from the SVs.
    bool DecodeDevTableAndParts();

    void AddSignalAndZoneText(std::vector<std::string>& lines, const std::string& zoneHeading) const;
    void WriteSignalsAndZones(std::ostream& stream);
    void ReadSignalsAndZones(std::istream& stream);

    TExtDevTable DevTable;
    std::array<TSignal, kSignalCount> Signals;
    std::array<TRevRunZone, kZoneCount> Zones;
    uint32_t SignalBaseAddress = 1;
};

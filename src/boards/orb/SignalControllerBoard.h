#pragma once
// What the ORB4 and ORB8 signal controllers share: the device table, the ten signals and three
// reverse running zones, the signal base address and the plain fields both boards have, and the
// steps of SV calculation, decoding, description and board-file record that are the same on both.

#include "boards/ConfigurableBoard.h"
#include "boards/CsvIo.h"
#include "boards/orb/ExtDevTable.h"
#include "boards/orb/RevRunZone.h"
#include "boards/orb/Signal.h"

#include <array>
#include <cstdint>
#include <initializer_list>
#include <istream>
#include <ostream>
#include <string>
#include <vector>

// One settings line of a signal controller's record: field 0 empty, the line's tag in field 1 and
// its numbers from field 2 on.
class TSettingsLine : public TCsvIo {
public:
    TSettingsLine() { SetQuoteStrings(true); }

protected:
    void WriteNumbers(std::ostream& stream, const char* tag, std::initializer_list<long long> numbers);
    // Reads the next line and returns its first `count` numbers.
    std::vector<int> ReadNumbers(std::istream& stream, size_t count);
};

class TSignalControllerBoard : public TTypedBoard {
public:
    static constexpr uint32_t kSignalCount = 10;
    static constexpr uint32_t kZoneCount = 3;

    explicit TSignalControllerBoard(EBoardType type);

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
    // The low and high byte of a 16-bit value, and a flag as 0 or 1.
    static uint8_t Low(uint32_t v) { return static_cast<uint8_t>(v & 0xFF); }
    static uint8_t High(uint32_t v) { return static_cast<uint8_t>((v >> 8) & 0xFF); }
    static uint8_t Flag(int v) { return v != 0 ? 1 : 0; }

    // SV calculation, between which each board writes its own settings: StartSVs gathers the
    // devices into a device table made afresh (so that the SVs depend on the description alone,
    // and a board programs the same after its file is saved and read again), clears the table (serial number in SV3/SV4) and writes the settings both boards
    // keep alike (signal base address SV5/SV6, report SPAD SV9, isolation delay SV508, lamp
    // brightness simulation SV509); FinishSVs writes the device table, then the signals and zones,
    // and returns the AND of their successes.
    void StartSVs();
    bool FinishSVs();
    // Decoding, the same way round: serial number and the shared settings; then the device table,
    // signals and zones.
    void StartDecode();
    void FinishDecode();

    // The lines of the description that follow the common ones: the signal base address and the
    // user description.
    void AddHeadText(std::vector<std::string>& lines) const;
    void AddSignalAndZoneText(std::vector<std::string>& lines, const std::string& zoneHeading) const;
    // What the board holds (HeldValues.h) of the settings both boards keep alike, and of its
    // signals and zones.
    void AddSharedHeldValues(THeldValues& values) const;
    void AddSignalAndZoneHeldValues(THeldValues& values) const;

    // The board line of the record up to field 5 (tag, name, serial number, signal base address,
    // report SPAD, isolation delay); the board adds its fields and writes the line.
    void StartBoardLine();
    // Reads the board line and takes fields 1 to 5 from it; the board reads its own fields.
    void ReadBoardLine(std::istream& stream);
    void WriteNotesLine(std::ostream& stream);
    void ReadNotesLine(std::istream& stream);
    void WriteSignalsAndZones(std::ostream& stream);
    void ReadSignalsAndZones(std::istream& stream);

    TExtDevTable DevTable;
    std::array<TSignal, kSignalCount> Signals;
    std::array<TRevRunZone, kZoneCount> Zones;
    uint32_t SignalBaseAddress = 1;
};

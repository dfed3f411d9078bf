#pragma once
// The QXP6 decoder's table of outside devices. Conditions name devices by an index 1..60:
// 1..10 are the inputs of the board's own sensor board, 11..18 its own outputs, 19 and 20 name
// nothing, and 21..60 are the 40 table entries that hold every other point, sensor or signal.

#include "boards/CsvIo.h"

#include <array>
#include <cstdint>

// Device type codes shared by conditions and table entries.
enum EQXP6DeviceType : uint8_t { eQXP6None = 0, eQXP6Point = 1, eQXP6Sensor = 2, eQXP6Signal = 3 };

struct TQXP6DeviceKey {
    uint8_t DeviceType = eQXP6None;
    uint32_t Number = 0;
    uint32_t Offset = 0; // only meaningful for sensors: the input on the sensor's board

    bool IsFree() const { return DeviceType == eQXP6None; }
    // Equal type and number, and for sensors equal offset too.
    bool SameDevice(const TQXP6DeviceKey& other) const;
};

class TQXP6ExtDevTable : public TCsvIo {
public:
    static constexpr int kEntryCount = 40;
    static constexpr int kMaxIndex = 60;
    static constexpr int kFirstEntryIndex = 21;
    static constexpr uint32_t kFirstSV = 171; // the table fills SV 171..250

    TQXP6ExtDevTable() = default;
    TQXP6ExtDevTable(const TQXP6ExtDevTable&) = default;
    TQXP6ExtDevTable& operator=(const TQXP6ExtDevTable&) = default;

    // The index 1..60 by which conditions name the device, or 0 when it has none.
    int DeviceIndex(const TQXP6DeviceKey& key) const;
    // The device behind an index; a free key for 19, 20, free entries and indexes out of range.
    TQXP6DeviceKey DeviceAt(int index) const;
    // Gives the device an index: nothing to do when it has one, else the first free entry.
    // False when all 40 entries are in use.
    bool AddDevice(const TQXP6DeviceKey& key);
    // Marks all entries free (base address and sensor board stay).
    void Clear();

    // Entry 0..39.
    const TQXP6DeviceKey& Entry(int position) const { return Entries[static_cast<size_t>(position)]; }
    int UsedEntries() const;

    // `svs` is the board's SV table (SV n at svs[n - 1]), at least 250 bytes.
    bool ToSVBytes(uint8_t* svs) const;
    bool FromSVBytes(const uint8_t* svs);

    uint32_t BaseAddress = 1;
    uint32_t SensorBoard = 16;

private:
    std::array<TQXP6DeviceKey, kEntryCount> Entries{};
};

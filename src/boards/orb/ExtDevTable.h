#pragma once
// The signal controllers' table of outside devices: 60 entries through which conditions, junction
// points and off-board next signals refer to points, sensors and signals in the SV table.
// Entries 1-48 hold points and sensors, entries 49-60 signals.

#include "boards/CsvIo.h"

#include <array>
#include <cstdint>
#include <vector>

// Device type codes shared by conditions and table entries.
enum EDeviceType : uint8_t { edtNone = 0, edtPoint = 1, edtSensor = 2, edtSignal = 3, edtZone = 4 };

struct TDeviceKey {
    uint8_t DeviceType = edtNone;
    uint32_t Number = 0;
    uint32_t Offset = 0; // sensors only: the input number on the sensor's board

    // Equal types and numbers and, for sensors only, equal offsets.
    bool operator==(const TDeviceKey& other) const;
};

class TExtDevTable : public TCsvIo {
public:
    static constexpr uint32_t kEntryCount = 60;
    static constexpr uint32_t kFirstSignalEntry = 49;
    // SV of the first table byte; entry i takes SV 40 + 2(i-1) and the SV after it.
    static constexpr uint32_t kFirstSV = 40;

    TExtDevTable() = default;

    // The 1-based entry holding an equal key, 0 when there is none.
    uint32_t Find(const TDeviceKey& key) const;
    // Puts an absent key into the first free entry of its range; false when that range is full.
    bool Add(const TDeviceKey& key);
    // The key stored in entry n (1-60); a free key for any other n.
    TDeviceKey Entry(uint32_t n) const;

    // Writes all 60 entries into SV 40-159 of the table (index = SV number - 1).
    bool ToSVs(std::vector<uint8_t>& svs) const;
    // Refills all 60 entries from SV 40-159.
    bool FromSVs(const std::vector<uint8_t>& svs);

    bool operator==(const TExtDevTable& other) const { return Entries == other.Entries; }

private:
    std::array<TDeviceKey, kEntryCount> Entries{};
};

#include "boards/orb/ExtDevTable.h"

bool TDeviceKey::operator==(const TDeviceKey& other) const
{
    if (DeviceType != other.DeviceType || Number != other.Number) return false;
    return DeviceType != edtSensor || Offset == other.Offset;
}

uint32_t TExtDevTable::Find(const TDeviceKey& key) const
{
    for (uint32_t i = 0; i < kEntryCount; ++i)
        if (Entries[i] == key) return i + 1;
    return 0;
}

bool TExtDevTable::Add(const TDeviceKey& key)
{
    if (Find(key) != 0) return true;
    const bool signal = key.DeviceType == edtSignal;
    const uint32_t first = signal ? kFirstSignalEntry : 1;
    const uint32_t last = signal ? kEntryCount : kFirstSignalEntry - 1;
    for (uint32_t n = first; n <= last; ++n) {
        if (Entries[n - 1].DeviceType == edtNone) {
            Entries[n - 1] = key;
            return true;
        }
    }
    return false;
}

TDeviceKey TExtDevTable::Entry(uint32_t n) const
{
    if (n < 1 || n > kEntryCount) return {};
    return Entries[n - 1];
}

bool TExtDevTable::ToSVs(std::vector<uint8_t>& svs) const
{
    for (uint32_t i = 0; i < kEntryCount; ++i) {
        const size_t index = kFirstSV - 1 + 2 * i;
        if (index + 1 >= svs.size()) break;
        const TDeviceKey& e = Entries[i];
        uint8_t first = 0;
        uint8_t second = 0;
        switch (e.DeviceType) {
        case edtSensor:
            first = static_cast<uint8_t>(e.Number & 0xFF);
            second = static_cast<uint8_t>((e.Offset + 100) & 0xFF);
            break;
        case edtPoint:
        case edtSignal:
            first = static_cast<uint8_t>(e.Number & 0xFF);
            second = static_cast<uint8_t>((e.Number >> 8) & 0xFF);
            break;
        default: break;
        }
        svs[index] = first;
        svs[index + 1] = second;
    }
    return true;
}

bool TExtDevTable::FromSVs(const std::vector<uint8_t>& svs)
{
    for (uint32_t i = 0; i < kEntryCount; ++i) {
        const size_t index = kFirstSV - 1 + 2 * i;
        const uint8_t first = index < svs.size() ? svs[index] : 0;
        const uint8_t second = index + 1 < svs.size() ? svs[index + 1] : 0;
        TDeviceKey& e = Entries[i];
        e = {};
        if (first == 0 && second == 0) continue;
        if (second > 100) {
            e.DeviceType = edtSensor;
            e.Number = first;
            e.Offset = second - 100u;
        } else {
            e.DeviceType = i + 1 < kFirstSignalEntry ? edtPoint : edtSignal;
            e.Number = first + 256u * second;
        }
    }
    return true;
}

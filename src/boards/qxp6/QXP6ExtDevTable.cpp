#include "boards/qxp6/QXP6ExtDevTable.h"

bool TQXP6DeviceKey::SameDevice(const TQXP6DeviceKey& other) const
{
    if (DeviceType != other.DeviceType || Number != other.Number) return false;
    return DeviceType != eQXP6Sensor || Offset == other.Offset;
}

int TQXP6ExtDevTable::DeviceIndex(const TQXP6DeviceKey& key) const
{
    if (key.IsFree()) return 0;
    if (key.DeviceType == eQXP6Point && key.Number >= BaseAddress && key.Number - BaseAddress <= 7)
        return 11 + static_cast<int>(key.Number - BaseAddress);
    if (key.DeviceType == eQXP6Sensor && key.Number == SensorBoard && key.Offset >= 1 && key.Offset <= 10)
        return static_cast<int>(key.Offset);
    for (int i = 0; i < kEntryCount; ++i)
        if (Entries[static_cast<size_t>(i)].SameDevice(key)) return kFirstEntryIndex + i;
    return 0;
}

TQXP6DeviceKey TQXP6ExtDevTable::DeviceAt(int index) const
{
    TQXP6DeviceKey key;
    if (index >= 1 && index <= 10) {
        key.DeviceType = eQXP6Sensor;
        key.Number = SensorBoard;
        key.Offset = static_cast<uint32_t>(index);
    } else if (index >= 11 && index <= 18) {
        key.DeviceType = eQXP6Point;
        key.Number = BaseAddress + static_cast<uint32_t>(index - 11);
    } else if (index >= kFirstEntryIndex && index <= kMaxIndex) {
        key = Entries[static_cast<size_t>(index - kFirstEntryIndex)];
    }
    return key;
}

bool TQXP6ExtDevTable::AddDevice(const TQXP6DeviceKey& key)
{
    if (DeviceIndex(key) != 0) return true;
    for (auto& entry : Entries) {
        if (entry.IsFree()) {
            entry = key;
            if (entry.DeviceType != eQXP6Sensor) entry.Offset = 0;
            return true;
        }
    }
    return false;
}

void TQXP6ExtDevTable::Clear()
{
    for (auto& entry : Entries) entry = TQXP6DeviceKey{};
}

int TQXP6ExtDevTable::UsedEntries() const
{
    int used = 0;
    for (const auto& entry : Entries)
        if (!entry.IsFree()) ++used;
    return used;
}

bool TQXP6ExtDevTable::ToSVBytes(uint8_t* svs) const
{
    for (int i = 0; i < kEntryCount; ++i) {
        const TQXP6DeviceKey& e = Entries[static_cast<size_t>(i)];
        uint8_t first = 0;
        uint8_t second = 0;
        switch (e.DeviceType) {
        case eQXP6Sensor:
            first = static_cast<uint8_t>(e.Number & 0xFF);
            second = static_cast<uint8_t>(e.Offset + 100);
            break;
        case eQXP6Point:
            first = static_cast<uint8_t>(e.Number & 0xFF);
            second = static_cast<uint8_t>(e.Number >> 8);
            break;
        case eQXP6Signal:
            first = static_cast<uint8_t>(e.Number & 0xFF);
            second = static_cast<uint8_t>((e.Number >> 8) + 50);
            break;
        default: break;
        }
        svs[kFirstSV - 1 + 2 * static_cast<uint32_t>(i)] = first;
        svs[kFirstSV + 2 * static_cast<uint32_t>(i)] = second;
    }
    return true;
}

bool TQXP6ExtDevTable::FromSVBytes(const uint8_t* svs)
{
    for (int i = 0; i < kEntryCount; ++i) {
        const uint32_t first = svs[kFirstSV - 1 + 2 * static_cast<uint32_t>(i)];
        const uint32_t second = svs[kFirstSV + 2 * static_cast<uint32_t>(i)];
        TQXP6DeviceKey& e = Entries[static_cast<size_t>(i)];
        e = TQXP6DeviceKey{};
        if (first == 0 && second == 0) continue;
        if (second > 100) {
            e.DeviceType = eQXP6Sensor;
            e.Number = first;
            e.Offset = second - 100;
        } else if (second < 50) {
            // Signals carry 50 in their second byte already below 256, so 50 and up is a
            // signal; reading 50 as a point would turn every signal 1..255 into a point
            // above 12800 on read-back.
            e.DeviceType = eQXP6Point;
            e.Number = first + 256 * second;
        } else {
            e.DeviceType = eQXP6Signal;
            e.Number = first + 256 * (second - 50);
        }
    }
    return true;
}

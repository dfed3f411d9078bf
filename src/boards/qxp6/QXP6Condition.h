#pragma once
// One condition of a QXP6 output cell or route: a point thrown or closed, a sensor occupied or
// unoccupied, or a signal red or not red, optionally AND-ed with the next condition of its set.

#include "boards/qxp6/QXP6ExtDevTable.h"

#include <cstdint>
#include <string>
#include <string_view>

class TQXP6Condition {
public:
    // Point: 0 thrown, 1 closed. Sensor: 0 occupied, 1 unoccupied. Signal: 0 red, 1 not red.
    uint8_t DeviceType = eQXP6None;
    uint32_t Number = 0;
    uint32_t Offset = 0;
    uint8_t State = 0;
    bool AndNext = false;

    bool IsEmpty() const { return DeviceType == eQXP6None; }

    void SetPoint(uint32_t number, uint8_t state, bool andNext) { *this = {eQXP6Point, number, 0, state, andNext}; }
    void SetSensor(uint32_t number, uint32_t offset, uint8_t state, bool andNext)
    {
        *this = {eQXP6Sensor, number, offset, state, andNext};
    }
    void SetSignal(uint32_t number, uint8_t state, bool andNext) { *this = {eQXP6Signal, number, 0, state, andNext}; }
    void Clear() { *this = TQXP6Condition{}; }

    // The device the condition names (a free key for an empty condition).
    TQXP6DeviceKey Key() const;

    // "Point 12 is Closed, AND", "(No Condition)", ...
    std::string Text() const;
    // "PT 12 CL+", "SE 3:5 OC", "SG 14 RD", "Unused".
    std::string Token() const;
    // Fills the condition from a board-file token; true when the token names no device type
    // (the condition is then empty). The condition is reset first.
    bool ParseToken(std::string_view token);

    // The condition's SV byte; false when its device has no index in the table.
    bool SVByte(const TQXP6ExtDevTable& table, uint8_t& byte) const;
    // Fills the condition from an SV byte; false when the byte names a device that is not there.
    bool FromSVByte(uint8_t byte, const TQXP6ExtDevTable& table);

    bool operator==(const TQXP6Condition&) const = default;
};

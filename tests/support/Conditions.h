#pragma once
// Conditions built in one call, for the tests of conditions, signals, zones and the signal
// controller boards.

#include "boards/orb/Condition.h"

#include <cstdint>

namespace samples {

inline TCondition Point(uint32_t n, uint8_t s, bool a = false)
{
    TCondition c;
    c.SetPoint(n, s, a);
    return c;
}
inline TCondition Sensor(uint32_t n, uint32_t o, uint8_t s, bool a = false)
{
    TCondition c;
    c.SetSensor(n, o, s, a);
    return c;
}
inline TCondition Signal(uint32_t n, uint8_t s, bool a = false)
{
    TCondition c;
    c.SetSignal(n, s, a);
    return c;
}
inline TCondition Zone(uint8_t s, bool a = false)
{
    TCondition c;
    c.SetZone(s, a);
    return c;
}

} // namespace samples

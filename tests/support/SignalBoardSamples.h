#pragma once
// Sample descriptions of signals and signal controller boards, shared by the signal, ORB4 and
// ORB8 tests.

#include "boards/orb/SignalControllerBoard.h"
#include "support/Conditions.h"

#include <cstdint>
#include <string>

namespace samples {

// Signal 3 diverging at point 20, next signals 4 and 50, with conditions of every kind.
inline void DescribeDivergingSignal(TSignal& s)
{
    s.SetType(estDiverging);
    s.JunctionPoint = 20;
    s.TranspondingZone = 300;
    s.SetRevZone(4);
    s.NextSignal = 4;
    s.NextSignalThrown = 50;
    s.BlockOccupiedSet().ConditionAt(0) = Sensor(5, 3, 0);
    s.RedSet().ConditionAt(0) = Signal(50, 0, true);
    s.RedSet().ConditionAt(1) = Point(20, 1);
    s.RedThrownSet()->ConditionAt(0) = Zone(0);
    s.IsolationOverrideSet().ConditionAt(0) = Point(21, 0);
    s.AuxSet().ConditionAt(0) = Sensor(5, 3, 1);
}

// Signal 3 as DescribeDivergingSignal has it, and zone A with two sets.
inline void DescribeJunction(TSignalControllerBoard& b)
{
    DescribeDivergingSignal(b.GetSignal(3));
    TRevRunZone& a = b.GetZone(1);
    a.WestEastSet().ConditionAt(0) = Sensor(5, 3, 0, true);
    a.WestEastSet().ConditionAt(1) = Signal(2, 1);
    a.FreezeSet().ConditionAt(0) = Zone(5, true);
}

// Every signal and zone filled, with 45 points and sensors and 12 off-board signals: close to
// what the device table can hold. `seed` varies the numbers.
inline void DescribeFully(TSignalControllerBoard& b, uint32_t seed = 0)
{
    b.SetSignalBaseAddress(101 + seed % 50);
    const uint32_t base = b.GetSignalBaseAddress();
    for (uint32_t n = 1; n <= 10; ++n) {
        TSignal& s = b.GetSignal(n);
        s.SetType(n % 3 == 0 ? estDiverging : estBlock);
        s.Name = "Signal " + std::to_string(n) + " of " + std::to_string(seed);
        s.Description = "described fully";
        s.HeadType = static_cast<int>((n + seed) % 14);
        s.JunctionPoint = 200 + n;
        s.TranspondingZone = n * 37 + seed;
        s.SetRevZone(static_cast<uint8_t>(n % 7));
        s.NextSignal = n < 10 ? base + n : 900 + seed % 7; // next on the board, the last one off it
        s.SetNextMode(static_cast<uint8_t>(n % 2));
        s.NextSignalThrown = 910 + n;
        s.SetNextModeThrown(static_cast<uint8_t>(n % 4));
        const uint32_t p = 10 * n + seed % 3;
        s.BlockOccupiedSet().ConditionAt(0) = Sensor(p, 1 + n % 16, 0, true);
        s.BlockOccupiedSet().ConditionAt(1) = Point(p, 1);
        for (uint32_t i = 0; i < s.RedSet().Count(); ++i)
            s.RedSet().ConditionAt(i) = i % 3 == 0   ? Point(p + i % 2, i % 2, i % 4 == 0)
                                        : i % 3 == 1 ? Signal(920 + (i + n) % 3, 1)
                                                     : Zone(static_cast<uint8_t>(i % 6));
        if (TConditionSet* t = s.BlockOccupiedThrownSet()) t->ConditionAt(0) = Sensor(p, 2, 1);
        if (TConditionSet* t = s.RedThrownSet()) t->ConditionAt(0) = Point(p + 1, 0, true), t->ConditionAt(1) = Zone(3);
        s.AuxSet().ConditionAt(0) = Signal(base + 1, 0);
        s.IsolationOverrideSet().ConditionAt(0) = Zone(static_cast<uint8_t>(n % 6));
    }
    for (uint32_t z = 1; z <= 3; ++z) {
        TRevRunZone& r = b.GetZone(z);
        r.Name = "Zone " + std::to_string(z);
        r.Description = "loop " + std::to_string(seed);
        r.WestEastSet().ConditionAt(0) = Sensor(400 + z, 4, 0, true);
        r.WestEastSet().ConditionAt(1) = Point(400 + z, 0);
        r.EastWestSet().ConditionAt(0) = Sensor(400 + z, 5, 0);
        r.FreezeSet().ConditionAt(0) = Signal(base + z, 0);
        r.ShuntSet().ConditionAt(0) = Zone(static_cast<uint8_t>(z));
    }
    b.Notes = "Full layout " + std::to_string(seed);
    b.SerialNumber = 1000 + seed;
}

} // namespace samples

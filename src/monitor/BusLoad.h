#pragma once
// How busy the bus is: messages per second and the share of the line's capacity that they took
// over the last second. A byte on LocoNet takes 10 bits (start, 8 data, stop).

#include <array>
#include <cstdint>

class TBusLoad {
public:
    explicit TBusLoad(int32_t baud = 16457) : Baud(baud) {}

    // A message of `bytes` bytes was read at `timeUs` (microseconds, never going back).
    void Add(int64_t timeUs, uint32_t bytes);
    void Clear() { Slots = {}; }

    struct TFigures {
        uint32_t MessagesPerSecond = 0;
        double SharePercent = 0; // bits received / bits the line carries in a second, times 100
    };
    // The second that ends at `nowUs` (to 10 ms).
    TFigures LastSecond(int64_t nowUs) const;

    static constexpr int64_t kSlotUs = 10000;
    static constexpr int kSlots = 100;

private:
    struct TSlot {
        int64_t Index = -1; // timeUs / kSlotUs of what it counts
        uint32_t Messages = 0;
        uint64_t Bytes = 0;
    };
    int32_t Baud;
    std::array<TSlot, kSlots> Slots{};
};

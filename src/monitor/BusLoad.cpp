#include "monitor/BusLoad.h"

void TBusLoad::Add(int64_t timeUs, uint32_t bytes)
{
    const int64_t index = timeUs / kSlotUs;
    TSlot& slot = Slots[static_cast<std::size_t>(index % kSlots)];
    if (slot.Index != index) slot = {index, 0, 0};
    ++slot.Messages;
    slot.Bytes += bytes;
}

TBusLoad::TFigures TBusLoad::LastSecond(int64_t nowUs) const
{
    const int64_t newest = nowUs / kSlotUs;
    uint32_t messages = 0;
    uint64_t bytes = 0;
    for (const TSlot& slot : Slots) {
        if (slot.Index > newest - kSlots && slot.Index <= newest) {
            messages += slot.Messages;
            bytes += slot.Bytes;
        }
    }
    TFigures f;
    f.MessagesPerSecond = messages;
    f.SharePercent = Baud > 0 ? static_cast<double>(bytes) * 10.0 * 100.0 / Baud : 0.0;
    return f;
}

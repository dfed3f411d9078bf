#include "sim/SimBus.h"

#include <algorithm>

namespace {

std::vector<uint8_t> WithChecksum(std::vector<uint8_t> bytes)
{
    uint8_t x = 0;
    for (uint8_t b : bytes) x ^= b;
    bytes.push_back(static_cast<uint8_t>(0xFF ^ x));
    return bytes;
}

} // namespace

TSimBus::TSimBus(const TSimConfig& config, uint64_t nowUs) : Settings(config), Random(config.Seed), BusFreeAt(nowUs)
{
    for (const auto& entry : Settings.Boards) {
        BoardList.emplace_back(entry.TypeIndex, entry.Serial, entry.Firmware);
        TVirtualBoard& board = BoardList.back();
        if (Settings.SilentSerial != 0 && entry.Serial == Settings.SilentSerial) board.SetSilent(true);
        if (Settings.ReadbackSV != 0) board.SetReadbackFault(Settings.ReadbackSV);
    }
    if (Settings.Traffic)
        Push(nowUs + TrafficMinUs + Below(TrafficMaxUs - TrafficMinUs), EEvent::eTraffic, {}, 0, false);
}

double TSimBus::Uniform()
{
    return static_cast<double>(Random() >> 11) * (1.0 / 9007199254740992.0);
}

uint64_t TSimBus::Below(uint64_t n)
{
    return n == 0 ? 0 : Random() % n;
}

uint64_t TSimBus::Duration(size_t count) const
{
    if (!Settings.PaceReal) return 0;
    return static_cast<uint64_t>(count) * 10ull * 1000000ull / BaudRate;
}

void TSimBus::Push(uint64_t time, EEvent kind, std::vector<uint8_t> bytes, uint64_t sendId, bool fromBoard)
{
    Events.push(TEvent{time, NextSeq++, kind, std::move(bytes), sendId, fromBoard});
}

uint64_t TSimBus::Send(const uint8_t* bytes, size_t count, uint64_t nowUs)
{
    uint64_t id = NextSendId++;
    Push(nowUs, EEvent::eReady, std::vector<uint8_t>(bytes, bytes + count), id, false);
    return id;
}

std::optional<uint64_t> TSimBus::NextDueUs() const
{
    if (Events.empty()) return std::nullopt;
    return Events.top().Time;
}

void TSimBus::Poll(uint64_t nowUs, std::vector<TSimDelivery>& out)
{
    while (!Events.empty() && Events.top().Time <= nowUs) {
        TEvent event = Events.top();
        Events.pop();
        Process(event, out);
    }
}

void TSimBus::Poll(uint64_t nowUs, std::vector<uint8_t>& out)
{
    std::vector<TSimDelivery> deliveries;
    Poll(nowUs, deliveries);
    for (const auto& d : deliveries) out.insert(out.end(), d.Bytes.begin(), d.Bytes.end());
}

void TSimBus::Process(TEvent& event, std::vector<TSimDelivery>& out)
{
    switch (event.Kind) {
    case EEvent::eReady: {
        // The message waits for the bus to be free, then holds it for its duration.
        uint64_t start = std::max(event.Time, BusFreeAt);
        uint64_t end = start + Duration(event.Bytes.size());
        BusFreeAt = Settings.PaceReal ? end + GapUs : end;
        Push(end, EEvent::eComplete, std::move(event.Bytes), event.SendId, event.FromBoard);
        return;
    }
    case EEvent::eComplete: Complete(event, out); return;
    case EEvent::eTraffic:
        Push(event.Time, EEvent::eReady, MakeTraffic(), 0, false);
        Push(event.Time + TrafficMinUs + Below(TrafficMaxUs - TrafficMinUs), EEvent::eTraffic, {}, 0, false);
        return;
    }
}

void TSimBus::Complete(TEvent& event, std::vector<TSimDelivery>& out)
{
    if (event.FromBoard && Settings.Drop > 0 && Uniform() < Settings.Drop) {
        ++Dropped;
        return;
    }
    ++OnBus;

    // The boards hear the message as it was sent.
    if (!event.Bytes.empty()) {
        TLocoNetMessage msg(event.Bytes.data(), static_cast<uint32_t>(event.Bytes.size()));
        if (msg.IsValid()) {
            for (auto& board : BoardList) {
                auto reply = board.Handle(msg);
                if (!reply) continue;
                std::vector<uint8_t> bytes(reply->GetData(), reply->GetData() + reply->GetLength());
                uint64_t ready = event.Time + (Settings.PaceReal ? ReplyDelayUs : 0);
                Push(ready, EEvent::eReady, std::move(bytes), 0, true);
            }
        }
    }

    // The interface receives it, perhaps with junk before it or one bit flipped in it.
    if (Settings.Junk > 0 && Uniform() < Settings.Junk) {
        TSimDelivery junk;
        junk.Junk = true;
        size_t n = 1 + Below(3);
        for (size_t i = 0; i < n; ++i) junk.Bytes.push_back(static_cast<uint8_t>(Below(0x80)));
        out.push_back(std::move(junk));
        ++JunkCount;
    }
    TSimDelivery delivery;
    delivery.Bytes = std::move(event.Bytes);
    delivery.SendId = event.SendId;
    if (delivery.Bytes.size() >= 2 && Settings.Corrupt > 0 && Uniform() < Settings.Corrupt) {
        // A data bit of a payload or checksum byte flips; the count byte of a long message is
        // spared so that the damage stays inside this one message.
        size_t first = delivery.Bytes[0] >= 0xE0 ? 2 : 1;
        if (first < delivery.Bytes.size()) {
            size_t at = first + Below(delivery.Bytes.size() - first);
            delivery.Bytes[at] ^= static_cast<uint8_t>(1u << Below(7));
            ++Corrupted;
        }
    }
    out.push_back(std::move(delivery));
}

std::vector<uint8_t> TSimBus::MakeTraffic()
{
    switch (Below(4)) {
    case 0: { // sensor report: board 1 to 4, input 1 to 16, on or off
        uint32_t board = 1 + static_cast<uint32_t>(Below(4));
        uint32_t input = 1 + static_cast<uint32_t>(Below(16));
        uint32_t v = (board - 1) * 8 + (input - 1) / 2;
        uint8_t b2 = static_cast<uint8_t>(((v >> 7) & 0x0F) | 0x40);
        if ((input - 1) % 2 == 1) b2 |= 0x20;
        if (Below(2)) b2 |= 0x10;
        return WithChecksum({0xB2, static_cast<uint8_t>(v & 0x7F), b2});
    }
    case 1: { // switch request: point 1 to 32
        uint32_t point = static_cast<uint32_t>(Below(32));
        uint8_t state = static_cast<uint8_t>(Below(4));
        return WithChecksum(
            {0xB0, static_cast<uint8_t>(point & 0x7F), static_cast<uint8_t>(((point >> 7) & 0x0F) | (state << 4))});
    }
    case 2: // throttle speed: slot 1 to 8
        return WithChecksum({0xA0, static_cast<uint8_t>(1 + Below(8)), static_cast<uint8_t>(Below(128))});
    default: // throttle direction and functions
        return WithChecksum({0xA1, static_cast<uint8_t>(1 + Below(8)), static_cast<uint8_t>(Below(0x40))});
    }
}

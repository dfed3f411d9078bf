#pragma once
// What a message is about, for the monitor's filters: its kind, and the addresses it names. Both
// come from the table of message types in MessageTable.cpp.

#include "link/LocoNetMessage.h"

#include <array>
#include <cstdint>

enum class EMessageKind : uint8_t { Power, Sensors, Switches, Throttles, Slots, SVProgramming, PeerTransfer, Other };
constexpr int kMessageKindCount = 8;
constexpr uint32_t kAllMessageKinds = (1u << kMessageKindCount) - 1;

constexpr uint32_t MessageKindBit(EMessageKind kind)
{
    return 1u << static_cast<unsigned>(kind);
}

// "Power", "Sensors", "Switches", "Throttles", "Slots", "SV programming", "Peer transfer", "Other".
const char* MessageKindName(EMessageKind kind);
EMessageKind MessageKindOf(ELocoNetMsgType type);

// The addresses a message names: a sensor number ((board - 1) * 16 + input, from 1), a point
// number (from 1), a slot (both slots of a slot move or link), or the destination of an SV access
// message. Count is 0 for messages without one.
struct TMessageAddresses {
    std::array<uint32_t, 2> Values{};
    int Count = 0;
};
TMessageAddresses MessageAddresses(const TLocoNetMessage& msg, ELocoNetMsgType type);

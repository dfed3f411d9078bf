#pragma once
// Tells a message this program wrote, handed back by the bus, from one another device sent.
// A LocoNet interface echoes every message it puts on the bus once the bus took it; a message
// that lost a collision is repeated or dropped by the interface, so an echo can come late or
// never, and other devices' messages can come in between.

#include "link/LocoNetMessage.h"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>

class TEchoMatcher {
public:
    // A message was written at `timeUs`.
    void Sent(const uint8_t* bytes, uint32_t length, int64_t timeUs);
    // True when `msg`, received at `timeUs`, is the echo of a message written within the last
    // kWindowUs. The match and every older message still waiting are done with: the interface
    // sends in order, so those were lost.
    bool IsEcho(const TLocoNetMessage& msg, int64_t timeUs);
    void Clear() { Waiting.clear(); }
    std::size_t WaitingCount() const { return Waiting.size(); }

    // How long an echo may take (a busy bus with retries takes well under a second).
    static constexpr int64_t kWindowUs = 2000000;
    // At most this many written messages wait for their echo; the oldest goes first.
    static constexpr std::size_t kMaxWaiting = 64;

private:
    struct TWritten {
        std::string Bytes;
        int64_t TimeUs;
    };
    std::deque<TWritten> Waiting;
};

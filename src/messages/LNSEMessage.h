#pragma once
// Signal message (0xE4, 9 bytes): signal number from 1 and aspect
// (0 red, 1 amber, 2 double amber, 3 green, 4 red with reverse running).
// Adds no state of its own: everything lives in the message bytes.

#include "link/LocoNetMessage.h"

#include <cstdint>
#include <string>
#include <utility>

class TLNSEMessage : public TLocoNetMessage {
public:
    static constexpr ELocoNetMsgType kType = eOPCSE;

    explicit TLNSEMessage(const TLocoNetMessage& msg) : TLocoNetMessage(msg) {}
    explicit TLNSEMessage(TLocoNetMessage&& msg) noexcept : TLocoNetMessage(std::move(msg)) {}

    // True, with the fields filled, only when the message is of type eOPCSE;
    // otherwise false and the fields are left as they were.
    bool Decode(uint32_t& signalNumber, uint32_t& aspect) const { return DecodeFrom(*this, signalNumber, aspect); }
    static bool DecodeFrom(const TLocoNetMessage& msg, uint32_t& signalNumber, uint32_t& aspect);

    std::string Text() const override { return TextOf(*this); }
    // The decoded text of msg read as this kind, or "Incorrect parse - not eOPCSE".
    static std::string TextOf(const TLocoNetMessage& msg);
};

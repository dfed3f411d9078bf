#pragma once
// Turnout feedback (0xB1 with bit 0x40 of byte 2 set): point number from 1, closed or thrown.
// Adds no state of its own: everything lives in the message bytes.

#include "link/LocoNetMessage.h"

#include <cstdint>
#include <string>
#include <utility>

class TLNToFBMessage : public TLocoNetMessage {
public:
    static constexpr ELocoNetMsgType kType = eOPCTOFB;

    explicit TLNToFBMessage(const TLocoNetMessage& msg) : TLocoNetMessage(msg) {}
    explicit TLNToFBMessage(TLocoNetMessage&& msg) noexcept : TLocoNetMessage(std::move(msg)) {}

    // True, with the fields filled, only when the message is of type eOPCTOFB;
    // otherwise false and the fields are left as they were.
    bool Decode(uint32_t& point, bool& closed) const { return DecodeFrom(*this, point, closed); }
    static bool DecodeFrom(const TLocoNetMessage& msg, uint32_t& point, bool& closed);

    std::string Text() const override { return TextOf(*this); }
    // The decoded text of msg read as this kind, or "Incorrect parse - not eOPCTOFB".
    static std::string TextOf(const TLocoNetMessage& msg);
};

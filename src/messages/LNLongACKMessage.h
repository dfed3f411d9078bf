#pragma once
// Long acknowledge (0xB4): acknowledged opcode (byte 1) and response.
// Adds no state of its own: everything lives in the message bytes.

#include "link/LocoNetMessage.h"

#include <cstdint>
#include <string>
#include <utility>

class TLNLongACKMessage : public TLocoNetMessage {
public:
    static constexpr ELocoNetMsgType kType = eOPCLONGACK;

    explicit TLNLongACKMessage(const TLocoNetMessage& msg) : TLocoNetMessage(msg) {}
    explicit TLNLongACKMessage(TLocoNetMessage&& msg) noexcept : TLocoNetMessage(std::move(msg)) {}

    // True, with the fields filled, only when the message is of type eOPCLONGACK;
    // otherwise false and the fields are left as they were.
    bool Decode(uint32_t& opcode, uint32_t& response) const { return DecodeFrom(*this, opcode, response); }
    static bool DecodeFrom(const TLocoNetMessage& msg, uint32_t& opcode, uint32_t& response);

    std::string Text() const override { return TextOf(*this); }
    // The decoded text of msg read as this kind, or "Incorrect parse - not eOPCLONGACK".
    static std::string TextOf(const TLocoNetMessage& msg);
};

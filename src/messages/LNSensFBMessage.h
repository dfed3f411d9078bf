#pragma once
// Sensor report (0xB2): board from 1, input 1 to 16, state on or off.
// Adds no state of its own: everything lives in the message bytes.

#include "link/LocoNetMessage.h"

#include <cstdint>
#include <string>
#include <utility>

class TLNSensFBMessage : public TLocoNetMessage {
public:
    static constexpr ELocoNetMsgType kType = eOPCSENS;

    explicit TLNSensFBMessage(const TLocoNetMessage& msg) : TLocoNetMessage(msg) {}
    explicit TLNSensFBMessage(TLocoNetMessage&& msg) noexcept : TLocoNetMessage(std::move(msg)) {}
    // Builds B2, v & 0x7F, ((v >> 7) & 0x0F) | 0x40 [| 0x20 for an even input] [| 0x10 when on], checksum,
    // where v = (board - 1) * 8 + (input - 1) / 2. Board is from 1, input 1 to 16.
    TLNSensFBMessage(uint32_t board, uint32_t input, bool state);

    // True, with the fields filled, only when the message is of type eOPCSENS;
    // otherwise false and the fields are left as they were.
    bool Decode(uint32_t& board, uint32_t& input, bool& state) const { return DecodeFrom(*this, board, input, state); }
    static bool DecodeFrom(const TLocoNetMessage& msg, uint32_t& board, uint32_t& input, bool& state);

    std::string Text() const override { return TextOf(*this); }
    // The decoded text of msg read as this kind, or "Incorrect parse - not eOPCSENS".
    static std::string TextOf(const TLocoNetMessage& msg);
};

#pragma once
// Switch request (0xB0): point number from 1 and request state 0..3
// (bit 1: closed direction; bit 0: output on).
// Adds no state of its own: everything lives in the message bytes.

#include "link/LocoNetMessage.h"

#include <cstdint>
#include <string>
#include <utility>

class TLNSwReqMessage : public TLocoNetMessage {
public:
    static constexpr ELocoNetMsgType kType = eOPCSWREQ;

    explicit TLNSwReqMessage(const TLocoNetMessage& msg) : TLocoNetMessage(msg) {}
    explicit TLNSwReqMessage(TLocoNetMessage&& msg) noexcept : TLocoNetMessage(std::move(msg)) {}
    // Builds B0, (point - 1) & 0x7F, (((point - 1) >> 7) & 0x0F) | requestState * 16, checksum.
    // Only the low two bits of requestState are used, so the byte stays a 7-bit payload byte.
    TLNSwReqMessage(uint32_t point, uint32_t requestState);

    // True, with the fields filled, only when the message is of type eOPCSWREQ;
    // otherwise false and the fields are left as they were.
    bool Decode(uint32_t& point, uint32_t& requestState) const { return DecodeFrom(*this, point, requestState); }
    static bool DecodeFrom(const TLocoNetMessage& msg, uint32_t& point, uint32_t& requestState);

    std::string Text() const override { return TextOf(*this); }
    // The decoded text of msg read as this kind, or "Incorrect parse - not eOPCSWREQ".
    static std::string TextOf(const TLocoNetMessage& msg);
};

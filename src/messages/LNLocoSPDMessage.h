#pragma once
// Throttle speed (0xA0): slot and speed.
// Adds no state of its own: everything lives in the message bytes.

#include "link/LocoNetMessage.h"

#include <cstdint>
#include <string>
#include <utility>

class TLNLocoSPDMessage : public TLocoNetMessage {
public:
    static constexpr ELocoNetMsgType kType = eOPCLOCOSPD;

    explicit TLNLocoSPDMessage(const TLocoNetMessage& msg) : TLocoNetMessage(msg) {}
    explicit TLNLocoSPDMessage(TLocoNetMessage&& msg) noexcept : TLocoNetMessage(std::move(msg)) {}

    // True, with the fields filled, only when the message is of type eOPCLOCOSPD;
    // otherwise false and the fields are left as they were.
    bool Decode(uint32_t& slot, uint32_t& speed) const { return DecodeFrom(*this, slot, speed); }
    static bool DecodeFrom(const TLocoNetMessage& msg, uint32_t& slot, uint32_t& speed);

    std::string Text() const override { return TextOf(*this); }
    // The decoded text of msg read as this kind, or "Incorrect parse - not eOPCLOCOSPD".
    static std::string TextOf(const TLocoNetMessage& msg);
};

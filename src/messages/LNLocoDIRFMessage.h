#pragma once
// Throttle direction and functions F0 to F4 (0xA1).
// Adds no state of its own: everything lives in the message bytes.

#include "link/LocoNetMessage.h"

#include <array>
#include <cstdint>
#include <string>
#include <utility>

class TLNLocoDIRFMessage : public TLocoNetMessage {
public:
    static constexpr ELocoNetMsgType kType = eOPCLOCODIRF;

    explicit TLNLocoDIRFMessage(const TLocoNetMessage& msg) : TLocoNetMessage(msg) {}
    explicit TLNLocoDIRFMessage(TLocoNetMessage&& msg) noexcept : TLocoNetMessage(std::move(msg)) {}

    // True, with the fields filled, only when the message is of type eOPCLOCODIRF;
    // otherwise false and the fields are left as they were.
    bool Decode(uint32_t& slot, bool& forward, std::array<bool, 5>& f0to4) const
    {
        return DecodeFrom(*this, slot, forward, f0to4);
    }
    static bool DecodeFrom(const TLocoNetMessage& msg, uint32_t& slot, bool& forward, std::array<bool, 5>& f0to4);

    std::string Text() const override { return TextOf(*this); }
    // The decoded text of msg read as this kind, or "Incorrect parse - not eOPCLOCODIRF".
    static std::string TextOf(const TLocoNetMessage& msg);
};

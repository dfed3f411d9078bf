#pragma once
// Throttle functions F5 to F8 (0xA2).
// Adds no state of its own: everything lives in the message bytes.

#include "link/LocoNetMessage.h"

#include <array>
#include <cstdint>
#include <string>
#include <utility>

class TLNLocoSNDMessage : public TLocoNetMessage {
public:
    static constexpr ELocoNetMsgType kType = eOPCLOCOSND;

    explicit TLNLocoSNDMessage(const TLocoNetMessage& msg) : TLocoNetMessage(msg) {}
    explicit TLNLocoSNDMessage(TLocoNetMessage&& msg) noexcept : TLocoNetMessage(std::move(msg)) {}

    // True, with the fields filled, only when the message is of type eOPCLOCOSND;
    // otherwise false and the fields are left as they were.
    bool Decode(uint32_t& slot, std::array<bool, 4>& f5to8) const { return DecodeFrom(*this, slot, f5to8); }
    static bool DecodeFrom(const TLocoNetMessage& msg, uint32_t& slot, std::array<bool, 4>& f5to8);

    std::string Text() const override { return TextOf(*this); }
    // The decoded text of msg read as this kind, or "Incorrect parse - not eOPCLOCOSND".
    static std::string TextOf(const TLocoNetMessage& msg);
};

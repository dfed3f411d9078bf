#pragma once
// Throttle functions F9 to F12 (0xA3).
// Adds no state of its own: everything lives in the message bytes.

#include "link/LocoNetMessage.h"

#include <array>
#include <cstdint>
#include <string>
#include <utility>

class TLNLocoF9F12Message : public TLocoNetMessage {
public:
    static constexpr ELocoNetMsgType kType = eOPCLOCOF9F12;

    explicit TLNLocoF9F12Message(const TLocoNetMessage& msg) : TLocoNetMessage(msg) {}
    explicit TLNLocoF9F12Message(TLocoNetMessage&& msg) noexcept : TLocoNetMessage(std::move(msg)) {}

    // True, with the fields filled, only when the message is of type eOPCLOCOF9F12;
    // otherwise false and the fields are left as they were.
    bool Decode(uint32_t& slot, std::array<bool, 4>& f9to12) const { return DecodeFrom(*this, slot, f9to12); }
    static bool DecodeFrom(const TLocoNetMessage& msg, uint32_t& slot, std::array<bool, 4>& f9to12);

    std::string Text() const override { return TextOf(*this); }
    // The decoded text of msg read as this kind, or "Incorrect parse - not eOPCLOCOF9F12".
    static std::string TextOf(const TLocoNetMessage& msg);
};

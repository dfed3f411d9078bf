#pragma once
// Request of a slot for a locomotive address (0xBF).
// Adds no state of its own: everything lives in the message bytes.

#include "link/LocoNetMessage.h"

#include <cstdint>
#include <string>
#include <utility>

class TLNLocoAddrMessage : public TLocoNetMessage {
public:
    static constexpr ELocoNetMsgType kType = eOPCLOCOADR;

    explicit TLNLocoAddrMessage(const TLocoNetMessage& msg) : TLocoNetMessage(msg) {}
    explicit TLNLocoAddrMessage(TLocoNetMessage&& msg) noexcept : TLocoNetMessage(std::move(msg)) {}

    // True, with the fields filled, only when the message is of type eOPCLOCOADR;
    // otherwise false and the fields are left as they were.
    bool Decode(uint32_t& address) const { return DecodeFrom(*this, address); }
    static bool DecodeFrom(const TLocoNetMessage& msg, uint32_t& address);

    std::string Text() const override { return TextOf(*this); }
    // The decoded text of msg read as this kind, or "Incorrect parse - not eOPCLOCOADR".
    static std::string TextOf(const TLocoNetMessage& msg);
};

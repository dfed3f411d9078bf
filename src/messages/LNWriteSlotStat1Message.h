#pragma once
// Write slot status 1 (0xB5): slot, busy state, consist state and decoder type.
// Adds no state of its own: everything lives in the message bytes.

#include "link/LocoNetMessage.h"

#include <cstdint>
#include <string>
#include <utility>

class TLNWriteSlotStat1Message : public TLocoNetMessage {
public:
    static constexpr ELocoNetMsgType kType = eOPCSLOTSTAT1;

    explicit TLNWriteSlotStat1Message(const TLocoNetMessage& msg) : TLocoNetMessage(msg) {}
    explicit TLNWriteSlotStat1Message(TLocoNetMessage&& msg) noexcept : TLocoNetMessage(std::move(msg)) {}

    // True, with the fields filled, only when the message is of type eOPCSLOTSTAT1;
    // otherwise false and the fields are left as they were.
    bool Decode(uint32_t& slot, uint32_t& busyState, uint32_t& consistState, uint32_t& decoderType) const
    {
        return DecodeFrom(*this, slot, busyState, consistState, decoderType);
    }
    static bool DecodeFrom(const TLocoNetMessage& msg, uint32_t& slot, uint32_t& busyState, uint32_t& consistState,
                           uint32_t& decoderType);

    std::string Text() const override { return TextOf(*this); }
    // The decoded text of msg read as this kind, or "Incorrect parse - not eOPCSLOTSTAT1".
    static std::string TextOf(const TLocoNetMessage& msg);
};

#pragma once
// Move slots (0xBA): source and destination slot.
// Adds no state of its own: everything lives in the message bytes.

#include "link/LocoNetMessage.h"

#include <cstdint>
#include <string>
#include <utility>

class TLNMoveSlotMessage : public TLocoNetMessage {
public:
    static constexpr ELocoNetMsgType kType = eOPCMOVESLOTS;

    explicit TLNMoveSlotMessage(const TLocoNetMessage& msg) : TLocoNetMessage(msg) {}
    explicit TLNMoveSlotMessage(TLocoNetMessage&& msg) noexcept : TLocoNetMessage(std::move(msg)) {}

    // True, with the fields filled, only when the message is of type eOPCMOVESLOTS;
    // otherwise false and the fields are left as they were.
    bool Decode(uint32_t& sourceSlot, uint32_t& destinationSlot) const
    {
        return DecodeFrom(*this, sourceSlot, destinationSlot);
    }
    static bool DecodeFrom(const TLocoNetMessage& msg, uint32_t& sourceSlot, uint32_t& destinationSlot);

    std::string Text() const override { return TextOf(*this); }
    // The decoded text of msg read as this kind, or "Incorrect parse - not eOPCMOVESLOTS".
    static std::string TextOf(const TLocoNetMessage& msg);
};

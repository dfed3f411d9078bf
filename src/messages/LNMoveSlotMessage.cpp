#include "messages/LNMoveSlotMessage.h"

#include "link/TextFormat.h"

bool TLNMoveSlotMessage::DecodeFrom(const TLocoNetMessage& msg, uint32_t& sourceSlot, uint32_t& destinationSlot)
{
    if (msg.MessageType() != kType) return false;
    sourceSlot = msg.GetByte(1);
    destinationSlot = msg.GetByte(2);
    return true;
}

std::string TLNMoveSlotMessage::TextOf(const TLocoNetMessage& msg)
{
    uint32_t source = 0, destination = 0;
    if (!DecodeFrom(msg, source, destination)) return "Incorrect parse - not eOPCMOVESLOTS";
    std::string s = "OPC_MOVE_SLOTS: move FROM slot ";
    textformat::AppendDec(s, source);
    s += " TO slot ";
    textformat::AppendDec(s, destination);
    return s;
}

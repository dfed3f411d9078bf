#include "messages/LNLocoSPDMessage.h"

#include "link/TextFormat.h"

bool TLNLocoSPDMessage::DecodeFrom(const TLocoNetMessage& msg, uint32_t& slot, uint32_t& speed)
{
    if (msg.MessageType() != kType) return false;
    slot = msg.GetByte(1);
    speed = msg.GetByte(2);
    return true;
}

std::string TLNLocoSPDMessage::TextOf(const TLocoNetMessage& msg)
{
    uint32_t slot = 0, speed = 0;
    if (!DecodeFrom(msg, slot, speed)) return "Incorrect parse - not eOPCLOCOSPD";
    std::string s = "OPC_LOCO_SPD throttle speed: slot=";
    textformat::AppendDec(s, slot);
    s += ", speed=";
    textformat::AppendDec(s, speed);
    return s;
}

#include "messages/LNLocoAddrMessage.h"

#include "link/TextFormat.h"

bool TLNLocoAddrMessage::DecodeFrom(const TLocoNetMessage& msg, uint32_t& address)
{
    if (msg.MessageType() != kType) return false;
    address = msg.GetByte(1) * 128u + msg.GetByte(2);
    return true;
}

std::string TLNLocoAddrMessage::TextOf(const TLocoNetMessage& msg)
{
    uint32_t address = 0;
    if (!DecodeFrom(msg, address)) return "Incorrect parse - not eOPCLOCOADR";
    std::string s = "OPC_LOCO_ADDR, loco=";
    textformat::AppendDec(s, address);
    return s;
}

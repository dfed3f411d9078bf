#include "messages/LNLongACKMessage.h"

#include "link/TextFormat.h"

bool TLNLongACKMessage::DecodeFrom(const TLocoNetMessage& msg, uint32_t& opcode, uint32_t& response)
{
    if (msg.MessageType() != kType) return false;
    opcode = msg.GetByte(1);
    response = msg.GetByte(2);
    return true;
}

std::string TLNLongACKMessage::TextOf(const TLocoNetMessage& msg)
{
    uint32_t opcode = 0, response = 0;
    if (!DecodeFrom(msg, opcode, response)) return "Incorrect parse - not eOPCLONGACK";
    std::string s = "OPC_LONG_ACK opcode=";
    if (opcode == 0)
        s += "fail";
    else
        textformat::AppendHex(s, opcode | 0x80, 2);
    s += ", response=";
    textformat::AppendDec(s, response);
    return s;
}

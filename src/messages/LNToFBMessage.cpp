#include "messages/LNToFBMessage.h"

#include "link/TextFormat.h"

bool TLNToFBMessage::DecodeFrom(const TLocoNetMessage& msg, uint32_t& point, bool& closed)
{
    if (msg.MessageType() != kType) return false;
    const uint32_t b2 = msg.GetByte(2);
    point = (msg.GetByte(1) & 0x7Fu) + (b2 & 0x0F) * 128 + 1;
    closed = (b2 & 0x10) != 0;
    return true;
}

std::string TLNToFBMessage::TextOf(const TLocoNetMessage& msg)
{
    uint32_t point = 0;
    bool closed = false;
    if (!DecodeFrom(msg, point, closed)) return "Incorrect parse - not eOPCTOFB";
    std::string s = "Turnout Feedback, point number = ";
    textformat::AppendDec(s, point);
    s += closed ? " is CLOSED" : " is THROWN";
    return s;
}

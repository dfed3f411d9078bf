#include "messages/LNSEMessage.h"

#include "link/TextFormat.h"

namespace {

// Aspect bytes of 64 and more carry their value in the low six bits, in steps of four.
uint32_t AspectValue(uint32_t v)
{
    return v >= 64 ? (v & 63) * 4 : v;
}

} // namespace

bool TLNSEMessage::DecodeFrom(const TLocoNetMessage& msg, uint32_t& signalNumber, uint32_t& aspect)
{
    if (msg.MessageType() != kType) return false;
    signalNumber = msg.GetByte(2) * 128u + msg.GetByte(3) + 1;
    const uint32_t a = AspectValue(msg.GetByte(6));
    const uint32_t r = AspectValue(msg.GetByte(7));
    if (r != 0)
        aspect = 4;
    else if (a == 0)
        aspect = 0;
    else if (a <= 8)
        aspect = 1;
    else if (a <= 16)
        aspect = 2;
    else
        aspect = 3;
    return true;
}

std::string TLNSEMessage::TextOf(const TLocoNetMessage& msg)
{
    static constexpr const char* kAspects[5] = {" is RED", " is Amber", " is Double amber", " is Green",
                                                " is RED, reverse running"};
    uint32_t signalNumber = 0, aspect = 0;
    if (!DecodeFrom(msg, signalNumber, aspect)) return "Incorrect parse - not eOPCSE";
    std::string s = "<SE> Signal message, Signal number = ";
    textformat::AppendDec(s, signalNumber);
    s += kAspects[aspect];
    return s;
}

#include "messages/LNLocoF9F12Message.h"

#include "link/TextFormat.h"

bool TLNLocoF9F12Message::DecodeFrom(const TLocoNetMessage& msg, uint32_t& slot, std::array<bool, 4>& f9to12)
{
    if (msg.MessageType() != kType) return false;
    const uint8_t b2 = msg.GetByte(2);
    slot = msg.GetByte(1);
    f9to12 = {(b2 & 0x01) != 0, (b2 & 0x02) != 0, (b2 & 0x04) != 0, (b2 & 0x08) != 0};
    return true;
}

std::string TLNLocoF9F12Message::TextOf(const TLocoNetMessage& msg)
{
    static constexpr const char* kFunctions[4] = {"F9 set; ", "F10 set; ", "F11 set; ", "F12 set; "};
    uint32_t slot = 0;
    std::array<bool, 4> f{};
    if (!DecodeFrom(msg, slot, f)) return "Incorrect parse - not eOPCLOCOF9F12";
    std::string s = "OPC_LOCO_F9F12 throttle functions: slot=";
    textformat::AppendDec(s, slot);
    s += "; ";
    for (size_t i = 0; i < f.size(); ++i)
        if (f[i]) s += kFunctions[i];
    return s;
}

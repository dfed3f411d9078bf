#include "messages/LNLocoSNDMessage.h"

#include "link/TextFormat.h"

bool TLNLocoSNDMessage::DecodeFrom(const TLocoNetMessage& msg, uint32_t& slot, std::array<bool, 4>& f5to8)
{
    if (msg.MessageType() != kType) return false;
    const uint8_t b2 = msg.GetByte(2);
    slot = msg.GetByte(1);
    f5to8 = {(b2 & 0x01) != 0, (b2 & 0x02) != 0, (b2 & 0x04) != 0, (b2 & 0x08) != 0};
    return true;
}

std::string TLNLocoSNDMessage::TextOf(const TLocoNetMessage& msg)
{
    static constexpr const char* kFunctions[4] = {"F5 set; ", "F6 set; ", "F7 set; ", "F8 set; "};
    uint32_t slot = 0;
    std::array<bool, 4> f{};
    if (!DecodeFrom(msg, slot, f)) return "Incorrect parse - not eOPCLOCOSND";
    std::string s = "OPC_LOCO_SND throttle functions: slot=";
    textformat::AppendDec(s, slot);
    s += "; ";
    for (size_t i = 0; i < f.size(); ++i)
        if (f[i]) s += kFunctions[i];
    return s;
}

#include "messages/LNLocoDIRFMessage.h"

#include "link/TextFormat.h"

bool TLNLocoDIRFMessage::DecodeFrom(const TLocoNetMessage& msg, uint32_t& slot, bool& forward,
                                    std::array<bool, 5>& f0to4)
{
    if (msg.MessageType() != kType) return false;
    const uint8_t b2 = msg.GetByte(2);
    slot = msg.GetByte(1);
    forward = (b2 & 0x20) == 0;
    f0to4 = {(b2 & 0x10) != 0, (b2 & 0x01) != 0, (b2 & 0x02) != 0, (b2 & 0x04) != 0, (b2 & 0x08) != 0};
    return true;
}

std::string TLNLocoDIRFMessage::TextOf(const TLocoNetMessage& msg)
{
    static constexpr const char* kFunctions[5] = {"F0 set; ", "F1 set; ", "F2 set; ", "F3 set; ", "F4 set; "};
    uint32_t slot = 0;
    bool forward = true;
    std::array<bool, 5> f{};
    if (!DecodeFrom(msg, slot, forward, f)) return "Incorrect parse - not eOPCLOCODIRF";
    std::string s = "OPC_LOCO_DIRF throttle direction: slot=";
    textformat::AppendDec(s, slot);
    s += forward ? ", FORWARD; " : ", REVERSE; ";
    for (size_t i = 0; i < f.size(); ++i)
        if (f[i]) s += kFunctions[i];
    return s;
}

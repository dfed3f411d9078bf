#include "messages/LNSwReqMessage.h"

#include "link/TextFormat.h"

TLNSwReqMessage::TLNSwReqMessage(uint32_t point, uint32_t requestState)
{
    const uint32_t p = point - 1;
    AddByte(0xB0);
    AddByte(static_cast<uint8_t>(p & 0x7F));
    AddByte(static_cast<uint8_t>(((p >> 7) & 0x0F) | ((requestState & 3) * 16)));
    AddChecksum();
}

bool TLNSwReqMessage::DecodeFrom(const TLocoNetMessage& msg, uint32_t& point, uint32_t& requestState)
{
    if (msg.MessageType() != kType) return false;
    const uint32_t b2 = msg.GetByte(2);
    point = (msg.GetByte(1) & 0x7Fu) + (b2 & 0x0F) * 128 + 1;
    requestState = (b2 & 0x30) >> 4;
    return true;
}

std::string TLNSwReqMessage::TextOf(const TLocoNetMessage& msg)
{
    static constexpr const char* kStates[4] = {", THROWN Released", ", THROWN Pressed", ", CLOSED Released",
                                               ", CLOSED Pressed"};
    uint32_t point = 0, requestState = 0;
    if (!DecodeFrom(msg, point, requestState)) return "Incorrect parse - not eOPCSWREQ";
    std::string s = "OPC_SWREQ: Switch request, point number = ";
    textformat::AppendDec(s, point);
    s += kStates[requestState & 3];
    return s;
}

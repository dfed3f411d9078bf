#include "messages/LNSensFBMessage.h"

#include "link/TextFormat.h"

TLNSensFBMessage::TLNSensFBMessage(uint32_t board, uint32_t input, bool state)
{
    const uint32_t v = (board - 1) * 8 + (input - 1) / 2;
    uint32_t b2 = ((v >> 7) & 0x0F) | 0x40;
    if ((input - 1) & 1) b2 |= 0x20;
    if (state) b2 |= 0x10;
    AddByte(0xB2);
    AddByte(static_cast<uint8_t>(v & 0x7F));
    AddByte(static_cast<uint8_t>(b2));
    AddChecksum();
}

bool TLNSensFBMessage::DecodeFrom(const TLocoNetMessage& msg, uint32_t& board, uint32_t& input, bool& state)
{
    if (msg.MessageType() != kType) return false;
    const uint32_t b1 = msg.GetByte(1);
    const uint32_t b2 = msg.GetByte(2);
    const uint32_t v = (b1 & 0x7F) + (b2 & 0x0F) * 128;
    board = v / 8 + 1;
    input = (b1 & 7) * 2 + 1 + ((b2 & 0x20) ? 1 : 0);
    state = (b2 & 0x10) != 0;
    return true;
}

std::string TLNSensFBMessage::TextOf(const TLocoNetMessage& msg)
{
    uint32_t board = 0, input = 0;
    bool state = false;
    if (!DecodeFrom(msg, board, input, state)) return "Incorrect parse - not eOPCSENS";
    std::string s = "OPC_SENSORREP sensor report:";
    textformat::AppendDec(s, board);
    s += ',';
    textformat::AppendDec(s, input);
    s += state ? " On" : " Off";
    return s;
}

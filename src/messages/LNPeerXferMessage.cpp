#include "messages/LNPeerXferMessage.h"

#include "link/TextFormat.h"

uint32_t TLNPeerXferMessage::KindOf(const TLocoNetMessage& msg)
{
    return msg.GetByte(2) == 0x50 && msg.GetByte(3) == 0x50 && msg.GetByte(4) == 1 ? 1 : 0;
}

uint8_t TLNPeerXferMessage::DataByteOf(const TLocoNetMessage& msg, unsigned i)
{
    if (i < 4) return static_cast<uint8_t>(msg.GetByte(6 + i) | (((msg.GetByte(5) >> i) & 1) << 7));
    if (i < 8) return static_cast<uint8_t>(msg.GetByte(11 + (i - 4)) | (((msg.GetByte(10) >> (i - 4)) & 1) << 7));
    return 0;
}

uint32_t TLNPeerXferMessage::BadFrames() const
{
    return GetDataByte(1) * 65536u + GetDataByte(2) * 256u + GetDataByte(3);
}

uint32_t TLNPeerXferMessage::Collisions() const
{
    return GetDataByte(5) * 65536u + GetDataByte(6) * 256u + GetDataByte(7);
}

bool TLNPeerXferMessage::DecodeFrom(const TLocoNetMessage& msg, uint32_t& kind, uint32_t& source, uint32_t& destination,
                                    std::array<uint8_t, 8>& data)
{
    if (msg.MessageType() != kType) return false;
    kind = KindOf(msg);
    source = msg.GetByte(2);
    destination = msg.GetByte(4) * 128u + msg.GetByte(3);
    for (unsigned i = 0; i < 8; ++i) data[i] = DataByteOf(msg, i);
    return true;
}

std::string TLNPeerXferMessage::TextOf(const TLocoNetMessage& msg)
{
    uint32_t kind = 0, source = 0, destination = 0;
    std::array<uint8_t, 8> d{};
    if (!DecodeFrom(msg, kind, source, destination, d)) return "Incorrect parse - not eOPCPEERXFER";
    std::string s;
    s.reserve(96);
    if (kind == 1) {
        s = "LocoBuffer V";
        textformat::AppendDec(s, d[0] >> 4);
        s += '.';
        textformat::AppendDec(s, d[0] & 0x0F);
        s += '.';
        textformat::AppendDec(s, d[4] >> 4);
        s += '.';
        textformat::AppendDec(s, d[4] & 0x0F);
        s += ", Bad Frames = ";
        textformat::AppendDec(s, d[1] * 65536u + d[2] * 256u + d[3]);
        s += ", Collisions = ";
        textformat::AppendDec(s, d[5] * 65536u + d[6] * 256u + d[7]);
        return s;
    }
    s = "Peer Transfer: Unknown or improper format";
    s += " Src=";
    textformat::AppendDec(s, source);
    s += " Dst=";
    textformat::AppendDec(s, destination);
    for (unsigned i = 0; i < 8; ++i) {
        s += " D";
        s += static_cast<char>('1' + i);
        s += '=';
        textformat::AppendHex(s, d[i], 2);
    }
    return s;
}

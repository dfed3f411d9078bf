#include "svprog/SVProgMessage.h"

#include "link/TextFormat.h"

namespace {

using textformat::AppendDec;
using textformat::AppendHex;

// Kind texts, indexed by ESVMsgKind.
constexpr const char* kKindTexts[] = {
    "SV Access: Unknown or improper format",
    "SV Access: Write 1 Byte",
    "SV Access: Read 1 Byte",
    "SV Access: Masked Write",
    "SV Access: Write 4 Bytes",
    "SV Access: Read 4 Bytes",
    "SV Access: Discover",
    "SV Access: Identify",
    "SV Access: ChangeAddress",
    "SV Access: Reconfigure",
    "SV Access: Write 1 Byte Reply",
    "SV Access: Read 1 Byte Reply",
    "SV Access: Masked Write Reply",
    "SV Access: Write 4 Bytes Reply",
    "SV Access: Read 4 Bytes Reply",
    "SV Access: Discover Reply",
    "SV Access: Identify Reply",
    "SV Access: Change Address Reply",
    "SV Access: Reconfigure Reply",
};

constexpr int kCommandCount = 9; // kinds 1..9 are commands, 10..18 their replies

} // namespace

void TLNSVProgMessage::Build(uint32_t source, uint8_t command, uint32_t destination, uint32_t svAddress, uint32_t d1,
                             uint32_t d2, uint32_t d3, uint32_t d4)
{
    static constexpr uint8_t kTemplate[15] = {0xE5, 0x10, 0x00, 0x00, 0x02, 0x10, 0x00, 0x00,
                                              0x00, 0x00, 0x10, 0x00, 0x00, 0x00, 0x00};
    Length = 0;
    for (uint8_t b : kTemplate) AddByte(b);
    uint8_t* d = Data.get();
    d[2] = static_cast<uint8_t>(source & 0x7F);
    d[3] = command;
    d[6] = static_cast<uint8_t>(destination & 0xFF);
    d[7] = static_cast<uint8_t>((destination >> 8) & 0xFF);
    d[8] = static_cast<uint8_t>(svAddress & 0xFF);
    d[9] = static_cast<uint8_t>((svAddress >> 8) & 0xFF);
    d[11] = static_cast<uint8_t>(d1 & 0xFF);
    d[12] = static_cast<uint8_t>(d2 & 0xFF);
    d[13] = static_cast<uint8_t>(d3 & 0xFF);
    d[14] = static_cast<uint8_t>(d4 & 0xFF);
    // Move the eighth bit of each logical byte into the high-bits bytes.
    for (int j = 0; j < 4; ++j) {
        if (d[6 + j] & 0x80) {
            d[6 + j] &= 0x7F;
            d[5] |= static_cast<uint8_t>(1u << j);
        }
        if (d[11 + j] & 0x80) {
            d[11 + j] &= 0x7F;
            d[10] |= static_cast<uint8_t>(1u << j);
        }
    }
    AddChecksum();
}

void TLNSVProgMessage::SetWrite1(uint32_t source, uint32_t destination, uint32_t svAddress, uint32_t value)
{
    Build(source, kCmdWrite1, destination, svAddress, value, 0, 0, 0);
}

void TLNSVProgMessage::SetRead1(uint32_t source, uint32_t destination, uint32_t svAddress)
{
    Build(source, kCmdRead1, destination, svAddress, 0, 0, 0, 0);
}

void TLNSVProgMessage::SetWrite4(uint32_t source, uint32_t destination, uint32_t svAddress, uint32_t value1,
                                 uint32_t value2, uint32_t value3, uint32_t value4)
{
    Build(source, kCmdWrite4, destination, svAddress, value1, value2, value3, value4);
}

void TLNSVProgMessage::SetRead4(uint32_t source, uint32_t destination, uint32_t svAddress)
{
    Build(source, kCmdRead4, destination, svAddress, 0, 0, 0, 0);
}

void TLNSVProgMessage::SetDiscover(uint32_t source)
{
    Build(source, kCmdDiscover, 0, 0, 0, 0, 0, 0);
}

void TLNSVProgMessage::SetIdentify(uint32_t source, uint32_t destination)
{
    Build(source, kCmdIdentify, destination, 0, 0, 0, 0, 0);
}

void TLNSVProgMessage::SetChangeAddress(uint32_t source, uint32_t manufacturerId, uint32_t productId,
                                        uint32_t serialNumber, uint32_t newSerialNumber)
{
    Build(source, kCmdChangeAddress, newSerialNumber, manufacturerId, productId & 0xFF, (productId >> 8) & 0xFF,
          serialNumber & 0xFF, (serialNumber >> 8) & 0xFF);
}

void TLNSVProgMessage::SetReconfigure(uint32_t source, uint32_t destination)
{
    Build(source, kCmdReconfigure, destination, 0, 0, 0, 0, 0);
}

ESVMsgKind TLNSVProgMessage::SVKindOf(const TLocoNetMessage& msg)
{
    if (msg.GetByte(0) != 0xE5 || msg.GetByte(1) != 0x10 || msg.GetByte(4) != 0x02) return eSVUNKNOWN;
    const uint8_t command = msg.GetByte(3);
    int kind;
    switch (command & 0x0F) {
    case kCmdWrite1: kind = eSVWRITE1; break;
    case kCmdRead1: kind = eSVREAD1; break;
    case kCmdMaskedWrite: kind = eSVMASKEDWRITE; break;
    case kCmdWrite4: kind = eSVWRITE4; break;
    case kCmdRead4: kind = eSVREAD4; break;
    case kCmdDiscover: kind = eSVDISCOVER; break;
    case kCmdIdentify: kind = eSVIDENTIFY; break;
    case kCmdChangeAddress: kind = eSVCHANGEADDR; break;
    case kCmdReconfigure: kind = eSVRECONFIGURE; break;
    default: return eSVUNKNOWN;
    }
    if (command & kReplyBit) kind += kCommandCount;
    return static_cast<ESVMsgKind>(kind);
}

uint8_t TLNSVProgMessage::DataByteOf(const TLocoNetMessage& msg, unsigned i)
{
    if (i < 4) {
        const uint8_t top = (msg.GetByte(10) >> i) & 1;
        return static_cast<uint8_t>(msg.GetByte(11 + i) | (top << 7));
    }
    if (i < 8) {
        const uint8_t top = (msg.GetByte(5) >> (i - 4)) & 1;
        return static_cast<uint8_t>(msg.GetByte(2 + i) | (top << 7));
    }
    return 0;
}

uint16_t TLNSVProgMessage::WordOf(const TLocoNetMessage& msg, unsigned k)
{
    if (k > 3) return 0;
    return static_cast<uint16_t>(DataByteOf(msg, 2 * k) + 256u * DataByteOf(msg, 2 * k + 1));
}

void TLNSVProgMessage::GetWrite1(uint32_t& source, uint32_t& destination, uint32_t& svAddress, uint32_t& d1) const
{
    source = GetByte(2);
    destination = GetWord(2);
    svAddress = GetWord(3);
    d1 = GetDataByte(0);
}

void TLNSVProgMessage::GetRead1(uint32_t& source, uint32_t& destination, uint32_t& svAddress, uint32_t& d1) const
{
    GetWrite1(source, destination, svAddress, d1);
}

void TLNSVProgMessage::GetMaskedWrite(uint32_t& source, uint32_t& destination, uint32_t& svAddress, uint32_t& data,
                                      uint32_t& mask) const
{
    GetWrite1(source, destination, svAddress, data);
    mask = GetDataByte(1);
}

void TLNSVProgMessage::GetWrite4(uint32_t& source, uint32_t& destination, uint32_t& svAddress, uint32_t& d1,
                                 uint32_t& d2, uint32_t& d3, uint32_t& d4) const
{
    GetWrite1(source, destination, svAddress, d1);
    d2 = GetDataByte(1);
    d3 = GetDataByte(2);
    d4 = GetDataByte(3);
}

void TLNSVProgMessage::GetRead4(uint32_t& source, uint32_t& destination, uint32_t& svAddress, uint32_t& d1,
                                uint32_t& d2, uint32_t& d3, uint32_t& d4) const
{
    GetWrite4(source, destination, svAddress, d1, d2, d3, d4);
}

void TLNSVProgMessage::GetDiscover(uint32_t& source, uint32_t& manufacturerId, uint32_t& productId,
                                   uint32_t& serialNumber) const
{
    source = GetByte(2);
    manufacturerId = GetWord(3);
    productId = GetWord(0);
    serialNumber = GetWord(1);
}

void TLNSVProgMessage::GetIdentify(uint32_t& source, uint32_t& manufacturerId, uint32_t& productId,
                                   uint32_t& serialNumber) const
{
    GetDiscover(source, manufacturerId, productId, serialNumber);
}

void TLNSVProgMessage::GetChangeAddress(uint32_t& source, uint32_t& manufacturerId, uint32_t& productId,
                                        uint32_t& serialNumber, uint32_t& newSerialNumber) const
{
    GetDiscover(source, manufacturerId, productId, serialNumber);
    newSerialNumber = GetWord(2);
}

void TLNSVProgMessage::GetReconfigure(uint32_t& source, uint32_t& destination) const
{
    source = GetByte(2);
    destination = GetWord(2);
}

std::string TLNSVProgMessage::TextOf(const TLocoNetMessage& msg)
{
    const ESVMsgKind kind = SVKindOf(msg);
    std::string s;
    s.reserve(80);
    s += kKindTexts[kind];
    const int command = kind > kCommandCount ? kind - kCommandCount : kind;
    switch (command) {
    case eSVWRITE1:
    case eSVREAD1:
    case eSVMASKEDWRITE:
    case eSVWRITE4:
    case eSVREAD4:
        s += " Dst=";
        AppendDec(s, WordOf(msg, 2));
        s += " Addr=";
        AppendHex(s, WordOf(msg, 3), 4);
        s += " data=";
        AppendHex(s, DataByteOf(msg, 0), 2);
        if (command == eSVMASKEDWRITE) {
            s += " mask=";
            AppendHex(s, DataByteOf(msg, 1), 2);
        } else if (command == eSVWRITE4 || command == eSVREAD4) {
            for (unsigned i = 1; i < 4; ++i) {
                s += ' ';
                AppendHex(s, DataByteOf(msg, i), 2);
            }
        }
        break;
    case eSVDISCOVER:
    case eSVIDENTIFY:
    case eSVCHANGEADDR:
        s += " VendId=";
        AppendDec(s, WordOf(msg, 3));
        s += " DevId=";
        AppendDec(s, WordOf(msg, 0));
        s += " Serial=";
        AppendDec(s, WordOf(msg, 1));
        if (command == eSVCHANGEADDR) {
            s += " New Adr=";
            AppendDec(s, WordOf(msg, 2));
        }
        break;
    case eSVRECONFIGURE:
        s += " Dest=";
        AppendDec(s, WordOf(msg, 2));
        break;
    default: break;
    }
    return s;
}

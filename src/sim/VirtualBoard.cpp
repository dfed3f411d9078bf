#include "sim/VirtualBoard.h"

#include "svprog/SVProgMessage.h"

namespace {

// The reply to a command: the command as built, with the reply bit set in its command byte.
TLocoNetMessage AsReply(const TLNSVProgMessage& command, uint8_t commandCode)
{
    TLocoNetMessage reply;
    for (uint32_t i = 0; i < 15; ++i) {
        uint8_t b = command.GetByte(i);
        if (i == 3) b = static_cast<uint8_t>(commandCode | TLNSVProgMessage::kReplyBit);
        reply.AddByte(b);
    }
    reply.AddChecksum();
    return reply;
}

} // namespace

TVirtualBoard::TVirtualBoard(int typeIndex, uint16_t serial, uint8_t firmware)
    : Type(typeIndex), Product(static_cast<uint16_t>(BoardProductId(typeIndex))), SerialNumber(serial)
{
    Sv[0] = static_cast<uint8_t>(ManufacturerId);
    Sv[1] = firmware;
    Sv[2] = static_cast<uint8_t>(serial & 0xFF);
    Sv[3] = static_cast<uint8_t>(serial >> 8);
}

uint8_t TVirtualBoard::Store(uint32_t sv, uint8_t value)
{
    if (Writable(sv)) Sv[sv - 1] = value;
    return GetSV(sv);
}

uint8_t TVirtualBoard::Reported(uint32_t sv)
{
    uint8_t value = GetSV(sv);
    if (ReadbackFaultSV != 0 && sv == ReadbackFaultSV && ReadbackFaultsLeft > 0) {
        --ReadbackFaultsLeft;
        value ^= 0x01;
    }
    return value;
}

std::optional<TLocoNetMessage> TVirtualBoard::Handle(const TLocoNetMessage& msg)
{
    if (Silent || !msg.IsValid()) return std::nullopt;
    TLNSVProgMessage in(msg);
    const ESVMsgKind kind = in.SVKind();
    if (kind == eSVUNKNOWN || kind >= eSVWRITE1REPLY) return std::nullopt;

    const uint32_t destination = in.GetWord(2);
    const uint32_t sv = in.GetWord(3);
    TLNSVProgMessage out;
    switch (kind) {
    case eSVDISCOVER:
        out.SetChangeAddress(ReplySource, ManufacturerId, Product, SerialNumber, SerialNumber);
        return AsReply(out, TLNSVProgMessage::kCmdDiscover);
    case eSVIDENTIFY:
        if (destination != SerialNumber) return std::nullopt;
        out.SetChangeAddress(ReplySource, ManufacturerId, Product, SerialNumber, SerialNumber);
        return AsReply(out, TLNSVProgMessage::kCmdIdentify);
    case eSVCHANGEADDR: {
        // Addressed by identity: manufacturer (SV address field), product (D1/D2) and the present
        // serial number (D3/D4); the destination field carries the new number.
        if (sv != ManufacturerId || in.GetWord(0) != Product || in.GetWord(1) != SerialNumber) return std::nullopt;
        const uint16_t oldSerial = SerialNumber;
        const uint16_t newSerial = static_cast<uint16_t>(destination);
        out.SetChangeAddress(ReplySource, ManufacturerId, Product, oldSerial, newSerial);
        SerialNumber = newSerial;
        Sv[2] = static_cast<uint8_t>(newSerial & 0xFF);
        Sv[3] = static_cast<uint8_t>(newSerial >> 8);
        return AsReply(out, TLNSVProgMessage::kCmdChangeAddress);
    }
    default: break;
    }

    if (destination != SerialNumber) return std::nullopt;
    switch (kind) {
    case eSVWRITE1:
        Store(sv, in.GetDataByte(0));
        out.SetWrite1(ReplySource, SerialNumber, sv, Reported(sv));
        return AsReply(out, TLNSVProgMessage::kCmdWrite1);
    case eSVREAD1:
        out.SetWrite1(ReplySource, SerialNumber, sv, GetSV(sv));
        return AsReply(out, TLNSVProgMessage::kCmdRead1);
    case eSVMASKEDWRITE: {
        const uint8_t data = in.GetDataByte(0);
        const uint8_t mask = in.GetDataByte(1);
        Store(sv, static_cast<uint8_t>((GetSV(sv) & ~mask) | (data & mask)));
        out.SetWrite4(ReplySource, SerialNumber, sv, Reported(sv), mask, 0, 0);
        return AsReply(out, TLNSVProgMessage::kCmdMaskedWrite);
    }
    case eSVWRITE4:
        for (uint32_t i = 0; i < 4; ++i) Store(sv + i, in.GetDataByte(i));
        out.SetWrite4(ReplySource, SerialNumber, sv, Reported(sv), Reported(sv + 1), Reported(sv + 2),
                      Reported(sv + 3));
        return AsReply(out, TLNSVProgMessage::kCmdWrite4);
    case eSVREAD4:
        out.SetWrite4(ReplySource, SerialNumber, sv, GetSV(sv), GetSV(sv + 1), GetSV(sv + 2), GetSV(sv + 3));
        return AsReply(out, TLNSVProgMessage::kCmdRead4);
    case eSVRECONFIGURE:
        ++Reconfigures;
        out.SetReconfigure(ReplySource, SerialNumber);
        return AsReply(out, TLNSVProgMessage::kCmdReconfigure);
    default: return std::nullopt;
    }
}

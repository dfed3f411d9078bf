#pragma once
// The SV access messages: 16-byte peer transfers (opcode 0xE5, format 2) that read and write a
// board's System Variables, discover and identify boards, change a board's address and restart it.

#include "link/LocoNetMessage.h"

#include <cstdint>
#include <string>

enum ESVMsgKind : int {
    eSVUNKNOWN = 0,
    eSVWRITE1,
    eSVREAD1,
    eSVMASKEDWRITE,
    eSVWRITE4,
    eSVREAD4,
    eSVDISCOVER,
    eSVIDENTIFY,
    eSVCHANGEADDR,
    eSVRECONFIGURE,
    eSVWRITE1REPLY,
    eSVREAD1REPLY,
    eSVMASKEDWRITEREPLY,
    eSVWRITE4REPLY,
    eSVREAD4REPLY,
    eSVDISCOVERREPLY,
    eSVIDENTIFYREPLY,
    eSVCHANGEADDRREPLY,
    eSVRECONFIGUREREPLY,
};

// Byte layout: 0 opcode E5, 1 length 10, 2 source, 3 command (replies: | 0x40), 4 format 02,
// 5 high bits of 6..9 (| 0x10), 6/7 destination low/high, 8/9 SV address low/high,
// 10 high bits of 11..14 (| 0x10), 11..14 D1..D4, 15 checksum.
// Logical values: destination, SV address, D1+256*D2 and D3+256*D4 are 16 bits each.
// Adds no state of its own: everything lives in the message bytes.
class TLNSVProgMessage : public TLocoNetMessage {
public:
    static constexpr ELocoNetMsgType kType = eOPCSVACCESS2;

    // Command codes; a reply carries the command code with bit 6 set.
    static constexpr uint8_t kCmdWrite1 = 0x01;
    static constexpr uint8_t kCmdRead1 = 0x02;
    static constexpr uint8_t kCmdMaskedWrite = 0x03;
    static constexpr uint8_t kCmdWrite4 = 0x05;
    static constexpr uint8_t kCmdRead4 = 0x06;
    static constexpr uint8_t kCmdDiscover = 0x07;
    static constexpr uint8_t kCmdIdentify = 0x08;
    static constexpr uint8_t kCmdChangeAddress = 0x09;
    static constexpr uint8_t kCmdReconfigure = 0x0F;
    static constexpr uint8_t kReplyBit = 0x40;

    TLNSVProgMessage() = default;
    explicit TLNSVProgMessage(const TLocoNetMessage& msg) : TLocoNetMessage(msg) {}
    explicit TLNSVProgMessage(TLocoNetMessage&& msg) noexcept : TLocoNetMessage(std::move(msg)) {}

    // Builders: each replaces the message with a complete command, checksum included. 16-bit
    // fields take the low 16 bits of their argument, data values the low 8 bits, the source the
    // low 7 bits (byte 2 has no high-bit carrier, and LocoNet payload bytes are 7 bits).
    void SetWrite1(uint32_t source, uint32_t destination, uint32_t svAddress, uint32_t value);
    void SetRead1(uint32_t source, uint32_t destination, uint32_t svAddress);
    void SetWrite4(uint32_t source, uint32_t destination, uint32_t svAddress, uint32_t value1, uint32_t value2,
                   uint32_t value3, uint32_t value4);
    void SetRead4(uint32_t source, uint32_t destination, uint32_t svAddress);
    void SetDiscover(uint32_t source);
    void SetIdentify(uint32_t source, uint32_t destination);
    void SetChangeAddress(uint32_t source, uint32_t manufacturerId, uint32_t productId, uint32_t serialNumber,
                          uint32_t newSerialNumber);
    void SetReconfigure(uint32_t source, uint32_t destination);

    ESVMsgKind SVKind() const { return SVKindOf(*this); }
    static ESVMsgKind SVKindOf(const TLocoNetMessage& msg);

    // Parsers: fill the out-parameters without checking the kind (classify first). Source is
    // byte 2 as it is.
    void GetWrite1(uint32_t& source, uint32_t& destination, uint32_t& svAddress, uint32_t& d1) const;
    void GetRead1(uint32_t& source, uint32_t& destination, uint32_t& svAddress, uint32_t& d1) const;
    void GetMaskedWrite(uint32_t& source, uint32_t& destination, uint32_t& svAddress, uint32_t& data,
                        uint32_t& mask) const;
    void GetWrite4(uint32_t& source, uint32_t& destination, uint32_t& svAddress, uint32_t& d1, uint32_t& d2,
                   uint32_t& d3, uint32_t& d4) const;
    void GetRead4(uint32_t& source, uint32_t& destination, uint32_t& svAddress, uint32_t& d1, uint32_t& d2,
                  uint32_t& d3, uint32_t& d4) const;
    void GetDiscover(uint32_t& source, uint32_t& manufacturerId, uint32_t& productId, uint32_t& serialNumber) const;
    void GetIdentify(uint32_t& source, uint32_t& manufacturerId, uint32_t& productId, uint32_t& serialNumber) const;
    void GetChangeAddress(uint32_t& source, uint32_t& manufacturerId, uint32_t& productId, uint32_t& serialNumber,
                          uint32_t& newSerialNumber) const;
    void GetReconfigure(uint32_t& source, uint32_t& destination) const;

    // Logical byte i with its eighth bit restored: 0..3 D1..D4, 4..7 destination low/high,
    // SV address low/high. 0 for i > 7.
    uint8_t GetDataByte(unsigned i) const { return DataByteOf(*this, i); }
    // GetDataByte(2k) + 256 * GetDataByte(2k + 1): 0 D1/D2, 1 D3/D4, 2 destination, 3 SV address.
    uint16_t GetWord(unsigned k) const { return WordOf(*this, k); }
    static uint8_t DataByteOf(const TLocoNetMessage& msg, unsigned i);
    static uint16_t WordOf(const TLocoNetMessage& msg, unsigned k);

    // The monitor line, e.g. "SV Access: Write 1 Byte Dst=1000 Addr=0005 data=8C".
    std::string Text() const override { return TextOf(*this); }
    static std::string TextOf(const TLocoNetMessage& msg);

private:
    void Build(uint32_t source, uint8_t command, uint32_t destination, uint32_t svAddress, uint32_t d1, uint32_t d2,
               uint32_t d3, uint32_t d4);
};

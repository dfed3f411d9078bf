#pragma once
// Peer transfer (0xE5, 16 bytes): opcode, count, source, destination low and high,
// extension byte 1, data 1 to 4, extension byte 2, data 5 to 8, checksum. Kind 1 is the status
// reply of a LocoBuffer (source and destination low both 'P', destination high 1), kind 0 anything else.
// Adds no state of its own: everything lives in the message bytes.

#include "link/LocoNetMessage.h"

#include <array>
#include <cstdint>
#include <string>
#include <utility>

class TLNPeerXferMessage : public TLocoNetMessage {
public:
    static constexpr ELocoNetMsgType kType = eOPCPEERXFER;

    explicit TLNPeerXferMessage(const TLocoNetMessage& msg) : TLocoNetMessage(msg) {}
    explicit TLNPeerXferMessage(TLocoNetMessage&& msg) noexcept : TLocoNetMessage(std::move(msg)) {}
    // Kind 1 when bytes 2 and 3 are 0x50 and byte 4 is 1.
    bool IsLocoBufferReply() const { return KindOf(*this) == 1; }
    static uint32_t KindOf(const TLocoNetMessage& msg);
    // Data byte i (0..7) with its top bit restored from the extension bytes; 0 for i > 7.
    uint8_t GetDataByte(unsigned i) const { return DataByteOf(*this, i); }
    static uint8_t DataByteOf(const TLocoNetMessage& msg, unsigned i);
    // Counters of a LocoBuffer status reply: data 1..3 and data 5..7 as 24-bit numbers.
    uint32_t BadFrames() const;
    uint32_t Collisions() const;

    // True, with the fields filled, only when the message is of type eOPCPEERXFER;
    // otherwise false and the fields are left as they were.
    bool Decode(uint32_t& kind, uint32_t& source, uint32_t& destination, std::array<uint8_t, 8>& data) const
    {
        return DecodeFrom(*this, kind, source, destination, data);
    }
    static bool DecodeFrom(const TLocoNetMessage& msg, uint32_t& kind, uint32_t& source, uint32_t& destination,
                           std::array<uint8_t, 8>& data);

    std::string Text() const override { return TextOf(*this); }
    // The decoded text of msg read as this kind, or "Incorrect parse - not eOPCPEERXFER".
    static std::string TextOf(const TLocoNetMessage& msg);
};

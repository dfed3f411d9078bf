#pragma once
// One LocoNet message: opcode first, checksum last, the bytes exactly as on the bus.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

enum ELocoNetMsgType : int {
    eOPCUNKNOWN = 0,
    eOPCIDLE,
    eOPCGPON,
    eOPCGPOFF,
    eOPCBUSY,
    eOPCMASTERLIM,
    eOPCMASTERNORM,
    eOPCLOCOADR,
    eOPCSWACK,
    eOPCSWSTATE,
    eOPCRQSLDATA,
    eOPCMOVESLOTS,
    eOPCLINKSLOTS,
    eOPCUNLINKSLOTS,
    eOPCCONSISTFUNC,
    eOPCSLOTSTAT1,
    eOPCLONGACK,
    eOPCSENS,
    eOPCOPSTATE,
    eOPCTOFB,
    eOPCSWREQ,
    eOPCLOCOF9F12,
    eOPCLOCOSND,
    eOPCLOCODIRF,
    eOPCLOCOSPD,
    eOPCSPDLIMSLOT,
    eOPCMULTISENSE,
    eOPCAUXWR,
    eOPCAUXRD,
    eOPCWRSLDATA,
    eOPCSLRDDATA,
    eOPCWRLIMDATA,
    eOPCALMWRACCESS,
    eOPCRDLIMDATA,
    eOPCALMRDACCESS,
    eOPCSVACCESS1,
    eOPCSVACCESS2,
    eOPCPEERXFER,
    eOPCPEERLXFER,
    eOPCSELONG,
    eOPCSE,
    eOPCTHROTSTAT,
    eOPCFIND,
    eOPCIMMPACKET,
    eOPCSPCLOEM1,
    eOPCSPCLOEM2,
    eOPCTypeCount
};

class TLocoNetMessage {
public:
    // Empty message with room for 16 bytes; senders add bytes one by one.
    TLocoNetMessage();
    // Exactly `count` bytes copied from `bytes` (no allocation for 0).
    TLocoNetMessage(const uint8_t* bytes, uint32_t count);
    // Parses hexadecimal text as the arbitrary-message window takes it; empty on failure.
    explicit TLocoNetMessage(std::string_view hexText);
    // Exactly `count` bytes copied from `bytes`, which were classified as `type` before (a message
    // kept by the monitor): MessageType gives `type` without looking at them again.
    TLocoNetMessage(const uint8_t* bytes, uint32_t count, ELocoNetMsgType type);
    TLocoNetMessage(const TLocoNetMessage& other);
    TLocoNetMessage& operator=(const TLocoNetMessage& other);
    TLocoNetMessage(TLocoNetMessage&& other) noexcept;
    TLocoNetMessage& operator=(TLocoNetMessage&& other) noexcept;
    virtual ~TLocoNetMessage() = default;

    void AddByte(uint8_t b);
    void AddChecksum();
    uint8_t GetByte(uint32_t i) const { return i < Length ? Data[i] : 0; }
    uint32_t GetLength() const { return Length; }
    uint32_t GetCapacity() const { return Capacity; }
    const uint8_t* GetData() const { return Data.get(); }

    bool ChecksumOk() const;
    bool IsValid() const;
    // The type of the message. The bytes are classified once, at the first call, and the type is
    // kept with the message (a typed message made from it keeps it too) until a byte is added.
    ELocoNetMsgType MessageType() const;
    std::string OpcodeName() const;
    std::string HexText() const;
    virtual std::string Text() const;

    // Length in bytes given by an opcode: 2, 4, 6, or 8 meaning "the count byte says".
    static uint32_t LengthFromOpcode(uint8_t opcode) { return ((opcode & 0x60u) >> 4) + 2; }
    static const char* OpcodeNameOf(ELocoNetMsgType type);

protected:
    std::unique_ptr<uint8_t[]> Data;
    uint32_t Length = 0;
    uint32_t Capacity = 0;

private:
    static constexpr int8_t kUnclassified = -1;
    ELocoNetMsgType Classify() const;
    mutable int8_t ClassifiedType = kUnclassified;
};

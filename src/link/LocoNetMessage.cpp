#include "link/LocoNetMessage.h"

#include "link/TextFormat.h"

#include <cctype>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

// strtoul with base 16 as it reads where unsigned long has 32 bits (Windows), on every system:
// a number beyond 32 bits saturates to FFFFFFFF, and a negative one wraps within 32 bits. (Where
// unsigned long has 64 bits, strtoul would keep the low bits of a number of 9 to 16 digits.)
uint32_t ReadHexNumber(const char* text, char** after)
{
    errno = 0;
    const unsigned long long value = std::strtoull(text, after, 16);
    if (errno == ERANGE) return UINT32_MAX;
    while (std::isspace(static_cast<unsigned char>(*text))) ++text;
    const unsigned long long magnitude = *text == '-' ? 0 - value : value;
    if (magnitude > UINT32_MAX) return UINT32_MAX;
    const auto number = static_cast<uint32_t>(magnitude);
    return *text == '-' ? 0 - number : number;
}

constexpr const char* kOpcodeNames[eOPCTypeCount] = {
    "Unknown:",
    "OPC_IDLE:",
    "OPC_GPON:",
    "OPC_GPOFF:",
    "OPC_BUSY:",
    "OPC_MASTERLIM:",
    "OPC_MASTERNORM:",
    "OPC_LOCOADR:",
    "OPC_SWACK:",
    "OPC_SWSTATE:",
    "OPC_RQSLDATA:",
    "OPC_MOVESLOTS:",
    "OPC_LINKSLOTS:",
    "OPC_UNLINKSLOTS:",
    "OPC_CONSISTFUNC:",
    "OPC_SLOTSTAT1:",
    "OPC_LONGACK:",
    "OPC_SENSORREP:",
    "OPC_OPSTATE:",
    "OPC_TOFB:",
    "OPC_SWREQ:",
    "OPC_LOCOF912:",
    "OPC_LOCOSND:",
    "OPC_LOCODIRF:",
    "OPC_LOCOSPD:",
    "OPC_SPDLIMSLOT:",
    "OPC_MULTISENSE:",
    "OPC_AUXWR:",
    "OPC_AUXRD:",
    "OPC_WRSLDATA:",
    "OPC_SLRDDATA:",
    "OPC_WRLIMDATA:",
    "OPC_ALMWRACCESS:",
    "OPC_RDLIMDATA:",
    "OPC_ALMRDACCESS:",
    "OPC_SVACCESS Type 1:",
    "OPC_SVACCESS Type 2:",
    "OPC_PEERXFER:",
    "OPC_PEERLXFER:",
    "OPC_SELONG:",
    "OPC_SE:",
    "OPC_THROTSTAT:",
    "OPC_FIND:",
    "OPC_IMMPACKET:",
    "OPC_SPCLOEM1:",
    "OPC_SPCLOEM2:",
};

} // namespace

TLocoNetMessage::TLocoNetMessage() : Data(new uint8_t[16]), Length(0), Capacity(16) {}

TLocoNetMessage::TLocoNetMessage(const uint8_t* bytes, uint32_t count) : Length(count), Capacity(count)
{
    if (count > 0) {
        Data.reset(new uint8_t[count]);
        std::memcpy(Data.get(), bytes, count);
    }
}

TLocoNetMessage::TLocoNetMessage(std::string_view hexText)
{
    // Work on a NUL-terminated copy so that the numbers can be read with strtoull.
    std::string text(hexText.substr(0, hexText.find('\0')));
    std::string bytes;
    const char* p = text.c_str();
    const char* end = p + text.size();
    bool ok = false;
    for (;;) {
        const char* q = p;
        while (q < end && textformat::HexDigitValue(*q) < 0) ++q;
        if (q >= end) {
            ok = true;
            break;
        }
        char* after = nullptr;
        const uint32_t value = ReadHexNumber(p, &after);
        if (after == p) break; // no number where one was expected
        bytes.push_back(static_cast<char>(value & 0xFFu));
        p = after;
        if (*p == ' ') {
            ++p;
            continue;
        }
        if (p == end) {
            ok = true;
            break;
        }
        break;
    }
    if (ok && bytes.size() >= 2) {
        Length = Capacity = static_cast<uint32_t>(bytes.size());
        Data.reset(new uint8_t[Length]);
        std::memcpy(Data.get(), bytes.data(), Length);
    }
}

TLocoNetMessage::TLocoNetMessage(const TLocoNetMessage& other) : Length(other.Length), Capacity(other.Capacity)
{
    if (other.Data) {
        Data.reset(new uint8_t[Capacity]);
        std::memcpy(Data.get(), other.Data.get(), Capacity);
    }
}

TLocoNetMessage& TLocoNetMessage::operator=(const TLocoNetMessage& other)
{
    if (this != &other) {
        TLocoNetMessage copy(other);
        *this = std::move(copy);
    }
    return *this;
}

TLocoNetMessage::TLocoNetMessage(TLocoNetMessage&& other) noexcept
    : Data(std::move(other.Data)), Length(other.Length), Capacity(other.Capacity)
{
    other.Length = other.Capacity = 0;
}

TLocoNetMessage& TLocoNetMessage::operator=(TLocoNetMessage&& other) noexcept
{
    Data = std::move(other.Data);
    Length = other.Length;
    Capacity = other.Capacity;
    other.Length = other.Capacity = 0;
    return *this;
}

void TLocoNetMessage::AddByte(uint8_t b)
{
    if (Length == Capacity) {
        uint32_t newCapacity = Capacity == 0 ? 1 : Capacity * 2;
        std::unique_ptr<uint8_t[]> grown(new uint8_t[newCapacity]);
        if (Length > 0) std::memcpy(grown.get(), Data.get(), Length);
        Data = std::move(grown);
        Capacity = newCapacity;
    }
    Data[Length++] = b;
}

void TLocoNetMessage::AddChecksum()
{
    uint8_t x = 0;
    for (uint32_t i = 0; i < Length; ++i) x ^= Data[i];
    AddByte(static_cast<uint8_t>(0xFF ^ x));
}

bool TLocoNetMessage::ChecksumOk() const
{
    uint8_t x = 0;
    for (uint32_t i = 0; i < Length; ++i) x ^= Data[i];
    return x == 0xFF;
}

bool TLocoNetMessage::IsValid() const
{
    if (Length < 2) return false;
    uint32_t expected = LengthFromOpcode(Data[0]);
    if (expected == 8) expected = Data[1];
    return expected == Length && ChecksumOk();
}

ELocoNetMsgType TLocoNetMessage::MessageType() const
{
    if (!IsValid()) return eOPCUNKNOWN;
    const uint8_t op = Data[0];
    const uint32_t len = Length;
    auto fixed = [len](ELocoNetMsgType t, uint32_t want) { return len == want ? t : eOPCUNKNOWN; };
    switch (op) {
    case 0x85: return fixed(eOPCIDLE, 2);
    case 0x83: return fixed(eOPCGPON, 2);
    case 0x82: return fixed(eOPCGPOFF, 2);
    case 0x81: return fixed(eOPCBUSY, 2);
    case 0x88: return fixed(eOPCMASTERLIM, 2);
    case 0x89: return fixed(eOPCMASTERNORM, 2);
    case 0xBF: return fixed(eOPCLOCOADR, 4);
    case 0xBD: return fixed(eOPCSWACK, 4);
    case 0xBC: return fixed(eOPCSWSTATE, 4);
    case 0xBB: return fixed(eOPCRQSLDATA, 4);
    case 0xBA: return fixed(eOPCMOVESLOTS, 4);
    case 0xB9: return fixed(eOPCLINKSLOTS, 4);
    case 0xB8: return fixed(eOPCUNLINKSLOTS, 4);
    case 0xB6: return fixed(eOPCCONSISTFUNC, 4);
    case 0xB5: return fixed(eOPCSLOTSTAT1, 4);
    case 0xB4: return fixed(eOPCLONGACK, 4);
    case 0xB2: return fixed(eOPCSENS, 4);
    case 0xB1: return fixed((Data[2] & 0x40) ? eOPCTOFB : eOPCOPSTATE, 4);
    case 0xB0: return fixed(eOPCSWREQ, 4);
    case 0xA3: return fixed(eOPCLOCOF9F12, 4);
    case 0xA2: return fixed(eOPCLOCOSND, 4);
    case 0xA1: return fixed(eOPCLOCODIRF, 4);
    case 0xA0: return fixed(eOPCLOCOSPD, 4);
    case 0xD1: return fixed(eOPCSPDLIMSLOT, 6);
    case 0xD0: return fixed(eOPCMULTISENSE, 6);
    case 0xDF: return fixed(eOPCAUXWR, 6);
    case 0xD7: return fixed(eOPCAUXRD, 6);
    case 0xEF: return fixed(eOPCWRSLDATA, 14);
    case 0xE7: return fixed(eOPCSLRDDATA, 14);
    case 0xEE: return len == 15 ? eOPCWRLIMDATA : fixed(eOPCALMWRACCESS, 16);
    case 0xE6: return len == 15 ? eOPCRDLIMDATA : fixed(eOPCALMRDACCESS, 16);
    case 0xE4: return len == 12 ? eOPCSELONG : fixed(eOPCSE, 9);
    case 0xED:
        if (len == 11) return eOPCIMMPACKET;
        if (len == 15) return eOPCSPCLOEM1;
        return fixed(eOPCSPCLOEM2, 31);
    case 0xE5:
        switch (len) {
        case 16:
            if ((Data[10] & 0xF0) == 0x10 && (Data[5] & 0xF0) == 0x00 && Data[4] == 1) return eOPCSVACCESS1;
            if ((Data[10] & 0xF0) == 0x10 && (Data[5] & 0xF0) == 0x10 && Data[4] == 2) return eOPCSVACCESS2;
            return eOPCPEERXFER;
        case 17: return eOPCPEERLXFER;
        case 10: return eOPCTHROTSTAT;
        case 9: return eOPCFIND;
        default: return eOPCUNKNOWN;
        }
    default: return eOPCUNKNOWN;
    }
}

const char* TLocoNetMessage::OpcodeNameOf(ELocoNetMsgType type)
{
    if (type < 0 || type >= eOPCTypeCount) return kOpcodeNames[0];
    return kOpcodeNames[type];
}

std::string TLocoNetMessage::OpcodeName() const
{
    return OpcodeNameOf(MessageType());
}

std::string TLocoNetMessage::HexText() const
{
    std::string s;
    s.reserve(Length * 3);
    for (uint32_t i = 0; i < Length; ++i) {
        textformat::AppendHex(s, Data[i], 2);
        s.push_back(' ');
    }
    return s;
}

std::string TLocoNetMessage::Text() const
{
    return OpcodeName() + HexText();
}

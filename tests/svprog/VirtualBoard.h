#pragma once
// A board on the bus as the conversations see it, answering SV access commands in tests.

#include "svprog/SVProgMessage.h"

#include <array>
#include <cstdint>
#include <vector>

namespace {

// Builds an SV access message byte by byte with the high bits packed.
TLNSVProgMessage Build(uint8_t command, uint16_t destination, uint16_t svAddress, std::array<uint8_t, 4> d)
{
    uint8_t b[15] = {0xE5,
                     0x10,
                     0x00,
                     command,
                     0x02,
                     0x10,
                     static_cast<uint8_t>(destination & 0xFF),
                     static_cast<uint8_t>(destination >> 8),
                     static_cast<uint8_t>(svAddress & 0xFF),
                     static_cast<uint8_t>(svAddress >> 8),
                     0x10,
                     d[0],
                     d[1],
                     d[2],
                     d[3]};
    for (int j = 0; j < 4; ++j) {
        if (b[6 + j] & 0x80) {
            b[6 + j] &= 0x7F;
            b[5] |= static_cast<uint8_t>(1 << j);
        }
        if (b[11 + j] & 0x80) {
            b[11 + j] &= 0x7F;
            b[10] |= static_cast<uint8_t>(1 << j);
        }
    }
    TLocoNetMessage m;
    for (uint8_t x : b) m.AddByte(x);
    m.AddChecksum();
    return TLNSVProgMessage(m);
}

// A board on the bus as the conversation sees it.
struct TVirtualBoard {
    uint16_t Serial = 1000;
    uint16_t Manufacturer = 1;
    uint16_t Product = 1;
    std::array<uint8_t, 513> SV{};
    bool Silent = false;
    int WrongReadbacks = 0; // how many write replies report a wrong value
    uint16_t WrongReadbackSV = 0;

    std::vector<TLNSVProgMessage> Answer(const TLNSVProgMessage& c)
    {
        if (c.SVKind() == eSVCHANGEADDR && c.GetWord(3) == Manufacturer && c.GetWord(0) == Product &&
            c.GetWord(1) == Serial && !Silent) {
            const uint16_t newSerial = static_cast<uint16_t>(c.GetWord(2));
            std::vector<TLNSVProgMessage> reply{
                Build(0x49, newSerial, Manufacturer,
                      {static_cast<uint8_t>(Product & 0xFF), static_cast<uint8_t>(Product >> 8),
                       static_cast<uint8_t>(Serial & 0xFF), static_cast<uint8_t>(Serial >> 8)})};
            Serial = newSerial;
            return reply;
        }
        std::vector<TLNSVProgMessage> out;
        const uint16_t dst = static_cast<uint16_t>(c.GetWord(2));
        const uint16_t sv = static_cast<uint16_t>(c.GetWord(3));
        const uint8_t cmd = c.GetByte(3);
        if (Silent) return out;
        auto id = [&](uint8_t reply) {
            out.push_back(Build(reply, dst, Manufacturer,
                                {static_cast<uint8_t>(Product & 0xFF), static_cast<uint8_t>(Product >> 8),
                                 static_cast<uint8_t>(Serial & 0xFF), static_cast<uint8_t>(Serial >> 8)}));
        };
        switch (c.SVKind()) {
        case eSVIDENTIFY:
            if (dst == Serial) id(0x48);
            break;
        case eSVDISCOVER: id(0x47); break;
        case eSVREAD4:
            if (dst == Serial) out.push_back(Build(0x46, dst, sv, {SV[sv], SV[sv + 1], SV[sv + 2], SV[sv + 3]}));
            break;
        case eSVREAD1:
            if (dst == Serial) out.push_back(Build(0x42, dst, sv, {SV[sv], 0, 0, 0}));
            break;
        case eSVWRITE4:
        case eSVWRITE1: {
            if (dst != Serial) break;
            const int n = c.SVKind() == eSVWRITE4 ? 4 : 1;
            for (int i = 0; i < n; ++i) {
                if (sv + i > 4) SV[sv + i] = c.GetDataByte(i);
            }
            std::array<uint8_t, 4> d{SV[sv], n == 4 ? SV[sv + 1] : uint8_t{0}, n == 4 ? SV[sv + 2] : uint8_t{0},
                                     n == 4 ? SV[sv + 3] : uint8_t{0}};
            if (WrongReadbacks > 0 && WrongReadbackSV >= sv && WrongReadbackSV < sv + n) {
                --WrongReadbacks;
                d[WrongReadbackSV - sv] ^= 0x01;
            }
            out.push_back(Build(cmd | 0x40, dst, sv, d));
            break;
        }
        case eSVRECONFIGURE:
            if (dst == Serial) out.push_back(Build(0x4F, dst, 0, {0, 0, 0, 0}));
            break;
        default: break;
        }
        return out;
    }
};

} // namespace

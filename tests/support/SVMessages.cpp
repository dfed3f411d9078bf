#include "support/SVMessages.h"

TLNSVProgMessage MakeSVMessage(uint8_t command, uint16_t destination, uint16_t svAddress, std::array<uint8_t, 4> data)
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
                     data[0],
                     data[1],
                     data[2],
                     data[3]};
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

#pragma once
// SV access messages built byte by byte, for replies no board of the tests would send.

#include "svprog/SVProgMessage.h"

#include <array>
#include <cstdint>

// An SV access message with the given command byte, destination, SV address and data bytes,
// high bits packed into the two extension bytes, checksum added.
TLNSVProgMessage MakeSVMessage(uint8_t command, uint16_t destination, uint16_t svAddress, std::array<uint8_t, 4> data);

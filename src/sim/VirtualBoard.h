#pragma once
// One accessory board on the simulated LocoNet: 512 SVs, answering the SV access commands as a
// board does. SV1 holds the manufacturer id, SV2 the firmware version, SV3/SV4 the serial number
// (low byte first); SV1 to SV4 cannot be written.

#include "boards/BoardTypes.h"
#include "link/LocoNetMessage.h"

#include <array>
#include <cstdint>
#include <optional>

class TVirtualBoard {
public:
    static constexpr uint32_t SVCount = 512;
    static constexpr uint16_t ManufacturerId = kBoardManufacturerId;
    static constexpr uint8_t ReplySource = 0x01;

    TVirtualBoard(int typeIndex, uint16_t serial, uint8_t firmware);

    int TypeIndex() const { return Type; }
    uint16_t ProductId() const { return Product; }
    uint16_t Serial() const { return SerialNumber; }
    uint8_t Firmware() const { return Sv[1]; }
    // SV n (1-based); 0 outside 1 to 512.
    uint8_t GetSV(uint32_t sv) const { return sv >= 1 && sv <= SVCount ? Sv[sv - 1] : 0; }
    uint32_t ReconfigureCount() const { return Reconfigures; }

    // A board that never answers.
    void SetSilent(bool silent) { Silent = silent; }
    // The first `count` replies to a write of this SV report a wrong value (sv 0: none).
    void SetReadbackFault(uint32_t sv, uint32_t count = 1)
    {
        ReadbackFaultSV = sv;
        ReadbackFaultsLeft = count;
    }
    // Answers with this product id instead of its type's (a board of a kind Railscope does not
    // know, or one that claims to be another type).
    void SetProductId(uint16_t productId) { Product = productId; }
    // Stores a value as an earlier programming left it; SV1 to SV4 and SVs beyond 512 stay.
    void PresetSV(uint32_t sv, uint8_t value) { Store(sv, value); }

    // Looks at one valid message seen on the bus; returns the reply when the board answers it.
    std::optional<TLocoNetMessage> Handle(const TLocoNetMessage& msg);

private:
    bool Writable(uint32_t sv) const { return sv >= 5 && sv <= SVCount; }
    uint8_t Store(uint32_t sv, uint8_t value); // stores when writable, returns what is held
    uint8_t Reported(uint32_t sv); // what a write reply reports for sv

    int Type;
    uint16_t Product;
    uint16_t SerialNumber;
    std::array<uint8_t, SVCount> Sv{};
    bool Silent = false;
    uint32_t ReadbackFaultSV = 0;
    uint32_t ReadbackFaultsLeft = 0;
    uint32_t Reconfigures = 0;
};

#pragma once
// One board found on the bus by the discovery window: its serial number, manufacturer and
// product ids from its reply, and the names that the product table gives them.

#include "svprog/SVProgMessage.h"

#include <cstdint>
#include <memory>
#include <string>

class TProductList;

class TRenumberableBoard {
public:
    // The ids of a Discover or Identify reply; 65535 for all three from any other message.
    explicit TRenumberableBoard(const TLNSVProgMessage& message);

    // Copies the names of the first product table row with the board's manufacturer and product
    // id; leaves them as they are when no row matches.
    void LookUpProduct(const TProductList& productList);
    // Serial number, product name, manufacturer name and description, separated by tabs.
    std::string GetListLine() const;

    // An Identify command from source 0 to this board.
    std::unique_ptr<TLNSVProgMessage> MakeIdentify() const;
    // A Change Address command from source 0 giving this board the new serial number.
    std::unique_ptr<TLNSVProgMessage> MakeChangeAddress(uint32_t newSerial) const;

    // An Identify reply from this board (same manufacturer id, product id and serial number).
    bool IsIdentifyReplyFor(const TLNSVProgMessage& message) const;
    // A Change Address reply from this board; the board then takes the new serial number.
    bool IsChangeAddressReplyFor(const TLNSVProgMessage& message);
    bool HasSerial(uint32_t n) const { return SerialNumber == n; }

    uint32_t SerialNumber = 65535;
    uint32_t ManufacturerId = 65535;
    uint32_t ProductId = 65535;
    std::string ManufacturerName;
    std::string ProductName;
    std::string Description;
};

#include "svprog/RenumberableBoard.h"

#include "boards/ProductList.h"

TRenumberableBoard::TRenumberableBoard(const TLNSVProgMessage& message)
{
    const ESVMsgKind kind = message.SVKind();
    if (kind == eSVDISCOVERREPLY || kind == eSVIDENTIFYREPLY) {
        uint32_t source = 0;
        message.GetDiscover(source, ManufacturerId, ProductId, SerialNumber);
    }
}

void TRenumberableBoard::LookUpProduct(const TProductList& productList)
{
    for (uint32_t i = 0; i < productList.Count(); ++i) {
        if (productList.GetManufacturerId(i) == ManufacturerId && productList.GetProductId(i) == ProductId) {
            ManufacturerName = productList.GetManufacturerName(i);
            ProductName = productList.GetProductName(i);
            Description = productList.GetDescription(i);
            return;
        }
    }
}

std::string TRenumberableBoard::GetListLine() const
{
    return std::to_string(SerialNumber) + "\t" + ProductName + "\t" + ManufacturerName + "\t" + Description;
}

std::unique_ptr<TLNSVProgMessage> TRenumberableBoard::MakeIdentify() const
{
    auto message = std::make_unique<TLNSVProgMessage>();
    message->SetIdentify(0, SerialNumber);
    return message;
}

std::unique_ptr<TLNSVProgMessage> TRenumberableBoard::MakeChangeAddress(uint32_t newSerial) const
{
    auto message = std::make_unique<TLNSVProgMessage>();
    message->SetChangeAddress(0, ManufacturerId, ProductId, SerialNumber, newSerial);
    return message;
}

bool TRenumberableBoard::IsIdentifyReplyFor(const TLNSVProgMessage& message) const
{
    if (message.SVKind() != eSVIDENTIFYREPLY) return false;
    uint32_t source = 0, manufacturerId = 0, productId = 0, serial = 0;
    message.GetIdentify(source, manufacturerId, productId, serial);
    return manufacturerId == ManufacturerId && productId == ProductId && serial == SerialNumber;
}

bool TRenumberableBoard::IsChangeAddressReplyFor(const TLNSVProgMessage& message)
{
    if (message.SVKind() != eSVCHANGEADDRREPLY) return false;
    uint32_t source = 0, manufacturerId = 0, productId = 0, serial = 0, newSerial = 0;
    message.GetChangeAddress(source, manufacturerId, productId, serial, newSerial);
    if (manufacturerId != ManufacturerId || productId != ProductId || serial != SerialNumber) return false;
    SerialNumber = newSerial;
    return true;
}

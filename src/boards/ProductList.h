#pragma once
// The product table: which manufacturer and product ids name which boards. Read once from
// "progdevicelist.csv" in the program's folder (or, installed, in its data folder; see
// ShippedFiles.h); a missing or unreadable file gives an empty table.

#include "boards/CsvIo.h"

#include <cstdint>
#include <string>
#include <vector>

class TProductList : public TCsvIo {
public:
    static constexpr const char* kFileName = "progdevicelist.csv";

    // Reads "progdevicelist.csv" from the folder of the running program, or else from the
    // installed data folder.
    TProductList();
    // Reads the table from the file given.
    explicit TProductList(const std::string& fileName);

    // Rows actually read: never more than the file holds, whatever count its first line gives.
    uint32_t Count() const { return static_cast<uint32_t>(Rows.size()); }
    // Row i; 0 or empty for a row that does not exist.
    uint32_t GetManufacturerId(uint32_t i) const { return i < Rows.size() ? Rows[i].ManufacturerId : 0; }
    uint32_t GetProductId(uint32_t i) const { return i < Rows.size() ? Rows[i].ProductId : 0; }
    std::string GetManufacturerName(uint32_t i) const { return i < Rows.size() ? Rows[i].ManufacturerName : ""; }
    std::string GetProductName(uint32_t i) const { return i < Rows.size() ? Rows[i].ProductName : ""; }
    std::string GetDescription(uint32_t i) const { return i < Rows.size() ? Rows[i].Description : ""; }

    // Why the table is empty or short ("Could not open ..."); empty when it was read as it says.
    const std::string& GetLastError() const { return LastError; }

    // The folder of the running program, with a trailing separator; empty when unknown.
    static std::string ProgramFolder();

private:
    struct TRow {
        uint32_t ManufacturerId = 0;
        uint32_t ProductId = 0;
        std::string ManufacturerName;
        std::string ProductName;
        std::string Description;
    };

    void Read(const std::string& fileName);

    std::vector<TRow> Rows;
    std::string LastError;
};

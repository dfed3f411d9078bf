#pragma once
// The abstract base of the five board classes: name, serial number, firmware version and the
// table of System Variables (SVs), with the operations through which the rest of the program
// calculates, decodes, saves, loads, lists and describes a board without knowing its type.

#include "boards/BoardTypes.h"
#include "boards/CsvIo.h"

#include <cstdint>
#include <istream>
#include <ostream>
#include <string>
#include <vector>

class TConfigurableBoard : public TCsvIo {
public:
    TConfigurableBoard();
    TConfigurableBoard(const TConfigurableBoard& other);
    TConfigurableBoard& operator=(const TConfigurableBoard& other);

    // Slot 0
    ~TConfigurableBoard() override = default;
    // Slot 1: the type tag, for example "ORB4".
    virtual std::string GetBoardType() const = 0;
    // Slot 2: whether an Identify reply's three values belong to this board.
    virtual bool IsBoardIdentity(uint32_t manufacturerId, uint32_t productId, uint32_t serial) const = 0;
    // Slot 3 and 4: the board's record in a board file.
    virtual void SaveToStream(std::ostream& stream) = 0;
    virtual void LoadFromStream(std::istream& stream) = 0;
    // Slot 5: clears the table and writes the serial number into SV3/SV4; boards add their SVs.
    virtual bool CalculateSVs();
    // Slot 6: explains a false result of CalculateSVs.
    virtual std::string GetSVErrorText() const = 0;
    // Slot 7: rebuilds the description from an SV table read from a board.
    virtual void DecodeSVs();
    // Slot 8: writes the SV listing file; false when the file cannot be written.
    virtual bool WriteSVListing(const std::string& fileName);
    // Slot 9 and 10: SV numbers never programmed.
    virtual const std::vector<uint32_t>& GetProtectedSVs() const = 0;
    virtual const std::vector<uint32_t>& GetUnusedSVs() const = 0;
    // Slot 11: appends the readable description lines.
    virtual void DisplayBoard(std::vector<std::string>& lines);

    bool IsSerialValid() const { return SerialNumber >= 1 && SerialNumber <= 65536; }
    // SVs are numbered from 1; out-of-range numbers read as 0 and are not written.
    uint8_t GetSV(uint32_t n) const { return n >= 1 && n <= SVCount ? SVs[n - 1] : 0; }
    void SetSV(uint32_t n, uint8_t value)
    {
        if (n >= 1 && n <= SVCount) SVs[n - 1] = value;
    }
    bool IsSVProgrammable(uint32_t n) const;
    // The next SV to transfer after `current` (0 to start) and, in blockSize, how many.
    uint32_t NextSVBlock(uint32_t current, uint32_t& blockSize) const;
    // The SV listing text as WriteSVListing writes it.
    std::string SVListingText() const;
    std::string GetListLine() const;

    const std::vector<uint8_t>& GetSVTable() const { return SVs; }

    std::string Name = "Unknown";
    uint32_t SerialNumber = 0;
    uint32_t SWVersion = 1;

    uint32_t GetSVCount() const { return SVCount; }

protected:
    void SetSVCount(uint32_t count);

    uint32_t SVCount = 0;
    std::vector<uint8_t> SVs;
};

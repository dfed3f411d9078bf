#pragma once
// The abstract base of the five board classes: name, serial number, firmware version and the
// table of System Variables (SVs), with the operations through which the rest of the program
// calculates, decodes, saves, loads, lists and describes a board without knowing its type.

#include "boards/BoardTypes.h"
#include "boards/CsvIo.h"

#include <cstdint>
#include <istream>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

class THeldValues;

class TConfigurableBoard : public TCsvIo {
public:
    TConfigurableBoard();
    TConfigurableBoard(const TConfigurableBoard& other);
    TConfigurableBoard& operator=(const TConfigurableBoard& other);

    ~TConfigurableBoard() override = default;
    // The type tag, for example "ORB4".
    virtual std::string GetBoardType() const = 0;
    // Whether an Identify reply's three values belong to this board.
    virtual bool IsBoardIdentity(uint32_t manufacturerId, uint32_t productId, uint32_t serial) const = 0;
    // The board's record in a board file.
    virtual void SaveToStream(std::ostream& stream) = 0;
    virtual void LoadFromStream(std::istream& stream) = 0;
    // Clears the table and writes the serial number into SV3/SV4; boards add their SVs and return
    // false when their description does not fit.
    virtual bool CalculateSVs();
    // Explains a false result of CalculateSVs.
    virtual std::string GetSVErrorText() const = 0;
    // Takes the serial number from SV3/SV4; boards rebuild their description from an SV table read
    // from a board.
    virtual void DecodeSVs();
    // Writes the SV listing file; false when the file cannot be written.
    virtual bool WriteSVListing(const std::string& fileName);
    // The same, saying why it failed ("No space left on device"). The listing goes to a temporary
    // file that replaces the old one only when it is complete, so a failed write keeps the old one.
    bool WriteSVListingFile(const std::string& fileName, std::string& error) const;
    // SV numbers the programmer never writes: the protected ones (the same for every board) and
    // the ones the board does not use (which include the protected ones).
    virtual const std::vector<uint32_t>& GetProtectedSVs() const = 0;
    virtual const std::vector<uint32_t>& GetUnusedSVs() const = 0;
    // Appends the readable description lines: the board type, serial number and name; boards add
    // their own.
    virtual void DisplayBoard(std::vector<std::string>& lines);
    // A copy of the board of its own class: its description and its SV table. None for a board
    // class that does not make copies.
    virtual std::unique_ptr<TConfigurableBoard> Clone() const { return nullptr; }
    // Lists what the board holds of its description in its SVs, value by value, for comparing
    // descriptions by meaning (HoldCheck.h). The serial number, the board's identity, is not listed.
    virtual void AddHeldValues(THeldValues& values) const { (void)values; }
    // Why the last LoadFromStream could not read the record as it stands (a route entry whose
    // address is no whole number, ...); empty after a clean load. The board list stops loading
    // the file there.
    const std::string& GetLoadErrorText() const { return LoadErrorText; }

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
    std::string LoadErrorText;
};

// A board of one of the five board types: its type tag, identity and SV lists, its SV count, the
// name of a new board and the text of a failed SV calculation come from the board type table. The base of the five board classes.
class TTypedBoard : public TConfigurableBoard {
public:
    std::string GetBoardType() const override;
    bool IsBoardIdentity(uint32_t manufacturerId, uint32_t productId, uint32_t serial) const override;
    const std::vector<uint32_t>& GetProtectedSVs() const override;
    const std::vector<uint32_t>& GetUnusedSVs() const override;
    std::string GetSVErrorText() const override;

protected:
    explicit TTypedBoard(EBoardType type);

    EBoardType Type;
};

#pragma once
// The comma-separated line buffer through which boards, their parts, the board list and the
// product table read and write their lines. Holds one line at a time.

#include <cstdint>
#include <istream>
#include <ostream>
#include <string>
#include <vector>

class TCsvIo {
public:
    TCsvIo() = default;
    virtual ~TCsvIo() = default;
    TCsvIo(const TCsvIo&) = default;
    TCsvIo& operator=(const TCsvIo&) = default;

    // When on, text fields are stored with a double quote before and after them.
    void SetQuoteStrings(bool on) { QuoteStrings = on; }
    bool GetQuoteStrings() const { return QuoteStrings; }

    void ClearFields() { Fields.clear(); }
    void SetText(size_t position, const std::string& text);
    // Stores the value as a signed 32-bit number in decimal.
    void SetNumber(size_t position, long long value);
    // The field's text, without a double quote at its start and end.
    std::string GetText(size_t position);
    // The field read as a decimal whole number; sets the error flag when it is not one.
    int GetNumber(size_t position);
    size_t FieldCount() const { return Fields.size(); }

    bool GetErrorFlag() const { return ErrorFlag; }
    void ClearErrorFlag() { ErrorFlag = false; }

    // Reads one line (up to a line feed; a carriage return before it is dropped) into the fields.
    size_t ReadLine(std::istream& stream);
    // Writes the fields joined by commas, then CR LF.
    void WriteLine(std::ostream& stream) const;

    const std::vector<std::string>& GetFields() const { return Fields; }

protected:
    std::string& Field(size_t position);

    std::vector<std::string> Fields;
    bool ErrorFlag = false;
    bool QuoteStrings = false;
};

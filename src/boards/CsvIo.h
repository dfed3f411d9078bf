#pragma once
// The comma-separated line buffer through which boards, their parts, the board list and the
// product table read and write their lines. Holds one line at a time.

#include <cstdint>
#include <initializer_list>
#include <istream>
#include <ostream>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// A decimal whole number at the start of a text: blanks, an optional sign, then digits. This is
// how every number of a board file is read, whole fields and the numbers inside text fields alike.
// A number beyond the range of a signed 32-bit value saturates to INT_MIN or INT_MAX.
struct TLeadingNumber {
    int Value = 0; // 0 when there are no digits
    bool HasDigits = false;
    bool InRange = true; // false when Value was saturated
    size_t End = 0; // the position after the last digit
};
TLeadingNumber ParseLeadingNumber(std::string_view text);
// The value alone: 0 when the text does not begin with a number.
inline int LeadingNumber(std::string_view text)
{
    return ParseLeadingNumber(text).Value;
}

class TCsvIo {
public:
    // The longest line ReadLine takes (its line feed not counted). Board-file lines are a few
    // hundred characters; the limit keeps a file without line ends from filling the memory.
    static constexpr size_t kMaxLineLength = 1024 * 1024;

    TCsvIo() = default;
    virtual ~TCsvIo() = default;
    TCsvIo(const TCsvIo&) = default;
    TCsvIo& operator=(const TCsvIo&) = default;

    // When on, text fields are stored with a double quote before and after them, and without any
    // double quote of their own (the format cannot keep one).
    void SetQuoteStrings(bool on) { QuoteStrings = on; }
    bool GetQuoteStrings() const { return QuoteStrings; }

    // No fields. The fields' strings are kept for the next line, so that their room is used again.
    void ClearFields() { Used = 0; }
    void SetText(size_t position, const std::string& text);
    // Stores the value as a signed 32-bit number in decimal.
    void SetNumber(size_t position, long long value);
    // Stores the values as numbers in the fields from `first` on.
    void SetNumbers(size_t first, std::initializer_list<long long> values);
    // The field's text, without a double quote at its start and end.
    std::string GetText(size_t position);
    // The same text without a copy: valid until the fields next change.
    std::string_view GetTextView(size_t position);
    // The field read as a decimal whole number; sets the error flag when it is not one.
    int GetNumber(size_t position);
    size_t FieldCount() const { return Used; }

    bool GetErrorFlag() const { return ErrorFlag; }
    void ClearErrorFlag() { ErrorFlag = false; }

    // Reads one line (up to a line feed; a carriage return before it is dropped) into the fields.
    // A line longer than kMaxLineLength is no line of a board file: reading stops there with no
    // fields, the stream is marked bad and LineTooLong tells why.
    size_t ReadLine(std::istream& stream);
    // Whether ReadLine stopped `stream` at a line longer than kMaxLineLength.
    static bool LineTooLong(std::istream& stream);
    // The words for that: "a line is longer than 1048576 characters".
    static std::string LineTooLongText();
    // Writes the fields joined by commas, then CR LF.
    void WriteLine(std::ostream& stream) const;

    std::span<const std::string> GetFields() const { return {Fields.data(), Used}; }

protected:
    std::string& Field(size_t position);

    // Splits one line (without its line end) into the fields.
    void SplitLine(std::string_view line);

    // The line's fields are the first Used; the others are room kept for later lines.
    std::vector<std::string> Fields;
    size_t Used = 0;
    bool ErrorFlag = false;
    bool QuoteStrings = false;
};

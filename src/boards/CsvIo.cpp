#include "boards/CsvIo.h"

#include <algorithm>
#include <climits>

std::string& TCsvIo::Field(size_t position)
{
    if (position >= Fields.size()) Fields.resize(position + 1);
    return Fields[position];
}

void TCsvIo::SetText(size_t position, const std::string& text)
{
    Field(position) = QuoteStrings ? "\"" + text + "\"" : text;
}

void TCsvIo::SetNumber(size_t position, long long value)
{
    // Numbers are written as signed 32-bit values, the way they are read back: an unsigned field
    // that was read as -1 is written as -1 again, never as 4294967295 (which would not read back).
    Field(position) = std::to_string(static_cast<int32_t>(static_cast<uint32_t>(value)));
}

void TCsvIo::SetNumbers(size_t first, std::initializer_list<long long> values)
{
    for (long long value : values) SetNumber(first++, value);
}

std::string TCsvIo::GetText(size_t position)
{
    const std::string& f = Field(position);
    if (f.size() >= 2 && f.front() == '"' && f.back() == '"') return f.substr(1, f.size() - 2);
    return f;
}

TLeadingNumber ParseLeadingNumber(std::string_view text)
{
    TLeadingNumber number;
    size_t i = 0;
    while (i < text.size() && text[i] == ' ') ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    const size_t digitsStart = i;
    long long value = 0;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
        // Past INT_MAX the digits are still read, but the value no longer grows.
        if (value <= INT_MAX) value = value * 10 + (text[i] - '0');
        ++i;
    }
    number.HasDigits = i > digitsStart;
    number.End = i;
    if (negative) value = -value;
    number.InRange = value >= INT_MIN && value <= INT_MAX;
    number.Value = static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX));
    return number;
}

int TCsvIo::GetNumber(size_t position)
{
    const std::string& f = Field(position);
    const TLeadingNumber number = ParseLeadingNumber(f);
    if (!number.HasDigits) {
        ErrorFlag = true;
        return 0;
    }
    if (f.find_first_not_of(' ', number.End) != std::string::npos) ErrorFlag = true;
    return number.Value;
}

namespace {

// The slot of a stream's own storage in which ReadLine marks a line that was too long.
int LineTooLongSlot()
{
    static const int slot = std::ios_base::xalloc();
    return slot;
}

} // namespace

bool TCsvIo::LineTooLong(std::istream& stream)
{
    return stream.iword(LineTooLongSlot()) != 0;
}

std::string TCsvIo::LineTooLongText()
{
    return "a line is longer than " + std::to_string(kMaxLineLength) + " characters";
}

size_t TCsvIo::ReadLine(std::istream& stream)
{
    Fields.clear();
    std::string current;
    bool atStart = true;
    bool inQuotes = false;
    bool anything = false;
    for (size_t length = 0;; ++length) {
        if (length > kMaxLineLength) {
            Fields.clear();
            stream.iword(LineTooLongSlot()) = 1;
            stream.setstate(std::ios::badbit);
            return 0;
        }
        const int c = stream.get();
        if (c == std::char_traits<char>::eof()) {
            // A final line without a line end still delivers its last field.
            if (anything) Fields.push_back(std::move(current));
            stream.clear(stream.rdstate() & ~std::ios::failbit);
            return Fields.size();
        }
        anything = true;
        if (c == '\n') {
            Fields.push_back(std::move(current));
            return Fields.size();
        }
        // A carriage return is dropped only where it ends the line; elsewhere it is field text.
        if (c == '\r' && stream.peek() == '\n') continue;
        if (c == '"' && atStart) {
            inQuotes = true;
            atStart = false;
        } else if (c == '"' && inQuotes) {
            inQuotes = false;
        } else if (c == ',' && !inQuotes) {
            Fields.push_back(std::move(current));
            current.clear();
            atStart = true;
        } else {
            current.push_back(static_cast<char>(c));
            atStart = false;
        }
    }
}

void TCsvIo::WriteLine(std::ostream& stream) const
{
    for (size_t i = 0; i < Fields.size(); ++i) {
        if (i > 0) stream.put(',');
        stream << Fields[i];
    }
    stream << "\r\n";
}

#include "boards/CsvIo.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cstring>

std::string& TCsvIo::Field(size_t position)
{
    if (position >= Used) {
        if (position >= Fields.size()) {
            if (position >= Fields.capacity()) Fields.reserve(std::max({position + 1, 2 * Fields.capacity(), size_t{8}}));
            Fields.resize(position + 1);
        }
        for (size_t i = Used; i <= position; ++i) Fields[i].clear();
        Used = position + 1;
    }
    return Fields[position];
}

void TCsvIo::SetText(size_t position, const std::string& text)
{
    std::string& field = Field(position);
    if (!QuoteStrings) {
        field = text;
        return;
    }
    // A double quote inside the text would end the field early when the file is read again, and
    // the format has no way to keep one: it is left out. (The windows never let one in; a text
    // can only bring one from a damaged file.)
    field.clear();
    field.reserve(text.size() + 2);
    field.push_back('"');
    if (text.find('"') == std::string::npos) {
        field.append(text);
    } else {
        for (const char c : text)
            if (c != '"') field.push_back(c);
    }
    field.push_back('"');
}

void TCsvIo::SetNumber(size_t position, long long value)
{
    // Numbers are written as signed 32-bit values, the way they are read back: an unsigned field
    // that was read as -1 is written as -1 again, never as 4294967295 (which would not read back).
    char digits[12];
    const auto written = std::to_chars(digits, digits + sizeof digits, static_cast<int32_t>(static_cast<uint32_t>(value)));
    Field(position).assign(digits, written.ptr);
}

void TCsvIo::SetNumbers(size_t first, std::initializer_list<long long> values)
{
    for (long long value : values) SetNumber(first++, value);
}

std::string TCsvIo::GetText(size_t position)
{
    return std::string(GetTextView(position));
}

std::string_view TCsvIo::GetTextView(size_t position)
{
    const std::string_view f = Field(position);
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
    Used = 0;
    if (!stream.good()) {
        // As a read from a stream that has ended: nothing, and the stream only marked as ended.
        stream.clear(stream.rdstate() & ~std::ios::failbit);
        return 0;
    }
    // The line is taken in pieces by the library (which finds the line end quickly), then split;
    // a line that fits in the first piece is split from there.
    thread_local std::string line;
    char piece[512];
    std::string_view text;
    bool lineEnd = false;
    for (bool first = true;; first = false) {
        stream.getline(piece, sizeof piece);
        const auto got = static_cast<size_t>(stream.gcount());
        const bool pieceFull = stream.fail() && !stream.eof();
        lineEnd = !stream.eof() && !pieceFull;
        const size_t length = lineEnd ? got - 1 : got;
        if (first && !pieceFull) {
            text = std::string_view(piece, length);
            break;
        }
        if (first) line.clear();
        line.append(piece, length);
        if (line.size() > kMaxLineLength) {
            stream.iword(LineTooLongSlot()) = 1;
            stream.setstate(std::ios::badbit);
            return 0;
        }
        if (!pieceFull) {
            text = line;
            break;
        }
        stream.clear(stream.rdstate() & ~std::ios::failbit);
    }
    if (!lineEnd) {
        stream.clear(stream.rdstate() & ~std::ios::failbit);
        // A final line without a line end still delivers its last field.
        if (text.empty() && stream.gcount() == 0) return 0;
    } else if (!text.empty() && text.back() == '\r') {
        // A carriage return is dropped only where it ends the line; elsewhere it is field text.
        text.remove_suffix(1);
    }
    SplitLine(text);
    return Used;
}

void TCsvIo::SplitLine(std::string_view line)
{
    // A double quote at the start of a field opens quotes and the next one closes them; neither
    // is field text, and the text in quotes runs on over commas (to the end of the line when no
    // quote closes it). Any other double quote is text. A field's text is thus the part in
    // quotes, if any, then the rest up to the next comma. The commas are found first, by the
    // library in one pass over the line; a field then runs to the first of them past its start.
    const char* const text = line.data();
    const size_t size = line.size();
    Used = 0;
    thread_local std::vector<size_t> commas;
    commas.clear();
    for (const char* comma = text; (comma = static_cast<const char*>(std::memchr(comma, ',', size - (comma - text))));
         ++comma)
        commas.push_back(static_cast<size_t>(comma - text));
    commas.push_back(size); // the line's end ends the last field
    // Room for as many fields as the line can have (one more than its commas), made at once
    // rather than field by field.
    if (Fields.size() < commas.size()) Fields.resize(commas.size());
    size_t next = 0;
    for (size_t at = 0;;) {
        std::string& field = Fields[Used++];
        field.clear();
        if (at < size && text[at] == '"') {
            const void* quote = std::memchr(text + at + 1, '"', size - at - 1);
            const size_t close = quote ? static_cast<size_t>(static_cast<const char*>(quote) - text) : size;
            field.append(text + at + 1, close - at - 1);
            at = close < size ? close + 1 : size;
        }
        while (commas[next] < at) ++next; // commas within the quotes
        const size_t comma = commas[next];
        if (comma > at) field.append(text + at, comma - at);
        if (comma == size) break;
        at = comma + 1;
        ++next;
    }
}

void TCsvIo::WriteLine(std::ostream& stream) const
{
    // The line is put together first and handed to the stream at once: each call on a stream
    // costs more than the few characters most fields have.
    thread_local std::string line;
    line.clear();
    for (size_t i = 0; i < Used; ++i) {
        if (i > 0) line.push_back(',');
        line.append(Fields[i]);
    }
    line.append("\r\n");
    stream.write(line.data(), static_cast<std::streamsize>(line.size()));
}

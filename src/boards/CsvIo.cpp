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

namespace {

// The field storage that BorrowFields lends and ReleaseFields gives back.
std::vector<std::string>& SpareFields()
{
    thread_local std::vector<std::string> spare;
    return spare;
}

// Room for this many fields is made at once when an object reads its first line.
constexpr size_t kFieldsAtFirst = 16;

// The block in which istream::getline delivers a line, and the line gathered from several blocks.
struct TLineBuffer {
    std::string Text;
    char Block[4096];
};

// A buffer that grew beyond this for one long line is given back afterwards.
constexpr size_t kKeptBufferSize = 64 * 1024;

TLineBuffer& LineBuffer()
{
    thread_local TLineBuffer buffer;
    return buffer;
}

// Reads the text of one line (up to a line feed, which is consumed but not kept) a block at a
// time straight from the stream's buffer, into `text`: within the block when the line fits in
// it, as most do, and otherwise gathered in the buffer's Text. False when the line has more than
// TCsvIo::kMaxLineLength characters; `ended` tells whether a line feed ended it (rather than the
// end of the stream), `any` whether a character was read at all.
bool ReadLineText(std::istream& stream, TLineBuffer& buffer, std::string_view& text, bool& ended, bool& any)
{
    std::string& line = buffer.Text;
    line.clear();
    text = {};
    ended = false;
    any = false;
    for (bool first = true;; first = false) {
        stream.getline(buffer.Block, sizeof buffer.Block);
        const auto extracted = static_cast<size_t>(stream.gcount());
        if (extracted == 0) break; // the end of the stream (or a stream that was not good)
        any = true;
        // getline counts the line feed it took, and marks the stream failed when the block filled
        // up first, or at the end of the stream when it read nothing.
        ended = !stream.fail() && !stream.eof();
        const size_t stored = ended ? extracted - 1 : extracted;
        const bool done = ended || stream.eof() || stream.bad();
        if (first && done) {
            text = std::string_view(buffer.Block, stored);
            return true;
        }
        line.append(buffer.Block, stored);
        if (line.size() > TCsvIo::kMaxLineLength) return false;
        if (done) break;
        stream.clear(stream.rdstate() & ~std::ios::failbit); // the block was full: read on
    }
    text = line;
    return true;
}

} // namespace

size_t TCsvIo::ReadLine(std::istream& stream)
{
    TLineBuffer& buffer = LineBuffer();
    std::string_view line;
    bool ended = false;
    bool any = false;
    const bool fits = ReadLineText(stream, buffer, line, ended, any);
    // getline marks the stream failed where it stops early; only the end of the stream counts here.
    stream.clear(stream.rdstate() & ~std::ios::failbit);
    if (!fits) {
        Fields.clear();
        stream.iword(LineTooLongSlot()) = 1;
        stream.setstate(std::ios::badbit);
        std::string().swap(buffer.Text);
        return 0;
    }
    if (!any) {
        Fields.clear();
        return 0;
    }
    // A carriage return is dropped only where it ends the line; elsewhere it is field text.
    if (ended && !line.empty() && line.back() == '\r') line.remove_suffix(1);

    // Splits the line into fields at the commas outside double quotes. A double quote at the
    // start of a field opens quotes and the next one closes them; neither is field text, and the
    // text in quotes runs on over commas (to the end of the line when no quote closes it). Any
    // other double quote is text. A field's text is thus the part in quotes, if any, then the
    // rest up to the next comma.
    // The field strings of the last line (or those borrowed) keep their storage for this one.
    // Most fields are a few characters long: plain loops beat library searches here.
    if (Fields.capacity() == 0) Fields.reserve(kFieldsAtFirst);
    const char* const text = line.data();
    const size_t size = line.size();
    size_t count = 0;
    for (size_t at = 0;;) {
        if (count == Fields.size()) Fields.emplace_back();
        std::string& field = Fields[count++];
        field.clear(); // (then append: cheaper than assign, which allows for overlapping text)
        if (at < size && text[at] == '"') {
            size_t close = at + 1;
            while (close < size && text[close] != '"') ++close;
            field.append(text + at + 1, close - at - 1);
            at = close < size ? close + 1 : size;
        }
        size_t comma = at;
        while (comma < size && text[comma] != ',') ++comma;
        if (comma > at) field.append(text + at, comma - at);
        if (comma == size) break;
        at = comma + 1;
    }
    Fields.resize(count);
    if (buffer.Text.capacity() > kKeptBufferSize) std::string().swap(buffer.Text);
    return Fields.size();
}

void TCsvIo::BorrowFields()
{
    if (Fields.capacity() == 0) Fields.swap(SpareFields());
}

void TCsvIo::ReleaseFields()
{
    SpareFields().swap(Fields);
    std::vector<std::string>().swap(Fields);
}

void TCsvIo::WriteLine(std::ostream& stream) const
{
    for (size_t i = 0; i < Fields.size(); ++i) {
        if (i > 0) stream.put(',');
        stream << Fields[i];
    }
    stream << "\r\n";
}

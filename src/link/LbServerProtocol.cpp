#include "link/LbServerProtocol.h"

#include "link/TextFormat.h"

#include <cctype>

namespace {

// Builds "<before><middle><after>" (appending avoids a false alarm of some compilers about
// overlapping copies in chained string concatenation).
std::string Join3(std::string_view before, std::string_view middle, std::string_view after)
{
    std::string text;
    text.reserve(before.size() + middle.size() + after.size());
    text.append(before).append(middle).append(after);
    return text;
}

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

std::string_view Trim(std::string_view s)
{
    while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
    return s;
}

bool EqualsNoCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (std::toupper(static_cast<unsigned char>(a[i])) != std::toupper(static_cast<unsigned char>(b[i])))
            return false;
    }
    return true;
}

// Blank-separated hexadecimal bytes of one or two digits each. At least one byte is required.
bool ParseHexBytes(std::string_view text, std::vector<uint8_t>& bytes, std::string& error)
{
    bytes.clear();
    size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && IsBlank(text[i])) ++i;
        if (i >= text.size()) break;
        size_t start = i;
        while (i < text.size() && !IsBlank(text[i])) ++i;
        std::string_view token = text.substr(start, i - start);
        if (token.size() > 2) {
            error = Join3("byte '", token, "' has more than two hex digits");
            return false;
        }
        int value = 0;
        for (char c : token) {
            int digit = textformat::HexDigitValue(c);
            if (digit < 0) {
                error = Join3("'", token, "' is not a hex byte");
                return false;
            }
            value = value * 16 + digit;
        }
        bytes.push_back(static_cast<uint8_t>(value));
    }
    if (bytes.empty()) {
        error = "no bytes";
        return false;
    }
    return true;
}

std::string FormatLine(std::string_view keyword, const uint8_t* bytes, size_t count)
{
    std::string line(keyword);
    line.reserve(keyword.size() + count * 3 + 2);
    for (size_t i = 0; i < count; ++i) {
        line.push_back(' ');
        textformat::AppendHex(line, bytes[i], 2);
    }
    line += "\r\n";
    return line;
}

} // namespace

TLbLine ParseLbLine(std::string_view line)
{
    TLbLine result;
    result.Line = std::string(line);
    std::string_view rest = Trim(line);
    size_t blank = 0;
    while (blank < rest.size() && !IsBlank(rest[blank])) ++blank;
    std::string_view keyword = rest.substr(0, blank);
    std::string_view argument = Trim(rest.substr(blank));
    result.Text = std::string(argument);

    if (EqualsNoCase(keyword, "RECEIVE") || EqualsNoCase(keyword, "SEND")) {
        bool receive = EqualsNoCase(keyword, "RECEIVE");
        std::string error;
        if (ParseHexBytes(argument, result.Bytes, error)) {
            result.Kind = receive ? ELbLineKind::eReceive : ELbLineKind::eSend;
        } else {
            result.Kind = ELbLineKind::eMalformed;
            result.Bytes.clear();
            result.Text = error;
        }
    } else if (EqualsNoCase(keyword, "SENT")) {
        std::string_view status = argument.substr(0, argument.find_first_of(" \t"));
        if (EqualsNoCase(status, "OK")) {
            result.Kind = ELbLineKind::eSentOk;
        } else {
            result.Kind = ELbLineKind::eSentError;
            if (EqualsNoCase(status, "ERROR")) result.Text = std::string(Trim(argument.substr(status.size())));
        }
    } else if (EqualsNoCase(keyword, "VERSION")) {
        result.Kind = ELbLineKind::eVersion;
    } else if (EqualsNoCase(keyword, "TIMESTAMP")) {
        result.Kind = ELbLineKind::eTimestamp;
    } else if (EqualsNoCase(keyword, "BREAK")) {
        result.Kind = ELbLineKind::eBreak;
    } else if (EqualsNoCase(keyword, "ERROR")) {
        result.Kind = ELbLineKind::eError;
    } else {
        result.Kind = ELbLineKind::eUnknown;
    }
    return result;
}

std::string FormatLbSend(const uint8_t* bytes, size_t count)
{
    return FormatLine("SEND", bytes, count);
}

std::string FormatLbReceive(const uint8_t* bytes, size_t count)
{
    return FormatLine("RECEIVE", bytes, count);
}

namespace {
constexpr std::string_view kClosing = "closing the connection: ";
}

std::string FormatLbClosing(std::string_view why)
{
    return Join3("ERROR ", kClosing, why) + "\r\n";
}

std::string LbClosingReason(const TLbLine& line)
{
    if (line.Kind != ELbLineKind::eError || line.Text.compare(0, kClosing.size(), kClosing) != 0) return {};
    return line.Text.substr(kClosing.size());
}

void TLbLineSplitter::Feed(const uint8_t* bytes, size_t count, std::vector<TLbLine>& lines)
{
    for (size_t i = 0; i < count; ++i) {
        char c = static_cast<char>(bytes[i]);
        if (c == '\r' || c == '\n') {
            if (Overlong) {
                TLbLine line;
                line.Kind = ELbLineKind::eMalformed;
                line.Overlong = true;
                line.Line = Current;
                line.Text = Join3("line longer than ", std::to_string(Limit), " characters");
                lines.push_back(std::move(line));
            } else if (!Trim(Current).empty()) {
                lines.push_back(ParseLbLine(Current));
            }
            Current.clear();
            Overlong = false;
        } else if (Current.size() < Limit) {
            Current.push_back(c);
        } else {
            Overlong = true;
        }
    }
}

void TLbLineSplitter::Reset()
{
    Current.clear();
    Overlong = false;
}

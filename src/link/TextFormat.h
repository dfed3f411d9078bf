#pragma once
// Numbers as text without streams: decimal and hexadecimal digits appended to a string, and the
// value of a hexadecimal digit. Every hex text of the program is written through these, and so is
// outside text made safe to print.

#include <cstdint>
#include <string>
#include <string_view>

namespace textformat {

enum class EHexCase { Upper, Lower };

// The hexadecimal digit of the low four bits of v.
constexpr char HexDigit(uint64_t v, EHexCase letterCase = EHexCase::Upper)
{
    return (letterCase == EHexCase::Upper ? "0123456789ABCDEF" : "0123456789abcdef")[v & 0x0F];
}

// The value of a hexadecimal digit (either case); -1 for any other character.
constexpr int HexDigitValue(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Text from outside (a file, the network) made safe to print: control characters, bytes above 7E
// and the backslash itself are written as \xHH.
inline std::string Escaped(std::string_view text)
{
    std::string s;
    s.reserve(text.size());
    for (char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x20 || u > 0x7E || c == '\\') {
            s += "\\x";
            s.push_back(HexDigit(u >> 4));
            s.push_back(HexDigit(u));
        } else {
            s.push_back(c);
        }
    }
    return s;
}

inline void AppendDec(std::string& s, uint32_t v)
{
    char buf[10];
    int n = 0;
    do {
        buf[n++] = static_cast<char>('0' + v % 10);
        v /= 10;
    } while (v != 0);
    while (n > 0) s.push_back(buf[--n]);
}

// Hexadecimal with at least minDigits digits (at most 16), upper case unless told otherwise.
inline void AppendHex(std::string& s, uint64_t v, int minDigits, EHexCase letterCase = EHexCase::Upper)
{
    char buf[16];
    int n = 0;
    do {
        buf[n++] = HexDigit(v, letterCase);
        v >>= 4;
    } while (v != 0 && n < 16);
    while (n < minDigits && n < 16) buf[n++] = '0';
    while (n > 0) s.push_back(buf[--n]);
}

} // namespace textformat

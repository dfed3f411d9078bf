#pragma once
// Numbers as text without streams: decimal and hexadecimal digits appended to a string, and the
// value of a hexadecimal digit. Every hex text of the program is written through these.

#include <cstdint>
#include <string>

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

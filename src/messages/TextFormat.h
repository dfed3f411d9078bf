#pragma once
// Small appenders used to build message texts without streams.

#include <cstdint>
#include <string>

namespace textformat {

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

// Upper-case hexadecimal with at least minDigits digits (at most 8).
inline void AppendHex(std::string& s, uint32_t v, int minDigits)
{
    static constexpr char kDigits[] = "0123456789ABCDEF";
    char buf[8];
    int n = 0;
    do {
        buf[n++] = kDigits[v & 0x0F];
        v >>= 4;
    } while (v != 0 && n < 8);
    while (n < minDigits && n < 8) buf[n++] = '0';
    while (n > 0) s.push_back(buf[--n]);
}

} // namespace textformat

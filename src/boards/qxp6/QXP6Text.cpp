#include "boards/qxp6/QXP6Text.h"

#include <charconv>

namespace qxp6text {
std::string GeneralNumber(double value)
{
    // to_chars ignores the locale, so the decimal separator is always a point.
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 15);
    return std::string(buffer, result.ptr);
}
} // namespace qxp6text

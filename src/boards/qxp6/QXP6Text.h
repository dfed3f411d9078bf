#pragma once
// Number formatting shared by the QXP6 description lines.

#include <string>

namespace qxp6text {
// A value in general number format with up to 15 significant digits: 0.8, 1, 12.5.
std::string GeneralNumber(double value);
} // namespace qxp6text

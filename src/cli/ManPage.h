#pragma once
// The manual page of railscope-cli (section 1, roff), written from the registered commands and
// their usage texts, so that the page says what --help says.

#include <ostream>
#include <string>

namespace cli {

// Text made safe for a roff text line: backslashes and minus signs escaped, and a line that
// would start with a control character ("." or "'") guarded.
std::string RoffText(const std::string& text);

// The whole page for the given version.
void WriteManPage(std::ostream& out, const std::string& version);

} // namespace cli

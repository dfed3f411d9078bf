#include "boardlist/RtfWriter.h"

#include <cstdio>

std::string RtfEscape(const QString& line)
{
    std::string out;
    out.reserve(static_cast<size_t>(line.size()));
    for (const char32_t c : line.toUcs4()) {
        if (c == U'\\' || c == U'{' || c == U'}') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c == U'\t') {
            out += "\\tab ";
        } else if (c >= 0x20 && c < 0x7F) {
            out += static_cast<char>(c);
        } else if (c < 0x20 || c == 0x7F) {
            // Other control characters have no place in a description line.
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\'%02x", static_cast<unsigned>(c));
            out += buf;
        } else {
            // \uN takes a signed 16-bit number; characters beyond the first plane go as a
            // surrogate pair. Each is followed by one fallback character for old readers.
            auto unit = [&out](uint32_t u) {
                const int n = u > 32767 ? static_cast<int>(u) - 65536 : static_cast<int>(u);
                out += "\\u" + std::to_string(n) + "?";
            };
            if (c > 0xFFFF) {
                const uint32_t v = static_cast<uint32_t>(c) - 0x10000;
                unit(0xD800 + (v >> 10));
                unit(0xDC00 + (v & 0x3FF));
            } else {
                unit(static_cast<uint32_t>(c));
            }
        }
    }
    return out;
}

std::string MakeRtfDocument(const QStringList& lines)
{
    std::string rtf = "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1 \r\n"
                      "{\\fonttbl{\\f0\\fmodern\\fcharset0 Courier New;}}\r\n"
                      "\\pard\\plain\\f0\\fs20 \r\n";
    for (const QString& line : lines) {
        // The blank after \par ends the control word; the line break after it is ignored by
        // readers, so the next line's leading blanks are kept.
        rtf += RtfEscape(line);
        rtf += "\\par \r\n";
    }
    rtf += "}\r\n";
    return rtf;
}

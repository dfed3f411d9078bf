// Feeds arbitrary bytes to the LoconetOverTcp line splitter and parser, as a server might send
// them, in two pieces split where the first byte says; every line must come out well formed.
#include "link/LbServerProtocol.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0) return 0;
    size_t split = data[0] % size;
    TLbLineSplitter splitter;
    std::vector<TLbLine> lines;
    splitter.Feed(data + 1, split, lines);
    splitter.Feed(data + 1 + split, size - 1 - split, lines);
    if (splitter.Pending() > TLbLineSplitter::MaxLineLength) std::abort();
    for (const auto& line : lines) {
        bool hasBytes = line.Kind == ELbLineKind::eReceive || line.Kind == ELbLineKind::eSend;
        if (hasBytes == line.Bytes.empty()) std::abort();
        if (line.Line.size() > TLbLineSplitter::MaxLineLength) std::abort();
        if (hasBytes) {
            // What we would send again parses back to the same bytes.
            std::string text = FormatLbReceive(line.Bytes.data(), line.Bytes.size());
            TLbLine again = ParseLbLine(text.substr(0, text.size() - 2));
            if (again.Kind != ELbLineKind::eReceive || again.Bytes != line.Bytes) std::abort();
        }
    }
    return 0;
}

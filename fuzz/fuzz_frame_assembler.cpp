// Feeds arbitrary bytes to the frame assembler in arbitrary pieces, with and without the log, and
// checks that it delivers only valid messages and behaves the same however the stream is split.
#include "link/FrameAssembler.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

struct Run {
    std::vector<std::string> messages;
    std::string log;
};

// splitSeed 0 feeds the whole input at once, any other value in pieces of 1 to 37 bytes; with
// resetAt the assembler is purged once, after the piece that ends past that offset.
Run Frame(const uint8_t* data, size_t size, bool logging, uint8_t splitSeed, size_t resetAt = SIZE_MAX)
{
    Run run;
    TFrameAssembler assembler([&run](TLocoNetMessage&& m) {
        if (!m.IsValid() || m.GetLength() > TFrameAssembler::kMaxMessageLength) std::abort();
        for (uint32_t i = 1; i < m.GetLength(); ++i)
            if (m.GetByte(i) & 0x80) std::abort();
        run.messages.push_back(m.HexText());
    });
    if (logging) assembler.SetLogSink([&run](std::string_view t) { run.log.append(t); });
    size_t pos = 0;
    uint32_t state = splitSeed;
    while (pos < size) {
        state = state * 1103515245u + 12345u;
        size_t n = splitSeed == 0 ? size : 1 + (state >> 16) % 37;
        if (n > size - pos) n = size - pos;
        assembler.Feed(data + pos, n);
        pos += n;
        if (pos >= resetAt) {
            assembler.Reset();
            resetAt = SIZE_MAX;
        }
    }
    return run;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0) return 0;
    const uint8_t seed = data[0];
    ++data;
    --size;
    const Run whole = Frame(data, size, true, 0);
    const Run pieces = Frame(data, size, true, static_cast<uint8_t>(seed | 1));
    const Run quiet = Frame(data, size, false, seed);
    if (whole.messages != quiet.messages) std::abort();
    if (whole.messages != pieces.messages || whole.log != pieces.log) std::abort();
    if (!quiet.log.empty()) std::abort();
    // A purge part-way through: whatever comes out must still be valid (checked in the sink).
    (void)Frame(data, size, true, static_cast<uint8_t>(seed | 1), size / 2);
    return 0;
}

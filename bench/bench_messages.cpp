// Speed of the message core: framing of mixed received traffic, and classification plus the
// monitor's expanded text. Prints each figure beside its target.
#include "link/FrameAssembler.h"
#include "messages/MessageText.h"
#include "svprog/SVProgMessage.h"

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace {

// Processor time of this thread, so that the figure is per core even on a busy machine.
double CpuSeconds()
{
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) * 1e-9;
}

std::vector<std::vector<uint8_t>> LoadMessages()
{
    std::vector<std::vector<uint8_t>> messages;
    std::ifstream in(RAILSCOPE_SOURCE_DIR "/tests/support/data/loconet-corpus.txt");
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        TLocoNetMessage m(std::string_view(line).substr(0, line.find('\t')));
        if (m.IsValid()) messages.emplace_back(m.GetData(), m.GetData() + m.GetLength());
    }
    // Typical layout traffic: mostly short sensor, switch and throttle messages, plus SV traffic.
    const char* typical[] = {"B2 05 50 18", "B0 01 30 7E", "A0 0D 7F 2D",
                             "A1 0B 00 55", "83 7C",       "E5 10 00 01 02 11 68 03 05 00 11 0C 00 00 00 6B"};
    for (int copies = 0; copies < 20; ++copies)
        for (const char* hex : typical) {
            TLocoNetMessage m{std::string_view(hex)};
            messages.emplace_back(m.GetData(), m.GetData() + m.GetLength());
        }
    return messages;
}

void Report(const char* what, double value, const char* unit, double target)
{
    std::printf("%-44s %10.1f %-12s (target >= %.0f %s)  %s\n", what, value, unit, target, unit,
                value >= target ? "ok" : "BELOW TARGET");
}

double BenchFraming(const std::vector<std::vector<uint8_t>>& messages)
{
    // About 16 MB of traffic: valid messages, some with a damaged byte, and bits of line noise.
    std::mt19937 rng(12345);
    std::vector<uint8_t> stream;
    stream.reserve(17u << 20);
    while (stream.size() < (16u << 20)) {
        const auto& m = messages[rng() % messages.size()];
        stream.insert(stream.end(), m.begin(), m.end());
        const unsigned r = rng() % 100;
        if (r < 3)
            stream.back() ^= 0x01; // bad checksum
        else if (r < 5)
            stream.push_back(static_cast<uint8_t>(rng() & 0x7F)); // noise
    }

    size_t delivered = 0, bytes = 0;
    TFrameAssembler assembler([&](TLocoNetMessage&& m) {
        ++delivered;
        bytes += m.GetLength();
    });
    const size_t chunk = 4096; // what one read of the port's input queue gives at most
    double best = 1e30;
    for (int pass = 0; pass < 7; ++pass) {
        const double start = CpuSeconds();
        for (size_t pos = 0; pos < stream.size(); pos += chunk)
            assembler.Feed(stream.data() + pos, std::min(chunk, stream.size() - pos));
        best = std::min(best, CpuSeconds() - start);
    }
    if (delivered == 0 || bytes == 0) std::printf("no messages framed!\n");
    return static_cast<double>(stream.size()) / best / 1e6;
}

double BenchExpandedText(const std::vector<std::vector<uint8_t>>& raw)
{
    std::vector<TLocoNetMessage> messages;
    for (const auto& b : raw) messages.emplace_back(b.data(), static_cast<uint32_t>(b.size()));
    size_t checksum = 0;
    const int rounds = 4000;
    double best = 1e30;
    for (int pass = 0; pass < 5; ++pass) {
        const double start = CpuSeconds();
        for (int r = 0; r < rounds; ++r)
            for (const auto& m : messages) {
                checksum += static_cast<size_t>(m.MessageType());
                checksum += ExpandedMessageText(m).size();
            }
        best = std::min(best, CpuSeconds() - start);
    }
    if (checksum == 0) std::printf("nothing rendered!\n");
    return static_cast<double>(messages.size()) * rounds / best / 1e6;
}

} // namespace

int main()
{
    const auto messages = LoadMessages();
    if (messages.empty()) {
        std::printf("cannot read the message corpus\n");
        return 1;
    }
    Report("frame assembly, mixed traffic (per CPU s):", BenchFraming(messages), "MB/s", 100);
    Report("classify + expanded text (per CPU s):", BenchExpandedText(messages), "M msg/s", 2);
    return 0;
}

// Throughput of `railscope-cli monitor --raw` over a file: replay of one million messages.
// Target: at least 1,000,000 messages per second.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

std::vector<uint8_t> WithChecksum(std::vector<uint8_t> bytes)
{
    uint8_t x = 0;
    for (uint8_t b : bytes) x ^= b;
    bytes.push_back(static_cast<uint8_t>(0xFF ^ x));
    return bytes;
}

} // namespace

int main(int argc, char** argv)
{
    constexpr long kMessages = 1000000;
    constexpr double kTarget = 1000000.0;
    namespace fs = std::filesystem;
    fs::path cli = fs::absolute(fs::path(argc > 0 ? argv[0] : "").parent_path()) / "railscope-cli";
    if (argc > 1) cli = argv[1];
    if (!fs::exists(cli)) {
        std::fprintf(stderr, "bench_monitor_replay: %s not found (build railscope-cli, or name it)\n", cli.c_str());
        return 1;
    }

    // A mix of the traffic a layout produces: sensor reports, switch requests, throttle
    // messages, power, and SV access messages of a board being programmed.
    const std::vector<std::vector<uint8_t>> mix = {
        WithChecksum({0xB2, 0x05, 0x50}),
        WithChecksum({0xB0, 0x00, 0x30}),
        WithChecksum({0xA0, 0x03, 0x40}),
        WithChecksum({0xA1, 0x03, 0x31}),
        WithChecksum({0x83}),
        WithChecksum({0xE5, 0x10, 0x00, 0x05, 0x02, 0x11, 0x68, 0x03, 0x05, 0x00, 0x10, 0x0C, 0x01, 0x02, 0x03}),
        WithChecksum({0xE5, 0x10, 0x01, 0x45, 0x02, 0x11, 0x68, 0x03, 0x05, 0x00, 0x10, 0x0C, 0x01, 0x02, 0x03}),
        WithChecksum({0xB2, 0x7F, 0x7F}),
    };
    fs::path data = fs::temp_directory_path() / "railscope_bench_replay.bin";
    {
        std::ofstream out(data, std::ios::binary);
        for (long i = 0; i < kMessages; ++i) {
            const auto& m = mix[static_cast<size_t>(i) % mix.size()];
            out.write(reinterpret_cast<const char*>(m.data()), static_cast<std::streamsize>(m.size()));
        }
    }
    fs::path output = fs::temp_directory_path() / "railscope_bench_replay.txt";
    std::string command =
        "\"" + cli.string() + "\" monitor --raw --connect \"file:" + data.string() + "\" > \"" + output.string() + "\"";
    auto start = std::chrono::steady_clock::now();
    int status = std::system(command.c_str());
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

    // The last line counts what was received: all of them, or the figure means nothing.
    std::ifstream in(output);
    std::string line, last;
    long lines = 0;
    while (std::getline(in, line)) {
        last = line;
        ++lines;
    }
    fs::remove(data);
    fs::remove(output);
    std::string expected = "No. Messages received: " + std::to_string(kMessages);
    if (status != 0 || last != expected || lines != kMessages + 1) {
        std::fprintf(stderr, "bench_monitor_replay: monitor failed (status %d, last line '%s')\n", status,
                     last.c_str());
        return 1;
    }
    double rate = kMessages / seconds;
    std::printf("monitor --raw over a file: replay: %ld messages in %.3f s = %.0f messages/s (target >= %.0f) %s\n",
                kMessages, seconds, rate, kTarget, rate >= kTarget ? "OK" : "BELOW TARGET");
    // A smoke test too: a slow machine misses the target, but only a failure fails.
    return 0;
}

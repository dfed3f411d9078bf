// Runs a fuzz target over the inputs named on the command line, for builds without libFuzzer:
// each file, and every file of each folder (in name order, so that a replay always runs the same
// way). Prints what it ran; fails when an input cannot be read.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

bool RunFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "cannot read %s\n", path.string().c_str());
        return false;
    }
    std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    bool ok = true;
    size_t ran = 0;
    for (int i = 1; i < argc; ++i) {
        const std::filesystem::path arg(argv[i]);
        std::error_code ec;
        if (!std::filesystem::is_directory(arg, ec)) {
            if (RunFile(arg))
                ++ran;
            else
                ok = false;
            continue;
        }
        std::vector<std::filesystem::path> files;
        for (const auto& entry : std::filesystem::directory_iterator(arg, ec))
            if (entry.is_regular_file(ec)) files.push_back(entry.path());
        if (ec) {
            std::fprintf(stderr, "cannot list %s: %s\n", argv[i], ec.message().c_str());
            ok = false;
        }
        std::sort(files.begin(), files.end());
        for (const auto& file : files) {
            if (RunFile(file))
                ++ran;
            else
                ok = false;
        }
    }
    std::printf("ran %zu inputs\n", ran);
    return ok ? 0 : 1;
}

// Writes what the core makes of every example board (data/examples/layout-<type>.csv) into a
// folder, so that two builds (Linux and Windows) can be compared byte for byte:
//   <type>-<n>.svs          the outcome of the SV calculation and the 512 SVs of board n
//   <type>-<n>-listing.txt  the SV listing of board n, as "Write SV to file..." writes it
//   layout-<type>.csv       the board file, saved again
// Usage: railscope_example_outputs EXAMPLES_FOLDER OUT_FOLDER (made when missing)
#include "boards/BoardData.h"
#include "boards/BoardTypes.h"

#include <cctype>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>

namespace {

bool WriteSVs(const std::string& fileName, TConfigurableBoard& board)
{
    std::ofstream out(fileName, std::ios::binary | std::ios::trunc);
    out << (board.CalculateSVs() ? std::string("OK") : "FAIL " + board.GetSVErrorText()) << '\n';
    for (uint8_t sv : board.GetSVTable()) out << unsigned(sv) << '\n';
    return bool(out.flush());
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::cerr << "usage: railscope_example_outputs EXAMPLES_FOLDER OUT_FOLDER\n";
        return 2;
    }
    const std::string examples = std::string(argv[1]) + "/";
    const std::string out = std::string(argv[2]) + "/";
    std::error_code ec;
    std::filesystem::create_directories(argv[2], ec);
    int boards = 0;
    for (int type = 0; type < kBoardTypeCount; ++type) {
        std::string name = BoardTypeTag(type);
        for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        TBoardData data;
        if (!data.LoadFile(type, examples + "layout-" + name + ".csv")) {
            std::cerr << data.GetLastError() << '\n';
            return 1;
        }
        for (uint32_t n = 0; n < data.BoardCount(type); ++n, ++boards) {
            TConfigurableBoard& board = *data.GetBoardForChange(type, n);
            const std::string stem = out + name + "-" + std::to_string(n);
            if (!WriteSVs(stem + ".svs", board) || !board.WriteSVListing(stem + "-listing.txt")) {
                std::cerr << "cannot write " << stem << ".*\n";
                return 1;
            }
        }
        if (!data.SaveFileAs(type, out + "layout-" + name + ".csv")) {
            std::cerr << data.GetLastError() << '\n';
            return 1;
        }
    }
    std::cout << boards << " example boards written to " << out << '\n';
    return 0;
}

// RVN2 board: arbitrary SV tables through decode, calculate and describe, and arbitrary bytes
// read as a board file. Nothing may crash or hang, and a calculated table never sets an SV
// that the board leaves alone.
#include "boards/rvn2/RVN2Board.h"

#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

namespace {

void CheckTable(TRVN2Board& board)
{
    if (!board.CalculateSVs()) __builtin_trap();
    for (uint32_t n : board.GetUnusedSVs())
        if (n > 4 && board.GetSV(n) != 0) __builtin_trap();
}

void Exercise(TRVN2Board& board)
{
    CheckTable(board);
    std::vector<std::string> lines;
    board.DisplayBoard(lines);
    for (const auto& q : board.Sequences) {
        (void)q.GetListLine();
        for (const auto& s : q.Steps) (void)s.GetListLine();
    }
    (void)board.SVListingText();
    std::ostringstream out(std::ios::binary);
    board.SaveToStream(out);
    TRVN2Board copy;
    std::istringstream in(out.str(), std::ios::binary);
    copy.LoadFromStream(in);
    CheckTable(copy);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // As an SV table read from a board.
    {
        TRVN2Board board;
        for (uint32_t n = 1; n <= board.GetSVCount(); ++n) board.SetSV(n, n <= size ? data[n - 1] : 0);
        board.DecodeSVs();
        Exercise(board);
        board.DecodeSVs();
        Exercise(board);
    }
    // As a board file: records back to back, read the way a board list loads them.
    {
        std::istringstream file(std::string(reinterpret_cast<const char*>(data), size), std::ios::binary);
        for (int records = 0; records < 8 && file.peek() != std::char_traits<char>::eof(); ++records) {
            TRVN2Board board;
            board.LoadFromStream(file);
            Exercise(board);
            board.DecodeSVs();
            Exercise(board);
        }
    }
    return 0;
}

// RVN2 board: arbitrary SV tables through decode, calculate and describe, and arbitrary bytes
// read as a board file. Nothing may crash or hang, and a calculated table never sets an SV
// that the board leaves alone.
//
// The first byte picks the path. Bit 0 set reads the rest as board-file text (records back to
// back, at most 8), clear takes it as an SV table (SV1 first, missing SVs 0); with bit 3 set each
// board is then decoded again from the table calculated back. Every board's table is calculated
// and checked;
// bits 1 and 2 pick what else is done: 1 describe it and list its SVs, 2 save it and read it
// back. One part of the work an input keeps every input quick, so that the fuzzer explores rather
// than repeats.
#include "boards/rvn2/RVN2Board.h"

#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

namespace {

enum class EWork { Table, Describe, Reload };

void CheckTable(TRVN2Board& board)
{
    if (!board.CalculateSVs()) __builtin_trap();
    for (uint32_t n : board.GetUnusedSVs())
        if (n > 4 && board.GetSV(n) != 0) __builtin_trap();
}

void Work(TRVN2Board& board, EWork work)
{
    CheckTable(board);
    if (work == EWork::Describe) {
        std::vector<std::string> lines;
        board.DisplayBoard(lines);
        for (const auto& q : board.Sequences) {
            (void)q.GetListLine();
            for (const auto& s : q.Steps) (void)s.GetListLine();
        }
        (void)board.SVListingText();
    } else if (work == EWork::Reload) {
        std::ostringstream out(std::ios::binary);
        board.SaveToStream(out);
        TRVN2Board copy;
        std::istringstream in(out.str(), std::ios::binary);
        copy.LoadFromStream(in);
        CheckTable(copy);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0) return 0;
    const bool fileText = (data[0] & 1) != 0;
    const int pick = (data[0] >> 1) & 3;
    const EWork work = pick == 1 ? EWork::Describe : pick == 2 ? EWork::Reload : EWork::Table;
    const bool again = (data[0] & 8) != 0;
    ++data;
    --size;
    if (!fileText) {
        // As an SV table read from a board.
        TRVN2Board board;
        for (uint32_t n = 1; n <= board.GetSVCount(); ++n) board.SetSV(n, n <= size ? data[n - 1] : 0);
        board.DecodeSVs();
        Work(board, work);
        if (again) {
            board.DecodeSVs();
            Work(board, work);
        }
        return 0;
    }
    // As a board file: records back to back, read the way a board list loads them.
    std::istringstream file(std::string(reinterpret_cast<const char*>(data), size), std::ios::binary);
    for (int records = 0; records < 8 && file.peek() != std::char_traits<char>::eof(); ++records) {
        TRVN2Board board;
        board.LoadFromStream(file);
        Work(board, work);
        if (again) {
            board.DecodeSVs();
            Work(board, work);
        }
    }
    return 0;
}

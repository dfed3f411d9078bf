// KPX9 board: arbitrary SV tables through decoding, calculation, description and the board-file
// record, and arbitrary bytes through the record reader.
//
// The first byte picks the path. Bit 0 set reads the rest as board-file text (records back to
// back, at most 8); clear takes it as an SV table (SV1 first, missing SVs 0), decoded and, with
// bit 3 set, decoded again from the table calculated back. Bits 1 and 2 pick the work done with
// each board:
// 0 and 3 calculate, describe and list its SVs; 1 the list and editor lines of every cell and
// route; 2 its record (read back from an SV table, see CheckRecord). One part of the work an input
// keeps every input quick, so that the fuzzer explores rather than repeats.
#include "boards/kpx9/KPX9Board.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

namespace {

enum class EWork { Describe, Lines, Record };

std::string Save(TKPX9Board& board)
{
    std::ostringstream out;
    board.SaveToStream(out);
    return out.str();
}

void Work(TKPX9Board& board, EWork work)
{
    switch (work) {
    case EWork::Describe: {
        board.CalculateSVs();
        std::vector<std::string> lines;
        board.DisplayBoard(lines);
        (void)board.SVListingText();
        return;
    }
    case EWork::Lines:
        for (uint32_t i = 0; i < kKPX9CellCount; ++i) (void)board.Cells[i].GetListLine();
        for (uint32_t r = 0; r < kKPX9RouteCount; ++r) {
            const TKPX9Route& route = board.Routes[r];
            (void)route.GetListLine(board.Cells);
            for (uint32_t i = 1; i <= route.Capacity(); ++i) (void)route.GetEditorLine(i, board.Cells);
        }
        return;
    case EWork::Record: (void)Save(board); return;
    }
}

// Whatever a decoded board holds, its record reads without error, and a record that has been
// read once reads back to itself. (The first reading may still change it: an entry whose address
// is 0 reads as UNDEF.)
void CheckRecord(TKPX9Board& board)
{
    std::istringstream in(Save(board));
    TKPX9Board loaded;
    loaded.LoadFromStream(in);
    if (!loaded.GetLoadErrorText().empty()) std::abort();
    const std::string second = Save(loaded);
    std::istringstream again(second);
    TKPX9Board reloaded;
    reloaded.LoadFromStream(again);
    if (Save(reloaded) != second) std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0) return 0;
    const bool fileText = (data[0] & 1) != 0;
    const int pick = (data[0] >> 1) & 3;
    const EWork work = pick == 1 ? EWork::Lines : pick == 2 ? EWork::Record : EWork::Describe;
    const bool again = (data[0] & 8) != 0;
    ++data;
    --size;

    if (fileText) {
        std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
        // Like the board list's loader: records until the end of the input.
        for (int records = 0; in.peek() != std::char_traits<char>::eof() && records < 8; ++records) {
            TKPX9Board board;
            board.LoadFromStream(in);
            Work(board, work);
        }
        return 0;
    }

    TKPX9Board board;
    for (uint32_t n = 1; n <= 512 && n <= size; ++n) board.SetSV(n, data[n - 1]);
    board.DecodeSVs();
    if (work == EWork::Record) {
        CheckRecord(board);
        return 0;
    }
    Work(board, work);
    if (again) {
        board.CalculateSVs();
        board.DecodeSVs();
        Work(board, work);
    }
    return 0;
}

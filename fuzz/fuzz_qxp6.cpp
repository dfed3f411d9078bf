// QXP6 decoder board: arbitrary SV tables through decoding, calculation and description, and
// arbitrary bytes through the board-file reader. Neither may crash, hang or read out of bounds.
//
// The first byte picks the path: bit 0 set takes the rest as an SV table (SV1 first, missing SVs
// 0), clear reads it as board-file text. Bits 1 and 2 pick the work done with each board: 0 and 3
// calculate and describe it; 1 the list lines of its cells and the lines of its routes; 2 copy it
// to another base address, and save it and read it back. One part of the work an input keeps
// every input quick, so that the fuzzer explores rather than repeats.
#include "boards/qxp6/QXP6Board.h"

#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

namespace {

void Describe(TQXP6Board& board)
{
    board.CalculateSVs();
    std::vector<std::string> lines;
    board.DisplayBoard(lines);
}

void ListLines(TQXP6Board& board)
{
    for (int i = 0; i < TQXP6Board::kOutputCellCount; ++i) board.GetOutputCell(i)->GetListLine();
    for (int i = 0; i < TQXP6Board::kInputCellCount; ++i) board.GetInputCell(i)->GetListLine();
    for (int i = 0; i < TQXP6Board::kRouteCount; ++i) {
        TQXP6Route& route = *board.GetRoute(i);
        route.GetListLine();
        for (int line = 1; line <= 12; ++line) route.GetEditorLine(line);
        route.Fits();
    }
}

void CopyAndReload(TQXP6Board& board)
{
    TQXP6Board copy(board);
    copy.SetBaseAddress(board.GetBaseAddress() + 1);
    copy.CalculateSVs();
    std::ostringstream out;
    board.SaveToStream(out);
    std::istringstream in(out.str());
    TQXP6Board reloaded;
    reloaded.LoadFromStream(in);
    reloaded.CalculateSVs();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0) return 0;
    const uint8_t mode = data[0];
    ++data;
    --size;
    const int pick = (mode >> 1) & 3;
    const auto exercise = pick == 1 ? ListLines : pick == 2 ? CopyAndReload : Describe;
    TQXP6Board board;
    if (mode & 1) {
        // An SV table as read from a board; bytes past the input are 0.
        for (uint32_t n = 1; n <= 512 && n <= size; ++n) board.SetSV(n, data[n - 1]);
        board.DecodeSVs();
        exercise(board);
        // Editing operations on the decoded routes.
        if (size > 520) {
            TQXP6Route& route = *board.GetRoute(data[512] % 8);
            route.SetEntry(static_cast<int>(data[513] % 14) - 1, data[514] * 16u, data[515] % 4);
            route.RemoveUndefinedEntries();
            exercise(board);
        }
    } else {
        std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
        // A board file holds records back to back; a few are enough to reach every path.
        for (int record = 0; record < 4 && in.peek() != std::char_traits<char>::eof(); ++record) {
            TQXP6Board loaded;
            loaded.LoadFromStream(in);
            exercise(loaded);
        }
    }
    return 0;
}

// Decodes arbitrary SV tables into a board of a type the factory makes, then calculates the SVs
// back, or describes the board and lists its SVs, or checks what the decoded description would
// hold, or, for the signal controllers, checks that the decoded board's record reads back into an
// identical board.
//
// The first byte picks the board type (byte % 5) and the work (byte / 5 % 4: 0 calculate,
// 1 describe, 2 the record, which the other types calculate, 3 the hold check); the rest is the SV table, SV1
// first, missing SVs 0. One board and one part of the work an input keeps every input quick, so
// that the fuzzer explores rather than repeats.
#include "boards/BoardFactory.h"
#include "boards/HoldCheck.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

namespace {

// Saving, loading and saving again gives the same record, and both boards the same description.
void CheckRecord(TConfigurableBoard& board, int type)
{
    std::ostringstream out;
    board.SaveToStream(out);
    auto again = CreateBoardOfType(type);
    std::istringstream in(out.str());
    again->LoadFromStream(in);
    std::ostringstream out2;
    again->SaveToStream(out2);
    if (out.str() != out2.str()) std::abort();
    std::vector<std::string> lines, lines2;
    board.DisplayBoard(lines);
    again->DisplayBoard(lines2);
    if (lines != lines2) std::abort();
}

void CheckCalculation(TConfigurableBoard& board, int type)
{
    const bool ok = board.CalculateSVs();
    if (!ok) (void)board.GetSVErrorText();
    if (ok && (type == eORB4 || type == eORB8)) {
        // A signal controller never writes the SVs it says it does not use.
        for (uint32_t n : board.GetUnusedSVs())
            if (n > 4 && board.GetSV(n) != 0) std::abort();
    }
}

void Describe(TConfigurableBoard& board)
{
    std::vector<std::string> lines;
    board.DisplayBoard(lines);
    (void)board.SVListingText();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0) return 0;
    const int type = data[0] % kBoardTypeCount;
    const int work = data[0] / kBoardTypeCount % 4;
    const bool record = work == 2 && (type == eORB4 || type == eORB8);
    ++data;
    --size;
    auto board = CreateBoardOfType(type);
    if (!board) return 0;
    const uint32_t count = board->GetSVCount();
    for (uint32_t n = 1; n <= count; ++n) board->SetSV(n, n - 1 < size ? data[n - 1] : 0);
    board->DecodeSVs();
    if (record)
        CheckRecord(*board, type);
    else if (work == 1)
        Describe(*board);
    else if (work == 3)
        (void)CheckHold(*board, 1).Lines();
    else
        CheckCalculation(*board, type);
    return 0;
}

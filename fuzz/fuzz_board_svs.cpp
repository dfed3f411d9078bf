// Decodes arbitrary SV tables into every board type the factory makes, checks what the decoded
// description would hold, then calculates the SVs back and describes the board. For the signal controllers it also checks that the decoded board's
// record reads back into an identical board.
#include "boards/BoardFactory.h"
#include "boards/HoldCheck.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    for (int type = 0; type < kBoardTypeCount; ++type) {
        auto board = CreateBoardOfType(type);
        if (!board) continue;
        const uint32_t count = board->GetSVCount();
        for (uint32_t n = 1; n <= count; ++n) board->SetSV(n, n - 1 < size ? data[n - 1] : 0);
        board->DecodeSVs();
        std::vector<std::string> lines;
        board->DisplayBoard(lines);
        (void)CheckHold(*board, 1).Lines();

        if (type == eORB4 || type == eORB8) {
            std::ostringstream out;
            board->SaveToStream(out);
            auto again = CreateBoardOfType(type);
            std::istringstream in(out.str());
            again->LoadFromStream(in);
            std::ostringstream out2;
            again->SaveToStream(out2);
            if (out.str() != out2.str()) std::abort();
            std::vector<std::string> lines2;
            again->DisplayBoard(lines2);
            if (lines != lines2) std::abort();
        }

        const bool ok = board->CalculateSVs();
        if (!ok) (void)board->GetSVErrorText();
        if (ok && (type == eORB4 || type == eORB8)) {
            // A signal controller never writes the SVs it says it does not use.
            for (uint32_t n : board->GetUnusedSVs())
                if (n > 4 && board->GetSV(n) != 0) std::abort();
        }
        lines.clear();
        board->DisplayBoard(lines);
        (void)board->SVListingText();
    }
    return 0;
}

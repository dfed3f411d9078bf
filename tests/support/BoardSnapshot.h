#pragma once
// A board's file record and SV table, taken before and after a window has been opened and
// closed, to check that nothing the user did not touch has changed.

#include "boards/ConfigurableBoard.h"
#include "support/BoardText.h"

#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

struct TBoardSnapshot {
    std::string Record;
    std::vector<uint8_t> SVs;
    bool operator==(const TBoardSnapshot&) const = default;
};

// The SV table the board calculates from its description now.
inline std::vector<uint8_t> CalculatedSVs(TConfigurableBoard& board)
{
    board.CalculateSVs();
    return board.GetSVTable();
}

inline TBoardSnapshot Snapshot(TConfigurableBoard& board)
{
    TBoardSnapshot snapshot;
    snapshot.Record = SaveToText(board);
    snapshot.SVs = CalculatedSVs(board);
    return snapshot;
}

// Fills the board from the first record of a board file.
inline bool LoadFirstRecord(TConfigurableBoard& board, const std::string& fileName)
{
    std::ifstream file(fileName, std::ios::binary);
    if (!file) return false;
    board.LoadFromStream(file);
    return true;
}

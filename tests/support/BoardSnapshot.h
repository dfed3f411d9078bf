#pragma once
// What a board editor must leave alone when the user changes nothing: the board's record and the
// SVs calculated from it. Taken from a copy, so the board itself is not touched.

#include "support/BoardText.h"

#include <cstdint>
#include <string>
#include <vector>

struct TBoardSnapshot {
    std::string Record;
    std::vector<uint8_t> SVs;
    bool operator==(const TBoardSnapshot&) const = default;
};

template <class TBoard> TBoardSnapshot SnapshotOf(TBoard board)
{
    TBoardSnapshot snapshot{SaveToText(board), {}};
    board.CalculateSVs();
    snapshot.SVs = board.GetSVTable();
    return snapshot;
}

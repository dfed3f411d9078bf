#pragma once
// Random descriptions of the five board types, with every field within the range its editor
// offers, for the property tests of saving, reloading and holding boards.

#include "boards/ConfigurableBoard.h"

#include <cstdint>
#include <memory>

// Describes `board` (of any of the five classes) afresh from `seed`: every field is set, so a
// board described twice holds only the second description. With `holdable`, values the board
// cannot hold although the editors offer them (sensor numbers above 255 in conditions, a sensor
// board number of 256, iterations above 255, a loco function word of 200) are left out.
void DescribeRandomly(TConfigurableBoard& board, uint32_t seed, bool holdable);

// A new board of the type, described from `seed`.
std::unique_ptr<TConfigurableBoard> RandomBoard(int type, uint32_t seed, bool holdable);

#pragma once
// Makes a new board of a type index (0 ORB4, 1 KPX9, 2 ORB8, 3 RVN2, 4 QXP6) with its defaults.

#include "boards/BoardTypes.h"
#include "boards/ConfigurableBoard.h"

#include <functional>
#include <memory>
#include <string>

// None for a type above 4 or one whose class does not exist.
std::unique_ptr<TConfigurableBoard> CreateBoardOfType(int type);

// Tests only: when set, asked first; a null result falls through to the board classes.
using TBoardMakerHook = std::function<std::unique_ptr<TConfigurableBoard>(int type)>;
void SetBoardMakerHookForTests(TBoardMakerHook hook);

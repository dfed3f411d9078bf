#pragma once
// Makes a new board of a type index (0 ORB4, 1 KPX9, 2 ORB8, 3 RVN2, 4 QXP6) with its defaults.

#include "boards/BoardTypes.h"
#include "boards/ConfigurableBoard.h"

#include <functional>
#include <memory>
#include <string>

// None for a type above 4 or one whose class does not exist.
std::unique_ptr<TConfigurableBoard> CreateBoardOfType(int type);

// What makes the boards of a board list: CreateBoardOfType, or a test's own board classes.
using TBoardFactory = std::function<std::unique_ptr<TConfigurableBoard>(int type)>;

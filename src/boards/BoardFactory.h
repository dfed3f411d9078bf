#pragma once
// Makes a new board of a type index (0 ORB4, 1 KPX9, 2 ORB8, 3 RVN2, 4 QXP6) with its defaults.

#include "boards/ConfigurableBoard.h"

#include <functional>
#include <memory>
#include <string>

// None for a type above 4 or one whose class does not exist.
std::unique_ptr<TConfigurableBoard> CreateBoardOfType(int type);

// Tests only: when set, asked first; a null result falls through to the board classes.
using TBoardMakerHook = std::function<std::unique_ptr<TConfigurableBoard>(int type)>;
void SetBoardMakerHookForTests(TBoardMakerHook hook);

// The type index of a type tag ("ORB4") or record tag ("ORB4_BOARD"); -1 when unknown.
int BoardTypeFromTag(const std::string& tag);
// "ORB4", "KPX9", ... for 0 to 4; empty otherwise.
std::string BoardTypeTag(int type);

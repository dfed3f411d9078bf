#pragma once
// Makes a new board of a type index (0 ORB4, 1 KPX9, 2 ORB8, 3 RVN2, 4 QXP6) with its defaults.

#include "boards/ConfigurableBoard.h"

#include <memory>
#include <string>

// None for a type above 4 or one whose class does not exist.
std::unique_ptr<TConfigurableBoard> CreateBoardOfType(int type);

// The type index of a type tag ("ORB4") or record tag ("ORB4_BOARD"); -1 when unknown.
int BoardTypeFromTag(const std::string& tag);
// "ORB4", "KPX9", ... for 0 to 4; empty otherwise.
std::string BoardTypeTag(int type);

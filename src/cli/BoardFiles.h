#pragma once
// Loading the board file a command names, shared by the board and programming commands.

#include "boards/BoardData.h"

#include <cstdint>
#include <string>

namespace cli {

// Loads every board of FILE into `data`; the type comes from the record tag of the first line
// unless `type` is already 0 to 4. Returns 0, or 2 after printing why the file cannot be used.
int LoadBoardFile(const std::string& command, const std::string& file, TBoardData& data, int& type);

// The board type the record tag on the first line of FILE names; -1 when it names none or the
// file cannot be read.
int BoardFileType(const std::string& file);

// 0 when board `index` exists, otherwise 2 after printing that it is out of range.
int CheckBoardIndex(const std::string& command, const std::string& file, const TBoardData& data, int type,
                    uint32_t index);

// The words for an errno value, or "cannot be read" when there is none.
std::string ReasonFor(int code);

} // namespace cli

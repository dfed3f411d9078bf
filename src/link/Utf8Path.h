#pragma once
// File names travel through the program as UTF-8 text, as the windows and the command line pass
// them. These open such a name as the file it names on every system: on Windows a narrow file
// name would be read in the ANSI code page, so a name outside it ("Jürgen", "Zürich") could not
// be opened or would be created under a garbled name.

#include <cstdio>
#include <filesystem>
#include <string>

// The path a UTF-8 file name names; empty when the name is not UTF-8 on a system that must
// convert it (Windows). On Linux the bytes are taken as they are.
std::filesystem::path PathFromUtf8(const std::string& name);
// A path as UTF-8 text, with the system's own separators.
std::string Utf8FromPath(const std::filesystem::path& path);
// A path as UTF-8 text with '/' between the names, on Windows too (as Qt writes folder names).
std::string GenericUtf8FromPath(const std::filesystem::path& path);
// std::fopen of a UTF-8 file name.
std::FILE* OpenUtf8File(const std::string& name, const char* mode);

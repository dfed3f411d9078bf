#pragma once
// Where the program finds the files shipped with it (the product table, the help pages): in its
// own folder first (the build tree, or copies kept beside the program), then in the data folder
// of an installed program, "../share/railscope" from the program's folder.

#include <string>
#include <vector>

namespace shipped {

// The folder of the running program, with a trailing separator; empty when unknown. The programs
// tell it at start-up (the platform knows where a program lies); until then, on Linux and Windows,
// it is read from the system. Folder names are UTF-8 with '/' between the names, on Windows too.
std::string ProgramFolder();
void SetProgramFolder(const std::string& folder);

// The folders looked in, in order, each with a trailing separator; none when programFolder is
// empty.
std::vector<std::string> Folders(const std::string& programFolder);

// The path of `name` (relative, such as "help/contexts.txt") in the first folder that holds it;
// when none does, its path in the program's own folder, so that a failure names that place.
std::string FindFile(const std::string& name, const std::string& programFolder);
std::string FindFile(const std::string& name);

} // namespace shipped

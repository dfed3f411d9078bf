#pragma once
// Replacing a file without ever losing the previous one: the new contents go to a temporary file
// in the same folder, which is flushed, closed and checked, and only then renamed over the old
// file. When anything fails the old file stays exactly as it was and the temporary file is removed.

#include <functional>
#include <ostream>
#include <string>
#include <vector>

// Calls `write` with a binary stream and puts what it wrote in place of `fileName`.
// Returns false with a readable reason in `error` ("permission denied", ...) when it cannot.
bool WriteFileReplacing(const std::string& fileName, const std::function<void(std::ostream&)>& write,
                        std::string& error);

// Whether `fileName` could be put in place by WriteFileReplacing as it stands now: an existing
// file must be a regular file the user may write to. False with the reason when not.
bool CanReplaceFile(const std::string& fileName, std::string& error);

// Whether files can be made in `folder` (it must exist): a hidden file is made there and removed
// again. False with the reason ("Permission denied") when not.
bool CheckFolderWritable(const std::string& folder, std::string& error);

// Removes the temporary files a program killed while replacing `fileName` left beside it, and
// returns their paths.
std::vector<std::string> RemoveLeftoverTemporaries(const std::string& fileName);

#pragma once
// Replacing a file without ever losing the previous one: the new contents go to a temporary file
// in the same folder, which is flushed, closed and checked, and only then renamed over the old
// file. When anything fails the old file stays exactly as it was and the temporary file is removed.

#include <functional>
#include <ostream>
#include <string>

// Calls `write` with a binary stream and puts what it wrote in place of `fileName`.
// Returns false with a readable reason in `error` ("permission denied", ...) when it cannot.
bool WriteFileReplacing(const std::string& fileName, const std::function<void(std::ostream&)>& write,
                        std::string& error);

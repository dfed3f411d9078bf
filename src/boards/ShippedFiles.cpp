#include "boards/ShippedFiles.h"

#include "link/Utf8Path.h"

#include <filesystem>

#ifdef _WIN32
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#endif

#ifndef RAILSCOPE_DATA_FROM_PROGRAM
#define RAILSCOPE_DATA_FROM_PROGRAM "../share/railscope"
#endif

namespace shipped {

namespace fs = std::filesystem;

namespace {

std::string& KnownFolder()
{
    static std::string folder;
    return folder;
}

// A folder as the program keeps folder names: '/' between the names (on Windows too, as Qt gives
// them) and at the end.
std::string AsFolder(const fs::path& folder)
{
    std::string text = GenericUtf8FromPath(folder);
    if (!text.empty() && text.back() != '/') text += '/';
    return text;
}

// The running program's file, as the system knows it; empty when it cannot tell.
fs::path ProgramFile()
{
#if defined(__linux__)
    std::error_code ec;
    fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    if (!ec) return exe;
#elif defined(_WIN32)
    std::wstring name(32768, L'\0'); // the longest path Windows has
    const DWORD length = ::GetModuleFileNameW(nullptr, name.data(), static_cast<DWORD>(name.size()));
    if (length > 0 && length < name.size()) {
        name.resize(length);
        return fs::path(name);
    }
#endif
    return {};
}

} // namespace

void SetProgramFolder(const std::string& folder)
{
    KnownFolder() = AsFolder(PathFromUtf8(folder));
}

std::string ProgramFolder()
{
    if (!KnownFolder().empty()) return KnownFolder();
    const fs::path exe = ProgramFile();
    return exe.empty() ? std::string() : AsFolder(exe.parent_path());
}

std::vector<std::string> Folders(const std::string& programFolder)
{
    if (programFolder.empty()) return {};
    const std::string own = AsFolder(PathFromUtf8(programFolder));
    // "/usr/bin/../share/railscope/" reads as "/usr/share/railscope/" in messages.
    const std::string installed =
        AsFolder((PathFromUtf8(own) / RAILSCOPE_DATA_FROM_PROGRAM / "").lexically_normal());
    return {own, installed};
}

std::string FindFile(const std::string& name, const std::string& programFolder)
{
    const std::vector<std::string> folders = Folders(programFolder);
    if (folders.empty()) return "";
    for (const std::string& folder : folders) {
        std::error_code ec;
        if (fs::is_regular_file(PathFromUtf8(folder + name), ec)) return folder + name;
    }
    return folders.front() + name;
}

std::string FindFile(const std::string& name)
{
    return FindFile(name, ProgramFolder());
}

} // namespace shipped

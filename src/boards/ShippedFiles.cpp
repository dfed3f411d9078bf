#include "boards/ShippedFiles.h"

#include <filesystem>

#ifndef RAILSCOPE_DATA_FROM_PROGRAM
#define RAILSCOPE_DATA_FROM_PROGRAM "../share/railscope"
#endif

namespace shipped {

namespace {

std::string& KnownFolder()
{
    static std::string folder;
    return folder;
}

std::string WithSeparator(std::string folder)
{
    if (!folder.empty() && folder.back() != '/') folder += '/';
    return folder;
}

} // namespace

void SetProgramFolder(const std::string& folder)
{
    KnownFolder() = WithSeparator(folder);
}

std::string ProgramFolder()
{
    if (!KnownFolder().empty()) return KnownFolder();
#ifdef __linux__
    std::error_code ec;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (!ec && !exe.empty()) return WithSeparator(exe.parent_path().string());
#endif
    return "";
}

std::vector<std::string> Folders(const std::string& programFolder)
{
    if (programFolder.empty()) return {};
    std::string own = programFolder;
    if (own.back() != '/') own += '/';
    // "/usr/bin/../share/railscope/" reads as "/usr/share/railscope/" in messages.
    const std::string installed =
        (std::filesystem::path(own) / RAILSCOPE_DATA_FROM_PROGRAM / "").lexically_normal().string();
    return {own, installed};
}

std::string FindFile(const std::string& name, const std::string& programFolder)
{
    const std::vector<std::string> folders = Folders(programFolder);
    if (folders.empty()) return "";
    for (const std::string& folder : folders) {
        std::error_code ec;
        if (std::filesystem::is_regular_file(folder + name, ec)) return folder + name;
    }
    return folders.front() + name;
}

std::string FindFile(const std::string& name)
{
    return FindFile(name, ProgramFolder());
}

} // namespace shipped

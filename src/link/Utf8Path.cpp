#include "link/Utf8Path.h"

#include <cstring>
#include <system_error>

namespace {

std::string Bytes(const std::u8string& text)
{
    return std::string(text.begin(), text.end());
}

} // namespace

std::filesystem::path PathFromUtf8(const std::string& name)
{
    try {
        return std::filesystem::path(std::u8string(name.begin(), name.end()));
    } catch (const std::system_error&) {
        return {};
    }
}

std::string Utf8FromPath(const std::filesystem::path& path)
{
    return Bytes(path.u8string());
}

std::string GenericUtf8FromPath(const std::filesystem::path& path)
{
    return Bytes(path.generic_u8string());
}

std::FILE* OpenUtf8File(const std::string& name, const char* mode)
{
#ifdef _WIN32
    const std::wstring wideMode(mode, mode + std::strlen(mode));
    return ::_wfopen(PathFromUtf8(name).c_str(), wideMode.c_str());
#else
    return std::fopen(name.c_str(), mode);
#endif
}

#include "boards/SafeFile.h"

#include "link/TextFormat.h"
#include "link/Utf8Path.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>

namespace fs = std::filesystem;

namespace {

std::string ErrnoText(const char* fallback)
{
    const int code = errno;
    return code != 0 ? std::string(std::strerror(code)) : std::string(fallback);
}

// A symbolic link is written through, so that it stays a link to the file it names.
bool ResolveLinks(fs::path& target, std::string& error)
{
    std::error_code ec;
    for (int hops = 0; fs::is_symlink(fs::symlink_status(target, ec)); ++hops) {
        if (hops == 40) {
            error = "too many levels of symbolic links";
            return false;
        }
        fs::path next = fs::read_symlink(target, ec);
        if (ec) {
            error = ec.message();
            return false;
        }
        target = next.is_absolute() ? next : target.parent_path() / next;
    }
    return true;
}

fs::path TemporaryName(const fs::path& target)
{
    std::random_device rd;
    std::mt19937_64 gen((static_cast<uint64_t>(rd()) << 32) ^ rd());
    const std::string base = "." + Utf8FromPath(target.filename()) + ".saving-";
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string suffix;
        textformat::AppendHex(suffix, gen(), 16, textformat::EHexCase::Lower);
        fs::path candidate = target.parent_path() / PathFromUtf8(base + suffix);
        std::error_code ec;
        if (!fs::exists(fs::symlink_status(candidate, ec))) return candidate;
    }
    return target.parent_path() / PathFromUtf8(base + "tmp");
}

} // namespace

bool WriteFileReplacing(const std::string& fileName, const std::function<void(std::ostream&)>& write,
                        std::string& error)
{
    error.clear();
    if (fileName.empty()) {
        error = "no file name";
        return false;
    }
    fs::path target = PathFromUtf8(fileName);
    if (target.empty()) {
        error = "the file name is not valid UTF-8";
        return false;
    }
    if (!ResolveLinks(target, error)) return false;

    std::error_code ec;
    const fs::file_status oldStatus = fs::status(target, ec);
    const bool oldExists = fs::exists(oldStatus);
    if (oldExists && !fs::is_regular_file(oldStatus)) {
        error = "not a regular file";
        return false;
    }
    if (oldExists) {
        // A file the user may not write to is not replaced behind their back.
        errno = 0;
        std::ofstream probe(target, std::ios::binary | std::ios::app);
        if (!probe) {
            error = ErrnoText("the file is not writable");
            return false;
        }
    }

    const fs::path temp = TemporaryName(target);
    bool written = false;
    {
        errno = 0;
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        if (!out) {
            error = ErrnoText("cannot create a file in that folder");
            return false;
        }
        errno = 0;
        write(out);
        out.flush();
        if (out) {
            out.close();
            written = !out.fail();
        }
        if (!written) error = ErrnoText("the data could not be written");
    }
    if (written) {
        if (oldExists) fs::permissions(temp, oldStatus.permissions(), fs::perm_options::replace, ec);
        fs::rename(temp, target, ec);
        if (!ec) return true;
        error = ec.message();
    }
    fs::remove(temp, ec);
    return false;
}

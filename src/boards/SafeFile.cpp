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

// A file buffer that keeps the system's reason for its first failed write: a stream may be
// written to long after the failure (a monitor's log), when errno says something else.
class TReasonFileBuf : public std::filebuf {
public:
    int FirstError = 0;

protected:
    int_type overflow(int_type c) override
    {
        const int_type result = std::filebuf::overflow(c);
        if (traits_type::eq_int_type(result, traits_type::eof())) Remember();
        return result;
    }
    std::streamsize xsputn(const char_type* s, std::streamsize n) override
    {
        const std::streamsize written = std::filebuf::xsputn(s, n);
        if (written < n) Remember();
        return written;
    }
    int sync() override
    {
        const int result = std::filebuf::sync();
        if (result != 0) Remember();
        return result;
    }

private:
    void Remember()
    {
        if (FirstError == 0) FirstError = errno;
    }
};

// The temporary files of `target` are named ".<name>.saving-" and 16 hex digits (or "tmp").
std::string TemporaryPrefix(const fs::path& target)
{
    return "." + Utf8FromPath(target.filename()) + ".saving-";
}

bool IsTemporaryOf(const std::string& name, const std::string& prefix)
{
    if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0) return false;
    const std::string suffix = name.substr(prefix.size());
    if (suffix == "tmp") return true;
    return suffix.size() == 16 && suffix.find_first_not_of("0123456789abcdef") == std::string::npos;
}

fs::path TemporaryName(const fs::path& target)
{
    std::random_device rd;
    std::mt19937_64 gen((static_cast<uint64_t>(rd()) << 32) ^ rd());
    const std::string base = TemporaryPrefix(target);
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string suffix;
        textformat::AppendHex(suffix, gen(), 16, textformat::EHexCase::Lower);
        fs::path candidate = target.parent_path() / PathFromUtf8(base + suffix);
        std::error_code ec;
        if (!fs::exists(fs::symlink_status(candidate, ec))) return candidate;
    }
    return target.parent_path() / PathFromUtf8(base + "tmp");
}

// An existing `target` must be a regular file the user may write to; `exists` and `status` tell
// about it.
bool CheckReplaceable(const fs::path& target, bool& exists, fs::file_status& status, std::string& error)
{
    std::error_code ec;
    status = fs::status(target, ec);
    exists = fs::exists(status);
    if (!exists) return true;
    if (!fs::is_regular_file(status)) {
        error = "not a regular file";
        return false;
    }
    // A file the user may not write to is not replaced behind their back.
    errno = 0;
    std::ofstream probe(target, std::ios::binary | std::ios::app);
    if (!probe) {
        error = ErrnoText("the file is not writable");
        return false;
    }
    return true;
}

} // namespace

bool CanReplaceFile(const std::string& fileName, std::string& error)
{
    error.clear();
    fs::path target = PathFromUtf8(fileName);
    bool exists = false;
    fs::file_status status;
    return ResolveLinks(target, error) && CheckReplaceable(target, exists, status, error);
}

bool CheckFolderWritable(const std::string& folder, std::string& error)
{
    error.clear();
    const fs::path probe = TemporaryName(PathFromUtf8(folder) / "railscope");
    errno = 0;
    {
        std::ofstream out(probe, std::ios::binary | std::ios::trunc);
        if (!out) {
            error = ErrnoText("cannot create a file in that folder");
            return false;
        }
    }
    std::error_code ec;
    fs::remove(probe, ec);
    return true;
}

std::vector<std::string> RemoveLeftoverTemporaries(const std::string& fileName)
{
    std::vector<std::string> removed;
    fs::path target = PathFromUtf8(fileName);
    std::string ignored;
    if (!ResolveLinks(target, ignored)) return removed;
    const std::string prefix = TemporaryPrefix(target);
    const fs::path folder = target.parent_path().empty() ? fs::path(".") : target.parent_path();
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const fs::path& path = it->path();
        std::error_code statusError;
        if (!IsTemporaryOf(Utf8FromPath(path.filename()), prefix) ||
            !fs::is_regular_file(it->symlink_status(statusError)))
            continue;
        std::error_code removeError;
        if (fs::remove(path, removeError)) removed.push_back(Utf8FromPath(path));
    }
    return removed;
}

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
    bool oldExists = false;
    fs::file_status oldStatus;
    if (!CheckReplaceable(target, oldExists, oldStatus, error)) return false;

    std::error_code ec;
    const fs::path temp = TemporaryName(target);
    bool written = false;
    {
        TReasonFileBuf buffer;
        errno = 0;
        if (!buffer.open(temp, std::ios::out | std::ios::binary | std::ios::trunc)) {
            error = ErrnoText("cannot create a file in that folder");
            return false;
        }
        std::ostream out(&buffer);
        errno = 0;
        write(out);
        out.flush();
        written = out.good();
        if (!buffer.close()) written = false;
        if (!written)
            error = buffer.FirstError != 0 ? std::string(std::strerror(buffer.FirstError))
                                           : ErrnoText("the data could not be written");
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

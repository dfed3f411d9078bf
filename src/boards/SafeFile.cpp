#include "boards/SafeFile.h"

#include "link/TextFormat.h"

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

fs::path TemporaryName(const fs::path& target)
{
    std::random_device rd;
    std::mt19937_64 gen((static_cast<uint64_t>(rd()) << 32) ^ rd());
    const std::string base = "." + target.filename().string() + ".saving-";
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string suffix;
        textformat::AppendHex(suffix, gen(), 16, textformat::EHexCase::Lower);
        fs::path candidate = target.parent_path() / (base + suffix);
        std::error_code ec;
        if (!fs::exists(fs::symlink_status(candidate, ec))) return candidate;
    }
    return target.parent_path() / (base + "tmp");
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
    fs::path target(fileName);
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

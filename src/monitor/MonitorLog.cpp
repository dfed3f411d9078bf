#include "monitor/MonitorLog.h"

#include "link/Utf8Path.h"

#include <cerrno>
#include <cstring>

bool TMonitorLog::Open(const std::string& fileName, std::string& error)
{
    std::string ignored;
    Close(ignored);
    Name = fileName;
    errno = 0;
    File.reset(OpenUtf8File(fileName, "wb"));
    if (!File) {
        error = std::strerror(errno != 0 ? errno : EIO);
        return false;
    }
    return true;
}

void TMonitorLog::Write(std::string_view line)
{
    if (!File) return;
    Pending.append(line);
    Pending += "\r\n";
}

bool TMonitorLog::Flush(std::string& error)
{
    if (!File) return true;
    errno = 0;
    const bool ok = (Pending.empty() || std::fwrite(Pending.data(), 1, Pending.size(), File.get()) == Pending.size()) &&
                    std::fflush(File.get()) == 0;
    Pending.clear();
    if (!ok) {
        error = std::strerror(errno != 0 ? errno : EIO);
        std::clearerr(File.get());
    }
    return ok;
}

bool TMonitorLog::Close(std::string& error)
{
    if (!File) return true;
    bool ok = Flush(error);
    errno = 0;
    if (std::fclose(File.release()) != 0 && ok) {
        error = std::strerror(errno != 0 ? errno : EIO);
        ok = false;
    }
    Pending.clear();
    return ok;
}

#pragma once
// Helpers of the link tests: a pseudo-terminal pair whose master side the test plays, and bounded
// waiting in Qt's event loop.

#include <QCoreApplication>
#include <QDeadlineTimer>

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// Runs the event loop until `done` holds or `timeoutMs` has passed; returns done().
inline bool WaitFor(const std::function<bool()>& done, int timeoutMs = 3000)
{
    QDeadlineTimer deadline(timeoutMs);
    while (!done()) {
        if (deadline.hasExpired()) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return true;
}

// Runs the event loop for a while (used only where nothing may happen).
inline void Spin(int ms)
{
    QDeadlineTimer deadline(ms);
    while (!deadline.hasExpired()) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

// The master side of a pseudo-terminal; the link opens the slave by its path.
class TPtyPeer {
public:
    TPtyPeer()
    {
        Master = posix_openpt(O_RDWR | O_NOCTTY);
        if (Master < 0) return;
        if (grantpt(Master) != 0 || unlockpt(Master) != 0) return;
        const char* name = ptsname(Master);
        if (name) SlavePath = name;
        fcntl(Master, F_SETFL, fcntl(Master, F_GETFL) | O_NONBLOCK);
        // Keep the slave open ourselves until the link has it, so that the line is never hung up.
        HoldSlave = ::open(SlavePath.c_str(), O_RDWR | O_NOCTTY);
    }
    ~TPtyPeer() { CloseAll(); }
    TPtyPeer(const TPtyPeer&) = delete;
    TPtyPeer& operator=(const TPtyPeer&) = delete;

    bool Ok() const { return Master >= 0 && !SlavePath.empty(); }
    const std::string& Path() const { return SlavePath; }
    int MasterFd() const { return Master; }

    void Write(const std::vector<uint8_t>& bytes) const
    {
        size_t done = 0;
        while (done < bytes.size()) {
            ssize_t n = ::write(Master, bytes.data() + done, bytes.size() - done);
            if (n > 0)
                done += static_cast<size_t>(n);
            else
                ::usleep(1000);
        }
    }

    // Reads what the link has written, waiting in the event loop until `count` bytes are in.
    std::vector<uint8_t> Read(size_t count, int timeoutMs = 3000)
    {
        WaitFor(
            [&] {
                uint8_t buffer[4096];
                ssize_t n;
                while ((n = ::read(Master, buffer, sizeof buffer)) > 0)
                    Received.insert(Received.end(), buffer, buffer + n);
                return Received.size() >= count;
            },
            timeoutMs);
        std::vector<uint8_t> out(Received.begin(),
                                 Received.begin() + static_cast<long>(std::min(count, Received.size())));
        Received.erase(Received.begin(), Received.begin() + static_cast<long>(out.size()));
        return out;
    }

    void ReleaseSlave()
    {
        if (HoldSlave >= 0) ::close(HoldSlave);
        HoldSlave = -1;
    }
    void CloseMaster()
    {
        if (Master >= 0) ::close(Master);
        Master = -1;
    }
    void CloseAll()
    {
        ReleaseSlave();
        CloseMaster();
    }

private:
    int Master = -1;
    int HoldSlave = -1;
    std::string SlavePath;
    std::vector<uint8_t> Received;
};

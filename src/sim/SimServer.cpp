#include "sim/SimServer.h"

#include <QSocketNotifier>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

TSimServer::TSimServer(const TSimConfig& config, QObject* parent)
    : QObject(parent), SimBus(config, 0),
      PtyFrames([this](TLocoNetMessage&& msg) { SendToBus(msg.GetData(), msg.GetLength(), 0); }), Server(VersionText)
{
    Server.SetBus([this](uint64_t id, const uint8_t* bytes, size_t count) { SendToBus(bytes, count, id); });
    Clock.start();
    Timer.setSingleShot(true);
    Timer.setTimerType(Qt::PreciseTimer);
    connect(&Timer, &QTimer::timeout, this, &TSimServer::Pump);
    // While nobody has the pseudo-terminal open its master reports an error at once; look again
    // a little later instead of spinning.
    PtyRetry.setSingleShot(true);
    PtyRetry.setInterval(100);
    connect(&PtyRetry, &QTimer::timeout, this, [this] {
        if (PtyNotifier) PtyNotifier->setEnabled(true);
    });
    Schedule();
}

TSimServer::~TSimServer()
{
    // The notifier goes before the terminal it watches.
    PtyNotifier.reset();
    if (PtyMaster >= 0) ::close(PtyMaster);
}

bool TSimServer::OpenPty(std::string& slavePath, std::string& error)
{
    int fd = posix_openpt(O_RDWR | O_NOCTTY);
    if (fd < 0 || grantpt(fd) != 0 || unlockpt(fd) != 0) {
        error = std::string("cannot open a pseudo-terminal: ") + std::strerror(errno);
        if (fd >= 0) ::close(fd);
        return false;
    }
    const char* name = ptsname(fd);
    if (!name) {
        error = std::string("cannot name the pseudo-terminal: ") + std::strerror(errno);
        ::close(fd);
        return false;
    }
    slavePath = name;
    // Raw bytes both ways, whatever the other side sets up.
    struct termios tio {};
    if (tcgetattr(fd, &tio) == 0) {
        cfmakeraw(&tio);
        tcsetattr(fd, TCSANOW, &tio);
    }
    fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK);
    PtyMaster = fd;
    PtyPath = slavePath;
    // Until a program first opens the terminal, the master cannot tell that nobody has it open;
    // after one open and close it can (see PtyHasReader).
    DiscardPtyInput();
    PtyNotifier = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
    connect(PtyNotifier.get(), &QSocketNotifier::activated, this, &TSimServer::ReadPty);
    return true;
}

void TSimServer::ReadPty()
{
    uint8_t buffer[4096];
    for (;;) {
        ssize_t n = ::read(PtyMaster, buffer, sizeof buffer);
        if (n > 0) {
            PtyFrames.Feed(buffer, static_cast<size_t>(n));
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && errno == EAGAIN) return;
        // EIO: no one has the other side open (any more). What it left unread is not replayed to
        // the next program that opens it.
        PtyFrames.Reset();
        DiscardPtyInput();
        PtyNotifier->setEnabled(false);
        PtyRetry.start();
        return;
    }
}

bool TSimServer::PtyHasReader() const
{
    struct pollfd p {};
    p.fd = PtyMaster;
    p.events = POLLOUT;
    return ::poll(&p, 1, 0) >= 0 && (p.revents & POLLHUP) == 0;
}

void TSimServer::DiscardPtyInput()
{
    const int slave = ::open(PtyPath.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (slave < 0) return;
    tcflush(slave, TCIFLUSH);
    ::close(slave);
}

bool TSimServer::ListenTcp(quint16 port, std::string& error, const QHostAddress& address)
{
    return Server.Listen(address, port, error);
}

quint16 TSimServer::TcpPort() const
{
    return Server.Port();
}

void TSimServer::SendToBus(const uint8_t* bytes, size_t count, uint64_t clientId)
{
    uint64_t id = SimBus.Send(bytes, count, NowUs());
    if (clientId != 0) AwaitingEcho[id] = clientId;
    Timer.start(0);
}

void TSimServer::Schedule()
{
    auto due = SimBus.NextDueUs();
    if (!due) return;
    uint64_t now = NowUs();
    int ms = *due <= now ? 0 : static_cast<int>(std::min<uint64_t>((*due - now + 999) / 1000, 60000));
    Timer.start(ms);
}

void TSimServer::Pump()
{
    std::vector<TSimDelivery> deliveries;
    SimBus.Poll(NowUs(), deliveries);
    for (const auto& d : deliveries) {
        if (PtyMaster >= 0 && PtyHasReader()) {
            // The other side not reading: what does not fit is lost, as on a real line.
            ssize_t n = ::write(PtyMaster, d.Bytes.data(), d.Bytes.size());
            (void)n;
        }
        Server.Receive(d.Bytes.data(), d.Bytes.size());
        if (d.SendId != 0) {
            auto it = AwaitingEcho.find(d.SendId);
            if (it != AwaitingEcho.end()) {
                const uint64_t clientId = it->second;
                AwaitingEcho.erase(it);
                Server.Sent(clientId, true, {});
            }
        }
    }
    Schedule();
}

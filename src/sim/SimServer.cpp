#include "sim/SimServer.h"

#include <QSocketNotifier>
#include <QTcpServer>
#include <QTcpSocket>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

TSimServer::TSimServer(const TSimConfig& config, QObject* parent)
    : QObject(parent), SimBus(config, 0),
      PtyFrames([this](TLocoNetMessage&& msg) { SendToBus(msg.GetData(), msg.GetLength(), nullptr); })
{
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
    delete PtyNotifier;
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
    PtyNotifier = new QSocketNotifier(fd, QSocketNotifier::Read);
    connect(PtyNotifier, &QSocketNotifier::activated, this, &TSimServer::ReadPty);
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
        // EIO: no one has the other side open (yet, or any more).
        PtyFrames.Reset();
        PtyNotifier->setEnabled(false);
        PtyRetry.start();
        return;
    }
}

bool TSimServer::ListenTcp(quint16 port, std::string& error)
{
    Server = new QTcpServer(this);
    if (!Server->listen(QHostAddress::LocalHost, port)) {
        error = "cannot listen on 127.0.0.1:" + std::to_string(port) + ": " + Server->errorString().toStdString();
        return false;
    }
    connect(Server, &QTcpServer::newConnection, this, &TSimServer::AcceptClients);
    return true;
}

quint16 TSimServer::TcpPort() const
{
    return Server ? Server->serverPort() : 0;
}

void TSimServer::AcceptClients()
{
    while (QTcpSocket* socket = Server->nextPendingConnection()) {
        auto client = std::make_unique<TClient>();
        client->Socket = socket;
        Clients[socket] = std::move(client);
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { ReadClient(socket); });
        connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
            Clients.erase(socket);
            for (auto it = AwaitingEcho.begin(); it != AwaitingEcho.end();) {
                it = it->second == socket ? AwaitingEcho.erase(it) : std::next(it);
            }
            socket->deleteLater();
        });
        WriteClient(socket, std::string("VERSION ") + VersionText + "\r\n");
    }
}

void TSimServer::ReadClient(QTcpSocket* socket)
{
    auto it = Clients.find(socket);
    if (it == Clients.end()) return;
    QByteArray chunk = socket->readAll();
    std::vector<TLbLine> lines;
    it->second->Splitter.Feed(reinterpret_cast<const uint8_t*>(chunk.constData()), static_cast<size_t>(chunk.size()),
                              lines);
    for (const auto& line : lines) {
        if (line.Kind == ELbLineKind::eSend) {
            SendToBus(line.Bytes.data(), line.Bytes.size(), socket);
        } else if (line.Kind == ELbLineKind::eMalformed && line.Line.size() >= 4 &&
                   line.Line.compare(0, 4, "SEND") == 0) {
            WriteClient(socket, "SENT ERROR " + line.Text + "\r\n");
        }
    }
}

void TSimServer::WriteClient(QTcpSocket* socket, const std::string& text)
{
    socket->write(text.data(), static_cast<qint64>(text.size()));
}

void TSimServer::SendToBus(const uint8_t* bytes, size_t count, QTcpSocket* from)
{
    uint64_t id = SimBus.Send(bytes, count, NowUs());
    if (from) AwaitingEcho[id] = from;
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
        if (PtyMaster >= 0) {
            // Nobody listening, or the other side not reading: what does not fit is lost, as on
            // a real line.
            ssize_t n = ::write(PtyMaster, d.Bytes.data(), d.Bytes.size());
            (void)n;
        }
        std::string line = FormatLbReceive(d.Bytes.data(), d.Bytes.size());
        for (auto& [socket, client] : Clients) WriteClient(socket, line);
        if (d.SendId != 0) {
            auto it = AwaitingEcho.find(d.SendId);
            if (it != AwaitingEcho.end()) {
                if (Clients.count(it->second)) WriteClient(it->second, "SENT OK\r\n");
                AwaitingEcho.erase(it);
            }
        }
    }
    Schedule();
}

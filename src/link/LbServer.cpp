#include "link/LbServer.h"

#include "link/LocoNetMessage.h"

#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

namespace {

// What Qt may read ahead from a client's socket; the rest waits in the system, which slows the
// client down once its window is full.
constexpr qint64 ReadAheadBytes = 64 * 1024;
// How long a closing connection may take to deliver its last line, and how many may be closing at
// once (beyond that they are closed at once, without the line).
constexpr int CloseGraceMs = 2000;
constexpr int MaxClosing = 64;

// Why `bytes` cannot go on the bus as one LocoNet message; empty when it can.
std::string MessageFault(const std::vector<uint8_t>& bytes)
{
    if (bytes.size() < 2) return "a LocoNet message has at least 2 bytes";
    if ((bytes[0] & 0x80) == 0) return "the first byte is not an opcode (80 to FF)";
    for (size_t i = 1; i < bytes.size(); ++i) {
        if (bytes[i] & 0x80) return "byte " + std::to_string(i + 1) + " has its top bit set";
    }
    TLocoNetMessage message(bytes.data(), static_cast<uint32_t>(bytes.size()));
    uint32_t expected = TLocoNetMessage::LengthFromOpcode(bytes[0]);
    if (expected == 8) expected = bytes[1];
    if (expected != bytes.size()) {
        return "the message has " + std::to_string(bytes.size()) + " bytes, its opcode or count byte says " +
               std::to_string(expected);
    }
    if (!message.ChecksumOk()) return "wrong checksum";
    return {};
}

// A line of text: no control characters but the tab, nothing above 7E.
bool IsText(const std::string& line)
{
    for (char c : line) {
        const auto u = static_cast<unsigned char>(c);
        if ((u < 0x20 && c != '\t') || u > 0x7E) return false;
    }
    return true;
}

bool StartsWithSend(const std::string& line)
{
    size_t i = line.find_first_not_of(" \t");
    if (i == std::string::npos || line.size() - i < 4) return false;
    for (size_t k = 0; k < 4; ++k) {
        if ((line[i + k] & ~0x20) != "SEND"[k]) return false;
    }
    return line.size() - i == 4 || line[i + 4] == ' ' || line[i + 4] == '\t';
}

// Clients dropped while the clients are being walked through are removed afterwards.
class TLbServerBusy {
public:
    explicit TLbServerBusy(int& busy, std::function<void()> sweep) : Busy(busy), Sweep(std::move(sweep)) { ++Busy; }
    ~TLbServerBusy()
    {
        if (--Busy == 0) Sweep();
    }
    TLbServerBusy(const TLbServerBusy&) = delete;
    TLbServerBusy& operator=(const TLbServerBusy&) = delete;

private:
    int& Busy;
    std::function<void()> Sweep;
};

} // namespace

TLbServer::TLbServer(std::string versionText, QObject* parent)
    : QObject(parent), VersionLine("VERSION " + std::move(versionText) + "\r\n")
{}

TLbServer::~TLbServer()
{
    for (auto& [socket, client] : Clients) socket->disconnect(this);
}

bool TLbServer::Listen(const QHostAddress& address, quint16 port, std::string& error)
{
    if (!Server) {
        Server = new QTcpServer(this);
        connect(Server, &QTcpServer::newConnection, this, &TLbServer::Accept);
    }
    if (!Server->listen(address, port)) {
        error = "cannot listen on port " + std::to_string(port) + " of " + address.toString().toStdString() + ": " +
                Server->errorString().toStdString();
        return false;
    }
    return true;
}

quint16 TLbServer::Port() const
{
    return Server ? Server->serverPort() : 0;
}

void TLbServer::Accept()
{
    TLbServerBusy busy(Busy, [this] { Sweep(); });
    while (QTcpSocket* socket = Server->nextPendingConnection()) {
        const std::string name =
            socket->peerAddress().toString().toStdString() + ":" + std::to_string(socket->peerPort());
        if (Clients.size() >= Limits.MaxClients) {
            Report("refused " + name + ": already " + std::to_string(Limits.MaxClients) + " clients");
            CloseSocket(socket, "too many clients (at most " + std::to_string(Limits.MaxClients) + ")");
            continue;
        }
        auto client = std::make_unique<TClient>();
        client->Socket = socket;
        client->Name = name;
        client->Splitter = TLbLineSplitter(Limits.MaxLineLength);
        socket->setReadBufferSize(ReadAheadBytes);
        TClient* c = client.get();
        Clients[socket] = std::move(client);
        connect(socket, &QTcpSocket::readyRead, this, [this, c] {
            TLbServerBusy inner(Busy, [this] { Sweep(); });
            if (!c->Dropped) ReadClient(*c);
        });
        connect(socket, &QTcpSocket::disconnected, this, [this, c] {
            TLbServerBusy inner(Busy, [this] { Sweep(); });
            Drop(*c, {});
        });
        Report(name + " connected");
        Write(*c, VersionLine);
    }
}

void TLbServer::ReadClient(TClient& client)
{
    char chunk[4096];
    std::vector<TLbLine> lines;
    for (;;) {
        while (!client.Unhandled.empty()) {
            if (client.Waiting >= MaxPendingSends) {
                client.Paused = true;
                return;
            }
            const TLbLine line = std::move(client.Unhandled.front());
            client.Unhandled.pop_front();
            HandleLine(client, line);
            if (client.Dropped) return;
        }
        const qint64 n = client.Socket->read(chunk, sizeof chunk);
        if (n <= 0) return;
        lines.clear();
        client.Splitter.Feed(reinterpret_cast<const uint8_t*>(chunk), static_cast<size_t>(n), lines);
        for (auto& line : lines) client.Unhandled.push_back(std::move(line));
        if (client.Splitter.InOverlongLine()) {
            client.Unhandled.push_back(TLbLine{});
            client.Unhandled.back().Overlong = true;
        }
    }
}

void TLbServer::HandleLine(TClient& client, const TLbLine& line)
{
    if (line.Overlong) {
        const std::string longer = "a line longer than " + std::to_string(client.Splitter.LineLimit()) + " characters";
        Drop(client, "it sent " + longer, longer);
        return;
    }
    if (!IsText(line.Line)) {
        if (!StartsWithSend(line.Line)) {
            Drop(client, "it sent a line that is not text", "a line that is not text");
            return;
        }
        client.Replies.push_back({0, "SENT ERROR the line holds characters that are not ASCII text\r\n"});
    } else if (line.Kind == ELbLineKind::eSend) {
        const std::string fault = MessageFault(line.Bytes);
        if (fault.empty()) {
            const uint64_t id = NextId++;
            client.Replies.push_back({id, {}});
            ++client.Waiting;
            AwaitingBus[id] = &client;
            if (Bus) {
                Bus(id, line.Bytes.data(), line.Bytes.size());
            } else {
                Sent(id, false, "no LocoNet to send to");
            }
            return;
        }
        client.Replies.push_back({0, "SENT ERROR " + fault + "\r\n"});
    } else if (line.Kind == ELbLineKind::eMalformed && StartsWithSend(line.Line)) {
        client.Replies.push_back({0, "SENT ERROR " + line.Text + "\r\n"});
    } else {
        return; // nothing a server answers
    }
    AnswerInOrder(client);
}

void TLbServer::Sent(uint64_t id, bool ok, const std::string& reason)
{
    TLbServerBusy busy(Busy, [this] { Sweep(); });
    auto it = AwaitingBus.find(id);
    if (it == AwaitingBus.end()) return; // its client has gone
    TClient& client = *it->second;
    AwaitingBus.erase(it);
    for (auto& reply : client.Replies) {
        if (reply.Id != id) continue;
        reply.Id = 0;
        reply.Text = ok ? std::string("SENT OK\r\n") : "SENT ERROR " + reason + "\r\n";
        --client.Waiting;
        break;
    }
    AnswerInOrder(client);
    if (client.Paused && !client.Dropped && client.Waiting < MaxPendingSends) {
        client.Paused = false;
        // Read on from the event loop, not from inside the bus that answered.
        QTcpSocket* socket = client.Socket;
        QTimer::singleShot(0, socket, [this, socket] {
            TLbServerBusy inner(Busy, [this] { Sweep(); });
            auto found = Clients.find(socket);
            if (found != Clients.end() && !found->second->Dropped) ReadClient(*found->second);
        });
    }
}

void TLbServer::AnswerInOrder(TClient& client)
{
    while (!client.Dropped && !client.Replies.empty() && client.Replies.front().Id == 0) {
        const std::string text = std::move(client.Replies.front().Text);
        client.Replies.pop_front();
        Write(client, text);
    }
}

void TLbServer::Receive(const uint8_t* bytes, size_t count)
{
    TLbServerBusy busy(Busy, [this] { Sweep(); });
    const std::string line = FormatLbReceive(bytes, count);
    for (auto& [socket, client] : Clients) Write(*client, line);
}

void TLbServer::Write(TClient& client, const std::string& text)
{
    if (client.Dropped) return;
    if (client.Socket->bytesToWrite() + static_cast<qint64>(text.size()) > Limits.MaxQueuedBytes) {
        const std::string waiting = "more than " + std::to_string(Limits.MaxQueuedBytes / 1024) + " KiB waiting";
        Drop(client, "it does not read what it is sent (" + waiting + ")", waiting + " to be read");
        return;
    }
    client.Socket->write(text.data(), static_cast<qint64>(text.size()));
}

void TLbServer::Drop(TClient& client, const std::string& why, const std::string& clientWhy)
{
    if (client.Dropped) return;
    client.Dropped = true;
    for (const auto& reply : client.Replies) {
        if (reply.Id != 0) AwaitingBus.erase(reply.Id);
    }
    client.Replies.clear();
    CloseSocket(client.Socket, clientWhy);
    Report(why.empty() ? client.Name + " left" : "dropped " + client.Name + ": " + why);
}

void TLbServer::CloseSocket(QTcpSocket* socket, const std::string& why)
{
    socket->disconnect(this);
    if (why.empty() || Closing >= MaxClosing || socket->state() != QAbstractSocket::ConnectedState) {
        socket->abort();
        socket->deleteLater();
        return;
    }
    // The line goes after whatever is waiting; a client that does not take it in time is cut off.
    const std::string line = FormatLbClosing(why);
    socket->write(line.data(), static_cast<qint64>(line.size()));
    ++Closing;
    connect(socket, &QObject::destroyed, this, [this] { --Closing; });
    connect(socket, &QAbstractSocket::disconnected, socket, &QObject::deleteLater);
    QTimer::singleShot(CloseGraceMs, socket, [socket] {
        socket->abort();
        socket->deleteLater();
    });
    socket->disconnectFromHost();
}

void TLbServer::Sweep()
{
    for (auto it = Clients.begin(); it != Clients.end();) {
        it = it->second->Dropped ? Clients.erase(it) : std::next(it);
    }
}

void TLbServer::Report(const std::string& text) const
{
    if (Log) Log(text);
}

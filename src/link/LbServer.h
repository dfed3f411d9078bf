#pragma once
// A LoconetOverTcp ("LbServer") server: shares one LocoNet with any number of programs on the
// network. Every client is greeted with a VERSION line and gets every message on the bus as a
// RECEIVE line, the messages of other clients included; its SEND lines go to the bus, and each is
// answered SENT OK or SENT ERROR <reason>, in the order of the client's SEND lines.
//
// What the bus is belongs to the owner: it passes each client message on through the bus hook
// and tells the server what the bus carried (Receive) and how each message sent fared (Sent).
// The simulated LocoNet and the LocoNet link (see ServedLink.h) are both served this way.
//
// Whatever a client does, the server's memory stays bounded (TLimits): a client whose unsent lines
// pass MaxQueuedBytes (it does not read), that sends a line that is not text or passes the line
// limit, or that goes away is dropped without disturbing the others or the bus; a client beyond
// MaxClients is refused. A client dropped or refused is first told why in one line,
// "ERROR closing the connection: <why>". A SEND line that is not ASCII text is a bad SEND like
// any other and answered SENT ERROR. A client with MaxPendingSends messages waiting for the bus
// is not read from until they are answered, so a fast sender is slowed down by TCP itself.

#include "link/LbServerProtocol.h"

#include <QHostAddress>
#include <QObject>

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>

class QTcpServer;
class QTcpSocket;

class TLbServer : public QObject {
    Q_OBJECT
public:
    static constexpr size_t MaxPendingSends = 64; // of one client, before it is held back
    static constexpr quint16 DefaultPort = 1234; // the usual LoconetOverTcp port

    struct TLimits {
        size_t MaxClients = 64; // connected at once; one more is refused
        size_t MaxLineLength = TLbLineSplitter::MaxLineLength; // characters, without the line end
        qint64 MaxQueuedBytes = 1 << 20; // waiting to be sent to one client
    };

    // Puts a client's message on the bus; its outcome comes back through Sent with the same id,
    // at once or later.
    using TBusHook = std::function<void(uint64_t id, const uint8_t* bytes, size_t count)>;
    using TLogHook = std::function<void(const std::string& text)>;

    explicit TLbServer(std::string versionText, QObject* parent = nullptr);
    ~TLbServer() override;
    TLbServer(const TLbServer&) = delete;
    TLbServer& operator=(const TLbServer&) = delete;

    void SetBus(TBusHook hook) { Bus = std::move(hook); }
    // For the clients that connect from now on (MaxQueuedBytes: for every client).
    void SetLimits(const TLimits& limits) { Limits = limits; }
    const TLimits& GetLimits() const { return Limits; }
    // Clients coming and going, and why one was dropped.
    void SetLog(TLogHook hook) { Log = std::move(hook); }

    // Listens on `address` (port 0: any free port). False with the reason when it cannot.
    bool Listen(const QHostAddress& address, quint16 port, std::string& error);
    quint16 Port() const;
    size_t ClientCount() const { return Clients.size(); }

    // A message on the bus: a RECEIVE line to every client.
    void Receive(const uint8_t* bytes, size_t count);
    // The outcome of the message sent under `id`: SENT OK, or SENT ERROR with the reason.
    void Sent(uint64_t id, bool ok, const std::string& reason);

private:
    struct TReply {
        uint64_t Id = 0; // 0: answered already (Text holds the line)
        std::string Text;
    };
    struct TClient {
        QTcpSocket* Socket = nullptr;
        std::string Name; // address:port, for the log
        TLbLineSplitter Splitter;
        std::deque<TLbLine> Unhandled; // lines read while the client was held back
        std::deque<TReply> Replies; // in the order of the client's SEND lines
        size_t Waiting = 0; // replies whose message is still with the bus
        bool Paused = false; // held back until Waiting drops below MaxPendingSends
        bool Dropped = false;
    };

    void Accept();
    void ReadClient(TClient& client);
    void HandleLine(TClient& client, const TLbLine& line);
    void AnswerInOrder(TClient& client);
    void Write(TClient& client, const std::string& text);
    // `why` goes to the log ("it sent ..."), `clientWhy` to the client before it is closed.
    void Drop(TClient& client, const std::string& why, const std::string& clientWhy = {});
    // Closes a connection, first sending `line` when there is one.
    void CloseSocket(QTcpSocket* socket, const std::string& line);
    void Sweep();
    void Report(const std::string& text) const;

    std::string VersionLine;
    TLimits Limits;
    TBusHook Bus;
    TLogHook Log;
    QTcpServer* Server = nullptr;
    std::map<QTcpSocket*, std::unique_ptr<TClient>> Clients;
    std::unordered_map<uint64_t, TClient*> AwaitingBus; // send id -> the client that sent it
    uint64_t NextId = 1;
    int Busy = 0; // > 0 while clients are being iterated; dropped ones are swept afterwards
    int Closing = 0; // connections sending their last line
};

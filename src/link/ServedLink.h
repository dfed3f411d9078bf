#pragma once
// Shares the LocoNet link with the clients of a LoconetOverTcp server: every message the link
// receives goes to every client, and the clients' messages go out through the link.
//
// A client's message counts as sent when the interface echoes it back, as the LocoBuffer, the
// PR3, the MS100 and LocoNet servers do with everything they put on the bus. One whose echo has not
// come EchoTimeoutMs after the message before it was settled is answered SENT ERROR.
//
// When the link goes away the messages still waiting are answered SENT ERROR, the loss is
// reported once, and the link is opened again every ReopenMs until it is back; the server runs on
// all the while.

#include <QObject>
#include <QTimer>

#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <vector>

class TLbServer;
class TLnThreadComm;

class TServedLink : public QObject {
public:
    static constexpr int EchoTimeoutMs = 1000;
    static constexpr int ReopenMs = 2000;
    using TReport = std::function<void(const std::string& text)>;

    // Takes over the link's OnRxMsg and OnConnectionChange and becomes the server's bus. The link
    // is configured and normally open already.
    TServedLink(TLnThreadComm& link, TLbServer& server, TReport report, QObject* parent = nullptr);
    ~TServedLink() override;
    TServedLink(const TServedLink&) = delete;
    TServedLink& operator=(const TServedLink&) = delete;

    // How often a lost link is opened again (ReopenMs unless a test says otherwise).
    void SetReopenInterval(int ms) { ReopenTimer.setInterval(ms); }

private:
    struct TAwaited {
        uint64_t Id = 0;
        std::vector<uint8_t> Bytes;
    };

    void Send(uint64_t id, const uint8_t* bytes, size_t count);
    void TakeMessages();
    void Settle(size_t upTo, bool lastOk, const std::string& reason);
    void EchoTimeout();
    void ConnectionChanged();
    void Reopen();
    std::string LinkReason() const;

    TLnThreadComm& Link;
    TLbServer& Server;
    TReport Report;
    std::deque<TAwaited> Awaiting; // in the order written to the link
    QTimer EchoTimer;
    QTimer ReopenTimer;
    bool Down = false;
};

#pragma once
// A LoconetOverTcp client ("tcp://HOST[:PORT]", port 1234 when omitted): sends each message as a
// SEND line and passes the bytes of every RECEIVE line on to the link as if they had come from a
// serial interface (the server echoes our own messages, as an interface does).
//
// The connection is made in the background: Open returns at once, messages written meanwhile wait
// in the socket, and Connected or DeviceLost (with the reason, "Connection refused") follows;
// a server that does not answer within ConnectTimeoutMs counts as lost. A connection lost once it
// was up is told as what happened: "the server closed the connection" (with the reason the
// server gave in its last line, if any) or "the network connection to the server broke".

#include "link/LbServerProtocol.h"
#include "link/LnTransport.h"

#include <QByteArray>
#include <QTcpSocket>
#include <QTimer>

#include <deque>

class TTcpTransport : public TLnTransport {
    Q_OBJECT
public:
    static constexpr quint16 DefaultPort = 1234;
    static constexpr int ConnectTimeoutMs = 3000;

    // Splits "tcp://HOST[:PORT]"; false with a reason when the form is wrong.
    static bool ParseAddress(const std::string& deviceName, std::string& host, quint16& port, std::string& error);

    TTcpTransport(std::string host, quint16 port);

    bool Open() override;
    void Close() override;
    bool IsOpen() const override { return State != EState::eClosed; }
    bool IsConnecting() const override { return State == EState::eConnecting; }
    int64_t BytesAvailable() const override { return Input.size() - InputPos; }
    int64_t Read(uint8_t* bytes, int64_t count) override;
    int64_t Write(const uint8_t* bytes, int64_t count) override;
    int64_t OutputPending() const override;
    void PurgeIn() override;
    void PurgeOut() override;

    // The server's VERSION text, once it has greeted us.
    const std::string& ServerVersion() const { return Version; }

private:
    void HandleReadyRead();
    void HandleLine(const TLbLine& line);
    void FlushInput();
    void HandleConnected();
    void HandleGone(const QString& reason);
    void HandleSocketError(QAbstractSocket::SocketError error);

    std::string Host;
    quint16 PortNumber;
    enum class EState { eClosed, eConnecting, eConnected };

    QTcpSocket Socket;
    QTimer ConnectTimer;
    EState State = EState::eClosed;
    TLbLineSplitter Splitter;
    std::vector<TLbLine> Lines;
    QByteArray Input; // bytes of RECEIVE lines not yet read
    qsizetype InputPos = 0;
    std::deque<int64_t> InFlight; // message sizes sent, waiting for their SENT line
    int IgnoreAcks = 0; // SENT lines still due for messages purged from the output
    std::string Version;
    std::string ClosingReason; // what the server said before closing the connection
};

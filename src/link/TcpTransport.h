#pragma once
// A LoconetOverTcp client ("tcp://HOST[:PORT]", port 1234 when omitted): sends each message as a
// SEND line and passes the bytes of every RECEIVE line on to the link as if they had come from a
// serial interface (the server echoes our own messages, as an interface does).

#include "link/LbServerProtocol.h"
#include "link/LnTransport.h"

#include <QByteArray>
#include <QTcpSocket>

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
    bool IsOpen() const override { return Connected; }
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
    void HandleGone();

    std::string Host;
    quint16 PortNumber;
    QTcpSocket Socket;
    bool Connected = false;
    TLbLineSplitter Splitter;
    std::vector<TLbLine> Lines;
    QByteArray Input; // bytes of RECEIVE lines not yet read
    qsizetype InputPos = 0;
    std::deque<int64_t> InFlight; // message sizes sent, waiting for their SENT line
    int IgnoreAcks = 0; // SENT lines still due for messages purged from the output
    std::string Version;
};

#pragma once
// Serves the simulated LocoNet to other programs: on a pseudo-terminal, where it behaves like a
// serial LocoNet interface, and as a LoconetOverTcp server on loopback. Every message put on the
// bus by either side is echoed to all of them, as a real bus does.

#include "link/FrameAssembler.h"
#include "link/LbServerProtocol.h"
#include "sim/SimBus.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <map>
#include <memory>
#include <string>

class QSocketNotifier;
class QTcpServer;
class QTcpSocket;

class TSimServer : public QObject {
    Q_OBJECT
public:
    static constexpr const char* VersionText = "Railscope simulated LocoNet 1.0";

    explicit TSimServer(const TSimConfig& config, QObject* parent = nullptr);
    ~TSimServer() override;

    // Opens a pseudo-terminal; `slavePath` is the device name to give a serial link.
    bool OpenPty(std::string& slavePath, std::string& error);
    // Listens on 127.0.0.1 (port 0: any free port).
    bool ListenTcp(quint16 port, std::string& error);
    quint16 TcpPort() const;

    TSimBus& Bus() { return SimBus; }

private:
    struct TClient {
        QTcpSocket* Socket = nullptr;
        TLbLineSplitter Splitter;
    };

    uint64_t NowUs() const { return static_cast<uint64_t>(Clock.nsecsElapsed() / 1000); }
    void SendToBus(const uint8_t* bytes, size_t count, QTcpSocket* from);
    void Pump();
    void Schedule();
    void ReadPty();
    void AcceptClients();
    void ReadClient(QTcpSocket* socket);
    void WriteClient(QTcpSocket* socket, const std::string& text);

    TSimBus SimBus;
    QElapsedTimer Clock;
    QTimer Timer;
    int PtyMaster = -1;
    QSocketNotifier* PtyNotifier = nullptr;
    QTimer PtyRetry;
    TFrameAssembler PtyFrames;
    QTcpServer* Server = nullptr;
    std::map<QTcpSocket*, std::unique_ptr<TClient>> Clients;
    std::map<uint64_t, QTcpSocket*> AwaitingEcho; // send id -> client that sent it
};

#pragma once
// Serves the simulated LocoNet to other programs: on a pseudo-terminal, where it behaves like a
// serial LocoNet interface, and through the LoconetOverTcp server of the link (link/LbServer.h).
// Every message put on the bus by either side is echoed to all of them, as a real bus does.
//
// Like a bus, the pseudo-terminal stores nothing: while no program has it open, what the bus
// carries is dropped, and what a program left unread when it closed the terminal is discarded.

#include "link/FrameAssembler.h"
#include "link/LbServer.h"
#include "sim/SimBus.h"

#include <QElapsedTimer>
#include <QHostAddress>
#include <QObject>
#include <QTimer>

#include <map>
#include <memory>
#include <string>

class QSocketNotifier;

class TSimServer : public QObject {
    Q_OBJECT
public:
    static constexpr const char* VersionText = "Railscope simulated LocoNet 1.0";

    explicit TSimServer(const TSimConfig& config, QObject* parent = nullptr);
    ~TSimServer() override;

    // Opens a pseudo-terminal; `slavePath` is the device name to give a serial link.
    bool OpenPty(std::string& slavePath, std::string& error);
    // Listens for LoconetOverTcp clients (port 0: any free port).
    bool ListenTcp(quint16 port, std::string& error, const QHostAddress& address = QHostAddress::LocalHost);
    quint16 TcpPort() const;
    // Clients coming and going, and why one was dropped.
    void SetLog(TLbServer::TLogHook hook) { Server.SetLog(std::move(hook)); }
    void SetLimits(const TLbServer::TLimits& limits) { Server.SetLimits(limits); }

    TSimBus& Bus() { return SimBus; }

private:
    uint64_t NowUs() const { return static_cast<uint64_t>(Clock.nsecsElapsed() / 1000); }
    void SendToBus(const uint8_t* bytes, size_t count, uint64_t clientId);
    void Pump();
    void Schedule();
    void ReadPty();
    bool PtyHasReader() const;
    void DiscardPtyInput();

    TSimBus SimBus;
    QElapsedTimer Clock;
    QTimer Timer;
    int PtyMaster = -1;
    QSocketNotifier* PtyNotifier = nullptr;
    QTimer PtyRetry;
    std::string PtyPath;
    TFrameAssembler PtyFrames;
    TLbServer Server;
    std::map<uint64_t, uint64_t> AwaitingEcho; // bus send id -> the server's id of the client message
};

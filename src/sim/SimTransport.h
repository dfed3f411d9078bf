#pragma once
// The simulated LocoNet in this process ("sim" or "sim:OPTIONS"), run on the real clock.

#include "link/LnThreadComm.h"
#include "link/LnTransport.h"
#include "sim/SimBus.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QTimer>

class TSimTransport : public TLnTransport {
    Q_OBJECT
public:
    explicit TSimTransport(const TSimConfig& config);

    bool Open() override;
    void Close() override;
    bool IsOpen() const override { return Opened; }
    int64_t BytesAvailable() const override { return Input.size() - InputPos; }
    int64_t Read(uint8_t* bytes, int64_t count) override;
    int64_t Write(const uint8_t* bytes, int64_t count) override;
    int64_t OutputPending() const override { return 0; }
    void PurgeIn() override;
    void PurgeOut() override {}

    TSimBus& Bus() { return SimBus; }

private:
    uint64_t NowUs() const { return static_cast<uint64_t>(Clock.nsecsElapsed() / 1000); }
    void Pump();
    void Schedule();

    TSimBus SimBus;
    QElapsedTimer Clock;
    QTimer Timer;
    bool Opened = false;
    QByteArray Input;
    qsizetype InputPos = 0;
    std::vector<uint8_t> Arrived;
};

// The link's transports plus the simulated LocoNet for "sim" and "sim:OPTIONS".
std::unique_ptr<TLnTransport> CreateSimOrLnTransport(const std::string& deviceName, std::string& error);
// Lets the link open the simulated LocoNet as well as its own devices.
void UseSimulatedLocoNet(TLnThreadComm& link);

#include "sim/SimTransport.h"

#include "link/TransportFactory.h"
#include "sim/SimConfig.h"

#include <algorithm>
#include <cstring>

TSimTransport::TSimTransport(const TSimConfig& config) : SimBus(config)
{
    Timer.setSingleShot(true);
    Timer.setTimerType(Qt::PreciseTimer);
    connect(&Timer, &QTimer::timeout, this, &TSimTransport::Pump);
}

bool TSimTransport::Open()
{
    Clock.start();
    SimBus = TSimBus(SimBus.Config(), 0);
    Opened = true;
    Schedule();
    return true;
}

void TSimTransport::Close()
{
    Opened = false;
    Timer.stop();
    Input.clear();
    InputPos = 0;
}

int64_t TSimTransport::Read(uint8_t* bytes, int64_t count)
{
    int64_t n = std::min<int64_t>(count, Input.size() - InputPos);
    std::memcpy(bytes, Input.constData() + InputPos, static_cast<size_t>(n));
    InputPos += n;
    if (InputPos == Input.size()) {
        Input.clear();
        InputPos = 0;
    }
    return n;
}

int64_t TSimTransport::Write(const uint8_t* bytes, int64_t count)
{
    if (!Opened) return -1;
    SimBus.Send(bytes, static_cast<size_t>(count), NowUs());
    Schedule();
    // The interface takes the message at once; its output is empty again from the event loop.
    QTimer::singleShot(0, this, [this] {
        if (Opened) emit OutputEmpty();
    });
    return count;
}

void TSimTransport::PurgeIn()
{
    Input.clear();
    InputPos = 0;
}

void TSimTransport::Schedule()
{
    if (!Opened) return;
    auto due = SimBus.NextDueUs();
    if (!due) {
        Timer.stop();
        return;
    }
    uint64_t now = NowUs();
    int ms = *due <= now ? 0 : static_cast<int>(std::min<uint64_t>((*due - now + 999) / 1000, 60000));
    Timer.start(ms);
}

void TSimTransport::Pump()
{
    if (!Opened) return;
    Arrived.clear();
    SimBus.Poll(NowUs(), Arrived);
    if (!Arrived.empty()) {
        Input.append(reinterpret_cast<const char*>(Arrived.data()), static_cast<qsizetype>(Arrived.size()));
        emit DataArrived();
    }
    Schedule();
}

std::unique_ptr<TLnTransport> CreateSimOrLnTransport(const std::string& deviceName, std::string& error)
{
    error.clear();
    if (deviceName == "sim" || deviceName.rfind("sim:", 0) == 0) {
        TSimConfig config;
        if (!ParseSimDeviceName(deviceName, config, error)) return nullptr;
        return std::make_unique<TSimTransport>(config);
    }
    return CreateLnTransport(deviceName, error);
}

void UseSimulatedLocoNet(TLnThreadComm& link)
{
    link.SetTransportFactory(CreateSimOrLnTransport);
}

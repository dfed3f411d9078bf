#include "link/LnTransport.h"

#include "link/FileTransport.h"
#include "link/SerialTransport.h"
#include "link/SimTransport.h"
#include "link/TcpTransport.h"

#include <QTimer>

#include <algorithm>
#include <cstring>

// --- the common part ---------------------------------------------------------------------------

bool TLnTransport::ApplyLineSettings(TBaudRate, ELocoNetInterface, int&)
{
    return true;
}

bool TLnTransport::SetDTR(bool, int&)
{
    return true;
}

void TLnTransport::LogLine(std::string_view text)
{
    if (!Log) return;
    std::string line(text);
    line += "\r\n";
    Log(line);
}

std::unique_ptr<TLnTransport> CreateLnTransport(const std::string& deviceName, std::string& error)
{
    error.clear();
    if (deviceName == "sim" || deviceName.rfind("sim:", 0) == 0) {
        TSimConfig config;
        if (!ParseSimDeviceName(deviceName, config, error)) return nullptr;
        return std::make_unique<TSimTransport>(config);
    }
    if (deviceName.rfind("tcp://", 0) == 0) {
        std::string host;
        quint16 port = 0;
        if (!TTcpTransport::ParseAddress(deviceName, host, port, error)) return nullptr;
        return std::make_unique<TTcpTransport>(host, port);
    }
    if (deviceName.rfind("file:", 0) == 0) {
        if (deviceName.size() == 5) {
            error = "no file named after 'file:'";
            return nullptr;
        }
        return std::make_unique<TFileTransport>(deviceName.substr(5));
    }
    if (deviceName.empty()) {
        error = "no device name";
        return nullptr;
    }
    return std::make_unique<TSerialTransport>(deviceName);
}

// --- the simulated LocoNet -----------------------------------------------------------------------

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

// --- replaying a file ----------------------------------------------------------------------------

TFileTransport::TFileTransport(const std::string& path) : File(QString::fromStdString(path)) {}

bool TFileTransport::Open()
{
    if (!File.open(QIODevice::ReadOnly)) return false;
    Ended = false;
    QTimer::singleShot(0, this, &TFileTransport::Pump);
    PumpQueued = true;
    return true;
}

void TFileTransport::Close()
{
    if (File.isOpen()) File.close();
    Chunk.clear();
    ChunkPos = 0;
}

int64_t TFileTransport::Read(uint8_t* bytes, int64_t count)
{
    int64_t n = std::min<int64_t>(count, BytesAvailable());
    std::memcpy(bytes, Chunk.data() + ChunkPos, static_cast<size_t>(n));
    ChunkPos += n;
    if (ChunkPos >= static_cast<int64_t>(Chunk.size()) && !PumpQueued && !Ended) {
        // The receiver has taken everything: the next piece follows from the event loop.
        PumpQueued = true;
        QTimer::singleShot(0, this, &TFileTransport::Pump);
    }
    return n;
}

int64_t TFileTransport::Write(const uint8_t*, int64_t count)
{
    if (!File.isOpen()) return -1;
    // Nothing to send to: the bytes are dropped and the output is empty again at once.
    QTimer::singleShot(0, this, [this] {
        if (File.isOpen()) emit OutputEmpty();
    });
    return count;
}

void TFileTransport::PurgeIn()
{
    Chunk.clear();
    ChunkPos = 0;
    if (!PumpQueued && !Ended && File.isOpen()) {
        PumpQueued = true;
        QTimer::singleShot(0, this, &TFileTransport::Pump);
    }
}

void TFileTransport::Pump()
{
    PumpQueued = false;
    if (!File.isOpen() || Ended || BytesAvailable() > 0) return;
    Chunk.resize(ChunkSize);
    qint64 n = File.read(reinterpret_cast<char*>(Chunk.data()), ChunkSize);
    if (n <= 0) {
        Chunk.clear();
        ChunkPos = 0;
        Ended = true;
        if (n < 0) {
            emit DeviceLost(File.errorString());
        } else {
            emit EndOfData();
        }
        return;
    }
    Chunk.resize(static_cast<size_t>(n));
    ChunkPos = 0;
    emit DataArrived();
}

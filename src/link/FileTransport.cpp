#include "link/FileTransport.h"

#include <QTimer>

#include <algorithm>
#include <cstring>

TFileTransport::TFileTransport(const std::string& path) : File(QString::fromStdString(path)) {}

bool TFileTransport::Open()
{
    if (!File.open(QIODevice::ReadOnly)) {
        SetLastError(File.errorString().toStdString());
        return false;
    }
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
            emit DeviceLost(QStringLiteral("the file could not be read further: ") + File.errorString());
        } else {
            emit EndOfData();
        }
        return;
    }
    Chunk.resize(static_cast<size_t>(n));
    ChunkPos = 0;
    emit DataArrived();
}

#pragma once
// Replays the raw bytes of a file ("file:PATH") as if they came from a serial port, as fast as
// the link takes them. What is written is dropped.

#include "link/LnTransport.h"

#include <QFile>

#include <vector>

class TFileTransport : public TLnTransport {
    Q_OBJECT
public:
    static constexpr int64_t ChunkSize = 4096;

    explicit TFileTransport(const std::string& path);

    bool Open() override;
    void Close() override;
    bool IsOpen() const override { return File.isOpen(); }
    int64_t BytesAvailable() const override { return static_cast<int64_t>(Chunk.size()) - ChunkPos; }
    int64_t Read(uint8_t* bytes, int64_t count) override;
    int64_t Write(const uint8_t* bytes, int64_t count) override;
    int64_t OutputPending() const override { return 0; }
    void PurgeIn() override;
    void PurgeOut() override {}

private:
    void Pump();

    QFile File;
    std::vector<uint8_t> Chunk;
    int64_t ChunkPos = 0;
    bool Ended = false;
    bool PumpQueued = false;
};

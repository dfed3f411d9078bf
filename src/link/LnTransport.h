#pragma once
// The device under the LocoNet link: a serial port, a LoconetOverTcp server, the simulated
// LocoNet or a file being replayed. TLnThreadComm picks one by the form of its DeviceName (see
// TransportFactory.h) and talks to it only through this interface; everything runs on the
// thread that owns the link.

#include "link/LnTypes.h"

#include <QObject>
#include <QString>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

class TLnTransport : public QObject {
    Q_OBJECT
public:
    using LogSink = std::function<void(std::string_view text)>;

    ~TLnTransport() override = default;

    // Opens the device. False when it does not exist, is busy or cannot be reached (LastError says
    // why): the link then stays closed without an error. A transport that connects in the
    // background returns true at once and reports IsConnecting until Connected or DeviceLost.
    virtual bool Open() = 0;
    virtual void Close() = 0;
    virtual bool IsOpen() const = 0;
    virtual bool IsConnecting() const { return false; }
    // Why the last Open failed, in the system's words ("No such file or directory").
    const std::string& LastError() const { return OpenError; }

    // Line settings. False with the system's error number when the device refuses them.
    virtual bool ApplyLineSettings(TBaudRate rate, ELocoNetInterface kind, int& systemError);
    // DTR on or off. A device without modem lines accepts it and does nothing.
    virtual bool SetDTR(bool on, int& systemError);

    // Bytes waiting to be read, and reading them.
    virtual int64_t BytesAvailable() const = 0;
    virtual int64_t Read(uint8_t* bytes, int64_t count) = 0;
    // Writing one message's bytes; the bytes written or -1.
    virtual int64_t Write(const uint8_t* bytes, int64_t count) = 0;
    // Bytes handed over but not yet sent on (the output queue).
    virtual int64_t OutputPending() const = 0;
    virtual void PurgeIn() = 0;
    virtual void PurgeOut() = 0;

    // Where a transport writes lines for the receive log (the LoconetOverTcp client does).
    void SetLogSink(LogSink sink) { Log = std::move(sink); }

signals:
    void DataArrived(); // bytes can be read
    void OutputEmpty(); // everything written has been sent
    void LineError(int errorFlags); // the line reported errors; reading goes on
    void Connected(); // a connection made in the background is up
    void DeviceLost(QString reason); // the device went away, or the background connection failed
    void EndOfData(); // a replayed file has been read to its end

protected:
    void LogLine(std::string_view text);
    void SetLastError(std::string reason) { OpenError = std::move(reason); }
    LogSink Log;

private:
    std::string OpenError;
};

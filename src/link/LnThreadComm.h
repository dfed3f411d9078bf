#pragma once
// The LocoNet link: frames the bytes from the device into messages in a receive queue, writes
// queued messages to the device, and tells its owner through three events.
//
// Everything runs on the thread that owns the link (Qt's event loop takes the place of a thread
// waiting for port events). The events are plain callbacks, called on that thread:
//   OnError(sender, errorFlags)  the device reported line errors, or went away (kLnErrIO, the
//                                link has closed by then and can be opened again later)
//   OnRxMsg(sender, count)       messages have arrived: raised only when the receive queue turns
//                                from empty to non-empty; count = messages now queued. The owner
//                                is expected to take them all with ReadMessage.
//   OnTxEmpty(sender)            the device's output is empty and no message is queued
// OnEndOfData(sender) is raised when a "file:" replay has been read to its end.
// OnConnectionChange(sender) is raised when the link opens or closes on its own: a connection made
// in the background (tcp://) is up or has failed, or the device went away. LastError says why a
// link is closed.
//
// Failures that the link raises throw ELnCommError carrying the whole message text, for example
// "Port not open (Error: -1)". A device that does not exist or is busy is not an error: the link
// stays closed, LastError gives the system's reason, and messages written meanwhile are dropped.

#include "link/EchoMatcher.h"
#include "link/FrameAssembler.h"
#include "link/LnTypes.h"
#include "link/LocoNetMessage.h"
#include "link/TransportFactory.h"

#include <QObject>

#include <chrono>
#include <cstdint>
#include <deque>
#include <fstream>
#include <functional>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <string>
#include <vector>

class TLnTransport;

class ELnCommError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class TLnThreadComm : public QObject {
public:
    using TErrorEvent = std::function<void(TLnThreadComm* sender, int errorFlags)>;
    using TRxMsgEvent = std::function<void(TLnThreadComm* sender, uint32_t count)>;
    using TNotifyEvent = std::function<void(TLnThreadComm* sender)>;

    // Port event bits, as HandleCommEvent takes them.
    static constexpr uint32_t EV_RXCHAR = 0x01;
    static constexpr uint32_t EV_TXEMPTY = 0x04;
    static constexpr uint32_t EV_ERR = 0x80;
    // Line functions of EscapeComm.
    static constexpr int SETRTS = 3;
    static constexpr int CLRRTS = 4;
    static constexpr int SETDTR = 5;
    static constexpr int CLRDTR = 6;
    // Sizes of the device queues.
    static constexpr int InQueueSize = 4096;
    static constexpr int OutQueueSize = 2048;
    static constexpr int ReadChunk = 5000;

    explicit TLnThreadComm(QObject* owner = nullptr);
    ~TLnThreadComm() override;
    TLnThreadComm(const TLnThreadComm&) = delete;
    TLnThreadComm& operator=(const TLnThreadComm&) = delete;

    // Persisted properties.
    const std::string& GetDeviceName() const { return DeviceName; }
    void SetDeviceName(const std::string& name); // only while closed
    TBaudRate GetBaudRate() const { return BaudRate; }
    void SetBaudRate(TBaudRate rate); // applied to an open port at once
    TErrorEvent OnError;
    TRxMsgEvent OnRxMsg;
    TNotifyEvent OnTxEmpty;
    const std::string& GetLogFileName() const { return LogFileName; }
    void SetLogFileName(const std::string& name) { LogFileName = name; }
    bool GetLogToFile() const { return LogToFile; }
    void SetLogToFile(bool on) { LogToFile = on; }
    // While LogToFile is on, the receive log goes to `stream` instead of LogFileName (null: to the
    // file again). The owner keeps the stream open for as long as the link is open, and can tell
    // from its state whether the log is still being written.
    void SetLogStream(std::ostream* stream) { LogStream = stream; }
    ELocoNetInterface GetLocoNetInterface() const { return LocoNetInterface; }
    void SetLocoNetInterface(ELocoNetInterface kind) { LocoNetInterface = kind; }

    TNotifyEvent OnEndOfData;
    TNotifyEvent OnConnectionChange;

    void Open();
    void Close();
    bool Enabled() const { return IsOpen; }
    // Open, but the connection is still being made in the background; messages written meanwhile
    // wait for it.
    bool Connecting() const { return IsOpen && ConnectingNow; }
    // Why the last Open failed or why the link was lost, in the system's words ("Permission
    // denied"); empty while open and after a Close of the program's own.
    const std::string& LastError() const { return LastErrorText; }
    // The link was open and its device went away (rather than an Open that failed).
    bool WasLost() const { return Lost; }
    void Lock() { CriticalSection.lock(); }
    void Unlock() { CriticalSection.unlock(); }
    bool CheckOpen();
    void SetDTRState(bool on);
    void EscapeComm(int function);
    void UpdateDataControlBlock();
    void UpdateDataControlBlockLock();
    void UpdateCommTimeouts() {}

    int Write(const uint8_t* bytes, int count);
    int Read(uint8_t* bytes, int count);
    bool PartialMsgRead(int count);
    void Kick_Tx();
    void WriteMessage(std::unique_ptr<TLocoNetMessage> message);
    // The oldest received message, or null; `stamp` (when given) receives its TRxStamp.
    std::unique_ptr<TLocoNetMessage> ReadMessage(TRxStamp* stamp = nullptr);
    // Microseconds since the link was last opened (since it was made, before the first Open).
    int64_t MicrosecondsSinceOpen() const;
    uint32_t QueRxMsgCount() const { return static_cast<uint32_t>(RxQueue.size()); }
    uint32_t QueTxMsgCount() const { return static_cast<uint32_t>(TxQueue.size()); }
    int InQueCount() const;
    int OutQueCount() const;
    void ClearRXQueue() { RxQueue.clear(); }
    void ClearTXQueue() { TxQueue.clear(); }
    void PurgeIn();
    void PurgeOut();
    void AddToLog(uint8_t byte);
    void AddStrToLog(std::string_view text);

    // Handles one device event: EV_ERR with the error flags, then EV_RXCHAR, then EV_TXEMPTY.
    void HandleCommEvent(uint32_t eventMask, int errorFlags = 0);

    // Checks the form of a device name without opening anything (for command lines and dialogs).
    static bool CheckDeviceName(const std::string& name, std::string& error,
                                const TTransportFactory& factory = CreateLnTransport);
    // Which transports the link can open (its own by default); used by the next Open.
    void SetTransportFactory(TTransportFactory factory) { TransportFactory = std::move(factory); }

protected:
    virtual void CreateHandle();
    void DestroyHandle();

private:
    void HandleDeviceLost(TLnTransport* transport, const std::string& reason);
    void RetireTransport();

    std::string DeviceName = "Com1";
    TBaudRate BaudRate = br19200;
    std::string LogFileName;
    bool LogToFile = false;
    ELocoNetInterface LocoNetInterface = eMS100;

    TTransportFactory TransportFactory = CreateLnTransport;
    std::unique_ptr<TLnTransport> Transport;
    std::vector<std::unique_ptr<TLnTransport>> Retired; // closed, deleted once back in the event loop
    std::recursive_mutex CriticalSection;
    bool IsOpen = false;
    bool ConnectingNow = false;
    bool Lost = false;
    std::string LastErrorText;
    std::ofstream LogFile;
    std::ostream* LogStream = nullptr;
    bool Logging = false;
    struct TRxEntry {
        std::unique_ptr<TLocoNetMessage> Message;
        TRxStamp Stamp;
    };
    std::deque<TRxEntry> RxQueue;
    std::deque<std::unique_ptr<TLocoNetMessage>> TxQueue;
    TFrameAssembler Assembler;
    std::chrono::steady_clock::time_point OpenedAt = std::chrono::steady_clock::now();
    int64_t ReadTimeUs = 0; // when the bytes being framed were read
    TEchoMatcher Echoes;
    std::vector<uint8_t> ReadBuffer;
};

// The link component the program places and configures; every sender uses this one object.
class TLocoNetComm : public TLnThreadComm {
public:
    using TLnThreadComm::TLnThreadComm;
};

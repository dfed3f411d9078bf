#include "link/LnThreadComm.h"

#include "link/LnTransport.h"
#include "link/TextFormat.h"

#include <QTimer>

#include <algorithm>

namespace {

[[noreturn]] void Raise(const char* format, int number)
{
    std::string text(format);
    auto at = text.find("%d");
    if (at != std::string::npos) text.replace(at, 2, std::to_string(number));
    throw ELnCommError(text);
}

} // namespace

TLnThreadComm::TLnThreadComm(QObject* owner)
    : QObject(owner), Assembler([this](TLocoNetMessage&& msg) {
          const bool echo = Echoes.IsEcho(msg, ReadTimeUs);
          RxQueue.push_back({std::make_unique<TLocoNetMessage>(std::move(msg)), {ReadTimeUs, echo}});
      }),
      ReadBuffer(ReadChunk)
{}

TLnThreadComm::~TLnThreadComm()
{
    Close();
    ClearTXQueue();
    ClearRXQueue();
    Retired.clear();
}

void TLnThreadComm::SetDeviceName(const std::string& name)
{
    if (!IsOpen && name != DeviceName) DeviceName = name;
}

void TLnThreadComm::SetBaudRate(TBaudRate rate)
{
    if (rate == BaudRate) return;
    BaudRate = rate;
    UpdateDataControlBlockLock();
}

bool TLnThreadComm::CheckDeviceName(const std::string& name, std::string& error, const TTransportFactory& factory)
{
    error.clear();
    return factory(name, error) != nullptr;
}

void TLnThreadComm::CreateHandle()
{
    std::string error;
    auto transport = TransportFactory(DeviceName, error);
    if (!transport) throw ELnCommError(error);
    if (!transport->Open()) {
        // No such device, or busy: the link stays closed and keeps the reason.
        LastErrorText = transport->LastError().empty() ? "the device cannot be opened" : transport->LastError();
        return;
    }
    Transport = std::move(transport);
    IsOpen = true;
    ConnectingNow = Transport->IsConnecting();

    TLnTransport* t = Transport.get();
    connect(t, &TLnTransport::DataArrived, this, [this, t] {
        if (t == Transport.get()) HandleCommEvent(EV_RXCHAR);
    });
    connect(t, &TLnTransport::OutputEmpty, this, [this, t] {
        if (t == Transport.get()) HandleCommEvent(EV_TXEMPTY);
    });
    connect(t, &TLnTransport::LineError, this, [this, t](int flags) {
        if (t == Transport.get()) HandleCommEvent(EV_ERR, flags);
    });
    // Handled from the event loop, never inside the transport's own signal, so that the transport
    // can be closed safely.
    connect(
        t, &TLnTransport::Connected, this,
        [this, t] {
            if (t != Transport.get() || !ConnectingNow) return;
            ConnectingNow = false;
            if (OnConnectionChange) OnConnectionChange(this);
        },
        Qt::QueuedConnection);
    connect(
        t, &TLnTransport::DeviceLost, this,
        [this, t](const QString& reason) { HandleDeviceLost(t, reason.toStdString()); }, Qt::QueuedConnection);
    connect(
        t, &TLnTransport::EndOfData, this,
        [this, t] {
            if (t == Transport.get() && OnEndOfData) OnEndOfData(this);
        },
        Qt::QueuedConnection);
    t->SetLogSink([this](std::string_view text) { AddStrToLog(text); });
}

void TLnThreadComm::DestroyHandle()
{
    if (Transport) {
        Transport->Close();
        RetireTransport();
    }
    IsOpen = false;
    ConnectingNow = false;
}

void TLnThreadComm::RetireTransport()
{
    Transport->disconnect(this);
    Transport->SetLogSink({});
    Retired.push_back(std::move(Transport));
    QTimer::singleShot(0, this, [this] { Retired.clear(); });
}

void TLnThreadComm::Open()
{
    std::string error;
    int number = 0;
    const char* format = nullptr;
    {
        std::lock_guard<std::recursive_mutex> guard(CriticalSection);
        if (IsOpen) {
            format = "Port already assigned (open) (Error: %d)";
            number = -1;
        } else {
            LastErrorText.clear();
            Lost = false;
            CreateHandle();
            if (IsOpen) {
                OpenedAt = std::chrono::steady_clock::now();
                Echoes.Clear();
                UpdateCommTimeouts();
                int systemError = 0;
                if (!Transport->ApplyLineSettings(BaudRate, LocoNetInterface, systemError)) {
                    // A port whose settings were refused is not left half set up.
                    DestroyHandle();
                    Raise("Error updating DataControlBlock (Error: %d)", systemError);
                }
                if (LogToFile) {
                    if (!LogStream) LogFile.open(LogFileName, std::ios::out | std::ios::trunc);
                    Logging = LogStream || LogFile.is_open();
                    if (Logging) Assembler.SetLogSink([this](std::string_view text) { AddStrToLog(text); });
                }
                SetDTRState(LocoNetInterface != eMS100);
            }
        }
    }
    if (format) Raise(format, number);
}

void TLnThreadComm::Close()
{
    if (!IsOpen) return;
    std::lock_guard<std::recursive_mutex> guard(CriticalSection);
    LastErrorText.clear();
    Lost = false;
    if (Logging) {
        Assembler.SetLogSink({});
        if (LogFile.is_open()) LogFile.close();
        Logging = false;
    }
    DestroyHandle();
}

bool TLnThreadComm::CheckOpen()
{
    if (IsOpen) Raise("Port already assigned (open) (Error: %d)", -1);
    return false;
}

void TLnThreadComm::SetDTRState(bool on)
{
    EscapeComm(on ? SETDTR : CLRDTR);
}

void TLnThreadComm::EscapeComm(int function)
{
    if (!IsOpen) Raise("Port not open (Error: %d)", -1);
    std::lock_guard<std::recursive_mutex> guard(CriticalSection);
    int systemError = 0;
    bool ok = true;
    switch (function) {
    case SETDTR: ok = Transport->SetDTR(true, systemError); break;
    case CLRDTR: ok = Transport->SetDTR(false, systemError); break;
    default: break; // RTS follows the line settings
    }
    if (!ok) Raise("EscapeCommFunction failure (Error: %d)", systemError);
}

void TLnThreadComm::UpdateDataControlBlock()
{
    if (!IsOpen) return;
    int systemError = 0;
    if (!Transport->ApplyLineSettings(BaudRate, LocoNetInterface, systemError))
        Raise("Error updating DataControlBlock (Error: %d)", systemError);
}

void TLnThreadComm::UpdateDataControlBlockLock()
{
    std::lock_guard<std::recursive_mutex> guard(CriticalSection);
    UpdateDataControlBlock();
}

int TLnThreadComm::Write(const uint8_t* bytes, int count)
{
    if (!IsOpen) return -1;
    std::lock_guard<std::recursive_mutex> guard(CriticalSection);
    if (count <= 0) return 0;
    return static_cast<int>(Transport->Write(bytes, count));
}

int TLnThreadComm::Read(uint8_t* bytes, int count)
{
    if (!IsOpen) return -1;
    std::lock_guard<std::recursive_mutex> guard(CriticalSection);
    if (count <= 0) return 0;
    return static_cast<int>(Transport->Read(bytes, count));
}

bool TLnThreadComm::PartialMsgRead(int count)
{
    bool wasEmpty = RxQueue.empty();
    int n = Read(ReadBuffer.data(), std::min(count, ReadChunk));
    ReadTimeUs = MicrosecondsSinceOpen();
    if (n > 0) Assembler.Feed(ReadBuffer.data(), static_cast<size_t>(n));
    return wasEmpty && !RxQueue.empty();
}

void TLnThreadComm::Kick_Tx()
{
    while (!TxQueue.empty()) {
        TLocoNetMessage& msg = *TxQueue.front();
        int pending = OutQueCount();
        // A message longer than the whole queue still goes once the queue is empty.
        if (pending > 0 && OutQueueSize - pending <= static_cast<int>(msg.GetLength())) break;
        if (Write(msg.GetData(), static_cast<int>(msg.GetLength())) > 0)
            Echoes.Sent(msg.GetData(), msg.GetLength(), MicrosecondsSinceOpen());
        TxQueue.pop_front();
    }
}

void TLnThreadComm::WriteMessage(std::unique_ptr<TLocoNetMessage> message)
{
    if (!message) return;
    TxQueue.push_back(std::move(message));
    Kick_Tx();
}

std::unique_ptr<TLocoNetMessage> TLnThreadComm::ReadMessage(TRxStamp* stamp)
{
    if (RxQueue.empty()) return nullptr;
    TRxEntry entry = std::move(RxQueue.front());
    RxQueue.pop_front();
    if (stamp) *stamp = entry.Stamp;
    return std::move(entry.Message);
}

int64_t TLnThreadComm::MicrosecondsSinceOpen() const
{
    return std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - OpenedAt).count();
}

int TLnThreadComm::InQueCount() const
{
    if (!IsOpen) return -1;
    return static_cast<int>(Transport->BytesAvailable());
}

int TLnThreadComm::OutQueCount() const
{
    if (!IsOpen) return -1;
    return static_cast<int>(Transport->OutputPending());
}

void TLnThreadComm::PurgeIn()
{
    if (!IsOpen) return;
    Transport->PurgeIn();
    ClearRXQueue();
    Assembler.Reset();
}

void TLnThreadComm::PurgeOut()
{
    if (!IsOpen) return;
    Transport->PurgeOut();
    ClearTXQueue();
}

void TLnThreadComm::AddToLog(uint8_t byte)
{
    if (!Logging) return;
    std::string text;
    textformat::AppendHex(text, byte, 1, textformat::EHexCase::Lower);
    text += '\n';
    AddStrToLog(text);
}

void TLnThreadComm::AddStrToLog(std::string_view text)
{
    if (!Logging) return;
    std::ostream& log = LogStream ? *LogStream : LogFile;
    log.write(text.data(), static_cast<std::streamsize>(text.size()));
}

void TLnThreadComm::HandleCommEvent(uint32_t eventMask, int errorFlags)
{
    if ((eventMask & EV_ERR) && OnError) OnError(this, errorFlags);
    if (eventMask & EV_RXCHAR) {
        // Everything waiting is read now, in pieces of at most ReadChunk bytes; the device does
        // not announce bytes that were already waiting a second time.
        int waiting = InQueCount();
        while (waiting > 0) {
            if (PartialMsgRead(waiting) && OnRxMsg) OnRxMsg(this, QueRxMsgCount());
            int left = InQueCount();
            if (left >= waiting) break; // nothing could be read
            waiting = left;
        }
    }
    if (eventMask & EV_TXEMPTY) {
        if (!TxQueue.empty()) {
            Kick_Tx();
        } else if (OnTxEmpty) {
            OnTxEmpty(this);
        }
    }
}

void TLnThreadComm::HandleDeviceLost(TLnTransport* transport, const std::string& reason)
{
    if (transport != Transport.get() || !IsOpen) return;
    // A connection that never came up is an Open that failed, not a lost link.
    const bool wasUp = !ConnectingNow;
    Close();
    LastErrorText = reason.empty() ? "the device went away" : reason;
    Lost = wasUp;
    if (wasUp && OnError) OnError(this, kLnErrIO);
    if (OnConnectionChange) OnConnectionChange(this);
}

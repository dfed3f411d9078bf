#include "link/TcpTransport.h"

#include <charconv>
#include <numeric>

bool TTcpTransport::ParseAddress(const std::string& deviceName, std::string& host, quint16& port, std::string& error)
{
    const std::string prefix = "tcp://";
    if (deviceName.compare(0, prefix.size(), prefix) != 0) {
        error = "'" + deviceName + "' does not start with tcp://";
        return false;
    }
    std::string rest = deviceName.substr(prefix.size());
    while (!rest.empty() && rest.back() == '/') rest.pop_back();
    port = DefaultPort;
    // "[v6 address]:port", "host:port" or "host".
    if (!rest.empty() && rest.front() == '[') {
        auto close = rest.find(']');
        if (close == std::string::npos) {
            error = "missing ] in '" + deviceName + "'";
            return false;
        }
        host = rest.substr(1, close - 1);
        rest = rest.substr(close + 1);
        if (!rest.empty() && rest.front() != ':') {
            error = "unexpected text after ] in '" + deviceName + "'";
            return false;
        }
    } else {
        auto colon = rest.find(':');
        host = rest.substr(0, colon);
        rest = colon == std::string::npos ? std::string() : rest.substr(colon);
    }
    if (host.empty()) {
        error = "no host in '" + deviceName + "'";
        return false;
    }
    if (!rest.empty()) {
        std::string digits = rest.substr(1);
        unsigned value = 0;
        auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
        if (digits.empty() || ec != std::errc() || end != digits.data() + digits.size() || value == 0 ||
            value > 65535) {
            error = "bad port '" + digits + "' in '" + deviceName + "' (1 to 65535)";
            return false;
        }
        port = static_cast<quint16>(value);
    }
    return true;
}

TTcpTransport::TTcpTransport(std::string host, quint16 port) : Host(std::move(host)), PortNumber(port)
{
    ConnectTimer.setSingleShot(true);
    ConnectTimer.setInterval(ConnectTimeoutMs);
    connect(&ConnectTimer, &QTimer::timeout, this, [this] { HandleGone(QStringLiteral("Connection timed out")); });
}

bool TTcpTransport::Open()
{
    Close();
    // Connected anew for every Open, so that nothing of an earlier connection comes through.
    Socket.disconnect(this);
    connect(&Socket, &QTcpSocket::connected, this, &TTcpTransport::HandleConnected);
    connect(&Socket, &QTcpSocket::readyRead, this, &TTcpTransport::HandleReadyRead);
    connect(&Socket, &QTcpSocket::disconnected, this,
            [this] { HandleSocketError(QAbstractSocket::RemoteHostClosedError); });
    connect(&Socket, &QTcpSocket::errorOccurred, this, &TTcpTransport::HandleSocketError);
    State = EState::eConnecting;
    ClosingReason.clear();
    ConnectTimer.start();
    Socket.connectToHost(QString::fromStdString(Host), PortNumber);
    return State != EState::eClosed; // false when it failed at once (LastError says why)
}

void TTcpTransport::HandleConnected()
{
    if (State != EState::eConnecting) return;
    ConnectTimer.stop();
    Socket.setSocketOption(QAbstractSocket::LowDelayOption, 1);
    State = EState::eConnected;
    emit Connected();
}

void TTcpTransport::Close()
{
    State = EState::eClosed;
    ConnectTimer.stop();
    Socket.disconnect(this);
    Socket.abort();
    Input.clear();
    InputPos = 0;
    InFlight.clear();
    IgnoreAcks = 0;
    Splitter.Reset();
}

void TTcpTransport::HandleSocketError(QAbstractSocket::SocketError error)
{
    // Before the connection is up the system's words say why it could not be made ("Connection
    // refused"); afterwards what happened is said plainly.
    if (State != EState::eConnected) {
        HandleGone(Socket.errorString());
    } else if (error == QAbstractSocket::RemoteHostClosedError) {
        QString reason = QStringLiteral("the server closed the connection");
        if (!ClosingReason.empty()) reason += QStringLiteral(": ") + QString::fromStdString(ClosingReason);
        HandleGone(reason);
    } else {
        HandleGone(QStringLiteral("the network connection to the server broke"));
    }
}

void TTcpTransport::HandleGone(const QString& reason)
{
    if (State == EState::eClosed) return;
    State = EState::eClosed;
    ConnectTimer.stop();
    SetLastError(reason.toStdString());
    emit DeviceLost(reason);
}

int64_t TTcpTransport::Read(uint8_t* bytes, int64_t count)
{
    int64_t n = std::min<int64_t>(count, Input.size() - InputPos);
    std::copy_n(Input.constData() + InputPos, n, reinterpret_cast<char*>(bytes));
    InputPos += n;
    if (InputPos == Input.size()) {
        Input.clear();
        InputPos = 0;
    }
    return n;
}

int64_t TTcpTransport::Write(const uint8_t* bytes, int64_t count)
{
    if (State == EState::eClosed) return -1;
    std::string line = FormatLbSend(bytes, static_cast<size_t>(count));
    if (Socket.write(line.data(), static_cast<qint64>(line.size())) < 0) return -1;
    InFlight.push_back(count);
    return count;
}

int64_t TTcpTransport::OutputPending() const
{
    return std::accumulate(InFlight.begin(), InFlight.end(), int64_t{0});
}

void TTcpTransport::PurgeIn()
{
    Input.clear();
    InputPos = 0;
}

void TTcpTransport::PurgeOut()
{
    IgnoreAcks += static_cast<int>(InFlight.size());
    InFlight.clear();
}

void TTcpTransport::HandleReadyRead()
{
    QByteArray chunk = Socket.readAll();
    Lines.clear();
    Splitter.Feed(reinterpret_cast<const uint8_t*>(chunk.constData()), static_cast<size_t>(chunk.size()), Lines);
    for (const auto& line : Lines) {
        HandleLine(line);
        if (State == EState::eClosed) return;
    }
    FlushInput();
}

void TTcpTransport::FlushInput()
{
    if (Input.size() > InputPos) emit DataArrived();
}

void TTcpTransport::HandleLine(const TLbLine& line)
{
    switch (line.Kind) {
    case ELbLineKind::eReceive:
        Input.append(reinterpret_cast<const char*>(line.Bytes.data()), static_cast<qsizetype>(line.Bytes.size()));
        return;
    case ELbLineKind::eSentOk:
    case ELbLineKind::eSentError:
        if (line.Kind == ELbLineKind::eSentError) {
            FlushInput(); // keep the log in the order of the lines
            LogLine(line.Line);
            emit LineError(kLnErrRefused);
        }
        if (IgnoreAcks > 0) {
            --IgnoreAcks;
        } else if (!InFlight.empty()) {
            InFlight.pop_front();
            if (InFlight.empty()) emit OutputEmpty();
        }
        return;
    case ELbLineKind::eVersion: Version = line.Text; [[fallthrough]];
    case ELbLineKind::eError:
        if (std::string why = LbClosingReason(line); !why.empty()) ClosingReason = std::move(why);
        [[fallthrough]];
    default:
        FlushInput();
        LogLine(line.Line);
        return;
    }
}

#include "link/SerialTransport.h"

#include <cerrno>
#include <unistd.h>

namespace {

// Errors by which a device says it has no modem lines (a pseudo-terminal, for example).
bool IsNoModemLines(int error)
{
    return error == ENOTTY || error == EINVAL || error == EOPNOTSUPP || error == ENOSYS;
}

} // namespace

TSerialTransport::TSerialTransport(const std::string& deviceName)
    : Location(deviceName.rfind('/', 0) == 0 ? deviceName : "/dev/" + deviceName)
{
    Port.setPortName(QString::fromStdString(deviceName));
    connect(&Port, &QSerialPort::readyRead, this, &TLnTransport::DataArrived);
    connect(&Port, &QSerialPort::bytesWritten, this, [this](qint64) {
        if (Port.bytesToWrite() == 0) emit OutputEmpty();
    });
    connect(&Port, &QSerialPort::errorOccurred, this, &TSerialTransport::HandleError);
}

bool TSerialTransport::Open()
{
    Lost = false;
    if (!Port.open(QIODevice::ReadWrite)) {
        // Qt reports a device that another program holds locked as a permission error; say so
        // when the permissions themselves are fine.
        if (Port.error() == QSerialPort::PermissionError && ::access(Location.c_str(), R_OK | W_OK) == 0)
            SetLastError("the device is in use by another program");
        else
            SetLastError(Port.errorString().toStdString());
        Port.clearError();
        return false;
    }
    Port.setReadBufferSize(0); // the kernel holds what we have not read yet
    return true;
}

void TSerialTransport::Close()
{
    if (Port.isOpen()) Port.close();
}

bool TSerialTransport::ApplyLineSettings(TBaudRate rate, ELocoNetInterface kind, int& systemError)
{
    if (!Port.isOpen()) return true;
    errno = 0;
    bool ok = Port.setBaudRate(BaudRateValue(rate)) && Port.setDataBits(QSerialPort::Data8) &&
              Port.setParity(QSerialPort::NoParity) && Port.setStopBits(QSerialPort::OneStop);
    if (ok) {
        // The LocoBuffer and the PR3 pace us with CTS; the MS100 has no handshake and takes its
        // power from RTS, which is held on.
        if (kind == eMS100) {
            ok = Port.setFlowControl(QSerialPort::NoFlowControl);
            // A device without modem lines has no RTS to hold on; that is not a failure.
            if (ok) Port.setRequestToSend(true);
        } else {
            ok = Port.setFlowControl(QSerialPort::HardwareControl);
        }
    }
    if (!ok) systemError = errno != 0 ? errno : static_cast<int>(Port.error());
    Port.clearError();
    return ok;
}

bool TSerialTransport::SetDTR(bool on, int& systemError)
{
    if (!Port.isOpen()) return true;
    errno = 0;
    if (Port.setDataTerminalReady(on)) return true;
    int error = errno;
    Port.clearError();
    if (IsNoModemLines(error)) return true;
    systemError = error != 0 ? error : static_cast<int>(Port.error());
    return false;
}

int64_t TSerialTransport::BytesAvailable() const
{
    return Port.bytesAvailable();
}

int64_t TSerialTransport::Read(uint8_t* bytes, int64_t count)
{
    return Port.read(reinterpret_cast<char*>(bytes), count);
}

int64_t TSerialTransport::Write(const uint8_t* bytes, int64_t count)
{
    if (Lost) return -1;
    return Port.write(reinterpret_cast<const char*>(bytes), count);
}

int64_t TSerialTransport::OutputPending() const
{
    return Port.bytesToWrite();
}

void TSerialTransport::PurgeIn()
{
    Port.clear(QSerialPort::Input);
}

void TSerialTransport::PurgeOut()
{
    Port.clear(QSerialPort::Output);
}

void TSerialTransport::HandleError(QSerialPort::SerialPortError error)
{
    switch (error) {
    case QSerialPort::NoError:
    case QSerialPort::TimeoutError: return;
    case QSerialPort::ResourceError:
    case QSerialPort::ReadError:
    case QSerialPort::WriteError:
    case QSerialPort::PermissionError:
    case QSerialPort::DeviceNotFoundError:
    case QSerialPort::UnknownError:
        // The system's words here ("Inappropriate ioctl for device") tell a user nothing.
        if (Port.isOpen() && !Lost) {
            Lost = true;
            emit DeviceLost(QStringLiteral("the device went away"));
        }
        return;
    default:
        // Settings errors are reported where the settings are made.
        return;
    }
}

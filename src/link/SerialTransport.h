#pragma once
// A serial device (/dev/ttyUSB0, /dev/ttyACM0, COM3) through QSerialPort.

#include "link/LnTransport.h"

#include <QSerialPort>

class TSerialTransport : public TLnTransport {
    Q_OBJECT
public:
    explicit TSerialTransport(const std::string& deviceName);

    bool Open() override;
    void Close() override;
    bool IsOpen() const override { return Port.isOpen(); }
    bool ApplyLineSettings(TBaudRate rate, ELocoNetInterface kind, int& systemError) override;
    bool SetDTR(bool on, int& systemError) override;
    int64_t BytesAvailable() const override;
    int64_t Read(uint8_t* bytes, int64_t count) override;
    int64_t Write(const uint8_t* bytes, int64_t count) override;
    int64_t OutputPending() const override;
    void PurgeIn() override;
    void PurgeOut() override;

private:
    void HandleError(QSerialPort::SerialPortError error);

    std::string Location; // the device file, as Qt finds it ("Com1" is /dev/Com1)
    QSerialPort Port;
    bool Lost = false;
};

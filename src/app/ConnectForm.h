#pragma once
// The connection window: port, baud rate and interface kind; re-opens the main window's link.

#include <QStringList>
#include <QWidget>

#include <functional>

class QComboBox;
class QPushButton;
class QRadioButton;
class QButtonGroup;
class TLocoNetComm;

class TConnectForm : public QWidget {
    Q_OBJECT
public:
    using TPortLister = std::function<QStringList()>;
    using TStatusSetter = std::function<void(const QString&)>;

    // `setStatus` gives the main window's connection text for the link once it is open, the port
    // and the interface as at start-up (the main window says instead when it is connecting or could
    // not be opened, and why); `listPorts`
    // gives the system's serial ports (by default from QSerialPortInfo).
    TConnectForm(TLocoNetComm& link, TStatusSetter setStatus, QWidget* parent = nullptr, TPortLister listPorts = {});

    QComboBox* ComCombo = nullptr;
    QPushButton* ConnectButton = nullptr;
    QComboBox* BaudRateBox = nullptr;
    QButtonGroup* InterfaceButtons = nullptr; // a radio button for each ELocoNetInterface, by value

    int InterfaceIndex() const;
    void SetInterfaceIndex(int index);

    void FormShow();
    void FormActivate();
    void InterfaceTypeClick();
    void ConnectButtonClick();

    static QStringList SystemPorts();

protected:
    void showEvent(QShowEvent* event) override;
    bool event(QEvent* event) override;

private:
    TLocoNetComm& Link;
    TStatusSetter SetStatus;
    TPortLister ListPorts;
};

#pragma once
// The connection window: port, baud rate and interface kind; re-opens the main window's link.

#include <QStringList>
#include <QWidget>

#include <functional>

class QComboBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QButtonGroup;
class QGroupBox;
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

    QPushButton* BitBtn1 = nullptr;
    QComboBox* ComCombo = nullptr;
    QLabel* Label1 = nullptr;
    QPushButton* ConnectButton = nullptr;
    QComboBox* BaudRateBox = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* Label5 = nullptr;
    QLabel* Label6 = nullptr;
    QLabel* Label7 = nullptr;
    QLabel* Label8 = nullptr;
    QGroupBox* InterfaceType = nullptr;
    QButtonGroup* InterfaceButtons = nullptr;
    QPushButton* HelpButton = nullptr;
    QLabel* Label9 = nullptr;
    QLabel* Label10 = nullptr;

    int InterfaceIndex() const;
    void SetInterfaceIndex(int index);

    void FormShow();
    void FormActivate();
    void InterfaceTypeClick();
    void ConnectButtonClick();

    static QStringList SystemPorts();
    static constexpr int kHelpContext = 2;

protected:
    void showEvent(QShowEvent* event) override;
    bool event(QEvent* event) override;

private:
    TLocoNetComm& Link;
    TStatusSetter SetStatus;
    TPortLister ListPorts;
};

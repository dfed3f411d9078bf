#include "app/ConnectForm.h"

#include "link/LnThreadComm.h"
#include "widgets/DialogSeam.h"
#include "widgets/FormTools.h"
#include "widgets/HelpContexts.h"
#include "widgets/HelpViewer.h"
#include "widgets/KeyboardAccess.h"

#include <QAbstractItemView>
#include <QButtonGroup>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSerialPortInfo>
#include <QVBoxLayout>

#include <iterator>

TConnectForm::TConnectForm(TLocoNetComm& link, TStatusSetter setStatus, QWidget* parent, TPortLister listPorts)
    : QWidget(parent), Link(link), SetStatus(std::move(setStatus)),
      ListPorts(listPorts ? std::move(listPorts) : TPortLister(SystemPorts))
{
    setObjectName(QStringLiteral("ConnectForm"));
    setWindowTitle(QStringLiteral("LocoNet Connection"));
    SetHelpContext(this, hcConnection);
    auto label = [this](const QString& name, const QString& text) {
        auto* l = new QLabel(text, this);
        l->setObjectName(name);
        return l;
    };

    auto* closeButton = new QPushButton(QStringLiteral("&Close"), this);
    closeButton->setObjectName(QStringLiteral("BitBtn1"));
    ComCombo = new QComboBox(this);
    ComCombo->setObjectName(QStringLiteral("ComCombo"));
    ComCombo->setEditable(true);
    ComCombo->setInsertPolicy(QComboBox::NoInsert);
    ComCombo->addItems(
        {QStringLiteral("Com1"), QStringLiteral("Com2"), QStringLiteral("Com3"), QStringLiteral("Com4")});
    ComCombo->setCurrentIndex(0);
    ComCombo->setToolTip(
        QStringLiteral("A serial port, tcp://HOST:PORT for a LocoNet server, or sim for the simulated LocoNet"));
    // Room for a long device name; a longer one shows its start, and the list shows its middle cut.
    ComCombo->setMinimumContentsLength(30);
    ComCombo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    ComCombo->view()->setTextElideMode(Qt::ElideMiddle);
    QLabel* portLabel = label("Label1", QStringLiteral("Com port"));
    ConnectButton = new QPushButton(QStringLiteral("Connect"), this);
    ConnectButton->setObjectName(QStringLiteral("ConnectButton"));
    BaudRateBox = new QComboBox(this);
    BaudRateBox->setObjectName(QStringLiteral("BaudRateBox"));
    BaudRateBox->addItems({QStringLiteral("16457"), QStringLiteral("19200"), QStringLiteral("57600")});
    BaudRateBox->setCurrentIndex(0);
    QLabel* baudLabel = label("Label2", QStringLiteral("baud rate"));
    auto* interfaceGroup = new QGroupBox(QStringLiteral("Interface"), this);
    interfaceGroup->setObjectName(QStringLiteral("InterfaceType"));
    InterfaceButtons = new QButtonGroup(this);
    auto* radios = new QVBoxLayout(interfaceGroup);
    const char* kinds[] = {"MS100", "LocoBuffer", "PR3"};
    for (int i = 0; i < 3; ++i) {
        auto* radio = new QRadioButton(QString::fromLatin1(kinds[i]), interfaceGroup);
        InterfaceButtons->addButton(radio, i);
        radios->addWidget(radio);
    }
    InterfaceButtons->button(0)->setChecked(true);
    auto* helpButton = new QPushButton(QStringLiteral("&Help"), this);
    helpButton->setObjectName(QStringLiteral("HelpButton"));
    portLabel->setBuddy(ComCombo);
    baudLabel->setBuddy(BaudRateBox);

    auto* top = new QGridLayout;
    top->addWidget(portLabel, 0, 0);
    top->addWidget(ComCombo, 1, 0);
    top->addWidget(baudLabel, 0, 1);
    top->addWidget(BaudRateBox, 1, 1);
    top->addWidget(interfaceGroup, 0, 2, 3, 1);
    top->addWidget(ConnectButton, 2, 0, 1, 2);
    // How to set up the interface, under the controls.
    const char* const notes[] = {"LocoBuffer 1 Jumper Settings:",
                                 "JP4, JP5: 1-2 always",
                                 "16457 baud: JP3 1-2, JP1 don't care",
                                 "19200 baud: JP3 2-3, JP1 1-2",
                                 "57600 baud: JP3 2-3, JP1 2-3 (recommended)",
                                 "JP2: 2-3 recommended",
                                 "For PR3 and USB LocoBuffer, choose baud rate = 57600",
                                 "PR3 must be in \"MS100\" mode (green LED winks)"};
    auto* noteRows = new QVBoxLayout;
    for (int i = 0; i < int(std::size(notes)); ++i)
        noteRows->addWidget(label(QStringLiteral("Label%1").arg(i + 3), QString::fromLatin1(notes[i])));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(helpButton);
    buttons->addStretch(1);
    buttons->addWidget(closeButton);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(noteRows);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    SetUpKeyboardAccess(this);

    connect(closeButton, &QPushButton::clicked, this, [this] { CloseForm(this); });
    connect(ConnectButton, &QPushButton::clicked, this, &TConnectForm::ConnectButtonClick);
    connect(InterfaceButtons, &QButtonGroup::idClicked, this, [this](int) { InterfaceTypeClick(); });
    connect(helpButton, &QPushButton::clicked, this, [] { ShowHelpContext(hcConnection); });
}

QStringList TConnectForm::SystemPorts()
{
    QStringList ports;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) ports << info.systemLocation();
    return ports;
}

int TConnectForm::InterfaceIndex() const
{
    return InterfaceButtons->checkedId();
}

void TConnectForm::SetInterfaceIndex(int index)
{
    if (QAbstractButton* b = InterfaceButtons->button(index)) b->setChecked(true);
}

void TConnectForm::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    FormShow();
    FormActivate();
}

bool TConnectForm::event(QEvent* event)
{
    if (event->type() == QEvent::WindowActivate) FormActivate();
    return QWidget::event(event);
}

void TConnectForm::FormShow()
{
    const QStringList ports = ListPorts ? ListPorts() : QStringList();
    if (!ports.isEmpty()) {
        ComCombo->clear();
        ComCombo->addItems(ports);
    }
    InterfaceTypeClick();
}

void TConnectForm::FormActivate()
{
    if (!Link.Enabled()) return;
    ComCombo->setEditText(QString::fromStdString(Link.GetDeviceName()));
    ComCombo->lineEdit()->setCursorPosition(0);
    BaudRateBox->setCurrentIndex(static_cast<int>(Link.GetBaudRate()));
    SetInterfaceIndex(static_cast<int>(Link.GetLocoNetInterface()));
    InterfaceTypeClick();
}

void TConnectForm::InterfaceTypeClick()
{
    switch (InterfaceIndex()) {
    case 0:
        BaudRateBox->setCurrentIndex(0);
        BaudRateBox->setEnabled(false);
        break;
    case 2:
        BaudRateBox->setCurrentIndex(2);
        BaudRateBox->setEnabled(false);
        break;
    default: BaudRateBox->setEnabled(true); break;
    }
}

void TConnectForm::ConnectButtonClick()
{
    const int kind = InterfaceIndex();
    try {
        if (Link.Enabled()) Link.Close();
        Link.SetDeviceName(ComCombo->currentText().trimmed().toStdString());
        Link.SetBaudRate(static_cast<TBaudRate>(BaudRateBox->currentIndex()));
        Link.SetLocoNetInterface(static_cast<ELocoNetInterface>(kind));
        Link.Open();
    } catch (const std::exception& e) {
        ShowMessageBox(this, QStringLiteral("Railscope"), QString::fromStdString(e.what()), QMessageBox::Ok, true);
        return;
    }
    // The link is open (or being reached) now, with these choices: the status line says so as it
    // does at start-up, with the port and the interface, or says why the port did not open.
    const char* names[] = {"MS100", "LocoBuffer", "PR3"};
    if (SetStatus)
        SetStatus(QString::fromStdString(Link.GetDeviceName()) + QStringLiteral(": ") +
                  QString::fromLatin1(names[kind >= 0 && kind < 3 ? kind : 0]));
    // Only a port that could not be opened waits for the next start, which opens it again.
    if (!Link.Enabled() && !Link.Connecting())
        ShowMessageBox(this, QStringLiteral("Connect:"),
                       QStringLiteral("Effect will take place when application is next run"), QMessageBox::Ok);
}

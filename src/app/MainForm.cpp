#include "app/MainForm.h"

#include "app/ConnectForm.h"
#include "app/GeneratorForms.h"
#include "app/SpeedometerForm.h"
#include "buildstamp/AboutBox.h"
#include "link/LnThreadComm.h"
#include "messages/LNPeerXferMessage.h"
#include "messages/LNSensFBMessage.h"
#include "messages/MessageText.h"
#include "monitor/DisplayForm.h"
#include "sim/SimTransport.h"
#include "svprog/SVProgMessage.h"
#include "widgets/DialogSeam.h"
#include "widgets/FormTools.h"
#include "widgets/HelpContexts.h"
#include "widgets/HelpViewer.h"
#include "widgets/SpinEdit.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QMessageBox>
#include <QScreen>
#include <QSettings>
#include <QStatusBar>
#include <QTimer>

#include <algorithm>

const char* const TMainForm::kInterfaceNames[3] = {"MS100", "LocoBuffer", "PR3"};

namespace {

// Shown on a first start, until a connection is chosen.
const char* const kConnectHint =
    "To connect: File / Connect..., then your interface's port, or \"sim\" to try Railscope on a simulated LocoNet";

// An integer setting; `fallback` when missing or not a number.
int ReadInt(QSettings& settings, const QString& key, int fallback)
{
    bool ok = false;
    const int value = settings.value(key, fallback).toInt(&ok);
    return ok ? value : fallback;
}

bool IsVisibleWindow(const QWidget* w)
{
    return w && w->isVisible();
}

// Brings a child window forward, restored when it was minimised.
void ShowChildWindow(QWidget* form)
{
    auto* frame = qobject_cast<QMdiSubWindow*>(form->parentWidget());
    if (!frame) return;
    if (frame->isMinimized()) frame->showNormal();
    if (QMdiArea* area = frame->mdiArea()) area->setActiveSubWindow(frame);
}

} // namespace

TMainForm::TMainForm(TOptions options, QWidget* parent) : QMainWindow(parent), Options(std::move(options))
{
    setObjectName(QStringLiteral("MainForm"));
    setWindowTitle(QStringLiteral("Railscope"));
    SetHelpContext(this, hcMain);
    InstallHelpKey();
    SizeToScreen();

    LocoNetComm1 = std::make_unique<TLocoNetComm>(this);
    LocoNetComm1->setObjectName(QStringLiteral("LocoNetComm1"));
    UseSimulatedLocoNet(*LocoNetComm1);
    LocoNetComm1->SetDeviceName("Com1");
    LocoNetComm1->SetBaudRate(br16457);
    LocoNetComm1->OnRxMsg = [this](TLnThreadComm*, uint32_t count) { LocoNetComm1RxMsg(count); };
    LocoNetComm1->OnConnectionChange = [this](TLnThreadComm*) { LinkStateChanged(); };
    Sender = [this](std::unique_ptr<TLocoNetMessage> message) { LocoNetComm1->WriteMessage(std::move(message)); };

    MdiArea = new QMdiArea(this);
    MdiArea->setObjectName(QStringLiteral("MdiArea"));
    MdiArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    MdiArea->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(MdiArea);

    OpenFileDialog = new QFileDialog(this, QString(), QDir::homePath(), QStringLiteral("*.csv"));
    OpenFileDialog->setObjectName(QStringLiteral("OpenFileDialog"));
    OpenFileDialog->setDefaultSuffix(QStringLiteral("csv"));
    OpenFileDialog->setAcceptMode(QFileDialog::AcceptOpen);
    OpenFileDialog->setFileMode(QFileDialog::ExistingFile);
    SaveFileDialog = new QFileDialog(this, QString(), QDir::homePath(), QStringLiteral("*.csv"));
    SaveFileDialog->setObjectName(QStringLiteral("SaveFileDialog"));
    SaveFileDialog->setDefaultSuffix(QStringLiteral("csv"));
    SaveFileDialog->setAcceptMode(QFileDialog::AcceptSave);

    BuildMenus();
    BuildStatusLine();

    // Windows made once and kept for the whole run.
    AboutBox = new TAboutBox(this);
    SpeedometerForm = new TSpeedometerForm(this, Options.Clock);
}

TMainForm::~TMainForm()
{
    // The child windows are destroyed after this object; they must no longer reach it.
    for (const TSVForm* form : SVForms())
        if (form->Form) disconnect(form->Form, nullptr, this, nullptr);
    for (const QPointer<TDisplayForm>& monitor : Monitors)
        if (monitor) disconnect(monitor, nullptr, this, nullptr);
    // Close the link before the windows that routing talks to go away.
    if (LocoNetComm1) {
        LocoNetComm1->OnRxMsg = nullptr;
        LocoNetComm1->OnConnectionChange = nullptr;
        LocoNetComm1->Close();
    }
    // The child windows go now, while the board list they work on and the flags they clear on
    // the way out still exist.
    delete MdiArea;
    MdiArea = nullptr;
}

void TMainForm::SizeToScreen()
{
    // Room for the largest child windows (the board list window with a board description
    // 30 pixels beside it) on a 1366x768 screen, leaving space for the window's frame; never
    // larger than the screen.
    const QRect available = screen()->availableGeometry();
    resize(std::min(1240, available.width() - 40), std::min(860, available.height() - 60));
    move(available.topLeft() + QPoint((available.width() - width()) / 2, 10));
}

void TMainForm::BuildMenus()
{
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    AddMenuAction(file, "&Connect...", this, &TMainForm::Connect1Click, "Connect1");
    AddMenuAction(file, "E&xit", this, &TMainForm::Exit1Click, "Exit1");
    QMenu* configure = menuBar()->addMenu(QStringLiteral("&Configure"));
    RenumberBoards1 =
        AddMenuAction(configure, "&Renumber Boards", this, &TMainForm::RenumberBoards1Click, "RenumberBoards1");
    ConfigureBoards1 =
        AddMenuAction(configure, "&Configure Boards", this, &TMainForm::ConfigureBoards1Click, "ConfigureBoards1");
    CheckLayout1 = AddMenuAction(configure, "Check &Layout", this, &TMainForm::CheckLayout1Click, "CheckLayout1");
    QMenu* layout = menuBar()->addMenu(QStringLiteral("&Display layout"));
    AddMenuAction(layout, "Speedometer", this, &TMainForm::Speedometer1Click, "Speedometer1");
    QMenu* debug = menuBar()->addMenu(QStringLiteral("&LocoNet Debug"));
    AddMenuAction(debug, "&Message Display", this, &TMainForm::MessageDisplay1Click, "MessageDisplay1");
    QMenu* generate = debug->addMenu(QStringLiteral("&Generate"));
    AddMenuAction(generate, "SWR&Q", this, &TMainForm::SWRQ1Click, "SWRQ1");
    AddMenuAction(generate, "&Arbitrary Message", this, &TMainForm::ArbitraryMessage1Click, "ArbitraryMessage1");
    AddMenuAction(generate, "&Sensor Feedback Message", this, &TMainForm::SensorFeedbackMessage1Click,
                  "SensorFeedbackMessage1");
    AddMenuAction(debug, "Track Power &On", this, &TMainForm::TrackPowerOn1Click, "TrackPowerOn1");
    AddMenuAction(debug, "Track Power O&ff", this, &TMainForm::TrackPowerOff1Click, "TrackPowerOff1");
    AddMenuAction(debug, "&Query LocoBuffer", this, &TMainForm::QueryLocoBuffer1Click, "QueryLocoBuffer1");
    QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
    AddMenuAction(help, "&Help", this, &TMainForm::Help2Click, "Help2");
    AddMenuAction(help, "&About....", this, &TMainForm::About1Click, "About1");
}

void TMainForm::BuildStatusLine()
{
    auto label = [this](const char* name, const char* text) {
        auto* l = new QLabel(QString::fromLatin1(text), this);
        l->setObjectName(QString::fromLatin1(name));
        return l;
    };
    StatusConnect = label("StatusConnect", "Not Connected");
    InterfaceStatus = label("InterfaceStatus", "");
    QLabel* countCaption = label("Label2", "No. Messages received: ");
    MsgNum = label("MsgNum", "0");
    // Of a fixed size, room for ten digits: the count changes with every batch of messages, and a
    // label that may change size has the whole status line laid out and painted again each time.
    MsgNum->setFixedSize(std::max(70, MsgNum->fontMetrics().horizontalAdvance(QStringLiteral("00000000000"))),
                         MsgNum->sizeHint().height());
    ProgStatus = new QLineEdit(QStringLiteral("ProgStatus"), this);
    ProgStatus->setObjectName(QStringLiteral("ProgStatus"));
    ProgStatus->setReadOnly(true);
    ProgStatus->setMinimumWidth(260);
    statusBar()->addWidget(StatusConnect);
    statusBar()->addWidget(InterfaceStatus);
    statusBar()->addWidget(countCaption);
    statusBar()->addWidget(MsgNum);
    statusBar()->addWidget(ProgStatus, 1);
}

QAction* TMainForm::FindAction(const QString& menuPath) const
{
    const QStringList parts = menuPath.split(QLatin1Char('/'));
    QList<QAction*> actions = menuBar()->actions();
    QAction* found = nullptr;
    for (const QString& part : parts) {
        found = nullptr;
        for (QAction* a : actions)
            if (a->text() == part) found = a;
        if (!found) return nullptr;
        actions = found->menu() ? found->menu()->actions() : QList<QAction*>();
    }
    return found;
}

std::unique_ptr<QSettings> TMainForm::OpenSettings() const
{
    if (!Options.SettingsFile.isEmpty()) return std::make_unique<QSettings>(Options.SettingsFile, QSettings::IniFormat);
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                       QStringLiteral("brenmoor electronics"), QStringLiteral("railscope"));
}

void TMainForm::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    // Start-up runs once the window is up, as its first activation.
    if (!StartUpDone && !StartUpQueued) {
        StartUpQueued = true;
        QTimer::singleShot(0, this, &TMainForm::FormActivate);
    }
}

bool TMainForm::event(QEvent* event)
{
    if (event->type() == QEvent::WindowActivate && !StartUpDone) FormActivate();
    return QMainWindow::event(event);
}

void TMainForm::FormActivate()
{
    // Start-up runs once, even when the port could not be opened (running it again would load
    // the board files a second time).
    if (StartUpDone) return;
    StartUpDone = true;

    HelpFileName = THelpViewer::HelpFile();
    NoFilesGiven = false;
    for (int i = 1; i < Options.Arguments.size(); ++i)
        if (Options.Arguments[i].toLower() == QLatin1String("nofiles")) NoFilesGiven = true;

    std::unique_ptr<QSettings> settings = OpenSettings();
    const QStringList sections = settings->childGroups();
    ELocoNetInterface kind = LocoNetComm1->GetLocoNetInterface();
    QString connectText;
    if (sections.contains(QStringLiteral("Connection"))) {
        settings->beginGroup(QStringLiteral("Connection"));
        const QString port = settings->value(QStringLiteral("ComPort"), QStringLiteral("Com1")).toString();
        int baud = ReadInt(*settings, QStringLiteral("Baud"), 0);
        int face = ReadInt(*settings, QStringLiteral("Interface"), 0);
        settings->endGroup();
        // Values outside the lists fall back to the defaults.
        if (baud < 0 || baud > 2) baud = 0;
        if (face < 0 || face > 2) face = 0;
        kind = static_cast<ELocoNetInterface>(face);
        LocoNetComm1->SetDeviceName(port.toStdString());
        LocoNetComm1->SetBaudRate(static_cast<TBaudRate>(baud));
        LocoNetComm1->SetLocoNetInterface(kind);
        connectText = QString::fromStdString(LocoNetComm1->GetDeviceName()) + QStringLiteral(": ");
        try {
            LocoNetComm1->Open();
        } catch (const std::exception& e) {
            ShowMessageBox(this, QStringLiteral("Railscope"), QString::fromStdString(e.what()), QMessageBox::Ok, true);
            return;
        }
        connectText += QString::fromLatin1(kInterfaceNames[face]);
        InterfaceStatus->setText(kind == eLocoBuffer ? QStringLiteral("Not detected yet") : QString());
        ShowLinkStatus(connectText);
    } else {
        StatusConnect->setText(QStringLiteral("Not Initialised"));
        ProgStatus->setText(QString::fromLatin1(kConnectHint));
    }

    if (sections.contains(QStringLiteral("SpeedometerForm"))) ReadSpeedometerSettings(*settings);

    if (!NoFilesGiven && sections.contains(QStringLiteral("Filenames"))) {
        settings->beginGroup(QStringLiteral("Filenames"));
        QStringList loadErrors;
        for (int type = 0; type < kBoardTypeCount; ++type) {
            const QString name = settings->value(QString::fromStdString(TBoardData::GetTypeName(type))).toString();
            if (name.isEmpty() || BoardData.LoadFile(type, name.toStdString())) continue;
            // A file that cannot be read leaves the list empty and is not taken as the list's file,
            // so that a save cannot replace what it holds; its name stays in the settings.
            loadErrors << QString::fromStdString(BoardData.GetLastError());
            BoardData.CloseFile(type);
            UnloadedFiles[size_t(type)] = name;
        }
        settings->endGroup();
        if (!loadErrors.isEmpty()) ReportLoadErrors(loadErrors);
    }

    if (sections.contains(QStringLiteral("Connection")) && kind == eLocoBuffer) InterrogateLocoBuffer();
}

void TMainForm::ReportLoadErrors(const QStringList& errors)
{
    ProgStatus->setText(errors.size() == 1 ? errors.constFirst()
                                           : QStringLiteral("%1 board files could not be loaded").arg(errors.size()));
    ProgStatus->setCursorPosition(0);
    ProgStatus->setToolTip(errors.join(QLatin1Char('\n')));
    const QString text = QStringLiteral("These board files could not be loaded:\n\n%1\n\nEach file is left as it is. "
                                        "Mend it, then open it from Configure Boards (File / Open...).")
                             .arg(errors.join(QStringLiteral("\n\n")));
    // Told from the event loop, where reception goes on while the box is open.
    QTimer::singleShot(
        0, this, [this, text] { ShowMessageBox(this, QStringLiteral("Railscope"), text, QMessageBox::Ok, true); });
}

void TMainForm::ReadSpeedometerSettings(QSettings& settings)
{
    settings.beginGroup(QStringLiteral("SpeedometerForm"));
    const int scale = ReadInt(settings, QStringLiteral("SpeedoScale"), 0);
    const int units = ReadInt(settings, QStringLiteral("SpeedoUnits"), 0);
    // A stored index outside the lists leaves the list as it is.
    if (scale >= 0 && scale < SpeedometerForm->ScaleCombo->count()) SpeedometerForm->ScaleCombo->setCurrentIndex(scale);
    if (units >= 0 && units < SpeedometerForm->OutputUnitsCombo->count())
        SpeedometerForm->OutputUnitsCombo->setCurrentIndex(units);
    SpeedometerForm->LengthEdit->setText(
        settings.value(QStringLiteral("SpeedLength"), QStringLiteral("1.0")).toString());
    SpeedometerForm->StartBoardEdit->SetValue(ReadInt(settings, QStringLiteral("Sens1Board"), 1));
    SpeedometerForm->StartSensEdit->SetValue(ReadInt(settings, QStringLiteral("Sens1Sens"), 1));
    SpeedometerForm->StopBoardEdit->SetValue(ReadInt(settings, QStringLiteral("Sens2Board"), 1));
    SpeedometerForm->StopSensEdit->SetValue(ReadInt(settings, QStringLiteral("Sens2Sens"), 2));
    settings.endGroup();
    SpeedometerForm->UpdateParams();
}

void TMainForm::ShowLinkStatus(const QString& openText)
{
    LinkOpenText = openText;
    const TLocoNetComm& link = *LocoNetComm1;
    const QString device = QString::fromStdString(link.GetDeviceName());
    const QString reason = QString::fromStdString(link.LastError());
    QString text;
    if (link.Connecting())
        text = QStringLiteral("Connecting to %1 ...").arg(device);
    else if (link.Enabled())
        text = openText;
    else if (reason.isEmpty())
        text = QStringLiteral("Not Connected");
    else if (link.WasLost())
        text = QStringLiteral("Connection lost: %1: %2").arg(device, reason);
    else
        text = QStringLiteral("Not Connected: %1: %2").arg(device, reason);
    // A long device name (the demo's simulated bus names every board) is shortened in the middle,
    // so the interface and the reason stay in sight; the tool tip holds the whole text.
    QString shown = text;
    if (device.size() > 48) shown.replace(device, device.left(24) + QChar(0x2026) + device.right(20));
    StatusConnect->setText(shown);
    StatusConnect->setToolTip(text);
}

void TMainForm::LinkStateChanged()
{
    ShowLinkStatus(LinkOpenText);
    if (!LocoNetComm1->WasLost() || LossBoxShowing) return;
    for (const TSVForm* form : SVForms())
        if (form->IsOpen()) form->Replies->LinkLost();
    // Told from the event loop, once: the link stays closed until the user connects again.
    LossBoxShowing = true;
    const QString text =
        QStringLiteral("The connection to %1 was lost: %2\n\nChoose File / Connect... to connect again.")
            .arg(QString::fromStdString(LocoNetComm1->GetDeviceName()),
                 QString::fromStdString(LocoNetComm1->LastError()));
    QTimer::singleShot(0, this, [this, text] {
        ShowMessageBox(this, QStringLiteral("Railscope"), text, QMessageBox::Ok, true);
        LossBoxShowing = false;
    });
}

void TMainForm::LocoNetComm1RxMsg(uint32_t count)
{
    RouteMessages(count, [this](TRxStamp& stamp) { return LocoNetComm1->ReadMessage(&stamp); });
}

void TMainForm::RouteMessages(uint32_t count, const TNextMessage& next)
{
    // A window that tells something while it takes a message does so once the routing is done.
    const TDeferredBoxes deferred;
    for (uint32_t i = 0; i < count; ++i) {
        TRxStamp stamp;
        std::unique_ptr<TLocoNetMessage> message = next(stamp);
        if (!message) break;
        RouteOne(std::move(message), stamp);
    }
    MsgNum->setText(QString::number(MessageCount));
}

void TMainForm::RouteMessages(uint32_t count, const std::function<std::unique_ptr<TLocoNetMessage>()>& next)
{
    RouteMessages(count, [this, &next](TRxStamp& stamp) {
        stamp = {LocoNetComm1->MicrosecondsSinceOpen(), false};
        return next();
    });
}

void TMainForm::RouteOne(std::unique_ptr<TLocoNetMessage> message, const TRxStamp& stamp)
{
    ++MessageCount;
    // Classified here, once: the typed message keeps its type for the monitor's line and filters.
    std::unique_ptr<TLocoNetMessage> typed = MakeTypedMessage(std::move(*message));
    message.reset();

    switch (typed->MessageType()) {
    case eOPCSENS:
        if (IsVisibleWindow(SpeedometerForm))
            SpeedometerForm->HandleSensorMessage(static_cast<const TLNSensFBMessage&>(*typed));
        break;
    case eOPCSVACCESS2: {
        const auto& sv = static_cast<const TLNSVProgMessage&>(*typed);
        // These windows take their replies while they are open, minimised or not: a conversation
        // under way must not starve because its window is out of sight.
        for (const TSVForm* form : SVForms())
            if (form->IsOpen()) form->Replies->HandleSVMessage(sv);
        break;
    }
    case eOPCPEERXFER: {
        const auto& peer = static_cast<const TLNPeerXferMessage&>(*typed);
        if (peer.IsLocoBufferReply()) InterfaceStatus->setText(QString::fromStdString(peer.Text()));
        break;
    }
    default: break;
    }

    // A monitor writing a live log takes every message, also while it is minimised.
    if (DisplayFormOpen && DisplayForm && (IsVisibleWindow(DisplayForm) || DisplayForm->LiveLogRunning()))
        DisplayForm->AddMessage(*typed, stamp);
    // Only the newest monitor shows messages; an older one still logs every one while it is open.
    for (const QPointer<TDisplayForm>& monitor : Monitors)
        if (monitor && monitor != DisplayForm && monitor->LiveLogRunning()) monitor->LogMessage(*typed, stamp);
}

void TMainForm::SendMessage(std::unique_ptr<TLocoNetMessage> message)
{
    if (Sender) Sender(std::move(message));
}

void TMainForm::SendFixedMessage(uint8_t opcode)
{
    auto message = std::make_unique<TLocoNetMessage>();
    message->AddByte(opcode);
    message->AddChecksum();
    SendMessage(std::move(message));
}

void TMainForm::TrackPowerOn1Click()
{
    SendFixedMessage(0x83);
}
void TMainForm::TrackPowerOff1Click()
{
    SendFixedMessage(0x82);
}
void TMainForm::QueryLocoBuffer1Click()
{
    InterrogateLocoBuffer();
}
void TMainForm::InterrogateLocoBuffer()
{
    SendFixedMessage(0x81);
}

QMdiSubWindow* TMainForm::AddChildForm(QWidget* form, bool fixedSize)
{
    form->setAttribute(Qt::WA_DeleteOnClose);
    Qt::WindowFlags flags = Qt::SubWindow | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    if (!fixedSize) flags |= Qt::WindowMinMaxButtonsHint;
    QMdiSubWindow* frame = MdiArea->addSubWindow(form, flags);
    frame->setAttribute(Qt::WA_DeleteOnClose);
    form->show();
    frame->show();
    if (fixedSize) {
        frame->adjustSize();
        frame->setFixedSize(frame->size());
    }
    KeepInsideArea(frame);
    return frame;
}

void TMainForm::Connect1Click()
{
    auto* form = new TConnectForm(*LocoNetComm1, [this](const QString& text) {
        ShowLinkStatus(text);
        if (ProgStatus->text() == QLatin1String(kConnectHint)) ProgStatus->clear();
        // As at start-up: the interface's state is not known yet, and a LocoBuffer is asked for it.
        if (!LocoNetComm1->Enabled()) return;
        const bool locoBuffer = LocoNetComm1->GetLocoNetInterface() == eLocoBuffer;
        InterfaceStatus->setText(locoBuffer ? QStringLiteral("Not detected yet") : QString());
        if (locoBuffer) InterrogateLocoBuffer();
    });
    AddChildForm(form, true);
}

void TMainForm::Exit1Click()
{
    close();
}

void TMainForm::RenumberBoards1Click()
{
    OpenSVForm(RenumberForm, [this] { return Options.Forms->MakeRenumberForm(*this); });
}

void TMainForm::ConfigureBoards1Click()
{
    OpenSVForm(ProgForm, [this] { return Options.Forms->MakeBoardForm(*this); });
}

void TMainForm::CheckLayout1Click()
{
    OpenSVForm(AuditForm, [this] { return Options.Forms->MakeAuditForm(*this); });
}

bool TMainForm::ConversationUnderWay() const
{
    for (const TSVForm* form : SVForms())
        if (form->IsOpen() && form->Replies->ConversationUnderWay()) return true;
    return false;
}

void TMainForm::OpenSVForm(TSVForm& form, const std::function<TSVForm()>& make)
{
    // Renumbering changes the serial numbers the other two windows go by, so it excludes them; a
    // second use of the entry of an open window brings it forward.
    if (form.IsOpen()) {
        ShowChildWindow(form.Form);
        return;
    }
    const bool excluded = &form == &RenumberForm ? ProgFormOpen() || AuditFormOpen() : RenumberFormOpen();
    if (excluded || !Options.Forms) return;
    TSVForm made = make();
    if (!made.Form) return;
    QWidget* window = made.Form;
    connect(window, &QObject::destroyed, this, [this, &form] {
        form = {};
        UpdateBoardMenus();
    });
    AddChildForm(window, false);
    form = std::move(made);
    UpdateBoardMenus();
}

void TMainForm::UpdateBoardMenus()
{
    // The entry that cannot act while the other window is open is greyed.
    RenumberBoards1->setEnabled(!ProgFormOpen() && !AuditFormOpen());
    ConfigureBoards1->setEnabled(!RenumberFormOpen());
    CheckLayout1->setEnabled(!RenumberFormOpen());
}

void TMainForm::Speedometer1Click()
{
    if (SpeedometerForm->isMinimized()) SpeedometerForm->showNormal();
    SpeedometerForm->show();
    SpeedometerForm->raise();
    SpeedometerForm->activateWindow();
}

void TMainForm::MessageDisplay1Click()
{
    auto* form = new TDisplayForm;
    DisplayForm = form;
    Monitors.emplace_back(form);
    form->Clock = [link = QPointer<TLnThreadComm>(LocoNetComm1.get())] {
        return link ? link->MicrosecondsSinceOpen() : 0;
    };
    form->ReadSettings(*OpenSettings());
    connect(form, &TDisplayForm::OptionsChanged, this, [this, form] {
        std::unique_ptr<QSettings> settings = OpenSettings();
        form->WriteSettings(*settings);
    });
    // Routing stops only when the newest monitor closes, not when an older one does.
    connect(form, &TDisplayForm::FormClosed, this, [this, form] {
        if (DisplayForm == form) DisplayFormOpen = false;
        std::erase_if(Monitors, [form](const QPointer<TDisplayForm>& m) { return !m || m == form; });
    });
    AddChildForm(form, false);
    DisplayFormOpen = true;
}

void TMainForm::SWRQ1Click()
{
    AddChildForm(new TSwitchControlForm([this](std::unique_ptr<TLocoNetMessage> m) { SendMessage(std::move(m)); }),
                 true);
}

void TMainForm::ArbitraryMessage1Click()
{
    AddChildForm(new TArbitraryMessageForm([this](std::unique_ptr<TLocoNetMessage> m) { SendMessage(std::move(m)); }),
                 true);
}

void TMainForm::SensorFeedbackMessage1Click()
{
    AddChildForm(new TGenSensFBForm([this](std::unique_ptr<TLocoNetMessage> m) { SendMessage(std::move(m)); }), true);
}

void TMainForm::Help2Click()
{
    ShowHelpContext(hcMain);
}

void TMainForm::About1Click()
{
    AboutBox->show();
    AboutBox->raise();
}

void TMainForm::closeEvent(QCloseEvent* event)
{
    FormClose();
    QMainWindow::closeEvent(event);
    // Help goes with the program.
    THelpViewer::CloseShared();
}

void TMainForm::FormClose()
{
    if (Closed) return;
    Closed = true;
    if (BoardData.AnyModified()) {
        for (int type = 0; type < kBoardTypeCount; ++type) {
            if (BoardData.BoardCount(type) == 0 || !BoardData.IsModified(type)) continue;
            const QString title = QString::fromStdString(TBoardData::GetTitle(type));
            const int answer = ShowMessageBox(this, title, QStringLiteral("Do you want to save data?"),
                                              QMessageBox::Yes | QMessageBox::No);
            if (answer != QMessageBox::Yes) continue;
            bool saved = true;
            if (BoardData.HasFileName(type)) {
                saved = BoardData.SaveFile(type);
            } else {
                const QString name = AskSaveFileName(this, QStringLiteral("Save As: ") + title, QDir::homePath(),
                                                     QStringLiteral("*.csv"), QStringLiteral("csv"));
                if (name.isEmpty()) continue;
                saved = BoardData.SaveFileAs(type, name.toStdString());
            }
            // Closing goes on, but a failed save is not kept quiet.
            if (!saved && !BoardData.GetLastError().empty())
                ShowMessageBox(this, title, QString::fromStdString(BoardData.GetLastError()), QMessageBox::Ok, true);
        }
    }
    WriteSettings();
}

void TMainForm::WriteSettings()
{
    std::unique_ptr<QSettings> settings = OpenSettings();
    settings->beginGroup(QStringLiteral("Connection"));
    settings->setValue(QStringLiteral("ComPort"), QString::fromStdString(LocoNetComm1->GetDeviceName()));
    settings->setValue(QStringLiteral("Baud"), static_cast<int>(LocoNetComm1->GetBaudRate()));
    settings->setValue(QStringLiteral("Interface"), static_cast<int>(LocoNetComm1->GetLocoNetInterface()));
    settings->endGroup();
    settings->beginGroup(QStringLiteral("SpeedometerForm"));
    settings->setValue(QStringLiteral("SpeedoScale"), SpeedometerForm->ScaleCombo->currentIndex());
    settings->setValue(QStringLiteral("SpeedoUnits"), SpeedometerForm->OutputUnitsCombo->currentIndex());
    settings->setValue(QStringLiteral("SpeedLength"), SpeedometerForm->LengthEdit->text());
    settings->setValue(QStringLiteral("Sens1Board"), SpeedometerForm->StartBoardEdit->Value());
    settings->setValue(QStringLiteral("Sens1Sens"), SpeedometerForm->StartSensEdit->Value());
    settings->setValue(QStringLiteral("Sens2Board"), SpeedometerForm->StopBoardEdit->Value());
    settings->setValue(QStringLiteral("Sens2Sens"), SpeedometerForm->StopSensEdit->Value());
    settings->endGroup();
    settings->beginGroup(QStringLiteral("Filenames"));
    for (int type = 0; type < kBoardTypeCount; ++type)
        settings->setValue(QString::fromStdString(TBoardData::GetTypeName(type)),
                           BoardData.HasFileName(type) ? QString::fromStdString(BoardData.GetFileName(type))
                                                       : UnloadedFiles[size_t(type)]);
    settings->endGroup();
    settings->sync();
}

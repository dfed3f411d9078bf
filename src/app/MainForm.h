#pragma once
// The frame window: owns the LocoNet link and the board list, reads the settings at start-up and
// writes them at close, counts every received message and routes it, typed, to the windows that
// want it, and opens every other window from its menu.

#include "boards/BoardData.h"
#include "link/LnTypes.h"
#include "link/MessageSender.h"
#include "svprog/SVMessageTarget.h"

#include <QMainWindow>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class QAction;
class QFileDialog;
class QLabel;
class QLineEdit;
class QMdiArea;
class QMdiSubWindow;
class QSettings;
class TAboutBox;
class TDisplayForm;
class TLNSVProgMessage;
class TLocoNetComm;
class TSpeedometerForm;

class TMainForm;

// A window the main window opens from its menu that takes routed SV access messages and the news
// of a lost link (the board list window, the discovery window); the main window keeps one for each
// while the window is open.
struct TSVForm {
    QPointer<QWidget> Form;
    TSVMessageTarget* Replies = nullptr;
    bool IsOpen() const { return Form && Replies; }
};

// Makes the windows of the board editing layer for the main window: the board list window, the
// renumbering window and the layout check window. Each is shown as a child window and freed when
// it closes.
class TChildFormFactory {
public:
    virtual ~TChildFormFactory() = default;
    virtual TSVForm MakeBoardForm(TMainForm& main) = 0;
    virtual TSVForm MakeRenumberForm(TMainForm& main) = 0;
    virtual TSVForm MakeAuditForm(TMainForm& main)
    {
        (void)main;
        return {};
    }
};

class TMainForm : public QMainWindow {
    Q_OBJECT
public:
    struct TOptions {
        QStringList Arguments; // the command line, program name first
        QString SettingsFile; // an ini file to use instead of the user's settings
        std::function<double()> Clock; // the speedometer's clock (tests)
        // Makes the board list and renumbering windows; without one those menu entries do nothing.
        std::shared_ptr<TChildFormFactory> Forms;
    };

    explicit TMainForm(TOptions options, QWidget* parent = nullptr);
    ~TMainForm() override;

    std::unique_ptr<TLocoNetComm> LocoNetComm1;
    // The status line, left to right.
    QLabel* StatusConnect = nullptr; // the link's device and interface, or why it is not open
    QLabel* InterfaceStatus = nullptr; // what a LocoBuffer says it is
    QLabel* MsgNum = nullptr; // MessageCount
    QLineEdit* ProgStatus = nullptr; // the board windows' news, start-up hints and problems
    // For the board files (*.csv), shared by the board windows.
    QFileDialog* OpenFileDialog = nullptr;
    QFileDialog* SaveFileDialog = nullptr;
    TBoardData BoardData;
    bool DisplayFormOpen = false;
    uint32_t MessageCount = 0;
    QString HelpFileName;

    QMdiArea* MdiArea = nullptr;
    TSpeedometerForm* SpeedometerForm = nullptr;
    TAboutBox* AboutBox = nullptr;
    QPointer<TDisplayForm> DisplayForm;
    // Every monitor window open, the newest last: an older one shows no new messages, but its
    // live log goes on.
    std::vector<QPointer<TDisplayForm>> Monitors;
    // The board list window, the discovery window and the layout check window; each empty while
    // closed.
    TSVForm ProgForm;
    TSVForm RenumberForm;
    TSVForm AuditForm;
    bool ProgFormOpen() const { return ProgForm.IsOpen(); }
    bool RenumberFormOpen() const { return RenumberForm.IsOpen(); }
    bool AuditFormOpen() const { return AuditForm.IsOpen(); }
    // Whether one of these windows has a conversation under way.
    bool ConversationUnderWay() const;

    // Where every message the program sends goes; the link by default.
    TMessageSender Sender;
    void SendMessage(std::unique_ptr<TLocoNetMessage> message);

    // Start-up: settings, link, speedometer settings, board files, interface query. Runs once.
    void FormActivate();
    bool StartedUp() const { return StartUpDone; }
    // Save questions and settings; run when the window closes.
    void FormClose();
    bool NoFiles() const { return NoFilesGiven; }

    // The connection text: `openText` while the link is open, otherwise that it is connecting,
    // was lost or could not be opened, and why. Kept for when a background connection comes up.
    void ShowLinkStatus(const QString& openText);
    // The link opened or closed on its own; a lost link is told once in a message box.
    void LinkStateChanged();

    // The link's receive event: takes `count` messages from the link and routes them.
    void LocoNetComm1RxMsg(uint32_t count);
    // Routes up to `count` messages taken from `next` (null ends early); MsgNum is set once after.
    // `next` tells when each was read and whether it is an echo of our own.
    using TNextMessage = std::function<std::unique_ptr<TLocoNetMessage>(TRxStamp& stamp)>;
    void RouteMessages(uint32_t count, const TNextMessage& next);
    // The same for messages without a stamp: read now, from another device.
    void RouteMessages(uint32_t count, const std::function<std::unique_ptr<TLocoNetMessage>()>& next);

    // Menu handlers.
    void Connect1Click();
    void Exit1Click();
    void RenumberBoards1Click();
    void ConfigureBoards1Click();
    void CheckLayout1Click();
    void Speedometer1Click();
    void MessageDisplay1Click();
    void SWRQ1Click();
    void ArbitraryMessage1Click();
    void SensorFeedbackMessage1Click();
    void TrackPowerOn1Click();
    void TrackPowerOff1Click();
    void QueryLocoBuffer1Click();
    void Help2Click();
    void About1Click();
    void InterrogateLocoBuffer();

    // Shows a form as a child window of the frame, freed when closed.
    QMdiSubWindow* AddChildForm(QWidget* form, bool fixedSize);
    // The settings store (the user's, or the file given in the options).
    std::unique_ptr<QSettings> OpenSettings() const;

    QAction* FindAction(const QString& menuPath) const;
    QAction* RenumberBoards1 = nullptr;
    QAction* ConfigureBoards1 = nullptr;
    QAction* CheckLayout1 = nullptr;

    static const char* const kInterfaceNames[3];

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool event(QEvent* event) override;

private:
    void SizeToScreen();
    void BuildMenus();
    void BuildStatusLine();
    void SendFixedMessage(uint8_t opcode);
    // Opens the board, renumbering or layout check window (`make`) unless a window it excludes is
    // open: the renumbering window excludes the other two, which may be open together.
    void OpenSVForm(TSVForm& form, const std::function<TSVForm()>& make);
    // The windows that take SV access messages.
    std::array<const TSVForm*, 3> SVForms() const { return {&ProgForm, &RenumberForm, &AuditForm}; }
    void UpdateBoardMenus();
    void RouteOne(std::unique_ptr<TLocoNetMessage> message, const TRxStamp& stamp);
    void ReadSpeedometerSettings(QSettings& settings);
    // Tells which board files the start-up could not load, and why.
    void ReportLoadErrors(const QStringList& errors);
    void WriteSettings();

    TOptions Options;
    QString LinkOpenText;
    bool LossBoxShowing = false;
    bool StartUpDone = false;
    // The board files the start-up could not load, by type: kept in the settings until another
    // file of the type is opened.
    std::array<QString, kBoardTypeCount> UnloadedFiles;
    bool StartUpQueued = false;
    bool Closed = false;
    bool NoFilesGiven = false;
};

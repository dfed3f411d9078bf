#pragma once
// The half of a window that hosts a bus conversation (the board list window with its programmer,
// the discovery and renumbering window, the layout check window): the conversation's timers, shown
// as the window's own timer controls; its log list and progress bar; status texts on the main
// window's status line; message boxes and the beep; the
// kind of interface the link goes through, told to the conversation before a start that depends
// on it (ReadyToStart); and the end of the conversation when the window closes. The main window routes the SV access messages
// and the loss of the link to the window while it is open, minimised or not.

#include "link/LnTypes.h"
#include "link/MessageSender.h"
#include "svprog/QtConversationHost.h"

#include <QWidget>

#include <functional>

class QListWidget;
class QProgressBar;
class QTimer;

// What a conversation window needs of the program around it.
struct TConversationLinks {
    // Hands a message to the link, which takes it over.
    TMessageSender Send;
    // The main window's status line.
    std::function<void(const QString& text)> ShowStatus;
    // The kind of interface the link goes through (a PR3 when not set).
    std::function<ELocoNetInterface()> LinkInterface;
    // Whether another window's conversation is under way (the bus carries one at a time).
    std::function<bool()> OtherConversationUnderWay;
};

class TConversationForm : public QWidget, public TQtConversationHost {
    Q_OBJECT
public:
    ~TConversationForm() override;

    // The timers' events, as the timers give them.
    void TimeoutTimerTimer();
    void MsgDelayTimerTimer();

    QTimer* TimeoutTimer = nullptr;
    QTimer* MsgDelayTimer = nullptr;

signals:
    // The window has been closed.
    void FormClosed();

protected:
    TConversationForm(TConversationLinks links, QWidget* parent);

    // The conversation the window hosts, and the pause its message delay timer shows.
    void HostConversation(TBusConversation& conversation, uint32_t msgDelayMs);
    // The window's log list and progress bar, where the conversation's log lines and progress go.
    void ShowConversationIn(QListWidget* log, QProgressBar* progress);
    // Before a start: false while a conversation is under way, here or in another window (which
    // the status line says); otherwise tells the conversation the kind of interface the link goes
    // through.
    bool ReadyToStart();

    void closeEvent(QCloseEvent* event) override;
    void ShowStatus(const std::string& text) override;
    void MessageBox(const std::string& text, const std::string& caption) override;
    void Beep() override;
    void Log(const std::string& line) override;
    void ClearLog() override;
    void SetProgressRange(uint32_t minimum, uint32_t maximum) override;
    void SetProgressPosition(uint32_t position) override;

private:
    TConversationLinks Links;
    TBusConversation* Hosted = nullptr;
    QListWidget* LogList = nullptr;
    QProgressBar* Progress = nullptr;
    bool ClosedOnce = false;
};

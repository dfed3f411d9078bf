#include "boardlist/ConversationForm.h"

#include "widgets/DialogSeam.h"

#include <QApplication>
#include <QCloseEvent>
#include <QListWidget>
#include <QMessageBox>
#include <QProgressBar>
#include <QTimer>

#include <algorithm>

TConversationForm::TConversationForm(TConversationLinks links, QWidget* parent)
    : QWidget(parent), TQtConversationHost(links.Send), Links(std::move(links))
{
    // The conversation's timers are the host's.
    TimeoutTimer = Timer(EConversationTimer::Timeout);
    TimeoutTimer->setObjectName(QStringLiteral("TimeoutTimer"));
    MsgDelayTimer = Timer(EConversationTimer::MsgDelay);
    MsgDelayTimer->setObjectName(QStringLiteral("MsgDelayTimer"));
}

TConversationForm::~TConversationForm()
{
    // The board list may already be gone when the program ends; the conversation simply ends.
    TimeoutTimer->stop();
    MsgDelayTimer->stop();
}

void TConversationForm::HostConversation(TBusConversation& conversation, uint32_t msgDelayMs)
{
    Hosted = &conversation;
    Attach(conversation);
    TimeoutTimer->setInterval(int(TBusConversation::kTimeoutMs));
    MsgDelayTimer->setInterval(int(msgDelayMs));
}

void TConversationForm::ShowConversationIn(QListWidget* log, QProgressBar* progress)
{
    LogList = log;
    Progress = progress;
}

bool TConversationForm::ReadyToStart()
{
    if (!Hosted->IsIdle()) return false;
    if (Links.OtherConversationUnderWay && Links.OtherConversationUnderWay()) {
        ShowStatus("Another window is talking to the boards: try again when it has finished");
        return false;
    }
    Hosted->SetLinkInterface(Links.LinkInterface ? Links.LinkInterface() : ePR3);
    return true;
}

void TConversationForm::TimeoutTimerTimer()
{
    TimerFired(EConversationTimer::Timeout);
}

void TConversationForm::MsgDelayTimerTimer()
{
    TimerFired(EConversationTimer::MsgDelay);
}

void TConversationForm::closeEvent(QCloseEvent* event)
{
    QWidget::closeEvent(event);
    if (!event->isAccepted() || ClosedOnce) return;
    ClosedOnce = true;
    // A conversation under way ends with the window.
    if (Hosted) Hosted->Stop();
    TimeoutTimer->stop();
    MsgDelayTimer->stop();
    if (Links.ShowStatus) Links.ShowStatus(QStringLiteral("(Inactive)"));
    emit FormClosed();
}

void TConversationForm::ShowStatus(const std::string& text)
{
    if (Links.ShowStatus) Links.ShowStatus(QString::fromStdString(text));
}

void TConversationForm::MessageBox(const std::string& text, const std::string& caption)
{
    ShowMessageBox(this, QString::fromStdString(caption), QString::fromStdString(text), QMessageBox::Ok);
}

void TConversationForm::Beep()
{
    QApplication::beep();
}

void TConversationForm::Log(const std::string& line)
{
    if (!LogList) return;
    LogList->addItem(QString::fromStdString(line));
    LogList->scrollToBottom();
}

void TConversationForm::ClearLog()
{
    if (LogList) LogList->clear();
}

void TConversationForm::SetProgressRange(uint32_t minimum, uint32_t maximum)
{
    if (Progress) Progress->setRange(int(minimum), int(maximum));
}

void TConversationForm::SetProgressPosition(uint32_t position)
{
    if (Progress) Progress->setValue(std::min(int(position), Progress->maximum()));
}

#pragma once
// The host wiring of a bus conversation that every Qt host shares (the windows and the
// command-line tool): the named timers are QTimers, messages go to a sender (the link), and the
// conversation attached takes the events: the timers that fire, the SV access messages routed to
// the host and the loss of the link. The hosts add the log, the status and the dialogs.

#include "link/LnThreadComm.h"
#include "link/MessageSender.h"
#include "svprog/BusConversation.h"
#include "svprog/ConversationHost.h"
#include "svprog/SVMessageTarget.h"
#include "svprog/SVProgMessage.h"

#include <QTimer>

#include <array>
#include <functional>
#include <memory>

class TQtConversationHost : public TConversationHost, public TSVMessageTarget {
public:
    explicit TQtConversationHost(TMessageSender send);

    // The conversation that takes the events from now on.
    void Attach(TBusConversation& conversation) { Conversation = &conversation; }

    // Events, each handed to the conversation.
    void HandleSVMessage(const TLNSVProgMessage& message) override;
    void LinkLost() override;
    bool ConversationUnderWay() const override { return Conversation && !Conversation->IsIdle(); }
    void TimerFired(EConversationTimer timer);

    void SendMessage(std::unique_ptr<TLocoNetMessage> message) override;
    void StartTimer(EConversationTimer timer, uint32_t periodMs) override;
    void StopTimer(EConversationTimer timer) override;
    bool IsTimerRunning(EConversationTimer timer) const;
    // The QTimer behind a name (a window shows it as its own timer control).
    QTimer* Timer(EConversationTimer timer) const;

protected:
    // Called after each event the conversation took; `ended` when the event brought it to rest.
    virtual void AfterEvent(bool ended) { (void)ended; }

    TMessageSender Send;

private:
    void Deliver(const std::function<void(TBusConversation&)>& event);

    TBusConversation* Conversation = nullptr;
    std::array<std::unique_ptr<QTimer>, 2> Timers;
};

// Takes every message the link receives off its queue and hands each SV access message (of the
// second format) to `target`, in queue order, as the main window routes them.
void RouteSVMessages(TLnThreadComm& link, TSVMessageTarget& target);

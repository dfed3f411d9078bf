#pragma once
// The part of a conversation host that every Qt host shares: the named timers are QTimers and
// messages go to the link. Windows and the command-line tool add the log, status and dialogs.

#include "link/LnThreadComm.h"
#include "svprog/ConversationHost.h"
#include "svprog/SVProgMessage.h"

#include <QTimer>

#include <functional>
#include <map>
#include <memory>

class TQtConversationHost : public TConversationHost {
public:
    explicit TQtConversationHost(TLnThreadComm& link) : Link(link) {}

    // Called when a named timer fires.
    std::function<void(EConversationTimer)> OnTimer;

    void SendMessage(std::unique_ptr<TLocoNetMessage> message) override { Link.WriteMessage(std::move(message)); }
    void StartTimer(EConversationTimer timer, uint32_t periodMs) override;
    void StopTimer(EConversationTimer timer) override;
    bool IsTimerRunning(EConversationTimer timer) const;

    // Takes every received message off the link's queue and hands each SV access message (of the
    // second format) to `handle`, in queue order, as the main window routes them.
    static void RouteSVMessages(TLnThreadComm& link, std::function<void(const TLNSVProgMessage&)> handle);

protected:
    TLnThreadComm& Link;

private:
    QTimer& Timer(EConversationTimer timer);
    std::map<EConversationTimer, std::unique_ptr<QTimer>> Timers;
};

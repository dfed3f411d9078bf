#pragma once
// The part of a conversation host that every Qt host shares: the named timers are QTimers and
// messages go to a sender (the link). Windows and the command-line tool add the log, status and
// dialogs.

#include "link/LnThreadComm.h"
#include "link/MessageSender.h"
#include "svprog/ConversationHost.h"
#include "svprog/SVProgMessage.h"

#include <QTimer>

#include <array>
#include <functional>
#include <memory>

class TQtConversationHost : public TConversationHost {
public:
    explicit TQtConversationHost(TMessageSender send);

    // Called when a named timer fires.
    std::function<void(EConversationTimer)> OnTimer;

    void SendMessage(std::unique_ptr<TLocoNetMessage> message) override;
    void StartTimer(EConversationTimer timer, uint32_t periodMs) override;
    void StopTimer(EConversationTimer timer) override;
    bool IsTimerRunning(EConversationTimer timer) const;
    // The QTimer behind a name (a window shows it as its own timer control).
    QTimer* Timer(EConversationTimer timer) const;

    // Takes every received message off the link's queue and hands each SV access message (of the
    // second format) to `handle`, in queue order, as the main window routes them.
    static void RouteSVMessages(TLnThreadComm& link, std::function<void(const TLNSVProgMessage&)> handle);

protected:
    TMessageSender Send;

private:
    std::array<std::unique_ptr<QTimer>, 2> Timers;
};

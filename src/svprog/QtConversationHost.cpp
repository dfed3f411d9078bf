#include "svprog/QtConversationHost.h"

TQtConversationHost::TQtConversationHost(TMessageSender send) : Send(std::move(send))
{
    for (EConversationTimer timer : {EConversationTimer::Timeout, EConversationTimer::MsgDelay}) {
        auto& slot = Timers[static_cast<size_t>(timer)];
        slot = std::make_unique<QTimer>();
        slot->setTimerType(Qt::PreciseTimer);
        QObject::connect(slot.get(), &QTimer::timeout, [this, timer] { TimerFired(timer); });
    }
}

void TQtConversationHost::Deliver(const std::function<void(TBusConversation&)>& event)
{
    if (Conversation == nullptr) return;
    const bool wasBusy = !Conversation->IsIdle();
    event(*Conversation);
    AfterEvent(wasBusy && Conversation->IsIdle());
}

void TQtConversationHost::HandleSVMessage(const TLNSVProgMessage& message)
{
    Deliver([&message](TBusConversation& conversation) { conversation.HandleSVMessage(message); });
}

void TQtConversationHost::LinkLost()
{
    Deliver([](TBusConversation& conversation) { conversation.LinkLost(); });
}

void TQtConversationHost::TimerFired(EConversationTimer timer)
{
    Deliver([timer](TBusConversation& conversation) { conversation.TimerFired(timer); });
}

void TQtConversationHost::SendMessage(std::unique_ptr<TLocoNetMessage> message)
{
    if (Send) Send(std::move(message));
}

QTimer* TQtConversationHost::Timer(EConversationTimer timer) const
{
    return Timers[static_cast<size_t>(timer)].get();
}

void TQtConversationHost::StartTimer(EConversationTimer timer, uint32_t periodMs)
{
    Timer(timer)->start(static_cast<int>(periodMs));
}

void TQtConversationHost::StopTimer(EConversationTimer timer)
{
    Timer(timer)->stop();
}

bool TQtConversationHost::IsTimerRunning(EConversationTimer timer) const
{
    return Timer(timer)->isActive();
}

void RouteSVMessages(TLnThreadComm& link, TSVMessageTarget& target)
{
    link.OnRxMsg = [&link, &target](TLnThreadComm*, uint32_t) {
        while (auto msg = link.ReadMessage()) {
            if (msg->MessageType() == eOPCSVACCESS2) target.HandleSVMessage(TLNSVProgMessage(std::move(*msg)));
        }
    };
}

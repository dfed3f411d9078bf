#include "svprog/QtConversationHost.h"

TQtConversationHost::TQtConversationHost(TMessageSender send) : Send(std::move(send))
{
    for (EConversationTimer timer : {EConversationTimer::Timeout, EConversationTimer::MsgDelay}) {
        auto& slot = Timers[static_cast<size_t>(timer)];
        slot = std::make_unique<QTimer>();
        slot->setTimerType(Qt::PreciseTimer);
        QObject::connect(slot.get(), &QTimer::timeout, [this, timer] {
            if (OnTimer) OnTimer(timer);
        });
    }
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

void TQtConversationHost::RouteSVMessages(TLnThreadComm& link, std::function<void(const TLNSVProgMessage&)> handle)
{
    link.OnRxMsg = [&link, handle](TLnThreadComm*, uint32_t) {
        while (auto msg = link.ReadMessage()) {
            if (msg->MessageType() == eOPCSVACCESS2) handle(TLNSVProgMessage(*msg));
        }
    };
}

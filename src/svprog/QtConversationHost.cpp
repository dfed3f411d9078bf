#include "svprog/QtConversationHost.h"

QTimer& TQtConversationHost::Timer(EConversationTimer timer)
{
    auto& slot = Timers[timer];
    if (!slot) {
        slot = std::make_unique<QTimer>();
        slot->setTimerType(Qt::PreciseTimer);
        QObject::connect(slot.get(), &QTimer::timeout, [this, timer] {
            if (OnTimer) OnTimer(timer);
        });
    }
    return *slot;
}

void TQtConversationHost::StartTimer(EConversationTimer timer, uint32_t periodMs)
{
    Timer(timer).start(static_cast<int>(periodMs));
}

void TQtConversationHost::StopTimer(EConversationTimer timer)
{
    Timer(timer).stop();
}

bool TQtConversationHost::IsTimerRunning(EConversationTimer timer) const
{
    auto it = Timers.find(timer);
    return it != Timers.end() && it->second->isActive();
}

void TQtConversationHost::RouteSVMessages(TLnThreadComm& link, std::function<void(const TLNSVProgMessage&)> handle)
{
    link.OnRxMsg = [&link, handle](TLnThreadComm*, uint32_t) {
        while (auto msg = link.ReadMessage()) {
            if (msg->MessageType() == eOPCSVACCESS2) handle(TLNSVProgMessage(*msg));
        }
    };
}

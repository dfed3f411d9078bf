#include "svprog/BusConversation.h"

void TBusConversation::TimerFired(EConversationTimer timer)
{
    if (timer == EConversationTimer::Timeout)
        TimeoutTimerTimer();
    else
        MsgDelayTimerTimer();
}

bool TBusConversation::NeedsMessageDelay() const
{
    return LinkInterface == eMS100;
}

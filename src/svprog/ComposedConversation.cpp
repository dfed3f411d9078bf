#include "svprog/ComposedConversation.h"

#include <algorithm>

void TInnerConversationHost::SetProgressPosition(uint32_t position)
{
    Outer.SetProgressPosition(Offset + std::min(position, Span));
}

void TInnerConversationHost::PlaceProgress(uint32_t offset, uint32_t span)
{
    Offset = offset;
    Span = span;
}

bool TInnerConversationHost::Logged(const std::string& line) const
{
    return std::find(LogLines.begin(), LogLines.end(), line) != LogLines.end();
}

bool TComposedConversation::RunInner(TBusConversation& inner, const std::function<void()>& start)
{
    inner.SetLinkInterface(GetLinkInterface());
    start();
    Running = inner.IsIdle() ? nullptr : &inner;
    return Running != nullptr;
}

void TComposedConversation::Deliver(const std::function<void(TBusConversation&)>& event)
{
    if (Running == nullptr) return;
    event(*Running);
    if (!Running->IsIdle()) return;
    Running = nullptr;
    InnerFinished();
}

void TComposedConversation::HandleSVMessage(const TLNSVProgMessage& message)
{
    Deliver([&message](TBusConversation& inner) { inner.HandleSVMessage(message); });
}

void TComposedConversation::TimeoutTimerTimer()
{
    Deliver([](TBusConversation& inner) { inner.TimeoutTimerTimer(); });
}

void TComposedConversation::MsgDelayTimerTimer()
{
    Deliver([](TBusConversation& inner) { inner.MsgDelayTimerTimer(); });
}

void TComposedConversation::LinkLost()
{
    Deliver([](TBusConversation& inner) { inner.LinkLost(); });
}

void TComposedConversation::Stop()
{
    if (Running != nullptr) Running->Stop();
    Running = nullptr;
}

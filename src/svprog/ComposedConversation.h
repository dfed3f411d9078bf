#pragma once
// A conversation made of others, run one at a time: the layout backup runs a discovery, then a
// read of each board found. Each event goes to the inner conversation under way; when an event
// brings it back to rest, the outer conversation is told and decides what comes next.
//
// The inner conversations talk to the bus through a TInnerConversationHost: their messages and
// timers are the outer host's, their log lines are kept for the outer conversation to judge, and
// their progress is placed within the outer one's.

#include "svprog/BusConversation.h"
#include "svprog/ConversationHost.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class TInnerConversationHost : public TConversationHost {
public:
    explicit TInnerConversationHost(TConversationHost& outer) : Outer(outer) {}

    void SendMessage(std::unique_ptr<TLocoNetMessage> message) override { Outer.SendMessage(std::move(message)); }
    void StartTimer(EConversationTimer timer, uint32_t periodMs) override { Outer.StartTimer(timer, periodMs); }
    void StopTimer(EConversationTimer timer) override { Outer.StopTimer(timer); }
    // The outer conversation shows its own status; message boxes and beeps are its to give too.
    void ShowStatus(const std::string&) override {}
    void Log(const std::string& line) override { LogLines.push_back(line); }
    void ClearLog() override { LogLines.clear(); }
    void SetProgressPosition(uint32_t position) override;

    // The inner progress, from 0 to `span`, is shown from `offset` on in the outer host.
    void PlaceProgress(uint32_t offset, uint32_t span);
    bool Logged(const std::string& line) const;

    // What the inner conversation logged since its host's log was last cleared.
    std::vector<std::string> LogLines;

private:
    TConversationHost& Outer;
    uint32_t Offset = 0;
    uint32_t Span = 0;
};

class TComposedConversation : public TBusConversation {
public:
    void HandleSVMessage(const TLNSVProgMessage& message) override;
    void TimeoutTimerTimer() override;
    void MsgDelayTimerTimer() override;
    void LinkLost() override;
    // Stops the inner conversation under way.
    void Stop() override;
    // Idle while no inner conversation is under way.
    bool IsIdle() const override { return Running == nullptr; }

protected:
    // Tells `inner` the link's interface, starts it with `start` and hands it the events from now
    // on. False when it did not get under way (it refused to start, or ended at once).
    bool RunInner(TBusConversation& inner, const std::function<void()>& start);
    // The inner conversation under way came back to rest with the last event; no inner
    // conversation runs now.
    virtual void InnerFinished() = 0;

private:
    void Deliver(const std::function<void(TBusConversation&)>& event);

    TBusConversation* Running = nullptr;
};

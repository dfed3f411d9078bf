#pragma once
// A conversation host for tests: records what the engine does and runs its timers on a fake
// clock, so that a conversation of minutes runs in microseconds and always the same way.

#include "svprog/ConversationHost.h"
#include "svprog/SVProgMessage.h"

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

class TFakeConversationHost : public TConversationHost {
public:
    struct TTimer {
        bool Running = false;
        uint64_t Due = 0;
        uint32_t Period = 0;
    };

    void SendMessage(std::unique_ptr<TLocoNetMessage> message) override
    {
        Sent.push_back(TLNSVProgMessage(*message));
        SentAt.push_back(Now);
        if (OnSend) OnSend(Sent.back());
    }
    void StartTimer(EConversationTimer timer, uint32_t periodMs) override
    {
        Timers[timer] = TTimer{true, Now + periodMs, periodMs};
    }
    void StopTimer(EConversationTimer timer) override { Timers[timer].Running = false; }
    void ShowStatus(const std::string& text) override { Status = text; }
    void Log(const std::string& line) override { LogLines.push_back(line); }
    void ClearLog() override { LogLines.clear(); }
    void SetProgressRange(uint32_t minimum, uint32_t maximum) override
    {
        ProgressMin = minimum;
        ProgressMax = maximum;
    }
    void SetProgressPosition(uint32_t position) override { Progress = position; }
    void MessageBox(const std::string& text, const std::string& caption) override
    {
        Boxes.push_back(caption + "|" + text);
    }
    void Beep() override { ++Beeps; }

    bool IsRunning(EConversationTimer timer) { return Timers[timer].Running; }

    // Moves the clock on, firing due timers in time order through `fire`.
    void Advance(uint64_t ms, const std::function<void(EConversationTimer)>& fire)
    {
        const uint64_t end = Now + ms;
        for (;;) {
            EConversationTimer next{};
            uint64_t due = UINT64_MAX;
            for (auto& [timer, state] : Timers) {
                if (state.Running && state.Due < due) {
                    due = state.Due;
                    next = timer;
                }
            }
            if (due > end) break;
            Now = due;
            Timers[next].Due = Now + Timers[next].Period;
            fire(next);
        }
        Now = end;
    }

    uint64_t Now = 0;
    std::vector<TLNSVProgMessage> Sent;
    std::vector<uint64_t> SentAt;
    std::function<void(const TLNSVProgMessage&)> OnSend;
    std::map<EConversationTimer, TTimer> Timers;
    std::string Status;
    std::vector<std::string> LogLines;
    std::vector<std::string> Boxes;
    uint32_t ProgressMin = 0, ProgressMax = 0, Progress = 0;
    int Beeps = 0;
};

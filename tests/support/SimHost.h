#pragma once
// A conversation host wired to the simulated LocoNet in this process, on a fake clock: real
// framing, the interface's echo, virtual boards and seeded faults, and time that moves only when
// Run moves it, so that conversations of minutes run in milliseconds and always the same way.

#include "link/FrameAssembler.h"
#include "sim/SimBus.h"
#include "sim/SimConfig.h"
#include "svprog/BoardProgrammer.h"
#include "svprog/BusConversation.h"
#include "svprog/ConversationHost.h"
#include "svprog/SVProgMessage.h"

#include <algorithm>
#include <functional>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

// A host wired to the simulated bus; time moves only when Run moves it.
class TSimHost : public TConversationHost {
public:
    explicit TSimHost(const std::string& simOptions)
    {
        std::string error;
        TSimConfig config;
        if (!ParseSimDeviceName(simOptions, config, error))
            throw std::invalid_argument("bad simulated bus '" + simOptions + "': " + error);
        Bus = std::make_unique<TSimBus>(config, 0);
    }

    // The conversation that takes the received SV access messages and the timers.
    TBusConversation* Conversation = nullptr;
    std::function<bool()> Done;

    void SendMessage(std::unique_ptr<TLocoNetMessage> m) override
    {
        ++SentCount;
        Bus->Send(m->GetData(), m->GetLength(), NowUs);
    }
    void StartTimer(EConversationTimer t, uint32_t periodMs) override
    {
        Timers[t] = {true, NowUs + periodMs * 1000ull, periodMs * 1000ull};
    }
    void StopTimer(EConversationTimer t) override { Timers[t].Running = false; }
    void ShowStatus(const std::string& text) override { Status = text; }
    void Log(const std::string& line) override { LogLines.push_back(line); }
    void ClearLog() override { LogLines.clear(); }
    void SetProgressRange(uint32_t, uint32_t maximum) override { ProgressMax = maximum; }
    void SetProgressPosition(uint32_t position) override { Progress = position; }
    void MessageBox(const std::string& text, const std::string& caption) override
    {
        Boxes.push_back(caption + "|" + text);
    }
    // Programming's question on values the board cannot hold: asked (and answered later) when set.
    std::function<bool(const std::vector<std::string>& lines)> Ask;
    bool AskProgramAnyway(const std::vector<std::string>& lines) override { return Ask && Ask(lines); }

    // Runs until Done() or the time limit; false when the limit was reached.
    bool Run(uint64_t limitUs = 3'600'000'000ull)
    {
        const uint64_t end = NowUs + limitUs;
        while (!Done()) {
            uint64_t next = end;
            if (auto due = Bus->NextDueUs()) next = std::min(next, std::max(*due, NowUs));
            EConversationTimer timer{};
            bool timerNext = false;
            for (auto& [t, s] : Timers) {
                if (s.Running && s.Due <= next) {
                    next = s.Due;
                    timer = t;
                    timerNext = true;
                }
            }
            if (next >= end) return false;
            NowUs = std::max(NowUs, next);
            std::vector<uint8_t> bytes;
            Bus->Poll(NowUs, bytes);
            Assembler.Feed(bytes.data(), bytes.size());
            if (timerNext && Timers[timer].Running && Timers[timer].Due <= NowUs) {
                Timers[timer].Due = NowUs + Timers[timer].Period;
                if (Conversation) Conversation->TimerFired(timer);
            }
        }
        return true;
    }
    bool Logged(const std::string& line) const
    {
        return std::find(LogLines.begin(), LogLines.end(), line) != LogLines.end();
    }

    struct TTimer {
        bool Running = false;
        uint64_t Due = 0;
        uint64_t Period = 0;
    };
    std::unique_ptr<TSimBus> Bus;
    TFrameAssembler Assembler{[this](TLocoNetMessage&& m) {
        if (m.MessageType() == eOPCSVACCESS2 && Conversation) Conversation->HandleSVMessage(TLNSVProgMessage(m));
    }};
    uint64_t NowUs = 0;
    std::map<EConversationTimer, TTimer> Timers;
    std::string Status;
    std::vector<std::string> LogLines;
    std::vector<std::string> Boxes;
    uint32_t ProgressMax = 0, Progress = 0;
    int SentCount = 0;
};

// Runs a programmer on the host until it is idle; true when it logged `success`.
inline bool Converse(TSimHost& host, const std::function<void(TBoardProgrammer&)>& start, const std::string& success)
{
    TBoardProgrammer programmer(host);
    host.Conversation = &programmer;
    host.Done = [&programmer] { return programmer.IsIdle(); };
    start(programmer);
    const bool ok = host.Run() && host.Logged(success);
    host.Conversation = nullptr;
    return ok;
}

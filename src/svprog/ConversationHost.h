#pragma once
// What the board programmer and the discovery conversation need from whoever hosts them: a
// window, the command-line tool, or a test with a fake clock. The engines never touch a timer,
// a port or a window themselves; events come back to them as calls.

#include "link/LocoNetMessage.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

enum class EConversationTimer { Timeout, MsgDelay };

class TConversationHost {
public:
    virtual ~TConversationHost() = default;

    // Hands a message to the link, which takes it over.
    virtual void SendMessage(std::unique_ptr<TLocoNetMessage> message) = 0;
    // Starts (or restarts) a named timer that fires after periodMs until stopped.
    virtual void StartTimer(EConversationTimer timer, uint32_t periodMs) = 0;
    virtual void StopTimer(EConversationTimer timer) = 0;
    // The main window's status line.
    virtual void ShowStatus(const std::string& text) = 0;
    // The conversation's log list (the programmer's list box).
    virtual void Log(const std::string& line) { (void)line; }
    virtual void ClearLog() {}
    virtual void SetProgressRange(uint32_t minimum, uint32_t maximum)
    {
        (void)minimum;
        (void)maximum;
    }
    virtual void SetProgressPosition(uint32_t position) { (void)position; }
    virtual void MessageBox(const std::string& text, const std::string& caption)
    {
        (void)text;
        (void)caption;
    }
    virtual void Beep() {}
    // Programming found values the board cannot hold (the lines of HoldCheck.h) once it knew the
    // board's firmware version, before writing any SV. A host that asks the user puts the question
    // and returns true; the answer comes back through the programmer's AnswerProgramAnyway, and
    // received messages go on being handed over meanwhile. A host that does not ask returns false,
    // and programming stops there.
    virtual bool AskProgramAnyway(const std::vector<std::string>& lines)
    {
        (void)lines;
        return false;
    }
};

#pragma once
// Running a conversation (programming, discovery, backup) from the command line: the host that
// prints its log and progress, and the event loop that runs it.

#include "svprog/QtConversationHost.h"

#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace cli {

// Hosts a conversation on the command line: log lines to standard output (or LogStream), progress
// to standard error (a bar on a terminal), message boxes collected for the command to print.
class TCliHost : public TQtConversationHost {
public:
    explicit TCliHost(TLnThreadComm& link);
    ~TCliHost() override;

    std::vector<std::string> Boxes;
    std::vector<std::string> LogLines;
    bool PrintLog = true;
    std::FILE* LogStream = stdout;
    // When set, lines are printed only while it says so (all are kept in LogLines).
    std::function<bool()> PrintWhile;

    void ShowStatus(const std::string&) override {}
    void Log(const std::string& line) override;
    void SetProgressRange(uint32_t minimum, uint32_t maximum) override;
    void SetProgressPosition(uint32_t position) override;
    void MessageBox(const std::string& text, const std::string&) override { Boxes.push_back(text); }

private:
    void EndProgress();

    bool Terminal;
    bool BarShown = false;
    uint32_t Minimum = 0, Maximum = 0;
    int LastShown = -1;
};

// --wait SECONDS: how long discovery waits for the next reply (and renumbering for each reply).
extern const char* const kWaitOptionUsage;
// Takes --wait SECONDS out of `args` into `waitMs` (left as it is when not given). False with a
// reason for a bad value.
bool TakeWaitOption(std::vector<std::string>& args, uint32_t& waitMs, std::string& error);

// Stops the event loop when the connection is lost.
void QuitOnLinkLoss(TLnThreadComm& link, const std::string& command, bool& lost);

// Runs the event loop until `done` says so, the link is lost or the user interrupts.
void RunUntil(const std::function<bool()>& done);

} // namespace cli

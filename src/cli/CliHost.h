#pragma once
// Running a conversation (programming, discovery, backup) from the command line: the host that
// prints its log and progress, and the event loop that runs it.

#include "cli/BusOptions.h"
#include "svprog/QtConversationHost.h"

#include <QCoreApplication>

#include <cstdint>
#include <cstdio>
#include <functional>
#include <memory>
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

// Runs one bus conversation from the command line: the event loop, the link and the host. The
// conversation is made on Host and handed to Open.
class TCliSession {
public:
    // `command` names the command in what the session prints ("railscope-cli program: ...").
    explicit TCliSession(std::string command);
    ~TCliSession();
    TCliSession(const TCliSession&) = delete;
    TCliSession& operator=(const TCliSession&) = delete;

    // Hands the link's SV access messages, the host's timers and the loss of the link to
    // `conversation`, opens the link with the options and tells the conversation the kind of
    // interface the link goes through. False, after saying why on standard error, when the link
    // cannot be opened.
    bool Open(TBusConversation& conversation, const TBusOptions& bus);
    // Runs the event loop until `done` says so, the link is lost or the user interrupts.
    void RunUntil(const std::function<bool()>& done);
    // Whether the link was lost (which has been said on standard error).
    bool LinkLost() const { return Lost; }
    void Close() { Link.Close(); }

private:
    std::unique_ptr<QCoreApplication> App;
    std::string Command;
    bool Lost = false;

public:
    TLocoNetComm Link;
    TCliHost Host{Link};
};

} // namespace cli

// Commands that talk to boards over the bus: program, read, verify, discover, identify and renumber.
// They host the same conversation engines as the windows, with Qt timers and the link.
#include "cli/BoardFiles.h"
#include "cli/BusOptions.h"
#include "cli/CliHost.h"
#include "cli/Commands.h"

#include "boards/BoardData.h"
#include "boards/ProductList.h"
#include "svprog/BoardDiscovery.h"
#include "svprog/BoardProgrammer.h"
#include "svprog/QtConversationHost.h"

#include <QCoreApplication>

#include <cstdio>
#include <functional>
#include <iostream>
#include <memory>

namespace {

using cli::QuitOnLinkLoss;
using cli::RunUntil;
using cli::TCliHost;

bool ParseSerial(const std::string& text, uint32_t min, uint32_t max, uint32_t& value)
{
    long long number = 0;
    if (!cli::ParseNumber(text, min, max, number)) return false;
    value = static_cast<uint32_t>(number);
    return true;
}

struct TBoardCommandArgs {
    std::string File;
    uint32_t Index = 0;
    bool HaveIndex = false;
    bool Log = false;
    bool Force = false;
    std::string Out;
};

int ParseBoardCommand(const std::string& command, std::vector<std::string> args, bool allowLog, bool allowOut,
                      bool allowForce, cli::TBusOptions& bus, TBoardCommandArgs& parsed)
{
    std::string error;
    if (!cli::ParseBusOptions(args, bus, error)) return cli::UsageError(command, error);
    std::vector<std::string> positional;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--index") {
            if (i + 1 >= args.size()) return cli::UsageError(command, "--index needs a value");
            if (!ParseSerial(args[++i], 0, 1000000, parsed.Index))
                return cli::UsageError(command, "--index needs a whole number, not '" + args[i] + "'");
            parsed.HaveIndex = true;
        } else if (allowLog && a == "--log") {
            parsed.Log = true;
        } else if (allowForce && a == "--force") {
            parsed.Force = true;
        } else if (allowOut && (a == "-o" || a == "--output")) {
            if (i + 1 >= args.size()) return cli::UsageError(command, a + " needs a value");
            parsed.Out = args[++i];
        } else if (a.size() > 1 && a[0] == '-') {
            return cli::UsageError(command, "unknown option '" + a + "'");
        } else {
            positional.push_back(a);
        }
    }
    if (positional.size() != 1)
        return cli::UsageError(command, positional.empty() ? "missing FILE" : "too many arguments");
    if (!parsed.HaveIndex) return cli::UsageError(command, "--index N is required");
    parsed.File = positional[0];
    return 0;
}

// --- program and read ---------------------------------------------------------------------------

enum class ETransfer { Program, Read, Verify };

int RunTransfer(const std::string& command, const std::vector<std::string>& args, ETransfer transfer)
{
    const bool readMode = transfer == ETransfer::Read;
    cli::TBusOptions bus;
    TBoardCommandArgs parsed;
    if (int status =
            ParseBoardCommand(command, args, !readMode, readMode, transfer == ETransfer::Program, bus, parsed))
        return status;

    TBoardData data;
    int type = -1;
    if (int status = cli::LoadBoardFile(command, parsed.File, data, type)) return status;
    if (int status = cli::CheckBoardIndex(command, parsed.File, data, type, parsed.Index)) return status;

    auto app = cli::MakeCoreApplication();
    TLocoNetComm link;
    TCliHost host(link);
    TBoardProgrammer programmer(host);
    programmer.LogEnabled = parsed.Log;
    programmer.UseMessageDelay = bus.Interface == eMS100;
    programmer.ProgramAnyway = parsed.Force;
    if (transfer == ETransfer::Verify) {
        // The course of the conversation and any failure go to standard error; the differences
        // and the verdict, logged once every SV is read, are printed on standard output below.
        host.LogStream = stderr;
        host.PrintWhile = [&programmer] { return !programmer.IsVerified(); };
    }
    host.OnTimer = [&programmer](EConversationTimer t) {
        if (t == EConversationTimer::Timeout)
            programmer.TimeoutTimerTimer();
        else
            programmer.MsgDelayTimerTimer();
    };
    TQtConversationHost::RouteSVMessages(link,
                                         [&programmer](const TLNSVProgMessage& m) { programmer.HandleSVMessage(m); });
    bool lost = false;
    QuitOnLinkLoss(link, command, lost);
    std::string error;
    if (!cli::OpenBusLink(link, bus, error)) {
        std::fprintf(stderr, "railscope-cli %s: %s\n", command.c_str(), error.c_str());
        return 1;
    }
    TConfigurableBoard* board = data.GetBoardForChange(type, parsed.Index);
    switch (transfer) {
    case ETransfer::Program: programmer.ProgramButtonClick(board); break;
    case ETransfer::Read: programmer.ReadBoardButtonClick(board); break;
    case ETransfer::Verify: programmer.VerifyButtonClick(board); break;
    }
    RunUntil([&programmer] { return programmer.IsIdle(); });
    const bool interrupted = !lost && !programmer.IsIdle();
    link.Close();
    if (interrupted || lost) {
        if (interrupted) std::fprintf(stderr, "railscope-cli %s: interrupted\n", command.c_str());
        return 1;
    }
    if (transfer == ETransfer::Verify) {
        if (!programmer.IsVerified()) return 1;
        for (const auto& line : programmer.GetVerifyReport()) std::printf("%s\n", line.c_str());
        return programmer.VerifyMatched() ? 0 : 1;
    }
    const std::string success =
        readMode ? "Board data read completed successfully!" : "Programming Completed Successfully!";
    bool ok = false;
    bool unheld = false;
    for (const auto& line : host.LogLines) {
        ok = ok || line == success;
        unheld = unheld || line.ends_with(": the board was not programmed");
    }
    if (unheld) std::fprintf(stderr, "railscope-cli %s: give --force to program it all the same\n", command.c_str());
    if (!ok) return 1;
    if (readMode) {
        const bool saved = parsed.Out.empty() ? data.SaveFile(type) : data.SaveFileAs(type, parsed.Out);
        if (!saved) {
            std::fprintf(stderr, "railscope-cli %s: %s\n", command.c_str(), data.GetLastError().c_str());
            return 1;
        }
    }
    return 0;
}

const char* const kProgramUsage =
    "Usage: railscope-cli program FILE --index N --connect DEVICE\n"
    "        [--baud RATE] [--interface KIND] [--log] [--force]\n"
    "\n"
    "Programs board N (counted from 0) of the board file FILE into the board\n"
    "with its serial number: checks the board's identity, learns its firmware\n"
    "version, writes every SV and checks what the board reports back, then\n"
    "restarts the board. Prints the programmer's log lines; --log adds the\n"
    "text of every message sent and received. Progress goes to standard\n"
    "error.\n"
    "A description holding values the board cannot hold (see\n"
    "'railscope-cli check') is not programmed: the values are named and\n"
    "nothing is written, unless --force is given.\n"
    "Exit status 0 after \"Programming Completed Successfully!\", 1 on any\n"
    "failure.\n";

const char* const kReadUsage =
    "Usage: railscope-cli read FILE --index N --connect DEVICE [--baud RATE]\n"
    "        [--interface KIND] [-o OUT]\n"
    "\n"
    "Reads the SVs of board N (counted from 0) of FILE back from the board\n"
    "and rebuilds its description from them; then saves all boards of the\n"
    "file to OUT (default: FILE itself, safely).\n"
    "Exit status 0 after \"Board data read completed successfully!\" and a good\n"
    "save, 1 otherwise.\n";

const char* const kVerifyUsage =
    "Usage: railscope-cli verify FILE --index N --connect DEVICE\n"
    "        [--baud RATE] [--interface KIND] [--log]\n"
    "\n"
    "Compares the board with the serial number of board N (counted from 0) of\n"
    "FILE with its description, without writing anything: checks the board's\n"
    "identity, learns its firmware version, reads every SV that programming\n"
    "would write and compares it with the value the description gives. The\n"
    "board is never restarted.\n"
    "Prints one line per difference, \"SV n: board b, description\n"
    "d\", then \"Board matches its description\" or \"N SVs differ\". SVs that\n"
    "differ only in bytes the board does not use (the board's SVs and the\n"
    "description's, decoded, describe the same) count as a match, with the\n"
    "line \"N SVs differ only in bytes this board does not use\". Values of the\n"
    "description the board cannot hold (see 'railscope-cli check') are named\n"
    "too, and the board does not match.\n"
    "The course of the conversation and the progress go to standard error;\n"
    "--log adds the text of every message sent and received.\n"
    "Exit status 0 when the board matches, 1 when it does not or on any\n"
    "failure.\n";

// --- discover, identify and renumber ------------------------------------------------------------

struct TDiscoverySession {
    std::unique_ptr<QCoreApplication> App = cli::MakeCoreApplication();
    TLocoNetComm Link;
    TCliHost Host{Link};
    TBoardDiscovery Discovery{Host, TProductList(), nullptr};
    bool Lost = false;

    int Open(const std::string& command, const cli::TBusOptions& bus, uint32_t waitMs)
    {
        Discovery.SetTimeoutMs(waitMs);
        Host.PrintLog = false;
        Host.OnTimer = [this](EConversationTimer t) {
            if (t == EConversationTimer::Timeout)
                Discovery.TimeoutTimerTimer();
            else
                Discovery.MsgDelayTimerTimer();
        };
        TQtConversationHost::RouteSVMessages(Link, [this](const TLNSVProgMessage& m) { Discovery.HandleSVMessage(m); });
        QuitOnLinkLoss(Link, command, Lost);
        std::string error;
        if (!cli::OpenBusLink(Link, bus, error)) {
            std::fprintf(stderr, "railscope-cli %s: %s\n", command.c_str(), error.c_str());
            return 1;
        }
        return 0;
    }
    // Runs until the conversation is back at rest; false when interrupted or the link was lost.
    bool Wait()
    {
        RunUntil([this] { return Discovery.GetState() == TBoardDiscovery::rsIdle || Lost; });
        return !Lost && Discovery.GetState() == TBoardDiscovery::rsIdle;
    }
    void PrintBoxes()
    {
        for (const auto& text : Host.Boxes) std::printf("%s\n", text.c_str());
        Host.Boxes.clear();
        std::fflush(stdout);
    }
};

// The connection options and --wait; `positionalCount` arguments stay in `args`.
int ParseBusOnly(const std::string& command, std::vector<std::string>& args, cli::TBusOptions& bus, uint32_t& waitMs,
                 size_t positionalCount)
{
    std::string error;
    if (!cli::ParseBusOptions(args, bus, error) || !cli::TakeWaitOption(args, waitMs, error))
        return cli::UsageError(command, error);
    for (const auto& a : args)
        if (a.size() > 1 && a[0] == '-') return cli::UsageError(command, "unknown option '" + a + "'");
    if (args.size() != positionalCount)
        return cli::UsageError(command, args.size() < positionalCount ? "missing argument" : "too many arguments");
    return 0;
}

int RunDiscover(const std::vector<std::string>& arguments)
{
    const std::string command = "discover";
    std::vector<std::string> args = arguments;
    cli::TBusOptions bus;
    uint32_t waitMs = TBoardDiscovery::kTimeoutMs;
    if (int status = ParseBusOnly(command, args, bus, waitMs, 0)) return status;
    TDiscoverySession s;
    if (int status = s.Open(command, bus, waitMs)) return status;
    s.Discovery.DiscoverButtonClick();
    if (!s.Wait()) return 1;
    for (const auto& line : s.Discovery.GetListLines()) std::printf("%s\n", line.c_str());
    s.PrintBoxes();
    return 0;
}

// Discovers the boards, then lets `act` start a conversation about the line of board `serial`,
// waits for it to end and prints the message boxes it showed (and, with `printLine`, the board's
// list line). 0 when the last box says `success`.
int ActOnDiscoveredBoard(const std::string& command, const cli::TBusOptions& bus, uint32_t waitMs, uint32_t serial,
                         const std::function<void(TBoardDiscovery&, int)>& act, const std::string& success,
                         bool printLine)
{
    TDiscoverySession s;
    if (int status = s.Open(command, bus, waitMs)) return status;
    s.Discovery.DiscoverButtonClick();
    if (!s.Wait()) return 1;
    s.Host.Boxes.clear();
    int index = -1;
    for (size_t i = 0; i < s.Discovery.GetFoundCount() && index < 0; ++i)
        if (s.Discovery.GetFoundBoard(i).HasSerial(serial)) index = static_cast<int>(i);
    if (index < 0) {
        std::fprintf(stderr, "railscope-cli %s: no board with serial number %u answered the discovery\n",
                     command.c_str(), serial);
        return 1;
    }
    act(s.Discovery, index);
    if (!s.Wait()) return 1;
    const bool ok = !s.Host.Boxes.empty() && s.Host.Boxes.back() == success;
    s.PrintBoxes();
    if (ok && printLine)
        std::printf("%s\n", s.Discovery.GetFoundBoard(static_cast<size_t>(index)).GetListLine().c_str());
    return ok ? 0 : 1;
}

int RunIdentify(const std::vector<std::string>& arguments)
{
    const std::string command = "identify";
    std::vector<std::string> args = arguments;
    cli::TBusOptions bus;
    uint32_t waitMs = TBoardDiscovery::kTimeoutMs;
    if (int status = ParseBusOnly(command, args, bus, waitMs, 1)) return status;
    uint32_t serial = 0;
    if (!ParseSerial(args[0], 1, 65535, serial))
        return cli::UsageError(command, "SERIAL must be a whole number from 1 to 65535, not '" + args[0] + "'");
    return ActOnDiscoveredBoard(
        command, bus, waitMs, serial, [](TBoardDiscovery& d, int index) { d.IdentifyButtonClick(index); },
        "Identify successful!", false);
}

int RunRenumber(const std::vector<std::string>& arguments)
{
    const std::string command = "renumber";
    std::vector<std::string> args = arguments;
    cli::TBusOptions bus;
    uint32_t waitMs = TBoardDiscovery::kTimeoutMs;
    if (int status = ParseBusOnly(command, args, bus, waitMs, 2)) return status;
    uint32_t serial = 0, newSerial = 0;
    if (!ParseSerial(args[0], 1, 65535, serial))
        return cli::UsageError(command, "SERIAL must be a whole number from 1 to 65535, not '" + args[0] + "'");
    if (!ParseSerial(args[1], 1, 65535, newSerial))
        return cli::UsageError(command, "NEWSERIAL must be a whole number from 1 to 65535, not '" + args[1] + "'");
    return ActOnDiscoveredBoard(
        command, bus, waitMs, serial, [newSerial](TBoardDiscovery& d, int index) { d.RenumberButtonClick(index, newSerial); },
        "Change Address successful. Relabel board now!", true);
}

const cli::RegisterCommand kProgram({"program", "program a board of a board file into the board on the bus",
                                     kProgramUsage, [](const std::vector<std::string>& a) {
                                         return RunTransfer("program", a, ETransfer::Program);
                                     }});
const cli::RegisterCommand kRead({"read", "read a board's SVs back into its board file", kReadUsage,
                                  [](const std::vector<std::string>& a) {
                                      return RunTransfer("read", a, ETransfer::Read);
                                  }});
const cli::RegisterCommand kVerify({"verify", "compare a board on the bus with its description", kVerifyUsage,
                                    [](const std::vector<std::string>& a) {
                                        return RunTransfer("verify", a, ETransfer::Verify);
                                    }});
const cli::RegisterCommand kDiscover(
    {"discover", "list the boards on the bus",
     std::string("Usage: railscope-cli discover --connect DEVICE [--baud RATE]\n"
                 "                              [--interface KIND] [--wait SECONDS]\n"
                 "\n"
                 "Sends a Discover command, lists each board that answers (serial,\n"
                 "product, manufacturer and description from the product table) once 5\n"
                 "seconds (--wait) pass without a reply, then prints\n"
                 "\"Discovery complete!\".\n"
                 "\n") +
         cli::kWaitOptionUsage,
     RunDiscover});
const cli::RegisterCommand kIdentify(
    {"identify", "make one board identify itself",
     std::string("Usage: railscope-cli identify SERIAL --connect DEVICE [--baud RATE]\n"
                 "                              [--interface KIND] [--wait SECONDS]\n"
                 "\n"
                 "Discovers the boards, then sends an Identify command to the board with\n"
                 "serial number SERIAL and prints the outcome. Exit status 0 when the\n"
                 "board answered.\n"
                 "\n") +
         cli::kWaitOptionUsage,
     RunIdentify});
const cli::RegisterCommand kRenumber(
    {"renumber", "give a board a new serial number",
     std::string("Usage: railscope-cli renumber SERIAL NEWSERIAL --connect DEVICE\n"
                 "        [--baud RATE] [--interface KIND] [--wait SECONDS]\n"
                 "\n"
                 "Discovers the boards (a new number that another board already has is\n"
                 "refused), identifies the board SERIAL and changes its address to\n"
                 "NEWSERIAL; prints the outcome and the board's new list line. Exit status\n"
                 "0 on success.\n"
                 "\n") +
         cli::kWaitOptionUsage,
     RunRenumber});

} // namespace

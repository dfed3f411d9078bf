// Commands that use the bus: monitor and send.
#include "cli/BusOptions.h"
#include "cli/Commands.h"

#include "boards/SafeFile.h"
#include "link/LnThreadComm.h"
#include "messages/LNSensFBMessage.h"
#include "messages/LNSwReqMessage.h"
#include "messages/MessageText.h"
#include "monitor/MonitorLines.h"

#include <QElapsedTimer>
#include <QTimer>

#include <cstdio>
#include <fstream>
#include <iostream>

namespace {

using cli::ParseNumber;

// --- monitor ---------------------------------------------------------------------------------

const char* const kMonitorUsage =
    "Usage: railscope-cli monitor --connect DEVICE [--baud RATE]\n"
    "        [--interface KIND] [--raw] [--timestamps] [--direction]\n"
    "        [--only NAME[,NAME...]] [--match TEXT] [--count N] [--seconds S]\n"
    "        [--log FILE]\n"
    "\n"
    "Prints each message received, decoded as the monitor window shows it\n"
    "with \"Expand Messages\" ticked (--raw: opcode name and hex bytes), until\n"
    "N messages, S seconds, the end of a file: replay or an interrupt; then\n"
    "the number of messages received (printed or not).\n"
    "\n"
    "  --timestamps           start each line with the milliseconds since the\n"
    "                         start\n"
    "  --direction            start each line with \"sent\" (the echo of a\n"
    "                         message this program wrote) or \"recv\"\n"
    "  --only NAME[,NAME...]  print only messages whose opcode name, as --raw\n"
    "                         prints it, is one of these (OPC_SENSORREP or\n"
    "                         OPC_SENSORREP:, any case)\n"
    "  --match TEXT           print only lines whose text holds TEXT,\n"
    "                         ignoring case\n"
    "  --log FILE             write the link's receive log to FILE; FILE is\n"
    "                         replaced when monitoring ends (the log grows in\n"
    "                         a hidden file beside it meanwhile), so a full\n"
    "                         disk keeps the old file\n"
    "--only and --match together print the lines that pass both; --count\n"
    "counts every message.\n"
    "Exit status 1 when the link cannot be opened or is lost, or FILE cannot\n"
    "be written.\n";

// Reads --only's list into one bit per message type; false with the name not known.
bool ParseOpcodeNames(const std::string& list, uint64_t& types, std::string& unknown)
{
    static_assert(eOPCTypeCount <= 64);
    types = 0;
    std::size_t start = 0;
    while (start <= list.size()) {
        std::size_t end = list.find(',', start);
        if (end == std::string::npos) end = list.size();
        std::string name = list.substr(start, end - start);
        if (!name.empty() && name.back() == ':') name.pop_back();
        bool known = false;
        for (int t = 0; t < eOPCTypeCount; ++t) {
            std::string_view candidate = TLocoNetMessage::OpcodeNameOf(static_cast<ELocoNetMsgType>(t));
            candidate.remove_suffix(1); // the colon
            if (!name.empty() && name.size() == candidate.size() && ContainsIgnoringCase(candidate, name)) {
                types |= uint64_t{1} << t;
                known = true;
            }
        }
        if (!known) {
            unknown = name;
            return false;
        }
        start = end + 1;
    }
    return true;
}

int RunMonitor(const std::vector<std::string>& arguments)
{
    const std::string cmd = "monitor";
    std::vector<std::string> args = arguments;
    cli::TBusOptions bus;
    std::string error;
    if (!cli::ParseBusOptions(args, bus, error)) return cli::UsageError(cmd, error);
    bool raw = false, timestamps = false, direction = false;
    long long count = 0, seconds = 0;
    std::string logFile, match;
    uint64_t onlyTypes = 0; // 0: every type
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--raw")
            raw = true;
        else if (a == "--timestamps")
            timestamps = true;
        else if (a == "--direction")
            direction = true;
        else if (a == "--count" || a == "--seconds" || a == "--log" || a == "--only" || a == "--match") {
            if (i + 1 >= args.size()) return cli::UsageError(cmd, a + " needs a value");
            const std::string& v = args[++i];
            std::string unknown;
            if (a == "--log")
                logFile = v;
            else if (a == "--match")
                match = v;
            else if (a == "--only") {
                if (!ParseOpcodeNames(v, onlyTypes, unknown))
                    return cli::UsageError(cmd,
                                           "--only: '" + unknown +
                                               "' is not an opcode name as --raw prints it (such as OPC_SENSORREP)");
            } else if (!ParseNumber(v, 1, 1000000000000LL, a == "--count" ? count : seconds))
                return cli::UsageError(cmd, a + " must be a whole number from 1, not '" + v + "'");
        } else {
            return cli::UnknownArgument(cmd, a);
        }
    }

    // Monitors, writing the receive log to `log` when there is one; stops when the log can no
    // longer be written. `opened` tells whether the link could be opened at all.
    bool opened = false;
    auto monitor = [&](std::ostream* log) {
        auto app = cli::MakeCoreApplication();
        TLnThreadComm link;
        if (log) {
            link.SetLogStream(log);
            link.SetLogToFile(true);
        }
        QElapsedTimer clock;
        clock.start();
        long long received = 0;
        int status = 0;
        std::string out;
        out.reserve(1 << 17);
        auto flush = [&out] {
            std::fwrite(out.data(), 1, out.size(), stdout);
            std::fflush(stdout);
            out.clear();
        };
        bool done = false;
        auto finish = [&](int code) {
            if (done) return;
            done = true;
            status = code;
            QCoreApplication::quit();
        };
        link.OnRxMsg = [&](TLnThreadComm*, uint32_t) {
            TRxStamp stamp;
            while (!done) {
                auto msg = link.ReadMessage(&stamp);
                if (!msg) break;
                ++received;
                if (count > 0 && received >= count) finish(0);
                if (onlyTypes != 0 && (onlyTypes & (uint64_t{1} << msg->MessageType())) == 0) continue;
                const std::string line = raw ? msg->TLocoNetMessage::Text() : ExpandedMessageText(*msg);
                if (!match.empty() && !ContainsIgnoringCase(line, match)) continue;
                if (timestamps) {
                    out += std::to_string(clock.elapsed());
                    out += ' ';
                }
                if (direction) out += DirectionText(stamp.Echo);
                out += line;
                out += '\n';
            }
            flush();
            if (log && !*log) finish(1);
        };
        link.OnError = [&](TLnThreadComm* sender, int) {
            if (sender->Enabled()) return; // a line error; reading goes on
            std::fprintf(stderr, "railscope-cli monitor: %s\n", cli::LinkLostText(*sender).c_str());
            finish(1);
        };
        link.OnEndOfData = [&](TLnThreadComm*) { finish(0); };
        if (!cli::OpenBusLink(link, bus, error)) {
            std::fprintf(stderr, "railscope-cli monitor: %s\n", error.c_str());
            return 1;
        }
        opened = true;
        cli::QuitOnInterrupt();
        if (seconds > 0) QTimer::singleShot(std::chrono::seconds(seconds), [&] { finish(0); });
        if (!done) QCoreApplication::exec();
        link.Close();
        flush();
        std::printf("No. Messages received: %lld\n", received);
        return status;
    };

    if (logFile.empty()) return monitor(nullptr);
    int status = 0;
    const bool logWritten = WriteFileReplacing(
        logFile,
        [&](std::ostream& log) {
            status = monitor(&log);
            // Without a link there is no log: the file stays as it was.
            if (!opened) log.setstate(std::ios::failbit);
        },
        error);
    if (!logWritten && (opened || status == 0)) {
        std::fprintf(stderr, "railscope-cli monitor: cannot write log file %s: %s\n", logFile.c_str(), error.c_str());
        return 1;
    }
    return status;
}

// --- send --------------------------------------------------------------------------------------

const char* const kSendUsage =
    "Usage: railscope-cli send --connect DEVICE [--baud RATE]\n"
    "                          [--interface KIND] MESSAGE\n"
    "\n"
    "Puts one message on the bus, built as the program's menus and generator\n"
    "windows build it, and waits until it has been written. MESSAGE is one\n"
    "of:\n"
    "  HEX...                       bytes in hex, checksum included, sent as\n"
    "                               typed (83 7C)\n"
    "  --power on|off               track power on (83 7C) or off (82 7D)\n"
    "  --query                      query the interface (81 7E)\n"
    "  --sensor BOARD,INPUT on|off  sensor report, board 1-256, input 1-16\n"
    "  --switch N closed|thrown     switch request, switch 1-2048\n"
    "Exit status 1 when the link cannot be opened.\n";

std::unique_ptr<TLocoNetMessage> FixedMessage(uint8_t opcode)
{
    auto msg = std::make_unique<TLocoNetMessage>();
    msg->AddByte(opcode);
    msg->AddChecksum();
    return msg;
}

int RunSend(const std::vector<std::string>& arguments)
{
    const std::string cmd = "send";
    std::vector<std::string> args = arguments;
    cli::TBusOptions bus;
    std::string error;
    if (!cli::ParseBusOptions(args, bus, error)) return cli::UsageError(cmd, error);
    if (args.empty()) return cli::UsageError(cmd, "no message given");

    std::unique_ptr<TLocoNetMessage> msg;
    const std::string& kind = args[0];
    auto want = [&](size_t n) { return args.size() == n; };
    if (kind == "--power") {
        if (!want(2) || (args[1] != "on" && args[1] != "off")) return cli::UsageError(cmd, "--power takes on or off");
        msg = FixedMessage(args[1] == "on" ? 0x83 : 0x82);
    } else if (kind == "--query") {
        if (!want(1)) return cli::UsageError(cmd, "--query takes no value");
        msg = FixedMessage(0x81);
    } else if (kind == "--sensor") {
        if (!want(3) || (args[2] != "on" && args[2] != "off"))
            return cli::UsageError(cmd, "--sensor takes BOARD,INPUT and on or off");
        auto comma = args[1].find(',');
        long long board = 0, input = 0;
        if (comma == std::string::npos || !ParseNumber(args[1].substr(0, comma), 1, 256, board) ||
            !ParseNumber(args[1].substr(comma + 1), 1, 16, input))
            return cli::UsageError(cmd,
                                   "--sensor needs BOARD,INPUT with board 1-256 and input 1-16, not '" + args[1] + "'");
        msg = std::make_unique<TLNSensFBMessage>(static_cast<uint32_t>(board), static_cast<uint32_t>(input),
                                                 args[2] == "on");
    } else if (kind == "--switch") {
        long long point = 0;
        if (!want(3) || (args[2] != "closed" && args[2] != "thrown"))
            return cli::UsageError(cmd, "--switch takes N and closed or thrown");
        if (!ParseNumber(args[1], 1, 2048, point))
            return cli::UsageError(cmd, "--switch needs a switch number from 1 to 2048, not '" + args[1] + "'");
        msg = std::make_unique<TLNSwReqMessage>(static_cast<uint32_t>(point), args[2] == "closed" ? 3u : 1u);
    } else if (kind.rfind("--", 0) == 0) {
        return cli::UnknownArgument(cmd, kind);
    } else {
        std::string text;
        for (const auto& a : args) text += (text.empty() ? "" : " ") + a;
        msg = std::make_unique<TLocoNetMessage>(text);
        if (msg->GetLength() == 0)
            return cli::UsageError(cmd,
                                   "'" + text + "' is not a message: give at least two hex bytes separated by blanks");
    }

    auto app = cli::MakeCoreApplication();
    TLnThreadComm link;
    bool written = false;
    bool refused = false;
    link.OnTxEmpty = [&](TLnThreadComm*) {
        written = true;
        QCoreApplication::quit();
    };
    link.OnError = [&](TLnThreadComm* sender, int flags) {
        if (flags & kLnErrRefused) refused = true;
        if (refused || !sender->Enabled()) QCoreApplication::quit();
    };
    if (!cli::OpenBusLink(link, bus, error)) {
        std::fprintf(stderr, "railscope-cli send: %s\n", error.c_str());
        return 1;
    }
    std::string hex = msg->HexText();
    link.WriteMessage(std::move(msg));
    cli::QuitOnInterrupt();
    QTimer::singleShot(5000, [] { QCoreApplication::quit(); });
    if (!written && !refused) QCoreApplication::exec();
    if (refused) {
        std::fprintf(stderr, "railscope-cli send: %s did not put the message on the bus (SENT ERROR)\n",
                     bus.Device.c_str());
        return 1;
    }
    if (!written) {
        std::fprintf(stderr, "railscope-cli send: the message was not written to %s%s\n", bus.Device.c_str(),
                     link.Enabled() ? "" : (": " + link.LastError()).c_str());
        return 1;
    }
    link.Close();
    if (!hex.empty() && hex.back() == ' ') hex.pop_back();
    std::printf("Sent %s\n", hex.c_str());
    return 0;
}

const cli::RegisterCommand kMonitor({"monitor", "print the messages on the bus",
                                     std::string(kMonitorUsage) + "\nConnection:\n" + cli::kBusOptionsUsage,
                                     RunMonitor});
const cli::RegisterCommand kSend({"send", "put one message on the bus",
                                  std::string(kSendUsage) + "\nConnection:\n" + cli::kBusOptionsUsage, RunSend});

} // namespace

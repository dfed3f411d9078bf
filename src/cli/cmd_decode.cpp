// railscope-cli decode / frame: LocoNet messages as the monitor shows them.
#include "boards/CsvIo.h"
#include "boards/SafeFile.h"
#include "cli/Commands.h"
#include "link/FrameAssembler.h"
#include "link/TextFormat.h"
#include "messages/MessageText.h"

#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

namespace {

const char* const kDecodeUsage =
    "Usage: railscope-cli decode [--raw] [HEX ...]\n"
    "\n"
    "Decodes LocoNet messages written as hexadecimal bytes, the way the\n"
    "arbitrary-message window takes them (\"B2 05 50 18\"): one message per\n"
    "argument or, with no HEX argument, one per line of standard input (blank\n"
    "lines are skipped). For each message prints one line: the text the\n"
    "monitor shows with \"Expand Messages\" ticked. No checksum is added or\n"
    "required.\n"
    "\n"
    "Options:\n"
    "  --raw    print the opcode name and the hex bytes instead of the\n"
    "           decoded text\n"
    "  --       end of options\n"
    "  --help   show this help\n"
    "\n"
    "Input that gives no message is reported on standard error as\n"
    "\"error: not a LocoNet message: INPUT\" (its first 64 characters) and\n"
    "decoding goes on.\n"
    "A line of standard input longer than 1048576 characters ends decoding.\n"
    "Exit status: 0 when every input was a message, 1 otherwise, 2 on bad\n"
    "usage or an overlong line.\n";

const char* const kFrameUsage =
    "Usage: railscope-cli frame [--log FILE]\n"
    "\n"
    "Reads raw bytes as received from a LocoNet interface on standard input,\n"
    "frames them into messages exactly as the link does (bad checksums and\n"
    "broken messages are dropped) and prints each accepted message as the\n"
    "monitor shows it with \"Expand Messages\" ticked, one per line.\n"
    "\n"
    "Options:\n"
    "  --log FILE   also write the link's receive log of the stream to FILE\n"
    "  --help       show this help\n"
    "\n"
    "Exit status: 0 on success, 1 when FILE cannot be written, 2 on bad\n"
    "usage.\n";

bool IsBlank(const std::string& s)
{
    return s.find_first_not_of(" \t\r\n\f\v") == std::string::npos;
}

// The start of a text from outside, safe to print: at most 64 characters, and how long it was.
std::string Quoted(const std::string& text)
{
    constexpr size_t kShown = 64;
    if (text.size() <= kShown) return textformat::Escaped(text);
    return textformat::Escaped(std::string_view(text).substr(0, kShown)) + "... (" + std::to_string(text.size()) +
           " characters)";
}

enum class ELineRead { Line, End, TooLong };

// One line of `in` without its line end, of at most TCsvIo::kMaxLineLength characters, as the
// board files are read.
ELineRead ReadLine(std::streambuf& in, std::string& line)
{
    using traits = std::char_traits<char>;
    line.clear();
    for (;;) {
        const int c = in.sbumpc();
        if (c == traits::eof()) return line.empty() ? ELineRead::End : ELineRead::Line;
        if (c == '\n') return ELineRead::Line;
        if (line.size() == TCsvIo::kMaxLineLength) return ELineRead::TooLong;
        line.push_back(static_cast<char>(c));
    }
}

int RunDecode(const std::vector<std::string>& args)
{
    bool raw = false;
    std::vector<std::string> inputs;
    bool optionsDone = false;
    for (const std::string& a : args) {
        if (!optionsDone && a.size() > 1 && a[0] == '-') {
            if (a == "--raw")
                raw = true;
            else if (a == "--")
                optionsDone = true;
            else
                return cli::UsageError("decode", "unknown option '" + a + "'");
            continue;
        }
        inputs.push_back(a);
    }

    int status = 0;
    std::string out;
    auto decodeOne = [&](const std::string& input) {
        TLocoNetMessage msg{std::string_view(input)};
        if (msg.GetLength() == 0) {
            std::cout << out << std::flush;
            out.clear();
            std::cerr << "error: not a LocoNet message: " << Quoted(input) << "\n";
            status = 1;
            return;
        }
        out += raw ? msg.Text() : ExpandedMessageText(msg);
        out += '\n';
        if (out.size() > 16384) {
            std::cout << out;
            out.clear();
        }
    };

    if (!inputs.empty()) {
        for (const std::string& input : inputs) decodeOne(input);
    } else {
        std::string line;
        for (;;) {
            const ELineRead read = ReadLine(*std::cin.rdbuf(), line);
            if (read == ELineRead::End) break;
            if (read == ELineRead::TooLong) {
                std::cout << out << std::flush;
                std::cerr << "railscope-cli decode: standard input: " << TCsvIo::LineTooLongText() << "\n";
                return 2;
            }
            if (!line.empty() && line.back() == '\r') line.pop_back();
            if (IsBlank(line)) continue;
            decodeOne(line);
        }
    }
    std::cout << out << std::flush;
    return status;
}

int RunFrame(const std::vector<std::string>& args)
{
    std::string logPath;
    bool haveLog = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--log") {
            if (i + 1 >= args.size()) return cli::UsageError("frame", "option '--log' needs a file name");
            logPath = args[++i];
            haveLog = true;
        } else if (a.rfind("--log=", 0) == 0) {
            logPath = a.substr(6);
            haveLog = true;
        } else if (!a.empty() && a[0] == '-') {
            return cli::UsageError("frame", "unknown option '" + a + "'");
        } else {
            return cli::UsageError("frame", "unexpected argument '" + a + "' (the bytes are read from standard input)");
        }
    }
    if (haveLog && logPath.empty()) return cli::UsageError("frame", "option '--log' needs a file name");

    // Frames standard input, writing the receive log to `log` when there is one. Stops early when
    // the log can no longer be written. False when standard input could not be read.
    auto frameAll = [](std::ostream* log) {
        std::string out;
        TFrameAssembler assembler([&out](TLocoNetMessage&& msg) {
            out += ExpandedMessageText(msg);
            out += '\n';
        });
        if (log)
            assembler.SetLogSink(
                [log](std::string_view text) { log->write(text.data(), static_cast<std::streamsize>(text.size())); });
        std::vector<uint8_t> buffer(64 * 1024);
        for (;;) {
            const size_t n = std::fread(buffer.data(), 1, buffer.size(), stdin);
            if (n > 0) {
                assembler.Feed(buffer.data(), n);
                std::cout << out;
                out.clear();
            }
            if (log && !*log) break;
            if (n < buffer.size()) {
                if (std::ferror(stdin)) return false;
                if (std::feof(stdin)) break;
            }
        }
        std::cout << std::flush;
        return true;
    };

    bool inputRead = true;
    std::string error;
    if (!haveLog) {
        inputRead = frameAll(nullptr);
    } else if (!WriteFileReplacing(
                   logPath,
                   [&](std::ostream& log) {
                       inputRead = frameAll(&log);
                       // A log of half the input is not kept in place of the old one.
                       if (!inputRead) log.setstate(std::ios::failbit);
                   },
                   error) &&
               inputRead) {
        std::cerr << "error: cannot write log file " << logPath << ": " << error << "\n";
        return 1;
    }
    if (!inputRead) {
        std::cerr << "error: cannot read standard input\n";
        return 1;
    }
    return 0;
}

const cli::RegisterCommand kDecode{{"decode", "decode LocoNet messages given as hex bytes", kDecodeUsage, RunDecode}};
const cli::RegisterCommand kFrame{
    {"frame", "frame raw LocoNet bytes from standard input and decode them", kFrameUsage, RunFrame}};

} // namespace

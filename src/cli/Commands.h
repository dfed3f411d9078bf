#pragma once
// Command registry of railscope-cli. Each command lives in a file of its own and registers
// itself with a static RegisterCommand object.

#include "boards/BoardFactory.h"

#include <functional>
#include <string>
#include <vector>

namespace cli {

// What a command works with besides its arguments: the board classes it makes boards of (a test
// gives its own).
struct TCommandContext {
    TBoardFactory MakeBoard = CreateBoardOfType;
};

struct Command {
    using TRun = std::function<int(const std::vector<std::string>& args, const TCommandContext& context)>;
    // A command that makes no boards takes its arguments only.
    using TPlainRun = std::function<int(const std::vector<std::string>& args)>;

    Command(std::string name, std::string summary, std::string usage, TRun run);
    Command(std::string name, std::string summary, std::string usage, TPlainRun run);

    std::string name;
    std::string summary;
    std::string usage; // printed by --help for the command
    TRun run;
};

std::vector<Command>& Registry();
// The registered commands in the order of their names, as the help and the manual list them.
std::vector<Command> SortedCommands();

// What the tool does, in a sentence, for its help and its manual page.
extern const char* const kToolDescription;

struct RegisterCommand {
    explicit RegisterCommand(Command command) { Registry().push_back(std::move(command)); }
};

// A whole number in decimal from min to max, nothing else in the text.
bool ParseNumber(const std::string& text, long long min, long long max, long long& value);

// Exit status for bad usage (unknown option, missing argument).
constexpr int kUsageError = 2;

// Prints "railscope-cli <command>: <message>" and the usage hint on standard error; returns 2.
int UsageError(const std::string& command, const std::string& message);
// The usage error for an argument the command does not take: "unknown option '--x'" for an
// option, "unexpected argument 'x'" for anything else.
int UnknownArgument(const std::string& command, const std::string& argument);

} // namespace cli

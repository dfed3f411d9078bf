// The command registry of railscope-cli and the usage error every command reports the same way.
#include "cli/Commands.h"

#include <algorithm>
#include <charconv>
#include <iostream>

namespace cli {

const char* const kToolDescription = "Railscope's command-line tool: decode LocoNet messages, work with board files,\n"
                                     "and talk to LocoNet boards.";

Command::Command(std::string name_, std::string summary_, std::string usage_, TRun run_)
    : name(std::move(name_)), summary(std::move(summary_)), usage(std::move(usage_)), run(std::move(run_))
{}

Command::Command(std::string name_, std::string summary_, std::string usage_, TPlainRun run_)
    : Command(std::move(name_), std::move(summary_), std::move(usage_),
              [plain = std::move(run_)](const std::vector<std::string>& args, const TCommandContext&) {
                  return plain(args);
              })
{}

std::vector<Command>& Registry()
{
    static std::vector<Command> commands;
    return commands;
}

std::vector<Command> SortedCommands()
{
    std::vector<Command> commands = Registry();
    std::sort(commands.begin(), commands.end(), [](const Command& a, const Command& b) { return a.name < b.name; });
    return commands;
}

bool ParseNumber(const std::string& text, long long min, long long max, long long& value)
{
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return !text.empty() && ec == std::errc() && end == text.data() + text.size() && value >= min && value <= max;
}

int UsageError(const std::string& command, const std::string& message)
{
    std::cerr << "railscope-cli " << command << ": " << message << "\n"
              << "Try 'railscope-cli " << command << " --help'.\n";
    return kUsageError;
}

int UnknownArgument(const std::string& command, const std::string& argument)
{
    if (argument.size() > 1 && argument[0] == '-') return UsageError(command, "unknown option '" + argument + "'");
    return UsageError(command, "unexpected argument '" + argument + "'");
}

} // namespace cli

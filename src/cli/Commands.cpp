// The command registry of railscope-cli and the usage error every command reports the same way.
#include "cli/Commands.h"

#include <algorithm>
#include <iostream>

namespace cli {

const char* const kToolDescription = "Railscope's command-line tool: decode LocoNet messages, work with board files,\n"
                                     "and talk to LocoNet boards.";

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

int UsageError(const std::string& command, const std::string& message)
{
    std::cerr << "railscope-cli " << command << ": " << message << "\n"
              << "Try 'railscope-cli " << command << " --help'.\n";
    return kUsageError;
}

} // namespace cli

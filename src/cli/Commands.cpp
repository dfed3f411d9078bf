// The command registry of railscope-cli and the usage error every command reports the same way.
#include "cli/Commands.h"

#include <iostream>

namespace cli {

std::vector<Command>& Registry()
{
    static std::vector<Command> commands;
    return commands;
}

int UsageError(const std::string& command, const std::string& message)
{
    std::cerr << "railscope-cli " << command << ": " << message << "\n"
              << "Try 'railscope-cli " << command << " --help'.\n";
    return kUsageError;
}

} // namespace cli

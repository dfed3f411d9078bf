// railscope-cli: the command-line tool of Railscope.
#include "boards/ShippedFiles.h"
#include "cli/BusOptions.h"
#include "cli/Commands.h"
#include "cli/ManPage.h"

#include <QCoreApplication>

#include <algorithm>
#include <csignal>
#include <iostream>

namespace {

void PrintHelp(std::ostream& out)
{
    out << "Usage: railscope-cli COMMAND [ARGS...]\n\n" << cli::kToolDescription << "\n\nCommands:\n";
    for (const auto& c : cli::SortedCommands()) {
        out << "  " << c.name;
        for (size_t i = c.name.size(); i < 12; ++i) out << ' ';
        out << c.summary << "\n";
    }
    out << "\nRun 'railscope-cli COMMAND --help' for a command's arguments.\n";
}

} // namespace

int main(int argc, char** argv)
{
#ifdef SIGXFSZ
    // A file that outgrows the size limit fails its write with a reason, instead of ending the
    // program half-way through it.
    std::signal(SIGXFSZ, SIG_IGN);
#endif
    {
        // Where the shipped files (the product table) are looked for.
        const auto app = cli::MakeCoreApplication();
        shipped::SetProgramFolder(QCoreApplication::applicationDirPath().toStdString());
    }
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty()) {
        PrintHelp(std::cerr);
        return cli::kUsageError;
    }
    if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        PrintHelp(std::cout);
        return 0;
    }
    // Not listed in the help: the build writes the manual page with it.
    if (args[0] == "--man" && args.size() == 1) {
        cli::WriteManPage(std::cout, RAILSCOPE_VERSION);
        return 0;
    }
    for (const auto& c : cli::Registry()) {
        if (c.name != args[0]) continue;
        std::vector<std::string> rest(args.begin() + 1, args.end());
        if (std::find(rest.begin(), rest.end(), "--help") != rest.end()) {
            std::cout << c.usage;
            return 0;
        }
        return c.run(rest, cli::TCommandContext{});
    }
    std::cerr << "railscope-cli: unknown command '" << args[0] << "'\n"
              << "Try 'railscope-cli --help'.\n";
    return cli::kUsageError;
}

#include "cli/ManPage.h"

#include "cli/Commands.h"

namespace cli {

namespace {

// What the EXAMPLES section shows: what a command does, and the command.
struct TExample {
    const char* What;
    const char* Command;
};
constexpr TExample kExamples[] = {
    {"Decode a sensor report and a track power message:", "railscope-cli decode \"B2 05 50 18\" \"83 7C\""},
    {"List the boards of a board file:", "railscope-cli list layout-orb4.csv"},
    {"Check that every board of two files can hold its description:",
     "railscope-cli check layout-orb4.csv layout-qxp6.csv"},
    {"Program the first board of a file through a PR3 on /dev/ttyACM0:",
     "railscope-cli program layout-orb4.csv --index 0 --connect /dev/ttyACM0"},
    {"Compare that board with its description, writing nothing:",
     "railscope-cli verify layout-orb4.csv --index 0 --connect /dev/ttyACM0"},
    {"Back up every board on the bus into board files:",
     "railscope-cli backup --connect /dev/ttyACM0 --out layout-backup"},
    {"Check every board on the bus against the board files of a folder:",
     "railscope-cli audit layout/ --connect /dev/ttyACM0"},
    {"Watch sensor reports on the simulated LocoNet for ten seconds:",
     "railscope-cli monitor --connect 'sim:traffic=on' --only OPC_SENSORREP \\\n    --seconds 10"},
    {"Share an interface with other programs over the network:",
     "railscope-cli serve --connect /dev/ttyACM0 --interface pr3"},
};

} // namespace

std::string RoffText(const std::string& text)
{
    std::string out;
    out.reserve(text.size() + text.size() / 8);
    bool lineStart = true;
    for (char c : text) {
        if (lineStart && (c == '.' || c == '\'')) out += "\\&";
        if (c == '\\')
            out += "\\e";
        else if (c == '-')
            out += "\\-";
        else
            out += c;
        lineStart = c == '\n';
    }
    return out;
}

void WriteManPage(std::ostream& out, const std::string& version)
{
    out << ".TH RAILSCOPE\\-CLI 1 \"\" \"Railscope " << RoffText(version) << "\" \"User Commands\"\n"
        << ".nh\n"
        << ".SH NAME\n"
        << "railscope\\-cli \\- decode LocoNet messages, work with board files and program LocoNet boards\n"
        << ".SH SYNOPSIS\n"
        << ".B railscope\\-cli\n.I COMMAND\n.RI [ ARGS ...]\n.br\n"
        << ".B railscope\\-cli\n.I COMMAND\n.B \\-\\-help\n"
        << ".SH DESCRIPTION\n"
        << RoffText(kToolDescription) << "\n.PP\nThe commands:\n";
    for (const Command& c : SortedCommands())
        out << ".TP 14\n.B " << RoffText(c.name) << "\n" << RoffText(c.summary) << "\n";
    out << ".SH COMMANDS\n";
    for (const Command& c : SortedCommands()) {
        out << ".SS " << RoffText(c.name) << "\n.nf\n" << RoffText(c.usage);
        if (!c.usage.empty() && c.usage.back() != '\n') out << "\n";
        out << ".fi\n";
    }
    out << ".SH EXAMPLES\n";
    for (const TExample& example : kExamples)
        out << ".PP\n" << RoffText(example.What) << "\n.RS 2\n.nf\n" << RoffText(example.Command) << "\n.fi\n.RE\n";
    out << ".SH EXIT STATUS\n"
        << "0 on success, 1 on failure, " << kUsageError << " on bad usage; each command above says more.\n"
        << ".SH FILES\n"
        << ".TP\n.I progdevicelist.csv\n"
        << RoffText("The product table that names the boards found on the bus: read from the program's own "
                    "folder or, when it is not there, from the data folder of the installed program "
                    "(../share/railscope from the program's folder).\n");
}

} // namespace cli

// railscope-cli audit: checks every board on the bus against its board files, and programs the
// differing ones when asked.
#include "cli/BoardFiles.h"
#include "cli/BusOptions.h"
#include "cli/CliHost.h"
#include "cli/Commands.h"

#include "boards/BoardData.h"
#include "boards/SafeFile.h"
#include "link/Utf8Path.h"
#include "svprog/LayoutAudit.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

const char* const kAuditUsage =
    "Usage: railscope-cli audit --connect DEVICE FILE|FOLDER...\n"
    "        [--program-differing] [--wait SECONDS] [--csv OUT] [--baud RATE]\n"
    "        [--interface KIND]\n"
    "\n"
    "Checks the whole layout: discovers every board on the bus, matches each\n"
    "with the boards of the board files FILE (a FOLDER: its *.csv board files)\n"
    "by type and serial number, and verifies each matched board without\n"
    "writing anything, as 'railscope-cli verify' does. A lost reply hides no\n"
    "board: the discovery is asked 3 times at least, again after a round that\n"
    "found a new board and while a described board is missing, up to 6 times.\n"
    "Prints a table sorted by type and serial number (serial, type, name from\n"
    "the file and status, separated by tabs), then a summary line. Statuses:\n"
    "  matches\n"
    "  N SVs differ\n"
    "  description cannot be held (N values)   see 'railscope-cli check'\n"
    "  on the bus, in no file\n"
    "  in a file, not on the bus\n"
    "  type differs: bus has T\n"
    "  no answer                               it stopped answering\n"
    "  not checked                             the check ended before it\n"
    "  could not be verified: REASON           the programmer refused it\n"
    "\n"
    "  --program-differing    then programs each board whose SVs differ (never\n"
    "                         one whose description cannot be held, nor one of\n"
    "                         another type), verifies it again and prints the\n"
    "                         table after\n"
    "  --csv OUT              also writes the last table as CSV (serial, type,\n"
    "                         name, status and file) to OUT, replacing it only\n"
    "                         once it is complete\n"
    "\n"
    "Progress goes to standard error. A lost connection ends the check: the\n"
    "table so far is printed. Exit status 0 when every board on the bus and\n"
    "every board in the files matches, 1 otherwise, 2 on bad usage or a board\n"
    "file that cannot be used.\n";

struct TAuditArgs {
    std::vector<std::string> Paths;
    bool ProgramDiffering = false;
    std::string Csv;
};

int Parse(const std::string& command, std::vector<std::string> args, cli::TBusOptions& bus, uint32_t& waitMs,
          TAuditArgs& parsed)
{
    std::string error;
    if (!cli::ParseBusOptions(args, bus, error) || !cli::TakeWaitOption(args, waitMs, error))
        return cli::UsageError(command, error);
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--program-differing") {
            parsed.ProgramDiffering = true;
        } else if (a == "--csv") {
            if (i + 1 >= args.size() || args[i + 1].empty()) return cli::UsageError(command, "--csv needs a file");
            parsed.Csv = args[++i];
        } else if (a.size() > 1 && a[0] == '-') {
            return cli::UnknownArgument(command, a);
        } else {
            parsed.Paths.push_back(a);
        }
    }
    if (parsed.Paths.empty()) return cli::UsageError(command, "missing FILE or FOLDER");
    return 0;
}

// The board files a FILE or FOLDER argument names: the file itself, or the *.csv files of the
// folder whose first line names a board type, by name. The others are told on standard error.
std::vector<std::string> BoardFilesOf(const std::string& path)
{
    std::error_code ec;
    if (!fs::is_directory(PathFromUtf8(path), ec)) return {path};
    std::vector<std::string> files;
    for (const auto& entry : fs::directory_iterator(PathFromUtf8(path), ec)) {
        if (!entry.is_regular_file(ec) || entry.path().extension() != ".csv") continue;
        const std::string file = Utf8FromPath(entry.path());
        if (cli::BoardFileType(file) >= 0)
            files.push_back(file);
        else
            std::fprintf(stderr, "railscope-cli audit: %s is no board file; left out\n", file.c_str());
    }
    std::sort(files.begin(), files.end());
    return files;
}

// Loads every board file of the arguments into `audit`; 0, or 2 after saying why one cannot be
// used. A file named twice (on its own and in its folder) counts once.
int LoadDescriptions(const std::string& command, const std::vector<std::string>& paths, TLayoutAudit& audit)
{
    std::vector<fs::path> seen;
    size_t files = 0;
    for (const std::string& path : paths) {
        const std::vector<std::string> inFolder = BoardFilesOf(path);
        if (inFolder.empty()) return cli::UsageError(command, path + " holds no board file");
        for (const std::string& file : inFolder) {
            std::error_code ec;
            const fs::path canonical = fs::weakly_canonical(PathFromUtf8(file), ec);
            if (std::find(seen.begin(), seen.end(), canonical) != seen.end()) continue;
            seen.push_back(canonical);
            TBoardData data;
            int type = -1;
            if (int status = cli::LoadBoardFile(command, file, data, type)) return status;
            ++files;
            for (uint32_t i = 0; i < data.BoardCount(type); ++i) {
                std::string error;
                if (!audit.AddDescription(*data.GetBoard(type, i), file, i, error)) {
                    std::fprintf(stderr, "railscope-cli %s: %s\n", command.c_str(), error.c_str());
                    return cli::kUsageError;
                }
            }
        }
    }
    std::fprintf(stderr, "Checking the layout against %zu board %s\n", files, files == 1 ? "file" : "files");
    return 0;
}

void PrintTable(const TLayoutAudit& audit)
{
    for (const auto& row : audit.GetRows())
        std::printf("%u\t%s\t%s\t%s\n", row.Serial, BoardTypeTag(row.Type).c_str(), row.Name.c_str(),
                    TLayoutAudit::StatusText(row).c_str());
    std::printf("%s\n", audit.Summary().c_str());
    std::fflush(stdout);
}

// Runs the audit until it is at rest; false, with the run ended, when interrupted or the link was
// lost (which the session has said).
bool RunToRest(cli::TCliSession& session, TLayoutAudit& audit)
{
    session.RunUntil([&audit] { return audit.IsIdle(); });
    if (audit.IsIdle()) return audit.GetEnd() == TLayoutAudit::EEnd::Finished;
    audit.Cancel();
    std::fprintf(stderr, "railscope-cli audit: interrupted; the table so far follows\n");
    return false;
}

int RunAudit(const std::vector<std::string>& arguments)
{
    const std::string command = "audit";
    cli::TBusOptions bus;
    uint32_t waitMs = TBusConversation::kTimeoutMs;
    TAuditArgs parsed;
    if (int status = Parse(command, arguments, bus, waitMs, parsed)) return status;

    cli::TCliSession session(command);
    session.Host.LogStream = stderr;
    TLayoutAudit audit(session.Host);
    audit.SetDiscoveryWaitMs(waitMs);
    if (int status = LoadDescriptions(command, parsed.Paths, audit)) return status;
    // A CSV file that cannot be written is found out before the bus is asked anything.
    std::string error;
    if (!parsed.Csv.empty() && !CanReplaceFile(parsed.Csv, error)) {
        std::fprintf(stderr, "railscope-cli %s: cannot write %s: %s\n", command.c_str(), parsed.Csv.c_str(),
                     error.c_str());
        return 1;
    }
    if (!session.Open(audit, bus)) return 1;

    audit.Start();
    bool complete = RunToRest(session, audit);
    PrintTable(audit);
    if (complete && parsed.ProgramDiffering) {
        if (audit.DifferingCount() == 0) {
            std::fprintf(stderr, "No board differs from its description; nothing to program\n");
        } else {
            audit.ProgramDiffering();
            complete = RunToRest(session, audit);
            std::printf("\n");
            PrintTable(audit);
        }
    }
    session.Close();
    bool written = true;
    if (!parsed.Csv.empty() && !audit.WriteCsv(parsed.Csv, error)) {
        std::fprintf(stderr, "railscope-cli %s: cannot write %s: %s\n", command.c_str(), parsed.Csv.c_str(),
                     error.c_str());
        written = false;
    }
    return complete && written && audit.AllMatch() ? 0 : 1;
}

const cli::RegisterCommand kAudit({"audit", "check every board on the bus against its board files",
                                   std::string(kAuditUsage) + "\n" + cli::kWaitOptionUsage, RunAudit});

} // namespace

// railscope-cli backup: reads every board on the bus into board files, one per board type.
#include "cli/BusOptions.h"
#include "cli/CliHost.h"
#include "cli/Commands.h"

#include "boards/SafeFile.h"
#include "svprog/LayoutBackup.h"

#include <cstdio>
#include <string>
#include <vector>

namespace {

const char* const kBackupUsage =
    "Usage: railscope-cli backup --connect DEVICE --out FOLDER [--force]\n"
    "                            [--baud RATE] [--interface KIND]\n"
    "                            [--wait SECONDS]\n"
    "\n"
    "Backs up the layout: discovers every board on the bus, reads each one\n"
    "into a description as Read Board does, and writes one board file per\n"
    "board type found into FOLDER (made when missing): orb4.csv, kpx9.csv,\n"
    "orb8.csv, rvn2.csv and qxp6.csv, the boards of each type by serial\n"
    "number. A board that cannot be read is reported and the others are still\n"
    "written. Where a board's backup would not program back to the same SVs,\n"
    "says so for that board, and whether they differ only in bytes the board\n"
    "does not use.\n"
    "Existing files are never replaced unless --force is given; without it\n"
    "the backup stops before reading any board. A folder that cannot be\n"
    "written (or, with --force, a file that cannot be replaced) is found out\n"
    "before any board is read. Hidden temporary files that a backup killed\n"
    "while writing left in FOLDER are removed.\n"
    "Progress goes to standard error, a summary line to standard output.\n"
    "Exit status 0 when every board was read and written, 1 otherwise, 2 on\n"
    "bad usage.\n";

std::string Plural(size_t count, const char* one, const char* many)
{
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

int Fail(const std::string& message)
{
    std::fprintf(stderr, "railscope-cli backup: %s\n", message.c_str());
    return 1;
}

int RunBackup(const std::vector<std::string>& arguments)
{
    const std::string command = "backup";
    std::vector<std::string> args = arguments;
    cli::TBusOptions bus;
    std::string error;
    uint32_t waitMs = TBoardDiscovery::kTimeoutMs;
    if (!cli::ParseBusOptions(args, bus, error) || !cli::TakeWaitOption(args, waitMs, error))
        return cli::UsageError(command, error);
    std::string folder;
    bool force = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--out" || a == "-o") {
            if (i + 1 >= args.size() || args[i + 1].empty()) return cli::UsageError(command, a + " needs a folder");
            folder = args[++i];
        } else if (a == "--force") {
            force = true;
        } else if (a.size() > 1 && a[0] == '-') {
            return cli::UsageError(command, "unknown option '" + a + "'");
        } else {
            return cli::UsageError(command, "unexpected argument '" + a + "'");
        }
    }
    if (folder.empty()) return cli::UsageError(command, "--out FOLDER is required");

    // A folder that cannot be written is found out before the bus is asked anything.
    std::vector<std::string> leftovers;
    if (!TLayoutBackup::PrepareFolder(folder, leftovers, error)) return Fail(error);
    for (const auto& path : leftovers)
        std::fprintf(stderr, "Removed %s, left by a backup that did not finish\n", path.c_str());

    auto app = cli::MakeCoreApplication();
    TLocoNetComm link;
    cli::TCliHost host(link);
    host.LogStream = stderr;
    TLayoutBackup backup(host);
    backup.SetDiscoveryWaitMs(waitMs);
    backup.UseMessageDelay = bus.Interface == eMS100;
    host.OnTimer = [&backup](EConversationTimer t) {
        if (t == EConversationTimer::Timeout)
            backup.TimeoutTimerTimer();
        else
            backup.MsgDelayTimerTimer();
    };
    TQtConversationHost::RouteSVMessages(link, [&backup](const TLNSVProgMessage& m) { backup.HandleSVMessage(m); });
    bool lost = false;
    cli::QuitOnLinkLoss(link, command, lost);
    if (!cli::OpenBusLink(link, bus, error)) return Fail(error);

    // Runs one phase; false when the link was lost or the user interrupted.
    auto runPhase = [&](TLayoutBackup::EPhase phase) {
        cli::RunUntil([&] { return backup.GetPhase() != phase || lost; });
        if (lost) return false;
        if (backup.GetPhase() == phase) {
            std::fprintf(stderr, "railscope-cli backup: interrupted; nothing written\n");
            return false;
        }
        return true;
    };

    backup.Discover();
    if (!runPhase(TLayoutBackup::bpDiscovering)) return 1;
    if (backup.GetFoundBoards().empty()) return Fail("no board answered the discovery; nothing written");
    bool canWrite = true;
    for (const auto& path : backup.ExistingFiles(folder)) {
        if (!force) {
            std::fprintf(stderr, "railscope-cli backup: %s exists (give --force to replace it)\n", path.c_str());
            canWrite = false;
        } else if (!CanReplaceFile(path, error)) {
            std::fprintf(stderr, "railscope-cli backup: %s cannot be replaced: %s\n", path.c_str(), error.c_str());
            canWrite = false;
        }
    }
    if (!canWrite) return Fail("nothing read, nothing written");
    backup.ReadBoards();
    if (!runPhase(TLayoutBackup::bpReading)) return 1;
    link.Close();

    size_t filesWritten = 0, filesFailed = 0;
    uint32_t boardsWritten = 0;
    for (const auto& file : backup.WriteFiles(folder, force)) {
        const uint32_t count = backup.GetBoardData().BoardCount(file.Type);
        if (file.Written) {
            ++filesWritten;
            boardsWritten += count;
            std::fprintf(stderr, "Wrote %s (%s)\n", file.Path.c_str(), Plural(count, "board", "boards").c_str());
        } else {
            ++filesFailed;
            std::fprintf(stderr, "railscope-cli backup: %s not written: %s\n", file.Path.c_str(), file.Error.c_str());
        }
    }
    const size_t failed = backup.GetFailures().size();
    const uint32_t boardsRead = backup.BoardsRead();
    std::string summary;
    if (filesFailed == 0) {
        summary = "Backed up " + Plural(boardsRead, "board", "boards") + " to " + Plural(filesWritten, "file", "files") +
                  " in " + folder;
    } else if (filesWritten == 0) {
        summary = "Nothing backed up: " + Plural(boardsRead, "board was", "boards were") + " read, but " +
                  (filesFailed == 1 ? "the file" : "none of the " + std::to_string(filesFailed) + " files") +
                  " could be written in " + folder;
    } else {
        summary = "Backed up " + Plural(boardsWritten, "board", "boards") + " to " +
                  std::to_string(filesWritten) + " of " + Plural(filesWritten + filesFailed, "file", "files") +
                  " in " + folder + "; " + Plural(boardsRead - boardsWritten, "board was", "boards were") +
                  " read but not saved";
    }
    if (failed > 0) summary += "; " + Plural(failed, "board", "boards") + " could not be read";
    std::printf("%s\n", summary.c_str());
    return failed == 0 && filesFailed == 0 ? 0 : 1;
}

const cli::RegisterCommand kBackup({"backup", "read every board on the bus into board files",
                                    std::string(kBackupUsage) + "\n" + cli::kWaitOptionUsage, RunBackup});

} // namespace

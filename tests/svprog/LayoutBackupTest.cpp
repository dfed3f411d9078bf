// Backing up the layout over the simulated LocoNet, on a fake clock: every board is found and
// read, the files it writes program fresh boards to the same SVs, and a board that does not
// answer costs only its own file.
#include "svprog/LayoutBackup.h"

#include "boards/BoardData.h"
#include "support/SimHost.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

namespace {

const char* const kExampleFiles[] = {"layout-orb4.csv", "layout-kpx9.csv", "layout-orb8.csv", "layout-rvn2.csv",
                                     "layout-qxp6.csv"};

using TFiles = std::vector<std::pair<int, std::string>>; // type, board file

// Starts a conversation about every board of the board files on the bus of `host` (Program or
// Verify Board); each must end logging `success`.
void ConverseAboutFiles(TSimHost& host, const TFiles& files, void (TBoardProgrammer::*start)(TConfigurableBoard*),
                        const std::string& success)
{
    for (const auto& [type, file] : files) {
        TBoardData data;
        ASSERT_TRUE(data.LoadFile(type, file)) << data.GetLastError();
        for (uint32_t i = 0; i < data.BoardCount(type); ++i) {
            TConfigurableBoard* board = data.GetBoardForChange(type, i);
            EXPECT_TRUE(Converse(host, [&](TBoardProgrammer& p) { (p.*start)(board); }, success))
                << file << " board " << i << ": " << success;
        }
    }
}

void ProgramFiles(TSimHost& host, const TFiles& files)
{
    ConverseAboutFiles(host, files, &TBoardProgrammer::ProgramButtonClick, "Programming Completed Successfully!");
}

void VerifyFiles(TSimHost& host, const TFiles& files)
{
    ConverseAboutFiles(host, files, &TBoardProgrammer::VerifyButtonClick, "Board matches its description");
}

// Runs a whole backup on the host into `folder`; `afterDiscovery` may change the bus before the
// boards are read.
std::vector<TLayoutBackup::TFileResult> Backup(TSimHost& host, TLayoutBackup& backup, const std::string& folder,
                                               const std::function<void()>& afterDiscovery = {})
{
    host.Conversation = &backup;
    host.Done = [&backup] { return backup.GetPhase() != TLayoutBackup::bpDiscovering; };
    backup.Discover();
    EXPECT_TRUE(host.Run());
    EXPECT_EQ(backup.GetPhase(), TLayoutBackup::bpDiscovered);
    if (afterDiscovery) afterDiscovery();
    host.Done = [&backup] { return backup.GetPhase() == TLayoutBackup::bpDone; };
    backup.ReadBoards();
    EXPECT_TRUE(host.Run());
    return backup.WriteFiles(folder, false);
}

std::string ReadText(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

class LayoutBackup : public ::testing::Test {
protected:
    void SetUp() override
    {
        Folder = fs::temp_directory_path() /
                 ("railscope_backup_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(Folder);
    }
    void TearDown() override { fs::remove_all(Folder); }
    fs::path Folder;
};

TEST_F(LayoutBackup, FilesProgramFreshBoardsToTheSameSVs)
{
    // The example layout programmed into a bus of its nine boards, and the default simulated bus
    // (five boards holding zeros, as from the factory). An ORB4, ORB8 or RVN2 does not program an
    // all-zero table back byte for byte (a diverging signal's junction point 0 takes a table
    // entry, a step not in use has a delay of 1): the backup says so, and the boards match their
    // backup by meaning.
    TFiles examples;
    for (int type = 0; type < kBoardTypeCount; ++type)
        examples.push_back({type, std::string(RAILSCOPE_SOURCE_DIR "/data/examples/") + kExampleFiles[type]});
    struct TCase {
        std::string Bus;
        TFiles Layout; // board files programmed into the bus first
        size_t Boards;
        std::vector<std::string> RestoreNotes;
    };
    const std::string unused = " SVs will not come back identically when restored; they differ only in bytes this "
                               "board does not use";
    const TCase cases[] = {
        {"sim:boards=ORB4@1101/fw2,ORB4@1102/fw2,KPX9@2101/fw2,KPX9@2102/fw2,ORB8@2201/fw2,RVN2@1201/fw2,"
         "RVN2@1202/fw2,QXP6@4101/fw2,QXP6@4102/fw2",
         examples, 9, {}},
        {"sim", {}, 5, {"ORB4 1001: 10" + unused, "ORB8 1003: 10" + unused, "RVN2 1004: 128" + unused}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Bus);
        fs::remove_all(Folder);
        TSimHost original(c.Bus);
        ProgramFiles(original, c.Layout);
        TLayoutBackup backup(original);
        const auto results = Backup(original, backup, (Folder / "first").string());
        EXPECT_TRUE(backup.GetFailures().empty());
        EXPECT_EQ(backup.GetFoundBoards().size(), c.Boards);
        EXPECT_EQ(backup.BoardsRead(), c.Boards);
        EXPECT_EQ(original.Progress, original.ProgressMax);
        ASSERT_EQ(results.size(), 5u);
        TFiles files;
        for (const auto& result : results) {
            EXPECT_TRUE(result.Written) << result.Error;
            EXPECT_EQ(fs::path(result.Path).filename(), TLayoutBackup::FileName(result.Type));
            files.push_back({result.Type, result.Path});
        }

        EXPECT_EQ(backup.GetRestoreNotes(), c.RestoreNotes);
        VerifyFiles(original, files);

        TSimHost fresh(c.Bus);
        ProgramFiles(fresh, files);
        VerifyFiles(fresh, files);
        for (size_t i = 0; i < c.Boards && c.RestoreNotes.empty(); ++i) {
            const TVirtualBoard& was = original.Bus->Boards()[i];
            const TVirtualBoard& now = fresh.Bus->Boards()[i];
            for (uint32_t n = 5; n <= 512; ++n)
                ASSERT_EQ(now.GetSV(n), was.GetSV(n))
                    << BoardTypeTag(was.TypeIndex()) << " " << was.Serial() << " SV" << n;
        }
        TLayoutBackup again(fresh);
        for (const auto& result : Backup(fresh, again, (Folder / "again").string()))
            EXPECT_EQ(ReadText(result.Path), ReadText(files[static_cast<size_t>(result.Type)].second)) << result.Path;
    }
    EXPECT_EQ(TLayoutBackup::FileName(4), "qxp6.csv");
}

TEST_F(LayoutBackup, ASilentBoardIsReportedAndOnlyItsFileIsMissing)
{
    TSimHost host("sim");
    TLayoutBackup backup(host);
    fs::create_directories(Folder);
    const std::string kpx9 = (Folder / "kpx9.csv").string();
    std::ofstream(kpx9) << "old";
    // The ORB8 answers the discovery, then falls silent.
    std::vector<std::string> existing;
    const auto results = Backup(host, backup, Folder.string(), [&] {
        host.Bus->Boards()[2].SetSilent(true);
        existing = backup.ExistingFiles(Folder.string());
    });

    ASSERT_EQ(backup.GetFailures().size(), 1u);
    EXPECT_EQ(backup.GetFailures()[0].Type, 2);
    EXPECT_EQ(backup.GetFailures()[0].Serial, 1003u);
    EXPECT_EQ(backup.GetFailures()[0].Reason, "Failure while checking board ID");
    EXPECT_TRUE(host.Logged("ORB8 1003 could not be read: Failure while checking board ID"));
    EXPECT_TRUE(host.Logged("Found 5 boards: ORB4 1001, KPX9 1002, ORB8 1003, RVN2 1004, QXP6 1005"));
    EXPECT_EQ(backup.BoardsRead(), 4u);
    EXPECT_FALSE(fs::exists(Folder / "orb8.csv"));

    // The existing file is kept without the permission to replace it, and replaced with it.
    EXPECT_EQ(existing, std::vector<std::string>{kpx9});
    ASSERT_EQ(results.size(), 4u);
    for (const auto& result : results) EXPECT_EQ(result.Written, result.Type != 1) << result.Path;
    EXPECT_EQ(ReadText(kpx9), "old");
    for (const auto& result : backup.WriteFiles(Folder.string(), true)) EXPECT_TRUE(result.Written) << result.Error;
    EXPECT_EQ(ReadText(kpx9).rfind("\"KPX9_BOARD\",", 0), 0u);
    EXPECT_EQ(std::distance(fs::directory_iterator(Folder), fs::directory_iterator()), 4);
}

} // namespace

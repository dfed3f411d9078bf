#include "boards/BoardData.h"

#include "support/BoardText.h"
#include "support/TestBoard.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

namespace fs = std::filesystem;

namespace {

class BoardData : public ::testing::Test {
protected:
    void SetUp() override
    {
        Folder =
            fs::temp_directory_path() /
            ("railscope_boarddata_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(Folder);
        fs::create_directories(Folder);
    }
    void TearDown() override
    {
        std::error_code ec;
        fs::permissions(Folder, fs::perms::owner_all, ec);
        fs::remove_all(Folder, ec);
    }

    static void WriteAll(const fs::path& path, const std::string& text)
    {
        std::ofstream out(path, std::ios::binary);
        out << text;
    }
    // Names the boards of a type in list order.
    std::vector<std::string> Names(int type) const
    {
        std::vector<std::string> names;
        for (uint32_t i = 0; i < Data.BoardCount(type); ++i) names.push_back(Data.GetBoard(type, i)->Name);
        return names;
    }
    TTestBoard* Add(int type, const std::string& name, uint32_t serial = 0)
    {
        auto* board = static_cast<TTestBoard*>(Data.AddBoard(type));
        board->Name = name;
        board->SerialNumber = serial;
        return board;
    }

    TTestBoardTypes Types;
    TBoardData Data;
    fs::path Folder;
};

} // namespace

TEST_F(BoardData, TitlesAndTypeNames)
{
    const char* titles[] = {"ORB4 Signal Controller", "KPX9 Lever Panel Master", "ORB8 Signal Controller",
                            "RVN2 Autoferry", "QXP6 Grand Accessory Decoder"};
    const char* tags[] = {"ORB4", "KPX9", "ORB8", "RVN2", "QXP6"};
    for (int t = 0; t < kBoardTypeCount; ++t) {
        EXPECT_EQ(TBoardData::GetTitle(t), titles[t]);
        EXPECT_EQ(TBoardData::GetTypeName(t), tags[t]);
    }
    EXPECT_EQ(TBoardData::GetTitle(5), "");
    EXPECT_EQ(TBoardData::GetTypeName(-1), "");
    EXPECT_EQ(Data.CreateBoard(5), nullptr);
    EXPECT_EQ(Data.AddBoard(5), nullptr);
    EXPECT_EQ(Data.AddBoard(-1), nullptr);
    ASSERT_NE(Data.CreateBoard(eRVN2), nullptr);
    EXPECT_EQ(Data.CreateBoard(eRVN2)->GetBoardType(), "RVN2");
}

TEST_F(BoardData, InsertionPositions)
{
    Add(eKPX9, "A");
    Add(eKPX9, "B");
    Add(eKPX9, "C");
    Data.InsertBoard(eKPX9, 0)->Name = "new0";
    EXPECT_EQ(Names(eKPX9), (std::vector<std::string>{"new0", "A", "B", "C"}));
    Data.DeleteBoard(eKPX9, 0);
    Data.InsertBoard(eKPX9, 2)->Name = "new2";
    EXPECT_EQ(Names(eKPX9), (std::vector<std::string>{"A", "B", "new2", "C"}));
    Data.DeleteBoard(eKPX9, 2);
    Data.InsertBoard(eKPX9, 3)->Name = "new3";
    EXPECT_EQ(Names(eKPX9), (std::vector<std::string>{"A", "B", "C", "new3"}));
    EXPECT_EQ(Data.InsertBoard(eKPX9, 5), nullptr) << "beyond the end";
    EXPECT_EQ(Data.BoardCount(eKPX9), 4u);
    EXPECT_EQ(Data.BoardCount(eORB4), 0u) << "types are separate lists";
}

TEST_F(BoardData, TheEleventhBoardGrowsTheArrayWithoutChangingOrder)
{
    EXPECT_EQ(Data.BoardCapacity(eORB8), 10u);
    for (int i = 0; i < 10; ++i) Add(eORB8, "B" + std::to_string(i));
    EXPECT_EQ(Data.BoardCapacity(eORB8), 10u);
    Data.InsertBoard(eORB8, 4)->Name = "X";
    EXPECT_EQ(Data.BoardCapacity(eORB8), 20u);
    EXPECT_EQ(Names(eORB8),
              (std::vector<std::string>{"B0", "B1", "B2", "B3", "X", "B4", "B5", "B6", "B7", "B8", "B9"}));
    for (int i = 0; i < 10; ++i) Add(eORB8, "C");
    EXPECT_EQ(Data.BoardCapacity(eORB8), 30u);
    EXPECT_EQ(Data.BoardCount(eORB8), 21u);
}

TEST_F(BoardData, DeleteMovesLaterBoardsDown)
{
    Add(eQXP6, "A");
    Add(eQXP6, "B");
    Add(eQXP6, "C");
    EXPECT_TRUE(Data.DeleteBoard(eQXP6, 1));
    EXPECT_EQ(Names(eQXP6), (std::vector<std::string>{"A", "C"}));
    EXPECT_FALSE(Data.DeleteBoard(eQXP6, 2));
    EXPECT_EQ(Data.GetBoard(eQXP6, 2), nullptr);
    EXPECT_EQ(Data.GetBoardForChange(eQXP6, 2), nullptr);
}

TEST_F(BoardData, ModifiedFlags)
{
    EXPECT_FALSE(Data.AnyModified());
    Add(eRVN2, "A");
    EXPECT_TRUE(Data.IsModified(eRVN2));
    EXPECT_FALSE(Data.IsModified(eORB4));
    EXPECT_TRUE(Data.AnyModified());
    Data.ClearType(eRVN2);
    EXPECT_FALSE(Data.AnyModified());
    EXPECT_EQ(Data.BoardCount(eRVN2), 0u);

    Add(eRVN2, "A");
    ASSERT_TRUE(Data.SaveFileAs(eRVN2, (Folder / "rvn2.csv").string()));
    EXPECT_FALSE(Data.IsModified(eRVN2));
    Data.GetBoard(eRVN2, 0);
    EXPECT_FALSE(Data.IsModified(eRVN2)) << "reading does not mark a change";
    Data.GetBoardForChange(eRVN2, 0);
    EXPECT_TRUE(Data.IsModified(eRVN2));
    Data.SaveFile(eRVN2);
    Data.InsertBoard(eRVN2, 0);
    EXPECT_TRUE(Data.IsModified(eRVN2));
    Data.SaveFile(eRVN2);
    Data.DeleteBoard(eRVN2, 0);
    EXPECT_TRUE(Data.IsModified(eRVN2));

    Data.ClearType(eRVN2);
    EXPECT_TRUE(Data.LoadFile(eRVN2, (Folder / "rvn2.csv").string()));
    EXPECT_FALSE(Data.IsModified(eRVN2)) << "loading clears the flag set by appending";
    EXPECT_EQ(Data.BoardCount(eRVN2), 2u);
}

TEST_F(BoardData, FileNamesAndClosing)
{
    EXPECT_FALSE(Data.HasFileName(eKPX9));
    Add(eKPX9, "A");
    const std::string name = (Folder / "kpx9.csv").string();
    ASSERT_TRUE(Data.SaveFileAs(eKPX9, name));
    EXPECT_EQ(Data.GetFileName(eKPX9), name);
    EXPECT_TRUE(Data.HasFileName(eKPX9));
    Data.ClearType(eKPX9);
    EXPECT_TRUE(Data.HasFileName(eKPX9)) << "clearing keeps the file name";
    Add(eKPX9, "B");
    Data.CloseFile(eKPX9);
    EXPECT_FALSE(Data.HasFileName(eKPX9));
    EXPECT_EQ(Data.BoardCount(eKPX9), 0u);
    EXPECT_FALSE(Data.IsModified(eKPX9));
}

TEST_F(BoardData, SaveAndLoadGiveTheSameBoardsInTheSameOrder)
{
    Add(eORB4, "First, with comma", 100)->Level = 3;
    Add(eORB4, "Second", 0)->Notes = "";
    Add(eORB4, "Third", 65536)->Notes = "Platform 2";
    const fs::path file = Folder / "orb4.csv";
    ASSERT_TRUE(Data.SaveFileAs(eORB4, file.string()));
    const std::string text = ReadFileText(file);
    EXPECT_EQ(text.substr(0, text.find('\n') + 1), "\"ORB4_BOARD\",\"First, with comma\",100,3\r\n");

    TBoardData other;
    ASSERT_TRUE(other.LoadFile(eORB4, file.string()));
    ASSERT_EQ(other.BoardCount(eORB4), 3u);
    const auto* first = static_cast<const TTestBoard*>(other.GetBoard(eORB4, 0));
    EXPECT_EQ(first->Name, "First, with comma");
    EXPECT_EQ(first->SerialNumber, 100u);
    EXPECT_EQ(first->Level, 3);
    EXPECT_EQ(static_cast<const TTestBoard*>(other.GetBoard(eORB4, 1))->Notes, "");
    EXPECT_EQ(static_cast<const TTestBoard*>(other.GetBoard(eORB4, 2))->Notes, "Platform 2");
    EXPECT_EQ(other.GetBoard(eORB4, 2)->SerialNumber, 65536u);

    // Saved again, the file is byte for byte the same.
    const fs::path again = Folder / "again.csv";
    ASSERT_TRUE(other.SaveFileAs(eORB4, again.string()));
    EXPECT_EQ(ReadFileText(again), text);
}

TEST_F(BoardData, LoadingAppendsToTheListAndReadsEveryRecordWithTheTypesClass)
{
    const fs::path file = Folder / "mixed.csv";
    // The record tag of the second record names another type; it is read all the same.
    WriteAll(file, "\"ORB4_BOARD\",\"A\",1,0\r\n,\"\"\r\n,\"test_config\",0\r\n"
                   "\"QXP6_BOARD\",\"B\",2,0\r\n,\"\"\r\n,\"test_config\",0\r\n");
    Add(eORB8, "existing");
    ASSERT_TRUE(Data.LoadFile(eORB8, file.string()));
    EXPECT_EQ(Names(eORB8), (std::vector<std::string>{"existing", "A", "B"}));
    EXPECT_EQ(Data.GetBoard(eORB8, 2)->GetBoardType(), "ORB8");
}

TEST_F(BoardData, OneExtraLineEndGivesOneMoreEmptyBoard)
{
    const fs::path file = Folder / "extra.csv";
    WriteAll(file, "\"RVN2_BOARD\",\"Station A\",1000,7\r\n,\"Desc\"\r\n,\"test_config\",14\r\n\r\n");
    ASSERT_TRUE(Data.LoadFile(eRVN2, file.string()));
    ASSERT_EQ(Data.BoardCount(eRVN2), 2u);
    const auto* empty = static_cast<const TTestBoard*>(Data.GetBoard(eRVN2, 1));
    EXPECT_EQ(empty->Name, "");
    EXPECT_EQ(empty->SerialNumber, 0u);
    EXPECT_EQ(empty->Notes, "");
}

TEST_F(BoardData, TruncatedRecordReadsEmptyTextAndZero)
{
    std::istringstream in("\"RVN2_BOARD\",\"Cut\",55,9\r\n");
    ASSERT_TRUE(Data.LoadFromStream(eRVN2, in));
    ASSERT_EQ(Data.BoardCount(eRVN2), 1u);
    const auto* board = static_cast<const TTestBoard*>(Data.GetBoard(eRVN2, 0));
    EXPECT_EQ(board->Name, "Cut");
    EXPECT_EQ(board->SerialNumber, 55u);
    EXPECT_EQ(board->Notes, "");
    EXPECT_EQ(board->Tail, "");

    // A final line without its line end still gives its fields.
    std::istringstream noEnd("\"RVN2_BOARD\",\"Last\",56");
    ASSERT_TRUE(Data.LoadFromStream(eRVN2, noEnd));
    EXPECT_EQ(Data.GetBoard(eRVN2, 1)->SerialNumber, 56u);
}

TEST_F(BoardData, EmptyAndMissingFiles)
{
    const fs::path empty = Folder / "empty.csv";
    WriteAll(empty, "");
    EXPECT_TRUE(Data.LoadFile(eKPX9, empty.string()));
    EXPECT_EQ(Data.BoardCount(eKPX9), 0u);
    EXPECT_EQ(Data.GetLastError(), "");

    const std::string missing = (Folder / "missing.csv").string();
    EXPECT_FALSE(Data.LoadFile(eQXP6, missing));
    EXPECT_EQ(Data.BoardCount(eQXP6), 0u);
    EXPECT_FALSE(Data.IsModified(eQXP6));
    EXPECT_EQ(Data.GetFileName(eQXP6), missing) << "the name is kept for the settings";
    EXPECT_EQ(Data.GetLastError(), "Could not open " + missing + ": No such file or directory");
}

TEST_F(BoardData, LoadingATypeWithoutBoardClassStops)
{
    SetBoardMakerHookForTests(nullptr);
    TBoardData plain;
    std::istringstream in("\"ORB4_BOARD\",\"A\",1\r\n");
    if (plain.CreateBoard(eORB4) == nullptr) {
        EXPECT_FALSE(plain.LoadFromStream(eORB4, in));
        EXPECT_EQ(plain.BoardCount(eORB4), 0u);
        EXPECT_NE(plain.GetLastError().find("ORB4"), std::string::npos);
    }
    // A board type that reads nothing at all cannot make the loader spin.
    SetBoardMakerHookForTests([](int) -> std::unique_ptr<TConfigurableBoard> {
        class TLazy : public TTestBoard {
        public:
            void LoadFromStream(std::istream&) override {}
        };
        return std::make_unique<TLazy>();
    });
    std::istringstream lazyIn("x\r\n");
    EXPECT_FALSE(plain.LoadFromStream(eORB4, lazyIn));
    EXPECT_EQ(plain.BoardCount(eORB4), 1u);
}

TEST_F(BoardData, LoadingStopsAfterTenThousandBoards)
{
    std::string boards;
    for (int i = 0; i < 10000; ++i) boards += "\"ORB4_BOARD\",\"B\",1,0\r\n,\"\"\r\n,\"test_config\",0\r\n";
    std::istringstream tenThousand(boards);
    EXPECT_TRUE(Data.LoadFromStream(eORB4, tenThousand));
    EXPECT_EQ(Data.BoardCount(eORB4), 10000u);
    std::istringstream more(boards + "\"ORB4_BOARD\",\"B\",1,0\r\n");
    EXPECT_FALSE(Data.LoadFromStream(eKPX9, more));
    EXPECT_EQ(Data.GetLastError(), "Loading stopped after 10000 boards");
    EXPECT_EQ(Data.BoardCount(eKPX9), 10000u) << "the boards read so far stay";
}

TEST_F(BoardData, FindBoardBySerialTakesTheLastMatch)
{
    Add(eORB4, "orb4", 100);
    Add(eKPX9, "kpx9", 200);
    Add(eQXP6, "qxp6 other", 300);
    Add(eQXP6, "qxp6", 100);
    Add(eRVN2, "rvn2", 101);
    ASSERT_NE(Data.FindBoardBySerial(100), nullptr);
    EXPECT_EQ(Data.FindBoardBySerial(100)->Name, "qxp6");
    EXPECT_EQ(Data.FindBoardBySerial(200)->Name, "kpx9");
    EXPECT_EQ(Data.FindBoardBySerial(7), nullptr);
    Add(eQXP6, "second qxp6", 100);
    EXPECT_EQ(Data.FindBoardBySerial(100)->Name, "second qxp6");
}

TEST_F(BoardData, SavingNoBoardsWritesNothing)
{
    const fs::path file = Folder / "orb4.csv";
    WriteAll(file, "old contents");
    Add(eORB4, "A");
    Data.DeleteBoard(eORB4, 0);
    EXPECT_TRUE(Data.IsModified(eORB4));
    EXPECT_FALSE(Data.SaveFileAs(eORB4, file.string()));
    EXPECT_FALSE(Data.IsModified(eORB4));
    EXPECT_EQ(Data.GetLastError(), "");
    EXPECT_EQ(ReadFileText(file), "old contents");
}

TEST_F(BoardData, SavingWithoutAFileNameFails)
{
    Add(eKPX9, "A");
    EXPECT_FALSE(Data.SaveFile(eKPX9));
    EXPECT_TRUE(Data.IsModified(eKPX9));
    EXPECT_FALSE(Data.GetLastError().empty());
}

TEST_F(BoardData, FailedSaveKeepsTheOldFileAndTheFlag)
{
    const fs::path file = Folder / "orb8.csv";
    WriteAll(file, "previous boards\r\n");
    // The disk fills up half-way through the second board.
    class TFailingBoard : public TTestBoard {
    public:
        void SaveToStream(std::ostream& stream) override
        {
            stream << "partial";
            stream.setstate(std::ios::badbit);
        }
    };
    SetBoardMakerHookForTests(
        [](int) -> std::unique_ptr<TConfigurableBoard> { return std::make_unique<TFailingBoard>(); });
    Add(eORB8, "A");
    EXPECT_FALSE(Data.SaveFileAs(eORB8, file.string()));
    EXPECT_TRUE(Data.IsModified(eORB8));
    EXPECT_EQ(ReadFileText(file), "previous boards\r\n");
    EXPECT_EQ(Data.GetLastError().rfind("Could not save " + file.string() + ": ", 0), 0u) << Data.GetLastError();
    // Nothing is left behind in the folder.
    EXPECT_EQ(std::distance(fs::directory_iterator(Folder), fs::directory_iterator()), 1);
}

TEST_F(BoardData, SaveIntoAReadOnlyFolderFails)
{
    const fs::path file = Folder / "qxp6.csv";
    WriteAll(file, "previous boards\r\n");
    fs::permissions(Folder, fs::perms::owner_read | fs::perms::owner_exec);
    {
        std::ofstream probe(Folder / "probe");
        if (probe) GTEST_SKIP() << "permissions are not enforced for this user (root)";
    }
    Add(eQXP6, "A");
    EXPECT_FALSE(Data.SaveFileAs(eQXP6, file.string()));
    EXPECT_TRUE(Data.IsModified(eQXP6));
    EXPECT_EQ(ReadFileText(file), "previous boards\r\n");
    EXPECT_EQ(Data.GetLastError(), "Could not save " + file.string() + ": Permission denied");
}

TEST_F(BoardData, SaveIntoAMissingFolderFails)
{
    Add(eQXP6, "A");
    const std::string file = (Folder / "no" / "such" / "qxp6.csv").string();
    EXPECT_FALSE(Data.SaveFileAs(eQXP6, file));
    EXPECT_TRUE(Data.IsModified(eQXP6));
    EXPECT_EQ(Data.GetFileName(eQXP6), file);
    EXPECT_EQ(Data.GetLastError(), "Could not save " + file + ": No such file or directory");
}

TEST_F(BoardData, SaveIntoAFolderNameFails)
{
    Add(eQXP6, "A");
    fs::create_directories(Folder / "sub");
    EXPECT_FALSE(Data.SaveFileAs(eQXP6, (Folder / "sub").string()));
    EXPECT_TRUE(fs::is_directory(Folder / "sub"));
    EXPECT_TRUE(Data.IsModified(eQXP6));
}

TEST_F(BoardData, SaveKeepsTheFilesPermissions)
{
    const fs::path file = Folder / "orb4.csv";
    WriteAll(file, "old");
    fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    // What the system keeps of them (Windows keeps only whether the file is read-only).
    const fs::perms kept = fs::status(file).permissions();
    Add(eORB4, "A");
    ASSERT_TRUE(Data.SaveFileAs(eORB4, file.string())) << Data.GetLastError();
    EXPECT_EQ(ReadFileText(file).rfind("\"ORB4_BOARD\",\"A\"", 0), 0u);
    EXPECT_EQ(fs::status(file).permissions(), kept);
}

TEST_F(BoardData, SaveWritesThroughASymbolicLink)
{
    const fs::path real = Folder / "real.csv";
    WriteAll(real, "old");
    const fs::path link = Folder / "link.csv";
    std::error_code ec;
    fs::create_symlink(real.filename(), link, ec);
    // MinGW's standard library has no symbolic links on Windows, so no file it opens is one.
    if (ec == std::errc::function_not_supported) GTEST_SKIP() << "no symbolic links here: " << ec.message();
    ASSERT_FALSE(ec) << ec.message();
    Add(eORB4, "A");
    ASSERT_TRUE(Data.SaveFileAs(eORB4, link.string())) << Data.GetLastError();
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(ReadFileText(real).rfind("\"ORB4_BOARD\",\"A\"", 0), 0u);
}

// File names are UTF-8, as the windows give them: on Windows too, where a narrow name would be
// read in the ANSI code page.
TEST_F(BoardData, FileNamesOutsideASCIISaveAndLoad)
{
    const fs::path folder = Folder / fs::path(u8"Zürich Ωmega");
    fs::create_directories(folder);
    const fs::path file = folder / fs::path(u8"Gleis Ä.csv");
    const std::u8string name = file.u8string();
    Add(eORB4, "A", 12);
    ASSERT_TRUE(Data.SaveFileAs(eORB4, std::string(name.begin(), name.end()))) << Data.GetLastError();
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);
    EXPECT_EQ(ReadFileText(file).rfind("\"ORB4_BOARD\",\"A\",12", 0), 0u);

    TBoardData other;
    ASSERT_TRUE(other.LoadFile(eORB4, std::string(name.begin(), name.end()))) << other.GetLastError();
    EXPECT_EQ(other.BoardCount(eORB4), 1u);
}

// A route entry whose address is no whole number stops the load at its board: the error names
// the file, the board and the reason, and nothing of the file is taken.
TEST(BoardFileWithBadRecord, IsNotLoaded)
{
    std::string text = ReadFileText(RAILSCOPE_SOURCE_DIR "/data/examples/layout-kpx9.csv");
    text.replace(text.find("\"640 Closed\""), 12, "\"6x0 Closed\"");
    const fs::path file = fs::temp_directory_path() / "railscope_bad_route_entry.csv";
    std::ofstream(file, std::ios::binary) << text;
    TBoardData data;
    data.AddBoard(eKPX9);
    EXPECT_FALSE(data.LoadFile(eKPX9, file.string()));
    EXPECT_EQ(data.BoardCount(eKPX9), 1u);
    EXPECT_EQ(data.GetLastError(), "Board 1 of the file (serial 2101, \"Station throat panel\") cannot be loaded: "
                                   "Route 1, entry 3: the point address in '6x0 Closed' is not a whole number (" +
                                       file.string() + ")");
    fs::remove(file);
}

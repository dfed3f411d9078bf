// The board commands of railscope-cli, run in-process on boards of the test board class.
#include "support/BoardText.h"
#include "support/TestBoard.h"

#include "cli/Commands.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>

namespace fs = std::filesystem;

namespace {

struct TResult {
    int Status = -1;
    std::string Out;
    std::string Err;
};

// Runs a registered command as main would, capturing what it prints.
TResult RunCli(std::vector<std::string> args)
{
    const std::string name = args.front();
    args.erase(args.begin());
    TResult result;
    std::ostringstream out, err;
    auto* oldOut = std::cout.rdbuf(out.rdbuf());
    auto* oldErr = std::cerr.rdbuf(err.rdbuf());
    for (const auto& c : cli::Registry())
        if (c.name == name) result.Status = c.run(args);
    std::cout.rdbuf(oldOut);
    std::cerr.rdbuf(oldErr);
    result.Out = out.str();
    result.Err = err.str();
    return result;
}

class CliBoards : public ::testing::Test {
protected:
    void SetUp() override
    {
        Folder = fs::temp_directory_path() /
                 ("railscope_cli_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(Folder);
        fs::create_directories(Folder);
        // Two boards: "Yard" (serial 1000, level 7) and "Shed" (no serial, level -1, which fails).
        File = (Folder / "orb4.csv").string();
        Write(File, "\"ORB4_BOARD\",\"Yard\",1000,7\r\n,\"North end\"\r\n,\"test_config\",14\r\n"
                    "\"ORB4_BOARD\",\"Shed\",0,-1\r\n,\"\"\r\n,\"test_config\",-2\r\n");
    }
    void TearDown() override { fs::remove_all(Folder); }

    static void Write(const std::string& path, const std::string& text)
    {
        std::ofstream out(path, std::ios::binary);
        out << text;
    }

    static TResult Run(std::vector<std::string> args) { return RunCli(std::move(args)); }

    static std::string Svs(std::initializer_list<std::pair<uint32_t, int>> set)
    {
        std::vector<int> values(512, 0);
        for (const auto& [n, v] : set) values[n - 1] = v;
        std::string line;
        for (size_t i = 0; i < values.size(); ++i) line += (i ? " " : "") + std::to_string(values[i]);
        return line;
    }

    TTestBoardTypes Types;
    fs::path Folder;
    std::string File;
};

} // namespace

TEST_F(CliBoards, EveryCommandIsRegisteredWithHelp)
{
    for (const char* name : {"svs", "listing", "describe", "list", "resave", "decode-svs"}) {
        bool found = false;
        for (const auto& c : cli::Registry()) {
            if (c.name != name) continue;
            found = true;
            EXPECT_EQ(c.usage.rfind(std::string("Usage: railscope-cli ") + name + " ", 0), 0u) << name;
            EXPECT_FALSE(c.summary.empty());
        }
        EXPECT_TRUE(found) << name;
    }
}

TEST_F(CliBoards, SvsPrintsOkAndAllValues)
{
    const TResult r = Run({"svs", File, "--index", "0"});
    EXPECT_EQ(r.Status, 0) << r.Err;
    EXPECT_EQ(r.Out, "OK\n" + Svs({{3, 232}, {4, 3}, {5, 7}}) + "\n");
    EXPECT_EQ(r.Err, "");

    const TResult v2 = Run({"svs", File, "--swversion", "2", "--index=0"});
    EXPECT_EQ(v2.Out, "OK\n" + Svs({{3, 232}, {4, 3}, {5, 7}, {6, 7}}) + "\n");
}

TEST_F(CliBoards, SvsReportsAFailedCalculation)
{
    const TResult r = Run({"svs", File, "--index", "1"});
    EXPECT_EQ(r.Status, 1);
    EXPECT_EQ(r.Out, "FAIL SV Calculation Error: level below zero\n" + Svs({{5, 255}}) + "\n");
}

TEST_F(CliBoards, ListingToStandardOutputAndToAFile)
{
    TTestBoard expected;
    expected.Name = "Yard";
    expected.SerialNumber = 1000;
    expected.Level = 7;
    expected.CalculateSVs();

    const TResult r = Run({"listing", File, "--index", "0"});
    EXPECT_EQ(r.Status, 0) << r.Err;
    EXPECT_EQ(r.Out, expected.SVListingText());
    EXPECT_EQ(r.Out.rfind("Board name = Yard\r\nSV Settings:\r\nSV3=232;  SV4=3;  SV5=7;  ", 0), 0u);

    const std::string out = (Folder / "listing.txt").string();
    const TResult f = Run({"listing", File, "--index", "0", "-o", out});
    EXPECT_EQ(f.Status, 0) << f.Err;
    EXPECT_EQ(f.Out, "");
    EXPECT_EQ(ReadFileText(out), expected.SVListingText());
}

TEST_F(CliBoards, FailedListingWritesNothing)
{
    const std::string out = (Folder / "listing.txt").string();
    const TResult r = Run({"listing", File, "--index", "1", "-o", out});
    EXPECT_EQ(r.Status, 1);
    EXPECT_EQ(r.Err, "SV Calculation Error: level below zero\n");
    EXPECT_EQ(r.Out, "");
    EXPECT_FALSE(fs::exists(out));
}

TEST_F(CliBoards, DescribeOneOrEveryBoard)
{
    const TResult one = Run({"describe", File, "--index", "0"});
    EXPECT_EQ(one.Status, 0);
    EXPECT_EQ(one.Out,
              "Board Type: ORB4\nSerial number: 1000\nBoard name: Yard\nLevel: 7\nUser Description: North end\n");
    const TResult all = Run({"describe", File});
    EXPECT_EQ(all.Out, one.Out + "\n" +
                           "Board Type: ORB4\nSerial number: not set yet\nBoard name: Shed\nLevel: -1\n"
                           "User Description: \n\n");
}

TEST_F(CliBoards, ListPrintsListLines)
{
    const TResult r = Run({"list", File});
    EXPECT_EQ(r.Status, 0);
    EXPECT_EQ(r.Out, "1000\tORB4\t Yard\nnot set yet\tORB4\t Shed\n");
}

TEST_F(CliBoards, TypeComesFromTheFirstRecordTagOrTheOption)
{
    Write(File, "\"QXP6_BOARD\",\"Q\",5,0\r\n,\"\"\r\n,\"test_config\",0\r\n");
    EXPECT_EQ(Run({"list", File}).Out, "5\tQXP6\t Q\n");
    EXPECT_EQ(Run({"list", File, "--type", "RVN2"}).Out, "5\tRVN2\t Q\n");

    Write(File, "\"XYZ_BOARD\",\"Q\",5,0\r\n");
    const TResult unknown = Run({"list", File});
    EXPECT_EQ(unknown.Status, 2);
    EXPECT_NE(unknown.Err.find("unknown board type 'XYZ_BOARD'"), std::string::npos) << unknown.Err;
    // Text from the file reaches the terminal with its control characters escaped.
    Write(File, "\"X\x1b[2J\\_BOARD\",\"Q\",5,0\r\n");
    EXPECT_NE(Run({"list", File}).Err.find("unknown board type 'X\\x1B[2J\\x5C_BOARD'"), std::string::npos);
    EXPECT_EQ(Run({"list", File, "--type", "KPX9"}).Status, 0);
    EXPECT_EQ(Run({"list", File, "--type", "KPX9_BOARD"}).Status, 2);
    EXPECT_EQ(Run({"list", File, "--type", "orb4"}).Status, 2);

    Write(File, "");
    EXPECT_EQ(Run({"list", File}).Status, 2) << "an empty file names no type";
    const TResult empty = Run({"list", File, "--type", "ORB8"});
    EXPECT_EQ(empty.Status, 0);
    EXPECT_EQ(empty.Out, "");
}

TEST_F(CliBoards, ResaveWritesWhatTheBoardsWrite)
{
    const std::string out = (Folder / "out.csv").string();
    const TResult r = Run({"resave", File, "-o", out});
    EXPECT_EQ(r.Status, 0) << r.Err;
    EXPECT_EQ(r.Out, "");
    EXPECT_EQ(ReadFileText(out), ReadFileText(File));

    // Loose input comes out in the program's own form.
    Write(File, "ORB4_BOARD,Loose,12\n,x\n");
    EXPECT_EQ(Run({"resave", File, "-o", out}).Status, 0);
    EXPECT_EQ(ReadFileText(out), "\"ORB4_BOARD\",\"Loose\",12,0\r\n,\"x\"\r\n,\"test_config\",0\r\n");

    Write(File, "");
    Write(out, "kept");
    const TResult none = Run({"resave", File, "--type", "ORB4", "-o", out});
    EXPECT_EQ(none.Status, 1);
    EXPECT_EQ(ReadFileText(out), "kept");

    const TResult bad = Run({"resave", (Folder / "orb4.csv").string(), "-o", (Folder / "no/such/out.csv").string()});
    EXPECT_EQ(bad.Status, 2);
}

TEST_F(CliBoards, AFileOfMoreThanTenThousandBoardsCannotBeUsed)
{
    std::string boards;
    for (int i = 0; i < 10001; ++i) boards += "\"ORB4_BOARD\",\"B\",1,0\r\n,\"\"\r\n,\"test_config\",0\r\n";
    Write(File, boards);
    const TResult r = Run({"describe", File, "--index", "0"});
    EXPECT_EQ(r.Status, 2);
    EXPECT_NE(r.Err.find("Loading stopped after 10000 boards"), std::string::npos) << r.Err;
}

TEST_F(CliBoards, DecodeSvsDescribesABoardFromItsValues)
{
    const std::string svFile = (Folder / "svs.txt").string();
    std::string text = Svs({{3, 0x34}, {4, 0x12}, {5, 9}});
    for (auto& c : text)
        if (c == ' ') c = '\n';
    Write(svFile, "  " + text + "\t\r\n");
    const TResult r = Run({"decode-svs", "KPX9", svFile});
    EXPECT_EQ(r.Status, 0) << r.Err;
    EXPECT_EQ(r.Out,
              "Board Type: KPX9\nSerial number: 4660\nBoard name: Test KPX9\nLevel: 9\nUser Description: Unassigned\n");
}

TEST_F(CliBoards, DecodeSvsRejectsBadTables)
{
    const std::string svFile = (Folder / "svs.txt").string();
    Write(svFile, Svs({}) + " 0");
    EXPECT_EQ(Run({"decode-svs", "ORB4", svFile}).Status, 2) << "513 values";
    Write(svFile, "1 2 3");
    EXPECT_EQ(Run({"decode-svs", "ORB4", svFile}).Status, 2);
    Write(svFile, Svs({{9, 256}}));
    EXPECT_EQ(Run({"decode-svs", "ORB4", svFile}).Status, 2);
    Write(svFile, Svs({{9, -1}}));
    EXPECT_EQ(Run({"decode-svs", "ORB4", svFile}).Status, 2);
    Write(svFile, Svs({}));
    EXPECT_EQ(Run({"decode-svs", "ORB4", svFile}).Status, 0);
    EXPECT_EQ(Run({"decode-svs", "ORB9", svFile}).Status, 2);
    EXPECT_EQ(Run({"decode-svs", "ORB4", (Folder / "missing").string()}).Status, 2);
}

TEST_F(CliBoards, BadFilesIndexesAndOptions)
{
    const TResult missing = Run({"list", (Folder / "missing.csv").string()});
    EXPECT_EQ(missing.Status, 2);
    EXPECT_NE(missing.Err.find("No such file or directory"), std::string::npos) << missing.Err;

    const TResult range = Run({"svs", File, "--index", "2"});
    EXPECT_EQ(range.Status, 2);
    EXPECT_EQ(range.Out, "");
    EXPECT_NE(range.Err.find("out of range"), std::string::npos);
    EXPECT_EQ(Run({"describe", File, "--index", "2"}).Status, 2);
    EXPECT_EQ(Run({"listing", File, "--index", "9"}).Status, 2);

    const TResult unknown = Run({"svs", File, "--index", "0", "--verbose"});
    EXPECT_EQ(unknown.Status, 2);
    EXPECT_EQ(unknown.Err, "railscope-cli svs: unknown option '--verbose'\nTry 'railscope-cli svs --help'.\n");
    EXPECT_EQ(Run({"svs", File}).Status, 2) << "--index is required";
    EXPECT_EQ(Run({"svs", File, "--index", "x"}).Status, 2);
    EXPECT_EQ(Run({"svs", File, "--index"}).Status, 2);
    EXPECT_EQ(Run({"svs", "--index", "0"}).Status, 2);
    EXPECT_EQ(Run({"list", File, File}).Status, 2);
    EXPECT_EQ(Run({"list", File, "-o", "x"}).Status, 2) << "list takes no output";
    EXPECT_EQ(Run({"resave", File}).Status, 2) << "-o is required";
}

// The example board files shipped in data/examples, through the board classes.
TEST(CliBoardsExamples, ExampleFilesResaveListAndCalculate)
{
    const fs::path examples = fs::path(RAILSCOPE_SOURCE_DIR) / "data" / "examples";
    const fs::path folder = fs::temp_directory_path() / "railscope_cli_examples";
    fs::remove_all(folder);
    fs::create_directories(folder);
    auto run = RunCli;
    std::vector<std::string> tried;
    for (const auto& entry : fs::directory_iterator(examples)) {
        const std::string file = entry.path().string();
        if (entry.path().extension() != ".csv") continue;
        tried.push_back(entry.path().filename().string());
        const TResult list = run({"list", file});
        ASSERT_EQ(list.Status, 0) << file << ": " << list.Err;
        const size_t boards = static_cast<size_t>(std::count(list.Out.begin(), list.Out.end(), '\n'));
        ASSERT_GT(boards, 0u) << file;

        // Saving what was loaded keeps every board, and saving that again changes nothing.
        const std::string once = (folder / "once.csv").string();
        const std::string twice = (folder / "twice.csv").string();
        ASSERT_EQ(run({"resave", file, "-o", once}).Status, 0) << file;
        EXPECT_EQ(run({"list", once}).Out, list.Out) << file;
        ASSERT_EQ(run({"resave", once, "-o", twice}).Status, 0) << file;
        EXPECT_EQ(ReadFileText(twice), ReadFileText(once)) << file;

        for (size_t i = 0; i < boards; ++i) {
            const TResult svs = run({"svs", file, "--index", std::to_string(i)});
            EXPECT_EQ(svs.Status, 0) << file << " " << i << ": " << svs.Out.substr(0, svs.Out.find('\n'));
            ASSERT_EQ(svs.Out.substr(0, 3), "OK\n") << file << " " << i;
            const std::string values = svs.Out.substr(3);
            EXPECT_EQ(std::count(values.begin(), values.end(), ' '), 511) << file << " " << i;
            const TResult describe = run({"describe", file, "--index", std::to_string(i)});
            EXPECT_EQ(describe.Status, 0);
            EXPECT_NE(describe.Out.find("Board name: "), std::string::npos);
        }
    }
    fs::remove_all(folder);
    std::sort(tried.begin(), tried.end());
    EXPECT_EQ(tried, (std::vector<std::string>{"layout-kpx9.csv", "layout-orb4.csv", "layout-orb8.csv",
                                               "layout-qxp6.csv", "layout-rvn2.csv"}));
}

// check on the shipped examples and on copies that hold what a board cannot; a file whose record
// cannot be read ends every command that reads board files the same way.
TEST(CliCheck, NamesWhatBoardsCannotHoldAndRefusesUnreadableFiles)
{
    const fs::path examples = fs::path(RAILSCOPE_SOURCE_DIR) / "data" / "examples";
    const fs::path folder = fs::temp_directory_path() / "railscope_cli_check";
    fs::remove_all(folder);
    fs::create_directories(folder);
    auto copyWith = [&](const std::string& example, const std::string& good, const std::string& bad) {
        std::string text = ReadFileText((examples / example).string());
        text.replace(text.find(good), good.size(), bad);
        const std::string path = (folder / example).string();
        std::ofstream(path, std::ios::binary) << text;
        return path;
    };

    std::vector<std::string> all{"check"};
    for (const char* name : {"orb4", "kpx9", "orb8", "rvn2", "qxp6"})
        all.push_back((examples / ("layout-" + std::string(name) + ".csv")).string());
    const TResult held = RunCli(all);
    EXPECT_EQ(held.Status, 0) << held.Err;
    EXPECT_EQ(held.Out, "All 9 boards can be held as described\n");

    const std::string qxp6 = copyWith("layout-qxp6.csv", "SE 30:16 OC", "SE 300:16 OC");
    const TResult lost = RunCli({"check", qxp6, "--swversion", "2"});
    EXPECT_EQ(lost.Status, 1);
    EXPECT_EQ(lost.Out, qxp6 + ", board 0 (QXP6 4101 \"Station throat\"):\n"
                               "  Output cell 6, closed set, condition 1: Sensor 300,16 is Occupied; the board "
                               "would hold Sensor 44,16\n"
                               "1 value cannot be held\n");
    EXPECT_EQ(RunCli({"check", qxp6, "--index", "1"}).Out, "The board can be held as described\n");
    EXPECT_EQ(RunCli({"check", qxp6, qxp6, "--index", "0"}).Status, 2);

    const std::string kpx9 = copyWith("layout-kpx9.csv", "\"640 Closed\"", "\"6x0 Closed\"");
    const std::string out = (folder / "out.csv").string();
    for (std::vector<std::string> args :
         {std::vector<std::string>{"list"}, {"describe"}, {"svs", "--index", "0"}, {"listing", "--index", "0"},
          {"resave", "-o", out}, {"check"}, {"program", "--index", "0", "--connect", "sim"},
          {"verify", "--index", "0", "--connect", "sim"}}) {
        args.insert(args.begin() + 1, kpx9);
        const TResult refused = RunCli(args);
        EXPECT_EQ(refused.Status, 2) << args[0];
        EXPECT_EQ(refused.Out, "") << args[0];
        EXPECT_NE(refused.Err.find("Board 1 of the file (serial 2101, \"Station throat panel\") cannot be loaded: "
                                   "Route 1, entry 3: the point address in '6x0 Closed' is not a whole number (" +
                                   kpx9 + ")"),
                  std::string::npos)
            << args[0] << ": " << refused.Err;
    }
    EXPECT_FALSE(fs::exists(out));
    fs::remove_all(folder);
}

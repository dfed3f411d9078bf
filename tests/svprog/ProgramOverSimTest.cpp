// The programmer and the discovery conversation against the simulated LocoNet: real framing,
// the interface's echo, virtual boards, and seeded faults, on a fake clock.
#include "svprog/BoardDiscovery.h"
#include "svprog/BoardProgrammer.h"

#include "boards/BoardData.h"
#include "boards/BoardFactory.h"
#include "boards/qxp6/QXP6Board.h"
#include "boards/rvn2/RVN2Board.h"
#include "link/FrameAssembler.h"
#include "sim/SimBus.h"
#include "support/SimHost.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <string>

using ::testing::Contains;

namespace {

const char* const kExampleFiles[kBoardTypeCount] = {"layout-orb4.csv", "layout-kpx9.csv", "layout-orb8.csv",
                                                    "layout-rvn2.csv", "layout-qxp6.csv"};

struct TProgrammerRun {
    TSimHost Host;
    TBoardProgrammer Programmer{Host};

    explicit TProgrammerRun(const std::string& sim) : Host(sim)
    {
        Host.Conversation = &Programmer;
        Host.Done = [this] { return Programmer.IsIdle(); };
    }
};

std::unique_ptr<TBoardData> LoadExample(int type)
{
    auto data = std::make_unique<TBoardData>();
    EXPECT_TRUE(data->LoadFile(type, std::string(RAILSCOPE_SOURCE_DIR "/data/examples/") + kExampleFiles[type]))
        << data->GetLastError();
    return data;
}

std::vector<std::string> Describe(TConfigurableBoard& board)
{
    std::vector<std::string> lines;
    board.DisplayBoard(lines);
    return lines;
}

std::string SimFor(const TConfigurableBoard& board, int type, const std::string& extra = "")
{
    return "sim:boards=" + BoardTypeTag(type) + "@" + std::to_string(board.SerialNumber) + "/fw2" + extra;
}

void ExpectProgrammed(const TConfigurableBoard& board, TSimBus& bus)
{
    for (uint32_t n = 5; n <= 512; ++n) {
        if (board.IsSVProgrammable(n)) {
            ASSERT_EQ(bus.Boards()[0].GetSV(n), board.GetSV(n)) << board.GetBoardType() << " SV" << n;
        }
    }
}

TEST(ProgramOverSim, EveryBoardTypeProgramsAndReadsBack)
{
    for (int type = 0; type < kBoardTypeCount; ++type) {
        SCOPED_TRACE(BoardTypeTag(type));
        auto data = LoadExample(type);
        ASSERT_GT(data->BoardCount(type), 0u);
        TConfigurableBoard* board = data->GetBoardForChange(type, 0);
        TProgrammerRun run(SimFor(*board, type));
        run.Programmer.ProgramButtonClick(board);
        ASSERT_TRUE(run.Host.Run());
        ASSERT_TRUE(run.Host.Logged("Programming Completed Successfully!"));
        EXPECT_EQ(board->SWVersion, 2u);
        EXPECT_EQ(run.Host.Progress, run.Host.ProgressMax);
        EXPECT_EQ(run.Host.Bus->Boards()[0].ReconfigureCount(), 1u);
        ExpectProgrammed(*board, *run.Host.Bus);

        // What the SVs alone say of the board (free texts are not in the SVs).
        auto decoded = CreateBoardOfType(type);
        decoded->SerialNumber = board->SerialNumber;
        decoded->Name = board->Name;
        for (uint32_t n = 1; n <= 512; ++n) decoded->SetSV(n, board->GetSV(n));
        decoded->DecodeSVs();

        // Read the board back over the bus into a fresh board of the type: the same description
        // and, calculated again, the same SVs.
        auto fresh = CreateBoardOfType(type);
        fresh->SerialNumber = board->SerialNumber;
        fresh->Name = board->Name;
        run.Programmer.ReadBoardButtonClick(fresh.get());
        ASSERT_TRUE(run.Host.Run());
        ASSERT_TRUE(run.Host.Logged("Board data read completed successfully!"));
        EXPECT_EQ(Describe(*fresh), Describe(*decoded));

        ASSERT_TRUE(fresh->CalculateSVs());
        for (uint32_t n = 5; n <= 512; ++n) {
            if (board->IsSVProgrammable(n)) {
                ASSERT_EQ(fresh->GetSV(n), board->GetSV(n)) << "SV" << n;
            }
        }
    }
}

// A factory-fresh RVN2 read back: its unused steps calculate to other bytes than the zeros it
// holds, which the board does not use, so it matches; a byte it uses still counts.
TEST(ProgramOverSim, VerifyMatchesByMeaningWhereOnlyUnusedBytesDiffer)
{
    TRVN2Board board;
    board.SerialNumber = 1004;
    TProgrammerRun run(SimFor(board, eRVN2));
    run.Programmer.ReadBoardButtonClick(&board);
    ASSERT_TRUE(run.Host.Run());
    run.Programmer.VerifyButtonClick(&board);
    ASSERT_TRUE(run.Host.Run());
    EXPECT_TRUE(run.Programmer.VerifyMatched());
    EXPECT_EQ(run.Programmer.GetDifferences().size(), 128u); // delay 1, iterations 1 in 64 steps
    EXPECT_EQ(run.Programmer.GetVerifyReport(),
              (std::vector<std::string>{"Board matches its description",
                                        "128 SVs differ only in bytes this board does not use"}));

    run.Host.Bus->Boards()[0].PresetSV(12, 5); // the sensor board number
    run.Programmer.VerifyButtonClick(&board);
    ASSERT_TRUE(run.Host.Run());
    EXPECT_FALSE(run.Programmer.VerifyMatched());
    EXPECT_EQ(run.Programmer.GetVerifyReport().front(), "SV 12: board 5, description 0");
    EXPECT_EQ(run.Programmer.GetVerifyReport().back(), "129 SVs differ");
}

// A description the board cannot hold is not programmed unless the user wants it so, and a board
// that holds its SVs byte for byte still does not match it.
TEST(ProgramOverSim, ABoardThatCannotHoldItsDescriptionIsRefusedAndDoesNotMatch)
{
    auto data = LoadExample(eQXP6);
    auto* board = static_cast<TQXP6Board*>(data->GetBoardForChange(eQXP6, 0));
    board->GetOutputCell(5)->ClosedConditions.ConditionAt(0).SetSensor(300, 16, 0, false);
    const std::vector<std::string> unheld{
        "Output cell 6, closed set, condition 1: Sensor 300,16 is Occupied; the board would hold Sensor 44,16"};
    TProgrammerRun run(SimFor(*board, eQXP6));
    run.Programmer.ProgramButtonClick(board);
    ASSERT_TRUE(run.Host.Run());
    EXPECT_TRUE(run.Host.Logged(unheld[0]));
    EXPECT_TRUE(run.Host.Logged("1 value cannot be held: the board was not programmed"));
    EXPECT_EQ(run.Host.Bus->Boards()[0].GetSV(5), 0) << "nothing was written";

    run.Programmer.ProgramAnyway = true;
    run.Programmer.ProgramButtonClick(board);
    ASSERT_TRUE(run.Host.Run());
    ASSERT_TRUE(run.Host.Logged("Programming Completed Successfully!"));
    run.Programmer.VerifyButtonClick(board);
    ASSERT_TRUE(run.Host.Run());
    EXPECT_TRUE(run.Programmer.GetDifferences().empty());
    EXPECT_FALSE(run.Programmer.VerifyMatched());
    EXPECT_EQ(run.Programmer.GetVerifyReport(), (std::vector<std::string>{unheld[0], "1 value cannot be held"}));
}

// A host that asks: the board waits for the answer as long as it takes, with nothing written and
// no time-out; "Program Anyway" then programs it.
TEST(ProgramOverSim, ProgrammingWaitsForTheAnswerOnWhatTheBoardCannotHold)
{
    auto data = LoadExample(eQXP6);
    auto* board = static_cast<TQXP6Board*>(data->GetBoardForChange(eQXP6, 0));
    board->SensorBoardNumber = 256;
    TProgrammerRun run(SimFor(*board, eQXP6));
    run.Host.Ask = [](const std::vector<std::string>&) { return true; };
    run.Programmer.ProgramButtonClick(board);
    run.Host.Done = [] { return false; };
    EXPECT_FALSE(run.Host.Run(600'000'000ull)); // ten minutes without an answer
    EXPECT_EQ(run.Programmer.GetState(), TBoardProgrammer::psAskingUser);
    EXPECT_EQ(run.Host.Bus->Boards()[0].GetSV(5), 0) << "nothing was written";

    run.Programmer.AnswerProgramAnyway(true);
    run.Host.Done = [&run] { return run.Programmer.IsIdle(); };
    ASSERT_TRUE(run.Host.Run());
    EXPECT_THAT(run.Host.LogLines, Contains("Programming Completed Successfully!"));
}

// Verify Board over the bus, with faults: a fresh board differs in exactly the SVs its description
// does not leave at 0, the programmed board in none.
TEST(ProgramOverSim, VerifyFindsExactlyTheSVsProgrammingChanges)
{
    for (int type = 0; type < kBoardTypeCount; ++type) {
        SCOPED_TRACE(BoardTypeTag(type));
        auto data = LoadExample(type);
        TConfigurableBoard* board = data->GetBoardForChange(type, 0);
        TProgrammerRun run(SimFor(*board, type, ";drop=0.02;corrupt=0.01;seed=" + std::to_string(type)));
        run.Programmer.VerifyButtonClick(board);
        ASSERT_TRUE(run.Host.Run());
        ASSERT_TRUE(run.Programmer.IsVerified());
        std::vector<TBoardProgrammer::TSVDifference> expected;
        for (uint32_t n = 5; n <= 512; ++n)
            if (board->IsSVProgrammable(n) && board->GetSV(n) != 0) expected.push_back({n, 0, board->GetSV(n)});
        ASSERT_FALSE(expected.empty());
        EXPECT_EQ(run.Programmer.GetDifferences(), expected);
        EXPECT_EQ(run.Host.LogLines.back(), std::to_string(expected.size()) + " SVs differ");

        run.Programmer.ProgramButtonClick(board);
        ASSERT_TRUE(run.Host.Run());
        run.Programmer.VerifyButtonClick(board);
        ASSERT_TRUE(run.Host.Run());
        EXPECT_TRUE(run.Programmer.IsVerified());
        EXPECT_TRUE(run.Programmer.GetDifferences().empty());
        EXPECT_EQ(run.Host.LogLines.back(), "Board matches its description");
        EXPECT_EQ(run.Host.Bus->Boards()[0].ReconfigureCount(), 1u); // the programming's, not the verify's
    }
}

TEST(ProgramOverSim, LostCorruptedAndJunkBytesStillProgramExactly)
{
    for (int seed : {1, 2, 3, 4}) {
        SCOPED_TRACE(seed);
        auto data = LoadExample(0);
        TConfigurableBoard* board = data->GetBoardForChange(0, 0);
        TProgrammerRun run(SimFor(*board, 0, ";drop=0.05;corrupt=0.02;junk=0.02;seed=" + std::to_string(seed)));
        run.Programmer.ProgramButtonClick(board);
        ASSERT_TRUE(run.Host.Run());
        EXPECT_TRUE(run.Host.Logged("Programming Completed Successfully!"));
        ExpectProgrammed(*board, *run.Host.Bus);
        EXPECT_GT(run.Host.Bus->RepliesDropped() + run.Host.Bus->MessagesCorrupted(), 0u);
    }
}

TEST(ProgramOverSim, WrongReadbackRetriesTheBlock)
{
    auto data = LoadExample(0);
    TConfigurableBoard* board = data->GetBoardForChange(0, 0);
    TProgrammerRun run(SimFor(*board, 0, ";readback=40"));
    run.Programmer.ProgramButtonClick(board);
    ASSERT_TRUE(run.Host.Run());
    EXPECT_TRUE(run.Host.Logged("Retrying data write..."));
    EXPECT_TRUE(run.Host.Logged("Programming Completed Successfully!"));
    ExpectProgrammed(*board, *run.Host.Bus);
}

TEST(ProgramOverSim, SilentBoardIsAskedTwentyOneTimes)
{
    auto data = LoadExample(0);
    TConfigurableBoard* board = data->GetBoardForChange(0, 0);
    TProgrammerRun run(SimFor(*board, 0, ";silent=" + std::to_string(board->SerialNumber)));
    run.Programmer.ProgramButtonClick(board);
    ASSERT_TRUE(run.Host.Run());
    EXPECT_EQ(run.Host.SentCount, 21);
    EXPECT_EQ(run.Host.NowUs, 21u * 5'000'000u);
    EXPECT_TRUE(run.Host.Logged("Failure while checking board ID"));
}

TEST(ProgramOverSim, BoardOfWrongTypeIsRefused)
{
    auto data = LoadExample(0);
    TConfigurableBoard* board = data->GetBoardForChange(0, 0);
    TProgrammerRun run("sim:boards=ORB8@" + std::to_string(board->SerialNumber));
    run.Programmer.ProgramButtonClick(board);
    ASSERT_TRUE(run.Host.Run());
    EXPECT_TRUE(run.Host.Logged("ERROR: dest board is not correct type"));
    EXPECT_EQ(run.Host.SentCount, 1);
}

struct TDiscoveryRun {
    TSimHost Host;
    TBoardData Boards;
    TBoardDiscovery Discovery{Host, TProductList(RAILSCOPE_SOURCE_DIR "/data/progdevicelist.csv"), &Boards};

    explicit TDiscoveryRun(const std::string& sim) : Host(sim)
    {
        Host.Conversation = &Discovery;
        Host.Done = [this] { return Discovery.GetState() == TBoardDiscovery::rsIdle; };
    }
};

TEST(DiscoveryOverSim, DiscoverRenumberAndCopyNew)
{
    TDiscoveryRun run("sim:boards=ORB4@1000,KPX9@2000,QXP6@3000");
    run.Discovery.DiscoverButtonClick();
    ASSERT_TRUE(run.Host.Run());
    EXPECT_EQ(run.Host.Boxes, std::vector<std::string>{"Discover:|Discovery complete!"});
    ASSERT_EQ(run.Discovery.GetListLines().size(), 3u);
    EXPECT_EQ(run.Discovery.GetListLines()[1], "2000\tKPX9\tBrenmoor Electronics\tKPX9 Lever Panel Master");

    const int sentBefore = run.Host.SentCount;
    run.Discovery.RenumberButtonClick(0, 3000);
    EXPECT_EQ(run.Host.SentCount, sentBefore);
    EXPECT_EQ(run.Host.Boxes.back(), "Error:|New number duplicates a board on LocoNet! Choose a different value");

    run.Discovery.RenumberButtonClick(0, 1234);
    ASSERT_TRUE(run.Host.Run());
    EXPECT_EQ(run.Host.Boxes.back(), "change address:|Change Address successful. Relabel board now!");
    EXPECT_EQ(run.Discovery.GetListLines()[0].substr(0, 5), "1234\t");
    EXPECT_EQ(run.Host.Bus->Boards()[0].Serial(), 1234);

    run.Discovery.IdentifyButtonClick(0);
    ASSERT_TRUE(run.Host.Run());
    EXPECT_EQ(run.Host.Boxes.back(), "Identify:|Identify successful!");

    run.Discovery.CopyNewBoardsButtonClick();
    EXPECT_EQ(run.Boards.BoardCount(0), 1u);
    EXPECT_EQ(run.Boards.GetBoard(0, 0)->SerialNumber, 1234u);
    EXPECT_EQ(run.Boards.BoardCount(1), 1u);
    EXPECT_EQ(run.Boards.BoardCount(4), 1u);
    run.Discovery.CopyNewBoardsButtonClick(); // nothing new the second time
    EXPECT_EQ(run.Boards.BoardCount(0) + run.Boards.BoardCount(1) + run.Boards.BoardCount(4), 3u);
}

} // namespace

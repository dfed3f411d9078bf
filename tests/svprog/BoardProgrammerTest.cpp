#include "svprog/BoardProgrammer.h"

#include "sim/VirtualBoard.h"
#include "support/FakeConversationHost.h"
#include "support/SVMessages.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <fstream>
#include <sstream>

namespace {

// A board class for the conversation: SVs follow a fixed pattern, a few SVs are never used.
class TTestBoard : public TConfigurableBoard {
public:
    TTestBoard()
    {
        SetSVCount(512);
        Name = "Test board";
    }
    std::string GetBoardType() const override { return "TEST"; }
    bool IsBoardIdentity(uint32_t m, uint32_t p, uint32_t s) const override
    {
        return m == 1 && p == 1 && s == SerialNumber;
    }
    void SaveToStream(std::ostream&) override {}
    void LoadFromStream(std::istream&) override {}
    bool CalculateSVs() override
    {
        TConfigurableBoard::CalculateSVs();
        if (FailCalculation) return false;
        for (uint32_t n = 5; n <= SVCount; ++n) {
            if (IsSVProgrammable(n)) SetSV(n, static_cast<uint8_t>((n * 7 + SWVersion) & 0xFF));
        }
        return true;
    }
    std::string GetSVErrorText() const override { return "SV Calculation Error: test"; }
    void DecodeSVs() override
    {
        TConfigurableBoard::DecodeSVs();
        ++Decoded;
    }
    const std::vector<uint32_t>& GetProtectedSVs() const override { return Protected; }
    const std::vector<uint32_t>& GetUnusedSVs() const override { return Unused; }

    bool FailCalculation = false;
    int Decoded = 0;
    std::vector<uint32_t> Protected{1, 2, 7, 8, 29};
    std::vector<uint32_t> Unused{1, 2, 7, 8, 29, 12, 100, 101, 300};
};

// Wires engine, host and virtual board: what is sent is echoed, then answered.
struct TBench {
    TFakeConversationHost Host;
    TBoardProgrammer Programmer{Host};
    TTestBoard Board;
    TVirtualBoard Remote{0, 1000, 3}; // type 0 (product 1), serial 1000, firmware version 3
    std::vector<TLNSVProgMessage> Pending;

    TBench()
    {
        Board.SerialNumber = 1000;
        Host.OnSend = [this](const TLNSVProgMessage& m) {
            Pending.push_back(m); // the interface echoes what we send
            if (auto reply = Remote.Handle(m)) Pending.emplace_back(*reply);
        };
    }
    void Pump()
    {
        while (!Pending.empty()) {
            TLNSVProgMessage m = Pending.front();
            Pending.erase(Pending.begin());
            Programmer.HandleSVMessage(m);
        }
    }
    void Fire(EConversationTimer t)
    {
        if (t == EConversationTimer::Timeout)
            Programmer.TimeoutTimerTimer();
        else
            Programmer.MsgDelayTimerTimer();
        Pump();
    }
    void Run(uint64_t ms = 10'000'000)
    {
        Pump();
        for (uint64_t t = 0; t < ms && !Programmer.IsIdle(); t += 1000)
            Host.Advance(1000, [this](EConversationTimer timer) { Fire(timer); });
    }
    bool Logged(const std::string& line) const
    {
        return std::find(Host.LogLines.begin(), Host.LogLines.end(), line) != Host.LogLines.end();
    }
};

TEST(BoardProgrammer, ProgramsEveryProgrammableSVAndReconfigures)
{
    TBench b;
    b.Programmer.ProgramButtonClick(&b.Board);
    b.Run();
    ASSERT_TRUE(b.Logged("Programming Completed Successfully!"));
    EXPECT_EQ(b.Board.SWVersion, 3u); // learnt from SV2 of the board
    for (uint32_t n = 5; n <= 512; ++n) {
        if (b.Board.IsSVProgrammable(n)) {
            EXPECT_EQ(b.Remote.GetSV(n), b.Board.GetSV(n)) << "SV" << n;
        } else {
            EXPECT_EQ(b.Remote.GetSV(n), 0) << "SV" << n << " must not be written";
        }
    }
    EXPECT_EQ(b.Host.LogLines.front(), "Checking Destination board identity.....");
    EXPECT_EQ(b.Host.LogLines.back(), "Board programmer idle");
    EXPECT_EQ(b.Host.Progress, 512u);
    EXPECT_EQ(b.Host.ProgressMax, 512u);
    EXPECT_EQ(b.Host.Status, "Board programmer idle");
    // Blocks of four where possible: SV5 to SV8 is broken by SV7, so 5 and 6 go singly.
    ASSERT_GE(b.Host.Sent.size(), 4u);
    EXPECT_EQ(b.Host.Sent[2].SVKind(), eSVWRITE1);
    EXPECT_EQ(b.Host.Sent[2].GetWord(3), 5u);
    EXPECT_EQ(b.Host.Sent.back().SVKind(), eSVRECONFIGURE);
}

TEST(BoardProgrammer, LogLinesInOrderWithoutLogBox)
{
    TBench b;
    b.Programmer.ProgramButtonClick(&b.Board);
    b.Run();
    const std::vector<std::string> expected = {"Checking Destination board identity.....",
                                               "Checking Destination board s/w version.....",
                                               "Beginning Read or write.....",
                                               "Resetting Destination board.....",
                                               "Programming Completed Successfully!",
                                               "Board programmer idle"};
    EXPECT_EQ(b.Host.LogLines, expected);
}

TEST(BoardProgrammer, LogBoxAddsMessageTexts)
{
    TBench b;
    b.Programmer.LogEnabled = true;
    b.Programmer.ProgramButtonClick(&b.Board);
    b.Run();
    EXPECT_TRUE(b.Logged("SV Access: Identify Dst=1000") ||
                std::any_of(b.Host.LogLines.begin(), b.Host.LogLines.end(),
                            [](const std::string& l) { return l.rfind("SV Access: Identify", 0) == 0; }));
    EXPECT_TRUE(b.Logged("Programming Completed Successfully!"));
    EXPECT_GT(b.Host.LogLines.size(), 100u);
}

TEST(BoardProgrammer, ReadsBoardBackAndDecodes)
{
    TBench b;
    for (uint32_t n = 5; n <= 512; ++n) b.Remote.PresetSV(n, static_cast<uint8_t>(n ^ 0x5A));
    b.Programmer.ReadBoardButtonClick(&b.Board);
    b.Run();
    ASSERT_TRUE(b.Logged("Board data read completed successfully!"));
    EXPECT_EQ(b.Board.Decoded, 1);
    for (uint32_t n = 5; n <= 512; ++n) {
        if (b.Board.IsSVProgrammable(n)) {
            EXPECT_EQ(b.Board.GetSV(n), b.Remote.GetSV(n)) << n;
        }
    }
    // No write and no reconfigure in read mode.
    for (const auto& m : b.Host.Sent) {
        EXPECT_NE(m.SVKind(), eSVWRITE4);
        EXPECT_NE(m.SVKind(), eSVRECONFIGURE);
    }
    // The serial number comes back from SV3/SV4 (kept by the calculation).
    EXPECT_EQ(b.Board.SerialNumber, 1000u);
    // The finished read shows its end, though its last block starts below the table's end.
    EXPECT_EQ(b.Host.Progress, b.Host.ProgressMax);
}

// Verify Board against a board that was programmed and then changed in a few SVs, or not, or
// that never answers: it reads and compares, and never writes nor restarts the board.
TEST(BoardProgrammer, VerifyReportsExactlyTheSVsThatDiffer)
{
    using TDiff = TBoardProgrammer::TSVDifference;
    struct TCase {
        const char* Name;
        std::vector<std::pair<uint32_t, uint8_t>> Changes; // SVs changed on the board afterwards
        bool Silent;
        std::vector<TDiff> Expected;
        std::vector<std::string> Tail; // the log lines after "Board programmer idle", the verdict last
    };
    // The description gives SV n the value n * 7 + 3 (firmware version 3); SV 100 is unused.
    const std::vector<TCase> cases = {
        {"matches", {}, false, {}, {"Board matches its description"}},
        {"differs",
         {{41, 0}, {42, 1}, {100, 9}, {512, 200}},
         false,
         {{41, 0, 34}, {42, 1, 41}, {512, 200, 3}},
         {"SV 41: board 0, description 34", "SV 42: board 1, description 41", "SV 512: board 200, description 3",
          "3 SVs differ"}},
        {"silent", {}, true, {}, {"Board could not be verified"}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TBench b;
        b.Programmer.ProgramButtonClick(&b.Board);
        b.Run();
        ASSERT_TRUE(b.Logged("Programming Completed Successfully!"));
        for (const auto& [sv, value] : c.Changes) b.Remote.PresetSV(sv, value);
        b.Remote.SetSilent(c.Silent);
        const uint32_t reconfigures = b.Remote.ReconfigureCount();
        b.Host.Sent.clear();

        b.Programmer.VerifyButtonClick(&b.Board);
        b.Run();
        EXPECT_TRUE(b.Programmer.IsIdle());
        EXPECT_EQ(b.Programmer.IsVerified(), !c.Silent);
        EXPECT_EQ(b.Programmer.GetDifferences(), c.Expected);
        const auto idle = std::find(b.Host.LogLines.begin(), b.Host.LogLines.end(), "Board programmer idle");
        ASSERT_NE(idle, b.Host.LogLines.end());
        EXPECT_EQ(std::vector<std::string>(idle + 1, b.Host.LogLines.end()), c.Tail);
        EXPECT_EQ(b.Logged("Failure while checking board ID"), c.Silent);
        // Identify, the version check, then one read per block that programming writes.
        size_t blocks = 0;
        uint32_t size = 0;
        for (uint32_t sv = b.Board.NextSVBlock(0, size); size != 0; sv = b.Board.NextSVBlock(sv, size)) ++blocks;
        EXPECT_EQ(b.Host.Sent.size(), c.Silent ? 21u : 2u + blocks);
        for (const auto& m : b.Host.Sent) {
            const ESVMsgKind kind = m.SVKind();
            EXPECT_TRUE(kind != eSVWRITE1 && kind != eSVWRITE4 && kind != eSVRECONFIGURE) << m.Text();
        }
        EXPECT_EQ(b.Remote.ReconfigureCount(), reconfigures);
        for (const auto& [sv, value] : c.Changes) EXPECT_EQ(b.Remote.GetSV(sv), value); // nothing written back
    }
}

TEST(BoardProgrammer, SilentBoardIsAskedTwentyOneTimes)
{
    TBench b;
    b.Remote.SetSilent(true);
    b.Programmer.ProgramButtonClick(&b.Board);
    b.Run();
    ASSERT_EQ(b.Host.Sent.size(), 21u);
    for (size_t i = 0; i < b.Host.Sent.size(); ++i) {
        EXPECT_EQ(b.Host.Sent[i].SVKind(), eSVIDENTIFY);
        EXPECT_EQ(b.Host.SentAt[i], i * 5000u);
    }
    EXPECT_TRUE(b.Logged("Failure while checking board ID"));
    EXPECT_EQ(b.Host.LogLines.back(), "Board programmer idle");
    EXPECT_FALSE(b.Host.IsRunning(EConversationTimer::Timeout));
}

TEST(BoardProgrammer, TimeoutRetryNotesOnlyWithLogBox)
{
    TBench b;
    b.Remote.SetSilent(true);
    b.Programmer.LogEnabled = true;
    b.Programmer.ProgramButtonClick(&b.Board);
    b.Run();
    EXPECT_EQ(std::count(b.Host.LogLines.begin(), b.Host.LogLines.end(), "Timeout while checking board ID.. retrying"),
              20);
}

TEST(BoardProgrammer, WrongBoardTypeEndsConversation)
{
    TBench b;
    b.Remote.SetProductId(5); // an ORB8 answers for an ORB4 description
    b.Programmer.ProgramButtonClick(&b.Board);
    b.Run();
    EXPECT_TRUE(b.Logged("ERROR: dest board is not correct type"));
    EXPECT_EQ(b.Host.Sent.size(), 1u);
    EXPECT_TRUE(b.Programmer.IsIdle());
}

TEST(BoardProgrammer, ReadbackMismatchResendsSameBlock)
{
    TBench b;
    b.Remote.SetReadbackFault(14); // inside the block of four SV13 to SV16
    b.Programmer.ProgramButtonClick(&b.Board);
    b.Run();
    EXPECT_TRUE(b.Logged("Retrying data write..."));
    EXPECT_TRUE(b.Logged("Programming Completed Successfully!"));
    int blocksAt13 = 0;
    for (const auto& m : b.Host.Sent)
        if (m.SVKind() == eSVWRITE4 && m.GetWord(3) == 13) {
            ++blocksAt13;
        }
    EXPECT_EQ(blocksAt13, 2);
}

TEST(BoardProgrammer, PersistentMismatchFailsAfterBudget)
{
    TBench b;
    b.Remote.SetReadbackFault(9, 1000);
    b.Programmer.ProgramButtonClick(&b.Board);
    b.Run();
    EXPECT_EQ(std::count(b.Host.LogLines.begin(), b.Host.LogLines.end(), "Retrying data write..."), 20);
    EXPECT_TRUE(b.Logged("FAIL: readback data does not match."));
    EXPECT_FALSE(b.Logged("Programming Completed Successfully!"));
}

TEST(BoardProgrammer, ReplyForOtherDestinationIsIgnoredUntilTimeout)
{
    TBench b;
    b.Host.OnSend = [&b](const TLNSVProgMessage& m) {
        b.Pending.push_back(m);
        if (m.SVKind() == eSVREAD4) {
            b.Pending.push_back(MakeSVMessage(0x46, 999, 1, {0, 3, 0, 0})); // another board's reply
            return;
        }
        if (auto reply = b.Remote.Handle(m)) b.Pending.emplace_back(*reply);
    };
    b.Programmer.ProgramButtonClick(&b.Board);
    b.Pump();
    EXPECT_EQ(b.Programmer.GetState(), TBoardProgrammer::psCheckingVersion);
    const size_t before = b.Host.Sent.size();
    b.Host.Advance(5000, [&b](EConversationTimer t) { b.Fire(t); });
    ASSERT_EQ(b.Host.Sent.size(), before + 1);
    EXPECT_EQ(b.Host.Sent.back().SVKind(), eSVREAD4);
    EXPECT_EQ(b.Host.Sent.back().GetWord(3), 1u);
}

TEST(BoardProgrammer, MS100WaitsTwentyMillisecondsAfterGoodReplies)
{
    TBench b;
    b.Programmer.UseMessageDelay = true;
    b.Programmer.ProgramButtonClick(&b.Board);
    b.Run();
    ASSERT_TRUE(b.Logged("Programming Completed Successfully!"));
    for (size_t i = 1; i < b.Host.SentAt.size(); ++i) EXPECT_EQ(b.Host.SentAt[i] - b.Host.SentAt[i - 1], 20u);
}

TEST(BoardProgrammer, StartRules)
{
    TBench b;
    b.Programmer.ProgramButtonClick(nullptr);
    EXPECT_EQ(b.Host.LogLines, std::vector<std::string>{"No board selected in list box"});
    b.Board.SerialNumber = 0;
    b.Programmer.ProgramButtonClick(&b.Board);
    EXPECT_EQ(b.Host.LogLines.back(), "Serial number must be between 1 & 65536");
    EXPECT_TRUE(b.Host.Sent.empty());
    b.Board.SerialNumber = 1000;
    b.Remote.SetSilent(true);
    b.Programmer.ProgramButtonClick(&b.Board);
    b.Programmer.ProgramButtonClick(&b.Board); // a second press while busy does nothing
    EXPECT_EQ(b.Host.Sent.size(), 1u);
}

TEST(BoardProgrammer, CalculationFailureBeepsAndGoesIdle)
{
    TBench b;
    b.Board.FailCalculation = true;
    b.Programmer.ReadBoardButtonClick(&b.Board);
    b.Run();
    EXPECT_TRUE(b.Logged("SV Calculation Error: test"));
    EXPECT_EQ(b.Host.Beeps, 1);
    EXPECT_TRUE(b.Programmer.IsIdle());
    EXPECT_FALSE(b.Logged("Beginning Read or write....."));
}

TEST(BoardProgrammer, WriteSVtoFileUsesSpinVersion)
{
    TBench b;
    const std::string file = ::testing::TempDir() + "railscope_listing_test.txt";
    b.Board.SWVersion = 9;
    b.Programmer.WriteSVtoFile(&b.Board, 3, file);
    EXPECT_EQ(b.Board.SWVersion, 3u);
    EXPECT_EQ(b.Host.LogLines, (std::vector<std::string>{"Calculating SVs.....", "SVs calculated - written to file"}));
    std::ifstream in(file, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_EQ(text.str(), b.Board.SVListingText());
    EXPECT_NE(text.str().find("SV5=38;  "), std::string::npos); // 5*7+3
    std::remove(file.c_str());

    b.Programmer.WriteSVtoFile(nullptr, 3, file);
    EXPECT_EQ(b.Host.LogLines, std::vector<std::string>{"No board selected in list box above!"});
    b.Programmer.WriteSVtoFile(&b.Board, 3, "/nonexistent-folder/listing.txt");
    EXPECT_EQ(b.Host.LogLines,
              (std::vector<std::string>{"Calculating SVs.....",
                                        "Could not write SV listing to "
                                        "/nonexistent-folder/listing.txt: No such file or directory"}));
    EXPECT_EQ(b.Host.Beeps, 1);
}

TEST(BoardProgrammer, WriteSVtoFileRefusedWhileProgramming)
{
    TBench b;
    const std::string file = ::testing::TempDir() + "railscope_busy_listing_test.txt";
    std::remove(file.c_str());
    b.Programmer.UseMessageDelay = true; // each step waits for its timer
    b.Programmer.ProgramButtonClick(&b.Board);
    b.Pump();
    b.Fire(EConversationTimer::MsgDelay); // SV1 to SV4 read: the SVs are calculated
    b.Fire(EConversationTimer::MsgDelay); // the first block is written
    ASSERT_EQ(b.Programmer.GetState(), TBoardProgrammer::psTransfer);
    const uint8_t sv5 = b.Board.GetSV(5);
    b.Programmer.WriteSVtoFile(&b.Board, 9, file);
    EXPECT_EQ(b.Host.LogLines.back(), "Cannot write SV listing while a board is being programmed or read");
    EXPECT_TRUE(b.Logged("Checking Destination board identity.....")); // the log is kept
    EXPECT_FALSE(std::ifstream(file).good());
    EXPECT_EQ(b.Board.SWVersion, 3u);
    EXPECT_EQ(b.Board.GetSV(5), sv5);
    b.Run();
    EXPECT_TRUE(b.Logged("Programming Completed Successfully!"));
}

} // namespace

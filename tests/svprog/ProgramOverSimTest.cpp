// The programmer and the discovery conversation against the simulated LocoNet: real framing,
// the interface's echo, virtual boards, and seeded faults, on a fake clock.
#include "svprog/BoardDiscovery.h"
#include "svprog/BoardProgrammer.h"

#include "boards/BoardData.h"
#include "boards/BoardFactory.h"
#include "link/FrameAssembler.h"
#include "sim/SimBus.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <string>

namespace {

const char* const kExampleFiles[kBoardTypeCount] = {"layout-orb4.csv", "layout-kpx9.csv", "layout-orb8.csv",
                                                    "layout-rvn2.csv", "layout-qxp6.csv"};

// A host wired to the simulated bus; time moves only when Run moves it.
class TSimHost : public TConversationHost {
public:
    explicit TSimHost(const std::string& simOptions)
    {
        std::string error;
        TSimConfig config;
        EXPECT_TRUE(ParseSimDeviceName(simOptions, config, error)) << error;
        Bus = std::make_unique<TSimBus>(config, 0);
    }

    std::function<void(const TLNSVProgMessage&)> OnSVMessage;
    std::function<void(EConversationTimer)> OnTimer;
    std::function<bool()> Done;

    void SendMessage(std::unique_ptr<TLocoNetMessage> m) override
    {
        ++SentCount;
        Bus->Send(m->GetData(), m->GetLength(), NowUs);
    }
    void StartTimer(EConversationTimer t, uint32_t periodMs) override
    {
        Timers[t] = {true, NowUs + periodMs * 1000ull, periodMs * 1000ull};
    }
    void StopTimer(EConversationTimer t) override { Timers[t].Running = false; }
    void ShowStatus(const std::string& text) override { Status = text; }
    void Log(const std::string& line) override { LogLines.push_back(line); }
    void ClearLog() override { LogLines.clear(); }
    void SetProgressRange(uint32_t, uint32_t maximum) override { ProgressMax = maximum; }
    void SetProgressPosition(uint32_t position) override { Progress = position; }
    void MessageBox(const std::string& text, const std::string& caption) override
    {
        Boxes.push_back(caption + "|" + text);
    }

    // Runs until Done() or the time limit; false when the limit was reached.
    bool Run(uint64_t limitUs = 3'600'000'000ull)
    {
        const uint64_t end = NowUs + limitUs;
        while (!Done()) {
            uint64_t next = end;
            if (auto due = Bus->NextDueUs()) next = std::min(next, std::max(*due, NowUs));
            EConversationTimer timer{};
            bool timerNext = false;
            for (auto& [t, s] : Timers) {
                if (s.Running && s.Due <= next) {
                    next = s.Due;
                    timer = t;
                    timerNext = true;
                }
            }
            if (next >= end) return false;
            NowUs = std::max(NowUs, next);
            std::vector<uint8_t> bytes;
            Bus->Poll(NowUs, bytes);
            Assembler.Feed(bytes.data(), bytes.size());
            if (timerNext && Timers[timer].Running && Timers[timer].Due <= NowUs) {
                Timers[timer].Due = NowUs + Timers[timer].Period;
                OnTimer(timer);
            }
        }
        return true;
    }
    bool Logged(const std::string& line) const
    {
        return std::find(LogLines.begin(), LogLines.end(), line) != LogLines.end();
    }

    struct TTimer {
        bool Running = false;
        uint64_t Due = 0;
        uint64_t Period = 0;
    };
    std::unique_ptr<TSimBus> Bus;
    TFrameAssembler Assembler{[this](TLocoNetMessage&& m) {
        if (m.MessageType() == eOPCSVACCESS2 && OnSVMessage) OnSVMessage(TLNSVProgMessage(m));
    }};
    uint64_t NowUs = 0;
    std::map<EConversationTimer, TTimer> Timers;
    std::string Status;
    std::vector<std::string> LogLines;
    std::vector<std::string> Boxes;
    uint32_t ProgressMax = 0, Progress = 0;
    int SentCount = 0;
};

struct TProgrammerRun {
    TSimHost Host;
    TBoardProgrammer Programmer{Host};

    explicit TProgrammerRun(const std::string& sim) : Host(sim)
    {
        Host.OnSVMessage = [this](const TLNSVProgMessage& m) { Programmer.HandleSVMessage(m); };
        Host.OnTimer = [this](EConversationTimer t) {
            if (t == EConversationTimer::Timeout)
                Programmer.TimeoutTimerTimer();
            else
                Programmer.MsgDelayTimerTimer();
        };
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
        Host.OnSVMessage = [this](const TLNSVProgMessage& m) { Discovery.HandleSVMessage(m); };
        Host.OnTimer = [this](EConversationTimer t) {
            if (t == EConversationTimer::Timeout)
                Discovery.TimeoutTimerTimer();
            else
                Discovery.MsgDelayTimerTimer();
        };
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

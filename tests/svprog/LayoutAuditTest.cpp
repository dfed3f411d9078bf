// Checking the whole example layout over the simulated LocoNet, on a fake clock, with and without
// lost, corrupted and junk replies: the bus holds the example boards, one extra board in no file,
// one changed board, one board of another type, and lacks one; one description cannot be held.
#include "svprog/LayoutAudit.h"

#include "boards/BoardData.h"
#include "boards/orb/orb4/ORB4Board.h"
#include "support/SimHost.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using ::testing::ElementsAre;
using ::testing::HasSubstr;

namespace {

const char* const kExampleFiles[] = {"layout-orb4.csv", "layout-kpx9.csv", "layout-orb8.csv", "layout-rvn2.csv",
                                     "layout-qxp6.csv"};

// KPX9 2102 is missing, a QXP6 answers at RVN2 1202's number and ORB8 2202 is in no file.
const char* const kBus = "sim:boards=ORB4@1101/fw2,ORB4@1102/fw2,KPX9@2101/fw2,ORB8@2201/fw2,ORB8@2202/fw2,"
                         "RVN2@1201/fw2,QXP6@1202/fw2,QXP6@4101/fw2,QXP6@4102/fw2";

std::string Path(int type)
{
    return std::string(RAILSCOPE_SOURCE_DIR "/data/examples/") + kExampleFiles[type];
}

// "1101 ORB4 Main line ORB4: matches"
std::vector<std::string> Table(const TLayoutAudit& audit)
{
    std::vector<std::string> lines;
    for (const auto& row : audit.GetRows())
        lines.push_back(std::to_string(row.Serial) + " " + BoardTypeTag(row.Type) + " " + row.Name + ": " +
                        TLayoutAudit::StatusText(row));
    return lines;
}

class LayoutAudit : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override
    {
        Host = std::make_unique<TSimHost>(std::string(kBus) + GetParam());
        for (int type = 0; type < kBoardTypeCount; ++type) ASSERT_TRUE(Files.LoadFile(type, Path(type)));
        // Every example board on the bus is programmed; then ORB4 1101 is changed on the board.
        for (int type = 0; type < kBoardTypeCount; ++type)
            for (uint32_t i = 0; i < Files.BoardCount(type); ++i) {
                TConfigurableBoard* board = Files.GetBoardForChange(type, i);
                if (board->SerialNumber == 2102 || board->SerialNumber == 1202) continue;
                ASSERT_TRUE(Converse(*Host, [&](TBoardProgrammer& p) { p.ProgramButtonClick(board); },
                                     "Programming Completed Successfully!"))
                    << board->SerialNumber;
            }
        auto changed = Files.GetBoard(eORB4, 0)->Clone();
        dynamic_cast<TORB4Board&>(*changed).SensorConfig().SensorBoardNumber = 13;
        ASSERT_TRUE(Converse(*Host, [&](TBoardProgrammer& p) { p.ProgramButtonClick(changed.get()); },
                             "Programming Completed Successfully!"));
        // The spare ORB4's description gains a sensor board number its SV cannot hold.
        dynamic_cast<TORB4Board&>(*Files.GetBoardForChange(eORB4, 1)).SensorConfig().SensorBoardNumber = 256;

        Audit = std::make_unique<TLayoutAudit>(*Host);
        Audit->SetDiscoveryWaitMs(1000);
        for (int type = 0; type < kBoardTypeCount; ++type)
            for (uint32_t i = 0; i < Files.BoardCount(type); ++i) {
                std::string error;
                ASSERT_TRUE(Audit->AddDescription(*Files.GetBoard(type, i), kExampleFiles[type], i, error)) << error;
            }
        Host->Conversation = Audit.get();
    }

    // Runs until `done`; false when an hour of fake time was not enough.
    bool RunUntil(std::function<bool()> done)
    {
        Host->Done = std::move(done);
        return Host->Run();
    }
    bool RunToRest()
    {
        return RunUntil([this] { return Audit->IsIdle(); });
    }

    std::unique_ptr<TSimHost> Host;
    TBoardData Files;
    std::unique_ptr<TLayoutAudit> Audit;
};

TEST_P(LayoutAudit, TellsEveryBoardsStateAndProgramsOnlyTheDifferingOnes)
{
    Audit->Start();
    ASSERT_TRUE(RunToRest());
    EXPECT_EQ(Audit->GetEnd(), TLayoutAudit::EEnd::Finished);
    EXPECT_THAT(Table(*Audit), ElementsAre("1101 ORB4 Main line ORB4: 1 SVs differ",
                                           "1102 ORB4 Spare ORB4: description cannot be held (1 values)",
                                           "2101 KPX9 Station throat panel: matches",
                                           "2102 KPX9 Fiddle yard panel: in a file, not on the bus",
                                           "2201 ORB8 Station throat ORB8: matches", "2202 ORB8 : on the bus, in no file",
                                           "1201 RVN2 Branch Line Shuttle: matches",
                                           "1202 RVN2 Coldwater Station: type differs: bus has QXP6",
                                           "4101 QXP6 Station throat: matches", "4102 QXP6 Goods yard: matches"));
    EXPECT_EQ(Audit->Summary(), "10 boards: 5 match, 1 differs, 1 cannot hold its description, 1 in no file, 1 not "
                                "on the bus, 1 of another type on the bus");
    EXPECT_THAT(Audit->GetRows()[0].Details, ElementsAre("SV 26: board 13, description 12", "1 SVs differ"));
    EXPECT_FALSE(Audit->AllMatch());
    EXPECT_EQ(Host->Progress, Host->ProgressMax);

    const auto svsOf = [this](size_t board) {
        std::vector<uint8_t> svs;
        for (uint32_t n = 1; n <= kBoardSVCount; ++n) svs.push_back(Host->Bus->Boards()[board].GetSV(n));
        return svs;
    };
    const std::vector<uint8_t> spare = svsOf(1);
    Audit->ProgramDiffering();
    ASSERT_TRUE(RunToRest());
    EXPECT_EQ(Table(*Audit)[0], "1101 ORB4 Main line ORB4: matches");
    EXPECT_EQ(Table(*Audit)[1], "1102 ORB4 Spare ORB4: description cannot be held (1 values)");
    EXPECT_THAT(Audit->Summary(), HasSubstr("10 boards: 6 match, 1 cannot hold"));
    EXPECT_TRUE(Host->Logged("ORB4 1101 programmed"));
    // The board holds its description's SVs, and the board that cannot hold its own kept its SVs.
    TConfigurableBoard* mainLine = Files.GetBoardForChange(eORB4, 0);
    mainLine->SWVersion = 2;
    ASSERT_TRUE(mainLine->CalculateSVs());
    for (uint32_t n = 5; n <= kBoardSVCount; ++n) {
        if (!mainLine->IsSVProgrammable(n)) continue;
        ASSERT_EQ(Host->Bus->Boards()[0].GetSV(n), mainLine->GetSV(n)) << n;
    }
    EXPECT_EQ(svsOf(1), spare);
}

TEST_P(LayoutAudit, ABoardThatFallsSilentHalfwayGetsNoAnswerAndTheRunGoesOn)
{
    Audit->Start();
    // The ORB8 2201 stops answering after a hundred of its SVs have been read.
    TVirtualBoard& orb8 = Host->Bus->Boards()[3];
    ASSERT_TRUE(RunUntil([&] {
        return !Host->LogLines.empty() && Host->LogLines.back().rfind("Checking ORB8 2201", 0) == 0 &&
               Host->Progress % kBoardSVCount > 100;
    }));
    orb8.SetSilent(true);
    ASSERT_TRUE(RunToRest());
    EXPECT_EQ(Table(*Audit)[4], "2201 ORB8 Station throat ORB8: no answer");
    EXPECT_EQ(Audit->GetRows()[4].Details, std::vector<std::string>{"Failure while reading or writing"});
    EXPECT_EQ(Table(*Audit)[8], "4101 QXP6 Station throat: matches");
}

TEST_P(LayoutAudit, ALostLinkEndsTheRunAndKeepsTheTableSoFar)
{
    Audit->Start();
    ASSERT_TRUE(RunUntil([&] { return Host->Logged("Checking ORB8 2201 (4 of 7)....."); }));
    Audit->LinkLost();
    EXPECT_TRUE(Audit->IsIdle());
    EXPECT_EQ(Audit->GetEnd(), TLayoutAudit::EEnd::LinkLost);
    EXPECT_THAT(Table(*Audit), ElementsAre("1101 ORB4 Main line ORB4: 1 SVs differ",
                                           "1102 ORB4 Spare ORB4: description cannot be held (1 values)",
                                           "2101 KPX9 Station throat panel: matches",
                                           "2102 KPX9 Fiddle yard panel: in a file, not on the bus",
                                           "2201 ORB8 Station throat ORB8: not checked", "2202 ORB8 : on the bus, in no file",
                                           "1201 RVN2 Branch Line Shuttle: not checked",
                                           "1202 RVN2 Coldwater Station: type differs: bus has QXP6",
                                           "4101 QXP6 Station throat: not checked",
                                           "4102 QXP6 Goods yard: not checked"));
    // Nothing more is sent.
    const int sent = Host->SentCount;
    EXPECT_FALSE(RunUntil([] { return false; }));
    EXPECT_EQ(Host->SentCount, sent);
}

INSTANTIATE_TEST_SUITE_P(Faults, LayoutAudit,
                         ::testing::Values("", ";drop=0.03;corrupt=0.02;junk=0.05;seed=7",
                                           ";drop=0.05;corrupt=0.02;junk=0.1;seed=11"));

TEST(LayoutAuditDescriptions, ABoardDescribedTwiceIsRefusedAndTheTableIsQuotedAsCsv)
{
    TSimHost host("sim:boards=");
    TLayoutAudit audit(host);
    TBoardData data;
    ASSERT_TRUE(data.LoadFile(eORB4, Path(eORB4)));
    std::string error;
    ASSERT_TRUE(audit.AddDescription(*data.GetBoard(eORB4, 0), "a.csv", 0, error));
    EXPECT_FALSE(audit.AddDescription(*data.GetBoard(eORB4, 0), "b.csv", 3, error));
    EXPECT_EQ(error, "ORB4 1101 is described twice: a.csv, board 0, and b.csv, board 3");
    data.GetBoardForChange(eORB4, 1)->Name = "Spare \"B\"";
    ASSERT_TRUE(audit.AddDescription(*data.GetBoard(eORB4, 1), "my, file.csv", 1, error));

    host.Conversation = &audit;
    host.Done = [&audit] { return audit.IsIdle(); };
    audit.SetDiscoveryWaitMs(500);
    audit.Start();
    ASSERT_TRUE(host.Run());
    EXPECT_EQ(audit.CsvText(), "Serial,Type,Name,Status,File\n"
                               "1101,ORB4,\"Main line ORB4\",\"in a file, not on the bus\",\"a.csv\"\n"
                               "1102,ORB4,\"Spare \"\"B\"\"\",\"in a file, not on the bus\",\"my, file.csv\"\n");
    // With described boards missing, the discovery asks as often as it may.
    EXPECT_EQ(std::count(host.LogLines.begin(), host.LogLines.end(), "Found 0 boards"), 1);
    EXPECT_EQ(host.SentCount, TLayoutAudit::kMaxRounds);
}

} // namespace

#include "svprog/BoardDiscovery.h"

#include "boards/BoardData.h"
#include "sim/VirtualBoard.h"
#include "support/FakeConversationHost.h"
#include "support/SVMessages.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <deque>

namespace {

using ::testing::ElementsAre;

struct TDiscoveryBench {
    TFakeConversationHost Host;
    TBoardData Boards;
    TBoardDiscovery Discovery{Host, TProductList(RAILSCOPE_SOURCE_DIR "/data/progdevicelist.csv"), &Boards};
    std::vector<TVirtualBoard> Remotes;
    std::deque<TLNSVProgMessage> Pending;
    int Changes = 0;

    TDiscoveryBench()
    {
        Discovery.OnChanged = [this] { ++Changes; };
        Host.OnSend = [this](const TLNSVProgMessage& m) {
            Pending.push_back(m); // echo
            for (auto& r : Remotes)
                if (auto reply = r.Handle(m)) Pending.emplace_back(*reply);
        };
    }
    void AddRemote(uint16_t serial, uint16_t product)
    {
        TVirtualBoard b(0, serial, 1);
        b.SetProductId(product);
        Remotes.push_back(b);
    }
    void Pump()
    {
        while (!Pending.empty()) {
            TLNSVProgMessage m = Pending.front();
            Pending.pop_front();
            Discovery.HandleSVMessage(m);
        }
    }
    void Advance(uint64_t ms)
    {
        Host.Advance(ms, [this](EConversationTimer t) {
            if (t == EConversationTimer::Timeout)
                Discovery.TimeoutTimerTimer();
            else
                Discovery.MsgDelayTimerTimer();
            Pump();
        });
    }
    void Discover()
    {
        Discovery.DiscoverButtonClick();
        Pump();
        Advance(5000);
    }
};

TEST(BoardDiscovery, ThreeBoardsGiveThreeLinesAfterQuietPeriod)
{
    TDiscoveryBench b;
    b.AddRemote(1001, 1);
    b.AddRemote(1003, 5);
    b.AddRemote(1005, 7);
    b.Discovery.DiscoverButtonClick();
    EXPECT_EQ(b.Discovery.GetListLines(),
              std::vector<std::string>{"Discovering boards on LocoNet (this takes several seconds)....."});
    EXPECT_EQ(b.Discovery.GetButtons(), (TBoardDiscovery::TButtons{false, false, false, false}));
    EXPECT_EQ(b.Host.Status, "Discovering.....");
    ASSERT_EQ(b.Host.Sent.size(), 1u);
    EXPECT_EQ(b.Host.Sent[0].SVKind(), eSVDISCOVER);
    b.Pump();
    EXPECT_EQ(b.Discovery.GetRepliesCounted(), 3u);
    b.Advance(4999);
    EXPECT_TRUE(b.Host.Boxes.empty());
    b.Advance(1);
    EXPECT_EQ(b.Host.Boxes, std::vector<std::string>{"Discover:|Discovery complete!"});
    ASSERT_EQ(b.Discovery.GetListLines().size(), 3u);
    EXPECT_EQ(b.Discovery.GetListLines()[0].substr(0, 9), "1001\tORB4");
    EXPECT_EQ(b.Discovery.GetListLines()[2].substr(0, 9), "1005\tQXP6");
    EXPECT_EQ(b.Discovery.GetButtons(), (TBoardDiscovery::TButtons{true, true, true, true}));
    EXPECT_EQ(b.Host.Status, "No Address change active");
}

TEST(BoardDiscovery, LateReplyRestartsQuietPeriod)
{
    TDiscoveryBench b;
    b.Discovery.DiscoverButtonClick();
    b.Advance(3000);
    b.Discovery.HandleSVMessage(MakeSVMessage(0x47, 0, 1, {1, 0, 0x10, 0x27}));
    b.Advance(4999);
    EXPECT_TRUE(b.Host.Boxes.empty());
    b.Advance(1);
    EXPECT_EQ(b.Host.Boxes.size(), 1u);
    EXPECT_EQ(b.Discovery.GetFoundBoard(0).SerialNumber, 10000u);
}

TEST(BoardDiscovery, AWaitOfItsOwnTimesEveryReply)
{
    TDiscoveryBench b;
    b.Discovery.SetTimeoutMs(1500);
    b.AddRemote(1001, 1);
    b.Discovery.DiscoverButtonClick();
    b.Pump();
    b.Advance(1499);
    EXPECT_TRUE(b.Host.Boxes.empty());
    b.Advance(1);
    EXPECT_EQ(b.Host.Boxes, std::vector<std::string>{"Discover:|Discovery complete!"});
    b.Remotes.clear(); // the board is gone: its Identify times out after the same wait
    b.Discovery.IdentifyButtonClick(0);
    b.Advance(1499);
    EXPECT_EQ(b.Host.Boxes.size(), 1u);
    b.Advance(1);
    EXPECT_EQ(b.Host.Boxes.back(), "Timout Error:|Board did not response to Identify message");
}

TEST(BoardDiscovery, NoAnswerEndsWithEmptyListAndButtonsOff)
{
    TDiscoveryBench b;
    b.Discover();
    EXPECT_TRUE(b.Discovery.GetListLines().empty());
    EXPECT_EQ(b.Discovery.GetButtons(), (TBoardDiscovery::TButtons{true, false, false, false}));
    EXPECT_EQ(b.Host.Boxes, std::vector<std::string>{"Discover:|Discovery complete!"});
}

TEST(BoardDiscovery, IdentifySelectedBoard)
{
    TDiscoveryBench b;
    b.AddRemote(1001, 1);
    b.AddRemote(1002, 2);
    b.Discover();
    b.Host.Boxes.clear();
    b.Discovery.IdentifyButtonClick(-1);
    EXPECT_EQ(b.Host.Boxes, std::vector<std::string>{"Error:|Select a board in the list first!"});
    b.Host.Boxes.clear();
    b.Discovery.IdentifyButtonClick(1);
    EXPECT_EQ(b.Host.Sent.back().SVKind(), eSVIDENTIFY);
    EXPECT_EQ(b.Host.Sent.back().GetWord(2), 1002u);
    b.Pump();
    EXPECT_EQ(b.Host.Boxes, std::vector<std::string>{"Identify:|Identify successful!"});
    EXPECT_EQ(b.Discovery.GetState(), TBoardDiscovery::rsIdle);
}

TEST(BoardDiscovery, IdentifyReplyFromOtherBoardIsIgnored)
{
    TDiscoveryBench b;
    b.AddRemote(1001, 1);
    b.Discover();
    b.Host.Boxes.clear();
    b.Remotes[0].SetSilent(true);
    b.Discovery.IdentifyButtonClick(0);
    b.Discovery.HandleSVMessage(MakeSVMessage(0x48, 1001, 1, {2, 0, 0xE9, 0x03})); // product 2, not 1
    EXPECT_EQ(b.Discovery.GetState(), TBoardDiscovery::rsIdentifying);
    b.Advance(5000);
    EXPECT_EQ(b.Host.Boxes, std::vector<std::string>{"Timout Error:|Board did not response to Identify message"});
    EXPECT_EQ(b.Discovery.GetState(), TBoardDiscovery::rsIdle);
}

TEST(BoardDiscovery, RenumberToDuplicateIsRefusedBeforeSending)
{
    TDiscoveryBench b;
    b.AddRemote(1001, 1);
    b.AddRemote(1002, 5);
    b.Discover();
    b.Host.Boxes.clear();
    const size_t sent = b.Host.Sent.size();
    b.Discovery.RenumberButtonClick(0, 1002);
    b.Discovery.RenumberButtonClick(0, 1001); // its own number is refused the same way
    EXPECT_EQ(b.Host.Boxes,
              (std::vector<std::string>{"Error:|New number duplicates a board on LocoNet! Choose a different value",
                                        "Error:|New number duplicates a board on LocoNet! Choose a different value"}));
    EXPECT_EQ(b.Host.Sent.size(), sent);
}

TEST(BoardDiscovery, RenumberIdentifiesWaitsThenChangesAddress)
{
    TDiscoveryBench b;
    b.AddRemote(1001, 1);
    b.Discover();
    b.Host.Boxes.clear();
    b.Discovery.RenumberButtonClick(0, 2000);
    EXPECT_EQ(b.Host.Sent.back().SVKind(), eSVIDENTIFY);
    b.Pump();
    EXPECT_EQ(b.Discovery.GetState(), TBoardDiscovery::rsIdentifyBeforeChange);
    b.Advance(49);
    EXPECT_NE(b.Host.Sent.back().SVKind(), eSVCHANGEADDR);
    b.Advance(1);
    ASSERT_EQ(b.Host.Sent.back().SVKind(), eSVCHANGEADDR);
    EXPECT_EQ(b.Host.Sent.back().GetWord(2), 2000u);
    EXPECT_EQ(b.Host.Sent.back().GetWord(1), 1001u);
    EXPECT_EQ(b.Host.Boxes, std::vector<std::string>{"change address:|Change Address successful. Relabel board now!"});
    EXPECT_EQ(b.Discovery.GetFoundBoard(0).SerialNumber, 2000u);
    EXPECT_EQ(b.Discovery.GetListLines()[0].substr(0, 5), "2000\t");
    EXPECT_EQ(b.Remotes[0].Serial(), 2000);
    EXPECT_EQ(b.Boards.BoardCount(0), 0u); // the configuration lists are not touched
}

TEST(BoardDiscovery, ChangeAddressTimeout)
{
    TDiscoveryBench b;
    b.AddRemote(1001, 1);
    b.Discover();
    b.Host.Boxes.clear();
    b.Discovery.RenumberButtonClick(0, 2000);
    b.Pump();
    b.Remotes[0].SetSilent(true);
    b.Advance(5050);
    EXPECT_EQ(b.Host.Boxes, std::vector<std::string>{"Timout Error:|Board did not response to ChangeAddress message"});
    EXPECT_EQ(b.Discovery.GetButtons(), (TBoardDiscovery::TButtons{true, true, true, true}));
}

TEST(BoardDiscovery, CopyNewAddsOnlyUnknownSerialsOfKnownProducts)
{
    TDiscoveryBench b;
    std::vector<std::string> errors;
    b.Discovery.OnErrorDialog = [&errors](const std::string& t) { errors.push_back(t); };
    b.Discovery.CopyNewBoardsButtonClick();
    EXPECT_EQ(errors, std::vector<std::string>{"You need to discover some boards first"});

    b.AddRemote(1001, 1); // ORB4, already described
    b.AddRemote(1002, 7); // QXP6, new
    b.AddRemote(1003, 99); // not in the product table
    b.AddRemote(1004, 3); // KPX9 (second product id)
    b.Boards.AddBoard(0)->SerialNumber = 1001;
    b.Discover();
    b.Host.Boxes.clear();
    b.Discovery.CopyNewBoardsButtonClick();
    EXPECT_EQ(b.Boards.BoardCount(0), 1u);
    ASSERT_EQ(b.Boards.BoardCount(4), 1u);
    EXPECT_EQ(b.Boards.GetBoard(4, 0)->SerialNumber, 1002u);
    EXPECT_EQ(b.Boards.GetBoard(4, 0)->Name, "QXP6 Accessory Decoder");
    EXPECT_TRUE(b.Boards.IsModified(4));
    ASSERT_EQ(b.Boards.BoardCount(1), 1u);
    EXPECT_EQ(b.Boards.GetBoard(1, 0)->SerialNumber, 1004u);
    EXPECT_EQ(b.Discovery.GetFoundBoard(2).ProductName, "");
    // What was copied and what not is told; so is nothing copied, and why.
    b.Discovery.CopyNewBoardsButtonClick();
    EXPECT_THAT(b.Host.Boxes,
                ElementsAre("Copy new to Configure|Copied 2 boards to Configure Boards: QXP6 1002, KPX9 1004. "
                            "1 board was in Configure Boards already. 1 board of a product Configure Boards does "
                            "not know was left out.",
                            "Copy new to Configure|No board copied. 3 boards were in Configure Boards already. "
                            "1 board of a product Configure Boards does not know was left out."));

    TDiscoveryBench noList;
    TBoardDiscovery orphan(noList.Host, TProductList(RAILSCOPE_SOURCE_DIR "/data/progdevicelist.csv"), nullptr);
    std::vector<std::string> orphanErrors;
    orphan.OnErrorDialog = [&orphanErrors](const std::string& t) { orphanErrors.push_back(t); };
    orphan.HandleSVMessage(MakeSVMessage(0x47, 0, 1, {1, 0, 1, 0}));
    orphan.DiscoverButtonClick();
    orphan.HandleSVMessage(MakeSVMessage(0x47, 0, 1, {1, 0, 1, 0}));
    orphan.CopyNewBoardsButtonClick();
    EXPECT_EQ(orphanErrors, std::vector<std::string>{"Config Board Pointer is undefined"});
}

} // namespace

// The link over a real pseudo-terminal, with the test playing the interface on the master side.
#include "LinkTestUtil.h"

#include "link/LnThreadComm.h"
#include "sim/SimTransport.h"

#include <gtest/gtest.h>

#include <asm/termbits.h>
#include <sys/ioctl.h>

#include <fstream>
#include <sstream>

namespace {

const std::vector<uint8_t> kGpOn = {0x83, 0x7C};
const std::vector<uint8_t> kSensor = {0xB2, 0x05, 0x50, 0x18};

std::unique_ptr<TLocoNetMessage> Msg(const std::vector<uint8_t>& bytes)
{
    return std::make_unique<TLocoNetMessage>(bytes.data(), static_cast<uint32_t>(bytes.size()));
}

struct LinkFixture : ::testing::Test {
    TPtyPeer Peer;
    TLnThreadComm Link;
    std::vector<uint32_t> RxEvents; // count of each OnRxMsg
    std::vector<std::vector<uint8_t>> Messages;
    int TxEmpty = 0;
    std::vector<int> Errors;
    bool TakeMessages = true;

    void SetUp() override
    {
        ASSERT_TRUE(Peer.Ok());
        Link.SetDeviceName(Peer.Path());
        Link.SetLocoNetInterface(ePR3);
        Link.SetBaudRate(br57600);
        Link.OnRxMsg = [this](TLnThreadComm* sender, uint32_t count) {
            EXPECT_EQ(sender, &Link);
            RxEvents.push_back(count);
            if (!TakeMessages) return;
            while (auto m = Link.ReadMessage()) Messages.emplace_back(m->GetData(), m->GetData() + m->GetLength());
        };
        Link.OnTxEmpty = [this](TLnThreadComm*) { ++TxEmpty; };
        Link.OnError = [this](TLnThreadComm*, int flags) { Errors.push_back(flags); };
    }

    void OpenLink()
    {
        Link.Open();
        ASSERT_TRUE(Link.Enabled());
        Peer.ReleaseSlave();
    }
};

TEST_F(LinkFixture, ReceivesMessagesSplitAcrossReadsAndSeveralInOneRead)
{
    OpenLink();
    // One message split over two writes: one event, after the second part.
    Peer.Write({0xB2, 0x05});
    Spin(50);
    EXPECT_TRUE(RxEvents.empty());
    Peer.Write({0x50, 0x18});
    ASSERT_TRUE(WaitFor([&] { return RxEvents.size() == 1; }));
    EXPECT_EQ(RxEvents[0], 1u);
    ASSERT_EQ(Messages.size(), 1u);
    EXPECT_EQ(Messages[0], kSensor);

    // Two messages in one write: one event with count 2.
    std::vector<uint8_t> both = kGpOn;
    both.insert(both.end(), kSensor.begin(), kSensor.end());
    Peer.Write(both);
    ASSERT_TRUE(WaitFor([&] { return Messages.size() == 3; }));
    EXPECT_EQ(RxEvents.size(), 2u);
    EXPECT_EQ(RxEvents[1], 2u);
    EXPECT_EQ(Messages[1], kGpOn);
    EXPECT_EQ(Messages[2], kSensor);
}

TEST_F(LinkFixture, RaisesOnRxMsgOnlyWhenTheQueueTurnsNonEmpty)
{
    TakeMessages = false;
    OpenLink();
    Peer.Write(kGpOn);
    ASSERT_TRUE(WaitFor([&] { return Link.QueRxMsgCount() == 1; }));
    Peer.Write(kSensor);
    ASSERT_TRUE(WaitFor([&] { return Link.QueRxMsgCount() == 2; }));
    Spin(30);
    EXPECT_EQ(RxEvents, std::vector<uint32_t>{1});
    auto first = Link.ReadMessage();
    ASSERT_TRUE(first);
    EXPECT_EQ(first->GetByte(0), 0x83);
}

TEST_F(LinkFixture, WritesMessagesAndReportsTransmitEmpty)
{
    OpenLink();
    Link.WriteMessage(Msg(kSensor));
    Link.WriteMessage(Msg(kGpOn));
    EXPECT_EQ(Peer.Read(6), (std::vector<uint8_t>{0xB2, 0x05, 0x50, 0x18, 0x83, 0x7C}));
    ASSERT_TRUE(WaitFor([&] { return TxEmpty >= 1; }));
    EXPECT_EQ(Link.QueTxMsgCount(), 0u);
    EXPECT_EQ(Link.OutQueCount(), 0);
}

TEST_F(LinkFixture, HoldsMessagesBackWhileTheOutputQueueIsFull)
{
    OpenLink();
    // 200 SV-sized messages are 3200 bytes: only what fits in 2048 bytes goes to the device at
    // once, the rest waits in order for the output to drain.
    std::vector<uint8_t> all;
    for (int i = 0; i < 200; ++i) {
        std::vector<uint8_t> m = {0xE5, 0x10, static_cast<uint8_t>(i & 0x7F), 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
        uint8_t x = 0;
        for (uint8_t b : m) x ^= b;
        m.push_back(static_cast<uint8_t>(0xFF ^ x));
        all.insert(all.end(), m.begin(), m.end());
        Link.WriteMessage(Msg(m));
        EXPECT_LE(Link.OutQueCount(), TLnThreadComm::OutQueueSize);
    }
    EXPECT_EQ(Link.OutQueCount(), 127 * 16);
    EXPECT_EQ(Link.QueTxMsgCount(), 200u - 127u);
    EXPECT_EQ(Peer.Read(all.size()), all);
    ASSERT_TRUE(WaitFor([&] { return Link.QueTxMsgCount() == 0 && TxEmpty >= 1; }));
}

TEST_F(LinkFixture, PurgeInDropsQueuedAndPartialMessages)
{
    TakeMessages = false;
    OpenLink();
    Peer.Write({0x83, 0x7C, 0xB2, 0x05}); // one whole message and half of the next
    ASSERT_TRUE(WaitFor([&] { return Link.QueRxMsgCount() == 1; }));
    Spin(30);
    Link.PurgeIn();
    EXPECT_EQ(Link.QueRxMsgCount(), 0u);
    // The second half of the sensor report alone is no message; the next whole one is.
    Peer.Write({0x50, 0x18, 0x83, 0x7C});
    ASSERT_TRUE(WaitFor([&] { return Link.QueRxMsgCount() == 1; }));
    Spin(30);
    EXPECT_EQ(Link.QueRxMsgCount(), 1u);
    EXPECT_EQ(Link.ReadMessage()->GetByte(0), 0x83);
}

TEST_F(LinkFixture, PurgeOutDropsQueuedMessages)
{
    OpenLink();
    for (int i = 0; i < 300; ++i) Link.WriteMessage(Msg(kSensor)); // 1200 bytes: all fit
    for (int i = 0; i < 300; ++i) Link.WriteMessage(Msg(kSensor)); // these wait
    EXPECT_GT(Link.QueTxMsgCount(), 0u);
    Link.PurgeOut();
    EXPECT_EQ(Link.QueTxMsgCount(), 0u);
    EXPECT_EQ(Link.OutQueCount(), 0);
}

TEST_F(LinkFixture, SetsTheExactLineSpeedAndCopesWithoutModemLines)
{
    Link.SetBaudRate(br16457);
    Link.SetLocoNetInterface(eMS100);
    OpenLink(); // DTR cannot be cleared on a pseudo-terminal: not an error
    struct termios2 tio {};
    ASSERT_EQ(ioctl(Peer.MasterFd(), TCGETS2, &tio), 0);
    EXPECT_EQ(tio.c_ospeed, 16457u);
    EXPECT_EQ(tio.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
    EXPECT_EQ(tio.c_cflag & (PARENB | CSTOPB | CRTSCTS), 0u);

    Link.SetBaudRate(br19200); // applied to the open port at once
    ASSERT_EQ(ioctl(Peer.MasterFd(), TCGETS2, &tio), 0);
    EXPECT_EQ(tio.c_ospeed, 19200u);
    Link.Close();

    Link.SetLocoNetInterface(eLocoBuffer);
    Link.Open();
    ASSERT_TRUE(Link.Enabled());
    ASSERT_EQ(ioctl(Peer.MasterFd(), TCGETS2, &tio), 0);
    EXPECT_NE(tio.c_cflag & CRTSCTS, 0u); // the LocoBuffer paces us with CTS
}

TEST_F(LinkFixture, ReportsAndSurvivesTheDeviceGoingAway)
{
    OpenLink();
    Peer.CloseMaster(); // the interface is unplugged
    ASSERT_TRUE(WaitFor([&] { return !Errors.empty(); }));
    EXPECT_EQ(Errors[0], kLnErrIO);
    EXPECT_FALSE(Link.Enabled());
    EXPECT_EQ(Link.LastError(), "the device went away");
    // Written meanwhile: dropped, nothing queued.
    Link.WriteMessage(Msg(kGpOn));
    EXPECT_EQ(Link.QueTxMsgCount(), 0u);
    Spin(30);
    EXPECT_EQ(Errors.size(), 1u);

    // Plugged in again (a new device): the same link opens and works.
    TPtyPeer again;
    ASSERT_TRUE(again.Ok());
    Link.SetDeviceName(again.Path());
    Link.Open();
    ASSERT_TRUE(Link.Enabled());
    again.ReleaseSlave();
    again.Write(kGpOn);
    ASSERT_TRUE(WaitFor([&] { return Messages.size() == 1; }));
    Link.WriteMessage(Msg(kSensor));
    EXPECT_EQ(again.Read(4), kSensor);
}

TEST_F(LinkFixture, WritesTheReceiveLog)
{
    std::string path = ::testing::TempDir() + "railscope_rxlog.txt";
    Link.SetLogFileName(path);
    Link.SetLogToFile(true);
    OpenLink();
    Peer.Write({0x0A, 0x83, 0x7C});
    ASSERT_TRUE(WaitFor([&] { return Messages.size() == 1; }));
    Link.WriteMessage(Msg(kSensor)); // sent bytes are not logged
    Peer.Read(4);
    Link.Close();
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_EQ(text.str(), "a\r\n83\r\n7c\r\nOPC_GPON:83 7C ");
}

} // namespace

TEST(LinkStates, OpenAndCloseFollowTheRules)
{
    TLnThreadComm link;
    EXPECT_EQ(link.GetDeviceName(), "Com1");
    EXPECT_EQ(link.GetBaudRate(), br19200);
    EXPECT_EQ(link.GetLocoNetInterface(), eMS100);
    EXPECT_FALSE(link.GetLogToFile());
    EXPECT_EQ(link.GetLogFileName(), "");

    // No such device: closed, no error, messages dropped.
    link.Open();
    EXPECT_FALSE(link.Enabled());
    link.WriteMessage(std::make_unique<TLocoNetMessage>());
    EXPECT_EQ(link.QueTxMsgCount(), 0u);
    EXPECT_EQ(link.InQueCount(), -1);
    EXPECT_EQ(link.OutQueCount(), -1);
    EXPECT_EQ(link.Read(nullptr, 1), -1);
    EXPECT_EQ(link.Write(nullptr, 1), -1);
    EXPECT_FALSE(link.CheckOpen());
    try {
        link.SetDTRState(true);
        ADD_FAILURE() << "no error";
    } catch (const ELnCommError& e) {
        EXPECT_STREQ(e.what(), "Port not open (Error: -1)");
    }

    UseSimulatedLocoNet(link);
    link.SetDeviceName("sim");
    link.Open();
    ASSERT_TRUE(link.Enabled());
    link.SetDeviceName("Com2"); // ignored while open
    EXPECT_EQ(link.GetDeviceName(), "sim");
    try {
        link.Open();
        ADD_FAILURE() << "no error";
    } catch (const ELnCommError& e) {
        EXPECT_STREQ(e.what(), "Port already assigned (open) (Error: -1)");
    }
    try {
        link.CheckOpen();
        ADD_FAILURE() << "no error";
    } catch (const ELnCommError& e) {
        EXPECT_STREQ(e.what(), "Port already assigned (open) (Error: -1)");
    }
    EXPECT_TRUE(link.Enabled());
    link.Close();
    EXPECT_FALSE(link.Enabled());
    link.SetDeviceName("Com2");
    EXPECT_EQ(link.GetDeviceName(), "Com2");
}

TEST(LinkStates, MalformedDeviceNamesAreErrors)
{
    TLnThreadComm link;
    UseSimulatedLocoNet(link);
    link.SetDeviceName("sim:colour=red");
    try {
        link.Open();
        ADD_FAILURE() << "no error";
    } catch (const ELnCommError& e) {
        EXPECT_NE(std::string(e.what()).find("unknown option 'colour'"), std::string::npos) << e.what();
    }
    EXPECT_FALSE(link.Enabled());
    std::string error;
    EXPECT_FALSE(TLnThreadComm::CheckDeviceName("tcp://host:99999", error));
    EXPECT_NE(error.find("bad port"), std::string::npos);
    EXPECT_FALSE(TLnThreadComm::CheckDeviceName("tcp://:1234", error));
    EXPECT_TRUE(TLnThreadComm::CheckDeviceName("tcp://localhost", error));
    EXPECT_TRUE(TLnThreadComm::CheckDeviceName("/dev/ttyUSB0", error));
    EXPECT_TRUE(TLnThreadComm::CheckDeviceName("sim:boards=ORB4@7;seed=3", error, CreateSimOrLnTransport));
}

// The link over a LoconetOverTcp server (played by the test on loopback), over the simulated
// LocoNet and over a replayed file.
#include "LinkTestUtil.h"

#include "link/LnThreadComm.h"
#include "sim/SimTransport.h"
#include "svprog/SVProgMessage.h"

#include <gtest/gtest.h>

#include <QTcpServer>
#include <QTcpSocket>

#include <cstdio>
#include <fstream>
#include <sstream>

namespace {

std::unique_ptr<TLocoNetMessage> Msg(const std::vector<uint8_t>& bytes)
{
    return std::make_unique<TLocoNetMessage>(bytes.data(), static_cast<uint32_t>(bytes.size()));
}

struct Events {
    std::vector<uint32_t> Rx;
    std::vector<std::vector<uint8_t>> Messages;
    int TxEmpty = 0;
    std::vector<int> Errors;
    int EndOfData = 0;

    void Attach(TLnThreadComm& link)
    {
        link.OnRxMsg = [this, &link](TLnThreadComm*, uint32_t count) {
            Rx.push_back(count);
            while (auto m = link.ReadMessage()) Messages.emplace_back(m->GetData(), m->GetData() + m->GetLength());
        };
        link.OnTxEmpty = [this](TLnThreadComm*) { ++TxEmpty; };
        link.OnError = [this](TLnThreadComm*, int flags) { Errors.push_back(flags); };
        link.OnEndOfData = [this](TLnThreadComm*) { ++EndOfData; };
    }
};

struct TcpFixture : ::testing::Test {
    QTcpServer Server;
    QTcpSocket* Client = nullptr;
    QByteArray FromClient;
    TLnThreadComm Link;
    Events Ev;

    void SetUp() override
    {
        ASSERT_TRUE(Server.listen(QHostAddress::LocalHost, 0));
        Link.SetDeviceName("tcp://127.0.0.1:" + std::to_string(Server.serverPort()));
        Ev.Attach(Link);
    }

    void Connect()
    {
        Link.Open();
        ASSERT_TRUE(Link.Enabled());
        ASSERT_TRUE(WaitFor([&] { return Server.hasPendingConnections(); }));
        Client = Server.nextPendingConnection();
        QObject::connect(Client, &QTcpSocket::readyRead, [this] { FromClient += Client->readAll(); });
    }

    void ServerSays(const QByteArray& text)
    {
        Client->write(text);
        Client->flush();
    }

    // The lines the client has sent so far, line ends removed.
    QList<QByteArray> ClientLines() const
    {
        QList<QByteArray> lines;
        for (const auto& l : FromClient.split('\n')) {
            QByteArray t = l.trimmed();
            if (!t.isEmpty()) lines.push_back(t);
        }
        return lines;
    }
};

TEST_F(TcpFixture, SendsSendLinesAndFramesReceiveLines)
{
    std::string logPath = ::testing::TempDir() + "railscope_tcplog.txt";
    Link.SetLogFileName(logPath);
    Link.SetLogToFile(true);
    Connect();
    ServerSays("VERSION test server 1\r\n");
    Link.WriteMessage(Msg({0xB2, 0x05, 0x50, 0x18}));
    ASSERT_TRUE(WaitFor([&] { return ClientLines().size() == 1; }));
    EXPECT_EQ(ClientLines()[0], "SEND B2 05 50 18");
    EXPECT_EQ(Link.OutQueCount(), 4); // waiting for its SENT line

    // The echo, split across two writes and with mixed line ends, then the acknowledgement.
    ServerSays("RECEIVE B2 05 ");
    Spin(20);
    EXPECT_TRUE(Ev.Messages.empty());
    ServerSays("50 18\n\r\n\rRECEIVE 83 7C\rSENT OK\n");
    ASSERT_TRUE(WaitFor([&] { return Ev.TxEmpty == 1; }));
    ASSERT_EQ(Ev.Messages.size(), 2u);
    EXPECT_EQ(Ev.Rx, std::vector<uint32_t>{2});
    EXPECT_EQ(Ev.Messages[0], (std::vector<uint8_t>{0xB2, 0x05, 0x50, 0x18}));
    EXPECT_EQ(Link.OutQueCount(), 0);

    // A message split over two RECEIVE lines still frames; failures and unknown lines are logged.
    Link.WriteMessage(Msg({0x83, 0x7C}));
    ServerSays("RECEIVE 81\r\nTIMESTAMP 12345\r\nRECEIVE 7E\r\nSENT ERROR bus busy\r\nHELLO\r\nRECEIVE 8G\r\n");
    ASSERT_TRUE(WaitFor([&] { return Ev.TxEmpty == 2; }));
    ASSERT_TRUE(WaitFor([&] { return Ev.Messages.size() == 3; }));
    EXPECT_EQ(Ev.Messages[2], (std::vector<uint8_t>{0x81, 0x7E}));
    Link.Close();

    std::ifstream in(logPath, std::ios::binary);
    std::stringstream log;
    log << in.rdbuf();
    EXPECT_EQ(log.str(), "VERSION test server 1\r\n"
                         "b2\r\n5\r\n50\r\n18\r\nOPC_SENSORREP:B2 05 50 18 83\r\n7c\r\nOPC_GPON:83 7C "
                         "81\r\nTIMESTAMP 12345\r\n7e\r\nOPC_BUSY:81 7E "
                         "SENT ERROR bus busy\r\nHELLO\r\nRECEIVE 8G\r\n");
}

TEST_F(TcpFixture, ADroppedConnectionClosesTheLink)
{
    int changes = 0;
    Link.OnConnectionChange = [&](TLnThreadComm*) { ++changes; };
    Connect();
    ASSERT_TRUE(WaitFor([&] { return !Link.Connecting(); }));
    EXPECT_EQ(changes, 1); // connected
    ServerSays("ERROR closing the connection: too many clients (at most 1)\r\n");
    Client->close();
    ASSERT_TRUE(WaitFor([&] { return !Ev.Errors.empty(); }));
    EXPECT_EQ(Ev.Errors, std::vector<int>{kLnErrIO});
    EXPECT_FALSE(Link.Enabled());
    EXPECT_TRUE(Link.WasLost());
    EXPECT_EQ(Link.LastError(), "the server closed the connection: too many clients (at most 1)");
    EXPECT_EQ(changes, 2);
    Link.WriteMessage(Msg({0x83, 0x7C}));
    EXPECT_EQ(Link.QueTxMsgCount(), 0u);
    // The server is back: the link opens again.
    Connect();
    Link.WriteMessage(Msg({0x83, 0x7C}));
    ASSERT_TRUE(WaitFor([&] { return ClientLines().size() == 1; }));
    EXPECT_EQ(ClientLines()[0], "SEND 83 7C");
}

TEST(TcpLink, ConnectsInTheBackgroundAndSaysWhyItFailed)
{
    QTcpServer probe;
    ASSERT_TRUE(probe.listen(QHostAddress::LocalHost, 0));
    quint16 port = probe.serverPort();
    probe.close(); // nothing listens there now
    TLnThreadComm link;
    Events ev;
    ev.Attach(link);
    int changes = 0;
    link.OnConnectionChange = [&](TLnThreadComm*) { ++changes; };
    link.SetDeviceName("tcp://127.0.0.1:" + std::to_string(port));
    link.Open();
    EXPECT_TRUE(link.Connecting()); // Open returned without waiting
    ASSERT_TRUE(WaitFor([&] { return changes == 1; }));
    EXPECT_FALSE(link.Enabled());
    EXPECT_FALSE(link.WasLost()); // an open that failed, not a lost link
    EXPECT_EQ(link.LastError(), "Connection refused");
    EXPECT_TRUE(ev.Errors.empty());
}

TEST(SerialLink, AMissingDeviceLeavesTheLinkClosedWithTheReason)
{
    TLnThreadComm link;
    link.SetDeviceName("/dev/railscope-no-such-port");
    link.Open();
    EXPECT_FALSE(link.Enabled());
    EXPECT_EQ(link.LastError(), "No such file or directory");
}

TEST(SimLink, EchoesAndBoardsAnswer)
{
    TLnThreadComm link;
    Events ev;
    ev.Attach(link);
    UseSimulatedLocoNet(link);
    link.SetDeviceName("sim");
    link.Open();
    ASSERT_TRUE(link.Enabled());
    auto discover = std::make_unique<TLNSVProgMessage>();
    discover->SetDiscover(0);
    std::vector<uint8_t> sent(discover->GetData(), discover->GetData() + discover->GetLength());
    link.WriteMessage(std::move(discover));
    ASSERT_TRUE(WaitFor([&] { return ev.Messages.size() == 6; }));
    EXPECT_EQ(ev.Messages[0], sent); // the echo comes first
    std::vector<uint32_t> serials;
    for (size_t i = 1; i < 6; ++i) {
        TLNSVProgMessage reply(TLocoNetMessage(ev.Messages[i].data(), 16));
        EXPECT_EQ(reply.SVKind(), eSVDISCOVERREPLY);
        serials.push_back(reply.GetWord(1));
    }
    EXPECT_EQ(serials, (std::vector<uint32_t>{1001, 1002, 1003, 1004, 1005}));
    ASSERT_TRUE(WaitFor([&] { return ev.TxEmpty >= 1; }));
}

TEST(FileLink, ReplaysAFileThroughTheFrameAssembler)
{
    std::string path = ::testing::TempDir() + "railscope_replay.bin";
    std::vector<uint8_t> bytes;
    for (int i = 0; i < 3000; ++i) { // 12000 bytes: several pieces
        bytes.insert(bytes.end(), {0xB2, 0x05, 0x50, 0x18});
    }
    bytes.insert(bytes.end(), {0x00, 0x83, 0x7D, 0x83, 0x7C}); // junk, a bad checksum, one more good
    {
        std::ofstream out(path, std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
    TLnThreadComm link;
    Events ev;
    ev.Attach(link);
    link.SetDeviceName("file:" + path);
    link.Open();
    ASSERT_TRUE(link.Enabled());
    ASSERT_TRUE(WaitFor([&] { return ev.EndOfData == 1; }));
    ASSERT_EQ(ev.Messages.size(), 3001u);
    EXPECT_EQ(ev.Messages.back(), (std::vector<uint8_t>{0x83, 0x7C}));
    std::remove(path.c_str());

    TLnThreadComm missing;
    missing.SetDeviceName("file:/nonexistent/railscope.bin");
    missing.Open();
    EXPECT_FALSE(missing.Enabled());
}

} // namespace

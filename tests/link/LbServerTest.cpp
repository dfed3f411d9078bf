// The LoconetOverTcp server: its clients against a bus the test plays, and the link shared
// through it (the simulated LocoNet, and a LocoNet server upstream that goes away).
#include "LinkTestUtil.h"

#include "link/LbServer.h"
#include "link/LnThreadComm.h"
#include "link/ServedLink.h"
#include "sim/SimTransport.h"
#include "svprog/SVProgMessage.h"

#include <gtest/gtest.h>

#include <QTcpServer>
#include <QTcpSocket>

#include <memory>

namespace {

// A client speaking the protocol by hand.
struct TRawClient {
    QTcpSocket Socket;
    QByteArray Got;
    bool Reading = true;

    explicit TRawClient(quint16 port, bool reading = true) : Reading(reading)
    {
        if (!Reading) Socket.setReadBufferSize(1); // leaves what is sent in the system's buffers
        QObject::connect(&Socket, &QTcpSocket::readyRead, [this] {
            if (Reading) Got += Socket.readAll();
        });
        Socket.connectToHost(QHostAddress::LocalHost, port);
        Socket.waitForConnected(3000);
    }
    void Say(const QByteArray& text)
    {
        Socket.write(text);
        Socket.flush();
    }
    QList<QByteArray> Lines() const
    {
        QList<QByteArray> lines;
        for (const auto& l : Got.split('\n')) {
            if (!l.trimmed().isEmpty()) lines.push_back(l.trimmed());
        }
        return lines;
    }
    // The lines that answer SEND lines.
    QList<QByteArray> Replies() const
    {
        QList<QByteArray> replies;
        for (const auto& l : Lines()) {
            if (l.startsWith("SENT")) replies.push_back(l);
        }
        return replies;
    }
    bool Gone() const { return Socket.state() == QAbstractSocket::UnconnectedState; }
};

// The server over a bus the test plays: it keeps what clients sent and answers when told.
struct LbServerFixture : ::testing::Test {
    TLbServer Server{"test bus 1"};
    std::vector<std::pair<uint64_t, std::vector<uint8_t>>> OnBus;
    std::vector<std::string> Log;

    void SetUp() override
    {
        Server.SetBus([this](uint64_t id, const uint8_t* bytes, size_t count) {
            OnBus.emplace_back(id, std::vector<uint8_t>(bytes, bytes + count));
        });
        Server.SetLog([this](const std::string& text) { Log.push_back(text); });
        std::string error;
        ASSERT_TRUE(Server.Listen(QHostAddress::LocalHost, 0, error)) << error;
    }
    std::unique_ptr<TRawClient> Connect(bool reading = true)
    {
        auto client = std::make_unique<TRawClient>(Server.Port(), reading);
        const size_t before = Server.ClientCount();
        WaitFor([&] { return Server.ClientCount() > before; });
        if (reading) WaitFor([&] { return client->Got.contains('\n'); });
        return client;
    }
};

TEST_F(LbServerFixture, AnswersEachClientsSendLinesInTheirOrder)
{
    auto a = Connect();
    auto b = Connect();
    EXPECT_EQ(a->Lines().value(0), "VERSION test bus 1");
    // Two messages for the bus with a bad line and a bad message between them, then a second
    // client's message.
    a->Say("SEND B2 05 50 18\r\nSEND 8X\nsend 83 7c\nSEND 83 7D\nSEND 03 7C\n");
    ASSERT_TRUE(WaitFor([&] { return OnBus.size() == 2; }));
    b->Say("SEND 81 7E\n");
    ASSERT_TRUE(WaitFor([&] { return OnBus.size() == 3; }));
    // Settled out of order: nothing may overtake the first line's answer.
    Server.Sent(OnBus[1].first, true, {});
    Server.Sent(OnBus[2].first, false, "collision");
    Spin(20);
    EXPECT_TRUE(a->Replies().isEmpty());
    ASSERT_TRUE(WaitFor([&] { return b->Replies().size() == 1; }));
    EXPECT_EQ(b->Replies()[0], "SENT ERROR collision");
    // Every client sees every message on the bus, the other clients' included.
    Server.Receive(OnBus[0].second.data(), OnBus[0].second.size());
    Server.Sent(OnBus[0].first, true, {});
    ASSERT_TRUE(WaitFor([&] { return a->Replies().size() == 5; }));
    EXPECT_EQ(a->Replies(),
              (QList<QByteArray>{"SENT OK", "SENT ERROR '8X' is not a hex byte", "SENT OK", "SENT ERROR wrong checksum",
                                 "SENT ERROR the first byte is not an opcode (80 to FF)"}));
    ASSERT_TRUE(WaitFor([&] { return b->Lines().contains("RECEIVE B2 05 50 18"); }));
    EXPECT_TRUE(a->Lines().contains("RECEIVE B2 05 50 18"));
}

TEST_F(LbServerFixture, DropsAJunkOrOverlongClientAndServesTheOthers)
{
    auto good = Connect();
    auto junk = Connect();
    auto overlong = Connect();
    junk->Say(QByteArray("SEND 83 7C\n") + QByteArray("\x01\x02\xff garbage\n"));
    overlong->Say(QByteArray(TLbLineSplitter::MaxLineLength + 10, 'A'));
    ASSERT_TRUE(WaitFor([&] { return junk->Gone() && overlong->Gone(); }));
    EXPECT_EQ(Server.ClientCount(), 1u);
    // The message the junk client sent before is still settled without harm.
    ASSERT_EQ(OnBus.size(), 1u);
    Server.Sent(OnBus[0].first, true, {});
    good->Say("SEND 83 7C\n");
    ASSERT_TRUE(WaitFor([&] { return OnBus.size() == 2; }));
    Server.Receive(OnBus[1].second.data(), 2);
    Server.Sent(OnBus[1].first, true, {});
    ASSERT_TRUE(WaitFor([&] { return good->Replies().size() == 1; }));
    EXPECT_TRUE(good->Lines().contains("RECEIVE 83 7C"));
    EXPECT_EQ(Log.size(), 5u); // three connected, two dropped with the reason
    EXPECT_NE(Log[3].find("dropped"), std::string::npos);
    // Each was told why before the connection closed.
    EXPECT_EQ(junk->Lines().last(), "ERROR closing the connection: a line that is not text");
    EXPECT_EQ(overlong->Lines().last(), "ERROR closing the connection: a line longer than 4096 characters");
}

TEST_F(LbServerFixture, KeepsToItsLimitsAndTellsAClientWhyItIsClosed)
{
    Server.SetLimits({2, 100, 1 << 20});
    auto a = Connect();
    auto b = Connect();
    TRawClient refused(Server.Port());
    ASSERT_TRUE(WaitFor([&] { return refused.Gone(); }));
    EXPECT_EQ(refused.Lines(), QList<QByteArray>{"ERROR closing the connection: too many clients (at most 2)"});
    b->Say(QByteArray(101, 'A') + "\n");
    ASSERT_TRUE(WaitFor([&] { return b->Gone(); }));
    EXPECT_EQ(b->Lines().last(), "ERROR closing the connection: a line longer than 100 characters");
    // A SEND line that is not ASCII text is a bad SEND: answered, and the client stays.
    a->Say("SEND 83 7C \xc3\xa9\nSEND 83\x01 7C\n");
    ASSERT_TRUE(WaitFor([&] { return a->Replies().size() == 2; }));
    EXPECT_EQ(a->Replies(), QList<QByteArray>(2, "SENT ERROR the line holds characters that are not ASCII text"));
    EXPECT_FALSE(a->Gone());
    EXPECT_TRUE(OnBus.empty());
}

TEST_F(LbServerFixture, BoundsWhatIsKeptForClientsThatDoNotRead)
{
    auto reader = Connect();
    std::vector<std::unique_ptr<TRawClient>> idle;
    for (int i = 0; i < 3; ++i) idle.push_back(Connect(false));
    const std::vector<uint8_t> message = {0xE5, 0x10, 0x50, 0x50, 0x01, 0x00, 0x12, 0x00,
                                          0x00, 0x03, 0x00, 0x34, 0x00, 0x00, 0x05, 0x00};
    const size_t lineSize = FormatLbReceive(message.data(), message.size()).size();
    // Far more than the queue bound plus what the system buffers: the idle clients are dropped,
    // the reading one is served throughout.
    size_t sent = 0;
    for (int round = 0; round < 3000 && Server.ClientCount() > 1; ++round) {
        for (int i = 0; i < 100; ++i) Server.Receive(message.data(), message.size());
        sent += 100;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    EXPECT_EQ(Server.ClientCount(), 1u);
    EXPECT_FALSE(reader->Gone());
    const auto expected = static_cast<qsizetype>(sent * lineSize + std::string("VERSION test bus 1\r\n").size());
    ASSERT_TRUE(WaitFor([&] { return reader->Got.size() == expected; }, 10000));
}

TEST_F(LbServerFixture, HoldsBackASenderWhoseMessagesTheBusHasNotTaken)
{
    auto fast = Connect();
    QByteArray many;
    for (size_t i = 0; i < 3 * TLbServer::MaxPendingSends; ++i) many += "SEND 83 7C\n";
    fast->Say(many);
    ASSERT_TRUE(WaitFor([&] { return OnBus.size() == TLbServer::MaxPendingSends; }));
    Spin(50);
    EXPECT_EQ(OnBus.size(), TLbServer::MaxPendingSends);
    // Settling the messages lets the rest in.
    for (size_t i = 0; i < 3 * TLbServer::MaxPendingSends; ++i) {
        ASSERT_TRUE(WaitFor([&] { return i < OnBus.size(); }));
        Server.Sent(OnBus[i].first, true, {});
    }
    ASSERT_TRUE(WaitFor([&] { return fast->Replies().size() == static_cast<qsizetype>(OnBus.size()); }));
    EXPECT_EQ(OnBus.size(), 3 * TLbServer::MaxPendingSends);
}

// The link shared: every client sees the others' messages and the boards' replies.
TEST(ServedLink, SharesTheSimulatedLocoNetWithSeveralClients)
{
    TLnThreadComm bus;
    UseSimulatedLocoNet(bus);
    bus.SetDeviceName("sim");
    bus.Open();
    TLbServer server("served");
    std::vector<std::string> reports;
    TServedLink served(bus, server, [&](const std::string& text) { reports.push_back(text); });
    std::string error;
    ASSERT_TRUE(server.Listen(QHostAddress::LocalHost, 0, error)) << error;

    std::vector<std::unique_ptr<TLnThreadComm>> clients;
    std::vector<size_t> replies(2);
    for (size_t i = 0; i < 2; ++i) {
        clients.push_back(std::make_unique<TLnThreadComm>());
        TLnThreadComm& c = *clients.back();
        c.OnRxMsg = [&c, &replies, i](TLnThreadComm*, uint32_t) {
            while (auto m = c.ReadMessage())
                if (TLNSVProgMessage::SVKindOf(*m) == eSVDISCOVERREPLY) ++replies[i];
        };
        c.SetDeviceName("tcp://127.0.0.1:" + std::to_string(server.Port()));
        c.Open();
    }
    TRawClient watcher(server.Port());
    ASSERT_TRUE(WaitFor([&] { return server.ClientCount() == 3; }));
    auto discover = std::make_unique<TLNSVProgMessage>();
    discover->SetDiscover(0);
    const std::string line = "RECEIVE " + discover->HexText();
    clients[0]->WriteMessage(std::move(discover));
    ASSERT_TRUE(WaitFor([&] { return replies[0] == 5 && replies[1] == 5; }));
    ASSERT_TRUE(WaitFor([&] { return watcher.Lines().size() == 7; })); // VERSION, the echo, 5 replies
    EXPECT_EQ(watcher.Lines()[1], QByteArray::fromStdString(line).trimmed());
    ASSERT_TRUE(WaitFor([&] { return clients[0]->OutQueCount() == 0; })); // SENT OK came back
    EXPECT_TRUE(reports.empty());
}

// The link goes away under the server: waiting messages fail, the loss is reported once, and the
// link is opened again while the clients stay connected.
TEST(ServedLink, ReportsALostLinkAndOpensItAgain)
{
    QTcpServer upstream;
    ASSERT_TRUE(upstream.listen(QHostAddress::LocalHost, 0));
    const quint16 port = upstream.serverPort();
    TLnThreadComm bus;
    bus.SetDeviceName("tcp://127.0.0.1:" + std::to_string(upstream.serverPort()));
    bus.Open();
    ASSERT_TRUE(WaitFor([&] { return upstream.hasPendingConnections(); }));
    QTcpSocket* line = upstream.nextPendingConnection();
    QByteArray fromServer;
    QObject::connect(line, &QTcpSocket::readyRead, [&] { fromServer += line->readAll(); });
    TLbServer server("served");
    std::vector<std::string> reports;
    TServedLink served(bus, server, [&](const std::string& text) { reports.push_back(text); });
    served.SetReopenInterval(50);
    std::string error;
    ASSERT_TRUE(server.Listen(QHostAddress::LocalHost, 0, error)) << error;
    TRawClient client(server.Port());

    client.Say("SEND 83 7C\n");
    ASSERT_TRUE(WaitFor([&] { return fromServer.contains("SEND 83 7C"); }));
    line->write("RECEIVE 83 7C\r\n");
    ASSERT_TRUE(WaitFor([&] { return client.Replies().size() == 1; }));
    EXPECT_EQ(client.Replies()[0], "SENT OK");

    client.Say("SEND 82 7D\n");
    ASSERT_TRUE(WaitFor([&] { return fromServer.contains("SEND 82 7D"); }));
    upstream.close(); // nothing to come back to for now
    line->abort();
    client.Say("SEND 81 7E\n");
    ASSERT_TRUE(WaitFor([&] { return client.Replies().size() == 3; }));
    for (int i : {1, 2}) EXPECT_TRUE(client.Replies()[i].startsWith("SENT ERROR LocoNet is not connected: "));
    Spin(200); // several attempts to open it again, reported once
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0].rfind("lost the connection to tcp://127.0.0.1:", 0), 0u);

    ASSERT_TRUE(upstream.listen(QHostAddress::LocalHost, port));
    ASSERT_TRUE(WaitFor([&] { return bus.Enabled() && !bus.Connecting(); }));
    ASSERT_EQ(reports.size(), 2u);
    EXPECT_NE(reports[1].find("is open again"), std::string::npos);
    EXPECT_FALSE(client.Gone());
}

} // namespace

// The simulated LocoNet served on a pseudo-terminal and over LoconetOverTcp, reached through the
// link's own serial and TCP transports.
#include "link/LinkTestUtil.h"

#include "link/LnThreadComm.h"
#include "sim/SimServer.h"
#include "svprog/SVProgMessage.h"

#include <gtest/gtest.h>

#include <QTcpSocket>

namespace {

struct Received {
    std::vector<std::vector<uint8_t>> Messages;
    void Attach(TLnThreadComm& link)
    {
        link.OnRxMsg = [this, &link](TLnThreadComm*, uint32_t) {
            while (auto m = link.ReadMessage()) Messages.emplace_back(m->GetData(), m->GetData() + m->GetLength());
        };
    }
    size_t Count(ESVMsgKind kind) const
    {
        size_t n = 0;
        for (const auto& m : Messages) {
            if (TLNSVProgMessage::SVKindOf(TLocoNetMessage(m.data(), static_cast<uint32_t>(m.size()))) == kind) ++n;
        }
        return n;
    }
};

std::unique_ptr<TLNSVProgMessage> Discover()
{
    auto m = std::make_unique<TLNSVProgMessage>();
    m->SetDiscover(0);
    return m;
}

TEST(SimServer, ServesTheBusOnAPseudoTerminal)
{
    TSimServer server{TSimConfig()};
    std::string path, error;
    ASSERT_TRUE(server.OpenPty(path, error)) << error;
    TLnThreadComm link;
    Received rx;
    rx.Attach(link);
    link.SetDeviceName(path);
    link.SetLocoNetInterface(eLocoBuffer);
    link.Open();
    ASSERT_TRUE(link.Enabled());
    link.WriteMessage(Discover());
    ASSERT_TRUE(WaitFor([&] { return rx.Count(eSVDISCOVERREPLY) == 5; }));
    EXPECT_EQ(rx.Count(eSVDISCOVER), 1u); // the echo
    EXPECT_EQ(TLNSVProgMessage::SVKindOf(TLocoNetMessage(rx.Messages[0].data(), 16)), eSVDISCOVER);

    // The link goes away and comes back: the server carries on.
    link.Close();
    Spin(250);
    link.Open();
    ASSERT_TRUE(link.Enabled());
    auto identify = std::make_unique<TLNSVProgMessage>();
    identify->SetIdentify(0, 1003);
    link.WriteMessage(std::move(identify));
    ASSERT_TRUE(WaitFor([&] { return rx.Count(eSVIDENTIFYREPLY) == 1; }));
}

// A bus stores nothing: what passes while no program has the terminal open is not replayed to the
// next one that opens it.
TEST(SimServer, ThePseudoTerminalKeepsNothingForLaterReaders)
{
    TSimServer server{TSimConfig()};
    std::string path, error;
    ASSERT_TRUE(server.OpenPty(path, error)) << error;
    ASSERT_TRUE(server.ListenTcp(0, error)) << error;
    QTcpSocket sender;
    sender.connectToHost(QHostAddress::LocalHost, server.TcpPort());
    ASSERT_TRUE(sender.waitForConnected(3000));
    QByteArray got;
    QObject::connect(&sender, &QTcpSocket::readyRead, [&] { got += sender.readAll(); });
    auto send = [&](const char* line) {
        const qsizetype before = got.count("SENT OK");
        sender.write(line);
        return WaitFor([&] { return got.count("SENT OK") > before; });
    };

    TLnThreadComm link;
    Received rx;
    rx.Attach(link);
    link.SetDeviceName(path);
    for (int session = 0; session < 2; ++session) {
        ASSERT_TRUE(send("SEND 83 7C\r\n")); // nobody has the terminal open
        link.Open();
        ASSERT_TRUE(link.Enabled());
        ASSERT_TRUE(send("SEND 82 7D\r\n"));
        ASSERT_TRUE(WaitFor([&] { return rx.Messages.size() == static_cast<size_t>(session + 1); }));
        EXPECT_EQ(rx.Messages.back(), (std::vector<uint8_t>{0x82, 0x7D}));
        link.Close();
    }
    Spin(50);
    EXPECT_EQ(rx.Messages.size(), 2u);
}

TEST(SimServer, ServesTheBusOverTcpToEveryClient)
{
    TSimServer server(TSimConfig{}, nullptr);
    std::string error;
    ASSERT_TRUE(server.ListenTcp(0, error)) << error;
    std::string name = "tcp://127.0.0.1:" + std::to_string(server.TcpPort());

    TLnThreadComm first, second;
    Received rx1, rx2;
    rx1.Attach(first);
    rx2.Attach(second);
    int txEmpty = 0;
    first.OnTxEmpty = [&](TLnThreadComm*) { ++txEmpty; };
    for (auto* link : {&first, &second}) {
        link->SetDeviceName(name);
        link->Open();
        ASSERT_TRUE(link->Enabled());
    }
    first.WriteMessage(Discover());
    ASSERT_TRUE(WaitFor([&] { return rx1.Count(eSVDISCOVERREPLY) == 5 && rx2.Count(eSVDISCOVERREPLY) == 5; }));
    EXPECT_EQ(rx2.Count(eSVDISCOVER), 1u); // the other client sees our message on the bus
    ASSERT_TRUE(WaitFor([&] { return txEmpty == 1; })); // SENT OK came back
    EXPECT_EQ(first.OutQueCount(), 0);

    // A raw client: greeting, a malformed SEND answered with SENT ERROR.
    QTcpSocket raw;
    raw.connectToHost(QHostAddress::LocalHost, server.TcpPort());
    ASSERT_TRUE(raw.waitForConnected(3000));
    QByteArray got;
    QObject::connect(&raw, &QTcpSocket::readyRead, [&] { got += raw.readAll(); });
    ASSERT_TRUE(WaitFor([&] { return got.contains("\n"); }));
    EXPECT_TRUE(got.startsWith(QByteArray("VERSION ") + TSimServer::VersionText));
    raw.write("SEND 8X\r\n");
    ASSERT_TRUE(WaitFor([&] { return got.contains("SENT ERROR"); }));
}

} // namespace

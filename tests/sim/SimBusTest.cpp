#include "sim/SimBus.h"

#include "svprog/SVProgMessage.h"

#include <gtest/gtest.h>

#include <map>

namespace {

std::vector<uint8_t> Bytes(const TLocoNetMessage& m)
{
    return std::vector<uint8_t>(m.GetData(), m.GetData() + m.GetLength());
}

TLNSVProgMessage AsSV(const std::vector<uint8_t>& bytes)
{
    return TLNSVProgMessage(TLocoNetMessage(bytes.data(), static_cast<uint32_t>(bytes.size())));
}

TSimConfig Config(const std::string& options)
{
    TSimConfig config;
    std::string error;
    EXPECT_TRUE(ParseSimOptions(options, config, error)) << error;
    return config;
}

// Sends one message at `now` and returns every delivery up to `until`.
std::vector<TSimDelivery> Exchange(TSimBus& bus, const TLocoNetMessage& msg, uint64_t now = 0, uint64_t until = 0)
{
    bus.Send(msg.GetData(), msg.GetLength(), now);
    std::vector<TSimDelivery> out;
    bus.Poll(std::max(now, until), out);
    return out;
}

TEST(SimBus, EchoesTheSentMessageFirst)
{
    TSimBus bus(Config("boards="));
    TLocoNetMessage gpon;
    gpon.AddByte(0x83);
    gpon.AddChecksum();
    uint64_t id = bus.Send(gpon.GetData(), gpon.GetLength(), 0);
    EXPECT_EQ(bus.NextDueUs(), std::optional<uint64_t>(0));
    std::vector<TSimDelivery> out;
    bus.Poll(0, out);
    ASSERT_EQ(out.size(), 1u);
    EXPECT_EQ(out[0].Bytes, Bytes(gpon));
    EXPECT_EQ(out[0].SendId, id);
    EXPECT_FALSE(bus.NextDueUs().has_value());

    // Invalid bytes are put on the bus as written, too.
    const uint8_t bad[] = {0x83, 0x7D};
    bus.Send(bad, 2, 5);
    out.clear();
    bus.Poll(5, out);
    ASSERT_EQ(out.size(), 1u);
    EXPECT_EQ(out[0].Bytes, std::vector<uint8_t>(bad, bad + 2));
}

TEST(SimBus, EveryBoardAnswersDiscoverInTypeOrder)
{
    TSimBus bus{TSimConfig()};
    TLNSVProgMessage discover;
    discover.SetDiscover(0);
    auto out = Exchange(bus, discover);
    ASSERT_EQ(out.size(), 6u);
    const uint16_t products[] = {1, 2, 5, 6, 7};
    for (int i = 0; i < 5; ++i) {
        auto reply = AsSV(out[i + 1].Bytes);
        ASSERT_EQ(reply.SVKind(), eSVDISCOVERREPLY);
        uint32_t source, manufacturer, product, serial;
        reply.GetDiscover(source, manufacturer, product, serial);
        EXPECT_EQ(manufacturer, 1u);
        EXPECT_EQ(product, products[i]);
        EXPECT_EQ(serial, 1001u + i);
        EXPECT_EQ(out[i + 1].SendId, 0u);
    }
}

TEST(SimBus, BoardsReadAndWriteTheirSVs)
{
    TSimBus bus(Config("boards=ORB8@1000/fw7,RVN2@2000"));
    TLNSVProgMessage m;

    m.SetRead4(0, 1000, 1); // identity: manufacturer, firmware, serial low, serial high
    auto out = Exchange(bus, m);
    ASSERT_EQ(out.size(), 2u);
    auto r = AsSV(out[1].Bytes);
    ASSERT_EQ(r.SVKind(), eSVREAD4REPLY);
    uint32_t src, dst, sv, d1, d2, d3, d4;
    r.GetRead4(src, dst, sv, d1, d2, d3, d4);
    EXPECT_EQ(dst, 1000u);
    EXPECT_EQ(sv, 1u);
    EXPECT_EQ(std::vector<uint32_t>({d1, d2, d3, d4}), std::vector<uint32_t>({1, 7, 1000 & 0xFF, 1000 >> 8}));

    m.SetWrite4(0, 1000, 509, 0x80, 0xFF, 0x01, 0x7F); // SV 509 to 512, values with the top bit
    out = Exchange(bus, m);
    ASSERT_EQ(out.size(), 2u);
    r = AsSV(out[1].Bytes);
    ASSERT_EQ(r.SVKind(), eSVWRITE4REPLY);
    r.GetWrite4(src, dst, sv, d1, d2, d3, d4);
    EXPECT_EQ(std::vector<uint32_t>({sv, d1, d2, d3, d4}), std::vector<uint32_t>({509, 0x80, 0xFF, 0x01, 0x7F}));
    EXPECT_EQ(bus.Boards()[0].GetSV(510), 0xFF);
    EXPECT_EQ(bus.Boards()[1].GetSV(510), 0x00); // the other board was not addressed

    m.SetWrite1(0, 1000, 2, 99); // SV1 to SV4 cannot be written: the reply says what is held
    out = Exchange(bus, m);
    r = AsSV(out.at(1).Bytes);
    ASSERT_EQ(r.SVKind(), eSVWRITE1REPLY);
    r.GetWrite1(src, dst, sv, d1);
    EXPECT_EQ(d1, 7u);

    m.SetWrite1(0, 1000, 5, 0x8C);
    out = Exchange(bus, m);
    r = AsSV(out.at(1).Bytes);
    r.GetWrite1(src, dst, sv, d1);
    EXPECT_EQ(sv, 5u);
    EXPECT_EQ(d1, 0x8Cu);

    m.SetRead1(0, 1000, 5);
    out = Exchange(bus, m);
    r = AsSV(out.at(1).Bytes);
    ASSERT_EQ(r.SVKind(), eSVREAD1REPLY);
    r.GetRead1(src, dst, sv, d1);
    EXPECT_EQ(d1, 0x8Cu);

    m.SetRead4(0, 3000, 1); // nobody has serial 3000
    EXPECT_EQ(Exchange(bus, m).size(), 1u);
}

TEST(SimBus, IdentifyChangeAddressAndReconfigure)
{
    TSimBus bus(Config("boards=QXP6@2000,ORB4@2001"));
    TLNSVProgMessage m;
    m.SetIdentify(0, 2001);
    auto out = Exchange(bus, m);
    ASSERT_EQ(out.size(), 2u);
    auto r = AsSV(out[1].Bytes);
    ASSERT_EQ(r.SVKind(), eSVIDENTIFYREPLY);
    uint32_t src, manufacturer, product, serial, newSerial;
    r.GetIdentify(src, manufacturer, product, serial);
    EXPECT_EQ(std::vector<uint32_t>({manufacturer, product, serial}), std::vector<uint32_t>({1, 1, 2001}));

    // A change of address with the wrong product id is for another board: no answer.
    m.SetChangeAddress(0, 1, 5, 2000, 3000);
    EXPECT_EQ(Exchange(bus, m).size(), 1u);
    m.SetChangeAddress(0, 1, 7, 2000, 3000);
    out = Exchange(bus, m);
    ASSERT_EQ(out.size(), 2u);
    r = AsSV(out[1].Bytes);
    ASSERT_EQ(r.SVKind(), eSVCHANGEADDRREPLY);
    r.GetChangeAddress(src, manufacturer, product, serial, newSerial);
    EXPECT_EQ(std::vector<uint32_t>({manufacturer, product, serial, newSerial}),
              std::vector<uint32_t>({1, 7, 2000, 3000}));
    EXPECT_EQ(bus.Boards()[0].Serial(), 3000);
    EXPECT_EQ(bus.Boards()[0].GetSV(3) + 256 * bus.Boards()[0].GetSV(4), 3000);

    m.SetIdentify(0, 2000); // the old number is gone
    EXPECT_EQ(Exchange(bus, m).size(), 1u);
    m.SetReconfigure(0, 3000);
    out = Exchange(bus, m);
    ASSERT_EQ(out.size(), 2u);
    r = AsSV(out[1].Bytes);
    ASSERT_EQ(r.SVKind(), eSVRECONFIGUREREPLY);
    uint32_t dst;
    r.GetReconfigure(src, dst);
    EXPECT_EQ(dst, 3000u);
    EXPECT_EQ(bus.Boards()[0].ReconfigureCount(), 1u);

    // Replies are never taken for commands.
    out = Exchange(bus, TLocoNetMessage(out[1].Bytes.data(), 16));
    EXPECT_EQ(out.size(), 1u);
}

TEST(SimBus, FaultsSilentBoardAndWrongReadBack)
{
    TSimBus bus(Config("boards=ORB4@10,KPX9@11;silent=10;readback=6"));
    TLNSVProgMessage m;
    m.SetDiscover(0);
    auto out = Exchange(bus, m);
    ASSERT_EQ(out.size(), 2u); // only board 11 answers
    EXPECT_EQ(AsSV(out[1].Bytes).GetWord(1), 11);

    m.SetWrite4(0, 11, 5, 1, 2, 3, 4);
    out = Exchange(bus, m);
    uint32_t src, dst, sv, d1, d2, d3, d4;
    AsSV(out.at(1).Bytes).GetWrite4(src, dst, sv, d1, d2, d3, d4);
    EXPECT_EQ(std::vector<uint32_t>({d1, d2, d3, d4}), std::vector<uint32_t>({1, 3, 3, 4})); // SV6 wrong once
    EXPECT_EQ(bus.Boards()[1].GetSV(6), 2); // but stored right
    out = Exchange(bus, m);
    AsSV(out.at(1).Bytes).GetWrite4(src, dst, sv, d1, d2, d3, d4);
    EXPECT_EQ(std::vector<uint32_t>({d1, d2, d3, d4}), std::vector<uint32_t>({1, 2, 3, 4}));
}

TEST(SimBus, SeededFaultsAreRepeatableAndDoWhatTheySay)
{
    TLNSVProgMessage m;
    m.SetDiscover(0);

    TSimBus dropAll(Config("drop=1"));
    EXPECT_EQ(Exchange(dropAll, m).size(), 1u); // the echo is never lost, every reply is
    EXPECT_EQ(dropAll.RepliesDropped(), 5u);

    TSimBus corruptAll(Config("corrupt=1"));
    auto out = Exchange(corruptAll, m);
    ASSERT_EQ(out.size(), 6u);
    for (const auto& d : out) {
        TLocoNetMessage got(d.Bytes.data(), static_cast<uint32_t>(d.Bytes.size()));
        EXPECT_FALSE(got.ChecksumOk());
        EXPECT_EQ(d.Bytes[1], 0x10); // the count byte is spared
        for (size_t i = 1; i < d.Bytes.size(); ++i) EXPECT_LT(d.Bytes[i], 0x80);
    }

    TSimBus junkAll(Config("junk=1"));
    out = Exchange(junkAll, m);
    ASSERT_EQ(out.size(), 12u);
    for (size_t i = 0; i < out.size(); i += 2) {
        EXPECT_TRUE(out[i].Junk);
        EXPECT_GE(out[i].Bytes.size(), 1u);
        for (uint8_t b : out[i].Bytes) EXPECT_LT(b, 0x80);
        EXPECT_FALSE(out[i + 1].Junk);
    }

    auto run = [&](uint64_t seed) {
        TSimBus bus(Config("drop=0.5;corrupt=0.3;junk=0.3;seed=" + std::to_string(seed)));
        std::vector<uint8_t> stream;
        for (int i = 0; i < 20; ++i) {
            bus.Send(m.GetData(), m.GetLength(), static_cast<uint64_t>(i) * 1000);
            bus.Poll(static_cast<uint64_t>(i) * 1000, stream);
        }
        return stream;
    };
    EXPECT_EQ(run(9), run(9));
    EXPECT_NE(run(9), run(10));
}

TEST(SimBus, PacedBusHoldsEachMessageForItsBits)
{
    TSimBus bus(Config("boards=ORB4@1000;pace=real"));
    TLNSVProgMessage m;
    m.SetIdentify(0, 1000);
    bus.Send(m.GetData(), m.GetLength(), 100);
    const uint64_t sixteen = 16 * 10 * 1000000ull / 16457; // 9722 us
    EXPECT_EQ(bus.Duration(16), sixteen);
    std::vector<TSimDelivery> out;
    bus.Poll(100 + sixteen - 1, out);
    EXPECT_TRUE(out.empty());
    bus.Poll(100 + sixteen, out);
    ASSERT_EQ(out.size(), 1u); // the echo, once the message has passed
    // The board is ready to reply after its delay; the reply starts when the gap after the
    // command has passed too, and takes as long.
    uint64_t replyDone = 100 + sixteen + std::max(TSimBus::ReplyDelayUs, TSimBus::GapUs) + sixteen;
    EXPECT_EQ(bus.NextDueUs(), std::optional<uint64_t>(100 + sixteen + TSimBus::ReplyDelayUs));
    bus.Poll(replyDone - 1, out);
    EXPECT_EQ(out.size(), 1u);
    bus.Poll(replyDone, out);
    EXPECT_EQ(out.size(), 2u);

    // Two messages sent together: the second waits for the first and the gap.
    TSimBus two(Config("boards=;pace=real"));
    two.Send(m.GetData(), m.GetLength(), 0);
    two.Send(m.GetData(), m.GetLength(), 0);
    std::vector<TSimDelivery> got;
    two.Poll(2 * sixteen + TSimBus::GapUs - 1, got);
    EXPECT_EQ(got.size(), 1u);
    two.Poll(2 * sixteen + TSimBus::GapUs, got);
    EXPECT_EQ(got.size(), 2u);
}

TEST(SimBus, TrafficIsALightStreamOfLayoutMessages)
{
    TSimBus bus(Config("boards=;traffic=on;seed=5"));
    std::vector<TSimDelivery> out;
    bus.Poll(60ull * 1000000, out); // one minute
    EXPECT_GE(out.size(), 60u * 1000 / 800);
    EXPECT_LE(out.size(), 60u * 1000 / 200 + 1);
    std::map<uint8_t, int> opcodes;
    for (const auto& d : out) {
        TLocoNetMessage msg(d.Bytes.data(), static_cast<uint32_t>(d.Bytes.size()));
        EXPECT_TRUE(msg.IsValid());
        ++opcodes[d.Bytes[0]];
    }
    EXPECT_EQ(opcodes.size(), 4u); // sensor reports, switch requests, speed and direction
    EXPECT_TRUE(bus.NextDueUs().has_value());
}

} // namespace

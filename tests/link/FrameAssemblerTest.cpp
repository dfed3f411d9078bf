#include "link/FrameAssembler.h"
#include "support/LocoNetCorpus.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

// Collects what an assembler delivers and logs.
struct Capture {
    std::vector<Bytes> messages;
    std::string log;
    TFrameAssembler assembler;

    explicit Capture(bool logging = true)
        : assembler([this](TLocoNetMessage&& m) {
              EXPECT_TRUE(m.IsValid());
              EXPECT_EQ(m.GetCapacity(), m.GetLength());
              messages.emplace_back(m.GetData(), m.GetData() + m.GetLength());
          })
    {
        if (logging) assembler.SetLogSink([this](std::string_view t) { log.append(t); });
    }
    void Feed(const Bytes& b) { assembler.Feed(b.data(), b.size()); }
};

// A plain transcription of the byte-by-byte framing rules with an unbounded buffer, used to check
// the assembler's faster loop against on random streams.
struct Reference {
    enum { WaitOpcode, WaitCount, Collect } phase = WaitOpcode;
    Bytes held;
    uint32_t expected = 0;
    std::vector<Bytes> messages;
    std::string log;

    void Feed(uint8_t b)
    {
        char hex[8];
        std::snprintf(hex, sizeof hex, "%x\r\n", b);
        log += hex;
        switch (phase) {
        case WaitOpcode:
            if (!(b & 0x80)) return;
            held = {b};
            expected = TLocoNetMessage::LengthFromOpcode(b);
            phase = expected == 8 ? WaitCount : Collect;
            return;
        case WaitCount:
            if (b & 0x80) {
                phase = WaitOpcode;
                log += "rejected because top bit set in payload bytes";
                return;
            }
            held.push_back(b);
            expected = b;
            phase = Collect;
            return;
        case Collect:
            if (b & 0x80) {
                phase = WaitOpcode;
                log += "rejected because top bit set in payload bytes";
                return;
            }
            held.push_back(b);
            if (held.size() == expected) {
                phase = WaitOpcode;
                TLocoNetMessage m(held.data(), static_cast<uint32_t>(held.size()));
                if (m.IsValid()) {
                    messages.push_back(held);
                    log += m.Text();
                } else
                    log += "rejected as invalid";
            }
            return;
        }
    }
};

Bytes WithChecksum(Bytes b)
{
    uint8_t x = 0xFF;
    for (uint8_t v : b) x ^= v;
    b.push_back(x);
    return b;
}

TEST(FrameAssembler, PowerOnIsDeliveredAndLogged)
{
    Capture c;
    c.Feed({0x83, 0x7C});
    ASSERT_EQ(c.messages.size(), 1u);
    EXPECT_EQ(c.messages[0], (Bytes{0x83, 0x7C}));
    EXPECT_EQ(c.log, "83\r\n7c\r\nOPC_GPON:83 7C ");
}

TEST(FrameAssembler, BadChecksumIsRejectedAsInvalid)
{
    Capture c;
    c.Feed({0x83, 0x7D});
    EXPECT_TRUE(c.messages.empty());
    EXPECT_EQ(c.log, "83\r\n7d\r\nrejected as invalid");
}

TEST(FrameAssembler, LogWritesRawBytesWithoutLeadingZeros)
{
    Capture c;
    c.Feed({0x00, 0x12, 0x0A, 0x83, 0x7C, 0x05});
    EXPECT_EQ(c.log, "0\r\n12\r\na\r\n83\r\n7c\r\nOPC_GPON:83 7C 5\r\n");
    ASSERT_EQ(c.messages.size(), 1u);
}

TEST(FrameAssembler, TopBitInPayloadAbandonsMessageAndDropsThatByte)
{
    Capture c;
    c.Feed({0xB2, 0x05, 0x83, 0x7C});
    EXPECT_TRUE(c.messages.empty());
    EXPECT_EQ(c.log, "b2\r\n5\r\n83\r\nrejected because top bit set in payload bytes7c\r\n");
    // The next message is recognised from its own opcode onwards.
    c.Feed({0x83, 0x7C});
    EXPECT_EQ(c.messages.size(), 1u);
}

TEST(FrameAssembler, TopBitInCountByteAbandonsMessage)
{
    Capture c;
    c.Feed({0xE5, 0x83, 0x7C, 0x82, 0x7D});
    ASSERT_EQ(c.messages.size(), 1u);
    EXPECT_EQ(c.messages[0], (Bytes{0x82, 0x7D}));
    EXPECT_EQ(c.log, "e5\r\n83\r\nrejected because top bit set in payload bytes7c\r\n82\r\n7d\r\nOPC_GPOFF:82 7D ");
}

TEST(FrameAssembler, MessageSplitOverReadsIsCompleted)
{
    const Bytes sv =
        WithChecksum({0xE5, 0x10, 0x00, 0x01, 0x02, 0x11, 0x68, 0x03, 0x05, 0x00, 0x11, 0x0C, 0x00, 0x00, 0x00});
    ASSERT_EQ(sv.back(), 0x6B);
    Capture whole, split;
    whole.Feed(sv);
    for (uint8_t b : sv) split.Feed({b});
    ASSERT_EQ(split.messages.size(), 1u);
    EXPECT_EQ(split.messages[0], sv);
    EXPECT_EQ(split.log, whole.log);
    const std::string tail = "6b\r\nOPC_SVACCESS Type 2:E5 10 00 01 02 11 68 03 05 00 11 0C 00 00 00 6B ";
    ASSERT_GE(split.log.size(), tail.size());
    EXPECT_EQ(split.log.substr(split.log.size() - tail.size()), tail);
}

TEST(FrameAssembler, LongestMessageFitsTheBuffer)
{
    Bytes m{0xE0, 0x7F};
    for (int i = 0; i < 124; ++i) m.push_back(static_cast<uint8_t>(i));
    m = WithChecksum(m);
    ASSERT_EQ(m.size(), 127u);
    Capture c(false);
    c.Feed(m);
    ASSERT_EQ(c.messages.size(), 1u);
    EXPECT_EQ(c.messages[0], m);
}

TEST(FrameAssembler, CountBelowThreeNeverCompletesAndNeverOverflows)
{
    for (uint8_t count : {0, 1, 2}) {
        Capture c;
        Bytes stream{0xE5, count};
        stream.insert(stream.end(), 1000, 0x01); // far more than the buffer holds
        stream.push_back(0x83); // abandons the message and is dropped
        stream.push_back(0x7C); // dropped while waiting for an opcode
        stream.push_back(0x83);
        stream.push_back(0x7C);
        c.Feed(stream);
        ASSERT_EQ(c.messages.size(), 1u) << int(count);
        EXPECT_EQ(c.messages[0], (Bytes{0x83, 0x7C}));
        Reference r;
        for (uint8_t b : stream) r.Feed(b);
        EXPECT_EQ(c.log, r.log);
        EXPECT_NE(c.log.find("83\r\nrejected because top bit set in payload bytes7c\r\n83\r\n"), std::string::npos);
    }
}

TEST(FrameAssembler, ResetForgetsPartialMessage)
{
    Capture c;
    c.Feed({0xB2, 0x05});
    c.assembler.Reset();
    c.Feed({0x83, 0x7C});
    ASSERT_EQ(c.messages.size(), 1u);
    EXPECT_EQ(c.messages[0], (Bytes{0x83, 0x7C}));
    EXPECT_EQ(c.log.find("rejected"), std::string::npos);
}

TEST(FrameAssembler, LoggingCanBeSwitchedOff)
{
    Capture c;
    c.Feed({0x83});
    c.assembler.SetLogSink({});
    c.Feed({0x7C, 0x82, 0x7D});
    EXPECT_EQ(c.messages.size(), 2u);
    EXPECT_EQ(c.log, "83\r\n");
}

TEST(FrameAssembler, MatchesByteByByteRulesOnRandomStreams)
{
    std::mt19937 rng(20240601);
    const auto corpus = testcorpus::LoadLocoNetCorpus();
    for (int round = 0; round < 300; ++round) {
        Bytes stream;
        const int pieces = 1 + static_cast<int>(rng() % 40);
        for (int i = 0; i < pieces; ++i) {
            switch (rng() % 4) {
            case 0: { // a real message, sometimes with one byte damaged
                Bytes m = corpus[rng() % corpus.size()].bytes;
                if (rng() % 5 == 0) m[rng() % m.size()] ^= static_cast<uint8_t>(1u << (rng() % 8));
                stream.insert(stream.end(), m.begin(), m.end());
                break;
            }
            case 1: // random noise
                for (unsigned k = rng() % 8; k > 0; --k) stream.push_back(static_cast<uint8_t>(rng()));
                break;
            case 2: { // a variable-length opcode with an arbitrary count
                stream.push_back(static_cast<uint8_t>(0xE0 | (rng() % 32)));
                stream.push_back(static_cast<uint8_t>(rng() % 8));
                break;
            }
            default: { // a well-formed message of random length
                const uint8_t op = static_cast<uint8_t>(0x80 | (rng() % 128));
                uint32_t len = TLocoNetMessage::LengthFromOpcode(op);
                Bytes m{op};
                if (len == 8) {
                    len = 3 + rng() % 125;
                    m.push_back(static_cast<uint8_t>(len));
                }
                while (m.size() < len - 1) m.push_back(static_cast<uint8_t>(rng() % 128));
                m = WithChecksum(m);
                m.back() &= 0x7F; // the checksum may be wrong then; both paths must agree
                stream.insert(stream.end(), m.begin(), m.end());
            }
            }
        }
        Reference ref;
        for (uint8_t b : stream) ref.Feed(b);
        Capture c;
        for (size_t pos = 0; pos < stream.size();) {
            const size_t n = std::min<size_t>(stream.size() - pos, 1 + rng() % 30);
            c.assembler.Feed(stream.data() + pos, n);
            pos += n;
        }
        ASSERT_EQ(c.messages, ref.messages) << "round " << round;
        ASSERT_EQ(c.log, ref.log) << "round " << round;
    }
}

TEST(FrameAssembler, EveryCorpusLineFramesToItself)
{
    const auto corpus = testcorpus::LoadLocoNetCorpus();
    ASSERT_GT(corpus.size(), 150u);
    std::vector<Bytes> expected;
    Bytes all;
    size_t valid = 0;
    for (const auto& e : corpus) {
        TLocoNetMessage m(e.bytes.data(), static_cast<uint32_t>(e.bytes.size()));
        bool sevenBit = true;
        for (size_t i = 1; i < e.bytes.size(); ++i) sevenBit = sevenBit && e.bytes[i] < 0x80;
        const bool deliverable = m.IsValid() && sevenBit;
        Capture c;
        c.Feed(e.bytes);
        if (deliverable) {
            ++valid;
            ASSERT_EQ(c.messages.size(), 1u) << e.hex;
            EXPECT_EQ(c.messages[0], e.bytes) << e.hex;
            expected.push_back(e.bytes);
            all.insert(all.end(), e.bytes.begin(), e.bytes.end());
        } else {
            EXPECT_TRUE(c.messages.empty()) << e.hex;
        }
        // The source's own note agrees with our checksum test.
        if (e.note.find("checksum byte as given in source is not valid") != std::string::npos) {
            EXPECT_FALSE(m.ChecksumOk()) << e.hex;
        }
    }
    EXPECT_GT(valid, 100u);
    // Back to back, and with noise between them, the valid lines come out in order.
    Capture together(false);
    together.Feed(all);
    EXPECT_EQ(together.messages, expected);
}

} // namespace

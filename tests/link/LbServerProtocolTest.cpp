#include "link/LbServerProtocol.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::vector<TLbLine> Split(TLbLineSplitter& splitter, const std::string& text)
{
    std::vector<TLbLine> lines;
    splitter.Feed(reinterpret_cast<const uint8_t*>(text.data()), text.size(), lines);
    return lines;
}

TEST(LbServerLines, ClassifiesEveryKindOfLine)
{
    auto r = ParseLbLine("RECEIVE B2 05 50 18");
    EXPECT_EQ(r.Kind, ELbLineKind::eReceive);
    EXPECT_EQ(r.Bytes, (std::vector<uint8_t>{0xB2, 0x05, 0x50, 0x18}));
    r = ParseLbLine("send  83\t7c ");
    EXPECT_EQ(r.Kind, ELbLineKind::eSend);
    EXPECT_EQ(r.Bytes, (std::vector<uint8_t>{0x83, 0x7C}));
    EXPECT_EQ(ParseLbLine("RECEIVE 1 2").Bytes, (std::vector<uint8_t>{0x01, 0x02}));

    EXPECT_EQ(ParseLbLine("SENT OK").Kind, ELbLineKind::eSentOk);
    r = ParseLbLine("SENT ERROR LocoNet busy");
    EXPECT_EQ(r.Kind, ELbLineKind::eSentError);
    EXPECT_EQ(r.Text, "LocoNet busy");
    EXPECT_EQ(ParseLbLine("SENT").Kind, ELbLineKind::eSentError);
    r = ParseLbLine("VERSION LbServer 2.0");
    EXPECT_EQ(r.Kind, ELbLineKind::eVersion);
    EXPECT_EQ(r.Text, "LbServer 2.0");
    EXPECT_EQ(ParseLbLine("TIMESTAMP 1000").Kind, ELbLineKind::eTimestamp);
    EXPECT_EQ(ParseLbLine("BREAK").Kind, ELbLineKind::eBreak);
    EXPECT_EQ(ParseLbLine("ERROR CHECKSUM 83 7D").Kind, ELbLineKind::eError);
    EXPECT_EQ(ParseLbLine("RECEIVED 83 7C").Kind, ELbLineKind::eUnknown);
    EXPECT_EQ(ParseLbLine("").Kind, ELbLineKind::eUnknown);
}

TEST(LbServerLines, RejectsBadHexWithoutKeepingBytes)
{
    for (const char* bad : {"RECEIVE", "RECEIVE 8G", "RECEIVE 183", "RECEIVE 83,7C", "SEND -1", "RECEIVE 0x83"}) {
        auto r = ParseLbLine(bad);
        EXPECT_EQ(r.Kind, ELbLineKind::eMalformed) << bad;
        EXPECT_TRUE(r.Bytes.empty()) << bad;
        EXPECT_FALSE(r.Text.empty()) << bad;
    }
}

TEST(LbServerLines, FormatsSendAndReceiveInUpperCaseHex)
{
    const uint8_t bytes[] = {0xB2, 0x05, 0x0A, 0xFF};
    EXPECT_EQ(FormatLbSend(bytes, 4), "SEND B2 05 0A FF\r\n");
    EXPECT_EQ(FormatLbReceive(bytes, 2), "RECEIVE B2 05\r\n");
    EXPECT_EQ(ParseLbLine(FormatLbSend(bytes, 4).substr(0, 16)).Bytes, std::vector<uint8_t>(bytes, bytes + 4));
}

TEST(LbServerLines, SplitsOnAnyLineEndAndDropsEmptyLines)
{
    TLbLineSplitter splitter;
    EXPECT_TRUE(Split(splitter, "RECEIVE 83").empty());
    EXPECT_EQ(splitter.Pending(), 10u);
    auto lines = Split(splitter, " 7C\r\n\r\n  \n\rSENT OK\rBREAK\n");
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0].Kind, ELbLineKind::eReceive);
    EXPECT_EQ(lines[0].Bytes, (std::vector<uint8_t>{0x83, 0x7C}));
    EXPECT_EQ(lines[1].Kind, ELbLineKind::eSentOk);
    EXPECT_EQ(lines[2].Kind, ELbLineKind::eBreak);
    EXPECT_EQ(splitter.Pending(), 0u);
}

TEST(LbServerLines, CutsOffOverlongLines)
{
    TLbLineSplitter splitter;
    std::string huge(TLbLineSplitter::MaxLineLength * 3, 'A');
    EXPECT_TRUE(Split(splitter, huge).empty());
    EXPECT_LE(splitter.Pending(), TLbLineSplitter::MaxLineLength);
    auto lines = Split(splitter, "\nSENT OK\n");
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].Kind, ELbLineKind::eMalformed);
    EXPECT_TRUE(lines[0].Overlong);
    EXPECT_EQ(lines[1].Kind, ELbLineKind::eSentOk);
    EXPECT_FALSE(Split(splitter, "SEND 8X\n").at(0).Overlong);
}

} // namespace

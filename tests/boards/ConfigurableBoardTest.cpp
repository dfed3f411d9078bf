#include "support/BoardText.h"
#include "support/TestBoard.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <utility>
#include <vector>

TEST(ConfigurableBoard, SerialNumberRangeAndIdentitySVs)
{
    TTestBoard board;
    EXPECT_FALSE(board.IsSerialValid());
    board.SerialNumber = 1;
    EXPECT_TRUE(board.IsSerialValid());
    board.SerialNumber = 65537;
    EXPECT_FALSE(board.IsSerialValid());
    board.SerialNumber = 65536;
    EXPECT_TRUE(board.IsSerialValid());
    board.SetSV(100, 9);
    ASSERT_TRUE(board.CalculateSVs());
    EXPECT_EQ(board.GetSV(3), 0);
    EXPECT_EQ(board.GetSV(4), 0);
    EXPECT_EQ(board.GetSV(100), 0) << "calculation starts from a cleared table";
    board.SerialNumber = 1000;
    board.CalculateSVs();
    EXPECT_EQ(board.GetSV(3), 0xE8);
    EXPECT_EQ(board.GetSV(4), 0x03);
    board.SerialNumber = 0;
    board.DecodeSVs();
    EXPECT_EQ(board.SerialNumber, 1000u);
}

TEST(ConfigurableBoard, SVNumbersCountFromOne)
{
    TTestBoard board(eORB4, 20);
    board.SetSV(1, 11);
    board.SetSV(20, 22);
    board.SetSV(0, 33);
    board.SetSV(21, 44);
    EXPECT_EQ(board.GetSVTable().front(), 11);
    EXPECT_EQ(board.GetSVTable().back(), 22);
    EXPECT_EQ(board.GetSV(0), 0);
    EXPECT_EQ(board.GetSV(21), 0);
    EXPECT_EQ(board.GetSVTable().size(), 20u);
}

TEST(ConfigurableBoard, CopyHasItsOwnTable)
{
    TTestBoard board;
    board.Name = "Original";
    board.SerialNumber = 77;
    board.SWVersion = 3;
    board.SetSV(9, 5);
    TTestBoard copy(board);
    copy.SetSV(9, 6);
    EXPECT_EQ(board.GetSV(9), 5);
    EXPECT_EQ(copy.Name, "Original");
    EXPECT_EQ(copy.SerialNumber, 77u);
    EXPECT_EQ(copy.SWVersion, 3u);
    EXPECT_EQ(copy.GetSVCount(), 512u);
}

TEST(ConfigurableBoard, ProgrammableSVs)
{
    TTestBoard board;
    for (uint32_t n : {1u, 2u, 7u, 8u, 29u, 510u, 511u, 512u}) EXPECT_FALSE(board.IsSVProgrammable(n)) << n;
    for (uint32_t n : {3u, 4u, 5u, 6u, 9u, 28u, 30u, 509u}) EXPECT_TRUE(board.IsSVProgrammable(n)) << n;
}

TEST(ConfigurableBoard, NextSVBlockSendsAnSVBeforeAProtectedOneAlone)
{
    TTestBoard board(eORB4, 512, {1, 2});
    uint32_t size = 99;
    const uint32_t sv = board.NextSVBlock(0, size);
    EXPECT_EQ(sv, 5u);
    EXPECT_EQ(size, 1u) << "SV7 is protected";
    uint32_t next = board.NextSVBlock(sv, size);
    EXPECT_EQ(next, 6u);
    EXPECT_EQ(size, 1u);
    next = board.NextSVBlock(next, size);
    EXPECT_EQ(next, 9u) << "7 and 8 are skipped";
    EXPECT_EQ(size, 4u);
}

TEST(ConfigurableBoard, NextSVBlockWithFreeRunsAndUnusedNeighbours)
{
    class TWideBoard : public TTestBoard {
    public:
        TWideBoard() : TTestBoard(eORB4, 40, {14}) {}
        const std::vector<uint32_t>& GetProtectedSVs() const override { return None; }
        std::vector<uint32_t> None;
    } board;
    uint32_t size = 0;
    uint32_t sv = board.NextSVBlock(0, size);
    EXPECT_EQ(sv, 5u);
    EXPECT_EQ(size, 4u);
    sv = board.NextSVBlock(sv, size);
    EXPECT_EQ(sv, 9u);
    EXPECT_EQ(size, 4u);
    // 13 is followed by the unused 14: transferred alone, then 14 is skipped.
    sv = board.NextSVBlock(sv, size);
    EXPECT_EQ(sv, 13u);
    EXPECT_EQ(size, 1u);
    sv = board.NextSVBlock(sv, size);
    EXPECT_EQ(sv, 15u);
    EXPECT_EQ(size, 4u);
}

TEST(ConfigurableBoard, NextSVBlockWalksTheWholeTableInOrder)
{
    TTestBoard board; // unused 1, 2, 7, 8, 29, 510, 511, 512
    std::vector<std::pair<uint32_t, uint32_t>> blocks;
    uint32_t size = 0;
    uint32_t sv = board.NextSVBlock(0, size);
    while (size > 0 && blocks.size() < 1000) {
        blocks.emplace_back(sv, size);
        sv = board.NextSVBlock(sv, size);
    }
    EXPECT_EQ(sv, 513u);
    // 5 and 6 alone before the unused 7; fours up to 28 and from 30 to 509.
    std::vector<std::pair<uint32_t, uint32_t>> expected = {{5, 1}, {6, 1}, {9, 4}, {13, 4}, {17, 4}, {21, 4}, {25, 4}};
    for (uint32_t first = 30; first <= 506; first += 4) expected.emplace_back(first, 4);
    EXPECT_EQ(blocks, expected);
}

TEST(ConfigurableBoard, NextSVBlockNearTheEndOfTheTable)
{
    class TNoProtected : public TTestBoard {
    public:
        TNoProtected() : TTestBoard(eORB4, 12, {}) {}
        const std::vector<uint32_t>& GetProtectedSVs() const override { return None; }
        std::vector<uint32_t> None;
    } open;
    uint32_t size = 0;
    uint32_t sv = open.NextSVBlock(4, size); // a previous block of size 0 ending at 4
    EXPECT_EQ(sv, 4u);
    EXPECT_EQ(size, 4u);
    sv = open.NextSVBlock(8, size = 0);
    EXPECT_EQ(sv, 8u);
    EXPECT_EQ(size, 4u) << "8, 9, 10, 11 are all below the count of 12";
    sv = open.NextSVBlock(9, size = 0);
    EXPECT_EQ(sv, 9u);
    EXPECT_EQ(size, 1u) << "the last SV counts as not below the count";
    sv = open.NextSVBlock(12, size = 0);
    EXPECT_EQ(sv, 12u);
    EXPECT_EQ(size, 1u);
    sv = open.NextSVBlock(sv, size);
    EXPECT_EQ(sv, 13u);
    EXPECT_EQ(size, 0u);
}

namespace {
std::string ListingFor(uint32_t svCount)
{
    // Unused = protected = 1, 2, 7, 8 (29 is beyond the table): svCount - 4 programmable SVs.
    TTestBoard board(eORB4, svCount, {1, 2, 7, 8, 29});
    board.Name = "Yard";
    for (uint32_t n = 1; n <= svCount; ++n) board.SetSV(n, static_cast<uint8_t>(n * 10));
    return board.SVListingText();
}
} // namespace

TEST(ConfigurableBoard, ListingWithSixteenProgrammableSVsEndsWithALineEnd)
{
    const std::string text = ListingFor(20);
    EXPECT_EQ(text, "Board name = Yard\r\n"
                    "SV Settings:\r\n"
                    "SV3=30;  SV4=40;  SV5=50;  SV6=60;  SV9=90;  SV10=100;  SV11=110;  SV12=120;  \r\n"
                    "SV13=130;  SV14=140;  SV15=150;  SV16=160;  SV17=170;  SV18=180;  SV19=190;  SV20=200;  \r\n");
}

TEST(ConfigurableBoard, ListingWithSeventeenProgrammableSVsEndsWithoutALineEnd)
{
    const std::string text = ListingFor(21);
    const std::string tail = "SV20=200;  \r\nSV21=210;  ";
    ASSERT_GE(text.size(), tail.size());
    EXPECT_EQ(text.substr(text.size() - tail.size()), tail);
}

TEST(ConfigurableBoard, ListingFileHoldsTheListingText)
{
    TTestBoard board;
    board.Level = 200;
    board.CalculateSVs();
    const auto path = std::filesystem::temp_directory_path() / "railscope_listing_test.txt";
    ASSERT_TRUE(board.WriteSVListing(path.string()));
    const std::string written = ReadFileText(path);
    EXPECT_EQ(written, board.SVListingText());
    EXPECT_NE(written.find("SV5=200;  "), std::string::npos);
    std::filesystem::remove(path);
    EXPECT_FALSE(board.WriteSVListing("/nonexistent-folder/listing.txt"));
}

TEST(ConfigurableBoard, CommonDescriptionAndListLine)
{
    TTestBoard board(eQXP6);
    board.Name = "Goods yard";
    std::vector<std::string> lines{"kept"};
    board.DisplayBoard(lines);
    ASSERT_GE(lines.size(), 4u);
    EXPECT_EQ(lines[0], "kept");
    EXPECT_EQ(lines[1], "Board Type: QXP6");
    EXPECT_EQ(lines[2], "Serial number: not set yet");
    EXPECT_EQ(lines[3], "Board name: Goods yard");
    EXPECT_EQ(board.GetListLine(), "not set yet\tQXP6\t Goods yard");
    board.SerialNumber = 65536;
    lines.clear();
    board.DisplayBoard(lines);
    EXPECT_EQ(lines[1], "Serial number: 65536");
    EXPECT_EQ(board.GetListLine(), "65536\tQXP6\t Goods yard");
}

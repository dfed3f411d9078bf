#include "boards/CsvIo.h"
#include "boards/BoardData.h"
#include "boards/orb/Condition.h"
#include "boards/qxp6/QXP6Condition.h"

#include <gtest/gtest.h>
#include <sstream>

TEST(CsvIo, ReadLineQuotesAndEmptyFields)
{
    TCsvIo io;
    std::istringstream in("\"ORB4_BOARD\",,5\r\na\"b\",\"x,y\"\nlast,field");
    ASSERT_EQ(io.ReadLine(in), 3u);
    EXPECT_EQ(io.GetText(0), "ORB4_BOARD");
    EXPECT_EQ(io.GetText(1), "");
    EXPECT_EQ(io.GetNumber(2), 5);
    ASSERT_EQ(io.ReadLine(in), 2u);
    EXPECT_EQ(io.GetText(0), "a\"b\"");
    EXPECT_EQ(io.GetText(1), "x,y");
    ASSERT_EQ(io.ReadLine(in), 2u);
    EXPECT_EQ(io.GetText(1), "field");
    EXPECT_EQ(io.ReadLine(in), 0u);
}

TEST(CsvIo, NumbersAndErrorFlag)
{
    TCsvIo io;
    io.SetText(2, "12abc");
    EXPECT_EQ(io.GetNumber(2), 12);
    EXPECT_TRUE(io.GetErrorFlag());
    io.ClearErrorFlag();
    io.SetText(0, " -7 ");
    EXPECT_EQ(io.GetNumber(0), -7);
    EXPECT_FALSE(io.GetErrorFlag());
    EXPECT_EQ(io.GetNumber(1), 0);
    EXPECT_TRUE(io.GetErrorFlag());
    EXPECT_EQ(io.GetText(7), "");
    EXPECT_EQ(io.FieldCount(), 8u);
}

TEST(CsvIo, WriteLineQuotesTextWhenSwitchedOn)
{
    TCsvIo io;
    io.SetQuoteStrings(true);
    io.SetText(0, "RVN2_BOARD");
    io.SetText(1, "Station A");
    io.SetNumber(2, 1000);
    io.SetNumber(4, -1);
    std::ostringstream out;
    io.WriteLine(out);
    EXPECT_EQ(out.str(), "\"RVN2_BOARD\",\"Station A\",1000,,-1\r\n");
}

TEST(CsvIo, CarriageReturnIsDroppedOnlyBeforeLineFeed)
{
    TCsvIo io;
    std::istringstream in("a\rb,c\r\n\"x\r\ny\"\n");
    ASSERT_EQ(io.ReadLine(in), 2u);
    EXPECT_EQ(io.GetText(0), "a\rb");
    EXPECT_EQ(io.GetText(1), "c");
    // A line feed ends the line even inside quotes.
    ASSERT_EQ(io.ReadLine(in), 1u);
    EXPECT_EQ(io.GetText(0), "x");
    ASSERT_EQ(io.ReadLine(in), 1u);
    EXPECT_EQ(io.GetText(0), "y\"");
}

TEST(CsvIo, QuotesOnlyOpenAtTheStartOfAField)
{
    TCsvIo io;
    std::istringstream in("\"a,b\"c,\"\",\"q\"\"r\", \"s\"\r\n");
    ASSERT_EQ(io.ReadLine(in), 4u);
    EXPECT_EQ(io.GetText(0), "a,bc");
    EXPECT_EQ(io.GetText(1), "");
    // The second quote closes the quoted part; the third and fourth are ordinary text.
    EXPECT_EQ(io.GetText(2), "q\"r\"");
    // A blank before the quote: the quotes are in the middle of the field and stay.
    EXPECT_EQ(io.GetFields()[3], " \"s\"");
}

TEST(CsvIo, EmptyLinesAndEndOfStream)
{
    TCsvIo io;
    std::istringstream in("\r\n\n,\r\n");
    EXPECT_EQ(io.ReadLine(in), 1u);
    EXPECT_EQ(io.GetText(0), "");
    EXPECT_EQ(io.ReadLine(in), 1u);
    EXPECT_EQ(io.ReadLine(in), 2u);
    EXPECT_EQ(io.ReadLine(in), 0u);
    EXPECT_EQ(io.ReadLine(in), 0u);
    EXPECT_EQ(io.FieldCount(), 0u);
}

TEST(CsvIo, NumberRules)
{
    TCsvIo io;
    struct Case {
        const char* text;
        int value;
        bool error;
    };
    const Case cases[] = {
        {"0", 0, false},
        {"42", 42, false},
        {"+17", 17, false},
        {"  -3", -3, false},
        {"65536", 65536, false},
        {"12abc", 12, true},
        {"1 2", 1, true},
        {"abc", 0, true},
        {"-", 0, true},
        {"", 0, true},
        {"0x10", 0, true},
        {"99999999999999", 2147483647, false},
        {"-99999999999999", -2147483647 - 1, false},
    };
    for (const auto& c : cases) {
        io.ClearFields();
        io.ClearErrorFlag();
        io.SetText(0, c.text);
        EXPECT_EQ(io.GetNumber(0), c.value) << c.text;
        EXPECT_EQ(io.GetErrorFlag(), c.error) << c.text;
    }
}

TEST(CsvIo, ReadingAQuotedTextBackThroughTheQuoteSwitch)
{
    TCsvIo writer;
    writer.SetQuoteStrings(true);
    writer.SetText(0, "Name, with comma");
    writer.SetText(2, "");
    writer.SetNumber(3, 7);
    std::stringstream buffer;
    writer.WriteLine(buffer);
    EXPECT_EQ(buffer.str(), "\"Name, with comma\",,\"\",7\r\n");
    TCsvIo reader;
    ASSERT_EQ(reader.ReadLine(buffer), 4u);
    EXPECT_EQ(reader.GetText(0), "Name, with comma");
    EXPECT_EQ(reader.GetText(1), "");
    EXPECT_EQ(reader.GetText(2), "");
    EXPECT_EQ(reader.GetNumber(3), 7);
}

TEST(CsvIo, NumbersAreWrittenAsSigned32BitValues)
{
    TCsvIo io;
    io.SetNumber(0, 4294967295u); // an unsigned field holding what -1 was read as
    io.SetNumber(1, 65536);
    io.SetNumber(2, -5);
    EXPECT_EQ(io.GetText(0), "-1");
    EXPECT_EQ(io.GetNumber(0), -1);
    EXPECT_EQ(io.GetText(1), "65536");
    EXPECT_EQ(io.GetText(2), "-5");
}

// Every number of a board file, whole fields and numbers inside condition tokens alike, is read
// by one rule: beyond the signed 32-bit range it saturates to INT_MIN or INT_MAX.
TEST(CsvIo, LeadingNumbersSaturateToTheSigned32BitRange)
{
    struct Case {
        const char* text;
        int value;
        bool hasDigits;
        bool inRange;
        size_t end;
    };
    const Case cases[] = {
        {"2147483647", 2147483647, true, true, 10},
        {"2147483648", 2147483647, true, false, 10},
        {"99999999999", 2147483647, true, false, 11},
        {"-2147483648", -2147483647 - 1, true, true, 11},
        {"-2147483649", -2147483647 - 1, true, false, 11},
        {"-99999999999", -2147483647 - 1, true, false, 12},
        {"+12ab", 12, true, true, 3},
        {"-", 0, false, true, 1},
        {"", 0, false, true, 0},
    };
    for (const auto& c : cases) {
        const TLeadingNumber number = ParseLeadingNumber(c.text);
        EXPECT_EQ(number.Value, c.value) << c.text;
        EXPECT_EQ(number.HasDigits, c.hasDigits) << c.text;
        EXPECT_EQ(number.InRange, c.inRange) << c.text;
        EXPECT_EQ(number.End, c.end) << c.text;
        if (!c.hasDigits) continue;
        const std::string text = c.text;
        TCsvIo io;
        io.SetText(0, text);
        EXPECT_EQ(io.GetNumber(0), c.value) << c.text;
        TCondition condition;
        condition.ParseToken("SG " + text + " RD");
        EXPECT_EQ(condition.Number, static_cast<uint32_t>(c.value)) << c.text;
        TQXP6Condition qxp6;
        qxp6.ParseToken("SE " + text + ":" + text + " OC");
        EXPECT_EQ(qxp6.Number, static_cast<uint32_t>(c.value)) << c.text;
        EXPECT_EQ(qxp6.Offset, static_cast<uint32_t>(c.value)) << c.text;
    }
}

// A line longer than the limit (a file without line ends, /dev/zero) stops reading at the limit
// instead of filling the memory, and the loader says why.
TEST(CsvIo, ALineLongerThanTheLimitStopsTheStream)
{
    const size_t limit = TCsvIo::kMaxLineLength;
    struct TCase {
        std::string Text;
        size_t Fields; // what ReadLine returns
        bool TooLong;
    };
    const TCase cases[] = {
        {std::string(limit, 'x') + "\n,next", 1, false}, {std::string(limit - 1, 'x') + "\r\n", 1, false},
        {std::string(limit + 1, 'x') + "\n", 0, true},   {std::string(limit + 5, ','), 0, true},
        {std::string(limit + 5, '\0'), 0, true},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Text.size());
        std::istringstream in(c.Text);
        TCsvIo line;
        EXPECT_EQ(line.ReadLine(in), c.Fields);
        EXPECT_EQ(TCsvIo::LineTooLong(in), c.TooLong);
        EXPECT_EQ(in.bad(), c.TooLong);
        if (c.TooLong) {
            EXPECT_EQ(line.ReadLine(in), 0u); // reading on gives nothing more
        } else {
            EXPECT_EQ(line.GetText(0).size(), c.Text[limit - 1] == '\r' ? limit - 1 : limit);
        }
    }

    TBoardData data;
    std::istringstream zeros(std::string(limit + 1, '\0'));
    EXPECT_FALSE(data.LoadFromStream(0, zeros));
    EXPECT_EQ(data.GetLastError(), "Loading stopped: a line is longer than 1048576 characters");
}

// Lines are read a block of 4096 bytes at a time: lines that end, or whose carriage return
// lies, at either side of a block's end read like any other, and so does the line after them.
TEST(CsvIo, LinesAroundTheReadingBlockSize)
{
    for (const size_t length : {4094u, 4095u, 4096u, 4097u, 8191u, 8192u, 12289u}) {
        for (const char* end : {"\n", "\r\n", "\r"}) {
            SCOPED_TRACE(std::to_string(length) + (end[0] == '\r' ? " CR" : ""));
            const std::string quoted = "\"" + std::string(length - 2, ',') + "\""; // one field in quotes
            std::istringstream in(quoted + ",x" + end + "next,2\n");
            const bool loneReturn = std::string(end) == "\r";
            TCsvIo io;
            // A carriage return before the line feed ends the line; a lone one is text.
            ASSERT_EQ(io.ReadLine(in), loneReturn ? 3u : 2u);
            EXPECT_EQ(io.GetText(0), std::string(length - 2, ','));
            EXPECT_EQ(io.GetText(1), loneReturn ? "x\rnext" : "x");
            if (!loneReturn) {
                ASSERT_EQ(io.ReadLine(in), 2u);
            }
            EXPECT_EQ(io.GetNumber(io.FieldCount() - 1), 2);
            EXPECT_FALSE(in.bad());
        }
    }
}

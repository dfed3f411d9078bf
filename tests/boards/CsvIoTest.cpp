#include "boards/CsvIo.h"

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

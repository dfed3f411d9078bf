#include "boards/orb/ExtDevTable.h"

#include <gtest/gtest.h>
#include <vector>

namespace {
TDeviceKey Point(uint32_t n)
{
    return {edtPoint, n, 0};
}
TDeviceKey Sensor(uint32_t n, uint32_t o)
{
    return {edtSensor, n, o};
}
TDeviceKey Signal(uint32_t n)
{
    return {edtSignal, n, 0};
}
} // namespace

TEST(ExtDevTable, KeyEqualityComparesOffsetsOfSensorsOnly)
{
    EXPECT_EQ(Point(5), Point(5));
    EXPECT_FALSE(Point(5) == Signal(5));
    EXPECT_FALSE(Sensor(5, 1) == Sensor(5, 2));
    TDeviceKey pointWithOffset{edtPoint, 5, 9};
    EXPECT_EQ(pointWithOffset, Point(5));
}

TEST(ExtDevTable, AddFillsRangesInOrderAndFindsEqualKeys)
{
    TExtDevTable t;
    EXPECT_EQ(t.Find(Point(1)), 0u);
    ASSERT_TRUE(t.Add(Signal(7)));
    ASSERT_TRUE(t.Add(Point(7)));
    ASSERT_TRUE(t.Add(Sensor(7, 1)));
    ASSERT_TRUE(t.Add(Sensor(7, 2)));
    ASSERT_TRUE(t.Add(Point(7))); // already there: no change
    EXPECT_EQ(t.Find(Signal(7)), 49u);
    EXPECT_EQ(t.Find(Point(7)), 1u);
    EXPECT_EQ(t.Find(Sensor(7, 1)), 2u);
    EXPECT_EQ(t.Find(Sensor(7, 2)), 3u);
    EXPECT_EQ(t.Entry(4).DeviceType, edtNone);
    EXPECT_EQ(t.Entry(0).DeviceType, edtNone);
    EXPECT_EQ(t.Entry(61).DeviceType, edtNone);
}

TEST(ExtDevTable, RangesFillUpIndependently)
{
    TExtDevTable t;
    for (uint32_t i = 1; i <= 48; ++i) ASSERT_TRUE(t.Add(i % 2 ? Point(i) : Sensor(i, 1)));
    EXPECT_FALSE(t.Add(Point(100)));
    EXPECT_FALSE(t.Add(Sensor(100, 3)));
    EXPECT_TRUE(t.Add(Point(1))); // present already
    for (uint32_t i = 1; i <= 12; ++i) ASSERT_TRUE(t.Add(Signal(i)));
    EXPECT_FALSE(t.Add(Signal(13)));
    EXPECT_EQ(t.Find(Signal(12)), 60u);
}

TEST(ExtDevTable, SVLayoutOfEachKind)
{
    TExtDevTable t;
    t.Add(Sensor(300, 16)); // entry 1
    t.Add(Point(2048)); // entry 2
    t.Add(Point(258)); // entry 3
    t.Add(Signal(513)); // entry 49
    std::vector<uint8_t> svs(512, 0xEE);
    ASSERT_TRUE(t.ToSVs(svs));
    EXPECT_EQ(svs[39], 44);
    EXPECT_EQ(svs[40], 116);
    EXPECT_EQ(svs[41], 0);
    EXPECT_EQ(svs[42], 8);
    EXPECT_EQ(svs[43], 2);
    EXPECT_EQ(svs[44], 1);
    EXPECT_EQ(svs[135], 1); // SV 136, entry 49
    EXPECT_EQ(svs[136], 2);
    EXPECT_EQ(svs[45], 0); // free entry 4
    EXPECT_EQ(svs[46], 0);
    EXPECT_EQ(svs[158], 0); // SV 159, last byte of entry 60
    EXPECT_EQ(svs[38], 0xEE); // SV 39 untouched
    EXPECT_EQ(svs[159], 0xEE); // SV 160 untouched

    TExtDevTable back;
    ASSERT_TRUE(back.FromSVs(svs));
    EXPECT_EQ(back.Entry(1), Sensor(44, 16));
    EXPECT_EQ(back.Entry(1).Offset, 16u);
    EXPECT_EQ(back.Entry(2), Point(2048));
    EXPECT_EQ(back.Entry(3), Point(258));
    EXPECT_EQ(back.Entry(49), Signal(513));
    EXPECT_EQ(back.Entry(4).DeviceType, edtNone);
}

TEST(ExtDevTable, DecodingDependsOnRangeAndSecondByte)
{
    std::vector<uint8_t> svs(512, 0);
    svs[39] = 5; // entry 1: point 5 + 256*100
    svs[40] = 100;
    svs[135] = 9; // entry 49: signal 9
    svs[137] = 3; // entry 50: sensor 3, offset 1 in the signal range
    svs[138] = 101;
    TExtDevTable t;
    t.Add(Point(1)); // refilling replaces what was there
    t.FromSVs(svs);
    EXPECT_EQ(t.Entry(1), Point(5 + 25600));
    EXPECT_EQ(t.Entry(49), Signal(9));
    EXPECT_EQ(t.Entry(50), Sensor(3, 1));
    EXPECT_EQ(t.Find(Point(1)), 0u);
}

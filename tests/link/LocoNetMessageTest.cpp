#include "link/LocoNetMessage.h"

#include <gtest/gtest.h>

namespace {

TLocoNetMessage FromBytes(std::initializer_list<uint8_t> bytes)
{
    return TLocoNetMessage(std::data(bytes), static_cast<uint32_t>(bytes.size()));
}

TLocoNetMessage SvMessage(uint8_t b4, uint8_t b5, uint8_t b10)
{
    TLocoNetMessage m;
    const uint8_t bytes[15] = {0xE5, 0x10, 0x50, 0x01, b4, b5, 0, 0, 0, 0, b10, 0, 0, 0, 0};
    for (uint8_t b : bytes) m.AddByte(b);
    m.AddChecksum();
    return m;
}

TEST(LocoNetMessage, PowerOnIsValidAndNamed)
{
    TLocoNetMessage on = FromBytes({0x83, 0x7C});
    EXPECT_TRUE(on.IsValid());
    EXPECT_EQ(on.MessageType(), eOPCGPON);
    EXPECT_EQ(on.HexText(), "83 7C ");
    EXPECT_EQ(on.Text(), "OPC_GPON:83 7C ");
    TLocoNetMessage bad = FromBytes({0x83, 0x7D});
    EXPECT_FALSE(bad.IsValid());
    EXPECT_EQ(bad.MessageType(), eOPCUNKNOWN);
}

TEST(LocoNetMessage, SvAccessSplitsThreeWays)
{
    EXPECT_EQ(SvMessage(1, 0x00, 0x10).MessageType(), eOPCSVACCESS1);
    EXPECT_EQ(SvMessage(2, 0x10, 0x10).MessageType(), eOPCSVACCESS2);
    EXPECT_EQ(SvMessage(2, 0x10, 0x00).MessageType(), eOPCPEERXFER);
    EXPECT_EQ(SvMessage(1, 0x10, 0x10).MessageType(), eOPCPEERXFER);
}

TEST(LocoNetMessage, VariableLengthTypesDependOnLength)
{
    auto make = [](uint8_t op, uint8_t len) {
        TLocoNetMessage m;
        m.AddByte(op);
        m.AddByte(len);
        while (m.GetLength() < len - 1u) m.AddByte(0);
        m.AddChecksum();
        return m;
    };
    EXPECT_EQ(make(0xE4, 9).MessageType(), eOPCSE);
    EXPECT_EQ(make(0xE4, 12).MessageType(), eOPCSELONG);
    EXPECT_EQ(make(0xE4, 10).MessageType(), eOPCUNKNOWN);
    EXPECT_EQ(make(0xED, 31).MessageType(), eOPCSPCLOEM2);
    EXPECT_EQ(make(0xEE, 15).MessageType(), eOPCWRLIMDATA);
    EXPECT_EQ(make(0xEE, 16).MessageType(), eOPCALMWRACCESS);
}

TEST(LocoNetMessage, HexTextParsing)
{
    EXPECT_EQ(TLocoNetMessage("B0 01 30 7E").GetLength(), 4u);
    EXPECT_EQ(TLocoNetMessage("B0").GetLength(), 0u);
    EXPECT_EQ(TLocoNetMessage("B0").GetCapacity(), 0u);
    EXPECT_EQ(TLocoNetMessage("B0,01").GetLength(), 0u);
    TLocoNetMessage spaced("b0  1 30 7e ");
    EXPECT_EQ(spaced.HexText(), "B0 01 30 7E ");
    TLocoNetMessage low("01 1B0");
    EXPECT_EQ(low.HexText(), "01 B0 ");
    EXPECT_EQ(TLocoNetMessage("0x83 0x7C").HexText(), "83 7C ");
    EXPECT_EQ(TLocoNetMessage("83 7C zz").GetLength(), 2u); // no digit left: done
    EXPECT_EQ(TLocoNetMessage("83 7C z1").GetLength(), 0u);
}

// Each number is read the way strtoul reads base 16: white space before it skipped, a sign and a
// 0x/0X prefix accepted, a value beyond 32 bits saturated (on every system, as where unsigned long
// has 32 bits); only its low 8 bits are kept. What follows the number must be a blank or the end
// of the text.
TEST(LocoNetMessage, HexTextNumbersFollowStrtoulBase16)
{
    EXPECT_EQ(TLocoNetMessage("-1 +7f").HexText(), "FF 7F ");
    EXPECT_EQ(TLocoNetMessage("-7D 0X7C").HexText(), "83 7C ");
    EXPECT_EQ(TLocoNetMessage("\t83 \n7C").HexText(), "83 7C ");
    EXPECT_EQ(TLocoNetMessage("FFFFFFFFFFFFFFFFFF12 00").HexText(), "FF 00 ");
    EXPECT_EQ(TLocoNetMessage("123456712 FFFFFF12 -FFFFFF12 -100000012").HexText(), "FF 12 EE FF ");
    EXPECT_EQ(TLocoNetMessage(" 83  7C  ").HexText(), "83 7C ");
    // A prefix without digits reads as the number 0 and leaves "x" behind it.
    EXPECT_EQ(TLocoNetMessage("0x 83").GetLength(), 0u);
    // Only a blank may follow a number; a tab, a comma or a sign without digits may not.
    EXPECT_EQ(TLocoNetMessage("83\t7C").GetLength(), 0u);
    EXPECT_EQ(TLocoNetMessage("83 - 7C").GetLength(), 0u);
    EXPECT_EQ(TLocoNetMessage(std::string_view("83 7C\0 zz 1", 11)).HexText(), "83 7C ");
}

TEST(LocoNetMessage, GrowthAndBounds)
{
    TLocoNetMessage m;
    EXPECT_EQ(m.GetCapacity(), 16u);
    EXPECT_EQ(m.Text(), "Unknown:");
    for (uint8_t i = 0; i < 16; ++i) m.AddByte(i);
    EXPECT_EQ(m.GetCapacity(), 16u);
    m.AddByte(16);
    EXPECT_EQ(m.GetCapacity(), 32u);
    for (uint8_t i = 0; i < 17; ++i) EXPECT_EQ(m.GetByte(i), i);
    EXPECT_EQ(m.GetByte(17), 0);
    TLocoNetMessage copy(m);
    EXPECT_EQ(copy.GetCapacity(), 32u);
    EXPECT_EQ(copy.HexText(), m.HexText());
}

} // namespace

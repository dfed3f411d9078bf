#include "messages/LNLocoAddrMessage.h"
#include "messages/LNLocoDIRFMessage.h"
#include "messages/LNLocoF9F12Message.h"
#include "messages/LNLocoSNDMessage.h"
#include "messages/LNLocoSPDMessage.h"
#include "messages/LNLongACKMessage.h"
#include "messages/LNMoveSlotMessage.h"
#include "messages/LNPeerXferMessage.h"
#include "messages/LNSEMessage.h"
#include "messages/LNSensFBMessage.h"
#include "messages/LNSwReqMessage.h"
#include "messages/LNToFBMessage.h"
#include "messages/LNWriteSlotStat1Message.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// The message given by hex text, with its checksum appended.
TLocoNetMessage Msg(const char* hexWithoutChecksum)
{
    TLocoNetMessage parsed{std::string_view(hexWithoutChecksum)};
    TLocoNetMessage m;
    for (uint32_t i = 0; i < parsed.GetLength(); ++i) m.AddByte(parsed.GetByte(i));
    m.AddChecksum();
    return m;
}

template <class T> std::string TextAs(const char* hexWithoutChecksum)
{
    return T(Msg(hexWithoutChecksum)).Text();
}

TEST(SensFBMessage, DecodesBoardInputAndState)
{
    TLNSensFBMessage m(TLocoNetMessage(std::string_view("B2 05 50 18")));
    uint32_t board = 0, input = 0;
    bool on = false;
    ASSERT_TRUE(m.Decode(board, input, on));
    EXPECT_EQ(board, 1u);
    EXPECT_EQ(input, 11u);
    EXPECT_TRUE(on);
    EXPECT_EQ(m.Text(), "OPC_SENSORREP sensor report:1,11 On");
    // High address bits, the odd/even bit and the state bit.
    EXPECT_EQ(TextAs<TLNSensFBMessage>("B2 5D 62"), "OPC_SENSORREP sensor report:44,12 Off");
    EXPECT_EQ(TextAs<TLNSensFBMessage>("B2 20 41"), "OPC_SENSORREP sensor report:21,1 Off");
    EXPECT_EQ(TextAs<TLNSensFBMessage>("B2 7F 7F"), "OPC_SENSORREP sensor report:256,16 On");
}

TEST(SensFBMessage, BuildsTheReportItDecodes)
{
    EXPECT_EQ(TLNSensFBMessage(1, 11, true).HexText(), "B2 05 50 18 ");
    for (uint32_t board = 1; board <= 256; ++board)
        for (uint32_t input = 1; input <= 16; ++input)
            for (bool state : {false, true}) {
                TLNSensFBMessage m(board, input, state);
                uint32_t b = 0, i = 0;
                bool s = !state;
                ASSERT_TRUE(m.Decode(b, i, s)) << board << "," << input;
                ASSERT_EQ(b, board);
                ASSERT_EQ(i, input);
                ASSERT_EQ(s, state);
                // LocoNet sensor address from 0.
                ASSERT_EQ((m.GetByte(1) | (m.GetByte(2) & 0x0F) << 7) * 2 + ((m.GetByte(2) >> 5) & 1),
                          (board - 1) * 16 + input - 1);
            }
}

TEST(ToFBMessage, DecodesPointAndPosition)
{
    EXPECT_EQ(TextAs<TLNToFBMessage>("B1 00 50"), "Turnout Feedback, point number = 1 is CLOSED");
    EXPECT_EQ(TextAs<TLNToFBMessage>("B1 05 43"), "Turnout Feedback, point number = 390 is THROWN");
    // Bit 0x40 of byte 2 clear: an output state report, not turnout feedback.
    EXPECT_EQ(TextAs<TLNToFBMessage>("B1 05 03"), "Incorrect parse - not eOPCTOFB");
}

TEST(SwReqMessage, TextForEveryRequestState)
{
    EXPECT_EQ(TextAs<TLNSwReqMessage>("B0 00 00"), "OPC_SWREQ: Switch request, point number = 1, THROWN Released");
    EXPECT_EQ(TextAs<TLNSwReqMessage>("B0 4A 12"), "OPC_SWREQ: Switch request, point number = 331, THROWN Pressed");
    EXPECT_EQ(TextAs<TLNSwReqMessage>("B0 7F 2F"), "OPC_SWREQ: Switch request, point number = 2048, CLOSED Released");
    EXPECT_EQ(TLNSwReqMessage(TLocoNetMessage(std::string_view("B0 01 30 7E"))).Text(),
              "OPC_SWREQ: Switch request, point number = 2, CLOSED Pressed");
}

TEST(SwReqMessage, BuildsTheRequestItDecodes)
{
    EXPECT_EQ(TLNSwReqMessage(2, 3).HexText(), "B0 01 30 7E ");
    for (uint32_t point = 1; point <= 2048; ++point)
        for (uint32_t state = 0; state < 4; ++state) {
            TLNSwReqMessage m(point, state);
            uint32_t p = 0, s = 9;
            ASSERT_TRUE(m.Decode(p, s));
            ASSERT_EQ(p, point);
            ASSERT_EQ(s, state);
        }
    // A request state out of range cannot put a top bit into a payload byte.
    TLNSwReqMessage odd(1, 0x0B);
    EXPECT_LT(odd.GetByte(2), 0x80);
    EXPECT_TRUE(odd.IsValid());
}

TEST(SEMessage, AspectsAndSignalNumber)
{
    EXPECT_EQ(TextAs<TLNSEMessage>("E4 09 00 69 00 01 18 00"), "<SE> Signal message, Signal number = 106 is Green");
    EXPECT_EQ(TextAs<TLNSEMessage>("E4 09 02 03 00 00 00 00"), "<SE> Signal message, Signal number = 260 is RED");
    EXPECT_EQ(TextAs<TLNSEMessage>("E4 09 00 00 00 00 01 00"), "<SE> Signal message, Signal number = 1 is Amber");
    EXPECT_EQ(TextAs<TLNSEMessage>("E4 09 00 00 00 00 08 00"), "<SE> Signal message, Signal number = 1 is Amber");
    EXPECT_EQ(TextAs<TLNSEMessage>("E4 09 00 00 00 00 09 00"),
              "<SE> Signal message, Signal number = 1 is Double amber");
    EXPECT_EQ(TextAs<TLNSEMessage>("E4 09 00 00 00 00 10 00"),
              "<SE> Signal message, Signal number = 1 is Double amber");
    EXPECT_EQ(TextAs<TLNSEMessage>("E4 09 00 00 00 00 11 00"), "<SE> Signal message, Signal number = 1 is Green");
    // Values of 64 and more count in fours: 0x45 -> 20, 0x42 -> 8.
    EXPECT_EQ(TextAs<TLNSEMessage>("E4 09 00 00 00 00 45 00"), "<SE> Signal message, Signal number = 1 is Green");
    EXPECT_EQ(TextAs<TLNSEMessage>("E4 09 00 00 00 00 42 00"), "<SE> Signal message, Signal number = 1 is Amber");
    EXPECT_EQ(TextAs<TLNSEMessage>("E4 09 00 00 00 00 40 00"), "<SE> Signal message, Signal number = 1 is RED");
    // A reverse-running value overrides the aspect; 0x40 counts as 0 there too.
    EXPECT_EQ(TextAs<TLNSEMessage>("E4 09 00 00 00 00 18 01"),
              "<SE> Signal message, Signal number = 1 is RED, reverse running");
    EXPECT_EQ(TextAs<TLNSEMessage>("E4 09 00 00 00 00 18 7F"),
              "<SE> Signal message, Signal number = 1 is RED, reverse running");
    EXPECT_EQ(TextAs<TLNSEMessage>("E4 09 00 00 00 00 18 40"), "<SE> Signal message, Signal number = 1 is Green");
    // Only the 9-byte form.
    EXPECT_EQ(TextAs<TLNSEMessage>("E4 0C 00 00 00 00 18 00 00 00 00"), "Incorrect parse - not eOPCSE");
}

TEST(ThrottleMessages, SpeedDirectionAndFunctions)
{
    EXPECT_EQ(TextAs<TLNLocoSPDMessage>("A0 0D 7F"), "OPC_LOCO_SPD throttle speed: slot=13, speed=127");
    EXPECT_EQ(TextAs<TLNLocoDIRFMessage>("A1 0B 00"), "OPC_LOCO_DIRF throttle direction: slot=11, FORWARD; ");
    EXPECT_EQ(TextAs<TLNLocoDIRFMessage>("A1 02 3F"),
              "OPC_LOCO_DIRF throttle direction: slot=2, REVERSE; F0 set; F1 set; F2 set; F3 set; F4 set; ");
    EXPECT_EQ(TextAs<TLNLocoDIRFMessage>("A1 02 14"),
              "OPC_LOCO_DIRF throttle direction: slot=2, FORWARD; F0 set; F3 set; ");
    EXPECT_EQ(TextAs<TLNLocoSNDMessage>("A2 0E 04"), "OPC_LOCO_SND throttle functions: slot=14; F7 set; ");
    EXPECT_EQ(TextAs<TLNLocoSNDMessage>("A2 0E 0F"),
              "OPC_LOCO_SND throttle functions: slot=14; F5 set; F6 set; F7 set; F8 set; ");
    EXPECT_EQ(TextAs<TLNLocoSNDMessage>("A2 00 00"), "OPC_LOCO_SND throttle functions: slot=0; ");
    EXPECT_EQ(TextAs<TLNLocoF9F12Message>("A3 02 01"), "OPC_LOCO_F9F12 throttle functions: slot=2; F9 set; ");
    EXPECT_EQ(TextAs<TLNLocoF9F12Message>("A3 02 0E"),
              "OPC_LOCO_F9F12 throttle functions: slot=2; F10 set; F11 set; F12 set; ");

    TLNLocoDIRFMessage dirf(Msg("A1 05 29"));
    uint32_t slot = 0;
    bool forward = true;
    std::array<bool, 5> f{};
    ASSERT_TRUE(dirf.Decode(slot, forward, f));
    EXPECT_EQ(slot, 5u);
    EXPECT_FALSE(forward);
    EXPECT_EQ(f, (std::array<bool, 5>{false, true, false, false, true}));
}

TEST(SlotMessages, MoveStatusAndAddress)
{
    EXPECT_EQ(TextAs<TLNMoveSlotMessage>("BA 01 02"), "OPC_MOVE_SLOTS: move FROM slot 1 TO slot 2");
    EXPECT_EQ(TextAs<TLNWriteSlotStat1Message>("B5 07 13"),
              "OPC_SLOT_STAT1: slot=7;Slot Common;Free Loco;DCC 128 Speed Steps");
    EXPECT_EQ(TextAs<TLNWriteSlotStat1Message>("B5 25 1B"),
              "OPC_SLOT_STAT1: slot=37;Slot Common;Consist Top;DCC 128 Speed Steps");
    EXPECT_EQ(TextAs<TLNWriteSlotStat1Message>("B5 01 40"),
              "OPC_SLOT_STAT1: slot=1;Slot Free;Consist SubMember;DCC 28 Speed Steps");
    EXPECT_EQ(TextAs<TLNWriteSlotStat1Message>("B5 01 79"), "OPC_SLOT_STAT1: slot=1;Slot In Use;Mid Consist;Trinary");
    EXPECT_EQ(TextAs<TLNWriteSlotStat1Message>("B5 01 22"),
              "OPC_SLOT_STAT1: slot=1;Slot Idle;Free Loco;DCC 14 Speed Steps");
    EXPECT_EQ(TextAs<TLNWriteSlotStat1Message>("B5 01 04"),
              "OPC_SLOT_STAT1: slot=1;Slot Free;Free Loco;DCC 28 Speed Steps, FX decoder");
    EXPECT_EQ(TextAs<TLNWriteSlotStat1Message>("B5 01 05"), "OPC_SLOT_STAT1: slot=1;Slot Free;Free Loco;Reserved");
    EXPECT_EQ(TextAs<TLNWriteSlotStat1Message>("B5 01 06"), "OPC_SLOT_STAT1: slot=1;Slot Free;Free Loco;Reserved");
    EXPECT_EQ(TextAs<TLNWriteSlotStat1Message>("B5 01 07"),
              "OPC_SLOT_STAT1: slot=1;Slot Free;Free Loco;DCC 128 Speed Steps, FX decoder");
    EXPECT_EQ(TextAs<TLNLocoAddrMessage>("BF 21 31"), "OPC_LOCO_ADDR, loco=4273");
    EXPECT_EQ(TextAs<TLNLocoAddrMessage>("BF 00 03"), "OPC_LOCO_ADDR, loco=3");
}

TEST(LongACKMessage, OpcodeAndResponse)
{
    EXPECT_EQ(TextAs<TLNLongACKMessage>("B4 3F 00"), "OPC_LONG_ACK opcode=BF, response=0");
    EXPECT_EQ(TextAs<TLNLongACKMessage>("B4 6F 7F"), "OPC_LONG_ACK opcode=EF, response=127");
    EXPECT_EQ(TextAs<TLNLongACKMessage>("B4 00 01"), "OPC_LONG_ACK opcode=fail, response=1");
}

TEST(PeerXferMessage, UnknownFormatShowsRestoredDataBytes)
{
    TLNPeerXferMessage m(Msg("E5 10 05 06 07 03 11 12 13 14 0C 21 22 23 24"));
    EXPECT_FALSE(m.IsLocoBufferReply());
    EXPECT_EQ(m.GetDataByte(0), 0x91);
    EXPECT_EQ(m.GetDataByte(1), 0x92);
    EXPECT_EQ(m.GetDataByte(6), 0xA3);
    EXPECT_EQ(m.GetDataByte(8), 0);
    EXPECT_EQ(m.Text(), "Peer Transfer: Unknown or improper format Src=5 Dst=902 D1=91 D2=92 D3=13 D4=14 D5=21 D6=22 "
                        "D7=A3 D8=A4");
    uint32_t kind = 9, src = 0, dst = 0;
    std::array<uint8_t, 8> data{};
    ASSERT_TRUE(m.Decode(kind, src, dst, data));
    EXPECT_EQ(kind, 0u);
    EXPECT_EQ(src, 5u);
    EXPECT_EQ(dst, 902u);
    EXPECT_EQ(data, (std::array<uint8_t, 8>{0x91, 0x92, 0x13, 0x14, 0x21, 0x22, 0xA3, 0xA4}));
}

TEST(PeerXferMessage, LocoBufferStatusReply)
{
    TLNPeerXferMessage m(Msg("E5 10 50 50 01 00 21 00 01 02 00 13 00 03 04"));
    EXPECT_TRUE(m.IsLocoBufferReply());
    EXPECT_EQ(m.BadFrames(), 258u);
    EXPECT_EQ(m.Collisions(), 772u);
    EXPECT_EQ(m.Text(), "LocoBuffer V2.1.1.3, Bad Frames = 258, Collisions = 772");
    // Top bits restored before the counters are formed.
    TLNPeerXferMessage big(Msg("E5 10 50 50 01 0E 21 7F 7F 7F 0E 13 7F 7F 7F"));
    EXPECT_EQ(big.BadFrames(), 0xFFFFFFu);
    EXPECT_EQ(big.Collisions(), 0xFFFFFFu);
    EXPECT_EQ(big.Text(), "LocoBuffer V2.1.1.3, Bad Frames = 16777215, Collisions = 16777215");
}

TEST(TypedMessages, WrongKindGivesFailureTextAndLeavesOutputsAlone)
{
    const TLocoNetMessage dirf = Msg("A1 02 3F");
    TLNLocoSPDMessage spd(dirf);
    uint32_t slot = 77, speed = 88;
    EXPECT_FALSE(spd.Decode(slot, speed));
    EXPECT_EQ(slot, 77u);
    EXPECT_EQ(speed, 88u);
    EXPECT_EQ(spd.Text(), "Incorrect parse - not eOPCLOCOSPD");

    const std::pair<std::string, std::string> failures[] = {
        {TLNSensFBMessage(dirf).Text(), "Incorrect parse - not eOPCSENS"},
        {TLNToFBMessage(dirf).Text(), "Incorrect parse - not eOPCTOFB"},
        {TLNSwReqMessage(dirf).Text(), "Incorrect parse - not eOPCSWREQ"},
        {TLNSEMessage(dirf).Text(), "Incorrect parse - not eOPCSE"},
        {TLNLocoDIRFMessage(Msg("A0 01 02")).Text(), "Incorrect parse - not eOPCLOCODIRF"},
        {TLNLocoSNDMessage(dirf).Text(), "Incorrect parse - not eOPCLOCOSND"},
        {TLNLocoF9F12Message(dirf).Text(), "Incorrect parse - not eOPCLOCOF9F12"},
        {TLNMoveSlotMessage(dirf).Text(), "Incorrect parse - not eOPCMOVESLOTS"},
        {TLNWriteSlotStat1Message(dirf).Text(), "Incorrect parse - not eOPCSLOTSTAT1"},
        {TLNLocoAddrMessage(dirf).Text(), "Incorrect parse - not eOPCLOCOADR"},
        {TLNLongACKMessage(dirf).Text(), "Incorrect parse - not eOPCLONGACK"},
        {TLNPeerXferMessage(dirf).Text(), "Incorrect parse - not eOPCPEERXFER"},
    };
    for (const auto& [got, want] : failures) EXPECT_EQ(got, want);

    // A bad checksum makes any message unparsable.
    EXPECT_EQ(TLNSensFBMessage(TLocoNetMessage(std::string_view("B2 05 50 19"))).Text(),
              "Incorrect parse - not eOPCSENS");
    // So does an empty one.
    EXPECT_EQ(TLNSensFBMessage(TLocoNetMessage()).Text(), "Incorrect parse - not eOPCSENS");
}

TEST(TypedMessages, CopyAndTakeOverKeepTheBytes)
{
    TLocoNetMessage plain = Msg("B2 05 50");
    TLNSensFBMessage copied(plain);
    EXPECT_EQ(copied.HexText(), plain.HexText());
    EXPECT_EQ(copied.GetCapacity(), plain.GetCapacity());
    TLNSensFBMessage taken(std::move(plain));
    EXPECT_EQ(taken.HexText(), "B2 05 50 18 ");
    static_assert(sizeof(TLNSensFBMessage) == sizeof(TLocoNetMessage));
    static_assert(sizeof(TLNPeerXferMessage) == sizeof(TLocoNetMessage));
}

} // namespace

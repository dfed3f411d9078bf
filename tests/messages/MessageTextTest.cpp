#include "messages/MessageText.h"

#include "messages/LNPeerXferMessage.h"
#include "messages/LNSensFBMessage.h"
#include "support/LocoNetCorpus.h"
#include "svprog/SVProgMessage.h"

#include <gtest/gtest.h>

#include <set>

namespace {

TLocoNetMessage FromHex(const char* hex)
{
    return TLocoNetMessage(std::string_view(hex));
}

TEST(MessageText, TypedKindsShowDecodedText)
{
    EXPECT_EQ(ExpandedMessageText(FromHex("B2 05 50 18")), "OPC_SENSORREP sensor report:1,11 On");
    EXPECT_EQ(FromHex("B2 05 50 18").Text(), "OPC_SENSORREP:B2 05 50 18 ");
    EXPECT_EQ(ExpandedMessageText(FromHex("B0 01 30 7E")),
              "OPC_SWREQ: Switch request, point number = 2, CLOSED Pressed");
    EXPECT_EQ(ExpandedMessageText(FromHex("E5 10 00 01 02 11 68 03 05 00 11 0C 00 00 00 6B")),
              "SV Access: Write 1 Byte Dst=1000 Addr=0005 data=8C");
    EXPECT_EQ(ExpandedMessageText(FromHex("BF 21 31 50")), "OPC_LOCO_ADDR, loco=4273");
}

TEST(MessageText, OtherKindsShowOpcodeNameAndBytes)
{
    EXPECT_EQ(ExpandedMessageText(FromHex("83 7C")), "OPC_GPON:83 7C ");
    EXPECT_EQ(ExpandedMessageText(FromHex("83 7D")), "Unknown:83 7D ");
    EXPECT_EQ(ExpandedMessageText(FromHex("B1 00 00 4E")), "OPC_OPSTATE:B1 00 00 4E ");
    // SV access messages of the first format reach the monitor untyped.
    EXPECT_EQ(ExpandedMessageText(FromHex("E5 10 50 53 01 00 02 03 00 00 10 01 00 00 00 18")),
              "OPC_SVACCESS Type 1:E5 10 50 53 01 00 02 03 00 00 10 01 00 00 00 18 ");
    EXPECT_EQ(ExpandedMessageText(TLocoNetMessage()), "Unknown:");
}

TEST(MessageText, TypedObjectsMatchTheHelperOnTheWholeCorpus)
{
    std::set<ELocoNetMsgType> typedKinds;
    for (const auto& e : testcorpus::LoadLocoNetCorpus()) {
        TLocoNetMessage m(e.bytes.data(), static_cast<uint32_t>(e.bytes.size()));
        const ELocoNetMsgType type = m.MessageType();
        const std::string expanded = ExpandedMessageText(m);
        auto typed = MakeTypedMessage(TLocoNetMessage(m));
        ASSERT_NE(typed, nullptr);
        EXPECT_EQ(typed->HexText(), m.HexText());
        EXPECT_EQ(typed->Text(), expanded) << e.hex;
        EXPECT_EQ(expanded.find("Incorrect parse"), std::string::npos) << e.hex;
        if (expanded != m.Text()) typedKinds.insert(type);
        if (type == eOPCSVACCESS2) {
            EXPECT_NE(dynamic_cast<TLNSVProgMessage*>(typed.get()), nullptr);
        }
        if (type == eOPCSENS) {
            EXPECT_NE(dynamic_cast<TLNSensFBMessage*>(typed.get()), nullptr);
        }
        if (type == eOPCPEERXFER) {
            EXPECT_NE(dynamic_cast<TLNPeerXferMessage*>(typed.get()), nullptr);
        }
        if (type == eOPCSVACCESS1 || type == eOPCUNKNOWN) {
            EXPECT_EQ(expanded, m.Text());
        }
    }
    // The corpus exercises most of the typed kinds.
    EXPECT_GE(typedKinds.size(), 10u);
}

} // namespace

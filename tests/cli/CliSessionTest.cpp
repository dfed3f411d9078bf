// The command line's host wiring: what a conversation learns from the session that runs it.
#include "cli/CliHost.h"

#include <gtest/gtest.h>

namespace {

// A conversation at rest that keeps what it is told.
class TRestingConversation : public TBusConversation {
public:
    void HandleSVMessage(const TLNSVProgMessage&) override {}
    void TimeoutTimerTimer() override {}
    void MsgDelayTimerTimer() override {}
    bool IsIdle() const override { return true; }
    void Stop() override {}
};

class CliSessionInterface : public ::testing::TestWithParam<ELocoNetInterface> {};

TEST_P(CliSessionInterface, TellsTheConversationTheInterfaceOfTheLink)
{
    cli::TBusOptions bus;
    bus.Device = "sim:traffic=off";
    bus.Interface = GetParam();
    cli::TCliSession session("test");
    TRestingConversation conversation;
    conversation.SetLinkInterface(GetParam() == ePR3 ? eMS100 : ePR3);
    ASSERT_TRUE(session.Open(conversation, bus));
    EXPECT_EQ(conversation.GetLinkInterface(), GetParam());
}

INSTANTIATE_TEST_SUITE_P(Interfaces, CliSessionInterface, ::testing::Values(eMS100, eLocoBuffer, ePR3));

} // namespace

#include "link/EchoMatcher.h"

#include <gtest/gtest.h>

namespace {

void Send(TEchoMatcher& echoes, const char* hex, int64_t timeUs)
{
    const TLocoNetMessage m{std::string_view(hex)};
    echoes.Sent(m.GetData(), m.GetLength(), timeUs);
}

bool Echo(TEchoMatcher& echoes, const char* hex, int64_t timeUs)
{
    return echoes.IsEcho(TLocoNetMessage{std::string_view(hex)}, timeUs);
}

} // namespace

TEST(EchoMatcher, OwnMessagesComeBackOnceOthersNever)
{
    TEchoMatcher echoes;
    Send(echoes, "83 7C", 1000);
    Send(echoes, "B0 00 30 7F", 1100);
    EXPECT_FALSE(Echo(echoes, "B2 05 50 18", 1500)); // another device's, in between
    EXPECT_TRUE(Echo(echoes, "83 7C", 2000));
    EXPECT_FALSE(Echo(echoes, "83 7C", 2100)); // a second one is someone else's
    EXPECT_TRUE(Echo(echoes, "B0 00 30 7F", 2200));
    EXPECT_EQ(echoes.WaitingCount(), 0u);
}

TEST(EchoMatcher, LostAndLateMessagesAreForgotten)
{
    TEchoMatcher echoes;
    Send(echoes, "83 7C", 0);
    Send(echoes, "82 7D", 10);
    // The second came back, so the first was lost: the interface sends in order.
    EXPECT_TRUE(Echo(echoes, "82 7D", 500));
    EXPECT_FALSE(Echo(echoes, "83 7C", 600));

    Send(echoes, "83 7C", 1000);
    EXPECT_FALSE(Echo(echoes, "83 7C", 1000 + TEchoMatcher::kWindowUs + 1));

    for (int i = 0; i < 100; ++i) Send(echoes, "83 7C", 5000000);
    EXPECT_EQ(echoes.WaitingCount(), TEchoMatcher::kMaxWaiting);
}

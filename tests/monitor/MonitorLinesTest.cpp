// The monitor's line store, its columns and filters, the bus load and the live log (no Qt).
#include "monitor/MonitorLines.h"
#include "monitor/BusLoad.h"
#include "messages/MessageKind.h"
#include "messages/MessageText.h"
#include "monitor/MonitorLog.h"
#include "support/LocoNetCorpus.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <unistd.h>

namespace {

TLocoNetMessage Msg(const char* hex)
{
    return TLocoNetMessage(std::string_view(hex));
}

std::string TimeColumn(int64_t us)
{
    std::string s;
    AppendTimeColumn(s, us);
    return s;
}

} // namespace

TEST(MonitorLines, TimeColumnShowsMillisecondsToOneTenth)
{
    struct {
        int64_t us;
        const char* text;
    } cases[] = {
        {0, "       0.0  "},           {99, "       0.0  "}, // below 0.1 ms
        {100, "       0.1  "},         {1299, "       1.2  "}, // cut, never rounded up
        {1234567, "    1234.5  "},     {999999999, "  999999.9  "},
        {86400000000, "86400000.0  "}, {8640000000000, "8640000000.0  "}, // wider after 115 days
        {-5, "       0.0  "},
    };
    for (const auto& c : cases) EXPECT_EQ(TimeColumn(c.us), c.text) << c.us;
}

TEST(MonitorLines, ColumnsStandBeforeTheText)
{
    const TLocoNetMessage sensor = Msg("B2 05 50 18");
    std::string line;
    AppendMonitorLine(line, sensor, 2500, true, true, {});
    EXPECT_EQ(line, "OPC_SENSORREP sensor report:1,11 On"); // no columns: the line as it always was

    line.clear();
    AppendMonitorLine(line, sensor, 2500, true, false, {.Time = true, .Direction = true, .Hex = true});
    EXPECT_EQ(line, "       2.5  sent  B2 05 50 18  " + sensor.TLocoNetMessage::Text());

    line.clear();
    AppendMonitorLine(line, sensor, 0, false, true, {.Direction = true});
    EXPECT_EQ(line, "recv  OPC_SENSORREP sensor report:1,11 On");
}

TEST(MonitorLines, RawBytesColumnIsAsWideAsTheLongestMessageKept)
{
    const TMonitorColumns hex{.Hex = true};
    TMonitorLines lines;
    lines.Append(Msg("83 7C"), 0, false, false);
    lines.Append(Msg("B2 05 50 18"), 0, false, false);
    EXPECT_EQ(lines.LongestMessage(), 4u);
    EXPECT_EQ(lines.Text(0, hex), "83 7C        OPC_GPON:83 7C ");
    EXPECT_EQ(lines.Text(1, hex), "B2 05 50 18  OPC_SENSORREP:B2 05 50 18 ");
    // A longer message widens the column of every line, and clearing narrows it again.
    lines.Append(Msg("E5 10 00 01 02 11 68 03 05 00 11 0C 00 00 00 6B"), 0, false, false);
    EXPECT_EQ(lines.Text(0, hex).find("OPC_GPON"), 49u);
    EXPECT_EQ(lines.Text(2, hex).find("OPC_SVACCESS"), 49u);
    lines.Clear();
    lines.Append(Msg("83 7C"), 0, false, false);
    EXPECT_EQ(lines.Text(0, hex), "83 7C  OPC_GPON:83 7C ");
}

TEST(MonitorLines, KeepBytesTimeDirectionAndModeOfEachLine)
{
    TMonitorLines lines;
    lines.Append(Msg("B2 05 50 18"), 10, false, true);
    lines.Append(Msg("B2 05 50 18"), 20, true, false);
    lines.Append(Msg("E5 10 00 01 02 11 68 03 05 00 11 0C 00 00 00 6B"), 30, false, true);
    ASSERT_EQ(lines.Count(), 3u);
    EXPECT_EQ(lines.Message(2).HexText(), "E5 10 00 01 02 11 68 03 05 00 11 0C 00 00 00 6B ");
    EXPECT_EQ(lines.TimeUs(1), 20);
    EXPECT_TRUE(lines.Echo(1));
    EXPECT_EQ(lines.Type(2), eOPCSVACCESS2);
    EXPECT_EQ(lines.Text(0, {}), "OPC_SENSORREP sensor report:1,11 On");
    EXPECT_EQ(lines.Text(1, {}), Msg("B2 05 50 18").TLocoNetMessage::Text()); // not expanded when it came
    EXPECT_EQ(lines.Text(2, {}), ExpandedMessageText(lines.Message(2)));
    lines.Clear();
    EXPECT_EQ(lines.Count(), 0u);
}

TEST(MonitorLines, RealTrafficCostsAtMost64BytesALine)
{
    const auto corpus = testcorpus::LoadLocoNetCorpus();
    TMonitorLines lines;
    for (int round = 0; lines.Count() < 200000; ++round)
        for (const auto& e : corpus)
            lines.Append(TLocoNetMessage(e.bytes.data(), static_cast<uint32_t>(e.bytes.size())), round, false, true);
    EXPECT_LE(lines.MemoryUsed() / lines.Count(), 64u);
    EXPECT_EQ(lines.Message(lines.Count() - 1).GetLength(), corpus[(lines.Count() - 1) % corpus.size()].bytes.size());
}

TEST(MessageKinds, KindAndAddressesOfEachFamily)
{
    struct {
        const char* hex;
        EMessageKind kind;
        std::vector<uint32_t> addresses;
    } cases[] = {
        {"83 7C", EMessageKind::Power, {}},
        {"85 7A", EMessageKind::Power, {}},
        {"B2 05 50 18", EMessageKind::Sensors, {11}}, // board 1 input 11
        {"B2 7F 7F 4D", EMessageKind::Sensors, {4096}}, // the last input
        {"B0 00 30 7F", EMessageKind::Switches, {1}},
        {"B1 10 5F 01", EMessageKind::Switches, {1937}}, // turnout feedback
        {"A0 03 20 7C", EMessageKind::Throttles, {3}},
        {"BF 00 03 43", EMessageKind::Throttles, {}}, // asks for a loco, names no slot
        {"BA 02 03 44", EMessageKind::Slots, {2, 3}},
        {"BB 05 00 41", EMessageKind::Slots, {5}},
        {"E5 10 00 01 02 11 68 03 05 00 11 0C 00 00 00 6B", EMessageKind::SVProgramming, {1000}},
        {"E5 10 50 50 01 00 02 03 00 00 00 00 00 00 00 0A", EMessageKind::PeerTransfer, {}},
        {"B4 3F 00 74", EMessageKind::Other, {}},
        {"F0 0F", EMessageKind::Other, {}},
    };
    for (const auto& c : cases) {
        const TLocoNetMessage m = Msg(c.hex);
        EXPECT_EQ(MessageKindOf(m.MessageType()), c.kind) << c.hex;
        const TMessageAddresses a = MessageAddresses(m, m.MessageType());
        EXPECT_EQ(std::vector<uint32_t>(a.Values.begin(), a.Values.begin() + a.Count), c.addresses) << c.hex;
    }
    EXPECT_STREQ(MessageKindName(EMessageKind::SVProgramming), "SV programming");
}

TEST(MonitorFilter, KindsAddressesAndTextMustAllMatch)
{
    TMonitorLines lines;
    for (const char* hex : {"83 7C", "B2 05 50 18", "B2 07 50 1A", "B0 04 30 7B", "BA 02 05 42"})
        lines.Append(Msg(hex), 0, false, true);
    auto shown = [&](const TMonitorFilter& f, const TMonitorColumns& columns = {}) {
        std::string scratch, which;
        for (std::size_t i = 0; i < lines.Count(); ++i) which += f.Accepts(lines, i, columns, scratch) ? '1' : '0';
        return which;
    };
    TMonitorFilter f;
    EXPECT_FALSE(f.Active());
    EXPECT_EQ(shown(f), "11111");
    f.Kinds = MessageKindBit(EMessageKind::Sensors) | MessageKindBit(EMessageKind::Slots);
    EXPECT_EQ(shown(f), "01101");
    f.Addresses = {{5, 5}, {15, 20}}; // point 5, sensor 15 (board 1 input 15), slot 5
    EXPECT_EQ(shown(f), "00101");
    f.Kinds = kAllMessageKinds;
    EXPECT_EQ(shown(f), "00111");
    f.Addresses.clear();
    f.Text = "sensor REPORT:1,1";
    EXPECT_EQ(shown(f), "01100");
    f.Text = "recv";
    EXPECT_EQ(shown(f), "00000");
    EXPECT_EQ(shown(f, {.Direction = true}), "11111"); // the text of the line as shown
}

TEST(MonitorFilter, AddressesAreNumbersAndRanges)
{
    using R = std::vector<std::pair<uint32_t, uint32_t>>;
    struct {
        const char* text;
        bool ok;
        R ranges;
    } cases[] = {
        {"", true, {}},
        {"  ", true, {}},
        {"5", true, {{5, 5}}},
        {" 5 , 100-115,7", true, {{5, 5}, {100, 115}, {7, 7}}},
        {"100 - 115", true, {{100, 115}}},
        {"1,11", true, {{1, 1}, {11, 11}}},
        {"a", false, {}},
        {"5-", false, {}},
        {"9-3", false, {}},
        {"5;6", false, {}},
        {"-5", false, {}},
        {"99999999999", false, {}},
    };
    for (const auto& c : cases) {
        R ranges{{1, 1}};
        std::string error;
        EXPECT_EQ(ParseAddressRanges(c.text, ranges, error), c.ok) << c.text;
        EXPECT_EQ(ranges, c.ranges) << c.text;
        EXPECT_EQ(error.empty(), c.ok) << c.text;
    }
}

TEST(BusLoad, MessagesAndShareOfTheLastSecond)
{
    TBusLoad load; // 16457 baud
    for (int i = 0; i < 100; ++i) load.Add(5000000 + i * 9000, 4); // 100 messages of 4 bytes in 0.9 s
    TBusLoad::TFigures f = load.LastSecond(5950000);
    EXPECT_EQ(f.MessagesPerSecond, 100u);
    EXPECT_NEAR(f.SharePercent, 100.0 * 4 * 100 * 10 / 16457, 0.01); // 24.3 %
    f = load.LastSecond(6500000); // half a second later: the first half has gone
    EXPECT_EQ(f.MessagesPerSecond, 43u);
    f = load.LastSecond(8000000); // a quiet bus
    EXPECT_EQ(f.MessagesPerSecond, 0u);
    EXPECT_EQ(f.SharePercent, 0.0);
    load.Add(8000000, 2);
    load.Clear();
    EXPECT_EQ(load.LastSecond(8000000).MessagesPerSecond, 0u);
}

TEST(MonitorLog, WritesLinesAndReportsWhatCannotBeWritten)
{
    const auto dir = std::filesystem::temp_directory_path() / ("monitorlog-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    // A UTF-8 name outside ASCII, as the window gives it.
    const std::filesystem::path path = dir / std::filesystem::path(u8"live Ω.txt");
    const std::u8string name = path.u8string();
    const std::string file(name.begin(), name.end());
    TMonitorLog log;
    std::string error;
    ASSERT_TRUE(log.Open(file, error)) << error;
    log.Write("one");
    log.Write("two");
    ASSERT_TRUE(log.Flush(error));
    {
        std::ifstream in(path, std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        EXPECT_EQ(text.str(), "one\r\ntwo\r\n"); // there before the log stops
    }
    log.Write("three");
    EXPECT_TRUE(log.Close(error));
    EXPECT_FALSE(log.IsOpen());

    EXPECT_FALSE(log.Open((dir / "no" / "such" / "log.txt").string(), error));
    EXPECT_EQ(error, "No such file or directory");
    std::filesystem::remove_all(dir);

    if (std::FILE* full = std::fopen("/dev/full", "wb")) {
        std::fclose(full);
        ASSERT_TRUE(log.Open("/dev/full", error));
        log.Write("lost");
        EXPECT_FALSE(log.Flush(error));
        EXPECT_EQ(error, "No space left on device");
        log.Close(error);
    }
}

#include "monitor/MonitorLines.h"

#include "link/TextFormat.h"
#include "messages/MessageText.h"

#include <algorithm>
#include <charconv>

namespace {

char Lower(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

} // namespace

void AppendTimeColumn(std::string& out, int64_t timeUs)
{
    const uint64_t tenths = static_cast<uint64_t>(std::max<int64_t>(timeUs, 0)) / 100; // of a millisecond
    char number[24];
    char* end = std::to_chars(number, number + 20, tenths / 10).ptr;
    *end++ = '.';
    *end++ = static_cast<char>('0' + tenths % 10);
    const auto width = static_cast<std::size_t>(end - number);
    if (width < 10) out.append(10 - width, ' ');
    out.append(number, width);
    out += "  ";
}

const char* DirectionText(bool echo)
{
    return echo ? "sent  " : "recv  ";
}

void AppendMonitorLine(std::string& out, const TLocoNetMessage& msg, int64_t timeUs, bool echo, bool expanded,
                       const TMonitorColumns& columns, std::size_t hexBytes)
{
    if (columns.Time) AppendTimeColumn(out, timeUs);
    if (columns.Direction) out += DirectionText(echo);
    if (columns.Hex) {
        // Two digits a byte and a blank between two bytes.
        const std::size_t start = out.size();
        for (uint32_t i = 0; i < msg.GetLength(); ++i) {
            if (i > 0) out += ' ';
            textformat::AppendHex(out, msg.GetByte(i), 2);
        }
        const std::size_t width = out.size() - start;
        const std::size_t room = hexBytes > 0 ? 3 * hexBytes - 1 : 0;
        if (width < room) out.append(room - width, ' ');
        out += "  ";
    }
    out += expanded ? ExpandedMessageText(msg) : msg.TLocoNetMessage::Text();
}

void TMonitorLines::Append(const TLocoNetMessage& msg, int64_t timeUs, bool echo, bool expanded)
{
    const uint32_t length = std::min<uint32_t>(msg.GetLength(), 255); // the link frames at most 127
    TRecord r{};
    r.TimeUs = timeUs;
    r.Offset = Bytes.size();
    r.Length = length;
    r.Type = static_cast<uint64_t>(msg.MessageType());
    r.Echo = echo ? 1 : 0;
    r.Expanded = expanded ? 1 : 0;
    Records.push_back(r);
    Bytes.insert(Bytes.end(), msg.GetData(), msg.GetData() + length);
    Longest = std::max<std::size_t>(Longest, length);
}

void TMonitorLines::Clear()
{
    std::vector<TRecord>().swap(Records);
    std::vector<uint8_t>().swap(Bytes);
    Longest = 0;
}

TLocoNetMessage TMonitorLines::Message(std::size_t i) const
{
    const TRecord& r = Records[i];
    return TLocoNetMessage(Bytes.data() + r.Offset, static_cast<uint32_t>(r.Length));
}

void TMonitorLines::AppendText(std::string& out, std::size_t i, const TMonitorColumns& columns) const
{
    const TRecord& r = Records[i];
    AppendMonitorLine(out, Message(i), r.TimeUs, r.Echo != 0, r.Expanded != 0, columns, Longest);
}

std::string TMonitorLines::Text(std::size_t i, const TMonitorColumns& columns) const
{
    std::string out;
    AppendText(out, i, columns);
    return out;
}

std::size_t TMonitorLines::MemoryUsed() const
{
    return Records.capacity() * sizeof(TRecord) + Bytes.capacity();
}

bool TMonitorFilter::AcceptsKindAndAddress(const TLocoNetMessage& msg, ELocoNetMsgType type) const
{
    if ((Kinds & MessageKindBit(MessageKindOf(type))) == 0) return false;
    if (Addresses.empty()) return true;
    const TMessageAddresses named = MessageAddresses(msg, type);
    for (int k = 0; k < named.Count; ++k) {
        const uint32_t a = named.Values[static_cast<std::size_t>(k)];
        for (const auto& [low, high] : Addresses)
            if (a >= low && a <= high) return true;
    }
    return false;
}

bool TMonitorFilter::Accepts(const TMonitorLines& lines, std::size_t i, const TMonitorColumns& columns,
                             std::string& scratch) const
{
    if ((Kinds & MessageKindBit(MessageKindOf(lines.Type(i)))) == 0) return false;
    if (!Addresses.empty() && !AcceptsKindAndAddress(lines.Message(i), lines.Type(i))) return false;
    if (Text.empty()) return true;
    scratch.clear();
    lines.AppendText(scratch, i, columns);
    return ContainsIgnoringCase(scratch, Text);
}

bool ContainsIgnoringCase(std::string_view text, std::string_view needle)
{
    if (needle.empty()) return true;
    auto it = std::search(text.begin(), text.end(), needle.begin(), needle.end(),
                          [](char a, char b) { return Lower(a) == Lower(b); });
    return it != text.end();
}

bool ParseAddressRanges(std::string_view text, std::vector<std::pair<uint32_t, uint32_t>>& ranges, std::string& error)
{
    ranges.clear();
    auto fail = [&](const char* reason) {
        error = reason;
        ranges.clear();
        return false;
    };
    auto skipBlanks = [&text] {
        while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    };
    auto number = [&](uint32_t& value) {
        skipBlanks();
        auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
        if (ec != std::errc() || end == text.data()) return false;
        text.remove_prefix(static_cast<std::size_t>(end - text.data()));
        skipBlanks();
        return true;
    };
    const char* const kForm = "an address is a number, or two joined by '-' (as in 100-115), separated by commas";
    skipBlanks();
    while (!text.empty()) {
        uint32_t low = 0;
        if (!number(low)) return fail(kForm);
        uint32_t high = low;
        if (!text.empty() && text.front() == '-') {
            text.remove_prefix(1);
            if (!number(high)) return fail(kForm);
            if (high < low) return fail("a range of addresses runs from the lower number to the higher");
        }
        ranges.emplace_back(low, high);
        if (text.empty()) break;
        if (text.front() != ',') return fail(kForm);
        text.remove_prefix(1);
        skipBlanks();
    }
    return true;
}

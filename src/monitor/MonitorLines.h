#pragma once
// What the monitor keeps of each received message and how it shows one as a line.
//
// A line keeps the message bytes, when the message was read, whether it is the echo of one this
// program wrote, and whether "Expand Messages" was ticked when it came; its text is built only
// when it is shown, saved, logged or searched. The bytes of all lines lie back to back in one
// buffer beside a 16-byte record per line.

#include "link/LocoNetMessage.h"
#include "messages/MessageKind.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// The optional columns in front of the message text.
struct TMonitorColumns {
    bool Time = false; // milliseconds since the link was opened, to 0.1 ms
    bool Direction = false; // "sent" for the echo of a message this program wrote, "recv" otherwise
    bool Hex = false; // the message bytes in hexadecimal

    bool operator==(const TMonitorColumns&) const = default;
};

// Appends the time column: milliseconds with one decimal (truncated), right-aligned in 10
// characters, then two blanks.
void AppendTimeColumn(std::string& out, int64_t timeUs);
// "sent" or "recv", then two blanks.
const char* DirectionText(bool echo);
// The line of one message: the columns asked for, then the decoded text (expanded) or the opcode
// name and the hex bytes. The raw-bytes column has room for `hexBytes` bytes (the longest message
// of the lines shown with it), and a longer message widens it.
void AppendMonitorLine(std::string& out, const TLocoNetMessage& msg, int64_t timeUs, bool echo, bool expanded,
                       const TMonitorColumns& columns, std::size_t hexBytes = 0);

class TMonitorLines {
public:
    void Append(const TLocoNetMessage& msg, int64_t timeUs, bool echo, bool expanded);
    void Clear();

    std::size_t Count() const { return Records.size(); }
    // The message of line i, as it was received.
    TLocoNetMessage Message(std::size_t i) const;
    int64_t TimeUs(std::size_t i) const { return Records[i].TimeUs; }
    bool Echo(std::size_t i) const { return Records[i].Echo; }
    bool Expanded(std::size_t i) const { return Records[i].Expanded; }
    ELocoNetMsgType Type(std::size_t i) const { return static_cast<ELocoNetMsgType>(Records[i].Type); }

    // The number of bytes of the longest message kept: the raw-bytes column is as wide as it.
    std::size_t LongestMessage() const { return Longest; }

    // Appends the text of line i.
    void AppendText(std::string& out, std::size_t i, const TMonitorColumns& columns) const;
    std::string Text(std::size_t i, const TMonitorColumns& columns) const;

    // Bytes held (records and message bytes, with the room reserved for more).
    std::size_t MemoryUsed() const;

private:
    struct TRecord {
        int64_t TimeUs;
        uint64_t Offset : 40; // into Bytes
        uint64_t Length : 8;
        uint64_t Type : 8;
        uint64_t Echo : 1;
        uint64_t Expanded : 1;
    };
    static_assert(sizeof(TRecord) == 16);
    std::vector<TRecord> Records;
    std::vector<uint8_t> Bytes;
    std::size_t Longest = 0;
};

// Which lines the monitor shows: kinds, addresses and a text, all of which must match.
struct TMonitorFilter {
    uint32_t Kinds = kAllMessageKinds; // MessageKindBit of each kind shown
    std::vector<std::pair<uint32_t, uint32_t>> Addresses; // inclusive ranges; empty: any address
    std::string Text; // case-insensitive part of the line as shown; empty: any line

    bool Active() const { return Kinds != kAllMessageKinds || !Addresses.empty() || !Text.empty(); }
    // The test without the text, which needs no line built.
    bool AcceptsKindAndAddress(const TLocoNetMessage& msg, ELocoNetMsgType type) const;
    // The whole test for line i of `lines` as shown with `columns`; `scratch` is reused.
    bool Accepts(const TMonitorLines& lines, std::size_t i, const TMonitorColumns& columns, std::string& scratch) const;
};

// Reads addresses like "5", "5, 7" or "100-115"; false with a reason for anything else.
bool ParseAddressRanges(std::string_view text, std::vector<std::pair<uint32_t, uint32_t>>& ranges, std::string& error);
// Case-insensitive (ASCII) search of `needle` in `text`; an empty needle is found.
bool ContainsIgnoringCase(std::string_view text, std::string_view needle);

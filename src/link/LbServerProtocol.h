#pragma once
// The LoconetOverTcp ("LbServer") line protocol, spoken by LocoNet servers on the network.
//
// Lines are ASCII and may end in CR, LF or any combination of them; empty lines carry nothing.
// A client sends "SEND <hex bytes>"; the server answers "SENT OK" or "SENT ERROR <text>",
// greets with "VERSION <text>" and passes every message on the bus as "RECEIVE <hex bytes>".
// Version 2 servers may also send "TIMESTAMP <ms>", "BREAK" and "ERROR <text>".
//
// This part has no Qt in it, so that both the client transport and the simulated server use it
// and it can be fuzzed on its own.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

enum class ELbLineKind {
    eVersion, // "VERSION text"
    eReceive, // "RECEIVE hex..."; Bytes holds the message bytes
    eSend, // "SEND hex..."; Bytes holds the message bytes
    eSentOk, // "SENT OK"
    eSentError, // "SENT ERROR text" (or "SENT" followed by anything but OK)
    eTimestamp, // "TIMESTAMP value"
    eBreak, // "BREAK"
    eError, // "ERROR text"
    eMalformed, // a RECEIVE or SEND line whose bytes do not parse; Text says why
    eUnknown, // any other line
};

struct TLbLine {
    ELbLineKind Kind = ELbLineKind::eUnknown;
    std::string Line; // the whole line as received, without its line end
    std::string Text; // what follows the keyword (trimmed), or the reason for eMalformed
    std::vector<uint8_t> Bytes; // eReceive and eSend only
    bool Overlong = false; // eMalformed: the line passed MaxLineLength and was cut off
};

// Classifies one complete line (no line end in it).
TLbLine ParseLbLine(std::string_view line);

// "SEND B2 00 50 1D\r\n" style lines: keyword, the bytes as upper-case two-digit hex separated by
// blanks, CR LF.
std::string FormatLbSend(const uint8_t* bytes, size_t count);
std::string FormatLbReceive(const uint8_t* bytes, size_t count);

// The line a server sends a client it is about to close: "ERROR closing the connection: <why>".
std::string FormatLbClosing(std::string_view why);
// The <why> of such a line; empty for any other line.
std::string LbClosingReason(const TLbLine& line);

// Splits a byte stream into lines. Bytes arrive in arbitrary pieces; a line is complete at its
// first CR or LF. Empty lines are dropped. A line longer than the limit (MaxLineLength unless
// told otherwise) is cut off: its characters are discarded up to its end and one eMalformed line
// reports it, so that a peer that never ends its line cannot make us hold unbounded memory.
class TLbLineSplitter {
public:
    static constexpr size_t MaxLineLength = 4096;

    explicit TLbLineSplitter(size_t lineLimit = MaxLineLength) : Limit(lineLimit) {}
    size_t LineLimit() const { return Limit; }

    // Appends the complete lines found in the bytes to `lines` (already parsed).
    void Feed(const uint8_t* bytes, size_t count, std::vector<TLbLine>& lines);
    void Reset();
    size_t Pending() const { return Current.size(); }
    // The line now arriving has passed MaxLineLength.
    bool InOverlongLine() const { return Overlong; }

private:
    size_t Limit;
    std::string Current;
    bool Overlong = false;
};

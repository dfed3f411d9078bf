#pragma once
// Turns the raw byte stream read from a LocoNet interface into whole messages whose length and
// checksum are proven, and produces the receive log of that stream.

#include "link/LocoNetMessage.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

class TFrameAssembler {
public:
    using MessageSink = std::function<void(TLocoNetMessage&& msg)>;
    using LogSink = std::function<void(std::string_view text)>;

    // The sink receives every complete message that passes IsValid, in arrival order.
    explicit TFrameAssembler(MessageSink onMessage);

    // Receives the receive log: each raw byte as lower-case hex without leading zeros and a line
    // end (CR LF), and the assembler's texts as they are, without a line end of their own. An empty
    // sink switches logging off. The text of one Feed call may arrive in several pieces; only the
    // concatenation matters.
    void SetLogSink(LogSink sink);

    // Frames `count` bytes. State survives between calls, so a message split over two reads is
    // completed by the second. Not re-entrant: the sinks must not call Feed.
    void Feed(const uint8_t* bytes, size_t count);

    // Forgets any partial message (the port's input was purged).
    void Reset();

    // The largest length a count byte can give.
    static constexpr size_t kMaxMessageLength = 127;

    static constexpr std::string_view kRejectedInvalid = "rejected as invalid";
    static constexpr std::string_view kRejectedTopBit = "rejected because top bit set in payload bytes";
    static constexpr std::string_view kLineEnd = "\r\n";

private:
    enum class EPhase : uint8_t {
        WaitOpcode,
        WaitCount,
        Collect,
        // A count byte below 3 was read: the message can never complete. Its payload bytes are
        // not stored; the next byte with bit 7 set abandons it exactly as in Collect.
        Unfinishable,
    };

    template <bool Logging> void FeedImpl(const uint8_t* bytes, size_t count);
    // The steps of each phase; each returns where the next step starts.
    template <bool Logging> const uint8_t* TakeOpcode(const uint8_t* p, const uint8_t* end);
    template <bool Logging> const uint8_t* TakeCount(const uint8_t* p);
    template <bool Logging> const uint8_t* TakePayload(const uint8_t* p, const uint8_t* end);
    template <bool Logging> const uint8_t* SkipUnfinishable(const uint8_t* p, const uint8_t* end);
    template <bool Logging> void Complete();
    template <bool Logging> void RejectTopBit();
    void LogRawByte(uint8_t b);
    void FlushLog();

    MessageSink OnMessage;
    LogSink OnLog;
    std::string LogBuffer;

    EPhase Phase = EPhase::WaitOpcode;
    uint32_t Count = 0; // bytes held in Buffer
    uint32_t Expected = 0; // length of the message being collected
    uint8_t Xor = 0; // XOR of the bytes held
    uint8_t Buffer[kMaxMessageLength] = {};
};

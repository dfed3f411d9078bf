#pragma once
// The simulated LocoNet: a bus that echoes every message the program sends, as a LocoBuffer or a
// PR3 does, and carries the replies of its virtual boards, optional background traffic and
// seeded faults.
//
// Time is passed in (microseconds on any clock that only moves forward), so the bus runs the same
// way every time: tests drive it with a fake clock, the Qt transport with a real one.

#include "sim/SimConfig.h"
#include "sim/VirtualBoard.h"

#include <cstdint>
#include <optional>
#include <queue>
#include <random>
#include <vector>

// Bytes that reach the interface: one message (possibly corrupted) or junk.
struct TSimDelivery {
    std::vector<uint8_t> Bytes;
    uint64_t SendId = 0; // non-zero: the echo of the message Send returned this id for
    bool Junk = false;
};

class TSimBus {
public:
    // Pacing: 10 bits per byte at 16457 baud, and a gap of 4 bit times after each message.
    static constexpr uint32_t BaudRate = 16457;
    static constexpr uint64_t GapUs = 4ull * 1000000ull / BaudRate;
    // A board starts its reply this long after the command has passed (paced bus only).
    static constexpr uint64_t ReplyDelayUs = 300;
    // Background traffic: one message every 200 to 800 ms.
    static constexpr uint64_t TrafficMinUs = 200000;
    static constexpr uint64_t TrafficMaxUs = 800000;

    explicit TSimBus(const TSimConfig& config, uint64_t nowUs = 0);

    // The program puts one message on the bus at nowUs (its bytes as written, valid or not).
    // Returns the id its echo will carry.
    uint64_t Send(const uint8_t* bytes, size_t count, uint64_t nowUs);

    // Runs the bus up to nowUs and appends what reached the interface, in order.
    void Poll(uint64_t nowUs, std::vector<TSimDelivery>& out);
    // The same, as one byte stream.
    void Poll(uint64_t nowUs, std::vector<uint8_t>& out);

    // When the bus next has something to do (none: idle until the next Send).
    std::optional<uint64_t> NextDueUs() const;

    // How long a message of `count` bytes holds the bus (0 unless paced).
    uint64_t Duration(size_t count) const;

    std::vector<TVirtualBoard>& Boards() { return BoardList; }
    const TSimConfig& Config() const { return Settings; }

    // Counters of what happened.
    uint64_t MessagesOnBus() const { return OnBus; }
    uint64_t RepliesDropped() const { return Dropped; }
    uint64_t MessagesCorrupted() const { return Corrupted; }
    uint64_t JunkInserted() const { return JunkCount; }

private:
    enum class EEvent { eReady, eComplete, eTraffic };
    struct TEvent {
        uint64_t Time;
        uint64_t Seq;
        EEvent Kind;
        std::vector<uint8_t> Bytes;
        uint64_t SendId;
        bool FromBoard;
    };
    struct TLater {
        bool operator()(const TEvent& a, const TEvent& b) const
        {
            return a.Time != b.Time ? a.Time > b.Time : a.Seq > b.Seq;
        }
    };

    void Push(uint64_t time, EEvent kind, std::vector<uint8_t> bytes, uint64_t sendId, bool fromBoard);
    void Process(TEvent& event, std::vector<TSimDelivery>& out);
    void Complete(TEvent& event, std::vector<TSimDelivery>& out);
    std::vector<uint8_t> MakeTraffic();
    double Uniform();
    uint64_t Below(uint64_t n);

    TSimConfig Settings;
    std::vector<TVirtualBoard> BoardList;
    std::priority_queue<TEvent, std::vector<TEvent>, TLater> Events;
    std::mt19937_64 Random;
    uint64_t NextSeq = 0;
    uint64_t NextSendId = 1;
    uint64_t BusFreeAt = 0;
    uint64_t OnBus = 0, Dropped = 0, Corrupted = 0, JunkCount = 0;
};

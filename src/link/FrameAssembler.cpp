#include "link/FrameAssembler.h"

#include "link/TextFormat.h"

#include <algorithm>
#include <cstring>
#include <utility>

// How the buffer is kept from overflowing. The opcode fixes the length at 2, 4 or 6 bytes, or the
// count byte gives it; a count byte is 7 bits, so no completable message is longer than the
// 127-byte buffer. The only message that could outgrow it is one whose count byte is 0, 1 or 2:
// once that byte is read two bytes are held and the count only grows, so it can never complete.
// Such a message goes to the Unfinishable phase at its count byte: further bytes with bit 7 clear
// are dropped instead of stored, and the next byte with bit 7 set abandons the message with
// "rejected because top bit set in payload bytes" and is itself dropped, as any byte with bit 7
// set in the middle of a message is; then the assembler waits for an opcode again. What is logged
// and what is delivered is therefore the same as if the buffer were unbounded, and nothing is ever
// stored beyond Buffer[Expected - 1] with 3 <= Expected <= 127.

namespace {

// Flush the log buffer to the sink once it holds this much; keeps memory bounded on long reads.
constexpr size_t kLogFlushSize = 64 * 1024;

} // namespace

TFrameAssembler::TFrameAssembler(MessageSink onMessage) : OnMessage(std::move(onMessage)) {}

void TFrameAssembler::SetLogSink(LogSink sink)
{
    FlushLog();
    OnLog = std::move(sink);
}

void TFrameAssembler::Reset()
{
    Phase = EPhase::WaitOpcode;
    Count = 0;
    Expected = 0;
    Xor = 0;
}

void TFrameAssembler::Feed(const uint8_t* bytes, size_t count)
{
    if (count == 0 || bytes == nullptr) return;
    if (OnLog) {
        FeedImpl<true>(bytes, count);
        FlushLog();
    } else {
        FeedImpl<false>(bytes, count);
    }
}

void TFrameAssembler::LogRawByte(uint8_t b)
{
    textformat::AppendHex(LogBuffer, b, 1, textformat::EHexCase::Lower);
    LogBuffer.append(kLineEnd);
}

void TFrameAssembler::FlushLog()
{
    if (LogBuffer.empty()) return;
    if (OnLog) OnLog(LogBuffer);
    LogBuffer.clear();
}

template <bool Logging> void TFrameAssembler::RejectTopBit()
{
    if constexpr (Logging) LogBuffer.append(kRejectedTopBit);
    Phase = EPhase::WaitOpcode;
}

template <bool Logging> void TFrameAssembler::Complete()
{
    Phase = EPhase::WaitOpcode;
    // The length agrees with the opcode by construction, so the checksum decides validity.
    if (Xor != 0xFF) {
        if constexpr (Logging) LogBuffer.append(kRejectedInvalid);
        return;
    }
    TLocoNetMessage msg(Buffer, Count);
    if constexpr (Logging) LogBuffer.append(msg.Text());
    if (OnMessage) OnMessage(std::move(msg));
}

template <bool Logging> void TFrameAssembler::FeedImpl(const uint8_t* p, size_t n)
{
    const uint8_t* const end = p + n;
    while (p < end) {
        if constexpr (Logging) {
            if (LogBuffer.size() >= kLogFlushSize) FlushLog();
        }
        switch (Phase) {
        case EPhase::WaitOpcode: p = TakeOpcode<Logging>(p, end); break;
        case EPhase::WaitCount: p = TakeCount<Logging>(p); break;
        case EPhase::Collect: p = TakePayload<Logging>(p, end); break;
        case EPhase::Unfinishable: p = SkipUnfinishable<Logging>(p, end); break;
        }
    }
}

template <bool Logging> const uint8_t* TFrameAssembler::TakeOpcode(const uint8_t* p, const uint8_t* end)
{
    // Bytes with bit 7 clear outside a message are dropped silently.
    while (p < end && (*p & 0x80) == 0) {
        if constexpr (Logging) LogRawByte(*p);
        ++p;
    }
    if (p == end) return end;
    const uint8_t op = *p++;
    if constexpr (Logging) LogRawByte(op);
    Buffer[0] = op;
    Count = 1;
    Xor = op;
    Expected = TLocoNetMessage::LengthFromOpcode(op);
    Phase = Expected == 8 ? EPhase::WaitCount : EPhase::Collect;
    return p;
}

template <bool Logging> const uint8_t* TFrameAssembler::TakeCount(const uint8_t* p)
{
    const uint8_t b = *p++;
    if constexpr (Logging) LogRawByte(b);
    if (b & 0x80) {
        RejectTopBit<Logging>();
        return p;
    }
    Buffer[1] = b;
    Count = 2;
    Xor ^= b;
    Expected = b;
    Phase = b < 3 ? EPhase::Unfinishable : EPhase::Collect;
    return p;
}

template <bool Logging> const uint8_t* TFrameAssembler::TakePayload(const uint8_t* p, const uint8_t* end)
{
    // Take as many payload bytes as the message still needs and this read holds, stopping at the
    // first byte with bit 7 set.
    const size_t want = std::min<size_t>(Expected - Count, static_cast<size_t>(end - p));
    size_t i = 0;
    uint8_t* dst = Buffer + Count;
    // Eight bytes at a time while none has bit 7 set; dst + want never passes Buffer + Expected,
    // so neither does any 8-byte store.
    uint64_t acc = 0;
    while (i + 8 <= want) {
        uint64_t w;
        std::memcpy(&w, p + i, 8);
        if (w & 0x8080808080808080ull) break;
        std::memcpy(dst + i, &w, 8);
        acc ^= w;
        i += 8;
    }
    acc ^= acc >> 32;
    acc ^= acc >> 16;
    acc ^= acc >> 8;
    uint8_t x = static_cast<uint8_t>(Xor ^ static_cast<uint8_t>(acc));
    for (; i < want; ++i) {
        const uint8_t b = p[i];
        if (b & 0x80) break;
        dst[i] = b;
        x ^= b;
    }
    if constexpr (Logging) {
        for (size_t k = 0; k < i; ++k) LogRawByte(p[k]);
    }
    Xor = x;
    Count += static_cast<uint32_t>(i);
    p += i;
    if (i < want) {
        // A byte with bit 7 set inside a message: abandon the message, drop the byte.
        if constexpr (Logging) LogRawByte(*p);
        RejectTopBit<Logging>();
        return p + 1;
    }
    if (Count == Expected) Complete<Logging>();
    return p;
}

template <bool Logging> const uint8_t* TFrameAssembler::SkipUnfinishable(const uint8_t* p, const uint8_t* end)
{
    // A count below 3 leaves no room for a checksum: wait for the next opcode, and drop it.
    while (p < end && (*p & 0x80) == 0) {
        if constexpr (Logging) LogRawByte(*p);
        ++p;
    }
    if (p == end) return end;
    if constexpr (Logging) LogRawByte(*p);
    RejectTopBit<Logging>();
    return p + 1;
}

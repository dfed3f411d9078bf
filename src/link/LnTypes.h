#pragma once
// Line speeds and interface kinds of the LocoNet link, and what it tells of a received message.

#include <cstdint>

enum TBaudRate : int { br16457 = 0, br19200 = 1, br57600 = 2 };

enum ELocoNetInterface : int { eMS100 = 0, eLocoBuffer = 1, ePR3 = 2 };

// The line speed in bits per second.
constexpr int32_t BaudRateValue(TBaudRate rate)
{
    return rate == br16457 ? 16457 : rate == br19200 ? 19200 : 57600;
}

// Error flags passed to OnError (the same bits as the serial drivers report them).
constexpr int kLnErrRxOverrun = 0x0001; // input buffer overflow
constexpr int kLnErrOverrun = 0x0002; // character overrun
constexpr int kLnErrParity = 0x0004;
constexpr int kLnErrFrame = 0x0008;
constexpr int kLnErrBreak = 0x0010;
constexpr int kLnErrIO = 0x0400; // the device failed or went away; the link has closed
constexpr int kLnErrRefused = 0x8000; // a LocoNet server refused to send a message (SENT ERROR)

// When a received message was read, and whether it is the echo of a message this link wrote.
struct TRxStamp {
    int64_t TimeUs = 0; // microseconds since the link was opened (monotonic)
    bool Echo = false;
};

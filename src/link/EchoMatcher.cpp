#include "link/EchoMatcher.h"

#include <algorithm>
#include <cstring>

void TEchoMatcher::Sent(const uint8_t* bytes, uint32_t length, int64_t timeUs)
{
    if (length == 0) return;
    if (Waiting.size() >= kMaxWaiting) Waiting.pop_front();
    Waiting.push_back({std::string(reinterpret_cast<const char*>(bytes), length), timeUs});
}

bool TEchoMatcher::IsEcho(const TLocoNetMessage& msg, int64_t timeUs)
{
    while (!Waiting.empty() && timeUs - Waiting.front().TimeUs > kWindowUs) Waiting.pop_front();
    const uint32_t length = msg.GetLength();
    auto match = std::find_if(Waiting.begin(), Waiting.end(), [&](const TWritten& w) {
        return w.Bytes.size() == length && std::memcmp(w.Bytes.data(), msg.GetData(), length) == 0;
    });
    if (match == Waiting.end()) return false;
    Waiting.erase(Waiting.begin(), match + 1);
    return true;
}

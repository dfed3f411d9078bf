#pragma once
// The text forms that the conditions of the signal controllers (TCondition) and of the QXP6
// (TQXP6Condition) share: a condition on a point, sensor or signal as prose and as a board-file
// token, reading such a token back, and the description lines and board-file line of a set.
// Both models number the device types alike: 1 point, 2 sensor, 3 signal (and, for the signal
// controllers only, 4 reverse running zone).

#include "boards/CsvIo.h"
#include "boards/HeldValues.h"

#include <algorithm>
#include <cstdint>
#include <istream>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace conditiontext {

constexpr uint8_t kPoint = 1;
constexpr uint8_t kSensor = 2;
constexpr uint8_t kSignal = 3;
constexpr uint8_t kZone = 4;

// "Point 12 is Closed", "Sensor 3,5 is Occupied", "Signal 14 is not Red" (state 0: thrown,
// occupied, red); empty for any other device type.
std::string DeviceText(uint8_t deviceType, uint32_t number, uint32_t offset, uint8_t state);
// "PT 12 CL", "SE 3:5 OC", "SG 14 RD"; empty for any other device type.
std::string DeviceToken(uint8_t deviceType, uint32_t number, uint32_t offset, uint8_t state);

// Which of the words below a token contains, found in one pass over it, for TokenDeviceType and
// TokenState.
struct TTokenWords {
    uint32_t Found = 0;
};
TTokenWords FindTokenWords(std::string_view token);

// The device type a token names: the first of the words "Unused" (0), "PT", "SE", "SG" and, with
// zones, "ZN" that it contains; -1 when it contains none.
int TokenDeviceType(TTokenWords words, bool withZones);
// The numbers of a point, sensor or signal token, whose text from its fourth character up to a
// blank reads number[:offset]: the number, and the offset (0 without a colon).
uint32_t TokenNumber(std::string_view token);
uint32_t TokenOffset(std::string_view token);
// The state the token gives a device type: the first state word it contains ("TH", "CL", "OC",
// "UN", "RD", "NR", then with zones "AWE" ... "CEW") counts, and only when it belongs to that
// device type. False, with state unchanged, otherwise.
bool TokenState(TTokenWords words, uint8_t deviceType, bool withZones, uint8_t& state);

// The device a condition names: its type and number, and for a sensor its offset; a free key for
// anything but a point, sensor or signal.
template <class TKey, class TCond> TKey DeviceKey(const TCond& condition)
{
    TKey key;
    if (condition.DeviceType == kPoint || condition.DeviceType == kSensor || condition.DeviceType == kSignal) {
        key.DeviceType = condition.DeviceType;
        key.Number = condition.Number;
        if (condition.DeviceType == kSensor) key.Offset = condition.Offset;
    }
    return key;
}

// The description lines of a set: ten blanks, then the conditions up to the first empty place,
// those chained by AND sharing a line; "(No conditions assigned)" when the first place is empty.
template <class TCond> void AddSetText(const std::vector<TCond>& conditions, std::vector<std::string>& lines)
{
    const std::string indent(10, ' ');
    size_t shown = 0;
    while (shown < conditions.size() && !conditions[shown].IsEmpty()) ++shown;
    if (shown == 0) {
        lines.push_back(indent + "(No conditions assigned)");
        return;
    }
    std::string line = indent;
    for (size_t i = 0; i < shown; ++i) {
        line += conditions[i].Text();
        if (!conditions[i].AndNext || i + 1 == shown) {
            lines.push_back(line);
            line = indent;
        } else {
            line += ' ';
        }
    }
}

// What the board holds of a set: one value a place, "<set>, condition <n>", with the condition's
// text as its meaning (an empty place reads "(No Condition)", whatever its AND flag).
template <class TCond>
void AddHeldConditions(const std::vector<TCond>& conditions, const std::string& set, THeldValues& values)
{
    for (size_t i = 0; i < conditions.size(); ++i) {
        std::string item;
        item.reserve(set.size() + 16);
        item.append(set).append(", condition ").append(std::to_string(i + 1));
        values.AddCondition(std::move(item), conditions[i].Text());
    }
}

// The line buffer through which sets write and read their lines, kept from line to line: a
// board's many sets need none of their own.
inline TCsvIo& SetLineBuffer(bool quoteStrings)
{
    thread_local TCsvIo line;
    line.SetQuoteStrings(quoteStrings);
    return line;
}

// The board-file line of a set: fields 0 and 1 empty, the set's tag, its number of places, then
// one token a place.
template <class TCond>
void WriteSetLine(TCsvIo& line, std::ostream& stream, const std::string& tag, const std::vector<TCond>& conditions)
{
    line.ClearFields();
    line.SetText(2, tag);
    line.SetText(3, std::to_string(conditions.size()));
    for (size_t i = 0; i < conditions.size(); ++i) line.SetText(4 + i, conditions[i].Token());
    line.WriteLine(stream);
}

// Reads a set's line into its first places, as many as the line counts and the set holds. The
// tag is not checked: a board's lines follow in a fixed order.
template <class TCond> void ReadSetLine(TCsvIo& line, std::istream& stream, std::vector<TCond>& conditions)
{
    line.ReadLine(stream);
    const int count = line.GetNumber(3);
    const size_t n = count <= 0 ? 0 : std::min(static_cast<size_t>(count), conditions.size());
    for (size_t i = 0; i < n; ++i) {
        conditions[i] = TCond();
        conditions[i].ParseToken(line.GetTextView(4 + i));
    }
}

} // namespace conditiontext

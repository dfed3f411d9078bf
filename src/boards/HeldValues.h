#pragma once
// What a board holds of its description, value by value: where each value is ("Signal 3, red set,
// condition 2") and what it means on the board ("Sensor 12,5 is Occupied"). A board lists only
// what reaches its SVs, in the words the board's meaning has, so that two descriptions the board
// would act on alike give equal lists: names, descriptions and notes are left out, and codes that
// mean the same on the board are written the same way.

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

struct THeldValue {
    std::string Part; // "Output cell 6"; empty for a setting of the board itself
    std::string Item; // "thrown set, condition 1", "Sensor Board Number"
    // The meaning is Subject + Rest. Where the board would hold another subject with the same
    // rest, the subject alone names what it holds ("Sensor 44,16" for "Sensor 300,16 is Occupied").
    std::string Subject;
    std::string Rest;

    // "Output cell 6, thrown set, condition 1", or the item alone for the board's own settings.
    std::string Place() const;
    std::string Meaning() const { return Subject + Rest; }
};

class THeldValues {
public:
    // The part the values added next belong to; empty for the board's own settings.
    void SetPart(std::string part) { Part = std::move(part); }

    // (The texts are taken by value: a board lists hundreds of values, most made for the call.)
    void Add(std::string item, std::string meaning) { AddSplit(std::move(item), std::move(meaning), {}); }
    void Add(std::string item, uint64_t number) { Add(std::move(item), std::to_string(number)); }
    void AddFlag(std::string item, bool on) { Add(std::move(item), on ? "yes" : "no"); }
    void AddSplit(std::string item, std::string subject, std::string rest);
    // A condition's text ("Sensor 300,16 is Occupied, AND"), its device as the subject.
    void AddCondition(std::string item, const std::string& text);

    const std::vector<THeldValue>& Items() const { return Values; }
    // Room for `count` values, for a list about as long as one already made.
    void Reserve(size_t count) { Values.reserve(count); }

private:
    std::string Part;
    std::vector<THeldValue> Values;
};

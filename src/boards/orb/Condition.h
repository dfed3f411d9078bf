#pragma once
// Conditions of the signal controllers: one condition on a point, sensor, signal or reverse
// running zone (TCondition), and the fixed-size list of conditions a signal or zone holds for one
// purpose (TConditionSet). Both give their description text, their board-file form and their SV
// bytes through the board's device table.

#include "boards/CsvIo.h"
#include "boards/HeldValues.h"
#include "boards/orb/ExtDevTable.h"

#include <cstdint>
#include <istream>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

class TCondition {
public:
    uint8_t DeviceType = edtNone; // 0 = no condition
    uint32_t Number = 0; // point, sensor or signal number; 0 for zones
    uint32_t Offset = 0; // sensors only: input number on the sensor's board
    uint8_t State = 0; // meaning depends on the device type (0-1, zones 0-5)
    uint8_t AndNext = 0; // this condition and the next one form one AND condition

    static constexpr uint8_t kZoneStateCount = 6;

    void SetPoint(uint32_t number, uint8_t state, bool andNext) { *this = {edtPoint, number, 0, state, andNext}; }
    void SetSensor(uint32_t number, uint32_t offset, uint8_t state, bool andNext)
    {
        *this = {edtSensor, number, offset, state, andNext};
    }
    void SetSignal(uint32_t number, uint8_t state, bool andNext) { *this = {edtSignal, number, 0, state, andNext}; }
    void SetZone(uint8_t state, bool andNext) { *this = {edtZone, 0, 0, state, andNext}; }
    void Clear() { *this = TCondition{}; }

    bool IsEmpty() const { return DeviceType == edtNone; }
    // The device the condition names in the device table; type 0 for zones and no condition.
    TDeviceKey Key() const;

    // One line of prose, e.g. "Point 12 is Closed, AND".
    std::string Text() const;
    // The board-file token, e.g. "PT 12 CL+".
    std::string Token() const;
    // Fills the condition from a token; returns true on FAILURE (no device-type word found).
    bool ParseToken(std::string_view token);

    // The condition's SV byte; false when its device is not in the table.
    bool GetSVByte(const TExtDevTable& table, uint8_t& byte) const;
    // Fills the condition from an SV byte; false when the byte names a free entry or no valid
    // condition.
    bool FromSVByte(uint8_t byte, const TExtDevTable& table);

    bool operator==(const TCondition& other) const = default;
};

// Set kinds: those of a signal, then those of a reverse running zone.
enum EConditionSetKind : uint8_t {
    ecsBlock = 0, // 3 conditions
    ecsRedNorm = 1, // 14 conditions: a block signal's red set
    ecsRedDiverge = 2, // 5 conditions: either leg of a junction signal
    ecsIsolOverride = 3, // 3 conditions
    ecsAux = 4, // 2 conditions
    ecsRevDirection = 5, // 8 conditions, west to east or east to west
    ecsRevFreeze = 6, // 6 conditions
    ecsRevShunt = 7 // 3 conditions
};
constexpr uint8_t kConditionSetKindCount = 8;

class TConditionSet : public TCsvIo {
public:
    // A set of the kind's capacity, all places empty; with a source set, its first
    // min(own, source) conditions are copied in order.
    explicit TConditionSet(uint8_t kind, const TConditionSet* source = nullptr);
    TConditionSet(const TConditionSet&) = default;
    TConditionSet& operator=(const TConditionSet&) = default;

    static const char* KindName(uint8_t kind);
    static const char* KindTag(uint8_t kind);
    static uint32_t KindCapacity(uint8_t kind);

    uint8_t GetKind() const { return Kind; }
    uint32_t Count() const { return static_cast<uint32_t>(Conditions.size()); }
    const TCondition& ConditionAt(uint32_t index) const { return Conditions.at(index); }
    TCondition& ConditionAt(uint32_t index) { return Conditions.at(index); }

    void InsertAt(uint32_t index, const TCondition& condition);
    void DeleteAt(uint32_t index);
    void Clear();

    // Adds every device a condition names to the table; the AND of the adds.
    bool GatherDevices(TExtDevTable& table) const;
    // Writes Count() bytes starting at dest[0]; the AND of the conditions' successes.
    bool ToSVBytes(uint8_t* dest, const TExtDevTable& table) const;
    bool FromSVBytes(const uint8_t* source, const TExtDevTable& table);

    // Appends the description lines (ten blanks, AND-chained conditions on one line).
    void AddText(std::vector<std::string>& lines) const;
    // What the board holds of the set, one value a place: "<name>, condition <n>".
    void AddHeldValues(const std::string& name, THeldValues& values) const;

    void WriteRecord(std::ostream& stream);
    void ReadRecord(std::istream& stream);

    bool SameConditions(const TConditionSet& other) const
    {
        return Kind == other.Kind && Conditions == other.Conditions;
    }

private:
    uint8_t Kind;
    std::vector<TCondition> Conditions;
};

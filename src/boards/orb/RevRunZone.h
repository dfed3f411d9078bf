#pragma once
// One of the three reverse running zones (A, B, C) of a signal controller: the condition sets that
// switch it west-to-east or east-to-west, freeze it, or put it into shunt mode.

#include "boards/CsvIo.h"
#include "boards/orb/Condition.h"
#include "boards/orb/ExtDevTable.h"

#include <array>
#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

class THeldValues;

class TRevRunZone : public TCsvIo {
public:
    static constexpr uint32_t kZonesPerBoard = 3;
    static constexpr uint32_t kBlockSize = 25; // SVs a zone takes
    static constexpr uint32_t kFirstBlockSV = 180; // the first SV of zone A

    TRevRunZone();

    void SetZoneNumber(uint32_t number) { ZoneNumber = number; }
    uint32_t GetZoneNumber() const { return ZoneNumber; }
    // "A", "B" or "C".
    std::string Letter() const;
    std::string ListLine() const;

    // The zone's condition sets, in the order of its SV block and its board-file record.
    enum EZoneSet { ezsWestEast, ezsEastWest, ezsFreeze, ezsShunt, ezsCount };

    TConditionSet& Set(EZoneSet which) { return Sets.at(which); }
    const TConditionSet& Set(EZoneSet which) const { return Sets.at(which); }
    TConditionSet& WestEastSet() { return Sets[ezsWestEast]; }
    TConditionSet& EastWestSet() { return Sets[ezsEastWest]; }
    TConditionSet& FreezeSet() { return Sets[ezsFreeze]; }
    TConditionSet& ShuntSet() { return Sets[ezsShunt]; }

    bool GatherDevices(TExtDevTable& table) const;
    bool ToSVs(std::vector<uint8_t>& svs, const TExtDevTable& table) const;
    bool FromSVs(const std::vector<uint8_t>& svs, const TExtDevTable& table);

    void AddText(std::vector<std::string>& lines) const;
    // What the board holds of the zone (HeldValues.h), under the part "Zone <letter>".
    void AddHeldValues(THeldValues& values) const;
    void ReadLines(std::istream& stream);
    void WriteLines(std::ostream& stream);

    std::string Description;
    std::string Name;

private:
    uint32_t FirstSV() const { return kFirstBlockSV + kBlockSize * (ZoneNumber - 1); }

    std::array<TConditionSet, ezsCount> Sets{TConditionSet{ecsRevDirection}, TConditionSet{ecsRevDirection},
                                             TConditionSet{ecsRevFreeze}, TConditionSet{ecsRevShunt}};
    uint32_t ZoneNumber = 1;
};

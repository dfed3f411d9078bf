#pragma once
// One of the ten signals of an ORB4 or ORB8 signal controller: its head, block or diverging
// junction type, next signals, transponding and reverse running zone, and the condition sets that
// make it red, light its auxiliary output or override its isolation zone.

#include "boards/orb/Condition.h"
#include "boards/CsvIo.h"
#include "boards/HeldValues.h"
#include "boards/orb/ExtDevTable.h"

#include <cstdint>
#include <istream>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

enum ESignalType : uint8_t { estDiverging = 0, estBlock = 1 };
enum ENextSignalMode : uint8_t { ensNormal = 0, ensVirtual = 1, ensAlwaysGreen = 2, ensAlwaysRed = 3 };

class TSignal : public TCsvIo {
public:
    static constexpr int kHeadTypeCount = 14;
    static constexpr uint8_t kRevZoneCount = 7; // 0 none, 1-6 zone A/B/C west-east/east-west
    static constexpr uint8_t kModeCount = 4;
    static constexpr uint32_t kSignalsPerBoard = 10;
    static constexpr uint32_t kBlockSize = 25;
    static constexpr uint32_t kFirstBlockSV = 257;

    TSignal();

    // Stores the type (any nonzero value means a block signal) and rebuilds the condition sets,
    // keeping as many leading conditions as fit.
    void SetType(uint8_t type);
    uint8_t GetType() const { return SignalType; }
    bool IsBlock() const { return SignalType != estDiverging; }

    void SetSignalNumber(uint32_t number) { SignalNumber = number; }
    uint32_t GetSignalNumber() const { return SignalNumber; }
    void SetBaseAddress(uint32_t address) { BaseAddress = address; }
    uint32_t GetBaseAddress() const { return BaseAddress; }
    uint32_t DCCAddress() const { return BaseAddress + SignalNumber - 1; }

    // Reverse running zone 0-6 and next-signal modes 0-3; other values become 0.
    void SetRevZone(uint8_t zone) { RevZone = zone < kRevZoneCount ? zone : 0; }
    uint8_t GetRevZone() const { return RevZone; }
    void SetNextMode(uint8_t mode) { NextMode = mode < kModeCount ? mode : 0; }
    uint8_t GetNextMode() const { return NextMode; }
    void SetNextModeThrown(uint8_t mode) { NextModeThrown = mode < kModeCount ? mode : 0; }
    uint8_t GetNextModeThrown() const { return NextModeThrown; }

    // The signal's line in the board window's signal list.
    std::string ListLine() const;

    // The condition sets. The when-thrown sets exist for diverging signals only.
    TConditionSet& BlockOccupiedSet() { return BlockOccupied; }
    TConditionSet* BlockOccupiedThrownSet() { return BlockOccupiedThrown ? &*BlockOccupiedThrown : nullptr; }
    TConditionSet& RedSet() { return Red; }
    TConditionSet* RedThrownSet() { return RedThrown ? &*RedThrown : nullptr; }
    TConditionSet& AuxSet() { return Aux; }
    TConditionSet& IsolationOverrideSet() { return IsolationOverride; }
    const TConditionSet& BlockOccupiedSet() const { return BlockOccupied; }
    const TConditionSet* BlockOccupiedThrownSet() const
    {
        return BlockOccupiedThrown ? &*BlockOccupiedThrown : nullptr;
    }
    const TConditionSet& RedSet() const { return Red; }
    const TConditionSet* RedThrownSet() const { return RedThrown ? &*RedThrown : nullptr; }
    const TConditionSet& AuxSet() const { return Aux; }
    const TConditionSet& IsolationOverrideSet() const { return IsolationOverride; }

    // Adds the devices the signal refers to, in calculation order; the AND of the adds.
    bool GatherDevices(TExtDevTable& table) const;
    // Writes the signal's SVs into the table (index = SV number - 1); false when a device it
    // needs is not in the device table.
    bool ToSVs(std::vector<uint8_t>& svs, const TExtDevTable& table) const;
    // Refills the signal from an SV table read from a board.
    bool FromSVs(const std::vector<uint8_t>& svs, const TExtDevTable& table);

    // The SV code of a next signal and its mode; false when an off-board signal is missing.
    bool NextSignalCode(uint32_t number, uint8_t mode, const TExtDevTable& table, uint8_t& code) const;
    // Decodes a next-signal code into a number and mode; false when it names no signal.
    bool DecodeNextSignal(uint8_t code, const TExtDevTable& table, uint32_t& number, uint8_t& mode) const;
    static uint8_t RevZoneCode(uint8_t zone);
    static uint8_t RevZoneFromCode(uint8_t code);

    void AddText(std::vector<std::string>& lines) const;
    // What the board holds of the signal (HeldValues.h), under the part "Signal <n>".
    void AddHeldValues(THeldValues& values) const;
    void WriteLines(std::ostream& stream);
    void ReadLines(std::istream& stream);

    std::string Description = "undefined";
    std::string Name = "unnamed";
    int HeadType = 2;
    uint32_t JunctionPoint = 0;
    uint32_t TranspondingZone = 0;
    uint32_t NextSignal = 0; // when the point is closed, or the only next signal
    uint32_t NextSignalThrown = 0; // when the point is thrown

private:
    bool IsOnBoard(uint32_t number) const;
    // The first SV of the signal's block of kBlockSize SVs; 0 when the signal number is out of
    // range or the table too short for the block.
    uint32_t BlockSV(size_t svCount) const;
    // Calls place(set, offset) for each condition set with the offset of its first byte in the
    // signal's SV block: a block signal's sets from byte 3, a junction signal's sets for the closed
    // and the thrown point from byte 4, then the isolation override and auxiliary conditions.
    template <class Self, class Place> static void ForEachSetPlace(Self& signal, Place place);

    TConditionSet BlockOccupied{ecsBlock};
    std::optional<TConditionSet> BlockOccupiedThrown;
    TConditionSet Red{ecsRedNorm};
    std::optional<TConditionSet> RedThrown;
    TConditionSet Aux{ecsAux};
    TConditionSet IsolationOverride{ecsIsolOverride};

    uint8_t SignalType = estBlock;
    uint32_t SignalNumber = 1;
    uint32_t BaseAddress = 1;
    uint8_t RevZone = 0;
    uint8_t NextMode = ensNormal;
    uint8_t NextModeThrown = ensNormal;
};

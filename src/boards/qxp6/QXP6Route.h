#pragma once
// A route of the QXP6 decoder: up to twelve points set to closed or thrown, started by a DCC
// address or by its trigger conditions.

#include "boards/CsvIo.h"
#include "boards/HeldValues.h"
#include "boards/qxp6/QXP6ConditionSet.h"

#include <array>
#include <cstdint>
#include <istream>
#include <ostream>
#include <string>
#include <vector>

enum EQXP6EntryState : uint8_t { eQXP6Undef = 0, eQXP6Closed = 1, eQXP6Thrown = 2 };

class TQXP6Route : public TCsvIo {
public:
    static constexpr int kMaxEntries = 12;
    static constexpr int kBlockSize = 12; // SV bytes of the entry list
    static std::string StateName(uint8_t state);

    TQXP6Route();

    // 1..8 when the address is one of the decoder's own outputs, else 0.
    uint32_t IsOwnPoint(uint32_t address) const;
    // Whether the defined entries need at most twelve bytes.
    bool Fits() const;
    // Sets, appends (past the last entry) or deletes (state UNDEF) an entry; true when an
    // entry was removed.
    bool SetEntry(int index, uint32_t address, uint8_t state);
    bool RemoveUndefinedEntries();
    // Past EntryCount: address 1, state UNDEF.
    uint32_t GetEntryAddress(int index) const;
    uint8_t GetEntryState(int index) const;

    // Packs the entries into twelve bytes; false when they need more (bytes that do not fit
    // are left out).
    bool PackEntries(uint8_t* block) const;
    // Rebuilds the entries from twelve bytes; false when a byte was bad (its entry gets address 1).
    bool UnpackEntries(const uint8_t* block);
    // The entry block at svs[blockSV - 1], the trigger set at svs[triggerSV - 1].
    bool ToSVBytes(uint8_t* svs, uint32_t blockSV, uint32_t triggerSV, const TQXP6ExtDevTable& table) const;
    void FromSVBytes(const uint8_t* svs, uint32_t blockSV, uint32_t triggerSV, const TQXP6ExtDevTable& table);

    std::string GetListLine() const;
    // Line i (1..12) of the route editor.
    std::string GetEditorLine(int line) const;
    void AddDescription(std::vector<std::string>& lines) const;
    // What the board holds of the route (HeldValues.h).
    void AddHeldValues(THeldValues& values) const;

    void SaveToStream(std::ostream& stream);
    // Reads the route's two lines; an entry whose address part is no whole number sets
    // LoadErrorText (the lines are read all the same).
    void LoadFromStream(std::istream& stream);

    uint32_t EntryCount = 0;
    std::array<uint32_t, kMaxEntries> EntryAddress;
    std::array<uint8_t, kMaxEntries> EntryState{};
    uint32_t RouteNumber = 1;
    TQXP6ConditionSet TriggerConditions{eQXP6CondRoute};
    uint32_t BaseAddress = 1; // the board's base address, kept equal by the board

    std::string LoadErrorText;
};

#pragma once
// One of the four sequences of an RVN2 board: a type, a short name that the board keeps in
// 15 bytes, a description and sixteen steps. In the SV table a sequence takes a block of 113 SVs.

#include "boards/CsvIo.h"
#include "boards/HeldValues.h"
#include "boards/rvn2/RVN2SequenceStep.h"

#include <array>
#include <cstdint>
#include <istream>
#include <ostream>
#include <span>
#include <string>
#include <vector>

enum ERVN2SequenceType : uint8_t {
    eSeqStationStop = 0,
    eSeqShuttle = 1,
    eSeqUserDefined = 2,
};

class TRVN2Sequence : public TCsvIo {
public:
    static constexpr size_t kStepCount = 16;
    static constexpr size_t kNameBytes = 15;
    static constexpr size_t kSVBytes = 2 + kNameBytes + kStepCount * TRVN2SequenceStep::kSVBytes; // 113

    explicit TRVN2Sequence(uint32_t sequenceNumber = 1);

    // Sequence number, a tab, the name.
    std::string GetListLine() const;

    // The bytes of `name` that the board keeps: its first kNameBytes, or fewer where the last
    // character of a UTF-8 name would not fit whole. A name in another encoding is cut by bytes.
    static std::string BoardName(const std::string& name);

    // Step 0 to 15.
    TRVN2SequenceStep& StepAt(size_t index) { return Steps.at(index); }
    const TRVN2SequenceStep& StepAt(size_t index) const { return Steps.at(index); }

    void GetTextLines(std::vector<std::string>& lines) const;
    // What the board holds of the sequence and its steps (HeldValues.h), under the parts
    // "Sequence <s>" and "Sequence <s>, step <i>".
    void AddHeldValues(const std::string& part, THeldValues& values) const;

    // The sequence's block of SVs.
    void ToSVs(std::span<uint8_t, kSVBytes> block) const;
    void FromSVs(std::span<const uint8_t, kSVBytes> block);

    // The sequence line, the description line and the sixteen step lines of a board file.
    void SaveToStream(std::ostream& stream);
    void LoadFromStream(std::istream& stream);

    uint8_t SequenceType = eSeqUserDefined;
    std::string Name = "Undefined";
    uint32_t ActiveSteps = 0;
    std::string Description;
    std::array<TRVN2SequenceStep, kStepCount> Steps;
    uint32_t SequenceNumber = 1;
};

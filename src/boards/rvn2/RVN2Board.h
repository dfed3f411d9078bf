#pragma once
// The RVN2 Autoferry shuttle board: it runs trains automatically by playing up to four
// sequences of sixteen steps, and can report its inputs as general sensor inputs.

#include "boards/ConfigurableBoard.h"
#include "boards/rvn2/RVN2SensorConfig.h"
#include "boards/rvn2/RVN2Sequence.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class TRVN2Board : public TTypedBoard {
public:
    static constexpr size_t kSequenceCount = 4;

    TRVN2Board();

    void SaveToStream(std::ostream& stream) override;
    void LoadFromStream(std::istream& stream) override;
    bool CalculateSVs() override; // always true: every description fits its SVs
    // Takes the sensor configuration and the sequences from the SVs; the serial number and
    // the notes stay as they are.
    void DecodeSVs() override;
    void DisplayBoard(std::vector<std::string>& lines) override;
    std::unique_ptr<TConfigurableBoard> Clone() const override { return std::make_unique<TRVN2Board>(*this); }
    void AddHeldValues(THeldValues& values) const override;

    // The first SV of sequence 1 to 4.
    static uint32_t SequenceFirstSV(size_t sequenceNumber);

    // Sequence 0 to 3 (numbered 1 to 4).
    TRVN2Sequence& GetSequence(size_t index) { return Sequences.at(index); }
    const TRVN2Sequence& GetSequence(size_t index) const { return Sequences.at(index); }

    std::array<TRVN2Sequence, kSequenceCount> Sequences;
    TRVN2SensorConfig SensorConfig;
    std::string Notes = "Unassigned";
};

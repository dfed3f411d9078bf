#include "boards/rvn2/RVN2Board.h"

#include <span>

namespace {

// SV numbers of the board's table.
constexpr uint32_t kSensorBoardSV = 12;
constexpr uint32_t kSensorConfigSV = 13;
constexpr uint32_t kFirstSequenceSV = 30;

} // namespace

TRVN2Board::TRVN2Board() : TTypedBoard(eRVN2)
{
    for (size_t i = 0; i < kSequenceCount; ++i) Sequences[i].SequenceNumber = static_cast<uint32_t>(i + 1);
}

uint32_t TRVN2Board::SequenceFirstSV(size_t sequenceNumber)
{
    return kFirstSequenceSV + static_cast<uint32_t>(TRVN2Sequence::kSVBytes * (sequenceNumber - 1));
}

bool TRVN2Board::CalculateSVs()
{
    TConfigurableBoard::CalculateSVs();
    SetSV(kSensorBoardSV, static_cast<uint8_t>(SensorConfig.SensorBoardNumber & 0xFF));
    SetSV(kSensorConfigSV, SensorConfig.ConfigCode);
    for (size_t i = 0; i < kSequenceCount; ++i) {
        const uint32_t first = SequenceFirstSV(i + 1);
        Sequences[i].ToSVs(std::span<uint8_t>(SVs).subspan(first - 1).first<TRVN2Sequence::kSVBytes>());
    }
    return true;
}

void TRVN2Board::DecodeSVs()
{
    SensorConfig.ConfigCode = GetSV(kSensorConfigSV);
    SensorConfig.SensorBoardNumber = GetSV(kSensorBoardSV);
    for (size_t i = 0; i < kSequenceCount; ++i) {
        const uint32_t first = SequenceFirstSV(i + 1);
        Sequences[i].FromSVs(std::span<const uint8_t>(SVs).subspan(first - 1).first<TRVN2Sequence::kSVBytes>());
    }
}

void TRVN2Board::DisplayBoard(std::vector<std::string>& lines)
{
    TConfigurableBoard::DisplayBoard(lines);
    lines.push_back("Description: " + Notes);
    SensorConfig.GetTextLines(lines);
    for (const auto& sequence : Sequences) {
        lines.emplace_back();
        sequence.GetTextLines(lines);
    }
}

void TRVN2Board::AddHeldValues(THeldValues& values) const
{
    values.Add("Sensor Board Number", SensorConfig.SensorBoardNumber);
    const std::string config = SensorConfig.GetConfigName();
    values.Add("Sensor Input settings", config.empty() ? std::to_string(SensorConfig.ConfigCode) : config);
    for (size_t i = 0; i < kSequenceCount; ++i) Sequences[i].AddHeldValues("Sequence " + std::to_string(i + 1), values);
}

void TRVN2Board::SaveToStream(std::ostream& stream)
{
    ClearFields();
    SetText(0, BoardRecordTag(eRVN2));
    SetText(1, Name);
    SetNumber(2, static_cast<int32_t>(SerialNumber));
    WriteLine(stream);

    ClearFields();
    SetText(1, Notes);
    WriteLine(stream);

    SensorConfig.SaveToStream(stream);
    for (auto& sequence : Sequences) sequence.SaveToStream(stream);
}

void TRVN2Board::LoadFromStream(std::istream& stream)
{
    ReadLine(stream);
    Name = GetText(1);
    SerialNumber = static_cast<uint32_t>(GetNumber(2));

    ReadLine(stream);
    Notes = GetText(1);

    SensorConfig.LoadFromStream(stream);
    for (auto& sequence : Sequences) sequence.LoadFromStream(stream);
}

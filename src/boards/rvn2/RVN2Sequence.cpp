#include "boards/rvn2/RVN2Sequence.h"

namespace {

bool IsContinuationByte(char byte)
{
    return (static_cast<unsigned char>(byte) & 0xC0) == 0x80;
}

// The bytes of the UTF-8 character that begins with `lead`; 0 when no character begins with it.
size_t Utf8Length(char lead)
{
    const auto byte = static_cast<unsigned char>(lead);
    if (byte < 0x80) return 1;
    if ((byte & 0xE0) == 0xC0) return 2;
    if ((byte & 0xF0) == 0xE0) return 3;
    if ((byte & 0xF8) == 0xF0) return 4;
    return 0;
}

// Whether `text` is a sequence of whole UTF-8 characters.
bool IsUtf8(const std::string& text)
{
    for (size_t i = 0; i < text.size();) {
        const size_t length = Utf8Length(text[i]);
        if (length == 0 || i + length > text.size()) return false;
        for (size_t k = 1; k < length; ++k)
            if (!IsContinuationByte(text[i + k])) return false;
        i += length;
    }
    return true;
}

} // namespace

TRVN2Sequence::TRVN2Sequence(uint32_t sequenceNumber) : SequenceNumber(sequenceNumber)
{
    SetQuoteStrings(true);
    for (size_t i = 0; i < kStepCount; ++i) Steps[i].StepNumber = static_cast<uint32_t>(i + 1);
}

std::string TRVN2Sequence::GetListLine() const
{
    return std::to_string(SequenceNumber) + "\t" + Name;
}

std::string TRVN2Sequence::BoardName(const std::string& name)
{
    if (name.size() <= kNameBytes) return name;
    size_t cut = kNameBytes;
    // The byte after the cut continues a character that began before it: leave that character out.
    if (IsUtf8(name))
        while (cut > 0 && IsContinuationByte(name[cut])) --cut;
    return name.substr(0, cut);
}

void TRVN2Sequence::GetTextLines(std::vector<std::string>& lines) const
{
    lines.push_back("Sequence " + std::to_string(SequenceNumber) + ": name=" + Name);
    lines.push_back("  Description: " + Description);
    std::string type = "  Type = ";
    switch (SequenceType) {
    case eSeqStationStop: type += "     station stop;"; break;
    case eSeqShuttle: type += "     shuttle;"; break;
    case eSeqUserDefined: type += "     user defined;"; break;
    default: break;
    }
    lines.push_back(type);
    lines.push_back("  Number of Steps = " + std::to_string(ActiveSteps));
    for (const auto& step : Steps) step.GetTextLines(lines);
}

void TRVN2Sequence::AddHeldValues(const std::string& part, THeldValues& values) const
{
    values.SetPart(part);
    values.Add("Short Name", Name);
    values.Add("Sequence Type", SequenceType);
    values.Add("No. Active Steps", ActiveSteps);
    for (size_t i = 0; i < kStepCount; ++i) {
        values.SetPart(part + ", step " + std::to_string(i + 1));
        Steps[i].AddHeldValues(values);
    }
}

void TRVN2Sequence::ToSVs(std::span<uint8_t, kSVBytes> block) const
{
    block[0] = SequenceType;
    block[1] = static_cast<uint8_t>(ActiveSteps & 0xFF);
    const std::string name = BoardName(Name);
    for (size_t k = 0; k < kNameBytes; ++k) block[2 + k] = k < name.size() ? static_cast<uint8_t>(name[k]) : uint8_t{0};
    for (size_t i = 0; i < kStepCount; ++i)
        Steps[i].ToSVs(
            block.subspan(2 + kNameBytes + i * TRVN2SequenceStep::kSVBytes).first<TRVN2SequenceStep::kSVBytes>());
}

void TRVN2Sequence::FromSVs(std::span<const uint8_t, kSVBytes> block)
{
    SequenceType = block[0];
    ActiveSteps = block[1];
    Name.clear();
    for (size_t k = 0; k < kNameBytes && block[2 + k] != 0; ++k) Name.push_back(static_cast<char>(block[2 + k]));
    for (size_t i = 0; i < kStepCount; ++i)
        Steps[i].FromSVs(
            block.subspan(2 + kNameBytes + i * TRVN2SequenceStep::kSVBytes).first<TRVN2SequenceStep::kSVBytes>());
}

void TRVN2Sequence::SaveToStream(std::ostream& stream)
{
    ClearFields();
    SetText(1, "sequence_" + std::to_string(SequenceNumber));
    SetText(2, Name);
    SetNumber(3, SequenceType);
    SetNumber(4, static_cast<int32_t>(ActiveSteps));
    WriteLine(stream);

    ClearFields();
    SetText(2, Description);
    WriteLine(stream);

    for (auto& step : Steps) step.SaveToStream(stream);
}

void TRVN2Sequence::LoadFromStream(std::istream& stream)
{
    ReadLine(stream);
    Name = GetText(2);
    SequenceType = static_cast<uint8_t>(GetNumber(3));
    ActiveSteps = static_cast<uint32_t>(GetNumber(4));

    ReadLine(stream);
    Description = GetText(2);

    for (auto& step : Steps) step.LoadFromStream(stream);
}

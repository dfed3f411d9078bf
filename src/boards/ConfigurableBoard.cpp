#include "boards/ConfigurableBoard.h"

#include "boards/SafeFile.h"
#include "link/TextFormat.h"

#include <algorithm>

TConfigurableBoard::TConfigurableBoard()
{
    SetQuoteStrings(true);
}

TConfigurableBoard::TConfigurableBoard(const TConfigurableBoard& other)
    : TCsvIo(other), Name(other.Name), SerialNumber(other.SerialNumber), SWVersion(other.SWVersion),
      SVCount(other.SVCount), SVs(other.SVs)
{
    SetQuoteStrings(true);
}

TConfigurableBoard& TConfigurableBoard::operator=(const TConfigurableBoard& other)
{
    if (this != &other) {
        TCsvIo::operator=(other);
        Name = other.Name;
        SerialNumber = other.SerialNumber;
        SWVersion = other.SWVersion;
        SVCount = other.SVCount;
        SVs = other.SVs;
    }
    return *this;
}

void TConfigurableBoard::SetSVCount(uint32_t count)
{
    SVCount = count;
    SVs.assign(count, 0);
}

bool TConfigurableBoard::CalculateSVs()
{
    std::fill(SVs.begin(), SVs.end(), uint8_t{0});
    SetSV(3, static_cast<uint8_t>(SerialNumber & 0xFF));
    SetSV(4, static_cast<uint8_t>((SerialNumber >> 8) & 0xFF));
    return true;
}

void TConfigurableBoard::DecodeSVs()
{
    SerialNumber = static_cast<uint32_t>(GetSV(4)) * 256 + GetSV(3);
}

bool TConfigurableBoard::IsSVProgrammable(uint32_t n) const
{
    const auto& prot = GetProtectedSVs();
    if (std::find(prot.begin(), prot.end(), n) != prot.end()) return false;
    const auto& unused = GetUnusedSVs();
    return std::find(unused.begin(), unused.end(), n) == unused.end();
}

uint32_t TConfigurableBoard::NextSVBlock(uint32_t current, uint32_t& blockSize) const
{
    uint32_t start = current == 0 ? 5 : current + blockSize;
    blockSize = 0;
    while (start <= SVCount && !IsSVProgrammable(start)) ++start;
    if (start > SVCount) return start;
    blockSize = 4;
    for (uint32_t k = 1; k <= 3; ++k) {
        const uint32_t n = start + k;
        if (n >= SVCount || !IsSVProgrammable(n)) {
            blockSize = 1;
            break;
        }
    }
    return start;
}

namespace {

// "SV<n>=" for every SV number and the decimal text of every byte, made once: a listing is built
// from them piece by piece.
const std::vector<std::string>& ListingTexts()
{
    static const std::vector<std::string> texts = [] {
        std::vector<std::string> t;
        t.reserve(kBoardSVCount + 1 + 256);
        for (uint32_t n = 0; n <= kBoardSVCount; ++n) {
            std::string prefix = "SV";
            textformat::AppendDec(prefix, n);
            t.push_back(prefix + "=");
        }
        for (uint32_t v = 0; v < 256; ++v) {
            std::string value;
            textformat::AppendDec(value, v);
            t.push_back(value + ";  ");
        }
        return t;
    }();
    return texts;
}

} // namespace

std::string TConfigurableBoard::SVListingText() const
{
    // Which SVs are written, worked out once for the whole table.
    std::vector<char> skipped(SVCount + 1, 0);
    for (const auto* list : {&GetProtectedSVs(), &GetUnusedSVs()})
        for (uint32_t n : *list)
            if (n <= SVCount) skipped[n] = 1;
    const std::vector<std::string>& texts = ListingTexts();
    std::string out;
    out.reserve(40 + Name.size() + SVCount * 14);
    out.append("Board name = ").append(Name).append("\r\nSV Settings:\r\n");
    int inGroup = 0;
    for (uint32_t n = 1; n <= SVCount; ++n) {
        if (skipped[n]) continue;
        if (n <= kBoardSVCount) {
            out += texts[n];
        } else {
            out += "SV";
            textformat::AppendDec(out, n);
            out += '=';
        }
        out += texts[kBoardSVCount + 1 + GetSV(n)];
        if (++inGroup == 8) {
            out += "\r\n";
            inGroup = 0;
        }
    }
    return out;
}

bool TConfigurableBoard::WriteSVListing(const std::string& fileName)
{
    std::string error;
    return WriteSVListingFile(fileName, error);
}

bool TConfigurableBoard::WriteSVListingFile(const std::string& fileName, std::string& error) const
{
    return WriteFileReplacing(
        fileName, [this](std::ostream& out) { out << SVListingText(); }, error);
}

void TConfigurableBoard::DisplayBoard(std::vector<std::string>& lines)
{
    lines.push_back("Board Type: " + GetBoardType());
    lines.push_back(IsSerialValid() ? "Serial number: " + std::to_string(SerialNumber)
                                    : std::string("Serial number: not set yet"));
    lines.push_back("Board name: " + Name);
}

std::string TConfigurableBoard::GetListLine() const
{
    std::string serial = IsSerialValid() ? std::to_string(SerialNumber) : std::string("not set yet");
    return serial + "\t" + GetBoardType() + "\t " + Name;
}

// ---------------------------------------------------------------------------------------------

TTypedBoard::TTypedBoard(EBoardType type) : Type(type)
{
    Name = BoardTypeInfo(type).NewBoardName;
    SetSVCount(kBoardSVCount);
}

std::string TTypedBoard::GetBoardType() const
{
    return BoardTypeTag(Type);
}

bool TTypedBoard::IsBoardIdentity(uint32_t manufacturerId, uint32_t productId, uint32_t serial) const
{
    return IsBoardTypeIdentity(Type, manufacturerId, productId) && serial == SerialNumber;
}

const std::vector<uint32_t>& TTypedBoard::GetProtectedSVs() const
{
    return ProtectedBoardSVs();
}

const std::vector<uint32_t>& TTypedBoard::GetUnusedSVs() const
{
    return BoardTypeInfo(Type).UnusedSVs;
}

std::string TTypedBoard::GetSVErrorText() const
{
    return BoardTypeInfo(Type).SVErrorText;
}

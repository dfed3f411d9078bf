#include "boards/HoldCheck.h"

#include "boards/BoardFactory.h"

#include <unordered_map>

namespace {

const char* const kNothing = "nothing";

THoldDifference Difference(const THeldValue& place, std::string described, std::string held)
{
    return {place.Part, place.Item, std::move(described), std::move(held)};
}

// The meaning of the serial number the SVs give: SV3 low byte, SV4 high byte.
uint32_t SerialInSVs(const TConfigurableBoard& board)
{
    return board.GetSV(4) * 256u + board.GetSV(3);
}

} // namespace

std::string THoldDifference::Place() const
{
    return THeldValue{Part, Item, "", ""}.Place();
}

std::string THoldDifference::Line() const
{
    return Place() + ": " + Described + "; the board would hold " + Held;
}

std::vector<std::string> THoldReport::Lines() const
{
    std::vector<std::string> lines;
    if (!CalculationError.empty()) lines.push_back(CalculationError);
    for (const auto& difference : Differences) lines.push_back(difference.Line());
    return lines;
}

std::vector<THoldDifference> CompareHeldValues(const THeldValues& described, const THeldValues& held)
{
    std::unordered_map<std::string, size_t> heldAt;
    const auto& heldItems = held.Items();
    for (size_t i = 0; i < heldItems.size(); ++i) heldAt.emplace(heldItems[i].Place(), i);
    std::vector<bool> matched(heldItems.size(), false);

    std::vector<THoldDifference> differences;
    for (const THeldValue& value : described.Items()) {
        const auto found = heldAt.find(value.Place());
        if (found == heldAt.end()) {
            differences.push_back(Difference(value, value.Meaning(), kNothing));
            continue;
        }
        const THeldValue& other = heldItems[found->second];
        matched[found->second] = true;
        if (other.Meaning() == value.Meaning()) continue;
        const bool subjectOnly = other.Rest == value.Rest;
        differences.push_back(Difference(value, value.Meaning(), subjectOnly ? other.Subject : other.Meaning()));
    }
    for (size_t i = 0; i < heldItems.size(); ++i)
        if (!matched[i]) differences.push_back(Difference(heldItems[i], kNothing, heldItems[i].Meaning()));
    return differences;
}

std::unique_ptr<TConfigurableBoard> DecodedBoard(const TConfigurableBoard& like, const std::vector<uint8_t>& svs)
{
    auto board = CreateBoardOfType(BoardTypeFromTag(like.GetBoardType()));
    if (!board) return nullptr;
    board->SWVersion = like.SWVersion;
    for (uint32_t n = 1; n <= svs.size(); ++n) board->SetSV(n, svs[n - 1]);
    board->DecodeSVs();
    return board;
}

std::optional<std::vector<THoldDifference>> CompareSVsByMeaning(const TConfigurableBoard& like,
                                                                const std::vector<uint8_t>& first,
                                                                const std::vector<uint8_t>& second)
{
    const auto a = DecodedBoard(like, first);
    const auto b = DecodedBoard(like, second);
    if (!a || !b) return std::nullopt;
    THeldValues aValues;
    THeldValues bValues;
    a->AddHeldValues(aValues);
    b->AddHeldValues(bValues);
    if (aValues.Items().empty()) return std::nullopt;
    return CompareHeldValues(aValues, bValues);
}

std::string HoldSummary(size_t values)
{
    return std::to_string(values) + (values == 1 ? " value cannot be held" : " values cannot be held");
}

THoldReport CheckHold(const TConfigurableBoard& board, uint32_t swVersion)
{
    THoldReport report;
    const auto calculated = board.Clone();
    if (!calculated) return report;
    calculated->SWVersion = swVersion;
    if (!calculated->CalculateSVs()) report.CalculationError = calculated->GetSVErrorText();
    const auto decoded = DecodedBoard(*calculated, calculated->GetSVTable());
    if (!decoded) return report;

    THeldValues described;
    THeldValues held;
    board.AddHeldValues(described);
    decoded->AddHeldValues(held);
    report.Checked = !described.Items().empty();
    report.Differences = CompareHeldValues(described, held);

    const uint32_t serial = SerialInSVs(*calculated);
    if (serial != board.SerialNumber) {
        report.Differences.insert(report.Differences.begin(), THoldDifference{"", "Serial Number",
                                                                              std::to_string(board.SerialNumber),
                                                                              std::to_string(serial)});
    }
    return report;
}

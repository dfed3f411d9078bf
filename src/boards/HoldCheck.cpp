#include "boards/HoldCheck.h"

#include "boards/BoardFactory.h"

#include <functional>
#include <string_view>

namespace {

const char* const kNothing = "nothing";
constexpr size_t kNoSlot = static_cast<size_t>(-1);

THoldDifference Difference(const THeldValue& place, std::string described, std::string held)
{
    return {place.Part, place.Item, std::move(described), std::move(held)};
}

// THeldValue::Place() appended to `text`.
void AppendPlace(std::string& text, const THeldValue& value)
{
    if (!value.Part.empty()) text.append(value.Part).append(", ");
    text.append(value.Item);
}

// Whether the two values' meanings (subject and rest joined) are the same text.
bool SameMeaning(const THeldValue& a, const THeldValue& b)
{
    if (a.Subject == b.Subject) return a.Rest == b.Rest;
    if (a.Subject.size() + a.Rest.size() != b.Subject.size() + b.Rest.size()) return false;
    return a.Meaning() == b.Meaning();
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
    // Each described value is compared with the first held value of its place. A board lists
    // hundreds of values, and a board is checked each time it is programmed: the held places are
    // written once into one text and found through an open hash table of their positions.
    const auto& heldItems = held.Items();
    std::string heldPlaces;
    heldPlaces.reserve(heldItems.size() * 40);
    std::vector<size_t> placeEnds(heldItems.size());
    for (size_t i = 0; i < heldItems.size(); ++i) {
        AppendPlace(heldPlaces, heldItems[i]);
        placeEnds[i] = heldPlaces.size();
    }
    const auto heldPlace = [&](size_t i) {
        const size_t start = i == 0 ? 0 : placeEnds[i - 1];
        return std::string_view(heldPlaces).substr(start, placeEnds[i] - start);
    };
    size_t slotCount = 16;
    while (slotCount < 2 * heldItems.size()) slotCount *= 2;
    const size_t mask = slotCount - 1;
    std::vector<size_t> slots(slotCount, kNoSlot); // held indexes; the first of each place only
    for (size_t i = 0; i < heldItems.size(); ++i) {
        const std::string_view place = heldPlace(i);
        size_t at = std::hash<std::string_view>{}(place) & mask;
        while (slots[at] != kNoSlot && heldPlace(slots[at]) != place) at = (at + 1) & mask;
        if (slots[at] == kNoSlot) slots[at] = i;
    }
    std::vector<bool> matched(heldItems.size(), false);

    std::string place;
    std::vector<THoldDifference> differences;
    for (const THeldValue& value : described.Items()) {
        place.clear();
        AppendPlace(place, value);
        size_t at = std::hash<std::string_view>{}(place) & mask;
        while (slots[at] != kNoSlot && heldPlace(slots[at]) != place) at = (at + 1) & mask;
        if (slots[at] == kNoSlot) {
            differences.push_back(Difference(value, value.Meaning(), kNothing));
            continue;
        }
        const THeldValue& other = heldItems[slots[at]];
        matched[slots[at]] = true;
        if (SameMeaning(other, value)) continue;
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
    bValues.Reserve(aValues.Items().size());
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
    held.Reserve(described.Items().size()); // the decoded board lists the same places
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

#include "boards/orb/Signal.h"

namespace {

const char* const kHeadTexts[TSignal::kHeadTypeCount] = {
    "     4 aspect, common cathode LEDs;",
    "     4 aspect, common anode LEDs;",
    "     3 aspect, common cathode LEDs;",
    "     3 aspect, common anode LEDs;",
    "     2 wire searchlight signal;",
    "     3 wire searchlight signal;",
    "     Euro Distant, common cathode LEDs;",
    "     Euro Distant, common anode LEDs;",
    "     US 3 aspect, common cathode LEDs;",
    "     US 3 aspect, common anode LEDs;",
    "     2 aspect, common cathode LEDs;",
    "     2 aspect, common anode LEDs;",
    "     US 3 aspect, approach lit, common cathode LEDs;",
    "     US 3 aspect, approach lit, common anode LEDs;",
};

const char* const kRevZoneTexts[TSignal::kRevZoneCount] = {
    "     No Reverse Running Zone assigned",     "     Reverse Running Zone A, West to East",
    "     Reverse Running Zone A, East to West", "     Reverse Running Zone B, West to East",
    "     Reverse Running Zone B, East to West", "     Reverse Running Zone C, West to East",
    "     Reverse Running Zone C, East to West",
};

// Zone field value 0-6 to its SV code and back.
const uint8_t kRevZoneCodes[TSignal::kRevZoneCount] = {0, 1, 11, 2, 12, 3, 13};

void PutSV(std::vector<uint8_t>& svs, uint32_t sv, uint8_t value)
{
    if (sv >= 1 && sv <= svs.size()) svs[sv - 1] = value;
}

uint8_t SVAt(const std::vector<uint8_t>& svs, uint32_t sv)
{
    return sv >= 1 && sv <= svs.size() ? svs[sv - 1] : 0;
}

// Text for a next signal and its mode, after the line's leading words.
std::string NextSignalText(uint32_t number, uint8_t mode)
{
    switch (mode) {
    case ensVirtual: return "signal number " + std::to_string(number) + ", Virtual";
    case ensAlwaysGreen: return "is always Green";
    case ensAlwaysRed: return "is always Red";
    default: return "signal number " + std::to_string(number) + ", Normal";
    }
}

// What a next signal and its mode mean on the board: a next signal numbered 0 is none, which the
// board takes as always green, whatever the mode.
void AddHeldNextSignal(THeldValues& values, const std::string& item, uint32_t number, uint8_t mode)
{
    if (mode == ensAlwaysRed)
        values.Add(item, "is always Red");
    else if (mode == ensAlwaysGreen || number == 0)
        values.Add(item, "is always Green");
    else
        values.AddSplit(item, "signal number " + std::to_string(number), mode == ensVirtual ? ", Virtual" : ", Normal");
}

} // namespace

TSignal::TSignal()
{
    SetQuoteStrings(true);
}

void TSignal::SetType(uint8_t type)
{
    SignalType = type != estDiverging ? estBlock : estDiverging;
    TConditionSet blockOccupied(ecsBlock, &BlockOccupied);
    if (SignalType == estDiverging) {
        TConditionSet red(ecsRedDiverge, &Red);
        TConditionSet blockThrown(ecsBlock, BlockOccupiedThrown ? &*BlockOccupiedThrown : nullptr);
        TConditionSet redThrown(ecsRedDiverge, RedThrown ? &*RedThrown : nullptr);
        BlockOccupied = blockOccupied;
        Red = red;
        BlockOccupiedThrown = blockThrown;
        RedThrown = redThrown;
    } else {
        TConditionSet red(ecsRedNorm, &Red);
        BlockOccupied = blockOccupied;
        Red = red;
        BlockOccupiedThrown.reset();
        RedThrown.reset();
    }
}

std::string TSignal::ListLine() const
{
    return std::to_string(SignalNumber) + "\t" + (SignalType == estBlock ? "Block" : "Diverging") + "\t" + Name;
}

bool TSignal::IsOnBoard(uint32_t number) const
{
    const long long r = static_cast<long long>(number) - static_cast<long long>(BaseAddress) + 1;
    return r >= 1 && r <= kSignalsPerBoard;
}

bool TSignal::GatherDevices(TExtDevTable& table) const
{
    bool ok = true;
    auto gatherNext = [&](uint32_t number, uint8_t mode) {
        if ((mode == ensNormal || mode == ensVirtual) && !IsOnBoard(number))
            ok = table.Add({edtSignal, number, 0}) && ok;
    };
    gatherNext(NextSignal, NextMode);
    if (!IsBlock()) {
        ok = table.Add({edtPoint, JunctionPoint, 0}) && ok;
        gatherNext(NextSignalThrown, NextModeThrown);
    }
    ok = BlockOccupied.GatherDevices(table) && ok;
    ok = Red.GatherDevices(table) && ok;
    if (!IsBlock()) {
        ok = BlockOccupiedThrown->GatherDevices(table) && ok;
        ok = RedThrown->GatherDevices(table) && ok;
    }
    ok = IsolationOverride.GatherDevices(table) && ok;
    ok = Aux.GatherDevices(table) && ok;
    return ok;
}

bool TSignal::NextSignalCode(uint32_t number, uint8_t mode, const TExtDevTable& table, uint8_t& code) const
{
    // "Always red" is its own code, whatever the number: a red signal must never come out green.
    if (mode == ensAlwaysRed) {
        code = 255;
        return true;
    }
    code = 0;
    if (number == 0) return true;
    bool ok = true;
    const long long r = static_cast<long long>(number) - static_cast<long long>(BaseAddress) + 1;
    if (r >= 1 && r <= kSignalsPerBoard) {
        code = static_cast<uint8_t>(r);
    } else {
        const uint32_t entry = table.Find({edtSignal, number, 0});
        if (entry > 38)
            code = static_cast<uint8_t>(entry - 38);
        else
            ok = false;
    }
    if (mode == ensVirtual) code = static_cast<uint8_t>(code + 100);
    if (mode == ensAlwaysGreen) {
        code = 0;
        ok = true;
    }
    return ok;
}

bool TSignal::DecodeNextSignal(uint8_t code, const TExtDevTable& table, uint32_t& number, uint8_t& mode) const
{
    number = 0;
    if (code == 0) {
        mode = ensAlwaysGreen;
        return true;
    }
    if (code == 255) {
        mode = ensAlwaysRed;
        return true;
    }
    uint32_t value = code;
    mode = ensNormal;
    if (value > 100) {
        mode = ensVirtual;
        value -= 100;
    }
    if (value > kSignalsPerBoard) {
        const TDeviceKey entry = table.Entry(value + 38);
        if (value + 38 > TExtDevTable::kEntryCount || entry.DeviceType == edtNone) return false;
        number = entry.Number;
        return true;
    }
    number = BaseAddress + value - 1;
    return true;
}

uint8_t TSignal::RevZoneCode(uint8_t zone)
{
    return zone < kRevZoneCount ? kRevZoneCodes[zone] : 0;
}

uint8_t TSignal::RevZoneFromCode(uint8_t code)
{
    for (uint8_t z = 1; z < kRevZoneCount; ++z)
        if (kRevZoneCodes[z] == code) return z;
    return 0;
}

uint32_t TSignal::BlockSV(size_t svCount) const
{
    const uint32_t n = SignalNumber;
    if (n < 1 || n > kSignalsPerBoard) return 0;
    const uint32_t b = kFirstBlockSV + kBlockSize * (n - 1);
    return b + kBlockSize - 1 > svCount ? 0 : b;
}

template <class Self, class Place> void TSignal::ForEachSetPlace(Self& signal, Place place)
{
    if (signal.IsBlock()) {
        place(signal.BlockOccupied, 3);
        place(signal.Red, 6);
    } else {
        place(signal.BlockOccupied, 4);
        place(signal.Red, 7);
        place(*signal.BlockOccupiedThrown, 12);
        place(*signal.RedThrown, 15);
    }
    place(signal.IsolationOverride, 20);
    place(signal.Aux, 23);
}

bool TSignal::ToSVs(std::vector<uint8_t>& svs, const TExtDevTable& table) const
{
    const uint32_t b = BlockSV(svs.size());
    if (b == 0) return false;
    const uint32_t n = SignalNumber;
    uint8_t* block = svs.data() + (b - 1);
    bool ok = true;

    PutSV(svs, 9 + n, static_cast<uint8_t>(HeadType & 0xFF));
    PutSV(svs, 29 + n, IsBlock() ? 1 : 0);
    PutSV(svs, 160 + 2 * (n - 1), static_cast<uint8_t>(TranspondingZone & 0xFF));
    PutSV(svs, 161 + 2 * (n - 1), static_cast<uint8_t>((TranspondingZone >> 8) & 0xFF));

    block[0] = RevZoneCode(RevZone);
    const uint32_t pointEntry = table.Find({edtPoint, JunctionPoint, 0});
    block[1] = static_cast<uint8_t>(pointEntry);
    ok = NextSignalCode(NextSignal, NextMode, table, block[2]) && ok;
    if (!IsBlock()) {
        if (pointEntry == 0) ok = false;
        ok = NextSignalCode(NextSignalThrown, NextModeThrown, table, block[3]) && ok;
    }
    ForEachSetPlace(
        *this, [&](const TConditionSet& set, uint32_t offset) { ok = set.ToSVBytes(block + offset, table) && ok; });
    return ok;
}

bool TSignal::FromSVs(const std::vector<uint8_t>& svs, const TExtDevTable& table)
{
    const uint32_t b = BlockSV(svs.size());
    if (b == 0) return false;
    const uint32_t n = SignalNumber;
    const uint8_t* block = svs.data() + (b - 1);
    bool ok = true;

    SetType(SVAt(svs, 29 + n));
    HeadType = SVAt(svs, 9 + n);
    TranspondingZone = SVAt(svs, 160 + 2 * (n - 1)) + 256u * SVAt(svs, 161 + 2 * (n - 1));
    RevZone = RevZoneFromCode(block[0]);

    JunctionPoint = 0;
    if (block[1] != 0) {
        const TDeviceKey entry = table.Entry(block[1]);
        if (entry.DeviceType == edtPoint)
            JunctionPoint = entry.Number;
        else
            ok = false;
    }

    uint32_t number = 0;
    uint8_t mode = ensNormal;
    ok = DecodeNextSignal(block[2], table, number, mode) && ok;
    NextSignal = number;
    NextMode = mode;
    if (!IsBlock()) {
        ok = DecodeNextSignal(block[3], table, number, mode) && ok;
        NextSignalThrown = number;
        NextModeThrown = mode;
    }
    ForEachSetPlace(*this,
                    [&](TConditionSet& set, uint32_t offset) { ok = set.FromSVBytes(block + offset, table) && ok; });
    return ok;
}

void TSignal::AddText(std::vector<std::string>& lines) const
{
    const bool block = IsBlock();
    lines.push_back("     Signal: " + std::to_string(SignalNumber));
    lines.push_back(block ? std::string("     Block signal")
                          : "     Diverging junction signal, controlled by point " + std::to_string(JunctionPoint));
    lines.push_back("     Signal Name: " + Name);
    lines.push_back("     Description: " + Description);
    lines.push_back(TranspondingZone != 0 ? "     Transponding Zone: " + std::to_string(TranspondingZone)
                                          : std::string("     No assigned Transponding Zone;"));
    lines.push_back(kRevZoneTexts[RevZone < kRevZoneCount ? RevZone : 0]);
    lines.push_back(HeadType >= 0 && HeadType < kHeadTypeCount
                        ? std::string(kHeadTexts[HeadType])
                        : "     Unknown head type " + std::to_string(HeadType) + ";");
    lines.push_back(std::string(block ? "     Next signal: " : "     Next signal if point is closed: ") +
                    NextSignalText(NextSignal, NextMode));
    if (!block)
        lines.push_back("     Next signal if point is thrown: " + NextSignalText(NextSignalThrown, NextModeThrown));
    if (block) {
        lines.push_back("     Block occupied conditions:");
        BlockOccupied.AddText(lines);
        lines.push_back("     Force to Red conditions:");
        Red.AddText(lines);
    } else {
        lines.push_back("     Block occupied conditions when point is closed:");
        BlockOccupied.AddText(lines);
        lines.push_back("     Force to Red conditions when point is closed:");
        Red.AddText(lines);
        lines.push_back("     Block occupied conditions when point is thrown:");
        BlockOccupiedThrown->AddText(lines);
        lines.push_back("     Force to Red conditions when point is thrown:");
        RedThrown->AddText(lines);
    }
    lines.push_back("     Isolation zone override conditions:");
    IsolationOverride.AddText(lines);
    lines.push_back("     Auxiliary output conditions:");
    Aux.AddText(lines);
    lines.push_back("");
}

void TSignal::AddHeldValues(THeldValues& values) const
{
    values.SetPart("Signal " + std::to_string(SignalNumber));
    const bool block = IsBlock();
    values.Add("signal type", block ? "Block Signal" : "Diverging Junction");
    values.Add("head type", std::to_string(HeadType));
    values.Add("transponding zone", TranspondingZone);
    values.Add("reverse running zone", kRevZoneTexts[RevZone < kRevZoneCount ? RevZone : 0] + 5);
    if (block) {
        AddHeldNextSignal(values, "next signal", NextSignal, NextMode);
        BlockOccupied.AddHeldValues("block occupied set", values);
        Red.AddHeldValues("red set", values);
    } else {
        values.Add("junction point", JunctionPoint);
        AddHeldNextSignal(values, "next signal when point is closed", NextSignal, NextMode);
        AddHeldNextSignal(values, "next signal when point is thrown", NextSignalThrown, NextModeThrown);
        BlockOccupied.AddHeldValues("block occupied when closed set", values);
        Red.AddHeldValues("red when closed set", values);
        BlockOccupiedThrown->AddHeldValues("block occupied when thrown set", values);
        RedThrown->AddHeldValues("red when thrown set", values);
    }
    IsolationOverride.AddHeldValues("isolation override set", values);
    Aux.AddHeldValues("auxiliary set", values);
}

void TSignal::WriteLines(std::ostream& stream)
{
    ClearFields();
    SetText(1, "Signal_" + std::to_string(SignalNumber));
    SetText(2, Name);
    SetNumber(3, SignalType);
    SetNumber(4, HeadType);
    SetNumber(5, static_cast<int32_t>(JunctionPoint));
    SetNumber(6, static_cast<int32_t>(TranspondingZone));
    SetNumber(7, RevZone);
    SetNumber(8, static_cast<int32_t>(NextSignal));
    SetNumber(9, static_cast<int32_t>(NextSignalThrown));
    SetNumber(10, NextMode);
    SetNumber(11, NextModeThrown);
    WriteLine(stream);

    ClearFields();
    SetText(2, Description);
    WriteLine(stream);

    BlockOccupied.WriteRecord(stream);
    if (!IsBlock()) BlockOccupiedThrown->WriteRecord(stream);
    Red.WriteRecord(stream);
    if (!IsBlock()) RedThrown->WriteRecord(stream);
    Aux.WriteRecord(stream);
    IsolationOverride.WriteRecord(stream);
}

void TSignal::ReadLines(std::istream& stream)
{
    ReadLine(stream);
    SetType(GetNumber(3) != 0 ? estBlock : estDiverging);
    Name = GetText(2);
    HeadType = GetNumber(4);
    JunctionPoint = static_cast<uint32_t>(GetNumber(5));
    TranspondingZone = static_cast<uint32_t>(GetNumber(6));
    const int zone = GetNumber(7);
    SetRevZone(zone >= 0 && zone < kRevZoneCount ? static_cast<uint8_t>(zone) : 0);
    NextSignal = static_cast<uint32_t>(GetNumber(8));
    NextSignalThrown = static_cast<uint32_t>(GetNumber(9));
    const int mode = GetNumber(10);
    SetNextMode(mode >= 0 && mode < kModeCount ? static_cast<uint8_t>(mode) : 0);
    const int modeThrown = GetNumber(11);
    SetNextModeThrown(modeThrown >= 0 && modeThrown < kModeCount ? static_cast<uint8_t>(modeThrown) : 0);

    ReadLine(stream);
    Description = GetText(2);

    BlockOccupied.ReadRecord(stream);
    if (!IsBlock()) BlockOccupiedThrown->ReadRecord(stream);
    Red.ReadRecord(stream);
    if (!IsBlock()) RedThrown->ReadRecord(stream);
    Aux.ReadRecord(stream);
    IsolationOverride.ReadRecord(stream);
}

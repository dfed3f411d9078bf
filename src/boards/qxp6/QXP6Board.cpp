#include "boards/qxp6/QXP6Board.h"

#include "boards/qxp6/QXP6Text.h"

namespace {

// SV numbers of the decoder's table.
constexpr uint32_t kSVBaseAddressLo = 5;
constexpr uint32_t kSVBaseAddressHi = 6;
constexpr uint32_t kSVUse16Addresses = 9;
constexpr uint32_t kSVLocoNetCommands = 10;
constexpr uint32_t kSVOutputTypeCode = 10; // + cell 1..8
constexpr uint32_t kSVCduDelay = 19;
constexpr uint32_t kSVBrightness = 20;
constexpr uint32_t kSVFollowCell = 20; // + cell
constexpr uint32_t kSVStateMemory = 30;
constexpr uint32_t kSVOutputMessage = 30; // + cell
constexpr uint32_t kSVSensorBoard = 39;
constexpr uint32_t kSVInputType = 40; // + input cell 1..10
constexpr uint32_t kSVInputMessage = 50; // + input cell
constexpr uint32_t kSVRouteBaseLo = 61;
constexpr uint32_t kSVRouteBaseHi = 62;
constexpr uint32_t kSVRouteEntries = 63; // + 12 (route - 1)
constexpr uint32_t kSVConditionTime = 160; // + cell
constexpr uint32_t kSVCellConditions = 251; // + 16 (cell - 1): thrown 7, closed 7, freeze 2
constexpr uint32_t kSVRouteTriggers = 381; // + 5 (route - 1)
constexpr uint32_t kSVChangeDelay = 420; // + cell

uint8_t Lo(uint32_t value)
{
    return static_cast<uint8_t>(value & 0xFF);
}
uint8_t Hi(uint32_t value)
{
    return static_cast<uint8_t>((value >> 8) & 0xFF);
}

} // namespace

TQXP6Board::TQXP6Board() : TTypedBoard(eQXP6)
{
    for (int i = 0; i < kOutputCellCount; ++i)
        OutputCells[static_cast<size_t>(i)].CellNumber = static_cast<uint32_t>(i + 1);
    for (int i = 0; i < kInputCellCount; ++i)
        InputCells[static_cast<size_t>(i)].CellNumber = static_cast<uint32_t>(i + 1);
    for (int i = 0; i < kRouteCount; ++i) Routes[static_cast<size_t>(i)].RouteNumber = static_cast<uint32_t>(i + 1);
    DeviceTable.SensorBoard = SensorBoardNumber;
    SetBaseAddress(1);
}

void TQXP6Board::SetBaseAddress(uint32_t value)
{
    BaseAddress = value;
    for (auto& cell : OutputCells) cell.BaseAddress = value;
    for (auto& route : Routes) route.BaseAddress = value;
    DeviceTable.BaseAddress = value;
}

TQXP6Cell* TQXP6Board::GetOutputCell(int index)
{
    return index >= 0 && index < kOutputCellCount ? &OutputCells[static_cast<size_t>(index)] : nullptr;
}

const TQXP6Cell* TQXP6Board::GetOutputCell(int index) const
{
    return index >= 0 && index < kOutputCellCount ? &OutputCells[static_cast<size_t>(index)] : nullptr;
}

TQXP6InputCell* TQXP6Board::GetInputCell(int index)
{
    return index >= 0 && index < kInputCellCount ? &InputCells[static_cast<size_t>(index)] : nullptr;
}

const TQXP6InputCell* TQXP6Board::GetInputCell(int index) const
{
    return index >= 0 && index < kInputCellCount ? &InputCells[static_cast<size_t>(index)] : nullptr;
}

TQXP6Route* TQXP6Board::GetRoute(int index)
{
    return index >= 0 && index < kRouteCount ? &Routes[static_cast<size_t>(index)] : nullptr;
}

const TQXP6Route* TQXP6Board::GetRoute(int index) const
{
    return index >= 0 && index < kRouteCount ? &Routes[static_cast<size_t>(index)] : nullptr;
}

bool TQXP6Board::CalculateSVs()
{
    // The device table depends only on the present description: rebuilt every time.
    DeviceTable.SensorBoard = SensorBoardNumber;
    DeviceTable.BaseAddress = BaseAddress;
    DeviceTable.Clear();
    for (const auto& cell : OutputCells) {
        cell.ClosedConditions.GatherDevices(DeviceTable);
        cell.ThrownConditions.GatherDevices(DeviceTable);
        cell.FreezeConditions.GatherDevices(DeviceTable);
    }
    for (const auto& route : Routes) route.TriggerConditions.GatherDevices(DeviceTable);

    bool ok = TConfigurableBoard::CalculateSVs();

    SetSV(kSVBaseAddressLo, Lo(BaseAddress));
    SetSV(kSVBaseAddressHi, Hi(BaseAddress));
    SetSV(kSVUse16Addresses, Use16Addresses ? 1 : 0);
    SetSV(kSVLocoNetCommands, LocoNetCommands ? 1 : 0);
    SetSV(kSVCduDelay, Lo(CduDelay));
    SetSV(kSVStateMemory, Lo(StateMemoryLocation));
    SetSV(kSVSensorBoard, Lo(SensorBoardNumber));
    SetSV(kSVRouteBaseLo, Lo(RouteBaseAddress));
    SetSV(kSVRouteBaseHi, Hi(RouteBaseAddress));

    uint8_t* svs = SVs.data();
    DeviceTable.ToSVBytes(svs);

    uint8_t brightness = 0;
    for (uint32_t n = 1; n <= kOutputCellCount; ++n) {
        const TQXP6Cell& cell = OutputCells[n - 1];
        SetSV(kSVOutputTypeCode + n, cell.TypeCode());
        SetSV(kSVFollowCell + n, Lo(cell.FollowCell));
        SetSV(kSVOutputMessage + n, cell.MessageType);
        SetSV(kSVConditionTime + n, Lo(cell.ConditionTime));
        SetSV(kSVChangeDelay + n, Lo(cell.ChangeDelay));
        if (cell.SimulateBrightness) brightness = static_cast<uint8_t>(brightness | (1u << (n - 1)));
        const uint32_t first = kSVCellConditions + 16 * (n - 1);
        const bool thrown = cell.ThrownConditions.ToSVBytes(svs + first - 1, DeviceTable);
        const bool closed = cell.ClosedConditions.ToSVBytes(svs + first + 7 - 1, DeviceTable);
        const bool freeze = cell.FreezeConditions.ToSVBytes(svs + first + 14 - 1, DeviceTable);
        ok = ok && thrown && closed && freeze;
    }
    SetSV(kSVBrightness, brightness);

    for (uint32_t m = 1; m <= kInputCellCount; ++m) {
        const TQXP6InputCell& input = InputCells[m - 1];
        SetSV(kSVInputType + m, input.InputType);
        SetSV(kSVInputMessage + m, input.MessageType);
    }

    for (uint32_t r = 1; r <= kRouteCount; ++r) {
        const bool fits =
            Routes[r - 1].ToSVBytes(svs, kSVRouteEntries + 12 * (r - 1), kSVRouteTriggers + 5 * (r - 1), DeviceTable);
        ok = ok && fits;
    }
    return ok;
}

void TQXP6Board::DecodeSVs()
{
    TConfigurableBoard::DecodeSVs();
    SetBaseAddress(GetSV(kSVBaseAddressLo) + 256u * GetSV(kSVBaseAddressHi));
    RouteBaseAddress = GetSV(kSVRouteBaseLo) + 256u * GetSV(kSVRouteBaseHi);
    Use16Addresses = GetSV(kSVUse16Addresses) != 0;
    LocoNetCommands = GetSV(kSVLocoNetCommands) != 0;
    CduDelay = GetSV(kSVCduDelay);
    StateMemoryLocation = GetSV(kSVStateMemory);
    SensorBoardNumber = GetSV(kSVSensorBoard);
    DeviceTable.SensorBoard = SensorBoardNumber;

    const uint8_t* svs = SVs.data();
    DeviceTable.FromSVBytes(svs);

    const uint8_t brightness = GetSV(kSVBrightness);
    for (uint32_t n = 1; n <= kOutputCellCount; ++n) {
        TQXP6Cell& cell = OutputCells[n - 1];
        cell.SetFromTypeCode(GetSV(kSVOutputTypeCode + n));
        cell.FollowCell = GetSV(kSVFollowCell + n);
        cell.MessageType = GetSV(kSVOutputMessage + n);
        cell.ConditionTime = GetSV(kSVConditionTime + n);
        cell.ChangeDelay = GetSV(kSVChangeDelay + n);
        cell.SimulateBrightness = (brightness >> (n - 1)) & 1;
        const uint32_t first = kSVCellConditions + 16 * (n - 1);
        cell.ThrownConditions.FromSVBytes(svs + first - 1, DeviceTable);
        cell.ClosedConditions.FromSVBytes(svs + first + 7 - 1, DeviceTable);
        cell.FreezeConditions.FromSVBytes(svs + first + 14 - 1, DeviceTable);
    }

    for (uint32_t m = 1; m <= kInputCellCount; ++m) {
        TQXP6InputCell& input = InputCells[m - 1];
        const uint8_t type = GetSV(kSVInputType + m);
        const uint8_t message = GetSV(kSVInputMessage + m);
        input.InputType = type < TQXP6InputCell::kInputTypeCount ? type : 0;
        input.MessageType = message < TQXP6InputCell::kMessageTypeCount ? message : 0;
    }

    for (uint32_t r = 1; r <= kRouteCount; ++r)
        Routes[r - 1].FromSVBytes(svs, kSVRouteEntries + 12 * (r - 1), kSVRouteTriggers + 5 * (r - 1), DeviceTable);
}

void TQXP6Board::DisplayBoard(std::vector<std::string>& lines)
{
    TConfigurableBoard::DisplayBoard(lines);
    lines.push_back("Board Base address: " + std::to_string(BaseAddress));
    lines.push_back("User Description: " + Notes);
    lines.push_back(Use16Addresses ? "occupies 16 addresses" : "occupies 8 addresses");
    lines.push_back(LocoNetCommands ? "responds to LocoNet switch commands" : "DCC commands only");
    lines.push_back("CDU delay = " + qxp6text::GeneralNumber(static_cast<double>(CduDelay) * 0.1) + " s");
    lines.push_back("sensor board number = " + std::to_string(SensorBoardNumber));
    lines.push_back("output memory location = " + std::to_string(StateMemoryLocation));

    lines.push_back("");
    lines.push_back("Output Cell Settings:");
    for (const auto& cell : OutputCells) cell.AddDescription(lines);

    lines.push_back("");
    lines.push_back("Input Cell Settings:");
    for (const auto& input : InputCells) input.AddDescription(lines);

    lines.push_back("");
    lines.push_back("Route Settings:");
    lines.push_back("DCC Base address to set routes: " + std::to_string(RouteBaseAddress));
    for (const auto& route : Routes) route.AddDescription(lines);
}

void TQXP6Board::AddHeldValues(THeldValues& values) const
{
    values.Add("DCC Base Address", BaseAddress);
    values.AddFlag("Use 16 Addresses", Use16Addresses);
    values.AddFlag("LocoNet commands", LocoNetCommands);
    values.Add("CDU recharge Delay", CduDelay);
    values.Add("State memory location", StateMemoryLocation);
    values.Add("Sensor Board Number", SensorBoardNumber);
    values.Add("DCC Address to activate routes", RouteBaseAddress);
    for (size_t i = 0; i < OutputCells.size(); ++i) {
        values.SetPart("Output cell " + std::to_string(i + 1));
        OutputCells[i].AddHeldValues(values);
    }
    for (size_t i = 0; i < InputCells.size(); ++i) {
        values.SetPart("Input cell " + TQXP6InputCell::Label(static_cast<uint32_t>(i + 1)));
        InputCells[i].AddHeldValues(values);
    }
    for (size_t i = 0; i < Routes.size(); ++i) {
        values.SetPart("Route " + std::to_string(i + 1));
        Routes[i].AddHeldValues(values);
    }
}

void TQXP6Board::SaveToStream(std::ostream& stream)
{
    ClearFields();
    SetText(0, BoardRecordTag(eQXP6));
    SetText(1, Name);
    SetNumbers(2, {SerialNumber, BaseAddress, Use16Addresses ? 1 : 0, LocoNetCommands ? 1 : 0, CduDelay,
                   StateMemoryLocation, SensorBoardNumber, RouteBaseAddress});
    WriteLine(stream);

    ClearFields();
    SetText(1, Notes);
    WriteLine(stream);

    for (auto& cell : OutputCells) cell.SaveToStream(stream);
    for (auto& input : InputCells) input.SaveToStream(stream);
    for (auto& route : Routes) route.SaveToStream(stream);
}

void TQXP6Board::LoadFromStream(std::istream& stream)
{
    ReadLine(stream);
    Name = GetText(1);
    SerialNumber = static_cast<uint32_t>(GetNumber(2));
    const auto baseAddress = static_cast<uint32_t>(GetNumber(3));
    Use16Addresses = GetNumber(4) != 0;
    LocoNetCommands = GetNumber(5) != 0;
    CduDelay = static_cast<uint32_t>(GetNumber(6));
    StateMemoryLocation = static_cast<uint32_t>(GetNumber(7));
    SensorBoardNumber = static_cast<uint32_t>(GetNumber(8));
    RouteBaseAddress = static_cast<uint32_t>(GetNumber(9));
    DeviceTable.SensorBoard = SensorBoardNumber;

    ReadLine(stream);
    Notes = GetText(1);

    for (auto& cell : OutputCells) cell.LoadFromStream(stream);
    for (auto& input : InputCells) input.LoadFromStream(stream);
    LoadErrorText.clear();
    for (auto& route : Routes) {
        route.LoadFromStream(stream);
        if (LoadErrorText.empty()) LoadErrorText = route.LoadErrorText;
    }

    // The cells and routes carry copies of the base address in their lines; the board's own
    // value wins so that every copy stays equal.
    SetBaseAddress(baseAddress);
}

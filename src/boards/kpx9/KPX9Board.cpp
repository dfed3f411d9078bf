#include "boards/kpx9/KPX9Board.h"

#include <algorithm>

namespace {

constexpr uint32_t kFirstCellSV = 30;
constexpr uint32_t kFirstLowRouteSV = 210; // routes 1..3
constexpr uint32_t kLowRoutes = 3;
constexpr uint32_t kFirstHighRouteSV = 257; // routes 4..24

std::string Num(uint32_t value)
{
    return std::to_string(value);
}

uint32_t CellSV(uint32_t index)
{
    return kFirstCellSV + kKPX9CellSVBytes * index;
}

uint32_t RouteSV(uint32_t index)
{
    return index < kLowRoutes ? kFirstLowRouteSV + kKPX9RouteSVBytes * index
                              : kFirstHighRouteSV + kKPX9RouteSVBytes * (index - kLowRoutes);
}

} // namespace

TKPX9Board::TKPX9Board() : TTypedBoard(eKPX9)
{
    for (uint32_t i = 0; i < kKPX9CellCount; ++i) Cells[i] = TKPX9Cell(i + 1);
    for (uint32_t i = 0; i < kKPX9RouteCount; ++i) Routes[i] = TKPX9Route(i + 1);
    SetToFromRoutes(false);
}

void TKPX9Board::SetToFromRoutes(bool toFrom)
{
    ToFromRoutes = toFrom;
    for (auto& route : Routes) route.ToFrom = toFrom;
}

bool TKPX9Board::CalculateSVs()
{
    TConfigurableBoard::CalculateSVs();
    SetSV(5, ToFromRoutes ? 1 : 0);
    SetSV(6, static_cast<uint8_t>(PointDelay));
    SetSV(9, static_cast<uint8_t>(SensorBoardNumber));
    SetSV(10, SensorsUsed);
    SetSV(11, PowerUpMode);
    SetSV(12, static_cast<uint8_t>(RouteDccAddress & 0xFF));
    SetSV(13, static_cast<uint8_t>((RouteDccAddress >> 8) & 0xFF));
    SetSV(14, static_cast<uint8_t>(SlaveDccAddress & 0xFF));
    SetSV(15, static_cast<uint8_t>((SlaveDccAddress >> 8) & 0xFF));
    SetSV(16, static_cast<uint8_t>(InterlockDccAddress & 0xFF));
    SetSV(17, static_cast<uint8_t>((InterlockDccAddress >> 8) & 0xFF));

    for (uint32_t i = 0; i < kKPX9CellCount; ++i) Cells[i].EncodeSVs(&SVs[CellSV(i) - 1], Cells);

    bool result = true;
    for (uint32_t i = 0; i < kKPX9RouteCount; ++i) {
        const bool fits = Routes[i].EncodeSVs(&SVs[RouteSV(i) - 1], Cells);
        result = result && fits;
    }
    return result;
}

void TKPX9Board::DecodeSVs()
{
    TConfigurableBoard::DecodeSVs();
    SetToFromRoutes(GetSV(5) != 0);
    SensorBoardNumber = GetSV(9);
    SensorsUsed = GetSV(10);
    PowerUpMode = GetSV(11);
    PointDelay = GetSV(6);
    RouteDccAddress = GetSV(12) + 256u * GetSV(13);
    SlaveDccAddress = GetSV(14) + 256u * GetSV(15);
    InterlockDccAddress = GetSV(16) + 256u * GetSV(17);

    for (uint32_t i = 0; i < kKPX9CellCount; ++i) Cells[i].DecodeSVs(&SVs[CellSV(i) - 1]);
    for (auto& cell : Cells) cell.DecodeAfterAll(Cells);

    DecodeErrors = false;
    for (uint32_t i = 0; i < kKPX9RouteCount; ++i) {
        if (!Routes[i].DecodeSVs(&SVs[RouteSV(i) - 1], Cells)) DecodeErrors = true;
    }
}

void TKPX9Board::DisplayBoard(std::vector<std::string>& lines)
{
    TConfigurableBoard::DisplayBoard(lines);

    lines.emplace_back();
    lines.emplace_back("Cell settings: ");
    for (const auto& cell : Cells) cell.GetDescriptionLines(lines);

    lines.emplace_back();
    lines.emplace_back("Route settings: ");
    lines.emplace_back(ToFromRoutes ? "  Routes use to, from button presses" : "  Routes use single button press");
    lines.emplace_back(RouteDccAddress == 0 ? std::string("  Routes not invoked by any DCC accessory address")
                                            : "  DCC accessory address to activate routes: " + Num(RouteDccAddress));
    for (const auto& route : Routes) route.GetDescriptionLines(lines);

    lines.emplace_back();
    lines.emplace_back("Board mode settings: ");
    switch (PowerUpMode) {
    case 0: lines.emplace_back("  Board is in STANDALONE mode after power up"); break;
    case 1: lines.emplace_back("  Board is in SLAVE mode after power up"); break;
    case 2: lines.emplace_back("  Board is in INTERLOCKED mode after power up"); break;
    default: break;
    }
    lines.emplace_back("  DCC accessory address to enter INTERLOCKED mode: " + Num(InterlockDccAddress));
    lines.emplace_back("  DCC accessory address to enter SLAVE mode: " + Num(SlaveDccAddress));
    lines.emplace_back("  Sensor board number in SLAVE or INTERLOCKED mode: " + Num(SensorBoardNumber));
    switch (SensorsUsed) {
    case 0: lines.emplace_back("  Board can be used in SLAVE mode, and occupies 4 board addresses;"); break;
    case 1: lines.emplace_back("  Board can occupy 4 slave addresses, 1-4"); break;
    case 2: lines.emplace_back("  Board can occupy 4 slave addresses, 5-8"); break;
    case 3: lines.emplace_back("  Board can occupy 4 slave addresses, 9-12"); break;
    case 4: lines.emplace_back("  Board can occupy 4 slave addresses, 13-16"); break;
    default: break;
    }
}

void TKPX9Board::AddHeldValues(THeldValues& values) const
{
    values.AddFlag("To/From Numbering", ToFromRoutes);
    values.Add("Delay between point outputs", PointDelay);
    values.Add("Sensor Board Number", SensorBoardNumber);
    values.Add("Sensors Used", SensorsUsed);
    static const char* const kModes[3] = {"Standalone Mode", "Slave Mode", "Interlocked Mode"};
    values.Add("Board mode after power up", PowerUpMode < 3 ? std::string(kModes[PowerUpMode]) : Num(PowerUpMode));
    values.Add("DCC Address to activate routes", RouteDccAddress);
    values.Add("DCC Addr to enter Slave Mode", SlaveDccAddress);
    values.Add("DCC Addr to enter Interlocked Mode", InterlockDccAddress);
    for (uint32_t i = 0; i < kKPX9CellCount; ++i) {
        values.SetPart("Cell " + Num(i + 1));
        Cells[i].AddHeldValues(values, Cells);
    }
    for (uint32_t i = 0; i < kKPX9RouteCount; ++i) {
        values.SetPart("Route " + Num(i + 1));
        Routes[i].AddHeldValues(values);
    }
}

// Record: board line, notes line, 30 cell lines, 24 route lines.
void TKPX9Board::SaveToStream(std::ostream& stream)
{
    ClearFields();
    SetText(0, BoardRecordTag(eKPX9));
    SetText(1, Name);
    SetNumber(2, SerialNumber);
    SetNumber(3, ToFromRoutes ? 1 : 0);
    SetNumber(4, SensorBoardNumber);
    SetNumber(5, SensorsUsed);
    SetNumber(6, PowerUpMode);
    SetNumber(7, RouteDccAddress);
    SetNumber(8, SlaveDccAddress);
    SetNumber(9, InterlockDccAddress);
    SetNumber(10, PointDelay);
    WriteLine(stream);

    ClearFields();
    SetText(1, Notes);
    WriteLine(stream);

    for (auto& cell : Cells) cell.SaveToStream(stream);
    for (auto& route : Routes) route.SaveToStream(stream);
}

void TKPX9Board::LoadFromStream(std::istream& stream)
{
    LoadErrorText.clear();
    ReadLine(stream);
    Name = GetText(1);
    SerialNumber = static_cast<uint32_t>(GetNumber(2));
    SetToFromRoutes(GetNumber(3) != 0);
    SensorBoardNumber = static_cast<uint32_t>(GetNumber(4));
    SensorsUsed = static_cast<uint8_t>(GetNumber(5));
    PowerUpMode = static_cast<uint8_t>(GetNumber(6));
    RouteDccAddress = static_cast<uint32_t>(GetNumber(7));
    SlaveDccAddress = static_cast<uint32_t>(GetNumber(8));
    InterlockDccAddress = static_cast<uint32_t>(GetNumber(9));
    PointDelay = static_cast<uint32_t>(GetNumber(10));

    ReadLine(stream);
    Notes = GetText(1);

    for (auto& cell : Cells) cell.LoadFromStream(stream);
    for (auto& route : Routes) {
        if (!route.LoadFromStream(stream) && LoadErrorText.empty()) LoadErrorText = route.LoadErrorText;
    }
}

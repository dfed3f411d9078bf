#include "boards/kpx9/KPX9Cell.h"

namespace {

constexpr const char* kCellTypeNames[kKPX9CellTypeCount] = {
    "Undefined",
    "Point Cell",
    "Sensor Cell",
    "ORB8 Signal Cell",
    "ORB8 Reverse Running Zone Cell",
    "SE8c Signal Cell, Red/Green",
    "SE8c Signal Cell, Red/Green/Amber",
    "RR&Co Interlock Cell",
    "Copy of Another Cell",
    "Display Board Mode Cell",
    "PM42 Relay Cell",
};

constexpr const char* kEffectTexts[kKPX9EffectCount] = {
    "No Action",
    "Change point state on each press",
    "Set Point Closed",
    "set Point Thrown",
    "Change sensor state each press",
    "Set sensor Active while pressed",
    "Request Interlock from RR&co or similar",
    "Set ORB8 signal to Red",
    "Release ORB8 signal",
    "Set Reverse Running Zone to W-E",
    "Set Reverse Running Zone to E-W",
    "Step SE8c signal Aspect",
    "Initialise Points",
    "Change board mode to/from Interlock",
    "Change board mode to/from Slave",
    "Track Power On",
    "Track Power Off",
    "Emergency Stop",
    "Generate Interrogate sequence",
    "Execute Route ",
};

const char* const kIndent = "       ";

std::string Num(uint32_t value)
{
    return std::to_string(value);
}

uint8_t Lo(uint32_t value)
{
    return static_cast<uint8_t>(value & 0xFF);
}

uint8_t Hi(uint32_t value)
{
    return static_cast<uint8_t>((value >> 8) & 0xFF);
}

// A button's SV byte: the effect, or the route + 100 for "Execute Route".
uint8_t ButtonByte(uint8_t effect, uint32_t route)
{
    return effect == kKPX9EffectRoute ? static_cast<uint8_t>(route + 100) : effect;
}

void ButtonFromByte(uint8_t value, uint8_t& effect, uint32_t& route)
{
    if (value > 100) {
        effect = kKPX9EffectRoute;
        route = value - 100u;
    } else {
        effect = value;
    }
}

bool UsesFeedback(uint8_t cellType)
{
    return cellType == eKPX9Point || cellType == eKPX9ORB8Signal || cellType == eKPX9ORB8Zone;
}

bool HasAspect(uint8_t cellType)
{
    return cellType == eKPX9ORB8Signal || cellType == eKPX9SE8cRG || cellType == eKPX9SE8cRGA;
}

const char* CascadeStateText(uint8_t mode)
{
    return mode == 2 ? " Thrown" : " Closed";
}

} // namespace

std::string KPX9CellTypeName(uint32_t cellType)
{
    return cellType < kKPX9CellTypeCount ? kCellTypeNames[cellType] : "";
}

std::string KPX9EffectText(uint32_t effect)
{
    return effect < kKPX9EffectCount ? kEffectTexts[effect] : "";
}

uint32_t FindPointCell(uint32_t address, const TKPX9Cells& cells)
{
    for (uint32_t i = 0; i < kKPX9CellCount; ++i) {
        if (cells[i].CellType == eKPX9Point && cells[i].Address == address) return i + 1;
    }
    return 0;
}

TKPX9Cell::TKPX9Cell() : TKPX9Cell(0) {}

TKPX9Cell::TKPX9Cell(uint32_t cellNumber)
{
    SetQuoteStrings(true);
    CellNumber = cellNumber;
    SetDefaults();
}

void TKPX9Cell::SetDefaults()
{
    Description = "undefined";
    CellType = eKPX9Undefined;
    Address = 1;
    ButtonAEffect = 0;
    ButtonBEffect = 0;
    ButtonARoute = 1;
    ButtonBRoute = 1;
    Initialise = 0;
    Token = 0;
    CascadeCell = 0;
    CascadeMode = 0;
    TurnoutFeedback = false;
    SensorFlash = false;
    SensorNumber = 1;
    Aspect = 1;
    ZoneFlash = false;
    InterlockNumber = 1;
    RelayNumber = 1;
    DecodedB5 = 0;
}

void TKPX9Cell::ForceCopiedCellIntoRange()
{
    if (CellType == eKPX9Copy && (Address < 1 || Address > kKPX9CellCount)) Address = 1;
}

uint8_t TKPX9Cell::CascadeByte() const
{
    switch (CascadeMode) {
    case 1: return static_cast<uint8_t>(CascadeCell);
    case 2: return static_cast<uint8_t>(CascadeCell + 30);
    default: return 0;
    }
}

void TKPX9Cell::SetCascadeFromByte(uint32_t value)
{
    if (value >= 31) {
        CascadeMode = 2;
        CascadeCell = value - 30;
    } else {
        CascadeMode = 1;
        CascadeCell = value;
    }
    if (CascadeCell == 0) CascadeMode = 0;
}

std::string TKPX9Cell::EffectPiece(uint8_t effect, uint32_t route) const
{
    std::string text = KPX9EffectText(effect);
    if (effect == kKPX9EffectRoute) text += Num(route);
    return text;
}

std::string TKPX9Cell::DetailText(bool forList) const
{
    const std::string feedback = TurnoutFeedback ? (forList ? " (TO F/B)" : " (Uses Turnout Feedback)") : "";
    switch (CellType) {
    case eKPX9Point:
        if (!forList) return ", Point Address " + Num(Address) + feedback;
        return ", Addr " + Num(Address) + feedback + (Token != 0 ? ", Interlock " + Num(Token) : "") +
               (CascadeMode != 0 ? ", Cascades from cell " + Num(CascadeCell) + CascadeStateText(CascadeMode) : "");
    case eKPX9Sensor:
        return ", Board = " + Num(Address) + ", Sensor = " + Num(SensorNumber) +
               (SensorFlash ? ", flashes until known" : "");
    case eKPX9ORB8Signal:
    case eKPX9ORB8Zone:
        return ", Address = " + Num(Address) + feedback +
               (CellType == eKPX9ORB8Zone && ZoneFlash ? ", Flashes when locked" : "");
    case eKPX9SE8cRG:
    case eKPX9SE8cRGA: return ", Address = " + Num(Address);
    case eKPX9Interlock:
        return (forList ? " " : ", Interlock number = ") + Num(InterlockNumber) + ", DCC Address = " + Num(Address);
    case eKPX9Copy: return ", Copies cell " + Num(Address);
    case eKPX9PM42Relay:
        return ", Board = " + Num(Address) + (forList ? ", Relay number = " : ", Relay = ") + Num(RelayNumber);
    default: return "";
    }
}

std::string TKPX9Cell::GetListLine() const
{
    return Num(CellNumber) + ": " + Description + "; " + KPX9CellTypeName(CellType) + DetailText(true);
}

void TKPX9Cell::GetDescriptionLines(std::vector<std::string>& lines) const
{
    lines.push_back("    Cell " + Num(CellNumber) + ": " + Description);
    lines.push_back(kIndent + KPX9CellTypeName(CellType) + DetailText(false));
    if (CellType == eKPX9Point) {
        if (Token != 0) lines.push_back(std::string(kIndent) + "Assigned to Interlock " + Num(Token));
        if (CascadeMode != 0) {
            lines.push_back(std::string(kIndent) + "Cascades from cell " + Num(CascadeCell) +
                            CascadeStateText(CascadeMode));
        }
    }
    lines.push_back(std::string(kIndent) + "Pushbutton A effect: " + EffectPiece(ButtonAEffect, ButtonARoute));
    lines.push_back(std::string(kIndent) + "Pushbutton B effect: " + EffectPiece(ButtonBEffect, ButtonBRoute));
}

void TKPX9Cell::AddHeldValues(THeldValues& values, const TKPX9Cells& cells) const
{
    const std::string typeName = KPX9CellTypeName(CellType);
    values.Add("Cell Type", typeName.empty() ? "type " + Num(CellType) : typeName);
    auto effect = [this](uint8_t code, uint32_t route) {
        const std::string text = EffectPiece(code, route);
        return text.empty() ? "effect " + Num(code) : text;
    };
    values.Add("Pushbutton A Function", effect(ButtonAEffect, ButtonARoute));
    values.Add("Pushbutton B Function", effect(ButtonBEffect, ButtonBRoute));
    auto cascade = [&values](uint8_t mode, uint32_t cell) {
        if (mode == 0)
            values.Add("Cascade", "none");
        else if (mode <= 2)
            values.AddSplit("Cascade", "from cell " + Num(cell), CascadeStateText(mode));
        else
            values.Add("Cascade", "mode " + Num(mode));
    };
    const std::string address = Num(Address) + (UsesFeedback(CellType) && TurnoutFeedback ? " (TO F/B)" : "");
    switch (CellType) {
    case eKPX9Undefined: return;
    case eKPX9Sensor:
        values.Add("Sensor board", Address);
        values.Add("Sensor Number", SensorNumber);
        values.AddFlag("Flash if unknown state", SensorFlash);
        return;
    case eKPX9PM42Relay:
        values.Add("PM42 board", Address);
        values.Add("Relay Number", RelayNumber);
        return;
    case eKPX9Copy:
        values.Add("Copies cell", Address);
        if (Address >= 1 && Address <= kKPX9CellCount) {
            const uint8_t copiedType = cells[Address - 1].CellType;
            if (copiedType == eKPX9Point) cascade(CascadeMode, CascadeCell);
            if (HasAspect(copiedType)) values.Add("Aspect Shown", Aspect);
        }
        return;
    default: values.Add("Address", address); break;
    }
    switch (CellType) {
    case eKPX9Point:
        values.Add("Assigned to Interlock", Token == 0 ? std::string("none") : "Token " + Num(Token));
        values.Add("Initialise", Initialise == 0   ? std::string("No Initialise")
                                 : Initialise <= 2 ? std::string(CascadeStateText(Initialise) + 1)
                                                   : Num(Initialise));
        cascade(CascadeMode, CascadeCell);
        break;
    case eKPX9ORB8Zone: values.AddFlag("LEDs flash if direction locked", ZoneFlash); break;
    case eKPX9Interlock: values.Add("Interlock Number", InterlockNumber); break;
    default:
        if (HasAspect(CellType)) values.Add("Aspect Shown", Aspect);
        break;
    }
}

void TKPX9Cell::SaveToStream(std::ostream& stream)
{
    ForceCopiedCellIntoRange();
    ClearFields();
    SetText(1, "Cell_");
    SetNumbers(2, {CellNumber, CellType, Address, ButtonAEffect, ButtonBEffect, ButtonARoute, ButtonBRoute});
    // Fields 9 to 13 hold what the cell type has.
    switch (CellType) {
    case eKPX9Point: SetNumbers(9, {Initialise, Token, CascadeCell, CascadeMode, TurnoutFeedback ? 1 : 0}); break;
    case eKPX9Sensor: SetNumbers(9, {SensorNumber, SensorFlash ? 1 : 0}); break;
    case eKPX9ORB8Signal: SetNumbers(9, {Aspect, CascadeCell, CascadeMode, TurnoutFeedback ? 1 : 0}); break;
    case eKPX9ORB8Zone: SetNumbers(9, {ZoneFlash ? 1 : 0, TurnoutFeedback ? 1 : 0}); break;
    case eKPX9SE8cRG:
    case eKPX9SE8cRGA:
    case eKPX9Copy: SetNumbers(9, {Aspect, CascadeCell, CascadeMode}); break;
    case eKPX9Interlock: SetNumber(9, InterlockNumber); break;
    case eKPX9PM42Relay: SetNumber(9, RelayNumber); break;
    default: break;
    }
    SetText(14, Description);
    WriteLine(stream);
}

void TKPX9Cell::LoadFromStream(std::istream& stream)
{
    ReadLine(stream);
    SetDefaults();
    CellNumber = static_cast<uint32_t>(GetNumber(2));
    CellType = static_cast<uint8_t>(GetNumber(3));
    Address = static_cast<uint32_t>(GetNumber(4));
    ButtonAEffect = static_cast<uint8_t>(GetNumber(5));
    ButtonBEffect = static_cast<uint8_t>(GetNumber(6));
    ButtonARoute = static_cast<uint32_t>(GetNumber(7));
    ButtonBRoute = static_cast<uint32_t>(GetNumber(8));
    switch (CellType) {
    case eKPX9Point:
        Initialise = static_cast<uint8_t>(GetNumber(9));
        Token = static_cast<uint32_t>(GetNumber(10));
        CascadeCell = static_cast<uint32_t>(GetNumber(11));
        CascadeMode = static_cast<uint8_t>(GetNumber(12));
        TurnoutFeedback = GetNumber(13) != 0;
        break;
    case eKPX9Sensor:
        SensorNumber = static_cast<uint32_t>(GetNumber(9));
        SensorFlash = GetNumber(10) != 0;
        break;
    case eKPX9ORB8Signal:
        Aspect = static_cast<uint8_t>(GetNumber(9));
        CascadeCell = static_cast<uint32_t>(GetNumber(10));
        CascadeMode = static_cast<uint8_t>(GetNumber(11));
        TurnoutFeedback = GetNumber(12) != 0;
        break;
    case eKPX9ORB8Zone:
        ZoneFlash = GetNumber(9) != 0;
        TurnoutFeedback = GetNumber(10) != 0;
        break;
    case eKPX9SE8cRG:
    case eKPX9SE8cRGA:
    case eKPX9Copy:
        Aspect = static_cast<uint8_t>(GetNumber(9));
        CascadeCell = static_cast<uint32_t>(GetNumber(10));
        CascadeMode = static_cast<uint8_t>(GetNumber(11));
        break;
    case eKPX9Interlock: InterlockNumber = static_cast<uint32_t>(GetNumber(9)); break;
    case eKPX9PM42Relay: RelayNumber = static_cast<uint32_t>(GetNumber(9)); break;
    default: break;
    }
    Description = GetText(14);
}

void TKPX9Cell::EncodeSVs(uint8_t* block, const TKPX9Cells& cells)
{
    if (CellType == eKPX9Undefined) {
        block[3] = ButtonByte(ButtonAEffect, ButtonARoute);
        block[4] = ButtonByte(ButtonBEffect, ButtonBRoute);
        return;
    }
    ForceCopiedCellIntoRange();

    // Type code: a point cell carries its interlock token (5 for none).
    if (CellType == eKPX9Point) {
        block[0] = Token == 0 ? 5 : static_cast<uint8_t>(Token);
    } else {
        block[0] = static_cast<uint8_t>(CellType + 4);
    }

    block[1] = Lo(Address);
    switch (CellType) {
    case eKPX9Sensor: block[2] = static_cast<uint8_t>(SensorNumber); break;
    case eKPX9PM42Relay: block[2] = static_cast<uint8_t>(RelayNumber); break;
    default:
        block[2] = Hi(Address);
        if (UsesFeedback(CellType) && TurnoutFeedback) block[2] = static_cast<uint8_t>(block[2] + 16);
        break;
    }

    block[3] = ButtonByte(ButtonAEffect, ButtonARoute);
    block[4] = ButtonByte(ButtonBEffect, ButtonBRoute);

    switch (CellType) {
    case eKPX9Point: {
        uint8_t b5 = CascadeByte();
        if (Initialise == 1) b5 = static_cast<uint8_t>(b5 + 64);
        if (Initialise == 2) b5 = static_cast<uint8_t>(b5 + 128);
        block[5] = b5;
        break;
    }
    case eKPX9Sensor: block[5] = SensorFlash ? 1 : 0; break;
    case eKPX9ORB8Signal:
    case eKPX9SE8cRG:
    case eKPX9SE8cRGA: block[5] = Aspect; break;
    case eKPX9ORB8Zone: block[5] = ZoneFlash ? 1 : 0; break;
    case eKPX9Interlock: block[5] = static_cast<uint8_t>(InterlockNumber); break;
    case eKPX9Copy: {
        const uint8_t copiedType = cells[Address - 1].CellType;
        if (copiedType == eKPX9Point) {
            block[5] = CascadeByte();
        } else if (HasAspect(copiedType)) {
            block[5] = Aspect;
        }
        break;
    }
    default: break;
    }
}

void TKPX9Cell::DecodeSVs(const uint8_t* block)
{
    const uint8_t b0 = block[0];
    if (b0 == 0) {
        CellType = eKPX9Undefined;
    } else if (b0 <= 5) {
        CellType = eKPX9Point;
        Token = b0 == 5 ? 0 : b0;
    } else {
        CellType = static_cast<uint8_t>(b0 - 4);
    }

    ButtonFromByte(block[3], ButtonAEffect, ButtonARoute);
    ButtonFromByte(block[4], ButtonBEffect, ButtonBRoute);

    Address = static_cast<uint32_t>(block[2]) * 256 + block[1];
    TurnoutFeedback = false;
    if (UsesFeedback(CellType) && Address > 4096) {
        TurnoutFeedback = true;
        Address -= 4096;
    }

    const uint8_t b5 = block[5];
    switch (CellType) {
    case eKPX9Point:
        Initialise = b5 > 127 ? 2 : ((b5 & 64) != 0 ? 1 : 0);
        SetCascadeFromByte(b5 & 63u);
        break;
    case eKPX9Sensor:
        Address = block[1];
        SensorNumber = block[2];
        SensorFlash = b5 != 0;
        break;
    case eKPX9ORB8Signal:
    case eKPX9SE8cRG:
    case eKPX9SE8cRGA: Aspect = b5; break;
    case eKPX9ORB8Zone: ZoneFlash = b5 != 0; break;
    case eKPX9Interlock: InterlockNumber = b5; break;
    case eKPX9PM42Relay:
        Address = block[1];
        RelayNumber = block[2];
        break;
    default: break;
    }
    DecodedB5 = b5;
}

void TKPX9Cell::DecodeAfterAll(const TKPX9Cells& cells)
{
    if (CellType != eKPX9Copy) return;
    ForceCopiedCellIntoRange();
    const uint8_t copiedType = cells[Address - 1].CellType;
    if (copiedType == eKPX9Point) {
        SetCascadeFromByte(DecodedB5);
    } else if (HasAspect(copiedType)) {
        Aspect = DecodedB5;
    }
}

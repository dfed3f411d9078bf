#include "boards/qxp6/QXP6Cell.h"

#include "boards/qxp6/QXP6Text.h"

namespace {
struct OutputTypeInfo {
    const char* Name;
    uint8_t BaseCode;
    bool Timed;
};
constexpr OutputTypeInfo kOutputTypes[TQXP6Cell::kOutputTypeCount] = {
    {"Cell not used", 0, false},
    {"Point cell, solenoid type motor", 1, true},
    {"Point cell, tortoise type motor", 10, false},
    {"On/Off cell, solenoid motor", 11, true},
    {"On/Off cell, tortoise type motor", 20, false},
    {"2 alternate flashing lamps", 21, true},
    {"Lamp on or off", 30, false},
    {"Individual flashing lamps", 31, true},
    {"Individual lit lamps", 40, false},
};
constexpr const char* kMessageTypes[TQXP6Cell::kMessageTypeCount] = {
    "No message",
    "Output State message",
    "TurnoutFeedback message",
    "SE (signal) message",
    "Output State message (only when interrogated)",
    "TurnoutFeedback message (only when interrogated)",
};
const std::string kIndent(5, ' ');
} // namespace

std::string TQXP6Cell::OutputTypeName(uint32_t type)
{
    return type < kOutputTypeCount ? kOutputTypes[type].Name : "";
}

std::string TQXP6Cell::MessageTypeName(uint32_t type)
{
    return type < kMessageTypeCount ? kMessageTypes[type] : "";
}

bool TQXP6Cell::IsTimedType(uint32_t type)
{
    return type < kOutputTypeCount && kOutputTypes[type].Timed;
}

std::string TQXP6Cell::OnTimeText(uint32_t setting)
{
    return qxp6text::GeneralNumber((static_cast<double>(setting) + 1.0) * 0.125) + "s";
}

TQXP6Cell::TQXP6Cell()
{
    SetQuoteStrings(true);
}

uint8_t TQXP6Cell::TypeCode() const
{
    // A type out of range is treated as an unused cell.
    if (OutputType >= kOutputTypeCount) return 0;
    uint32_t code = kOutputTypes[OutputType].BaseCode;
    if (kOutputTypes[OutputType].Timed) code += TimeSetting;
    if ((OutputType == 7 || OutputType == 8) && InvertOutputs) code += 10;
    return static_cast<uint8_t>(code);
}

void TQXP6Cell::SetFromTypeCode(uint8_t code)
{
    InvertOutputs = false;
    if (code >= 41 && code <= 49) {
        OutputType = 7;
        TimeSetting = code - 41u;
        InvertOutputs = true;
    } else if (code == 50) {
        OutputType = 8;
        TimeSetting = 1;
        InvertOutputs = true;
    } else if (code > 50) {
        // No output type has this code: the cell keeps its type and time, only the inversion
        // is cleared.
    } else if (code % 10 == 0) {
        // 0, 10, 20, 30, 40: the untimed types 0, 2, 4, 6, 8.
        OutputType = static_cast<uint8_t>(code / 5);
        TimeSetting = 1;
    } else {
        // 1..9, 11..19, 21..29, 31..39: the timed types 1, 3, 5, 7.
        OutputType = static_cast<uint8_t>(2 * (code / 10) + 1);
        TimeSetting = static_cast<uint32_t>(code - 10 * (code / 10) - 1);
    }
}

std::string TQXP6Cell::GetListLine() const
{
    return std::to_string(CellNumber) + "\t" + OutputTypeName(OutputType);
}

void TQXP6Cell::AddDescription(std::vector<std::string>& lines) const
{
    lines.push_back(kIndent + "Cell: " + std::to_string(CellNumber));
    lines.push_back(kIndent + OutputTypeName(OutputType));
    lines.push_back(kIndent + "Description: " + Description);
    lines.push_back(kIndent + MessageTypeName(MessageType));
    if (OutputType >= 5 && OutputType <= 8 && SimulateBrightness)
        lines.push_back(kIndent + "Brightness simulation enabled;");
    if (OutputType == 1 || OutputType == 3)
        lines.push_back(kIndent + "On Time: " + OnTimeText(TimeSetting));
    else if (OutputType == 5 || OutputType == 7)
        lines.push_back(kIndent + "Flash rate: " + std::to_string(static_cast<uint64_t>(TimeSetting) + 1));
    if (FollowCell != 0)
        lines.push_back(kIndent + "Follows output " + std::to_string(FollowCell));
    else
        lines.push_back(kIndent + "Follows no other output");
    if (ConditionTime != 0)
        lines.push_back(kIndent + "Delay after conditions assert output = " + std::to_string(ConditionTime) + "s");
    if (ChangeDelay != 0)
        lines.push_back(kIndent + "Delay after output changes = " +
                        qxp6text::GeneralNumber(static_cast<double>(ChangeDelay) * 0.1) + "s");
    lines.push_back(kIndent + "conditions to make cell closed:");
    ClosedConditions.AddText(lines);
    lines.push_back(kIndent + "conditions to make cell thrown:");
    ThrownConditions.AddText(lines);
    lines.push_back(kIndent + "conditions to freeze cell:");
    FreezeConditions.AddText(lines);
    lines.push_back("");
}

void TQXP6Cell::AddHeldValues(THeldValues& values) const
{
    const std::string type = OutputTypeName(OutputType);
    values.Add("Cell Type", type.empty() ? "type " + std::to_string(OutputType) : type);
    // Only the timed types keep their time, only individual lamps their inversion.
    if (OutputType == 1 || OutputType == 3) values.Add("on time", OnTimeText(TimeSetting));
    if (OutputType == 5 || OutputType == 7) values.Add("flash rate", uint64_t{TimeSetting} + 1);
    if (OutputType == 7 || OutputType == 8) values.AddFlag("Invert Outputs", InvertOutputs);
    values.AddFlag("Simulate Brightness", SimulateBrightness);
    values.Add("Follow a cell", FollowCell);
    const std::string message = MessageTypeName(MessageType);
    values.Add("Message on output change", message.empty() ? "message " + std::to_string(MessageType) : message);
    values.Add("conditions active for at least", std::to_string(ConditionTime) + " s");
    values.Add("Delay before other outputs allowed to change", ChangeDelay);
    ClosedConditions.AddHeldValues("closed set", values);
    ThrownConditions.AddHeldValues("thrown set", values);
    FreezeConditions.AddHeldValues("freeze set", values);
}

void TQXP6Cell::SaveToStream(std::ostream& stream)
{
    ClearFields();
    SetText(1, "OPCell_");
    SetNumbers(2, {CellNumber, BaseAddress, OutputType, TimeSetting, SimulateBrightness ? 1 : 0, InvertOutputs ? 1 : 0,
                   FollowCell, MessageType, ConditionTime, ChangeDelay});
    WriteLine(stream);

    ClearFields();
    SetText(2, Description);
    WriteLine(stream);

    ClosedConditions.WriteRecord(stream);
    ThrownConditions.WriteRecord(stream);
    FreezeConditions.WriteRecord(stream);
}

void TQXP6Cell::LoadFromStream(std::istream& stream)
{
    ReadLine(stream);
    CellNumber = static_cast<uint32_t>(GetNumber(2));
    BaseAddress = static_cast<uint32_t>(GetNumber(3));
    OutputType = static_cast<uint8_t>(GetNumber(4));
    TimeSetting = static_cast<uint32_t>(GetNumber(5));
    SimulateBrightness = GetNumber(6) != 0;
    InvertOutputs = GetNumber(7) != 0;
    FollowCell = static_cast<uint32_t>(GetNumber(8));
    MessageType = static_cast<uint8_t>(GetNumber(9));
    ConditionTime = static_cast<uint32_t>(GetNumber(10));
    ChangeDelay = static_cast<uint32_t>(GetNumber(11));

    ReadLine(stream);
    Description = GetText(2);

    ClosedConditions.ReadRecord(stream);
    ThrownConditions.ReadRecord(stream);
    FreezeConditions.ReadRecord(stream);
}

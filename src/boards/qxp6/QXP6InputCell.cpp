#include "boards/qxp6/QXP6InputCell.h"

namespace {
constexpr const char* kInputTypes[TQXP6InputCell::kInputTypeCount] = {
    "Not Used",
    "Pushbutton input, no change to o/p",
    "Toggle switch, no change to o/p",
    "Pushbutton input, changes point",
    "Toggle switch, sets point",
    "Pushbutton input, sets route",
};
constexpr const char* kMessageTypes[TQXP6InputCell::kMessageTypeCount] = {
    "No message", "Sensor message", "Turnout feedback message", "Emergency stop message", "Track power off message",
};
} // namespace

std::string TQXP6InputCell::InputTypeName(uint32_t type)
{
    return type < kInputTypeCount ? kInputTypes[type] : "";
}

std::string TQXP6InputCell::MessageTypeName(uint32_t type)
{
    return type < kMessageTypeCount ? kMessageTypes[type] : "";
}

std::string TQXP6InputCell::Label(uint32_t cellNumber)
{
    if (cellNumber == 9) return "A";
    if (cellNumber == 10) return "B";
    return std::to_string(cellNumber);
}

TQXP6InputCell::TQXP6InputCell()
{
    SetQuoteStrings(true);
}

std::string TQXP6InputCell::TypeText() const
{
    std::string text = InputTypeName(InputType);
    if (InputType >= 3 && InputType <= 5) text += " " + std::to_string(CellNumber);
    return text;
}

std::string TQXP6InputCell::GetListLine() const
{
    return Label(CellNumber) + "\t" + TypeText() + "; " + MessageTypeName(MessageType) + "; " + Description;
}

void TQXP6InputCell::AddDescription(std::vector<std::string>& lines) const
{
    lines.push_back("    i/p Cell " + Label(CellNumber) + ": " + Description);
    lines.push_back("       " + TypeText());
    lines.push_back("       " + MessageTypeName(MessageType));
}

void TQXP6InputCell::AddHeldValues(THeldValues& values) const
{
    const std::string type = InputTypeName(InputType);
    values.Add("type", type.empty() ? "type " + std::to_string(InputType) : type);
    const std::string message = MessageTypeName(MessageType);
    values.Add("message", message.empty() ? "message " + std::to_string(MessageType) : message);
}

void TQXP6InputCell::SaveToStream(std::ostream& stream)
{
    ClearFields();
    SetText(1, "INCell_");
    SetNumber(2, CellNumber);
    SetNumber(3, InputType);
    SetNumber(4, MessageType);
    SetText(5, Description);
    WriteLine(stream);
}

void TQXP6InputCell::LoadFromStream(std::istream& stream)
{
    ReadLine(stream);
    CellNumber = static_cast<uint32_t>(GetNumber(2));
    InputType = static_cast<uint8_t>(GetNumber(3));
    MessageType = static_cast<uint8_t>(GetNumber(4));
    Description = GetText(5);
}

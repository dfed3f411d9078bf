#include "boards/rvn2/RVN2SequenceStep.h"

namespace {

std::string Str(uint32_t value)
{
    return std::to_string(value);
}

// Base values of the trigger and action words.
constexpr uint32_t kPointClosedBase = 1024;
constexpr uint32_t kPointThrownBase = 4096;
constexpr uint32_t kSensorBase = 16384;
constexpr uint32_t kFunctionBase = 100;
constexpr uint32_t kDispatchWord = 200;

} // namespace

TRVN2SequenceStep::TRVN2SequenceStep(uint32_t stepNumber) : StepNumber(stepNumber)
{
    SetQuoteStrings(true);
    // A new step holds what reading a step not in use from a file gives, so that a new board
    // programs the same before its file is saved and after it is read again.
    Reset();
}

void TRVN2SequenceStep::Reset()
{
    Trigger = eTrigDelay;
    Action = eActNone;
    Delay = 1;
    TriggerPoint = 1;
    TriggerSensorBoard = 1;
    TriggerSensorInput = 1;
    Iterations = 1;
    RetriggerStep = 0;
    SpeedChangeTime = 2;
    FunctionNumber = 0;
    FunctionTime = 1;
    ActionPoint = 1;
}

uint16_t TRVN2SequenceStep::GetTriggerWord() const
{
    uint32_t word = 0;
    switch (Trigger) {
    case eTrigDelay: word = Delay > kMaxDelay ? kMaxDelay : Delay; break;
    case eTrigPointClosed: word = TriggerPoint + kPointClosedBase; break;
    case eTrigPointThrown: word = TriggerPoint + kPointThrownBase; break;
    case eTrigSensor: word = kSensorBase + TriggerSensorInput + 16 * (TriggerSensorBoard - 1); break;
    default: break;
    }
    return static_cast<uint16_t>(word & 0xFFFF);
}

uint16_t TRVN2SequenceStep::GetActionWord() const
{
    uint32_t word = 0;
    switch (Action) {
    case eActStop:
    case eActStartSame:
    case eActStartOpposite:
    case eActStartDirA:
    case eActStartDirB: word = Action + 8 * SpeedChangeTime; break;
    case eActLocoFunction: word = kFunctionBase + 8 * FunctionNumber + FunctionTime; break;
    case eActDispatch: word = kDispatchWord; break;
    case eActPointClosed: word = ActionPoint + kPointClosedBase; break;
    case eActPointThrown: word = ActionPoint + kPointThrownBase; break;
    default: break;
    }
    return static_cast<uint16_t>(word & 0xFFFF);
}

void TRVN2SequenceStep::SetTriggerFromWord(uint16_t word)
{
    if (word >= kSensorBase + 1) {
        Trigger = eTrigSensor;
        TriggerSensorInput = ((word - (kSensorBase + 1)) % 16) + 1;
        TriggerSensorBoard = ((word - (kSensorBase + 1)) / 16) + 1;
    } else if (word >= kPointThrownBase + 1) {
        Trigger = eTrigPointThrown;
        TriggerPoint = word - kPointThrownBase;
    } else if (word >= kPointClosedBase + 1) {
        Trigger = eTrigPointClosed;
        TriggerPoint = word - kPointClosedBase;
    } else {
        Trigger = eTrigDelay;
        Delay = word;
    }
}

void TRVN2SequenceStep::SetActionFromWord(uint16_t word)
{
    if (word >= kPointThrownBase + 1) {
        Action = eActPointThrown;
        ActionPoint = word - kPointThrownBase;
    } else if (word >= kPointClosedBase + 1) {
        Action = eActPointClosed;
        ActionPoint = word - kPointClosedBase;
    } else if (word == kDispatchWord) {
        Action = eActDispatch;
    } else if (word < kFunctionBase + 1) {
        Action = static_cast<uint8_t>((word & 0xFF) % 8);
        SpeedChangeTime = word / 8;
    } else {
        Action = eActLocoFunction;
        FunctionNumber = (word - kFunctionBase) / 8;
        FunctionTime = (word - kFunctionBase) % 8;
    }
}

void TRVN2SequenceStep::ToSVs(std::span<uint8_t, kSVBytes> bytes) const
{
    const uint16_t trigger = GetTriggerWord();
    const uint16_t action = GetActionWord();
    bytes[0] = static_cast<uint8_t>(trigger & 0xFF);
    bytes[1] = static_cast<uint8_t>(trigger >> 8);
    bytes[2] = static_cast<uint8_t>(Iterations & 0xFF);
    bytes[3] = static_cast<uint8_t>(RetriggerStep & 0xFF);
    bytes[4] = static_cast<uint8_t>(action & 0xFF);
    bytes[5] = static_cast<uint8_t>(action >> 8);
}

void TRVN2SequenceStep::FromSVs(std::span<const uint8_t, kSVBytes> bytes)
{
    Reset();
    const uint16_t action = static_cast<uint16_t>(bytes[4] | (bytes[5] << 8));
    if (action == 0) return;
    SetActionFromWord(action);
    Iterations = bytes[2];
    RetriggerStep = bytes[3];
    SetTriggerFromWord(static_cast<uint16_t>(bytes[0] | (bytes[1] << 8)));
}

std::string TRVN2SequenceStep::TriggerText() const
{
    switch (Trigger) {
    case eTrigDelay: return "after " + Str(Delay) + " seconds";
    case eTrigPointClosed: return "when point " + Str(TriggerPoint) + " set Closed";
    case eTrigPointThrown: return "when point " + Str(TriggerPoint) + " set Thrown";
    case eTrigSensor: return "when sensor " + Str(TriggerSensorBoard) + "," + Str(TriggerSensorInput) + " occupied";
    default: return "";
    }
}

std::string TRVN2SequenceStep::ActionText() const
{
    const std::string time = Str(SpeedChangeTime);
    switch (Action) {
    case eActStop: return "Stop train, decelerating over " + time + " seconds";
    case eActStartSame: return "Start train in same direction, accelerating over " + time + " seconds";
    case eActStartOpposite: return "Start train in opposite direction, accelerating over " + time + " seconds";
    case eActStartDirA: return "Start train in direction A, accelerating over " + time + " seconds";
    case eActStartDirB: return "Start train in direction B, accelerating over " + time + " seconds";
    case eActLocoFunction:
        return "Set Loco function " + Str(FunctionNumber) + " on for " + Str(FunctionTime) + " seconds";
    case eActDispatch: return "Dispatch Loco";
    case eActPointClosed: return "Set point " + Str(ActionPoint) + " to Closed";
    case eActPointThrown: return "Set point " + Str(ActionPoint) + " to Thrown";
    default: return "";
    }
}

void TRVN2SequenceStep::GetTextLines(std::vector<std::string>& lines) const
{
    lines.push_back("    Step " + Str(StepNumber) + ": " + Comment);
    if (Action == eActNone) {
        lines.push_back("      Step not used.");
        return;
    }

    const std::string trigger = TriggerText();
    std::string line = trigger.empty() ? std::string() : "      Trigger " + trigger + "; ";
    if (Iterations > 1)
        line += "respond every " + Str(Iterations) + " triggers.";
    else
        line += "respond every trigger.";
    lines.push_back(line);

    // The actions that move the train end their line with a full stop.
    const std::string action = ActionText();
    if (!action.empty()) lines.push_back("      Action: " + action + (Action <= eActStartDirB ? "." : ""));

    if (RetriggerStep != 0)
        lines.push_back("      Can Trigger again after step " + Str(RetriggerStep) + " has triggered.");
    else
        lines.push_back("      Can Trigger again immediately.");
}

void TRVN2SequenceStep::AddHeldValues(THeldValues& values) const
{
    // A step not in use is read no further than its action word.
    if (Action == eActNone) {
        values.Add("action", "Step not used");
        return;
    }
    const std::string trigger = TriggerText();
    values.Add("trigger", trigger.empty() ? "trigger " + Str(Trigger) : trigger);
    values.Add("iterations", Iterations);
    values.Add("retrigger step", RetriggerStep);
    const std::string action = ActionText();
    values.Add("action", action.empty() ? "action " + Str(Action) : action);
}

std::string TRVN2SequenceStep::TriggerListText() const
{
    const std::string trigger = TriggerText();
    return trigger.empty() ? std::string() : "trigger " + trigger + "; ";
}

std::string TRVN2SequenceStep::ActionListText() const
{
    switch (Action) {
    case eActStop: return "Stop train.";
    case eActStartSame: return "Start train same direction";
    case eActStartOpposite: return "Start train opposite direction";
    case eActStartDirA: return "Start train direction A";
    case eActStartDirB: return "Start train direction B";
    case eActLocoFunction: return "Set Loco function";
    case eActDispatch: return "Dispatch Loco";
    case eActPointClosed: return "Set point " + Str(ActionPoint) + " Closed";
    case eActPointThrown: return "Set point " + Str(ActionPoint) + " Thrown";
    default: return "";
    }
}

std::string TRVN2SequenceStep::GetListLine() const
{
    const std::string head = Str(StepNumber) + ": ";
    if (Action == eActNone) return head + "Step not used.";
    return head + TriggerListText() + ActionListText();
}

void TRVN2SequenceStep::SaveToStream(std::ostream& stream)
{
    ClearFields();
    SetText(1, "step");
    SetNumber(2, StepNumber);
    SetNumber(3, Trigger);
    SetNumber(4, Iterations);
    SetNumber(5, RetriggerStep);
    switch (Trigger) {
    case eTrigDelay: SetNumber(6, Delay); break;
    case eTrigPointClosed:
    case eTrigPointThrown: SetNumber(6, TriggerPoint); break;
    case eTrigSensor:
        SetNumber(6, TriggerSensorBoard);
        SetNumber(7, TriggerSensorInput);
        break;
    default: break;
    }
    SetNumber(8, Action);
    switch (Action) {
    case eActStop:
    case eActStartSame:
    case eActStartOpposite:
    case eActStartDirA:
    case eActStartDirB: SetNumber(9, SpeedChangeTime); break;
    case eActLocoFunction:
        SetNumber(9, FunctionNumber);
        SetNumber(10, FunctionTime);
        break;
    case eActPointClosed:
    case eActPointThrown: SetNumber(9, ActionPoint); break;
    default: break;
    }
    SetText(11, Comment);
    WriteLine(stream);
}

void TRVN2SequenceStep::LoadFromStream(std::istream& stream)
{
    ReadLine(stream);
    Reset();
    Action = static_cast<uint8_t>(GetNumber(8));
    if (Action == eActNone) return;
    Comment = GetText(11);
    StepNumber = static_cast<uint32_t>(GetNumber(2));
    Trigger = static_cast<uint8_t>(GetNumber(3));
    Iterations = static_cast<uint32_t>(GetNumber(4));
    RetriggerStep = static_cast<uint32_t>(GetNumber(5));
    switch (Trigger) {
    case eTrigDelay: Delay = static_cast<uint32_t>(GetNumber(6)); break;
    case eTrigPointClosed:
    case eTrigPointThrown: TriggerPoint = static_cast<uint32_t>(GetNumber(6)); break;
    case eTrigSensor:
        TriggerSensorBoard = static_cast<uint32_t>(GetNumber(6));
        TriggerSensorInput = static_cast<uint32_t>(GetNumber(7));
        break;
    default: break;
    }
    switch (Action) {
    case eActStop:
    case eActStartSame:
    case eActStartOpposite:
    case eActStartDirA:
    case eActStartDirB: SpeedChangeTime = static_cast<uint32_t>(GetNumber(9)); break;
    case eActLocoFunction:
        FunctionNumber = static_cast<uint32_t>(GetNumber(9));
        FunctionTime = static_cast<uint32_t>(GetNumber(10));
        break;
    case eActPointClosed:
    case eActPointThrown: ActionPoint = static_cast<uint32_t>(GetNumber(9)); break;
    default: break;
    }
}

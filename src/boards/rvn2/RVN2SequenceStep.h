#pragma once
// One step of an RVN2 shuttle sequence: it waits for a trigger (a delay, a point being set, a
// sensor being occupied) and then takes one action on the train, the locomotive or a point.
// In the board's SV table a step takes six bytes: trigger word, iterations, retrigger step and
// action word.

#include "boards/CsvIo.h"
#include "boards/HeldValues.h"

#include <cstdint>
#include <istream>
#include <ostream>
#include <span>
#include <string>
#include <vector>

// Triggers of a step.
enum ERVN2Trigger : uint8_t {
    eTrigDelay = 0, // delay from the last step
    eTrigPointClosed = 1, // point set to closed
    eTrigPointThrown = 2, // point set to thrown
    eTrigSensor = 3, // track sensor occupied
};

// Actions of a step.
enum ERVN2Action : uint8_t {
    eActNone = 0, // step not in use
    eActStop = 1, // stop train
    eActStartSame = 2, // start train in the same direction
    eActStartOpposite = 3, // start train in the opposite direction
    eActStartDirA = 4, // start train in direction A
    eActStartDirB = 5, // start train in direction B
    eActLocoFunction = 6, // set locomotive function
    eActDispatch = 7, // dispatch locomotive
    eActPointClosed = 8, // set point closed
    eActPointThrown = 9, // set point thrown
};

class TRVN2SequenceStep : public TCsvIo {
public:
    static constexpr size_t kSVBytes = 6;
    // Delays above this are written to the board as this many seconds.
    static constexpr uint32_t kMaxDelay = 1000;

    explicit TRVN2SequenceStep(uint32_t stepNumber = 1);

    // Back to a step not in use; keeps the step number and the comment.
    void Reset();

    // The 16-bit words of the SV table.
    uint16_t GetTriggerWord() const;
    uint16_t GetActionWord() const;
    // Set trigger (action) and its parameters from a word; other fields are left alone.
    void SetTriggerFromWord(uint16_t word);
    void SetActionFromWord(uint16_t word);

    // The six SV bytes of the step.
    void ToSVs(std::span<uint8_t, kSVBytes> bytes) const;
    // Resets the step, then reads it from its six SV bytes.
    void FromSVs(std::span<const uint8_t, kSVBytes> bytes);

    // The readable description lines of the step.
    void GetTextLines(std::vector<std::string>& lines) const;
    // The one-line text of the step in the sequence editor's step list.
    std::string GetListLine() const;
    // What the board holds of the step (HeldValues.h).
    void AddHeldValues(THeldValues& values) const;

    // The step's line in a board file.
    void SaveToStream(std::ostream& stream);
    void LoadFromStream(std::istream& stream);

    // A new step, like one that is Reset, holds the values of a step not in use that the editor
    // and the readers start from (the member initialisers below are overwritten by Reset).
    uint32_t StepNumber = 1;
    std::string Comment;
    uint8_t Trigger = eTrigDelay;
    uint8_t Action = eActNone;
    uint32_t Delay = 0; // seconds, trigger 0
    uint32_t TriggerPoint = 0; // triggers 1 and 2
    uint32_t TriggerSensorBoard = 0; // trigger 3
    uint32_t TriggerSensorInput = 0; // trigger 3, 1 to 16
    uint32_t Iterations = 0; // act on every n-th trigger
    uint32_t RetriggerStep = 0; // 0: may trigger again at once; k: only after step k
    uint32_t SpeedChangeTime = 0; // seconds, actions 1 to 5
    uint32_t FunctionNumber = 0; // action 6
    uint32_t FunctionTime = 0; // seconds, action 6
    uint32_t ActionPoint = 0; // actions 8 and 9

private:
    // "after 5 seconds", "when point 12 set Closed", ...; empty for a trigger out of range.
    std::string TriggerText() const;
    // "Stop train, decelerating over 3 seconds", ...; empty for no action or one out of range.
    std::string ActionText() const;
    std::string TriggerListText() const;
    std::string ActionListText() const;
};

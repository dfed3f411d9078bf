#include "boards/rvn2/RVN2SequenceStep.h"

#include <array>
#include <gtest/gtest.h>
#include <sstream>

namespace {

TRVN2SequenceStep MakeStep(uint8_t trigger, uint8_t action)
{
    TRVN2SequenceStep s(5);
    s.Reset();
    s.Trigger = trigger;
    s.Action = action;
    return s;
}

std::array<uint8_t, 6> Bytes(const TRVN2SequenceStep& s)
{
    std::array<uint8_t, 6> b{};
    s.ToSVs(b);
    return b;
}

TRVN2SequenceStep FromBytes(std::array<uint8_t, 6> b)
{
    TRVN2SequenceStep s;
    s.FromSVs(b);
    return s;
}

} // namespace

TEST(RVN2SequenceStep, ResetKeepsNumberAndComment)
{
    TRVN2SequenceStep s(7);
    s.Comment = "keep me";
    s.Trigger = eTrigSensor;
    s.Action = eActLocoFunction;
    s.Delay = s.TriggerPoint = s.TriggerSensorBoard = s.TriggerSensorInput = 9;
    s.Iterations = s.RetriggerStep = s.SpeedChangeTime = s.FunctionNumber = s.FunctionTime = s.ActionPoint = 9;
    s.Reset();
    EXPECT_EQ(s.StepNumber, 7u);
    EXPECT_EQ(s.Comment, "keep me");
    EXPECT_EQ(s.Trigger, eTrigDelay);
    EXPECT_EQ(s.Action, eActNone);
    EXPECT_EQ(s.Delay, 1u);
    EXPECT_EQ(s.TriggerPoint, 1u);
    EXPECT_EQ(s.TriggerSensorBoard, 1u);
    EXPECT_EQ(s.TriggerSensorInput, 1u);
    EXPECT_EQ(s.Iterations, 1u);
    EXPECT_EQ(s.RetriggerStep, 0u);
    EXPECT_EQ(s.SpeedChangeTime, 2u);
    EXPECT_EQ(s.FunctionNumber, 0u);
    EXPECT_EQ(s.FunctionTime, 1u);
    EXPECT_EQ(s.ActionPoint, 1u);
}

TEST(RVN2SequenceStep, TriggerWordsOfEveryKind)
{
    auto s = MakeStep(eTrigDelay, eActStop);
    s.Delay = 999;
    EXPECT_EQ(s.GetTriggerWord(), 999);
    s.Delay = 1000;
    EXPECT_EQ(s.GetTriggerWord(), 1000);
    s.Delay = 1500;
    EXPECT_EQ(s.GetTriggerWord(), 1000);
    auto b = Bytes(s);
    EXPECT_EQ(b[0], 232);
    EXPECT_EQ(b[1], 3);

    s = MakeStep(eTrigPointClosed, eActStop);
    s.TriggerPoint = 37;
    EXPECT_EQ(s.GetTriggerWord(), 1061);
    s = MakeStep(eTrigPointThrown, eActStop);
    s.TriggerPoint = 37;
    EXPECT_EQ(s.GetTriggerWord(), 4133);

    s = MakeStep(eTrigSensor, eActStop);
    s.TriggerSensorBoard = 10;
    s.TriggerSensorInput = 16;
    EXPECT_EQ(s.GetTriggerWord(), 16544);
    s.TriggerSensorBoard = 1;
    s.TriggerSensorInput = 1;
    EXPECT_EQ(s.GetTriggerWord(), 16385);
}

TEST(RVN2SequenceStep, TriggerWordsDecode)
{
    TRVN2SequenceStep s;
    s.SetTriggerFromWord(16544);
    EXPECT_EQ(s.Trigger, eTrigSensor);
    EXPECT_EQ(s.TriggerSensorBoard, 10u);
    EXPECT_EQ(s.TriggerSensorInput, 16u);
    s.SetTriggerFromWord(16385);
    EXPECT_EQ(s.TriggerSensorBoard, 1u);
    EXPECT_EQ(s.TriggerSensorInput, 1u);

    // The boundaries between the kinds.
    s.SetTriggerFromWord(16384);
    EXPECT_EQ(s.Trigger, eTrigPointThrown);
    EXPECT_EQ(s.TriggerPoint, 12288u);
    s.SetTriggerFromWord(4097);
    EXPECT_EQ(s.Trigger, eTrigPointThrown);
    EXPECT_EQ(s.TriggerPoint, 1u);
    s.SetTriggerFromWord(4096);
    EXPECT_EQ(s.Trigger, eTrigPointClosed);
    EXPECT_EQ(s.TriggerPoint, 3072u);
    s.SetTriggerFromWord(1025);
    EXPECT_EQ(s.Trigger, eTrigPointClosed);
    EXPECT_EQ(s.TriggerPoint, 1u);
    s.SetTriggerFromWord(1024);
    EXPECT_EQ(s.Trigger, eTrigDelay);
    EXPECT_EQ(s.Delay, 1024u);
    s.SetTriggerFromWord(0);
    EXPECT_EQ(s.Delay, 0u);
}

TEST(RVN2SequenceStep, ActionWordsOfEveryKind)
{
    // Speed-change time 3, function 4 for 5 seconds, point 300: the word and its two bytes.
    const struct {
        uint8_t action;
        uint16_t word;
        uint8_t low, high;
    } cases[] = {
        {eActNone, 0, 0, 0},
        {eActStop, 25, 25, 0},
        {eActStartSame, 26, 26, 0},
        {eActStartOpposite, 27, 27, 0},
        {eActStartDirA, 28, 28, 0},
        {eActStartDirB, 29, 29, 0},
        {eActLocoFunction, 137, 137, 0},
        {eActDispatch, 200, 200, 0},
        {eActPointClosed, 1324, 44, 5},
        {eActPointThrown, 4396, 44, 17},
    };
    for (const auto& c : cases) {
        auto s = MakeStep(eTrigDelay, c.action);
        s.SpeedChangeTime = 3;
        s.FunctionNumber = 4;
        s.FunctionTime = 5;
        s.ActionPoint = 300;
        EXPECT_EQ(s.GetActionWord(), c.word) << int(c.action);
        const auto b = Bytes(s);
        EXPECT_EQ(b[4], c.low) << int(c.action);
        EXPECT_EQ(b[5], c.high) << int(c.action);
    }
}

TEST(RVN2SequenceStep, ActionWordsDecode)
{
    TRVN2SequenceStep s;
    s.SetActionFromWord(26);
    EXPECT_EQ(s.Action, eActStartSame);
    EXPECT_EQ(s.SpeedChangeTime, 3u);
    s.SetActionFromWord(100); // still a speed action: 100 = 4 + 8 * 12
    EXPECT_EQ(s.Action, eActStartDirA);
    EXPECT_EQ(s.SpeedChangeTime, 12u);
    s.SetActionFromWord(101);
    EXPECT_EQ(s.Action, eActLocoFunction);
    EXPECT_EQ(s.FunctionNumber, 0u);
    EXPECT_EQ(s.FunctionTime, 1u);
    s.SetActionFromWord(137);
    EXPECT_EQ(s.FunctionNumber, 4u);
    EXPECT_EQ(s.FunctionTime, 5u);
    s.SetActionFromWord(200);
    EXPECT_EQ(s.Action, eActDispatch);
    s.SetActionFromWord(199);
    EXPECT_EQ(s.Action, eActLocoFunction);
    s.SetActionFromWord(1024);
    EXPECT_EQ(s.Action, eActLocoFunction);
    EXPECT_EQ(s.FunctionNumber, 115u);
    EXPECT_EQ(s.FunctionTime, 4u);
    s.SetActionFromWord(1025);
    EXPECT_EQ(s.Action, eActPointClosed);
    EXPECT_EQ(s.ActionPoint, 1u);
    s.SetActionFromWord(4096);
    EXPECT_EQ(s.Action, eActPointClosed);
    EXPECT_EQ(s.ActionPoint, 3072u);
    s.SetActionFromWord(4097);
    EXPECT_EQ(s.Action, eActPointThrown);
    EXPECT_EQ(s.ActionPoint, 1u);
}

TEST(RVN2SequenceStep, FunctionTimeOfEightSpillsIntoFunctionNumber)
{
    auto s = MakeStep(eTrigDelay, eActLocoFunction);
    s.FunctionNumber = 2;
    s.FunctionTime = 8;
    const auto back = FromBytes(Bytes(s));
    EXPECT_EQ(back.Action, eActLocoFunction);
    EXPECT_EQ(back.FunctionNumber, 3u);
    EXPECT_EQ(back.FunctionTime, 0u);
}

TEST(RVN2SequenceStep, SixBytesAndBack)
{
    auto s = MakeStep(eTrigSensor, eActStartOpposite);
    s.TriggerSensorBoard = 3;
    s.TriggerSensorInput = 7;
    s.Iterations = 300; // only the low byte reaches the board
    s.RetriggerStep = 4;
    s.SpeedChangeTime = 5;
    const auto b = Bytes(s);
    // Sensor 3,7: trigger word 16423; start opposite over 5 s: action word 43.
    EXPECT_EQ(b, (std::array<uint8_t, 6>{39, 64, 44, 4, 43, 0}));
    const auto back = FromBytes(b);
    EXPECT_EQ(back.Trigger, eTrigSensor);
    EXPECT_EQ(back.TriggerSensorBoard, 3u);
    EXPECT_EQ(back.TriggerSensorInput, 7u);
    EXPECT_EQ(back.Iterations, 44u);
    EXPECT_EQ(back.RetriggerStep, 4u);
    EXPECT_EQ(back.Action, eActStartOpposite);
    EXPECT_EQ(back.SpeedChangeTime, 5u);
}

TEST(RVN2SequenceStep, NewStepIsAResetStep)
{
    const TRVN2SequenceStep s(9);
    EXPECT_EQ(s.StepNumber, 9u);
    EXPECT_EQ(Bytes(s), (std::array<uint8_t, 6>{1, 0, 1, 0, 0, 0}));
    EXPECT_EQ(s.Iterations, 1u);
    EXPECT_EQ(s.Delay, 1u);
    EXPECT_EQ(s.SpeedChangeTime, 2u);
    EXPECT_EQ(s.FunctionTime, 1u);
    EXPECT_EQ(s.ActionPoint, 1u);
}

TEST(RVN2SequenceStep, UnusedStepWritesItsTriggerButDecodesReset)
{
    // A reset step still writes its delay of 1 and its iterations of 1.
    TRVN2SequenceStep r(2);
    r.Reset();
    EXPECT_EQ(Bytes(r), (std::array<uint8_t, 6>{1, 0, 1, 0, 0, 0}));

    auto s = MakeStep(eTrigPointThrown, eActNone);
    s.TriggerPoint = 99;
    s.Iterations = 5;
    s.RetriggerStep = 2;
    EXPECT_EQ(Bytes(s), (std::array<uint8_t, 6>{99, 16, 5, 2, 0, 0})); // trigger word 4195

    // Trigger bytes without an action word are ignored.
    const auto back = FromBytes(Bytes(s));
    EXPECT_EQ(back.Action, eActNone);
    EXPECT_EQ(back.Trigger, eTrigDelay);
    EXPECT_EQ(back.Delay, 1u);
    EXPECT_EQ(back.TriggerPoint, 1u);
    EXPECT_EQ(back.Iterations, 1u);
    EXPECT_EQ(back.RetriggerStep, 0u);
}

TEST(RVN2SequenceStep, TextLinesForEachTriggerAndAction)
{
    TRVN2SequenceStep s(3);
    s.Comment = "hello";
    std::vector<std::string> lines;
    s.GetTextLines(lines);
    EXPECT_EQ(lines, (std::vector<std::string>{"    Step 3: hello", "      Step not used."}));

    struct Case {
        uint8_t trigger, action;
        std::string triggerLine, actionLine;
    };
    const std::vector<Case> cases = {
        {eTrigDelay, eActStop, "      Trigger after 12 seconds; respond every trigger.",
         "      Action: Stop train, decelerating over 4 seconds."},
        {eTrigPointClosed, eActStartSame, "      Trigger when point 21 set Closed; respond every trigger.",
         "      Action: Start train in same direction, accelerating over 4 seconds."},
        {eTrigPointThrown, eActStartOpposite, "      Trigger when point 21 set Thrown; respond every trigger.",
         "      Action: Start train in opposite direction, accelerating over 4 seconds."},
        {eTrigSensor, eActStartDirA, "      Trigger when sensor 10,16 occupied; respond every 3 triggers.",
         "      Action: Start train in direction A, accelerating over 4 seconds."},
        {eTrigSensor, eActStartDirB, "      Trigger when sensor 10,16 occupied; respond every 3 triggers.",
         "      Action: Start train in direction B, accelerating over 4 seconds."},
        {eTrigDelay, eActLocoFunction, "      Trigger after 12 seconds; respond every trigger.",
         "      Action: Set Loco function 6 on for 7 seconds"},
        {eTrigDelay, eActDispatch, "      Trigger after 12 seconds; respond every trigger.",
         "      Action: Dispatch Loco"},
        {eTrigDelay, eActPointClosed, "      Trigger after 12 seconds; respond every trigger.",
         "      Action: Set point 55 to Closed"},
        {eTrigDelay, eActPointThrown, "      Trigger after 12 seconds; respond every trigger.",
         "      Action: Set point 55 to Thrown"},
    };
    for (const auto& c : cases) {
        s.Trigger = c.trigger;
        s.Action = c.action;
        s.Delay = 12;
        s.TriggerPoint = 21;
        s.TriggerSensorBoard = 10;
        s.TriggerSensorInput = 16;
        s.Iterations = c.trigger == eTrigSensor ? 3 : 1;
        s.SpeedChangeTime = 4;
        s.FunctionNumber = 6;
        s.FunctionTime = 7;
        s.ActionPoint = 55;
        s.RetriggerStep = c.action == eActDispatch ? 2 : 0;
        lines.clear();
        s.GetTextLines(lines);
        const std::string retrig = c.action == eActDispatch ? "      Can Trigger again after step 2 has triggered."
                                                            : "      Can Trigger again immediately.";
        EXPECT_EQ(lines, (std::vector<std::string>{"    Step 3: hello", c.triggerLine, c.actionLine, retrig}));
    }

    // Iterations 0 reads as every trigger.
    s.Trigger = eTrigDelay;
    s.Iterations = 0;
    lines.clear();
    s.GetTextLines(lines);
    EXPECT_EQ(lines[1], "      Trigger after 12 seconds; respond every trigger.");
}

TEST(RVN2SequenceStep, ListLineForEachTriggerAndAction)
{
    TRVN2SequenceStep s(11);
    s.Reset();
    EXPECT_EQ(s.GetListLine(), "11: Step not used.");
    s.Delay = 8;
    s.TriggerPoint = 12;
    s.TriggerSensorBoard = 2;
    s.TriggerSensorInput = 9;
    s.ActionPoint = 40;
    s.Action = eActStop;
    EXPECT_EQ(s.GetListLine(), "11: trigger after 8 seconds; Stop train.");
    s.Trigger = eTrigPointClosed;
    s.Action = eActStartSame;
    EXPECT_EQ(s.GetListLine(), "11: trigger when point 12 set Closed; Start train same direction");
    s.Trigger = eTrigPointThrown;
    s.Action = eActStartOpposite;
    EXPECT_EQ(s.GetListLine(), "11: trigger when point 12 set Thrown; Start train opposite direction");
    s.Trigger = eTrigSensor;
    s.Action = eActStartDirA;
    EXPECT_EQ(s.GetListLine(), "11: trigger when sensor 2,9 occupied; Start train direction A");
    s.Action = eActStartDirB;
    EXPECT_EQ(s.GetListLine(), "11: trigger when sensor 2,9 occupied; Start train direction B");
    s.Action = eActLocoFunction;
    EXPECT_EQ(s.GetListLine(), "11: trigger when sensor 2,9 occupied; Set Loco function");
    s.Action = eActDispatch;
    EXPECT_EQ(s.GetListLine(), "11: trigger when sensor 2,9 occupied; Dispatch Loco");
    s.Action = eActPointClosed;
    EXPECT_EQ(s.GetListLine(), "11: trigger when sensor 2,9 occupied; Set point 40 Closed");
    s.Action = eActPointThrown;
    EXPECT_EQ(s.GetListLine(), "11: trigger when sensor 2,9 occupied; Set point 40 Thrown");
}

TEST(RVN2SequenceStep, LineLeavesUnusedFieldsEmpty)
{
    TRVN2SequenceStep s(1);
    std::ostringstream out;
    s.SaveToStream(out);
    EXPECT_EQ(out.str(), ",\"step\",1,0,1,0,1,,0,,,\"\"\r\n");

    auto f = MakeStep(eTrigSensor, eActLocoFunction);
    f.TriggerSensorBoard = 10;
    f.TriggerSensorInput = 4;
    f.Iterations = 2;
    f.RetriggerStep = 3;
    f.FunctionNumber = 12;
    f.FunctionTime = 6;
    f.Comment = "horn";
    std::ostringstream out2;
    f.SaveToStream(out2);
    EXPECT_EQ(out2.str(), ",\"step\",5,3,2,3,10,4,6,12,6,\"horn\"\r\n");

    auto p = MakeStep(eTrigPointThrown, eActDispatch);
    p.TriggerPoint = 17;
    std::ostringstream out3;
    p.SaveToStream(out3);
    EXPECT_EQ(out3.str(), ",\"step\",5,2,1,0,17,,7,,,\"\"\r\n");

    auto q = MakeStep(eTrigDelay, eActPointClosed);
    q.Delay = 1500; // the file keeps the full delay
    q.ActionPoint = 9;
    std::ostringstream out4;
    q.SaveToStream(out4);
    EXPECT_EQ(out4.str(), ",\"step\",5,0,1,0,1500,,8,9,,\"\"\r\n");
}

TEST(RVN2SequenceStep, ReadingAnUnusedStepKeepsNumberAndComment)
{
    TRVN2SequenceStep s(4);
    s.Comment = "before";
    s.Action = eActStop;
    s.Delay = 77;
    std::istringstream in(",\"step\",9,2,5,3,44,,0,,,\"after\"\r\n");
    s.LoadFromStream(in);
    EXPECT_EQ(s.StepNumber, 4u);
    EXPECT_EQ(s.Comment, "before");
    EXPECT_EQ(s.Action, eActNone);
    EXPECT_EQ(s.Trigger, eTrigDelay);
    EXPECT_EQ(s.Delay, 1u);
    EXPECT_EQ(s.TriggerPoint, 1u);
}

TEST(RVN2SequenceStep, ReadingTakesOnlyTheFieldsOfItsTriggerAndAction)
{
    TRVN2SequenceStep s(4);
    // Field 7 and 10 hold values that trigger 1 and action 2 do not use.
    std::istringstream in(",\"step\",6,1,5,3,44,8,2,3,9,\"c\"\r\n");
    s.LoadFromStream(in);
    EXPECT_EQ(s.StepNumber, 6u);
    EXPECT_EQ(s.Comment, "c");
    EXPECT_EQ(s.Trigger, eTrigPointClosed);
    EXPECT_EQ(s.Iterations, 5u);
    EXPECT_EQ(s.RetriggerStep, 3u);
    EXPECT_EQ(s.TriggerPoint, 44u);
    EXPECT_EQ(s.TriggerSensorInput, 1u);
    EXPECT_EQ(s.Action, eActStartSame);
    EXPECT_EQ(s.SpeedChangeTime, 3u);
    EXPECT_EQ(s.FunctionTime, 1u);
    EXPECT_EQ(s.Delay, 1u);
}

#include "boards/rvn2/RVN2Board.h"
#include "support/BoardText.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <random>
#include <sstream>
#include <utility>

namespace {

std::vector<uint8_t> SVsOf(TRVN2Board& b)
{
    EXPECT_TRUE(b.CalculateSVs());
    return b.GetSVTable();
}

// Steps not in use as loading leaves them.
void ResetUnusedSteps(TRVN2Board& b)
{
    for (auto& q : b.Sequences)
        for (auto& s : q.Steps)
            if (s.Action == eActNone) s.Reset();
}

// A board with something in every kind of field.
TRVN2Board MakeBusyBoard()
{
    TRVN2Board b;
    b.Name = "Harbour";
    b.SerialNumber = 1000;
    b.Notes = "Ferry siding, north end";
    b.SensorConfig.ConfigCode = 3;
    b.SensorConfig.SensorBoardNumber = 12;
    auto& seq = b.GetSequence(1);
    seq.SequenceType = eSeqShuttle;
    seq.Name = "Shuttle";
    seq.ActiveSteps = 4;
    seq.Description = "End to end";
    auto& s1 = seq.StepAt(0);
    s1.Comment = "stop at sensor 2";
    s1.Trigger = eTrigSensor;
    s1.TriggerSensorBoard = 10;
    s1.TriggerSensorInput = 2;
    s1.Iterations = 1;
    s1.RetriggerStep = 3;
    s1.Action = eActStop;
    s1.SpeedChangeTime = 2;
    auto& s2 = seq.StepAt(1);
    s2.Comment = "start after delay";
    s2.Trigger = eTrigDelay;
    s2.Delay = 30;
    s2.Action = eActStartOpposite;
    s2.SpeedChangeTime = 3;
    auto& s3 = seq.StepAt(2);
    s3.Trigger = eTrigPointThrown;
    s3.TriggerPoint = 250;
    s3.Action = eActLocoFunction;
    s3.FunctionNumber = 2;
    s3.FunctionTime = 5;
    auto& s4 = seq.StepAt(3);
    s4.Trigger = eTrigPointClosed;
    s4.TriggerPoint = 7;
    s4.Action = eActPointThrown;
    s4.ActionPoint = 1999;
    auto& s5 = seq.StepAt(4);
    s5.Action = eActDispatch;
    s5.Iterations = 1;
    auto& q4 = b.GetSequence(3);
    q4.Name = "a name longer than fifteen";
    q4.SequenceType = eSeqStationStop;
    q4.StepAt(15).Action = eActPointClosed;
    q4.StepAt(15).ActionPoint = 3;
    return b;
}

} // namespace

TEST(RVN2Board, SVLayout)
{
    auto b = MakeBusyBoard();
    const auto svs = SVsOf(b);
    auto sv = [&](uint32_t n) { return int(svs[n - 1]); };
    EXPECT_EQ(sv(3), 232);
    EXPECT_EQ(sv(4), 3);
    EXPECT_EQ(sv(12), 12);
    EXPECT_EQ(sv(13), 3);

    // Sequence 2 starts at SV 143.
    EXPECT_EQ(sv(143), 1);
    EXPECT_EQ(sv(144), 4);
    const std::string name = "Shuttle";
    for (uint32_t k = 0; k < 15; ++k) EXPECT_EQ(sv(145 + k), k < name.size() ? int(name[k]) : 0) << k;
    // Step 1 at SV 160: sensor 10,2 -> 16384 + 2 + 144 = 16530; stop over 2 s -> 17.
    EXPECT_EQ(sv(160), 16530 & 0xFF);
    EXPECT_EQ(sv(161), 16530 >> 8);
    EXPECT_EQ(sv(162), 1);
    EXPECT_EQ(sv(163), 3);
    EXPECT_EQ(sv(164), 17);
    EXPECT_EQ(sv(165), 0);
    // Step 2 at SV 166: delay 30, start opposite over 3 s -> 27.
    EXPECT_EQ(sv(166), 30);
    EXPECT_EQ(sv(167), 0);
    EXPECT_EQ(sv(170), 27);
    // Step 3 at SV 172: point 250 thrown -> 4346; function 2 for 5 s -> 121.
    EXPECT_EQ(sv(172), 4346 & 0xFF);
    EXPECT_EQ(sv(173), 4346 >> 8);
    EXPECT_EQ(sv(176), 121);
    // Step 4 at SV 178: point 7 closed -> 1031; set point 1999 thrown -> 6095.
    EXPECT_EQ(sv(178), 1031 & 0xFF);
    EXPECT_EQ(sv(179), 1031 >> 8);
    EXPECT_EQ(sv(182), 6095 & 0xFF);
    EXPECT_EQ(sv(183), 6095 >> 8);
    // Step 5 at SV 184: the delay it was created with (1), dispatch -> 200; step 6, not in use,
    // as a reset step: delay 1, iterations 1.
    EXPECT_EQ(sv(184), 1);
    EXPECT_EQ(sv(186), 1);
    EXPECT_EQ(sv(188), 200);
    EXPECT_EQ(sv(190), 1);
    EXPECT_EQ(sv(192), 1);

    // Sequence 4 starts at SV 369; its long name fills all 15 bytes without a terminator,
    // and its step 16 ends at SV 481, the last SV the board uses.
    EXPECT_EQ(sv(369), 0);
    const std::string longName = "a name longer than fifteen";
    for (uint32_t k = 0; k < 15; ++k) EXPECT_EQ(sv(371 + k), int(longName[k]));
    EXPECT_EQ(sv(476), 1);
    EXPECT_EQ(sv(477), 0);
    EXPECT_EQ(sv(478), 1);
    EXPECT_EQ(sv(480), 1027 & 0xFF);
    EXPECT_EQ(sv(481), 1027 >> 8);
    for (uint32_t n = 482; n <= 512; ++n) EXPECT_EQ(sv(n), 0);
}

TEST(RVN2Board, NameFieldEmptyAndFull)
{
    TRVN2Board b;
    b.GetSequence(0).Name = "";
    b.GetSequence(1).Name = "exactly15chars!";
    auto svs = SVsOf(b);
    for (uint32_t k = 0; k < 15; ++k) EXPECT_EQ(svs[31 + k], 0);

    TRVN2Board d;
    for (uint32_t n = 1; n <= 512; ++n) d.SetSV(n, svs[n - 1]);
    d.DecodeSVs();
    EXPECT_EQ(d.GetSequence(0).Name, "");
    EXPECT_EQ(d.GetSequence(1).Name, "exactly15chars!");
}

TEST(RVN2Board, LongNamesKeepWholeCharacters)
{
    // Names longer than the 15 name bytes, and the bytes of sequence 1 (SV 32 on).
    const std::pair<std::string, std::string> names[] = {
        {"Bahnhof S\u00fcd 123", "Bahnhof S\u00fcd 12"},
        {"Hauptbahnhof G\u00fcnz", std::string("Hauptbahnhof G\0", 15)}, // the u-umlaut would be cut in two
        {"Hauptbahnhof \u20ac", std::string("Hauptbahnhof \0\0", 15)},
        {"Bahnhof S\374dstadt", "Bahnhof S\374dstad"}, // not UTF-8: cut by bytes
    };
    for (const auto& [name, bytes] : names) {
        TRVN2Board b;
        b.GetSequence(0).Name = name;
        const auto svs = SVsOf(b);
        EXPECT_EQ(std::string(svs.begin() + 31, svs.begin() + 46), bytes) << name;
    }
}

TEST(RVN2Board, DecodeOfCalculateKeepsTheDescription)
{
    auto b = MakeBusyBoard();
    const auto svs = SVsOf(b);
    TRVN2Board d;
    d.SerialNumber = 5;
    d.Notes = "mine";
    for (uint32_t n = 1; n <= 512; ++n) d.SetSV(n, svs[n - 1]);
    d.DecodeSVs();
    // The serial number and notes are not taken from the SVs.
    EXPECT_EQ(d.SerialNumber, 5u);
    EXPECT_EQ(d.Notes, "mine");
    EXPECT_EQ(d.SensorConfig.ConfigCode, 3);
    EXPECT_EQ(d.SensorConfig.SensorBoardNumber, 12u);
    EXPECT_EQ(d.GetSequence(3).Name, "a name longer t");
    for (size_t q = 0; q < 4; ++q) {
        const auto& want = b.GetSequence(q);
        const auto& got = d.GetSequence(q);
        EXPECT_EQ(got.SequenceType, want.SequenceType);
        EXPECT_EQ(got.ActiveSteps, want.ActiveSteps);
        for (size_t i = 0; i < 16; ++i) {
            const auto& w = want.StepAt(i);
            const auto& g = got.StepAt(i);
            EXPECT_EQ(g.Action, w.Action) << q << "/" << i;
            if (w.Action == eActNone) continue;
            EXPECT_EQ(g.GetTriggerWord(), w.GetTriggerWord()) << q << "/" << i;
            EXPECT_EQ(g.GetActionWord(), w.GetActionWord()) << q << "/" << i;
            EXPECT_EQ(g.Iterations, w.Iterations);
            EXPECT_EQ(g.RetriggerStep, w.RetriggerStep);
        }
    }
    // Unused steps come back reset, and a reset step writes a delay of 1 and iterations of 1.
    d.SerialNumber = b.SerialNumber;
    auto expected = svs;
    for (size_t q = 0; q < 4; ++q)
        for (size_t i = 0; i < 16; ++i)
            if (b.GetSequence(q).StepAt(i).Action == eActNone) {
                const size_t first = TRVN2Board::SequenceFirstSV(q + 1) - 1 + 17 + 6 * i;
                expected[first] = 1;
                expected[first + 1] = 0;
                expected[first + 2] = 1;
                expected[first + 3] = 0;
            }
    EXPECT_EQ(SVsOf(d), expected);
}

TEST(RVN2Board, RandomSVTablesSurviveDecodeAndCalculate)
{
    // Tables made by the board itself from in-range values come back unchanged.
    std::mt19937 rng(7);
    auto pick = [&](uint32_t lo, uint32_t hi) { return std::uniform_int_distribution<uint32_t>(lo, hi)(rng); };
    for (int round = 0; round < 200; ++round) {
        TRVN2Board b;
        b.SerialNumber = pick(1, 65535);
        b.SensorConfig.ConfigCode = static_cast<uint8_t>(pick(0, 4));
        b.SensorConfig.SensorBoardNumber = pick(0, 255);
        for (auto& q : b.Sequences) {
            q.SequenceType = static_cast<uint8_t>(pick(0, 2));
            q.ActiveSteps = pick(0, 16);
            q.Name.assign(pick(1, 15), static_cast<char>('A' + pick(0, 25)));
            for (auto& s : q.Steps) {
                s.Reset();
                s.Action = static_cast<uint8_t>(pick(0, 9));
                if (s.Action == eActNone) continue;
                s.Trigger = static_cast<uint8_t>(pick(0, 3));
                s.Delay = pick(0, 1000);
                s.TriggerPoint = pick(1, 2048);
                s.TriggerSensorBoard = pick(1, 256);
                s.TriggerSensorInput = pick(1, 16);
                s.Iterations = pick(0, 255);
                s.RetriggerStep = pick(0, 16);
                s.SpeedChangeTime = pick(0, 9);
                s.FunctionNumber = pick(0, 28);
                s.FunctionTime = pick(0, 7);
                s.ActionPoint = pick(1, 2048);
            }
        }
        const auto svs = SVsOf(b);
        TRVN2Board d;
        d.SerialNumber = b.SerialNumber;
        for (uint32_t n = 1; n <= 512; ++n) d.SetSV(n, svs[n - 1]);
        d.DecodeSVs();
        ASSERT_EQ(SVsOf(d), svs) << "round " << round;
    }
}

TEST(RVN2Board, RecordStartsWithBoardAndNotesLines)
{
    TRVN2Board b;
    b.Name = "Station A";
    b.SerialNumber = 1000;
    b.Notes = "";
    const std::string text = SaveToText(b);
    EXPECT_EQ(text.substr(0, text.find("sensor_config") - 2), "\"RVN2_BOARD\",\"Station A\",1000\r\n,\"\"\r\n");
}

TEST(RVN2Board, StepsNotInUseReadBackAsTheyWereMade)
{
    // A new step holds what loading a step not in use gives, so a board reads back as it was.
    auto b = MakeBusyBoard();
    const std::string text = SaveToText(b);
    EXPECT_NE(text.find(",\"step\",16,0,1,0,1,,0,,,\"\"\r\n"), std::string::npos);
    auto back = LoadFromText<TRVN2Board>(text);
    EXPECT_EQ(SaveToText(back), text);
}

TEST(RVN2Board, RecordRoundTripsByteForByte)
{
    auto b = MakeBusyBoard();
    ResetUnusedSteps(b);
    const std::string text = SaveToText(b);
    auto back = LoadFromText<TRVN2Board>(text);
    EXPECT_EQ(SaveToText(back), text);
    EXPECT_EQ(back.Name, "Harbour");
    EXPECT_EQ(back.SerialNumber, 1000u);
    EXPECT_EQ(back.Notes, "Ferry siding, north end");
    EXPECT_EQ(back.GetSequence(1).Description, "End to end");
    EXPECT_EQ(back.GetSequence(3).Name, "a name longer than fifteen");
    EXPECT_EQ(back.GetSequence(1).StepAt(0).Comment, "stop at sensor 2");
    EXPECT_EQ(SVsOf(back), SVsOf(b));

    // Records follow each other directly.
    auto second = MakeBusyBoard();
    second.Name = "Second";
    std::string two = text + SaveToText(second);
    std::istringstream in(two, std::ios::binary);
    TRVN2Board r1, r2;
    r1.LoadFromStream(in);
    r2.LoadFromStream(in);
    EXPECT_EQ(r2.Name, "Second");
    EXPECT_EQ(in.peek(), std::char_traits<char>::eof());
}

TEST(RVN2Board, SequenceKeepsItsNumberWhenLoading)
{
    TRVN2Board b;
    ResetUnusedSteps(b);
    std::string text = SaveToText(b);
    const auto pos = text.find("sequence_1");
    text.replace(pos, 10, "sequence_9");
    auto back = LoadFromText<TRVN2Board>(text);
    EXPECT_EQ(back.GetSequence(0).SequenceNumber, 1u);
    EXPECT_EQ(back.GetSequence(2).GetListLine(), "3\tUndefined");
    EXPECT_EQ(SaveToText(back), SaveToText(b));
}

TEST(RVN2Board, OutOfRangeFileValuesSurviveASaveAndLoad)
{
    auto b = MakeBusyBoard();
    ResetUnusedSteps(b);
    b.SerialNumber = 0xFFFFFFFFu;
    b.GetSequence(0).StepAt(0).Action = eActStop;
    b.GetSequence(0).StepAt(0).SpeedChangeTime = 0xFFFFFFF0u;
    b.GetSequence(0).StepAt(1).Action = 12; // unknown action: no parameter fields
    b.GetSequence(0).StepAt(1).Trigger = 9; // unknown trigger: no parameter fields
    const std::string text = SaveToText(b);
    EXPECT_NE(text.find("\"RVN2_BOARD\",\"Harbour\",-1\r\n"), std::string::npos);
    EXPECT_NE(text.find(",\"step\",2,9,1,0,,,12,,,\"\"\r\n"), std::string::npos);
    auto back = LoadFromText<TRVN2Board>(text);
    EXPECT_EQ(SaveToText(back), text);
    EXPECT_EQ(back.GetSequence(0).StepAt(0).SpeedChangeTime, 0xFFFFFFF0u);
}

TEST(RVN2Board, CutOffRecordReadsEmptyFields)
{
    auto b = MakeBusyBoard();
    const std::string text = SaveToText(b);
    const std::string cut = text.substr(0, text.find("sequence_2"));
    auto back = LoadFromText<TRVN2Board>(cut);
    EXPECT_EQ(back.Name, "Harbour");
    EXPECT_EQ(back.GetSequence(1).Name, "");
    EXPECT_EQ(back.GetSequence(1).SequenceType, 0);
    EXPECT_EQ(back.GetSequence(1).StepAt(0).Action, eActNone);
    EXPECT_EQ(back.GetSequence(3).Description, "");

    auto empty = LoadFromText<TRVN2Board>("");
    EXPECT_EQ(empty.Name, "");
    EXPECT_EQ(empty.SerialNumber, 0u);
    EXPECT_EQ(empty.SensorConfig.SensorBoardNumber, 0u);
}

TEST(RVN2Board, DescriptionOfABusyBoard)
{
    auto b = MakeBusyBoard();
    std::vector<std::string> lines;
    b.DisplayBoard(lines);
    ASSERT_GT(lines.size(), 60u);
    EXPECT_EQ(lines[1], "Serial number: 1000");
    EXPECT_EQ(lines[3], "Description: Ferry siding, north end");
    EXPECT_EQ(lines[5], "Sensor Board Addr Number: 12");
    EXPECT_EQ(lines[6], "Sensor config = General Sensor Inputs, numbers 9 to 12");
    // Sequence 1: 5 header lines + 16 x 2 lines, then sequence 2.
    const size_t s2 = 7 + 5 + 32;
    const std::vector<std::string> seq2(lines.begin() + s2, lines.begin() + s2 + 24);
    EXPECT_EQ(seq2, (std::vector<std::string>{
                        "",
                        "Sequence 2: name=Shuttle",
                        "  Description: End to end",
                        "  Type =      shuttle;",
                        "  Number of Steps = 4",
                        "    Step 1: stop at sensor 2",
                        "      Trigger when sensor 10,2 occupied; respond every trigger.",
                        "      Action: Stop train, decelerating over 2 seconds.",
                        "      Can Trigger again after step 3 has triggered.",
                        "    Step 2: start after delay",
                        "      Trigger after 30 seconds; respond every trigger.",
                        "      Action: Start train in opposite direction, accelerating over 3 seconds.",
                        "      Can Trigger again immediately.",
                        "    Step 3: ",
                        "      Trigger when point 250 set Thrown; respond every trigger.",
                        "      Action: Set Loco function 2 on for 5 seconds",
                        "      Can Trigger again immediately.",
                        "    Step 4: ",
                        "      Trigger when point 7 set Closed; respond every trigger.",
                        "      Action: Set point 1999 to Thrown",
                        "      Can Trigger again immediately.",
                        "    Step 5: ",
                        "      Trigger after 1 seconds; respond every trigger.",
                        "      Action: Dispatch Loco",
                    }));
    const auto type4 = std::find(lines.begin(), lines.end(), "Sequence 4: name=a name longer than fifteen");
    ASSERT_NE(type4, lines.end());
    EXPECT_EQ(*(type4 + 2), "  Type =      station stop;");

    std::vector<std::string> names;
    for (uint8_t code = 0; code <= 4; ++code) {
        b.SensorConfig.ConfigCode = code;
        names.push_back(b.SensorConfig.GetConfigName());
    }
    EXPECT_EQ(names, (std::vector<std::string>{
                         "Not Used", "General Sensor Inputs, numbers 1 to 4", "General Sensor Inputs, numbers 5 to 8",
                         "General Sensor Inputs, numbers 9 to 12", "General Sensor Inputs, numbers 13 to 16"}));
}

TEST(RVN2Sequence, CopiesAreIndependent)
{
    auto b = MakeBusyBoard();
    TRVN2Sequence seqCopy(b.GetSequence(1));
    seqCopy.StepAt(1).Delay = 99;
    EXPECT_EQ(b.GetSequence(1).StepAt(1).Delay, 30u);
    b.GetSequence(1) = seqCopy;
    EXPECT_EQ(b.GetSequence(1).StepAt(1).Delay, 99u);
    EXPECT_EQ(b.GetSequence(1).SequenceNumber, 2u);
}

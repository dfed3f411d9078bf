// What the five board types do alike, one row per type: identity and SV lists, the SVs, record and
// description of a new board, copies, and the shipped example file.
#include "boards/BoardFactory.h"
#include "boards/kpx9/KPX9Board.h"
#include "boards/orb/orb4/ORB4Board.h"
#include "boards/orb/orb8/ORB8Board.h"
#include "boards/qxp6/QXP6Board.h"
#include "boards/rvn2/RVN2Board.h"

#include "support/BoardSnapshot.h"
#include "support/BoardText.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace {

// SVs First to Last, all holding Value.
struct TSVRun {
    TSVRun(uint32_t n, uint8_t value) : First(n), Last(n), Value(value) {}
    TSVRun(uint32_t first, uint32_t last, uint8_t value) : First(first), Last(last), Value(value) {}
    uint32_t First, Last;
    uint8_t Value;
};
// Lines of a text by their index; the lines not named are not checked.
using TLines = std::map<size_t, std::string>;
// Copies and assignments through the board's own class, and a change to the parts of the example
// board that a shallow copy would share.
struct TCopying {
    std::unique_ptr<TConfigurableBoard> (*Copy)(const TConfigurableBoard&);
    void (*Assign)(TConfigurableBoard&, const TConfigurableBoard&);
    void (*Change)(TConfigurableBoard&);
};

struct TBoardType {
    int Type;
    std::string Tag;
    std::string Name; // of a new board
    uint32_t FirstProduct, LastProduct;
    std::string SVError;
    std::vector<std::pair<uint32_t, uint32_t>> Unused; // ranges of SV numbers
    uint32_t Serial; // a new board with this serial number calculates NewSVs; the other SVs are 0
    std::vector<TSVRun> NewSVs;
    size_t RecordLineCount;
    TLines Record; // of a new board
    size_t DescriptionLineCount;
    TLines Description; // of a new board
    std::vector<std::string> ExampleNames; // the boards of data/examples/layout-<tag>.csv
    TCopying Copying;
};

template <class T, void (*Change)(T&)>
constexpr TCopying kCopying = {
    [](const TConfigurableBoard& b) -> std::unique_ptr<TConfigurableBoard> {
        return std::make_unique<T>(dynamic_cast<const T&>(b));
    },
    [](TConfigurableBoard& to, const TConfigurableBoard& from) { dynamic_cast<T&>(to) = dynamic_cast<const T&>(from); },
    [](TConfigurableBoard& b) { Change(dynamic_cast<T&>(b)); }};

template <class T> void ChangeSignals(T& b)
{
    b.GetSignal(1).RedSet().Clear();
    b.Notes = "changed";
}
void ChangeKPX9(TKPX9Board& b)
{
    b.Cells[0].Address = 999;
    b.Routes[0].EntryAddress[0] = 888;
    b.SetToFromRoutes(true);
}
void ChangeRVN2(TRVN2Board& b)
{
    b.GetSequence(1).StepAt(0).Comment = "changed";
    b.SensorConfig.ConfigCode = 2;
}
void ChangeQXP6(TQXP6Board& b)
{
    b.GetOutputCell(0)->ClosedConditions.Clear();
    b.GetRoute(0)->SetEntry(0, 1, eQXP6Undef);
    b.GetInputCell(0)->Description = "changed";
    b.SetBaseAddress(5);
    b.SetSV(100, 9);
}

// The first lines of a text, and further lines by their index.
TLines Pinned(const std::vector<std::string>& head, TLines more = {})
{
    for (size_t i = 0; i < head.size(); ++i) more[i] = head[i];
    return more;
}

std::vector<TSVRun> RVN2NewSVs()
{
    std::vector<TSVRun> runs = {{12, 10}};
    const std::string name = "Undefined";
    for (uint32_t first : {30u, 143u, 256u, 369u}) {
        runs.emplace_back(first, 2);
        for (uint32_t k = 0; k < name.size(); ++k) runs.emplace_back(first + 2 + k, uint8_t(name[k]));
        // Each step as a step not in use reads from a file: delay 1, iterations 1.
        for (uint32_t step = first + 17; step < first + 113; step += 6) {
            runs.emplace_back(step, 1);
            runs.emplace_back(step + 2, 1);
        }
    }
    return runs;
}

TLines RVN2Record()
{
    std::vector<std::string> lines = {"\"RVN2_BOARD\",\"RVN2 Autoferry\",0", ",\"Unassigned\"",
                                      ",\"sensor_config\",10,0"};
    for (int q = 1; q <= 4; ++q) {
        lines.push_back(",\"sequence_" + std::to_string(q) + "\",\"Undefined\",2,0");
        lines.push_back(",,\"\"");
        for (int i = 1; i <= 16; ++i) lines.push_back(",\"step\"," + std::to_string(i) + ",0,1,0,1,,0,,,\"\"");
    }
    return Pinned(lines);
}

TLines RVN2Description()
{
    std::vector<std::string> lines = {"Board Type: RVN2",
                                      "Serial number: not set yet",
                                      "Board name: RVN2 Autoferry",
                                      "Description: Unassigned",
                                      "",
                                      "Sensor Board Addr Number: 10",
                                      "Sensor config = Not Used"};
    for (int q = 1; q <= 4; ++q) {
        lines.insert(lines.end(), {"", "Sequence " + std::to_string(q) + ": name=Undefined",
                                   "  Description: ", "  Type =      user defined;", "  Number of Steps = 0"});
        for (int i = 1; i <= 16; ++i)
            lines.insert(lines.end(), {"    Step " + std::to_string(i) + ": ", "      Step not used."});
    }
    return Pinned(lines);
}

// Route entry fields of a board file that hold no entry.
std::string NoEntries(int count)
{
    std::string fields;
    for (int i = 0; i < count; ++i) fields += ",\"0\"";
    return fields;
}

TLines KPX9Record()
{
    std::vector<std::string> lines = {"\"KPX9_BOARD\",\"KPX9 Lever Panel Master\",0,0,10,1,0,1000,1025,1027,10",
                                      ",\"Undefined\""};
    for (int i = 1; i <= 30; ++i)
        lines.push_back(",\"Cell_\"," + std::to_string(i) + ",0,1,0,0,1,1,,,,,,\"undefined\"");
    for (int i = 1; i <= 24; ++i) {
        lines.push_back(",\"route_config\"," + std::to_string(i) + ",1,1,0" + NoEntries(11) + ",0");
    }
    return Pinned(lines);
}

TLines KPX9Description()
{
    std::vector<std::string> lines = {"Board Type: KPX9", "Serial number: not set yet",
                                      "Board name: KPX9 Lever Panel Master", "", "Cell settings: "};
    for (int n = 1; n <= 30; ++n) {
        lines.insert(lines.end(), {"    Cell " + std::to_string(n) + ": undefined", "       Undefined",
                                   "       Pushbutton A effect: No Action", "       Pushbutton B effect: No Action"});
    }
    lines.insert(lines.end(), {"", "Route settings: ", "  Routes use single button press",
                               "  DCC accessory address to activate routes: 1000"});
    for (int n = 1; n <= 24; ++n) lines.push_back("  Route " + std::to_string(n) + ":not defined.");
    lines.insert(lines.end(), {"", "Board mode settings: ", "  Board is in STANDALONE mode after power up",
                               "  DCC accessory address to enter INTERLOCKED mode: 1027",
                               "  DCC accessory address to enter SLAVE mode: 1025",
                               "  Sensor board number in SLAVE or INTERLOCKED mode: 10",
                               "  Board can occupy 4 slave addresses, 1-4"});
    return Pinned(lines);
}

const std::string kTooManyDevices =
    "SV Calculation Error: too many points, sensors or signals called up by board programming";
const std::string kQXP6Unused7 = ",\"Unused\",\"Unused\",\"Unused\",\"Unused\",\"Unused\",\"Unused\",\"Unused\"";

const TBoardType kBoardTypes[] = {
    {.Type = eORB4,
     .Tag = "ORB4",
     .Name = "ORB4 Signal Controller",
     .FirstProduct = 1,
     .LastProduct = 1,
     .SVError = kTooManyDevices,
     .Unused = {{1, 2}, {7, 8}, {29, 29}, {255, 256}, {510, 512}},
     .Serial = 65536,
     .NewSVs = {{5, 1}, {10, 19, 2}, {26, 10}, {27, 232}, {28, 3}, {30, 39, 1}, {508, 8}},
     .RecordLineCount = 4 + 10 * 6 + 3 * 5,
     .Record = Pinned({"\"ORB4_BOARD\",\"ORB4 Signal Controller\",0,1,0,8,0,0", ",\"Unassigned\"",
                       ",\"sensor_config\",10,0,0,0,0", ",\"highcurrent_config\",1000,0,0",
                       ",\"Signal_1\",\"unnamed\",1,2,0,0,0,0,0,0,0", ",,\"undefined\""},
                      {{64, ",\"Zone_1\",\"\",\"\""},
                       {74, ",\"Zone_3\",\"\",\"\""},
                       {78, ",,\"Cond_Rev_Shunt:\",\"3\",\"Unused\",\"Unused\",\"Unused\""}}),
     .DescriptionLineCount = 20 + 10 * 17 + 2 + 3 * 10,
     .Description = Pinned({"Board Type: ORB4",
                            "Serial number: not set yet",
                            "Board name: ORB4 Signal Controller",
                            "Signal Base address: 1",
                            "User Description: Unassigned",
                            "Report signal passed at danger DISABLED",
                            "Delay for power isolation zone = 2 s",
                            "Simulation of lamp brightness DISABLED",
                            "",
                            "Sensor Board Addr Number: 10",
                            "Sensor Input 1,2 config = Not Unused",
                            "Sensor Input 3,4 config = Not Unused",
                            "Sensor Input 5,6 config = Not Unused",
                            "Sensor Input 7,8 config = Not Unused",
                            "",
                            "High current o/p DCC base addr: 1000",
                            "High current o/p 1-4 config = Power Isolating Relay",
                            "High current o/p 5-8 config = Power Isolating Relay",
                            "",
                            "Signal Settings:",
                            "     Signal: 1",
                            "     Block signal"},
                           {{190, ""}, {191, "reverse Run Zone Settings:"}, {192, "     Zone: A"}, {221, ""}}),
     .ExampleNames = {"Main line ORB4", "Spare ORB4"},
     .Copying = kCopying<TORB4Board, ChangeSignals<TORB4Board>>},
    {.Type = eKPX9,
     .Tag = "KPX9",
     .Name = "KPX9 Lever Panel Master",
     .FirstProduct = 2,
     .LastProduct = 4,
     .SVError = "SV Calculation Error: one or more routes has too many entries",
     .Unused = {{1, 2}, {7, 8}, {18, 29}, {247, 256}, {509, 512}},
     .Serial = 65536,
     .NewSVs = {{6, 10}, {9, 10}, {10, 1}, {12, 232}, {13, 3}, {14, 1}, {15, 4}, {16, 3}, {17, 4}},
     .RecordLineCount = 2 + 30 + 24,
     .Record = KPX9Record(),
     .DescriptionLineCount = 5 + 30 * 4 + 4 + 24 + 7,
     .Description = KPX9Description(),
     .ExampleNames = {"Station throat panel", "Fiddle yard panel"},
     .Copying = kCopying<TKPX9Board, ChangeKPX9>},
    {.Type = eORB8,
     .Tag = "ORB8",
     .Name = "ORB8 Signal Controller",
     .FirstProduct = 5,
     .LastProduct = 5,
     .SVError = kTooManyDevices,
     .Unused = {{1, 2}, {7, 8}, {27, 29}, {255, 256}, {511, 512}},
     .Serial = 513,
     .NewSVs = {{3, 1}, {4, 2}, {5, 1}, {10, 19, 2}, {26, 10}, {30, 39, 1}, {508, 8}, {510, 8}},
     .RecordLineCount = 3 + 10 * 6 + 3 * 5,
     .Record = Pinned({"\"ORB8_BOARD\",\"ORB8 Signal Controller\",0,1,0,8,0,0,0,0,0,0,8", ",\"Unassigned\"",
                       ",\"sensor_config\",10,0,0"}),
     .DescriptionLineCount = 20 + 10 * 17 + 2 + 3 * 10,
     .Description = Pinned({"Board Type: ORB8",
                            "Serial number: not set yet",
                            "Board name: ORB8 Signal Controller",
                            "Signal Base address: 1",
                            "User Description: Unassigned",
                            "Report signal passed at danger DISABLED",
                            "Delay for power isolation zone = 2 s",
                            "Delay before change from RED = 2 s",
                            "Signals 1-4 have 3 LEDs each",
                            "Signals 5-8 have 3 LEDs each",
                            "Aux outputs drive isolating relays for signals 1-8",
                            "Board generates interrogate response on demand only",
                            "Signal lamp brighness simulation DISABLED",
                            "Uses DCC switch commands",
                            "",
                            "Sensor Board Addr Number: 10",
                            "On-board Input config = Not Used",
                            "External Input config = Not Used",
                            "",
                            "Signal Settings:",
                            "     Signal: 1"},
                           {{191, "Reverse Run Zone Settings:"}}),
     .ExampleNames = {"Station throat ORB8"},
     .Copying = kCopying<TORB8Board, ChangeSignals<TORB8Board>>},
    {.Type = eRVN2,
     .Tag = "RVN2",
     .Name = "RVN2 Autoferry",
     .FirstProduct = 6,
     .LastProduct = 6,
     .SVError = "BUG - error while programming SVs",
     .Unused = {{1, 2}, {5, 9}, {14, 29}, {482, 512}},
     .Serial = 65536,
     .NewSVs = RVN2NewSVs(),
     .RecordLineCount = 3 + 4 * 18,
     .Record = RVN2Record(),
     .DescriptionLineCount = 7 + 4 * (5 + 16 * 2),
     .Description = RVN2Description(),
     .ExampleNames = {"Branch Line Shuttle", "Coldwater Station"},
     .Copying = kCopying<TRVN2Board, ChangeRVN2>},
    {.Type = eQXP6,
     .Tag = "QXP6",
     .Name = "QXP6 Accessory Decoder",
     .FirstProduct = 7,
     .LastProduct = 7,
     .SVError = kTooManyDevices,
     .Unused = {{1, 2}, {7, 8}, {29, 29}, {40, 40}, {159, 160}, {169, 170}, {379, 380}, {429, 512}},
     .Serial = 65536,
     .NewSVs = {{5, 1}, {11, 18, 4}, {19, 8}, {39, 16}, {41, 50, 3}, {61, 232}, {62, 3}},
     .RecordLineCount = 2 + 8 * 5 + 10 + 8 * 2,
     .Record = Pinned({"\"QXP6_BOARD\",\"QXP6 Accessory Decoder\",0,1,0,0,8,0,16,1000", ",\"Unassigned\"",
                       ",\"OPCell_\",1,1,1,3,0,0,0,0,0,0", ",,\"undefined\"", ",,\"Cond_Cell_C\",\"7\"" + kQXP6Unused7,
                       ",,\"Cond_Cell_T\",\"7\"" + kQXP6Unused7, ",,\"Cond_Cell_F\",\"2\",\"Unused\",\"Unused\"",
                       ",\"OPCell_\",2,1,1,3,0,0,0,0,0,0"},
                      {{42, ",\"INCell_\",1,3,0,\"\""},
                       {51, ",\"INCell_\",10,3,0,\"\""},
                       {52, ",\"route_config\",1,0,1" + NoEntries(12)},
                       {53, ",,\"Cond_Route\",\"5\",\"Unused\",\"Unused\",\"Unused\",\"Unused\",\"Unused\""},
                       {66, ",\"route_config\",8,0,1" + NoEntries(12)}}),
     .DescriptionLineCount = 10 + 2 + 8 * 13 + 2 + 10 * 3 + 3 + 8,
     .Description = Pinned({"Board Type: QXP6",
                            "Serial number: not set yet",
                            "Board name: QXP6 Accessory Decoder",
                            "Board Base address: 1",
                            "User Description: Unassigned",
                            "occupies 8 addresses",
                            "DCC commands only",
                            "CDU delay = 0.8 s",
                            "sensor board number = 16",
                            "output memory location = 0",
                            "",
                            "Output Cell Settings:",
                            "     Cell: 1",
                            "     Point cell, solenoid type motor",
                            "     Description: undefined",
                            "     No message",
                            "     On Time: 0.5s",
                            "     Follows no other output",
                            "     conditions to make cell closed:",
                            "          (No conditions assigned)"},
                           {{117, "Input Cell Settings:"},
                            {146, "       Pushbutton input, changes point 10"},
                            {150, "DCC Base address to set routes: 1000"},
                            {158, "  Route 8:not defined."}}),
     .ExampleNames = {"Station throat", "Goods yard"},
     .Copying = kCopying<TQXP6Board, ChangeQXP6>},
};

void PrintTo(const TBoardType& row, std::ostream* out)
{
    *out << row.Tag;
}

void ExpectLines(const std::vector<std::string>& lines, size_t count, const TLines& pinned)
{
    EXPECT_EQ(lines.size(), count);
    for (const auto& [i, text] : pinned) {
        ASSERT_LT(i, lines.size());
        EXPECT_EQ(lines[i], text) << "line " << i;
    }
}

class BoardTypes : public ::testing::TestWithParam<TBoardType> {
protected:
    std::unique_ptr<TConfigurableBoard> NewBoard() const { return CreateBoardOfType(GetParam().Type); }
    std::string ExampleFile() const
    {
        std::string tag = GetParam().Tag;
        std::transform(tag.begin(), tag.end(), tag.begin(), [](unsigned char c) { return char(std::tolower(c)); });
        return std::string(RAILSCOPE_SOURCE_DIR) + "/data/examples/layout-" + tag + ".csv";
    }
};

} // namespace

TEST_P(BoardTypes, IdentityAndSVLists)
{
    const TBoardType& t = GetParam();
    auto b = NewBoard();
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(b->GetBoardType(), t.Tag);
    EXPECT_EQ(b->Name, t.Name);
    EXPECT_EQ(b->GetSVCount(), 512u);
    EXPECT_EQ(b->GetSVErrorText(), t.SVError);
    b->SerialNumber = 300;
    for (uint32_t product = 0; product <= 9; ++product)
        EXPECT_EQ(b->IsBoardIdentity(1, product, 300), product >= t.FirstProduct && product <= t.LastProduct)
            << product;
    EXPECT_FALSE(b->IsBoardIdentity(2, t.FirstProduct, 300));
    EXPECT_FALSE(b->IsBoardIdentity(1, t.FirstProduct, 301));

    EXPECT_EQ(b->GetProtectedSVs(), (std::vector<uint32_t>{1, 2, 7, 8, 29}));
    std::vector<uint32_t> unused;
    for (auto [first, last] : t.Unused)
        for (uint32_t n = first; n <= last; ++n) unused.push_back(n);
    EXPECT_EQ(b->GetUnusedSVs(), unused);
    for (uint32_t n = 1; n <= 512; ++n)
        EXPECT_EQ(b->IsSVProgrammable(n), std::find(unused.begin(), unused.end(), n) == unused.end()) << n;
}

TEST_P(BoardTypes, NewBoardSVs)
{
    auto b = NewBoard();
    ASSERT_NE(b, nullptr);
    b->SerialNumber = GetParam().Serial;
    ASSERT_TRUE(b->CalculateSVs());
    std::vector<uint8_t> expected(512, 0);
    for (const TSVRun& run : GetParam().NewSVs)
        for (uint32_t n = run.First; n <= run.Last; ++n) expected[n - 1] = run.Value;
    EXPECT_EQ(b->GetSVTable(), expected);
}

TEST_P(BoardTypes, RecordOfANewBoard)
{
    auto b = NewBoard();
    ASSERT_NE(b, nullptr);
    const std::string text = SaveToText(*b);
    ExpectLines(CrlfLines(text), GetParam().RecordLineCount, GetParam().Record);
    EXPECT_EQ(text.substr(text.size() - 2), "\r\n");
}

TEST_P(BoardTypes, DescriptionOfANewBoard)
{
    auto b = NewBoard();
    ASSERT_NE(b, nullptr);
    ExpectLines(DescriptionLines(*b), GetParam().DescriptionLineCount, GetParam().Description);
}

TEST_P(BoardTypes, ExampleFileLoadsCalculatesAndSavesUnchanged)
{
    const std::string file = ReadFileText(ExampleFile());
    std::istringstream in(file, std::ios::binary);
    std::vector<std::string> names;
    std::string again;
    while (in.peek() != std::char_traits<char>::eof()) {
        auto b = NewBoard();
        ASSERT_NE(b, nullptr);
        b->LoadFromStream(in);
        EXPECT_TRUE(b->CalculateSVs()) << b->Name << ": " << b->GetSVErrorText();
        names.push_back(b->Name);
        again += SaveToText(*b);
    }
    EXPECT_EQ(names, GetParam().ExampleNames);
    EXPECT_EQ(again, file);
}

TEST_P(BoardTypes, CopiesAreIndependent)
{
    auto original = NewBoard();
    ASSERT_NE(original, nullptr);
    ASSERT_TRUE(LoadFirstRecord(*original, ExampleFile()));
    const std::string record = SaveToText(*original);
    const std::vector<uint8_t> svs = original->GetSVTable();

    const TCopying& copying = GetParam().Copying;
    auto copy = copying.Copy(*original);
    EXPECT_EQ(SaveToText(*copy), record);
    copying.Change(*copy);
    EXPECT_NE(SaveToText(*copy), record);
    EXPECT_EQ(SaveToText(*original), record);
    EXPECT_EQ(original->GetSVTable(), svs);

    copying.Assign(*original, *copy);
    EXPECT_EQ(Snapshot(*original), Snapshot(*copy));
}

INSTANTIATE_TEST_SUITE_P(EveryType, BoardTypes, ::testing::ValuesIn(kBoardTypes),
                         [](const auto& row) { return row.param.Tag; });

namespace {

// Numbers a board file holds are written back as they were read, negative ones included.
struct TNegativeNumbers {
    int Type;
    std::string Tag;
    TLines Lines; // put into a new board's record
    uint32_t Serial; // as read from line 0
    TLines Rewritten; // lines that the board writes back otherwise
};

const TNegativeNumbers kNegativeNumbers[] = {
    {eORB4,
     "ORB4",
     {{0, "\"ORB4_BOARD\",\"N\",-5,-1,0,-8,0,0"},
      {2, ",\"sensor_config\",-10,0,1,2,0"},
      {3, ",\"highcurrent_config\",-1000,1,0"}},
     0xFFFFFFFBu,
     {}},
    {eORB8,
     "ORB8",
     {{0, "\"ORB8_BOARD\",\"N\",-5,-1,0,-8,0,1,0,0,0,0,-4"}, {2, ",\"sensor_config\",-10,3,1"}},
     0xFFFFFFFBu,
     {}},
    {eKPX9,
     "KPX9",
     {{0, "\"KPX9_BOARD\",\"Odd\",-1,0,-2,1,0,-3,-4,-5,-6"},
      {2, ",\"Cell_\",-7,1,-1,0,19,-2,-3,0,-4,-5,0,0,\"p\""},
      {32, ",\"route_config\",-1,-2,-3,1,\"-9 Closed\"" + NoEntries(10) + ",-8"}},
     0xFFFFFFFFu,
     // The route keeps the number the board gave it.
     {{32, ",\"route_config\",1,-2,-3,1,\"-9 Closed\"" + NoEntries(10) + ",-8"}}},
};

void PrintTo(const TNegativeNumbers& row, std::ostream* out)
{
    *out << row.Tag;
}

class BoardFileNumbers : public ::testing::TestWithParam<TNegativeNumbers> {};

} // namespace

TEST_P(BoardFileNumbers, NegativeNumbersFromAFileAreSavedAsTheyWereRead)
{
    auto b = CreateBoardOfType(GetParam().Type);
    ASSERT_NE(b, nullptr);
    std::vector<std::string> lines = CrlfLines(SaveToText(*b));
    for (const auto& [i, line] : GetParam().Lines) lines.at(i) = line;
    std::string text;
    for (const auto& line : lines) text += line + "\r\n";
    std::istringstream in(text, std::ios::binary);
    b->LoadFromStream(in);
    EXPECT_EQ(b->SerialNumber, GetParam().Serial);
    for (const auto& [i, line] : GetParam().Rewritten) lines.at(i) = line;
    EXPECT_EQ(CrlfLines(SaveToText(*b)), lines);
}

INSTANTIATE_TEST_SUITE_P(SignedFields, BoardFileNumbers, ::testing::ValuesIn(kNegativeNumbers),
                         [](const auto& row) { return row.param.Tag; });

// Arbitrary bytes as a board file: loading must end, and every board loaded must save, describe,
// list and check itself. Saving the loaded boards and loading that file again must give the same
// number of boards.
//
// The bytes are loaded as one type, as a program does: the type the record tag of the first line
// names or, when it names none, the input's length picks one of the five types or a board class of
// three simple lines (length % 6). The length also picks the work (length / 6 % 2): the boards are
// saved, described, listed and loaded again, or checked. One type and one part of the work an
// input keeps every input quick, so that the fuzzer explores rather than repeats.
#include "boards/BoardData.h"
#include "boards/BoardFactory.h"
#include "boards/BoardTypes.h"
#include "boards/HoldCheck.h"

#include <cstddef>
#include <cstdint>
#include <algorithm>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

namespace {

// A record of three lines, for when no board class is built in.
class TSimpleBoard : public TConfigurableBoard {
public:
    TSimpleBoard() { SetSVCount(512); }
    std::string GetBoardType() const override { return "SIMPLE"; }
    bool IsBoardIdentity(uint32_t, uint32_t, uint32_t) const override { return false; }
    void SaveToStream(std::ostream& stream) override
    {
        ClearFields();
        SetText(0, "SIMPLE_BOARD");
        SetText(1, Name);
        SetNumber(2, SerialNumber);
        WriteLine(stream);
        ClearFields();
        SetText(1, Notes);
        WriteLine(stream);
        ClearFields();
        SetNumber(1, Value);
        WriteLine(stream);
    }
    void LoadFromStream(std::istream& stream) override
    {
        ReadLine(stream);
        Name = GetText(1);
        SerialNumber = static_cast<uint32_t>(GetNumber(2));
        ReadLine(stream);
        Notes = GetText(1);
        ReadLine(stream);
        Value = GetNumber(1);
    }
    std::string GetSVErrorText() const override { return "error"; }
    const std::vector<uint32_t>& GetProtectedSVs() const override { return Protected; }
    const std::vector<uint32_t>& GetUnusedSVs() const override { return Protected; }

private:
    std::string Notes;
    int Value = 0;
    std::vector<uint32_t> Protected{1, 2, 7, 8, 29};
};

void Exercise(int type, const std::string& bytes, bool simple, bool check)
{
    if (simple)
        SetBoardMakerHookForTests(
            [](int) -> std::unique_ptr<TConfigurableBoard> { return std::make_unique<TSimpleBoard>(); });
    TBoardData data;
    std::istringstream in(bytes, std::ios::binary);
    data.LoadFromStream(type, in);
    const uint32_t count = data.BoardCount(type);
    if (check) {
        for (uint32_t i = 0; i < count; ++i) (void)CheckHold(*data.GetBoard(type, i), 1).Lines();
    } else {
        std::ostringstream saved(std::ios::binary);
        data.SaveToStream(type, saved);
        for (uint32_t i = 0; i < count; ++i) {
            TConfigurableBoard* board = data.GetBoardForChange(type, i);
            std::vector<std::string> lines;
            board->DisplayBoard(lines);
            (void)board->GetListLine();
        }
        TBoardData reloaded;
        std::istringstream back(saved.str(), std::ios::binary);
        reloaded.LoadFromStream(type, back);
        // Only the first board's record decides where loading starts; a record the program wrote
        // never runs into the next one.
        if (count > 0 && reloaded.BoardCount(type) != count) std::abort();
    }
    if (simple) SetBoardMakerHookForTests(nullptr);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    std::string tag = bytes.substr(0, std::min(bytes.find_first_of(",\r\n"), bytes.size()));
    if (tag.size() >= 2 && tag.front() == '"' && tag.back() == '"') tag = tag.substr(1, tag.size() - 2);
    const int tagged = tag.find("_BOARD") == std::string::npos ? -1 : BoardTypeFromTag(tag);
    const int pick = tagged >= 0 ? tagged : static_cast<int>(size % (kBoardTypeCount + 1));
    const bool check = size / (kBoardTypeCount + 1) % 2 == 1;
    if (pick == kBoardTypeCount)
        Exercise(eORB4, bytes, true, check);
    else if (CreateBoardOfType(pick))
        Exercise(pick, bytes, false, check);
    return 0;
}

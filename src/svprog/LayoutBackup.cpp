#include "svprog/LayoutBackup.h"

#include "boards/BoardTypes.h"
#include "boards/HoldCheck.h"
#include "boards/SafeFile.h"
#include "link/Utf8Path.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <set>
#include <sstream>
#include <tuple>

namespace fs = std::filesystem;

namespace {

const char* const kReadCompleted = "Board data read completed successfully!";
const char* const kProgrammerIdle = "Board programmer idle";

std::string BoardText(int type, uint32_t serial)
{
    return BoardTypeTag(type) + " " + std::to_string(serial);
}

} // namespace

// The host of the two conversations the backup drives: messages and timers go to the backup's
// own host; their log lines are kept for the reason of a failure; the progress of each read is
// placed within the progress over all boards.
class TLayoutBackup::TInnerHost : public TConversationHost {
public:
    TInnerHost(TConversationHost& outer, const size_t& boardIndex) : Outer(outer), BoardIndex(boardIndex) {}

    void SendMessage(std::unique_ptr<TLocoNetMessage> message) override { Outer.SendMessage(std::move(message)); }
    void StartTimer(EConversationTimer timer, uint32_t periodMs) override { Outer.StartTimer(timer, periodMs); }
    void StopTimer(EConversationTimer timer) override { Outer.StopTimer(timer); }
    void ShowStatus(const std::string&) override {}
    void Log(const std::string& line) override { LogLines.push_back(line); }
    void ClearLog() override { LogLines.clear(); }
    void SetProgressPosition(uint32_t position) override
    {
        Outer.SetProgressPosition(static_cast<uint32_t>(BoardIndex) * kBoardSVCount +
                                  std::min(position, kBoardSVCount));
    }

    std::vector<std::string> LogLines;

private:
    TConversationHost& Outer;
    const size_t& BoardIndex;
};

TLayoutBackup::TLayoutBackup(TConversationHost& host)
    : Host(host), Inner(std::make_unique<TInnerHost>(host, Next)),
      Discovery(std::make_unique<TBoardDiscovery>(*Inner, TProductList(), nullptr)),
      Programmer(std::make_unique<TBoardProgrammer>(*Inner))
{}

TLayoutBackup::~TLayoutBackup() = default;

void TLayoutBackup::Discover()
{
    if (Phase != bpIdle) return;
    Phase = bpDiscovering;
    Discovery->DiscoverButtonClick();
    // "Discovering boards on LocoNet (this takes several seconds)....."
    for (const auto& line : Discovery->GetListLines()) Host.Log(line);
}

void TLayoutBackup::HandleSVMessage(const TLNSVProgMessage& message)
{
    if (Phase == bpDiscovering) Discovery->HandleSVMessage(message);
    if (Phase == bpReading) Programmer->HandleSVMessage(message);
    AfterEvent();
}

void TLayoutBackup::TimeoutTimerTimer()
{
    if (Phase == bpDiscovering) Discovery->TimeoutTimerTimer();
    if (Phase == bpReading) Programmer->TimeoutTimerTimer();
    AfterEvent();
}

void TLayoutBackup::MsgDelayTimerTimer()
{
    if (Phase == bpDiscovering) Discovery->MsgDelayTimerTimer();
    if (Phase == bpReading) Programmer->MsgDelayTimerTimer();
    AfterEvent();
}

void TLayoutBackup::AfterEvent()
{
    if (Phase == bpDiscovering && Discovery->GetState() == TBoardDiscovery::rsIdle) {
        CollectFound();
        Phase = bpDiscovered;
    } else if (Phase == bpReading && Reading != nullptr && Programmer->IsIdle()) {
        EndRead();
        ++Next;
        ReadNext();
    }
}

void TLayoutBackup::CollectFound()
{
    // A board that answers twice is read once; a product of no known type is not read at all.
    std::set<std::tuple<int, uint32_t>> seen;
    for (size_t i = 0; i < Discovery->GetFoundCount(); ++i) {
        const TRenumberableBoard& board = Discovery->GetFoundBoard(i);
        int type = -1;
        for (int t = 0; t < kBoardTypeCount && type < 0; ++t)
            if (IsBoardTypeIdentity(t, board.ManufacturerId, board.ProductId)) type = t;
        if (type < 0) {
            Host.Log("Board " + std::to_string(board.SerialNumber) + " (manufacturer " +
                     std::to_string(board.ManufacturerId) + ", product " + std::to_string(board.ProductId) +
                     ") is of no known board type and is not backed up");
            continue;
        }
        if (seen.insert({type, board.SerialNumber}).second) Found.push_back({type, board.SerialNumber});
    }
    std::sort(Found.begin(), Found.end(), [](const TFoundBoard& a, const TFoundBoard& b) {
        return std::tie(a.Type, a.Serial) < std::tie(b.Type, b.Serial);
    });
    std::string line = "Found " + std::to_string(Found.size()) + (Found.size() == 1 ? " board" : " boards");
    for (size_t i = 0; i < Found.size(); ++i)
        line += (i == 0 ? ": " : ", ") + BoardText(Found[i].Type, Found[i].Serial);
    Host.Log(line);
}

void TLayoutBackup::ReadBoards()
{
    if (Phase != bpDiscovered) return;
    Phase = bpReading;
    Next = 0;
    Host.SetProgressRange(0, static_cast<uint32_t>(Found.size()) * kBoardSVCount);
    ReadNext();
}

void TLayoutBackup::ReadNext()
{
    // A board the programmer refuses at once (an invalid serial number) ends here too.
    while (Next < Found.size()) {
        const TFoundBoard& found = Found[Next];
        const std::string text = "Reading " + BoardText(found.Type, found.Serial) + " (" + std::to_string(Next + 1) +
                                 " of " + std::to_string(Found.size()) + ").....";
        Host.ShowStatus(text);
        Host.Log(text);
        Reading = Boards.AddBoard(found.Type);
        if (Reading == nullptr) {
            Failures.push_back({found.Type, found.Serial, "there is no board class for the type"});
            ++Next;
            continue;
        }
        Reading->SerialNumber = found.Serial;
        Inner->LogLines.clear();
        Programmer->UseMessageDelay = UseMessageDelay;
        Programmer->ReadBoardButtonClick(Reading);
        if (!Programmer->IsIdle()) return;
        EndRead();
        ++Next;
    }
    Reading = nullptr;
    Phase = bpDone;
    Host.SetProgressPosition(static_cast<uint32_t>(Found.size()) * kBoardSVCount);
}

void TLayoutBackup::EndRead()
{
    const TFoundBoard& found = Found[Next];
    const auto& lines = Inner->LogLines;
    const bool read = std::find(lines.begin(), lines.end(), kReadCompleted) != lines.end();
    if (read) NoteHowItRestores(found);
    if (!read) {
        // The programmer's last word before it went idle says why.
        std::string reason = "the read did not complete";
        for (auto it = lines.rbegin(); it != lines.rend(); ++it) {
            if (*it != kProgrammerIdle) {
                reason = *it;
                break;
            }
        }
        Host.Log(BoardText(found.Type, found.Serial) + " could not be read: " + reason);
        Failures.push_back({found.Type, found.Serial, reason});
        // The half-read board is not backed up.
        const uint32_t count = Boards.BoardCount(found.Type);
        for (uint32_t i = 0; i < count; ++i) {
            if (Boards.GetBoard(found.Type, i) == Reading) {
                Boards.DeleteBoard(found.Type, i);
                break;
            }
        }
    }
    Reading = nullptr;
}

void TLayoutBackup::NoteHowItRestores(const TFoundBoard& found)
{
    // The backup as a restore reads it: the board's record, read again into a new board.
    std::stringstream record;
    Reading->SaveToStream(record);
    const auto restored = Boards.CreateBoard(found.Type);
    restored->LoadFromStream(record);
    restored->SWVersion = Reading->SWVersion;
    const std::string board = BoardText(found.Type, found.Serial);
    std::vector<std::string> notes;
    if (!restored->CalculateSVs()) {
        notes.push_back(board + ": its backup cannot be programmed back: " + restored->GetSVErrorText());
    } else {
        std::vector<uint8_t> held = restored->GetSVTable();
        uint32_t differing = 0;
        for (uint32_t n = 1; n <= held.size(); ++n) {
            if (!restored->IsSVProgrammable(n) || held[n - 1] == Reading->GetSV(n)) continue;
            held[n - 1] = Reading->GetSV(n);
            ++differing;
        }
        if (differing > 0) {
            const auto meaning = CompareSVsByMeaning(*restored, held, restored->GetSVTable());
            const std::string text = board + ": " + std::to_string(differing) +
                                     (differing == 1 ? " SV" : " SVs") + " will not come back identically when restored";
            if (meaning && meaning->empty()) {
                notes.push_back(text + "; they differ only in bytes this board does not use");
            } else {
                notes.push_back(text + ":");
                if (meaning)
                    for (const THoldDifference& difference : *meaning) notes.push_back("  " + difference.Line());
            }
        }
    }
    for (const std::string& note : notes) Host.Log(note);
    RestoreNotes.insert(RestoreNotes.end(), notes.begin(), notes.end());
}

std::vector<int> TLayoutBackup::TypesFound() const
{
    std::vector<int> types;
    for (const TFoundBoard& found : Found)
        if (types.empty() || types.back() != found.Type) types.push_back(found.Type);
    return types;
}

uint32_t TLayoutBackup::BoardsRead() const
{
    uint32_t count = 0;
    for (int type = 0; type < kBoardTypeCount; ++type) count += Boards.BoardCount(type);
    return count;
}

std::string TLayoutBackup::FileName(int type)
{
    std::string name = BoardTypeTag(type);
    for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return name + ".csv";
}

bool TLayoutBackup::PrepareFolder(const std::string& folder, std::vector<std::string>& removed, std::string& error)
{
    const fs::path folderPath = PathFromUtf8(folder);
    std::error_code ec;
    fs::create_directories(folderPath, ec);
    if (!fs::is_directory(folderPath)) {
        error = "cannot make the folder " + folder + ": " + (ec ? ec.message() : std::string("not a folder"));
        return false;
    }
    if (!CheckFolderWritable(folder, error)) {
        error = "cannot write in the folder " + folder + ": " + error;
        return false;
    }
    for (int type = 0; type < kBoardTypeCount; ++type)
        for (std::string& path : RemoveLeftoverTemporaries(Utf8FromPath(folderPath / FileName(type))))
            removed.push_back(std::move(path));
    return true;
}

std::vector<std::string> TLayoutBackup::ExistingFiles(const std::string& folder) const
{
    std::vector<std::string> existing;
    for (int type : TypesFound()) {
        const fs::path path = PathFromUtf8(folder) / FileName(type);
        std::error_code ec;
        if (fs::exists(fs::symlink_status(path, ec))) existing.push_back(Utf8FromPath(path));
    }
    return existing;
}

std::vector<TLayoutBackup::TFileResult> TLayoutBackup::WriteFiles(const std::string& folder, bool replace)
{
    std::vector<TFileResult> results;
    std::error_code ec;
    const fs::path folderPath = PathFromUtf8(folder);
    fs::create_directories(folderPath, ec);
    for (int type = 0; type < kBoardTypeCount; ++type) {
        if (Boards.BoardCount(type) == 0) continue;
        TFileResult result;
        result.Type = type;
        const fs::path path = folderPath / FileName(type);
        result.Path = Utf8FromPath(path);
        std::error_code existsError;
        if (!replace && fs::exists(fs::symlink_status(path, existsError))) {
            result.Error = "the file exists";
        } else if (Boards.SaveFileAs(type, result.Path)) {
            result.Written = true;
        } else {
            result.Error = Boards.GetLastError();
        }
        results.push_back(result);
    }
    return results;
}

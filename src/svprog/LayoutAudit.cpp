#include "svprog/LayoutAudit.h"

#include "boards/BoardTypes.h"
#include "boards/HoldCheck.h"
#include "boards/SafeFile.h"

#include <algorithm>
#include <tuple>

namespace {

const char* const kProgrammed = "Programming Completed Successfully!";
const char* const kProgrammerIdle = "Board programmer idle";
const char* const kNoAnswerPrefix = "Failure while";

std::string BoardText(int type, uint32_t serial)
{
    return BoardTypeTag(type) + " " + std::to_string(serial);
}

bool IsNoAnswer(const std::string& line)
{
    return line.rfind(kNoAnswerPrefix, 0) == 0;
}

std::string CsvField(const std::string& text)
{
    std::string field = "\"";
    for (char c : text) field += c == '"' ? std::string("\"\"") : std::string(1, c);
    return field + "\"";
}

} // namespace

TLayoutAudit::TLayoutAudit(TConversationHost& host)
    : Host(host), Inner(std::make_unique<TInnerConversationHost>(host)),
      Discovery(std::make_unique<TBoardDiscovery>(*Inner, TProductList(), nullptr)),
      Programmer(std::make_unique<TBoardProgrammer>(*Inner))
{}

TLayoutAudit::~TLayoutAudit() = default;

bool TLayoutAudit::AddDescription(const TConfigurableBoard& board, const std::string& file, uint32_t index,
                                  std::string& error)
{
    if (Phase != EPhase::Idle) {
        error = "the layout check is under way";
        return false;
    }
    const std::string place = file + ", board " + std::to_string(index);
    const int type = BoardTypeFromTag(board.GetBoardType());
    if (type < 0) {
        error = place + " is of no known board type";
        return false;
    }
    // Boards whose serial number is not set yet cannot be on the bus and clash with nothing.
    for (const TDescription& other : Descriptions) {
        if (!board.IsSerialValid() || other.Type != type || other.Board->SerialNumber != board.SerialNumber) continue;
        error = BoardText(type, board.SerialNumber) + " is described twice: " + other.File + ", board " +
                std::to_string(other.Index) + ", and " + place;
        return false;
    }
    std::unique_ptr<TConfigurableBoard> copy = board.Clone();
    if (!copy) {
        error = place + " cannot be copied for the check";
        return false;
    }
    Descriptions.push_back({std::move(copy), type, file, index});
    return true;
}

void TLayoutAudit::Clear()
{
    if (Phase != EPhase::Idle) return;
    Descriptions.clear();
    Found.clear();
    Rows.clear();
    End = EEnd::None;
}

const TConfigurableBoard* TLayoutAudit::GetDescription(const TRow& row) const
{
    if (row.Description < 0 || size_t(row.Description) >= Descriptions.size()) return nullptr;
    return Descriptions[size_t(row.Description)].Board.get();
}

// --- the discovery ------------------------------------------------------------------------------

void TLayoutAudit::Start()
{
    if (Phase != EPhase::Idle) return;
    Found.clear();
    Rows.clear();
    Round = 0;
    End = EEnd::None;
    Phase = EPhase::Discovering;
    // No telling how long the discovery takes: the progress shows that something is under way.
    Host.SetProgressRange(0, 0);
    Host.ShowStatus("Discovering.....");
    StartRound();
    // "Discovering boards on LocoNet (this takes several seconds)....."
    for (const std::string& line : Discovery->GetListLines()) Host.Log(line);
}

void TLayoutAudit::StartRound()
{
    if (!RunInner(*Discovery, [this] { Discovery->DiscoverButtonClick(); })) InnerFinished();
}

bool TLayoutAudit::CollectRound()
{
    bool added = false;
    for (size_t i = 0; i < Discovery->GetFoundCount(); ++i) {
        const TRenumberableBoard& board = Discovery->GetFoundBoard(i);
        const bool known = std::any_of(Found.begin(), Found.end(), [&board](const TBusBoard& found) {
            return found.Serial == board.SerialNumber && found.ManufacturerId == board.ManufacturerId &&
                   found.ProductId == board.ProductId;
        });
        if (known) continue;
        TBusBoard found{-1, board.ManufacturerId, board.ProductId, board.SerialNumber};
        for (int type = 0; type < kBoardTypeCount && found.Type < 0; ++type)
            if (IsBoardTypeIdentity(type, board.ManufacturerId, board.ProductId)) found.Type = type;
        Found.push_back(found);
        added = true;
    }
    return added;
}

bool TLayoutAudit::DescribedBoardMissing() const
{
    return std::any_of(Descriptions.begin(), Descriptions.end(), [this](const TDescription& description) {
        return description.Board->IsSerialValid() &&
               std::none_of(Found.begin(), Found.end(), [&description](const TBusBoard& found) {
            return found.Serial == description.Board->SerialNumber;
        });
    });
}

std::string TLayoutAudit::TypeText(const TBusBoard& board)
{
    if (board.Type >= 0) return BoardTypeTag(board.Type);
    return "a board of no known type (manufacturer " + std::to_string(board.ManufacturerId) + ", product " +
           std::to_string(board.ProductId) + ")";
}

void TLayoutAudit::BuildRows()
{
    Rows.clear();
    std::vector<bool> matched(Found.size(), false);
    for (size_t d = 0; d < Descriptions.size(); ++d) {
        const TDescription& description = Descriptions[d];
        TRow row;
        row.Type = description.Type;
        row.Serial = description.Board->SerialNumber;
        row.Name = description.Board->Name;
        row.File = description.File;
        row.Description = int(d);
        // The board of the same type and serial number, else any board at that serial number.
        size_t at = Found.size();
        for (size_t f = 0; f < Found.size(); ++f) {
            if (Found[f].Serial != row.Serial) continue;
            if (at == Found.size() || Found[f].Type == row.Type) at = f;
        }
        if (at < Found.size()) {
            row.OnBus = true;
            matched[at] = true;
            if (Found[at].Type != row.Type) {
                row.Status = EStatus::TypeDiffers;
                row.BusType = TypeText(Found[at]);
            }
        } else if (Phase == EPhase::Discovering && End == EEnd::None) {
            row.Status = EStatus::InFileNotOnBus;
        }
        Rows.push_back(std::move(row));
    }
    for (size_t f = 0; f < Found.size() && End == EEnd::None; ++f) {
        if (matched[f]) continue;
        if (Found[f].Type < 0) {
            Host.Log("Board " + std::to_string(Found[f].Serial) + " is " + TypeText(Found[f]) + " and is not checked");
            continue;
        }
        TRow row;
        row.Type = Found[f].Type;
        row.Serial = Found[f].Serial;
        row.OnBus = true;
        row.Status = EStatus::OnBusInNoFile;
        Rows.push_back(std::move(row));
    }
    std::stable_sort(Rows.begin(), Rows.end(),
                     [](const TRow& a, const TRow& b) { return std::tie(a.Type, a.Serial) < std::tie(b.Type, b.Serial); });
}

void TLayoutAudit::LogFound() const
{
    std::vector<const TBusBoard*> known;
    for (const TBusBoard& board : Found)
        if (board.Type >= 0) known.push_back(&board);
    std::sort(known.begin(), known.end(), [](const TBusBoard* a, const TBusBoard* b) {
        return std::tie(a->Type, a->Serial) < std::tie(b->Type, b->Serial);
    });
    std::string line = "Found " + std::to_string(known.size()) + (known.size() == 1 ? " board" : " boards");
    for (size_t i = 0; i < known.size(); ++i)
        line += (i == 0 ? ": " : ", ") + BoardText(known[i]->Type, known[i]->Serial);
    Host.Log(line);
}

void TLayoutAudit::InnerFinished()
{
    if (Phase != EPhase::Discovering) {
        EndStep();
        RunNext();
        return;
    }
    ++Round;
    const bool added = CollectRound();
    if (Round < kMinRounds || (Round < kMaxRounds && (added || DescribedBoardMissing()))) {
        StartRound();
        return;
    }
    LogFound();
    BuildRows();
    StartChecks(EPhase::Checking);
}

// --- verifying and programming --------------------------------------------------------------------

void TLayoutAudit::ProgramDiffering()
{
    if (Phase != EPhase::Idle || Rows.empty()) return;
    End = EEnd::None;
    StartChecks(EPhase::Programming);
}

bool TLayoutAudit::CheckAgain(size_t row, const TConfigurableBoard* description)
{
    if (Phase != EPhase::Idle || row >= Rows.size() || Rows[row].Description < 0) return false;
    TRow& line = Rows[row];
    if (description) {
        std::unique_ptr<TConfigurableBoard> copy = description->Clone();
        if (!copy) return false;
        line.Name = copy->Name;
        Descriptions[size_t(line.Description)].Board = std::move(copy);
    }
    End = EEnd::None;
    line.Status = EStatus::NotChecked;
    line.Details.clear();
    Phase = EPhase::Checking;
    Queue = {row};
    Next = 0;
    Step = EStep::Verify;
    Host.SetProgressRange(0, kBoardSVCount);
    RunNext();
    return true;
}

size_t TLayoutAudit::DifferingCount() const
{
    return size_t(std::count_if(Rows.begin(), Rows.end(), [](const TRow& r) { return r.Status == EStatus::SVsDiffer; }));
}

void TLayoutAudit::StartChecks(EPhase phase)
{
    Phase = phase;
    Queue.clear();
    for (size_t i = 0; i < Rows.size(); ++i) {
        const TRow& row = Rows[i];
        const bool take = phase == EPhase::Programming
                              ? row.Status == EStatus::SVsDiffer
                              : row.Description >= 0 && row.OnBus && row.Status == EStatus::NotChecked;
        if (take) Queue.push_back(i);
    }
    Next = 0;
    Step = phase == EPhase::Programming ? EStep::Program : EStep::Verify;
    const uint32_t steps = phase == EPhase::Programming ? 2 : 1;
    Host.SetProgressRange(0, uint32_t(Queue.size()) * steps * kBoardSVCount);
    Host.SetProgressPosition(0);
    RunNext();
}

void TLayoutAudit::RunNext()
{
    while (Next < Queue.size()) {
        if (StartStep(Queue[Next], Step)) return;
        // The programmer refused at once; its words say why.
        EndStep();
    }
    Finish(EEnd::Finished);
}

bool TLayoutAudit::StartStep(size_t rowIndex, EStep step)
{
    const TRow& row = Rows[rowIndex];
    TConfigurableBoard* board = Descriptions[size_t(row.Description)].Board.get();
    const bool again = Phase == EPhase::Programming && step == EStep::Verify;
    const std::string text = std::string(step == EStep::Program ? "Programming " : "Checking ") +
                             BoardText(row.Type, row.Serial) + " (" + std::to_string(Next + 1) + " of " +
                             std::to_string(Queue.size()) + ")" + (again ? " again" : "") + ".....";
    Host.ShowStatus(text);
    Host.Log(text);
    Inner->LogLines.clear();
    Answered.clear();
    const uint32_t slot = Phase == EPhase::Programming ? uint32_t(Next) * 2 + (again ? 1 : 0) : uint32_t(Next);
    Inner->PlaceProgress(slot * kBoardSVCount, kBoardSVCount);
    return RunInner(*Programmer, [this, board, step] {
        if (step == EStep::Program)
            Programmer->ProgramButtonClick(board);
        else
            Programmer->VerifyButtonClick(board);
    });
}

std::string TLayoutAudit::LastWords() const
{
    const auto& lines = Inner->LogLines;
    for (auto it = lines.rbegin(); it != lines.rend(); ++it)
        if (*it != kProgrammerIdle && *it != TBoardProgrammer::kNotVerified && !it->empty()) return *it;
    return "the programmer gave no reason";
}

void TLayoutAudit::EndStep()
{
    TRow& row = Rows[Queue[Next]];
    if (Step == EStep::Program) {
        const std::string board = BoardText(row.Type, row.Serial);
        const std::string last = LastWords();
        if (Inner->Logged(kProgrammed))
            Host.Log(board + " programmed");
        else
            Host.Log(board + " could not be programmed: " + last);
        if (!IsNoAnswer(last) || Inner->Logged(kProgrammed)) {
            // What the board holds now, whether all of it was written or not.
            Step = EStep::Verify;
            return;
        }
        row.Status = EStatus::NoAnswer;
        row.Details = {last};
        ++Next;
        return;
    }
    JudgeVerify(row);
    ++Next;
    Step = Phase == EPhase::Programming ? EStep::Program : EStep::Verify;
}

void TLayoutAudit::JudgeVerify(TRow& row)
{
    TConfigurableBoard& board = *Descriptions[size_t(row.Description)].Board;
    row.Count = 0;
    row.Details.clear();
    if (Programmer->IsVerified()) {
        row.OnBus = true;
        row.BusType.clear();
        row.Details = Programmer->GetVerifyReport();
        const std::vector<std::string> unheld = CheckHold(board, board.SWVersion).Lines();
        if (!unheld.empty()) {
            row.Status = EStatus::CannotBeHeld;
            row.Count = unheld.size();
        } else if (Programmer->VerifyMatched()) {
            row.Status = EStatus::Matches;
        } else {
            row.Status = EStatus::SVsDiffer;
            row.Count = Programmer->GetDifferences().size();
        }
        return;
    }
    const std::string last = LastWords();
    row.Details = {last};
    if (!Answered.empty()) {
        row.OnBus = true;
        row.Status = EStatus::TypeDiffers;
        row.BusType = Answered;
    } else if (IsNoAnswer(last)) {
        // A board that answered the discovery and then fell silent did not answer; one that never
        // answered is not on the bus.
        row.Status = row.OnBus ? EStatus::NoAnswer : EStatus::InFileNotOnBus;
    } else if (const std::vector<std::string> unheld = CheckHold(board, board.SWVersion).Lines(); !unheld.empty()) {
        row.OnBus = true;
        row.Status = EStatus::CannotBeHeld;
        row.Count = unheld.size();
        row.Details = unheld;
    } else {
        row.Status = EStatus::NotVerified;
    }
}

void TLayoutAudit::HandleSVMessage(const TLNSVProgMessage& message)
{
    // A board of another type at the serial number under way answers the identity check; the
    // programmer only says the type is wrong, the check names what answered.
    if ((Phase == EPhase::Checking || Phase == EPhase::Programming) && Next < Queue.size() &&
        message.SVKind() == eSVIDENTIFYREPLY) {
        const TRow& row = Rows[Queue[Next]];
        const TBusBoard answer{-1, message.GetWord(3), message.GetWord(0), message.GetWord(1)};
        if (answer.Serial == row.Serial &&
            !Descriptions[size_t(row.Description)].Board->IsBoardIdentity(answer.ManufacturerId, answer.ProductId,
                                                                          answer.Serial)) {
            TBusBoard typed = answer;
            for (int type = 0; type < kBoardTypeCount && typed.Type < 0; ++type)
                if (IsBoardTypeIdentity(type, typed.ManufacturerId, typed.ProductId)) typed.Type = type;
            Answered = TypeText(typed);
        }
    }
    TComposedConversation::HandleSVMessage(message);
}

// --- the end of a run -----------------------------------------------------------------------------

void TLayoutAudit::Finish(EEnd end)
{
    Phase = EPhase::Idle;
    End = end;
    Queue.clear();
    Next = 0;
    Step = EStep::Verify;
    Host.ShowStatus(Summary());
}

void TLayoutAudit::Cancel()
{
    if (Phase == EPhase::Idle) return;
    TComposedConversation::Stop();
    if (Phase == EPhase::Discovering) {
        // Without a finished discovery nothing is known of the bus: the descriptions, unchecked.
        End = EEnd::Cancelled;
        BuildRows();
    } else if (Next < Queue.size()) {
        // A board whose programming was cut off holds neither what it held nor its description.
        TRow& row = Rows[Queue[Next]];
        row.Status = EStatus::NotChecked;
        row.Count = 0;
        row.Details.clear();
    }
    Finish(EEnd::Cancelled);
}

void TLayoutAudit::LinkLost()
{
    if (Phase == EPhase::Idle) return;
    Cancel();
    End = EEnd::LinkLost;
}

// --- the table as text --------------------------------------------------------------------------

std::string TLayoutAudit::StatusText(const TRow& row)
{
    switch (row.Status) {
    case EStatus::NotChecked: return "not checked";
    case EStatus::Matches: return "matches";
    case EStatus::SVsDiffer: return std::to_string(row.Count) + " SVs differ";
    case EStatus::CannotBeHeld: return "description cannot be held (" + std::to_string(row.Count) + " values)";
    case EStatus::OnBusInNoFile: return "on the bus, in no file";
    case EStatus::InFileNotOnBus: return "in a file, not on the bus";
    case EStatus::TypeDiffers: return "type differs: bus has " + row.BusType;
    case EStatus::NoAnswer: return "no answer";
    case EStatus::NotVerified:
        return "could not be verified" + (row.Details.empty() ? std::string() : ": " + row.Details.back());
    }
    return {};
}

bool TLayoutAudit::AllMatch() const
{
    return std::all_of(Rows.begin(), Rows.end(), [](const TRow& r) { return r.Status == EStatus::Matches; });
}

std::string TLayoutAudit::Summary() const
{
    const size_t total = Rows.size();
    if (total == 0) return "No boards on the bus and none described";
    if (AllMatch()) return total == 1 ? "The 1 board matches its file" : "All " + std::to_string(total) + " boards match their files";
    struct TPart {
        EStatus Status;
        const char* One;
        const char* Many;
    };
    static const TPart parts[] = {
        {EStatus::Matches, "matches", "match"},
        {EStatus::SVsDiffer, "differs", "differ"},
        {EStatus::CannotBeHeld, "cannot hold its description", "cannot hold their description"},
        {EStatus::OnBusInNoFile, "in no file", "in no file"},
        {EStatus::InFileNotOnBus, "not on the bus", "not on the bus"},
        {EStatus::TypeDiffers, "of another type on the bus", "of another type on the bus"},
        {EStatus::NoAnswer, "did not answer", "did not answer"},
        {EStatus::NotVerified, "could not be verified", "could not be verified"},
        {EStatus::NotChecked, "not checked", "not checked"},
    };
    std::string text = std::to_string(total) + (total == 1 ? " board" : " boards");
    const char* separator = ": ";
    for (const TPart& part : parts) {
        const auto count =
            size_t(std::count_if(Rows.begin(), Rows.end(), [&part](const TRow& r) { return r.Status == part.Status; }));
        if (count == 0) continue;
        text += separator + std::to_string(count) + " " + (count == 1 ? part.One : part.Many);
        separator = ", ";
    }
    return text;
}

std::string TLayoutAudit::CsvText() const
{
    std::string text = "Serial,Type,Name,Status,File\n";
    for (const TRow& row : Rows)
        text += std::to_string(row.Serial) + "," + BoardTypeTag(row.Type) + "," + CsvField(row.Name) + "," +
                CsvField(StatusText(row)) + "," + CsvField(row.File) + "\n";
    return text;
}

bool TLayoutAudit::WriteCsv(const std::string& fileName, std::string& error) const
{
    const std::string text = CsvText();
    return WriteFileReplacing(fileName, [&text](std::ostream& out) { out << text; }, error);
}

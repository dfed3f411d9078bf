#pragma once
// Checking a whole layout: every board on the bus against the boards its board files describe.
// The check discovers the boards, matches each with the description of the same type and serial
// number, and verifies each matched board without writing anything (the programmer's Verify Board,
// by meaning, with what the board cannot hold). Afterwards it can program the boards that differ
// (never one whose description cannot be held, never one of another type) and verify them again.
//
// A lost reply must not hide a board, so the discovery is asked more than once, as the programmer
// retries its commands: kMinRounds rounds at least, and another after each round that found a
// board not found before, or while a described board is still missing, up to kMaxRounds.
//
// The check talks to the bus through its host like the conversations it drives: log lines tell
// its course, the progress runs over all boards to verify (or program).

#include "svprog/BoardDiscovery.h"
#include "svprog/BoardProgrammer.h"
#include "svprog/ComposedConversation.h"
#include "svprog/ConversationHost.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class TLayoutAudit : public TComposedConversation {
public:
    static constexpr int kMinRounds = 3;
    static constexpr int kMaxRounds = 6;

    enum class EStatus : uint8_t {
        NotChecked, // the check ended before this board
        Matches,
        SVsDiffer,
        CannotBeHeld,
        OnBusInNoFile,
        InFileNotOnBus,
        TypeDiffers,
        NoAnswer,
        NotVerified, // the board answered but could not be compared (Details say why)
    };
    enum class EPhase : uint8_t { Idle, Discovering, Checking, Programming };
    // How the last run ended.
    enum class EEnd : uint8_t { None, Finished, Cancelled, LinkLost };

    // One line of the table: a board on the bus, a description, or both.
    struct TRow {
        int Type = 0; // the description's type; the bus board's for a board in no file
        uint32_t Serial = 0;
        std::string Name; // the description's name; empty for a board in no file
        std::string File; // where the description comes from; empty for a board in no file
        int Description = -1; // index of the description; -1 for a board in no file
        bool OnBus = false; // a board with this serial number answered the discovery
        std::string BusType; // what the bus has at this serial number when it is of another type
        EStatus Status = EStatus::NotChecked;
        size_t Count = 0; // the SVs that differ, or the values that cannot be held
        // The verify's report, or why the board could not be checked.
        std::vector<std::string> Details;
    };

    explicit TLayoutAudit(TConversationHost& host);
    ~TLayoutAudit() override;
    TLayoutAudit(const TLayoutAudit&) = delete;
    TLayoutAudit& operator=(const TLayoutAudit&) = delete;

    // Adds a copy of `board` to the descriptions the bus is checked against; `file` names where it
    // comes from and `index` its place there. False, with the reason, for a board of no known type,
    // one that cannot be copied, or one whose type and serial number another description has
    // (which of the two would the board have to hold?). Only while idle.
    bool AddDescription(const TConfigurableBoard& board, const std::string& file, uint32_t index, std::string& error);
    // Forgets the descriptions, the boards found and the table. Only while idle.
    void Clear();
    // How long each discovery round waits for the next reply; kTimeoutMs unless told otherwise.
    void SetDiscoveryWaitMs(uint32_t ms) { Discovery->SetTimeoutMs(ms); }

    // Discovers the boards, builds the table and verifies every board found that a description
    // matches. Does nothing unless idle.
    void Start();
    // Programs each board whose SVs differ from its description and verifies it again. Does
    // nothing unless idle after a check that built the table.
    void ProgramDiffering();
    // Verifies the board of one row again, against `description` when given (the description as
    // it stands now) or the one the check took. False when the row has no description or the
    // check is busy.
    bool CheckAgain(size_t row, const TConfigurableBoard* description = nullptr);
    // Ends the run at once; the rows not yet checked stay "not checked".
    void Cancel();
    // The link has gone: the run ends at once, as with Cancel.
    void LinkLost() override;
    void Stop() override { Cancel(); }
    bool IsIdle() const override { return Phase == EPhase::Idle; }
    void HandleSVMessage(const TLNSVProgMessage& message) override;

    EPhase GetPhase() const { return Phase; }
    EEnd GetEnd() const { return End; }
    // The table, sorted by type and serial number; empty until the discovery has ended.
    const std::vector<TRow>& GetRows() const { return Rows; }
    // The description of a row; none for a board in no file.
    const TConfigurableBoard* GetDescription(const TRow& row) const;
    // The boards that programming would write: those whose SVs differ.
    size_t DifferingCount() const;
    // Whether every board on the bus and every description matches.
    bool AllMatch() const;

    // "matches", "3 SVs differ", "type differs: bus has KPX9", ...
    static std::string StatusText(const TRow& row);
    // "All 9 boards match their files", or "12 boards: 8 match, 1 differs, ...".
    std::string Summary() const;
    // The table as CSV: a heading line, then serial, type, name, status and file of each row.
    std::string CsvText() const;
    // Writes CsvText to `fileName`, replacing it only once it is complete. False with the reason.
    bool WriteCsv(const std::string& fileName, std::string& error) const;

private:
    struct TDescription {
        std::unique_ptr<TConfigurableBoard> Board;
        int Type = 0;
        std::string File;
        uint32_t Index = 0;
    };
    struct TBusBoard {
        int Type = -1; // -1: a product of no known type
        uint32_t ManufacturerId = 0;
        uint32_t ProductId = 0;
        uint32_t Serial = 0;
    };
    enum class EStep : uint8_t { Verify, Program };

    void InnerFinished() override;
    void StartRound();
    // Takes the boards of the round just ended; true when one was not found before.
    bool CollectRound();
    bool DescribedBoardMissing() const;
    void BuildRows();
    void LogFound() const;
    void StartChecks(EPhase phase);
    void RunNext();
    bool StartStep(size_t row, EStep step);
    void EndStep();
    void JudgeVerify(TRow& row);
    // The programmer's last words before it went idle.
    std::string LastWords() const;
    void Finish(EEnd end);
    static std::string TypeText(const TBusBoard& board);

    TConversationHost& Host;
    std::unique_ptr<TInnerConversationHost> Inner;
    std::unique_ptr<TBoardDiscovery> Discovery;
    std::unique_ptr<TBoardProgrammer> Programmer;
    std::vector<TDescription> Descriptions;
    std::vector<TBusBoard> Found;
    std::vector<TRow> Rows;
    EPhase Phase = EPhase::Idle;
    EEnd End = EEnd::None;
    int Round = 0;
    // The rows to work through, the one under way and its step.
    std::vector<size_t> Queue;
    size_t Next = 0;
    EStep Step = EStep::Verify;
    // The identity a board at the serial number under way gave (another type answers for it).
    std::string Answered;
};

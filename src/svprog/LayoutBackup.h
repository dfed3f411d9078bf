#pragma once
// Backing up a layout: finds every board on the bus with the discovery conversation, reads each
// one with the programmer's read conversation into a description of its type, and writes one
// board file per type found ("orb4.csv", "kpx9.csv", ...). A board that cannot be read is noted
// and the others go on.
//
// The backup talks to the bus through its host like the two conversations it drives: log lines
// tell its course, the progress runs over all boards to read.

#include "boards/BoardData.h"
#include "svprog/BoardDiscovery.h"
#include "svprog/BoardProgrammer.h"
#include "svprog/ConversationHost.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class TLayoutBackup {
public:
    enum EPhase : uint8_t { bpIdle, bpDiscovering, bpDiscovered, bpReading, bpDone };

    // A board that answered the discovery, of one of the five types.
    struct TFoundBoard {
        int Type = 0;
        uint32_t Serial = 0;
    };
    // A board that could not be read, and the programmer's words for why.
    struct TFailure {
        int Type = 0;
        uint32_t Serial = 0;
        std::string Reason;
    };
    // The outcome of writing one type's board file.
    struct TFileResult {
        int Type = 0;
        std::string Path;
        bool Written = false;
        std::string Error;
    };

    explicit TLayoutBackup(TConversationHost& host);
    ~TLayoutBackup();
    TLayoutBackup(const TLayoutBackup&) = delete;
    TLayoutBackup& operator=(const TLayoutBackup&) = delete;

    // Discovers the boards; the phase becomes bpDiscovered once the discovery wait (5 s unless
    // told otherwise) has passed without a reply.
    void Discover();
    void SetDiscoveryWaitMs(uint32_t ms) { Discovery->SetTimeoutMs(ms); }
    // Reads every board found, one after the other; the phase becomes bpDone after the last.
    void ReadBoards();

    // Events of the running conversation.
    void HandleSVMessage(const TLNSVProgMessage& message);
    void TimeoutTimerTimer();
    void MsgDelayTimerTimer();

    EPhase GetPhase() const { return Phase; }
    // The boards found, each once, by type and then serial number.
    const std::vector<TFoundBoard>& GetFoundBoards() const { return Found; }
    // The types among the boards found, in type order.
    std::vector<int> TypesFound() const;
    const std::vector<TFailure>& GetFailures() const { return Failures; }
    // For each board read whose backup would not program back to the SVs it holds, what the
    // backup logged about it: how many SVs would come back otherwise, and whether only in bytes
    // the board does not use or what would change.
    const std::vector<std::string>& GetRestoreNotes() const { return RestoreNotes; }
    // The boards read, by type in found order.
    const TBoardData& GetBoardData() const { return Boards; }
    uint32_t BoardsRead() const;

    // The file of a type's boards: the type tag in lower case, "orb4.csv".
    static std::string FileName(int type);
    // Makes `folder` when missing and checks that files can be written there, before the bus is
    // asked anything; removes the hidden temporary files of a backup killed while writing
    // (`removed` names them). False with the reason when the folder cannot be used.
    static bool PrepareFolder(const std::string& folder, std::vector<std::string>& removed, std::string& error);
    // The files of the types found that already exist in `folder`.
    std::vector<std::string> ExistingFiles(const std::string& folder) const;
    // Writes the file of each type with boards read into `folder` (made when missing); an
    // existing file is replaced only with `replace`, and never lost when a write fails.
    std::vector<TFileResult> WriteFiles(const std::string& folder, bool replace);

    // Passed on to the programmer: the 20 ms pause an MS100 needs between commands.
    bool UseMessageDelay = false;

private:
    class TInnerHost;

    void AfterEvent();
    void CollectFound();
    void ReadNext();
    void EndRead();
    // Compares what programming the backup of the board just read would write with what it holds.
    void NoteHowItRestores(const TFoundBoard& found);

    TConversationHost& Host;
    std::unique_ptr<TInnerHost> Inner;
    std::unique_ptr<TBoardDiscovery> Discovery;
    std::unique_ptr<TBoardProgrammer> Programmer;
    TBoardData Boards;
    EPhase Phase = bpIdle;
    std::vector<TFoundBoard> Found;
    std::vector<TFailure> Failures;
    std::vector<std::string> RestoreNotes;
    size_t Next = 0; // the found board being read
    TConfigurableBoard* Reading = nullptr;
};

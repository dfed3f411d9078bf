#pragma once
// The board programmer: writes a board's SV table into the board on the bus, checking every
// value the board reports back, or reads the table back into a description, or compares the
// board's SVs with its description without writing anything.

#include "boards/ConfigurableBoard.h"
#include "svprog/BusConversation.h"
#include "svprog/ConversationHost.h"
#include "svprog/SVProgMessage.h"

#include <cstdint>
#include <string>
#include <vector>

class TBoardProgrammer : public TBusConversation {
public:
    // psAskingUser: programming waits for the user's answer on values the board cannot hold.
    enum EProgState : uint8_t {
        psIdle,
        psCheckingIdentity,
        psCheckingVersion,
        psTransfer,
        psReconfiguring,
        psAskingUser
    };

    static constexpr uint32_t kMsgDelayMs = 20;
    static constexpr int32_t kRetries = 20;

    explicit TBoardProgrammer(TConversationHost& host) : Host(host) {}

    // Program / Read Board. The host passes the selected board (for reading, taken for change),
    // or null when no line is selected. Does nothing unless idle.
    void ProgramButtonClick(TConfigurableBoard* board) { Start(board, false); }
    void ReadBoardButtonClick(TConfigurableBoard* board) { Start(board, true); }
    // Verify Board: the same identity and version checks, then reads every SV that programming
    // would write and compares it with the SV calculated from the description. Never writes an
    // SV and never restarts the board. At the end logs the report (GetVerifyReport).
    void VerifyButtonClick(TConfigurableBoard* board);

    void HandleSVMessage(const TLNSVProgMessage& message) override;
    void TimeoutTimerTimer() override;
    void MsgDelayTimerTimer() override;

    // Write SV to file, once the host has asked for the file name. Null board: none selected.
    void WriteSVtoFile(TConfigurableBoard* board, uint32_t swVersion, const std::string& fileName);
    // The listing recalculates the board's SVs, which must not change under a running
    // conversation: while a board is being programmed or read, logs why and returns true.
    bool RefuseListingWhileBusy();

    // The "Log" check box: whether message texts and retry notes are logged too.
    bool LogEnabled = false;
    // Programming checks, once the firmware version is known, that the board can hold its
    // description (HoldCheck.h); when it cannot, it logs what it cannot hold and, unless this is
    // set, asks the host (AskProgramAnyway). A host that does not ask stops it there, before any
    // SV is written.
    bool ProgramAnyway = false;
    // The user's answer to the host's question: true programs the board as described, false ends
    // the conversation with nothing written. Ignored unless the question is open.
    void AnswerProgramAnyway(bool programAnyway);

    // Ends a conversation at once, before the board it works on goes away.
    void Stop() override;
    // The board of the conversation under way; none while idle.
    const TConfigurableBoard* GetBoard() const { return ProgState == psIdle ? nullptr : Board; }

    bool IsIdle() const override { return ProgState == psIdle; }
    EProgState GetState() const { return ProgState; }
    int32_t GetRetriesLeft() const { return RetriesLeft; }
    uint32_t GetCurrentSV() const { return CurrentSV; }
    bool IsReadMode() const { return ReadMode; }
    bool IsVerifyMode() const { return VerifyMode; }

    // An SV whose value on the board is not the one its description gives.
    struct TSVDifference {
        uint32_t SV = 0;
        uint8_t BoardValue = 0;
        uint8_t DescriptionValue = 0;
        bool operator==(const TSVDifference&) const = default;
    };
    // Whether the last verification read every SV (its differences are then complete).
    bool IsVerified() const { return Verified; }
    // The last line of a verify that could not compare the board (it did not answer, is of
    // another type, ...).
    static constexpr const char* kNotVerified = "Board could not be verified";
    // The differences found by the last verification, in SV order.
    const std::vector<TSVDifference>& GetDifferences() const { return Differences; }
    // Whether the board matched: its SVs are those of the description, or differ only in bytes
    // that the board does not use (decoded, both tables describe the same by meaning), and the
    // board can hold the description.
    bool VerifyMatched() const { return Matched; }
    // The report of the last verification: when the board matched, "Board matches its
    // description", and "N SVs differ only in bytes this board does not use" where some did;
    // otherwise one line per SV that differs and "N SVs differ", and the lines of what the board
    // cannot hold (HoldCheck.h) with their summary.
    const std::vector<std::string>& GetVerifyReport() const { return Report; }
    // "SV 40: board 0, description 12"
    static std::string DifferenceText(const TSVDifference& difference);
    // "Board matches its description", or "3 SVs differ".
    static std::string VerdictText(size_t differences);

private:
    void Start(TConfigurableBoard* board, bool readMode, bool verifyMode = false);
    // Reading: readMode or verifyMode.
    bool Reading() const { return ReadMode || VerifyMode; }
    void FinishVerify();
    // Whether the board's SVs, the description's with the differences found, describe the same.
    bool DifferencesMeanNothing() const;
    // After the version check: begins the transfer, or, when programming finds values the board
    // cannot hold, asks the host first or stops.
    void CheckHoldThenTransfer();
    void BeginTransfer();
    void Send(EProgState state);
    void NextStep(EProgState state);
    void GoIdle();
    void ShowStatus(const std::string& text);
    void LogIfEnabled(const std::string& line);
    void LogMessageIfEnabled(const TLocoNetMessage& message);
    // Takes one retry from the shared budget; false when none was left.
    bool TakeRetry();
    void HandleTransferReply(const TLNSVProgMessage& message, ESVMsgKind kind);

    TConversationHost& Host;
    EProgState ProgState = psIdle;
    EProgState NextState = psIdle;
    int32_t RetriesLeft = 0;
    bool ReadMode = false;
    bool VerifyMode = false;
    bool Verified = false;
    bool Matched = false;
    std::vector<TSVDifference> Differences;
    std::vector<std::string> Report;
    uint32_t Source = 0;
    uint32_t Destination = 0;
    TConfigurableBoard* Board = nullptr;
    uint32_t CurrentSV = 0;
    uint32_t BlockSize = 0;
    // How many values the board cannot hold, while the host asks about them.
    size_t UnheldValues = 0;
};

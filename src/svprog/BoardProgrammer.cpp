#include "svprog/BoardProgrammer.h"

#include "boards/HoldCheck.h"

#include <memory>

namespace {

// Logical fields of an SV access message (see TLNSVProgMessage::GetWord).
uint32_t DestinationOf(const TLNSVProgMessage& m)
{
    return m.GetWord(2);
}
uint32_t SVAddressOf(const TLNSVProgMessage& m)
{
    return m.GetWord(3);
}

} // namespace

void TBoardProgrammer::ShowStatus(const std::string& text)
{
    Host.ShowStatus(text);
    Host.Log(text);
}

void TBoardProgrammer::LogIfEnabled(const std::string& line)
{
    if (LogEnabled) Host.Log(line);
}

void TBoardProgrammer::LogMessageIfEnabled(const TLocoNetMessage& message)
{
    // The text is made only for the log.
    if (LogEnabled) Host.Log(message.Text());
}

void TBoardProgrammer::VerifyButtonClick(TConfigurableBoard* board)
{
    Start(board, false, true);
}

std::string TBoardProgrammer::DifferenceText(const TSVDifference& difference)
{
    return "SV " + std::to_string(difference.SV) + ": board " + std::to_string(difference.BoardValue) +
           ", description " + std::to_string(difference.DescriptionValue);
}

std::string TBoardProgrammer::VerdictText(size_t differences)
{
    return differences == 0 ? std::string("Board matches its description")
                            : std::to_string(differences) + " SVs differ";
}

void TBoardProgrammer::Start(TConfigurableBoard* board, bool readMode, bool verifyMode)
{
    if (ProgState != psIdle) return;
    if (board == nullptr) {
        Host.Log("No board selected in list box");
        return;
    }
    if (!board->IsSerialValid()) {
        Host.Log("Serial number must be between 1 & 65536");
        return;
    }
    Source = 0;
    ReadMode = readMode;
    VerifyMode = verifyMode;
    Verified = false;
    Matched = false;
    Differences.clear();
    Report.clear();
    Destination = board->SerialNumber;
    Board = board;
    RetriesLeft = kRetries;
    BlockSize = 0;
    CurrentSV = Board->NextSVBlock(0, BlockSize);
    Host.ClearLog();
    Host.SetProgressRange(0, Board->GetSVCount());
    Host.SetProgressPosition(0);
    Send(psCheckingIdentity);
}

void TBoardProgrammer::Send(EProgState state)
{
    ProgState = state;
    auto message = std::make_unique<TLNSVProgMessage>();
    switch (state) {
    case psCheckingIdentity:
        message->SetIdentify(Source, Destination);
        ShowStatus("Checking Destination board identity.....");
        break;
    case psCheckingVersion:
        message->SetRead4(Source, Destination, 1);
        ShowStatus("Checking Destination board s/w version.....");
        break;
    case psTransfer:
        if (Reading()) {
            if (BlockSize == 4)
                message->SetRead4(Source, Destination, CurrentSV);
            else
                message->SetRead1(Source, Destination, CurrentSV);
        } else if (BlockSize == 4) {
            message->SetWrite4(Source, Destination, CurrentSV, Board->GetSV(CurrentSV), Board->GetSV(CurrentSV + 1),
                               Board->GetSV(CurrentSV + 2), Board->GetSV(CurrentSV + 3));
        } else {
            message->SetWrite1(Source, Destination, CurrentSV, Board->GetSV(CurrentSV));
        }
        break;
    case psReconfiguring:
        message->SetReconfigure(Source, Destination);
        ShowStatus("Resetting Destination board.....");
        break;
    case psIdle:
    case psAskingUser: return;
    }
    LogMessageIfEnabled(*message);
    Host.SendMessage(std::move(message));
    Host.StartTimer(EConversationTimer::Timeout, kTimeoutMs);
    if (state == psTransfer) Host.SetProgressPosition(CurrentSV);
}

void TBoardProgrammer::NextStep(EProgState state)
{
    NextState = state;
    if (NeedsMessageDelay())
        Host.StartTimer(EConversationTimer::MsgDelay, kMsgDelayMs);
    else
        MsgDelayTimerTimer();
}

void TBoardProgrammer::MsgDelayTimerTimer()
{
    Host.StopTimer(EConversationTimer::MsgDelay);
    if (NextState >= psCheckingVersion) Send(NextState);
}

void TBoardProgrammer::GoIdle()
{
    const bool ended = ProgState != psIdle;
    ProgState = psIdle;
    RetriesLeft = 0;
    Host.StopTimer(EConversationTimer::Timeout);
    ShowStatus("Board programmer idle");
    // A verify that failed on the way ends with its verdict too, as one that finished does.
    if (ended && VerifyMode && !Verified) Host.Log(kNotVerified);
}

void TBoardProgrammer::Stop()
{
    Host.StopTimer(EConversationTimer::MsgDelay);
    NextState = psIdle;
    if (ProgState != psIdle) GoIdle();
    Board = nullptr;
}

bool TBoardProgrammer::TakeRetry()
{
    const int32_t taken = RetriesLeft;
    --RetriesLeft;
    return taken != 0;
}

void TBoardProgrammer::HandleSVMessage(const TLNSVProgMessage& message)
{
    const ESVMsgKind kind = message.SVKind();
    LogMessageIfEnabled(message);
    switch (ProgState) {
    case psIdle: return;
    case psCheckingIdentity:
        if (kind != eSVIDENTIFYREPLY) return;
        Host.StopTimer(EConversationTimer::Timeout);
        // Identify reply: manufacturer id in the SV address field, product id in D1/D2,
        // serial number in D3/D4.
        if (!Board->IsBoardIdentity(message.GetWord(3), message.GetWord(0), message.GetWord(1))) {
            Host.Log("ERROR: dest board is not correct type");
            GoIdle();
            return;
        }
        RetriesLeft = kRetries;
        NextStep(psCheckingVersion);
        return;
    case psCheckingVersion:
        if (kind != eSVREAD4REPLY || DestinationOf(message) != Destination || SVAddressOf(message) != 1) return;
        Host.StopTimer(EConversationTimer::Timeout);
        Board->SWVersion = message.GetDataByte(1);
        if (!Board->CalculateSVs()) {
            Host.Log(Board->GetSVErrorText());
            Host.Beep();
            GoIdle();
            return;
        }
        CheckHoldThenTransfer();
        return;
    case psTransfer: HandleTransferReply(message, kind); return;
    case psAskingUser: return;
    case psReconfiguring:
        if (kind != eSVRECONFIGUREREPLY || DestinationOf(message) != Destination) return;
        Host.StopTimer(EConversationTimer::Timeout);
        Host.Log("Programming Completed Successfully!");
        Host.SetProgressPosition(Board->GetSVCount());
        GoIdle();
        return;
    }
}

void TBoardProgrammer::HandleTransferReply(const TLNSVProgMessage& message, ESVMsgKind kind)
{
    const ESVMsgKind wanted = Reading() ? (BlockSize == 4 ? eSVREAD4REPLY : eSVREAD1REPLY)
                                        : (BlockSize == 4 ? eSVWRITE4REPLY : eSVWRITE1REPLY);
    if (kind != wanted || DestinationOf(message) != Destination || SVAddressOf(message) != CurrentSV) return;
    Host.StopTimer(EConversationTimer::Timeout);
    const uint32_t count = BlockSize == 4 ? 4 : 1;
    if (VerifyMode) {
        // The board's table keeps the values of the description; only differences are noted.
        for (uint32_t i = 0; i < count; ++i) {
            const uint8_t onBoard = message.GetDataByte(static_cast<int>(i));
            const uint8_t described = Board->GetSV(CurrentSV + i);
            if (onBoard != described) Differences.push_back({CurrentSV + i, onBoard, described});
        }
        CurrentSV = Board->NextSVBlock(CurrentSV, BlockSize);
        if (BlockSize == 0)
            FinishVerify();
        else
            NextStep(psTransfer);
        return;
    }
    if (ReadMode) {
        for (uint32_t i = 0; i < count; ++i) Board->SetSV(CurrentSV + i, message.GetDataByte(static_cast<int>(i)));
        CurrentSV = Board->NextSVBlock(CurrentSV, BlockSize);
        if (BlockSize == 0) {
            Board->DecodeSVs();
            // The last blocks of a board may be unused SVs that are never read: a finished read
            // shows its end all the same.
            Host.SetProgressPosition(Board->GetSVCount());
            GoIdle();
            Host.Log("Board data read completed successfully!");
        } else {
            NextStep(psTransfer);
        }
        return;
    }
    bool same = true;
    for (uint32_t i = 0; i < count; ++i) {
        if (message.GetDataByte(static_cast<int>(i)) != Board->GetSV(CurrentSV + i)) same = false;
    }
    if (same) {
        CurrentSV = Board->NextSVBlock(CurrentSV, BlockSize);
        NextStep(BlockSize == 0 ? psReconfiguring : psTransfer);
        return;
    }
    if (!TakeRetry()) {
        Host.Log("FAIL: readback data does not match.");
        GoIdle();
        return;
    }
    Host.Log("Retrying data write...");
    NextStep(psTransfer);
}

void TBoardProgrammer::CheckHoldThenTransfer()
{
    const std::vector<std::string> lines =
        Reading() || ProgramAnyway ? std::vector<std::string>() : CheckHold(*Board, Board->SWVersion).Lines();
    if (lines.empty()) {
        BeginTransfer();
        return;
    }
    for (const std::string& line : lines) Host.Log(line);
    UnheldValues = lines.size();
    // The board waits for its next command as long as it takes; nothing times out meanwhile.
    ProgState = psAskingUser;
    if (Host.AskProgramAnyway(lines)) return;
    Host.Log(HoldSummary(UnheldValues) + ": the board was not programmed");
    Host.Beep();
    GoIdle();
}

void TBoardProgrammer::AnswerProgramAnyway(bool programAnyway)
{
    if (ProgState != psAskingUser) return;
    if (!programAnyway) {
        Host.Log(HoldSummary(UnheldValues) + ": the board was not programmed");
        GoIdle();
        return;
    }
    Host.Log(HoldSummary(UnheldValues) + ": programming anyway");
    BeginTransfer();
}

void TBoardProgrammer::BeginTransfer()
{
    RetriesLeft = kRetries;
    ShowStatus("Beginning Read or write.....");
    NextStep(psTransfer);
}

bool TBoardProgrammer::DifferencesMeanNothing() const
{
    std::vector<uint8_t> onBoard = Board->GetSVTable();
    for (const TSVDifference& difference : Differences) onBoard[difference.SV - 1] = difference.BoardValue;
    const auto meaning = CompareSVsByMeaning(*Board, Board->GetSVTable(), onBoard);
    return meaning && meaning->empty();
}

void TBoardProgrammer::FinishVerify()
{
    Verified = true;
    Host.SetProgressPosition(Board->GetSVCount());
    GoIdle();
    const bool sameSVs = Differences.empty() || DifferencesMeanNothing();
    const std::vector<std::string> unheld = CheckHold(*Board, Board->SWVersion).Lines();
    Matched = sameSVs && unheld.empty();
    if (!sameSVs) {
        for (const TSVDifference& difference : Differences) Report.push_back(DifferenceText(difference));
        Report.push_back(VerdictText(Differences.size()));
    }
    Report.insert(Report.end(), unheld.begin(), unheld.end());
    if (!unheld.empty()) Report.push_back(HoldSummary(unheld.size()));
    if (Matched) Report.push_back(VerdictText(0));
    if (sameSVs && !Differences.empty())
        Report.push_back(std::to_string(Differences.size()) +
                         (Differences.size() == 1 ? " SV differs" : " SVs differ") +
                         " only in bytes this board does not use");
    for (const std::string& line : Report) Host.Log(line);
}

void TBoardProgrammer::TimeoutTimerTimer()
{
    Host.StopTimer(EConversationTimer::Timeout);
    const bool retry = TakeRetry();
    if (!retry || ProgState == psIdle) {
        switch (ProgState) {
        case psIdle: Host.Log("Timer event in Idle... BUG"); break;
        case psCheckingIdentity: Host.Log("Failure while checking board ID"); break;
        case psCheckingVersion: Host.Log("Failure while checking board s/w version"); break;
        case psTransfer: Host.Log("Failure while reading or writing"); break;
        case psReconfiguring: Host.Log("Failure while reconfiguring"); break;
        case psAskingUser: break;
        }
        GoIdle();
        return;
    }
    switch (ProgState) {
    case psCheckingIdentity: LogIfEnabled("Timeout while checking board ID.. retrying"); break;
    case psCheckingVersion: LogIfEnabled("Timeout while checking board s/w version.. retrying"); break;
    case psTransfer: LogIfEnabled("Timeout while reading or writing.. retrying"); break;
    case psReconfiguring: LogIfEnabled("Timeout while reconfiguring.. retrying"); break;
    case psIdle:
    case psAskingUser: break;
    }
    Send(ProgState);
}

bool TBoardProgrammer::RefuseListingWhileBusy()
{
    if (ProgState == psIdle) return false;
    Host.Log("Cannot write SV listing while a board is being programmed or read");
    return true;
}

void TBoardProgrammer::WriteSVtoFile(TConfigurableBoard* board, uint32_t swVersion, const std::string& fileName)
{
    if (RefuseListingWhileBusy()) return;
    Host.ClearLog();
    if (board == nullptr) {
        Host.Log("No board selected in list box above!");
        return;
    }
    ShowStatus("Calculating SVs.....");
    board->SWVersion = swVersion;
    if (!board->CalculateSVs()) {
        Host.Log(board->GetSVErrorText());
        Host.Beep();
        GoIdle();
        return;
    }
    std::string error;
    if (!board->WriteSVListingFile(fileName, error)) {
        // A listing that could not be written is never reported as written.
        Host.Log("Could not write SV listing to " + fileName + ": " + error);
        Host.Beep();
        return;
    }
    Host.Log("SVs calculated - written to file");
}

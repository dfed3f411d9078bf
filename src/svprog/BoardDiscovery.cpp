#include "svprog/BoardDiscovery.h"

#include "boards/BoardData.h"
#include "boards/BoardTypes.h"

TBoardDiscovery::TBoardDiscovery(TConversationHost& host, TProductList productList, TBoardData* boardData)
    : Host(host), ProductList(std::move(productList)), BoardData(boardData)
{
    FoundBoards.reserve(kMaxFoundBoards);
    ResetRenumber();
}

void TBoardDiscovery::Changed()
{
    if (OnChanged) OnChanged();
}

void TBoardDiscovery::SetButtons()
{
    const bool any = !FoundBoards.empty();
    Buttons = TButtons{true, any, any, any};
}

void TBoardDiscovery::DisableButtons()
{
    Buttons = TButtons{false, false, false, false};
}

void TBoardDiscovery::ResetRenumber()
{
    Host.ShowStatus("No Address change active");
    RenumberState = rsIdle;
    Host.StopTimer(EConversationTimer::Timeout);
    SetButtons();
    Changed();
}

void TBoardDiscovery::RedrawList()
{
    ListLines.clear();
    for (const auto& board : FoundBoards) ListLines.push_back(board->GetListLine());
}

void TBoardDiscovery::DiscoverButtonClick()
{
    ListLines.clear();
    RepliesCounted = 0;
    FoundBoards.clear();
    DisableButtons();
    ListLines.push_back("Discovering boards on LocoNet (this takes several seconds).....");
    Host.ShowStatus("Discovering.....");
    RenumberState = rsDiscovering;
    Host.StartTimer(EConversationTimer::Timeout, TimeoutMs);
    auto message = std::make_unique<TLNSVProgMessage>();
    message->SetDiscover(DiscoverSource);
    Host.SendMessage(std::move(message));
    Changed();
}

void TBoardDiscovery::SendIdentify()
{
    DisableButtons();
    Host.ShowStatus("Identifying target board...");
    Host.StartTimer(EConversationTimer::Timeout, TimeoutMs);
    Host.SendMessage(FoundBoards[static_cast<size_t>(SelectedIndex)]->MakeIdentify());
    Changed();
}

void TBoardDiscovery::IdentifyButtonClick(int selectedIndex)
{
    if (RenumberState != rsIdle) return;
    if (selectedIndex < 0 || static_cast<size_t>(selectedIndex) >= FoundBoards.size()) {
        Host.MessageBox("Select a board in the list first!", "Error:");
        return;
    }
    SelectedIndex = selectedIndex;
    RenumberState = rsIdentifying;
    SendIdentify();
}

void TBoardDiscovery::RenumberButtonClick(int selectedIndex, uint32_t newSerial)
{
    if (RenumberState != rsIdle) return;
    if (selectedIndex < 0 || static_cast<size_t>(selectedIndex) >= FoundBoards.size()) {
        Host.MessageBox("Select a board in the list first!", "Error:");
        return;
    }
    SelectedIndex = selectedIndex;
    NewSerial = newSerial;
    for (const auto& board : FoundBoards) {
        if (board->HasSerial(NewSerial)) {
            Host.MessageBox("New number duplicates a board on LocoNet! Choose a different value", "Error:");
            return;
        }
    }
    RenumberState = rsIdentifyBeforeChange;
    SendIdentify();
}

void TBoardDiscovery::HandleSVMessage(const TLNSVProgMessage& message)
{
    const ESVMsgKind kind = message.SVKind();
    switch (RenumberState) {
    case rsIdle: return;
    case rsDiscovering:
        if (kind != eSVDISCOVERREPLY) return;
        Host.StartTimer(EConversationTimer::Timeout, TimeoutMs);
        // Room for a thousand boards; later replies of the same discovery only keep it waiting.
        if (FoundBoards.size() >= kMaxFoundBoards) return;
        FoundBoards.push_back(std::make_unique<TRenumberableBoard>(message));
        FoundBoards.back()->LookUpProduct(ProductList);
        ++RepliesCounted;
        Changed();
        return;
    case rsIdentifying:
    case rsIdentifyBeforeChange: {
        const TRenumberableBoard& board = *FoundBoards[static_cast<size_t>(SelectedIndex)];
        if (!board.IsIdentifyReplyFor(message)) return;
        Host.StopTimer(EConversationTimer::Timeout);
        if (RenumberState == rsIdentifying) {
            ResetRenumber();
            Host.MessageBox("Identify successful!", "Identify:");
        } else {
            Host.StartTimer(EConversationTimer::MsgDelay, kMsgDelayMs);
        }
        return;
    }
    case rsChangingAddress: {
        TRenumberableBoard& board = *FoundBoards[static_cast<size_t>(SelectedIndex)];
        if (!board.IsChangeAddressReplyFor(message)) return;
        Host.StopTimer(EConversationTimer::Timeout);
        ResetRenumber();
        Host.MessageBox("Change Address successful. Relabel board now!", "change address:");
        RedrawList();
        Changed();
        return;
    }
    }
}

void TBoardDiscovery::MsgDelayTimerTimer()
{
    Host.StopTimer(EConversationTimer::MsgDelay);
    if (RenumberState != rsIdentifyBeforeChange) return;
    Host.ShowStatus("Changing address...");
    RenumberState = rsChangingAddress;
    Host.StartTimer(EConversationTimer::Timeout, TimeoutMs);
    Host.SendMessage(FoundBoards[static_cast<size_t>(SelectedIndex)]->MakeChangeAddress(NewSerial));
}

void TBoardDiscovery::TimeoutTimerTimer()
{
    Host.StopTimer(EConversationTimer::Timeout);
    switch (RenumberState) {
    case rsIdle: return;
    case rsDiscovering:
        RedrawList();
        ResetRenumber();
        SetButtons();
        Changed();
        Host.MessageBox("Discovery complete!", "Discover:");
        return;
    case rsIdentifying:
    case rsIdentifyBeforeChange: Host.MessageBox("Board did not response to Identify message", "Timout Error:"); break;
    case rsChangingAddress: Host.MessageBox("Board did not response to ChangeAddress message", "Timout Error:"); break;
    }
    SetButtons();
    ResetRenumber();
}

void TBoardDiscovery::CopyNewBoardsButtonClick()
{
    auto error = [this](const std::string& text) {
        if (OnErrorDialog)
            OnErrorDialog(text);
        else
            Host.MessageBox(text, "Error");
    };
    if (FoundBoards.empty()) {
        error("You need to discover some boards first");
        return;
    }
    if (BoardData == nullptr) {
        error("Config Board Pointer is undefined");
        return;
    }
    std::vector<std::string> copied;
    size_t described = 0;
    size_t unknown = 0;
    for (const auto& found : FoundBoards) {
        if (BoardData->FindBoardBySerial(found->SerialNumber) != nullptr) {
            ++described;
            continue;
        }
        bool known = false;
        for (int type = 0; type < kBoardTypeCount; ++type) {
            if (BoardTypeTag(type) != found->ProductName) continue;
            BoardData->AddBoard(type);
            TConfigurableBoard* added = BoardData->GetBoardForChange(type, BoardData->BoardCount(type) - 1);
            if (added != nullptr) added->SerialNumber = found->SerialNumber;
            copied.push_back(found->ProductName + " " + std::to_string(found->SerialNumber));
            known = true;
        }
        if (!known) ++unknown;
    }
    Host.MessageBox(CopyReport(copied, described, unknown), kCopyCaption);
}

std::string TBoardDiscovery::CopyReport(const std::vector<std::string>& copied, size_t described, size_t unknown)
{
    const auto boards = [](size_t n) { return std::to_string(n) + (n == 1 ? " board" : " boards"); };
    std::string text;
    if (copied.empty()) {
        text = "No board copied.";
    } else {
        text = "Copied " + boards(copied.size()) + " to Configure Boards:";
        for (size_t i = 0; i < copied.size(); ++i) text += (i == 0 ? " " : ", ") + copied[i];
        text += ".";
    }
    if (described > 0)
        text += " " + boards(described) + (described == 1 ? " was" : " were") + " in Configure Boards already.";
    if (unknown > 0)
        text += " " + boards(unknown) + " of a product Configure Boards does not know " +
                (unknown == 1 ? "was" : "were") + " left out.";
    return text;
}

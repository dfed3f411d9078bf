#pragma once
// Discovery of the boards on the bus, identification of one board and the change of a board's
// address (serial number). The window that hosts it shows the list, the count and the buttons
// from the data kept here.

#include "boards/ProductList.h"
#include "svprog/ConversationHost.h"
#include "svprog/RenumberableBoard.h"
#include "svprog/SVProgMessage.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class TBoardData;

class TBoardDiscovery {
public:
    enum ERenumberState : uint8_t { rsIdle, rsDiscovering, rsIdentifyBeforeChange, rsIdentifying, rsChangingAddress };

    static constexpr uint32_t kTimeoutMs = 5000;
    static constexpr uint32_t kMsgDelayMs = 50;
    static constexpr size_t kMaxFoundBoards = 1000;

    // Which buttons (and menu items) the window enables.
    struct TButtons {
        bool Discover = true;
        bool Identify = false;
        bool Renumber = false;
        bool CopyNew = false;
        bool operator==(const TButtons&) const = default;
    };

    TBoardDiscovery(TConversationHost& host, TProductList productList, TBoardData* boardData);

    // How long each command waits for a reply (a discovery: for the next reply); kTimeoutMs
    // unless told otherwise.
    void SetTimeoutMs(uint32_t ms) { TimeoutMs = ms; }
    uint32_t GetTimeoutMs() const { return TimeoutMs; }

    void DiscoverButtonClick();
    // selectedIndex: the selected list line, or -1 when none.
    void IdentifyButtonClick(int selectedIndex);
    void RenumberButtonClick(int selectedIndex, uint32_t newSerial);
    // Adds the found boards that no board of the lists has the serial number of, and says what it
    // copied, or why it copied nothing, in a message box.
    void CopyNewBoardsButtonClick();
    static constexpr const char* kCopyCaption = "Copy new to Configure";
    void HandleSVMessage(const TLNSVProgMessage& message);
    void TimeoutTimerTimer();
    void MsgDelayTimerTimer();

    ERenumberState GetState() const { return RenumberState; }
    const TButtons& GetButtons() const { return Buttons; }
    // The lines of the board list box (during a discovery, its one progress line).
    const std::vector<std::string>& GetListLines() const { return ListLines; }
    uint32_t GetRepliesCounted() const { return RepliesCounted; }
    size_t GetFoundCount() const { return FoundBoards.size(); }
    const TRenumberableBoard& GetFoundBoard(size_t i) const { return *FoundBoards[i]; }
    const TProductList& GetProductList() const { return ProductList; }

    // Called whenever the list, the count or the buttons change, so the window can refresh.
    std::function<void()> OnChanged;
    // The error dialogs of Copy new to Configure (text only, an OK button).
    std::function<void(const std::string& text)> OnErrorDialog;

private:
    // "Copied 2 boards to Configure Boards: QXP6 1002, KPX9 1004. 1 board was in Configure Boards
    // already. 1 board of a product Configure Boards does not know was left out."
    static std::string CopyReport(const std::vector<std::string>& copied, size_t described, size_t unknown);
    void ResetRenumber();
    void SetButtons();
    void DisableButtons();
    void RedrawList();
    void Changed();
    void SendIdentify();

    TConversationHost& Host;
    TProductList ProductList;
    TBoardData* BoardData;
    std::vector<std::unique_ptr<TRenumberableBoard>> FoundBoards;
    uint32_t RepliesCounted = 0;
    ERenumberState RenumberState = rsIdle;
    int SelectedIndex = -1;
    uint32_t NewSerial = 0;
    uint32_t DiscoverSource = 0;
    uint32_t TimeoutMs = kTimeoutMs;
    TButtons Buttons;
    std::vector<std::string> ListLines;
};

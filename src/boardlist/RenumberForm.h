#pragma once
// "Display & Change Board Serial Numbers": finds the boards on the bus, makes one identify itself,
// gives one a new serial number, and copies boards not yet described into the board lists.

#include "boardlist/ConversationForm.h"
#include "boards/ProductList.h"
#include "svprog/BoardDiscovery.h"

#include <memory>

class QAction;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class TBoardData;
class TSpinEdit;
class TTabStopHeadings;

using TRenumberLinks = TConversationLinks;

class TRenumberForm : public TConversationForm {
    Q_OBJECT
public:
    // boardData: the target of Copy new to Configure; may be null.
    TRenumberForm(TBoardData* boardData, TRenumberLinks links, QWidget* parent = nullptr,
                  TProductList productList = TProductList());
    ~TRenumberForm() override;

    void DiscoverButtonClick();
    void IdentifyButtonClick();
    void RenumberButtonClick();
    void CopyNewBoardsButtonClick();
    void HelpButtonClick();

    TBoardDiscovery& Discovery() { return *BoardDiscovery; }
    QStringList ListLines() const;

    TTabStopHeadings* Headings = nullptr; // the column headings over BoardList
    QListWidget* BoardList = nullptr;
    QLineEdit* BoardCountEdit = nullptr;
    TSpinEdit* SerialNumberEdit = nullptr;
    QPushButton* DiscoverButton = nullptr;
    QPushButton* IdentifyButton = nullptr;
    QPushButton* RenumberButton = nullptr;
    QPushButton* CopyNewBoardsButton = nullptr;
    QPushButton* CloseButton = nullptr;
    QPushButton* HelpButton = nullptr;
    QAction* DiscoverBoards2 = nullptr;
    QAction* RenumberBoards1 = nullptr;
    QAction* IdentifyBoard1 = nullptr;

private:
    void BuildControls();
    int SelectedIndex() const;
    // Shows the list, the count and the buttons as the discovery holds them.
    void ShowDiscovery();

    std::unique_ptr<TBoardDiscovery> BoardDiscovery;
};

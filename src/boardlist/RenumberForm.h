#pragma once
// "Display & Change Board Serial Numbers": finds the boards on the bus, makes one identify itself,
// gives one a new serial number, and copies boards not yet described into the board lists.

#include "boards/ProductList.h"
#include "link/MessageSender.h"
#include "svprog/BoardDiscovery.h"
#include "svprog/QtConversationHost.h"

#include <QWidget>

#include <functional>
#include <memory>

class QAction;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTimer;
class TBoardData;
class TSpinEdit;
class TTabStopHeadings;

struct TRenumberLinks {
    // Hands a message to the link, which takes it over.
    TMessageSender Send;
    // The main window's status line.
    std::function<void(const QString& text)> ShowStatus;
};

class TRenumberForm : public QWidget, public TQtConversationHost {
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
    void TimeoutTimerTimer();
    void MsgDelayTimerTimer();
    void HelpButtonClick();

    TBoardDiscovery& Discovery() { return *BoardDiscovery; }
    QStringList ListLines() const;

    QLabel* SerialHeading = nullptr;
    QLabel* ProductHeading = nullptr;
    QLabel* ManufacturerHeading = nullptr;
    QLabel* DescriptionHeading = nullptr;
    TTabStopHeadings* Headings = nullptr;
    QListWidget* BoardList = nullptr;
    QLineEdit* BoardCountEdit = nullptr;
    TSpinEdit* SerialNumberEdit = nullptr;
    QPushButton* DiscoverButton = nullptr;
    QPushButton* IdentifyButton = nullptr;
    QPushButton* RenumberButton = nullptr;
    QPushButton* CopyNewBoardsButton = nullptr;
    QPushButton* CloseButton = nullptr;
    QPushButton* HelpButton = nullptr;
    QTimer* TimeoutTimer = nullptr;
    QTimer* MsgDelayTimer = nullptr;
    QAction* DiscoverBoards2 = nullptr;
    QAction* RenumberBoards1 = nullptr;
    QAction* IdentifyBoard1 = nullptr;

signals:
    void FormClosed();

protected:
    void closeEvent(QCloseEvent* event) override;

    void ShowStatus(const std::string& text) override;
    void MessageBox(const std::string& text, const std::string& caption) override;

private:
    void BuildControls();
    int SelectedIndex() const;
    // Shows the list, the count and the buttons as the discovery holds them.
    void ShowDiscovery();

    TRenumberLinks Links;
    std::unique_ptr<TBoardDiscovery> BoardDiscovery;
    bool ClosedOnce = false;
};

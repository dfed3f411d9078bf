#include "boardlist/RenumberForm.h"

#include "boards/BoardData.h"
#include "widgets/DialogSeam.h"
#include "widgets/FormTools.h"
#include "widgets/HelpContexts.h"
#include "widgets/HelpViewer.h"
#include "widgets/KeyboardAccess.h"
#include "widgets/ListFill.h"
#include "widgets/SpinEdit.h"
#include "widgets/TabStopDelegate.h"

#include <QAction>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

TRenumberForm::TRenumberForm(TBoardData* boardData, TRenumberLinks links, QWidget* parent, TProductList productList)
    : TConversationForm(std::move(links), parent)
{
    setObjectName(QStringLiteral("RenumberForm"));
    setWindowTitle(QStringLiteral("Display & Change Board Serial Numbers"));
    SetHelpContext(this, hcDiscovery);
    BuildControls();
    SetUpKeyboardAccess(this);
    BoardDiscovery = std::make_unique<TBoardDiscovery>(*this, std::move(productList), boardData);
    HostConversation(*BoardDiscovery, TBoardDiscovery::kMsgDelayMs);
    BoardDiscovery->OnChanged = [this] { ShowDiscovery(); };
    BoardDiscovery->OnErrorDialog = [this](const std::string& text) {
        ShowMessageBox(this, QStringLiteral("Error"), QString::fromStdString(text), QMessageBox::Ok, true);
    };
    ShowDiscovery();
}

TRenumberForm::~TRenumberForm() = default;

void TRenumberForm::BuildControls()
{
    auto* layout = new QVBoxLayout(this);
    auto* menuBar = new QMenuBar(this);
    layout->setMenuBar(menuBar);
    QMenu* menu = menuBar->addMenu(QStringLiteral("&Board Numbering"));
    DiscoverBoards2 = menu->addAction(QStringLiteral("&Discover Boards"), this, &TRenumberForm::DiscoverButtonClick);
    RenumberBoards1 =
        menu->addAction(QStringLiteral("&Change Board Address"), this, &TRenumberForm::RenumberButtonClick);
    IdentifyBoard1 = menu->addAction(QStringLiteral("&Identify Board"), this, &TRenumberForm::IdentifyButtonClick);

    BoardList = new QListWidget(this);
    BoardList->setObjectName(QStringLiteral("BoardList"));
    BoardList->setSelectionMode(QAbstractItemView::SingleSelection);
    BoardList->setMinimumSize(520, 220);
    BoardList->setAccessibleName(QStringLiteral("Boards found"));
    Headings = new TTabStopHeadings(BoardList, 35,
                                    {QStringLiteral("Serial"), QStringLiteral("Product"),
                                     QStringLiteral("Manufacturer"), QStringLiteral("Description")},
                                    this);
    layout->addWidget(Headings);
    layout->addWidget(BoardList, 1);

    auto* grid = new QGridLayout;
    BoardCountEdit = new QLineEdit(QStringLiteral("0"), this);
    BoardCountEdit->setObjectName(QStringLiteral("BoardCountEdit"));
    BoardCountEdit->setReadOnly(true);
    AddLabelled(grid, QStringLiteral("no. boards found:"), BoardCountEdit, 0);
    SerialNumberEdit = new TSpinEdit(1, 65535, 1000, this);
    SerialNumberEdit->setObjectName(QStringLiteral("SerialNumberEdit"));
    AddLabelled(grid, QStringLiteral("New Serial Number:"), SerialNumberEdit, 1);

    DiscoverButton = new QPushButton(QStringLiteral("Discover Boards"), this);
    IdentifyButton = new QPushButton(QStringLiteral("Identify Board"), this);
    RenumberButton = new QPushButton(QStringLiteral("Renumber Selected Board"), this);
    CopyNewBoardsButton = new QPushButton(QStringLiteral("Copy new to Configure "), this);
    CopyNewBoardsButton->setToolTip(QStringLiteral("Copy newly discovered boards to the Configure Boards window"));
    CloseButton = new QPushButton(QStringLiteral("Close"), this);
    HelpButton = new QPushButton(QStringLiteral("Help"), this);
    grid->addWidget(DiscoverButton, 0, 2);
    grid->addWidget(IdentifyButton, 0, 3);
    grid->addWidget(RenumberButton, 1, 2);
    grid->addWidget(CopyNewBoardsButton, 1, 3);
    grid->addWidget(HelpButton, 2, 2);
    grid->addWidget(CloseButton, 2, 3);
    layout->addLayout(grid);
    connect(DiscoverButton, &QPushButton::clicked, this, &TRenumberForm::DiscoverButtonClick);
    connect(IdentifyButton, &QPushButton::clicked, this, &TRenumberForm::IdentifyButtonClick);
    connect(RenumberButton, &QPushButton::clicked, this, &TRenumberForm::RenumberButtonClick);
    connect(CopyNewBoardsButton, &QPushButton::clicked, this, &TRenumberForm::CopyNewBoardsButtonClick);
    connect(HelpButton, &QPushButton::clicked, this, &TRenumberForm::HelpButtonClick);
    connect(CloseButton, &QPushButton::clicked, this, [this] { CloseForm(this); });
}

int TRenumberForm::SelectedIndex() const
{
    return SelectedRow(*BoardList);
}

QStringList TRenumberForm::ListLines() const
{
    return ::ListLines(*BoardList);
}

void TRenumberForm::ShowDiscovery()
{
    if (!BoardDiscovery) return;
    QStringList lines;
    for (const std::string& line : BoardDiscovery->GetListLines()) lines << QString::fromStdString(line);
    if (lines != ListLines()) {
        BoardList->clear();
        BoardList->addItems(lines);
    }
    BoardCountEdit->setText(QString::number(BoardDiscovery->GetRepliesCounted()));
    const TBoardDiscovery::TButtons& buttons = BoardDiscovery->GetButtons();
    DiscoverButton->setEnabled(buttons.Discover);
    DiscoverBoards2->setEnabled(buttons.Discover);
    IdentifyButton->setEnabled(buttons.Identify);
    IdentifyBoard1->setEnabled(buttons.Identify);
    RenumberButton->setEnabled(buttons.Renumber);
    RenumberBoards1->setEnabled(buttons.Renumber);
    CopyNewBoardsButton->setEnabled(buttons.CopyNew);
}

// --- commands -------------------------------------------------------------------------------

void TRenumberForm::DiscoverButtonClick()
{
    BoardDiscovery->DiscoverButtonClick();
}

void TRenumberForm::IdentifyButtonClick()
{
    BoardDiscovery->IdentifyButtonClick(SelectedIndex());
}

void TRenumberForm::RenumberButtonClick()
{
    BoardDiscovery->RenumberButtonClick(SelectedIndex(), uint32_t(SerialNumberEdit->Value()));
}

void TRenumberForm::CopyNewBoardsButtonClick()
{
    BoardDiscovery->CopyNewBoardsButtonClick();
}

void TRenumberForm::HelpButtonClick()
{
    ShowHelpContext(hcDiscovery);
}

#include "boardlist/RenumberForm.h"

#include "boards/BoardData.h"
#include "widgets/TabStopDelegate.h"
#include "widgets/DialogSeam.h"
#include "widgets/FormTools.h"
#include "widgets/HelpViewer.h"
#include "widgets/KeyboardAccess.h"
#include "widgets/SpinEdit.h"

#include <QAction>
#include <QCloseEvent>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

TRenumberForm::TRenumberForm(TBoardData* boardData, TRenumberLinks links, QWidget* parent, TProductList productList)
    : QWidget(parent), TQtConversationHost(links.Send), Links(std::move(links))
{
    setObjectName(QStringLiteral("RenumberForm"));
    setWindowTitle(QStringLiteral("Display & Change Board Serial Numbers"));
    SetHelpContext(this, 9);
    BuildControls();
    SetUpKeyboardAccess(this);
    BoardDiscovery = std::make_unique<TBoardDiscovery>(*this, std::move(productList), boardData);
    BoardDiscovery->OnChanged = [this] { ShowDiscovery(); };
    BoardDiscovery->OnErrorDialog = [this](const std::string& text) {
        ShowMessageBox(this, QStringLiteral("Error"), QString::fromStdString(text), QMessageBox::Ok, true);
    };
    ShowDiscovery();
}

TRenumberForm::~TRenumberForm()
{
    TimeoutTimer->stop();
    MsgDelayTimer->stop();
}

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

    SerialHeading = new QLabel(QStringLiteral("Serial"), this);
    ProductHeading = new QLabel(QStringLiteral("Product"), this);
    ManufacturerHeading = new QLabel(QStringLiteral("Manufacturer"), this);
    DescriptionHeading = new QLabel(QStringLiteral("Description"), this);
    BoardList = new QListWidget(this);
    BoardList->setObjectName(QStringLiteral("BoardList"));
    BoardList->setSelectionMode(QAbstractItemView::SingleSelection);
    BoardList->setMinimumSize(520, 220);
    BoardList->setAccessibleName(QStringLiteral("Boards found"));
    auto* tabStops = new TTabStopDelegate(35, BoardList);
    BoardList->setItemDelegate(tabStops);
    Headings = new TTabStopHeadings(BoardList, tabStops,
                                    {SerialHeading, ProductHeading, ManufacturerHeading, DescriptionHeading}, this);
    layout->addWidget(Headings);
    layout->addWidget(BoardList, 1);

    auto* grid = new QGridLayout;
    BoardCountEdit = new QLineEdit(QStringLiteral("0"), this);
    BoardCountEdit->setObjectName(QStringLiteral("BoardCountEdit"));
    BoardCountEdit->setReadOnly(true);
    grid->addWidget(LabelFor(QStringLiteral("no. boards found:"), BoardCountEdit), 0, 0);
    grid->addWidget(BoardCountEdit, 0, 1);
    SerialNumberEdit = new TSpinEdit(1, 65535, 1000, this);
    SerialNumberEdit->setObjectName(QStringLiteral("SerialNumberEdit"));
    grid->addWidget(LabelFor(QStringLiteral("New Serial Number:"), SerialNumberEdit), 1, 0);
    grid->addWidget(SerialNumberEdit, 1, 1);

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

    // The conversation's timers are the host's.
    TimeoutTimer = Timer(EConversationTimer::Timeout);
    TimeoutTimer->setObjectName(QStringLiteral("TimeoutTimer"));
    TimeoutTimer->setInterval(int(TBoardDiscovery::kTimeoutMs));
    MsgDelayTimer = Timer(EConversationTimer::MsgDelay);
    MsgDelayTimer->setObjectName(QStringLiteral("MsgDelayTimer"));
    MsgDelayTimer->setInterval(int(TBoardDiscovery::kMsgDelayMs));
    OnTimer = [this](EConversationTimer timer) {
        if (timer == EConversationTimer::Timeout)
            TimeoutTimerTimer();
        else
            MsgDelayTimerTimer();
    };
}

int TRenumberForm::SelectedIndex() const
{
    const QList<QListWidgetItem*> selected = BoardList->selectedItems();
    return selected.isEmpty() ? -1 : BoardList->row(selected.constFirst());
}

QStringList TRenumberForm::ListLines() const
{
    QStringList lines;
    for (int i = 0; i < BoardList->count(); ++i) lines << BoardList->item(i)->text();
    return lines;
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

void TRenumberForm::closeEvent(QCloseEvent* event)
{
    QWidget::closeEvent(event);
    if (!event->isAccepted() || ClosedOnce) return;
    ClosedOnce = true;
    TimeoutTimer->stop();
    MsgDelayTimer->stop();
    if (Links.ShowStatus) Links.ShowStatus(QStringLiteral("(Inactive)"));
    emit FormClosed();
}

// --- the conversation's host ----------------------------------------------------------------

void TRenumberForm::ShowStatus(const std::string& text)
{
    if (Links.ShowStatus) Links.ShowStatus(QString::fromStdString(text));
}

void TRenumberForm::MessageBox(const std::string& text, const std::string& caption)
{
    ShowMessageBox(this, QString::fromStdString(caption), QString::fromStdString(text), QMessageBox::Ok);
}

// --- commands -------------------------------------------------------------------------------

void TRenumberForm::HandleSVMessage(const TLNSVProgMessage& message)
{
    BoardDiscovery->HandleSVMessage(message);
}

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

void TRenumberForm::TimeoutTimerTimer()
{
    BoardDiscovery->TimeoutTimerTimer();
}

void TRenumberForm::MsgDelayTimerTimer()
{
    BoardDiscovery->MsgDelayTimerTimer();
}

void TRenumberForm::HelpButtonClick()
{
    ShowHelpContext(9);
}

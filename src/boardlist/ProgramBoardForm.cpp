#include "boardlist/ProgramBoardForm.h"

#include "boardlist/DisplayBoardForm.h"
#include "boards/BoardData.h"
#include "boards/HoldCheck.h"
#include "editors/BoardEditors.h"
#include "widgets/DialogSeam.h"
#include "widgets/FormTools.h"
#include "widgets/HelpContexts.h"
#include "widgets/HelpViewer.h"
#include "widgets/KeyboardAccess.h"
#include "widgets/ListFill.h"
#include "widgets/SpinEdit.h"
#include "widgets/TabStopDelegate.h"

#include <QAction>
#include <QCheckBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QTabBar>
#include <QTimer>
#include <QVBoxLayout>

namespace {

QFileDialog* MakeCsvDialog(QWidget* parent, QFileDialog::AcceptMode mode)
{
    auto* dialog = new QFileDialog(parent, QString(), QString(), QStringLiteral("*.csv"));
    dialog->setDefaultSuffix(QStringLiteral("csv"));
    dialog->setAcceptMode(mode);
    if (mode == QFileDialog::AcceptOpen) dialog->setFileMode(QFileDialog::ExistingFile);
    return dialog;
}

QString Title(int type)
{
    return QString::fromStdString(TBoardData::GetTitle(type));
}

// The most lines of a report that a box or a tip shows; the log holds them all.
constexpr int kReportLines = 12;

} // namespace

TProgramBoardForm::TProgramBoardForm(TBoardData& boardData, TProgramBoardLinks links, QWidget* parent)
    : TConversationForm(links, parent), BoardData(boardData), Links(std::move(links))
{
    setObjectName(QStringLiteral("ProgramBoardForm"));
    setWindowTitle(QStringLiteral("Configure Boards"));
    SetHelpContext(this, hcConfigureBoards);
    BuildControls();
    SetUpKeyboardAccess(this);
    BoardProgrammer = std::make_unique<TBoardProgrammer>(*this);
    HostConversation(*BoardProgrammer, TBoardProgrammer::kMsgDelayMs);
    ShowConversationIn(DebugList, ProgressBar1);
    for (int type = 0; type < kBoardTypeCount; ++type) Editors[size_t(type)] = DefaultBoardEditor(type);
    if (!Links.OpenDialog) Links.OpenDialog = OwnOpenDialog = MakeCsvDialog(this, QFileDialog::AcceptOpen);
    if (!Links.SaveDialog) Links.SaveDialog = OwnSaveDialog = MakeCsvDialog(this, QFileDialog::AcceptSave);
    // The programmer starts idle.
    ShowStatus("Board programmer idle");
    Log("Board programmer idle");
    RefreshBoardList();
}

TProgramBoardForm::~TProgramBoardForm() = default;

void TProgramBoardForm::BuildControls()
{
    auto* layout = new QVBoxLayout(this);
    auto* menuBar = new QMenuBar(this);
    layout->setMenuBar(menuBar);
    BuildMenus(menuBar);

    BoardListBox = new QListWidget(this);
    BoardListBox->setObjectName(QStringLiteral("BoardListBox"));
    BoardListBox->setSelectionMode(QAbstractItemView::SingleSelection);
    BoardListBox->setMinimumSize(480, 220);
    BoardListBox->setAccessibleName(QStringLiteral("Boards"));
    Headings = new TTabStopHeadings(
        BoardListBox, 40,
        {QStringLiteral("serial no."), QStringLiteral("type"), QStringLiteral("board name / description")}, this);
    layout->addWidget(Headings);
    layout->addWidget(BoardListBox, 1);
    // The selected line is the one Edit Board opens.
    ConnectOpenLine(BoardListBox, this, [this](int) { EditBoard1Click(); });

    auto* tabRow = new QHBoxLayout;
    BoardTabControl = new QTabBar(this);
    BoardTabControl->setObjectName(QStringLiteral("BoardTabControl"));
    BoardTabControl->setShape(QTabBar::RoundedSouth);
    for (int type = 0; type < kBoardTypeCount; ++type)
        BoardTabControl->addTab(QString::fromStdString(TBoardData::GetTypeName(type)));
    BoardTabControl->setCurrentIndex(0);
    MessageEdit = new QLineEdit(this);
    MessageEdit->setObjectName(QStringLiteral("MessageEdit"));
    MessageEdit->setEnabled(false);
    MessageEdit->setAccessibleName(QStringLiteral("File name"));
    tabRow->addWidget(BoardTabControl);
    tabRow->addWidget(MessageEdit, 1);
    layout->addLayout(tabRow);
    connect(BoardTabControl, &QTabBar::currentChanged, this, [this] { RefreshBoardList(); });

    auto* grid = new QGridLayout;
    ProgramButton = new QPushButton(QStringLiteral("Program"), this);
    ReadBoardButton = new QPushButton(QStringLiteral("Read Board"), this);
    DebugCheck = new QCheckBox(QStringLiteral("Log"), this);
    DebugCheck->setObjectName(QStringLiteral("DebugCheck"));
    SWVersionSpin = new TSpinEdit(1, 255, 1, this);
    SWVersionSpin->setObjectName(QStringLiteral("SWVersionSpin"));
    HelpBtn = new QPushButton(QStringLiteral("Help"), this);
    CloseBtn = new QPushButton(QStringLiteral("Close"), this);
    grid->addWidget(ProgramButton, 0, 0);
    grid->addWidget(ReadBoardButton, 0, 1);
    grid->addWidget(DebugCheck, 0, 2);
    grid->addWidget(LabelFor(QStringLiteral("s/w version"), SWVersionSpin), 0, 3);
    grid->addWidget(SWVersionSpin, 0, 4);
    grid->addWidget(HelpBtn, 0, 5);
    grid->addWidget(CloseBtn, 0, 6);
    layout->addLayout(grid);
    connect(ProgramButton, &QPushButton::clicked, this, &TProgramBoardForm::ProgramButtonClick);
    connect(ReadBoardButton, &QPushButton::clicked, this, &TProgramBoardForm::ReadBoardButtonClick);
    connect(HelpBtn, &QPushButton::clicked, this, &TProgramBoardForm::HelpBtnClick);
    connect(CloseBtn, &QPushButton::clicked, this, [this] { CloseForm(this); });
    connect(DebugCheck, &QCheckBox::toggled, this, [this](bool on) { BoardProgrammer->LogEnabled = on; });

    DebugList = new QListWidget(this);
    DebugList->setObjectName(QStringLiteral("DebugList"));
    DebugList->setAccessibleName(QStringLiteral("Programmer log"));
    DebugList->setMinimumHeight(140);
    layout->addWidget(DebugList, 1);

    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(0);
    layout->addWidget(ProgressBar1);

    SaveSVDialog = new QFileDialog(this, QString(), QString(), QStringLiteral("*.txt"));
    SaveSVDialog->setObjectName(QStringLiteral("SaveSVDialog"));
    SaveSVDialog->setAcceptMode(QFileDialog::AcceptSave);
    SaveSVDialog->setDefaultSuffix(QStringLiteral("txt"));
}

void TProgramBoardForm::BuildMenus(QMenuBar* menuBar)
{
    QMenu* file = menuBar->addMenu(QStringLiteral("&File"));
    Open1 = AddMenuAction(file, "&Open...", this, &TProgramBoardForm::Open1Click, "Open1");
    Save1 = AddMenuAction(file, "&Save", this, &TProgramBoardForm::Save1Click, "Save1");
    SaveAs1 = AddMenuAction(file, "Save &As...", this, &TProgramBoardForm::SaveAs1Click, "SaveAs1");
    Close1 = AddMenuAction(file, "&Close", this, &TProgramBoardForm::Close1Click, "Close1");
    WriteSVtofile1 =
        AddMenuAction(file, "&Write SV to file...", this, &TProgramBoardForm::WriteSVtofile1Click, "WriteSVtofile1");
    Exit1 = AddMenuAction(file, "E&xit", this, &TProgramBoardForm::Exit1Click, "Exit1");
    QMenu* boards = menuBar->addMenu(QStringLiteral("&Boards"));
    Addnewboard1 = AddMenuAction(boards, "&Add new board", this, &TProgramBoardForm::Addnewboard1Click, "Addnewboard1");
    DeleteBoard1 = AddMenuAction(boards, "&Delete Board", this, &TProgramBoardForm::DeleteBoard1Click, "DeleteBoard1");
    InsertBoard1 = AddMenuAction(boards, "&Insert Board", this, &TProgramBoardForm::InsertBoard1Click, "InsertBoard1");
    EditBoard1 = AddMenuAction(boards, "&Edit Board", this, &TProgramBoardForm::EditBoard1Click, "EditBoard1");
    DisplayBoard1 =
        AddMenuAction(boards, "D&isplay Board", this, &TProgramBoardForm::DisplayBoard1Click, "DisplayBoard1");
    QMenu* programming = menuBar->addMenu(QStringLiteral("&Programming"));
    ProgramBoard1 =
        AddMenuAction(programming, "&Program Board", this, &TProgramBoardForm::ProgramButtonClick, "ProgramBoard1");
    ReadBoard1 =
        AddMenuAction(programming, "&Read Board", this, &TProgramBoardForm::ReadBoardButtonClick, "ReadBoard1");
    VerifyBoard1 =
        AddMenuAction(programming, "&Verify Board", this, &TProgramBoardForm::VerifyBoard1Click, "VerifyBoard1");
    programming->addSeparator();
    CheckLayout1 =
        AddMenuAction(programming, "Check &Layout", this, &TProgramBoardForm::CheckLayout1Click, "CheckLayout1");
}

int TProgramBoardForm::CurrentType() const
{
    return BoardTabControl->currentIndex();
}

int TProgramBoardForm::SelectedIndex() const
{
    return SelectedRow(*BoardListBox);
}

QStringList TProgramBoardForm::LogLines() const
{
    return ::ListLines(*DebugList);
}

QStringList TProgramBoardForm::ListLines() const
{
    return ::ListLines(*BoardListBox);
}

void TProgramBoardForm::RefreshBoardList()
{
    const int type = CurrentType();
    const int selected = SelectedIndex();
    BoardListBox->clear();
    const uint32_t count = BoardData.BoardCount(type);
    for (uint32_t i = 0; i < count; ++i) {
        const TConfigurableBoard* board = BoardData.GetBoard(type, i);
        auto* item = new QListWidgetItem(board ? QString::fromStdString(board->GetListLine()) : QString());
        // A board that cannot hold its description says so after its name, where the columns
        // end, and its tip says what it cannot hold.
        const std::vector<std::string> unheld =
            board ? CheckHold(*board, board->SWVersion).Lines() : std::vector<std::string>();
        if (!unheld.empty()) {
            item->setText(item->text() + QStringLiteral("   \u26A0 ") +
                          QString::fromStdString(HoldSummary(unheld.size())));
            item->setToolTip(QStringLiteral("The board cannot hold its description as it stands:\n") +
                             ReportText(unheld, kReportLines));
        }
        BoardListBox->addItem(item);
    }
    if (selected >= 0 && selected < BoardListBox->count()) BoardListBox->setCurrentRow(selected);
    MessageEdit->setText(BoardData.HasFileName(type)
                             ? QStringLiteral("File Name = ") + QString::fromStdString(BoardData.GetFileName(type))
                             : QStringLiteral("not saved to file"));
    // A long name shows from its start, "File Name =" in sight; the tip holds all of it.
    MessageEdit->setCursorPosition(0);
    MessageEdit->setToolTip(MessageEdit->text());
}

void TProgramBoardForm::ShowBoard(int type, uint32_t index)
{
    if (type < 0 || type >= kBoardTypeCount) return;
    BoardTabControl->setCurrentIndex(type);
    RefreshBoardList();
    if (index < uint32_t(BoardListBox->count())) BoardListBox->setCurrentRow(int(index));
}

void TProgramBoardForm::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    RefreshBoardList();
}

// --- the programmer -------------------------------------------------------------------------

void TProgramBoardForm::AfterEvent(bool ended)
{
    if (!ended) return;
    // A read rebuilds the board's description: show its new list line.
    RefreshBoardList();
    const TBoardProgrammer& programmer = *BoardProgrammer;
    if (programmer.IsVerifyMode() && programmer.IsVerified()) {
        ShowMessageBox(this, QStringLiteral("Verify Board"),
                       VerifiedBoard + QStringLiteral(":\n\n") + ReportText(programmer.GetVerifyReport(), kReportLines),
                       QMessageBox::Ok, !programmer.VerifyMatched());
    }
}

QString TProgramBoardForm::BoardLabel(const TConfigurableBoard& board)
{
    return QStringLiteral("Board %1 \"%2\"").arg(board.SerialNumber).arg(QString::fromStdString(board.Name));
}

bool TProgramBoardForm::AskProgramAnyway(const std::vector<std::string>& lines)
{
    const TConfigurableBoard* board = BoardProgrammer->GetBoard();
    if (!board) return false;
    const QString text = QStringLiteral("%1 cannot hold its description as it stands (firmware version %2):\n\n%3\n\n"
                                        "%4. Nothing has been written to the board yet.")
                             .arg(BoardLabel(*board))
                             .arg(board->SWVersion)
                             .arg(ReportText(lines, kReportLines), QString::fromStdString(HoldSummary(lines.size())));
    // The programmer asks while it takes a reply, as received messages are routed: the question
    // waits for the event loop, where reception goes on while it is open.
    QTimer::singleShot(0, this, [this, text] {
        const QPointer<TProgramBoardForm> self(this);
        const int answer = AskQuestion(this, QStringLiteral("Program Board"), text,
                                       {QStringLiteral("Program Anyway"), QStringLiteral("Cancel")}, 1);
        if (self) BoardProgrammer->AnswerProgramAnyway(answer == 0);
    });
    return true;
}

TConfigurableBoard* TProgramBoardForm::SelectedBoard()
{
    const int index = SelectedIndex();
    if (index < 0) return nullptr;
    // Programming, verifying and the SV listing only read the description; the type stays
    // unmodified.
    return const_cast<TConfigurableBoard*>(BoardData.GetBoard(CurrentType(), uint32_t(index)));
}

bool TProgramBoardForm::PrepareProgrammer()
{
    if (!ReadyToStart()) return false;
    BoardProgrammer->LogEnabled = DebugCheck->isChecked();
    return true;
}

void TProgramBoardForm::ProgramButtonClick()
{
    if (PrepareProgrammer()) BoardProgrammer->ProgramButtonClick(SelectedBoard());
}

void TProgramBoardForm::VerifyBoard1Click()
{
    if (!PrepareProgrammer()) return;
    TConfigurableBoard* board = SelectedBoard();
    if (board) VerifiedBoard = BoardLabel(*board);
    BoardProgrammer->VerifyButtonClick(board);
}

void TProgramBoardForm::CheckLayout1Click()
{
    if (Links.CheckLayout) Links.CheckLayout();
}

void TProgramBoardForm::ReadBoardButtonClick()
{
    if (!PrepareProgrammer()) return;
    const int index = SelectedIndex();
    TConfigurableBoard* board = index < 0 ? nullptr : BoardData.GetBoardForChange(CurrentType(), uint32_t(index));
    BoardProgrammer->ReadBoardButtonClick(board);
}

void TProgramBoardForm::WriteSVtofile1Click()
{
    if (BoardProgrammer->RefuseListingWhileBusy()) return;
    const QString fileName = RunFileDialog(this, *SaveSVDialog);
    if (fileName.isEmpty()) return;
    BoardProgrammer->WriteSVtoFile(SelectedBoard(), uint32_t(SWVersionSpin->Value()), fileName.toStdString());
}

// --- files ----------------------------------------------------------------------------------

void TProgramBoardForm::StopIfBoardGoes(int type, int position)
{
    const TConfigurableBoard* busy = BoardProgrammer->GetBoard();
    if (!busy) return;
    const uint32_t count = BoardData.BoardCount(type);
    for (uint32_t i = 0; i < count; ++i) {
        if (position >= 0 && i != uint32_t(position)) continue;
        if (BoardData.GetBoard(type, i) == busy) {
            BoardProgrammer->Stop();
            return;
        }
    }
}

void TProgramBoardForm::ReportSaveFailure(int type)
{
    const std::string& error = BoardData.GetLastError();
    // An empty list has nothing to save and is no failure.
    if (error.empty()) return;
    ShowMessageBox(this, Title(type), QString::fromStdString(error), QMessageBox::Ok, true);
}

void TProgramBoardForm::Open1Click()
{
    const int type = CurrentType();
    QFileDialog& dialog = *Links.OpenDialog;
    dialog.setWindowTitle(QStringLiteral("Open File for board type: ") + Title(type));
    const QString fileName = RunFileDialog(this, dialog);
    if (!fileName.isEmpty()) {
        Links.SaveDialog->selectFile(fileName);
        StopIfBoardGoes(type, -1);
        BoardData.ClearType(type);
        if (!BoardData.LoadFile(type, fileName.toStdString())) {
            // A file that cannot be loaded is not opened: a save would replace what it holds.
            const QString error = QString::fromStdString(BoardData.GetLastError());
            BoardData.CloseFile(type);
            ShowMessageBox(this, Title(type), error, QMessageBox::Ok, true);
        }
    }
    RefreshBoardList();
}

bool TProgramBoardForm::SaveType(int type)
{
    if (!BoardData.HasFileName(type)) return SaveTypeAs(type);
    const bool saved = BoardData.SaveFile(type);
    if (!saved) ReportSaveFailure(type);
    RefreshBoardList();
    return saved;
}

bool TProgramBoardForm::SaveTypeAs(int type)
{
    QFileDialog& dialog = *Links.SaveDialog;
    dialog.setWindowTitle(QStringLiteral("Save file for board type: ") + Title(type));
    dialog.selectFile(QString::fromStdString(BoardData.GetFileName(type)));
    const QString fileName = RunFileDialog(this, dialog);
    if (fileName.isEmpty()) return false;
    const bool saved = BoardData.SaveFileAs(type, fileName.toStdString());
    if (!saved) ReportSaveFailure(type);
    RefreshBoardList();
    return saved;
}

void TProgramBoardForm::Save1Click()
{
    SaveType(CurrentType());
}

void TProgramBoardForm::SaveAs1Click()
{
    SaveTypeAs(CurrentType());
}

void TProgramBoardForm::Close1Click()
{
    const int type = CurrentType();
    if (BoardData.IsModified(type)) {
        const int answer =
            ShowMessageBox(this, QStringLiteral("File close selected"), QStringLiteral("Do you want to save data?"),
                           QMessageBox::Yes | QMessageBox::No);
        if (answer == QMessageBox::Yes) {
            SaveType(type);
            // The boards are deleted only once they are safely saved; when the save failed or
            // was cancelled they stay for the user to try again.
            if (BoardData.IsModified(type)) return;
        }
    }
    StopIfBoardGoes(type, -1);
    BoardData.CloseFile(type);
    RefreshBoardList();
}

void TProgramBoardForm::Exit1Click()
{
    if (Links.Exit) Links.Exit();
}

// --- boards ---------------------------------------------------------------------------------

void TProgramBoardForm::Addnewboard1Click()
{
    BoardData.AddBoard(CurrentType());
    RefreshBoardList();
}

void TProgramBoardForm::DeleteBoard1Click()
{
    const int index = SelectedIndex();
    if (index < 0) return;
    StopIfBoardGoes(CurrentType(), index);
    BoardData.DeleteBoard(CurrentType(), uint32_t(index));
    RefreshBoardList();
}

void TProgramBoardForm::InsertBoard1Click()
{
    const int index = SelectedIndex();
    if (index < 0) return;
    BoardData.InsertBoard(CurrentType(), uint32_t(index));
    RefreshBoardList();
}

void TProgramBoardForm::SetBoardEditor(int type, TBoardEditor editor)
{
    if (type >= 0 && type < kBoardTypeCount) Editors[size_t(type)] = std::move(editor);
}

void TProgramBoardForm::EditBoard1Click()
{
    const int index = SelectedIndex();
    if (index < 0) return;
    const int type = CurrentType();
    const TBoardEditor& editor = Editors[size_t(type)];
    if (!editor) return;
    // The SV table must not change under a running conversation.
    if (BoardProgrammer->GetBoard() && BoardProgrammer->GetBoard() == BoardData.GetBoard(type, uint32_t(index))) {
        ShowMessageBox(this, QStringLiteral("Edit Board"),
                       QStringLiteral("This board is being programmed or read. Wait until the programmer has "
                                      "finished, then edit it."),
                       QMessageBox::Ok);
        return;
    }
    TConfigurableBoard* board = BoardData.GetBoardForChange(type, uint32_t(index));
    if (!board) return;
    QWidget* anchor = Links.EditorAnchor ? Links.EditorAnchor.data() : this;
    editor(anchor, *board);
    RefreshBoardList();
}

void TProgramBoardForm::DisplayBoard1Click()
{
    const int index = SelectedIndex();
    if (index < 0) return;
    auto* board = const_cast<TConfigurableBoard*>(BoardData.GetBoard(CurrentType(), uint32_t(index)));
    if (!board) return;
    auto* form = new TDisplayBoardForm;
    std::vector<std::string> lines;
    board->DisplayBoard(lines);
    form->AddLines(lines);
    if (Links.ShowChild) {
        Links.ShowChild(form);
    } else {
        // Independent of this window: it stays when the board list window closes.
        form->setParent(window(), Qt::Window);
        form->show();
    }
    PlaceBesideAnchor(form, this);
}

void TProgramBoardForm::HelpBtnClick()
{
    ShowHelpContext(hcConfigureBoards);
}

#include "boardlist/LayoutAuditForm.h"

#include "boards/BoardData.h"
#include "boards/BoardTypes.h"
#include "widgets/DialogSeam.h"
#include "widgets/FormTools.h"
#include "widgets/HelpContexts.h"
#include "widgets/HelpViewer.h"
#include "widgets/KeyboardAccess.h"
#include "widgets/ListFill.h"

#include <QApplication>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QStandardItemModel>
#include <QTableView>
#include <QVBoxLayout>

namespace {

const char* const kCaption = "Check Layout";
enum EColumn { colSerial, colType, colName, colStatus, colFile, colCount };

QString BoardText(int type, uint32_t serial)
{
    return QString::fromStdString(BoardTypeTag(type)) + QLatin1Char(' ') + QString::number(serial);
}

} // namespace

TLayoutAuditForm::TLayoutAuditForm(TBoardData& boardData, TLayoutAuditLinks links, QWidget* parent)
    : TConversationForm(links, parent), BoardData(boardData), Links(std::move(links))
{
    setObjectName(QStringLiteral("LayoutAuditForm"));
    setWindowTitle(QString::fromLatin1(kCaption));
    SetHelpContext(this, hcLayoutCheck);
    BuildControls();
    SetUpKeyboardAccess(this);
    LayoutAudit = std::make_unique<TLayoutAudit>(*this);
    HostConversation(*LayoutAudit, TBoardProgrammer::kMsgDelayMs);
    ShowConversationIn(LogList, ProgressBar);
    EnableButtons();
}

TLayoutAuditForm::~TLayoutAuditForm() = default;

void TLayoutAuditForm::BuildControls()
{
    auto* layout = new QVBoxLayout(this);

    Model = new QStandardItemModel(0, colCount, this);
    Model->setHorizontalHeaderLabels({QStringLiteral("Serial"), QStringLiteral("Type"), QStringLiteral("Name"),
                                      QStringLiteral("Status"), QStringLiteral("File")});
    Sorted = new QSortFilterProxyModel(this);
    Sorted->setSourceModel(Model);
    Sorted->setSortRole(Qt::UserRole);
    AuditTable = Named(new QTableView(this), "AuditTable");
    AuditTable->setModel(Sorted);
    AuditTable->setSortingEnabled(true);
    // Until the user sorts, the rows stay in the check's order: by type, then serial number.
    AuditTable->sortByColumn(-1, Qt::AscendingOrder);
    AuditTable->setSelectionBehavior(QAbstractItemView::SelectRows);
    AuditTable->setSelectionMode(QAbstractItemView::SingleSelection);
    AuditTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
    AuditTable->verticalHeader()->hide();
    AuditTable->verticalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    AuditTable->setWordWrap(false);
    // Tab leaves the table for the buttons; the arrow keys move within it.
    AuditTable->setTabKeyNavigation(false);
    // Each column as wide as what it shows; the file takes the rest.
    AuditTable->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    AuditTable->horizontalHeader()->setSectionResizeMode(colFile, QHeaderView::Stretch);
    AuditTable->setMinimumSize(760, 240);
    AuditTable->setAccessibleName(QStringLiteral("Boards of the layout"));
    layout->addWidget(AuditTable, 2);
    connect(AuditTable->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        ShowSelection();
        EnableButtons();
    });

    SummaryLabel = Named(new QLabel(this), "SummaryLabel");
    SummaryLabel->setWordWrap(true);
    layout->addWidget(SummaryLabel);

    auto* grid = new QGridLayout;
    CheckButton = new QPushButton(QStringLiteral("Check Layout"), this);
    CancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    ProgramDifferingButton = new QPushButton(QStringLiteral("Program Differing"), this);
    ProgramDifferingButton->setToolTip(
        QStringLiteral("Program every board whose SVs differ from its description, then verify it again"));
    ExportButton = new QPushButton(QStringLiteral("Export CSV..."), this);
    ProgramButton = new QPushButton(QStringLiteral("Program"), this);
    VerifyButton = new QPushButton(QStringLiteral("Verify"), this);
    EditButton = new QPushButton(QStringLiteral("Edit"), this);
    ReadBoardButton = new QPushButton(QStringLiteral("Read Board"), this);
    for (QPushButton* button : {ProgramButton, ReadBoardButton, EditButton})
        button->setToolTip(QStringLiteral("In the Configure Boards window, for the selected board"));
    VerifyButton->setToolTip(QStringLiteral("Verify the selected board again, against its description as it is now"));
    HelpButton = new QPushButton(QStringLiteral("Help"), this);
    CloseButton = new QPushButton(QStringLiteral("Close"), this);
    grid->addWidget(CheckButton, 0, 0);
    grid->addWidget(CancelButton, 0, 1);
    grid->addWidget(ProgramDifferingButton, 0, 2);
    grid->addWidget(ExportButton, 0, 3);
    grid->addWidget(ProgramButton, 1, 0);
    grid->addWidget(VerifyButton, 1, 1);
    grid->addWidget(EditButton, 1, 2);
    grid->addWidget(ReadBoardButton, 1, 3);
    layout->addLayout(grid);
    connect(CheckButton, &QPushButton::clicked, this, &TLayoutAuditForm::CheckButtonClick);
    connect(CancelButton, &QPushButton::clicked, this, &TLayoutAuditForm::CancelButtonClick);
    connect(ProgramDifferingButton, &QPushButton::clicked, this, &TLayoutAuditForm::ProgramDifferingButtonClick);
    connect(ExportButton, &QPushButton::clicked, this, &TLayoutAuditForm::ExportButtonClick);
    connect(ProgramButton, &QPushButton::clicked, this, &TLayoutAuditForm::ProgramButtonClick);
    connect(VerifyButton, &QPushButton::clicked, this, &TLayoutAuditForm::VerifyButtonClick);
    connect(EditButton, &QPushButton::clicked, this, &TLayoutAuditForm::EditButtonClick);
    connect(ReadBoardButton, &QPushButton::clicked, this, &TLayoutAuditForm::ReadBoardButtonClick);
    connect(HelpButton, &QPushButton::clicked, this, [] { ShowHelpContext(hcLayoutCheck); });
    connect(CloseButton, &QPushButton::clicked, this, [this] { CloseForm(this); });

    auto* lists = new QHBoxLayout;
    DetailsList = Named(new QListWidget(this), "DetailsList");
    DetailsList->setMinimumHeight(110);
    LogList = Named(new QListWidget(this), "LogList");
    auto* detailsColumn = new QVBoxLayout;
    detailsColumn->addWidget(LabelFor(QStringLiteral("Selected board:"), DetailsList));
    detailsColumn->addWidget(DetailsList);
    auto* logColumn = new QVBoxLayout;
    logColumn->addWidget(LabelFor(QStringLiteral("Log:"), LogList));
    logColumn->addWidget(LogList);
    lists->addLayout(detailsColumn, 1);
    lists->addLayout(logColumn, 1);
    layout->addLayout(lists, 1);

    auto* bottom = new QHBoxLayout;
    ProgressBar = Named(new QProgressBar(this), "ProgressBar");
    ProgressBar->setRange(0, 100);
    ProgressBar->setValue(0);
    bottom->addWidget(ProgressBar, 1);
    bottom->addWidget(HelpButton);
    bottom->addWidget(CloseButton);
    layout->addLayout(bottom);

    ExportDialog = Named(new QFileDialog(this, QStringLiteral("Export the table"), QString(), QStringLiteral("*.csv")),
                         "ExportDialog");
    ExportDialog->setAcceptMode(QFileDialog::AcceptSave);
    ExportDialog->setDefaultSuffix(QStringLiteral("csv"));
}

// --- the table ------------------------------------------------------------------------------

void TLayoutAuditForm::ShowRows()
{
    const auto& rows = LayoutAudit->GetRows();
    if (Model->rowCount() != int(rows.size())) Model->setRowCount(int(rows.size()));
    const auto set = [this](int row, int column, const QString& text, const QVariant& sortKey) {
        QStandardItem* item = Model->item(row, column);
        if (!item) {
            item = new QStandardItem;
            Model->setItem(row, column, item);
        }
        if (item->text() != text) item->setText(text);
        if (item->data(Qt::UserRole) != sortKey) item->setData(sortKey, Qt::UserRole);
    };
    for (size_t i = 0; i < rows.size(); ++i) {
        const TLayoutAudit::TRow& row = rows[i];
        const int r = int(i);
        // Ties sort by type and serial number, as the check orders the rows.
        const qulonglong place = qulonglong(row.Type) * 100000u + row.Serial;
        const QString status = QString::fromStdString(TLayoutAudit::StatusText(row));
        set(r, colSerial, QString::number(row.Serial), qulonglong(row.Serial) * 10u + qulonglong(row.Type));
        set(r, colType, QString::fromStdString(BoardTypeTag(row.Type)), place);
        set(r, colName, QString::fromStdString(row.Name), QString::fromStdString(row.Name).toLower());
        // By status, and the numbers in it as numbers: "25 SVs differ" before "178 SVs differ".
        set(r, colStatus, status, qulonglong(row.Status) * 1000000u + row.Count);
        set(r, colFile, QString::fromStdString(row.File), QString::fromStdString(row.File));
    }
    QString summary = rows.empty() ? QString() : QString::fromStdString(LayoutAudit->Summary());
    if (LayoutAudit->IsIdle() && LayoutAudit->GetEnd() == TLayoutAudit::EEnd::LinkLost)
        summary = QStringLiteral("The connection was lost; the check ended. ") + summary;
    else if (LayoutAudit->IsIdle() && LayoutAudit->GetEnd() == TLayoutAudit::EEnd::Cancelled)
        summary = QStringLiteral("Cancelled. ") + summary;
    SummaryLabel->setText(summary);
    ShowSelection();
}

QStringList TLayoutAuditForm::TableLines() const
{
    QStringList lines;
    for (int r = 0; r < Sorted->rowCount(); ++r) {
        QStringList cells;
        for (int c = 0; c < colCount; ++c) cells << Sorted->index(r, c).data().toString();
        lines << cells.join(QLatin1Char('\t'));
    }
    return lines;
}

QStringList TLayoutAuditForm::LogLines() const
{
    return ::ListLines(*LogList);
}

int TLayoutAuditForm::SelectedAuditRow() const
{
    const QModelIndexList selected = AuditTable->selectionModel()->selectedRows();
    if (selected.isEmpty()) return -1;
    return Sorted->mapToSource(selected.first()).row();
}

bool TLayoutAuditForm::SelectBoard(int type, uint32_t serial)
{
    const auto& rows = LayoutAudit->GetRows();
    for (size_t i = 0; i < rows.size(); ++i) {
        if (rows[i].Type != type || rows[i].Serial != serial) continue;
        AuditTable->selectRow(Sorted->mapFromSource(Model->index(int(i), 0)).row());
        return true;
    }
    return false;
}

void TLayoutAuditForm::ShowSelection()
{
    const int row = SelectedAuditRow();
    QStringList lines;
    if (row >= 0 && size_t(row) < LayoutAudit->GetRows().size())
        for (const std::string& line : LayoutAudit->GetRows()[size_t(row)].Details)
            lines << QString::fromStdString(line);
    if (lines != ::ListLines(*DetailsList)) {
        DetailsList->clear();
        DetailsList->addItems(lines);
    }
}

void TLayoutAuditForm::EnableButtons()
{
    const QWidget* focused = QApplication::focusWidget();
    const bool idle = LayoutAudit->IsIdle();
    const int row = SelectedAuditRow();
    const bool described = idle && row >= 0 && LayoutAudit->GetRows()[size_t(row)].Description >= 0;
    CheckButton->setEnabled(idle);
    CancelButton->setEnabled(!idle);
    ProgramDifferingButton->setEnabled(idle && LayoutAudit->DifferingCount() > 0);
    ExportButton->setEnabled(idle && !LayoutAudit->GetRows().empty());
    for (QPushButton* button : {ProgramButton, VerifyButton, EditButton, ReadBoardButton})
        button->setEnabled(described);
    // A keyboard user whose button went grey goes on from Cancel while the check runs, and from
    // the table once it has ended.
    if (!focused || !isAncestorOf(focused) || focused->isEnabled()) return;
    if (!idle) {
        CancelButton->setFocus();
        return;
    }
    AuditTable->setFocus();
    if (row < 0 && Sorted->rowCount() > 0) AuditTable->selectRow(0);
}

// --- the conversation's host ----------------------------------------------------------------

void TLayoutAuditForm::AfterEvent(bool ended)
{
    ShowRows();
    if (!ended) return;
    // The busy bar of a discovery stops; a check that went through shows it complete.
    if (ProgressBar->maximum() == 0) ProgressBar->setRange(0, 1);
    if (LayoutAudit->GetEnd() == TLayoutAudit::EEnd::Finished) ProgressBar->setValue(ProgressBar->maximum());
    EnableButtons();
}

// --- commands -------------------------------------------------------------------------------

void TLayoutAuditForm::CheckButtonClick()
{
    if (!ReadyToStart()) return;
    LayoutAudit->Clear();
    for (int type = 0; type < kBoardTypeCount; ++type) {
        const std::string file =
            BoardData.HasFileName(type) ? BoardData.GetFileName(type) : std::string("not saved to file");
        for (uint32_t i = 0; i < BoardData.BoardCount(type); ++i) {
            std::string error;
            if (LayoutAudit->AddDescription(*BoardData.GetBoard(type, i), file, i, error)) continue;
            LayoutAudit->Clear();
            ShowRows();
            ShowMessageBox(this, QString::fromLatin1(kCaption), QString::fromStdString(error), QMessageBox::Ok, true);
            return;
        }
    }
    LogList->clear();
    LayoutAudit->Start();
    ShowRows();
    EnableButtons();
}

void TLayoutAuditForm::CancelButtonClick()
{
    LayoutAudit->Cancel();
    AfterEvent(true);
}

void TLayoutAuditForm::ProgramDifferingButtonClick()
{
    if (!ReadyToStart()) return;
    LayoutAudit->ProgramDiffering();
    ShowRows();
    EnableButtons();
}

bool TLayoutAuditForm::FindInBoardList(int row, int& type, uint32_t& index)
{
    const TLayoutAudit::TRow& line = LayoutAudit->GetRows()[size_t(row)];
    type = line.Type;
    for (index = 0; index < BoardData.BoardCount(type); ++index)
        if (BoardData.GetBoard(type, index)->SerialNumber == line.Serial) return true;
    ShowMessageBox(this, QString::fromLatin1(kCaption),
                   BoardText(line.Type, line.Serial) + QStringLiteral(" is no longer in the board list"),
                   QMessageBox::Ok, true);
    return false;
}

void TLayoutAuditForm::VerifyButtonClick()
{
    const int row = SelectedAuditRow();
    int type = 0;
    uint32_t index = 0;
    if (row < 0 || !ReadyToStart() || !FindInBoardList(row, type, index)) return;
    LayoutAudit->CheckAgain(size_t(row), BoardData.GetBoard(type, index));
    ShowRows();
    EnableButtons();
}

void TLayoutAuditForm::RunInBoardList(EBoardListCommand command)
{
    const int row = SelectedAuditRow();
    int type = 0;
    uint32_t index = 0;
    if (row < 0 || !LayoutAudit->IsIdle() || !FindInBoardList(row, type, index)) return;
    if (Links.InBoardList) Links.InBoardList(type, index, command);
}

void TLayoutAuditForm::ProgramButtonClick()
{
    RunInBoardList(EBoardListCommand::Program);
}

void TLayoutAuditForm::EditButtonClick()
{
    RunInBoardList(EBoardListCommand::Edit);
}

void TLayoutAuditForm::ReadBoardButtonClick()
{
    RunInBoardList(EBoardListCommand::ReadBoard);
}

void TLayoutAuditForm::ExportButtonClick()
{
    if (LayoutAudit->GetRows().empty()) return;
    const QString fileName = RunFileDialog(this, *ExportDialog);
    if (fileName.isEmpty()) return;
    std::string error;
    if (!LayoutAudit->WriteCsv(fileName.toStdString(), error))
        ShowMessageBox(
            this, QString::fromLatin1(kCaption),
            QStringLiteral("The table could not be written to %1: %2").arg(fileName, QString::fromStdString(error)),
            QMessageBox::Ok, true);
}

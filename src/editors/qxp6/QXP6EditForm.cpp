#include "editors/qxp6/QXP6EditForm.h"

#include "editors/EditorText.h"
#include "editors/qxp6/QXP6InputCellEditForm.h"
#include "editors/qxp6/QXP6OutputCellEditForm.h"
#include "editors/qxp6/QXP6RouteEditForm.h"
#include "widgets/FormTools.h"
#include "widgets/HelpContexts.h"
#include "widgets/KeyboardAccess.h"
#include "widgets/ListFill.h"
#include "widgets/SpinEdit.h"
#include "widgets/TabStopDelegate.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QVBoxLayout>

namespace {
// The lists line their columns up at tab stops 20 dialog units apart.
constexpr int kListTabStops = 20;
} // namespace

TQXP6EditForm::TQXP6EditForm(QWidget* parent, TQXP6Board& board)
    : TEditorDialog(parent, hcQXP6Board), Board(board), Copy(std::make_unique<TQXP6Board>(board))
{
    setWindowTitle(QStringLiteral("Edit QXP6 Board Settings"));
    BuildControls();
    LoadControls();
    FillLists();
}

TQXP6EditForm::~TQXP6EditForm() = default;

void TQXP6EditForm::BuildControls()
{
    BoardNameEdit = NewTextEdit(this, QStringLiteral("BoardNameEdit"));
    BoardNameEdit->setMinimumWidth(260);
    SerialNumEdit = new TSpinEdit(1, 65536, 1, this);
    SerialNumEdit->setObjectName(QStringLiteral("SerialNumEdit"));
    NotesEdit = NewTextEdit(this, QStringLiteral("NotesEdit"));
    NotesEdit->setMinimumWidth(260);
    DCCBaseAddrEdit = new TSpinEdit(1, 2048, 1, this);
    DCCBaseAddrEdit->setObjectName(QStringLiteral("DCCBaseAddrEdit"));
    RouteAddrEdit = new TSpinEdit(1, 2048, 1, this);
    RouteAddrEdit->setObjectName(QStringLiteral("RouteAddrEdit"));
    SensBdEdit = new TSpinEdit(1, 255, 1, this); // the board keeps one byte
    SensBdEdit->setObjectName(QStringLiteral("SensBdEdit"));
    MemLocEdit = new TSpinEdit(1, 40, 1, this);
    MemLocEdit->setObjectName(QStringLiteral("MemLocEdit"));
    CDUDelayEdit = new TSpinEdit(0, 32, 0, this);
    CDUDelayEdit->setObjectName(QStringLiteral("CDUDelayEdit"));
    Addr16Check = new QCheckBox(QStringLiteral("Use 16 Addresses"), this);
    Addr16Check->setObjectName(QStringLiteral("Addr16Check"));
    LocoNetCheck = new QCheckBox(QStringLiteral("LocoNet commands"), this);
    LocoNetCheck->setObjectName(QStringLiteral("LocoNetCheck"));

    // The copy's cells and routes follow the base address at once, so the lists and the child
    // windows always show the addresses as they will be.
    connect(DCCBaseAddrEdit, &TSpinEdit::Changed, this, [this](int value) {
        if (Loading) return;
        Copy->SetBaseAddress(static_cast<uint32_t>(value));
        FillLists();
    });

    auto* settings = new QGridLayout;
    int row = 0;
    auto addRow = [&](const QString& label, QWidget* control, const QString& after = {}) {
        settings->addWidget(LabelFor(label, control), row, 0);
        if (qobject_cast<QLineEdit*>(control)) {
            settings->addWidget(control, row, 1, 1, 2);
        } else {
            // A spin keeps its own width, with its unit beside it.
            auto* spin = new QHBoxLayout;
            spin->addWidget(control);
            if (!after.isEmpty()) spin->addWidget(new QLabel(after, this));
            spin->addStretch(1);
            settings->addLayout(spin, row, 1, 1, 2);
        }
        ++row;
    };
    addRow(QStringLiteral("Board Name"), BoardNameEdit);
    addRow(QStringLiteral("Serial Number"), SerialNumEdit);
    addRow(QStringLiteral("User Description"), NotesEdit);
    addRow(QStringLiteral("DCC Base Address"), DCCBaseAddrEdit);
    addRow(QStringLiteral("DCC Address to activate routes"), RouteAddrEdit);
    addRow(QStringLiteral("Sensor Board Number"), SensBdEdit);
    addRow(QStringLiteral("State memory location"), MemLocEdit);
    addRow(QStringLiteral("CDU recharge Delay"), CDUDelayEdit, QStringLiteral("(0.1s units)"));
    settings->addWidget(Addr16Check, row++, 0, 1, 3);
    settings->addWidget(LocoNetCheck, row++, 0, 1, 3);
    settings->setRowStretch(row, 1);
    settings->setColumnStretch(1, 1);

    auto makeList = [this](const QString& heading, const char* name, int lines, QListWidget*& list,
                           void (TQXP6EditForm::*edit)(int)) {
        auto* group = new QGroupBox(heading, this);
        list = new QListWidget(group);
        list->setObjectName(QLatin1String(name));
        list->setItemDelegate(new TTabStopDelegate(kListTabStops, list));
        list->setMinimumWidth(560);
        list->addItems(QStringList(lines, QString()));
        SetShownLines(*list, lines);
        auto* box = new QVBoxLayout(group);
        box->addWidget(list);
        ConnectOpenLine(list, this, [this, edit](int line) { (this->*edit)(line); });
        return group;
    };
    auto* lists = new QVBoxLayout;
    lists->addWidget(makeList(QStringLiteral("Output Cell Definitions"), "OutputCellList", TQXP6Board::kOutputCellCount,
                              OutputCellList, &TQXP6EditForm::EditOutputCell));
    lists->addWidget(makeList(QStringLiteral("Input Cell Definitions"), "InputCellList", TQXP6Board::kInputCellCount,
                              InputCellList, &TQXP6EditForm::EditInputCell));
    lists->addWidget(makeList(QStringLiteral("Route Definitions"), "RouteList", TQXP6Board::kRouteCount, RouteList,
                              &TQXP6EditForm::EditRoute));

    auto* body = new QHBoxLayout;
    body->addLayout(settings);
    body->addSpacing(12);
    body->addLayout(lists, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(body, 1);
    layout->addLayout(ButtonRow());
}

void TQXP6EditForm::LoadControls()
{
    Loading = true;
    ShowModelText(*BoardNameEdit, Copy->Name);
    SerialNumEdit->SetValue(static_cast<int>(Copy->SerialNumber));
    ShowModelText(*NotesEdit, Copy->Notes);
    DCCBaseAddrEdit->SetValue(static_cast<int>(Copy->GetBaseAddress()));
    RouteAddrEdit->SetValue(static_cast<int>(Copy->RouteBaseAddress));
    SensBdEdit->SetValue(static_cast<int>(Copy->SensorBoardNumber));
    MemLocEdit->SetValue(static_cast<int>(Copy->StateMemoryLocation));
    CDUDelayEdit->SetValue(static_cast<int>(Copy->CduDelay));
    Addr16Check->setChecked(Copy->Use16Addresses);
    LocoNetCheck->setChecked(Copy->LocoNetCommands);
    Loading = false;
}

void TQXP6EditForm::FillLists()
{
    QStringList lines;
    for (int i = 0; i < TQXP6Board::kOutputCellCount; ++i) lines << ModelText(Copy->GetOutputCell(i)->GetListLine());
    SetListLines(*OutputCellList, lines);
    lines.clear();
    for (int i = 0; i < TQXP6Board::kInputCellCount; ++i) lines << ModelText(Copy->GetInputCell(i)->GetListLine());
    SetListLines(*InputCellList, lines);
    lines.clear();
    for (int i = 0; i < TQXP6Board::kRouteCount; ++i) lines << ModelText(Copy->GetRoute(i)->GetListLine());
    SetListLines(*RouteList, lines);
}

void TQXP6EditForm::EditOutputCell(int index)
{
    if (TQXP6Cell* cell = Copy->GetOutputCell(index)) {
        TQXP6OutputCellEditForm form(this, *cell);
        form.Execute();
        FillLists();
    }
}

void TQXP6EditForm::EditInputCell(int index)
{
    if (TQXP6InputCell* cell = Copy->GetInputCell(index)) {
        TQXP6InputCellEditForm form(this, *cell);
        form.Execute();
        FillLists();
    }
}

void TQXP6EditForm::EditRoute(int index)
{
    if (TQXP6Route* route = Copy->GetRoute(index)) {
        TQXP6RouteEditForm form(this, *route);
        form.Execute();
        FillLists();
    }
}

void TQXP6EditForm::WriteBack()
{
    WriteControls(*Copy);
    Board = *Copy;
}

std::unique_ptr<TConfigurableBoard> TQXP6EditForm::BoardAfterOK() const
{
    return WrittenCopy(*Copy, [this](TQXP6Board& copy) { WriteControls(copy); });
}

void TQXP6EditForm::WriteControls(TQXP6Board& target) const
{
    StoreModelText(*BoardNameEdit, target.Name);
    target.SerialNumber = static_cast<uint32_t>(SerialNumEdit->Value());
    StoreModelText(*NotesEdit, target.Notes);
    target.SetBaseAddress(static_cast<uint32_t>(DCCBaseAddrEdit->Value()));
    target.RouteBaseAddress = static_cast<uint32_t>(RouteAddrEdit->Value());
    target.SensorBoardNumber = static_cast<uint32_t>(SensBdEdit->Value());
    target.StateMemoryLocation = static_cast<uint32_t>(MemLocEdit->Value());
    target.CduDelay = static_cast<uint32_t>(CDUDelayEdit->Value());
    target.Use16Addresses = Addr16Check->isChecked();
    target.LocoNetCommands = LocoNetCheck->isChecked();
}

#include "editors/qxp6/QXP6RouteEditForm.h"

#include "editors/EditorFields.h"
#include "editors/qxp6/QXP6ConditionListBox.h"
#include "editors/qxp6/QXP6EditConditionsForm.h"
#include "widgets/IndexCombo.h"
#include "widgets/SpinEdit.h"

#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

TQXP6RouteEditForm::TQXP6RouteEditForm(QWidget* parent, TQXP6Route& route)
    : TEditorDialog(parent, kHelpContext), Route(route), Copy(route)
{
    setWindowTitle(QStringLiteral("Edit Route %1").arg(Copy.RouteNumber));
    BuildControls();
    FillList();
    TriggerGroup->ShowSet(Copy.TriggerConditions);
    SelectLine(0);
}

void TQXP6RouteEditForm::BuildControls()
{
    RouteListBox = new QListWidget(this);
    RouteListBox->setObjectName(QStringLiteral("RouteListBox"));
    RouteListBox->setMinimumWidth(280);
    connect(RouteListBox, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0) LoadEntry();
    });
    StateButton =
        new TIndexCombo({QStringLiteral("Undefined"), QStringLiteral("Closed"), QStringLiteral("Thrown")}, this);
    StateButton->setObjectName(QStringLiteral("StateButton"));
    PointNumberSpin = new TSpinEdit(1, 2048, 1, this);
    PointNumberSpin->setObjectName(QStringLiteral("PointNumberSpin"));
    connect(StateButton, &TIndexCombo::Changed, this, &TQXP6RouteEditForm::StateButtonClick);
    connect(PointNumberSpin, &TSpinEdit::Changed, this, [this] {
        if (!Loading) ApplyEntry();
    });

    auto* entry = new QGridLayout;
    entry->addWidget(new QLabel(QStringLiteral("State"), this), 0, 0);
    entry->addWidget(StateButton, 0, 1);
    entry->addWidget(new QLabel(QStringLiteral("Point"), this), 1, 0);
    entry->addWidget(PointNumberSpin, 1, 1);
    entry->setRowStretch(2, 1);

    TriggerGroup =
        new TQXP6ConditionListBox(QStringLiteral("Trigger route when"), "RouteCondListBox", "DefineConditions", this);
    RouteCondListBox = TriggerGroup->List;
    DefineConditions = TriggerGroup->DefineBtn;
    connect(DefineConditions, &QPushButton::clicked, this, &TQXP6RouteEditForm::DefineConditionsClick);

    auto* top = new QHBoxLayout;
    top->addWidget(RouteListBox, 1);
    top->addLayout(entry);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addWidget(TriggerGroup);
    layout->addLayout(ButtonRow());
}

int TQXP6RouteEditForm::SelectedLine() const
{
    return RouteListBox->currentRow();
}

void TQXP6RouteEditForm::SelectLine(int line)
{
    if (line < 0 || line >= TQXP6Route::kMaxEntries) return;
    if (RouteListBox->currentRow() == line)
        LoadEntry();
    else
        RouteListBox->setCurrentRow(line); // loads the entry
}

void TQXP6RouteEditForm::FillList()
{
    QStringList lines;
    for (int line = 1; line <= TQXP6Route::kMaxEntries; ++line)
        lines << QString::fromStdString(Copy.GetEditorLine(line));
    lines << QStringLiteral("%1 points in route;").arg(Copy.EntryCount);
    lines << (Copy.Fits() ? QStringLiteral("Route fits into SV space!") : QStringLiteral("!Route does not fit!"));
    FillListLines(RouteListBox, lines);
    // The count and fit lines only report; they hold no entry to edit.
    for (int row = TQXP6Route::kMaxEntries; row < RouteListBox->count(); ++row)
        RouteListBox->item(row)->setFlags(Qt::ItemIsEnabled);
    SetVisibleLines(RouteListBox, RouteListBox->count());
}

void TQXP6RouteEditForm::LoadEntry()
{
    const int line = SelectedLine();
    if (line < 0) return;
    Loading = true;
    const uint8_t state = Copy.GetEntryState(line);
    StateButton->SetValue(state);
    PointNumberSpin->SetValue(state == eQXP6Undef ? 1 : static_cast<int>(Copy.GetEntryAddress(line)));
    PointNumberSpin->setEnabled(state != eQXP6Undef);
    Loading = false;
}

void TQXP6RouteEditForm::StateButtonClick()
{
    if (Loading) return;
    const bool defined = StateButton->Value() != eQXP6Undef;
    if (!defined) {
        Loading = true;
        PointNumberSpin->SetValue(1);
        Loading = false;
    }
    PointNumberSpin->setEnabled(defined);
    ApplyEntry();
}

void TQXP6RouteEditForm::ApplyEntry()
{
    const int line = SelectedLine();
    if (line < 0 || line >= TQXP6Route::kMaxEntries) return;
    const auto state = static_cast<uint8_t>(StateButton->Value());
    const auto address = state != eQXP6Undef ? static_cast<uint32_t>(PointNumberSpin->Value()) : 1u;
    const uint32_t countBefore = Copy.EntryCount;
    const bool removed = Copy.SetEntry(line, address, state);
    FillList();
    if (removed)
        SelectLine(0);
    else if (state != eQXP6Undef && static_cast<uint32_t>(line) >= countBefore)
        SelectLine(static_cast<int>(Copy.EntryCount) - 1); // the new entry went after the last one
    else
        LoadEntry();
}

void TQXP6RouteEditForm::DefineConditionsClick()
{
    TQXP6EditConditionsForm form(this, Copy.TriggerConditions);
    form.Execute();
    TriggerGroup->ShowSet(Copy.TriggerConditions);
}

void TQXP6RouteEditForm::WriteBack()
{
    // A point number still being typed counts as entered.
    PointNumberSpin->interpretText();
    Route = Copy;
}

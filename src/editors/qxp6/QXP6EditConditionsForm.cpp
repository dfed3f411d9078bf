#include "editors/qxp6/QXP6EditConditionsForm.h"

#include "editors/qxp6/QXP6ConditionListBox.h"
#include "widgets/IndexCombo.h"
#include "widgets/SpinEdit.h"

#include <QAction>
#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QVBoxLayout>

namespace {
// The state items of each device type, by type 0 none .. 3 signal.
QStringList StateItems(int deviceType)
{
    switch (deviceType) {
    case eQXP6Point: return {QStringLiteral("Thrown"), QStringLiteral("Closed")};
    case eQXP6Sensor: return {QStringLiteral("Occupied"), QStringLiteral("Unoccupied")};
    case eQXP6Signal: return {QStringLiteral("Red"), QStringLiteral("Not Red")};
    default: return {QStringLiteral("none")};
    }
}
} // namespace

TQXP6EditConditionsForm::TQXP6EditConditionsForm(QWidget* parent, TQXP6ConditionSet& set)
    : TEditorDialog(parent, kHelpContext), Set(set), Copy(set)
{
    setWindowTitle(QStringLiteral("Edit Conditions: ") +
                   QString::fromStdString(TQXP6ConditionSet::KindName(Copy.Kind())));
    BuildControls();
    FillList();
    SelectPlace(0);
}

void TQXP6EditConditionsForm::BuildControls()
{
    ConditionList = new QListWidget(this);
    ConditionList->setObjectName(QStringLiteral("ConditionList"));
    ConditionList->setMinimumWidth(260);
    ConditionList->setContextMenuPolicy(Qt::ActionsContextMenu);
    InsertAction = new QAction(QStringLiteral("Insert"), ConditionList);
    DeleteAction = new QAction(QStringLiteral("Delete"), ConditionList);
    ConditionList->addAction(InsertAction);
    ConditionList->addAction(DeleteAction);
    connect(InsertAction, &QAction::triggered, this, &TQXP6EditConditionsForm::Insert1Click);
    connect(DeleteAction, &QAction::triggered, this, &TQXP6EditConditionsForm::Delete1Click);
    connect(ConditionList, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0) LoadControls();
    });

    DeviceTypeCombo = new TIndexCombo(
        {QStringLiteral("None"), QStringLiteral("Point"), QStringLiteral("Sensor"), QStringLiteral("Signal")}, this);
    DeviceTypeCombo->setObjectName(QStringLiteral("DeviceTypeCombo"));
    NumberSpin = new TSpinEdit(1, 2048, 1, this);
    NumberSpin->setObjectName(QStringLiteral("NumberSpin"));
    OffsetSpin = new TSpinEdit(1, 16, 1, this);
    OffsetSpin->setObjectName(QStringLiteral("OffsetSpin"));
    StateCombo = new TIndexCombo(StateItems(eQXP6None), this);
    StateCombo->setObjectName(QStringLiteral("StateCombo"));
    AndBox = new QCheckBox(QStringLiteral("AND next"), this);
    AndBox->setObjectName(QStringLiteral("AndBox"));

    connect(DeviceTypeCombo, &TIndexCombo::Changed, this, &TQXP6EditConditionsForm::DeviceTypeComboChange);
    connect(NumberSpin, &TSpinEdit::Changed, this, &TQXP6EditConditionsForm::ControlChange);
    connect(OffsetSpin, &TSpinEdit::Changed, this, &TQXP6EditConditionsForm::ControlChange);
    connect(StateCombo, &TIndexCombo::Changed, this, &TQXP6EditConditionsForm::ControlChange);
    connect(AndBox, &QCheckBox::toggled, this, &TQXP6EditConditionsForm::ControlChange);

    auto* controls = new QGridLayout;
    controls->addWidget(new QLabel(QStringLiteral("Device Type"), this), 0, 0);
    controls->addWidget(DeviceTypeCombo, 0, 1, 1, 3);
    controls->addWidget(new QLabel(QStringLiteral("Device Number"), this), 1, 0);
    controls->addWidget(NumberSpin, 1, 1);
    controls->addWidget(new QLabel(QStringLiteral(","), this), 1, 2);
    controls->addWidget(OffsetSpin, 1, 3);
    controls->addWidget(new QLabel(QStringLiteral("State"), this), 2, 0);
    controls->addWidget(StateCombo, 2, 1, 1, 3);
    controls->addWidget(AndBox, 3, 1, 1, 3);
    controls->setRowStretch(4, 1);

    auto* body = new QHBoxLayout;
    body->addWidget(ConditionList, 1);
    body->addLayout(controls);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(body, 1);
    layout->addLayout(ButtonRow());
}

int TQXP6EditConditionsForm::SelectedPlace() const
{
    return ConditionList->currentRow();
}

void TQXP6EditConditionsForm::SelectPlace(int place)
{
    if (place < 0 || place >= Copy.Count()) return;
    if (ConditionList->currentRow() == place)
        LoadControls();
    else
        ConditionList->setCurrentRow(place); // loads the controls
}

void TQXP6EditConditionsForm::FillList()
{
    TQXP6ConditionListBox::FillPlaces(ConditionList, Copy);
}

void TQXP6EditConditionsForm::LoadControls()
{
    const int place = SelectedPlace();
    if (place < 0) return;
    const TQXP6Condition& condition = Copy.ConditionAt(place);
    Loading = true;
    const int type = condition.DeviceType;
    const bool known = type == eQXP6Point || type == eQXP6Sensor || type == eQXP6Signal;
    DeviceTypeCombo->SetValue(type);
    NumberSpin->SetValue(known ? static_cast<int>(condition.Number) : 1);
    NumberSpin->setEnabled(known);
    OffsetSpin->SetValue(type == eQXP6Sensor ? static_cast<int>(condition.Offset) : 1);
    OffsetSpin->setEnabled(type == eQXP6Sensor);
    StateCombo->SetItems(StateItems(type));
    StateCombo->SetValue(known ? condition.State : 0);
    // An empty place has no state to choose, and no AND to chain.
    StateCombo->setEnabled(known);
    AndBox->setChecked(condition.AndNext);
    AndBox->setEnabled(known);
    Loading = false;
}

void TQXP6EditConditionsForm::DeviceTypeComboChange()
{
    const int place = SelectedPlace();
    if (Loading || place < 0) return;
    TQXP6Condition& condition = Copy.ConditionAt(place);
    switch (DeviceTypeCombo->Value()) {
    case eQXP6Point: condition.SetPoint(1, 0, false); break;
    case eQXP6Sensor: condition.SetSensor(1, 1, 0, false); break;
    case eQXP6Signal: condition.SetSignal(1, 0, false); break;
    default: condition.Clear(); break;
    }
    LoadControls();
    FillList();
}

void TQXP6EditConditionsForm::ControlChange()
{
    const int place = SelectedPlace();
    if (Loading || place < 0) return;
    TQXP6Condition& condition = Copy.ConditionAt(place);
    const auto number = static_cast<uint32_t>(NumberSpin->Value());
    const auto state = static_cast<uint8_t>(StateCombo->Value());
    const bool andNext = AndBox->isChecked();
    switch (condition.DeviceType) {
    case eQXP6Point: condition.SetPoint(number, state, andNext); break;
    case eQXP6Sensor: condition.SetSensor(number, static_cast<uint32_t>(OffsetSpin->Value()), state, andNext); break;
    case eQXP6Signal: condition.SetSignal(number, state, andNext); break;
    default: return; // an empty place has nothing to rebuild
    }
    FillList();
}

void TQXP6EditConditionsForm::Insert1Click()
{
    const int place = SelectedPlace();
    if (place < 0) return;
    Copy.InsertAt(place, TQXP6Condition{});
    FillList();
    LoadControls();
}

void TQXP6EditConditionsForm::Delete1Click()
{
    const int place = SelectedPlace();
    if (place < 0) return;
    Copy.DeleteAt(place);
    FillList();
    LoadControls();
}

void TQXP6EditConditionsForm::WriteBack()
{
    // A number still being typed counts as entered.
    NumberSpin->interpretText();
    OffsetSpin->interpretText();
    Set = Copy;
}

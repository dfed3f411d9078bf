#include "editors/ConditionsEditor.h"

#include "widgets/FormTools.h"
#include "widgets/IndexCombo.h"
#include "widgets/SpinEdit.h"
#include "widgets/ValueCheck.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QVBoxLayout>

#include <algorithm>
#include <utility>

namespace {

// Places shown without scrolling; longer sets scroll.
constexpr int kShownPlaces = 14;

} // namespace

TConditionsEditor::TConditionsEditor(QWidget* parent, int helpContext, const QString& caption,
                                     const QStringList& deviceTypes)
    : TEditorDialog(parent, helpContext)
{
    setWindowTitle(caption);

    ConditionList = new QListWidget(this);
    ConditionList->setObjectName(QStringLiteral("ConditionList"));
    ConditionList->setContextMenuPolicy(Qt::CustomContextMenu);
    ConditionList->setMinimumWidth(300);
    ConditionList->setAccessibleName(QStringLiteral("Conditions"));

    DeviceTypeCombo = new TIndexCombo(deviceTypes, this);
    DeviceTypeCombo->setObjectName(QStringLiteral("DeviceTypeCombo"));
    NumberSpin = new TSpinEdit(1, kMaxDeviceNumber, 1, this);
    NumberSpin->setObjectName(QStringLiteral("NumberSpin"));
    OffsetSpin = new TSpinEdit(1, 16, 1, this);
    OffsetSpin->setObjectName(QStringLiteral("OffsetSpin"));
    // Shown after a "," beside the device number: the input of a sensor board.
    OffsetSpin->setAccessibleName(QStringLiteral("Sensor input"));
    StateCombo = new TIndexCombo(this);
    StateCombo->setObjectName(QStringLiteral("StateCombo"));
    AndBox = new TValueCheck(QStringLiteral("AND next"), this);
    AndBox->setObjectName(QStringLiteral("AndBox"));

    ConditionMenu = new QMenu(this);
    ConditionMenu->setObjectName(QStringLiteral("ConditionMenu"));
    Insert1 = ConditionMenu->addAction(QStringLiteral("Insert"), this, &TConditionsEditor::InsertClick);
    Delete1 = ConditionMenu->addAction(QStringLiteral("Delete"), this, &TConditionsEditor::DeleteClick);

    auto* controls = new QGridLayout;
    AddLabelled(controls, QStringLiteral("Device Type"), DeviceTypeCombo, 0, 0, 3);
    AddLabelled(controls, QStringLiteral("Device Number"), NumberSpin, 1);
    controls->addWidget(new QLabel(QStringLiteral(","), this), 1, 2);
    controls->addWidget(OffsetSpin, 1, 3);
    AddLabelled(controls, QStringLiteral("State"), StateCombo, 2, 0, 3);
    controls->addWidget(AndBox, 3, 1, 1, 3);
    controls->setRowStretch(4, 1);

    auto* body = new QHBoxLayout;
    body->addWidget(ConditionList, 1);
    body->addLayout(controls);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(body, 1);
    layout->addLayout(ButtonRow());

    connect(ConditionList, &QListWidget::currentRowChanged, this, [this](int row) {
        if (!Loading && row >= 0) LoadPlace(row);
    });
    connect(ConditionList, &QWidget::customContextMenuRequested, this, [this](const QPoint& pos) {
        if (QListWidgetItem* item = ConditionList->itemAt(pos)) ConditionList->setCurrentItem(item);
        ConditionMenu->popup(ConditionList->viewport()->mapToGlobal(pos));
    });
    connect(DeviceTypeCombo, &TIndexCombo::Changed, this, &TConditionsEditor::DeviceTypeChanged);
    connect(StateCombo, &TIndexCombo::Changed, this, &TConditionsEditor::ControlsChanged);
    connect(NumberSpin, &TSpinEdit::Changed, this, &TConditionsEditor::ControlsChanged);
    connect(OffsetSpin, &TSpinEdit::Changed, this, &TConditionsEditor::ControlsChanged);
    connect(AndBox, &QCheckBox::toggled, this, &TConditionsEditor::ControlsChanged);
}

int TConditionsEditor::SelectedPlace() const
{
    return ConditionList->currentRow();
}

void TConditionsEditor::Start()
{
    RefreshList();
    const int rows = std::min(PlaceCount(), kShownPlaces);
    const int rowHeight = std::max(ConditionList->sizeHintForRow(0), fontMetrics().height());
    ConditionList->setMinimumHeight(rows * rowHeight + 2 * ConditionList->frameWidth() + 4);
    if (PlaceCount() > 0) {
        const bool wasLoading = std::exchange(Loading, true);
        ConditionList->setCurrentRow(0);
        Loading = wasLoading;
        LoadPlace(0);
    }
}

void TConditionsEditor::LoadPlace(int place)
{
    const TConditionFields fields = FieldsOf(place);
    Loading = true;
    DeviceTypeCombo->SetValue(fields.DeviceItem);
    NumberSpin->SetRange(1, fields.NumberMax);
    NumberSpin->SetValue(fields.Number);
    NumberSpin->setEnabled(fields.NumberUsed);
    OffsetSpin->SetValue(fields.Offset);
    OffsetSpin->setEnabled(fields.OffsetUsed);
    StateCombo->SetItems(fields.States);
    StateCombo->SetValue(fields.State);
    StateCombo->setEnabled(fields.States.size() > 1);
    AndBox->SetValue(fields.AndNext);
    // An empty place (the first device type, "None") has nothing to AND with.
    AndBox->setEnabled(fields.DeviceItem != 0);
    Loading = false;
    Loaded = true;
}

void TConditionsEditor::RefreshList()
{
    const bool wasLoading = std::exchange(Loading, true);
    const int count = PlaceCount();
    if (ConditionList->count() != count) {
        const int row = ConditionList->currentRow();
        ConditionList->clear();
        for (int place = 0; place < count; ++place) ConditionList->addItem(PlaceText(place));
        if (row >= 0) ConditionList->setCurrentRow(std::min(row, count - 1));
    } else {
        for (int place = 0; place < count; ++place) ConditionList->item(place)->setText(PlaceText(place));
    }
    Loading = wasLoading;
}

TConditionsEditor::TConditionFields TConditionsEditor::ControlFields() const
{
    TConditionFields fields;
    fields.DeviceItem = DeviceTypeCombo->Value();
    fields.Number = NumberSpin->Value();
    fields.Offset = OffsetSpin->Value();
    fields.State = StateCombo->Value();
    fields.AndNext = AndBox->Value();
    return fields;
}

void TConditionsEditor::DeviceTypeChanged()
{
    const int place = SelectedPlace();
    if (Loading || !Loaded || place < 0) return;
    Edited = true;
    MakeFresh(place, DeviceTypeCombo->Value());
    LoadPlace(place);
    RefreshList();
}

void TConditionsEditor::ControlsChanged()
{
    const int place = SelectedPlace();
    if (Loading || !Loaded || place < 0) return;
    Edited = true;
    Store(place, ControlFields());
    RefreshList();
}

void TConditionsEditor::InsertClick()
{
    const int place = SelectedPlace();
    if (place < 0) return;
    Edited = true;
    InsertEmpty(place);
    RefreshList();
    LoadPlace(place);
}

void TConditionsEditor::DeleteClick()
{
    const int place = SelectedPlace();
    if (place < 0) return;
    Edited = true;
    DeletePlace(place);
    RefreshList();
    LoadPlace(place);
}

void TConditionsEditor::WriteBack()
{
    // Every change is stored as it is made; once more on closing, for the one in hand.
    const int place = SelectedPlace();
    if (Edited && Loaded && place >= 0) Store(place, ControlFields());
    AssignBack();
}

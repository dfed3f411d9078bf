#include "editors/qxp6/QXP6EditConditionsForm.h"
#include "widgets/HelpContexts.h"

#include <QListWidget>

namespace {

// The device type items are the device types of the conditions: 0 none, 1 point, 2 sensor,
// 3 signal.
const QStringList& DeviceTypeItems()
{
    static const QStringList items{QStringLiteral("None"), QStringLiteral("Point"), QStringLiteral("Sensor"),
                                   QStringLiteral("Signal")};
    return items;
}

} // namespace

TQXP6EditConditionsForm::TQXP6EditConditionsForm(QWidget* parent, TQXP6ConditionSet& set)
    : TConditionSetEditor(parent, hcQXP6Conditions,
                          QStringLiteral("Edit Conditions: ") +
                              QString::fromStdString(TQXP6ConditionSet::KindName(set.Kind())),
                          DeviceTypeItems(), set)
{
    setObjectName(QStringLiteral("QXP6EditConditionsForm"));
    Start();
}

void TQXP6EditConditionsForm::SelectPlace(int place)
{
    ConditionList->setCurrentRow(place);
}

QString TQXP6EditConditionsForm::PlaceText(int place) const
{
    return QString::fromStdString(Copy.ConditionAt(place).Text());
}

TConditionsEditor::TConditionFields TQXP6EditConditionsForm::FieldsOf(int place) const
{
    const TQXP6Condition& condition = Copy.ConditionAt(place);
    TConditionFields fields;
    fields.DeviceItem = condition.DeviceType;
    fields.AndNext = condition.AndNext;
    switch (condition.DeviceType) {
    case eQXP6Point: fields.States = {QStringLiteral("Thrown"), QStringLiteral("Closed")}; break;
    case eQXP6Sensor:
        fields.States = {QStringLiteral("Occupied"), QStringLiteral("Unoccupied")};
        fields.NumberMax = kMaxSensorNumber;
        fields.Offset = int(condition.Offset);
        fields.OffsetUsed = true;
        break;
    case eQXP6Signal: fields.States = {QStringLiteral("Red"), QStringLiteral("Not Red")}; break;
    default: return fields; // an empty place (or a type without an item): nothing to edit
    }
    fields.Number = int(condition.Number);
    fields.NumberUsed = true;
    fields.State = condition.State;
    return fields;
}

void TQXP6EditConditionsForm::MakeFresh(int place, int deviceItem)
{
    TQXP6Condition& condition = Copy.ConditionAt(place);
    switch (deviceItem) {
    case eQXP6Point: condition.SetPoint(1, 0, false); break;
    case eQXP6Sensor: condition.SetSensor(1, 1, 0, false); break;
    case eQXP6Signal: condition.SetSignal(1, 0, false); break;
    default: condition.Clear(); break;
    }
}

void TQXP6EditConditionsForm::Store(int place, const TConditionFields& fields)
{
    TQXP6Condition& condition = Copy.ConditionAt(place);
    const auto number = uint32_t(fields.Number);
    const auto state = uint8_t(fields.State);
    const bool andNext = fields.AndNext != 0;
    switch (fields.DeviceItem) {
    case eQXP6Point: condition.SetPoint(number, state, andNext); break;
    case eQXP6Sensor: condition.SetSensor(number, uint32_t(fields.Offset), state, andNext); break;
    case eQXP6Signal: condition.SetSignal(number, state, andNext); break;
    default: break; // an empty place has nothing to store, and a type without an item stays
    }
}

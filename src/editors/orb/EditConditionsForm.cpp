#include "editors/orb/EditConditionsForm.h"
#include "widgets/HelpContexts.h"

namespace {

// Device type items: none, point, sensor, signal, then one item per reverse running zone.
enum EDeviceItem { ediNone = 0, ediPoint = 1, ediSensor = 2, ediSignal = 3, ediZoneA = 4 };

const QStringList& DeviceTypeItems()
{
    static const QStringList items{QStringLiteral("None"),   QStringLiteral("Point"),  QStringLiteral("Sensor"),
                                   QStringLiteral("Signal"), QStringLiteral("Zone A"), QStringLiteral("Zone B"),
                                   QStringLiteral("Zone C")};
    return items;
}

} // namespace

TEditConditionsForm::TEditConditionsForm(QWidget* parent, TConditionSet& set)
    : TConditionSetEditor(parent, hcORBConditions,
                          QStringLiteral("Edit Conditions: ") +
                              QString::fromLatin1(TConditionSet::KindName(set.GetKind())),
                          DeviceTypeItems(), set)
{
    setObjectName(QStringLiteral("EditConditionsForm"));
    Start();
}

QString TEditConditionsForm::PlaceText(int place) const
{
    return QString::fromStdString(Copy.ConditionAt(uint32_t(place)).Text());
}

TConditionsEditor::TConditionFields TEditConditionsForm::FieldsOf(int place) const
{
    const TCondition& condition = Copy.ConditionAt(uint32_t(place));
    TConditionFields fields;
    fields.AndNext = condition.AndNext;
    switch (condition.DeviceType) {
    case edtPoint:
        fields.DeviceItem = ediPoint;
        fields.Number = int(condition.Number);
        fields.NumberUsed = true;
        fields.States = {QStringLiteral("Thrown"), QStringLiteral("Closed")};
        fields.State = condition.State;
        break;
    case edtSensor:
        fields.DeviceItem = ediSensor;
        fields.Number = int(condition.Number);
        fields.NumberUsed = true;
        fields.NumberMax = kMaxSensorNumber;
        fields.Offset = int(condition.Offset);
        fields.OffsetUsed = true;
        fields.States = {QStringLiteral("Occupied"), QStringLiteral("Unoccupied")};
        fields.State = condition.State;
        break;
    case edtSignal:
        fields.DeviceItem = ediSignal;
        fields.Number = int(condition.Number);
        fields.NumberUsed = true;
        fields.States = {QStringLiteral("Red"), QStringLiteral("Not Red")};
        fields.State = condition.State;
        break;
    case edtZone:
        // States 0-1 are zone A, 2-3 zone B, 4-5 zone C; even states run west to east.
        fields.DeviceItem = ediZoneA + condition.State / 2;
        fields.States = {QStringLiteral("W-E"), QStringLiteral("E-W")};
        fields.State = condition.State % 2;
        break;
    default: break;
    }
    return fields;
}

void TEditConditionsForm::MakeFresh(int place, int deviceItem)
{
    TCondition& condition = Copy.ConditionAt(uint32_t(place));
    condition.Clear();
    switch (deviceItem) {
    case ediNone: break;
    case ediPoint: condition.SetPoint(1, 0, false); break;
    case ediSensor: condition.SetSensor(1, 1, 0, false); break;
    case ediSignal: condition.SetSignal(1, 0, false); break;
    default: condition.SetZone(uint8_t(2 * (deviceItem - ediZoneA)), false); break;
    }
}

void TEditConditionsForm::Store(int place, const TConditionFields& fields)
{
    TCondition& condition = Copy.ConditionAt(uint32_t(place));
    const uint8_t state = uint8_t(fields.State);
    switch (fields.DeviceItem) {
    case ediNone: condition.Clear(); break;
    case ediPoint:
        condition.Clear();
        condition.DeviceType = edtPoint;
        condition.Number = uint32_t(fields.Number);
        condition.State = state;
        break;
    case ediSensor:
        condition.DeviceType = edtSensor;
        condition.Number = uint32_t(fields.Number);
        condition.Offset = uint32_t(fields.Offset);
        condition.State = state;
        break;
    case ediSignal:
        condition.Clear();
        condition.DeviceType = edtSignal;
        condition.Number = uint32_t(fields.Number);
        condition.State = state;
        break;
    default:
        // A zone: the zone's pair of states, and west to east or east to west within it.
        condition.Clear();
        condition.DeviceType = edtZone;
        condition.State = uint8_t(2 * (fields.DeviceItem - ediZoneA) + fields.State);
        break;
    }
    condition.AndNext = uint8_t(fields.AndNext);
}

#pragma once
// "Edit Conditions": one condition set of a QXP6 output cell or route, place by place, with the
// device types None, Point, Sensor and Signal. The window edits a copy of the set and assigns it
// to the caller's set on OK.

#include "boards/qxp6/QXP6ConditionSet.h"
#include "editors/ConditionsEditor.h"

class TQXP6EditConditionsForm : public TConditionSetEditor<TQXP6ConditionSet, TQXP6Condition> {
    Q_OBJECT
public:
    TQXP6EditConditionsForm(QWidget* parent, TQXP6ConditionSet& set);

    // Selects a place and loads its condition into the controls.
    void SelectPlace(int place);

protected:
    QString PlaceText(int place) const override;
    TConditionFields FieldsOf(int place) const override;
    void MakeFresh(int place, int deviceItem) override;
    void Store(int place, const TConditionFields& fields) override;
};

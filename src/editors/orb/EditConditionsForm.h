#pragma once
// The conditions window of the signal controllers: edits one condition set of a signal or
// reverse running zone on a copy, and assigns the copy to the set when closed with OK.

#include "boards/orb/Condition.h"
#include "editors/ConditionsEditor.h"

class TEditConditionsForm : public TConditionSetEditor<TConditionSet, TCondition> {
    Q_OBJECT
public:
    TEditConditionsForm(QWidget* parent, TConditionSet& set);

protected:
    QString PlaceText(int place) const override;
    TConditionFields FieldsOf(int place) const override;
    void MakeFresh(int place, int deviceItem) override;
    void Store(int place, const TConditionFields& fields) override;
};

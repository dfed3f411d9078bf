#pragma once
// "Edit Conditions": one condition set of a QXP6 output cell or route, place by place. The window
// edits a copy of the set and assigns it to the caller's set on OK.

#include "boards/qxp6/QXP6ConditionSet.h"
#include "editors/EditorDialog.h"

class QAction;
class QCheckBox;
class QListWidget;
class TIndexCombo;
class TSpinEdit;

class TQXP6EditConditionsForm : public TEditorDialog {
    Q_OBJECT
public:
    static constexpr int kHelpContext = 440;

    TQXP6EditConditionsForm(QWidget* parent, TQXP6ConditionSet& set);

    // The working copy.
    const TQXP6ConditionSet& EditedSet() const { return Copy; }
    // The place being edited.
    int SelectedPlace() const;
    void SelectPlace(int place);

    QListWidget* ConditionList = nullptr;
    TIndexCombo* DeviceTypeCombo = nullptr;
    TSpinEdit* NumberSpin = nullptr;
    TSpinEdit* OffsetSpin = nullptr;
    TIndexCombo* StateCombo = nullptr;
    QCheckBox* AndBox = nullptr;
    QAction* InsertAction = nullptr; // "Insert" of the list's context menu
    QAction* DeleteAction = nullptr; // "Delete"

    void Insert1Click();
    void Delete1Click();

protected:
    void WriteBack() override;

private:
    void BuildControls();
    void FillList();
    void LoadControls();
    void DeviceTypeComboChange();
    void ControlChange();

    TQXP6ConditionSet& Set;
    TQXP6ConditionSet Copy;
    bool Loading = false;
};

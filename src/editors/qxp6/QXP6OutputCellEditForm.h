#pragma once
// "Edit Cell": one output cell of a QXP6 board - its type, message, timing, follow and lamp
// options and its three condition sets. The window edits a copy of the cell and assigns it to
// the board's cell on OK.

#include "boards/qxp6/QXP6Cell.h"
#include "editors/EditorDialog.h"

class QCheckBox;
class QLineEdit;
class QListWidget;
class QPushButton;
class TIndexCombo;
class TQXP6ConditionListBox;
class TSpinEdit;

class TQXP6OutputCellEditForm : public TWorkingCopyWindow<TQXP6Cell> {
    Q_OBJECT
public:
    TQXP6OutputCellEditForm(QWidget* parent, TQXP6Cell& cell);

    QLineEdit* DescriptionEdit = nullptr;
    TIndexCombo* CellTypeCombo = nullptr;
    TIndexCombo* MsgTypeCombo = nullptr;
    TIndexCombo* OnTimeCombo = nullptr;
    TIndexCombo* FlashRateCombo = nullptr;
    QCheckBox* FollowBox = nullptr;
    TSpinEdit* FollowSpin = nullptr;
    QCheckBox* BrightnessBox = nullptr;
    QCheckBox* InvertBox = nullptr;
    TSpinEdit* ConditionTimeSpin = nullptr;
    TSpinEdit* AdditionalDelaySpin = nullptr;
    TQXP6ConditionListBox* ThrownGroup = nullptr; // headed by the type's thrown heading
    TQXP6ConditionListBox* ClosedGroup = nullptr; // headed by the type's closed heading
    TQXP6ConditionListBox* DontGroup = nullptr;
    QListWidget* ThrownCondListBox = nullptr;
    QListWidget* ClosedCondListBox = nullptr;
    QListWidget* DontCondListBox = nullptr;
    QPushButton* DefineThrown = nullptr;
    QPushButton* DefineClosed = nullptr;
    QPushButton* DefineDont = nullptr;

    void DefineThrownClick();
    void DefineClosedClick();
    void DefineDontClick();

protected:
    void WriteControls() override;

private:
    void BuildControls();
    void LoadControls();
    void UpdateForType();
    void FillConditionLists();
    void DefineConditions(TQXP6ConditionSet& set);
};

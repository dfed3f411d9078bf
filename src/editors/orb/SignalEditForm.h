#pragma once
// The signal window: edits one signal of an ORB4 or ORB8 board in place - its name, head, type,
// junction point, zones, next signals and, through the conditions window, its condition sets.
//
// A change of type applies at once (the signal's sets are rebuilt for the new type, keeping what
// fits). Cancel puts the signal back as it was when the window opened, type and condition sets
// included, except for the sets the user changed in the conditions window: those keep what was
// confirmed there (fitted to the set of the restored type), followed by the conditions that only
// the change of type had hidden from the conditions window.

#include "boards/orb/Signal.h"
#include "editors/EditorDialog.h"

#include <array>

class QLabel;
class QLineEdit;
class TConditionListBox;
class TIndexCombo;
class TSpinEdit;

class TSignalEditForm : public TEditorDialog {
    Q_OBJECT
public:
    // The signal's condition sets, in the order of the window's lists.
    enum ESignalSet { essBlkClosed, essRedClosed, essBlkThrown, essRedThrown, essIsol, essAux, essCount };

    TSignalEditForm(QWidget* parent, TSignal& signal);

    QLineEdit* NameEdit = nullptr;
    QLineEdit* DescriptionEdit = nullptr;
    TIndexCombo* HeadTypeCombo = nullptr;
    TSpinEdit* PointSpin = nullptr;
    TSpinEdit* TZoneSpin = nullptr; // transponding zone number
    TIndexCombo* RevZoneCombo = nullptr;
    TIndexCombo* SigTypeCombo = nullptr;

    QWidget* ClosedPanel = nullptr;
    QLabel* ClosedLabel = nullptr;
    TSpinEdit* NxtSigClosedSpin = nullptr;
    TIndexCombo* NxtSigClosedCombo = nullptr;
    QWidget* ThrownPanel = nullptr;
    QLabel* ThrownLabel = nullptr;
    TSpinEdit* NxtSigThrownSpin = nullptr;
    TIndexCombo* NxtSigThrownCombo = nullptr;

    // The lists with their Define and Learn buttons, by ESignalSet.
    std::array<TConditionListBox*, essCount> SetBoxes{};

    // The signal's set for a list; none for a when-thrown set of a block signal.
    static TConditionSet* SetOf(TSignal& signal, int which);

    void SigTypeComboChange();
    // A "Define" button: the conditions window on the list's set.
    void DefineClick(int which);

protected:
    void WriteBack() override;
    void DiscardEdits() override;

private:
    void FillLists();
    void LayoutByType();

    // Brings a next signal whose mode uses its number inside the number's range.
    static void KeepNextSignalInRange(TSpinEdit* number, int mode);

    TSignal& Signal;
    // What Cancel gives back: the signal as the window opened, with the sets the user changed.
    TSignal Restored;
    bool Loading = false;
};

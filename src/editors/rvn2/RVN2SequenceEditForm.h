#pragma once
// "Edit Sequence: N": one sequence of an RVN2 board - its name, description and type, and its
// sixteen steps, one at a time: the trigger of the selected step with its parameters, how often
// and after which step it may trigger again, and the action it takes. The window works on a copy
// of the sequence and assigns it back only when closed with OK; the wizard fills the copy with a
// ready-made program.
#include "boards/rvn2/RVN2Sequence.h"
#include "editors/EditorDialog.h"

#include <cstdint>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class TIndexCombo;
class TSpinEdit;

class TRVN2SequenceEditForm : public TWorkingCopyWindow<TRVN2Sequence> {
    Q_OBJECT
public:
    TRVN2SequenceEditForm(QWidget* parent, TRVN2Sequence& sequence);

    // The step (0 to 15) whose controls are shown.
    int SelectedStep() const { return Selected; }
    void SelectStep(int index);
    // Opens the wizard on the working copy and shows the copy again when it closes.
    void WizardBtnClick();

    QLineEdit* NameEdit = nullptr;
    QLineEdit* DescriptionEdit = nullptr;
    TIndexCombo* SequenceTypeCombo = nullptr;
    QLineEdit* ActiveStepEdit = nullptr;
    QListWidget* StepList = nullptr;
    TIndexCombo* TriggerCombo = nullptr;
    QLabel* TrigParam1 = nullptr;
    QLabel* TrigParam2 = nullptr;
    TSpinEdit* TrigSpin1 = nullptr;
    TSpinEdit* TrigSpin2 = nullptr;
    TIndexCombo* ActionCombo = nullptr;
    QLabel* ActionParam1 = nullptr;
    QLabel* ActionParam2 = nullptr;
    TSpinEdit* ActionSpin1 = nullptr;
    TSpinEdit* ActionSpin2 = nullptr;
    TSpinEdit* IterationSpin = nullptr;
    TIndexCombo* RetrigCombo = nullptr;
    QPushButton* WizardBtn = nullptr; // opens the sequence wizard on the working copy

protected:
    void WriteControls() override;

private:
    // Shows the working copy: step list, name, description, type, active steps, selected step.
    void ShowSequence();
    void ShowActiveSteps();
    void RefreshStepList();
    // Fills the step's controls; filling them is not an edit.
    void LoadStep();
    // The step as its controls show it: a step not in use shows the values of a reset step.
    TRVN2SequenceStep ShownStep() const;
    // The parameter controls of the trigger and of the action the combos show.
    void LayoutTrigger();
    void LayoutAction();
    // A change the user made to one of the step's controls.
    void StepControlChanged();
    void TriggerOrActionChanged(bool trigger);
    // Writes the controls into the selected step.
    void WriteStep();
    // The name as the board can keep it.
    void CutName();

    int Selected = 0;
    // Clear while the step's controls are being filled.
    bool StepLoaded = false;
    // Set once the selected step has been written from its controls.
    bool StepEdited = false;
    // The number ActiveStepEdit shows.
    uint32_t ActiveSteps = 0;
    // The name as last shown, to tell an edited name from an untouched one.
    QString ShownName;
};

#include "editors/rvn2/RVN2SequenceEditForm.h"

#include "editors/EditorText.h"
#include "editors/rvn2/RVN2Wizard.h"
#include "widgets/FormTools.h"
#include "widgets/HelpContexts.h"
#include "widgets/IndexCombo.h"
#include "widgets/KeyboardAccess.h"
#include "widgets/SpinEdit.h"

#include <QBoxLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include <vector>

namespace {

const QString kNotUsed = QStringLiteral("(not used)");

// Largest values the step's SV words can carry back unchanged.
constexpr int kMaxDelay = int(TRVN2SequenceStep::kMaxDelay);
constexpr int kMaxPoint = 2048;
constexpr int kMaxSensorBoard = 256;
constexpr int kMaxSensorInput = 16;
constexpr int kMaxFunction = 28;
constexpr int kMaxFunctionTime = 7; // three bits of the action word
constexpr int kMaxIterations = 255; // the board keeps one byte

// The speed-change time of actions 1 to 5 shares the action word with the action number, and the
// word must stay below 101 to be read back as the same action.
int MaxSpeedChangeTime(int action)
{
    return (100 - action) / 8;
}

// Whether the board reads a loco function step back as the same function, on for the same time:
// the function number and the time share the action word with the other actions' codes.
bool FunctionReadsBack(int function, int time)
{
    TRVN2SequenceStep step;
    step.Action = eActLocoFunction;
    step.FunctionNumber = uint32_t(function);
    step.FunctionTime = uint32_t(time);
    TRVN2SequenceStep read;
    read.SetActionFromWord(step.GetActionWord());
    return read.Action == step.Action && read.FunctionNumber == step.FunctionNumber &&
           read.FunctionTime == step.FunctionTime;
}

void ShowParameter(QLabel* label, const QString& text, TSpinEdit* spin, int minValue, int maxValue, uint32_t value)
{
    SetAcceleratedText(label, text);
    spin->setSpecialValueText({});
    spin->SetAccepted({});
    spin->SetRange(minValue, maxValue);
    spin->SetValue(int(value));
    spin->setEnabled(true);
}

// A parameter the trigger or action does not use: disabled and blank.
void ShowUnused(QLabel* label, TSpinEdit* spin)
{
    SetAcceleratedText(label, kNotUsed);
    spin->SetAccepted({});
    spin->SetRange(0, 0);
    spin->SetValue(0);
    spin->setSpecialValueText(QStringLiteral(" "));
    spin->setEnabled(false);
}

// A step group's choice on top, its two parameters below it, each labelled on its left.
QGridLayout* ParameterGrid(QGroupBox* group, TIndexCombo* choice, QLabel* label1, TSpinEdit* spin1, QLabel* label2,
                           TSpinEdit* spin2)
{
    auto* grid = new QGridLayout(group);
    grid->addWidget(choice, 0, 0, 1, 3);
    label1->setBuddy(spin1);
    label2->setBuddy(spin2);
    grid->addWidget(label1, 1, 0);
    grid->addWidget(spin1, 1, 1);
    grid->addWidget(label2, 2, 0);
    grid->addWidget(spin2, 2, 1);
    grid->setColumnStretch(2, 1);
    return grid;
}

QStringList RetriggerItems()
{
    QStringList items{QStringLiteral("(No wait: always trigger)")};
    for (size_t step = 1; step <= TRVN2Sequence::kStepCount; ++step)
        items << QStringLiteral("Step %1 has triggered").arg(step);
    return items;
}

uint32_t CountActiveSteps(const TRVN2Sequence& sequence)
{
    for (size_t i = TRVN2Sequence::kStepCount; i > 0; --i)
        if (sequence.StepAt(i - 1).Action != eActNone) return uint32_t(i);
    return 0;
}

} // namespace

TRVN2SequenceEditForm::TRVN2SequenceEditForm(QWidget* parent, TRVN2Sequence& sequence)
    : TWorkingCopyWindow(sequence, parent, hcRVN2Sequence)
{
    setWindowTitle(QStringLiteral("Edit Sequence: %1").arg(sequence.SequenceNumber));

    NameEdit = NewTextEdit(this, QStringLiteral("NameEdit"));
    DescriptionEdit = NewTextEdit(this, QStringLiteral("DescriptionEdit"));
    SequenceTypeCombo = new TIndexCombo(
        {QStringLiteral("Station Stop"), QStringLiteral("Shuttle"), QStringLiteral("User Defined")}, this);
    SequenceTypeCombo->setObjectName(QStringLiteral("SequenceTypeCombo"));
    ActiveStepEdit = new QLineEdit(this);
    ActiveStepEdit->setObjectName(QStringLiteral("ActiveStepEdit"));
    ActiveStepEdit->setReadOnly(true);
    ActiveStepEdit->setMaximumWidth(ActiveStepEdit->fontMetrics().horizontalAdvance(QStringLiteral("00000")) + 12);

    // Labels above their controls: name, type and the count of active steps in a row, then the
    // description across the window.
    auto* header = new QGridLayout;
    auto addLabelled = [&](int row, int column, const QString& text, QWidget* control, int span = 1) {
        header->addWidget(LabelFor(text, control), row, column, 1, span);
        header->addWidget(control, row + 1, column, 1, span);
    };
    addLabelled(0, 0, QStringLiteral("Short Name (15 characters max)"), NameEdit);
    addLabelled(0, 1, QStringLiteral("Sequence Type"), SequenceTypeCombo);
    addLabelled(0, 2, QStringLiteral("No. Active Steps"), ActiveStepEdit);
    addLabelled(2, 0, QStringLiteral("Description"), DescriptionEdit, 3);
    header->setColumnStretch(0, 1);

    auto* steps = new QGroupBox(QStringLiteral("Sequence Steps"), this);
    StepList = new QListWidget(steps);
    StepList->setObjectName(QStringLiteral("StepList"));
    StepList->setSelectionMode(QAbstractItemView::SingleSelection);
    // All sixteen steps in view.
    StepList->setMinimumHeight(StepList->fontMetrics().lineSpacing() * int(TRVN2Sequence::kStepCount + 1) +
                               2 * StepList->frameWidth() + 8);
    StepList->setMinimumWidth(StepList->fontMetrics().averageCharWidth() * 72);
    auto* stepsLayout = new QVBoxLayout(steps);
    stepsLayout->addWidget(StepList);

    auto* trigger = new QGroupBox(QStringLiteral("Trigger for step"), this);
    TriggerCombo = new TIndexCombo({QStringLiteral("Delay from last step"), QStringLiteral("Point set to CLOSED"),
                                    QStringLiteral("Point set to THROWN"), QStringLiteral("Track Sensor")},
                                   trigger);
    TriggerCombo->setObjectName(QStringLiteral("TriggerCombo"));
    TrigParam1 = Named(new QLabel(kNotUsed, trigger), "TrigParam1");
    TrigParam2 = Named(new QLabel(kNotUsed, trigger), "TrigParam2");
    TrigSpin1 = Named(new TSpinEdit(trigger), "TrigSpin1");
    TrigSpin2 = Named(new TSpinEdit(trigger), "TrigSpin2");
    IterationSpin = Named(new TSpinEdit(0, kMaxIterations, 1, trigger), "IterationSpin");
    RetrigCombo = Named(new TIndexCombo(RetriggerItems(), trigger), "RetrigCombo");
    QGridLayout* triggerLayout = ParameterGrid(trigger, TriggerCombo, TrigParam1, TrigSpin1, TrigParam2, TrigSpin2);
    triggerLayout->addWidget(LabelFor(QStringLiteral("Act every"), IterationSpin), 3, 0);
    triggerLayout->addWidget(IterationSpin, 3, 1);
    triggerLayout->addWidget(new QLabel(QStringLiteral("Triggers"), trigger), 3, 2);
    triggerLayout->addWidget(LabelFor(QStringLiteral("Don't trigger again until"), RetrigCombo), 4, 0);
    triggerLayout->addWidget(RetrigCombo, 4, 1, 1, 2);

    auto* action = new QGroupBox(QStringLiteral("Action taken for this step"), this);
    ActionCombo = new TIndexCombo(
        {QStringLiteral("No Action (step not in use)"), QStringLiteral("Stop Train"),
         QStringLiteral("Start train, in same direction"), QStringLiteral("Start train, in opposite direction"),
         QStringLiteral("Start train, direction A"), QStringLiteral("Start train, direction B"),
         QStringLiteral("Set Loco Function"), QStringLiteral("Dispatch Loco"), QStringLiteral("Set point CLOSED"),
         QStringLiteral("Set Point THROWN")},
        action);
    ActionCombo->setObjectName(QStringLiteral("ActionCombo"));
    ActionParam1 = Named(new QLabel(kNotUsed, action), "ActionParam1");
    ActionParam2 = Named(new QLabel(kNotUsed, action), "ActionParam2");
    ActionSpin1 = Named(new TSpinEdit(action), "ActionSpin1");
    ActionSpin2 = Named(new TSpinEdit(action), "ActionSpin2");
    QGridLayout* actionLayout =
        ParameterGrid(action, ActionCombo, ActionParam1, ActionSpin1, ActionParam2, ActionSpin2);
    actionLayout->setRowStretch(3, 1);

    auto* stepRow = new QHBoxLayout;
    stepRow->addWidget(trigger, 1);
    stepRow->addWidget(action, 1);

    WizardBtn = new QPushButton(QStringLiteral("Sequence Wizard"), this);
    WizardBtn->setObjectName(QStringLiteral("WizardBtn"));
    WizardBtn->setAutoDefault(false);
    ButtonRow()->insertWidget(0, WizardBtn);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(header);
    layout->addWidget(steps, 1);
    layout->addLayout(stepRow);
    layout->addLayout(ButtonRow());

    connect(NameEdit, &QLineEdit::editingFinished, this, &TRVN2SequenceEditForm::CutName);
    connect(StepList, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0) SelectStep(row);
    });
    connect(TriggerCombo, &TIndexCombo::Changed, this, [this] { TriggerOrActionChanged(true); });
    connect(ActionCombo, &TIndexCombo::Changed, this, [this] { TriggerOrActionChanged(false); });
    for (TSpinEdit* spin : {TrigSpin1, TrigSpin2, ActionSpin1, ActionSpin2, IterationSpin})
        connect(spin, &TSpinEdit::Changed, this, &TRVN2SequenceEditForm::StepControlChanged);
    connect(RetrigCombo, &TIndexCombo::Changed, this, &TRVN2SequenceEditForm::StepControlChanged);
    connect(WizardBtn, &QPushButton::clicked, this, &TRVN2SequenceEditForm::WizardBtnClick);

    ShowSequence();
}

void TRVN2SequenceEditForm::ShowSequence()
{
    RefreshStepList();
    ShowModelText(*NameEdit, Work.Name);
    ShownName = NameEdit->text();
    ShowModelText(*DescriptionEdit, Work.Description);
    SequenceTypeCombo->SetValue(Work.SequenceType);
    // The stored number, which the board keeps as it is given.
    ActiveSteps = Work.ActiveSteps;
    ShowActiveSteps();
    LoadStep();
}

void TRVN2SequenceEditForm::ShowActiveSteps()
{
    ActiveStepEdit->setText(QString::number(ActiveSteps));
}

void TRVN2SequenceEditForm::RefreshStepList()
{
    const QSignalBlocker block(StepList);
    StepList->clear();
    for (const TRVN2SequenceStep& step : Work.Steps) StepList->addItem(QString::fromStdString(step.GetListLine()));
    StepList->setCurrentRow(Selected);
}

void TRVN2SequenceEditForm::SelectStep(int index)
{
    if (index < 0 || index >= int(TRVN2Sequence::kStepCount)) return;
    if (StepList->currentRow() != index) {
        const QSignalBlocker block(StepList);
        StepList->setCurrentRow(index);
    }
    if (index == Selected) return;
    Selected = index;
    LoadStep();
}

TRVN2SequenceStep TRVN2SequenceEditForm::ShownStep() const
{
    TRVN2SequenceStep step = Work.StepAt(size_t(Selected));
    if (step.Action == eActNone) step.Reset();
    return step;
}

void TRVN2SequenceEditForm::LoadStep()
{
    StepLoaded = false;
    StepEdited = false;
    const TRVN2SequenceStep step = ShownStep();
    IterationSpin->SetValue(int(step.Iterations));
    RetrigCombo->SetValue(int(step.RetriggerStep));
    TriggerCombo->SetValue(step.Trigger);
    ActionCombo->SetValue(step.Action);
    LayoutTrigger();
    LayoutAction();
    StepLoaded = true;
}

void TRVN2SequenceEditForm::LayoutTrigger()
{
    const TRVN2SequenceStep step = ShownStep();
    const int trigger = TriggerCombo->Value();
    switch (trigger) {
    case eTrigDelay:
        ShowParameter(TrigParam1, QStringLiteral("delay (secs)"), TrigSpin1, 0, kMaxDelay, step.Delay);
        break;
    case eTrigPointClosed:
    case eTrigPointThrown:
        ShowParameter(TrigParam1, QStringLiteral("DCC number"), TrigSpin1, 1, kMaxPoint, step.TriggerPoint);
        break;
    case eTrigSensor:
        ShowParameter(TrigParam1, QStringLiteral("Sensor board"), TrigSpin1, 1, kMaxSensorBoard,
                      step.TriggerSensorBoard);
        ShowParameter(TrigParam2, QStringLiteral("Sensor number"), TrigSpin2, 1, kMaxSensorInput,
                      step.TriggerSensorInput);
        break;
    default: ShowUnused(TrigParam1, TrigSpin1); break;
    }
    if (trigger != eTrigSensor) ShowUnused(TrigParam2, TrigSpin2);
    IterationSpin->setEnabled(trigger == eTrigSensor);
}

void TRVN2SequenceEditForm::LayoutAction()
{
    const TRVN2SequenceStep step = ShownStep();
    const int action = ActionCombo->Value();
    switch (action) {
    case eActStop:
    case eActStartSame:
    case eActStartOpposite:
    case eActStartDirA:
    case eActStartDirB:
        ShowParameter(ActionParam1, QStringLiteral("accel time (sec)"), ActionSpin1, 0, MaxSpeedChangeTime(action),
                      step.SpeedChangeTime);
        break;
    case eActLocoFunction:
        ShowParameter(ActionParam1, QStringLiteral("Fn number"), ActionSpin1, 0, kMaxFunction, step.FunctionNumber);
        ShowParameter(ActionParam2, QStringLiteral("on time (sec)"), ActionSpin2, 1, kMaxFunctionTime,
                      step.FunctionTime);
        // Each offers only what, with the other's value, the board reads back as this action.
        ActionSpin1->SetAccepted([this](int function) { return FunctionReadsBack(function, ActionSpin2->Value()); });
        ActionSpin2->SetAccepted([this](int time) { return FunctionReadsBack(ActionSpin1->Value(), time); });
        break;
    case eActPointClosed:
    case eActPointThrown:
        ShowParameter(ActionParam1, QStringLiteral("Point number"), ActionSpin1, 1, kMaxPoint, step.ActionPoint);
        break;
    default: ShowUnused(ActionParam1, ActionSpin1); break;
    }
    if (action != eActLocoFunction) ShowUnused(ActionParam2, ActionSpin2);
}

void TRVN2SequenceEditForm::TriggerOrActionChanged(bool trigger)
{
    // Laying out the parameters fills their spins, which is not an edit of its own.
    const bool loaded = StepLoaded;
    StepLoaded = false;
    if (trigger)
        LayoutTrigger();
    else
        LayoutAction();
    // The user's choice gives the parameters their ranges: a value that was kept while another
    // trigger or action applied must now fit them. The time goes first, so that a function number
    // and time the board cannot hold together move the time and keep the function.
    if (loaded) {
        const std::vector<TSpinEdit*> parameters =
            trigger ? std::vector{TrigSpin1, TrigSpin2, IterationSpin} : std::vector{ActionSpin2, ActionSpin1};
        for (TSpinEdit* spin : parameters)
            if (spin->isEnabled()) spin->KeepInRange();
    }
    StepLoaded = loaded;
    if (!loaded) return;
    StepControlChanged();
    // Choosing "No Action" has reset the step: show it as it now is.
    if (!trigger && ActionCombo->Value() == eActNone) LoadStep();
}

void TRVN2SequenceEditForm::StepControlChanged()
{
    if (!StepLoaded) return;
    WriteStep();
    SequenceTypeCombo->SetValue(eSeqUserDefined);
}

void TRVN2SequenceEditForm::WriteStep()
{
    TRVN2SequenceStep& step = Work.StepAt(size_t(Selected));
    // A step not in use is edited from the reset values its controls showed.
    if (step.Action == eActNone) step.Reset();
    step.Trigger = uint8_t(TriggerCombo->Value());
    step.Action = uint8_t(ActionCombo->Value());
    switch (step.Action) {
    case eActNone: step.Reset(); break;
    case eActStop:
    case eActStartSame:
    case eActStartOpposite:
    case eActStartDirA:
    case eActStartDirB: step.SpeedChangeTime = uint32_t(ActionSpin1->Value()); break;
    case eActLocoFunction:
        step.FunctionNumber = uint32_t(ActionSpin1->Value());
        step.FunctionTime = uint32_t(ActionSpin2->Value());
        break;
    case eActPointClosed:
    case eActPointThrown: step.ActionPoint = uint32_t(ActionSpin1->Value()); break;
    default: break;
    }
    if (step.Action != eActNone) {
        step.RetriggerStep = uint32_t(RetrigCombo->Value());
        switch (step.Trigger) {
        case eTrigDelay:
            step.Delay = uint32_t(TrigSpin1->Value());
            step.Iterations = 1;
            break;
        case eTrigPointClosed:
        case eTrigPointThrown:
            step.TriggerPoint = uint32_t(TrigSpin1->Value());
            step.Iterations = 1;
            break;
        case eTrigSensor:
            step.TriggerSensorBoard = uint32_t(TrigSpin1->Value());
            step.TriggerSensorInput = uint32_t(TrigSpin2->Value());
            step.Iterations = uint32_t(IterationSpin->Value());
            break;
        default: break;
        }
    }
    StepEdited = true;
    RefreshStepList();
    ActiveSteps = CountActiveSteps(Work);
    ShowActiveSteps();
}

void TRVN2SequenceEditForm::CutName()
{
    // A name the user did not touch stays as it is stored. A typed name is stored as UTF-8, and is
    // cut to what reaches the board: 15 bytes, whole characters only.
    const QString name = NameEdit->text();
    if (name == ShownName) return;
    const std::string bytes = name.toStdString();
    const std::string kept = TRVN2Sequence::BoardName(bytes);
    if (kept.size() < bytes.size()) NameEdit->setText(QString::fromStdString(kept));
}

void TRVN2SequenceEditForm::WizardBtnClick()
{
    // What the user has typed so far goes into the copy the wizard starts from, so that
    // cancelling the wizard keeps it.
    CutName();
    StoreModelText(*NameEdit, Work.Name);
    StoreModelText(*DescriptionEdit, Work.Description);
    Work.SequenceType = uint8_t(SequenceTypeCombo->Value());
    Work.ActiveSteps = ActiveSteps;
    TTRVN2Wizard wizard(this, Work);
    wizard.Execute();
    ShowSequence();
}

void TRVN2SequenceEditForm::WriteControls()
{
    if (StepLoaded && StepEdited) WriteStep();
    CutName();
    StoreModelText(*NameEdit, Work.Name);
    StoreModelText(*DescriptionEdit, Work.Description);
    Work.SequenceType = uint8_t(SequenceTypeCombo->Value());
    Work.ActiveSteps = ActiveSteps;
}

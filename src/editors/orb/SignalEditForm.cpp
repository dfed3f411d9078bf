#include "editors/orb/SignalEditForm.h"

#include "editors/EditorText.h"
#include "editors/orb/ConditionListBox.h"
#include "editors/orb/EditConditionsForm.h"
#include "widgets/FormTools.h"
#include "widgets/HelpContexts.h"
#include "widgets/IndexCombo.h"
#include "widgets/SpinEdit.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const QStringList kHeadTypes{QStringLiteral("4 aspect common cathode"),
                             QStringLiteral("4 aspect common anode"),
                             QStringLiteral("3 aspect common cathode"),
                             QStringLiteral("3 aspect common anode"),
                             QStringLiteral("2 wire searchlight"),
                             QStringLiteral("3 wire searchlight"),
                             QStringLiteral("European Distant, com cathode"),
                             QStringLiteral("European Distant, com anode"),
                             QStringLiteral("US style 3 aspect, com cathode"),
                             QStringLiteral("US style 3 aspect, com anode"),
                             QStringLiteral("2 aspect common cathode"),
                             QStringLiteral("2 aspect common anode"),
                             QStringLiteral("US approach lit 3 aspect, com cathode"),
                             QStringLiteral("US approach lit 3 aspect, com anode")};

const QStringList kRevZones{QStringLiteral("None"),        QStringLiteral("Zone A, W-E"), QStringLiteral("Zone A, E-W"),
                            QStringLiteral("Zone B, W-E"), QStringLiteral("Zone B, E-W"), QStringLiteral("Zone C, W-E"),
                            QStringLiteral("Zone C, E-W")};

const QStringList kSignalTypes{QStringLiteral("Diverging Junction"), QStringLiteral("Block Signal")};

const QStringList kNextModes{QStringLiteral("Normal"), QStringLiteral("Virtual"), QStringLiteral("Always GREEN"),
                             QStringLiteral("Always RED")};

// The lines each list shows without scrolling.
constexpr int kBlockLines = 3;
constexpr int kRedLines = 7;

QFrame* NewPanel(const char* name, QWidget* parent)
{
    auto* panel = new QFrame(parent);
    panel->setObjectName(QString::fromLatin1(name));
    panel->setFrameShape(QFrame::StyledPanel);
    return panel;
}

} // namespace

TSignalEditForm::TSignalEditForm(QWidget* parent, TSignal& signal)
    : TEditorDialog(parent, hcORBSignal), Signal(signal), Restored(signal)
{
    setObjectName(QStringLiteral("SignalEditForm"));
    setWindowTitle(QStringLiteral("Edit Signal %1: (DCC Accessory Address = %2)")
                       .arg(signal.GetSignalNumber())
                       .arg(signal.DCCAddress()));

    NameEdit = NewTextEdit(this, QStringLiteral("NameEdit"));
    DescriptionEdit = NewTextEdit(this, QStringLiteral("DescriptionEdit"));
    HeadTypeCombo = new TIndexCombo(kHeadTypes, this);
    HeadTypeCombo->setObjectName(QStringLiteral("HeadTypeCombo"));
    PointSpin = new TSpinEdit(1, 2048, 1, this);
    PointSpin->setObjectName(QStringLiteral("PointSpin"));
    TZoneSpin = new TSpinEdit(1, 2048, 1, this);
    TZoneSpin->setObjectName(QStringLiteral("TZoneSpin"));
    RevZoneCombo = new TIndexCombo(kRevZones, this);
    RevZoneCombo->setObjectName(QStringLiteral("RevZoneCombo"));
    SigTypeCombo = new TIndexCombo(kSignalTypes, this);
    SigTypeCombo->setObjectName(QStringLiteral("SigTypeCombo"));

    auto* general = new QGridLayout;
    AddLabelled(general, QStringLiteral("Signal Name"), NameEdit, 0);
    AddLabelled(general, QStringLiteral("Description"), DescriptionEdit, 1);
    AddLabelled(general, QStringLiteral("Head Type"), HeadTypeCombo, 2);
    AddLabelled(general, QStringLiteral("Reverse Running Zone"), RevZoneCombo, 3);
    AddLabelled(general, QStringLiteral("SignalType"), SigTypeCombo, 0, 3);
    AddLabelled(general, QStringLiteral("Junction Point Number"), PointSpin, 1, 3);
    AddLabelled(general, QStringLiteral("Transponding Zone Number"), TZoneSpin, 2, 3);
    general->setColumnStretch(1, 1);
    general->setColumnMinimumWidth(2, 24);

    // The settings that apply when the point is closed (all of a block signal's), and those that
    // apply when it is thrown.
    const auto makePanel = [this](const char* name, QLabel*& label, TSpinEdit*& nextSpin, TIndexCombo*& nextCombo,
                                  const char* spinName, const char* comboName, int blk, int red) {
        QFrame* panel = NewPanel(name, this);
        label = new QLabel(panel);
        QFont bold = label->font();
        bold.setBold(true);
        label->setFont(bold);
        nextSpin = new TSpinEdit(1, 2048, 1, panel);
        nextSpin->setObjectName(QString::fromLatin1(spinName));
        nextCombo = new TIndexCombo(kNextModes, panel);
        nextCombo->setObjectName(QString::fromLatin1(comboName));
        // The mode shares the label of the next signal's number.
        nextCombo->setAccessibleName(QStringLiteral("Next Signal mode"));
        auto* next = new QHBoxLayout;
        next->addWidget(LabelFor(QStringLiteral("Next Signal:"), nextSpin));
        next->addWidget(nextSpin);
        next->addWidget(nextCombo);
        next->addStretch(1);
        auto* layout = new QVBoxLayout(panel);
        layout->addWidget(label);
        layout->addLayout(next);
        layout->addWidget(SetBoxes[size_t(blk)]);
        layout->addWidget(SetBoxes[size_t(red)]);
        return panel;
    };
    SetBoxes[essBlkClosed] =
        new TConditionListBox(QStringLiteral("Block Is Occupied When"), QStringLiteral("BlkClosed"), kBlockLines, this);
    SetBoxes[essRedClosed] =
        new TConditionListBox(QStringLiteral("Signal Goes RED When"), QStringLiteral("RedClosed"), kRedLines, this);
    SetBoxes[essBlkThrown] =
        new TConditionListBox(QStringLiteral("Block Is Occupied When"), QStringLiteral("BlkThrown"), kBlockLines, this);
    SetBoxes[essRedThrown] =
        new TConditionListBox(QStringLiteral("Signal Goes RED When"), QStringLiteral("RedThrown"), kRedLines, this);
    SetBoxes[essIsol] = new TConditionListBox(QStringLiteral("Isolation Zone Override When"), QStringLiteral("Isol"),
                                              kBlockLines, this);
    SetBoxes[essAux] =
        new TConditionListBox(QStringLiteral("Aux LED Lit When"), QStringLiteral("Aux"), kBlockLines, this);
    ClosedPanel = makePanel("ClosedPanel", ClosedLabel, NxtSigClosedSpin, NxtSigClosedCombo, "NxtSigClosedSpin",
                            "NxtSigClosedCombo", essBlkClosed, essRedClosed);
    ThrownPanel = makePanel("ThrownPanel", ThrownLabel, NxtSigThrownSpin, NxtSigThrownCombo, "NxtSigThrownSpin",
                            "NxtSigThrownCombo", essBlkThrown, essRedThrown);
    for (int which = 0; which < essCount; ++which)
        connect(SetBoxes[size_t(which)]->DefineBtn, &QPushButton::clicked, this, [this, which] { DefineClick(which); });

    auto* panels = new QHBoxLayout;
    panels->addWidget(ClosedPanel);
    panels->addWidget(ThrownPanel);
    auto* always = new QHBoxLayout;
    always->addWidget(SetBoxes[essIsol]);
    always->addWidget(SetBoxes[essAux]);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(general);
    layout->addLayout(panels);
    layout->addLayout(always);
    layout->addLayout(ButtonRow());

    // Fill the controls from the signal.
    Loading = true;
    ShowModelText(*NameEdit, signal.Name);
    ShowModelText(*DescriptionEdit, signal.Description);
    HeadTypeCombo->SetValue(signal.HeadType);
    PointSpin->SetValue(int(signal.JunctionPoint));
    TZoneSpin->SetValue(int(signal.TranspondingZone));
    RevZoneCombo->SetValue(signal.GetRevZone());
    SigTypeCombo->SetValue(signal.GetType());
    NxtSigClosedSpin->SetValue(int(signal.NextSignal));
    NxtSigClosedCombo->SetValue(signal.GetNextMode());
    NxtSigThrownSpin->SetValue(int(signal.NextSignalThrown));
    NxtSigThrownCombo->SetValue(signal.GetNextModeThrown());
    Loading = false;
    connect(SigTypeCombo, &TIndexCombo::Changed, this, &TSignalEditForm::SigTypeComboChange);
    connect(NxtSigClosedCombo, &TIndexCombo::Changed, this,
            [this](int mode) { KeepNextSignalInRange(NxtSigClosedSpin, mode); });
    connect(NxtSigThrownCombo, &TIndexCombo::Changed, this,
            [this](int mode) { KeepNextSignalInRange(NxtSigThrownSpin, mode); });
    LayoutByType();
    FillLists();
}

TConditionSet* TSignalEditForm::SetOf(TSignal& signal, int which)
{
    switch (which) {
    case essBlkClosed: return &signal.BlockOccupiedSet();
    case essRedClosed: return &signal.RedSet();
    case essBlkThrown: return signal.BlockOccupiedThrownSet();
    case essRedThrown: return signal.RedThrownSet();
    case essIsol: return &signal.IsolationOverrideSet();
    case essAux: return &signal.AuxSet();
    default: return nullptr;
    }
}

void TSignalEditForm::FillLists()
{
    for (int which = 0; which < essCount; ++which) {
        if (const TConditionSet* set = SetOf(Signal, which))
            SetBoxes[size_t(which)]->ShowSet(*set);
        else
            SetBoxes[size_t(which)]->ShowNotApplicable();
    }
}

void TSignalEditForm::LayoutByType()
{
    const bool block = Signal.IsBlock();
    ClosedLabel->setText(block ? QStringLiteral("Settings:") : QStringLiteral("Settings when Point is CLOSED:"));
    ThrownLabel->setText(block ? QStringLiteral("(Not Used)") : QStringLiteral("Settings when Point is THROWN:"));
    ThrownPanel->setEnabled(!block);
}

void TSignalEditForm::KeepNextSignalInRange(TSpinEdit* number, int mode)
{
    // A normal or virtual next signal is coded from its number, and number 0 reads as always green.
    if (mode == ensNormal || mode == ensVirtual) number->KeepInRange();
}

void TSignalEditForm::SigTypeComboChange()
{
    if (Loading) return;
    Signal.SetType(uint8_t(SigTypeCombo->Value()));
    LayoutByType();
    FillLists();
    // A diverging signal uses its junction point and its next signal when the point is thrown.
    if (!Signal.IsBlock()) {
        PointSpin->KeepInRange();
        KeepNextSignalInRange(NxtSigThrownSpin, NxtSigThrownCombo->Value());
    }
}

namespace {

// What Cancel keeps of a set the user changed in the conditions window: the conditions as
// confirmed, fitted to the set of the restored type; then, when a change of type had cut the set
// short before the window showed it, the conditions it cut off, after the last confirmed one.
TConditionSet KeptSet(const TConditionSet& shown, const TConditionSet& confirmed, const TConditionSet& restored)
{
    TConditionSet kept(restored.GetKind(), &confirmed);
    uint32_t agree = 0;
    while (agree < shown.Count() && agree < restored.Count() && shown.ConditionAt(agree) == restored.ConditionAt(agree))
        ++agree;
    // Past the places where the two agree the window showed only empty places.
    for (uint32_t i = agree; i < shown.Count(); ++i)
        if (!shown.ConditionAt(i).IsEmpty()) return kept;
    const auto lastUsed = [](const TConditionSet& set) {
        uint32_t end = set.Count();
        while (end > 0 && set.ConditionAt(end - 1).IsEmpty()) --end;
        return end;
    };
    uint32_t place = lastUsed(kept);
    for (uint32_t i = agree; i < lastUsed(restored) && place < kept.Count(); ++i)
        kept.ConditionAt(place++) = restored.ConditionAt(i);
    return kept;
}

} // namespace

void TSignalEditForm::DefineClick(int which)
{
    TConditionSet* set = SetOf(Signal, which);
    if (!set) return;
    const TConditionSet shown = *set;
    TEditConditionsForm conditions(this, *set);
    // Only a set that OK left different was changed; one confirmed as it was stays as it was.
    if (conditions.Execute() && !set->SameConditions(shown))
        if (TConditionSet* restored = SetOf(Restored, which)) *restored = KeptSet(shown, *set, *restored);
    FillLists();
}

void TSignalEditForm::WriteBack()
{
    StoreModelText(*NameEdit, Signal.Name);
    StoreModelText(*DescriptionEdit, Signal.Description);
    Signal.SetType(uint8_t(SigTypeCombo->Value()));
    Signal.HeadType = HeadTypeCombo->Value();
    Signal.JunctionPoint = uint32_t(PointSpin->Value());
    Signal.TranspondingZone = uint32_t(TZoneSpin->Value());
    Signal.SetRevZone(uint8_t(RevZoneCombo->Value()));
    Signal.NextSignal = uint32_t(NxtSigClosedSpin->Value());
    Signal.SetNextMode(uint8_t(NxtSigClosedCombo->Value()));
    Signal.NextSignalThrown = uint32_t(NxtSigThrownSpin->Value());
    Signal.SetNextModeThrown(uint8_t(NxtSigThrownCombo->Value()));
}

void TSignalEditForm::DiscardEdits()
{
    Signal = Restored;
}

#include "editors/qxp6/QXP6OutputCellEditForm.h"

#include "editors/EditorText.h"
#include "editors/qxp6/QXP6ConditionListBox.h"
#include "editors/qxp6/QXP6EditConditionsForm.h"
#include "widgets/FormTools.h"
#include "widgets/HelpContexts.h"
#include "widgets/IndexCombo.h"
#include "widgets/KeyboardAccess.h"
#include "widgets/SpinEdit.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include <initializer_list>

namespace {
// The lamp types and the first type that takes its time from the flash rate.
constexpr int kFirstFlashType = 5;
} // namespace

TQXP6OutputCellEditForm::TQXP6OutputCellEditForm(QWidget* parent, TQXP6Cell& cell)
    : TWorkingCopyWindow(cell, parent, hcQXP6OutputCell)
{
    setWindowTitle(QStringLiteral("Edit Cell %1: (DCC Accessory Address = %2)")
                       .arg(Work.CellNumber)
                       .arg(static_cast<qlonglong>(Work.BaseAddress) + Work.CellNumber - 1));
    BuildControls();
    LoadControls();
}

void TQXP6OutputCellEditForm::BuildControls()
{
    DescriptionEdit = NewTextEdit(this, QStringLiteral("DescriptionEdit"));
    CellTypeCombo =
        new TIndexCombo({QStringLiteral("Not used"), QStringLiteral("Point cell, solenoid motor"),
                         QStringLiteral("Point cell, always powered "), QStringLiteral("On/Off cell, solenoid motor"),
                         QStringLiteral("On/Off cell, always powered "), QStringLiteral("dual flashing lamps"),
                         QStringLiteral("dual lamps, on/off"), QStringLiteral("individually controlled flashing lamps"),
                         QStringLiteral("individually controlled on/off lamps")},
                        this);
    CellTypeCombo->setObjectName(QStringLiteral("CellTypeCombo"));
    MsgTypeCombo = new TIndexCombo({QStringLiteral("None"), QStringLiteral("Output State message"),
                                    QStringLiteral("Turnout Feedback message (from stored state)"),
                                    QStringLiteral("\"SE\" signal message"),
                                    QStringLiteral("Output State, only when interrogated"),
                                    QStringLiteral("Turnout Feedback, only when interrogated")},
                                   this);
    MsgTypeCombo->setObjectName(QStringLiteral("MsgTypeCombo"));
    QStringList onTimes;
    for (uint32_t i = 0; i < 9; ++i) onTimes << QString::fromStdString(TQXP6Cell::OnTimeText(i));
    OnTimeCombo = new TIndexCombo(onTimes, this);
    OnTimeCombo->setObjectName(QStringLiteral("OnTimeCombo"));
    QStringList rates{QStringLiteral("1 (fastest)")};
    for (int i = 2; i <= 8; ++i) rates << QString::number(i);
    rates << QStringLiteral("9 (slowest)");
    FlashRateCombo = new TIndexCombo(rates, this);
    FlashRateCombo->setObjectName(QStringLiteral("FlashRateCombo"));
    FollowBox = new QCheckBox(QStringLiteral("Follow a cell"), this);
    FollowBox->setObjectName(QStringLiteral("FollowBox"));
    FollowSpin = new TSpinEdit(0, 8, 1, this);
    FollowSpin->setObjectName(QStringLiteral("FollowSpin"));
    BrightnessBox = new QCheckBox(QStringLiteral("Simulate Brightness"), this);
    BrightnessBox->setObjectName(QStringLiteral("BrightnessBox"));
    InvertBox = new QCheckBox(QStringLiteral("Invert Outputs"), this);
    InvertBox->setObjectName(QStringLiteral("InvertBox"));
    ConditionTimeSpin = new TSpinEdit(0, 255, 0, this);
    ConditionTimeSpin->setObjectName(QStringLiteral("ConditionTimeSpin"));
    AdditionalDelaySpin = new TSpinEdit(0, 255, 0, this);
    AdditionalDelaySpin->setObjectName(QStringLiteral("AdditionalDelaySpin"));

    connect(CellTypeCombo, &TIndexCombo::Changed, this, [this] {
        UpdateForType();
        // The settings the chosen type uses are stored for it from now on: they must be values it
        // can have.
        for (TIndexCombo* time : {OnTimeCombo, FlashRateCombo})
            if (time->isEnabled()) time->KeepInRange();
        if (FollowSpin->isEnabled()) FollowSpin->KeepInRange();
    });
    connect(FollowBox, &QCheckBox::clicked, this, [this] {
        UpdateForType();
        if (FollowSpin->isEnabled()) FollowSpin->KeepInRange();
    });

    auto* settings = new QGridLayout;
    int row = 0;
    AddLabelled(settings, QStringLiteral("Description"), DescriptionEdit, row++, 0, 3);
    AddLabelled(settings, QStringLiteral("Cell Type"), CellTypeCombo, row++, 0, 3);
    AddLabelled(settings, QStringLiteral("Message on output change"), MsgTypeCombo, row++, 0, 3);
    AddLabelled(settings, QStringLiteral("on time"), OnTimeCombo, row++);
    AddLabelled(settings, QStringLiteral("flash rate"), FlashRateCombo, row++);
    settings->addWidget(FollowBox, row, 0);
    auto* follow = new QHBoxLayout;
    follow->addWidget(LabelFor(QStringLiteral("Cell no."), FollowSpin));
    follow->addWidget(FollowSpin);
    follow->addStretch(1);
    settings->addLayout(follow, row++, 1);
    settings->addWidget(BrightnessBox, row++, 0, 1, 2);
    settings->addWidget(InvertBox, row++, 0, 1, 2);
    settings->addWidget(LabelFor(QStringLiteral("conditions active for at least"), ConditionTimeSpin), row, 0);
    auto* conditionTime = new QHBoxLayout;
    conditionTime->addWidget(ConditionTimeSpin);
    conditionTime->addWidget(new QLabel(QStringLiteral("s"), this));
    conditionTime->addStretch(1);
    settings->addLayout(conditionTime, row++, 1);
    settings->addWidget(LabelFor(QStringLiteral("Delay before other outputs allowed to change"), AdditionalDelaySpin),
                        row, 0);
    auto* delay = new QHBoxLayout;
    delay->addWidget(AdditionalDelaySpin);
    delay->addWidget(new QLabel(QStringLiteral("tenths of seconds"), this));
    delay->addStretch(1);
    settings->addLayout(delay, row++, 1);
    settings->setRowStretch(row, 1);
    settings->setColumnStretch(1, 1);

    // Each condition list sits in a group headed by what its conditions do, with its Define button.
    ThrownGroup =
        new TQXP6ConditionListBox(QStringLiteral("Change to THROWN when"), "ThrownCondListBox", "DefineThrown", this);
    ClosedGroup =
        new TQXP6ConditionListBox(QStringLiteral("Change to CLOSED when"), "ClosedCondListBox", "DefineClosed", this);
    DontGroup = new TQXP6ConditionListBox(QStringLiteral("don't change when"), "DontCondListBox", "DefineDont", this);
    ThrownCondListBox = ThrownGroup->List;
    ClosedCondListBox = ClosedGroup->List;
    DontCondListBox = DontGroup->List;
    DefineThrown = ThrownGroup->DefineBtn;
    DefineClosed = ClosedGroup->DefineBtn;
    DefineDont = DontGroup->DefineBtn;
    connect(DefineThrown, &QPushButton::clicked, this, &TQXP6OutputCellEditForm::DefineThrownClick);
    connect(DefineClosed, &QPushButton::clicked, this, &TQXP6OutputCellEditForm::DefineClosedClick);
    connect(DefineDont, &QPushButton::clicked, this, &TQXP6OutputCellEditForm::DefineDontClick);

    auto* conditions = new QVBoxLayout;
    conditions->addWidget(ThrownGroup);
    conditions->addWidget(ClosedGroup);
    conditions->addWidget(DontGroup);
    conditions->addStretch(1);

    auto* body = new QHBoxLayout;
    body->addLayout(settings);
    body->addSpacing(12);
    body->addLayout(conditions, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(body, 1);
    layout->addLayout(ButtonRow());
}

void TQXP6OutputCellEditForm::LoadControls()
{
    ShowModelText(*DescriptionEdit, Work.Description);
    CellTypeCombo->SetValue(Work.OutputType);
    MsgTypeCombo->SetValue(Work.MessageType);
    OnTimeCombo->SetValue(static_cast<int>(Work.TimeSetting));
    FlashRateCombo->SetValue(static_cast<int>(Work.TimeSetting));
    FollowBox->setChecked(Work.FollowCell != 0);
    FollowSpin->SetValue(Work.FollowCell != 0 ? static_cast<int>(Work.FollowCell) : 1);
    BrightnessBox->setChecked(Work.SimulateBrightness);
    InvertBox->setChecked(Work.InvertOutputs);
    ConditionTimeSpin->SetValue(static_cast<int>(Work.ConditionTime));
    AdditionalDelaySpin->SetValue(static_cast<int>(Work.ChangeDelay));
    FillConditionLists();
    UpdateForType();
}

void TQXP6OutputCellEditForm::UpdateForType()
{
    // Which of the type's own controls apply, and what its two condition lists do. A type that
    // is not used (or has no item) leaves every type control off and the headings as they were.
    const int type = CellTypeCombo->Value();
    const bool point = type == 1 || type == 2;
    const bool onOff = type == 3 || type == 4;
    const bool dualLamps = type == 5 || type == 6;
    const bool singleLamps = type == 7 || type == 8;
    BrightnessBox->setEnabled(dualLamps || singleLamps);
    InvertBox->setEnabled(singleLamps);
    FlashRateCombo->setEnabled(type == 5 || type == 7);
    FollowBox->setEnabled(point || onOff);
    // The cell number is only asked for while the box is ticked.
    FollowSpin->setEnabled((point || onOff) && FollowBox->isChecked());
    OnTimeCombo->setEnabled(type == 1 || type == 3);
    if (point) {
        SetAcceleratedText(ClosedGroup, QStringLiteral("Change to CLOSED when"));
        SetAcceleratedText(ThrownGroup, QStringLiteral("Change to THROWN when"));
    } else if (onOff || dualLamps) {
        SetAcceleratedText(ClosedGroup, QStringLiteral("Change to ON when"));
        SetAcceleratedText(ThrownGroup, QStringLiteral("Change to ON when"));
    } else if (singleLamps) {
        SetAcceleratedText(ClosedGroup, QStringLiteral("Aux o/p ON when"));
        SetAcceleratedText(ThrownGroup, QStringLiteral("Main o/p ON when"));
    }
}

void TQXP6OutputCellEditForm::FillConditionLists()
{
    ThrownGroup->ShowSet(Work.ThrownConditions);
    ClosedGroup->ShowSet(Work.ClosedConditions);
    DontGroup->ShowSet(Work.FreezeConditions);
}

void TQXP6OutputCellEditForm::DefineConditions(TQXP6ConditionSet& set)
{
    TQXP6EditConditionsForm form(this, set);
    form.Execute();
    FillConditionLists();
}

void TQXP6OutputCellEditForm::DefineThrownClick()
{
    DefineConditions(Work.ThrownConditions);
}

void TQXP6OutputCellEditForm::DefineClosedClick()
{
    DefineConditions(Work.ClosedConditions);
}

void TQXP6OutputCellEditForm::DefineDontClick()
{
    DefineConditions(Work.FreezeConditions);
}

void TQXP6OutputCellEditForm::WriteControls()
{
    StoreModelText(*DescriptionEdit, Work.Description);
    Work.OutputType = static_cast<uint8_t>(CellTypeCombo->Value());
    Work.MessageType = static_cast<uint8_t>(MsgTypeCombo->Value());
    // The list that applies to the chosen type gives the time; both show the same stored value.
    const TIndexCombo* time = CellTypeCombo->Value() < kFirstFlashType ? OnTimeCombo : FlashRateCombo;
    Work.TimeSetting = static_cast<uint32_t>(time->Value());
    Work.FollowCell = FollowBox->isChecked() ? static_cast<uint32_t>(FollowSpin->Value()) : 0;
    Work.SimulateBrightness = BrightnessBox->isChecked();
    Work.InvertOutputs = InvertBox->isChecked();
    Work.ConditionTime = static_cast<uint32_t>(ConditionTimeSpin->Value());
    Work.ChangeDelay = static_cast<uint32_t>(AdditionalDelaySpin->Value());
}

#include "editors/rvn2/RVN2Wizard.h"

#include "boards/rvn2/RVN2Programs.h"
#include "widgets/SpinEdit.h"

#include <QBoxLayout>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>

namespace {

constexpr int kMaxSensorBoard = 256;
constexpr int kMaxSensor = 16;
constexpr int kMaxWait = 1000;
constexpr int kMaxAccel = 9;
constexpr int kMaxVisits = 200;

TSpinEdit* AddSpin(QFormLayout* form, const QString& label, const char* name, int minValue, int maxValue,
                   uint32_t value)
{
    auto* spin = new TSpinEdit(minValue, maxValue, int(value), form->parentWidget());
    spin->setObjectName(QLatin1String(name));
    form->addRow(label, spin);
    return spin;
}

QPushButton* AddGenerateButton(QFormLayout* form)
{
    auto* button = new QPushButton(QStringLiteral("Generate"), form->parentWidget());
    button->setAutoDefault(false);
    form->addRow(QString(), button);
    return button;
}

uint32_t ValueOf(const TSpinEdit* spin)
{
    return uint32_t(spin->Value());
}

} // namespace

TTRVN2Wizard::TTRVN2Wizard(QWidget* parent, TRVN2Sequence& sequence)
    : TEditorDialog(parent, kHelpContext), Sequence(sequence), Work(sequence)
{
    setWindowTitle(QStringLiteral("RVN2 Autoferry Wizard"));
    WizardPages = new QTabWidget(this);
    WizardPages->setObjectName(QStringLiteral("WizardPages"));

    const TRVN2ShuttleSettings shuttle;
    auto* shuttlePage = new QWidget(WizardPages);
    auto* shuttleForm = new QFormLayout(shuttlePage);
    shuttleForm->addRow(
        new QLabel(QStringLiteral("The train runs between two ends of the line and waits at each end."), shuttlePage));
    End1SensBdSpin = AddSpin(shuttleForm, QStringLiteral("End 1 sensor board"), "End1SensBdSpin", 1, kMaxSensorBoard,
                             shuttle.End1SensorBoard);
    End1SensSpin =
        AddSpin(shuttleForm, QStringLiteral("End 1 sensor number"), "End1SensSpin", 1, kMaxSensor, shuttle.End1Sensor);
    End1WaitSpin = AddSpin(shuttleForm, QStringLiteral("End 1 wait time (secs)"), "End1WaitSpin", 1, kMaxWait,
                           shuttle.End1WaitTime);
    End2SensBdSpin = AddSpin(shuttleForm, QStringLiteral("End 2 sensor board"), "End2SensBdSpin", 1, kMaxSensorBoard,
                             shuttle.End2SensorBoard);
    End2SensSpin =
        AddSpin(shuttleForm, QStringLiteral("End 2 sensor number"), "End2SensSpin", 1, kMaxSensor, shuttle.End2Sensor);
    End2WaitSpin = AddSpin(shuttleForm, QStringLiteral("End 2 wait time (secs)"), "End2WaitSpin", 1, kMaxWait,
                           shuttle.End2WaitTime);
    ShuttleAccelSpin = AddSpin(shuttleForm, QStringLiteral("Acceleration time (secs)"), "ShuttleAccelSpin", 0,
                               kMaxAccel, shuttle.AccelTime);
    ShuttleGenerateBtn = AddGenerateButton(shuttleForm);
    ShuttleGenerateBtn->setObjectName(QStringLiteral("ShuttleGenerateBtn"));
    WizardPages->addTab(shuttlePage, QStringLiteral("Shuttle"));

    const TRVN2StationStopSettings stop;
    auto* stopPage = new QWidget(WizardPages);
    auto* stopForm = new QFormLayout(stopPage);
    stopForm->addRow(
        new QLabel(QStringLiteral("The train stops at a station, waits, and goes on the same way."), stopPage));
    SStopSensBdSpin = AddSpin(stopForm, QStringLiteral("Station sensor board"), "SStopSensBdSpin", 1, kMaxSensorBoard,
                              stop.SensorBoard);
    SStopSensSpin =
        AddSpin(stopForm, QStringLiteral("Station sensor number"), "SStopSensSpin", 1, kMaxSensor, stop.Sensor);
    SStopWaitSpin = AddSpin(stopForm, QStringLiteral("Wait time (secs)"), "SStopWaitSpin", 1, kMaxWait, stop.WaitTime);
    SStopVisitSpin =
        AddSpin(stopForm, QStringLiteral("Stop every n visits"), "SStopVisitSpin", 1, kMaxVisits, stop.StopEvery);
    SStopAccelSpin =
        AddSpin(stopForm, QStringLiteral("Acceleration time (secs)"), "SStopAccelSpin", 0, kMaxAccel, stop.AccelTime);
    SStopGenerateBtn = AddGenerateButton(stopForm);
    SStopGenerateBtn->setObjectName(QStringLiteral("SStopGenerateBtn"));
    WizardPages->addTab(stopPage, QStringLiteral("Station Stop"));

    auto* program = new QGroupBox(QStringLiteral("Program"), this);
    ProgramList = new QListWidget(program);
    ProgramList->setObjectName(QStringLiteral("ProgramList"));
    ProgramList->setSelectionMode(QAbstractItemView::NoSelection);
    ProgramList->setFocusPolicy(Qt::NoFocus);
    ProgramList->setMinimumWidth(ProgramList->fontMetrics().averageCharWidth() * 64);
    ProgramList->setFixedHeight(ProgramList->fontMetrics().lineSpacing() * 6 + 2 * ProgramList->frameWidth() + 6);
    auto* programLayout = new QVBoxLayout(program);
    programLayout->addWidget(ProgramList);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(WizardPages);
    layout->addWidget(program);
    layout->addLayout(ButtonRow());

    connect(ShuttleGenerateBtn, &QPushButton::clicked, this, &TTRVN2Wizard::ShuttleGenerateClick);
    connect(SStopGenerateBtn, &QPushButton::clicked, this, &TTRVN2Wizard::StationStopGenerateClick);
    ShowProgram();
}

void TTRVN2Wizard::ShowProgram()
{
    ProgramList->clear();
    ProgramList->addItem(
        QStringLiteral("%1 (%2 active steps)").arg(QString::fromStdString(Work.Name)).arg(Work.ActiveSteps));
    for (const TRVN2SequenceStep& step : Work.Steps)
        if (step.Action != eActNone) ProgramList->addItem(QString::fromStdString(step.GetListLine()));
}

void TTRVN2Wizard::ShuttleGenerateClick()
{
    TRVN2ShuttleSettings settings;
    settings.End1SensorBoard = ValueOf(End1SensBdSpin);
    settings.End1Sensor = ValueOf(End1SensSpin);
    settings.End1WaitTime = ValueOf(End1WaitSpin);
    settings.End2SensorBoard = ValueOf(End2SensBdSpin);
    settings.End2Sensor = ValueOf(End2SensSpin);
    settings.End2WaitTime = ValueOf(End2WaitSpin);
    settings.AccelTime = ValueOf(ShuttleAccelSpin);
    MakeShuttleProgram(Work, settings);
    ShowProgram();
}

void TTRVN2Wizard::StationStopGenerateClick()
{
    TRVN2StationStopSettings settings;
    settings.SensorBoard = ValueOf(SStopSensBdSpin);
    settings.Sensor = ValueOf(SStopSensSpin);
    settings.WaitTime = ValueOf(SStopWaitSpin);
    settings.StopEvery = ValueOf(SStopVisitSpin);
    settings.AccelTime = ValueOf(SStopAccelSpin);
    MakeStationStopProgram(Work, settings);
    ShowProgram();
}

void TTRVN2Wizard::WriteBack()
{
    Sequence = Work;
}

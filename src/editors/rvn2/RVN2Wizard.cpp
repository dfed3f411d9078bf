#include "editors/rvn2/RVN2Wizard.h"

#include "boards/rvn2/RVN2Programs.h"
#include "widgets/HelpContexts.h"
#include "widgets/SpinEdit.h"

#include <QBoxLayout>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>

#include <array>

namespace {

constexpr int kMaxSensorBoard = 256;
constexpr int kMaxSensor = 16;
constexpr int kMaxWait = 1000;
constexpr int kMaxAccel = 9;
constexpr int kMaxVisits = 200;

// One spin of a wizard page: its label, object name and range, the setting it gives, and the
// member of the wizard that holds it.
template <typename TSettings> struct TSettingSpin {
    const char* Label;
    const char* Name;
    int Min;
    int Max;
    uint32_t TSettings::*Setting;
    TSpinEdit* TTRVN2Wizard::*Spin;
};

constexpr std::array<TSettingSpin<TRVN2ShuttleSettings>, 7> kShuttleSpins{{
    {"End 1 sensor board", "End1SensBdSpin", 1, kMaxSensorBoard, &TRVN2ShuttleSettings::End1SensorBoard,
     &TTRVN2Wizard::End1SensBdSpin},
    {"End 1 sensor number", "End1SensSpin", 1, kMaxSensor, &TRVN2ShuttleSettings::End1Sensor,
     &TTRVN2Wizard::End1SensSpin},
    {"End 1 wait time (secs)", "End1WaitSpin", 1, kMaxWait, &TRVN2ShuttleSettings::End1WaitTime,
     &TTRVN2Wizard::End1WaitSpin},
    {"End 2 sensor board", "End2SensBdSpin", 1, kMaxSensorBoard, &TRVN2ShuttleSettings::End2SensorBoard,
     &TTRVN2Wizard::End2SensBdSpin},
    {"End 2 sensor number", "End2SensSpin", 1, kMaxSensor, &TRVN2ShuttleSettings::End2Sensor,
     &TTRVN2Wizard::End2SensSpin},
    {"End 2 wait time (secs)", "End2WaitSpin", 1, kMaxWait, &TRVN2ShuttleSettings::End2WaitTime,
     &TTRVN2Wizard::End2WaitSpin},
    {"Acceleration time (secs)", "ShuttleAccelSpin", 0, kMaxAccel, &TRVN2ShuttleSettings::AccelTime,
     &TTRVN2Wizard::ShuttleAccelSpin},
}};

constexpr std::array<TSettingSpin<TRVN2StationStopSettings>, 5> kStationStopSpins{{
    {"Station sensor board", "SStopSensBdSpin", 1, kMaxSensorBoard, &TRVN2StationStopSettings::SensorBoard,
     &TTRVN2Wizard::SStopSensBdSpin},
    {"Station sensor number", "SStopSensSpin", 1, kMaxSensor, &TRVN2StationStopSettings::Sensor,
     &TTRVN2Wizard::SStopSensSpin},
    {"Wait time (secs)", "SStopWaitSpin", 1, kMaxWait, &TRVN2StationStopSettings::WaitTime,
     &TTRVN2Wizard::SStopWaitSpin},
    {"Stop every n visits", "SStopVisitSpin", 1, kMaxVisits, &TRVN2StationStopSettings::StopEvery,
     &TTRVN2Wizard::SStopVisitSpin},
    {"Acceleration time (secs)", "SStopAccelSpin", 0, kMaxAccel, &TRVN2StationStopSettings::AccelTime,
     &TTRVN2Wizard::SStopAccelSpin},
}};

// Adds a page to the wizard: a line that says what the program does, a spin for each setting
// (showing its default), and the page's "Generate" button, which it returns.
template <typename TSettings, size_t N>
QPushButton* AddPage(TTRVN2Wizard* wizard, const QString& title, const QString& intro,
                     const std::array<TSettingSpin<TSettings>, N>& spins, const char* buttonName)
{
    const TSettings defaults;
    auto* page = new QWidget(wizard->WizardPages);
    auto* form = new QFormLayout(page);
    form->addRow(new QLabel(intro, page));
    for (const TSettingSpin<TSettings>& row : spins) {
        auto* spin = new TSpinEdit(row.Min, row.Max, int(defaults.*row.Setting), page);
        spin->setObjectName(QLatin1String(row.Name));
        form->addRow(QString::fromLatin1(row.Label), spin);
        wizard->*row.Spin = spin;
    }
    auto* button = new QPushButton(QStringLiteral("Generate"), page);
    button->setAutoDefault(false);
    form->addRow(QString(), button);
    button->setObjectName(QLatin1String(buttonName));
    wizard->WizardPages->addTab(page, title);
    return button;
}

// The settings the spins of a page show.
template <typename TSettings, size_t N>
TSettings SettingsOf(const TTRVN2Wizard& wizard, const std::array<TSettingSpin<TSettings>, N>& spins)
{
    TSettings settings;
    for (const TSettingSpin<TSettings>& row : spins) settings.*row.Setting = uint32_t((wizard.*row.Spin)->Value());
    return settings;
}

} // namespace

TTRVN2Wizard::TTRVN2Wizard(QWidget* parent, TRVN2Sequence& sequence)
    : TWorkingCopyWindow(sequence, parent, hcRVN2Wizard)
{
    setWindowTitle(QStringLiteral("RVN2 Autoferry Wizard"));
    WizardPages = new QTabWidget(this);
    WizardPages->setObjectName(QStringLiteral("WizardPages"));

    ShuttleGenerateBtn = AddPage(this, QStringLiteral("Shuttle"),
                                 QStringLiteral("The train runs between two ends of the line and waits at each end."),
                                 kShuttleSpins, "ShuttleGenerateBtn");
    SStopGenerateBtn = AddPage(this, QStringLiteral("Station Stop"),
                               QStringLiteral("The train stops at a station, waits, and goes on the same way."),
                               kStationStopSpins, "SStopGenerateBtn");

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
    MakeShuttleProgram(Work, SettingsOf(*this, kShuttleSpins));
    ShowProgram();
}

void TTRVN2Wizard::StationStopGenerateClick()
{
    MakeStationStopProgram(Work, SettingsOf(*this, kStationStopSpins));
    ShowProgram();
}

#include "editors/orb/Orb8EditForm.h"

#include "boards/orb/orb8/ORB8Board.h"
#include "widgets/HelpContexts.h"
#include "widgets/IndexCombo.h"
#include "widgets/SpinEdit.h"
#include "widgets/ValueCheck.h"

#include <QGridLayout>

TOrb8EditForm::TOrb8EditForm(QWidget* parent, TORB8Board& board)
    : TBoardWindow(board, parent, hcORB8Board, QStringLiteral("Edit ORB8 Board Settings"), board,
                   QStringLiteral("Report Signal Passed At Danger"), QStringLiteral("Simulate signal lamp brightness"))
{
    setObjectName(QStringLiteral("Orb8EditForm"));

    const QStringList inputItems{QStringLiteral("Not Used"), QStringLiteral("Sensor numbers 1-8"),
                                 QStringLiteral("Sensor numbers 9-16"), QStringLiteral("Set Signal Red")};

    QGridLayout* sensors = NewSettingsGroup();
    SensorSpin = Settings.Bind(
        NewSpin(1, 255, "SensorSpin"), // the board keeps one byte
        [](auto& b) -> auto& { return b.SensorConfig().SensorBoardNumber; });
    SensorIntCombo = Settings.Bind(
        NewCombo(inputItems, "SensorIntCombo"), [](auto& b) -> auto& { return b.SensorConfig().OnBoardInputs; });
    SensorExtCombo = Settings.Bind(
        NewCombo(inputItems, "SensorExtCombo"), [](auto& b) -> auto& { return b.SensorConfig().ExternalInputs; });
    AddSetting(sensors, QStringLiteral("Sensor board number:"), SensorSpin);
    AddSetting(sensors, QStringLiteral("On-board Inputs"), SensorIntCombo);
    AddSetting(sensors, QStringLiteral("External Inputs"), SensorExtCombo);

    QGridLayout* outputs = NewSettingsGroup();
    Op14Combo = Settings.Bind(
        NewCombo({QStringLiteral("1-4 have 3 LEDs each"), QStringLiteral("1-3 have 4 LEDs each, 4 not used")},
                 "Op14Combo"),
        [](auto& b) -> auto& { return b.Signals1to4Leds; });
    Op58Combo = Settings.Bind(
        NewCombo({QStringLiteral("5-8 have 3 LEDs each"), QStringLiteral("5-7 have 4 LEDs each, 8 not used")},
                 "Op58Combo"),
        [](auto& b) -> auto& { return b.Signals5to8Leds; });
    AuxOutputCombo = Settings.Bind(
        NewCombo({QStringLiteral("Signals 1-8 isolation relay"), QStringLiteral("Signals 9,10 LEDs")},
                 "AuxOutputCombo"),
        [](auto& b) -> auto& { return b.AuxOutputs; });
    AddSetting(outputs, QStringLiteral("Signals 1-4"), Op14Combo);
    AddSetting(outputs, QStringLiteral("Signal 5-8"), Op58Combo);
    AddSetting(outputs, QStringLiteral("Aux Output"), AuxOutputCombo);

    QGridLayout* options = NewSettingsGroup();
    ReleaseDelayCombo = Settings.Bind(
        NewCombo(DelayItems(), "ReleaseDelayCombo"), [](auto& b) -> auto& { return b.RedReleaseDelay; });
    InterrogateCheck = Settings.Bind(
        NewCheck(QStringLiteral("Report Signal States after Power on"), "InterrogateCheck"),
        [](auto& b) -> auto& { return b.InterrogateAtPowerUp; });
    LocoNetCheck = Settings.Bind(
        NewCheck(QStringLiteral("Use LocoNet SWRQ commands"), "LocoNetCheck"),
        [](auto& b) -> auto& { return b.LocoNetSwitchCommands; });
    AddSetting(options, SPADCheck);
    AddSetting(options, QStringLiteral("Delay before power isolation applied"), IsolationDelayCombo);
    AddSetting(options, QStringLiteral("Delay before releasing from RED"), ReleaseDelayCombo);
    AddSetting(options, InterrogateCheck);
    AddSetting(options, BrightnessCheck);
    AddSetting(options, LocoNetCheck);

    Settings.Show(board);
}

void TOrb8EditForm::WriteControls(TORB8Board& target) const
{
    WriteCommon(target);
    Settings.Write(target);
}

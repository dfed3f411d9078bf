#include "editors/orb/Orb8EditForm.h"

#include "boards/orb/orb8/ORB8Board.h"
#include "widgets/IndexCombo.h"
#include "widgets/SpinEdit.h"
#include "widgets/ValueCheck.h"

#include <QGridLayout>

TOrb8EditForm::TOrb8EditForm(QWidget* parent, TORB8Board& board)
    : TBoardWindow(board, parent, kHelpContext, QStringLiteral("Edit ORB8 Board Settings"), board,
                   QStringLiteral("Report Signal Passed At Danger"), QStringLiteral("Simulate signal lamp brightness"))
{
    setObjectName(QStringLiteral("Orb8EditForm"));

    const QStringList inputItems{QStringLiteral("Not Used"), QStringLiteral("Sensor numbers 1-8"),
                                 QStringLiteral("Sensor numbers 9-16"), QStringLiteral("Set Signal Red")};

    SensorSpin = NewSpin(1, 255, "SensorSpin"); // the board keeps one byte
    SensorIntCombo = NewCombo(inputItems, "SensorIntCombo");
    SensorExtCombo = NewCombo(inputItems, "SensorExtCombo");
    Op14Combo = NewCombo({QStringLiteral("1-4 have 3 LEDs each"), QStringLiteral("1-3 have 4 LEDs each, 4 not used")},
                         "Op14Combo");
    Op58Combo = NewCombo({QStringLiteral("5-8 have 3 LEDs each"), QStringLiteral("5-7 have 4 LEDs each, 8 not used")},
                         "Op58Combo");
    AuxOutputCombo = NewCombo({QStringLiteral("Signals 1-8 isolation relay"), QStringLiteral("Signals 9,10 LEDs")},
                              "AuxOutputCombo");
    ReleaseDelayCombo = NewCombo(DelayItems(), "ReleaseDelayCombo");
    InterrogateCheck = NewCheck(QStringLiteral("Report Signal States after Power on"), "InterrogateCheck");
    LocoNetCheck = NewCheck(QStringLiteral("Use LocoNet SWRQ commands"), "LocoNetCheck");

    QGridLayout* sensors = NewSettingsGroup();
    AddSetting(sensors, QStringLiteral("Sensor board number:"), SensorSpin);
    AddSetting(sensors, QStringLiteral("On-board Inputs"), SensorIntCombo);
    AddSetting(sensors, QStringLiteral("External Inputs"), SensorExtCombo);
    QGridLayout* outputs = NewSettingsGroup();
    AddSetting(outputs, QStringLiteral("Signals 1-4"), Op14Combo);
    AddSetting(outputs, QStringLiteral("Signal 5-8"), Op58Combo);
    AddSetting(outputs, QStringLiteral("Aux Output"), AuxOutputCombo);
    QGridLayout* options = NewSettingsGroup();
    AddSetting(options, SPADCheck);
    AddSetting(options, QStringLiteral("Delay before power isolation applied"), IsolationDelayCombo);
    AddSetting(options, QStringLiteral("Delay before releasing from RED"), ReleaseDelayCombo);
    AddSetting(options, InterrogateCheck);
    AddSetting(options, BrightnessCheck);
    AddSetting(options, LocoNetCheck);

    const TORB8SensorConfig& sensorConfig = board.SensorConfig();
    SensorSpin->SetValue(int(sensorConfig.SensorBoardNumber));
    SensorIntCombo->SetValue(sensorConfig.OnBoardInputs);
    SensorExtCombo->SetValue(sensorConfig.ExternalInputs);
    Op14Combo->SetValue(board.Signals1to4Leds);
    Op58Combo->SetValue(board.Signals5to8Leds);
    AuxOutputCombo->SetValue(board.AuxOutputs);
    ReleaseDelayCombo->SetValue(int(board.RedReleaseDelay));
    InterrogateCheck->SetValue(board.InterrogateAtPowerUp);
    LocoNetCheck->SetValue(board.LocoNetSwitchCommands);
}

void TOrb8EditForm::WriteControls(TORB8Board& target) const
{
    WriteCommon(target);
    TORB8SensorConfig& sensorConfig = target.SensorConfig();
    sensorConfig.SensorBoardNumber = uint32_t(SensorSpin->Value());
    sensorConfig.OnBoardInputs = uint8_t(SensorIntCombo->Value());
    sensorConfig.ExternalInputs = uint8_t(SensorExtCombo->Value());
    target.Signals1to4Leds = uint8_t(Op14Combo->Value());
    target.Signals5to8Leds = uint8_t(Op58Combo->Value());
    target.AuxOutputs = uint8_t(AuxOutputCombo->Value());
    target.RedReleaseDelay = uint32_t(ReleaseDelayCombo->Value());
    target.InterrogateAtPowerUp = uint8_t(InterrogateCheck->Value());
    target.LocoNetSwitchCommands = uint8_t(LocoNetCheck->Value());
}

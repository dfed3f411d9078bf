#include "editors/orb/Orb4EditForm.h"

#include "boards/orb/orb4/ORB4Board.h"
#include "widgets/IndexCombo.h"
#include "widgets/SpinEdit.h"
#include "widgets/ValueCheck.h"

#include <QGridLayout>

TOrb4EditForm::TOrb4EditForm(QWidget* parent, TORB4Board& board)
    : TBoardWindow(board, parent, kHelpContext, QStringLiteral("Edit ORB4 Board Settings"), board,
                   QStringLiteral("Report SPAD"), QStringLiteral("Simulate Lamp Brightness"))
{
    setObjectName(QStringLiteral("Orb4EditForm"));

    const QStringList pairItems{QStringLiteral("Not Used"), QStringLiteral("General Sensor"),
                                QStringLiteral("Turnout Feedback")};
    const QStringList outputItems{QStringLiteral("Isolation Relay"), QStringLiteral("Individual On/Off")};

    SensorSpin = NewSpin(1, 255, "SensorSpin"); // the board keeps one byte
    Sensor12Combo = NewCombo(pairItems, "Sensor12Combo");
    Sensor34Combo = NewCombo(pairItems, "Sensor34Combo");
    Sensor56Combo = NewCombo(pairItems, "Sensor56Combo");
    Sensor78Combo = NewCombo(pairItems, "Sensor78Combo");
    HighCSpin = NewSpin(1, 2048, "HighCSpin");
    Op14Combo = NewCombo(outputItems, "Op14Combo");
    Op58Combo = NewCombo(outputItems, "Op58Combo");
    DisplayCheck = NewCheck(QStringLiteral("Display Mode"), "DisplayCheck");

    QGridLayout* sensors = NewSettingsGroup();
    AddSetting(sensors, QStringLiteral("Sensor board number:"), SensorSpin);
    AddSetting(sensors, QStringLiteral("Sensor 1 & 2 Configuration"), Sensor12Combo);
    AddSetting(sensors, QStringLiteral("Sensor 3 & 4 Configuration"), Sensor34Combo);
    AddSetting(sensors, QStringLiteral("Sensor 5 & 6 Configuration"), Sensor56Combo);
    AddSetting(sensors, QStringLiteral("Sensor 7 & 8 Configuration"), Sensor78Combo);
    QGridLayout* outputs = NewSettingsGroup();
    AddSetting(outputs, QStringLiteral("High Current O/P DCC Address:"), HighCSpin);
    AddSetting(outputs, QStringLiteral("Output 1 - 4 Configuration"), Op14Combo);
    AddSetting(outputs, QStringLiteral("Output 5 - 8 Configuration"), Op58Combo);
    QGridLayout* options = NewSettingsGroup();
    AddSetting(options, SPADCheck);
    AddSetting(options, DisplayCheck);
    AddSetting(options, QStringLiteral("Delay before power isolation applied"), IsolationDelayCombo);
    AddSetting(options, BrightnessCheck);

    const TORB4SensorConfig& sensorConfig = board.SensorConfig();
    SensorSpin->SetValue(int(sensorConfig.SensorBoardNumber));
    for (size_t pair = 0; pair < sensorConfig.PairConfig.size(); ++pair)
        SensorCombos()[pair]->SetValue(sensorConfig.PairConfig[pair]);
    const TORB4HighCurrentConfig& highCurrent = board.HighCurrentConfig();
    HighCSpin->SetValue(int(highCurrent.DCCBaseAddress));
    Op14Combo->SetValue(highCurrent.Outputs1to4);
    Op58Combo->SetValue(highCurrent.Outputs5to8);
    DisplayCheck->SetValue(board.DisplayMode);
}

void TOrb4EditForm::WriteControls(TORB4Board& target) const
{
    WriteCommon(target);
    TORB4SensorConfig& sensorConfig = target.SensorConfig();
    sensorConfig.SensorBoardNumber = uint32_t(SensorSpin->Value());
    for (size_t pair = 0; pair < sensorConfig.PairConfig.size(); ++pair)
        sensorConfig.PairConfig[pair] = uint8_t(SensorCombos()[pair]->Value());
    TORB4HighCurrentConfig& highCurrent = target.HighCurrentConfig();
    highCurrent.DCCBaseAddress = uint32_t(HighCSpin->Value());
    highCurrent.Outputs1to4 = uint8_t(Op14Combo->Value());
    highCurrent.Outputs5to8 = uint8_t(Op58Combo->Value());
    target.DisplayMode = uint8_t(DisplayCheck->Value());
}

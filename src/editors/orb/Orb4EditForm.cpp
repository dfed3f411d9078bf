#include "editors/orb/Orb4EditForm.h"

#include "boards/orb/orb4/ORB4Board.h"
#include "widgets/HelpContexts.h"
#include "widgets/IndexCombo.h"
#include "widgets/SpinEdit.h"
#include "widgets/ValueCheck.h"

#include <QGridLayout>

TOrb4EditForm::TOrb4EditForm(QWidget* parent, TORB4Board& board)
    : TBoardWindow(board, parent, hcORB4Board, QStringLiteral("Edit ORB4 Board Settings"), board,
                   QStringLiteral("Report SPAD"), QStringLiteral("Simulate Lamp Brightness"))
{
    setObjectName(QStringLiteral("Orb4EditForm"));

    const QStringList pairItems{QStringLiteral("Not Used"), QStringLiteral("General Sensor"),
                                QStringLiteral("Turnout Feedback")};
    const QStringList outputItems{QStringLiteral("Isolation Relay"), QStringLiteral("Individual On/Off")};

    QGridLayout* sensors = NewSettingsGroup();
    SensorSpin = Settings.Bind(
        NewSpin(1, 255, "SensorSpin"), // the board keeps one byte
        [](auto& b) -> auto& { return b.SensorConfig().SensorBoardNumber; });
    AddSetting(sensors, QStringLiteral("Sensor board number:"), SensorSpin);
    for (size_t pair = 0; pair < SensorPairCombos.size(); ++pair) {
        const QString first = QString::number(2 * pair + 1);
        const QString second = QString::number(2 * pair + 2);
        SensorPairCombos[pair] = Settings.Bind(
            NewCombo(pairItems, QStringLiteral("Sensor%1%2Combo").arg(first, second).toLatin1().constData()),
            [pair](auto& b) -> auto& { return b.SensorConfig().PairConfig[pair]; });
        AddSetting(sensors, QStringLiteral("Sensor %1 & %2 Configuration").arg(first, second), SensorPairCombos[pair]);
    }

    QGridLayout* outputs = NewSettingsGroup();
    HighCSpin = Settings.Bind(
        NewSpin(1, 2048, "HighCSpin"), [](auto& b) -> auto& { return b.HighCurrentConfig().DCCBaseAddress; });
    Op14Combo = Settings.Bind(
        NewCombo(outputItems, "Op14Combo"), [](auto& b) -> auto& { return b.HighCurrentConfig().Outputs1to4; });
    Op58Combo = Settings.Bind(
        NewCombo(outputItems, "Op58Combo"), [](auto& b) -> auto& { return b.HighCurrentConfig().Outputs5to8; });
    AddSetting(outputs, QStringLiteral("High Current O/P DCC Address:"), HighCSpin);
    AddSetting(outputs, QStringLiteral("Output 1 - 4 Configuration"), Op14Combo);
    AddSetting(outputs, QStringLiteral("Output 5 - 8 Configuration"), Op58Combo);

    QGridLayout* options = NewSettingsGroup();
    DisplayCheck = Settings.Bind(
        NewCheck(QStringLiteral("Display Mode"), "DisplayCheck"), [](auto& b) -> auto& { return b.DisplayMode; });
    AddSetting(options, SPADCheck);
    AddSetting(options, DisplayCheck);
    AddSetting(options, QStringLiteral("Delay before power isolation applied"), IsolationDelayCombo);
    AddSetting(options, BrightnessCheck);

    Settings.Show(board);
}

void TOrb4EditForm::WriteControls(TORB4Board& target) const
{
    WriteCommon(target);
    Settings.Write(target);
}

#include "editors/qxp6/QXP6InputCellEditForm.h"

#include "widgets/FormTools.h"
#include "widgets/HelpContexts.h"
#include "widgets/IndexCombo.h"

#include <QGridLayout>
#include <QLabel>
#include <QVBoxLayout>

TQXP6InputCellEditForm::TQXP6InputCellEditForm(QWidget* parent, TQXP6InputCell& cell)
    : TEditorDialog(parent, hcQXP6InputCell), Cell(cell)
{
    setWindowTitle(QStringLiteral("Input Cell %1").arg(Cell.CellNumber));

    QStringList types{QStringLiteral("Not used"), QStringLiteral("Pushbutton, no effect on output cell"),
                      QStringLiteral("Toggle or sensor, no effect on output cell"),
                      QStringLiteral("Pushbutton, changes output cell"),
                      QStringLiteral("Toggle switch, sets output cell")};
    // A sixth type stored for cell 9 or 10 (from a file or a board) shows as a value of its own.
    if (Cell.CellNumber >= 1 && Cell.CellNumber <= kLastRouteInput)
        types << QStringLiteral("Pushbutton, triggers local route %1").arg(Cell.CellNumber);
    InputCellTypeCombo = new TIndexCombo(types, this);
    InputCellTypeCombo->setObjectName(QStringLiteral("InputCellTypeCombo"));
    InputCellTypeCombo->SetValue(Cell.InputType);
    InputMessageCombo = new TIndexCombo(
        {QStringLiteral("No message"), QStringLiteral("Sensor message"), QStringLiteral("Turnout Feedback message"),
         QStringLiteral("Emergency stop message"), QStringLiteral("Track power off message")},
        this);
    InputMessageCombo->setObjectName(QStringLiteral("InputMessageCombo"));
    InputMessageCombo->SetValue(Cell.MessageType);

    auto* grid = new QGridLayout;
    AddLabelled(grid, QStringLiteral("Input Cell Type:"), InputCellTypeCombo, 0);
    AddLabelled(grid, QStringLiteral("Message when input changes:"), InputMessageCombo, 1);
    grid->setColumnStretch(1, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addStretch(1);
    layout->addLayout(ButtonRow());
}

void TQXP6InputCellEditForm::WriteBack()
{
    Cell.InputType = static_cast<uint8_t>(InputCellTypeCombo->Value());
    Cell.MessageType = static_cast<uint8_t>(InputMessageCombo->Value());
}

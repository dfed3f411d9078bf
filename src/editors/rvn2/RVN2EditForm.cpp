#include "editors/rvn2/RVN2EditForm.h"

#include "boards/rvn2/RVN2Board.h"
#include "editors/EditorText.h"
#include "editors/rvn2/RVN2SequenceEditForm.h"
#include "widgets/FormTools.h"
#include "widgets/HelpContexts.h"
#include "widgets/IndexCombo.h"
#include "widgets/KeyboardAccess.h"
#include "widgets/SpinEdit.h"
#include "widgets/TabStopDelegate.h"

#include <QBoxLayout>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>

TRVN2EditForm::TRVN2EditForm(QWidget* parent, TRVN2Board& board) : TBoardWindow(board, parent, hcRVN2Board)
{
    setWindowTitle(QStringLiteral("Edit RVN2 Autoferry Settings"));

    BoardNameEdit = Settings.BindText(
        NewTextEdit(this, QStringLiteral("BoardNameEdit")), [](auto& b) -> auto& { return b.Name; });
    SerialNumEdit = new TSpinEdit(1, 65536, 1, this);
    SerialNumEdit->setObjectName(QStringLiteral("SerialNumEdit"));
    Settings.Bind(
        SerialNumEdit, [](auto& b) -> auto& { return b.SerialNumber; });
    DescriptionEdit = Settings.BindText(
        NewTextEdit(this, QStringLiteral("DescriptionEdit")), [](auto& b) -> auto& { return b.Notes; });
    auto* identity = new QFormLayout;
    identity->addRow(QStringLiteral("Board Name:"), BoardNameEdit);
    identity->addRow(QStringLiteral("Serial Number:"), SerialNumEdit);

    auto* sequences = new QGroupBox(QStringLiteral("Sequence Definitions"), this);
    SequenceList = new QListWidget(sequences);
    SequenceList->setObjectName(QStringLiteral("SequenceList"));
    SequenceList->setSelectionMode(QAbstractItemView::SingleSelection);
    SequenceList->setItemDelegate(new TTabStopDelegate(16, SequenceList));
    SequenceList->setToolTip(QStringLiteral("Double-click a sequence, or press Enter, to edit its steps"));
    auto* sequenceLayout = new QVBoxLayout(sequences);
    sequenceLayout->addWidget(SequenceList);
    ConnectOpenLine(SequenceList, this, [this](int row) { EditSequence(row); });

    auto* sensors = new QGroupBox(QStringLiteral("Sensor Input settings"), this);
    SensorCombo =
        new TIndexCombo({QStringLiteral("not used"), QStringLiteral("sensors 1-4"), QStringLiteral("sensors 5-8"),
                         QStringLiteral("sensors 9-12"), QStringLiteral("sensors 13-16")},
                        sensors);
    SensorCombo->setObjectName(QStringLiteral("SensorCombo"));
    Settings.Bind(
        SensorCombo, [](auto& b) -> auto& { return b.SensorConfig.ConfigCode; });
    SensorBoardSpin = new TSpinEdit(0, 255, 10, sensors);
    SensorBoardSpin->setObjectName(QStringLiteral("SensorBoardSpin"));
    Settings.Bind(
        SensorBoardSpin, [](auto& b) -> auto& { return b.SensorConfig.SensorBoardNumber; });
    auto* sensorLayout = new QFormLayout(sensors);
    sensorLayout->addRow(SensorCombo);
    sensorLayout->addRow(QStringLiteral("Sensor Board Number"), SensorBoardSpin);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(identity);
    layout->addWidget(LabelFor(QStringLiteral("User Notes"), DescriptionEdit));
    layout->addWidget(DescriptionEdit);
    layout->addWidget(sequences, 1);
    layout->addWidget(sensors);
    layout->addLayout(ButtonRow());
    resize(440, 420);

    Settings.Show(board);
    RefreshSequenceList();
    SequenceList->setCurrentRow(0);
}

void TRVN2EditForm::RefreshSequenceList()
{
    const int row = SequenceList->currentRow();
    SequenceList->clear();
    for (const TRVN2Sequence& sequence : Board.Sequences)
        SequenceList->addItem(QString::fromStdString(sequence.GetListLine()));
    if (row >= 0) SequenceList->setCurrentRow(row);
}

void TRVN2EditForm::EditSequence(int index)
{
    if (index < 0 || index >= int(TRVN2Board::kSequenceCount)) return;
    TRVN2SequenceEditForm form(this, Board.GetSequence(size_t(index)));
    form.Execute();
    RefreshSequenceList();
}

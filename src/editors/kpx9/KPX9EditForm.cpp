#include "editors/kpx9/KPX9EditForm.h"

#include "boards/kpx9/KPX9Board.h"
#include "editors/EditorText.h"
#include "editors/kpx9/KPX9CellEditForm.h"
#include "editors/kpx9/KPX9RouteEditForm.h"
#include "widgets/FormTools.h"
#include "widgets/HelpContexts.h"
#include "widgets/IndexCombo.h"
#include "widgets/KeyboardAccess.h"
#include "widgets/ListFill.h"
#include "widgets/SpinEdit.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>

namespace {

QListWidget* ListWithHeading(const QString& heading, const char* name, QWidget* parent, QGridLayout* grid, int column)
{
    auto* list = Named(new QListWidget(parent), name);
    grid->addWidget(LabelFor(heading, list), 0, column);
    grid->addWidget(list, 1, column);
    return list;
}

} // namespace

TKPX9EditForm::TKPX9EditForm(QWidget* parent, TKPX9Board& board) : TBoardWindow(board, parent, hcKPX9Board)
{
    setWindowTitle(QStringLiteral("Edit KPX9 Board Settings"));

    BoardNameEdit = Settings.BindText(
        NewTextEdit(this, QStringLiteral("BoardNameEdit")), [](auto& b) -> auto& { return b.Name; });
    SerialNumEdit = Settings.Bind(
        Named(new TSpinEdit(1, 65536, 1, this), "SerialNumEdit"), [](auto& b) -> auto& { return b.SerialNumber; });
    NotesEdit = Settings.BindText(
        NewTextEdit(this, QStringLiteral("NotesEdit")), [](auto& b) -> auto& { return b.Notes; });
    auto* identity = new QGridLayout;
    identity->addWidget(LabelFor(QStringLiteral("Board Name"), BoardNameEdit), 0, 0);
    identity->addWidget(BoardNameEdit, 0, 1);
    identity->addWidget(LabelFor(QStringLiteral("Serial Number"), SerialNumEdit), 0, 2);
    identity->addWidget(SerialNumEdit, 0, 3);
    identity->addWidget(LabelFor(QStringLiteral("Notes"), NotesEdit), 1, 0);
    identity->addWidget(NotesEdit, 1, 1, 1, 3);
    identity->setColumnStretch(1, 1);

    ToFromBox = Named(new QCheckBox(QStringLiteral("To/From Numbering"), this), "ToFromBox");
    RouteAddrEdit = Settings.Bind(
        Named(new TSpinEdit(1, 2048, 1, this), "RouteAddrEdit"), [](auto& b) -> auto& { return b.RouteDccAddress; });
    PointDelayEdit = Settings.Bind(
        Named(new TSpinEdit(0, 250, 0, this), "PointDelayEdit"), [](auto& b) -> auto& { return b.PointDelay; });
    auto* routes = new QFormLayout;
    routes->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
    routes->addRow(ToFromBox);
    routes->addRow(QStringLiteral("DCC Address to activate routes"), RouteAddrEdit);
    routes->addRow(QStringLiteral("Delay between point outputs\n(0.1s units)"), PointDelayEdit);

    StartupModeCombo = Named(new TIndexCombo({QStringLiteral("Standalone Mode"), QStringLiteral("Slave Mode"),
                                              QStringLiteral("Interlocked Mode")},
                                             this),
                             "StartupModeCombo");
    Settings.Bind(
        StartupModeCombo, [](auto& b) -> auto& { return b.PowerUpMode; });
    DCCSlaveEdit = Settings.Bind(
        Named(new TSpinEdit(1, 2048, 1, this), "DCCSlaveEdit"), [](auto& b) -> auto& { return b.SlaveDccAddress; });
    DCCInterlockEdit = Settings.Bind(
        Named(new TSpinEdit(1, 2048, 1, this), "DCCInterlockEdit"),
        [](auto& b) -> auto& { return b.InterlockDccAddress; });
    auto* modes = new QFormLayout;
    modes->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
    modes->addRow(QStringLiteral("Board mode after power up:"), StartupModeCombo);
    modes->addRow(QStringLiteral("DCC Addr to enter Slave Mode"), DCCSlaveEdit);
    modes->addRow(QStringLiteral("DCC Addr to enter Interlocked Mode"), DCCInterlockEdit);

    SlaveModeCombo =
        Named(new TIndexCombo(
                  {QStringLiteral("Interlock mode: sensors 1-4"), QStringLiteral("Interlock mode: sensors 5-8"),
                   QStringLiteral("Interlock mode: sensors 9-12"), QStringLiteral("Interlock mode: sensors 13-16")},
                  this),
              "SlaveModeCombo");
    SlaveModeCombo->SetOffset(1);
    Settings.Bind(
        SlaveModeCombo, [](auto& b) -> auto& { return b.SensorsUsed; });
    SlaveAddrEdit = Settings.Bind(
        Named(new TSpinEdit(0, 255, 0, this), "SlaveAddrEdit"), [](auto& b) -> auto& { return b.SensorBoardNumber; });
    auto* sensors = new QFormLayout;
    sensors->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
    sensors->addRow(QStringLiteral("Sensors Used"), SlaveModeCombo);
    sensors->addRow(QStringLiteral("Sensor Board Number"), SlaveAddrEdit);

    auto* settings = new QHBoxLayout;
    settings->addLayout(routes);
    settings->addSpacing(24);
    settings->addLayout(modes);
    settings->addSpacing(24);
    settings->addLayout(sensors);
    settings->addStretch(1);

    auto* lists = new QGridLayout;
    CellList = ListWithHeading(QStringLiteral("Cell Definitions"), "CellList", this, lists, 0);
    RouteList = ListWithHeading(QStringLiteral("Route Definitions"), "RouteList", this, lists, 1);
    lists->setColumnStretch(0, 1);
    lists->setColumnStretch(1, 1);
    lists->setRowStretch(1, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(identity);
    layout->addLayout(settings);
    layout->addLayout(lists, 1);
    layout->addLayout(ButtonRow());
    resize(1240, 660);

    Settings.Show(board);
    ToFromBox->setChecked(board.GetToFromRoutes());
    FillLists();

    connect(ToFromBox, &QCheckBox::clicked, this, [this](bool on) {
        Board.SetToFromRoutes(on);
        FillLists();
    });
    ConnectOpenLine(CellList, this, [this](int row) { EditCell(row); });
    ConnectOpenLine(RouteList, this, [this](int row) { EditRoute(row); });
}

void TKPX9EditForm::FillLists()
{
    QStringList cells;
    for (uint32_t i = 0; i < kKPX9CellCount; ++i) cells << QString::fromStdString(Board.GetCell(i).GetListLine());
    SetListLines(*CellList, cells);
    QStringList routes;
    for (uint32_t i = 0; i < kKPX9RouteCount; ++i)
        routes << QString::fromStdString(Board.GetRoute(i).GetListLine(Board.Cells));
    SetListLines(*RouteList, routes);
}

void TKPX9EditForm::EditCell(int index)
{
    if (index < 0 || index >= int(kKPX9CellCount)) return;
    TKPX9CellEditForm form(this, Board.GetCell(uint32_t(index)), Board.Cells);
    form.Execute();
    FillLists();
}

void TKPX9EditForm::EditRoute(int index)
{
    if (index < 0 || index >= int(kKPX9RouteCount)) return;
    TKPX9RouteEditForm form(this, Board.GetRoute(uint32_t(index)), Board.Cells);
    form.Execute();
    FillLists();
}

#include "editors/kpx9/KPX9CellEditForm.h"

#include "editors/EditorText.h"
#include "widgets/FormTools.h"
#include "widgets/HelpContexts.h"
#include "widgets/IndexCombo.h"
#include "widgets/KeyboardAccess.h"
#include "widgets/SpinEdit.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>

#include <initializer_list>
#include <utility>

namespace {

const QStringList kCellTypeItems = {
    QStringLiteral("Undefined"),
    QStringLiteral("Point Cell"),
    QStringLiteral("Sensor Cell"),
    QStringLiteral("ORB4/ORB8 Signal Cell"),
    QStringLiteral("ORB4/ORB8 Rev Zone Cell"),
    QStringLiteral("SE8c Signal Cell, 2 Aspect"),
    QStringLiteral("SE8c Signal Cell, 4 Aspect"),
    QStringLiteral("Interlock Cell"),
    QStringLiteral("Copy of another cell"),
    QStringLiteral("Board Mode Cell"),
    QStringLiteral("PM42 Relay Cell"),
};

// The editor's short labels of the pushbutton effects, in code order.
const QStringList kEffectItems = {
    QStringLiteral("No Action"),
    QStringLiteral("Change Point"),
    QStringLiteral("Set Point Closed"),
    QStringLiteral("Set Point Thrown"),
    QStringLiteral("Sensor Message Toggle"),
    QStringLiteral("Sensor Message on when pressed"),
    QStringLiteral("Change Interlock"),
    QStringLiteral("Force Signal red"),
    QStringLiteral("Normal Signal operation"),
    QStringLiteral("Set Reverse Running Zone W-E"),
    QStringLiteral("Set Reverse Running Zone E-W"),
    QStringLiteral("Step SE8c Signal aspect"),
    QStringLiteral("Initialise all Points"),
    QStringLiteral("Toggle Interlock mode"),
    QStringLiteral("Toggle Slave mode"),
    QStringLiteral("Track Power On"),
    QStringLiteral("Track Power Off"),
    QStringLiteral("Emergency Stop"),
    QStringLiteral("Start Interrogate sequence"),
    QStringLiteral("Execute Route Number"),
};

QString AddressLabelText(int type)
{
    switch (type) {
    case eKPX9Undefined: return QStringLiteral("(Unused)");
    case eKPX9Point: return QStringLiteral("Point DCC Address");
    case eKPX9Sensor: return QStringLiteral("Board Address");
    case eKPX9ORB8Signal:
    case eKPX9SE8cRG:
    case eKPX9SE8cRGA: return QStringLiteral("Signal DCC Address");
    case eKPX9ORB8Zone: return QStringLiteral("Zone DCC Address");
    case eKPX9Interlock: return QStringLiteral("Interlock DCC Address");
    case eKPX9Copy: return QStringLiteral("Cell Number");
    case eKPX9BoardMode: return QStringLiteral("(unused)");
    case eKPX9PM42Relay: return QStringLiteral("Board Address");
    default: return QStringLiteral("Address");
    }
}

// The highest address of the selected type: a sensor or PM42 cell names a board whose number it
// keeps in one byte. (A copy cell naming no cell copies cell 1, which the board holds.)
int AddressMax(int type)
{
    return type == eKPX9Sensor || type == eKPX9PM42Relay ? 255 : 2048;
}

QGroupBox* Group(const QString& title, QWidget* parent, QFormLayout*& form)
{
    auto* group = new QGroupBox(title, parent);
    form = new QFormLayout(group);
    return group;
}

} // namespace

TKPX9CellEditForm::TKPX9CellEditForm(QWidget* parent, TKPX9Cell& cell, const TKPX9Cells& cells)
    : TEditorDialog(parent, hcKPX9Cell), Cell(cell), Cells(cells)
{
    DescriptionEdit = NewTextEdit(this, QStringLiteral("DescriptionEdit"));
    CellTypeCombo = Named(new TIndexCombo(kCellTypeItems, this), "CellTypeCombo");
    AddressLabel = Named(new QLabel(this), "AddressLabel");
    AddrEdit = Named(new TSpinEdit(1, 2048, 1, this), "AddrEdit");
    AddressLabel->setBuddy(AddrEdit);
    ToFbCheck = Named(new QCheckBox(QStringLiteral("Uses Turnout Feedback"), this), "ToFbCheck");
    // Made in the order of the rows, which is the order the Tab key follows.
    SW1Combo = Named(new TIndexCombo(kEffectItems, this), "SW1Combo");
    Route1Edit = Named(new TSpinEdit(1, 24, 1, this), "Route1Edit");
    SW2Combo = Named(new TIndexCombo(kEffectItems, this), "SW2Combo");
    Route2Edit = Named(new TSpinEdit(1, 24, 1, this), "Route2Edit");

    auto* top = new QGridLayout;
    AddLabelled(top, QStringLiteral("Description"), DescriptionEdit, 0, 0, 3);
    AddLabelled(top, QStringLiteral("Cell Type"), CellTypeCombo, 1);
    top->addWidget(AddressLabel, 2, 0);
    top->addWidget(AddrEdit, 2, 1, Qt::AlignLeft);
    top->addWidget(ToFbCheck, 2, 2, 1, 2);
    AddLabelled(top, QStringLiteral("Pushbutton A Function"), SW1Combo, 3);
    AddLabelled(top, QStringLiteral("Route"), Route1Edit, 3, 2);
    AddLabelled(top, QStringLiteral("Pushbutton B Function"), SW2Combo, 4);
    AddLabelled(top, QStringLiteral("Route"), Route2Edit, 4, 2);
    top->setColumnStretch(1, 1);

    QFormLayout* form = nullptr;
    QGroupBox* points = Group(QStringLiteral("Point Cells"), this, form);
    InitCombo = Named(
        new TIndexCombo({QStringLiteral("No Initialise"), QStringLiteral("Closed"), QStringLiteral("Thrown")}, this),
        "InitCombo");
    TokenCombo = Named(new TIndexCombo({QStringLiteral("None"), QStringLiteral("Token 1"), QStringLiteral("Token 2"),
                                        QStringLiteral("Token 3"), QStringLiteral("Token 4")},
                                       this),
                       "TokenCombo");
    CascadeCombo = Named(
        new TIndexCombo({QStringLiteral("None"), QStringLiteral("Closed, Cell"), QStringLiteral("Thrown, Cell")}, this),
        "CascadeCombo");
    CascadeEdit = Named(new TSpinEdit(0, 30, 0, this), "CascadeEdit");
    // The cell after the mode, under the one label "Cascade".
    CascadeEdit->setAccessibleName(QStringLiteral("Cascade cell"));
    auto* cascadeRow = new QHBoxLayout;
    cascadeRow->addWidget(CascadeCombo, 1);
    cascadeRow->addWidget(CascadeEdit);
    form->addRow(QStringLiteral("Initialise"), InitCombo);
    form->addRow(QStringLiteral("Assigned to Interlock"), TokenCombo);
    form->addRow(LabelFor(QStringLiteral("Cascade"), CascadeCombo), cascadeRow);

    QGroupBox* sensors = Group(QStringLiteral("Sensor Cells"), this, form);
    SensorEdit = Named(new TSpinEdit(1, 16, 1, this), "SensorEdit");
    SensFlashCheck = Named(new QCheckBox(QStringLiteral("Flash if unknown state"), this), "SensFlashCheck");
    form->addRow(QStringLiteral("Sensor Number"), SensorEdit);
    form->addRow(SensFlashCheck);

    QGroupBox* signalCells = Group(QStringLiteral("Signal Cells"), this, form);
    AspectCombo =
        Named(new TIndexCombo({QStringLiteral("Bi-colour LED"), QStringLiteral("red & green LEDs"),
                               QStringLiteral("amber & 2nd amber LEDs"), QStringLiteral("amber & rev running LEDs"),
                               QStringLiteral("red & green LEDs, flash red if forced")},
                              this),
              "AspectCombo");
    form->addRow(QStringLiteral("Aspect Shown"), AspectCombo);

    QGroupBox* interlocks = Group(QStringLiteral("Interlock Cells"), this, form);
    InterlockNumberEdit = Named(new TSpinEdit(1, 4, 1, this), "InterlockNumberEdit");
    form->addRow(QStringLiteral("Interlock Number"), InterlockNumberEdit);

    QGroupBox* zones = Group(QStringLiteral("ORB4/8 Reverse Running Zone Cells"), this, form);
    RevZoneCheck = Named(new QCheckBox(QStringLiteral("LEDs flash if direction locked"), this), "RevZoneCheck");
    form->addRow(RevZoneCheck);

    QGroupBox* relays = Group(QStringLiteral("PM42 Relay Cells"), this, form);
    RelayEdit = Named(new TSpinEdit(1, 4, 1, this), "RelayEdit");
    form->addRow(QStringLiteral("Relay Number"), RelayEdit);

    auto* groups = new QGridLayout;
    groups->addWidget(points, 0, 0);
    groups->addWidget(sensors, 0, 1);
    groups->addWidget(signalCells, 1, 0);
    groups->addWidget(interlocks, 1, 1);
    groups->addWidget(zones, 2, 0);
    groups->addWidget(relays, 2, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(groups);
    layout->addStretch(1);
    layout->addLayout(ButtonRow());

    LoadControls();
    connect(CellTypeCombo, &TIndexCombo::Changed, this, [this] { CellTypeChange(true); });
    connect(AddrEdit, &TSpinEdit::Changed, this, [this] { CellTypeChange(true); });
    connect(CascadeCombo, &TIndexCombo::Changed, this, [this] { CascadeModeChange(true); });
    // A button whose effect the user sets to "Execute Route Number" runs the route its spin shows.
    for (auto [combo, route] : {std::pair{SW1Combo, Route1Edit}, std::pair{SW2Combo, Route2Edit}})
        // (An init-capture: clang 14 cannot capture a structured binding.)
        connect(combo, &TIndexCombo::Changed, this, [this, spin = route](int effect) {
            ButtonChange();
            if (effect == kKPX9EffectRoute) spin->KeepInRange();
        });
}

void TKPX9CellEditForm::LoadControls()
{
    ShowModelText(*DescriptionEdit, Cell.Description);
    CellTypeCombo->SetValue(Cell.CellType);
    AddrEdit->SetValue(int(Cell.Address));
    SW1Combo->SetValue(Cell.ButtonAEffect);
    SW2Combo->SetValue(Cell.ButtonBEffect);
    Route1Edit->SetValue(int(Cell.ButtonARoute));
    Route2Edit->SetValue(int(Cell.ButtonBRoute));
    InitCombo->SetValue(Cell.Initialise);
    TokenCombo->SetValue(int(Cell.Token));
    CascadeCombo->SetValue(Cell.CascadeMode);
    CascadeEdit->SetValue(int(Cell.CascadeCell));
    ToFbCheck->setChecked(Cell.TurnoutFeedback);
    SensorEdit->SetValue(int(Cell.SensorNumber));
    SensFlashCheck->setChecked(Cell.SensorFlash);
    AspectCombo->SetValue(Cell.Aspect);
    RevZoneCheck->setChecked(Cell.ZoneFlash);
    InterlockNumberEdit->SetValue(int(Cell.InterlockNumber));
    RelayEdit->SetValue(int(Cell.RelayNumber));
    setWindowTitle(QStringLiteral("Edit Cell ") + QString::number(Cell.CellNumber));
    CascadeModeChange(false);
    CellTypeChange(false);
    ButtonChange();
}

int TKPX9CellEditForm::EffectiveType() const
{
    const int type = CellTypeCombo->Value();
    if (type != eKPX9Copy) return type;
    const int copied = AddrEdit->Value();
    if (copied < 1 || copied > int(kKPX9CellCount)) return eKPX9Undefined;
    // A cell that names itself copies nothing.
    if (uint32_t(copied) == Cell.CellNumber) return type;
    return Cells[size_t(copied - 1)].CellType;
}

void TKPX9CellEditForm::CellTypeChange(bool byUser)
{
    const int selected = CellTypeCombo->Value();
    SetAcceleratedText(AddressLabel, AddressLabelText(selected));
    {
        const QSignalBlocker block(AddrEdit);
        AddrEdit->SetRange(1, AddressMax(selected));
        // The address the user's choice of type gives a meaning must be one of that type.
        if (byUser) AddrEdit->KeepInRange();
    }
    const int type = EffectiveType();
    const bool point = type == eKPX9Point;
    InitCombo->setEnabled(point);
    TokenCombo->setEnabled(point);
    CascadeCombo->setEnabled(point);
    CascadeEdit->setEnabled(point);
    ToFbCheck->setEnabled(point || type == eKPX9ORB8Signal || type == eKPX9ORB8Zone);
    SensorEdit->setEnabled(type == eKPX9Sensor);
    SensFlashCheck->setEnabled(type == eKPX9Sensor);
    AspectCombo->setEnabled(type == eKPX9ORB8Signal || type == eKPX9SE8cRG || type == eKPX9SE8cRGA);
    RevZoneCheck->setEnabled(type == eKPX9ORB8Zone);
    InterlockNumberEdit->setEnabled(type == eKPX9Interlock);
    RelayEdit->setEnabled(type == eKPX9PM42Relay);
    // The settings of a type the user has just chosen (or of the cell a copy cell now names) are
    // stored for that type from now on: they must be values it can have.
    if (byUser && type != ShownType) {
        for (TIndexCombo* combo : {InitCombo, TokenCombo, CascadeCombo, AspectCombo})
            if (combo->isEnabled()) combo->KeepInRange();
        for (TSpinEdit* spin : {CascadeEdit, SensorEdit, InterlockNumberEdit, RelayEdit})
            if (spin->isEnabled()) spin->KeepInRange();
    }
    ShownType = type;
}

void TKPX9CellEditForm::CascadeModeChange(bool byUser)
{
    // A point that cascades names the cell it follows; cell 0 would read as no cascade (closed)
    // or as cell 30 closed (thrown).
    const bool cascades = CascadeCombo->Value() != 0;
    CascadeEdit->SetRange(cascades ? 1 : 0, int(kKPX9CellCount));
    if (byUser && cascades) CascadeEdit->KeepInRange();
}

void TKPX9CellEditForm::ButtonChange()
{
    Route1Edit->setEnabled(SW1Combo->Value() == kKPX9EffectRoute);
    Route2Edit->setEnabled(SW2Combo->Value() == kKPX9EffectRoute);
}

void TKPX9CellEditForm::WriteBack()
{
    StoreModelText(*DescriptionEdit, Cell.Description);
    Cell.CellType = uint8_t(CellTypeCombo->Value());
    Cell.Address = uint32_t(AddrEdit->Value());
    Cell.ButtonAEffect = uint8_t(SW1Combo->Value());
    Cell.ButtonBEffect = uint8_t(SW2Combo->Value());
    Cell.ButtonARoute = uint32_t(Route1Edit->Value());
    Cell.ButtonBRoute = uint32_t(Route2Edit->Value());
    Cell.Initialise = uint8_t(InitCombo->Value());
    Cell.Token = uint32_t(TokenCombo->Value());
    Cell.CascadeMode = uint8_t(CascadeCombo->Value());
    Cell.CascadeCell = uint32_t(CascadeEdit->Value());
    Cell.TurnoutFeedback = ToFbCheck->isChecked();
    Cell.SensorNumber = uint32_t(SensorEdit->Value());
    Cell.SensorFlash = SensFlashCheck->isChecked();
    Cell.Aspect = uint8_t(AspectCombo->Value());
    Cell.ZoneFlash = RevZoneCheck->isChecked();
    Cell.InterlockNumber = uint32_t(InterlockNumberEdit->Value());
    Cell.RelayNumber = uint32_t(RelayEdit->Value());
}

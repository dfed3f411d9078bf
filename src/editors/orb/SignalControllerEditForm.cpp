#include "editors/orb/SignalControllerEditForm.h"

#include "boards/orb/SignalControllerBoard.h"
#include "editors/EditorText.h"
#include "editors/orb/RevZoneEditForm.h"
#include "editors/orb/SignalEditForm.h"
#include "widgets/FormTools.h"
#include "widgets/IndexCombo.h"
#include "widgets/KeyboardAccess.h"
#include "widgets/SpinEdit.h"
#include "widgets/TabStopDelegate.h"
#include "widgets/ValueCheck.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace {

// Tab stops of the lists, in dialog units.
constexpr int kSignalTabs = 35;
constexpr int kZoneTabs = 20;
// The longest delay the lists offer, in quarter seconds.
constexpr uint32_t kMaxDelay = 32;

QListWidget* NewPartList(QWidget* parent, const char* name, int tabs, int lines)
{
    auto* list = new QListWidget(parent);
    list->setObjectName(QString::fromLatin1(name));
    list->setItemDelegate(new TTabStopDelegate(tabs, list));
    const int rowHeight = std::max(list->fontMetrics().height() + 2, list->sizeHintForRow(0));
    list->setFixedHeight(lines * rowHeight + 2 * list->frameWidth() + 4);
    list->setMinimumWidth(320);
    return list;
}

} // namespace

QStringList TSignalControllerEditForm::DelayItems()
{
    QStringList items{QStringLiteral("No delay")};
    for (uint32_t quarters = 1; quarters <= kMaxDelay; ++quarters)
        items << QString::fromStdString(TSignalControllerBoard::QuarterSecondsText(quarters)) + QLatin1Char('s');
    return items;
}

TSignalControllerEditForm::TSignalControllerEditForm(QWidget* parent, int helpContext, const QString& caption,
                                                     TSignalControllerBoard& board, const QString& spadText,
                                                     const QString& brightnessText)
    : TEditorDialog(parent, helpContext), Controller(board)
{
    setWindowTitle(caption);

    BdNameEdit = CommonSettings.BindText(
        NewTextEdit(this, QStringLiteral("BdNameEdit")), [](auto& b) -> auto& { return b.Name; });
    DCCAddrSpin = CommonSettings.Bind(
        NewSpin(1, 2048, "DCCAddrSpin"), [](const TSignalControllerBoard& b) { return b.GetSignalBaseAddress(); },
        [](TSignalControllerBoard& b, int address) { b.SetSignalBaseAddress(uint32_t(address)); });
    SerialNumSpin = CommonSettings.Bind(
        NewSpin(1, 65536, "SerialNumSpin"), [](auto& b) -> auto& { return b.SerialNumber; });
    NotesEdit = CommonSettings.BindText(
        NewTextEdit(this, QStringLiteral("NotesEdit")), [](auto& b) -> auto& { return b.Notes; });
    SignalList = NewPartList(this, "SignalList", kSignalTabs, int(TSignalControllerBoard::kSignalCount));
    RevZoneList = NewPartList(this, "RevZoneList", kZoneTabs, int(TSignalControllerBoard::kZoneCount));
    SPADCheck = CommonSettings.Bind(
        NewCheck(spadText, "SPADCheck"), [](auto& b) -> auto& { return b.ReportSPAD; });
    IsolationDelayCombo = CommonSettings.Bind(
        NewCombo(DelayItems(), "IsolationDelayCombo"), [](auto& b) -> auto& { return b.IsolationDelay; });
    BrightnessCheck = CommonSettings.Bind(
        NewCheck(brightnessText, "BrightnessCheck"), [](auto& b) -> auto& { return b.LampBrightnessSim; });

    auto* general = new QGridLayout;
    const auto addRow = [&general](const QString& label, QWidget* control) {
        const int row = general->rowCount();
        general->addWidget(LabelFor(label, control), row, 0);
        general->addWidget(control, row, 1);
    };
    addRow(QStringLiteral("Board Name:"), BdNameEdit);
    addRow(QStringLiteral("DCC Base address:"), DCCAddrSpin);
    addRow(QStringLiteral("Serial Number:"), SerialNumSpin);
    addRow(QStringLiteral("Notes:"), NotesEdit);
    general->setColumnStretch(1, 1);

    auto* parts = new QVBoxLayout;
    parts->addLayout(general);
    parts->addWidget(LabelFor(QStringLiteral("Signals:"), SignalList));
    parts->addWidget(SignalList);
    parts->addWidget(LabelFor(QStringLiteral("Reverse Running Zones:"), RevZoneList));
    parts->addWidget(RevZoneList);
    parts->addStretch(1);

    SettingsColumn = new QVBoxLayout;
    auto* columns = new QHBoxLayout;
    columns->addLayout(parts, 1);
    columns->addLayout(SettingsColumn);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(columns);
    layout->addLayout(ButtonRow());

    CommonSettings.Show(board);
    FillLists();

    ConnectOpenLine(SignalList, this, [this](int row) { SignalListDblClick(row); });
    ConnectOpenLine(RevZoneList, this, [this](int row) { RevZoneListDblClick(row); });
}

TIndexCombo* TSignalControllerEditForm::NewCombo(const QStringList& items, const char* name)
{
    auto* combo = new TIndexCombo(items, this);
    combo->setObjectName(QString::fromLatin1(name));
    return combo;
}

TValueCheck* TSignalControllerEditForm::NewCheck(const QString& text, const char* name)
{
    auto* check = new TValueCheck(text, this);
    check->setObjectName(QString::fromLatin1(name));
    return check;
}

TSpinEdit* TSignalControllerEditForm::NewSpin(int minValue, int maxValue, const char* name)
{
    auto* spin = new TSpinEdit(minValue, maxValue, minValue, this);
    spin->setObjectName(QString::fromLatin1(name));
    return spin;
}

QGridLayout* TSignalControllerEditForm::NewSettingsGroup()
{
    auto* group = new QGroupBox(this);
    auto* grid = new QGridLayout(group);
    SettingsColumn->addWidget(group);
    return grid;
}

void TSignalControllerEditForm::AddSetting(QGridLayout* group, const QString& label, QWidget* control)
{
    const int row = group->rowCount();
    group->addWidget(LabelFor(label, control), row, 0);
    group->addWidget(control, row, 1);
}

void TSignalControllerEditForm::AddSetting(QGridLayout* group, QWidget* check)
{
    group->addWidget(check, group->rowCount(), 0, 1, 2);
}

void TSignalControllerEditForm::FillLists()
{
    const auto fill = [](QListWidget* list, uint32_t count, const auto& line) {
        const int row = list->currentRow();
        list->clear();
        for (uint32_t i = 1; i <= count; ++i) list->addItem(ModelText(line(i)));
        if (row >= 0) list->setCurrentRow(row);
    };
    fill(SignalList, TSignalControllerBoard::kSignalCount,
         [this](uint32_t i) { return Controller.GetSignal(i).ListLine(); });
    fill(RevZoneList, TSignalControllerBoard::kZoneCount,
         [this](uint32_t i) { return Controller.GetZone(i).ListLine(); });
}

void TSignalControllerEditForm::SignalListDblClick(int row)
{
    if (row < 0 || row >= int(TSignalControllerBoard::kSignalCount)) return;
    TSignalEditForm form(this, Controller.GetSignal(uint32_t(row) + 1));
    form.Execute();
    FillLists();
}

void TSignalControllerEditForm::RevZoneListDblClick(int row)
{
    if (row < 0 || row >= int(TSignalControllerBoard::kZoneCount)) return;
    TRevZoneEditForm form(this, Controller.GetZone(uint32_t(row) + 1));
    form.Execute();
    FillLists();
}

void TSignalControllerEditForm::WriteCommon(TSignalControllerBoard& target) const
{
    CommonSettings.Write(target);
}

#include "editors/RouteEditor.h"

#include "widgets/FormTools.h"
#include "widgets/IndexCombo.h"
#include "widgets/ListFill.h"
#include "widgets/SpinEdit.h"

#include <QBoxLayout>
#include <QFormLayout>
#include <QLabel>
#include <QListWidget>

TRouteEditForm::TRouteEditForm(QWidget* parent, int helpContext, uint32_t routeNumber)
    : TEditorDialog(parent, helpContext)
{
    setWindowTitle(QStringLiteral("Edit Route ") + QString::number(routeNumber));

    RouteListBox = Named(new QListWidget(this), "RouteListBox");
    RouteListBox->setAccessibleName(QStringLiteral("Points in route"));
    RouteListBox->setMinimumWidth(RouteListBox->fontMetrics().horizontalAdvance(QLatin1Char('0')) * 40);

    StateButton =
        Named(new TIndexCombo({QStringLiteral("Undefined"), QStringLiteral("Closed"), QStringLiteral("Thrown")}, this),
              "StateButton");
    PointNumberSpin = Named(new TSpinEdit(1, 2048, 1, this), "PointNumberSpin");

    auto* entry = new QFormLayout;
    entry->addRow(QStringLiteral("State"), StateButton);
    entry->addRow(QStringLiteral("Point"), PointNumberSpin);
    Side = new QVBoxLayout;
    Side->addLayout(entry);

    auto* body = new QHBoxLayout;
    body->addWidget(RouteListBox, 1);
    body->addLayout(Side);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(body, 1);
    layout->addLayout(ButtonRow());

    connect(RouteListBox, &QListWidget::currentRowChanged, this, [this] {
        if (!Loading) LoadEntryControls();
    });
    connect(StateButton, &TIndexCombo::Changed, this, [this] {
        if (!Loading) StateButtonChange();
    });
    connect(PointNumberSpin, &TSpinEdit::Changed, this, [this] {
        if (!Loading) ApplyEntry();
    });
}

int TRouteEditForm::SelectedLine() const
{
    return RouteListBox->currentRow();
}

void TRouteEditForm::StartEditing()
{
    Side->addStretch(1);
    FillList();
    Loading = true;
    RouteListBox->setCurrentRow(0);
    Loading = false;
    LoadEntryControls();
}

void TRouteEditForm::FillList()
{
    QStringList lines;
    for (int i = 0; i < EntryLineCount(); ++i) lines << EntryLine(i);
    lines << QString::number(EntryCount()) + QStringLiteral(" points in route;");
    lines << (Fits() ? QStringLiteral("Route fits into SV space!") : QStringLiteral("!Route does not fit!"));
    const bool wasLoading = Loading;
    Loading = true;
    SetListLines(*RouteListBox, lines);
    Loading = wasLoading;
}

void TRouteEditForm::LoadEntryControls()
{
    const int line = SelectedLine();
    // Only entry lines edit an entry; the count and fit lines leave the controls idle.
    const bool entryLine = IsEntryLine(line);
    const int state = entryLine ? EntryState(line) : 0;
    Loading = true;
    StateButton->SetValue(state);
    StateButton->setEnabled(entryLine);
    if (state == 0)
        PointNumberSpin->SetValue(1);
    else
        PointNumberSpin->SetValue(int(EntryAddress(line)));
    PointNumberSpin->setEnabled(entryLine && state != 0);
    Loading = false;
}

void TRouteEditForm::StateButtonChange()
{
    const bool undefined = StateButton->Value() == 0;
    PointNumberSpin->setEnabled(!undefined);
    if (undefined) {
        Loading = true;
        PointNumberSpin->SetValue(1);
        Loading = false;
    }
    ApplyEntry();
}

void TRouteEditForm::ApplyEntry()
{
    const int line = SelectedLine();
    if (!IsEntryLine(line)) return;
    const int state = StateButton->Value();
    const uint32_t address = state != 0 ? uint32_t(PointNumberSpin->Value()) : 1;
    const int before = int(EntryCount());
    // Removing the last entry only shortens the route, so the count tells a removal too.
    const bool removed = SetEntry(line, address, uint8_t(state)) || int(EntryCount()) < before;
    FillList();
    Loading = true;
    if (removed)
        RouteListBox->setCurrentRow(0);
    else if (state != 0 && line > before && before < EntryLineCount())
        // A state chosen on an empty line appended the entry after the last one: the selection
        // follows it, so its point can be set next.
        RouteListBox->setCurrentRow(before);
    Loading = false;
    LoadEntryControls();
}

void TRouteEditForm::ApplyPendingEntry()
{
    PointNumberSpin->interpretText();
    const int line = SelectedLine();
    if (!IsEntryLine(line)) return;
    const int state = StateButton->Value();
    const bool pending =
        state != EntryState(line) || (state != 0 && uint32_t(PointNumberSpin->Value()) != EntryAddress(line));
    if (pending) ApplyEntry();
}

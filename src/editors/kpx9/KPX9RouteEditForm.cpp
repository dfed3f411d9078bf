#include "editors/kpx9/KPX9RouteEditForm.h"

#include "widgets/FormTools.h"
#include "widgets/HelpContexts.h"
#include "widgets/SpinEdit.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QListWidget>

#include <algorithm>

TKPX9RouteEditForm::TKPX9RouteEditForm(QWidget* parent, TKPX9Route& route, const TKPX9Cells& cells)
    : TWorkingCopyWindow(route, parent, hcKPX9Route, route.RouteNumber), Cells(cells)
{
    Lines = int(std::min(Work.Capacity(), kKPX9RouteEntries));

    FromSpin = Named(new TSpinEdit(1, 24, int(Work.FromButton), this), "FromSpin");
    ToSpin = Named(new TSpinEdit(1, 24, int(Work.ToButton), this), "ToSpin");
    // From and to buttons start a route only with to/from numbering.
    FromSpin->setEnabled(Work.ToFrom);
    ToSpin->setEnabled(Work.ToFrom);
    CascadeCheck = Named(new QCheckBox(QStringLiteral("Cascade"), this), "CascadeCheck");
    CascadeCheck->setChecked(Work.Cascade);
    CascadeSpin = Named(new TSpinEdit(1, 24, int(Work.CascadeRoute), this), "CascadeSpin");
    CascadeSpin->setEnabled(Work.Cascade);

    auto* buttons = new QFormLayout;
    buttons->addRow(QStringLiteral("From Button"), FromSpin);
    buttons->addRow(QStringLiteral("To Button"), ToSpin);
    auto* cascade = new QFormLayout;
    cascade->addRow(CascadeCheck);
    cascade->addRow(QStringLiteral("Route Number"), CascadeSpin);
    SideColumn()->addSpacing(12);
    SideColumn()->addLayout(buttons);
    SideColumn()->addSpacing(12);
    SideColumn()->addLayout(cascade);

    connect(CascadeCheck, &QCheckBox::toggled, this, [this](bool on) {
        CascadeSpin->setEnabled(on);
        // From now on the route number is stored as a cascade byte: a stored number no route has
        // (0 in a route without cascade) would reach the board as a point entry.
        if (on) CascadeSpin->KeepInRange();
        // The fit line shows the route as it will be stored, cascade byte included.
        FillList();
    });

    RouteListBox->setMinimumHeight(RouteListBox->fontMetrics().height() * (kKPX9RouteEntries + 4));
    StartEditing();
}

int TKPX9RouteEditForm::EntryLineCount() const
{
    return Lines;
}

QString TKPX9RouteEditForm::EntryLine(int index) const
{
    return QString::fromStdString(Work.GetEditorLine(uint32_t(index) + 1, Cells));
}

bool TKPX9RouteEditForm::Fits() const
{
    // The cascade flag reaches the copy only when the window closes; the fit is judged with the
    // flag as the box shows it.
    TKPX9Route stored = Work;
    stored.Cascade = CascadeCheck->isChecked();
    return stored.Fits(Cells);
}

bool TKPX9RouteEditForm::SetEntry(int index, uint32_t address, uint8_t state)
{
    return Work.SetEntry(uint32_t(index), address, state);
}

void TKPX9RouteEditForm::WriteControls()
{
    Work.FromButton = uint32_t(FromSpin->Value());
    Work.ToButton = uint32_t(ToSpin->Value());
    Work.Cascade = CascadeCheck->isChecked();
    Work.CascadeRoute = uint32_t(CascadeSpin->Value());
    ApplyPendingEntry();
}

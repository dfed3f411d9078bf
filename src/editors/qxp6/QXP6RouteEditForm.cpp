#include "editors/qxp6/QXP6RouteEditForm.h"

#include "editors/qxp6/QXP6ConditionListBox.h"
#include "editors/qxp6/QXP6EditConditionsForm.h"
#include "widgets/HelpContexts.h"

#include <QBoxLayout>
#include <QListWidget>
#include <QPushButton>

TQXP6RouteEditForm::TQXP6RouteEditForm(QWidget* parent, TQXP6Route& route)
    : TWorkingCopyWindow(route, parent, hcQXP6Route, route.RouteNumber)
{
    TriggerGroup =
        new TQXP6ConditionListBox(QStringLiteral("Trigger route when"), "RouteCondListBox", "DefineConditions", this);
    RouteCondListBox = TriggerGroup->List;
    DefineConditions = TriggerGroup->DefineBtn;
    connect(DefineConditions, &QPushButton::clicked, this, &TQXP6RouteEditForm::DefineConditionsClick);
    SideColumn()->addSpacing(12);
    SideColumn()->addWidget(TriggerGroup);
    TriggerGroup->ShowSet(Work.TriggerConditions);
    StartEditing();
}

void TQXP6RouteEditForm::SelectLine(int line)
{
    RouteListBox->setCurrentRow(line);
}

QString TQXP6RouteEditForm::EntryLine(int index) const
{
    return QString::fromStdString(Work.GetEditorLine(index + 1));
}

void TQXP6RouteEditForm::DefineConditionsClick()
{
    TQXP6EditConditionsForm form(this, Work.TriggerConditions);
    form.Execute();
    TriggerGroup->ShowSet(Work.TriggerConditions);
}

void TQXP6RouteEditForm::WriteControls()
{
    ApplyPendingEntry();
}

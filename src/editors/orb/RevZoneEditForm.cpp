#include "editors/orb/RevZoneEditForm.h"

#include "editors/EditorText.h"
#include "editors/orb/ConditionListBox.h"
#include "editors/orb/EditConditionsForm.h"
#include "widgets/FormTools.h"
#include "widgets/HelpContexts.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// The lines each list shows without scrolling: all places of a direction set (8), and as many
// for the freeze set (6) and the shunt set beside it.
constexpr int kDirectionLines = 8;
constexpr int kOtherLines = 6;

} // namespace

TRevZoneEditForm::TRevZoneEditForm(QWidget* parent, TRevRunZone& zone) : TEditorDialog(parent, hcORBZone), Zone(zone)
{
    setObjectName(QStringLiteral("RevZoneEditForm"));
    setWindowTitle(QStringLiteral("Edit Reverse Running Zone ") + QString::fromStdString(zone.Letter()));

    NameEdit = NewTextEdit(this, QStringLiteral("NameEdit"));
    DescriptionEdit = NewTextEdit(this, QStringLiteral("DescriptionEdit"));
    ShowModelText(*NameEdit, zone.Name);
    ShowModelText(*DescriptionEdit, zone.Description);

    SetBoxes[TRevRunZone::ezsWestEast] = new TConditionListBox(QStringLiteral("Change to West-to-East When"),
                                                               QStringLiteral("WE"), kDirectionLines, this);
    SetBoxes[TRevRunZone::ezsEastWest] = new TConditionListBox(QStringLiteral("Change to East-to-West When"),
                                                               QStringLiteral("EW"), kDirectionLines, this);
    SetBoxes[TRevRunZone::ezsFreeze] =
        new TConditionListBox(QStringLiteral("Don't Change When"), QStringLiteral("Freeze"), kOtherLines, this);
    SetBoxes[TRevRunZone::ezsShunt] =
        new TConditionListBox(QStringLiteral("Enter SHUNT Mode When"), QStringLiteral("Shunt"), kOtherLines, this);
    for (int which = 0; which < TRevRunZone::ezsCount; ++which) {
        SetBoxes[size_t(which)]->ShowSet(zone.Set(TRevRunZone::EZoneSet(which)));
        connect(SetBoxes[size_t(which)]->DefineBtn, &QPushButton::clicked, this, [this, which] { DefineClick(which); });
    }

    auto* grid = new QGridLayout;
    AddLabelled(grid, QStringLiteral("Zone Name"), NameEdit, 0);
    AddLabelled(grid, QStringLiteral("Description"), DescriptionEdit, 1, 0, 2);
    grid->addWidget(SetBoxes[TRevRunZone::ezsWestEast], 2, 0, 1, 2);
    grid->addWidget(SetBoxes[TRevRunZone::ezsEastWest], 2, 2);
    grid->addWidget(SetBoxes[TRevRunZone::ezsFreeze], 3, 0, 1, 2);
    grid->addWidget(SetBoxes[TRevRunZone::ezsShunt], 3, 2);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(2, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(ButtonRow());
}

void TRevZoneEditForm::DefineClick(int which)
{
    TEditConditionsForm conditions(this, Zone.Set(TRevRunZone::EZoneSet(which)));
    conditions.Execute();
    SetBoxes[size_t(which)]->ShowSet(Zone.Set(TRevRunZone::EZoneSet(which)));
}

void TRevZoneEditForm::WriteBack()
{
    StoreModelText(*NameEdit, Zone.Name);
    StoreModelText(*DescriptionEdit, Zone.Description);
}

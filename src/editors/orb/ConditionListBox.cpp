#include "editors/orb/ConditionListBox.h"

#include "boards/orb/Condition.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

TConditionListBox::TConditionListBox(const QString& title, const QString& name, int shownPlaces, QWidget* parent)
    : QGroupBox(title, parent)
{
    List = new QListWidget(this);
    List->setObjectName(QStringLiteral("List") + name);
    List->setSelectionMode(QAbstractItemView::NoSelection);
    List->setFocusPolicy(Qt::NoFocus);
    List->setMinimumWidth(260);
    const int rowHeight = std::max(fontMetrics().height() + 2, List->sizeHintForRow(0));
    List->setFixedHeight(shownPlaces * rowHeight + 2 * List->frameWidth() + 4);

    DefineBtn = new QPushButton(QStringLiteral("Define"), this);
    DefineBtn->setObjectName(QStringLiteral("Define") + name);
    LearnBtn = new QPushButton(QStringLiteral("Learn"), this);
    LearnBtn->setObjectName(QStringLiteral("Learn") + name);
    LearnBtn->setEnabled(false);

    auto* buttons = new QVBoxLayout;
    buttons->addWidget(DefineBtn);
    buttons->addWidget(LearnBtn);
    buttons->addStretch(1);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(List, 1);
    layout->addLayout(buttons);
}

void TConditionListBox::ShowSet(const TConditionSet& set)
{
    List->clear();
    for (uint32_t place = 0; place < set.Count(); ++place)
        List->addItem(QString::fromStdString(set.ConditionAt(place).Text()));
}

void TConditionListBox::ShowNotApplicable()
{
    List->clear();
    List->addItem(QStringLiteral("N/A"));
}

#include "editors/qxp6/QXP6ConditionListBox.h"

#include "boards/qxp6/QXP6ConditionSet.h"
#include "widgets/ListFill.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>

TQXP6ConditionListBox::TQXP6ConditionListBox(const QString& title, const char* listName, const char* buttonName,
                                             QWidget* parent)
    : QGroupBox(title, parent)
{
    List = new QListWidget(this);
    List->setObjectName(QLatin1String(listName));
    List->setMinimumWidth(300);
    DefineBtn = new QPushButton(QStringLiteral("Define"), this);
    DefineBtn->setObjectName(QLatin1String(buttonName));
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(List, 1);
    layout->addWidget(DefineBtn, 0, Qt::AlignTop);
}

void TQXP6ConditionListBox::ShowSet(const TQXP6ConditionSet& set)
{
    QStringList lines;
    for (int i = 0; i < set.Count(); ++i) lines << QString::fromStdString(set.ConditionAt(i).Text());
    SetListLines(*List, lines);
    SetShownLines(*List, set.Count());
}

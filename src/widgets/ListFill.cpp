#include "widgets/ListFill.h"

#include <QListWidget>
#include <QScrollBar>

void SetListLines(QListWidget& list, const QStringList& lines)
{
    const int row = list.currentRow();
    const int scroll = list.verticalScrollBar()->value();
    const int count = int(lines.size());
    const bool sameCount = list.count() == count;
    // Lines that are already there only change their text, so the view has nothing to redo.
    while (list.count() > count) delete list.takeItem(list.count() - 1);
    for (int i = 0; i < count; ++i) {
        if (i < list.count())
            list.item(i)->setText(lines[i]);
        else
            list.addItem(lines[i]);
    }
    if (row >= 0 && row < list.count() && list.currentRow() != row) list.setCurrentRow(row);
    if (sameCount) return;
    // New or removed lines: lay the list out now, so that the old position can be restored.
    list.doItemsLayout();
    list.verticalScrollBar()->setValue(scroll);
}

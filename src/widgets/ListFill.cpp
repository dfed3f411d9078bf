#include "widgets/ListFill.h"

#include <QListWidget>
#include <QScrollBar>
#include <QStyle>

#include <algorithm>

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

void SetShownLines(QListWidget& list, int lines)
{
    const int row = std::max(list.fontMetrics().height() + 2, list.count() > 0 ? list.sizeHintForRow(0) : 0);
    const int scrollBar = list.horizontalScrollBarPolicy() == Qt::ScrollBarAlwaysOff
                              ? 0
                              : list.style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, &list);
    list.setFixedHeight(row * lines + 2 * list.frameWidth() + 4 + scrollBar);
}

QStringList ListLines(const QListWidget& list)
{
    QStringList lines;
    for (int i = 0; i < list.count(); ++i) lines << list.item(i)->text();
    return lines;
}

int SelectedRow(const QListWidget& list)
{
    const QList<QListWidgetItem*> selected = list.selectedItems();
    return selected.isEmpty() ? -1 : list.row(selected.constFirst());
}

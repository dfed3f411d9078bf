#pragma once
// Refilling a list box after an edit without making it jump: the selected line and the line at
// the top of the view stay where they were. Sizing a list box to a number of lines, and reading
// its lines and its selection.

#include <QStringList>

class QListWidget;

// Puts `lines` into the list in place of the lines it shows. The current line stays selected
// (when the list is still that long) and the view keeps its scroll position.
void SetListLines(QListWidget& list, const QStringList& lines);

// Makes the list exactly tall enough to show `lines` lines, with room for a horizontal scroll bar
// so that a long line never hides the last one.
void SetShownLines(QListWidget& list, int lines);

// The lines of a list box, top to bottom.
QStringList ListLines(const QListWidget& list);
// The selected line of a single-selection list box, or -1.
int SelectedRow(const QListWidget& list);

#pragma once
// Draws list lines whose columns are separated by tab characters, each column at a tab stop (tab
// stops are given in dialog units: a quarter of the average letter width of the list's font), and
// places headings over those columns. A column starts at the first tab stop at least a blank past
// the widest text of the column before it in any line (and past its heading), so that the columns
// of all lines line up and no text runs into the next column.

#include <QList>
#include <QListWidget>
#include <QPointer>
#include <QStyledItemDelegate>
#include <QWidget>

class QLabel;

class TTabStopDelegate : public QStyledItemDelegate {
public:
    TTabStopDelegate(int dialogUnits, QWidget* list);

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    // The distance between tab stops, in pixels of the list's font.
    qreal TabStopDistance() const;
    // Where the text of a line starts, in pixels from the left of the list's viewport.
    int TextLeft() const;
    // Where each column starts, in tab stops from the start of the line (column 0 at 0).
    QList<int> ColumnStops() const;
    // The least room each column takes (its heading's width, in pixels), whatever its lines hold.
    void SetLeastWidths(const QList<int>& widths);

private:
    // The list's lines changed: the columns are measured again when next needed.
    void LinesChanged() { Measured = false; }

    int DialogUnits;
    QWidget* List;
    QList<int> LeastWidths;
    mutable QList<int> Stops;
    mutable qreal StopsDistance = 0;
    mutable bool Measured = false;
};

// A row of headings over a list drawn by TTabStopDelegate, one heading a column. Each heading
// stands at the tab stop where its column starts in the list's lines, and never runs into the
// heading before it. Put it directly above the list, with the same left edge.
class TTabStopHeadings : public QWidget {
public:
    // Takes the labels over as its children.
    TTabStopHeadings(QListWidget* list, TTabStopDelegate* delegate, const QList<QLabel*>& labels, QWidget* parent);

    // Moves the headings to their columns; runs whenever the list's lines change.
    void Arrange();
    // The tab stop (0: the start of the line) at which each heading stands.
    QList<int> HeadingStops() const { return Stops; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QPointer<QListWidget> List;
    TTabStopDelegate* Delegate;
    QList<QLabel*> Labels;
    QList<int> Stops;
};

#pragma once
// Draws list lines whose columns are separated by tab characters at fixed tab stops, given in
// dialog units (a quarter of the average letter width of the list's font).

#include <QStyledItemDelegate>

class QWidget;

class TTabStopDelegate : public QStyledItemDelegate {
public:
    TTabStopDelegate(int dialogUnits, QWidget* list);

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    // The distance between tab stops, in pixels of the list's font.
    qreal TabStopDistance() const;

private:
    int DialogUnits;
    QWidget* List;
};

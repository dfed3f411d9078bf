#include "editors/TabStopDelegate.h"

#include <QApplication>
#include <QPainter>
#include <QStyle>
#include <QTextOption>
#include <QWidget>

TTabStopDelegate::TTabStopDelegate(int dialogUnits, QWidget* list)
    : QStyledItemDelegate(list), DialogUnits(dialogUnits), List(list)
{}

qreal TTabStopDelegate::TabStopDistance() const
{
    // The average character width of dialog units: the mean width of the 52 letters, rounded,
    // the way list tab stops have always been measured. A font's own average width is often
    // narrower, which would crowd a word such as "Diverging" past its tab stop.
    const int letters =
        List->fontMetrics().horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    const int averageWidth = (letters / 26 + 1) / 2;
    return qreal(averageWidth) * DialogUnits / 4.0;
}

void TTabStopDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    QStyleOptionViewItem opt(option);
    initStyleOption(&opt, index);
    const QString text = opt.text;
    opt.text.clear();
    QStyle* style = opt.widget ? opt.widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, opt.widget);

    const QRect rect = style->subElementRect(QStyle::SE_ItemViewItemText, &opt, opt.widget);
    QTextOption textOption(Qt::AlignLeft | Qt::AlignVCenter);
    textOption.setWrapMode(QTextOption::NoWrap);
    textOption.setTabStopDistance(TabStopDistance());
    painter->save();
    painter->setPen(opt.palette.color(QPalette::Normal, (opt.state & QStyle::State_Selected) ? QPalette::HighlightedText
                                                                                             : QPalette::Text));
    painter->drawText(QRectF(rect), text, textOption);
    painter->restore();
}

#include "widgets/TabStopDelegate.h"

#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QStyle>
#include <QTextOption>
#include <QWidget>

#include <algorithm>
#include <cmath>

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

int TTabStopDelegate::TextLeft() const
{
    // The text rectangle of a plain line, as the style lays it out for paint().
    QStyleOptionViewItem opt;
    opt.initFrom(List);
    opt.rect = QRect(0, 0, 400, List->fontMetrics().height() + 4);
    opt.features = QStyleOptionViewItem::HasDisplay;
    opt.text = QStringLiteral("x");
    opt.widget = List;
    return List->style()->subElementRect(QStyle::SE_ItemViewItemText, &opt, List).left();
}

// --- headings -------------------------------------------------------------------------------

namespace {

// The first tab stop past `x` pixels, as a tab character moves there.
int NextStop(qreal x, qreal distance)
{
    return int(std::floor(x / distance)) + 1;
}

} // namespace

TTabStopHeadings::TTabStopHeadings(QListWidget* list, int dialogUnits, const QStringList& headings, QWidget* parent)
    : QWidget(parent), List(list), Delegate(new TTabStopDelegate(dialogUnits, list))
{
    List->setItemDelegate(Delegate);
    for (const QString& heading : headings) HeadingLabels << new QLabel(heading, this);
    // The headings move once the list's lines have changed (queued: the list may be on its way
    // out when its model announces its last change).
    QAbstractItemModel* model = List->model();
    const auto later = [this] { QMetaObject::invokeMethod(this, &TTabStopHeadings::Arrange, Qt::QueuedConnection); };
    for (auto signal : {&QAbstractItemModel::rowsInserted, &QAbstractItemModel::rowsRemoved})
        connect(model, signal, this, later);
    connect(model, &QAbstractItemModel::modelReset, this, later);
    connect(model, &QAbstractItemModel::dataChanged, this, later);
}

QSize TTabStopHeadings::sizeHint() const
{
    int height = 0;
    for (const QLabel* label : HeadingLabels) height = std::max(height, label->sizeHint().height());
    return {0, height};
}

void TTabStopHeadings::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    Arrange();
}

void TTabStopHeadings::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    Arrange();
}

void TTabStopHeadings::Arrange()
{
    if (!List) return;
    const qreal distance = Delegate->TabStopDistance();
    if (distance <= 0) return;
    // Where each column starts in the list's lines: a tab moves to the first stop past the text.
    QList<int> columnStops(HeadingLabels.size(), 0);
    const QFontMetrics listMetrics = List->fontMetrics();
    for (int row = 0; row < List->count(); ++row) {
        const QStringList fields = List->item(row)->text().split(QLatin1Char('\t'));
        int stop = 0;
        for (int column = 1; column < fields.size() && column < HeadingLabels.size(); ++column) {
            stop = NextStop(stop * distance + listMetrics.horizontalAdvance(fields[column - 1]), distance);
            columnStops[column] = std::max(columnStops[column], stop);
        }
    }
    // A heading never runs into the one before it: at least a blank stands between them.
    const int blank = fontMetrics().horizontalAdvance(QLatin1Char(' '));
    Stops.clear();
    const int left =
        List->viewport()->mapTo(window(), QPoint(0, 0)).x() - mapTo(window(), QPoint(0, 0)).x() + Delegate->TextLeft();
    for (int column = 0; column < HeadingLabels.size(); ++column) {
        int stop = columnStops[column];
        if (column > 0) {
            const QLabel* before = HeadingLabels[column - 1];
            stop = std::max(stop, NextStop(Stops.last() * distance + before->sizeHint().width() + blank, distance));
        }
        Stops.append(stop);
        QLabel* label = HeadingLabels[column];
        const int x = left + int(std::lround(stop * distance));
        label->setGeometry(x, 0, label->sizeHint().width(), height() > 0 ? height() : label->sizeHint().height());
    }
}

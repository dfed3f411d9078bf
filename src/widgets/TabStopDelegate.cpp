#include "widgets/TabStopDelegate.h"

#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QStyle>
#include <QWidget>

#include <algorithm>
#include <cmath>

TTabStopDelegate::TTabStopDelegate(int dialogUnits, QWidget* list)
    : QStyledItemDelegate(list), DialogUnits(dialogUnits), List(list)
{
    // The columns are measured again whenever the lines change.
    if (const auto* view = qobject_cast<const QAbstractItemView*>(list); view && view->model()) {
        QAbstractItemModel* model = view->model();
        for (auto signal : {&QAbstractItemModel::rowsInserted, &QAbstractItemModel::rowsRemoved})
            connect(model, signal, this, &TTabStopDelegate::LinesChanged);
        connect(model, &QAbstractItemModel::modelReset, this, &TTabStopDelegate::LinesChanged);
        connect(model, &QAbstractItemModel::dataChanged, this, &TTabStopDelegate::LinesChanged);
    }
}

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

void TTabStopDelegate::SetLeastWidths(const QList<int>& widths)
{
    if (widths == LeastWidths) return;
    LeastWidths = widths;
    Measured = false;
    if (auto* view = qobject_cast<QAbstractItemView*>(List)) view->viewport()->update();
}

QList<int> TTabStopDelegate::ColumnStops() const
{
    const qreal distance = TabStopDistance();
    if (Measured && distance == StopsDistance) return Stops;
    // The widest text of each column but the last, whose width moves nothing.
    QList<int> widest = LeastWidths;
    const QFontMetrics metrics = List->fontMetrics();
    const auto* view = qobject_cast<const QAbstractItemView*>(List);
    if (const QAbstractItemModel* model = view ? view->model() : nullptr) {
        for (int row = 0; row < model->rowCount(); ++row) {
            const QStringList fields = model->index(row, 0).data().toString().split(QLatin1Char('\t'));
            if (widest.size() < fields.size()) widest.resize(fields.size(), 0);
            for (qsizetype column = 0; column + 1 < fields.size(); ++column)
                widest[column] = std::max(widest[column], metrics.horizontalAdvance(fields[column]));
        }
    }
    const int blank = metrics.horizontalAdvance(QLatin1Char(' '));
    Stops = {0};
    for (qsizetype column = 0; column + 1 < widest.size(); ++column) {
        const qreal end = Stops.last() * distance + widest[column] + blank;
        Stops << std::max(Stops.last() + 1, int(std::ceil(end / distance - 1e-9)));
    }
    StopsDistance = distance;
    Measured = true;
    return Stops;
}

void TTabStopDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    QStyleOptionViewItem opt(option);
    initStyleOption(&opt, index);
    const QStringList fields = opt.text.split(QLatin1Char('\t'));
    opt.text.clear();
    QStyle* style = opt.widget ? opt.widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, opt.widget);

    const QRect rect = style->subElementRect(QStyle::SE_ItemViewItemText, &opt, opt.widget);
    const QList<int> stops = ColumnStops();
    const qreal distance = TabStopDistance();
    painter->save();
    painter->setClipRect(rect);
    painter->setPen(opt.palette.color(QPalette::Normal, (opt.state & QStyle::State_Selected) ? QPalette::HighlightedText
                                                                                             : QPalette::Text));
    for (qsizetype column = 0; column < fields.size(); ++column) {
        const qreal left = rect.left() + stops.value(column, stops.last() + int(column - stops.size() + 1)) * distance;
        painter->drawText(QRectF(left, rect.top(), std::max<qreal>(0, rect.right() + 1 - left), rect.height()),
                          Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, fields[column]);
    }
    painter->restore();
}

QSize TTabStopDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    const QStringList fields = index.data().toString().split(QLatin1Char('\t'));
    const QList<int> stops = ColumnStops();
    const qsizetype last = fields.size() - 1;
    const qreal start = stops.value(last, stops.last()) * TabStopDistance();
    // As wide as the line drawn in its columns, with the margins the style gives a text.
    size.setWidth(2 * TextLeft() + int(std::ceil(start)) + List->fontMetrics().horizontalAdvance(fields[last]));
    return size;
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

TTabStopHeadings::TTabStopHeadings(QListWidget* list, TTabStopDelegate* delegate, const QList<QLabel*>& labels,
                                   QWidget* parent)
    : QWidget(parent), List(list), Delegate(delegate), Labels(labels)
{
    for (QLabel* label : Labels) label->setParent(this);
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
    for (const QLabel* label : Labels) height = std::max(height, label->sizeHint().height());
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
    // Each heading stands where its column starts; a column is never narrower than its heading
    // and a blank, so that no heading runs into the next.
    QList<int> widths;
    for (const QLabel* label : Labels) widths << label->sizeHint().width();
    Delegate->SetLeastWidths(widths);
    const QList<int> columns = Delegate->ColumnStops();
    Stops.clear();
    const int left =
        List->viewport()->mapTo(window(), QPoint(0, 0)).x() - mapTo(window(), QPoint(0, 0)).x() + Delegate->TextLeft();
    for (qsizetype column = 0; column < Labels.size(); ++column) {
        const int stop = columns.value(column, 0);
        Stops.append(stop);
        QLabel* label = Labels[column];
        const int x = left + int(std::lround(stop * distance));
        label->setGeometry(x, 0, label->sizeHint().width(), height() > 0 ? height() : label->sizeHint().height());
    }
}

#include "widgets/LineList.h"

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>

#include <algorithm>
#include <limits>

namespace {

int FloorDiv(int a, int b)
{
    return a >= 0 ? a / b : -((-a + b - 1) / b);
}

} // namespace

TLineListModel::TLineListModel(QObject* parent) : QAbstractListModel(parent) {}

int TLineListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(Shown);
}

QVariant TLineListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() < 0 || static_cast<std::size_t>(index.row()) >= Shown) return {};
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole) return {};
    const std::string line = Line(Rows[static_cast<std::size_t>(index.row())]);
    return QString::fromUtf8(line.data(), static_cast<qsizetype>(line.size()));
}

bool TLineListModel::Accepts(std::size_t) const
{
    return true;
}

void TLineListModel::LineAdded(std::size_t line)
{
    // A model row is an int; lines beyond that are kept (and counted) but not shown.
    if (line < static_cast<std::size_t>(std::numeric_limits<int>::max()) && Accepts(line))
        Rows.push_back(static_cast<uint32_t>(line));
    if (!BatchOpen) {
        BatchOpen = true;
        emit LinesWaiting();
    }
}

int TLineListModel::RowOfLine(std::size_t line) const
{
    auto it = std::lower_bound(Rows.begin(), Rows.end(), line);
    if (it == Rows.end() || *it != line) return -1;
    return static_cast<int>(it - Rows.begin());
}

int TLineListModel::Flush(bool showRows)
{
    BatchOpen = false;
    if (!showRows || Shown >= Rows.size()) return 0;
    const int first = static_cast<int>(Shown);
    beginInsertRows(QModelIndex(), first, static_cast<int>(Rows.size() - 1));
    Shown = Rows.size();
    endInsertRows();
    return static_cast<int>(Shown) - first;
}

void TLineListModel::Refilter()
{
    beginResetModel();
    std::vector<uint32_t>().swap(Rows);
    const std::size_t lines = std::min(LineCount(), static_cast<std::size_t>(std::numeric_limits<int>::max()));
    for (std::size_t i = 0; i < lines; ++i)
        if (Accepts(i)) Rows.push_back(static_cast<uint32_t>(i));
    Shown = Rows.size();
    BatchOpen = false;
    endResetModel();
}

void TLineListModel::Clear()
{
    beginResetModel();
    ClearLines();
    std::vector<uint32_t>().swap(Rows);
    Shown = 0;
    BatchOpen = false;
    endResetModel();
}

bool TLineListModel::SaveToFile(const QString& fileName, QString* error) const
{
    QFile file(fileName);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        if (error) *error = file.errorString();
        return false;
    }
    std::string chunk;
    chunk.reserve(1 << 16);
    bool ok = true;
    for (std::size_t row = 0; row < Rows.size() && ok; ++row) {
        chunk += Line(Rows[row]);
        chunk += "\r\n";
        if (chunk.size() >= (1 << 16) - 512) {
            ok = file.write(chunk.data(), static_cast<qint64>(chunk.size())) == static_cast<qint64>(chunk.size());
            chunk.clear();
        }
    }
    if (ok && !chunk.empty())
        ok = file.write(chunk.data(), static_cast<qint64>(chunk.size())) == static_cast<qint64>(chunk.size());
    if (ok) ok = file.flush();
    if (!ok && error) *error = file.errorString();
    return ok;
}

int TLineListModel::FindRow(const QString& text, int from, bool backward, bool* wrapped) const
{
    if (wrapped) *wrapped = false;
    const int rows = rowCount();
    if (rows == 0 || text.isEmpty()) return -1;
    const int step = backward ? -1 : 1;
    int row = std::clamp(from, -1, rows);
    for (int n = 0; n < rows; ++n) {
        row += step;
        if (row < 0 || row >= rows) {
            row = backward ? rows - 1 : 0;
            if (wrapped) *wrapped = true;
        }
        const std::string line = Line(Rows[static_cast<std::size_t>(row)]);
        if (QString::fromUtf8(line.data(), static_cast<qsizetype>(line.size())).contains(text, Qt::CaseInsensitive))
            return row;
    }
    return -1;
}

bool GlyphsHaveOneWidth(const QFont& font)
{
    const QFontMetricsF metrics(font);
    const qreal width = metrics.horizontalAdvance(QLatin1Char('M'));
    if (width <= 0) return false;
    const QString sample = QStringLiteral("iIl1.,:;|!mMwW@#0O _-=");
    for (QChar c : sample)
        if (std::abs(metrics.horizontalAdvance(c) - width) > 0.01) return false;
    // Whole runs too, so that no pair of glyphs is kerned.
    return std::abs(metrics.horizontalAdvance(QStringLiteral("iiiiiiiiii")) -
                    metrics.horizontalAdvance(QStringLiteral("WWWWWWWWWW"))) < 0.01;
}

QFont FixedPitchFont()
{
    QFont preferred(QStringLiteral("Courier New"));
    preferred.setStyleHint(QFont::TypeWriter);
    if (GlyphsHaveOneWidth(preferred)) return preferred;
    QFont system = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    system.setPointSizeF(QFontInfo(preferred).pointSizeF());
    if (GlyphsHaveOneWidth(system)) return system;
    QStringList families = {QStringLiteral("DejaVu Sans Mono"), QStringLiteral("Liberation Mono"),
                            QStringLiteral("Noto Sans Mono"), QStringLiteral("Nimbus Mono PS")};
    families += QFontDatabase::families();
    for (const QString& family : families) {
        if (!QFontDatabase::hasFamily(family)) continue;
        QFont font(family);
        font.setPointSizeF(QFontInfo(preferred).pointSizeF());
        if (GlyphsHaveOneWidth(font)) return font;
    }
    return preferred;
}

TLineListView::TLineListView(QWidget* parent) : QAbstractItemView(parent), FlushTimer(new QTimer(this))
{
    // Lines arrive far faster than anyone can read them: the view catches up a few times a second.
    FlushTimer->setSingleShot(true);
    FlushTimer->setInterval(kRefreshMs);
    connect(FlushTimer, &QTimer::timeout, this, &TLineListView::Flush);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    setTextElideMode(Qt::ElideNone);
    setFont(FixedPitchFont());
}

void TLineListView::setModel(QAbstractItemModel* model)
{
    if (Lines) disconnect(Lines, nullptr, this, nullptr);
    Lines = qobject_cast<TLineListModel*>(model);
    QAbstractItemView::setModel(model);
    if (Lines) connect(Lines, &TLineListModel::LinesWaiting, this, &TLineListView::ScheduleFlush);
    ContentWidth = 0;
    updateGeometries();
}

void TLineListView::ScheduleFlush()
{
    if (!FlushTimer->isActive()) FlushTimer->start();
}

void TLineListView::Flush()
{
    FlushTimer->stop();
    if (Lines && Lines->Flush(!IsFrozen) > 0) scrollToBottom();
    emit Flushed();
}

void TLineListView::Clear()
{
    FlushTimer->stop();
    if (Lines) Lines->Clear();
    ContentWidth = 0;
    updateGeometries();
    emit Flushed();
}

bool TLineListView::SaveToFile(const QString& fileName, QString* error) const
{
    if (Lines) return Lines->SaveToFile(fileName, error);
    if (error) *error = QStringLiteral("nothing to save");
    return false;
}

void TLineListView::SetFrozen(bool frozen)
{
    if (IsFrozen == frozen) return;
    IsFrozen = frozen;
    if (!IsFrozen) Flush(); // catches up at once
}

void TLineListView::GoToRow(int row)
{
    if (!model() || row < 0 || row >= model()->rowCount(rootIndex())) return;
    const QModelIndex index = model()->index(row, 0, rootIndex());
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    scrollTo(index, PositionAtCenter);
}

void TLineListView::GoToText(int row, int at, int length)
{
    GoToRow(row);
    if (!model() || row < 0 || row >= model()->rowCount(rootIndex())) return;
    const QString text = model()->index(row, 0, rootIndex()).data().toString();
    const QFontMetrics metrics = fontMetrics();
    // The text stands where the style puts an item's text: a margin in from the row's left edge.
    const int margin = style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1;
    const int left = margin + metrics.horizontalAdvance(text.left(at));
    const int right = left + metrics.horizontalAdvance(text.mid(at, length));
    // The row may be wider than any painted so far: the bar must reach it.
    ContentWidth = std::max(ContentWidth, 2 * margin + metrics.horizontalAdvance(text));
    updateGeometries();
    QScrollBar* bar = horizontalScrollBar();
    const int width = viewport()->width();
    if (right + margin > bar->value() + width) bar->setValue(right + margin - width);
    if (left - margin < bar->value()) bar->setValue(left - margin);
}

QString TLineListView::SelectedText() const
{
    if (!Lines || !selectionModel()) return {};
    std::vector<std::pair<int, int>> ranges;
    for (const QItemSelectionRange& range : selectionModel()->selection())
        ranges.emplace_back(range.top(), range.bottom());
    std::sort(ranges.begin(), ranges.end());
    std::string text;
    int next = 0; // rows before it are copied already
    for (auto [top, bottom] : ranges) {
        for (int row = std::max(top, next); row <= bottom && row < Lines->rowCount(); ++row) {
            text += Lines->Line(Lines->LineOfRow(static_cast<std::size_t>(row)));
            text += '\n';
        }
        next = std::max(next, bottom + 1);
    }
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

void TLineListView::CopySelection()
{
    const QString text = SelectedText();
    if (!text.isEmpty()) QApplication::clipboard()->setText(text);
}

int TLineListView::RowHeight() const
{
    if (CachedRowHeight <= 0) {
        // The height a styled item of one line of text takes in this font, as a list view's rows.
        QStyleOptionViewItem option;
        initViewItemOption(&option);
        option.features |= QStyleOptionViewItem::HasDisplay;
        option.text = QStringLiteral("Xg");
        const QSize size = style()->sizeFromContents(QStyle::CT_ItemViewItem, &option, QSize(), this);
        CachedRowHeight = std::max({size.height(), fontMetrics().height(), 1});
    }
    return CachedRowHeight;
}

int TLineListView::FirstRow() const
{
    return verticalScrollBar()->value();
}

int TLineListView::VisibleRows() const
{
    return std::max(1, viewport()->height() / RowHeight());
}

QRect TLineListView::visualRect(const QModelIndex& index) const
{
    if (!index.isValid() || index.model() != model()) return {};
    // Rows far off screen are placed just beyond its edge: their true place does not fit an int.
    const qint64 offset = static_cast<qint64>(index.row() - FirstRow()) * RowHeight();
    const int y = static_cast<int>(std::clamp<qint64>(offset, -(1 << 30), 1 << 30));
    return QRect(-horizontalOffset(), y, std::max(ContentWidth, viewport()->width()), RowHeight());
}

void TLineListView::scrollTo(const QModelIndex& index, ScrollHint hint)
{
    if (!index.isValid()) return;
    const int row = index.row();
    const int first = FirstRow();
    const int visible = VisibleRows();
    QScrollBar* bar = verticalScrollBar();
    switch (hint) {
    case PositionAtTop: bar->setValue(row); break;
    case PositionAtBottom: bar->setValue(row - visible + 1); break;
    case PositionAtCenter: bar->setValue(row - visible / 2); break;
    case EnsureVisible:
        if (row < first)
            bar->setValue(row);
        else if (row >= first + visible)
            bar->setValue(row - visible + 1);
        break;
    }
}

QModelIndex TLineListView::indexAt(const QPoint& point) const
{
    if (!model() || point.y() < 0) return {};
    const int row = FirstRow() + point.y() / RowHeight();
    if (row >= model()->rowCount(rootIndex())) return {};
    return model()->index(row, 0, rootIndex());
}

QModelIndex TLineListView::moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers)
{
    const int rows = model() ? model()->rowCount(rootIndex()) : 0;
    if (rows == 0) return {};
    const int current = currentIndex().isValid() ? currentIndex().row() : -1;
    int row = current;
    switch (cursorAction) {
    case MoveUp:
    case MovePrevious: row = current - 1; break;
    case MoveDown:
    case MoveNext: row = current + 1; break;
    case MovePageUp: row = current - VisibleRows(); break;
    case MovePageDown: row = current + VisibleRows(); break;
    case MoveHome: row = 0; break;
    case MoveEnd: row = rows - 1; break;
    case MoveLeft:
    case MoveRight: return currentIndex();
    }
    return model()->index(std::clamp(row, 0, rows - 1), 0, rootIndex());
}

int TLineListView::horizontalOffset() const
{
    return horizontalScrollBar()->value();
}

int TLineListView::verticalOffset() const
{
    return static_cast<int>(
        std::min<qint64>(static_cast<qint64>(FirstRow()) * RowHeight(), std::numeric_limits<int>::max()));
}

void TLineListView::setSelection(const QRect& rect, QItemSelectionModel::SelectionFlags command)
{
    const int rows = model() ? model()->rowCount(rootIndex()) : 0;
    if (rows == 0) return;
    const QRect r = rect.normalized();
    const int top = std::clamp(FirstRow() + FloorDiv(r.top(), RowHeight()), 0, rows - 1);
    const int bottom = std::clamp(FirstRow() + FloorDiv(r.bottom(), RowHeight()), 0, rows - 1);
    const QItemSelection selection(model()->index(top, 0, rootIndex()), model()->index(bottom, 0, rootIndex()));
    selectionModel()->select(selection, command);
}

QRegion TLineListView::visualRegionForSelection(const QItemSelection& selection) const
{
    QRegion region;
    const int first = FirstRow();
    const int last = first + VisibleRows();
    for (const QItemSelectionRange& range : selection) {
        const int top = std::max(range.top(), first);
        const int bottom = std::min(range.bottom(), last);
        if (top > bottom) continue;
        region +=
            visualRect(model()->index(top, 0, rootIndex())).united(visualRect(model()->index(bottom, 0, rootIndex())));
    }
    return region;
}

void TLineListView::paintEvent(QPaintEvent* event)
{
    if (!model()) return;
    QPainter painter(viewport());
    const int rows = model()->rowCount(rootIndex());
    const int height = RowHeight();
    const int first = FirstRow() + std::max(0, event->rect().top()) / height;
    const int last = std::min(rows - 1, FirstRow() + event->rect().bottom() / height);
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    const QModelIndex current = currentIndex();
    int widest = ContentWidth;
    for (int row = first; row <= last; ++row) {
        const QModelIndex index = model()->index(row, 0, rootIndex());
        QStyleOptionViewItem item = option;
        item.rect = visualRect(index);
        if (selectionModel() && selectionModel()->isSelected(index)) item.state |= QStyle::State_Selected;
        if (index == current && hasFocus()) item.state |= QStyle::State_HasFocus;
        QAbstractItemDelegate* delegate = itemDelegateForIndex(index);
        delegate->paint(&painter, item, index);
        widest = std::max(widest, delegate->sizeHint(item, index).width());
    }
    if (widest > ContentWidth) {
        // The scroll bar grows to the widest line seen; not from inside painting.
        ContentWidth = widest;
        QMetaObject::invokeMethod(this, &TLineListView::updateGeometries, Qt::QueuedConnection);
    }
}

void TLineListView::updateGeometries()
{
    const int rows = model() ? model()->rowCount(rootIndex()) : 0;
    const int visible = VisibleRows();
    QScrollBar* vertical = verticalScrollBar();
    vertical->setRange(0, std::max(0, rows - visible));
    vertical->setPageStep(visible);
    vertical->setSingleStep(1);
    QScrollBar* horizontal = horizontalScrollBar();
    horizontal->setRange(0, std::max(0, ContentWidth - viewport()->width()));
    horizontal->setPageStep(viewport()->width());
    horizontal->setSingleStep(std::max(1, fontMetrics().averageCharWidth() * 2));
    QAbstractItemView::updateGeometries();
}

void TLineListView::reset()
{
    QAbstractItemView::reset();
    ContentWidth = 0;
    updateGeometries();
    viewport()->update();
}

void TLineListView::scrollContentsBy(int, int)
{
    // The vertical bar counts rows, not pixels: everything is painted again.
    viewport()->update();
}

void TLineListView::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange) {
        CachedRowHeight = 0;
        ContentWidth = 0;
        updateGeometries();
    }
    QAbstractItemView::changeEvent(event);
}

void TLineListView::rowsInserted(const QModelIndex& parent, int start, int end)
{
    QAbstractItemView::rowsInserted(parent, start, end);
    updateGeometries();
    viewport()->update();
}

void TLineListView::dataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight, const QList<int>& roles)
{
    // Lines may have become narrower (a column switched off): measured again as they are painted.
    ContentWidth = 0;
    updateGeometries();
    QAbstractItemView::dataChanged(topLeft, bottomRight, roles);
}

void TLineListView::keyPressEvent(QKeyEvent* event)
{
    if (event == QKeySequence::Copy) {
        CopySelection();
        event->accept();
        return;
    }
    QAbstractItemView::keyPressEvent(event);
}

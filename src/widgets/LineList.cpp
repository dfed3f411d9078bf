#include "widgets/LineList.h"

#include <QFile>
#include <QFontDatabase>
#include <QMetaObject>
#include <QScrollBar>

#include <algorithm>
#include <limits>

TLineListModel::TLineListModel(QObject* parent) : QAbstractListModel(parent) {}

int TLineListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(Shown);
}

QVariant TLineListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() < 0 || static_cast<std::size_t>(index.row()) >= Shown) return {};
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole) return {};
    const std::string_view line = Line(static_cast<std::size_t>(index.row()));
    return QString::fromUtf8(line.data(), static_cast<qsizetype>(line.size()));
}

std::string_view TLineListModel::Line(std::size_t i) const
{
    if (i >= LineCount()) return {};
    return std::string_view(Text).substr(Offsets[i], Offsets[i + 1] - Offsets[i]);
}

void TLineListModel::Append(std::string_view line)
{
    Text.append(line);
    Offsets.push_back(Text.size());
}

int TLineListModel::Flush()
{
    const std::size_t total = LineCount();
    // A model row is an int; lines beyond that stay in the buffer (and are saved) but not shown.
    const std::size_t limit = static_cast<std::size_t>(std::numeric_limits<int>::max());
    const std::size_t target = std::min(total, limit);
    if (target <= Shown) return 0;
    const int first = static_cast<int>(Shown);
    beginInsertRows(QModelIndex(), first, static_cast<int>(target - 1));
    Shown = target;
    endInsertRows();
    return static_cast<int>(target) - first;
}

void TLineListModel::Clear()
{
    beginResetModel();
    std::string().swap(Text);
    std::vector<uint64_t>{0}.swap(Offsets);
    Shown = 0;
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
    for (std::size_t i = 0; i < LineCount() && ok; ++i) {
        chunk.append(Line(i));
        chunk.append("\r\n");
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

std::size_t TLineListModel::MemoryUsed() const
{
    return Text.capacity() + Offsets.capacity() * sizeof(uint64_t);
}

TLineListView::TLineListView(QWidget* parent)
    : QListView(parent), Lines(new TLineListModel(this)), FlushTimer(new QTimer(this))
{
    // Lines arrive far faster than anyone can read them: the view catches up a few times a second.
    FlushTimer->setSingleShot(true);
    FlushTimer->setInterval(kRefreshMs);
    connect(FlushTimer, &QTimer::timeout, this, &TLineListView::Flush);
    setModel(Lines);
    setUniformItemSizes(true);
    setLayoutMode(QListView::Batched);
    setBatchSize(1000);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    QFont font(QStringLiteral("Courier New"));
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    if (!QFontInfo(font).fixedPitch()) font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    setFont(font);
}

void TLineListView::AddLine(std::string_view line)
{
    Lines->Append(line);
    if (!FlushTimer->isActive()) FlushTimer->start();
}

void TLineListView::Flush()
{
    FlushTimer->stop();
    if (Lines->Flush() > 0) scrollToBottom();
    emit Flushed();
}

void TLineListView::Clear()
{
    FlushTimer->stop();
    Lines->Clear();
    emit Flushed();
}

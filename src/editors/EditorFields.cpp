#include "editors/EditorFields.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QStyle>

void FillListLines(QListWidget* list, const QStringList& lines)
{
    const int row = list->currentRow();
    const int scroll = list->verticalScrollBar()->value();
    list->setUpdatesEnabled(false);
    {
        const QSignalBlocker block(list);
        list->clear();
        list->addItems(lines);
        if (row >= 0 && row < list->count()) list->setCurrentRow(row);
    }
    list->verticalScrollBar()->setValue(scroll);
    list->setUpdatesEnabled(true);
}

void FillListLines(QListWidget* list, const std::vector<std::string>& lines)
{
    QStringList texts;
    texts.reserve(static_cast<qsizetype>(lines.size()));
    for (const std::string& line : lines) texts << QString::fromStdString(line);
    FillListLines(list, texts);
}

void SetVisibleLines(QListWidget* list, int lines)
{
    // A row is as tall as the style draws an item of the list's font.
    const int row = list->count() > 0 ? list->sizeHintForRow(0) : list->fontMetrics().height() + 2;
    // Room for a horizontal scroll bar too, so that a long line never hides the last one.
    const int scrollBar = list->horizontalScrollBarPolicy() == Qt::ScrollBarAlwaysOff
                              ? 0
                              : list->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, list);
    list->setFixedHeight(row * lines + 2 * list->frameWidth() + 2 + scrollBar);
}

namespace {
void Store(const QString& text, std::string& field)
{
    if (text != QString::fromStdString(field)) field = text.toStdString();
}
} // namespace

void StoreEditedText(const QLineEdit* edit, std::string& field)
{
    Store(edit->text(), field);
}

void StoreEditedText(const QPlainTextEdit* edit, std::string& field)
{
    Store(edit->toPlainText(), field);
}

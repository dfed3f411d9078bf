#pragma once
// A read-only list of text lines for logs that grow without end (the LocoNet monitor).
// Lines are kept back to back in one byte buffer with an offset table, so a retained line
// costs its text plus eight bytes. Appends are O(1) and collected into one insertion per batch;
// the view shows only the rows on screen, in a fixed-pitch font, and follows the newest line.

#include <QAbstractListModel>
#include <QListView>
#include <QString>
#include <QTimer>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class TLineListModel : public QAbstractListModel {
    Q_OBJECT
public:
    explicit TLineListModel(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

    // Appends a line (UTF-8). Views learn of new lines at the next Flush.
    void Append(std::string_view line);
    // Tells the views about the lines appended since the last flush; returns how many.
    int Flush();
    void Clear();

    // Every line, flushed or not.
    std::size_t LineCount() const { return Offsets.size() - 1; }
    std::string_view Line(std::size_t i) const;
    // Writes every line followed by CR LF; false when the file cannot be written.
    bool SaveToFile(const QString& fileName, QString* error = nullptr) const;
    // Bytes held for the lines (text and offsets).
    std::size_t MemoryUsed() const;

private:
    std::string Text;
    std::vector<uint64_t> Offsets{0};
    std::size_t Shown = 0; // lines the views know of
};

class TLineListView : public QListView {
    Q_OBJECT
public:
    explicit TLineListView(QWidget* parent = nullptr);

    TLineListModel* Model() const { return Lines; }
    // Appends a line; the view shows new lines a few times a second (kRefreshMs), or at Flush.
    void AddLine(std::string_view line);
    // Shows the pending lines at once and moves to the last one.
    void Flush();
    void Clear();
    bool SaveToFile(const QString& fileName, QString* error = nullptr) const
    {
        return Lines->SaveToFile(fileName, error);
    }

    static constexpr int kRefreshMs = 40;

signals:
    // The pending lines have been shown.
    void Flushed();

private:
    TLineListModel* Lines;
    QTimer* FlushTimer;
};

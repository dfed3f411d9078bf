#pragma once
// A read-only list of text lines for logs that grow without end (the LocoNet monitor).
//
// TLineListModel keeps no text itself: a subclass keeps the lines and builds a line's text when
// a view asks for it. The rows are the lines that the subclass's filter lets through; they are
// collected as lines come and announced to the views in one insertion per batch (Flush), and a
// filter change rebuilds them without losing a line.
//
// TLineListView shows the rows in a font whose glyphs all have one width. Every row has the same
// height, so the view places rows by arithmetic: a million rows cost it nothing, and it follows
// the newest row at any count.

#include <QAbstractItemView>
#include <QAbstractListModel>
#include <QString>
#include <QTimer>

#include <cstdint>
#include <string>
#include <vector>

class TLineListModel : public QAbstractListModel {
    Q_OBJECT
public:
    explicit TLineListModel(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

    // Every line kept: shown, waiting for the next flush or hidden by the filter.
    virtual std::size_t LineCount() const = 0;
    // The text of line i (UTF-8) as the rows show it.
    virtual std::string Line(std::size_t i) const = 0;
    // Bytes held for the lines.
    virtual std::size_t MemoryUsed() const = 0;

    // Lines that pass the filter: the rows shown and those waiting for the next flush.
    std::size_t RowLines() const { return Rows.size(); }
    std::size_t LineOfRow(std::size_t row) const { return Rows[row]; }
    // The row that shows line i, or -1.
    int RowOfLine(std::size_t line) const;
    // Tells the views about the rows added since the last flush (unless `showRows` is false: a
    // frozen view) and starts a new batch; returns how many rows were announced.
    int Flush(bool showRows = true);
    bool HasWaitingRows() const { return Shown < Rows.size(); }
    // Rebuilds the rows from every line (after the filter changed); the views are reset.
    void Refilter();
    // Drops every line.
    void Clear();

    // Writes the text of every row (shown or waiting), CR LF after each; false with a reason.
    bool SaveToFile(const QString& fileName, QString* error = nullptr) const;
    // The first shown row after `from` (before it, backwards) whose text holds `text`, ignoring
    // case; the search goes round the end. -1 when no row holds it. `wrapped` tells whether
    // the search went round.
    int FindRow(const QString& text, int from, bool backward, bool* wrapped = nullptr) const;

signals:
    // The first line of a new batch has been kept; a Flush will show it.
    void LinesWaiting();

protected:
    // For subclasses: line i has just been kept.
    void LineAdded(std::size_t line);
    // Whether line i passes the filter.
    virtual bool Accepts(std::size_t line) const;
    // Drops the lines themselves (inside a model reset).
    virtual void ClearLines() = 0;
    // Bytes held for the rows.
    std::size_t RowMemoryUsed() const { return Rows.capacity() * sizeof(uint32_t); }

private:
    std::vector<uint32_t> Rows; // line of each row
    std::size_t Shown = 0; // rows the views know of
    bool BatchOpen = false; // lines kept since the last flush
};

// Whether the font's glyphs really have one width (measured, not as the font describes itself).
bool GlyphsHaveOneWidth(const QFont& font);
// A font for lists of fixed-width columns: "Courier New" when it is there, otherwise the first
// installed monospace family whose glyphs measure one width.
QFont FixedPitchFont();

class TLineListView : public QAbstractItemView {
    Q_OBJECT
public:
    explicit TLineListView(QWidget* parent = nullptr);

    void setModel(QAbstractItemModel* model) override;
    TLineListModel* Model() const { return Lines; }

    // Shows the waiting rows at once and moves to the last one (unless frozen).
    void Flush();
    void Clear();
    bool SaveToFile(const QString& fileName, QString* error = nullptr) const;

    // While frozen the view stands still: rows that arrive wait until it thaws.
    void SetFrozen(bool frozen);
    bool Frozen() const { return IsFrozen; }
    // Makes `row` current and selected, and scrolls to it.
    void GoToRow(int row);
    // The same, and scrolls sideways until the `length` characters of the row's text from `at`
    // are in view (their start first when they are wider than the view).
    void GoToText(int row, int at, int length);
    // The text of the selected rows, one per line, in row order.
    QString SelectedText() const;
    // Puts the selected rows on the clipboard.
    void CopySelection();
    int RowHeight() const;

    QRect visualRect(const QModelIndex& index) const override;
    void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;
    QModelIndex indexAt(const QPoint& point) const override;
    void keyboardSearch(const QString&) override {} // a log is searched with Find
    void reset() override;

    static constexpr int kRefreshMs = 40;

signals:
    // The waiting rows have been shown (or held while frozen).
    void Flushed();

protected:
    QModelIndex moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers) override;
    int horizontalOffset() const override;
    int verticalOffset() const override;
    bool isIndexHidden(const QModelIndex&) const override { return false; }
    void setSelection(const QRect& rect, QItemSelectionModel::SelectionFlags command) override;
    QRegion visualRegionForSelection(const QItemSelection& selection) const override;
    void paintEvent(QPaintEvent* event) override;
    void updateGeometries() override;
    void scrollContentsBy(int dx, int dy) override;
    void changeEvent(QEvent* event) override;
    void rowsInserted(const QModelIndex& parent, int start, int end) override;
    void dataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight,
                     const QList<int>& roles = QList<int>()) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void ScheduleFlush();
    int FirstRow() const;
    int VisibleRows() const;

    TLineListModel* Lines = nullptr;
    QTimer* FlushTimer;
    bool IsFrozen = false;
    mutable int CachedRowHeight = 0;
    int ContentWidth = 0; // the widest row painted so far
};

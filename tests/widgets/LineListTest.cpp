#include "widgets/LineList.h"

#include <QAbstractItemModelTester>
#include <QClipboard>
#include <QFile>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <functional>

namespace {

// Lines of text; a predicate stands for the filter.
class TTextLines : public TLineListModel {
public:
    void Append(std::string line)
    {
        Lines.push_back(std::move(line));
        LineAdded(Lines.size() - 1);
    }
    std::size_t LineCount() const override { return Lines.size(); }
    std::string Line(std::size_t i) const override { return Lines[i]; }
    std::size_t MemoryUsed() const override { return 0; }
    std::function<bool(const std::string&)> Shows;

protected:
    bool Accepts(std::size_t i) const override { return !Shows || Shows(Lines[i]); }
    void ClearLines() override { Lines.clear(); }

private:
    std::vector<std::string> Lines;
};

// A view on its own model, shown offscreen.
struct TShownList {
    TLineListView view;
    TTextLines lines;
    explicit TShownList(int height = 120)
    {
        view.setModel(&lines);
        view.resize(300, height);
        view.show();
    }
    bool LastRowInView()
    {
        QCoreApplication::processEvents();
        const QModelIndex last = lines.index(lines.rowCount() - 1);
        return view.viewport()->rect().contains(view.visualRect(last));
    }
};

} // namespace

class LineListTest : public QObject {
    Q_OBJECT
private slots:
    void LinesAreShownOncePerBatch()
    {
        TShownList list;
        QSignalSpy inserted(&list.lines, &QAbstractItemModel::rowsInserted);
        list.lines.Append("first");
        list.lines.Append("second");
        list.lines.Append("");
        QCOMPARE(list.lines.LineCount(), std::size_t(3));
        QCOMPARE(list.lines.rowCount(), 0); // not yet shown
        QTRY_COMPARE(list.lines.rowCount(), 3);
        QCOMPARE(inserted.count(), 1);
        QCOMPARE(list.lines.data(list.lines.index(1)).toString(), QStringLiteral("second"));
        QCOMPARE(list.lines.data(list.lines.index(2)).toString(), QString());
        QVERIFY(!list.lines.data(list.lines.index(3)).isValid());
        list.lines.Append("fourth");
        list.view.Flush();
        QCOMPARE(inserted.count(), 2);
        QCOMPARE(list.lines.rowCount(), 4);
        QCOMPARE(list.lines.Line(3), std::string("fourth"));
    }

    // The view once stopped following after about a thousand lines: it must follow at any count.
    void NewestLineStaysInViewAtThousandsOfLines()
    {
        TShownList list;
        for (int batch = 0; batch < 40; ++batch) {
            for (int i = 0; i < 150; ++i) list.lines.Append("line " + std::to_string(batch * 150 + i));
            list.view.Flush();
            QVERIFY2(list.LastRowInView(), qPrintable(QStringLiteral("batch %1").arg(batch)));
        }
        QCOMPARE(list.lines.rowCount(), 6000);
        QCOMPARE(list.view.indexAt(list.view.visualRect(list.lines.index(5999)).center()).row(), 5999);
    }

    void FrozenViewStandsStillThenCatchesUp()
    {
        TShownList list;
        for (int i = 0; i < 100; ++i) list.lines.Append(std::to_string(i));
        list.view.Flush();
        list.view.SetFrozen(true);
        const int value = list.view.verticalScrollBar()->value();
        QSignalSpy flushed(&list.view, &TLineListView::Flushed);
        for (int i = 100; i < 200; ++i) list.lines.Append(std::to_string(i));
        QTRY_COMPARE(flushed.count(), 1); // the batch ends (the count is shown) ...
        QCOMPARE(list.lines.rowCount(), 100); // ... but the rows wait
        QCOMPARE(list.view.verticalScrollBar()->value(), value);
        list.view.SetFrozen(false);
        QCOMPARE(list.lines.rowCount(), 200);
        QVERIFY(list.LastRowInView());
    }

    void FilterHidesWithoutLosing()
    {
        TTextLines lines;
        QAbstractItemModelTester tester(&lines, QAbstractItemModelTester::FailureReportingMode::QtTest);
        for (const char* s : {"a1", "b2", "a3", "b4"}) lines.Append(s);
        lines.Flush();
        lines.Shows = [](const std::string& s) { return s[0] == 'b'; };
        lines.Refilter();
        QCOMPARE(lines.rowCount(), 2);
        QCOMPARE(lines.LineOfRow(1), std::size_t(3));
        QCOMPARE(lines.RowOfLine(3), 1);
        QCOMPARE(lines.RowOfLine(2), -1);
        lines.Append("a5"); // filtered out as it comes
        lines.Append("b6");
        QCOMPARE(lines.Flush(), 1);
        lines.Shows = nullptr;
        lines.Refilter();
        QCOMPARE(lines.rowCount(), 6);
        QCOMPARE(lines.data(lines.index(4)).toString(), QStringLiteral("a5"));
        lines.Clear();
        QCOMPARE(lines.rowCount(), 0);
        QCOMPARE(lines.LineCount(), std::size_t(0));
    }

    void FindGoesRoundTheEndIgnoringCase()
    {
        TTextLines lines;
        for (const char* s : {"Sensor 1", "switch", "SENSOR 2", "power"}) lines.Append(s);
        lines.Flush();
        bool wrapped = true;
        QCOMPARE(lines.FindRow(QStringLiteral("sensor"), -1, false, &wrapped), 0);
        QVERIFY(!wrapped);
        QCOMPARE(lines.FindRow(QStringLiteral("sensor"), 0, false, &wrapped), 2);
        QCOMPARE(lines.FindRow(QStringLiteral("sensor"), 2, false, &wrapped), 0);
        QVERIFY(wrapped);
        QCOMPARE(lines.FindRow(QStringLiteral("sensor"), 0, true, &wrapped), 2);
        QVERIFY(wrapped);
        QCOMPARE(lines.FindRow(QStringLiteral("POWER"), 3, false, &wrapped), 3); // the only one, found again
        QCOMPARE(lines.FindRow(QStringLiteral("train"), 0, false), -1);
        QCOMPARE(lines.FindRow(QString(), 0, false), -1);
    }

    void CopyTakesSelectedRowsInOrder()
    {
        TShownList list;
        for (const char* s : {"zero", "one", "two", "three"}) list.lines.Append(s);
        list.view.Flush();
        QItemSelection selection(list.lines.index(3), list.lines.index(3));
        selection.select(list.lines.index(0), list.lines.index(1));
        list.view.selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
        QCOMPARE(list.view.SelectedText(), QStringLiteral("zero\none\nthree\n"));
        list.view.selectAll();
        list.view.CopySelection();
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("zero\none\ntwo\nthree\n"));
    }

    void SaveWritesTheRowsAndEmptyListGivesEmptyFile()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("log.txt"));
        TShownList list;
        QVERIFY(list.view.SaveToFile(path));
        QFile empty(path);
        QVERIFY(empty.exists());
        QCOMPARE(empty.size(), 0);

        list.lines.Append("a b");
        list.lines.Append("hidden");
        list.lines.Append("c"); // not flushed yet: still saved
        list.lines.Shows = [](const std::string& s) { return s != "hidden"; };
        list.lines.Refilter();
        QVERIFY(list.view.SaveToFile(path));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("a b\r\nc\r\n"));
        file.close();

        // An existing longer file is replaced, not overwritten in place.
        list.view.Clear();
        list.lines.Append("z");
        QVERIFY(list.view.SaveToFile(path));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("z\r\n"));

        QString error;
        QVERIFY(!list.view.SaveToFile(dir.filePath(QStringLiteral("no/such/dir/log.txt")), &error));
        QVERIFY(!error.isEmpty());
    }

    // Measured, never taken from the font's own description (which some installed fonts get wrong).
    void FontGlyphsHaveOneWidth()
    {
        bool anyFixed = false;
        for (const QString& family : QFontDatabase::families())
            anyFixed = anyFixed || GlyphsHaveOneWidth(QFont(family));
        if (!anyFixed) QSKIP("no installed font has glyphs of one width");
        TLineListView view;
        const QFontMetricsF metrics(view.font());
        const qreal width = metrics.horizontalAdvance(QStringLiteral("MMMMMMMMMM"));
        for (const QString& run :
             {QStringLiteral("iiiiiiiiii"), QStringLiteral("0123456789"), QStringLiteral("., :;|!-_ "),
              QStringLiteral("WWWWWWWWWW"), QStringLiteral("llllllllll")})
            QCOMPARE(metrics.horizontalAdvance(run), width);
    }

    void GlyphWidthCheckTellsProportionalFonts()
    {
        for (const QString& family : QFontDatabase::families()) {
            const QFontMetricsF metrics{QFont(family)};
            if (metrics.horizontalAdvance(QLatin1Char('i')) < metrics.horizontalAdvance(QLatin1Char('W')) - 0.5) {
                QVERIFY2(!GlyphsHaveOneWidth(QFont(family)), qPrintable(family));
                return;
            }
        }
        QSKIP("no proportional font installed");
    }
};

QTEST_MAIN(LineListTest)
#include "LineListTest.moc"

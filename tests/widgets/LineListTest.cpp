#include "widgets/LineList.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

class LineListTest : public QObject {
    Q_OBJECT
private slots:
    void LinesAreShownOncePerBatch()
    {
        TLineListView view;
        QSignalSpy inserted(view.Model(), &QAbstractItemModel::rowsInserted);
        view.AddLine("first");
        view.AddLine("second");
        view.AddLine("");
        QCOMPARE(view.Model()->LineCount(), std::size_t(3));
        QCOMPARE(view.Model()->rowCount(), 0); // not yet shown
        QTRY_COMPARE(view.Model()->rowCount(), 3);
        QCOMPARE(inserted.count(), 1);
        QCOMPARE(view.Model()->data(view.Model()->index(1)).toString(), QStringLiteral("second"));
        QCOMPARE(view.Model()->data(view.Model()->index(2)).toString(), QString());
        QVERIFY(!view.Model()->data(view.Model()->index(3)).isValid());
        view.AddLine("fourth");
        view.Flush();
        QCOMPARE(inserted.count(), 2);
        QCOMPARE(view.Model()->rowCount(), 4);
        QCOMPARE(std::string(view.Model()->Line(3)), std::string("fourth"));
    }

    void NewestLineStaysInView()
    {
        TLineListView view;
        view.resize(300, 120);
        view.show();
        for (int i = 0; i < 500; ++i) view.AddLine("line " + std::to_string(i));
        view.Flush();
        QCoreApplication::processEvents();
        const QModelIndex last = view.Model()->index(499);
        QVERIFY(view.viewport()->rect().intersects(view.visualRect(last)));
    }

    void ClearEmptiesEverything()
    {
        TLineListView view;
        view.AddLine("x");
        view.Flush();
        view.Clear();
        QCOMPARE(view.Model()->rowCount(), 0);
        QCOMPARE(view.Model()->LineCount(), std::size_t(0));
        view.AddLine("y");
        view.Flush();
        QCOMPARE(view.Model()->rowCount(), 1);
        QCOMPARE(std::string(view.Model()->Line(0)), std::string("y"));
    }

    void SaveWritesEveryLineAndEmptyListGivesEmptyFile()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("log.txt"));
        TLineListView view;
        QVERIFY(view.SaveToFile(path));
        QFile empty(path);
        QVERIFY(empty.exists());
        QCOMPARE(empty.size(), 0);

        view.AddLine("a b");
        view.AddLine("c"); // not flushed yet: still saved
        QVERIFY(view.SaveToFile(path));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("a b\r\nc\r\n"));
        file.close();

        // An existing longer file is replaced, not overwritten in place.
        view.Clear();
        view.AddLine("z");
        QVERIFY(view.SaveToFile(path));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("z\r\n"));

        QString error;
        QVERIFY(!view.SaveToFile(dir.filePath(QStringLiteral("no/such/dir/log.txt")), &error));
        QVERIFY(!error.isEmpty());
    }

    void FixedPitchFont()
    {
        TLineListView view;
        QVERIFY(QFontInfo(view.font()).fixedPitch());
    }
};

QTEST_MAIN(LineListTest)
#include "LineListTest.moc"

#include "widgets/HelpViewer.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QtTest>

class HelpViewerTest : public QObject {
    Q_OBJECT
private slots:
    void ShippedPagesCoverEveryContext()
    {
        THelpViewer viewer;
        QVERIFY(viewer.LoadMap(QStringLiteral(RAILSCOPE_BIN_DIR "/help/contexts.txt")));
        const int contexts[] = {1,   2,   8,   9,   13,  14,  15,  80,  81,  400, 410, 420, 430,
                                440, 500, 520, 530, 540, 560, 600, 610, 620, 700, 710, 720};
        for (int context : contexts) {
            QVERIFY2(viewer.OpenContext(context), qPrintable(QString::number(context)));
            QVERIFY(!viewer.Browser->toPlainText().isEmpty());
        }
        QVERIFY(viewer.OpenContext(13));
        QVERIFY(viewer.Browser->source().toLocalFile().endsWith(QStringLiteral("monitor.html")));
        QVERIFY(viewer.Browser->toPlainText().contains(QStringLiteral("Expand Messages")));
    }

    void UnknownContextSaysSo()
    {
        THelpViewer viewer;
        QVERIFY(viewer.LoadMap(QStringLiteral(RAILSCOPE_BIN_DIR "/help/contexts.txt")));
        QVERIFY(!viewer.OpenContext(4242));
        QVERIFY(viewer.Browser->toPlainText().contains(QStringLiteral("4242")));
    }

    void MapFileRules()
    {
        QTemporaryDir dir;
        QFile map(dir.filePath(QStringLiteral("contexts.txt")));
        QVERIFY(map.open(QIODevice::WriteOnly));
        map.write("# comment\n5 five.html\n6 ../outside.html\n7\nbad line here\n8 /etc/passwd\n");
        map.close();
        THelpViewer viewer;
        QVERIFY(viewer.LoadMap(map.fileName()));
        QCOMPARE(viewer.PageForContext(5), dir.filePath(QStringLiteral("five.html")));
        QCOMPARE(viewer.PageForContext(6), QString());
        QCOMPARE(viewer.PageForContext(7), QString());
        QCOMPARE(viewer.PageForContext(8), QString());
        QVERIFY(!viewer.OpenContext(5)); // mapped but the page is missing
        QVERIFY(!viewer.LoadMap(dir.filePath(QStringLiteral("missing.txt"))));
    }

    void SharedViewerOpensAtContext()
    {
        THelpViewer::SetHelpFile(QStringLiteral(RAILSCOPE_BIN_DIR "/help/contexts.txt"));
        QVERIFY(THelpViewer::ShowContext(15));
        THelpViewer* viewer = THelpViewer::Instance();
        QVERIFY(viewer->isVisible());
        QCOMPARE(viewer->CurrentContext(), 15);
        QVERIFY(viewer->Browser->toPlainText().contains(QStringLiteral("speedometer"), Qt::CaseInsensitive));
        delete viewer;
    }
};

QTEST_MAIN(HelpViewerTest)
#include "HelpViewerTest.moc"

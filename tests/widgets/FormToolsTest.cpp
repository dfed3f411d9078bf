// Where windows of their own open beside the main window: never over its menu bar, on the screen;
// and a field placed with the label that names it.
#include "widgets/FormTools.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

class FormToolsTest : public QObject {
    Q_OBJECT
private slots:
    void BesideTheMainWindow_data()
    {
        QTest::addColumn<QRect>("screen");
        QTest::addColumn<QRect>("main");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QPoint>("expected");
        // The main window's menu bar ends at y 50 in every row.
        const QRect wide(0, 0, 1600, 1000);
        QTest::newRow("room on the right") << wide << QRect(100, 10, 1200, 800) << QSize(260, 300) << QPoint(1300, 10);
        QTest::newRow("room on the left only") << wide << QRect(300, 10, 1250, 800) << QSize(260, 300) << QPoint(40, 10);
        QTest::newRow("no room: right edge, below the menus")
            << QRect(0, 0, 1280, 720) << QRect(20, 10, 1240, 680) << QSize(260, 300) << QPoint(1000, 51);
        QTest::newRow("taller than the room below the menus stays below them")
            << QRect(0, 0, 1280, 720) << QRect(20, 10, 1240, 680) << QSize(640, 700) << QPoint(620, 51);
        QTest::newRow("main window beyond the screen's edge: kept on the screen")
            << QRect(0, 0, 1280, 720) << QRect(-40, 10, 1400, 680) << QSize(300, 200) << QPoint(980, 51);
    }
    void BesideTheMainWindow()
    {
        QFETCH(QRect, screen);
        QFETCH(QRect, main);
        QFETCH(QSize, size);
        QFETCH(QPoint, expected);
        QCOMPARE(BesideMainWindow(screen, main, 50, size), expected);
    }

    // A labelled field: the label that names it in the given column, the field right of it with
    // its span and alignment.
    void LabelledFieldBesideItsLabel()
    {
        QWidget window;
        auto* grid = new QGridLayout(&window);
        auto* field = new QLineEdit(&window);
        QLabel* label = AddLabelled(grid, QStringLiteral("&Name"), field, 2, 1, 3, Qt::AlignLeft);
        QCOMPARE(label->buddy(), field);
        QCOMPARE(label->parentWidget(), &window);
        int row = -1, column = -1, rows = 0, columns = 0;
        grid->getItemPosition(grid->indexOf(label), &row, &column, &rows, &columns);
        QCOMPARE(QList<int>({row, column, rows, columns}), QList<int>({2, 1, 1, 1}));
        grid->getItemPosition(grid->indexOf(field), &row, &column, &rows, &columns);
        QCOMPARE(QList<int>({row, column, rows, columns}), QList<int>({2, 2, 1, 3}));
        QCOMPARE(grid->itemAt(grid->indexOf(field))->alignment(), Qt::AlignLeft);
    }
};

QTEST_MAIN(FormToolsTest)
#include "FormToolsTest.moc"

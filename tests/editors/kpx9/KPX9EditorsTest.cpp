// The KPX9 board window, cell editor and route editor: what each enables, how route entries are
// added and removed, what reaches the board on OK and Cancel, and that an untouched window
// changes nothing.
#include "boards/kpx9/KPX9Board.h"
#include "editors/BoardEditors.h"
#include "editors/KeepValues.h"
#include "editors/kpx9/KPX9CellEditForm.h"
#include "editors/kpx9/KPX9EditForm.h"
#include "editors/kpx9/KPX9RouteEditForm.h"
#include "support/BoardSnapshot.h"
#include "widgets/DialogSeam.h"
#include "widgets/IndexCombo.h"
#include "widgets/SpinEdit.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>

#include <functional>
#include <vector>

namespace {

TKPX9Board ExampleBoard()
{
    TKPX9Board board;
    LoadFirstRecord(board, RAILSCOPE_SOURCE_DIR "/data/examples/layout-kpx9.csv");
    return board;
}

// Answers every editor window that opens: `edit` changes it, then it closes with OK or Cancel.
template <typename Form> void AnswerEditors(std::function<void(Form&)> edit, bool ok = true)
{
    DialogSeam().ModalDialog = [edit, ok](QDialog& dialog) {
        auto* form = qobject_cast<Form*>(&dialog);
        if (form && edit) edit(*form);
        if (ok)
            dialog.accept();
        else
            dialog.reject();
        return int(dialog.result());
    };
}

QStringList Lines(const QListWidget* list)
{
    QStringList lines;
    for (int i = 0; i < list->count(); ++i) lines << list->item(i)->text();
    return lines;
}

TKPX9Route RouteOf(std::initializer_list<std::pair<uint32_t, uint8_t>> entries, bool toFrom = false)
{
    TKPX9Route route(3);
    route.ToFrom = toFrom;
    for (const auto& [address, state] : entries) route.SetEntry(route.EntryCount, address, state);
    return route;
}

// The names of the eleven type-specific controls of the cell editor that are enabled.
QStringList EnabledTypeControls(const TKPX9CellEditForm& form)
{
    QStringList enabled;
    for (const char* name : {"InitCombo", "TokenCombo", "CascadeCombo", "CascadeEdit", "ToFbCheck", "SensorEdit",
                             "SensFlashCheck", "AspectCombo", "RevZoneCheck", "InterlockNumberEdit", "RelayEdit"}) {
        const auto* widget = form.findChild<QWidget*>(QLatin1String(name));
        if (widget && widget->isEnabled()) enabled << QLatin1String(name);
    }
    return enabled;
}

const QStringList kPointControls = {"InitCombo", "TokenCombo", "CascadeCombo", "CascadeEdit", "ToFbCheck"};

} // namespace

class KPX9EditorsTest : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        DialogSeam() = {};
        AnswerKeepValues();
    }
    void cleanup() { DialogSeam() = {}; }

    // --- Every window -------------------------------------------------------------------------

    void UntouchedWindowsChangeNoRecordByteAndNoSV()
    {
        TKPX9Board board = ExampleBoard();
        // Values no control can show, as an older file or a board read back may hold them.
        board.SerialNumber = 70000;
        board.SensorsUsed = 0;
        board.PowerUpMode = 5;
        board.RouteDccAddress = 0;
        board.SensorBoardNumber = 300;
        board.PointDelay = 300;
        board.Name = "Panel \xff\xfe";
        TKPX9Cell& point = board.GetCell(0);
        point.ButtonAEffect = 25;
        point.ButtonARoute = 30;
        point.Initialise = 3;
        point.Token = 7;
        point.CascadeMode = 3;
        point.CascadeCell = 40;
        point.Address = 5000;
        point.Description = "Lever \xe9";
        TKPX9Cell& sensor = board.GetCell(2);
        sensor.SensorNumber = 20;
        sensor.ButtonBEffect = 19;
        sensor.ButtonBRoute = 0;
        board.GetCell(3).Aspect = 7;
        board.GetCell(7).InterlockNumber = 9;
        board.GetCell(10).RelayNumber = 0;
        board.GetCell(12).CellType = 15;
        TKPX9Route& route = board.GetRoute(1);
        route.FromButton = 30;
        route.ToButton = 0;
        route.Cascade = true;
        route.CascadeRoute = 40;
        route.EntryAddress[0] = 3000;
        route.EntryState[1] = eKPX9Undef; // an UNDEF entry between others
        board.GetRoute(2).SetEntry(0, 12, 3);

        const TBoardSnapshot before = Snapshot(board);

        TKPX9EditForm form(nullptr, board);
        AnswerEditors<QDialog>({});
        for (int i = 0; i < int(kKPX9CellCount); ++i) form.EditCell(i);
        for (int i = 0; i < int(kKPX9RouteCount); ++i) form.EditRoute(i);
        form.OKBtn->click();

        const TBoardSnapshot after = Snapshot(board);
        QCOMPARE(after.Record, before.Record);
        QVERIFY(after.SVs == before.SVs);
    }

    // --- Board window -------------------------------------------------------------------------

    void BoardListOpensTheBoardWindowWhichWritesOnOK()
    {
        TKPX9Board board;
        AnswerEditors<TKPX9EditForm>([](TKPX9EditForm& form) {
            QCOMPARE(form.windowTitle(), QStringLiteral("Edit KPX9 Board Settings"));
            QCOMPARE(form.SlaveModeCombo->currentText(), QStringLiteral("Interlock mode: sensors 1-4"));
            form.SlaveModeCombo->setCurrentIndex(3);
            form.StartupModeCombo->setCurrentIndex(2);
            form.DCCInterlockEdit->setValue(7);
        });
        DefaultBoardEditor(eKPX9)(nullptr, board);
        QCOMPARE(int(board.SensorsUsed), 4);
        QCOMPARE(int(board.PowerUpMode), 2);
        QCOMPARE(board.InterlockDccAddress, 7u);
        QCOMPARE(board.SlaveDccAddress, 1025u);
    }

    void BoardCancelKeepsEditedCellsRoutesAndToFrom()
    {
        TKPX9Board board = ExampleBoard();
        for (uint32_t i = 0; i < 11; ++i) board.GetRoute(4).SetEntry(i, 101, eKPX9Closed);
        const uint32_t serial = board.SerialNumber;
        TKPX9EditForm form(nullptr, board);
        QVERIFY(!Lines(form.RouteList)[4].contains(QStringLiteral("!TOO MANY ENTRIES")));

        // "To/From Numbering" acts at once, on the board and every route, and the route list
        // shows what no longer fits.
        form.ToFromBox->click();
        QVERIFY(board.GetToFromRoutes());
        QVERIFY(board.GetRoute(23).ToFrom);
        QVERIFY(Lines(form.RouteList)[4].endsWith(QStringLiteral("!TOO MANY ENTRIES")));

        AnswerEditors<TKPX9CellEditForm>([](TKPX9CellEditForm& cell) {
            QCOMPARE(cell.windowTitle(), QStringLiteral("Edit Cell 5"));
            cell.DescriptionEdit->setText(QStringLiteral("Branch zone east"));
        });
        form.EditCell(4);
        QVERIFY(Lines(form.CellList)[4].startsWith(QStringLiteral("5: Branch zone east;")));
        AnswerEditors<TKPX9RouteEditForm>([](TKPX9RouteEditForm& route) { route.FromSpin->setValue(9); });
        form.EditRoute(1);

        form.SerialNumEdit->setValue(3);
        form.BoardNameEdit->setText(QStringLiteral("changed"));
        form.CancelBtn->click();
        QCOMPARE(board.GetCell(4).Description, std::string("Branch zone east"));
        QCOMPARE(board.GetRoute(1).FromButton, 9u);
        QVERIFY(board.GetToFromRoutes());
        QCOMPARE(board.SerialNumber, serial);
        QCOMPARE(board.Name, std::string("Station throat panel"));
    }

    void ListsKeepTheirScrollPositionWhenRefilled()
    {
        TKPX9Board board;
        TKPX9EditForm form(nullptr, board);
        form.resize(900, 400);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        AnswerEditors<TKPX9CellEditForm>(
            [](TKPX9CellEditForm& cell) { cell.DescriptionEdit->setText(QStringLiteral("Far end")); });
        for (QListWidget* list : {form.CellList, form.RouteList}) {
            list->verticalScrollBar()->setValue(6);
            QCOMPARE(list->indexAt(QPoint(1, 1)).row(), 6);
            // A double-click on a line in view: cell 11, route 11.
            list->setCurrentRow(10);
            if (list == form.CellList)
                form.EditCell(10);
            else
                form.EditRoute(10);
            QTest::qWait(20);
            QCOMPARE(list->indexAt(QPoint(1, 1)).row(), 6);
            QCOMPARE(list->currentRow(), 10);
        }
        QVERIFY(Lines(form.CellList)[10].startsWith(QStringLiteral("11: Far end;")));
    }

    // --- Cell editor --------------------------------------------------------------------------

    void CellControlsFollowTheEffectiveType_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<int>("address");
        QTest::addColumn<int>("copiedType");
        QTest::addColumn<QString>("label");
        QTest::addColumn<QStringList>("enabled");
        const QStringList none;
        QTest::newRow("undefined") << 0 << 1 << 0 << "(Unused)" << none;
        QTest::newRow("point") << 1 << 101 << 0 << "Point DCC Address" << kPointControls;
        QTest::newRow("sensor") << 2 << 3 << 0 << "Board Address" << QStringList{"SensorEdit", "SensFlashCheck"};
        QTest::newRow("ORB8 signal") << 3 << 301 << 0 << "Signal DCC Address"
                                     << QStringList{"ToFbCheck", "AspectCombo"};
        QTest::newRow("ORB8 zone") << 4 << 310 << 0 << "Zone DCC Address" << QStringList{"ToFbCheck", "RevZoneCheck"};
        QTest::newRow("SE8c 2 aspect") << 5 << 401 << 0 << "Signal DCC Address" << QStringList{"AspectCombo"};
        QTest::newRow("SE8c 4 aspect") << 6 << 403 << 0 << "Signal DCC Address" << QStringList{"AspectCombo"};
        QTest::newRow("interlock") << 7 << 1500 << 0 << "Interlock DCC Address" << QStringList{"InterlockNumberEdit"};
        QTest::newRow("board mode") << 9 << 1 << 0 << "(unused)" << none;
        QTest::newRow("PM42") << 10 << 4 << 0 << "Board Address" << QStringList{"RelayEdit"};
        QTest::newRow("copy of a point") << 8 << 2 << 1 << "Cell Number" << kPointControls;
        QTest::newRow("copy of a signal") << 8 << 2 << 3 << "Cell Number" << QStringList{"ToFbCheck", "AspectCombo"};
        QTest::newRow("copy of a sensor")
            << 8 << 30 << 2 << "Cell Number" << QStringList{"SensorEdit", "SensFlashCheck"};
        QTest::newRow("copy of cell 31") << 8 << 31 << 1 << "Cell Number" << none;
        QTest::newRow("copy of itself") << 8 << 1 << 1 << "Cell Number" << none;
    }

    void CellControlsFollowTheEffectiveType()
    {
        QFETCH(int, type);
        QFETCH(int, address);
        QFETCH(int, copiedType);
        QFETCH(QString, label);
        QFETCH(QStringList, enabled);
        TKPX9Board board;
        board.GetCell(0).CellType = eKPX9Point; // the cell being edited starts as a point
        board.GetCell(1).CellType = uint8_t(copiedType);
        board.GetCell(29).CellType = uint8_t(copiedType);
        TKPX9CellEditForm form(nullptr, board.GetCell(0), board.Cells);
        // First a copy of the point in cell 3, then what the row sets, as a user would type it.
        board.GetCell(2).CellType = eKPX9Point;
        form.CellTypeCombo->setCurrentIndex(eKPX9Copy);
        form.AddrEdit->setValue(3);
        QCOMPARE(EnabledTypeControls(form), kPointControls);
        form.CellTypeCombo->setCurrentIndex(type);
        form.AddrEdit->setValue(address);
        QCOMPARE(form.AddressLabel->text(), label);
        QCOMPARE(EnabledTypeControls(form), enabled);
    }

    void PushbuttonRouteSpinsOnlyForExecuteRoute()
    {
        TKPX9Cell cell(1);
        cell.ButtonBEffect = kKPX9EffectRoute;
        TKPX9Cells cells;
        TKPX9CellEditForm form(nullptr, cell, cells);
        QVERIFY(!form.Route1Edit->isEnabled());
        QVERIFY(form.Route2Edit->isEnabled());
        QCOMPARE(form.SW2Combo->currentText(), QStringLiteral("Execute Route Number"));
        form.SW1Combo->setCurrentIndex(kKPX9EffectRoute);
        form.SW2Combo->setCurrentIndex(18);
        QVERIFY(form.Route1Edit->isEnabled());
        QVERIFY(!form.Route2Edit->isEnabled());
    }

    void SettingsTheUsersChoiceBringsIntoUseHoldValuesInRange()
    {
        TKPX9Cells cells;
        TKPX9Cell& cell = cells[0]; // undefined, with values no control offers, as a file may hold them
        cell.Address = 300;
        cell.ButtonARoute = 0;
        cell.Token = 7;
        TKPX9CellEditForm form(nullptr, cell, cells);
        form.SW1Combo->setCurrentIndex(kKPX9EffectRoute);
        form.CellTypeCombo->setCurrentIndex(eKPX9Sensor); // a sensor board number takes one byte
        form.CellTypeCombo->setCurrentIndex(eKPX9Point);
        form.CascadeCombo->setCurrentIndex(2); // "Thrown, Cell": cell 0 would read as cell 30 closed
        form.OKBtn->click();
        uint8_t block[kKPX9CellSVBytes] = {};
        cell.EncodeSVs(block, cells);
        // A point cell without token at 255, "Execute Route 1" on A, cascading from cell 1 thrown.
        QCOMPARE(std::vector<uint8_t>(block, block + kKPX9CellSVBytes), (std::vector<uint8_t>{5, 255, 0, 101, 0, 31}));
    }

    void CellOKWritesEveryControlAndCancelNothing()
    {
        for (const bool ok : {true, false}) {
            TKPX9Cells cells;
            TKPX9Cell& cell = cells[4];
            cell = TKPX9Cell(5);
            cell.CellType = eKPX9Sensor;
            TKPX9CellEditForm form(nullptr, cell, cells);
            QCOMPARE(form.windowTitle(), QStringLiteral("Edit Cell 5"));
            // Settings of other cell types are disabled, and written all the same.
            form.SensorEdit->setValue(16);
            form.InitCombo->setCurrentIndex(2);
            form.AspectCombo->setCurrentIndex(4);
            form.RelayEdit->setValue(3);
            (ok ? form.OKBtn : form.CancelBtn)->click();
            QCOMPARE(cell.SensorNumber, ok ? 16u : 1u);
            QCOMPARE(int(cell.Initialise), ok ? 2 : 0);
            QCOMPARE(int(cell.Aspect), ok ? 4 : 1);
            QCOMPARE(cell.RelayNumber, ok ? 3u : 1u);
        }
    }

    // --- Route editor -------------------------------------------------------------------------

    void RouteListShowsEntryLinesThenCountAndFit()
    {
        TKPX9Cells cells;
        cells[0].CellType = eKPX9Point;
        cells[0].Address = 101;
        TKPX9Route route = RouteOf({{101, eKPX9Closed}, {640, eKPX9Thrown}});
        TKPX9RouteEditForm form(nullptr, route, cells);
        QCOMPARE(form.windowTitle(), QStringLiteral("Edit Route 3"));
        const QStringList lines = Lines(form.RouteListBox);
        QCOMPARE(lines.size(), 14);
        QCOMPARE(lines[0], QStringLiteral("Point 101 Closed (Cell 1)"));
        QCOMPARE(lines[1], QStringLiteral("Point 640 Thrown  (no cell)"));
        QCOMPARE(lines[2], QStringLiteral("not defined."));
        QCOMPARE(lines[12], QStringLiteral("2 points in route;"));
        QCOMPARE(lines[13], QStringLiteral("Route fits into SV space!"));
        QCOMPARE(form.SelectedLine(), 0);
        QCOMPARE(form.StateButton->currentText(), QStringLiteral("Closed"));
        QCOMPARE(form.PointNumberSpin->value(), 101);
        // The count and fit lines edit nothing.
        form.RouteListBox->setCurrentRow(12);
        QVERIFY(!form.StateButton->isEnabled());
        QVERIFY(!form.PointNumberSpin->isEnabled());
    }

    void UndefinedStateDeletesTheEntryAndSelectsLineZero()
    {
        TKPX9Cells cells;
        for (const int line : {1, 2}) { // a middle entry, and the last one
            TKPX9Route route = RouteOf({{101, eKPX9Closed}, {102, eKPX9Thrown}, {640, eKPX9Closed}});
            TKPX9RouteEditForm form(nullptr, route, cells);
            form.RouteListBox->setCurrentRow(line);
            QCOMPARE(form.PointNumberSpin->value(), line == 1 ? 102 : 640);
            form.StateButton->setCurrentIndex(0);
            const TKPX9Route& copy = form.WorkingCopy();
            QCOMPARE(copy.EntryCount, 2u);
            QCOMPARE(copy.GetEntryAddress(1), line == 1 ? 640u : 102u);
            QCOMPARE(form.SelectedLine(), 0);
            QCOMPARE(form.PointNumberSpin->value(), 101);
            QVERIFY(form.PointNumberSpin->isEnabled());
            QCOMPARE(Lines(form.RouteListBox)[12], QStringLiteral("2 points in route;"));
            QCOMPARE(route.EntryCount, 3u); // the board's route waits for OK
        }
    }

    void StateOnAnEmptyLineAppendsAfterTheLastEntry()
    {
        TKPX9Cells cells;
        TKPX9Route route = RouteOf({{101, eKPX9Closed}, {102, eKPX9Thrown}});
        TKPX9RouteEditForm form(nullptr, route, cells);
        form.RouteListBox->setCurrentRow(7);
        QVERIFY(!form.PointNumberSpin->isEnabled());
        QCOMPARE(form.PointNumberSpin->value(), 1);
        form.StateButton->setCurrentIndex(eKPX9Thrown);
        QCOMPARE(form.WorkingCopy().EntryCount, 3u);
        QCOMPARE(int(form.WorkingCopy().GetEntryState(2)), int(eKPX9Thrown));
        // The selection follows the new entry, so its point can be typed next.
        QCOMPARE(form.SelectedLine(), 2);
        QVERIFY(form.PointNumberSpin->isEnabled());
        form.PointNumberSpin->setValue(205);
        QCOMPARE(form.WorkingCopy().GetEntryAddress(2), 205u);
        QCOMPARE(Lines(form.RouteListBox)[2], QStringLiteral("Point 205 Thrown  (no cell)"));
        QCOMPARE(Lines(form.RouteListBox)[7], QStringLiteral("not defined."));
        form.OKBtn->click();
        QCOMPARE(route.EntryCount, 3u);
        QCOMPARE(route.GetEntryAddress(2), 205u);
    }

    void ToFromNumberingLimitsLinesAndEnablesButtons_data()
    {
        QTest::addColumn<bool>("toFrom");
        QTest::addColumn<bool>("cascade");
        QTest::addColumn<int>("entryLines");
        QTest::newRow("single press") << false << false << 12;
        QTest::newRow("single press, cascade") << false << true << 11;
        QTest::newRow("to/from") << true << false << 10;
        QTest::newRow("to/from, cascade") << true << true << 9;
    }

    void ToFromNumberingLimitsLinesAndEnablesButtons()
    {
        QFETCH(bool, toFrom);
        QFETCH(bool, cascade);
        QFETCH(int, entryLines);
        TKPX9Cells cells;
        TKPX9Route route = RouteOf({{101, eKPX9Closed}}, toFrom);
        route.Cascade = cascade;
        TKPX9RouteEditForm form(nullptr, route, cells);
        QCOMPARE(form.RouteListBox->count(), entryLines + 2);
        QCOMPARE(form.FromSpin->isEnabled(), toFrom);
        QCOMPARE(form.ToSpin->isEnabled(), toFrom);
        QCOMPARE(form.CascadeSpin->isEnabled(), cascade);
        form.CascadeCheck->click();
        QCOMPARE(form.CascadeSpin->isEnabled(), !cascade);
        QCOMPARE(form.RouteListBox->count(), entryLines + 2);
    }

    void CascadeReachesTheCopyOnCloseButTheFitLineAtOnce()
    {
        TKPX9Board board;
        for (uint32_t i = 0; i < 12; ++i) {
            board.GetCell(i).CellType = eKPX9Point;
            board.GetCell(i).Address = 100 + i;
            board.GetRoute(0).SetEntry(i, 100 + i, eKPX9Closed);
        }
        TKPX9Route& route = board.GetRoute(0);
        TKPX9RouteEditForm form(nullptr, route, board.Cells);
        QCOMPARE(Lines(form.RouteListBox).last(), QStringLiteral("Route fits into SV space!"));
        form.CascadeCheck->click();
        form.CascadeSpin->setValue(5);
        QCOMPARE(form.RouteListBox->count(), 14);
        QVERIFY(!form.WorkingCopy().Cascade);
        QCOMPARE(Lines(form.RouteListBox).last(), QStringLiteral("!Route does not fit!"));
        form.CascadeCheck->click();
        QCOMPARE(Lines(form.RouteListBox).last(), QStringLiteral("Route fits into SV space!"));
        form.CascadeCheck->click();
        form.OKBtn->click();
        QVERIFY(route.Cascade);
        QCOMPARE(route.CascadeRoute, 5u);
        QVERIFY(!board.CalculateSVs());
    }

    void TickingCascadeOnARouteWithoutOneGivesARouteNumber()
    {
        TKPX9Board board = ExampleBoard();
        TKPX9Route& route = board.GetRoute(1); // points 701 and 702 thrown; no cascade, read as route 0
        QCOMPARE(route.CascadeRoute, 0u);
        TKPX9RouteEditForm form(nullptr, route, board.Cells);
        form.show();
        QCOMPARE(form.CascadeSpin->Value(), 0); // shown as stored while it is not used
        QTest::mouseClick(form.CascadeCheck, Qt::LeftButton);
        QCOMPARE(form.CascadeSpin->Value(), 1);
        form.OKBtn->click();
        QVERIFY(route.Cascade);
        // Route 2's block (SV 222 on): the two points, then the cascade to route 1 (not cell 30 thrown).
        const std::vector<uint8_t> svs = CalculatedSVs(board);
        QCOMPARE(std::vector<uint8_t>(svs.begin() + 221, svs.begin() + 227),
                 (std::vector<uint8_t>{202, 189, 202, 190, 61, 0}));
    }

    void CancelLeavesTheRouteUnchanged()
    {
        TKPX9Cells cells;
        TKPX9Route route = RouteOf({{101, eKPX9Closed}, {102, eKPX9Thrown}}, true);
        const std::string before = SaveToText(route);
        TKPX9RouteEditForm form(nullptr, route, cells);
        form.PointNumberSpin->setValue(999);
        form.RouteListBox->setCurrentRow(1);
        form.StateButton->setCurrentIndex(0);
        form.FromSpin->setValue(4);
        form.ToSpin->setValue(6);
        form.CascadeCheck->click();
        form.CancelBtn->click();
        QCOMPARE(SaveToText(route), before);
    }
};

QTEST_MAIN(KPX9EditorsTest)
#include "KPX9EditorsTest.moc"

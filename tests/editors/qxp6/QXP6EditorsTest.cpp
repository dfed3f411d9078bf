// The QXP6 editor windows: the board window's working copy (Cancel undoes its children too, the
// base address reaches the children at once), the output cell's type rules, the input cell's
// sixth type, the route editor's entry lines and the conditions editor's places; and OK on
// untouched windows keeps every record byte and every SV.
#include "boards/qxp6/QXP6Board.h"
#include "editors/KeepValues.h"
#include "editors/qxp6/QXP6ConditionListBox.h"
#include "editors/qxp6/QXP6EditConditionsForm.h"
#include "editors/qxp6/QXP6EditForm.h"
#include "editors/qxp6/QXP6InputCellEditForm.h"
#include "editors/qxp6/QXP6OutputCellEditForm.h"
#include "editors/qxp6/QXP6RouteEditForm.h"
#include "support/BoardSnapshot.h"
#include "widgets/DialogSeam.h"
#include "widgets/IndexCombo.h"
#include "widgets/SpinEdit.h"
#include "widgets/ValueCheck.h"

#include <QAction>
#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>

namespace {

// The first board of the example layout: cells with conditions, input cells of every type, routes
// with own and outside points.
TQXP6Board ExampleBoard()
{
    TQXP6Board board;
    LoadFirstRecord(board, RAILSCOPE_SOURCE_DIR "/data/examples/layout-qxp6.csv");
    return board;
}

QStringList Lines(const QListWidget* list)
{
    QStringList lines;
    for (int i = 0; i < list->count(); ++i) lines << list->item(i)->text();
    return lines;
}

using TDialogAction = std::function<void(QDialog&)>;

// Answers every modal window: runs `act` on it (which may open children), then closes it with
// `result`.
void AnswerDialogs(const TDialogAction& act, int result = QDialog::Accepted)
{
    DialogSeam().ModalDialog = [act, result](QDialog& dialog) {
        if (act) act(dialog);
        dialog.done(result);
        return dialog.result();
    };
}

// Opens every child window of the board window once, and every conditions window below them.
void OpenEveryWindow(TQXP6EditForm& form)
{
    AnswerDialogs([](QDialog& dialog) {
        if (auto* cell = qobject_cast<TQXP6OutputCellEditForm*>(&dialog)) {
            cell->DefineThrownClick();
            cell->DefineClosedClick();
            cell->DefineDontClick();
        } else if (auto* route = qobject_cast<TQXP6RouteEditForm*>(&dialog)) {
            route->DefineConditionsClick();
        }
    });
    for (int i = 0; i < TQXP6Board::kOutputCellCount; ++i) form.EditOutputCell(i);
    for (int i = 0; i < TQXP6Board::kInputCellCount; ++i) form.EditInputCell(i);
    for (int i = 0; i < TQXP6Board::kRouteCount; ++i) form.EditRoute(i);
}

} // namespace

class QXP6EditorsTest : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        DialogSeam() = {};
        AnswerKeepValues();
    }
    void cleanup() { DialogSeam() = {}; }

    // ---- Board window ----

    void untouchedWindowsKeepEveryByte()
    {
        TQXP6Board board = ExampleBoard();
        // Values no control can show, as a file or a board may hold them.
        board.Name = "Caf\xe9 junction"; // not UTF-8
        board.SerialNumber = 70000;
        board.SetBaseAddress(3000);
        board.RouteBaseAddress = 0;
        board.SensorBoardNumber = 300;
        board.StateMemoryLocation = 0;
        board.CduDelay = 40;
        TQXP6Cell& cell = *board.GetOutputCell(1);
        cell.OutputType = 9;
        cell.TimeSetting = 12;
        cell.MessageType = 7;
        cell.FollowCell = 9;
        cell.ConditionTime = 300;
        cell.ChangeDelay = 999;
        board.GetOutputCell(2)->OutputType = 2; // an untimed type keeps its time setting
        board.GetOutputCell(2)->TimeSetting = 6;
        board.GetOutputCell(0)->ClosedConditions.ConditionAt(2).SetSensor(16, 20, 3, true);
        board.GetOutputCell(0)->ThrownConditions.ConditionAt(2).SetPoint(3000, 0, false);
        board.GetInputCell(3)->InputType = 7;
        board.GetInputCell(3)->MessageType = 6;
        board.GetInputCell(8)->InputType = 5;
        TQXP6Route& route = *board.GetRoute(2);
        route.EntryCount = 3;
        route.EntryAddress = {5000, 7, 0};
        route.EntryState = {eQXP6Closed, eQXP6Undef, 5};
        const TBoardSnapshot before = Snapshot(board);

        TQXP6EditForm form(nullptr, board);
        OpenEveryWindow(form);
        form.accept();
        QVERIFY(Snapshot(board) == before);
    }

    void cancelDiscardsWhatChildWindowsDid()
    {
        TQXP6Board board = ExampleBoard();
        const TBoardSnapshot before = Snapshot(board);
        TQXP6EditForm form(nullptr, board);
        form.DCCBaseAddrEdit->setValue(400);
        AnswerDialogs([](QDialog& dialog) {
            if (auto* cell = qobject_cast<TQXP6OutputCellEditForm*>(&dialog)) {
                cell->CellTypeCombo->setCurrentIndex(7);
                cell->DefineDontClick();
            } else if (auto* conditions = qobject_cast<TQXP6EditConditionsForm*>(&dialog)) {
                conditions->DeviceTypeCombo->setCurrentIndex(eQXP6Signal);
            } else if (auto* route = qobject_cast<TQXP6RouteEditForm*>(&dialog)) {
                route->SelectLine(0);
                route->StateButton->setCurrentIndex(eQXP6Undef);
            } else if (auto* input = qobject_cast<TQXP6InputCellEditForm*>(&dialog)) {
                input->InputMessageCombo->setCurrentIndex(4);
            }
        });
        form.EditOutputCell(0);
        form.EditRoute(0);
        form.EditInputCell(0);

        // The copy holds every edit; the board none of them.
        TQXP6Board& copy = form.EditedBoard();
        QCOMPARE(copy.GetBaseAddress(), 400u);
        QCOMPARE(int(copy.GetOutputCell(0)->OutputType), 7);
        QCOMPARE(int(copy.GetOutputCell(0)->FreezeConditions.ConditionAt(0).DeviceType), int(eQXP6Signal));
        QCOMPARE(copy.GetRoute(0)->EntryCount, 2u);
        QCOMPARE(int(copy.GetInputCell(0)->MessageType), 4);
        form.reject();
        QVERIFY(Snapshot(board) == before);
    }

    void okAssignsControlsAndChildEdits()
    {
        TQXP6Board board = ExampleBoard();
        TQXP6EditForm form(nullptr, board);
        QCOMPARE(form.windowTitle(), QStringLiteral("Edit QXP6 Board Settings"));
        QCOMPARE(form.RouteList->item(1)->text(), QStringLiteral("2\tPoints 101C; 102C; 103T; 1500T; "));
        form.BoardNameEdit->setText(QStringLiteral("North throat"));
        form.SerialNumEdit->setValue(4200);
        form.DCCBaseAddrEdit->setValue(17);
        AnswerDialogs([](QDialog& dialog) {
            if (auto* input = qobject_cast<TQXP6InputCellEditForm*>(&dialog))
                input->InputCellTypeCombo->setCurrentIndex(5);
        });
        form.EditInputCell(1);
        QCOMPARE(form.InputCellList->item(1)->text(),
                 QStringLiteral("2\tPushbutton input, sets route 2; Turnout feedback message; Goods loop lever"));
        form.accept();
        QCOMPARE(board.Name, std::string("North throat"));
        QCOMPARE(board.SerialNumber, 4200u);
        QCOMPARE(int(board.GetInputCell(1)->InputType), 5);
        // The base address reached every copy of it.
        QCOMPARE(board.GetBaseAddress(), 17u);
        QCOMPARE(board.GetOutputCell(7)->BaseAddress, 17u);
        QCOMPARE(board.GetRoute(7)->BaseAddress, 17u);
        QCOMPARE(board.GetDeviceTable().BaseAddress, 17u);
    }

    void baseAddressChangeShowsInChildWindowsAtOnce()
    {
        TQXP6Board board = ExampleBoard(); // base 101; route 1: 101 Thrown, 102 Thrown, 210 Closed
        TQXP6EditForm form(nullptr, board);
        QStringList routeLines;
        QString cellCaption;
        AnswerDialogs([&](QDialog& dialog) {
            if (auto* route = qobject_cast<TQXP6RouteEditForm*>(&dialog)) routeLines = Lines(route->RouteListBox);
            if (qobject_cast<TQXP6OutputCellEditForm*>(&dialog)) cellCaption = dialog.windowTitle();
        });
        form.EditRoute(0);
        QCOMPARE(routeLines.mid(0, 3), (QStringList{QStringLiteral("Point 101 Thrown (on this decoder) "),
                                                    QStringLiteral("Point 102 Thrown (on this decoder) "),
                                                    QStringLiteral("Point 210 Closed  (not this decoder)")}));
        form.EditOutputCell(2);
        QCOMPARE(cellCaption, QStringLiteral("Edit Cell 3: (DCC Accessory Address = 103)"));

        form.DCCBaseAddrEdit->setValue(205);
        form.EditRoute(0);
        QCOMPARE(routeLines.mid(0, 3), (QStringList{QStringLiteral("Point 101 Thrown  (not this decoder)"),
                                                    QStringLiteral("Point 102 Thrown  (not this decoder)"),
                                                    QStringLiteral("Point 210 Closed (on this decoder) ")}));
        form.EditOutputCell(2);
        QCOMPARE(cellCaption, QStringLiteral("Edit Cell 3: (DCC Accessory Address = 207)"));
        QCOMPARE(board.GetBaseAddress(), 101u); // not yet: only OK assigns the copy
    }

    // ---- Output cell editor ----

    void cellTypeSetsControlsAndHeadings_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<QString>("enabled"); // brightness, invert, flash, follow box, follow spin, on time
        QTest::addColumn<QString>("closed");
        QTest::addColumn<QString>("thrown");
        const QString point[] = {QStringLiteral("Change to CLOSED when"), QStringLiteral("Change to THROWN when")};
        const QString on = QStringLiteral("Change to ON when");
        QTest::newRow("0 not used") << 0 << "000000" << point[0] << point[1];
        QTest::newRow("1 point, solenoid") << 1 << "000111" << point[0] << point[1];
        QTest::newRow("2 point, powered") << 2 << "000110" << point[0] << point[1];
        QTest::newRow("3 on/off, solenoid") << 3 << "000111" << on << on;
        QTest::newRow("4 on/off, powered") << 4 << "000110" << on << on;
        QTest::newRow("5 dual flashing") << 5 << "101000" << on << on;
        QTest::newRow("6 dual on/off") << 6 << "100000" << on << on;
        QTest::newRow("7 single flashing") << 7 << "111000"
                                           << "Aux o/p ON when"
                                           << "Main o/p ON when";
        QTest::newRow("8 single on/off") << 8 << "110000"
                                         << "Aux o/p ON when"
                                         << "Main o/p ON when";
    }

    void cellTypeSetsControlsAndHeadings()
    {
        QFETCH(int, type);
        QFETCH(QString, enabled);
        QFETCH(QString, closed);
        QFETCH(QString, thrown);
        TQXP6Cell cell;
        cell.OutputType = 1;
        cell.FollowCell = 4;
        TQXP6OutputCellEditForm form(nullptr, cell);
        form.CellTypeCombo->setCurrentIndex(type);
        const QWidget* controls[] = {form.BrightnessBox, form.InvertBox,  form.FlashRateCombo,
                                     form.FollowBox,     form.FollowSpin, form.OnTimeCombo};
        QString shown;
        for (const QWidget* control : controls) shown += control->isEnabled() ? u'1' : u'0';
        QCOMPARE(shown, enabled);
        // Type 0 keeps the headings the window had (here those of the point type it opened with).
        QCOMPARE(form.ClosedGroup->title(), closed);
        QCOMPARE(form.ThrownGroup->title(), thrown);
    }

    void notUsedTypeKeepsTheDisabledValues()
    {
        TQXP6Cell cell;
        cell.OutputType = 1;
        cell.TimeSetting = 6;
        cell.FollowCell = 3;
        cell.SimulateBrightness = true;
        cell.InvertOutputs = true;
        TQXP6OutputCellEditForm form(nullptr, cell);
        form.CellTypeCombo->setCurrentIndex(0);
        QCOMPARE(form.FollowSpin->Value(), 3);
        QCOMPARE(form.OnTimeCombo->Value(), 6);
        form.accept();
        QCOMPARE(int(cell.OutputType), 0);
        QCOMPARE(cell.TimeSetting, 6u);
        QCOMPARE(cell.FollowCell, 3u);
        QVERIFY(cell.SimulateBrightness);
        QVERIFY(cell.InvertOutputs);
    }

    void timeAndFollowComeFromTheControlsThatApply()
    {
        TQXP6Cell cell; // type 1, time 3, follows none
        TQXP6OutputCellEditForm form(nullptr, cell);
        QVERIFY(!form.FollowBox->isChecked());
        QCOMPARE(form.FollowSpin->Value(), 1);
        QVERIFY(!form.FollowSpin->isEnabled());
        form.FollowBox->click();
        QVERIFY(form.FollowSpin->isEnabled());
        form.FollowSpin->setValue(6);
        form.OnTimeCombo->setCurrentIndex(8);
        form.FlashRateCombo->setCurrentIndex(0);
        form.accept();
        QCOMPARE(cell.TimeSetting, 8u); // a point type takes the on time
        QCOMPARE(cell.FollowCell, 6u);

        TQXP6OutputCellEditForm lamps(nullptr, cell);
        lamps.FollowBox->click(); // cleared: follows no cell, whatever the spin shows
        lamps.CellTypeCombo->setCurrentIndex(5);
        lamps.FlashRateCombo->setCurrentIndex(2);
        lamps.accept();
        QCOMPARE(cell.TimeSetting, 2u); // a lamp type takes the flash rate
        QCOMPARE(cell.FollowCell, 0u);
    }

    void settingsTheChosenTypeBringsIntoUseHoldValuesInRange()
    {
        TQXP6Cell cell;
        cell.OutputType = 5; // flashing lamps: no on time, no following
        cell.TimeSetting = 12; // with type 1 it would read as type 2
        cell.FollowCell = 12;
        TQXP6OutputCellEditForm form(nullptr, cell);
        form.CellTypeCombo->setCurrentIndex(1);
        form.accept();
        QVERIFY(cell.TimeSetting == 0 && cell.FollowCell == 8);
    }

    void defineRefillsTheListAndCancelKeepsTheCell()
    {
        TQXP6Board board = ExampleBoard();
        TQXP6Cell& cell = *board.GetOutputCell(0);
        const TQXP6Cell before = cell;
        TQXP6OutputCellEditForm form(nullptr, cell);
        QCOMPARE(form.windowTitle(), QStringLiteral("Edit Cell 1: (DCC Accessory Address = 101)"));
        QCOMPARE(Lines(form.ClosedCondListBox).mid(0, 3),
                 (QStringList{QStringLiteral("Sensor 21,1 is Unoccupied, AND"), QStringLiteral("Signal 12 is not Red"),
                              QStringLiteral("(No Condition)")}));
        QCOMPARE(form.DontCondListBox->count(), 2);
        AnswerDialogs([](QDialog& dialog) {
            auto* conditions = qobject_cast<TQXP6EditConditionsForm*>(&dialog);
            QVERIFY(conditions);
            QCOMPARE(dialog.windowTitle(), QStringLiteral("Edit Conditions: Conditions for change to Closed"));
            conditions->SelectPlace(2);
            conditions->DeviceTypeCombo->setCurrentIndex(eQXP6Point);
        });
        form.DefineClosedClick();
        QCOMPARE(form.ClosedCondListBox->item(2)->text(), QStringLiteral("Point 1 is Thrown"));
        form.reject();
        QVERIFY(cell.ClosedConditions.SameConditions(before.ClosedConditions));
    }

    // ---- Input cell editor ----

    void onlyCellsOneToEightOfferTheRouteType()
    {
        TQXP6Board board;
        for (int i = 0; i < TQXP6Board::kInputCellCount; ++i) {
            TQXP6InputCellEditForm form(nullptr, *board.GetInputCell(i));
            QCOMPARE(form.windowTitle(), QStringLiteral("Input Cell %1").arg(i + 1));
            QCOMPARE(form.InputCellTypeCombo->count(), i < 8 ? 6 : 5);
            if (i < 8)
                QCOMPARE(form.InputCellTypeCombo->itemText(5),
                         QStringLiteral("Pushbutton, triggers local route %1").arg(i + 1));
        }
    }

    void aRouteTypeStoredForCellNineStaysUnlessChanged()
    {
        TQXP6InputCell cell;
        cell.CellNumber = 9;
        cell.InputType = 5; // read from a board
        {
            TQXP6InputCellEditForm form(nullptr, cell);
            QVERIFY(form.InputCellTypeCombo->OutOfRange());
            form.accept();
        }
        QCOMPARE(int(cell.InputType), 5);
        TQXP6InputCellEditForm form(nullptr, cell);
        form.InputCellTypeCombo->setCurrentIndex(2);
        form.accept();
        QCOMPARE(int(cell.InputType), 2);
    }

    // ---- Route editor ----

    void entryLinesCountAndFit()
    {
        TQXP6Route route;
        route.BaseAddress = 100;
        for (int i = 0; i < 11; ++i) route.SetEntry(i, 100 + i % 8, eQXP6Closed);
        TQXP6RouteEditForm form(nullptr, route);
        QCOMPARE(form.windowTitle(), QStringLiteral("Edit Route 1"));
        QCOMPARE(form.RouteListBox->count(), 14);
        QCOMPARE(form.RouteListBox->item(11)->text(), QStringLiteral("not defined."));
        QCOMPARE(form.RouteListBox->item(12)->text(), QStringLiteral("11 points in route;"));
        QCOMPARE(form.RouteListBox->item(13)->text(), QStringLiteral("Route fits into SV space!"));
        // An outside point takes two bytes: 11 own points and one outside need 13.
        form.SelectLine(11);
        form.StateButton->setCurrentIndex(eQXP6Thrown);
        form.PointNumberSpin->setValue(300);
        QCOMPARE(form.RouteListBox->item(11)->text(), QStringLiteral("Point 300 Thrown  (not this decoder)"));
        QCOMPARE(form.RouteListBox->item(13)->text(), QStringLiteral("!Route does not fit!"));

        AnswerDialogs([](QDialog& dialog) {
            QCOMPARE(dialog.windowTitle(), QStringLiteral("Edit Conditions: Conditions to trigger route"));
            qobject_cast<TQXP6EditConditionsForm*>(&dialog)->DeviceTypeCombo->setCurrentIndex(eQXP6Sensor);
        });
        form.DefineConditionsClick();
        QCOMPARE(form.RouteCondListBox->item(0)->text(), QStringLiteral("Sensor 1,1 is Occupied"));
    }

    void undefinedDeletesAndANewEntryGoesAfterTheLast()
    {
        TQXP6Route route;
        route.SetEntry(0, 1, eQXP6Closed);
        route.SetEntry(1, 2, eQXP6Thrown);
        route.SetEntry(2, 3, eQXP6Closed);
        TQXP6RouteEditForm form(nullptr, route);
        form.SelectLine(1);
        QCOMPARE(form.PointNumberSpin->Value(), 2);
        form.StateButton->setCurrentIndex(eQXP6Undef);
        QCOMPARE(form.SelectedLine(), 0);
        QCOMPARE(form.WorkingCopy().EntryCount, 2u);
        QCOMPARE(form.RouteListBox->item(1)->text(), QStringLiteral("Point 3 Closed (on this decoder) "));

        form.SelectLine(7);
        QVERIFY(!form.PointNumberSpin->isEnabled());
        form.StateButton->setCurrentIndex(eQXP6Thrown);
        QCOMPARE(form.SelectedLine(), 2); // the line the entry went to
        QVERIFY(form.PointNumberSpin->isEnabled());
        form.PointNumberSpin->setValue(1500);
        QCOMPARE(form.RouteListBox->item(2)->text(), QStringLiteral("Point 1500 Thrown  (not this decoder)"));
        QCOMPARE(route.EntryCount, 3u); // the route itself only on OK
        form.accept();
        QCOMPARE(route.EntryCount, 3u);
        QCOMPARE(route.EntryAddress[2], 1500u);
        QCOMPARE(int(route.EntryState[2]), int(eQXP6Thrown));
    }

    // ---- Conditions editor ----

    void deviceTypesLoadTheirControls_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<QString>("enabled"); // number, offset, state
        QTest::addColumn<QStringList>("states");
        QTest::addColumn<QString>("text");
        QTest::newRow("none") << int(eQXP6None) << "000" << QStringList{"none"} << "(No Condition)";
        QTest::newRow("point") << int(eQXP6Point) << "101" << QStringList{"Thrown", "Closed"} << "Point 1 is Thrown";
        QTest::newRow("sensor") << int(eQXP6Sensor) << "111" << QStringList{"Occupied", "Unoccupied"}
                                << "Sensor 1,1 is Occupied";
        QTest::newRow("signal") << int(eQXP6Signal) << "101" << QStringList{"Red", "Not Red"} << "Signal 1 is Red";
    }

    void deviceTypesLoadTheirControls()
    {
        QFETCH(int, type);
        QFETCH(QString, enabled);
        QFETCH(QStringList, states);
        QFETCH(QString, text);
        TQXP6ConditionSet set(eQXP6CondFreeze);
        // A type without an item, so that every choice is a change and starts afresh.
        set.ConditionAt(1) = TQXP6Condition{7, 40, 3, 1, true};
        TQXP6EditConditionsForm form(nullptr, set);
        form.SelectPlace(1);
        form.DeviceTypeCombo->setCurrentIndex(type);
        QString shown;
        for (const QWidget* control : {static_cast<QWidget*>(form.NumberSpin), static_cast<QWidget*>(form.OffsetSpin),
                                       static_cast<QWidget*>(form.StateCombo)})
            shown += control->isEnabled() ? u'1' : u'0';
        QCOMPARE(shown, enabled);
        QStringList items;
        for (int i = 0; i < form.StateCombo->count(); ++i) items << form.StateCombo->itemText(i);
        QCOMPARE(items, states);
        QCOMPARE(form.NumberSpin->Value(), 1);
        QCOMPARE(form.NumberSpin->MaxValue(), type == eQXP6Sensor ? 255 : 2048); // a sensor's number takes one byte
        QCOMPARE(form.OffsetSpin->Value(), 1);
        QVERIFY(!form.AndBox->isChecked());
        QCOMPARE(form.ConditionList->item(1)->text(), text);
    }

    void controlsRebuildTheConditionAndPlacesMove()
    {
        TQXP6ConditionSet set(eQXP6CondRoute);
        set.ConditionAt(0).SetPoint(12, 1, false);
        set.ConditionAt(4).SetSignal(9, 0, false);
        TQXP6EditConditionsForm form(nullptr, set);
        QCOMPARE(form.SelectedPlace(), 0);
        form.DeviceTypeCombo->setCurrentIndex(eQXP6Sensor);
        form.NumberSpin->setValue(21);
        form.OffsetSpin->setValue(16);
        form.StateCombo->setCurrentIndex(1);
        form.AndBox->setChecked(true);
        QCOMPARE(form.ConditionList->item(0)->text(), QStringLiteral("Sensor 21,16 is Unoccupied, AND"));

        form.Insert1->trigger(); // the last place drops out
        QCOMPARE(Lines(form.ConditionList), (QStringList{"(No Condition)", "Sensor 21,16 is Unoccupied, AND",
                                                         "(No Condition)", "(No Condition)", "(No Condition)"}));
        QVERIFY(set.ConditionAt(0) == (TQXP6Condition{eQXP6Point, 12, 0, 1, false})); // not before OK
        form.accept();
        QVERIFY(set.ConditionAt(1) == (TQXP6Condition{eQXP6Sensor, 21, 16, 1, true}));
        QVERIFY(set.ConditionAt(4).IsEmpty());
    }
};

QTEST_MAIN(QXP6EditorsTest)
#include "QXP6EditorsTest.moc"

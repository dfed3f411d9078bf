// The ORB4 and ORB8 editor windows: untouched windows change nothing, the conditions window's
// device types, loading, insert and delete, the signal window's type change and Cancel, and the
// board and zone windows' OK and Cancel.
#include "boards/orb/orb4/ORB4Board.h"
#include "boards/orb/orb8/ORB8Board.h"
#include "editors/BoardEditors.h"
#include "editors/EditorText.h"
#include "editors/KeepValues.h"
#include "editors/orb/ConditionListBox.h"
#include "editors/orb/EditConditionsForm.h"
#include "editors/orb/Orb4EditForm.h"
#include "editors/orb/Orb8EditForm.h"
#include "editors/orb/RevZoneEditForm.h"
#include "editors/orb/SignalEditForm.h"
#include "support/BoardSnapshot.h"
#include "widgets/DialogSeam.h"
#include "widgets/IndexCombo.h"
#include "widgets/SpinEdit.h"
#include "widgets/ValueCheck.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QToolTip>

#include <functional>
#include <memory>
#include <tuple>

namespace {

// Answers every window the code under test opens: `answer` may work the window and returns
// whether to close it with OK.
void Answer(std::function<bool(QDialog&)> answer)
{
    DialogSeam().ModalDialog = [answer = std::move(answer)](QDialog& dialog) {
        if (answer(dialog))
            dialog.accept();
        else
            dialog.reject();
        return dialog.result();
    };
}

QStringList Lines(const QListWidget* list)
{
    QStringList lines;
    for (int row = 0; row < list->count(); ++row) lines << list->item(row)->text();
    return lines;
}

QStringList Texts(const TConditionSet& set)
{
    QStringList texts;
    for (uint32_t place = 0; place < set.Count(); ++place)
        texts << QString::fromStdString(set.ConditionAt(place).Text());
    return texts;
}

QStringList Items(const QComboBox* combo)
{
    QStringList items;
    for (int i = 0; i < combo->count(); ++i) items << combo->itemText(i);
    return items;
}

TCondition Point(uint32_t number, uint8_t state, bool andNext = false)
{
    TCondition condition;
    condition.SetPoint(number, state, andNext);
    return condition;
}

// A block signal whose red set holds six points, 1 to 6.
void FillRedSet(TSignal& signal)
{
    for (uint32_t i = 0; i < 6; ++i) signal.RedSet().ConditionAt(i) = Point(i + 1, 1);
}

std::unique_ptr<TSignalControllerBoard> ExampleBoard(int type)
{
    std::unique_ptr<TSignalControllerBoard> board;
    if (type == 0)
        board = std::make_unique<TORB4Board>();
    else
        board = std::make_unique<TORB8Board>();
    const std::string file =
        std::string(RAILSCOPE_SOURCE_DIR "/data/examples/layout-") + (type == 0 ? "orb4" : "orb8") + ".csv";
    if (!LoadFirstRecord(*board, file)) return nullptr;
    return board;
}

// Values no window offers, as a board file or a board read back may hold them.
void PlantStoredValues(TSignalControllerBoard& board)
{
    board.Name = "Gare \xe9st"; // Latin-1, not UTF-8
    board.Notes = "Caf\xe9";
    board.SerialNumber = 0;
    board.SetSignalBaseAddress(4000);
    board.ReportSPAD = 2;
    board.IsolationDelay = 33;
    board.LampBrightnessSim = 3;
    TSignal& signal = board.GetSignal(1);
    signal.Name = "H\xf6he";
    signal.HeadType = 20;
    signal.NextSignal = 5000;
    signal.TranspondingZone = 9999;
    signal.RedSet().ConditionAt(3).SetSensor(0, 20, 1, true);
    signal.RedSet().ConditionAt(4) = Point(3000, 1);
    signal.AuxSet().ConditionAt(0).SetZone(5, false);
    if (auto* orb4 = dynamic_cast<TORB4Board*>(&board)) {
        orb4->SensorConfig().SensorBoardNumber = 300;
        orb4->SensorConfig().PairConfig[1] = 9;
        orb4->HighCurrentConfig().Outputs1to4 = 3;
        orb4->HighCurrentConfig().DCCBaseAddress = 0;
        orb4->DisplayMode = 2;
    } else if (auto* orb8 = dynamic_cast<TORB8Board*>(&board)) {
        orb8->SensorConfig().SensorBoardNumber = 0;
        orb8->SensorConfig().OnBoardInputs = 5;
        orb8->Signals1to4Leds = 4;
        orb8->AuxOutputs = 7;
        orb8->RedReleaseDelay = 40;
        orb8->InterrogateAtPowerUp = 2;
        orb8->LocoNetSwitchCommands = 9;
    }
}

} // namespace

class OrbEditorsTest : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        DialogSeam() = {};
        AnswerKeepValues();
    }
    void cleanup() { DialogSeam() = {}; }

    // ---- Every window: OK without a change leaves the board's record and SVs as they were.

    void OkOnUntouchedWindowsChangesNothing_data()
    {
        QTest::addColumn<int>("type");
        QTest::newRow("ORB4") << 0;
        QTest::newRow("ORB8") << 2;
    }
    void OkOnUntouchedWindowsChangesNothing()
    {
        QFETCH(int, type);
        std::unique_ptr<TSignalControllerBoard> board = ExampleBoard(type);
        QVERIFY(board);
        PlantStoredValues(*board);
        const TBoardSnapshot before = Snapshot(*board);

        QStringList opened;
        Answer([&opened](QDialog& dialog) {
            opened << dialog.objectName();
            if (auto* conditions = qobject_cast<TEditConditionsForm*>(&dialog)) {
                for (int row = 0; row < conditions->ConditionList->count(); ++row)
                    conditions->ConditionList->setCurrentRow(row);
            } else if (auto* signal = qobject_cast<TSignalEditForm*>(&dialog)) {
                for (int which = 0; which < TSignalEditForm::essCount; ++which) signal->DefineClick(which);
            } else if (auto* zone = qobject_cast<TRevZoneEditForm*>(&dialog)) {
                for (int which = 0; which < TRevRunZone::ezsCount; ++which) zone->DefineClick(which);
            } else if (auto* window = qobject_cast<TSignalControllerEditForm*>(&dialog)) {
                for (int row = 0; row < window->SignalList->count(); ++row) window->SignalListDblClick(row);
                for (int row = 0; row < window->RevZoneList->count(); ++row) window->RevZoneListDblClick(row);
            }
            return true;
        });
        DefaultBoardEditor(type)(nullptr, *board);

        QCOMPARE(opened.count(QStringLiteral("SignalEditForm")), 10);
        QCOMPARE(opened.count(QStringLiteral("RevZoneEditForm")), 3);
        QVERIFY(opened.count(QStringLiteral("EditConditionsForm")) >= 10 * 4 + 3 * 4);
        const TBoardSnapshot after = Snapshot(*board);
        QCOMPARE(after.Record, before.Record);
        QVERIFY(after.SVs == before.SVs);
    }

    void EditBoardOpensTheWindowOfTheBoardsType()
    {
        QStringList opened;
        Answer([&opened](QDialog& dialog) {
            opened << dialog.objectName();
            return false;
        });
        TORB4Board orb4;
        TORB8Board orb8;
        DefaultBoardEditor(0)(nullptr, orb4);
        DefaultBoardEditor(2)(nullptr, orb8);
        DefaultBoardEditor(0)(nullptr, orb8); // not an ORB4: nothing opens
        QCOMPARE(opened, (QStringList{QStringLiteral("Orb4EditForm"), QStringLiteral("Orb8EditForm")}));
    }

    void CaptionsAndHelpContexts()
    {
        TORB4Board orb4;
        orb4.SetSignalBaseAddress(201);
        TORB8Board orb8;
        TOrb4EditForm orb4Window(nullptr, orb4);
        TOrb8EditForm orb8Window(nullptr, orb8);
        TSignalEditForm signalWindow(nullptr, orb4.GetSignal(3));
        TRevZoneEditForm zoneWindow(nullptr, orb4.GetZone(2));
        TEditConditionsForm conditionsWindow(nullptr, orb4.GetZone(2).FreezeSet());
        const std::vector<std::pair<TEditorDialog*, QString>> windows{
            {&orb4Window, QStringLiteral("Edit ORB4 Board Settings")},
            {&orb8Window, QStringLiteral("Edit ORB8 Board Settings")},
            {&signalWindow, QStringLiteral("Edit Signal 3: (DCC Accessory Address = 203)")},
            {&zoneWindow, QStringLiteral("Edit Reverse Running Zone B")},
            {&conditionsWindow, QStringLiteral("Edit Conditions: Reverse Zone Freeze Conditions")}};
        const int contexts[] = {500, 560, 520, 530, 540};
        for (size_t i = 0; i < windows.size(); ++i) {
            QCOMPARE(windows[i].first->windowTitle(), windows[i].second);
            QCOMPARE(windows[i].first->HelpContext(), contexts[i]);
        }
        const QStringList delays = TSignalControllerEditForm::DelayItems();
        QCOMPARE(delays.size(), 33);
        QCOMPARE(delays.mid(0, 5),
                 (QStringList{QStringLiteral("No delay"), QStringLiteral("0.25s"), QStringLiteral("0.5s"),
                              QStringLiteral("0.75s"), QStringLiteral("1s")}));
        QCOMPARE(delays.last(), QStringLiteral("8s"));
    }

    // ---- Conditions window.

    void ChoosingADeviceTypeGivesAFreshCondition_data()
    {
        QTest::addColumn<int>("item");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("numberUsed");
        QTest::addColumn<bool>("offsetUsed");
        QTest::addColumn<QStringList>("states");
        QTest::newRow("None") << 0 << "(No Condition)" << false << false << QStringList{"none"};
        QTest::newRow("Point") << 1 << "Point 1 is Thrown" << true << false << QStringList{"Thrown", "Closed"};
        QTest::newRow("Sensor") << 2 << "Sensor 1,1 is Occupied" << true << true
                                << QStringList{"Occupied", "Unoccupied"};
        QTest::newRow("Signal") << 3 << "Signal 1 is Red" << true << false << QStringList{"Red", "Not Red"};
        QTest::newRow("Zone A") << 4 << "Rev Zone A running W-E" << false << false << QStringList{"W-E", "E-W"};
        QTest::newRow("Zone B") << 5 << "Rev Zone B running W-E" << false << false << QStringList{"W-E", "E-W"};
        QTest::newRow("Zone C") << 6 << "Rev Zone C running W-E" << false << false << QStringList{"W-E", "E-W"};
    }
    void ChoosingADeviceTypeGivesAFreshCondition()
    {
        QFETCH(int, item);
        QFETCH(QString, text);
        QFETCH(bool, numberUsed);
        QFETCH(bool, offsetUsed);
        QFETCH(QStringList, states);
        TConditionSet set(ecsAux);
        if (item == 1) // a condition of another type, which the choice replaces
            set.ConditionAt(0).SetSignal(44, 1, true);
        else
            set.ConditionAt(0).SetPoint(44, 1, true);
        TEditConditionsForm window(nullptr, set);
        window.DeviceTypeCombo->setCurrentIndex(item);
        QCOMPARE(window.ConditionList->item(0)->text(), text);
        QCOMPARE(QString::fromStdString(window.EditedSet().ConditionAt(0).Text()), text);
        QCOMPARE(window.NumberSpin->isEnabled(), numberUsed);
        QCOMPARE(window.OffsetSpin->isEnabled(), offsetUsed);
        QCOMPARE(window.NumberSpin->Value(), 1);
        // The device table keeps a sensor's number in one byte.
        QCOMPARE(window.NumberSpin->MaxValue(), item == 2 ? 255 : 2048);
        QCOMPARE(window.OffsetSpin->Value(), 1);
        QCOMPARE(Items(window.StateCombo), states);
        QCOMPARE(window.StateCombo->isEnabled(), states.size() > 1);
        QCOMPARE(window.StateCombo->currentIndex(), 0);
        QVERIFY(!window.AndBox->isChecked());
        QCOMPARE(set.ConditionAt(0).Number, 44u); // the set itself waits for OK

        if (states.size() > 1) {
            // The second state, and AND next.
            window.StateCombo->setCurrentIndex(1);
            window.AndBox->click();
            const TCondition& edited = window.EditedSet().ConditionAt(0);
            QCOMPARE(int(edited.State), item >= 4 ? 2 * (item - 4) + 1 : 1);
            QCOMPARE(int(edited.AndNext), 1);
            QVERIFY(window.ConditionList->item(0)->text().endsWith(QStringLiteral(", AND")));
        }
        window.accept();
        QVERIFY(set.SameConditions(window.EditedSet()));
    }

    void ConditionsLoadIntoTheControlsAndEditsApplyOnOK()
    {
        TConditionSet set(ecsBlock);
        set.ConditionAt(0).SetSensor(12, 3, 1, true);
        set.ConditionAt(1).SetZone(5, false);
        set.ConditionAt(2) = Point(7, 1);
        const TConditionSet original = set;

        TEditConditionsForm window(nullptr, set);
        QCOMPARE(window.SelectedPlace(), 0);
        QCOMPARE(window.DeviceTypeCombo->currentText(), QStringLiteral("Sensor"));
        QCOMPARE(window.NumberSpin->Value(), 12);
        QCOMPARE(window.OffsetSpin->Value(), 3);
        QVERIFY(window.OffsetSpin->isEnabled());
        QCOMPARE(window.StateCombo->currentText(), QStringLiteral("Unoccupied"));
        QVERIFY(window.AndBox->isChecked());

        window.ConditionList->setCurrentRow(1);
        QCOMPARE(window.DeviceTypeCombo->currentText(), QStringLiteral("Zone C"));
        QCOMPARE(window.StateCombo->currentText(), QStringLiteral("E-W"));
        QVERIFY(!window.NumberSpin->isEnabled());
        QCOMPARE(window.NumberSpin->Value(), 1);

        window.ConditionList->setCurrentRow(2);
        QCOMPARE(window.OffsetSpin->Value(), 1);
        QVERIFY(!window.OffsetSpin->isEnabled());
        window.NumberSpin->setValue(9);
        QCOMPARE(Lines(window.ConditionList),
                 (QStringList{"Sensor 12,3 is Unoccupied, AND", "Rev Zone C running E-W", "Point 9 is Closed"}));
        QVERIFY(set.SameConditions(original));
        window.reject();
        QVERIFY(set.SameConditions(original));

        TEditConditionsForm again(nullptr, set);
        again.ConditionList->setCurrentRow(2);
        again.NumberSpin->setValue(9);
        again.accept();
        QCOMPARE(set.ConditionAt(2), Point(9, 1));
        QCOMPARE(set.ConditionAt(0), original.ConditionAt(0));
    }

    void InsertAndDeleteInAFullSet()
    {
        TConditionSet set(ecsBlock);
        for (uint32_t i = 0; i < set.Count(); ++i) set.ConditionAt(i) = Point(i + 1, 0);
        TEditConditionsForm window(nullptr, set);
        QCOMPARE(Items(window.DeviceTypeCombo),
                 (QStringList{"None", "Point", "Sensor", "Signal", "Zone A", "Zone B", "Zone C"}));
        QCOMPARE(window.Insert1->text(), QStringLiteral("Insert"));
        QCOMPARE(window.Delete1->text(), QStringLiteral("Delete"));

        window.ConditionList->setCurrentRow(1);
        window.Insert1->trigger();
        QCOMPARE(Lines(window.ConditionList),
                 (QStringList{"Point 1 is Thrown", "(No Condition)", "Point 2 is Thrown"}));
        QCOMPARE(window.DeviceTypeCombo->currentText(), QStringLiteral("None"));
        QVERIFY(!window.AndBox->isEnabled());

        window.ConditionList->setCurrentRow(0);
        window.Delete1->trigger();
        QCOMPARE(Lines(window.ConditionList), (QStringList{"(No Condition)", "Point 2 is Thrown", "(No Condition)"}));
        QCOMPARE(window.SelectedPlace(), 0);
        QCOMPARE(set.ConditionAt(2), Point(3, 0));
        window.accept();
        QCOMPARE(Texts(set), (QStringList{"(No Condition)", "Point 2 is Thrown", "(No Condition)"}));
    }

    // ---- Signal window.

    void LayoutFollowsTheSignalType()
    {
        TSignal signal;
        FillRedSet(signal);
        TSignalEditForm window(nullptr, signal);
        const auto list = [&window](int which) { return Lines(window.SetBoxes[size_t(which)]->List); };
        QCOMPARE(window.ClosedLabel->text(), QStringLiteral("Settings:"));
        QCOMPARE(window.ThrownLabel->text(), QStringLiteral("(Not Used)"));
        QVERIFY(!window.ThrownPanel->isEnabled());
        QCOMPARE(list(TSignalEditForm::essBlkThrown), QStringList{"N/A"});
        QCOMPARE(list(TSignalEditForm::essRedThrown), QStringList{"N/A"});
        QCOMPARE(list(TSignalEditForm::essRedClosed).size(), 14);
        QCOMPARE(list(TSignalEditForm::essAux), (QStringList{"(No Condition)", "(No Condition)"}));

        window.SigTypeCombo->setCurrentIndex(0); // "Diverging Junction": applies at once
        QVERIFY(!signal.IsBlock());
        QCOMPARE(window.ClosedLabel->text(), QStringLiteral("Settings when Point is CLOSED:"));
        QCOMPARE(window.ThrownLabel->text(), QStringLiteral("Settings when Point is THROWN:"));
        QVERIFY(window.ThrownPanel->isEnabled());
        QCOMPARE(list(TSignalEditForm::essRedClosed),
                 (QStringList{"Point 1 is Closed", "Point 2 is Closed", "Point 3 is Closed", "Point 4 is Closed",
                              "Point 5 is Closed"}));
        QCOMPARE(list(TSignalEditForm::essBlkThrown).size(), 3);
        QCOMPARE(list(TSignalEditForm::essRedThrown).size(), 5);
        for (auto* box : window.SetBoxes) QVERIFY(!box->LearnBtn->isEnabled());
    }

    void NumbersTheUsersChoiceBringsIntoUseHoldValuesInRange()
    {
        TSignal signal; // junction point 0, both next signals 0 and normal
        TSignalEditForm window(nullptr, signal);
        window.SigTypeCombo->setCurrentIndex(0); // diverging: the point and the thrown next signal apply
        window.NxtSigClosedCombo->setCurrentIndex(ensAlwaysRed);
        QCOMPARE(window.NxtSigClosedSpin->Value(), 0); // kept while no mode uses it
        window.NxtSigClosedCombo->setCurrentIndex(ensVirtual); // 0 would read as always green
        window.accept();
        QVERIFY(std::tie(signal.JunctionPoint, signal.NextSignal, signal.NextSignalThrown) ==
                std::make_tuple(1u, 1u, 1u));
    }

    void CancelRestoresTheSignalTypeAndConditions_data()
    {
        QTest::addColumn<bool>("block");
        QTest::newRow("block turned diverging") << true;
        QTest::newRow("diverging turned block") << false;
    }
    void CancelRestoresTheSignalTypeAndConditions()
    {
        QFETCH(bool, block);
        TSignal signal;
        FillRedSet(signal);
        if (!block) {
            signal.SetType(estDiverging);
            signal.RedThrownSet()->ConditionAt(0) = Point(40, 0);
            signal.BlockOccupiedThrownSet()->ConditionAt(2) = Point(41, 1);
        }
        signal.Name = "Home";
        const TSignal original = signal;
        std::ostringstream before;
        signal.WriteLines(before);

        TSignalEditForm window(nullptr, signal);
        window.NameEdit->setText(QStringLiteral("Changed"));
        window.HeadTypeCombo->setCurrentIndex(0);
        window.SigTypeCombo->setCurrentIndex(block ? 0 : 1);
        QCOMPARE(signal.IsBlock(), !block);
        window.SigTypeCombo->setCurrentIndex(block ? 1 : 0); // and back: the sets were cut on the way
        window.SigTypeCombo->setCurrentIndex(block ? 0 : 1);
        window.reject();

        std::ostringstream after;
        signal.WriteLines(after);
        QCOMPARE(after.str(), before.str());
        QCOMPARE(signal.IsBlock(), block);
        QVERIFY(signal.RedSet().SameConditions(original.RedSet()));
    }

    void ConditionsConfirmedWithOKSurviveCancel_data()
    {
        QTest::addColumn<bool>("changeType");
        QTest::addColumn<QString>("edit"); // what the conditions window does to place 1, if anything
        QTest::addColumn<bool>("confirm");
        QTest::addColumn<QStringList>("red");
        const QStringList six{"Point 1 is Closed", "Point 2 is Closed", "Point 3 is Closed",
                              "Point 4 is Closed", "Point 5 is Closed", "Point 6 is Closed"};
        QStringList defined = six;
        defined[0] = QStringLiteral("Signal 1 is Red");
        const QString retype = QStringLiteral("retype"), del = QStringLiteral("delete"), none;
        QTest::newRow("confirmed") << false << retype << true << defined;
        QTest::newRow("cancelled in the conditions window") << false << retype << false << six;
        // The sixth condition, which only the diverging type hid, comes back after the five shown.
        QTest::newRow("confirmed after a type change") << true << retype << true << defined;
        QTest::newRow("deleted after a type change") << true << del << true << six.mid(1);
        QTest::newRow("type change, conditions cancelled") << true << retype << false << six;
        QTest::newRow("type change, OK without editing") << true << none << true << six;
    }
    void ConditionsConfirmedWithOKSurviveCancel()
    {
        QFETCH(bool, changeType);
        QFETCH(QString, edit);
        QFETCH(bool, confirm);
        QFETCH(QStringList, red);
        TSignal signal;
        FillRedSet(signal);
        signal.Name = "Home";
        TSignalEditForm window(nullptr, signal);
        window.NameEdit->setText(QStringLiteral("Changed"));
        if (changeType) window.SigTypeCombo->setCurrentIndex(0);
        Answer([confirm, edit](QDialog& dialog) {
            auto* conditions = qobject_cast<TEditConditionsForm*>(&dialog);
            if (conditions && edit == QLatin1String("retype"))
                conditions->DeviceTypeCombo->setCurrentIndex(3); // "Signal"
            if (conditions && edit == QLatin1String("delete")) conditions->DeleteClick();
            return confirm;
        });
        window.DefineClick(TSignalEditForm::essRedClosed);
        window.reject();

        QVERIFY(signal.IsBlock());
        QCOMPARE(signal.Name, std::string("Home"));
        QCOMPARE(Texts(signal.RedSet()).mid(0, 6), red + QStringList(6 - red.size(), "(No Condition)"));
    }

    // A double quote typed or pasted into a text is left out, and the field says so at the text.
    void AQuoteLeftOutIsTold()
    {
        TSignal signal;
        TSignalEditForm window(nullptr, signal);
        window.show();
        window.NameEdit->clear();
        QTest::keyClicks(window.NameEdit, QStringLiteral("Up"));
        QVERIFY(!QToolTip::isVisible());
        QTest::keyClicks(window.NameEdit, QStringLiteral("\"home"));
        QCOMPARE(window.NameEdit->text(), QStringLiteral("Uphome"));
        QTRY_VERIFY(QToolTip::isVisible());
        QCOMPARE(QToolTip::text(), QString::fromLatin1(kQuoteLeftOut));
        QToolTip::hideText();
        window.NameEdit->setCursorPosition(2);
        window.NameEdit->insert(QStringLiteral(" \"main\" ")); // as a paste does
        QCOMPARE(window.NameEdit->text(), QStringLiteral("Up main home"));
        QCOMPARE(window.NameEdit->cursorPosition(), 8);
        QTRY_VERIFY(QToolTip::isVisible());
    }

    void OkWritesTheSignal()
    {
        TSignal signal;
        TSignalEditForm window(nullptr, signal);
        window.NameEdit->clear();
        QTest::keyClicks(window.NameEdit, QStringLiteral("a\"b")); // a double quote is refused
        window.DescriptionEdit->setText(QStringLiteral("Down main"));
        window.HeadTypeCombo->setCurrentIndex(13);
        window.PointSpin->setValue(31);
        window.TZoneSpin->setValue(7);
        window.RevZoneCombo->setCurrentIndex(4);
        window.SigTypeCombo->setCurrentIndex(0);
        window.NxtSigClosedSpin->setValue(12);
        window.NxtSigClosedCombo->setCurrentIndex(1);
        window.NxtSigThrownSpin->setValue(13);
        window.NxtSigThrownCombo->setCurrentIndex(3);
        window.accept();
        QCOMPARE(signal.Name, std::string("ab"));
        QCOMPARE(signal.Description, std::string("Down main"));
        QCOMPARE(signal.HeadType, 13);
        QCOMPARE(signal.JunctionPoint, 31u);
        QCOMPARE(signal.TranspondingZone, 7u);
        QCOMPARE(int(signal.GetRevZone()), 4);
        QVERIFY(!signal.IsBlock());
        QCOMPARE(signal.NextSignal, 12u);
        QCOMPARE(int(signal.GetNextMode()), 1);
        QCOMPARE(signal.NextSignalThrown, 13u);
        QCOMPARE(int(signal.GetNextModeThrown()), 3);
    }

    // ---- Zone and board windows.

    void ZoneWindowKeepsConfirmedConditionsOnCancel()
    {
        TRevRunZone zone;
        zone.Name = "Loop";
        TRevZoneEditForm window(nullptr, zone);
        QCOMPARE(Lines(window.SetBoxes[TRevRunZone::ezsWestEast]->List).size(), 8);
        QCOMPARE(Lines(window.SetBoxes[TRevRunZone::ezsShunt]->List).size(), 3);
        window.NameEdit->setText(QStringLiteral("Changed"));
        Answer([](QDialog& dialog) {
            qobject_cast<TEditConditionsForm*>(&dialog)->DeviceTypeCombo->setCurrentIndex(5);
            return true;
        });
        window.DefineClick(TRevRunZone::ezsFreeze);
        QCOMPARE(Lines(window.SetBoxes[TRevRunZone::ezsFreeze]->List).first(),
                 QStringLiteral("Rev Zone B running W-E"));
        window.reject();
        QCOMPARE(zone.Name, std::string("Loop"));
        QCOMPARE(QString::fromStdString(zone.FreezeSet().ConditionAt(0).Text()),
                 QStringLiteral("Rev Zone B running W-E"));

        TRevZoneEditForm again(nullptr, zone);
        again.NameEdit->setText(QStringLiteral("Reversing loop"));
        again.DescriptionEdit->setText(QStringLiteral("behind the station"));
        again.accept();
        QCOMPARE(zone.Name, std::string("Reversing loop"));
        QCOMPARE(zone.Description, std::string("behind the station"));
    }

    void BoardWindowOkWritesAndCancelKeepsChildEdits()
    {
        TORB4Board board;
        {
            TOrb4EditForm window(nullptr, board);
            window.BdNameEdit->setText(QStringLiteral("Up main"));
            window.DCCAddrSpin->setValue(300);
            window.SerialNumSpin->setValue(1001);
            window.SensorPairCombos[2]->setCurrentIndex(2);
            window.HighCSpin->setValue(1200);
            window.Op58Combo->setCurrentIndex(1);
            window.IsolationDelayCombo->setCurrentIndex(32);
            window.DisplayCheck->click();
            window.accept();
        }
        QCOMPARE(board.Name, std::string("Up main"));
        QCOMPARE(board.GetSignalBaseAddress(), 300u);
        QCOMPARE(board.GetSignal(10).DCCAddress(), 309u);
        QCOMPARE(board.SerialNumber, 1001u);
        QCOMPARE(int(board.SensorConfig().PairConfig[2]), 2);
        QCOMPARE(board.HighCurrentConfig().DCCBaseAddress, 1200u);
        QCOMPARE(int(board.HighCurrentConfig().Outputs5to8), 1);
        QCOMPARE(board.IsolationDelay, 32u);
        QCOMPARE(int(board.DisplayMode), 1);

        TOrb4EditForm window(nullptr, board);
        Answer([](QDialog& dialog) {
            auto* signal = qobject_cast<TSignalEditForm*>(&dialog);
            signal->NameEdit->setText(QStringLiteral("Renamed"));
            signal->SigTypeCombo->setCurrentIndex(0);
            return true;
        });
        window.BdNameEdit->setText(QStringLiteral("Not kept"));
        window.SerialNumSpin->setValue(5);
        window.SignalListDblClick(1);
        QCOMPARE(window.SignalList->item(1)->text(), QStringLiteral("2\tDiverging\tRenamed"));
        window.reject();
        QCOMPARE(board.Name, std::string("Up main"));
        QCOMPARE(board.SerialNumber, 1001u);
        QCOMPARE(board.GetSignal(2).Name, std::string("Renamed"));
        QVERIFY(!board.GetSignal(2).IsBlock());
    }

    void Orb8WindowOkWritesItsSettings()
    {
        TORB8Board board;
        TOrb8EditForm window(nullptr, board);
        QCOMPARE(Items(window.SensorIntCombo),
                 (QStringList{"Not Used", "Sensor numbers 1-8", "Sensor numbers 9-16", "Set Signal Red"}));
        window.SensorSpin->setValue(200);
        window.SensorExtCombo->setCurrentIndex(3);
        window.Op14Combo->setCurrentIndex(1);
        window.AuxOutputCombo->setCurrentIndex(1);
        window.ReleaseDelayCombo->setCurrentIndex(0);
        window.InterrogateCheck->click();
        window.LocoNetCheck->click();
        window.SPADCheck->click();
        window.accept();
        QCOMPARE(board.SensorConfig().SensorBoardNumber, 200u);
        QCOMPARE(int(board.SensorConfig().ExternalInputs), 3);
        QCOMPARE(int(board.Signals1to4Leds), 1);
        QCOMPARE(int(board.AuxOutputs), 1);
        QCOMPARE(board.RedReleaseDelay, 0u);
        QCOMPARE(int(board.InterrogateAtPowerUp), 1);
        QCOMPARE(int(board.LocoNetSwitchCommands), 1);
        QCOMPARE(int(board.ReportSPAD), 1);
    }
};

QTEST_MAIN(OrbEditorsTest)
#include "OrbEditorsTest.moc"

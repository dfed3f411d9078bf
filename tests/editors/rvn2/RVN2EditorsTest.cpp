// The RVN2 windows: the board window, the sequence window with its step controls, and the wizard
// with the SVs of the programs it makes.
#include "boards/rvn2/RVN2Board.h"
#include "boards/rvn2/RVN2Programs.h"
#include "editors/BoardEditors.h"
#include "editors/rvn2/RVN2EditForm.h"
#include "editors/rvn2/RVN2SequenceEditForm.h"
#include "editors/rvn2/RVN2Wizard.h"
#include "editors/KeepValues.h"
#include "support/BoardSnapshot.h"
#include "widgets/DialogSeam.h"
#include "widgets/IndexCombo.h"
#include "widgets/SpinEdit.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

#include <functional>
#include <utility>
#include <vector>

namespace {

// The six bytes of a step from SV `first` on.
std::vector<uint8_t> StepBytes(const std::vector<uint8_t>& svs, uint32_t first)
{
    return {svs.begin() + first - 1, svs.begin() + first - 1 + 6};
}

QStringList Lines(const QListWidget* list)
{
    QStringList lines;
    for (int i = 0; i < list->count(); ++i) lines << list->item(i)->text();
    return lines;
}

// A sensor-triggered stop: sensor 10,16, every 4th trigger, after step 2, decelerating over 3 s.
void SetSensorStop(TRVN2SequenceStep& step)
{
    step.Comment = "at the platform";
    step.Trigger = eTrigSensor;
    step.TriggerSensorBoard = 10;
    step.TriggerSensorInput = 16;
    step.Iterations = 4;
    step.RetriggerStep = 2;
    step.Action = eActStop;
    step.SpeedChangeTime = 3;
}

} // namespace

class RVN2EditorsTest : public QObject {
    Q_OBJECT

    // Answers for the nested windows, by class; a window without an answer is cancelled.
    std::function<bool(TRVN2SequenceEditForm&)> OnSequence;
    std::function<bool(TTRVN2Wizard&)> OnWizard;
    int Orphans = 0; // nested windows opened without their caller as parent

    void AnswerWindows()
    {
        DialogSeam().ModalDialog = [this](QDialog& dialog) -> int {
            if (!dialog.parentWidget()) Orphans++;
            bool ok = false;
            if (auto* sequence = qobject_cast<TRVN2SequenceEditForm*>(&dialog); sequence && OnSequence)
                ok = OnSequence(*sequence);
            if (auto* wizard = qobject_cast<TTRVN2Wizard*>(&dialog); wizard && OnWizard) ok = OnWizard(*wizard);
            ok ? dialog.accept() : dialog.reject();
            return dialog.result();
        };
    }

private slots:
    void init()
    {
        DialogSeam() = {};
        OnSequence = {};
        OnWizard = {};
        Orphans = 0;
        AnswerWindows();
        AnswerKeepValues();
    }
    void cleanup()
    {
        DialogSeam() = {};
        QCOMPARE(Orphans, 0);
    }

    // ---- Board window ----

    void BoardWindowShowsAndWritesBackTheBoard()
    {
        TRVN2Board board;
        board.Name = "Branch Line";
        board.SerialNumber = 1201;
        board.Notes = "Ashby to Coldwater";
        board.SensorConfig.ConfigCode = 2;
        board.SensorConfig.SensorBoardNumber = 12;
        board.Sequences[1].Name = "Horn";
        TRVN2EditForm form(nullptr, board);
        QCOMPARE(form.windowTitle(), QStringLiteral("Edit RVN2 Autoferry Settings"));
        QCOMPARE(form.HelpContext(), 700);
        QCOMPARE(form.BoardNameEdit->text(), QStringLiteral("Branch Line"));
        QCOMPARE(form.SerialNumEdit->Value(), 1201);
        QCOMPARE(form.DescriptionEdit->text(), QStringLiteral("Ashby to Coldwater"));
        QCOMPARE(form.SensorCombo->currentText(), QStringLiteral("sensors 5-8"));
        QCOMPARE(form.SensorCombo->count(), 5);
        QCOMPARE(form.SensorBoardSpin->Value(), 12);
        QCOMPARE(Lines(form.SequenceList), (QStringList{"1\tUndefined", "2\tHorn", "3\tUndefined", "4\tUndefined"}));

        form.BoardNameEdit->setText(QStringLiteral("Main Line"));
        form.SerialNumEdit->setValue(65536);
        form.DescriptionEdit->setText(QStringLiteral("notes"));
        form.SensorCombo->setCurrentIndex(4);
        form.SensorBoardSpin->setValue(255);
        QCOMPARE(board.Name, std::string("Branch Line")); // nothing before OK
        form.OKBtn->click();
        QCOMPARE(board.Name, std::string("Main Line"));
        QCOMPARE(board.SerialNumber, 65536u);
        QCOMPARE(board.Notes, std::string("notes"));
        QCOMPARE(int(board.SensorConfig.ConfigCode), 4);
        QCOMPARE(board.SensorConfig.SensorBoardNumber, 255u);
    }

    void BoardWindowCancelKeepsSettingsButNotTheSequenceWindowsOK()
    {
        TRVN2Board board;
        TRVN2EditForm form(nullptr, board);
        OnSequence = [](TRVN2SequenceEditForm& sequence) {
            sequence.NameEdit->setText(QStringLiteral("Renamed"));
            return true;
        };
        form.BoardNameEdit->setText(QStringLiteral("changed"));
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        const QPoint third = form.SequenceList->visualItemRect(form.SequenceList->item(2)).center();
        QTest::mouseClick(form.SequenceList->viewport(), Qt::LeftButton, {}, third);
        QTest::mouseDClick(form.SequenceList->viewport(), Qt::LeftButton, {}, third);
        QCOMPARE(form.SequenceList->item(2)->text(), QStringLiteral("3\tRenamed"));
        form.CancelBtn->click();
        // The board window edits in place: the sequence OK'd in its own window stays.
        QCOMPARE(board.Sequences[2].Name, std::string("Renamed"));
        QCOMPARE(board.Name, std::string("RVN2 Autoferry"));
    }

    void BoardListOpensTheBoardWindow()
    {
        const TBoardEditor editor = DefaultBoardEditor(eRVN2);
        QVERIFY(editor);
        TRVN2Board board;
        QWidget anchor;
        QWidget* parent = nullptr;
        DialogSeam().ModalDialog = [&](QDialog& dialog) -> int {
            parent = dialog.parentWidget();
            if (!qobject_cast<TRVN2EditForm*>(&dialog)) return QDialog::Rejected;
            dialog.findChild<QLineEdit*>(QStringLiteral("BoardNameEdit"))->setText(QStringLiteral("edited"));
            dialog.accept();
            return dialog.result();
        };
        editor(&anchor, board);
        QCOMPARE(parent, &anchor);
        QCOMPARE(board.Name, std::string("edited"));
    }

    // OK on every window, untouched, with values no control can show, changes neither the
    // board's record nor its SVs.
    void UntouchedWindowsChangeNothing()
    {
        TRVN2Board board;
        board.SerialNumber = 70000;
        board.SensorConfig.ConfigCode = 9;
        board.SensorConfig.SensorBoardNumber = 700;
        TRVN2Sequence& sequence = board.Sequences[0];
        sequence.SequenceType = 5;
        sequence.ActiveSteps = 40;
        sequence.Name = "A name of twenty chr";
        SetSensorStop(sequence.Steps[0]);
        sequence.Steps[0].TriggerSensorBoard = 500;
        sequence.Steps[0].TriggerSensorInput = 20;
        sequence.Steps[0].Iterations = 4000;
        sequence.Steps[0].RetriggerStep = 30;
        sequence.Steps[0].SpeedChangeTime = 40;
        sequence.Steps[1].Action = eActLocoFunction;
        sequence.Steps[1].FunctionNumber = 50;
        sequence.Steps[1].FunctionTime = 9;
        sequence.Steps[1].Delay = 1500;
        sequence.Steps[2].Trigger = 7;
        sequence.Steps[2].Action = 12;
        sequence.Steps[3].Action = eActPointThrown;
        sequence.Steps[3].ActionPoint = 5000;
        sequence.Steps[3].Trigger = eTrigPointClosed;
        sequence.Steps[3].TriggerPoint = 0;
        // Steps 5 to 16 hold the zeros of new steps.
        const TBoardSnapshot before = Snapshot(board);

        int wizards = 0;
        OnWizard = [&](TTRVN2Wizard&) { return ++wizards > 0; };
        OnSequence = [&](TRVN2SequenceEditForm& form) {
            for (int step = 0; step < 16; ++step) form.StepList->setCurrentRow(step);
            form.StepList->setCurrentRow(0);
            form.WizardBtn->click();
            return true;
        };
        TRVN2EditForm form(nullptr, board);
        for (int index = 0; index < 4; ++index) form.EditSequence(index);
        form.OKBtn->click();
        QCOMPARE(wizards, 4);
        const TBoardSnapshot after = Snapshot(board);
        QCOMPARE(after.Record, before.Record);
        QVERIFY(after.SVs == before.SVs);
    }

    // ---- Sequence window ----

    void SequenceWindowShowsTheSequence()
    {
        TRVN2Sequence sequence(3);
        sequence.Name = "Coldwater";
        sequence.Description = "station";
        sequence.SequenceType = eSeqShuttle;
        sequence.ActiveSteps = 7; // stored, although only step 2 is used
        SetSensorStop(sequence.Steps[1]);
        TRVN2SequenceEditForm form(nullptr, sequence);
        QCOMPARE(form.windowTitle(), QStringLiteral("Edit Sequence: 3"));
        QCOMPARE(form.HelpContext(), 710);
        QCOMPARE(form.NameEdit->text(), QStringLiteral("Coldwater"));
        QCOMPARE(form.DescriptionEdit->text(), QStringLiteral("station"));
        QCOMPARE(form.SequenceTypeCombo->currentText(), QStringLiteral("Shuttle"));
        QCOMPARE(form.ActiveStepEdit->text(), QStringLiteral("7"));
        QVERIFY(form.ActiveStepEdit->isReadOnly());
        QCOMPARE(form.StepList->count(), 16);
        QCOMPARE(form.StepList->item(1)->text(), QStringLiteral("2: trigger when sensor 10,16 occupied; Stop train."));
        QCOMPARE(form.RetrigCombo->count(), 17);
        QCOMPARE(form.RetrigCombo->itemText(16), QStringLiteral("Step 16 has triggered"));
        QCOMPARE(form.ActionCombo->count(), 10);
        QCOMPARE(form.StepList->currentRow(), 0);

        form.StepList->setCurrentRow(1);
        QCOMPARE(form.SelectedStep(), 1);
        QCOMPARE(form.TriggerCombo->currentText(), QStringLiteral("Track Sensor"));
        QCOMPARE(form.TrigSpin1->Value(), 10);
        QCOMPARE(form.TrigSpin2->Value(), 16);
        QCOMPARE(form.IterationSpin->Value(), 4);
        QCOMPARE(form.RetrigCombo->currentText(), QStringLiteral("Step 2 has triggered"));
        QCOMPARE(form.ActionCombo->currentText(), QStringLiteral("Stop Train"));
        QCOMPARE(form.ActionSpin1->Value(), 3);
        // Loading steps is not an edit.
        QCOMPARE(form.SequenceTypeCombo->currentText(), QStringLiteral("Shuttle"));
        QCOMPARE(form.ActiveStepEdit->text(), QStringLiteral("7"));
    }

    void ParameterLayoutFollowsTriggerAndAction_data()
    {
        QTest::addColumn<bool>("trigger");
        QTest::addColumn<int>("value");
        QTest::addColumn<QString>("label1");
        QTest::addColumn<QString>("label2");
        QTest::addColumn<bool>("spin1");
        QTest::addColumn<bool>("spin2");
        QTest::addColumn<int>("shown1"); // the step field the first spin shows
        const QString unused = QStringLiteral("(not used)");
        QTest::newRow("delay") << true << 0 << "delay (secs)" << unused << true << false << 11;
        QTest::newRow("point closed") << true << 1 << "DCC number" << unused << true << false << 12;
        QTest::newRow("sensor") << true << 3 << "Sensor board"
                                << "Sensor number" << true << true << 13;
        QTest::newRow("no action") << false << 0 << unused << unused << false << false << -1;
        QTest::newRow("stop") << false << 1 << "accel time (sec)" << unused << true << false << 5;
        QTest::newRow("direction B") << false << 5 << "accel time (sec)" << unused << true << false << 5;
        QTest::newRow("function") << false << 6 << "Fn number"
                                  << "on time (sec)" << true << true << 6;
        QTest::newRow("dispatch") << false << 7 << unused << unused << false << false << -1;
        QTest::newRow("point closed action") << false << 8 << "Point number" << unused << true << false << 21;
    }
    void ParameterLayoutFollowsTriggerAndAction()
    {
        QFETCH(bool, trigger);
        QFETCH(int, value);
        QFETCH(QString, label1);
        QFETCH(QString, label2);
        QFETCH(bool, spin1);
        QFETCH(bool, spin2);
        QFETCH(int, shown1);
        TRVN2Sequence sequence;
        TRVN2SequenceStep& step = sequence.Steps[0];
        step.Trigger = uint8_t(trigger ? value : int(eTrigSensor));
        step.Action = uint8_t(trigger ? int(eActStop) : value);
        step.Delay = 11;
        step.TriggerPoint = 12;
        step.TriggerSensorBoard = 13;
        step.TriggerSensorInput = 14;
        step.Iterations = 3;
        step.SpeedChangeTime = 5;
        step.FunctionNumber = 6;
        step.FunctionTime = 7;
        step.ActionPoint = 21;
        TRVN2SequenceEditForm form(nullptr, sequence);
        QLabel* labels[] = {trigger ? form.TrigParam1 : form.ActionParam1,
                            trigger ? form.TrigParam2 : form.ActionParam2};
        TSpinEdit* spins[] = {trigger ? form.TrigSpin1 : form.ActionSpin1, trigger ? form.TrigSpin2 : form.ActionSpin2};
        QCOMPARE(labels[0]->text(), label1);
        QCOMPARE(labels[1]->text(), label2);
        QCOMPARE(spins[0]->isEnabled(), spin1);
        QCOMPARE(spins[1]->isEnabled(), spin2);
        if (shown1 >= 0) QCOMPARE(spins[0]->Value(), shown1);
        if (trigger) QCOMPARE(form.IterationSpin->isEnabled(), value == eTrigSensor);
        if (value == eActLocoFunction && !trigger) QCOMPARE(spins[1]->Value(), 7);
        if (value == eTrigSensor && trigger) QCOMPARE(spins[1]->Value(), 14);
        // Shown, not edited.
        QCOMPARE(form.SequenceTypeCombo->Value(), int(eSeqUserDefined));
        QVERIFY(form.WorkingCopy().Steps[0].Delay == 11 && form.WorkingCopy().Steps[0].ActionPoint == 21);
    }

    void NameIsCutTo15WhenLeftAndOnOK()
    {
        const QString twenty = QStringLiteral("Twenty characters!!!");
        QCOMPARE(twenty.size(), 20);
        {
            TRVN2Sequence sequence;
            TRVN2SequenceEditForm form(nullptr, sequence);
            form.show();
            QVERIFY(QTest::qWaitForWindowActive(&form));
            form.NameEdit->setFocus();
            form.NameEdit->selectAll();
            QTest::keyClicks(form.NameEdit, twenty);
            QCOMPARE(form.NameEdit->text(), twenty);
            form.DescriptionEdit->setFocus();
            QCOMPARE(form.NameEdit->text(), twenty.left(15));
            form.OKBtn->click();
            QCOMPARE(sequence.Name, twenty.left(15).toStdString());
        }
        {
            // OK from the keyboard, without leaving the field.
            TRVN2Sequence sequence;
            TRVN2SequenceEditForm form(nullptr, sequence);
            form.NameEdit->setText(twenty);
            form.done(QDialog::Accepted);
            QCOMPARE(sequence.Name, twenty.left(15).toStdString());
        }
    }

    void NameIsCutToTheBytesTheBoardKeeps()
    {
        TRVN2Board board;
        TRVN2SequenceEditForm form(nullptr, board.Sequences[0]);
        form.show();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        form.NameEdit->setFocus();
        form.NameEdit->selectAll();
        // 15 characters, 16 bytes.
        QTest::keyClicks(form.NameEdit, QStringLiteral("Bahnhof S"));
        QTest::sendKeyEvent(QTest::Click, form.NameEdit, Qt::Key_unknown, QStringLiteral("\u00fc"), Qt::NoModifier);
        QTest::keyClicks(form.NameEdit, QStringLiteral("d 123"));
        QCOMPARE(form.NameEdit->text(), QStringLiteral("Bahnhof S\u00fcd 123"));
        form.DescriptionEdit->setFocus();
        QCOMPARE(form.NameEdit->text(), QStringLiteral("Bahnhof S\u00fcd 12"));
        form.OKBtn->click();
        const std::vector<uint8_t> svs = CalculatedSVs(board);
        QCOMPARE(std::string(svs.begin() + 31, svs.begin() + 46), std::string("Bahnhof S\u00fcd 12"));
    }

    void ActionChangeKeepsTheAccelTimeWithinTheNewActionsLimit()
    {
        TRVN2Board board;
        TRVN2SequenceStep& step = board.Sequences[0].Steps[0];
        step.Action = eActStartDirA;
        step.SpeedChangeTime = 12; // the longest time of actions 1 to 4
        TRVN2SequenceEditForm form(nullptr, board.Sequences[0]);
        form.ActionCombo->setCurrentIndex(eActStartDirB);
        QCOMPARE(form.ActionSpin1->Value(), 11);
        form.OKBtn->click();
        // Step 1's action word (SV 51, 52): 5 + 8 * 11; with 12 s it would read as a loco function.
        QCOMPARE(StepBytes(CalculatedSVs(board), 47)[4], uint8_t(93));
    }

    void FunctionNumberAndOnTimeNeverGiveTheDispatchWord()
    {
        TRVN2Board board;
        TRVN2SequenceStep& step = board.Sequences[0].Steps[0];
        step.Action = eActLocoFunction;
        step.FunctionNumber = 12;
        step.FunctionTime = 4; // word 200, which the board reads as "Dispatch Loco"
        TRVN2SequenceEditForm form(nullptr, board.Sequences[0]);
        QCOMPARE(form.ActionSpin2->Value(), 4); // kept while untouched
        form.ActionCombo->setCurrentIndex(eActDispatch);
        form.ActionCombo->setCurrentIndex(eActLocoFunction); // chosen again: the time moves
        QCOMPARE(form.ActionSpin2->Value(), 3);
        form.ActionSpin2->stepUp(); // passes over 4
        form.ActionSpin1->stepDown();
        form.ActionSpin2->stepDown();
        form.ActionSpin1->stepUp(); // with 4 s, passes over 12
        QVERIFY(form.ActionSpin1->Value() == 13 && form.ActionSpin2->Value() == 4);
        form.OKBtn->click();
        QCOMPARE(StepBytes(CalculatedSVs(board), 47)[4], uint8_t(208)); // 100 + 8 * 13 + 4
    }

    void ChoosingNoActionResetsTheStep()
    {
        TRVN2Sequence sequence;
        sequence.ActiveSteps = 2;
        SetSensorStop(sequence.Steps[0]);
        SetSensorStop(sequence.Steps[1]);
        TRVN2SequenceEditForm form(nullptr, sequence);
        form.StepList->setCurrentRow(1);
        form.ActionCombo->setCurrentIndex(0);
        TRVN2SequenceStep reset = sequence.Steps[1];
        reset.Reset();
        const TRVN2SequenceStep& step = form.WorkingCopy().Steps[1];
        QVERIFY(std::tie(step.Trigger, step.Action, step.Delay, step.TriggerSensorBoard, step.TriggerSensorInput,
                         step.Iterations, step.RetriggerStep, step.SpeedChangeTime) ==
                std::tie(reset.Trigger, reset.Action, reset.Delay, reset.TriggerSensorBoard, reset.TriggerSensorInput,
                         reset.Iterations, reset.RetriggerStep, reset.SpeedChangeTime));
        QCOMPARE(step.Comment, std::string("at the platform"));
        QCOMPARE(form.StepList->item(1)->text(), QStringLiteral("2: Step not used."));
        QCOMPARE(form.ActiveStepEdit->text(), QStringLiteral("1"));
        // The controls show the reset step.
        QCOMPARE(form.TriggerCombo->Value(), 0);
        QCOMPARE(form.TrigSpin1->Value(), 1);
        QCOMPARE(form.RetrigCombo->Value(), 0);
        QCOMPARE(form.IterationSpin->Value(), 1);
        // The original is untouched until OK.
        QCOMPARE(int(sequence.Steps[1].Action), int(eActStop));
    }

    void WritingAStepTakesTheControlsAndMakesTheTypeUserDefined()
    {
        TRVN2Sequence sequence;
        sequence.SequenceType = eSeqStationStop;
        SetSensorStop(sequence.Steps[0]);
        TRVN2SequenceEditForm form(nullptr, sequence);
        QCOMPARE(form.SequenceTypeCombo->currentText(), QStringLiteral("Station Stop"));
        form.TrigSpin2->setValue(9);
        QCOMPARE(form.SequenceTypeCombo->currentText(), QStringLiteral("User Defined"));
        QCOMPARE(form.WorkingCopy().Steps[0].TriggerSensorInput, 9u);
        form.IterationSpin->setValue(6);
        QCOMPARE(form.WorkingCopy().Steps[0].Iterations, 6u);

        // A delay or point trigger always acts on every trigger.
        form.TriggerCombo->setCurrentIndex(eTrigDelay);
        QCOMPARE(form.WorkingCopy().Steps[0].Iterations, 1u);
        QCOMPARE(form.WorkingCopy().Steps[0].Trigger, uint8_t(eTrigDelay));
        form.TrigSpin1->setValue(45);
        QCOMPARE(form.WorkingCopy().Steps[0].Delay, 45u);
        // The sensor fields are kept for when the trigger returns to a sensor.
        form.TriggerCombo->setCurrentIndex(eTrigSensor);
        QCOMPARE(form.TrigSpin1->Value(), 10);
        QCOMPARE(form.TrigSpin2->Value(), 9);

        form.ActionCombo->setCurrentIndex(eActLocoFunction);
        form.ActionSpin1->setValue(4);
        form.ActionSpin2->setValue(5);
        form.RetrigCombo->setCurrentIndex(16);
        const TRVN2SequenceStep& step = form.WorkingCopy().Steps[0];
        QVERIFY(std::tie(step.Action, step.FunctionNumber, step.FunctionTime, step.RetriggerStep) ==
                std::make_tuple(uint8_t(eActLocoFunction), 4u, 5u, 16u));

        // A new step (all zeros) is edited from the reset values it shows.
        form.StepList->setCurrentRow(5);
        form.TriggerCombo->setCurrentIndex(eTrigSensor);
        form.ActionCombo->setCurrentIndex(eActStartSame);
        const TRVN2SequenceStep& fresh = form.WorkingCopy().Steps[5];
        QVERIFY(std::tie(fresh.TriggerSensorBoard, fresh.TriggerSensorInput, fresh.Iterations, fresh.SpeedChangeTime) ==
                std::make_tuple(1u, 1u, 1u, 2u));
        QCOMPARE(form.ActiveStepEdit->text(), QStringLiteral("6"));

        form.OKBtn->click();
        QCOMPARE(sequence.SequenceType, uint8_t(eSeqUserDefined));
        QCOMPARE(sequence.ActiveSteps, 6u);
        QCOMPARE(sequence.Steps[0].FunctionTime, 5u);
    }

    void SpinValuesAreTakenFromTheValueNotTheText()
    {
        TRVN2Sequence sequence;
        SetSensorStop(sequence.Steps[0]);
        TRVN2SequenceEditForm form(nullptr, sequence);
        form.show();
        form.ActionSpin1->setFocus();
        form.ActionSpin1->selectAll();
        QTest::keyClick(form.ActionSpin1, Qt::Key_Backspace); // the text is empty now
        form.RetrigCombo->setCurrentIndex(1);
        form.OKBtn->click();
        QCOMPARE(sequence.Steps[0].SpeedChangeTime, 3u);
        QCOMPARE(sequence.Steps[0].RetriggerStep, 1u);
    }

    // ---- Wizard ----

    // Each spin of the two pages feeds its own setting: distinct values give the program the
    // settings themselves give.
    void WizardGeneratesFromEverySpinOfItsPage()
    {
        const auto steps = [](const TRVN2Sequence& sequence) {
            QStringList lines;
            for (const TRVN2SequenceStep& step : sequence.Steps) lines << QString::fromStdString(step.GetListLine());
            return lines;
        };
        TRVN2Sequence sequence(1);
        TTRVN2Wizard wizard(nullptr, sequence);
        int value = 2;
        for (TSpinEdit* spin : {wizard.End1SensBdSpin, wizard.End1SensSpin, wizard.End1WaitSpin, wizard.End2SensBdSpin,
                                wizard.End2SensSpin, wizard.End2WaitSpin, wizard.ShuttleAccelSpin})
            spin->setValue(value++);
        wizard.ShuttleGenerateClick();
        TRVN2Sequence expected(1);
        MakeShuttleProgram(expected, TRVN2ShuttleSettings{2, 3, 4, 5, 6, 7, 8});
        QCOMPARE(steps(wizard.WorkingCopy()), steps(expected));

        for (auto [spin, stopValue] : {std::pair{wizard.SStopSensBdSpin, 9}, std::pair{wizard.SStopSensSpin, 10},
                                       std::pair{wizard.SStopWaitSpin, 11}, std::pair{wizard.SStopVisitSpin, 12},
                                       std::pair{wizard.SStopAccelSpin, 5}})
            spin->setValue(stopValue);
        wizard.StationStopGenerateClick();
        MakeStationStopProgram(expected, TRVN2StationStopSettings{9, 10, 11, 12, 5});
        QCOMPARE(steps(wizard.WorkingCopy()), steps(expected));
    }

    void WizardShuttleGivesFourStepsAndCancelDiscardsItWithStepEdits()
    {
        TRVN2Sequence sequence(2);
        SetSensorStop(sequence.Steps[7]);
        OnWizard = [](TTRVN2Wizard& wizard) {
            wizard.WizardPages->setCurrentIndex(0);
            wizard.ShuttleGenerateBtn->click();
            return true;
        };
        TRVN2SequenceEditForm form(nullptr, sequence);
        form.StepList->setCurrentRow(7);
        form.TrigSpin1->setValue(99); // a step edit, then the wizard's program
        form.StepList->setCurrentRow(2);
        form.WizardBtn->click();
        QCOMPARE(form.ActiveStepEdit->text(), QStringLiteral("4"));
        QCOMPARE(form.NameEdit->text(), QStringLiteral("Shuttle"));
        QCOMPARE(form.DescriptionEdit->text(), QStringLiteral("Shuttle, generated by Wizard"));
        QCOMPARE(form.SequenceTypeCombo->currentText(), QStringLiteral("Shuttle"));
        const QStringList lines = Lines(form.StepList);
        QCOMPARE(lines.filter(QStringLiteral("Step not used.")).size(), 12);
        QCOMPARE(lines.mid(0, 4), (QStringList{"1: trigger when sensor 10,2 occupied; Stop train.",
                                               "2: trigger after 10 seconds; Start train opposite direction",
                                               "3: trigger when sensor 10,1 occupied; Stop train.",
                                               "4: trigger after 10 seconds; Start train opposite direction"}));
        // The selected step stays selected and shows the new program.
        QCOMPARE(form.StepList->currentRow(), 2);
        QCOMPARE(form.TriggerCombo->Value(), int(eTrigSensor));
        QCOMPARE(form.TrigSpin2->Value(), 1);
        QCOMPARE(form.RetrigCombo->Value(), 1);

        form.CancelBtn->click();
        QCOMPARE(sequence.Name, std::string("Undefined"));
        QCOMPARE(sequence.ActiveSteps, 0u);
        QCOMPARE(int(sequence.Steps[0].Action), int(eActNone));
        QCOMPARE(int(sequence.Steps[7].Action), int(eActStop));
        QCOMPARE(sequence.Steps[7].TriggerSensorBoard, 10u);
    }

    void WizardHandsBackOnlyOnOK()
    {
        TRVN2Sequence sequence;
        OnWizard = [](TTRVN2Wizard& wizard) {
            wizard.SStopGenerateBtn->click();
            return false;
        };
        TRVN2SequenceEditForm form(nullptr, sequence);
        form.NameEdit->setText(QStringLiteral("typed"));
        form.WizardBtn->click();
        // Cancelled: the working copy is as before, including what the user had typed.
        QCOMPARE(form.NameEdit->text(), QStringLiteral("typed"));
        QCOMPARE(form.ActiveStepEdit->text(), QStringLiteral("0"));
        QCOMPARE(form.StepList->item(0)->text(), QStringLiteral("1: Step not used."));

        // Generate twice: the last program is the one handed back.
        QStringList seen;
        OnWizard = [&seen](TTRVN2Wizard& wizard) {
            seen << wizard.windowTitle() << QString::number(wizard.HelpContext()) << wizard.WizardPages->tabText(0)
                 << wizard.WizardPages->tabText(1);
            wizard.ShuttleGenerateBtn->click();
            wizard.SStopGenerateBtn->click();
            seen << QString::number(wizard.result()); // Generate does not close the wizard
            return true;
        };
        form.WizardBtn->click();
        QCOMPARE(seen, (QStringList{"RVN2 Autoferry Wizard", "720", "Shuttle", "Station Stop", "0"}));
        QCOMPARE(form.NameEdit->text(), QStringLiteral("Station Stop"));
        QCOMPARE(form.ActiveStepEdit->text(), QStringLiteral("2"));
        form.OKBtn->click();
        QCOMPARE(sequence.Name, std::string("Station Stop"));
        QCOMPARE(sequence.SequenceType, uint8_t(eSeqStationStop));
        QCOMPARE(sequence.ActiveSteps, 2u);
    }

    // The SVs of programs made by the wizard, worked out byte by byte from the board's SV layout.
    void WizardProgramsGiveTheExpectedSVs()
    {
        TRVN2Board board;
        board.SerialNumber = 1004;
        const std::vector<uint8_t> fresh = CalculatedSVs(board);
        int sequenceIndex = 0;
        OnWizard = [&](TTRVN2Wizard& wizard) {
            if (sequenceIndex == 0) {
                wizard.SStopSensBdSpin->setValue(7);
                wizard.SStopSensSpin->setValue(16);
                wizard.SStopWaitSpin->setValue(45);
                wizard.SStopVisitSpin->setValue(3);
                wizard.SStopAccelSpin->setValue(4);
                wizard.SStopGenerateBtn->click();
            } else {
                wizard.End1SensBdSpin->setValue(3);
                wizard.End1SensSpin->setValue(5);
                wizard.End1WaitSpin->setValue(15);
                wizard.End2SensBdSpin->setValue(4);
                wizard.End2SensSpin->setValue(12);
                wizard.End2WaitSpin->setValue(300);
                wizard.ShuttleAccelSpin->setValue(3);
                wizard.ShuttleGenerateBtn->click();
            }
            return true;
        };
        OnSequence = [](TRVN2SequenceEditForm& form) {
            form.WizardBtn->click();
            return true;
        };
        TRVN2EditForm form(nullptr, board);
        form.EditSequence(0);
        sequenceIndex = 1;
        form.EditSequence(1);
        form.OKBtn->click();
        const std::vector<uint8_t> svs = CalculatedSVs(board);

        using Bytes = std::vector<uint8_t>;
        const Bytes unused{1, 0, 1, 0, 0, 0}; // reset step: delay 1, iterations 1, no action
        // Sequence 1 from SV 30: station stop, 2 steps, "Station Stop".
        QCOMPARE(Bytes(svs.begin() + 29, svs.begin() + 46),
                 (Bytes{0, 2, 83, 116, 97, 116, 105, 111, 110, 32, 83, 116, 111, 112, 0, 0, 0}));
        // Sensor 7,16: 16384 + 16 + 16 x 6 = 16496; every 3rd visit; stop over 4 s: 1 + 32.
        QCOMPARE(StepBytes(svs, 47), (Bytes{112, 64, 3, 0, 33, 0}));
        // After 45 s; start in the same direction over 4 s: 2 + 32.
        QCOMPARE(StepBytes(svs, 53), (Bytes{45, 0, 1, 0, 34, 0}));
        for (uint32_t step = 3; step <= 16; ++step) QCOMPARE(StepBytes(svs, 47 + 6 * (step - 1)), unused);

        // Sequence 2 from SV 143: shuttle, 4 steps, "Shuttle".
        QCOMPARE(Bytes(svs.begin() + 142, svs.begin() + 159),
                 (Bytes{1, 4, 83, 104, 117, 116, 116, 108, 101, 0, 0, 0, 0, 0, 0, 0, 0}));
        // End 2 sensor 4,12: 16384 + 12 + 48 = 16444; after step 3; stop over 3 s: 1 + 24.
        QCOMPARE(StepBytes(svs, 160), (Bytes{60, 64, 1, 3, 25, 0}));
        // After 300 s (256 + 44); start in the opposite direction over 3 s: 3 + 24.
        QCOMPARE(StepBytes(svs, 166), (Bytes{44, 1, 1, 0, 27, 0}));
        // End 1 sensor 3,5: 16384 + 5 + 32 = 16421; after step 1.
        QCOMPARE(StepBytes(svs, 172), (Bytes{37, 64, 1, 1, 25, 0}));
        QCOMPARE(StepBytes(svs, 178), (Bytes{15, 0, 1, 0, 27, 0}));
        for (uint32_t step = 5; step <= 16; ++step) QCOMPARE(StepBytes(svs, 160 + 6 * (step - 1)), unused);

        // Everything else as on the new board.
        QVERIFY(Bytes(fresh.begin(), fresh.begin() + 29) == Bytes(svs.begin(), svs.begin() + 29));
        QVERIFY(Bytes(fresh.begin() + 255, fresh.end()) == Bytes(svs.begin() + 255, svs.end()));
    }
};

QTEST_MAIN(RVN2EditorsTest)
#include "RVN2EditorsTest.moc"

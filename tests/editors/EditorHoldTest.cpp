// A board window's OK that leaves values the board cannot hold names them and lets the user go
// back to the window or keep them: one row per board type.
#include "boards/BoardFactory.h"
#include "boards/ConfigurableBoard.h"
#include "boards/kpx9/KPX9Board.h"
#include "boards/orb/orb4/ORB4Board.h"
#include "boards/orb/orb8/ORB8Board.h"
#include "boards/qxp6/QXP6Board.h"
#include "boards/rvn2/RVN2Board.h"
#include "boards/HoldCheck.h"
#include "editors/BoardEditors.h"
#include "editors/rvn2/RVN2SequenceEditForm.h"
#include "support/BoardText.h"
#include "widgets/DialogSeam.h"
#include "widgets/IndexCombo.h"
#include "widgets/SpinEdit.h"

#include <QDialog>
#include <QAbstractSpinBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <functional>

using TSetUp = std::function<void(TConfigurableBoard&)>;
Q_DECLARE_METATYPE(TSetUp)

class EditorHoldTest : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { DialogSeam() = {}; }

    void OkNamesWhatTheBoardCannotHold_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<TSetUp>("setUp");
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("field"); // the control that has the focus after "Go Back"

        QTest::newRow("ORB4") << int(eORB4)
                              << TSetUp([](TConfigurableBoard& b) {
                                     static_cast<TORB4Board&>(b).SensorConfig().SensorBoardNumber = 256;
                                 })
                              << "Sensor board number: 256; the board would hold 0" << "SensorSpin";
        QTest::newRow("ORB8") << int(eORB8)
                              << TSetUp([](TConfigurableBoard& b) {
                                     static_cast<TORB8Board&>(b).SensorConfig().SensorBoardNumber = 300;
                                 })
                              << "Sensor board number: 300; the board would hold 44" << "SensorSpin";
        QTest::newRow("KPX9") << int(eKPX9) << TSetUp([](TConfigurableBoard& b) { b.SerialNumber = 65536; })
                              << "Serial Number: 65536; the board would hold 0" << "SerialNumEdit";
        QTest::newRow("RVN2") << int(eRVN2)
                              << TSetUp([](TConfigurableBoard& b) {
                                     TRVN2SequenceStep& step = static_cast<TRVN2Board&>(b).GetSequence(1).StepAt(4);
                                     step.Action = eActStop;
                                     step.Trigger = eTrigSensor;
                                     step.Iterations = 300;
                                 })
                              << "Sequence 2, step 5, iterations: 300; the board would hold 44" << "";
        QTest::newRow("QXP6") << int(eQXP6)
                              << TSetUp([](TConfigurableBoard& b) {
                                     static_cast<TQXP6Board&>(b).SensorBoardNumber = 256;
                                 })
                              << "Sensor Board Number: 256; the board would hold 0" << "SensBdEdit";
    }

    void OkNamesWhatTheBoardCannotHold()
    {
        QFETCH(int, type);
        QFETCH(TSetUp, setUp);
        QFETCH(QString, line);
        QFETCH(QString, field);
        auto board = CreateBoardOfType(type);
        board->SerialNumber = 1000;
        setUp(*board);
        const auto unchanged = board->Clone();
        unchanged->Name = "renamed";

        QStringList questions;
        int answer = 0;
        DialogSeam().Question = [&](QWidget*, const QString& caption, const QString& text, const QStringList& buttons,
                                    int safe) {
            questions << caption + '|' + text + '|' + buttons.join(',') + '|' + QString::number(safe);
            return answer;
        };
        bool openAfterGoBack = false;
        std::string nameAfterGoBack;
        QString focused;
        DialogSeam().ModalDialog = [&](QDialog& dialog) {
            dialog.show();
            // A change of the window's own, then OK: "Go Back" keeps the window open, writes nothing.
            for (QLineEdit* edit : dialog.findChildren<QLineEdit*>())
                if (edit->objectName().contains(QLatin1String("Name"))) edit->setText(QStringLiteral("renamed"));
            dialog.accept();
            openAfterGoBack = dialog.isVisible();
            nameAfterGoBack = board->Name;
            focused = dialog.focusWidget() ? dialog.focusWidget()->objectName() : QString();
            answer = 1;
            dialog.accept();
            return dialog.result();
        };
        const std::string before = board->Name;
        DefaultBoardEditor(type)(nullptr, *board);

        QCOMPARE(questions.size(), 2);
        QVERIFY2(questions[0].contains(QStringLiteral("\n\n") + line + QStringLiteral("\n\n")), qPrintable(questions[0]));
        QVERIFY(questions[0].endsWith(QStringLiteral("|Go Back,Keep Values|0")));
        QVERIFY(openAfterGoBack);
        QCOMPARE(nameAfterGoBack, before);
        if (!field.isEmpty()) QCOMPARE(focused, field);
        // "Keep Values" writes the window back as it stands, the value the board cannot hold too.
        QCOMPARE(SaveToText(*board), SaveToText(*unchanged));
    }

    // The sensor board number fields go no higher than the board keeps: the user's highest value
    // is 255, and OK asks nothing about it.
    void SensorBoardFieldsStopAtWhatTheBoardKeeps_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<QString>("field");
        QTest::newRow("ORB4") << int(eORB4) << "SensorSpin";
        QTest::newRow("ORB8") << int(eORB8) << "SensorSpin";
        QTest::newRow("QXP6") << int(eQXP6) << "SensBdEdit";
    }

    void SensorBoardFieldsStopAtWhatTheBoardKeeps()
    {
        QFETCH(int, type);
        QFETCH(QString, field);
        auto board = CreateBoardOfType(type);
        board->SerialNumber = 1000;
        int highest = 0;
        DialogSeam().ModalDialog = [&](QDialog& dialog) {
            auto* spin = dialog.findChild<QAbstractSpinBox*>(field);
            if (spin) spin->stepBy(1000);
            highest = spin ? spin->text().toInt() : 0;
            dialog.accept(); // a question about the value would open a real box: the test would hang
            return dialog.result();
        };
        DefaultBoardEditor(type)(nullptr, *board);
        QCOMPARE(highest, 255);
        QVERIFY(CheckHold(*board, board->SWVersion).CanBeHeld());
    }

    // A sensor-triggered RVN2 step at the top of every range of its trigger: the board keeps it.
    void RVN2SensorTriggerStopsAtWhatTheBoardKeeps()
    {
        TRVN2Board board;
        board.SerialNumber = 1000;
        TRVN2SequenceEditForm form(nullptr, board.GetSequence(0));
        form.ActionCombo->setCurrentIndex(eActStop);
        form.TriggerCombo->setCurrentIndex(eTrigSensor);
        for (TSpinEdit* spin : {form.TrigSpin1, form.TrigSpin2, form.IterationSpin})
            static_cast<QAbstractSpinBox*>(spin)->stepBy(2000);
        QCOMPARE(form.IterationSpin->Value(), 255);
        form.OKBtn->click();
        QCOMPARE(board.GetSequence(0).StepAt(0).Iterations, 255u);
        const std::vector<std::string> unheld = CheckHold(board, board.SWVersion).Lines();
        QVERIFY2(unheld.empty(), unheld.empty() ? "" : unheld.front().c_str());
    }
};

QTEST_MAIN(EditorHoldTest)
#include "EditorHoldTest.moc"

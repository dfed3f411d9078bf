// A board window's OK that leaves values the board cannot hold names them and lets the user go
// back to the window or keep them: one row per board type.
#include "boards/BoardFactory.h"
#include "boards/ConfigurableBoard.h"
#include "boards/kpx9/KPX9Board.h"
#include "boards/orb/orb4/ORB4Board.h"
#include "boards/orb/orb8/ORB8Board.h"
#include "boards/qxp6/QXP6Board.h"
#include "boards/rvn2/RVN2Board.h"
#include "editors/BoardEditors.h"
#include "support/BoardText.h"
#include "widgets/DialogSeam.h"

#include <QDialog>
#include <QLineEdit>
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
};

QTEST_MAIN(EditorHoldTest)
#include "EditorHoldTest.moc"

#include "monitor/DisplayForm.h"

#include "link/LocoNetMessage.h"
#include "messages/MessageText.h"
#include "widgets/DialogSeam.h"
#include "widgets/LineList.h"

#include <QAbstractItemModelTester>
#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

namespace {
std::unique_ptr<TLocoNetMessage> Typed(const char* hex)
{
    return MakeTypedMessage(TLocoNetMessage(std::string_view(hex)));
}
std::string Line(const TDisplayForm& form, std::size_t i)
{
    return std::string(form.MsgList->Model()->Line(i));
}
void Add(TDisplayForm& form, std::initializer_list<const char*> hexes, int64_t timeUs = 0, bool echo = false)
{
    for (const char* hex : hexes) form.AddMessage(*Typed(hex), TRxStamp{timeUs, echo});
}
QByteArray FileText(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(cannot read)");
}
// Power, two sensor reports (sensors 11 and 15), a switch request (point 5), a slot move (2 to 5).
const std::initializer_list<const char*> kMixed = {"83 7C", "B2 05 50 18", "B2 07 50 1A", "B0 04 30 7B", "BA 02 05 42"};
void ShowOnly(TDisplayForm& form, EMessageKind kind)
{
    for (int k = 0; k < kMessageKindCount; ++k) form.KindBoxes[static_cast<std::size_t>(k)]->setChecked(k == int(kind));
}
} // namespace

class DisplayFormTest : public QObject {
    Q_OBJECT
private slots:
    void WindowAndControls()
    {
        TDisplayForm form;
        QCOMPARE(form.windowTitle(), QStringLiteral("LocoNet Message display"));
        QCOMPARE(form.MsgCountEdit->text(), QStringLiteral("0"));
        QVERIFY(form.ExpandButton->isChecked());
        QCOMPARE(form.ExpandButton->text(), QStringLiteral("Expand Messages"));
        QCOMPARE(form.Button1->text(), QStringLiteral("Clear Messages"));
        QCOMPARE(form.Button2->text(), QStringLiteral("Save to File..."));
        QCOMPARE(form.Label1->text(), QStringLiteral("no. Messages displayed:"));
    }

    void ExpandedAndPlainLines()
    {
        TDisplayForm form;
        form.AddMessage(*Typed("B2 05 50 18"));
        form.ExpandButton->setChecked(false); // affects only later lines
        form.AddMessage(*Typed("B2 05 50 18"));
        form.AddMessage(*Typed("F0 0F")); // no type: "Unknown:" in both modes
        form.ExpandButton->setChecked(true);
        form.AddMessage(*Typed("F0 0F"));
        QCOMPARE(Line(form, 0), std::string("OPC_SENSORREP sensor report:1,11 On"));
        QCOMPARE(Line(form, 1).rfind("OPC_SENSORREP:", 0), 0u);
        QCOMPARE(Line(form, 1), TLocoNetMessage(std::string_view("B2 05 50 18")).TLocoNetMessage::Text());
        QVERIFY(QString::fromStdString(Line(form, 1)).contains(QStringLiteral("B2 05 50 18")));
        QCOMPARE(Line(form, 2).rfind("Unknown:", 0), 0u);
        QCOMPARE(Line(form, 3), Line(form, 2));
        QCOMPARE(form.DisplayedCount, 4u);
        form.Flush();
        QCOMPARE(form.MsgCountEdit->text(), QStringLiteral("4"));
        QCOMPARE(form.MsgList->Model()->rowCount(), 4);
    }

    void ClearThenCountFromOne()
    {
        TDisplayForm form;
        form.AddMessage(*Typed("83 7C"));
        form.AddMessage(*Typed("82 7D"));
        form.ClearButtonClick();
        QCOMPARE(form.MsgCountEdit->text(), QStringLiteral("0"));
        QCOMPARE(form.MsgList->Model()->LineCount(), std::size_t(0));
        form.AddMessage(*Typed("83 7C"));
        QTRY_COMPARE(form.MsgCountEdit->text(), QStringLiteral("1"));
    }

    void SaveEveryLineAndEmptyList()
    {
        QTemporaryDir dir;
        QString answer = dir.filePath(QStringLiteral("empty.txt"));
        DialogSeam() = {.FileDialog = [&](QWidget*, QFileDialog& dialog) {
            [&] {
                QCOMPARE(dialog.defaultSuffix(), QStringLiteral("txt"));
                QVERIFY(dialog.nameFilters().join(QLatin1Char(';')).contains(QStringLiteral("*.txt")));
            }();
            return answer;
        }};
        TDisplayForm form;
        form.SaveButtonClick();
        QFile empty(answer);
        QVERIFY(empty.exists());
        QCOMPARE(empty.size(), 0);

        answer = dir.filePath(QStringLiteral("log.txt"));
        form.AddMessage(*Typed("83 7C"));
        form.AddMessage(*Typed("B2 05 50 18"));
        form.SaveButtonClick();
        QFile file(answer);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray expected =
            QByteArray::fromStdString(Typed("83 7C")->Text() + "\r\n" + "OPC_SENSORREP sensor report:1,11 On\r\n");
        QCOMPARE(file.readAll(), expected);

        // Cancelled dialog: nothing written.
        answer.clear();
        form.SaveButtonClick();
        DialogSeam() = {};
    }

    void ClosingTellsTheMainWindow()
    {
        TDisplayForm form;
        form.show();
        QSignalSpy closed(&form, &TDisplayForm::FormClosed);
        QTest::mouseClick(form.BitBtn1, Qt::LeftButton);
        QCOMPARE(closed.count(), 1);
    }
    void WithEveryOptionOffNothingNewShows()
    {
        TDisplayForm form;
        form.show();
        for (QWidget* w : {form.FindBar, form.FilterBar, static_cast<QWidget*>(form.FrozenLabel),
                           static_cast<QWidget*>(form.BusLoadLabel), static_cast<QWidget*>(form.LogLabel)})
            QVERIFY2(!w->isVisible(), qPrintable(w->objectName()));
        for (QAction* a : {form.FreezeAction, form.TimeColumnAction, form.DirectionColumnAction, form.HexColumnAction,
                           form.BusLoadAction, form.FilterAction, form.LiveLogAction})
            QVERIFY(!a->isChecked());
    }

    void ColumnsShowTimeDirectionAndBytes()
    {
        TDisplayForm form;
        Add(form, {"B2 05 50 18"}, 1234567, true);
        Add(form, {"83 7C"}, 1234599);
        form.TimeColumnAction->setChecked(true);
        form.DirectionColumnAction->setChecked(true);
        QCOMPARE(Line(form, 0), std::string("    1234.5  sent  OPC_SENSORREP sensor report:1,11 On"));
        QCOMPARE(Line(form, 1).substr(0, 18), std::string("    1234.5  recv  ")); // 0.1 ms, cut
        form.HexColumnAction->setChecked(true);
        QCOMPARE(Line(form, 0).substr(18, 13), std::string("B2 05 50 18  "));
        for (QAction* a : {form.TimeColumnAction, form.DirectionColumnAction, form.HexColumnAction})
            a->setChecked(false);
        QCOMPARE(Line(form, 0), std::string("OPC_SENSORREP sensor report:1,11 On"));
    }

    void FiltersHideLinesAndBringThemBack()
    {
        TDisplayForm form;
        form.show();
        QAbstractItemModelTester tester(form.Messages, QAbstractItemModelTester::FailureReportingMode::QtTest);
        Add(form, kMixed);
        form.Flush();
        form.FilterAction->setChecked(true);
        QVERIFY(form.FilterBar->isVisible());
        ShowOnly(form, EMessageKind::Sensors);
        QCOMPARE(form.Messages->rowCount(), 2);
        QCOMPARE(form.MsgCountEdit->text(), QStringLiteral("2 / 5"));

        form.AddressEdit->setText(QStringLiteral("15"));
        QVERIFY(form.ApplyFilter());
        QCOMPARE(form.Messages->rowCount(), 1);
        form.AddressEdit->setText(QStringLiteral("15-"));
        QVERIFY(!form.ApplyFilter()); // told beside the field; the filter stays
        QVERIFY(!form.FilterStatus->text().isEmpty());
        QCOMPARE(form.Messages->rowCount(), 1);

        Add(form, {"B2 07 50 1A", "B2 05 50 18"}); // filtered as they come
        form.Flush();
        QCOMPARE(form.MsgCountEdit->text(), QStringLiteral("2 / 7"));

        form.AddressEdit->clear();
        form.TextEdit->setText(QStringLiteral("1,11 ON"));
        QVERIFY(form.ApplyFilter());
        QCOMPARE(form.Messages->rowCount(), 2);

        form.ShowAllButton->click();
        QCOMPARE(form.Messages->rowCount(), 7);
        QCOMPARE(form.MsgCountEdit->text(), QStringLiteral("7"));
        QCOMPARE(Line(form, 3), std::string("OPC_SWREQ: Switch request, point number = 5, CLOSED Pressed"));

        // Closing the bar shows everything: no filter works unseen.
        ShowOnly(form, EMessageKind::Power);
        form.FilterAction->setChecked(false);
        QVERIFY(!form.FilterBar->isVisible());
        QCOMPARE(form.Messages->rowCount(), 7);
        form.ClearButtonClick();
        QCOMPARE(form.Messages->rowCount(), 0);
    }

    void LiveLogHoldsFilteredAndFrozenMessages()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("live.txt"));
        TDisplayForm form;
        form.FilterAction->setChecked(true);
        ShowOnly(form, EMessageKind::Power);
        form.FreezeAction->setChecked(true);
        QVERIFY(form.StartLiveLog(path));
        QVERIFY(form.LogLabel->isVisibleTo(&form));
        Add(form, {"83 7C", "B2 05 50 18"}, 1500);
        Add(form, {"B0 04 30 7B"}, 2500, true);
        form.Flush();
        QCOMPARE(form.Messages->rowCount(), 0); // frozen
        QCOMPARE(FileText(path),
                 QByteArray("       1.5  OPC_GPON:83 7C \r\n"
                            "       1.5  OPC_SENSORREP sensor report:1,11 On\r\n"
                            "       2.5  OPC_SWREQ: Switch request, point number = 5, CLOSED Pressed\r\n"));
        form.DirectionColumnAction->setChecked(true); // the window's own format, time in front
        Add(form, {"83 7C"}, 3000, true);
        form.StopLiveLog();
        Add(form, {"83 7C"}, 4000);
        form.Flush();
        QVERIFY(!form.LiveLogRunning());
        QVERIFY(FileText(path).endsWith("\r\n       3.0  sent  OPC_GPON:83 7C \r\n"));
    }

    void LiveLogThatCannotBeWrittenIsReportedAtOnce()
    {
        QStringList boxes;
        DialogSeam() = {.MessageBox = [&](QWidget*, const QString&, const QString& text, int, bool) {
            boxes << text;
            return int(QMessageBox::Ok);
        }};
        QTemporaryDir dir;
        TDisplayForm form;
        QVERIFY(!form.StartLiveLog(dir.filePath(QStringLiteral("no/such/live.txt"))));
        QCOMPARE(boxes.size(), 1);
        QVERIFY(boxes[0].contains(QStringLiteral("No such file or directory")));
        QVERIFY(!form.LiveLogAction->isChecked());
        if (QFile::exists(QStringLiteral("/dev/full"))) {
            QVERIFY(form.StartLiveLog(QStringLiteral("/dev/full")));
            Add(form, {"83 7C"});
            form.Flush(); // the first batch finds the disk full
            QCOMPARE(boxes.size(), 2);
            QVERIFY(boxes[1].contains(QStringLiteral("No space left on device")));
            QVERIFY(!form.LiveLogRunning());
            Add(form, {"83 7C"});
            form.Flush();
            QCOMPARE(boxes.size(), 2); // once
        }
        DialogSeam() = {};
    }

    void FindGoesRoundAndHoldsTheViewOnTheLineFound()
    {
        TDisplayForm form;
        form.show();
        QVERIFY(QTest::qWaitForWindowActive(&form)); // the keys are the window's shortcuts
        Add(form, kMixed);
        form.Flush();
        QTest::keyClick(form.MsgList, Qt::Key_F, Qt::ControlModifier);
        QVERIFY(form.FindBar->isVisible());
        QTest::keyClicks(form.FindEdit, QStringLiteral("SENSOR report"));
        QTest::keyClick(form.FindEdit, Qt::Key_Return);
        QCOMPARE(form.MsgList->currentIndex().row(), 1);
        QVERIFY(form.FreezeAction->isChecked());
        QVERIFY(form.MsgList->Frozen());
        QTest::keyClick(form.MsgList, Qt::Key_F3);
        QCOMPARE(form.MsgList->currentIndex().row(), 2);
        QVERIFY(form.FindStatus->text().isEmpty());
        QVERIFY(form.FindNext());
        QCOMPARE(form.MsgList->currentIndex().row(), 1);
        QCOMPARE(form.FindStatus->text(), QStringLiteral("Continued from the top"));
        QTest::keyClick(form.MsgList, Qt::Key_F3, Qt::ShiftModifier);
        QCOMPARE(form.MsgList->currentIndex().row(), 2);
        QCOMPARE(form.FindStatus->text(), QStringLiteral("Continued from the bottom"));
        Add(form, {"B2 05 50 18"}); // frozen: the view stays on the line found
        form.Flush();
        QCOMPARE(form.Messages->rowCount(), 5);
        QCOMPARE(form.MsgCountEdit->text(), QStringLiteral("6"));
        form.FindEdit->setText(QStringLiteral("train"));
        QVERIFY(!form.FindNext());
        QCOMPARE(form.FindStatus->text(), QStringLiteral("Not found"));
        form.FreezeAction->setChecked(false);
        QCOMPARE(form.Messages->rowCount(), 6);
    }

    void CopyAndSelectAllFromTheKeys()
    {
        TDisplayForm form;
        form.show();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        Add(form, {"83 7C", "B2 05 50 18"});
        form.Flush();
        form.MsgList->setFocus();
        QTest::keyClick(form.MsgList, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(form.MsgList, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(),
                 QString::fromStdString(Line(form, 0) + "\n" + Line(form, 1) + "\n"));
    }

    void ColumnsAndBusLoadAreRememberedInSettings()
    {
        QTemporaryDir dir;
        QSettings settings(dir.filePath(QStringLiteral("railscope.ini")), QSettings::IniFormat);
        {
            TDisplayForm form;
            QSignalSpy changed(&form, &TDisplayForm::OptionsChanged);
            form.TimeColumnAction->setChecked(true);
            form.BusLoadAction->setChecked(true);
            QCOMPARE(changed.count(), 2);
            form.WriteSettings(settings);
        }
        TDisplayForm form;
        QSignalSpy changed(&form, &TDisplayForm::OptionsChanged);
        form.ReadSettings(settings);
        QCOMPARE(changed.count(), 0);
        QVERIFY(form.TimeColumnAction->isChecked());
        QVERIFY(!form.DirectionColumnAction->isChecked());
        QVERIFY(form.BusLoadAction->isChecked());
        QVERIFY(form.BusLoadLabel->isVisibleTo(&form));
        QVERIFY(form.Messages->Columns().Time);
    }

    void BusLoadCountsEveryMessageOfTheLastSecond()
    {
        TDisplayForm form;
        int64_t now = 10000000;
        form.Clock = [&now] { return now; };
        form.BusLoadAction->setChecked(true);
        form.FilterAction->setChecked(true);
        ShowOnly(form, EMessageKind::Power); // hidden lines are on the bus all the same
        for (int i = 0; i < 10; ++i) Add(form, {"B2 05 50 18"}, now - 500000);
        form.ShowBusLoad();
        QCOMPARE(form.BusLoadLabel->text(), QStringLiteral("Bus load: 10 msg/s, 2.4 %")); // 400 bits of 16457
        now += 1000000;
        form.ShowBusLoad();
        QCOMPARE(form.BusLoadLabel->text(), QStringLiteral("Bus load: 0 msg/s, 0.0 %"));
    }
};

QTEST_MAIN(DisplayFormTest)
#include "DisplayFormTest.moc"

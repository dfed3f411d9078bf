#include "app/SpeedometerForm.h"

#include "messages/LNSensFBMessage.h"
#include "widgets/SpinEdit.h"

#include <QComboBox>
#include <QLineEdit>
#include <QTimer>
#include <QtTest>

namespace {
struct TFakeClock {
    double Now = 1000.0;
};
} // namespace

class SpeedometerFormTest : public QObject {
    Q_OBJECT
    TFakeClock Clock;

    std::unique_ptr<TSpeedometerForm> Make()
    {
        auto form = std::make_unique<TSpeedometerForm>(nullptr, [this] { return Clock.Now; });
        form->StopSensEdit->SetValue(2); // start board 1 input 1, stop board 1 input 2
        form->show();
        return form;
    }
    static void Report(TSpeedometerForm& form, uint32_t board, uint32_t input, bool on = true)
    {
        form.HandleSensorMessage(TLNSensFBMessage(board, input, on));
    }

private slots:
    void StartsIdleWithItsDefaults()
    {
        TSpeedometerForm form(nullptr, [] { return 0.0; });
        QCOMPARE(form.windowTitle(), QStringLiteral("SpeedometerForm"));
        QVERIFY(form.windowFlags() & Qt::WindowStaysOnTopHint);
        QCOMPARE(form.ScaleCombo->currentIndex(), 3);
        QCOMPARE(form.ScaleCombo->count(), 6);
        QCOMPARE(form.OutputUnitsCombo->currentText(), QStringLiteral("mph"));
        QCOMPARE(form.LengthEdit->text(), QStringLiteral("1.0"));
        QCOMPARE(form.ResultEdit->text(), QStringLiteral("(Idle)"));
        QCOMPARE(form.TimeoutTimer->interval(), 20000);
        QVERIFY(!form.TimeoutTimer->isActive());
        QCOMPARE(form.StopSensEdit->Value(), 1);
    }

    void MeasuresScaleSpeed()
    {
        auto form = Make();
        Report(*form, 1, 1);
        QCOMPARE(form->ResultEdit->text(), QStringLiteral("Measuring..."));
        QVERIFY(form->TimeoutTimer->isActive());
        Clock.Now += 2.0;
        Report(*form, 1, 2);
        // 1 m x 148 x 2.25 / 2 s
        QCOMPARE(form->ResultEdit->text(), QStringLiteral("166.5MPH"));
        QVERIFY(!form->TimeoutTimer->isActive());
        QVERIFY(!form->IsMeasuring());
    }

    // One metre in one second, in m/s: the scale factor itself.
    void EveryScaleHasItsTextAndFactor_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("speed");
        QTest::newRow("O") << 0 << "\"O\" (1:48)"
                           << "48m/s";
        QTest::newRow("OO") << 1 << "\"OO\" (1:76)"
                            << "76m/s";
        QTest::newRow("HO") << 2 << "\"HO\" (1:87)"
                            << "87m/s";
        QTest::newRow("UK N") << 3 << "UK \"N\" (1:148)"
                              << "148m/s";
        QTest::newRow("US N") << 4 << "US \"N\" (1:160)"
                              << "160m/s";
        QTest::newRow("Z") << 5 << "\"Z\" (1:220)"
                           << "220m/s";
    }
    void EveryScaleHasItsTextAndFactor()
    {
        QFETCH(int, index);
        QFETCH(QString, text);
        QFETCH(QString, speed);
        auto form = Make();
        form->OutputUnitsCombo->setCurrentIndex(0);
        form->ScaleCombo->setCurrentIndex(index);
        QCOMPARE(form->ScaleCombo->itemText(index), text);
        Report(*form, 1, 1);
        Clock.Now += 1.0;
        Report(*form, 1, 2);
        QCOMPARE(form->ResultEdit->text(), speed);
    }

    void UnitsAndScalesChangeTheResult()
    {
        auto form = Make();
        form->OutputUnitsCombo->setCurrentIndex(1); // km/h
        form->ScaleCombo->setCurrentIndex(2); // 1:87
        form->LengthEdit->setText(QStringLiteral("0.5"));
        Report(*form, 1, 1);
        Clock.Now += 4.0;
        Report(*form, 1, 2);
        // 0.5 x 87 x 3.6 / 4 = 39.15
        QCOMPARE(form->ResultEdit->text(), QStringLiteral("39.2Kph"));
        form->OutputUnitsCombo->setCurrentIndex(0);
        Report(*form, 1, 1);
        Clock.Now += 1.0;
        Report(*form, 1, 2);
        QCOMPARE(form->ResultEdit->text(), QStringLiteral("43.5m/s"));
    }

    void SecondStartIsIgnoredAndStopWithoutStartToo()
    {
        auto form = Make();
        Report(*form, 1, 2); // stop without start
        QCOMPARE(form->ResultEdit->text(), QStringLiteral("(Idle)"));
        Report(*form, 1, 1);
        Clock.Now += 1.0;
        Report(*form, 1, 1); // the first start time stands
        Clock.Now += 1.0;
        Report(*form, 1, 2);
        QCOMPARE(form->ResultEdit->text(), QStringLiteral("166.5MPH"));
    }

    void OnlyOccupiedReportsOfTheChosenSensorsCount()
    {
        auto form = Make();
        Report(*form, 1, 1, false);
        Report(*form, 2, 1);
        Report(*form, 1, 3);
        QVERIFY(!form->IsMeasuring());
        Report(*form, 1, 1);
        Report(*form, 1, 2, false);
        QVERIFY(form->IsMeasuring());
        // A message of another kind is not a sensor report.
        TLocoNetMessage other(std::string_view("B0 00 30 7F"));
        form->HandleSensorMessage(TLNSensFBMessage(other));
        QVERIFY(form->IsMeasuring());
    }

    void SameStartAndStopSensorNeverStarts()
    {
        auto form = Make();
        form->StopSensEdit->SetValue(1);
        Report(*form, 1, 1);
        QVERIFY(!form->IsMeasuring());
        QCOMPARE(form->ResultEdit->text(), QStringLiteral("(Idle)"));
    }

    void LengthThatIsNoNumberCountsAsZero()
    {
        auto form = Make();
        form->LengthEdit->setText(QStringLiteral("one metre"));
        Report(*form, 1, 1);
        Clock.Now += 2.0;
        Report(*form, 1, 2);
        QCOMPARE(form->ResultEdit->text(), QStringLiteral("MPH"));
    }

    void TimeOutAndFreshStart()
    {
        auto form = Make();
        Report(*form, 1, 1);
        form->TimeoutTimerTimer();
        QCOMPARE(form->ResultEdit->text(), QStringLiteral("Timed Out"));
        QVERIFY(!form->TimeoutTimer->isActive());
        QVERIFY(!form->IsMeasuring());
        Report(*form, 1, 2); // the stop after the time-out does nothing
        QCOMPARE(form->ResultEdit->text(), QStringLiteral("Timed Out"));
        Clock.Now += 100;
        Report(*form, 1, 1);
        QCOMPARE(form->ResultEdit->text(), QStringLiteral("Measuring..."));
        QVERIFY(form->TimeoutTimer->isActive());
        Clock.Now += 4.0;
        Report(*form, 1, 2);
        QCOMPARE(form->ResultEdit->text(), QStringLiteral("83.3MPH")); // 333 / 4 = 83.25
    }

    void ShowingAgainResets()
    {
        auto form = Make();
        Report(*form, 1, 1);
        form->hide();
        form->show();
        QVERIFY(!form->IsMeasuring());
        QVERIFY(!form->TimeoutTimer->isActive());
        QCOMPARE(form->ResultEdit->text(), QStringLiteral("(Idle)"));
    }

    void RestoringFromMinimisedKeepsTheMeasurement()
    {
        auto form = Make();
        Report(*form, 1, 1);
        form->showMinimized();
        form->showNormal();
        QVERIFY(form->IsMeasuring());
        Clock.Now += 2.0;
        Report(*form, 1, 2);
        QCOMPARE(form->ResultEdit->text(), QStringLiteral("166.5MPH"));
        form->showMinimized();
        form->showNormal();
        QCOMPARE(form->ResultEdit->text(), QStringLiteral("166.5MPH"));
    }

    void SpeedPattern()
    {
        QCOMPARE(TSpeedometerForm::FormatSpeed(42.5), std::string("42.5"));
        QCOMPARE(TSpeedometerForm::FormatSpeed(42.0), std::string("42"));
        QCOMPARE(TSpeedometerForm::FormatSpeed(0.45), std::string(".5"));
        QCOMPARE(TSpeedometerForm::FormatSpeed(0.04), std::string(""));
        QCOMPARE(TSpeedometerForm::FormatSpeed(0.0), std::string(""));
        QCOMPARE(TSpeedometerForm::FormatSpeed(0.25), std::string(".3")); // halves go up
        QCOMPARE(TSpeedometerForm::FormatSpeed(9.96), std::string("10"));
        QCOMPARE(TSpeedometerForm::FormatSpeed(-3.25), std::string("-3.3"));
        QCOMPARE(TSpeedometerForm::FormatSpeed(1234567.0), std::string("1234567"));
        QCOMPARE(TSpeedometerForm::FormatSpeed(1.0 / 0.0), std::string("INF"));
    }
};

QTEST_MAIN(SpeedometerFormTest)
#include "SpeedometerFormTest.moc"

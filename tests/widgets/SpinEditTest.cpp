#include "widgets/SpinEdit.h"

#include <QLineEdit>
#include <QSignalSpy>
#include <QtTest>

class SpinEditTest : public QObject {
    Q_OBJECT
private slots:
    void InRangeValueAndStepsStayInRange()
    {
        TSpinEdit spin(1, 16, 1);
        QSignalSpy changed(&spin, &TSpinEdit::Changed);
        spin.stepDown();
        QCOMPARE(spin.Value(), 1);
        QCOMPARE(changed.count(), 0);
        spin.stepUp();
        QCOMPARE(spin.Value(), 2);
        QCOMPARE(changed.count(), 1);
        QCOMPARE(changed.at(0).at(0).toInt(), 2);
        spin.SetValue(16);
        spin.stepUp();
        QCOMPARE(spin.Value(), 16);
        QCOMPARE(spin.text(), QStringLiteral("16"));
    }

    void StoredOutOfRangeValueIsKeptUntilChanged()
    {
        TSpinEdit spin(1, 255, 1);
        spin.SetValue(0); // e.g. a firmware version never set
        QCOMPARE(spin.Value(), 0);
        QCOMPARE(spin.text(), QStringLiteral("0"));
        QVERIFY(spin.OutOfRange());
        // Showing the window and leaving the field does not alter it.
        spin.show();
        spin.setFocus();
        spin.clearFocus();
        QCOMPARE(spin.Value(), 0);
        spin.SetValue(300);
        QCOMPARE(spin.Value(), 300);
        QCOMPARE(spin.text(), QStringLiteral("300"));
    }

    void UserChangeOfOutOfRangeValueEntersRange()
    {
        TSpinEdit spin(1, 255, 1);
        spin.SetValue(300);
        spin.stepUp();
        QCOMPARE(spin.Value(), 255); // moved into the range, not beyond
        QVERIFY(!spin.OutOfRange());
        spin.stepUp();
        QCOMPARE(spin.Value(), 255);
        QCOMPARE(spin.maximum(), 255); // the range has closed again

        spin.SetValue(-5);
        spin.stepDown();
        QCOMPARE(spin.Value(), 1);
    }

    void TypedValuesOutsideRangeAreNotAccepted()
    {
        TSpinEdit spin(1, 256, 1);
        spin.SetValue(300);
        QString text = QStringLiteral("280");
        int pos = 3;
        // Another outside value is not acceptable; the stored one and in-range values are.
        QCOMPARE(static_cast<const QAbstractSpinBox&>(spin).validate(text, pos), QValidator::Intermediate);
        text = QStringLiteral("300");
        QCOMPARE(static_cast<const QAbstractSpinBox&>(spin).validate(text, pos), QValidator::Acceptable);
        text = QStringLiteral("12");
        pos = 2;
        QCOMPARE(static_cast<const QAbstractSpinBox&>(spin).validate(text, pos), QValidator::Acceptable);

        // Typing through the keyboard: an in-range value is taken.
        spin.show();
        spin.selectAll();
        QTest::keyClicks(&spin, QStringLiteral("42"));
        QCOMPARE(spin.Value(), 42);
    }

    void RangeChangesKeepStoredValue()
    {
        TSpinEdit spin(0, 10, 5);
        spin.SetMaxValue(3);
        QCOMPARE(spin.MaxValue(), 3);
        QCOMPARE(spin.Value(), 5); // a narrowed range does not alter the stored value
        spin.SetMinValue(7);
        QCOMPARE(spin.MinValue(), 7);
        QCOMPARE(spin.MaxValue(), 7);
        QCOMPARE(spin.Value(), 5);
    }
};

QTEST_MAIN(SpinEditTest)
#include "SpinEditTest.moc"

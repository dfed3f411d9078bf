#include "app/GeneratorForms.h"

#include "widgets/SpinEdit.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include <algorithm>
#include <vector>

namespace {
using TBytes = std::vector<uint8_t>;

struct TCapture {
    std::vector<TBytes> Sent;
    TMessageSender Sender()
    {
        return [this](std::unique_ptr<TLocoNetMessage> m) {
            Sent.emplace_back(m->GetData(), m->GetData() + m->GetLength());
        };
    }
};
} // namespace

class GeneratorFormsTest : public QObject {
    Q_OBJECT
private slots:
    void SensorReports()
    {
        TCapture capture;
        TGenSensFBForm form(capture.Sender());
        QCOMPARE(form.windowTitle(), QStringLiteral("Generate Sensor Msg"));
        QCOMPARE(form.BoardNumber->MinValue(), 1);
        QCOMPARE(form.BoardNumber->MaxValue(), 256);
        QCOMPARE(form.SensorNumber->MaxValue(), 16);
        form.show();
        QTest::mouseClick(form.SwOccupiedBtn, Qt::LeftButton);
        QTest::mouseClick(form.SwUnoccupiedBtn, Qt::LeftButton);
        form.BoardNumber->SetValue(256);
        form.SensorNumber->SetValue(16);
        QTest::mouseClick(form.SwOccupiedBtn, Qt::LeftButton);
        form.BoardNumber->SetValue(1);
        form.SensorNumber->SetValue(11);
        form.SwOccupiedBtnClick();
        const std::vector<TBytes> expected = {
            {0xB2, 0x00, 0x50, 0x1D}, {0xB2, 0x00, 0x40, 0x0D}, {0xB2, 0x7F, 0x7F, 0x4D}, {0xB2, 0x05, 0x50, 0x18}};
        QCOMPARE(capture.Sent, expected);
    }

    void SwitchRequests()
    {
        TCapture capture;
        TSwitchControlForm form(capture.Sender());
        QCOMPARE(form.windowTitle(), QStringLiteral("Switch Control"));
        QCOMPARE(form.SwitchNumber->MaxValue(), 2048);
        form.show();
        QTest::mouseClick(form.SwCloseBtn, Qt::LeftButton);
        form.SwitchNumber->SetValue(2048);
        QTest::mouseClick(form.SWThrownBtn, Qt::LeftButton);
        const std::vector<TBytes> expected = {{0xB0, 0x00, 0x30, 0x7F}, {0xB0, 0x7F, 0x1F, 0x2F}};
        QCOMPARE(capture.Sent, expected);
    }

    void ArbitraryMessagesAreSentAsTyped()
    {
        TCapture capture;
        TArbitraryMessageForm form(capture.Sender());
        QCOMPARE(form.windowTitle(), QStringLiteral("Generate Arbitrary Message"));
        const auto labels = form.findChildren<QLabel*>();
        const auto hint =
            std::find_if(labels.begin(), labels.end(), [&](QLabel* l) { return l->buddy() == form.ArbText; });
        QVERIFY(hint != labels.end());
        QCOMPARE((*hint)->text(), QStringLiteral("enter message in hex, including checksum"));
        form.show();
        form.ArbText->setText(QStringLiteral("83 7C"));
        QTest::mouseClick(form.Button1, Qt::LeftButton);
        QCOMPARE(form.SendResult->text(), QStringLiteral("Sent: 83 7C"));
        // Return sends too; a text that is no message is queued empty, writes nothing, and the
        // window says why.
        form.ArbText->clear();
        QTest::keyClicks(form.ArbText, QStringLiteral("83"));
        QVERIFY(form.SendResult->text().isEmpty());
        QTest::keyClick(form.ArbText, Qt::Key_Return);
        QCOMPARE(form.SendResult->text(), QStringLiteral("Not sent: \"83\" is not a LocoNet message. Type two or more "
                                                         "bytes in hex, separated by blanks, such as 83 7C."));
        form.ArbText->setText(QStringLiteral("B2 05 50 00")); // wrong checksum, sent unchanged
        form.Button1Click();
        QCOMPARE(form.SendResult->text(), QStringLiteral("Sent: B2 05 50 00"));
        form.ArbText->setText(QStringLiteral("not hex"));
        form.Button1Click();
        QVERIFY(form.SendResult->text().startsWith(QStringLiteral("Not sent: \"not hex\"")));
        const std::vector<TBytes> expected = {{0x83, 0x7C}, {}, {0xB2, 0x05, 0x50, 0x00}, {}};
        QCOMPARE(capture.Sent, expected);
    }

    void CloseButtonsCloseTheirWindow()
    {
        TCapture capture;
        TSwitchControlForm form(capture.Sender());
        form.show();
        QTest::mouseClick(form.CloseBtn, Qt::LeftButton);
        QVERIFY(!form.isVisible());
        QVERIFY(capture.Sent.empty());
    }
};

QTEST_MAIN(GeneratorFormsTest)
#include "GeneratorFormsTest.moc"

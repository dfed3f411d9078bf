#include "messages/DisplayForm.h"

#include "link/LocoNetMessage.h"
#include "messages/MessageText.h"
#include "widgets/DialogSeam.h"
#include "widgets/LineList.h"

#include <QCheckBox>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
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
};

QTEST_MAIN(DisplayFormTest)
#include "DisplayFormTest.moc"

#include "app/ConnectForm.h"

#include "link/LnThreadComm.h"
#include "sim/SimTransport.h"
#include "widgets/DialogSeam.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QMessageBox>
#include <QPushButton>
#include <QtTest>

class ConnectFormTest : public QObject {
    Q_OBJECT
    struct TBox {
        QString Caption;
        QString Text;
    };
    std::vector<TBox> Boxes;
    QString Status;

private slots:
    void init()
    {
        Boxes.clear();
        Status.clear();
        DialogSeam() = {.MessageBox = [this](QWidget*, const QString& caption, const QString& text, int, bool) {
            Boxes.push_back({caption, text});
            return int(QMessageBox::Ok);
        }};
    }
    void cleanup() { DialogSeam() = {}; }

    void BuiltInPortsStayWhenSystemListsNone()
    {
        TLocoNetComm link;
        TConnectForm form(link, nullptr, nullptr, [] { return QStringList(); });
        QCOMPARE(form.windowTitle(), QStringLiteral("LocoNet Connection"));
        form.show();
        QCOMPARE(form.ComCombo->count(), 4);
        QCOMPARE(form.ComCombo->itemText(0), QStringLiteral("Com1"));
        QCOMPARE(form.ComCombo->itemText(3), QStringLiteral("Com4"));
        QCOMPARE(form.ComCombo->currentText(), QStringLiteral("Com1"));
        QVERIFY(form.ComCombo->isEditable());
    }

    void SystemPortsReplaceBuiltIns()
    {
        TLocoNetComm link;
        TConnectForm form(link, nullptr, nullptr, [] {
            return QStringList{QStringLiteral("/dev/ttyS0"), QStringLiteral("/dev/ttyUSB0")};
        });
        form.show();
        QCOMPARE(form.ComCombo->count(), 2);
        QCOMPARE(form.ComCombo->itemText(1), QStringLiteral("/dev/ttyUSB0"));
    }

    void InterfaceRuleForBaudRate()
    {
        TLocoNetComm link;
        TConnectForm form(link, nullptr, nullptr, [] { return QStringList(); });
        form.show();
        // MS100 is selected at first: 16457 and greyed.
        QCOMPARE(form.InterfaceIndex(), 0);
        QCOMPARE(form.BaudRateBox->currentText(), QStringLiteral("16457"));
        QVERIFY(!form.BaudRateBox->isEnabled());
        form.InterfaceButtons->button(2)->click();
        QCOMPARE(form.BaudRateBox->currentText(), QStringLiteral("57600"));
        QVERIFY(!form.BaudRateBox->isEnabled());
        form.InterfaceButtons->button(1)->click();
        QVERIFY(form.BaudRateBox->isEnabled());
        QCOMPARE(form.BaudRateBox->currentText(), QStringLiteral("57600"));
        form.BaudRateBox->setCurrentIndex(1);
        form.InterfaceButtons->button(0)->click();
        QCOMPARE(form.BaudRateBox->currentIndex(), 0);
        QVERIFY(!form.BaudRateBox->isEnabled());
    }

    void ConnectOpensLinkAndTellsStatus()
    {
        TLocoNetComm link;
        UseSimulatedLocoNet(link);
        TConnectForm form(
            link, [this](const QString& s) { Status = s; }, nullptr, [] { return QStringList(); });
        form.show();
        form.ComCombo->setEditText(QStringLiteral("sim"));
        form.InterfaceButtons->button(2)->click();
        QTest::mouseClick(form.ConnectButton, Qt::LeftButton);
        QVERIFY(link.Enabled());
        QCOMPARE(QString::fromStdString(link.GetDeviceName()), QStringLiteral("sim"));
        QCOMPARE(link.GetBaudRate(), br57600);
        QCOMPARE(link.GetLocoNetInterface(), ePR3);
        // What start-up shows, and no word of a next start: the link is open already.
        QCOMPARE(Status, QStringLiteral("sim: PR3"));
        QCOMPARE(Boxes.size(), std::size_t(0));

        // Connecting again closes and re-opens with the new settings.
        form.ComCombo->setEditText(QStringLiteral("sim:traffic=off"));
        form.InterfaceButtons->button(1)->click();
        form.BaudRateBox->setCurrentIndex(1);
        form.ConnectButtonClick();
        QVERIFY(link.Enabled());
        QCOMPARE(QString::fromStdString(link.GetDeviceName()), QStringLiteral("sim:traffic=off"));
        QCOMPARE(link.GetBaudRate(), br19200);
        QCOMPARE(link.GetLocoNetInterface(), eLocoBuffer);
        QCOMPARE(Status, QStringLiteral("sim:traffic=off: LocoBuffer"));
        QCOMPARE(Boxes.size(), std::size_t(0));
    }

    void MissingPortStillShowsTheStatus()
    {
        TLocoNetComm link;
        TConnectForm form(
            link, [this](const QString& s) { Status = s; }, nullptr, [] { return QStringList(); });
        form.show();
        form.ComCombo->setEditText(QStringLiteral("/dev/railscope-no-such-port"));
        form.ConnectButtonClick();
        QVERIFY(!link.Enabled());
        // The main window shows why it did not open; the port is tried again at the next start.
        QCOMPARE(Status, QStringLiteral("/dev/railscope-no-such-port: MS100"));
        QCOMPARE(Boxes.size(), std::size_t(1));
        QCOMPARE(Boxes[0].Caption, QStringLiteral("Connect:"));
        QCOMPARE(Boxes[0].Text, QStringLiteral("Effect will take place when application is next run"));
    }

    void ActivationShowsTheOpenLinksSettings()
    {
        TLocoNetComm link;
        UseSimulatedLocoNet(link);
        link.SetDeviceName("sim");
        link.SetBaudRate(br19200);
        link.SetLocoNetInterface(eLocoBuffer);
        link.Open();
        QVERIFY(link.Enabled());
        TConnectForm form(link, nullptr, nullptr, [] { return QStringList(); });
        form.show();
        QCOMPARE(form.ComCombo->currentText(), QStringLiteral("sim"));
        QCOMPARE(form.BaudRateBox->currentIndex(), 1);
        QCOMPARE(form.InterfaceIndex(), 1);
        QVERIFY(form.BaudRateBox->isEnabled());
    }
};

QTEST_MAIN(ConnectFormTest)
#include "ConnectFormTest.moc"

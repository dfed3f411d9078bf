#include "app/MainForm.h"

#include "app/ConnectForm.h"

#include "app/SpeedometerForm.h"
#include "buildstamp/AboutBox.h"
#include "editors/EditorDialog.h"
#include "link/LnThreadComm.h"
#include "messages/LNPeerXferMessage.h"
#include "messages/LNSensFBMessage.h"
#include "monitor/DisplayForm.h"
#include "svprog/SVProgMessage.h"
#include "widgets/DialogSeam.h"
#include "widgets/FormTools.h"
#include "widgets/HelpViewer.h"
#include "widgets/LineList.h"
#include "widgets/SpinEdit.h"

#include <QAbstractButton>
#include <QAction>
#include <QButtonGroup>
#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QStatusBar>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QtTest>

#include <cerrno>
#include <cstring>
#include <deque>
#include <fstream>

namespace {

using TBytes = std::vector<uint8_t>;

std::unique_ptr<TLocoNetMessage> Message(const char* hex)
{
    return std::make_unique<TLocoNetMessage>(std::string_view(hex));
}

std::unique_ptr<TLocoNetMessage> SvReply()
{
    auto sv = std::make_unique<TLNSVProgMessage>();
    sv->SetIdentify(1, 100);
    return sv;
}

std::unique_ptr<TLocoNetMessage> LocoBufferStatus()
{
    // Peer transfer from the LocoBuffer: source and destination low 'P', destination high 1.
    auto m = std::make_unique<TLocoNetMessage>();
    for (uint8_t b : {0xE5, 0x10, 0x50, 0x50, 0x01, 0x00, 0x12, 0x00, 0x00, 0x03, 0x00, 0x34, 0x00, 0x00, 0x05})
        m->AddByte(b);
    m->AddChecksum();
    return m;
}

// A window that takes SV replies, as the board and renumbering windows do.
class TFakeSVWindow : public QWidget, public TSVMessageTarget {
public:
    explicit TFakeSVWindow(std::function<void(const TLNSVProgMessage&)> onMessage) : OnMessage(std::move(onMessage)) {}
    void HandleSVMessage(const TLNSVProgMessage& message) override { OnMessage(message); }
    void LinkLost() override { ++LinkLosses; }
    bool ConversationUnderWay() const override { return Busy; }
    int LinkLosses = 0;
    bool Busy = false;
    std::function<void(const TLNSVProgMessage&)> OnMessage;
};

// Makes the fake windows a test asks for; none until it asks.
class TFakeForms : public TChildFormFactory {
public:
    std::function<TFakeSVWindow*()> Board;
    std::function<TFakeSVWindow*()> Renumber;
    std::function<TFakeSVWindow*()> Audit;
    TSVForm MakeBoardForm(TMainForm&) override { return Make(Board); }
    TSVForm MakeRenumberForm(TMainForm&) override { return Make(Renumber); }
    TSVForm MakeAuditForm(TMainForm&) override { return Make(Audit); }

private:
    static TSVForm Make(const std::function<TFakeSVWindow*()>& maker)
    {
        TFakeSVWindow* form = maker ? maker() : nullptr;
        return {form, form};
    }
};

} // namespace

class MainFormTest : public QObject {
    Q_OBJECT
    std::unique_ptr<QTemporaryDir> Dir;
    std::vector<TBytes> Sent;
    std::vector<QString> Boxes;
    QString SaveAnswer;
    std::shared_ptr<TFakeForms> Forms;

    QString SettingsFile() const { return Dir->filePath(QStringLiteral("railscope.ini")); }

    std::unique_ptr<TMainForm> Make(QStringList arguments = {QStringLiteral("railscope")})
    {
        TMainForm::TOptions options;
        options.Arguments = std::move(arguments);
        options.SettingsFile = SettingsFile();
        options.Clock = [] { return 0.0; };
        options.Forms = Forms;
        auto form = std::make_unique<TMainForm>(options);
        form->Sender = [this](std::unique_ptr<TLocoNetMessage> m) {
            Sent.emplace_back(m->GetData(), m->GetData() + m->GetLength());
        };
        return form;
    }

    void WriteSettings(const std::function<void(QSettings&)>& fill)
    {
        QSettings settings(SettingsFile(), QSettings::IniFormat);
        fill(settings);
    }

    template <typename... TMessages> static void Route(TMainForm& form, TMessages... batch)
    {
        std::deque<std::unique_ptr<TLocoNetMessage>> queue;
        (queue.push_back(std::move(batch)), ...);
        form.RouteMessages(static_cast<uint32_t>(queue.size()), [&queue]() -> std::unique_ptr<TLocoNetMessage> {
            if (queue.empty()) return nullptr;
            auto m = std::move(queue.front());
            queue.pop_front();
            return m;
        });
    }

    static std::vector<std::string> MonitorLines(const TMainForm& form)
    {
        std::vector<std::string> lines;
        const TLineListModel* model = form.DisplayForm->MsgList->Model();
        for (std::size_t i = 0; i < model->LineCount(); ++i) lines.emplace_back(model->Line(i));
        return lines;
    }

private slots:
    void init()
    {
        Dir = std::make_unique<QTemporaryDir>();
        Sent.clear();
        Boxes.clear();
        SaveAnswer.clear();
        Forms = std::make_shared<TFakeForms>();
        DialogSeam() = {.MessageBox =
                            [this](QWidget*, const QString& caption, const QString& text, int, bool) {
                                Boxes.push_back(caption + QLatin1Char('|') + text);
                                return int(QMessageBox::Yes);
                            },
                        .FileDialog =
                            [this](QWidget*, QFileDialog& dialog) {
                                Boxes.push_back(dialog.windowTitle());
                                return SaveAnswer;
                            }};
    }
    void cleanup() { DialogSeam() = {}; }

    void FrameMenusAndStatusLine()
    {
        auto form = Make();
        QCOMPARE(form->windowTitle(), QStringLiteral("Railscope"));
        const char* entries[] = {"&File/&Connect...",
                                 "&File/E&xit",
                                 "&Configure/&Renumber Boards",
                                 "&Configure/&Configure Boards",
                                 "&Configure/Check &Layout",
                                 "&Display layout/Speedometer",
                                 "&LocoNet Debug/&Message Display",
                                 "&LocoNet Debug/&Generate/SWR&Q",
                                 "&LocoNet Debug/&Generate/&Arbitrary Message",
                                 "&LocoNet Debug/&Generate/&Sensor Feedback Message",
                                 "&LocoNet Debug/Track Power &On",
                                 "&LocoNet Debug/Track Power O&ff",
                                 "&LocoNet Debug/&Query LocoBuffer",
                                 "&Help/&Help",
                                 "&Help/&About...."};
        for (const char* entry : entries) QVERIFY2(form->FindAction(QString::fromLatin1(entry)), entry);
        QCOMPARE(form->StatusConnect->text(), QStringLiteral("Not Connected"));
        const auto* countCaption = form->statusBar()->findChild<QLabel*>(QStringLiteral("Label2"));
        QVERIFY(countCaption);
        QCOMPARE(countCaption->text(), QStringLiteral("No. Messages received: "));
        QCOMPARE(form->MsgNum->text(), QStringLiteral("0"));
        QCOMPARE(form->ProgStatus->text(), QStringLiteral("ProgStatus"));
        QVERIFY(form->ProgStatus->isReadOnly());
        QVERIFY(!form->DisplayFormOpen && !form->ProgFormOpen() && !form->RenumberFormOpen());
        QCOMPARE(form->MessageCount, 0u);
    }

    void NoSettingsStartAndCloseWritesAllSections()
    {
        {
            auto form = Make();
            form->FormActivate();
            QCOMPARE(form->StatusConnect->text(), QStringLiteral("Not Initialised"));
            QVERIFY(form->ProgStatus->text().contains(QLatin1String("Connect...")));
            QVERIFY(!form->LocoNetComm1->Enabled());
            QCOMPARE(form->SpeedometerForm->ScaleCombo->currentIndex(), 3);
            QCOMPARE(form->SpeedometerForm->OutputUnitsCombo->currentIndex(), 2);
            for (int type = 0; type < kBoardTypeCount; ++type) QVERIFY(!form->BoardData.HasFileName(type));
            QVERIFY(Sent.empty());
            form->close();
        }
        QSettings settings(SettingsFile(), QSettings::IniFormat);
        QCOMPARE(settings.childGroups(), (QStringList{"Connection", "Filenames", "SpeedometerForm"}));
        QCOMPARE(settings.value("Connection/ComPort").toString(), QStringLiteral("Com1"));
        QCOMPARE(settings.value("Connection/Baud").toInt(), 0);
        QCOMPARE(settings.value("Connection/Interface").toInt(), 0);
        QCOMPARE(settings.value("SpeedometerForm/SpeedoScale").toInt(), 3);
        QCOMPARE(settings.value("SpeedometerForm/SpeedoUnits").toInt(), 2);
        QCOMPARE(settings.value("SpeedometerForm/SpeedLength").toString(), QStringLiteral("1.0"));
        QCOMPARE(settings.value("SpeedometerForm/Sens2Sens").toInt(), 1);
        for (const char* name : {"ORB4", "KPX9", "ORB8", "RVN2", "QXP6"}) {
            QVERIFY(settings.contains(QStringLiteral("Filenames/") + QLatin1String(name)));
            QCOMPARE(settings.value(QStringLiteral("Filenames/") + QLatin1String(name)).toString(), QString());
        }
    }

    void FirstStartHintUntilAConnectionIsChosen()
    {
        auto form = Make();
        form->FormActivate();
        QVERIFY(form->ProgStatus->text().contains(QLatin1String("Connect...")));
        QVERIFY(form->ProgStatus->text().contains(QLatin1String("\"sim\"")));
        form->Connect1Click();
        auto* connectForm = form->findChild<QWidget*>(QStringLiteral("ConnectForm"));
        QVERIFY(connectForm);
        connectForm->findChild<QComboBox*>(QStringLiteral("ComCombo"))
            ->setEditText(QStringLiteral("/dev/railscope-none"));
        connectForm->findChild<QPushButton*>(QStringLiteral("ConnectButton"))->click();
        QCOMPARE(form->ProgStatus->text(), QString());
    }

    void SettingsRoundTrip()
    {
        const QString kpx9 = Dir->filePath(QStringLiteral("missing-kpx9.csv"));
        WriteSettings([&](QSettings& s) {
            s.setValue("Connection/ComPort", "/dev/railscope-no-such-port");
            s.setValue("Connection/Baud", 2);
            s.setValue("Connection/Interface", 1);
            s.setValue("SpeedometerForm/SpeedoScale", 5);
            s.setValue("SpeedometerForm/SpeedoUnits", 1);
            s.setValue("SpeedometerForm/SpeedLength", "2.5");
            s.setValue("SpeedometerForm/Sens1Board", 7);
            s.setValue("SpeedometerForm/Sens1Sens", 3);
            s.setValue("SpeedometerForm/Sens2Board", 300); // outside the range: kept as it is
            s.setValue("SpeedometerForm/Sens2Sens", 16);
            s.setValue("Filenames/KPX9", kpx9);
        });
        {
            auto form = Make();
            form->FormActivate();
            // No box for a port that cannot be opened, but the status line says why.
            QCOMPARE(form->StatusConnect->text(),
                     QStringLiteral("Not Connected: /dev/railscope-no-such-port: No such file or directory"));
            QCOMPARE(form->InterfaceStatus->text(), QStringLiteral("Not detected yet"));
            QVERIFY(!form->ProgStatus->text().contains(QLatin1String("\"sim\""))); // no first-start hint
            QVERIFY(!form->LocoNetComm1->Enabled());
            QCOMPARE(form->LocoNetComm1->GetBaudRate(), br57600);
            // The LocoBuffer is asked for its status.
            QCOMPARE(Sent, (std::vector<TBytes>{{0x81, 0x7E}}));
            TSpeedometerForm& speedo = *form->SpeedometerForm;
            QCOMPARE(speedo.ScaleCombo->currentIndex(), 5);
            QCOMPARE(speedo.OutputUnitsCombo->currentIndex(), 1);
            QCOMPARE(speedo.LengthEdit->text(), QStringLiteral("2.5"));
            QCOMPARE(speedo.StartBoardEdit->Value(), 7);
            QCOMPARE(speedo.StartSensEdit->Value(), 3);
            QCOMPARE(speedo.StopBoardEdit->Value(), 300);
            QCOMPARE(speedo.StopSensEdit->Value(), 16);
            // The file could not be read: the list stays empty, its name is kept.
            QCOMPARE(form->BoardData.BoardCount(1), 0u);
            // Start-up runs once only.
            form->FormActivate();
            QCOMPARE(Sent.size(), std::size_t(1));
            form->close();
        }
        QSettings settings(SettingsFile(), QSettings::IniFormat);
        QCOMPARE(settings.value("Connection/ComPort").toString(), QStringLiteral("/dev/railscope-no-such-port"));
        QCOMPARE(settings.value("Connection/Baud").toInt(), 2);
        QCOMPARE(settings.value("Connection/Interface").toInt(), 1);
        QCOMPARE(settings.value("SpeedometerForm/SpeedoScale").toInt(), 5);
        QCOMPARE(settings.value("SpeedometerForm/SpeedoUnits").toInt(), 1);
        QCOMPARE(settings.value("SpeedometerForm/SpeedLength").toString(), QStringLiteral("2.5"));
        QCOMPARE(settings.value("SpeedometerForm/Sens1Board").toInt(), 7);
        QCOMPARE(settings.value("SpeedometerForm/Sens2Board").toInt(), 300);
        QCOMPARE(settings.value("Filenames/KPX9").toString(), kpx9);
    }

    // The board files the start-up cannot load are named, each with the reason, in one box. They
    // stay as they are, no list takes them as its file (a save cannot replace them), and the
    // settings keep their names.
    void StartUpReportsTheBoardFilesItCannotLoad()
    {
        const QString orb4 = Dir->filePath(QStringLiteral("missing-orb4.csv"));
        const QString kpx9 = Dir->filePath(QStringLiteral("kpx9.csv"));
        QFile file(QStringLiteral(RAILSCOPE_SOURCE_DIR "/data/examples/layout-kpx9.csv"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray text = file.readAll().replace("\"640 Closed\"", "\"6x0 Closed\"");
        file.close();
        file.setFileName(kpx9);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(text) == text.size());
        file.close();
        WriteSettings([&](QSettings& s) {
            s.setValue("Filenames/ORB4", orb4);
            s.setValue("Filenames/KPX9", kpx9);
        });
        {
            auto form = Make();
            form->FormActivate();
            QTRY_COMPARE(Boxes.size(), std::size_t(1));
            QCOMPARE(Boxes[0], QStringLiteral("Railscope|These board files could not be loaded:\n\n"
                                              "Could not open %1: %3\n\n"
                                              "Board 1 of the file (serial 2101, \"Station throat panel\") cannot be "
                                              "loaded: Route 1, entry 3: the point address in '6x0 Closed' is not a "
                                              "whole number (%2)\n\n"
                                              "Each file is left as it is. Mend it, then open it from Configure "
                                              "Boards (File / Open...).")
                                   .arg(orb4, kpx9, QString::fromLocal8Bit(std::strerror(ENOENT))));
            QCOMPARE(form->ProgStatus->text(), QStringLiteral("2 board files could not be loaded"));
            QVERIFY(!form->BoardData.HasFileName(0) && !form->BoardData.HasFileName(1));
            QCOMPARE(form->BoardData.BoardCount(1), 0u);
            form->close();
        }
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), text);
        QSettings settings(SettingsFile(), QSettings::IniFormat);
        QCOMPARE(settings.value("Filenames/ORB4").toString(), orb4);
        QCOMPARE(settings.value("Filenames/KPX9").toString(), kpx9);
    }

    void NoFilesInCapitalsLoadsNothing()
    {
        const std::string orb4 = Dir->filePath(QStringLiteral("orb4.csv")).toStdString();
        {
            TBoardData data;
            data.AddBoard(0)->Name = "Station";
            QVERIFY(data.SaveFileAs(0, orb4));
        }
        WriteSettings([&](QSettings& s) { s.setValue("Filenames/ORB4", QString::fromStdString(orb4)); });
        {
            auto form = Make({QStringLiteral("railscope"), QStringLiteral("NOFILES")});
            form->FormActivate();
            QVERIFY(form->NoFiles());
            QCOMPARE(form->BoardData.BoardCount(0), 0u);
            form->close();
        }
        QSettings settings(SettingsFile(), QSettings::IniFormat);
        QCOMPARE(settings.value("Filenames/ORB4").toString(), QString());
        // Without the parameter the file is loaded again.
        settings.setValue("Filenames/ORB4", QString::fromStdString(orb4));
        settings.sync();
        auto form = Make();
        form->FormActivate();
        QCOMPARE(form->BoardData.BoardCount(0), 1u);
        QCOMPARE(form->BoardData.GetBoard(0, 0)->Name, std::string("Station"));
    }

    void CloseAsksToSaveModifiedLists()
    {
        const std::string orb4 = Dir->filePath(QStringLiteral("orb4.csv")).toStdString();
        SaveAnswer = Dir->filePath(QStringLiteral("qxp6.csv"));
        auto form = Make();
        form->FormActivate();
        form->BoardData.AddBoard(0)->Name = "A";
        form->BoardData.SaveFileAs(0, orb4);
        form->BoardData.AddBoard(0)->Name = "B"; // modified, has a file
        form->BoardData.AddBoard(4)->Name = "Q"; // modified, no file
        form->BoardData.AddBoard(2);
        form->BoardData.DeleteBoard(2, 0); // modified but empty: not asked
        form->close();
        QCOMPARE(Boxes,
                 (std::vector<QString>{QStringLiteral("ORB4 Signal Controller|Do you want to save data?"),
                                       QString::fromStdString(TBoardData::GetTitle(4)) +
                                           QStringLiteral("|Do you want to save data?"),
                                       QStringLiteral("Save As: ") + QString::fromStdString(TBoardData::GetTitle(4))}));
        QVERIFY(!form->BoardData.IsModified(0));
        QVERIFY(!form->BoardData.IsModified(4));
        QCOMPARE(QString::fromStdString(form->BoardData.GetFileName(4)), SaveAnswer);
        QSettings settings(SettingsFile(), QSettings::IniFormat);
        QCOMPARE(settings.value("Filenames/QXP6").toString(), SaveAnswer);
        QCOMPARE(settings.value("Filenames/ORB4").toString(), QString::fromStdString(orb4));
    }

    void FixedMessages()
    {
        auto form = Make();
        form->FindAction(QStringLiteral("&LocoNet Debug/Track Power &On"))->trigger();
        form->FindAction(QStringLiteral("&LocoNet Debug/Track Power O&ff"))->trigger();
        form->FindAction(QStringLiteral("&LocoNet Debug/&Query LocoBuffer"))->trigger();
        QCOMPARE(Sent, (std::vector<TBytes>{{0x83, 0x7C}, {0x82, 0x7D}, {0x81, 0x7E}}));
    }

    void GeneratorsSendThroughTheMainWindow()
    {
        auto form = Make();
        form->show();
        form->FindAction(QStringLiteral("&LocoNet Debug/&Generate/SWR&Q"))->trigger();
        QCOMPARE(form->MdiArea->subWindowList().size(), 1);
        auto* child = form->MdiArea->subWindowList().first()->widget();
        QCOMPARE(child->windowTitle(), QStringLiteral("Switch Control"));
        QMetaObject::invokeMethod(child->findChild<QPushButton*>(QStringLiteral("SwCloseBtn")), "click");
        QCOMPARE(Sent, (std::vector<TBytes>{{0xB0, 0x00, 0x30, 0x7F}}));
        // Several of a kind can be open; each is freed when closed.
        form->SWRQ1Click();
        form->SensorFeedbackMessage1Click();
        form->ArbitraryMessage1Click();
        form->Connect1Click();
        QCOMPARE(form->MdiArea->subWindowList().size(), 5);
        form->MdiArea->closeAllSubWindows();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(form->MdiArea->subWindowList().size(), 0);
    }

    void RoutingToMonitorInQueueOrder()
    {
        auto form = Make();
        form->show();
        // Before the monitor is opened only the counter moves.
        Route(*form, Message("B2 05 50 18"));
        QCOMPARE(form->MessageCount, 1u);
        QCOMPARE(form->MsgNum->text(), QStringLiteral("1"));
        form->MessageDisplay1Click();
        QVERIFY(form->DisplayFormOpen);
        Route(*form, Message("B2 05 50 18"), Message("B0 00 30 7F"), Message("85 7A"), Message("83 7C"));
        QCOMPARE(form->MessageCount, 5u);
        QCOMPARE(form->MsgNum->text(), QStringLiteral("5"));
        QCOMPARE(MonitorLines(*form),
                 (std::vector<std::string>{"OPC_SENSORREP sensor report:1,11 On",
                                           "OPC_SWREQ: Switch request, point number = 1, CLOSED Pressed",
                                           TLocoNetMessage(std::string_view("85 7A")).Text(),
                                           TLocoNetMessage(std::string_view("83 7C")).Text()}));
        form->DisplayForm->Flush();
        QCOMPARE(form->DisplayForm->MsgCountEdit->text(), QStringLiteral("4"));

        // A hidden monitor receives nothing; a closed one switches routing off.
        auto* frame = form->MdiArea->subWindowList().first();
        frame->hide();
        Route(*form, Message("83 7C"));
        QCOMPARE(MonitorLines(*form).size(), std::size_t(4));
        frame->show();
        frame->close();
        QVERIFY(!form->DisplayFormOpen);
        Route(*form, Message("83 7C"));
        QCOMPARE(form->MessageCount, 7u);
    }

    void SensorReportsReachSpeedometerOnlyWhenVisible()
    {
        auto form = Make();
        form->show();
        form->SpeedometerForm->StopSensEdit->SetValue(2);
        Route(*form, std::make_unique<TLNSensFBMessage>(1, 1, true));
        QVERIFY(!form->SpeedometerForm->IsMeasuring());
        form->FindAction(QStringLiteral("&Display layout/Speedometer"))->trigger();
        QVERIFY(form->SpeedometerForm->isVisible());
        Route(*form, std::make_unique<TLNSensFBMessage>(1, 1, true));
        QVERIFY(form->SpeedometerForm->IsMeasuring());
        QCOMPARE(form->MessageCount, 2u);
    }

    void SVRepliesGoToBoardWindowThenMonitorAndCountOncePerBatch()
    {
        std::vector<std::string> order;
        QString msgNumDuringBatch;
        TMainForm* main = nullptr;
        Forms->Board = [&] {
            return new TFakeSVWindow([&](const TLNSVProgMessage& m) {
                order.push_back("board:" + std::to_string(m.GetLength()));
                order.push_back("monitor lines so far:" +
                                std::to_string(main->DisplayForm->MsgList->Model()->LineCount()));
                msgNumDuringBatch = main->MsgNum->text();
            });
        };
        Forms->Renumber = [&] {
            return new TFakeSVWindow([&](const TLNSVProgMessage&) { order.push_back("renumber"); });
        };
        auto form = Make();
        main = form.get();
        form->show();
        form->MessageDisplay1Click();
        form->ConfigureBoards1Click();
        QVERIFY(form->ProgFormOpen());
        // The renumbering window is not made while the board window is open, and the reverse;
        // the entry that cannot act is greyed.
        QVERIFY(!form->RenumberBoards1->isEnabled());
        QVERIFY(form->ConfigureBoards1->isEnabled());
        form->RenumberBoards1Click();
        QVERIFY(!form->RenumberFormOpen());
        Route(*form, Message("83 7C"), Message("82 7D"), SvReply());
        QCOMPARE(order, (std::vector<std::string>{"board:16", "monitor lines so far:2"}));
        QCOMPARE(msgNumDuringBatch, QStringLiteral("0"));
        QCOMPARE(form->MsgNum->text(), QStringLiteral("3"));
        QCOMPARE(MonitorLines(*form).size(), std::size_t(3));

        // Closing the board window clears its flag; then renumbering can open, and the board
        // window cannot.
        form->ProgForm.Form->parentWidget()->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!form->ProgFormOpen());
        QVERIFY(form->RenumberBoards1->isEnabled());
        form->RenumberBoards1Click();
        QVERIFY(form->RenumberFormOpen());
        QVERIFY(!form->ConfigureBoards1->isEnabled());
        form->ConfigureBoards1Click();
        QVERIFY(!form->ProgFormOpen());
        order.clear();
        Route(*form, SvReply());
        QCOMPARE(order, (std::vector<std::string>{"renumber"}));
    }

    void CheckLayoutOpensBesideTheBoardWindowButNotBesideRenumbering()
    {
        std::vector<std::string> order;
        TFakeSVWindow* board = nullptr;
        Forms->Board = [&] {
            return board = new TFakeSVWindow([&](const TLNSVProgMessage&) { order.push_back("board"); });
        };
        Forms->Audit = [&] { return new TFakeSVWindow([&](const TLNSVProgMessage&) { order.push_back("audit"); }); };
        Forms->Renumber = [&] { return new TFakeSVWindow([](const TLNSVProgMessage&) {}); };
        auto form = Make();
        form->show();
        form->ConfigureBoards1Click();
        form->CheckLayout1Click();
        QVERIFY(form->ProgFormOpen() && form->AuditFormOpen());
        QVERIFY(!form->RenumberBoards1->isEnabled());
        form->RenumberBoards1Click();
        QVERIFY(!form->RenumberFormOpen());
        Route(*form, SvReply());
        QCOMPARE(order, (std::vector<std::string>{"board", "audit"}));
        // The bus carries one conversation at a time: the windows ask the main window first.
        QVERIFY(!form->ConversationUnderWay());
        board->Busy = true;
        QVERIFY(form->ConversationUnderWay());

        for (TSVForm* open : {&form->ProgForm, &form->AuditForm}) open->Form->parentWidget()->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        form->RenumberBoards1Click();
        QVERIFY(form->RenumberFormOpen());
        QVERIFY(!form->CheckLayout1->isEnabled());
        form->CheckLayout1Click();
        QVERIFY(!form->AuditFormOpen());
    }

    void ChildWindowsStayInsideTheFrame()
    {
        auto form = Make();
        form->resize(640, 480);
        form->show();
        const QRect area = form->MdiArea->viewport()->rect();
        // A resizable window larger than the work area is made to fit it.
        auto* large = new QWidget;
        large->resize(area.width() + 400, area.height() + 300);
        QMdiSubWindow* frame = form->AddChildForm(large, false);
        QVERIFY(area.contains(frame->geometry()));
        // One of fixed size is moved in, as when placed beside a window near the edge.
        auto* fixed = new QWidget;
        fixed->setFixedSize(200, 150);
        QMdiSubWindow* fixedFrame = form->AddChildForm(fixed, true);
        const QSize fixedSize = fixedFrame->size();
        fixedFrame->move(area.width() - 100, area.height() - 100);
        PlaceBesideAnchor(fixed, fixed);
        QVERIFY(area.contains(fixedFrame->geometry()));
        QCOMPARE(fixedFrame->size(), fixedSize);
    }

    void SVRepliesReachMinimisedBoardAndRenumberWindows()
    {
        int replies = 0;
        Forms->Board = [&] { return new TFakeSVWindow([&](const TLNSVProgMessage&) { ++replies; }); };
        Forms->Renumber = Forms->Board;
        auto form = Make();
        form->show();
        for (void (TMainForm::*open)() : {&TMainForm::ConfigureBoards1Click, &TMainForm::RenumberBoards1Click}) {
            replies = 0;
            (form.get()->*open)();
            QCOMPARE(form->MdiArea->subWindowList().size(), 1);
            QMdiSubWindow* frame = form->MdiArea->subWindowList().first();
            frame->showMinimized();
            QVERIFY(!frame->widget()->isVisible());
            Route(*form, SvReply());
            QCOMPARE(replies, 1);
            // Choosing the entry again brings the window back.
            (form.get()->*open)();
            QVERIFY(!frame->isMinimized());
            QCOMPARE(form->MdiArea->subWindowList().size(), 1);
            frame->close();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        }
    }

    void ClosingAnOlderMonitorKeepsTheNewestOne()
    {
        auto form = Make();
        form->show();
        form->MessageDisplay1Click();
        QMdiSubWindow* older = form->MdiArea->subWindowList().first();
        form->MessageDisplay1Click();
        older->close();
        QVERIFY(form->DisplayFormOpen);
        Route(*form, Message("83 7C"));
        QCOMPARE(MonitorLines(*form).size(), std::size_t(1));
        form->DisplayForm->parentWidget()->close();
        QVERIFY(!form->DisplayFormOpen);
    }

    void F1OpensTheHelpOfTheWindowItIsPressedIn()
    {
        auto form = Make();
        form->show();
        const auto helpAfterF1 = [](QWidget* widget) {
            QTest::keyClick(widget, Qt::Key_F1);
            return THelpViewer::Instance()->CurrentContext();
        };
        QCOMPARE(helpAfterF1(form->ProgStatus), 1);
        form->MessageDisplay1Click();
        QCOMPARE(helpAfterF1(form->DisplayForm->HelpButton), 13);
        form->SWRQ1Click();
        form->MdiArea->setActiveSubWindow(form->MdiArea->subWindowList().last());
        QCOMPARE(helpAfterF1(form->MdiArea->subWindowList().last()), 14);
        QCOMPARE(helpAfterF1(form->MdiArea->viewport()), 14);
        form->Speedometer1Click();
        QCOMPARE(helpAfterF1(form->SpeedometerForm->LengthEdit), 15);
        TEditorDialog editor(form.get(), 540);
        editor.show();
        QCOMPARE(helpAfterF1(editor.OKBtn), 540);
        // Above a modal window, help is its child, or it could not be read; then its own again.
        QCOMPARE(THelpViewer::Instance()->parentWidget(), &editor);
        editor.close();
        QCOMPARE(THelpViewer::Instance()->parentWidget(), nullptr);

        // Help closes with the main window: it does not keep the program running.
        QVERIFY(THelpViewer::Instance()->isVisible());
        QVERIFY(!THelpViewer::Instance()->testAttribute(Qt::WA_QuitOnClose));
        form->close();
        QVERIFY(!THelpViewer::Instance()->isVisible());
    }

    void LocoBufferStatusReplyShowsInStatusLine()
    {
        auto form = Make();
        auto reply = LocoBufferStatus();
        const std::string text = TLNPeerXferMessage(*reply).Text();
        QVERIFY(text.rfind("LocoBuffer V", 0) == 0);
        Route(*form, std::move(reply));
        QCOMPARE(form->InterfaceStatus->text(), QString::fromStdString(text));
        // Another peer transfer leaves it alone.
        auto other = LocoBufferStatus();
        std::vector<uint8_t> bytes(other->GetData(), other->GetData() + 15);
        bytes[2] = 0x10;
        auto plain = std::make_unique<TLocoNetMessage>();
        for (uint8_t b : bytes) plain->AddByte(b);
        plain->AddChecksum();
        Route(*form, std::move(plain));
        QCOMPARE(form->InterfaceStatus->text(), QString::fromStdString(text));
    }

    void SimulatedLinkEchoesIntoTheMonitor()
    {
        WriteSettings([](QSettings& s) {
            s.setValue("Connection/ComPort", "sim:traffic=off");
            s.setValue("Connection/Interface", 0);
        });
        auto form = Make();
        form->Sender = [&form](std::unique_ptr<TLocoNetMessage> m) { form->LocoNetComm1->WriteMessage(std::move(m)); };
        form->show();
        form->FormActivate();
        QVERIFY(form->LocoNetComm1->Enabled());
        QCOMPARE(form->StatusConnect->text(), QStringLiteral("sim:traffic=off: MS100"));
        QCOMPARE(form->InterfaceStatus->text(), QString());
        form->MessageDisplay1Click();
        form->TrackPowerOn1Click();
        QTRY_COMPARE(form->MessageCount, 1u);
        QCOMPARE(MonitorLines(*form).size(), std::size_t(1));
        QCOMPARE(form->MsgNum->text(), QStringLiteral("1"));
    }

    // A LocoNet server the link reaches over TCP: refused, connected in the background, lost and
    // connected again from the connection window.
    void LinkFailuresAndLossShowOnTheStatusLine()
    {
        QTcpServer server;
        QVERIFY(server.listen(QHostAddress::LocalHost, 0));
        const quint16 port = server.serverPort();
        const QString device = QStringLiteral("tcp://127.0.0.1:%1").arg(port);
        WriteSettings([&](QSettings& s) {
            s.setValue("Connection/ComPort", device);
            s.setValue("Connection/Interface", 2);
        });
        TFakeSVWindow* board = nullptr;
        Forms->Board = [&board] { return board = new TFakeSVWindow([](const TLNSVProgMessage&) {}); };
        auto form = Make();
        form->FormActivate();
        form->ConfigureBoards1Click();
        QCOMPARE(form->StatusConnect->text(), QStringLiteral("Connecting to %1 ...").arg(device));
        QTRY_COMPARE(form->StatusConnect->text(), device + QStringLiteral(": PR3"));
        QTRY_VERIFY(server.hasPendingConnections());
        QTcpSocket* line = server.nextPendingConnection();

        line->close(); // the server goes away
        server.close();
        QTRY_COMPARE(form->StatusConnect->text(),
                     QStringLiteral("Connection lost: %1: the server closed the connection").arg(device));
        QTRY_COMPARE(Boxes.size(), std::size_t(1));
        QVERIFY(Boxes[0].startsWith(QStringLiteral("Railscope|The connection to %1 was lost: ").arg(device)));
        QCOMPARE(board->LinkLosses, 1); // told to the window that hosts a conversation

        // Connect: refused while nothing listens, no error box; then connected again.
        form->Connect1Click();
        auto* connect = form->MdiArea->findChild<TConnectForm*>();
        QVERIFY(connect);
        connect->ComCombo->setEditText(device);
        connect->InterfaceButtons->button(2)->click();
        connect->ConnectButtonClick();
        QTRY_COMPARE(form->StatusConnect->text(), QStringLiteral("Not Connected: %1: Connection refused").arg(device));
        QVERIFY(server.listen(QHostAddress::LocalHost, port));
        connect->ConnectButtonClick();
        QTRY_COMPARE(form->StatusConnect->text(), device + QStringLiteral(": PR3"));
        QCOMPARE(std::count_if(Boxes.begin(), Boxes.end(),
                               [](const QString& box) { return box.startsWith(QStringLiteral("Railscope|")); }),
                 1);
    }

    void EchoOfOwnMessageShowsAsSentWithTheLinkTime()
    {
        WriteSettings([](QSettings& s) {
            s.setValue("Connection/ComPort", "sim:traffic=off");
            s.setValue("Connection/Interface", 0);
            s.setValue("DisplayForm/DirectionColumn", true); // remembered from an earlier run
        });
        auto form = Make();
        form->Sender = [&form](std::unique_ptr<TLocoNetMessage> m) { form->LocoNetComm1->WriteMessage(std::move(m)); };
        form->show();
        form->FormActivate();
        form->MessageDisplay1Click();
        QVERIFY(form->DisplayForm->DirectionColumnAction->isChecked());
        form->DisplayForm->TimeColumnAction->setChecked(true); // written to the settings at once
        QCOMPARE(QSettings(SettingsFile(), QSettings::IniFormat).value("DisplayForm/TimeColumn").toBool(), true);
        const int64_t before = form->LocoNetComm1->MicrosecondsSinceOpen();
        form->TrackPowerOn1Click();
        QTRY_COMPARE(form->MessageCount, 1u);
        const TMonitorLines& lines = form->DisplayForm->Messages->Lines();
        QVERIFY(lines.Echo(0));
        QVERIFY(lines.TimeUs(0) >= before && lines.TimeUs(0) <= form->LocoNetComm1->MicrosecondsSinceOpen());
        QVERIFY(MonitorLines(*form)[0].find("  sent  OPC_GPON:83 7C") != std::string::npos);
        // The same message from another device is received.
        Route(*form, Message("83 7C"));
        QVERIFY(!lines.Echo(1));
    }

    void LiveLogGoesOnWhileTheMonitorIsMinimised()
    {
        auto form = Make();
        form->show();
        form->MessageDisplay1Click();
        QVERIFY(form->DisplayForm->StartLiveLog(Dir->filePath(QStringLiteral("live.txt"))));
        form->MdiArea->subWindowList().first()->showMinimized();
        QVERIFY(!form->DisplayForm->isVisible());
        Route(*form, Message("83 7C"), Message("B2 05 50 18"));
        form->DisplayForm->StopLiveLog();
        QFile log(Dir->filePath(QStringLiteral("live.txt")));
        QVERIFY(log.open(QIODevice::ReadOnly));
        QCOMPARE(log.readAll().count("\r\n"), 2);
    }

    // A box that a window shows while it takes a reply is open for two seconds: the traffic of the
    // simulated LocoNet keeps reaching the monitor meanwhile, each message with its own time.
    void ReceptionGoesOnWhileABoxIsOpen()
    {
        WriteSettings([](QSettings& s) {
            s.setValue("Connection/ComPort", "sim:boards=ORB4@1000;traffic=on");
            s.setValue("Connection/Interface", 2);
        });
        auto form = Make();
        form->show();
        form->FormActivate();
        QVERIFY(form->LocoNetComm1->Enabled());
        form->MessageDisplay1Click();
        const TMonitorLines& lines = form->DisplayForm->Messages->Lines();
        std::vector<int64_t> duringBox;
        DialogSeam().MessageBox = [&](QWidget*, const QString&, const QString&, int, bool) {
            const size_t before = lines.Count();
            QEventLoop box;
            QTimer::singleShot(2000, &box, &QEventLoop::quit);
            box.exec();
            for (size_t i = before; i < lines.Count(); ++i) duringBox.push_back(lines.TimeUs(i));
            Boxes.push_back(QStringLiteral("shown"));
            return int(QMessageBox::Ok);
        };
        Forms->Renumber = [] {
            auto* window = new TFakeSVWindow({});
            window->OnMessage = [window](const TLNSVProgMessage& m) {
                if (m.SVKind() == eSVDISCOVERREPLY)
                    ShowMessageBox(window, QStringLiteral("Discover:"), QStringLiteral("found"), QMessageBox::Ok);
            };
            return window;
        };
        form->RenumberBoards1Click();
        auto discover = std::make_unique<TLNSVProgMessage>();
        discover->SetDiscover(0);
        form->LocoNetComm1->WriteMessage(std::move(discover));
        QTRY_COMPARE_WITH_TIMEOUT(Boxes.size(), std::size_t(1), 5000);
        QVERIFY2(duringBox.size() >= 2, std::to_string(duringBox.size()).c_str());
        QVERIFY(duringBox.back() - duringBox.front() >= 200000); // not one burst after the box
    }

    void AnOlderMonitorGoesOnWithItsLiveLog()
    {
        auto form = Make();
        form->show();
        form->MessageDisplay1Click();
        QPointer<TDisplayForm> older = form->DisplayForm;
        QVERIFY(older->StartLiveLog(Dir->filePath(QStringLiteral("live.txt"))));
        form->MessageDisplay1Click();
        Route(*form, Message("83 7C"), Message("B2 05 50 18"));
        QCOMPARE(form->DisplayForm->DisplayedCount, 2u);
        QCOMPARE(older->DisplayedCount, 0u); // only the newest shows messages
        QVERIFY(older->LiveLogRunning());
        older->parentWidget()->close(); // its log ends with the window
        QFile log(Dir->filePath(QStringLiteral("live.txt")));
        QVERIFY(log.open(QIODevice::ReadOnly));
        QCOMPARE(log.readAll().count("\r\n"), 2);
    }

    void AboutBoxIsShownWithoutBeingModal()
    {
        auto form = Make();
        form->show();
        form->FindAction(QStringLiteral("&Help/&About...."))->trigger();
        QVERIFY(form->AboutBox->isVisible());
        QVERIFY(!form->AboutBox->isModal());
        QCOMPARE(form->AboutBox->windowTitle(), QStringLiteral("About:"));
    }
};

QTEST_MAIN(MainFormTest)
#include "MainFormTest.moc"

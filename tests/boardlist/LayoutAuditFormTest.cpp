// The Check Layout window on the simulated bus of the layout check's tests: the example boards of
// the board list (one with an unsaved change), one board in no file, one missing from the bus and
// one of another type.
#include "boardlist/LayoutAuditForm.h"

#include "boards/BoardData.h"
#include "boards/orb/orb4/ORB4Board.h"
#include "support/SimLink.h"
#include "widgets/DialogSeam.h"

#include <QElapsedTimer>
#include <QFile>
#include <QListWidget>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

namespace {

const char* const kBus = "sim:traffic=on;boards=ORB4@1101/fw2,ORB4@1102/fw2,KPX9@2101/fw2,ORB8@2201/fw2,"
                         "ORB8@2202/fw2,RVN2@1201/fw2,QXP6@1202/fw2,QXP6@4101/fw2,QXP6@4102/fw2";
const char* const kFiles[] = {"layout-orb4.csv", "layout-kpx9.csv", "layout-orb8.csv", "layout-rvn2.csv",
                              "layout-qxp6.csv"};

TORB4Board& Orb4(TBoardData& boards, uint32_t index)
{
    return dynamic_cast<TORB4Board&>(*boards.GetBoardForChange(eORB4, index));
}

} // namespace

class LayoutAuditFormTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TBoardData> Boards;
    std::unique_ptr<TSimLink> Link;
    QStringList Status;
    QStringList Boxes;
    struct TCall {
        int Type;
        uint32_t Index;
        EBoardListCommand Command;
    };
    std::vector<TCall> Calls;
    bool OtherBusy = false;

    std::unique_ptr<TLayoutAuditForm> Make()
    {
        TLayoutAuditLinks links;
        links.Send = Link->Sender();
        links.ShowStatus = [this](const QString& text) { Status << text; };
        links.OtherConversationUnderWay = [this] { return OtherBusy; };
        links.InBoardList = [this](int type, uint32_t index, EBoardListCommand command) {
            Calls.push_back({type, index, command});
        };
        auto form = std::make_unique<TLayoutAuditForm>(*Boards, std::move(links));
        form->Audit().SetDiscoveryWaitMs(300);
        Link->Target = form.get();
        return form;
    }

    static QString File(int type)
    {
        return QStringLiteral(RAILSCOPE_SOURCE_DIR "/data/examples/") + QLatin1String(kFiles[type]);
    }

    // Runs the event loop until `done`; QTest::qWaitFor's pause of 10 ms between rounds would make
    // every reply wait. A conversation under way always has a timer running.
    static bool RunUntil(const std::function<bool()>& done)
    {
        QElapsedTimer clock;
        clock.start();
        while (!done()) {
            if (clock.elapsed() > 60000) return false;
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        }
        return true;
    }
    static bool RunToRest(TLayoutAuditForm& form)
    {
        return RunUntil([&form] { return form.Audit().IsIdle(); });
    }

private slots:
    void init()
    {
        Boards = std::make_unique<TBoardData>();
        for (int type = 0; type < kBoardTypeCount; ++type) QVERIFY(Boards->LoadFile(type, File(type).toStdString()));
        // An unsaved change: the spare ORB4's sensor board number is more than its SV holds.
        Orb4(*Boards, 1).SensorConfig().SensorBoardNumber = 256;
        Link = std::make_unique<TSimLink>(kBus);
        Status.clear();
        Boxes.clear();
        Calls.clear();
        OtherBusy = false;
        DialogSeam() = {};
        DialogSeam().MessageBox = [this](QWidget*, const QString& caption, const QString& text, int, bool) {
            Boxes << caption + QLatin1Char('|') + text;
            return int(QMessageBox::Ok);
        };
    }
    void cleanup()
    {
        DialogSeam() = {};
        Link.reset();
    }

    void ChecksTheBoardListAndProgramsTheDifferingBoards()
    {
        auto form = Make();
        QCOMPARE(form->windowTitle(), QStringLiteral("Check Layout"));
        QVERIFY(!form->CancelButton->isEnabled() && !form->ExportButton->isEnabled());
        form->CheckButton->click();
        QVERIFY(form->CancelButton->isEnabled() && !form->CheckButton->isEnabled());
        QVERIFY(RunToRest(*form));
        const QString orb4 = File(eORB4), rvn2 = File(eRVN2);
        QStringList table = form->TableLines();
        QCOMPARE(table.size(), 10);
        QVERIFY(table[0].contains(
            QRegularExpression(QStringLiteral("^1101\tORB4\tMain line ORB4\t[1-9][0-9]* SVs differ\t"))));
        QCOMPARE(table[1], "1102\tORB4\tSpare ORB4\tdescription cannot be held (1 values)\t" + orb4);
        QCOMPARE(table[5], QStringLiteral("2202\tORB8\t\ton the bus, in no file\t"));
        QVERIFY(form->ProgramDifferingButton->isEnabled());

        form->ProgramDifferingButton->click();
        QVERIFY(RunToRest(*form));
        table = form->TableLines();
        QCOMPARE(table[0], "1101\tORB4\tMain line ORB4\tmatches\t" + orb4);
        QCOMPARE(table[1], "1102\tORB4\tSpare ORB4\tdescription cannot be held (1 values)\t" + orb4);
        QCOMPARE(table[3], "2102\tKPX9\tFiddle yard panel\tin a file, not on the bus\t" + File(eKPX9));
        QCOMPARE(table[7], "1202\tRVN2\tColdwater Station\ttype differs: bus has QXP6\t" + rvn2);
        QCOMPARE(form->SummaryLabel->text(), QStringLiteral("10 boards: 6 match, 1 cannot hold its description, 1 in "
                                                            "no file, 1 not on the bus, 1 of another type on the bus"));
        QCOMPARE(form->ProgressBar->value(), form->ProgressBar->maximum());

        // Sorted by status, worst first; the selection follows its board.
        QVERIFY(form->SelectBoard(eORB4, 1102));
        form->AuditTable->sortByColumn(3, Qt::DescendingOrder);
        const QStringList serials = form->TableLines().replaceInStrings(QRegularExpression(QStringLiteral("\t.*")), {});
        QCOMPARE(serials.mid(0, 4), (QStringList{"1202", "2102", "2202", "1102"}));
        QCOMPARE(form->AuditTable->currentIndex().row(), 3);

        QTemporaryDir dir;
        const QString csv = dir.filePath(QStringLiteral("layout.csv"));
        DialogSeam().FileDialog = [&csv](QWidget*, QFileDialog&) { return csv; };
        form->ExportButton->click();
        QFile written(csv);
        QVERIFY(written.open(QIODevice::ReadOnly));
        const QStringList lines = QString::fromUtf8(written.readAll()).split(QLatin1Char('\n'));
        QCOMPARE(lines[0], QStringLiteral("Serial,Type,Name,Status,File"));
        QCOMPARE(lines[6], QStringLiteral("2202,ORB8,\"\",\"on the bus, in no file\",\"\""));
    }

    void RowCommandsUseTheBoardListAsItIsNow()
    {
        auto form = Make();
        form->CheckButton->click();
        QVERIFY(RunToRest(*form));
        // A board in no file has nothing to program, verify, edit or read into.
        QVERIFY(form->SelectBoard(eORB8, 2202));
        QVERIFY(!form->ProgramButton->isEnabled() && !form->VerifyButton->isEnabled());

        QVERIFY(form->SelectBoard(eQXP6, 4102));
        form->EditButton->click();
        form->ReadBoardButton->click();
        form->ProgramButton->click();
        QCOMPARE(Calls.size(), size_t(3));
        QCOMPARE(Calls[0].Type, int(eQXP6));
        QCOMPARE(Calls[0].Index, 1u);
        QVERIFY(Calls[0].Command == EBoardListCommand::Edit && Calls[1].Command == EBoardListCommand::ReadBoard &&
                Calls[2].Command == EBoardListCommand::Program);

        // Verify takes the description as the board list holds it now: the unsaved change that the
        // board cannot hold is undone, so the fresh board on the bus differs.
        Orb4(*Boards, 1).SensorConfig().SensorBoardNumber = 10;
        QVERIFY(form->SelectBoard(eORB4, 1102));
        form->VerifyButton->click();
        QVERIFY(RunToRest(*form));
        QVERIFY(form->TableLines()[1].contains(QRegularExpression(QStringLiteral("\t[1-9][0-9]* SVs differ\t"))));
        QVERIFY(form->DetailsList->count() > 1);
        QVERIFY(form->DetailsList->item(0)->text().startsWith(QStringLiteral("SV ")));

        // A board gone from the board list is told, and nothing is sent.
        Boards->DeleteBoard(eORB4, 1);
        const int sent = Link->Sent;
        form->VerifyButton->click();
        QCOMPARE(Boxes, QStringList{QStringLiteral("Check Layout|ORB4 1102 is no longer in the board list")});
        QCOMPARE(Link->Sent, sent);
    }

    void CancelKeepsTheTableAndAnotherWindowsConversationWaits()
    {
        auto form = Make();
        OtherBusy = true;
        form->CheckButton->click();
        QVERIFY(form->Audit().IsIdle());
        QCOMPARE(Status.last(),
                 QStringLiteral("Another window is talking to the boards: try again when it has finished"));

        OtherBusy = false;
        form->CheckButton->click();
        QVERIFY(RunUntil([&form] { return form->LogLines().filter(QStringLiteral("Checking ")).size() == 2; }));
        form->CancelButton->click();
        QVERIFY(form->Audit().IsIdle() && form->CheckButton->isEnabled());
        const QStringList table = form->TableLines();
        QCOMPARE(table.size(), 10);
        QVERIFY(table[0].contains(QStringLiteral("SVs differ")));
        QVERIFY(table[9].contains(QStringLiteral("\tnot checked\t")));
        QVERIFY(form->SummaryLabel->text().startsWith(QStringLiteral("Cancelled. 10 boards:")));
    }
};

QTEST_MAIN(LayoutAuditFormTest)
#include "LayoutAuditFormTest.moc"

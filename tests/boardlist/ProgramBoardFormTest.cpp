// The board list window: list commands, board files, and the programmer against the simulated bus.
#include "boardlist/ProgramBoardForm.h"

#include "support/SimLink.h"
#include "boards/BoardData.h"
#include "boards/qxp6/QXP6Board.h"
#include "editors/BoardEditors.h"
#include "widgets/DialogSeam.h"
#include "widgets/SpinEdit.h"

#include <QCheckBox>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <csignal>
#include <sys/resource.h>

namespace {

enum { ORB4 = 0, KPX9 = 1, ORB8 = 2, QXP6 = 4 };

QByteArray ReadAll(const QString& fileName)
{
    QFile file(fileName);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

} // namespace

class ProgramBoardFormTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> Dir;
    std::unique_ptr<TBoardData> Boards;
    QStringList Status;
    QStringList Boxes; // caption|text of every message box
    QStringList FileTitles; // title of every file dialog run
    QString FileAnswer; // what the file dialogs answer
    int BoxAnswer = QMessageBox::Yes;

    std::unique_ptr<TProgramBoardForm> Make(TMessageSender sender = {})
    {
        TProgramBoardLinks links;
        links.Send = std::move(sender);
        links.ShowStatus = [this](const QString& text) { Status << text; };
        auto form = std::make_unique<TProgramBoardForm>(*Boards, std::move(links));
        DialogSeam().MessageBox = [this](QWidget*, const QString& caption, const QString& text, int, bool) {
            Boxes << caption + QLatin1Char('|') + text;
            return BoxAnswer;
        };
        DialogSeam().FileDialog = [this](QWidget*, QFileDialog& dialog) {
            FileTitles << dialog.windowTitle();
            return FileAnswer;
        };
        return form;
    }

    QString Path(const QString& name) const { return Dir->filePath(name); }

    void AddNamed(int type, const std::vector<std::string>& names)
    {
        for (const std::string& name : names) Boards->AddBoard(type)->Name = name;
    }

    QStringList Names(int type) const
    {
        QStringList names;
        for (uint32_t i = 0; i < Boards->BoardCount(type); ++i)
            names << QString::fromStdString(Boards->GetBoard(type, i)->Name);
        return names;
    }

private slots:
    void init()
    {
        Dir = std::make_unique<QTemporaryDir>();
        Boards = std::make_unique<TBoardData>();
        Status.clear();
        Boxes.clear();
        FileTitles.clear();
        FileAnswer.clear();
        BoxAnswer = QMessageBox::Yes;
        DialogSeam() = {};
    }

    void StartsIdleOnTheFirstTabWithItsControls()
    {
        auto form = Make();
        QCOMPARE(form->windowTitle(), QStringLiteral("Configure Boards"));
        QCOMPARE(form->BoardTabControl->count(), 5);
        const QStringList tabs{"ORB4", "KPX9", "ORB8", "RVN2", "QXP6"};
        for (int i = 0; i < 5; ++i) QCOMPARE(form->BoardTabControl->tabText(i), tabs[i]);
        QCOMPARE(form->CurrentType(), 0);
        QCOMPARE(form->MessageEdit->text(), QStringLiteral("not saved to file"));
        QVERIFY(!form->MessageEdit->isEnabled());
        QCOMPARE(Status, QStringList{"Board programmer idle"});
        QCOMPARE(form->LogLines(), QStringList{"Board programmer idle"});
        QVERIFY(!form->TimeoutTimer->isActive());
        QVERIFY(!form->MsgDelayTimer->isActive());
        QCOMPARE(form->TimeoutTimer->interval(), 5000);
        QCOMPARE(form->MsgDelayTimer->interval(), 20);
        QCOMPARE(form->SWVersionSpin->MinValue(), 1);
        QCOMPARE(form->SWVersionSpin->MaxValue(), 255);
        QCOMPARE(form->DebugCheck->text(), QStringLiteral("Log"));
        QCOMPARE(form->SaveSVDialog->defaultSuffix(), QStringLiteral("txt"));
        QCOMPARE(form->SaveSVDialog->nameFilters(), QStringList{"*.txt"});
    }

    void SwitchingTabsShowsTheOtherListAndKeepsTheLineNumber()
    {
        AddNamed(ORB4, {"a", "b", "c"});
        AddNamed(KPX9, {"k1", "k2"});
        AddNamed(ORB8, {"o1"});
        QVERIFY(Boards->SaveFileAs(KPX9, Path("kpx9.csv").toStdString()));
        auto form = Make();
        QCOMPARE(form->ListLines(),
                 (QStringList{"not set yet\tORB4\t a", "not set yet\tORB4\t b", "not set yet\tORB4\t c"}));
        form->BoardListBox->setCurrentRow(1);
        form->BoardTabControl->setCurrentIndex(KPX9);
        QCOMPARE(form->ListLines(), (QStringList{"not set yet\tKPX9\t k1", "not set yet\tKPX9\t k2"}));
        QCOMPARE(form->SelectedIndex(), 1);
        QCOMPARE(form->MessageEdit->text(), QStringLiteral("File Name = ") + Path("kpx9.csv"));
        // A list too short for the line: nothing is selected.
        form->BoardTabControl->setCurrentIndex(ORB8);
        QCOMPARE(form->ListLines().size(), 1);
        QCOMPARE(form->SelectedIndex(), -1);
        QCOMPARE(form->MessageEdit->text(), QStringLiteral("not saved to file"));
    }

    void ShowBoardSelectsItsTabAndLine()
    {
        AddNamed(ORB4, {"a"});
        AddNamed(KPX9, {"k1", "k2"});
        auto form = Make();
        form->ShowBoard(KPX9, 1);
        QCOMPARE(form->CurrentType(), int(KPX9));
        QCOMPARE(form->SelectedIndex(), 1);
    }

    void AddInsertAndDeleteWorkOnTheSelectedLine()
    {
        AddNamed(ORB4, {"first", "second"});
        auto form = Make();
        // Without a selection, Insert and Delete do nothing.
        form->InsertBoard1->trigger();
        form->DeleteBoard1->trigger();
        QCOMPARE(Names(ORB4), (QStringList{"first", "second"}));

        form->BoardListBox->setCurrentRow(0);
        form->InsertBoard1->trigger();
        QCOMPARE(Names(ORB4), (QStringList{"ORB4 Signal Controller", "first", "second"}));
        QCOMPARE(form->ListLines().constFirst(), QStringLiteral("not set yet\tORB4\t ORB4 Signal Controller"));
        QCOMPARE(form->SelectedIndex(), 0);

        form->BoardListBox->setCurrentRow(2);
        form->DeleteBoard1->trigger();
        QCOMPARE(Names(ORB4), (QStringList{"ORB4 Signal Controller", "first"}));
        QCOMPARE(form->SelectedIndex(), -1); // the list is now too short for line 2

        form->Addnewboard1->trigger();
        QCOMPARE(Names(ORB4).size(), 3);
        QCOMPARE(form->ListLines().size(), 3);
        QVERIFY(Boards->IsModified(ORB4));
        QVERIFY(Boxes.isEmpty()); // nothing asks
    }

    void CloseOfAnUnchangedTypeDeletesItsBoardsWithoutAsking()
    {
        AddNamed(ORB4, {"a", "b"});
        QVERIFY(Boards->SaveFileAs(ORB4, Path("orb4.csv").toStdString()));
        auto form = Make();
        form->Close1->trigger();
        QVERIFY(Boxes.isEmpty());
        QCOMPARE(Boards->BoardCount(ORB4), 0u);
        QVERIFY(!Boards->HasFileName(ORB4));
        QCOMPARE(form->MessageEdit->text(), QStringLiteral("not saved to file"));
        QVERIFY(form->ListLines().isEmpty());
    }

    void CloseOfAChangedTypeAsksAndSavesOnYes()
    {
        AddNamed(ORB4, {"a"});
        QVERIFY(Boards->SaveFileAs(ORB4, Path("orb4.csv").toStdString()));
        const QByteArray before = ReadAll(Path("orb4.csv"));
        AddNamed(ORB4, {"b"});
        auto form = Make();

        BoxAnswer = QMessageBox::No;
        form->Close1Click();
        QCOMPARE(Boxes, QStringList{"File close selected|Do you want to save data?"});
        QCOMPARE(Boards->BoardCount(ORB4), 0u);
        QCOMPARE(ReadAll(Path("orb4.csv")), before); // not saved

        // Yes saves to the file the type has, then closes.
        Boxes.clear();
        QCOMPARE(Boards->LoadFile(ORB4, Path("orb4.csv").toStdString()), true);
        AddNamed(ORB4, {"c"});
        BoxAnswer = QMessageBox::Yes;
        form->Close1Click();
        QCOMPARE(Boxes.size(), 1);
        QCOMPARE(Boards->BoardCount(ORB4), 0u);
        QVERIFY(Boards->LoadFile(ORB4, Path("orb4.csv").toStdString()));
        QCOMPARE(Names(ORB4), (QStringList{"a", "c"}));

        // Yes on a type without a file asks for a name; cancelling keeps the boards.
        Boards->CloseFile(ORB4);
        AddNamed(ORB4, {"unsaved"});
        FileAnswer.clear();
        form->Close1Click();
        QCOMPARE(FileTitles.constLast(), QStringLiteral("Save file for board type: ORB4 Signal Controller"));
        QCOMPARE(Names(ORB4), QStringList{"unsaved"});
    }

    void OpenReplacesChangedBoardsWithoutAsking()
    {
        AddNamed(ORB4, {"x", "y"});
        QVERIFY(Boards->SaveFileAs(ORB4, Path("saved.csv").toStdString()));
        Boards->CloseFile(ORB4);
        AddNamed(ORB4, {"changed"});
        QVERIFY(Boards->IsModified(ORB4));
        auto form = Make();
        FileAnswer = Path("saved.csv");
        form->Open1->trigger();
        QCOMPARE(FileTitles, QStringList{"Open File for board type: ORB4 Signal Controller"});
        QVERIFY(Boxes.isEmpty());
        QCOMPARE(Names(ORB4), (QStringList{"x", "y"}));
        QVERIFY(!Boards->IsModified(ORB4));
        QCOMPARE(form->MessageEdit->text(), QStringLiteral("File Name = ") + Path("saved.csv"));
        QCOMPARE(form->ListLines().size(), 2);

        // A cancelled dialog changes nothing.
        FileAnswer.clear();
        form->Open1->trigger();
        QCOMPARE(Names(ORB4), (QStringList{"x", "y"}));
    }

    void SaveAsAsksWithTheTitleAndSaveUsesTheFileName()
    {
        AddNamed(KPX9, {"k"});
        auto form = Make();
        form->BoardTabControl->setCurrentIndex(KPX9);
        // Save without a file name is Save As.
        FileAnswer = Path("k.csv");
        form->Save1->trigger();
        QCOMPARE(FileTitles,
                 QStringList{"Save file for board type: " + QString::fromStdString(TBoardData::GetTitle(KPX9))});
        QVERIFY(QFile::exists(Path("k.csv")));
        QVERIFY(!Boards->IsModified(KPX9));
        QCOMPARE(form->MessageEdit->text(), QStringLiteral("File Name = ") + Path("k.csv"));
        // Save with a name asks nothing.
        AddNamed(KPX9, {"k2"});
        form->Save1->trigger();
        QCOMPARE(FileTitles.size(), 1);
        QVERIFY(!Boards->IsModified(KPX9));
    }

    void AFailingSaveIsShownAndTheOldFileStays()
    {
        AddNamed(ORB4, {"old"});
        QVERIFY(Boards->SaveFileAs(ORB4, Path("orb4.csv").toStdString()));
        const QByteArray before = ReadAll(Path("orb4.csv"));
        for (int i = 0; i < 50; ++i) AddNamed(ORB4, {"new board with a long name " + std::to_string(i)});
        auto form = Make();

        // Files may not grow beyond a few bytes: the new contents cannot be written.
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit old{};
        getrlimit(RLIMIT_FSIZE, &old);
        rlimit small = old;
        small.rlim_cur = 64;
        setrlimit(RLIMIT_FSIZE, &small);
        form->Save1->trigger();
        setrlimit(RLIMIT_FSIZE, &old);

        QCOMPARE(Boxes.size(), 1);
        QVERIFY2(Boxes.constFirst().startsWith(QString::fromStdString(TBoardData::GetTitle(ORB4)) + "|"),
                 qPrintable(Boxes.constFirst()));
        QVERIFY(Boxes.constFirst().contains(Path("orb4.csv")));
        QCOMPARE(ReadAll(Path("orb4.csv")), before);
        QVERIFY(Boards->IsModified(ORB4));
        QCOMPARE(Boards->BoardCount(ORB4), 51u);

        // Close with Yes: the save fails again, so the boards are not deleted.
        Boxes.clear();
        setrlimit(RLIMIT_FSIZE, &small);
        form->Close1Click();
        setrlimit(RLIMIT_FSIZE, &old);
        QCOMPARE(Boxes.size(), 2);
        QCOMPARE(Boards->BoardCount(ORB4), 51u);
        QCOMPARE(ReadAll(Path("orb4.csv")), before);
    }

    void EditBoardMarksTheTypeModifiedAndWaitsForTheEditor()
    {
        AddNamed(ORB4, {"a", "b"});
        QVERIFY(Boards->SaveFileAs(ORB4, Path("orb4.csv").toStdString()));
        auto form = Make();
        // No editor for the type: nothing happens.
        form->SetBoardEditor(ORB4, nullptr);
        form->BoardListBox->setCurrentRow(1);
        form->EditBoard1->trigger();
        QVERIFY(!Boards->IsModified(ORB4));

        TConfigurableBoard* edited = nullptr;
        QWidget* anchor = nullptr;
        form->SetBoardEditor(ORB4, [&](QWidget* a, TConfigurableBoard& board) {
            edited = &board;
            anchor = a;
        });
        form->EditBoard1->trigger();
        QCOMPARE(edited, Boards->GetBoard(ORB4, 1));
        QCOMPARE(anchor, form.get());
        QVERIFY(Boards->IsModified(ORB4));

        // A double click edits too; with the editor renaming the board the list shows it.
        form->SetBoardEditor(ORB4, [](QWidget*, TConfigurableBoard& board) { board.Name = "renamed"; });
        emit form->BoardListBox->itemDoubleClicked(form->BoardListBox->item(1));
        QCOMPARE(form->ListLines().constLast(), QStringLiteral("not set yet\tORB4\t renamed"));
    }

    void CommandsWithoutASelectionLogOrDoNothing()
    {
        AddNamed(ORB4, {"a"});
        auto form = Make();
        form->ProgramButton->click();
        QCOMPARE(form->LogLines().constLast(), QStringLiteral("No board selected in list box"));
        form->ReadBoard1->trigger();
        QCOMPARE(form->LogLines().constLast(), QStringLiteral("No board selected in list box"));
        FileAnswer = Path("sv.txt");
        form->WriteSVtofile1->trigger();
        QCOMPARE(form->LogLines(), QStringList{"No board selected in list box above!"});
        QVERIFY(!QFile::exists(Path("sv.txt")));
        // A cancelled file dialog leaves the log alone.
        FileAnswer.clear();
        form->WriteSVtofile1->trigger();
        QCOMPARE(form->LogLines(), QStringList{"No board selected in list box above!"});
        // A board without a serial number is not programmed.
        form->BoardListBox->setCurrentRow(0);
        form->ProgramButton->click();
        QCOMPARE(form->LogLines().constLast(), QStringLiteral("Serial number must be between 1 & 65536"));
        QVERIFY(form->Programmer().IsIdle());
    }

    void WriteSVToFileUsesTheSpinBoxVersion()
    {
        AddNamed(ORB4, {"a"});
        Boards->GetBoardForChange(ORB4, 0)->SerialNumber = 1234;
        QVERIFY(Boards->SaveFileAs(ORB4, Path("orb4.csv").toStdString()));
        auto form = Make();
        form->BoardListBox->setCurrentRow(0);
        form->SWVersionSpin->SetValue(3);
        FileAnswer = Path("listing.txt");
        form->WriteSVtofile1->trigger();
        QCOMPARE(FileTitles.size(), 1);
        QCOMPARE(form->LogLines().join("|"),
                 (QStringList{"Calculating SVs.....", "SVs calculated - written to file"}).join("|"));
        QCOMPARE(Status.constLast(), QStringLiteral("Calculating SVs....."));
        QCOMPARE(Boards->GetBoard(ORB4, 0)->SWVersion, 3u);
        QVERIFY(ReadAll(Path("listing.txt")).size() > 100);
        QVERIFY(!Boards->IsModified(ORB4));
    }

    void ProgramsAndReadsABoardOnTheSimulatedBus()
    {
        TSimLink link;
        QVERIFY(link.Comm.Enabled());
        AddNamed(ORB4, {"station"});
        Boards->GetBoardForChange(ORB4, 0)->SerialNumber = 1001;
        QVERIFY(Boards->SaveFileAs(ORB4, Path("orb4.csv").toStdString()));
        auto form = Make(link.Sender());
        link.Target = form.get();
        form->show();
        form->BoardListBox->setCurrentRow(0);

        form->ProgramButton->click();
        QVERIFY(form->TimeoutTimer->isActive());
        // Pressing Program again while the conversation runs does nothing.
        const int sent = link.Sent;
        form->ProgramBoard1->trigger();
        QCOMPARE(link.Sent, sent);
        QTRY_VERIFY_WITH_TIMEOUT(form->Programmer().IsIdle(), 20000);
        QCOMPARE(form->LogLines().join("|"),
                 (QStringList{"Checking Destination board identity.....", "Checking Destination board s/w version.....",
                              "Beginning Read or write.....", "Resetting Destination board.....",
                              "Programming Completed Successfully!", "Board programmer idle"})
                     .join("|"));
        QCOMPARE(form->ProgressBar1->maximum(), 512);
        QCOMPARE(form->ProgressBar1->value(), 512);
        QCOMPARE(Status.constLast(), QStringLiteral("Board programmer idle"));
        QVERIFY(!form->TimeoutTimer->isActive());
        QVERIFY(!Boards->IsModified(ORB4)); // programming does not change the description

        // Verify Board reads the board and finds it as programmed; its verdict ends the log.
        form->VerifyBoard1->trigger();
        QTRY_VERIFY_WITH_TIMEOUT(form->Programmer().IsIdle(), 20000);
        QCOMPARE(form->LogLines().join("|"),
                 (QStringList{"Checking Destination board identity.....", "Checking Destination board s/w version.....",
                              "Beginning Read or write.....", "Board programmer idle", "Board matches its description"})
                     .join("|"));
        QCOMPARE(Boxes, QStringList{"Verify Board|Board 1001 \"station\":\n\nBoard matches its description"});
        QVERIFY(!Boards->IsModified(ORB4));

        // Reading it back marks the type modified and rebuilds the description.
        form->ReadBoardButton->click();
        QVERIFY(Boards->IsModified(ORB4));
        QTRY_VERIFY_WITH_TIMEOUT(form->Programmer().IsIdle(), 20000);
        QCOMPARE(form->LogLines().join("|"),
                 (QStringList{"Checking Destination board identity.....", "Checking Destination board s/w version.....",
                              "Beginning Read or write.....", "Board programmer idle",
                              "Board data read completed successfully!"})
                     .join("|"));
        QCOMPARE(form->ListLines(), QStringList{"1001\tORB4\t station"});
    }

    // A board whose sensor board number the board cannot hold: marked in the list; Program asks
    // before it writes anything, Cancel writes nothing, Program Anyway programs it; Verify Board
    // tells what the board cannot hold although its SVs are those programmed.
    void ABoardThatCannotHoldItsDescriptionIsMarkedAndAskedAbout()
    {
        TSimLink link;
        std::vector<ESVMsgKind> sent;
        auto form = Make([&sent, send = link.Sender()](std::unique_ptr<TLocoNetMessage> message) {
            sent.push_back(TLNSVProgMessage(*message).SVKind());
            send(std::move(message));
        });
        link.Target = form.get();
        auto* board = static_cast<TQXP6Board*>(Boards->AddBoard(QXP6));
        board->SerialNumber = 1005; // the simulated QXP6
        board->Name = "throat";
        board->SensorBoardNumber = 256;
        const QString unheld = QStringLiteral("Sensor Board Number: 256; the board would hold 0");
        form->show();
        form->BoardTabControl->setCurrentIndex(QXP6);
        QCOMPARE(form->ListLines(), QStringList{"1005\tQXP6\t throat   \u26A0 1 value cannot be held"});
        QCOMPARE(form->BoardListBox->item(0)->toolTip(),
                 QStringLiteral("The board cannot hold its description as it stands:\n") + unheld);

        QStringList questions;
        int answer = 1;
        DialogSeam().Question = [&](QWidget*, const QString& caption, const QString& text, const QStringList& buttons,
                                    int safe) {
            questions << caption + '|' + text + '|' + buttons.join(',') + '|' + QString::number(safe);
            return answer;
        };
        const auto writes = [&sent] {
            return std::count_if(sent.begin(), sent.end(), [](ESVMsgKind kind) {
                return kind == eSVWRITE1 || kind == eSVWRITE4 || kind == eSVRECONFIGURE;
            });
        };
        form->BoardListBox->setCurrentRow(0);
        form->ProgramButton->click();
        QTRY_VERIFY_WITH_TIMEOUT(form->Programmer().IsIdle(), 20000);
        QCOMPARE(questions, QStringList{"Program Board|Board 1005 \"throat\" cannot hold its description as it stands "
                                        "(firmware version 1):\n\n" +
                                        unheld +
                                        "\n\n1 value cannot be held. Nothing has been written to the board yet."
                                        "|Program Anyway,Cancel|1"});
        QCOMPARE(writes(), 0);
        QCOMPARE(form->LogLines().mid(2), (QStringList{unheld, "1 value cannot be held: the board was not programmed",
                                                       "Board programmer idle"}));

        answer = 0;
        form->ProgramButton->click();
        QTRY_VERIFY_WITH_TIMEOUT(form->Programmer().IsIdle(), 20000);
        QCOMPARE(questions.size(), 2);
        QVERIFY(writes() > 100);
        QCOMPARE(form->LogLines().mid(2, 3), (QStringList{unheld, "1 value cannot be held: programming anyway",
                                                          "Beginning Read or write....."}));
        QVERIFY(form->LogLines().contains(QStringLiteral("Programming Completed Successfully!")));

        form->VerifyBoard1->trigger();
        QTRY_VERIFY_WITH_TIMEOUT(form->Programmer().IsIdle(), 20000);
        QCOMPARE(questions.size(), 2); // verifying never asks
        QCOMPARE(Boxes, QStringList{"Verify Board|Board 1005 \"throat\":\n\n" + unheld + "\n1 value cannot be held"});
    }

    // Verify Board on a board never programmed: the box shows the first differences, how many more
    // there are, and the verdict.
    void VerifyBoardShowsTheVerdictOfALongReport()
    {
        TSimLink link;
        AddNamed(ORB4, {"station"});
        Boards->GetBoardForChange(ORB4, 0)->SerialNumber = 1001;
        auto form = Make(link.Sender());
        link.Target = form.get();
        form->BoardListBox->setCurrentRow(0);
        form->VerifyBoard1->trigger();
        QTRY_VERIFY_WITH_TIMEOUT(form->Programmer().IsIdle(), 20000);
        const QStringList box = Boxes.value(0).split('\n');
        QCOMPARE(box.size(), 2 + 13); // 12 of the report's lines, and the count of the others
        QVERIFY(box[12].startsWith("SV ") && box[13].startsWith("... and ") && box[14].endsWith(" SVs differ"));
    }

    void TheLogBoxAddsEveryMessage()
    {
        TSimLink link;
        AddNamed(ORB4, {"logged"});
        Boards->GetBoardForChange(ORB4, 0)->SerialNumber = 1001;
        auto form = Make(link.Sender());
        link.Target = form.get();
        form->show();
        form->BoardListBox->setCurrentRow(0);
        form->DebugCheck->setChecked(true);
        form->ProgramButton->click();
        QTRY_VERIFY_WITH_TIMEOUT(form->Programmer().IsIdle(), 20000);
        const QStringList lines = form->LogLines();
        // Every command and every reply (and the interface's echo of each command) is logged.
        QVERIFY2(lines.size() > 3 * link.Sent, qPrintable(QString::number(lines.size())));
        QCOMPARE(lines.at(0), QStringLiteral("Checking Destination board identity....."));
        QVERIFY(lines.indexOf(QStringLiteral("Programming Completed Successfully!")) >
                lines.indexOf(QStringLiteral("Resetting Destination board.....")));
    }

    void ABoardOfAnotherTypeIsRefused()
    {
        TSimLink link;
        AddNamed(ORB4, {"wrong"});
        Boards->GetBoardForChange(ORB4, 0)->SerialNumber = 1002; // the KPX9 on the bus
        auto form = Make(link.Sender());
        link.Target = form.get();
        form->show();
        form->BoardListBox->setCurrentRow(0);
        form->ProgramButton->click();
        QTRY_VERIFY_WITH_TIMEOUT(form->Programmer().IsIdle(), 10000);
        QCOMPARE(form->LogLines().join("|"),
                 (QStringList{"Checking Destination board identity.....", "ERROR: dest board is not correct type",
                              "Board programmer idle"})
                     .join("|"));
    }

    void DeletingTheBoardInProgrammingEndsTheConversation()
    {
        AddNamed(ORB4, {"a", "b"});
        Boards->GetBoardForChange(ORB4, 0)->SerialNumber = 1001;
        int sent = 0;
        auto form = Make([&sent](std::unique_ptr<TLocoNetMessage>) { ++sent; }); // nobody answers
        form->BoardListBox->setCurrentRow(0);
        form->ProgramButton->click();
        QCOMPARE(sent, 1);
        QVERIFY(!form->Programmer().IsIdle());
        // Deleting another board leaves it running; deleting its board ends it.
        form->BoardListBox->setCurrentRow(1);
        form->DeleteBoard1->trigger();
        QVERIFY(!form->Programmer().IsIdle());
        form->BoardListBox->setCurrentRow(0);
        form->DeleteBoard1->trigger();
        QVERIFY(form->Programmer().IsIdle());
        QVERIFY(!form->TimeoutTimer->isActive());
        form->TimeoutTimerTimer(); // a late timer event sends nothing more
        QCOMPARE(sent, 1);
    }

    void ClosingTheWindowEndsTheConversationAndShowsInactive()
    {
        AddNamed(ORB4, {"a"});
        Boards->GetBoardForChange(ORB4, 0)->SerialNumber = 1001;
        auto form = Make([](std::unique_ptr<TLocoNetMessage>) {});
        form->show();
        QSignalSpy closed(form.get(), &TProgramBoardForm::FormClosed);
        form->BoardListBox->setCurrentRow(0);
        form->ProgramButton->click();
        QVERIFY(form->TimeoutTimer->isActive());
        form->close();
        QCOMPARE(closed.count(), 1);
        QCOMPARE(Status.constLast(), QStringLiteral("(Inactive)"));
        QVERIFY(!form->TimeoutTimer->isActive());
        QVERIFY(form->Programmer().IsIdle());
        QCOMPARE(Boards->BoardCount(ORB4), 1u); // the boards live on
    }
};

QTEST_MAIN(ProgramBoardFormTest)
#include "ProgramBoardFormTest.moc"

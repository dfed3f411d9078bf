// The board list window and the discovery window inside the main window: opened from its menu,
// exclusive of each other, fed with SV replies by its routing, and "(Inactive)" once closed.
#include "app/ChildForms.h"
#include "app/MainForm.h"
#include "boards/BoardData.h"
#include "boards/qxp6/QXP6Board.h"
#include "boardlist/DisplayBoardForm.h"
#include "boardlist/ProgramBoardForm.h"
#include "boardlist/RenumberForm.h"
#include "link/LnThreadComm.h"
#include "widgets/DialogSeam.h"

#include <QAction>
#include <QFileDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>
#include <QEventLoop>
#include <QTimer>

class EditorWiringTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> Dir;
    QStringList Boxes;

    std::unique_ptr<TMainForm> MakeMain(const QString& port = QStringLiteral("sim:traffic=off"))
    {
        const QString ini = Dir->filePath(QStringLiteral("railscope.ini"));
        {
            QSettings settings(ini, QSettings::IniFormat);
            settings.setValue("Connection/ComPort", port);
            settings.setValue("Connection/Interface", 1); // LocoBuffer: no pause between commands
        }
        TMainForm::TOptions options;
        options.Arguments = QStringList{QStringLiteral("railscope"), QStringLiteral("nofiles")};
        options.SettingsFile = ini;
        options.Clock = [] { return 0.0; };
        options.Forms = MakeChildFormFactory();
        auto main = std::make_unique<TMainForm>(options);
        main->show();
        main->FormActivate();
        return main;
    }

    void AnswerBoxes()
    {
        DialogSeam().MessageBox = [this](QWidget*, const QString& caption, const QString& text, int, bool) {
            Boxes << caption + QLatin1Char('|') + text;
            return int(QMessageBox::Ok);
        };
    }

    static void CloseChild(QWidget* form)
    {
        form->parentWidget()->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

private slots:
    void init()
    {
        Dir = std::make_unique<QTemporaryDir>();
        Boxes.clear();
        DialogSeam() = {
            .MessageBox = [](QWidget*, const QString&, const QString&, int, bool) { return int(QMessageBox::No); }};
    }
    void cleanup() { DialogSeam() = {}; }

    void ConfigureBoardsProgramsThroughTheMainWindow()
    {
        auto main = MakeMain();
        QVERIFY(main->LocoNetComm1->Enabled());
        main->BoardData.AddBoard(0)->SerialNumber = 1001;

        main->FindAction(QStringLiteral("&Configure/&Configure Boards"))->trigger();
        QVERIFY(main->ProgFormOpen());
        auto* form = qobject_cast<TProgramBoardForm*>(main->ProgForm.Form.data());
        QVERIFY(form);
        QCOMPARE(main->ProgStatus->text(), QStringLiteral("Board programmer idle"));
        QCOMPARE(form->ListLines(), QStringList{"1001\tORB4\t ORB4 Signal Controller"});

        // The other window does not open meanwhile, nor a second board window.
        main->FindAction(QStringLiteral("&Configure/&Renumber Boards"))->trigger();
        QVERIFY(!main->RenumberFormOpen());
        QVERIFY(!main->RenumberForm.Form);
        main->ConfigureBoards1Click();
        QCOMPARE(main->ProgForm.Form.data(), form);

        // The board files go through the main window's dialogs.
        AnswerBoxes();
        QString openTitle;
        DialogSeam().FileDialog = [&](QWidget*, QFileDialog& dialog) {
            openTitle = dialog.windowTitle();
            return dialog.objectName();
        };
        form->BoardTabControl->setCurrentIndex(1);
        form->Open1->trigger();
        QCOMPARE(openTitle,
                 QStringLiteral("Open File for board type: ") + QString::fromStdString(TBoardData::GetTitle(1)));
        // A file that cannot be read is told, not passed over in silence, and not taken as the
        // list's file.
        QVERIFY(!main->BoardData.HasFileName(1));
        QCOMPARE(Boxes.size(), 1);
        QVERIFY(Boxes.constFirst().contains(QStringLiteral("OpenFileDialog")));
        form->BoardTabControl->setCurrentIndex(0);

        // Program: the replies come back through the main window's routing.
        form->BoardListBox->setCurrentRow(0);
        form->ProgramButton->click();
        QCOMPARE(form->Programmer().GetLinkInterface(), eLocoBuffer); // the main window's link's
        QTRY_VERIFY_WITH_TIMEOUT(form->Programmer().IsIdle(), 20000);
        QVERIFY(form->LogLines().contains(QStringLiteral("Programming Completed Successfully!")));
        QCOMPARE(main->ProgStatus->text(), QStringLiteral("Board programmer idle"));

        // Display Board opens a child window of the main window.
        form->DisplayBoard1->trigger();
        TDisplayBoardForm* display = nullptr;
        for (QMdiSubWindow* child : main->MdiArea->subWindowList())
            if (auto* d = qobject_cast<TDisplayBoardForm*>(child->widget())) display = d;
        QVERIFY(display);
        QCOMPARE(display->parentWidget()->pos(), form->parentWidget()->pos() + QPoint(30, 30));

        // Closing ends the routing and shows "(Inactive)"; the boards stay with the main window.
        CloseChild(form);
        QVERIFY(!main->ProgFormOpen());
        QCOMPARE(main->ProgStatus->text(), QStringLiteral("(Inactive)"));
        QCOMPARE(main->BoardData.BoardCount(0), 1u);
        QVERIFY(display); // the description window stays
    }

    void ExitInTheBoardWindowClosesTheProgram()
    {
        auto main = MakeMain();
        main->ConfigureBoards1Click();
        auto* form = qobject_cast<TProgramBoardForm*>(main->ProgForm.Form.data());
        QVERIFY(form);
        form->Exit1->trigger();
        QVERIFY(!main->isVisible());
    }

    void AChildWindowsOwnMenusAndAcceleratorsComeFirst()
    {
        auto main = MakeMain();
        main->ConfigureBoards1Click();
        auto* form = qobject_cast<TProgramBoardForm*>(main->ProgForm.Form.data());
        QVERIFY(form);
        QApplication::setActiveWindow(main.get());
        QVERIFY(QTest::qWaitForWindowActive(main.get()));
        form->BoardListBox->setFocus();
        // Alt+F opens the board window's "&File", not the main window's.
        auto* own = form->findChild<QMenuBar*>();
        QTest::keyClick(form->BoardListBox, Qt::Key_F, Qt::AltModifier);
        QVERIFY(own->activeAction());
        QCOMPARE(own->activeAction()->text(), QStringLiteral("&File"));
        QVERIFY(!main->menuBar()->activeAction());
        own->activeAction()->menu()->close();
        // Letters the board window does not use still reach the main window's menus.
        QTest::keyClick(form->BoardListBox, Qt::Key_L, Qt::AltModifier);
        QVERIFY(main->menuBar()->activeAction());
        QCOMPARE(main->menuBar()->activeAction()->text(), QStringLiteral("&LocoNet Debug"));
    }

    // Program's question on a board that cannot hold its description waits in the event loop, not
    // in the routing of the reply that led to it: the bus traffic goes on being received while it
    // is open, and Cancel leaves the board as it was.
    void ReceptionGoesOnWhileProgramAsks()
    {
        auto main = MakeMain(QStringLiteral("sim:traffic=on"));
        auto* board = static_cast<TQXP6Board*>(main->BoardData.AddBoard(4));
        board->SerialNumber = 1005;
        board->SensorBoardNumber = 256;
        main->ConfigureBoards1Click();
        auto* form = qobject_cast<TProgramBoardForm*>(main->ProgForm.Form.data());
        QVERIFY(form);
        form->BoardTabControl->setCurrentIndex(4);
        form->BoardListBox->setCurrentRow(0);
        uint32_t before = 0;
        uint32_t after = 0;
        DialogSeam().Question = [&](QWidget*, const QString&, const QString&, const QStringList&, int) {
            before = main->MessageCount;
            QEventLoop open;
            QTimer::singleShot(1500, &open, &QEventLoop::quit);
            open.exec();
            after = main->MessageCount;
            return 1;
        };
        form->ProgramButton->click();
        QTRY_VERIFY_WITH_TIMEOUT(after != 0, 20000);
        QVERIFY2(after >= before + 2, qPrintable(QStringLiteral("%1 -> %2").arg(before).arg(after)));
        QTRY_VERIFY(form->Programmer().IsIdle());
        QVERIFY(form->LogLines().contains(QStringLiteral("1 value cannot be held: the board was not programmed")));
        QVERIFY(!form->LogLines().contains(QStringLiteral("Beginning Read or write.....")));
    }

    void RenumberBoardsDiscoversThroughTheMainWindow()
    {
        auto main = MakeMain();
        main->RenumberBoards1Click();
        QVERIFY(main->RenumberFormOpen());
        auto* form = qobject_cast<TRenumberForm*>(main->RenumberForm.Form.data());
        QVERIFY(form);
        AnswerBoxes();
        QCOMPARE(main->ProgStatus->text(), QStringLiteral("No Address change active"));
        main->ConfigureBoards1Click();
        QVERIFY(!main->ProgFormOpen());

        form->DiscoverButton->click();
        QTRY_COMPARE_WITH_TIMEOUT(form->Discovery().GetRepliesCounted(), 5u, 5000);
        form->TimeoutTimerTimer();
        QCOMPARE(Boxes, QStringList{"Discover:|Discovery complete!"});
        form->CopyNewBoardsButton->click();
        for (int type = 0; type < 5; ++type) QCOMPARE(main->BoardData.BoardCount(type), 1u);

        // A minimised window still gets its replies, though its contents are hidden.
        form->BoardList->setCurrentRow(0);
        form->parentWidget()->showMinimized();
        QVERIFY(!form->isVisible());
        form->IdentifyButtonClick();
        QTRY_COMPARE_WITH_TIMEOUT(Boxes.constLast(), QStringLiteral("Identify:|Identify successful!"), 4000);
        form->parentWidget()->showNormal();

        CloseChild(form);
        QVERIFY(!main->RenumberFormOpen());
        QCOMPARE(main->ProgStatus->text(), QStringLiteral("(Inactive)"));
        main->ConfigureBoards1Click();
        QVERIFY(main->ProgFormOpen());
    }
};

QTEST_MAIN(EditorWiringTest)
#include "EditorWiringTest.moc"

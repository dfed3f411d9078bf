// Renders the main windows of Railscope to PNG files: the frame with a busy monitor, the
// monitor with its columns and filter and with a line found, the connection window, the generators, the speedometer after a measurement, the board list window,
// the discovery window and the about box.
// Usage: railscope-screenshots OUTPUT_FOLDER [EXAMPLES_FOLDER]
#include "app/ChildForms.h"
#include "app/ConnectForm.h"
#include "app/GeneratorForms.h"
#include "app/MainForm.h"
#include "app/SpeedometerForm.h"
#include "boardlist/ProgramBoardForm.h"
#include "boardlist/RenumberForm.h"
#include "boards/kpx9/KPX9Board.h"
#include "boards/orb/orb4/ORB4Board.h"
#include "boards/orb/orb8/ORB8Board.h"
#include "boards/rvn2/RVN2Board.h"
#include "buildstamp/AboutBox.h"
#include "editors/kpx9/KPX9CellEditForm.h"
#include "editors/kpx9/KPX9EditForm.h"
#include "editors/kpx9/KPX9RouteEditForm.h"
#include "editors/orb/EditConditionsForm.h"
#include "editors/orb/Orb4EditForm.h"
#include "editors/orb/Orb8EditForm.h"
#include "editors/orb/RevZoneEditForm.h"
#include "editors/orb/SignalEditForm.h"
#include "editors/qxp6/QXP6EditConditionsForm.h"
#include "editors/qxp6/QXP6EditForm.h"
#include "editors/qxp6/QXP6InputCellEditForm.h"
#include "editors/qxp6/QXP6OutputCellEditForm.h"
#include "editors/qxp6/QXP6RouteEditForm.h"
#include "editors/rvn2/RVN2EditForm.h"
#include "editors/rvn2/RVN2SequenceEditForm.h"
#include "editors/rvn2/RVN2Wizard.h"
#include "messages/LNSensFBMessage.h"
#include "monitor/DisplayForm.h"
#include "widgets/DialogSeam.h"
#include "widgets/FormTools.h"
#include "widgets/SpinEdit.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

namespace {

void Wait(int ms)
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < ms) QApplication::processEvents(QEventLoop::AllEvents, 20);
}

bool Save(QWidget* widget, const QString& folder, const char* name)
{
    const QString path = folder + QLatin1Char('/') + QLatin1String(name);
    const bool ok = widget->grab().save(path);
    std::printf("%s %s\n", ok ? "wrote" : "FAILED", qPrintable(path));
    return ok;
}

// Shows an editor window without waiting for it and saves its picture; the window stays open
// for child windows to be placed beside it.
bool ShowAndSave(QDialog& dialog, const QString& folder, const char* name)
{
    dialog.show();
    Wait(100);
    return Save(&dialog, folder, name);
}

// The same for a window of its own, which is cancelled afterwards.
bool ShowAndSave(QDialog&& dialog, const QString& folder, const char* name)
{
    const bool saved = ShowAndSave(dialog, folder, name);
    dialog.reject();
    return saved;
}

// The monitor with the time and direction columns and a filter (hiding the throttles), then
// with a line found; afterwards it shows everything again as it did.
bool SaveMonitorViews(TMainForm& main, const QString& out)
{
    TDisplayForm* monitor = main.DisplayForm;
    if (!monitor) return false;
    QWidget* frame = monitor->parentWidget();
    monitor->TimeColumnAction->setChecked(true);
    monitor->DirectionColumnAction->setChecked(true);
    monitor->FilterAction->setChecked(true);
    for (int k = 0; k < kMessageKindCount; ++k) {
        const auto kind = static_cast<EMessageKind>(k);
        monitor->KindBoxes[static_cast<std::size_t>(k)]->setChecked(kind != EMessageKind::Throttles);
    }
    main.TrackPowerOn1Click(); // an echo of our own among the lines
    Wait(2500);
    monitor->Flush();
    Wait(100);
    bool ok = Save(frame, out, "monitor-columns.png");

    monitor->FilterAction->setChecked(false);
    monitor->TimeColumnAction->setChecked(false);
    monitor->DirectionColumnAction->setChecked(false);
    monitor->FindAction->trigger();
    monitor->FindEdit->setText(QStringLiteral("point number"));
    monitor->FindNext(true); // the newest
    monitor->FindNext(true);
    Wait(100);
    ok &= Save(frame, out, "monitor-find.png");
    monitor->FindBar->hide();
    monitor->FreezeAction->setChecked(false);
    return ok;
}

// The ORB4 and ORB8 editor windows on copies of the first example board of each type.
bool SaveOrbEditors(TMainForm& main, const QString& out)
{
    const auto* orb4 = dynamic_cast<const TORB4Board*>(main.BoardData.GetBoard(eORB4, 0));
    const auto* orb8 = dynamic_cast<const TORB8Board*>(main.BoardData.GetBoard(eORB8, 0));
    if (!orb4 || !orb8) return false;
    TORB4Board board4(*orb4);
    TORB8Board board8(*orb8);
    bool ok = ShowAndSave(TOrb4EditForm(&main, board4), out, "orb4-edit.png");
    ok &= ShowAndSave(TOrb8EditForm(&main, board8), out, "orb8-edit.png");
    ok &= ShowAndSave(TSignalEditForm(&main, board4.GetSignal(3)), out, "signal-edit.png");
    ok &= ShowAndSave(TRevZoneEditForm(&main, board4.GetZone(1)), out, "revzone-edit.png");
    ok &= ShowAndSave(TEditConditionsForm(&main, board4.GetSignal(1).RedSet()), out, "conditions-edit.png");
    return ok;
}

// The RVN2 board window, its sequence window on the first sequence and the wizard, on a copy of
// the first example RVN2 board.
bool SaveRvn2Editors(TMainForm& main, const QString& out)
{
    const auto* example = dynamic_cast<const TRVN2Board*>(main.BoardData.GetBoard(eRVN2, 0));
    TRVN2Board board = example ? *example : TRVN2Board();
    TRVN2EditForm boardForm(&main, board);
    bool ok = ShowAndSave(boardForm, out, "rvn2-edit.png");
    TRVN2SequenceEditForm sequenceForm(&boardForm, board.GetSequence(0));
    sequenceForm.SelectStep(0);
    ok &= ShowAndSave(sequenceForm, out, "rvn2-sequence-edit.png");
    ok &= ShowAndSave(TTRVN2Wizard(&sequenceForm, board.GetSequence(0)), out, "rvn2-wizard.png");
    sequenceForm.reject();
    boardForm.reject();
    return ok;
}

// The KPX9 board window, the cell editor on a point cell and the route editor on the first route
// of the example panel, on a copy of the board.
bool SaveKpx9Editors(TMainForm& main, const QString& out)
{
    const auto* example = dynamic_cast<const TKPX9Board*>(main.BoardData.GetBoard(eKPX9, 0));
    if (!example) {
        std::printf("no example KPX9 board: KPX9 editors skipped\n");
        return true;
    }
    TKPX9Board board(*example);
    TKPX9EditForm form(&main, board);
    bool ok = ShowAndSave(form, out, "kpx9-edit.png");
    uint32_t pointCell = 0;
    while (pointCell + 1 < kKPX9CellCount && board.GetCell(pointCell).CellType != eKPX9Point) ++pointCell;
    ok &= ShowAndSave(TKPX9CellEditForm(&form, board.GetCell(pointCell), board.Cells), out, "kpx9-cell-edit.png");
    TKPX9RouteEditForm route(&form, board.GetRoute(0), board.Cells);
    route.show();
    route.RouteListBox->setCurrentRow(1);
    Wait(100);
    ok &= Save(&route, out, "kpx9-route-edit.png");
    route.reject();
    form.reject();
    return ok;
}

// The QXP6 editor windows on a copy of the first example QXP6 board.
bool SaveQxp6Editors(TMainForm& main, const QString& out)
{
    const auto* example = dynamic_cast<const TQXP6Board*>(main.BoardData.GetBoard(eQXP6, 0));
    if (!example) return false;
    TQXP6Board board(*example);
    TQXP6EditForm form(&main, board);
    bool ok = ShowAndSave(form, out, "qxp6-edit.png");
    ok &= ShowAndSave(TQXP6OutputCellEditForm(&form, *board.GetOutputCell(0)), out, "qxp6-output-cell-edit.png");
    ok &= ShowAndSave(TQXP6InputCellEditForm(&form, *board.GetInputCell(0)), out, "qxp6-input-cell-edit.png");
    TQXP6RouteEditForm route(&form, *board.GetRoute(1));
    route.SelectLine(3);
    ok &= ShowAndSave(route, out, "qxp6-route-edit.png");
    route.reject();
    ok &= ShowAndSave(TQXP6EditConditionsForm(&form, board.GetOutputCell(0)->ClosedConditions), out,
                      "qxp6-conditions-edit.png");
    form.reject();
    return ok;
}

// The settings of the demo: the simulated bus with traffic, an MS100, and the example board files.
void WriteDemoSettings(const QString& settingsFile, const QString& examples)
{
    QSettings settings(settingsFile, QSettings::IniFormat);
    settings.setValue(QStringLiteral("Connection/ComPort"), QStringLiteral("sim:traffic=on"));
    settings.setValue(QStringLiteral("Connection/Baud"), 0);
    settings.setValue(QStringLiteral("Connection/Interface"), 0);
    for (const char* type : {"ORB4", "ORB8", "RVN2", "KPX9", "QXP6"}) {
        const QString file =
            examples + QStringLiteral("/layout-") + QString::fromLatin1(type).toLower() + QStringLiteral(".csv");
        if (!examples.isEmpty() && QFile::exists(file))
            settings.setValue(QStringLiteral("Filenames/") + QLatin1String(type), file);
    }
}

// The connection window and the generators, each alone, then with the monitor as a user would
// arrange them.
bool SaveToolWindows(TMainForm& main, const QString& out)
{
    main.Connect1Click();
    Wait(100);
    bool ok = Save(main.MdiArea->subWindowList().last(), out, "connection.png");
    main.SensorFeedbackMessage1Click();
    Wait(50);
    ok &= Save(main.MdiArea->subWindowList().last(), out, "generator-sensor.png");
    main.SWRQ1Click();
    Wait(50);
    ok &= Save(main.MdiArea->subWindowList().last(), out, "generator-switch.png");
    main.ArbitraryMessage1Click();
    Wait(50);
    ok &= Save(main.MdiArea->subWindowList().last(), out, "generator-arbitrary.png");
    // Side by side (tiling would squeeze the windows of fixed size and cut them off): the monitor
    // and the connection window above, the generators below.
    const QList<QMdiSubWindow*> windows = main.MdiArea->subWindowList();
    if (windows.size() == 5) {
        QMdiSubWindow *monitor = windows[0], *connection = windows[1], *sensor = windows[2], *swreq = windows[3],
                      *arbitrary = windows[4];
        monitor->setGeometry(10, 10, 620, 380);
        connection->move(monitor->geometry().right() + 10, 10);
        const int below = std::max(monitor->geometry().bottom(), connection->geometry().bottom()) + 10;
        sensor->move(10, below);
        swreq->move(sensor->geometry().right() + 10, below);
        arbitrary->move(swreq->geometry().right() + 10, below);
    }
    Wait(100);
    ok &= Save(&main, out, "main-window-all.png");
    return ok;
}

// A finished measurement: start sensor 1,1 then stop sensor 1,2 two seconds later.
bool SaveSpeedometer(TMainForm& main, const QString& out, double& now)
{
    main.Speedometer1Click();
    TSpeedometerForm* speedo = main.SpeedometerForm;
    speedo->StopSensEdit->SetValue(2);
    speedo->HandleSensorMessage(TLNSensFBMessage(1, 1, true));
    now += 2.0;
    speedo->HandleSensorMessage(TLNSensFBMessage(1, 2, true));
    Wait(50);
    return Save(speedo, out, "speedometer.png");
}

// The board list window with the example boards, then the discovery window after a discovery.
bool SaveBoardWindows(TMainForm& main, const QString& out)
{
    bool ok = true;
    main.ConfigureBoards1Click();
    if (auto* boards = qobject_cast<TProgramBoardForm*>(main.ProgForm.Form.data())) {
        main.MdiArea->subWindowList().last()->setGeometry(20, 20, 720, 560);
        boards->BoardListBox->setCurrentRow(0);
        Wait(100);
        ok &= Save(main.MdiArea->subWindowList().last(), out, "configure-boards.png");
        CloseForm(boards);
        Wait(50);
    }
    main.RenumberBoards1Click();
    if (auto* renumber = qobject_cast<TRenumberForm*>(main.RenumberForm.Form.data())) {
        DialogSeam().MessageBox = [](QWidget*, const QString&, const QString&, int, bool) { return 0; };
        main.MdiArea->subWindowList().last()->setGeometry(40, 40, 700, 420);
        renumber->DiscoverButton->click();
        Wait(1000);
        renumber->TimeoutTimerTimer();
        Wait(100);
        ok &= Save(main.MdiArea->subWindowList().last(), out, "renumber-boards.png");
        CloseForm(renumber);
        Wait(50);
    }
    return ok;
}

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationDisplayName(QStringLiteral("Brenmoor Board Programmer"));
    if (argc < 2) {
        std::fprintf(stderr, "usage: railscope-screenshots OUTPUT_FOLDER [EXAMPLES_FOLDER]\n");
        return 2;
    }
    const QString out = QString::fromLocal8Bit(argv[1]);
    const QString examples = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QString();
    QDir().mkpath(out);

    QTemporaryDir dir;
    const QString settingsFile = dir.filePath(QStringLiteral("railscope.ini"));
    WriteDemoSettings(settingsFile, examples);

    double now = 100.0;
    TMainForm::TOptions options;
    options.Arguments = QApplication::arguments();
    options.SettingsFile = settingsFile;
    options.Clock = [&now] { return now; };
    options.Forms = MakeChildFormFactory();
    TMainForm main(options);
    main.resize(1100, 720);
    main.show();
    main.FormActivate();
    main.MessageDisplay1Click();
    main.MdiArea->subWindowList().last()->setGeometry(10, 10, 760, 420);
    main.TrackPowerOn1Click();
    Wait(2500); // let the simulated traffic fill the monitor
    main.DisplayForm->Flush();
    Wait(100);
    bool ok = Save(&main, out, "main-window-monitor.png");
    ok &= SaveMonitorViews(main, out);
    ok &= SaveToolWindows(main, out);
    ok &= SaveSpeedometer(main, out, now);
    ok &= SaveBoardWindows(main, out);
    ok &= SaveOrbEditors(main, out);
    ok &= SaveRvn2Editors(main, out);
    ok &= SaveKpx9Editors(main, out);
    ok &= SaveQxp6Editors(main, out);

    main.About1Click();
    Wait(50);
    ok &= Save(main.AboutBox, out, "about.png");
    main.close();
    return ok ? 0 : 1;
}

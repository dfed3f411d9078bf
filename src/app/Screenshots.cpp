// Renders the main windows of Railscope to PNG files: the frame with a busy monitor, the
// connection window, the generators, the speedometer after a measurement, the board list window,
// the discovery window and the about box.
// Usage: railscope-screenshots OUTPUT_FOLDER [EXAMPLES_FOLDER]
#include "app/ChildForms.h"
#include "app/ConnectForm.h"
#include "app/GeneratorForms.h"
#include "app/MainForm.h"
#include "app/SpeedometerForm.h"
#include "buildstamp/AboutBox.h"
#include "editors/ProgramBoardForm.h"
#include "editors/RenumberForm.h"
#include "editors/qxp6/QXP6EditConditionsForm.h"
#include "editors/qxp6/QXP6EditForm.h"
#include "editors/qxp6/QXP6InputCellEditForm.h"
#include "editors/qxp6/QXP6OutputCellEditForm.h"
#include "editors/qxp6/QXP6RouteEditForm.h"
#include "messages/DisplayForm.h"
#include "messages/LNSensFBMessage.h"
#include "widgets/DialogSeam.h"
#include "widgets/FormTools.h"
#include "widgets/SpinEdit.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>

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

// The QXP6 editor windows on a copy of the first example QXP6 board.
bool SaveQxp6Editors(TMainForm& main, const QString& out)
{
    const auto* example = dynamic_cast<const TQXP6Board*>(main.BoardData.GetBoard(4, 0));
    if (!example) return false;
    TQXP6Board board(*example);
    auto save = [&out](QDialog& dialog, const char* name) {
        dialog.show();
        Wait(100);
        const bool ok = Save(&dialog, out, name);
        dialog.reject();
        return ok;
    };
    TQXP6EditForm boardForm(&main, board);
    bool ok = save(boardForm, "qxp6-edit.png");
    TQXP6OutputCellEditForm cellForm(&main, *board.GetOutputCell(0));
    ok &= save(cellForm, "qxp6-output-cell-edit.png");
    TQXP6InputCellEditForm inputForm(&main, *board.GetInputCell(0));
    ok &= save(inputForm, "qxp6-input-cell-edit.png");
    TQXP6RouteEditForm routeForm(&main, *board.GetRoute(1));
    routeForm.SelectLine(3);
    ok &= save(routeForm, "qxp6-route-edit.png");
    TQXP6EditConditionsForm conditionsForm(&main, board.GetOutputCell(0)->ClosedConditions);
    ok &= save(conditionsForm, "qxp6-conditions-edit.png");
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

    main.Connect1Click();
    Wait(100);
    ok &= Save(main.MdiArea->subWindowList().last(), out, "connection.png");
    main.SensorFeedbackMessage1Click();
    Wait(50);
    ok &= Save(main.MdiArea->subWindowList().last(), out, "generator-sensor.png");
    main.SWRQ1Click();
    Wait(50);
    ok &= Save(main.MdiArea->subWindowList().last(), out, "generator-switch.png");
    main.ArbitraryMessage1Click();
    Wait(50);
    ok &= Save(main.MdiArea->subWindowList().last(), out, "generator-arbitrary.png");
    main.MdiArea->tileSubWindows();
    Wait(100);
    ok &= Save(&main, out, "main-window-all.png");

    // A finished measurement: start sensor 1,1 then stop sensor 1,2 two seconds later.
    main.Speedometer1Click();
    TSpeedometerForm* speedo = main.SpeedometerForm;
    speedo->StopSensEdit->SetValue(2);
    speedo->HandleSensorMessage(TLNSensFBMessage(1, 1, true));
    now += 2.0;
    speedo->HandleSensorMessage(TLNSensFBMessage(1, 2, true));
    Wait(50);
    ok &= Save(speedo, out, "speedometer.png");

    // The board list window with the example boards, then the discovery window after a discovery.
    main.ConfigureBoards1Click();
    if (auto* boards = qobject_cast<TProgramBoardForm*>(main.ProgForm.data())) {
        main.MdiArea->subWindowList().last()->setGeometry(20, 20, 720, 560);
        boards->BoardListBox->setCurrentRow(0);
        Wait(100);
        ok &= Save(main.MdiArea->subWindowList().last(), out, "configure-boards.png");
        CloseForm(boards);
        Wait(50);
    }
    main.RenumberBoards1Click();
    if (auto* renumber = qobject_cast<TRenumberForm*>(main.RenumberForm.data())) {
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

    ok &= SaveQxp6Editors(main, out);

    main.About1Click();
    Wait(50);
    ok &= Save(main.AboutBox, out, "about.png");
    main.close();
    return ok ? 0 : 1;
}

// Railscope, the desktop program.
#include "app/ChildForms.h"
#include "app/MainForm.h"
#include "boards/ShippedFiles.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    // Where the shipped files (product table, help pages) are looked for.
    shipped::SetProgramFolder(QApplication::applicationDirPath().toStdString());
    QApplication::setApplicationDisplayName(QStringLiteral("Brenmoor Board Programmer"));
    // The installed desktop entry and icon (packaging/).
    QGuiApplication::setDesktopFileName(QStringLiteral("org.railscope.Railscope"));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("railscope")));

    TMainForm::TOptions options;
    options.Arguments = QApplication::arguments();
    options.Forms = MakeChildFormFactory();
    // A settings file of its own, for demonstrations and tests; the user's settings otherwise.
    options.SettingsFile = qEnvironmentVariable("RAILSCOPE_SETTINGS");
    TMainForm mainForm(options);
    mainForm.show();
    return app.exec();
}

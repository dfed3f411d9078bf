#include "widgets/DialogSeam.h"

#include "widgets/FormTools.h"

#include <QCoreApplication>
#include <QDialog>
#include <QFileDialog>
#include <QMessageBox>
#include <QPointer>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QTimer>

#include <algorithm>

namespace {
int DeferringBoxes = 0;
} // namespace

TDeferredBoxes::TDeferredBoxes()
{
    ++DeferringBoxes;
}

TDeferredBoxes::~TDeferredBoxes()
{
    --DeferringBoxes;
}

TDialogSeam& DialogSeam()
{
    static TDialogSeam hooks;
    return hooks;
}

int ShowMessageBox(QWidget* parent, const QString& caption, const QString& text, int buttons, bool error)
{
    if (DeferringBoxes > 0 && buttons == QMessageBox::Ok) {
        // A window closed meanwhile still has its box shown, without it as the parent.
        QTimer::singleShot(0, QCoreApplication::instance(), [owner = QPointer<QWidget>(parent), caption, text, error] {
            ShowMessageBox(owner, caption, text, QMessageBox::Ok, error);
        });
        return QMessageBox::Ok;
    }
    if (DialogSeam().MessageBox) return DialogSeam().MessageBox(parent, caption, text, buttons, error);
    const QMessageBox::Icon icon = error                          ? QMessageBox::Critical
                                   : (buttons & QMessageBox::Yes) ? QMessageBox::Question
                                                                  : QMessageBox::Information;
    QMessageBox box(icon, caption, text, static_cast<QMessageBox::StandardButtons>(buttons), parent);
    PlaceChildDialog(&box, parent);
    return box.exec();
}

int AskQuestion(QWidget* parent, const QString& caption, const QString& text, const QStringList& buttons,
                int safeButton)
{
    if (DialogSeam().Question) return DialogSeam().Question(parent, caption, text, buttons, safeButton);
    QMessageBox box(QMessageBox::Warning, caption, text, QMessageBox::NoButton, parent);
    QList<QAbstractButton*> added;
    for (const QString& button : buttons) added << box.addButton(button, QMessageBox::AcceptRole);
    if (safeButton >= 0 && safeButton < added.size()) {
        box.setDefaultButton(static_cast<QPushButton*>(added[safeButton]));
        box.setEscapeButton(added[safeButton]);
    }
    PlaceChildDialog(&box, parent);
    box.exec();
    const int chosen = int(added.indexOf(box.clickedButton()));
    return chosen >= 0 ? chosen : safeButton;
}

QString ReportText(const std::vector<std::string>& lines, int most)
{
    const size_t limit = size_t(std::max(most, 2));
    const bool cut = lines.size() > limit;
    QStringList shown;
    for (size_t i = 0; i < lines.size() && i < (cut ? limit - 1 : limit); ++i) shown << QString::fromStdString(lines[i]);
    if (cut) {
        shown << QStringLiteral("... and %1 more").arg(lines.size() - limit);
        shown << QString::fromStdString(lines.back());
    }
    return shown.join(QLatin1Char('\n'));
}

QString RunFileDialog(QWidget* parent, QFileDialog& dialog)
{
    if (DialogSeam().FileDialog) return DialogSeam().FileDialog(parent, dialog);
    PlaceChildDialog(&dialog, parent);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return QString();
    return dialog.selectedFiles().constFirst();
}

QString AskSaveFileName(QWidget* parent, const QString& title, const QString& folder, const QString& filter,
                        const QString& defaultSuffix)
{
    QFileDialog dialog(parent, title, folder, filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(defaultSuffix);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, false);
    return RunFileDialog(parent, dialog);
}

bool AskPrinter(QWidget* parent, QPrinter& printer)
{
    if (DialogSeam().Printer) return DialogSeam().Printer(parent, printer);
    QPrintDialog dialog(&printer, parent);
    PlaceChildDialog(&dialog, parent);
    return dialog.exec() == QDialog::Accepted;
}

int RunModalDialog(QDialog& dialog)
{
    if (DialogSeam().ModalDialog) return DialogSeam().ModalDialog(dialog);
    PlaceChildDialog(&dialog, dialog.parentWidget());
    return dialog.exec();
}

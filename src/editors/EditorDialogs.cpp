#include "editors/EditorDialogs.h"

#include "app/FormTools.h"

#include <QFileDialog>
#include <QMdiSubWindow>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>

namespace {

// The widget that is moved about for `w`: the frame of a child window, or the widget itself.
QWidget* PlacedWidget(QWidget* w)
{
    if (!w) return nullptr;
    if (auto* frame = qobject_cast<QMdiSubWindow*>(w->parentWidget())) return frame;
    return w;
}

} // namespace

TEditorDialogs TEditorDialogs::Standard()
{
    TEditorDialogs dialogs;
    dialogs.RunFileDialog = [](QWidget* parent, QFileDialog& dialog) {
        PlaceChildDialog(&dialog, parent);
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return QString();
        return dialog.selectedFiles().constFirst();
    };
    dialogs.RunMessageBox = [](QWidget* parent, const QString& caption, const QString& text, int buttons, bool error) {
        const QMessageBox::Icon icon =
            error ? QMessageBox::Critical
                  : (buttons & QMessageBox::Yes ? QMessageBox::Question : QMessageBox::Information);
        QMessageBox box(icon, caption, text, static_cast<QMessageBox::StandardButtons>(buttons), parent);
        PlaceChildDialog(&box, parent);
        return box.exec();
    };
    dialogs.AskPrinter = [](QWidget* parent, QPrinter& printer) {
        QPrintDialog dialog(&printer, parent);
        PlaceChildDialog(&dialog, parent);
        return dialog.exec() == QDialog::Accepted;
    };
    return dialogs;
}

QString TEditorDialogs::FileDialog(QWidget* parent, QFileDialog& dialog) const
{
    return RunFileDialog ? RunFileDialog(parent, dialog) : QString();
}

int TEditorDialogs::MessageBox(QWidget* parent, const QString& caption, const QString& text, int buttons,
                               bool error) const
{
    return RunMessageBox ? RunMessageBox(parent, caption, text, buttons, error) : int(QMessageBox::NoButton);
}

bool TEditorDialogs::Printer(QWidget* parent, QPrinter& printer) const
{
    return AskPrinter ? AskPrinter(parent, printer) : false;
}

void PlaceBesideAnchor(QWidget* child, const QWidget* anchor)
{
    QWidget* moved = PlacedWidget(child);
    const QWidget* reference = PlacedWidget(const_cast<QWidget*>(anchor));
    if (!moved || !reference) return;
    QPoint origin = reference->pos();
    // A top-level child placed beside a widget inside another window: work in screen coordinates.
    if (moved->isWindow() && !reference->isWindow())
        origin =
            reference->parentWidget() ? reference->parentWidget()->mapToGlobal(reference->pos()) : reference->pos();
    moved->move(origin + QPoint(30, 30));
}

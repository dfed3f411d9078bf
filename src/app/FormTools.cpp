#include "app/FormTools.h"

#include <QFileDialog>
#include <QMdiSubWindow>
#include <QMessageBox>
#include <QWidget>

void CloseForm(QWidget* form)
{
    if (!form) return;
    if (auto* frame = qobject_cast<QMdiSubWindow*>(form->parentWidget())) {
        frame->close();
        return;
    }
    form->close();
}

void PlaceChildDialog(QWidget* dialog, const QWidget* parent)
{
    if (!dialog || !parent) return;
    const QWidget* top = parent->window();
    const QPoint origin = top->isWindow() ? top->pos() : top->mapToGlobal(QPoint(0, 0));
    dialog->move(origin + QPoint(30, 30));
}

namespace {
TMessageBoxHook& MessageBoxHook()
{
    static TMessageBoxHook hook;
    return hook;
}
TSaveDialogHook& SaveDialogHook()
{
    static TSaveDialogHook hook;
    return hook;
}
} // namespace

void SetMessageBoxHook(TMessageBoxHook hook)
{
    MessageBoxHook() = std::move(hook);
}

int ShowMessageBox(QWidget* parent, const QString& caption, const QString& text, int buttons, bool error)
{
    if (MessageBoxHook()) return MessageBoxHook()(parent, caption, text, buttons, error);
    QMessageBox box(error ? QMessageBox::Critical
                          : (buttons & QMessageBox::Yes ? QMessageBox::Question : QMessageBox::Information),
                    caption, text, static_cast<QMessageBox::StandardButtons>(buttons), parent);
    return box.exec();
}

void SetSaveDialogHook(TSaveDialogHook hook)
{
    SaveDialogHook() = std::move(hook);
}

QString AskSaveFileName(QWidget* parent, const QString& title, const QString& folder, const QString& filter,
                        const QString& defaultSuffix)
{
    if (SaveDialogHook()) return SaveDialogHook()(parent, title, folder, filter, defaultSuffix);
    QFileDialog dialog(parent, title, folder, filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(defaultSuffix);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, false);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return QString();
    return dialog.selectedFiles().constFirst();
}

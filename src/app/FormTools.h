#pragma once
// Small helpers shared by the program's windows.

#include "link/LocoNetMessage.h"

#include <functional>
#include <memory>

#include <QString>

class QWidget;

// Hands a built message to the link, which takes it over.
using TMessageSender = std::function<void(std::unique_ptr<TLocoNetMessage>)>;

// Closes a form, or the frame's child window that holds it.
void CloseForm(QWidget* form);

// Places a modal child dialog 30 pixels right of and below its parent's top-left corner.
void PlaceChildDialog(QWidget* dialog, const QWidget* parent);

// Message boxes and file dialogs go through these, so that tests can answer them.
// Buttons and results are QMessageBox::StandardButton values.
using TMessageBoxHook =
    std::function<int(QWidget* parent, const QString& caption, const QString& text, int buttons, bool error)>;
void SetMessageBoxHook(TMessageBoxHook hook);
int ShowMessageBox(QWidget* parent, const QString& caption, const QString& text, int buttons, bool error = false);

// Returns the chosen file name, or empty when cancelled.
using TSaveDialogHook = std::function<QString(QWidget* parent, const QString& title, const QString& folder,
                                              const QString& filter, const QString& defaultSuffix)>;
void SetSaveDialogHook(TSaveDialogHook hook);
QString AskSaveFileName(QWidget* parent, const QString& title, const QString& folder, const QString& filter,
                        const QString& defaultSuffix);

#pragma once
// The modal dialogs of the board windows go through one small set of functions, so that the
// windows can be driven without anyone at the keyboard (tests answer them instead).

#include <QString>

#include <functional>

class QFileDialog;
class QPrinter;
class QWidget;

struct TEditorDialogs {
    // Runs a prepared file dialog; returns the chosen file, or empty when cancelled.
    std::function<QString(QWidget* parent, QFileDialog& dialog)> RunFileDialog;
    // A message box; `buttons` and the result are QMessageBox::StandardButton values.
    std::function<int(QWidget* parent, const QString& caption, const QString& text, int buttons, bool error)>
        RunMessageBox;
    // Lets the user choose and set up a printer; false when cancelled.
    std::function<bool(QWidget* parent, QPrinter& printer)> AskPrinter;

    // The real dialogs, placed 30 pixels right of and below their parent.
    static TEditorDialogs Standard();

    QString FileDialog(QWidget* parent, QFileDialog& dialog) const;
    int MessageBox(QWidget* parent, const QString& caption, const QString& text, int buttons, bool error = false) const;
    bool Printer(QWidget* parent, QPrinter& printer) const;
};

// Moves a child window (or the frame that holds it) 30 pixels right of and below the top-left
// corner of `anchor` (or of the frame that holds it).
void PlaceBesideAnchor(QWidget* child, const QWidget* anchor);

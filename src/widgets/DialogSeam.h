#pragma once
// Every modal dialog of the program goes through these functions: message boxes, file dialogs,
// the printer dialog and the editor windows. Tests replace the real dialogs with answers of their
// own, so that no window ever waits for someone at the keyboard.

#include <QString>
#include <QStringList>

#include <functional>
#include <string>
#include <vector>

class QDialog;
class QFileDialog;
class QPrinter;
class QWidget;

struct TDialogSeam {
    // A message box; `buttons` and the result are QMessageBox::StandardButton values.
    std::function<int(QWidget* parent, const QString& caption, const QString& text, int buttons, bool error)>
        MessageBox = {};
    // Runs a prepared file dialog; the chosen file, or empty when cancelled.
    std::function<QString(QWidget* parent, QFileDialog& dialog)> FileDialog = {};
    // Lets the user choose and set up a printer; false when cancelled.
    std::function<bool(QWidget* parent, QPrinter& printer)> Printer = {};
    // Runs a modal dialog; QDialog::Accepted or QDialog::Rejected.
    std::function<int(QDialog& dialog)> ModalDialog = {};
    // A question with buttons of its own; the index of the button chosen.
    std::function<int(QWidget* parent, const QString& caption, const QString& text, const QStringList& buttons,
                      int safeButton)>
        Question = {};
};

// The hooks in use; an empty member means the real dialog. Tests set them and reset them with
// `DialogSeam() = {}`.
TDialogSeam& DialogSeam();

// The dialogs. Each real one is placed 30 pixels right of and below its parent's top-left corner.
// A box that only informs (an OK button alone) asked for while a TDeferredBoxes lives is shown
// from the event loop once it is gone, and ShowMessageBox returns QMessageBox::Ok at once.
int ShowMessageBox(QWidget* parent, const QString& caption, const QString& text, int buttons, bool error = false);

// Held while received messages are routed: a modal box opened there would hold up the routing,
// and with it the reception of every message, until someone presses OK.
class TDeferredBoxes {
public:
    TDeferredBoxes();
    ~TDeferredBoxes();
    TDeferredBoxes(const TDeferredBoxes&) = delete;
    TDeferredBoxes& operator=(const TDeferredBoxes&) = delete;
};
// A question whose buttons say what each answer does ("Program Anyway", "Cancel"); returns the
// index of the button chosen. `safeButton` is the default button, and the answer when the box is
// closed or Escape is pressed. The box waits for the answer: never ask while received messages are
// routed.
int AskQuestion(QWidget* parent, const QString& caption, const QString& text, const QStringList& buttons,
                int safeButton);
// The lines of a report for a box or a tool tip, at most `most` of them and the count of those
// left out: the first ones, how many more there are, and the last one (a report's summary).
QString ReportText(const std::vector<std::string>& lines, int most);
QString RunFileDialog(QWidget* parent, QFileDialog& dialog);
// A save dialog of its own (overwriting asks first); the chosen file, or empty when cancelled.
QString AskSaveFileName(QWidget* parent, const QString& title, const QString& folder, const QString& filter,
                        const QString& defaultSuffix);
bool AskPrinter(QWidget* parent, QPrinter& printer);
// Runs `dialog` modally, placed beside its parent widget.
int RunModalDialog(QDialog& dialog);

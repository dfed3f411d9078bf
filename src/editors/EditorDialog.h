#pragma once
// What every board editor window shares: a modal dialog with "OK", "Cancel" and a help button
// at the window's help context. It opens 30 pixels right of and below its parent's top-left
// corner. OK writes the controls back (WriteBack); Cancel, Escape and the close box discard what
// the window itself holds (DiscardEdits). Tab goes through the controls in the order of the
// window's layout, the first of them has the focus when the window opens, and the labels that name
// controls get accelerators (widgets/KeyboardAccess.h).

#include <QDialog>

class QBoxLayout;
class QPushButton;

class TEditorDialog : public QDialog {
    Q_OBJECT
public:
    TEditorDialog(QWidget* parent, int helpContext);

    // Shows the window modally (through the dialog seam, so tests can answer it) and returns
    // true when it was closed with OK.
    bool Execute();
    int HelpContext() const { return Help; }

    QPushButton* OKBtn = nullptr;
    QPushButton* CancelBtn = nullptr;
    QPushButton* HelpBtn = nullptr;

    void done(int result) override;

protected:
    // The row of "OK", "Cancel" and help buttons, for the window's own layout to place.
    QBoxLayout* ButtonRow() const { return Buttons; }
    virtual void WriteBack() {}
    virtual void DiscardEdits() {}

private:
    int Help;
    QBoxLayout* Buttons = nullptr;
};

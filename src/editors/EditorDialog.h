#pragma once
// What every board editor window shares: a modal dialog with "OK", "Cancel" and a help button
// at the window's help context. It opens 30 pixels right of and below its parent's top-left
// corner. OK writes the controls back (WriteBack); Cancel, Escape and the close box discard what
// the window itself holds (DiscardEdits). A board window's OK first checks that the board can hold
// its description as OK would leave it; when it cannot, it names each value (the part's window and
// the field) and lets the user go back to the window or keep the values. Tab goes through the controls in the order of the
// window's layout, the first of them has the focus when the window opens, and the labels that name
// controls get accelerators (widgets/KeyboardAccess.h).

#include "boards/ConfigurableBoard.h"
#include "editors/BoardSettings.h"

#include <QDialog>

#include <memory>
#include <utility>

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
    // The board as OK would leave it (a copy; the board itself stays as it is), for the check of
    // what it cannot hold; none for a window that does not edit a whole board.
    virtual std::unique_ptr<TConfigurableBoard> BoardAfterOK() const { return nullptr; }

    // A copy of `board` with the window's controls written into it (`write`), as BoardAfterOK
    // gives it.
    template <class TBoard, class TWrite>
    static std::unique_ptr<TConfigurableBoard> WrittenCopy(const TBoard& board, TWrite write)
    {
        auto copy = std::make_unique<TBoard>(board);
        write(*copy);
        return copy;
    }

private:
    // False when the board cannot hold a value and the user goes back to the window.
    bool KeepsWhatTheBoardCannotHold();

    int Help;
    QBoxLayout* Buttons = nullptr;
};

// A board window that edits its board in place: OK writes the controls into the board, and the
// check of what the board can hold sees them written into a copy. TBase is TEditorDialog or a
// window base built on it; its constructor takes the arguments after the board.
template <class TBoard, class TBase = TEditorDialog> class TBoardWindow : public TBase {
protected:
    template <class... TBaseArgs>
    explicit TBoardWindow(TBoard& board, TBaseArgs&&... baseArgs)
        : TBase(std::forward<TBaseArgs>(baseArgs)...), Board(board)
    {}

    // Writes the window's controls into `target`: the board itself, or a copy of it. The settings
    // list does it all unless the window has more to write.
    virtual void WriteControls(TBoard& target) const { Settings.Write(target); }

    void WriteBack() override { WriteControls(Board); }
    std::unique_ptr<TConfigurableBoard> BoardAfterOK() const override
    {
        return TEditorDialog::WrittenCopy(Board, [this](TBoard& copy) { WriteControls(copy); });
    }

    TBoard& Board;
    // The board's plain settings and the controls that show them.
    TBoardSettings<TBoard> Settings;
};

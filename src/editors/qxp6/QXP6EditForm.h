#pragma once
// "Edit QXP6 Board Settings": the decoder settings of a QXP6 board and the lists of its output
// cells, input cells and routes, each opened in its own editor by a double click. The window
// works on a copy of the whole board - its child editors too - and assigns the copy to the board
// on OK, so Cancel discards everything done in the window and its children.

#include "boards/qxp6/QXP6Board.h"
#include "editors/EditorDialog.h"

#include <memory>

class QCheckBox;
class QLineEdit;
class QListWidget;
class TSpinEdit;

class TQXP6EditForm : public TEditorDialog {
    Q_OBJECT
public:
    TQXP6EditForm(QWidget* parent, TQXP6Board& board);
    ~TQXP6EditForm() override;

    // The working copy.
    TQXP6Board& EditedBoard() { return *Copy; }

    QLineEdit* BoardNameEdit = nullptr;
    TSpinEdit* SerialNumEdit = nullptr;
    QLineEdit* NotesEdit = nullptr;
    TSpinEdit* DCCBaseAddrEdit = nullptr;
    TSpinEdit* RouteAddrEdit = nullptr;
    TSpinEdit* SensBdEdit = nullptr;
    TSpinEdit* MemLocEdit = nullptr;
    TSpinEdit* CDUDelayEdit = nullptr;
    QCheckBox* Addr16Check = nullptr;
    QCheckBox* LocoNetCheck = nullptr;
    QListWidget* OutputCellList = nullptr;
    QListWidget* InputCellList = nullptr;
    QListWidget* RouteList = nullptr;

    // Open the editor of a line of the copy (as a double click does) and refill the list.
    void EditOutputCell(int index);
    void EditInputCell(int index);
    void EditRoute(int index);

protected:
    void WriteBack() override;
    std::unique_ptr<TConfigurableBoard> BoardAfterOK() const override;

private:
    void WriteControls(TQXP6Board& target) const;
    void BuildControls();
    void LoadControls();
    void FillLists();

    TQXP6Board& Board;
    std::unique_ptr<TQXP6Board> Copy;
    bool Loading = false;
};

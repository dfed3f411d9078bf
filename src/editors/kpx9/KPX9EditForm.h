#pragma once
// The board window of the KPX9 panel: the board's settings, its 30 cells and its 24 routes.
// The window edits the board in place: its settings go into the board on OK, the cell and route
// editors change the board when they close with OK, and "To/From Numbering" acts at once.

#include "boards/kpx9/KPX9Board.h"
#include "editors/EditorDialog.h"

class QCheckBox;
class QLineEdit;
class QListWidget;
class TIndexCombo;
class TSpinEdit;

class TKPX9EditForm : public TBoardWindow<TKPX9Board> {
    Q_OBJECT
public:
    TKPX9EditForm(QWidget* parent, TKPX9Board& board);

    // Open the cell editor of cell `index` (0..29) or the route editor of route `index` (0..23),
    // then refill the lists.
    void EditCell(int index);
    void EditRoute(int index);

    QLineEdit* BoardNameEdit = nullptr;
    TSpinEdit* SerialNumEdit = nullptr;
    QLineEdit* NotesEdit = nullptr;
    QCheckBox* ToFromBox = nullptr;
    TSpinEdit* RouteAddrEdit = nullptr;
    TIndexCombo* SlaveModeCombo = nullptr;
    TSpinEdit* SlaveAddrEdit = nullptr;
    TIndexCombo* StartupModeCombo = nullptr;
    TSpinEdit* DCCSlaveEdit = nullptr;
    TSpinEdit* DCCInterlockEdit = nullptr;
    TSpinEdit* PointDelayEdit = nullptr;
    QListWidget* CellList = nullptr;
    QListWidget* RouteList = nullptr; // a route a line; Enter or a double-click edits it

private:
    // Both lists: a cell's point address decides whether route entries fit.
    void FillLists();
};

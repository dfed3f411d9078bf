#pragma once
// "Edit RVN2 Autoferry Settings": the plain settings of an RVN2 board (name, serial number,
// notes, sensor inputs) and its four sequences. The window edits the board in place: OK writes
// the controls into the board; a sequence changed in the sequence window stays changed even
// when this window is then cancelled.
#include "boards/rvn2/RVN2Board.h"
#include "editors/EditorDialog.h"

class QLineEdit;
class QListWidget;
class TIndexCombo;
class TSpinEdit;

class TRVN2EditForm : public TBoardWindow<TRVN2Board> {
    Q_OBJECT
public:
    TRVN2EditForm(QWidget* parent, TRVN2Board& board);

    // Opens the sequence window on sequence 0 to 3 and redraws the list when it closes.
    void EditSequence(int index);

    QLineEdit* BoardNameEdit = nullptr;
    TSpinEdit* SerialNumEdit = nullptr;
    QLineEdit* DescriptionEdit = nullptr; // the board's notes
    QListWidget* SequenceList = nullptr;
    TIndexCombo* SensorCombo = nullptr;
    TSpinEdit* SensorBoardSpin = nullptr; // 0-255: the board keeps one byte

private:
    void RefreshSequenceList();
};

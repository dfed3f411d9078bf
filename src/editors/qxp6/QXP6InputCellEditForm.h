#pragma once
// "Input Cell": the type of one QXP6 input cell and the message it sends. The window writes its
// two lists straight into the cell on OK.

#include "boards/qxp6/QXP6InputCell.h"
#include "editors/EditorDialog.h"

class TIndexCombo;

class TQXP6InputCellEditForm : public TEditorDialog {
    Q_OBJECT
public:
    // Only the inputs of the eight output cells can trigger a local route.
    static constexpr uint32_t kLastRouteInput = 8;

    TQXP6InputCellEditForm(QWidget* parent, TQXP6InputCell& cell);

    TIndexCombo* InputCellTypeCombo = nullptr;
    TIndexCombo* InputMessageCombo = nullptr;

protected:
    void WriteBack() override;

private:
    TQXP6InputCell& Cell;
};

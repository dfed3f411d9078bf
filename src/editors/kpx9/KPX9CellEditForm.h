#pragma once
// The cell editor of the KPX9 panel: what one panel cell shows and what its two pushbuttons do.
// Only the settings of the cell's type are enabled (for a copy cell, the type of the cell it
// copies); OK writes every control into the cell, enabled or not.

#include "boards/kpx9/KPX9Cell.h"
#include "editors/EditorDialog.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class TIndexCombo;
class TSpinEdit;

class TKPX9CellEditForm : public TEditorDialog {
    Q_OBJECT
public:
    // `cells` are the board's cells, for the type of the cell a copy cell copies.
    TKPX9CellEditForm(QWidget* parent, TKPX9Cell& cell, const TKPX9Cells& cells);

    // The type whose settings are enabled: the selected type, or for a copy cell the type of the
    // copied cell (0 when there is no such cell).
    int EffectiveType() const;

    QLineEdit* DescriptionEdit = nullptr;
    TIndexCombo* CellTypeCombo = nullptr;
    QLabel* AddressLabel = nullptr;
    TSpinEdit* AddrEdit = nullptr;
    TIndexCombo* SW1Combo = nullptr;
    TIndexCombo* SW2Combo = nullptr;
    TSpinEdit* Route1Edit = nullptr;
    TSpinEdit* Route2Edit = nullptr;
    TIndexCombo* InitCombo = nullptr;
    TIndexCombo* TokenCombo = nullptr;
    TIndexCombo* CascadeCombo = nullptr;
    TSpinEdit* CascadeEdit = nullptr;
    QCheckBox* ToFbCheck = nullptr;
    TSpinEdit* SensorEdit = nullptr;
    QCheckBox* SensFlashCheck = nullptr;
    TIndexCombo* AspectCombo = nullptr;
    QCheckBox* RevZoneCheck = nullptr;
    TSpinEdit* InterlockNumberEdit = nullptr;
    TSpinEdit* RelayEdit = nullptr; // PM42 relay cells: relay 1 to 4

protected:
    void WriteBack() override;

private:
    void LoadControls();
    // Relabels and limits the address for the selected type and enables the effective type's
    // settings; `byUser` when the user's change of type or address led to it.
    void CellTypeChange(bool byUser);
    void CascadeModeChange(bool byUser);
    void ButtonChange();

    TKPX9Cell& Cell;
    const TKPX9Cells& Cells;
    // The effective type whose settings are enabled.
    int ShownType = -1;
};

#pragma once
// The ORB4 board window: the common signal controller settings, the four sensor input pairs and
// the eight high-current outputs, and the display mode.

#include "boards/orb/orb4/ORB4Board.h"
#include "editors/orb/SignalControllerEditForm.h"

#include <array>

class TOrb4EditForm : public TBoardWindow<TORB4Board, TSignalControllerEditForm> {
    Q_OBJECT
public:
    TOrb4EditForm(QWidget* parent, TORB4Board& board);

    TSpinEdit* SensorSpin = nullptr; // the sensor board number
    // The configuration of sensor inputs 1 & 2, 3 & 4, 5 & 6 and 7 & 8.
    std::array<TIndexCombo*, 4> SensorPairCombos{};
    TSpinEdit* HighCSpin = nullptr;
    TIndexCombo* Op14Combo = nullptr;
    TIndexCombo* Op58Combo = nullptr;
    TValueCheck* DisplayCheck = nullptr; // "Display Mode" (SV 507)

private:
    void WriteControls(TORB4Board& target) const override;
};

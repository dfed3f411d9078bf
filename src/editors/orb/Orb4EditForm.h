#pragma once
// The ORB4 board window: the common signal controller settings, the four sensor input pairs and
// the eight high-current outputs, and the display mode.

#include "boards/orb/orb4/ORB4Board.h"
#include "editors/orb/SignalControllerEditForm.h"

#include <array>

class TOrb4EditForm : public TBoardWindow<TORB4Board, TSignalControllerEditForm> {
    Q_OBJECT
public:
    static constexpr int kHelpContext = 500;

    TOrb4EditForm(QWidget* parent, TORB4Board& board);

    TSpinEdit* SensorSpin = nullptr;
    TIndexCombo* Sensor12Combo = nullptr;
    TIndexCombo* Sensor34Combo = nullptr;
    TIndexCombo* Sensor56Combo = nullptr;
    TIndexCombo* Sensor78Combo = nullptr;
    TSpinEdit* HighCSpin = nullptr;
    TIndexCombo* Op14Combo = nullptr;
    TIndexCombo* Op58Combo = nullptr;
    TValueCheck* DisplayCheck = nullptr;

private:
    void WriteControls(TORB4Board& target) const override;
    std::array<TIndexCombo*, 4> SensorCombos() const
    {
        return {Sensor12Combo, Sensor34Combo, Sensor56Combo, Sensor78Combo};
    }
};

#pragma once
// The ORB4 board window: the common signal controller settings, the four sensor input pairs and
// the eight high-current outputs, and the display mode.

#include "editors/orb/SignalControllerEditForm.h"

#include <array>

class TORB4Board;

class TOrb4EditForm : public TSignalControllerEditForm {
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

protected:
    void WriteBack() override;
    std::unique_ptr<TConfigurableBoard> BoardAfterOK() const override;

private:
    void WriteControls(TORB4Board& target) const;
    std::array<TIndexCombo*, 4> SensorCombos() const
    {
        return {Sensor12Combo, Sensor34Combo, Sensor56Combo, Sensor78Combo};
    }

    TORB4Board& Orb4;
};

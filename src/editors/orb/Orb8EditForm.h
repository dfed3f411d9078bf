#pragma once
// The ORB8 board window: the common signal controller settings, the sensor inputs, the LED
// arrangement of signals 1-8, the auxiliary outputs, the delay before a signal is released from
// red, the report after power-up and the choice of LocoNet switch commands.

#include "boards/orb/orb8/ORB8Board.h"
#include "editors/orb/SignalControllerEditForm.h"

class TOrb8EditForm : public TBoardWindow<TORB8Board, TSignalControllerEditForm> {
    Q_OBJECT
public:
    TOrb8EditForm(QWidget* parent, TORB8Board& board);

    TSpinEdit* SensorSpin = nullptr; // sensor board number, 1-255 (one byte on the board)
    TIndexCombo* SensorIntCombo = nullptr;
    TIndexCombo* SensorExtCombo = nullptr;
    TIndexCombo* Op14Combo = nullptr;
    TIndexCombo* Op58Combo = nullptr;
    TIndexCombo* AuxOutputCombo = nullptr;
    TIndexCombo* ReleaseDelayCombo = nullptr;
    TValueCheck* InterrogateCheck = nullptr;
    TValueCheck* LocoNetCheck = nullptr;

private:
    void WriteControls(TORB8Board& target) const override;
};

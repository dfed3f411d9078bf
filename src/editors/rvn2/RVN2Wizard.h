#pragma once
// "RVN2 Autoferry Wizard": fills a sequence with a ready-made shuttle or station-stop program.
// Each page has its own "Generate" button; the wizard works on a copy of the sequence, and the
// last program generated is handed back to the sequence only when the wizard is closed with OK.
#include "boards/rvn2/RVN2Sequence.h"
#include "editors/EditorDialog.h"

class QListWidget;
class QPushButton;
class QTabWidget;
class TSpinEdit;

class TTRVN2Wizard : public TWorkingCopyWindow<TRVN2Sequence> {
    Q_OBJECT
public:
    TTRVN2Wizard(QWidget* parent, TRVN2Sequence& sequence);

    void ShuttleGenerateClick();
    void StationStopGenerateClick();

    QTabWidget* WizardPages = nullptr; // "Shuttle" and "Station Stop"
    // "Shuttle" page.
    TSpinEdit* End1SensBdSpin = nullptr;
    TSpinEdit* End1SensSpin = nullptr;
    TSpinEdit* End1WaitSpin = nullptr;
    TSpinEdit* End2SensBdSpin = nullptr;
    TSpinEdit* End2SensSpin = nullptr;
    TSpinEdit* End2WaitSpin = nullptr;
    TSpinEdit* ShuttleAccelSpin = nullptr;
    QPushButton* ShuttleGenerateBtn = nullptr;
    // "Station Stop" page.
    TSpinEdit* SStopSensBdSpin = nullptr;
    TSpinEdit* SStopSensSpin = nullptr;
    TSpinEdit* SStopWaitSpin = nullptr;
    TSpinEdit* SStopVisitSpin = nullptr;
    TSpinEdit* SStopAccelSpin = nullptr;
    QPushButton* SStopGenerateBtn = nullptr;
    QListWidget* ProgramList = nullptr; // the program's steps, as OK gives them to the sequence

private:
    void ShowProgram();
};

#pragma once
// The route editor of the KPX9 panel: the points of one route with their states, the from and to
// buttons (with to/from numbering) and the route it cascades into. It edits a copy of the route
// and stores the copy in the board's route when closed with OK.

#include "boards/kpx9/KPX9Route.h"
#include "editors/RouteEditor.h"

class QCheckBox;

class TKPX9RouteEditForm : public TWorkingCopyWindow<TKPX9Route, TRouteEditForm> {
    Q_OBJECT
public:
    // `cells` are the board's cells, which tell whether a point is shown on a point cell.
    TKPX9RouteEditForm(QWidget* parent, TKPX9Route& route, const TKPX9Cells& cells);

    TSpinEdit* FromSpin = nullptr;
    TSpinEdit* ToSpin = nullptr;
    QCheckBox* CascadeCheck = nullptr;
    TSpinEdit* CascadeSpin = nullptr;

protected:
    int EntryLineCount() const override;
    QString EntryLine(int index) const override;
    uint32_t EntryCount() const override { return Work.EntryCount; }
    bool Fits() const override;
    uint32_t EntryAddress(int index) const override { return Work.GetEntryAddress(uint32_t(index)); }
    int EntryState(int index) const override { return Work.GetEntryState(uint32_t(index)); }
    bool SetEntry(int index, uint32_t address, uint8_t state) override;

    void WriteControls() override;

private:
    const TKPX9Cells& Cells;
    // The entry lines are counted once, from the copy as the window opened.
    int Lines = 0;
};

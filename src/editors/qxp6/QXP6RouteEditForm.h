#pragma once
// "Edit Route": the up to twelve points of one QXP6 route, each marked as one of this decoder's
// own outputs or not, whether they fit the route's twelve SV bytes, and the conditions that
// trigger the route. The window edits a copy of the route and assigns it to the route on OK.

#include "boards/qxp6/QXP6Route.h"
#include "editors/RouteEditor.h"

class QListWidget;
class QPushButton;
class TQXP6ConditionListBox;

class TQXP6RouteEditForm : public TWorkingCopyWindow<TQXP6Route, TRouteEditForm> {
    Q_OBJECT
public:
    TQXP6RouteEditForm(QWidget* parent, TQXP6Route& route);

    // Selects an entry line and loads its entry into the controls.
    void SelectLine(int line);

    TQXP6ConditionListBox* TriggerGroup = nullptr; // "Trigger route when"
    QListWidget* RouteCondListBox = nullptr;
    QPushButton* DefineConditions = nullptr;

    void DefineConditionsClick();

protected:
    int EntryLineCount() const override { return TQXP6Route::kMaxEntries; }
    QString EntryLine(int index) const override;
    uint32_t EntryCount() const override { return Work.EntryCount; }
    bool Fits() const override { return Work.Fits(); }
    uint32_t EntryAddress(int index) const override { return Work.GetEntryAddress(index); }
    int EntryState(int index) const override { return Work.GetEntryState(index); }
    bool SetEntry(int index, uint32_t address, uint8_t state) override { return Work.SetEntry(index, address, state); }

    void WriteControls() override;
};

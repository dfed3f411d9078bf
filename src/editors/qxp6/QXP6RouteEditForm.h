#pragma once
// "Edit Route": the up to twelve points of one QXP6 route, each marked as one of this decoder's
// own outputs or not, whether they fit the route's twelve SV bytes, and the conditions that
// trigger the route. The window edits a copy of the route and assigns it to the route on OK.

#include "boards/qxp6/QXP6Route.h"
#include "editors/EditorDialog.h"

class QListWidget;
class QPushButton;
class TIndexCombo;
class TQXP6ConditionListBox;
class TSpinEdit;

class TQXP6RouteEditForm : public TEditorDialog {
    Q_OBJECT
public:
    static constexpr int kHelpContext = 430;

    TQXP6RouteEditForm(QWidget* parent, TQXP6Route& route);

    // The working copy.
    const TQXP6Route& EditedRoute() const { return Copy; }
    // The entry line being edited (0..11).
    int SelectedLine() const;
    void SelectLine(int line);

    QListWidget* RouteListBox = nullptr;
    TIndexCombo* StateButton = nullptr;
    TSpinEdit* PointNumberSpin = nullptr;
    TQXP6ConditionListBox* TriggerGroup = nullptr; // "Trigger route when"
    QListWidget* RouteCondListBox = nullptr;
    QPushButton* DefineConditions = nullptr;

    void DefineConditionsClick();

protected:
    void WriteBack() override;

private:
    void BuildControls();
    void FillList();
    void LoadEntry();
    void StateButtonClick();
    void ApplyEntry();

    TQXP6Route& Route;
    TQXP6Route Copy;
    bool Loading = false;
};

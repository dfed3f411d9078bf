#pragma once
// What the route editors of the panel and accessory boards share: a list with one line per entry
// place, then a count line and a fit line, and the state list and point spin that edit the entry
// of the selected line. Each change is applied to the window's working copy of the route at once
// through the route's SetEntry; a board's editor supplies the lines, the entries and SetEntry, and
// adds its own controls under the entry controls.

#include "editors/EditorDialog.h"

#include <cstdint>

class QListWidget;
class QVBoxLayout;
class TIndexCombo;
class TSpinEdit;

class TRouteEditForm : public TEditorDialog {
    Q_OBJECT
public:
    QListWidget* RouteListBox = nullptr; // "Points in route": one entry a line
    TIndexCombo* StateButton = nullptr;
    TSpinEdit* PointNumberSpin = nullptr;

    // The selected line (0-based); -1 when none is.
    int SelectedLine() const;

protected:
    TRouteEditForm(QWidget* parent, int helpContext, uint32_t routeNumber);

    // The column beside the list, under the entry controls, for the route's own controls.
    QVBoxLayout* SideColumn() const { return Side; }

    // Fills the list, selects line 0 and loads the entry controls; the board's editor calls it at
    // the end of its constructor, once the working copy is there.
    void StartEditing();
    // Fills the list again, keeping the selected line and the scroll position.
    void FillList();
    // Applies the entry controls once more when they differ from the selected entry (an edit the
    // spin had not yet passed on); run before the working copy is stored.
    void ApplyPendingEntry();

    // The entry places the list shows, one line each.
    virtual int EntryLineCount() const = 0;
    // The text of entry line `index` (0-based).
    virtual QString EntryLine(int index) const = 0;
    virtual uint32_t EntryCount() const = 0;
    // Whether the route, as it will be stored, fits into its SV block.
    virtual bool Fits() const = 0;
    virtual uint32_t EntryAddress(int index) const = 0;
    virtual int EntryState(int index) const = 0;
    // Sets, appends or (state 0) removes an entry of the working copy; true when an entry was
    // removed from among the others.
    virtual bool SetEntry(int index, uint32_t address, uint8_t state) = 0;

private:
    bool IsEntryLine(int line) const { return line >= 0 && line < EntryLineCount(); }
    void LoadEntryControls();
    void StateButtonChange();
    void ApplyEntry();

    QVBoxLayout* Side = nullptr;
    // Set while the controls are being loaded, so that their change events do not apply.
    bool Loading = false;
};

#pragma once
// The reverse running zone window: edits one zone of an ORB4 or ORB8 board in place - its name,
// description and, through the conditions window, its four condition sets. Sets confirmed in the
// conditions window stay even when this window is cancelled.

#include "boards/orb/RevRunZone.h"
#include "editors/EditorDialog.h"

#include <array>

class QLineEdit;
class TConditionListBox;

class TRevZoneEditForm : public TEditorDialog {
    Q_OBJECT
public:
    TRevZoneEditForm(QWidget* parent, TRevRunZone& zone);

    QLineEdit* NameEdit = nullptr;
    QLineEdit* DescriptionEdit = nullptr;
    std::array<TConditionListBox*, TRevRunZone::ezsCount> SetBoxes{}; // by TRevRunZone::EZoneSet

    // A "Define" button: the conditions window on the list's set.
    void DefineClick(int which);

protected:
    void WriteBack() override;

private:
    TRevRunZone& Zone;
};

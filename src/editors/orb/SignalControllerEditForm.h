#pragma once
// What the ORB4 and ORB8 board windows share: the board's name, serial number, signal base
// address and notes, the lists of its ten signals and three reverse running zones (a double-click
// opens the signal or zone window), and the settings both boards have. The board is edited in
// place: OK writes the window's own controls back; changes made in the signal and zone windows
// stay even when the board window is cancelled.

#include "boards/orb/SignalControllerBoard.h"
#include "editors/BoardSettings.h"
#include "editors/EditorDialog.h"

#include <QStringList>

class QGridLayout;
class QLineEdit;
class QListWidget;
class QVBoxLayout;
class TIndexCombo;
class TSpinEdit;
class TValueCheck;

class TSignalControllerEditForm : public TEditorDialog {
    Q_OBJECT
public:
    QLineEdit* BdNameEdit = nullptr;
    TSpinEdit* DCCAddrSpin = nullptr;
    TSpinEdit* SerialNumSpin = nullptr;
    QLineEdit* NotesEdit = nullptr;
    QListWidget* SignalList = nullptr;
    QListWidget* RevZoneList = nullptr;
    TValueCheck* SPADCheck = nullptr;
    TIndexCombo* IsolationDelayCombo = nullptr;
    TValueCheck* BrightnessCheck = nullptr; // simulates the lamps' brightness

    // Open the signal or zone window for a line of the lists, then rebuild the list.
    void SignalListDblClick(int row);
    void RevZoneListDblClick(int row);

    // "No delay", "0.25s", ... "8s": quarter seconds by item index.
    static QStringList DelayItems();

protected:
    TSignalControllerEditForm(QWidget* parent, int helpContext, const QString& caption, TSignalControllerBoard& board,
                              const QString& spadText, const QString& brightnessText);

    // New controls of the window, with their object names.
    TIndexCombo* NewCombo(const QStringList& items, const char* name);
    TValueCheck* NewCheck(const QString& text, const char* name);
    TSpinEdit* NewSpin(int minValue, int maxValue, const char* name);

    // A framed group of settings in the column beside the lists; the board window fills it.
    QGridLayout* NewSettingsGroup();
    // A row of a settings group: the label, then the control.
    void AddSetting(QGridLayout* group, const QString& label, QWidget* control);
    // A row of a settings group with a check box.
    void AddSetting(QGridLayout* group, QWidget* check);

    // Writes the controls both boards have into `target` (the board, or a copy of it).
    void WriteCommon(TSignalControllerBoard& target) const;

private:
    void FillLists();

    TSignalControllerBoard& Controller;
    TBoardSettings<TSignalControllerBoard> CommonSettings;
    QVBoxLayout* SettingsColumn = nullptr;
};

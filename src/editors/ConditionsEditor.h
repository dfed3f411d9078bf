#pragma once
// The window that edits one set of conditions: a list with one line per place of the set, the
// controls of the selected condition (device type, device number and input, state, AND next) and
// a context menu on the list that inserts an empty place or deletes one. What a condition holds
// and how the controls show it depends on the kind of set: the window of each kind of set works
// on its own copy of the set and fills in the operations below.

#include "editors/EditorDialog.h"

#include <QStringList>

#include <utility>

class QAction;
class QListWidget;
class QMenu;
class TIndexCombo;
class TSpinEdit;
class TValueCheck;

class TConditionsEditor : public TEditorDialog {
    Q_OBJECT
public:
    // Points and signals are numbered up to this; the device tables keep a sensor's (its sensor
    // board's) number in one byte.
    static constexpr int kMaxDeviceNumber = 2048;
    static constexpr int kMaxSensorNumber = 255;

    // One condition as the controls show it.
    struct TConditionFields {
        int DeviceItem = 0; // item of DeviceTypeCombo
        int Number = 1;
        bool NumberUsed = false;
        // The highest device number the board can keep for the device type.
        int NumberMax = kMaxDeviceNumber;
        int Offset = 1;
        bool OffsetUsed = false;
        QStringList States{QStringLiteral("none")};
        int State = 0; // item of StateCombo
        int AndNext = 0;
    };

    TConditionsEditor(QWidget* parent, int helpContext, const QString& caption, const QStringList& deviceTypes);

    QListWidget* ConditionList = nullptr;
    TIndexCombo* DeviceTypeCombo = nullptr;
    TSpinEdit* NumberSpin = nullptr;
    TSpinEdit* OffsetSpin = nullptr;
    TIndexCombo* StateCombo = nullptr;
    TValueCheck* AndBox = nullptr;
    QMenu* ConditionMenu = nullptr;
    QAction* Insert1 = nullptr;
    QAction* Delete1 = nullptr;

    // The selected place, or -1.
    int SelectedPlace() const;
    // The context menu's commands, on the selected place.
    void InsertClick();
    void DeleteClick();

protected:
    // Fills the list, then selects and loads the first place. The window of a kind of set calls
    // it once its copy of the set is ready.
    void Start();

    virtual int PlaceCount() const = 0;
    virtual QString PlaceText(int place) const = 0;
    virtual TConditionFields FieldsOf(int place) const = 0;
    // Replaces the condition at the place by a fresh one of the chosen device type.
    virtual void MakeFresh(int place, int deviceItem) = 0;
    // Writes the controls into the condition at the place.
    virtual void Store(int place, const TConditionFields& fields) = 0;
    virtual void InsertEmpty(int place) = 0;
    virtual void DeletePlace(int place) = 0;
    // Assigns the edited copy to the set the window was opened on.
    virtual void AssignBack() = 0;

    void WriteBack() override;

private:
    void LoadPlace(int place);
    void RefreshList();
    void DeviceTypeChanged();
    void ControlsChanged();
    TConditionFields ControlFields() const;

    bool Loading = false;
    bool Loaded = false;
    bool Edited = false;
};

// The window of one kind of set (`TSet`, of conditions `TItem`): it edits a copy of the set and
// assigns the copy to the set it was opened on when closed with OK.
template <typename TSet, typename TItem> class TConditionSetEditor : public TConditionsEditor {
public:
    // The copy being edited.
    const TSet& EditedSet() const { return Copy; }

protected:
    TConditionSetEditor(QWidget* parent, int helpContext, const QString& caption, const QStringList& deviceTypes,
                        TSet& set)
        : TConditionsEditor(parent, helpContext, caption, deviceTypes), Target(set), Copy(set)
    {
    }

    int PlaceCount() const override { return static_cast<int>(Copy.Count()); }
    void InsertEmpty(int place) override { Copy.InsertAt(Index(place), TItem{}); }
    void DeletePlace(int place) override { Copy.DeleteAt(Index(place)); }
    void AssignBack() override { Target = Copy; }

    // The set's own index of a place.
    static auto Index(int place) { return static_cast<decltype(std::declval<const TSet&>().Count())>(place); }

    TSet& Target;
    TSet Copy;
};

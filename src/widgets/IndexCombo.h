#pragma once
// A list whose value is the index of the chosen item (plus an offset, for fields that count from
// 1). A stored value that has no item - from a board file, or read back from a board - is shown
// as an extra item "(value N)" and read back unchanged until the user picks another item, so that
// opening a window and pressing OK never alters a value the user did not touch.

#include <QComboBox>
#include <QStringList>

#include <optional>

class TIndexCombo : public QComboBox {
    Q_OBJECT
public:
    explicit TIndexCombo(QWidget* parent = nullptr);
    explicit TIndexCombo(const QStringList& items, QWidget* parent = nullptr);

    // Replaces the items; the value stays as it was (an extra item when it no longer has one).
    void SetItems(const QStringList& items);
    // Value of the first item.
    void SetOffset(int offset);
    int Offset() const { return ItemOffset; }

    // Stores a value as it is, even when no item stands for it.
    void SetValue(int value);
    int Value() const;
    // True while the extra item of a stored value without an item is chosen.
    bool OutOfRange() const { return Extra.has_value() && currentIndex() == count() - 1; }
    // Chooses the first item in place of a stored value without one. A window calls it when the
    // user's change of another control makes this list's value count.
    void KeepInRange();

signals:
    // Raised when the user changes the value; never for the program's own SetValue, SetItems,
    // SetOffset or KeepInRange, so that filling a window in does not look like the user's change.
    void Changed(int value);

private:
    int ItemCount() const { return count() - (Extra ? 1 : 0); }
    void DropExtra();

    int ItemOffset = 0;
    std::optional<int> Extra;
};

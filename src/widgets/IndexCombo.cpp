#include "widgets/IndexCombo.h"

TIndexCombo::TIndexCombo(QWidget* parent) : QComboBox(parent)
{
    setSizeAdjustPolicy(QComboBox::AdjustToContents);
    connect(this, &QComboBox::currentIndexChanged, this, [this](int) { emit Changed(Value()); });
}

TIndexCombo::TIndexCombo(const QStringList& items, QWidget* parent) : TIndexCombo(parent)
{
    SetItems(items);
}

void TIndexCombo::DropExtra()
{
    if (!Extra) return;
    Extra.reset();
    removeItem(count() - 1);
}

void TIndexCombo::SetItems(const QStringList& items)
{
    const int value = Value();
    const bool hadValue = currentIndex() >= 0;
    {
        const QSignalBlocker block(this);
        Extra.reset();
        clear();
        addItems(items);
    }
    if (hadValue) SetValue(value);
}

void TIndexCombo::SetOffset(int offset)
{
    const int value = Value();
    ItemOffset = offset;
    if (currentIndex() >= 0) SetValue(value);
}

void TIndexCombo::SetValue(int value)
{
    const int index = value - ItemOffset;
    const QSignalBlocker block(this);
    if (index >= 0 && index < ItemCount()) {
        DropExtra();
        setCurrentIndex(index);
    } else {
        DropExtra();
        Extra = value;
        addItem(QStringLiteral("(value %1)").arg(value));
        setCurrentIndex(count() - 1);
    }
}

void TIndexCombo::KeepInRange()
{
    if (OutOfRange() && ItemCount() > 0) SetValue(ItemOffset);
}

int TIndexCombo::Value() const
{
    if (OutOfRange()) return *Extra;
    return currentIndex() + ItemOffset;
}

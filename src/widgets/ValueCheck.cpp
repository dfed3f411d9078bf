#include "widgets/ValueCheck.h"

TValueCheck::TValueCheck(const QString& text, QWidget* parent) : QCheckBox(text, parent) {}

void TValueCheck::SetValue(int value)
{
    Stored = value;
    setChecked(value != 0);
}

int TValueCheck::Value() const
{
    // Untouched, the stored value stands; once clicked, the box decides.
    if (isChecked() == (Stored != 0)) return Stored;
    return isChecked() ? 1 : 0;
}

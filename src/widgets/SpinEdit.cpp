#include "widgets/SpinEdit.h"

#include <algorithm>

TSpinEdit::TSpinEdit(QWidget* parent) : TSpinEdit(0, 100, 0, parent) {}

TSpinEdit::TSpinEdit(int minValue, int maxValue, int value, QWidget* parent) : QSpinBox(parent)
{
    setAccelerated(true);
    setKeyboardTracking(true);
    Min = minValue;
    Max = std::max(minValue, maxValue);
    ApplyRange();
    SetValue(value);
    connect(this, &QSpinBox::valueChanged, this, [this](int v) {
        // Once the user has moved the value into the range, the range closes behind it.
        if (v >= Min && v <= Max) ApplyRange();
        emit Changed(v);
    });
}

void TSpinEdit::ApplyRange()
{
    // The spin box's own range is widened just enough to hold a stored outside value.
    const int v = value();
    const bool outside = v < Min || v > Max;
    const QSignalBlocker block(this);
    setRange(outside ? std::min(Min, v) : Min, outside ? std::max(Max, v) : Max);
}

void TSpinEdit::SetMinValue(int minValue)
{
    SetRange(minValue, std::max(minValue, Max));
}
void TSpinEdit::SetMaxValue(int maxValue)
{
    SetRange(std::min(Min, maxValue), maxValue);
}

void TSpinEdit::SetRange(int minValue, int maxValue)
{
    Min = minValue;
    Max = std::max(minValue, maxValue);
    ApplyRange();
}

void TSpinEdit::SetValue(int v)
{
    {
        const QSignalBlocker block(this);
        setRange(std::min(Min, v), std::max(Max, v));
    }
    if (value() == v) {
        ApplyRange();
        return;
    }
    setValue(v);
}

void TSpinEdit::stepBy(int steps)
{
    const long long target = static_cast<long long>(value()) + static_cast<long long>(steps) * singleStep();
    const int clamped = static_cast<int>(std::clamp<long long>(target, Min, Max));
    {
        const QSignalBlocker block(this);
        setRange(std::min(Min, value()), std::max(Max, value()));
    }
    setValue(clamped);
    ApplyRange();
    selectAll();
}

QAbstractSpinBox::StepEnabled TSpinEdit::stepEnabled() const
{
    StepEnabled result = StepNone;
    if (value() < Max) result |= StepUpEnabled;
    if (value() > Min) result |= StepDownEnabled;
    return result;
}

QValidator::State TSpinEdit::validate(QString& input, int& pos) const
{
    const QValidator::State state = QSpinBox::validate(input, pos);
    if (state != QValidator::Acceptable) return state;
    // Typed values keep to the range; only the stored outside value itself stays acceptable.
    bool ok = false;
    const int typed = locale().toInt(input.trimmed(), &ok);
    if (!ok) return state;
    if (typed >= Min && typed <= Max) return QValidator::Acceptable;
    return typed == value() ? QValidator::Acceptable : QValidator::Intermediate;
}

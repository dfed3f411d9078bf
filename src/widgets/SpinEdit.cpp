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

std::optional<int> TSpinEdit::AllowedNear(int v, int direction) const
{
    for (long long distance = 0; distance <= static_cast<long long>(Max) - Min; ++distance) {
        if (Allowed(v + direction * distance)) return static_cast<int>(v + direction * distance);
        if (Allowed(v - direction * distance)) return static_cast<int>(v - direction * distance);
    }
    return std::nullopt;
}

void TSpinEdit::KeepInRange()
{
    if (!OutOfRange()) return;
    if (const std::optional<int> nearest = AllowedNear(std::clamp(value(), Min, Max), -1)) SetValue(*nearest);
}

void TSpinEdit::stepBy(int steps)
{
    const long long target = static_cast<long long>(value()) + static_cast<long long>(steps) * singleStep();
    int clamped = static_cast<int>(std::clamp<long long>(target, Min, Max));
    // A value the user cannot choose is passed over in the direction of the step.
    if (!Allowed(clamped)) clamped = AllowedNear(clamped, steps > 0 ? 1 : -1).value_or(value());
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
    if (Allowed(typed)) return QValidator::Acceptable;
    return typed == value() ? QValidator::Acceptable : QValidator::Intermediate;
}

#pragma once
// Integer entry with a minimum, a maximum, up and down buttons and a change event.
// A value outside the range that the program stores into it is shown as it is and read back
// unchanged until the user changes it, so that opening a window and pressing OK never alters
// a value the user did not touch. The user's own changes are kept within the range.

#include <QSpinBox>

#include <functional>
#include <optional>

class TSpinEdit : public QSpinBox {
    Q_OBJECT
public:
    explicit TSpinEdit(QWidget* parent = nullptr);
    TSpinEdit(int minValue, int maxValue, int value, QWidget* parent = nullptr);

    void SetMinValue(int minValue);
    void SetMaxValue(int maxValue);
    void SetRange(int minValue, int maxValue);
    int MinValue() const { return Min; }
    int MaxValue() const { return Max; }

    // Stores a value as it is, even outside the range.
    void SetValue(int value);
    int Value() const { return value(); }
    // Which values inside the range the user can choose (the steps pass over the others); all of
    // them without a test. A stored value the test refuses is kept like one outside the range.
    void SetAccepted(std::function<bool(int)> accepted) { Accepted = std::move(accepted); }
    // True while the shown value is not one the user could choose (a stored value not yet changed).
    bool OutOfRange() const { return !Allowed(value()); }
    // Moves a value the user could not choose to the nearest one they could. A window calls it when
    // the user's change of another control makes this control's range apply to its value.
    void KeepInRange();

signals:
    // Raised for every change of the value, by the program or by the user.
    void Changed(int value);

protected:
    void stepBy(int steps) override;
    QValidator::State validate(QString& input, int& pos) const override;
    StepEnabled stepEnabled() const override;

private:
    void ApplyRange();
    bool Allowed(long long v) const { return v >= Min && v <= Max && (!Accepted || Accepted(int(v))); }
    // The value the user could choose that lies nearest to `v`, looking first in `direction`.
    std::optional<int> AllowedNear(int v, int direction) const;

    int Min = 0;
    int Max = 100;
    std::function<bool(int)> Accepted;
};

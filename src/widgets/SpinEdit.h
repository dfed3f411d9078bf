#pragma once
// Integer entry with a minimum, a maximum, up and down buttons and a change event.
// A value outside the range that the program stores into it is shown as it is and read back
// unchanged until the user changes it, so that opening a window and pressing OK never alters
// a value the user did not touch. The user's own changes are kept within the range.

#include <QSpinBox>

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
    // True while the shown value lies outside the range (a stored value not yet changed).
    bool OutOfRange() const { return value() < Min || value() > Max; }

signals:
    // Raised for every change of the value, by the program or by the user.
    void Changed(int value);

protected:
    void stepBy(int steps) override;
    QValidator::State validate(QString& input, int& pos) const override;
    StepEnabled stepEnabled() const override;

private:
    void ApplyRange();

    int Min = 0;
    int Max = 100;
};

#pragma once
// A check box for a stored flag. A stored value other than 0 and 1 (from a board file, or read
// back from a board) shows as ticked and is read back unchanged until the user clicks the box.

#include <QCheckBox>

class TValueCheck : public QCheckBox {
    Q_OBJECT
public:
    explicit TValueCheck(const QString& text, QWidget* parent = nullptr);

    void SetValue(int value);
    int Value() const;

private:
    int Stored = 0;
};

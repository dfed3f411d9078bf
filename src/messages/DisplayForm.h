#pragma once
// The LocoNet monitor window: one line per received message, decoded or as opcode name and
// hex bytes, with a count, clearing and saving to a text file.

#include <QWidget>

#include <cstdint>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class TLineListView;
class TLocoNetMessage;

class TDisplayForm : public QWidget {
    Q_OBJECT
public:
    explicit TDisplayForm(QWidget* parent = nullptr);

    QLabel* Label1 = nullptr;
    QPushButton* Button1 = nullptr;
    QLineEdit* MsgCountEdit = nullptr;
    QCheckBox* ExpandButton = nullptr;
    QPushButton* Button2 = nullptr;
    QPushButton* BitBtn1 = nullptr;
    TLineListView* MsgList = nullptr;
    QPushButton* HelpButton = nullptr;
    uint32_t DisplayedCount = 0;

    // Adds the line of a received message; the message stays the caller's.
    void AddMessage(const TLocoNetMessage& message);
    // Shows the lines and the count added since the last batch at once.
    void Flush();

    void ClearButtonClick();
    void SaveButtonClick();
    // Writes every line to a file; false with a reason when it cannot.
    bool SaveToFile(const QString& fileName, QString* error = nullptr) const;
    void HelpButtonClick();

    static constexpr int kHelpContext = 13;

signals:
    // The window was closed; routing to it must stop.
    void FormClosed();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void ShowCount();
};

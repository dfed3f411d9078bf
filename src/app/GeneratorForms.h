#pragma once
// The three message generators: a sensor report, a switch request and an arbitrary byte string.
// Each button builds one message and hands it to the sender (the main window's link).

#include "link/MessageSender.h"

#include <QWidget>

class QLabel;
class QLineEdit;
class QPushButton;
class QVBoxLayout;
class TSpinEdit;

// What the generators share: the window's object name and title, the help page, a window of
// fixed size, a button that closes it, and the sender that takes the built messages.
class TGeneratorForm : public QWidget {
    Q_OBJECT
protected:
    TGeneratorForm(TMessageSender sender, QWidget* parent, const char* name, const char* title);

    // Hands a message to the sender, when there is one.
    void Send(std::unique_ptr<TLocoNetMessage> message);
    // A button of the window that closes it.
    QPushButton* MakeCloseButton(const char* name);

    // The window's rows, top to bottom.
    QVBoxLayout* Rows = nullptr;

private:
    TMessageSender Sender;
};

class TGenSensFBForm : public TGeneratorForm {
    Q_OBJECT
public:
    explicit TGenSensFBForm(TMessageSender sender, QWidget* parent = nullptr);

    TSpinEdit* BoardNumber = nullptr; // 1 to 256
    TSpinEdit* SensorNumber = nullptr; // the board's input, 1 to 16
    QPushButton* SwOccupiedBtn = nullptr;
    QPushButton* SwUnoccupiedBtn = nullptr;

    void SwOccupiedBtnClick();
    void SwUnoccupiedBtnClick();

private:
    void SendReport(bool occupied);
};

class TSwitchControlForm : public TGeneratorForm {
    Q_OBJECT
public:
    explicit TSwitchControlForm(TMessageSender sender, QWidget* parent = nullptr);

    TSpinEdit* SwitchNumber = nullptr; // 1 to 2048
    QPushButton* SwCloseBtn = nullptr;
    QPushButton* SWThrownBtn = nullptr;
    QPushButton* CloseBtn = nullptr;

    void SwCloseBtnClick();
    void SWThrownBtnClick();
};

class TArbitraryMessageForm : public TGeneratorForm {
    Q_OBJECT
public:
    explicit TArbitraryMessageForm(TMessageSender sender, QWidget* parent = nullptr);

    QLineEdit* ArbText = nullptr; // the message's bytes in hex, checksum included
    QPushButton* Button1 = nullptr;
    // What became of the last text: sent, or why it was not.
    QLabel* SendResult = nullptr;

    // Send, and Return in the text.
    void Button1Click();
};

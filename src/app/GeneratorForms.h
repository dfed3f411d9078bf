#pragma once
// The three message generators: a sensor report, a switch request and an arbitrary byte string.
// Each button builds one message and hands it to the sender (the main window's link).

#include "link/MessageSender.h"

#include <QWidget>

class QLabel;
class QLineEdit;
class QPushButton;
class TSpinEdit;

// The help page of the generator windows (F1; they have no help button).
inline constexpr int kGeneratorsHelpContext = 14;

class TGenSensFBForm : public QWidget {
    Q_OBJECT
public:
    explicit TGenSensFBForm(TMessageSender sender, QWidget* parent = nullptr);

    QPushButton* CloseBtn = nullptr;
    QPushButton* SwOccupiedBtn = nullptr;
    QPushButton* SwUnoccupiedBtn = nullptr;
    TSpinEdit* BoardNumber = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    TSpinEdit* SensorNumber = nullptr;

    void SwOccupiedBtnClick();
    void SwUnoccupiedBtnClick();

private:
    void Send(bool occupied);
    TMessageSender Sender;
};

class TSwitchControlForm : public QWidget {
    Q_OBJECT
public:
    explicit TSwitchControlForm(TMessageSender sender, QWidget* parent = nullptr);

    QPushButton* CloseBtn = nullptr;
    QPushButton* SwCloseBtn = nullptr;
    QPushButton* SWThrownBtn = nullptr;
    TSpinEdit* SwitchNumber = nullptr;

    void SwCloseBtnClick();
    void SWThrownBtnClick();

private:
    TMessageSender Sender;
};

class TArbitraryMessageForm : public QWidget {
    Q_OBJECT
public:
    explicit TArbitraryMessageForm(TMessageSender sender, QWidget* parent = nullptr);

    QLineEdit* ArbText = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* BitBtn1 = nullptr;
    QLabel* Label1 = nullptr;

    void Button1Click();

private:
    TMessageSender Sender;
};

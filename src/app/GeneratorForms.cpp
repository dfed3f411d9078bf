#include "app/GeneratorForms.h"

#include "messages/LNSensFBMessage.h"
#include "messages/LNSwReqMessage.h"
#include "widgets/FormTools.h"
#include "widgets/HelpContexts.h"
#include "widgets/HelpViewer.h"
#include "widgets/KeyboardAccess.h"
#include "widgets/SpinEdit.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QPushButton* MakeButton(QWidget* owner, const char* name, const char* text)
{
    auto* b = new QPushButton(QString::fromLatin1(text), owner);
    b->setObjectName(QString::fromLatin1(name));
    return b;
}

QLabel* MakeLabel(QWidget* owner, const char* name, const char* text)
{
    auto* l = new QLabel(QString::fromLatin1(text), owner);
    l->setObjectName(QString::fromLatin1(name));
    return l;
}

TSpinEdit* MakeSpin(QWidget* owner, const char* name, int max)
{
    auto* s = new TSpinEdit(1, max, 1, owner);
    s->setObjectName(QString::fromLatin1(name));
    return s;
}

} // namespace

TGeneratorForm::TGeneratorForm(TMessageSender sender, QWidget* parent, const char* name, const char* title)
    : QWidget(parent), Sender(std::move(sender))
{
    setObjectName(QString::fromLatin1(name));
    setWindowTitle(QString::fromLatin1(title));
    SetHelpContext(this, hcGenerators);
    Rows = new QVBoxLayout(this);
    Rows->setSizeConstraint(QLayout::SetFixedSize);
    SetUpKeyboardAccess(this);
}

void TGeneratorForm::Send(std::unique_ptr<TLocoNetMessage> message)
{
    if (Sender) Sender(std::move(message));
}

QPushButton* TGeneratorForm::MakeCloseButton(const char* name)
{
    QPushButton* button = MakeButton(this, name, "&Close");
    connect(button, &QPushButton::clicked, this, [this] { CloseForm(this); });
    return button;
}

TGenSensFBForm::TGenSensFBForm(TMessageSender sender, QWidget* parent)
    : TGeneratorForm(std::move(sender), parent, "GenSensFBForm", "Generate Sensor Msg")
{
    QPushButton* closeButton = MakeCloseButton("CloseBtn");
    SwOccupiedBtn = MakeButton(this, "SwOccupiedBtn", "Occupied");
    SwUnoccupiedBtn = MakeButton(this, "SwUnoccupiedBtn", "Unoccupied");
    BoardNumber = MakeSpin(this, "BoardNumber", 256);
    QLabel* boardLabel = MakeLabel(this, "Label1", "Board");
    QLabel* comma = MakeLabel(this, "Label2", ",");
    QLabel* sensorLabel = MakeLabel(this, "Label3", "Sensor");
    SensorNumber = MakeSpin(this, "SensorNumber", 16);
    boardLabel->setBuddy(BoardNumber);
    sensorLabel->setBuddy(SensorNumber);

    auto* grid = new QGridLayout;
    grid->addWidget(boardLabel, 0, 0);
    grid->addWidget(sensorLabel, 0, 2);
    grid->addWidget(BoardNumber, 1, 0);
    grid->addWidget(comma, 1, 1);
    grid->addWidget(SensorNumber, 1, 2);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(SwOccupiedBtn);
    buttons->addWidget(SwUnoccupiedBtn);
    buttons->addWidget(closeButton);
    Rows->addLayout(grid);
    Rows->addLayout(buttons);

    connect(SwOccupiedBtn, &QPushButton::clicked, this, &TGenSensFBForm::SwOccupiedBtnClick);
    connect(SwUnoccupiedBtn, &QPushButton::clicked, this, &TGenSensFBForm::SwUnoccupiedBtnClick);
}

void TGenSensFBForm::SendReport(bool occupied)
{
    Send(std::make_unique<TLNSensFBMessage>(static_cast<uint32_t>(BoardNumber->Value()),
                                            static_cast<uint32_t>(SensorNumber->Value()), occupied));
}

void TGenSensFBForm::SwOccupiedBtnClick()
{
    SendReport(true);
}
void TGenSensFBForm::SwUnoccupiedBtnClick()
{
    SendReport(false);
}

TSwitchControlForm::TSwitchControlForm(TMessageSender sender, QWidget* parent)
    : TGeneratorForm(std::move(sender), parent, "SwitchControlForm", "Switch Control")
{
    CloseBtn = MakeCloseButton("CloseBtn");
    SwCloseBtn = MakeButton(this, "SwCloseBtn", "SW Close");
    SWThrownBtn = MakeButton(this, "SWThrownBtn", "SW Thrown");
    SwitchNumber = MakeSpin(this, "SwitchNumber", 2048);
    SwitchNumber->setAccessibleName(QStringLiteral("Switch number"));

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(SwCloseBtn);
    buttons->addWidget(SWThrownBtn);
    buttons->addWidget(CloseBtn);
    Rows->addWidget(SwitchNumber);
    Rows->addLayout(buttons);

    connect(SwCloseBtn, &QPushButton::clicked, this, &TSwitchControlForm::SwCloseBtnClick);
    connect(SWThrownBtn, &QPushButton::clicked, this, &TSwitchControlForm::SWThrownBtnClick);
}

void TSwitchControlForm::SwCloseBtnClick()
{
    Send(std::make_unique<TLNSwReqMessage>(static_cast<uint32_t>(SwitchNumber->Value()), 3u));
}

void TSwitchControlForm::SWThrownBtnClick()
{
    Send(std::make_unique<TLNSwReqMessage>(static_cast<uint32_t>(SwitchNumber->Value()), 1u));
}

TArbitraryMessageForm::TArbitraryMessageForm(TMessageSender sender, QWidget* parent)
    : TGeneratorForm(std::move(sender), parent, "ArbitraryMessageForm", "Generate Arbitrary Message")
{
    ArbText = new QLineEdit(this);
    ArbText->setObjectName(QStringLiteral("ArbText"));
    ArbText->setMinimumWidth(280);
    Button1 = MakeButton(this, "Button1", "Send");
    QPushButton* closeButton = MakeCloseButton("BitBtn1");
    QLabel* hint = MakeLabel(this, "Label1", "enter message in hex, including checksum");
    hint->setBuddy(ArbText);
    SendResult = MakeLabel(this, "SendResult", "");
    SendResult->setWordWrap(true);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(Button1);
    buttons->addWidget(closeButton);
    Rows->addWidget(hint);
    Rows->addWidget(ArbText);
    Rows->addWidget(SendResult);
    Rows->addLayout(buttons);

    connect(Button1, &QPushButton::clicked, this, &TArbitraryMessageForm::Button1Click);
    connect(ArbText, &QLineEdit::returnPressed, this, &TArbitraryMessageForm::Button1Click);
    connect(ArbText, &QLineEdit::textEdited, SendResult, &QLabel::clear);
}

void TArbitraryMessageForm::Button1Click()
{
    const std::string text = ArbText->text().toStdString();
    auto message = std::make_unique<TLocoNetMessage>(std::string_view(text));
    // A text that is no message gives an empty one, which the link takes and never writes: the
    // window says so instead of leaving the user waiting for it.
    if (message->GetLength() > 0)
        SendResult->setText(QStringLiteral("Sent: %1").arg(QString::fromStdString(message->HexText()).trimmed()));
    else if (ArbText->text().trimmed().isEmpty())
        SendResult->setText(QStringLiteral("Nothing sent: type the message's bytes in hex, such as 83 7C."));
    else
        SendResult->setText(QStringLiteral("Not sent: \"%1\" is not a LocoNet message. Type two or more bytes in "
                                           "hex, separated by blanks, such as 83 7C.")
                                .arg(ArbText->text().trimmed()));
    Send(std::move(message));
}

#include "app/GeneratorForms.h"

#include "messages/LNSensFBMessage.h"
#include "messages/LNSwReqMessage.h"
#include "widgets/FormTools.h"
#include "widgets/HelpViewer.h"
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

void FixSize(QWidget* form)
{
    form->layout()->setSizeConstraint(QLayout::SetFixedSize);
}

} // namespace

TGenSensFBForm::TGenSensFBForm(TMessageSender sender, QWidget* parent) : QWidget(parent), Sender(std::move(sender))
{
    setObjectName(QStringLiteral("GenSensFBForm"));
    setWindowTitle(QStringLiteral("Generate Sensor Msg"));
    SetHelpContext(this, kGeneratorsHelpContext);
    CloseBtn = MakeButton(this, "CloseBtn", "&Close");
    SwOccupiedBtn = MakeButton(this, "SwOccupiedBtn", "Occupied");
    SwUnoccupiedBtn = MakeButton(this, "SwUnoccupiedBtn", "Unoccupied");
    BoardNumber = MakeSpin(this, "BoardNumber", 256);
    Label1 = MakeLabel(this, "Label1", "Board");
    Label2 = MakeLabel(this, "Label2", ",");
    Label3 = MakeLabel(this, "Label3", "Sensor");
    SensorNumber = MakeSpin(this, "SensorNumber", 16);

    auto* grid = new QGridLayout;
    grid->addWidget(Label1, 0, 0);
    grid->addWidget(Label3, 0, 2);
    grid->addWidget(BoardNumber, 1, 0);
    grid->addWidget(Label2, 1, 1);
    grid->addWidget(SensorNumber, 1, 2);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(SwOccupiedBtn);
    buttons->addWidget(SwUnoccupiedBtn);
    buttons->addWidget(CloseBtn);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buttons);
    FixSize(this);

    connect(SwOccupiedBtn, &QPushButton::clicked, this, &TGenSensFBForm::SwOccupiedBtnClick);
    connect(SwUnoccupiedBtn, &QPushButton::clicked, this, &TGenSensFBForm::SwUnoccupiedBtnClick);
    connect(CloseBtn, &QPushButton::clicked, this, [this] { CloseForm(this); });
}

void TGenSensFBForm::Send(bool occupied)
{
    if (!Sender) return;
    Sender(std::make_unique<TLNSensFBMessage>(static_cast<uint32_t>(BoardNumber->Value()),
                                              static_cast<uint32_t>(SensorNumber->Value()), occupied));
}

void TGenSensFBForm::SwOccupiedBtnClick()
{
    Send(true);
}
void TGenSensFBForm::SwUnoccupiedBtnClick()
{
    Send(false);
}

TSwitchControlForm::TSwitchControlForm(TMessageSender sender, QWidget* parent)
    : QWidget(parent), Sender(std::move(sender))
{
    setObjectName(QStringLiteral("SwitchControlForm"));
    setWindowTitle(QStringLiteral("Switch Control"));
    SetHelpContext(this, kGeneratorsHelpContext);
    CloseBtn = MakeButton(this, "CloseBtn", "&Close");
    SwCloseBtn = MakeButton(this, "SwCloseBtn", "SW Close");
    SWThrownBtn = MakeButton(this, "SWThrownBtn", "SW Thrown");
    SwitchNumber = MakeSpin(this, "SwitchNumber", 2048);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(SwCloseBtn);
    buttons->addWidget(SWThrownBtn);
    buttons->addWidget(CloseBtn);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(SwitchNumber);
    layout->addLayout(buttons);
    FixSize(this);

    connect(SwCloseBtn, &QPushButton::clicked, this, &TSwitchControlForm::SwCloseBtnClick);
    connect(SWThrownBtn, &QPushButton::clicked, this, &TSwitchControlForm::SWThrownBtnClick);
    connect(CloseBtn, &QPushButton::clicked, this, [this] { CloseForm(this); });
}

void TSwitchControlForm::SwCloseBtnClick()
{
    if (Sender) Sender(std::make_unique<TLNSwReqMessage>(static_cast<uint32_t>(SwitchNumber->Value()), 3u));
}

void TSwitchControlForm::SWThrownBtnClick()
{
    if (Sender) Sender(std::make_unique<TLNSwReqMessage>(static_cast<uint32_t>(SwitchNumber->Value()), 1u));
}

TArbitraryMessageForm::TArbitraryMessageForm(TMessageSender sender, QWidget* parent)
    : QWidget(parent), Sender(std::move(sender))
{
    setObjectName(QStringLiteral("ArbitraryMessageForm"));
    setWindowTitle(QStringLiteral("Generate Arbitrary Message"));
    SetHelpContext(this, kGeneratorsHelpContext);
    ArbText = new QLineEdit(this);
    ArbText->setObjectName(QStringLiteral("ArbText"));
    ArbText->setMinimumWidth(280);
    Button1 = MakeButton(this, "Button1", "Send");
    BitBtn1 = MakeButton(this, "BitBtn1", "&Close");
    Label1 = MakeLabel(this, "Label1", "enter message in hex, including checksum");

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(Button1);
    buttons->addWidget(BitBtn1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addWidget(ArbText);
    layout->addLayout(buttons);
    FixSize(this);

    connect(Button1, &QPushButton::clicked, this, &TArbitraryMessageForm::Button1Click);
    connect(BitBtn1, &QPushButton::clicked, this, [this] { CloseForm(this); });
}

void TArbitraryMessageForm::Button1Click()
{
    if (!Sender) return;
    const std::string text = ArbText->text().toStdString();
    Sender(std::make_unique<TLocoNetMessage>(std::string_view(text)));
}

#include "messages/DisplayForm.h"

#include "link/LocoNetMessage.h"
#include "widgets/DialogSeam.h"
#include "widgets/FormTools.h"
#include "widgets/HelpViewer.h"
#include "widgets/LineList.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

TDisplayForm::TDisplayForm(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("DisplayForm"));
    setWindowTitle(QStringLiteral("LocoNet Message display"));
    SetHelpContext(this, kHelpContext);

    Label1 = new QLabel(QStringLiteral("no. Messages displayed:"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Button1 = new QPushButton(QStringLiteral("Clear Messages"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    MsgCountEdit = new QLineEdit(QStringLiteral("0"), this);
    MsgCountEdit->setObjectName(QStringLiteral("MsgCountEdit"));
    MsgCountEdit->setReadOnly(true);
    MsgCountEdit->setMaximumWidth(100);
    ExpandButton = new QCheckBox(QStringLiteral("Expand Messages"), this);
    ExpandButton->setObjectName(QStringLiteral("ExpandButton"));
    ExpandButton->setChecked(true);
    Button2 = new QPushButton(QStringLiteral("Save to File..."), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    BitBtn1 = new QPushButton(QStringLiteral("&Close"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    MsgList = new TLineListView(this);
    MsgList->setObjectName(QStringLiteral("MsgList"));
    HelpButton = new QPushButton(QStringLiteral("&Help"), this);
    HelpButton->setObjectName(QStringLiteral("HelpButton"));

    auto* row = new QHBoxLayout;
    row->addWidget(Label1);
    row->addWidget(MsgCountEdit);
    row->addWidget(ExpandButton);
    row->addStretch(1);
    row->addWidget(Button1);
    row->addWidget(Button2);
    row->addWidget(HelpButton);
    row->addWidget(BitBtn1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(MsgList, 1);
    layout->addLayout(row);
    resize(720, 400);

    connect(Button1, &QPushButton::clicked, this, &TDisplayForm::ClearButtonClick);
    connect(Button2, &QPushButton::clicked, this, &TDisplayForm::SaveButtonClick);
    connect(BitBtn1, &QPushButton::clicked, this, [this] { CloseForm(this); });
    connect(HelpButton, &QPushButton::clicked, this, &TDisplayForm::HelpButtonClick);
    // The count is shown together with the lines, once per batch.
    connect(MsgList, &TLineListView::Flushed, this, &TDisplayForm::ShowCount);
}

void TDisplayForm::AddMessage(const TLocoNetMessage& message)
{
    const std::string line = ExpandButton->isChecked() ? message.Text() : message.TLocoNetMessage::Text();
    MsgList->AddLine(line);
    ++DisplayedCount;
}

void TDisplayForm::Flush()
{
    MsgList->Flush();
}

void TDisplayForm::ShowCount()
{
    MsgCountEdit->setText(QString::number(DisplayedCount));
}

void TDisplayForm::ClearButtonClick()
{
    MsgList->Clear();
    DisplayedCount = 0;
    ShowCount();
}

bool TDisplayForm::SaveToFile(const QString& fileName, QString* error) const
{
    return MsgList->SaveToFile(fileName, error);
}

void TDisplayForm::SaveButtonClick()
{
    const QString fileName = AskSaveFileName(this, QStringLiteral("Save"), QDir::homePath(),
                                             QStringLiteral("Text files (*.txt)"), QStringLiteral("txt"));
    if (fileName.isEmpty()) return;
    QString error;
    if (!SaveToFile(fileName, &error))
        ShowMessageBox(this, QStringLiteral("Railscope"), QStringLiteral("Could not save %1: %2").arg(fileName, error),
                       QMessageBox::Ok, true);
}

void TDisplayForm::HelpButtonClick()
{
    ShowHelpContext(kHelpContext);
}

void TDisplayForm::closeEvent(QCloseEvent* event)
{
    QWidget::closeEvent(event);
    if (event->isAccepted()) emit FormClosed();
}

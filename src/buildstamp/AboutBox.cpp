#include "buildstamp/AboutBox.h"

#include "buildstamp/BuildStamp.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TAboutBox::TAboutBox(QWidget* parent, const QString& versionFile)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::MSWindowsFixedSizeDialogHint)
{
    setObjectName(QStringLiteral("AboutBox"));
    setWindowTitle(QStringLiteral("About:"));
    setModal(false);

    BuildStamp = new TBuildStamp(this);
    if (!versionFile.isEmpty()) BuildStamp->SetFileName(versionFile);

    auto* grid = new QGridLayout;
    auto addRow = [&](int row, const char* caption, const char* name) {
        grid->addWidget(new QLabel(QString::fromLatin1(caption), this), row, 0);
        auto* value = new QLabel(this);
        value->setObjectName(QString::fromLatin1(name));
        value->setTextInteractionFlags(Qt::TextSelectableByMouse);
        grid->addWidget(value, row, 1);
        return value;
    };
    ApplicationLabel = addRow(0, "Application Name:", "ApplicationLabel");
    AuthorLabel = addRow(1, "Author:", "AuthorLabel");
    CompanyLabel = addRow(2, "Company:", "CompanyLabel");
    BuildLabel = addRow(3, "Build: ", "BuildLabel");
    grid->setColumnStretch(1, 1);

    AcknowledgementLabel =
        new QLabel(QStringLiteral("Railscope monitors LocoNet and configures and programs Brenmoor accessory boards. "
                                  "Built with the Qt toolkit. Thanks to everyone who tested it on their layouts."),
                   this);
    AcknowledgementLabel->setObjectName(QStringLiteral("AcknowledgementLabel"));
    AcknowledgementLabel->setWordWrap(true);

    CloseButton = new QPushButton(QStringLiteral("&Close"), this);
    CloseButton->setObjectName(QStringLiteral("CloseButton"));
    connect(CloseButton, &QPushButton::clicked, this, &QDialog::close);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(CloseButton);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(AcknowledgementLabel);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    setMinimumWidth(360);

    FormCreate();
}

void TAboutBox::FormCreate()
{
    ApplicationLabel->setText(BuildStamp->GetProductName());
    AuthorLabel->setText(BuildStamp->GetInternalName());
    CompanyLabel->setText(BuildStamp->GetCompanyName());
    BuildText = BuildStamp->GetFileVersion();
    BuildLabel->setText(BuildText);
}

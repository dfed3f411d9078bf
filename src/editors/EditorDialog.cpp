#include "editors/EditorDialog.h"

#include "widgets/DialogSeam.h"
#include "widgets/HelpViewer.h"
#include "widgets/KeyboardAccess.h"

#include <QHBoxLayout>
#include <QPushButton>

TEditorDialog::TEditorDialog(QWidget* parent, int helpContext) : QDialog(parent), Help(helpContext)
{
    setModal(true);
    SetHelpContext(this, helpContext);
    OKBtn = new QPushButton(QStringLiteral("OK"), this);
    OKBtn->setObjectName(QStringLiteral("OKBtn"));
    OKBtn->setDefault(true);
    CancelBtn = new QPushButton(QStringLiteral("Cancel"), this);
    CancelBtn->setObjectName(QStringLiteral("CancelBtn"));
    HelpBtn = new QPushButton(QStringLiteral("Help"), this);
    HelpBtn->setObjectName(QStringLiteral("HelpBtn"));
    Buttons = new QHBoxLayout;
    Buttons->addStretch(1);
    Buttons->addWidget(OKBtn);
    Buttons->addWidget(CancelBtn);
    Buttons->addWidget(HelpBtn);
    connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
    connect(HelpBtn, &QPushButton::clicked, this, [this] { ShowHelpContext(Help); });
    // The window's controls are laid out by the time it shows: Tab follows their layout.
    SetUpKeyboardAccess(this);
}

bool TEditorDialog::Execute()
{
    return RunModalDialog(*this) == QDialog::Accepted;
}

void TEditorDialog::done(int result)
{
    if (result == QDialog::Accepted)
        WriteBack();
    else
        DiscardEdits();
    QDialog::done(result);
}

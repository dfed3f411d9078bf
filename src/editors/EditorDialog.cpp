#include "editors/EditorDialog.h"

#include "boards/HoldCheck.h"

#include "widgets/DialogSeam.h"
#include "widgets/HelpViewer.h"
#include "widgets/KeyboardAccess.h"

#include <QHBoxLayout>
#include <QLabel>
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
    if (result == QDialog::Accepted) {
        if (!KeepsWhatTheBoardCannotHold()) return;
        WriteBack();
    } else {
        DiscardEdits();
    }
    QDialog::done(result);
}

bool TEditorDialog::KeepsWhatTheBoardCannotHold()
{
    const std::unique_ptr<TConfigurableBoard> after = BoardAfterOK();
    if (!after) return true;
    const THoldReport report = CheckHold(*after, after->SWVersion);
    if (report.CanBeHeld()) return true;
    const std::vector<std::string> lines = report.Lines();
    const QString text = QStringLiteral("The board cannot hold these values as they stand:\n\n%1\n\n"
                                        "A value of a signal, zone, cell, route or sequence is changed in its own "
                                        "window: double-click its line.")
                             .arg(ReportText(lines, 12));
    const int answer =
        AskQuestion(this, windowTitle(), text, {QStringLiteral("Go Back"), QStringLiteral("Keep Values")}, 0);
    if (answer == 1) return true;
    // Back in the window, at the first field of its own that the board cannot hold.
    for (const THoldDifference& difference : report.Differences) {
        if (!difference.Part.empty()) continue;
        for (const QLabel* label : findChildren<QLabel*>()) {
            QString name = label->text().remove(QLatin1Char('&')).trimmed();
            if (name.endsWith(QLatin1Char(':'))) name.chop(1);
            if (label->buddy() && name == QString::fromStdString(difference.Item)) {
                label->buddy()->setFocus();
                return false;
            }
        }
    }
    return false;
}

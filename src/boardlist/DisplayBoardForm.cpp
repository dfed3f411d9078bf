#include "boardlist/DisplayBoardForm.h"

#include "boardlist/RtfWriter.h"
#include "boards/SafeFile.h"
#include "widgets/DialogSeam.h"
#include "widgets/HelpContexts.h"
#include "widgets/HelpViewer.h"
#include "widgets/KeyboardAccess.h"

#include <QAction>
#include <QFileDialog>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QMenuBar>
#include <QMessageBox>
#include <QPrinter>
#include <QPushButton>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QVBoxLayout>

TDisplayBoardForm::TDisplayBoardForm(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("DisplayBoardForm"));
    setWindowTitle(QStringLiteral("Display Board Settings"));
    SetHelpContext(this, hcBoardDescription);
    setAttribute(Qt::WA_DeleteOnClose);

    auto* layout = new QVBoxLayout(this);
    auto* menuBar = new QMenuBar(this);
    layout->setMenuBar(menuBar);
    QMenu* file = menuBar->addMenu(QStringLiteral("&File"));
    SaveAs1 = file->addAction(QStringLiteral("Save &As..."), this, &TDisplayBoardForm::SaveAs1Click);
    Print1 = file->addAction(QStringLiteral("&Print..."), this, &TDisplayBoardForm::PrintTextClick);
    Close1 = file->addAction(QStringLiteral("&Close"), this, &TDisplayBoardForm::Close1Click);
    QMenu* edit = menuBar->addMenu(QStringLiteral("&Edit"));
    Copy1 = edit->addAction(QStringLiteral("&Copy"), this, &TDisplayBoardForm::CopyTextClick);

    DisplayList = new QTextEdit(this);
    DisplayList->setObjectName(QStringLiteral("DisplayList"));
    DisplayList->setReadOnly(true);
    DisplayList->setLineWrapMode(QTextEdit::NoWrap);
    DisplayList->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    DisplayList->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    DisplayList->setMinimumSize(560, 420);
    layout->addWidget(DisplayList);

    auto* buttons = new QHBoxLayout;
    CopyTextButton = new QPushButton(QStringLiteral("Copy Text"), this);
    PrintTextButton = new QPushButton(QStringLiteral("Print Text"), this);
    HelpButton = new QPushButton(QStringLiteral("Help"), this);
    CloseButton = new QPushButton(QStringLiteral("Close"), this);
    buttons->addWidget(CopyTextButton);
    buttons->addWidget(PrintTextButton);
    buttons->addStretch();
    buttons->addWidget(HelpButton);
    buttons->addWidget(CloseButton);
    layout->addLayout(buttons);
    connect(CopyTextButton, &QPushButton::clicked, this, &TDisplayBoardForm::CopyTextClick);
    connect(PrintTextButton, &QPushButton::clicked, this, &TDisplayBoardForm::PrintTextClick);
    connect(HelpButton, &QPushButton::clicked, this, &TDisplayBoardForm::HelpButtonClick);
    connect(CloseButton, &QPushButton::clicked, this, &TDisplayBoardForm::Close1Click);

    SaveDialog = new QFileDialog(this, QString(), QString(), QStringLiteral("Rich Text files (*.rtf)"));
    SaveDialog->setObjectName(QStringLiteral("SaveDialog"));
    SaveDialog->setAcceptMode(QFileDialog::AcceptSave);
    SaveDialog->setDefaultSuffix(QStringLiteral("rtf"));

    SetUpKeyboardAccess(this);

    ShownLines << QString::fromLatin1(kFirstLine);
    ShowLines();
}

void TDisplayBoardForm::AddLines(const std::vector<std::string>& lines)
{
    for (const std::string& line : lines) ShownLines << QString::fromStdString(line);
    ShowLines();
}

void TDisplayBoardForm::ShowLines()
{
    DisplayList->setPlainText(ShownLines.join(QLatin1Char('\n')));
}

void TDisplayBoardForm::CopyTextClick()
{
    DisplayList->selectAll();
    DisplayList->copy();
    QTextCursor cursor = DisplayList->textCursor();
    cursor.clearSelection();
    DisplayList->setTextCursor(cursor);
}

void TDisplayBoardForm::PrintOn(QPrinter& printer) const
{
    printer.setDocName(QString::fromLatin1(kDocumentTitle));
    DisplayList->document()->print(&printer);
}

void TDisplayBoardForm::PrintTextClick()
{
    QPrinter printer;
    printer.setDocName(QString::fromLatin1(kDocumentTitle));
    if (!AskPrinter(this, printer)) return;
    PrintOn(printer);
}

bool TDisplayBoardForm::SaveAsRtf(const QString& fileName, QString& error) const
{
    const std::string rtf = MakeRtfDocument(ShownLines);
    std::string why;
    if (!WriteFileReplacing(
            fileName.toStdString(), [&rtf](std::ostream& out) { out << rtf; }, why)) {
        error = QStringLiteral("Could not save %1: %2").arg(fileName, QString::fromStdString(why));
        return false;
    }
    return true;
}

void TDisplayBoardForm::SaveAs1Click()
{
    const QString fileName = RunFileDialog(this, *SaveDialog);
    if (fileName.isEmpty()) return;
    QString error;
    if (!SaveAsRtf(fileName, error)) ShowMessageBox(this, windowTitle(), error, QMessageBox::Ok, true);
}

void TDisplayBoardForm::Close1Click()
{
    if (auto* frame = parentWidget(); frame && frame->inherits("QMdiSubWindow")) {
        frame->close();
        return;
    }
    close();
}

void TDisplayBoardForm::HelpButtonClick()
{
    ShowHelpContext(hcBoardDescription);
}

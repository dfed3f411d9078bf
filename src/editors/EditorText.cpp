#include "editors/EditorText.h"

#include <QLineEdit>
#include <QStringDecoder>
#include <QToolTip>

const char* const kQuoteLeftOut = "A board file cannot keep a double quote (\") in a text, so it was left out.";

QLineEdit* NewTextEdit(QWidget* parent, const QString& objectName)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(objectName);
    // Only what the user types or pastes; a text shown from the board stays as it is.
    QObject::connect(edit, &QLineEdit::textEdited, edit, [edit](const QString& text) {
        if (!text.contains(QLatin1Char('"'))) return;
        const qsizetype cursor = edit->cursorPosition();
        const qsizetype before = text.left(cursor).count(QLatin1Char('"'));
        edit->setText(QString(text).remove(QLatin1Char('"')));
        edit->setCursorPosition(int(cursor - before));
        const QRect cursorRect = edit->inputMethodQuery(Qt::ImCursorRectangle).toRect();
        QToolTip::showText(edit->mapToGlobal(cursorRect.bottomLeft()), QString::fromLatin1(kQuoteLeftOut), edit);
    });
    return edit;
}

QString ModelText(const std::string& text)
{
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString shown = utf8(QByteArrayView(text.data(), qsizetype(text.size())));
    if (!utf8.hasError()) return shown;
    return QString::fromLatin1(text.data(), qsizetype(text.size()));
}

void ShowModelText(QLineEdit& edit, const std::string& text)
{
    edit.setText(ModelText(text));
    edit.setCursorPosition(0);
}

void StoreModelText(const QLineEdit& edit, std::string& text)
{
    if (edit.text() != ModelText(text)) text = edit.text().toStdString();
}

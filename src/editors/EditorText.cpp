#include "editors/EditorText.h"

#include <QLineEdit>
#include <QRegularExpression>
#include <QRegularExpressionValidator>
#include <QStringDecoder>

QLineEdit* NewTextEdit(QWidget* parent, const QString& objectName)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(objectName);
    edit->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[^\"]*")), edit));
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

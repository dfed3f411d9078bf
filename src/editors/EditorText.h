#pragma once
// The text fields of the board model in the editor windows. Board files may hold text in any
// 8-bit encoding; a text the user did not edit is written back byte for byte, and a text the
// user types cannot hold a double quote, which the board file cannot store inside a field (other
// programs read the files too, so the quote is not written in a form of our own either).

#include <QString>

#include <string>

class QLineEdit;
class QWidget;

// A one-line text edit that leaves out the double quotes the user types or pastes, and says so at
// the text, where the user is looking.
QLineEdit* NewTextEdit(QWidget* parent, const QString& objectName);
// What the edit says when it leaves a double quote out.
extern const char* const kQuoteLeftOut;

// Shows a model text: UTF-8 when it is valid UTF-8, else Latin-1.
QString ModelText(const std::string& text);
void ShowModelText(QLineEdit& edit, const std::string& text);
// Stores the edit's text into the model field only when it differs from what the field shows.
void StoreModelText(const QLineEdit& edit, std::string& text);

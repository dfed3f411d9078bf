#pragma once
// Small pieces that the board editor windows share: filling a list of text lines without losing
// the user's place in it, sizing a list to a number of lines, and writing an edited text back.

#include <QStringList>

#include <string>
#include <vector>

class QLineEdit;
class QListWidget;
class QPlainTextEdit;

// Replaces the lines of a list, keeping the selected line and the scroll position.
void FillListLines(QListWidget* list, const QStringList& lines);
void FillListLines(QListWidget* list, const std::vector<std::string>& lines);

// Makes the list tall enough to show `lines` lines without scrolling.
void SetVisibleLines(QListWidget* list, int lines);

// Writes the edit's text into the field only when it differs from what the field shows, so that
// an untouched text (also one that is not valid UTF-8) is kept byte for byte.
void StoreEditedText(const QLineEdit* edit, std::string& field);
void StoreEditedText(const QPlainTextEdit* edit, std::string& field);

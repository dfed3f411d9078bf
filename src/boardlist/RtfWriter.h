#pragma once
// Plain lines of text as a Rich Text Format document that word processors open with the same
// lines: one paragraph a line, a fixed-pitch font so that indented lines keep their columns.

#include <QString>
#include <QStringList>

#include <string>

// The RTF text of the lines (ASCII only: \ { } are escaped, other characters written as \uN).
std::string MakeRtfDocument(const QStringList& lines);
// The text of one line as it appears inside the document.
std::string RtfEscape(const QString& line);

#pragma once
// Board texts are kept as UTF-8 bytes and shown in text edits. A text goes back into its field
// only when the user changed it, so that bytes an older board file holds that are not valid
// UTF-8 survive a window closed with OK.

#include <QString>

#include <string>

inline QString TextOf(const std::string& field)
{
    return QString::fromStdString(field);
}

inline void WriteTextBack(const QString& shown, std::string& field)
{
    if (shown != QString::fromStdString(field)) field = shown.toStdString();
}

#pragma once
// For editor tests whose boards hold values on purpose that the board cannot keep: a board
// window's OK asks about them, and these tests answer "Keep Values".
#include "widgets/DialogSeam.h"

#include <QStringList>

inline void AnswerKeepValues()
{
    DialogSeam().Question = [](QWidget*, const QString&, const QString&, const QStringList& buttons, int) {
        return int(buttons.indexOf(QStringLiteral("Keep Values")));
    };
}

#pragma once
// Keyboard access, set up once for a whole window from its layout, so that each window's own code
// only places its controls and names them:
// - Tab moves through the controls in reading order, which is the order of the layout: the items
//   of each layout in turn (a grid row by row and each row left to right, a form row by row, a box
//   in its direction), into groups and panels as they come. The row of OK, Cancel and Help that a
//   window lays out last therefore comes last.
// - The window opens with the focus on the first control of that order.
// - Every label that names a control (its buddy), every titled group and every check box gets an
//   Alt accelerator that no other control of the window (nor, for a child window of the frame, the
//   frame's menu) uses. A text that already marks one keeps it; a lone "&" in a text ("Sensor 1 &
//   2") stays a character.
// - For a child window of the frame, whose accelerators share the frame's window with the frame's
//   menus: while the focus is inside it, Alt and a letter of its own (a menu of its own, a button,
//   a label) act there, not on the frame's menu of the same letter.

#include <QList>
#include <QString>

#include <functional>

class QListWidget;
class QObject;
class QWidget;

// Sets up the window's keyboard access when it is first shown (its layout is complete by then).
void SetUpKeyboardAccess(QWidget* window);

// The controls that Tab visits, in the reading order of the window's layout.
QList<QWidget*> ReadingOrder(const QWidget* window);
// Chains the window's controls for Tab in reading order.
void SetReadingTabOrder(QWidget* window);
// Gives the labels, groups and check boxes of the window their accelerators.
void GiveAccelerators(QWidget* window);

// Changes the text of a label, titled group or button that has an accelerator, keeping its letter
// when the new text holds it and choosing another free one when it does not.
void SetAcceleratedText(QWidget* control, const QString& text);
// A text without its accelerator marks, as it reads ("&&" is one "&").
QString PlainText(const QString& text);

// Opens a line of a list on a double click, and on Enter or Return while the line is current (so
// that the key does not press the window's default button and close it).
void ConnectOpenLine(QListWidget* list, QObject* context, std::function<void(int row)> open);

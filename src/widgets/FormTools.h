#pragma once
// Placing and closing the program's windows, naming their controls, and their menu entries.

#include <QAction>
#include <QMenu>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

class QGridLayout;
class QLabel;
class QWidget;

// Closes a form, or the frame's child window that holds it.
void CloseForm(QWidget* form);

// Places a modal child dialog 30 pixels right of and below its parent's top-left corner.
void PlaceChildDialog(QWidget* dialog, const QWidget* parent);

// Moves a child window (or the frame that holds it) 30 pixels right of and below the top-left
// corner of `anchor` (or of the frame that holds it).
void PlaceBesideAnchor(QWidget* child, const QWidget* anchor);

// Keeps a child window of the frame (or the frame that holds it) inside the frame's work area:
// moved in as far as its size allows, and a resizable one larger than the area made smaller.
void KeepInsideArea(QWidget* child);

// A label that names `field` (its buddy: the label's accelerator and screen readers lead to the
// field), made beside it in the field's parent.
QLabel* LabelFor(const QString& text, QWidget* field);
// Puts `field` into `grid` at `row`, in the columns from `column` + 1 on, with a label that names
// it in `column`; returns the label.
QLabel* AddLabelled(QGridLayout* grid, const QString& text, QWidget* field, int row, int column = 0,
                    int columnSpan = 1, Qt::Alignment alignment = {});

// Where a window of its own (help, the speedometer) opens beside the main window, all in screen
// coordinates: right of the main window's frame when the screen has room for it, else left of it,
// else over the main window's right edge just below its menu bar. Never over the menu bar (whose
// bottom edge is `menuBottom`), and on the screen as far as the window's size allows.
QPoint BesideMainWindow(const QRect& screen, const QRect& mainFrame, int menuBottom, const QSize& size);
// Moves a window of its own beside the main window `main` (the program's main window when null);
// before it is shown, so that the position is its frame's.
void PlaceBesideMainWindow(QWidget* window, const QWidget* main = nullptr);

// Gives a control the object name by which the program and its tests find it.
template <typename T> T* Named(T* widget, const char* name)
{
    widget->setObjectName(QLatin1String(name));
    return widget;
}

// Adds a menu entry, named as the program and its tests find it, that runs `handler` of `owner`.
template <typename T>
QAction* AddMenuAction(QMenu* menu, const char* text, T* owner, void (T::*handler)(), const char* name)
{
    QAction* action = Named(menu->addAction(QString::fromLatin1(text)), name);
    QObject::connect(action, &QAction::triggered, owner, [owner, handler] { (owner->*handler)(); });
    return action;
}

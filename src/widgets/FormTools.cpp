#include "widgets/FormTools.h"

#include <QApplication>
#include <QGridLayout>
#include <QLabel>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QScreen>
#include <QWidget>
#include <QWindow>

#include <algorithm>

namespace {

// The widget that is moved about for `w`: the frame of a child window, or the widget itself.
QWidget* PlacedWidget(QWidget* w)
{
    if (!w) return nullptr;
    if (auto* frame = qobject_cast<QMdiSubWindow*>(w->parentWidget())) return frame;
    return w;
}

} // namespace

QLabel* LabelFor(const QString& text, QWidget* field)
{
    auto* label = new QLabel(text, field->parentWidget());
    label->setBuddy(field);
    return label;
}

QLabel* AddLabelled(QGridLayout* grid, const QString& text, QWidget* field, int row, int column, int columnSpan,
                    Qt::Alignment alignment)
{
    QLabel* label = LabelFor(text, field);
    grid->addWidget(label, row, column);
    grid->addWidget(field, row, column + 1, 1, columnSpan, alignment);
    return label;
}

void CloseForm(QWidget* form)
{
    if (!form) return;
    if (auto* frame = qobject_cast<QMdiSubWindow*>(form->parentWidget())) {
        frame->close();
        return;
    }
    form->close();
}

void PlaceChildDialog(QWidget* dialog, const QWidget* parent)
{
    if (!dialog || !parent) return;
    const QWidget* top = parent->window();
    const QPoint origin = top->isWindow() ? top->pos() : top->mapToGlobal(QPoint(0, 0));
    dialog->move(origin + QPoint(30, 30));
}

void PlaceBesideAnchor(QWidget* child, const QWidget* anchor)
{
    QWidget* moved = PlacedWidget(child);
    const QWidget* reference = PlacedWidget(const_cast<QWidget*>(anchor));
    if (!moved || !reference) return;
    QPoint origin = reference->pos();
    // A top-level child placed beside a widget inside another window: work in screen coordinates.
    if (moved->isWindow() && !reference->isWindow())
        origin =
            reference->parentWidget() ? reference->parentWidget()->mapToGlobal(reference->pos()) : reference->pos();
    moved->move(origin + QPoint(30, 30));
    KeepInsideArea(child);
}

void KeepInsideArea(QWidget* child)
{
    auto* frame = qobject_cast<QMdiSubWindow*>(PlacedWidget(child));
    QMdiArea* area = frame ? frame->mdiArea() : nullptr;
    if (!area) return;
    const QSize room = area->viewport()->size();
    if (room.isEmpty()) return;
    QSize size = frame->size();
    if (frame->minimumSize() != frame->maximumSize()) {
        size = size.boundedTo(room).expandedTo(frame->minimumSize());
        frame->resize(size);
    }
    const int x = std::max(0, std::min(frame->x(), room.width() - size.width()));
    const int y = std::max(0, std::min(frame->y(), room.height() - size.height()));
    frame->move(x, y);
}

QPoint BesideMainWindow(const QRect& screen, const QRect& mainFrame, int menuBottom, const QSize& size)
{
    // On the screen, as far as the size allows; the top edge wins over the bottom one.
    const auto onScreen = [&screen, &size](QPoint at, int top) {
        at.setX(std::max(screen.left(), std::min(at.x(), screen.right() + 1 - size.width())));
        at.setY(std::max(top, std::min(at.y(), screen.bottom() + 1 - size.height())));
        return at;
    };
    const int top = std::max(screen.top(), mainFrame.top());
    if (mainFrame.right() + 1 + size.width() <= screen.right() + 1)
        return onScreen({mainFrame.right() + 1, top}, screen.top());
    if (mainFrame.left() - size.width() >= screen.left())
        return onScreen({mainFrame.left() - size.width(), top}, screen.top());
    return onScreen({mainFrame.right() + 1 - size.width(), menuBottom + 1}, menuBottom + 1);
}

void PlaceBesideMainWindow(QWidget* window, const QWidget* main)
{
    if (!main) {
        for (const QWidget* w : QApplication::topLevelWidgets())
            if (qobject_cast<const QMainWindow*>(w) && w->isVisible()) main = w;
    }
    if (!window || !main || !main->isVisible()) return;
    QScreen* screen = main->screen();
    if (!screen) return;
    int menuBottom = main->mapToGlobal(QPoint(0, 0)).y();
    if (const auto* frame = qobject_cast<const QMainWindow*>(main); frame && frame->menuWidget())
        menuBottom = frame->menuWidget()->mapToGlobal(QPoint(0, frame->menuWidget()->height() - 1)).y();
    // A window not yet shown has no frame yet: it will get one like the main window's, and takes
    // the size its contents ask for.
    if (!window->isVisible() && !window->testAttribute(Qt::WA_Resized)) window->adjustSize();
    QSize size = window->frameGeometry().size();
    if (!window->isVisible()) size += main->frameGeometry().size() - main->geometry().size();
    const QPoint at = BesideMainWindow(screen->availableGeometry(), main->frameGeometry(), menuBottom, size);
    if (QWindow* handle = window->windowHandle())
        handle->setFramePosition(at);
    else
        window->move(at);
}

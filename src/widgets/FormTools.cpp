#include "widgets/FormTools.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QWidget>

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

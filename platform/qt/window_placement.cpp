#include "platform/qt/window_placement.h"

#include <QApplication>
#include <QGuiApplication>
#include <QMainWindow>
#include <QScreen>
#include <QWidget>
#include <QWindow>

#include <algorithm>

namespace wv {

namespace {

QRect ScreenAround(QPoint p, const QWidget* owner) {
    QScreen* screen = QGuiApplication::screenAt(p);
    if (!screen && owner) screen = owner->window()->screen();
    if (!screen) screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect();
}

// The band of the owner's window above its work area: title, menu bar and toolbars.
QRect OwnerBars(const QWidget* owner) {
    if (!owner) return {};
    const QRect frame = owner->window()->frameGeometry();
    const QRect work = OwnerWorkArea(owner);
    if (work.isEmpty() || work.top() <= frame.top()) return {};
    return QRect(frame.left(), frame.top(), frame.width(), work.top() - frame.top());
}

}  // namespace

QRect OwnerWorkArea(const QWidget* owner) {
    if (!owner) return {};
    const QWidget* top = owner->window();
    const QWidget* work = top;
    if (auto* main = qobject_cast<const QMainWindow*>(top); main && main->centralWidget()) work = main->centralWidget();
    return QRect(work->mapToGlobal(QPoint(0, 0)), work->size());
}

QPoint OwnerCorner(const QWidget* owner) {
    const QRect work = OwnerWorkArea(owner);
    return work.isEmpty() && owner ? owner->window()->frameGeometry().topLeft() : work.topLeft();
}

QSize FrameSize(QWidget* window) {
    // The frame's margins are known once the window has its native window.
    if (!window->windowHandle()) window->winId();
    return window->frameGeometry().size().expandedTo(window->size());
}

QPoint KeepInSight(QPoint topLeft, QSize size, const QWidget* owner) {
    QRect r(topLeft, size);
    const QRect bars = OwnerBars(owner);
    if (!bars.isEmpty() && r.intersects(bars)) r.moveTop(bars.bottom() + 1);
    const QRect screen = ScreenAround(r.center(), owner);
    if (screen.isEmpty()) return r.topLeft();
    if (r.right() > screen.right()) r.moveRight(screen.right());
    if (r.bottom() > screen.bottom()) r.moveBottom(screen.bottom());
    if (r.left() < screen.left()) r.moveLeft(screen.left());
    if (r.top() < screen.top()) r.moveTop(screen.top());
    // A screen too low for both: the bars stay visible, the window's foot may not.
    if (!bars.isEmpty() && r.intersects(bars)) r.moveTop(bars.bottom() + 1);
    return r.topLeft();
}

void KeepShownInSight(QWidget* window, const QWidget* owner) {
    const QPoint at = KeepInSight(window->pos(), FrameSize(window), owner);
    if (at != window->pos()) window->move(at);
}

QWidget* ProgramWindow() {
    if (QWidget* active = QApplication::activeWindow()) return active;
    for (QWidget* t : QApplication::topLevelWidgets())
        if (t->isVisible() && qobject_cast<QMainWindow*>(t)) return t;
    return nullptr;
}

void CentreWhenShown(QWidget* dialog) {
    QWidget* owner = ProgramWindow();
    if (!dialog || !owner || owner == dialog || dialog->parentWidget()) return;
    dialog->winId();
    if (QWindow* own = dialog->windowHandle(); own && owner->window()->windowHandle())
        own->setTransientParent(owner->window()->windowHandle());
}

}  // namespace wv

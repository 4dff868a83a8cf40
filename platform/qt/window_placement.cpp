#include "platform/qt/window_placement.h"

#include <QApplication>
#include <QCursor>
#include <QEvent>
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
    // A screen too low for both: the bars stay visible; PlaceFrame cuts the window's foot.
    if (!bars.isEmpty() && r.intersects(bars)) r.moveTop(bars.bottom() + 1);
    return r.topLeft();
}

namespace {

// Runs `then` once, when the window is first on the screen with its frame: the window
// system reports the frame's margins by the time the window is exposed.
class WhenFramed : public QObject {
public:
    static constexpr char kName[] = "wavoraWhenFramed";
    WhenFramed(QWidget* window, std::function<void()> then) : QObject(window), m_then(std::move(then)) {
        setObjectName(QString::fromLatin1(kName));
        window->winId();
        window->windowHandle()->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* o, QEvent* e) override {
        auto* w = qobject_cast<QWindow*>(o);
        if (e->type() == QEvent::Expose && w && w->isExposed()) {
            w->removeEventFilter(this);
            // After this event: a move from inside an exposure is dropped by some
            // window systems.
            QMetaObject::invokeMethod(this, [this] {
                m_then();
                deleteLater();
            }, Qt::QueuedConnection);
        }
        return false;
    }

private:
    std::function<void()> m_then;
};

bool Framed(QWidget* window) { return window->windowHandle() && window->windowHandle()->isExposed(); }

// A frame of `frame` at `at` that reaches past the right or the foot of its screen's
// available area (taller than a netbook's screen below the owner's toolbar) is cut there:
// the window loses what lies off, as far as its minimum size lets it, and its list or
// tree scrolls, so that its buttons stay on the screen.
void CutToScreen(QWidget* window, QPoint at, QSize frame) {
    const QRect r(at, frame);
    const QRect screen = ScreenAround(r.center(), window);
    if (screen.isEmpty()) return;
    const QSize off(std::max(0, r.right() - screen.right()), std::max(0, r.bottom() - screen.bottom()));
    if (!off.isNull()) window->resize(window->size() - off);
}

}  // namespace

void PlaceFrame(QWidget* window, std::function<QPoint(QSize frameSize)> where) {
    if (!window) return;
    const QSize frame = FrameSize(window);
    const QPoint at = where(frame);
    window->move(at);
    CutToScreen(window, at, frame);
    if (Framed(window)) return;
    // Any earlier wish for this window gives way to this one.
    // (No meta-object of its own: found by its name.)
    for (QObject* old : window->findChildren<QObject*>(QString::fromLatin1(WhenFramed::kName), Qt::FindDirectChildrenOnly))
        delete old;
    new WhenFramed(window, [window, where = std::move(where)] {
        const QSize frame = window->frameGeometry().size();
        const QPoint at = where(frame);
        if (window->frameGeometry().topLeft() != at) window->move(at);
        CutToScreen(window, at, frame);
    });
}

QPoint Beside(const QWidget* window, QSize size) {
    constexpr int kGap = 8;
    const QRect w = window->window()->frameGeometry();
    const QRect screen = ScreenAround(w.center(), window);
    const QPoint places[] = {{w.right() + 1 + kGap, w.top()},
                             {w.left() - kGap - size.width(), w.top()},
                             {w.left(), w.bottom() + 1 + kGap},
                             {w.left(), w.top() - kGap - size.height()}};
    for (const QPoint& p : places)
        if (screen.isEmpty() || screen.contains(QRect(p, size))) return p;
    return KeepInSight(places[0], size, nullptr);
}

void KeepOnScreen(QWidget* window) {
    if (!window) return;
    // The screen it shows on: where the pointer is, as a window manager places a new
    // window there.
    QScreen* screen = QGuiApplication::screenAt(QCursor::pos());
    if (!screen) screen = QGuiApplication::primaryScreen();
    if (!screen) return;
    const QRect avail = screen->availableGeometry();
    window->resize(window->size().boundedTo(avail.size()));
    new WhenFramed(window, [window, avail] {
        QRect frame = window->frameGeometry();
        const QSize extra(std::max(0, frame.width() - avail.width()), std::max(0, frame.height() - avail.height()));
        if (!extra.isNull()) {
            window->resize(window->size() - extra);
            frame.setSize(frame.size() - extra);
        }
        const QPoint at = KeepInSight(frame.topLeft(), frame.size(), nullptr);
        if (at != frame.topLeft()) window->move(at);
    });
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

#include "gui/gui_driver.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QRadioButton>
#include <QProgressBar>
#include <QPushButton>
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPixmap>
#include <QScreen>
#include <QStyle>
#include <QStyleOptionTitleBar>
#include <QTest>
#include <QWindow>

#include <gtest/gtest.h>

#ifdef WAVORA_GUI_HAVE_XCB
#include <QtGui/qguiapplication_platform.h>
#include <xcb/xcb.h>
#endif

#include "support/english_words.h"


#include <csignal>
#include <fcntl.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>

namespace wv::gui {

bool WaitFor(const std::function<bool()>& done, int ms) { return QTest::qWaitFor(done, ms); }

std::string ConfigFolder() { return QDir::currentPath().toStdString() + "/config"; }
std::string RuntimeFolder() { return QDir::currentPath().toStdString() + "/runtime"; }

void PrepareScratchStart(const std::string& version) {
    QDir().mkpath(QString::fromStdString(RuntimeFolder()));
    QDir().mkpath(QString::fromStdString(ConfigFolder()));
    ::chmod(RuntimeFolder().c_str(), 0700);
    ::setenv("XDG_RUNTIME_DIR", RuntimeFolder().c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", ConfigFolder().c_str(), 1);
    if (version.empty()) return;
    std::ofstream out("SYSVER.DAT", std::ios::binary | std::ios::trunc);
    out << version << "\r\n";
}

void ScriptWhenShown(QWidget& window, std::unique_ptr<ModalAnswerer>& modals,
                     std::function<void(ModalAnswerer&)> script) {
    modals = std::make_unique<ModalAnswerer>();
    modals->Start();
    QObject::connect(qApp, &QCoreApplication::aboutToQuit, [&modals] { modals.reset(); });
    QTimer::singleShot(0, qApp, [&window, &modals, script = std::move(script)] {
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
        script(*modals);
        if (window.isVisible()) {
            window.close();
            if (!WaitFor([&] { return !window.isVisible(); }, 20000)) QCoreApplication::exit(1);
        }
    });
}

void Pump(int ms) { QTest::qWait(ms); }

// ---- menus ----

namespace {

// A click or a key reaches a window the window manager has made active: the window a
// user clicks in becomes the active one (click to focus).
void EnsureActive(QWidget* widget) {
    QWidget* top = widget ? widget->window() : nullptr;
    if (!top || qobject_cast<QMenu*>(top) || QApplication::activeWindow() == top) return;
    if (QWidget* modal = QApplication::activeModalWidget(); modal && modal != top) return;
    top->activateWindow();
    (void)QTest::qWaitForWindowActive(top, 2000);
}

// A menu text as compared: the mnemonic marks and the key after a tab left out.
QString Plain(const QString& text) {
    QString t = text.section(QLatin1Char('\t'), 0, 0);
    t.remove(QLatin1Char('&'));
    return t;
}

QAction* TitleAction(QMenuBar* bar, const QString& title) {
    for (QAction* a : bar->actions())
        if (a->menu() && (a->text() == title || Plain(a->text()) == Plain(title))) return a;
    return nullptr;
}

}  // namespace

QMenu* MenuOf(QMenuBar* bar, const QString& title) {
    QAction* a = TitleAction(bar, title);
    return a ? a->menu() : nullptr;
}

QStringList MenuTitles(QMenuBar* bar) {
    QStringList titles;
    for (QAction* a : bar->actions())
        if (a->menu() && a->isVisible()) titles << a->text();
    return titles;
}

QMenu* OpenMenu(QMenuBar* bar, const QString& title) {
    QAction* a = TitleAction(bar, title);
    if (!a) return nullptr;
    QMenu* menu = a->menu();
    const QPoint at = bar->actionGeometry(a).center();
    EnsureActive(bar);
    QTest::mouseMove(bar, at);
    QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, at);
    if (!WaitFor([menu] { return menu->isVisible(); }, 3000)) {
        std::fprintf(stderr, "menu %s did not open: %d actions, title at %d,%d %dx%d, popup %s\n", qPrintable(title),
                     int(menu->actions().size()), bar->actionGeometry(a).x(), bar->actionGeometry(a).y(),
                     bar->actionGeometry(a).width(), bar->actionGeometry(a).height(),
                     QApplication::activePopupWidget() ? QApplication::activePopupWidget()->metaObject()->className() : "none");
        return nullptr;
    }
    return menu;
}

bool EscapeMenu(QMenu* menu) {
    if (!menu || !menu->isVisible()) return true;
    QTest::keyClick(menu, Qt::Key_Escape);
    return WaitFor([menu] { return !menu->isVisible(); }, 3000);
}

QAction* FindItem(QMenu* menu, const QString& text) {
    if (!menu) return nullptr;
    for (QAction* a : menu->actions())
        if (!a->isSeparator() && a->text() == text) return a;
    for (QAction* a : menu->actions())
        if (!a->isSeparator() && Plain(a->text()) == Plain(text)) return a;
    return nullptr;
}

QMenu* OpenSubmenu(QMenu* menu, QAction* submenu) {
    if (!menu || !submenu || !submenu->menu()) return nullptr;
    QMenu* sub = submenu->menu();
    const QPoint at = menu->actionGeometry(submenu).center();
    QTest::mouseMove(menu, at);
    QTest::mouseClick(menu, Qt::LeftButton, Qt::NoModifier, at);
    if (!WaitFor([sub] { return sub->isVisible(); }, 3000)) {
        std::fprintf(stderr, "submenu %s did not open; active popup %s, current %s\n", qPrintable(submenu->text()),
                     QApplication::activePopupWidget() ? qPrintable(QApplication::activePopupWidget()->objectName()) : "none",
                     menu->activeAction() ? qPrintable(menu->activeAction()->text()) : "none");
        Shot(QStringLiteral("debug-submenu"));
        return nullptr;
    }
    return sub;
}

void ClickItem(QMenu* menu, QAction* item) {
    const QPoint at = menu->actionGeometry(item).center();
    QTest::mouseMove(menu, at);
    QTest::mouseClick(menu, Qt::LeftButton, Qt::NoModifier, at);
}

namespace {

void CloseAll(const std::vector<QMenu*>& open) {
    for (auto it = open.rbegin(); it != open.rend(); ++it) EscapeMenu(*it);
}

}  // namespace

ChooseResult Choose(QMenuBar* bar, const MenuPath& path) {
    if (path.size() < 2) return ChooseResult::Missing;
    QMenu* menu = OpenMenu(bar, path.front());
    if (!menu) return ChooseResult::Missing;
    std::vector<QMenu*> open{menu};
    for (int i = 1; i + 1 < path.size(); ++i) {
        QAction* sub = FindItem(menu, path[i]);
        QMenu* next = sub && sub->isEnabled() ? OpenSubmenu(menu, sub) : nullptr;
        if (!next) {
            CloseAll(open);
            return sub ? ChooseResult::Disabled : ChooseResult::Missing;
        }
        open.push_back(next);
        menu = next;
    }
    QAction* item = FindItem(menu, path.back());
    if (!item || !item->isEnabled()) {
        CloseAll(open);
        return item ? ChooseResult::Disabled : ChooseResult::Missing;
    }
    ClickItem(menu, item);
    return ChooseResult::Chosen;
}

namespace {

void CollectPaths(QMenu* menu, const MenuPath& prefix, std::vector<MenuPath>& out) {
    for (QAction* a : menu->actions()) {
        if (a->isSeparator() || !a->isVisible()) continue;
        MenuPath p = prefix;
        p << a->text();
        if (a->menu())
            CollectPaths(a->menu(), p, out);
        else
            out.push_back(p);
    }
}

}  // namespace

std::vector<MenuPath> CommandPaths(QMenuBar* bar) {
    std::vector<MenuPath> out;
    for (const QString& title : MenuTitles(bar)) {
        // Opened, because some entries (the recent files) are only made when it opens.
        QMenu* menu = OpenMenu(bar, title);
        if (!menu) continue;
        CollectPaths(menu, MenuPath{title}, out);
        EscapeMenu(menu);
    }
    return out;
}

QAction* ActionAt(QMenuBar* bar, const MenuPath& path) {
    if (path.size() < 2) return nullptr;
    QMenu* menu = MenuOf(bar, path.front());
    for (int i = 1; menu && i + 1 < path.size(); ++i) {
        QAction* sub = FindItem(menu, path[i]);
        menu = sub ? sub->menu() : nullptr;
    }
    return menu ? FindItem(menu, path.back()) : nullptr;
}

QString PathText(const MenuPath& path) { return Plain(path.join(QStringLiteral(" > "))); }

bool OpenEveryMenu(QMenuBar* bar, int times, QString* failed) {
    for (const QString& title : MenuTitles(bar)) {
        for (int i = 0; i < times; ++i) {
            QMenu* menu = OpenMenu(bar, title);
            if (!menu || !EscapeMenu(menu)) {
                if (failed) *failed = title;
                return false;
            }
        }
    }
    return true;
}

bool ShootEveryMenu(QMenuBar* bar, const QString& prefix, QString* failed) {
    int i = 0;
    for (const QString& title : MenuTitles(bar)) {
        QMenu* menu = OpenMenu(bar, title);
        if (!menu) {
            if (failed) *failed = title;
            return false;
        }
        Shot(QStringLiteral("%1-menu%2").arg(prefix).arg(++i));
        EscapeMenu(menu);
    }
    return true;
}

// ---- input ----

void Key(QWidget* widget, Qt::Key key, Qt::KeyboardModifiers modifiers) {
    EnsureActive(widget);
    QTest::keyClick(widget, key, modifiers);
}

void Click(QWidget* widget, QPoint at, Qt::MouseButton button, Qt::KeyboardModifiers modifiers) {
    EnsureActive(widget);
    QTest::mouseMove(widget, at);
    QTest::mouseClick(widget, button, modifiers, at);
}

void DoubleClick(QWidget* widget, QPoint at) {
    EnsureActive(widget);
    QTest::mouseMove(widget, at);
    QTest::mouseDClick(widget, Qt::LeftButton, Qt::NoModifier, at);
}

void Drag(QWidget* widget, QPoint from, QPoint to, int steps) {
    EnsureActive(widget);
    // The hand moves over the screen: a widget that moves with the drag (a split bar)
    // gets each point in its own coordinates of that moment.
    const QPoint start = widget->mapToGlobal(from);
    const QPoint end = widget->mapToGlobal(to);
    QTest::mouseMove(widget, from);
    QTest::mousePress(widget, Qt::LeftButton, Qt::NoModifier, from);
    for (int i = 1; i <= steps; ++i) {
        QTest::mouseMove(widget, widget->mapFromGlobal(start + (end - start) * i / steps));
        QTest::qWait(5);
    }
    QTest::mouseRelease(widget, Qt::LeftButton, Qt::NoModifier, widget->mapFromGlobal(end));
}

void Type(QWidget* widget, const QString& text) { QTest::keyClicks(widget, text); }

void TypeInto(QWidget* dialog, int id, const QString& text) {
    auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("c%1").arg(id));
    ASSERT_NE(edit, nullptr) << "control " << id;
    Click(edit, edit->rect().center());
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(edit, text);
}

void ClickButton(QAbstractButton* button) {
    // A check box or a radio button takes clicks on its box and its text only.
    QPoint at = button->rect().center();
    if (qobject_cast<QCheckBox*>(button) || qobject_cast<QRadioButton*>(button)) at.setX(std::min(6, at.x()));
    Click(button, at);
}

void ClickTitleBarButton(QMdiSubWindow* sub, int subControl) {
    // Where the window's own title bar puts its buttons (a frame of 4 pixels around the
    // title bar of a window that is not maximized).
    QStyleOptionTitleBar opt;
    opt.initFrom(sub);
    opt.text = sub->windowTitle();
    opt.subControls = QStyle::SC_All;
    opt.titleBarFlags = sub->windowFlags();
    opt.titleBarState = static_cast<int>(sub->windowState()) | QStyle::State_Active;
    opt.state |= QStyle::State_Active;
    const int border = sub->isMaximized() ? 0 : 4;
    const int height = sub->style()->pixelMetric(QStyle::PM_TitleBarHeight, &opt, sub);
    opt.rect = QRect(border, border, sub->width() - 2 * border, height - border);
    const QRect r = sub->style()->subControlRect(QStyle::CC_TitleBar, &opt,
                                                 static_cast<QStyle::SubControl>(subControl), sub);
    // An inactive window is brought forward with a click on its title first: the press
    // that activates it does not reach a button.
    EnsureActive(sub);
    if (sub->mdiArea() && sub->mdiArea()->activeSubWindow() != sub) {
        const QPoint title(opt.rect.center().x() / 2, opt.rect.center().y());
        QTest::mouseMove(sub, title);
        QTest::qWait(30);
        QTest::mouseClick(sub, Qt::LeftButton, Qt::NoModifier, title);
        QTest::qWait(30);
    }
    // The pointer moves onto the button in two steps, as a hand's motion comes: the title
    // bar takes the first move to end its move mode and the next to see the button.
    QTest::mouseMove(sub, r.center() - QPoint(2, 0));
    QTest::qWait(20);
    QTest::mouseMove(sub, r.center());
    QTest::qWait(20);
    QTest::mouseClick(sub, Qt::LeftButton, Qt::NoModifier, r.center());
}

void ClickCloseBox(QMdiSubWindow* sub) { ClickTitleBarButton(sub, QStyle::SC_TitleBarCloseButton); }

void ClickMinimizeBox(QMdiSubWindow* sub) {
    // On a busy machine the title bar can take the click before it sees the pointer over
    // its button; the user clicks again.
    QPointer<QMdiSubWindow> w(sub);
    for (int attempt = 0; attempt < 3 && w && !w->isMinimized(); ++attempt) {
        ClickTitleBarButton(w, QStyle::SC_TitleBarMinButton);
        WaitFor([&] { return !w || w->isMinimized(); }, 500);
    }
}

QWidget* FocusTarget(QWidget* fallback) {
    QWidget* f = QApplication::focusWidget();
    return f ? f : fallback;
}

bool SendWindowManagerClose(QWidget* topLevel) {
#ifdef WAVORA_GUI_HAVE_XCB
    auto* x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
    if (!x11 || !topLevel || !topLevel->windowHandle()) return false;
    xcb_connection_t* c = x11->connection();
    auto atom = [c](const char* name) {
        xcb_intern_atom_reply_t* r =
            xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, static_cast<uint16_t>(std::strlen(name)), name), nullptr);
        const xcb_atom_t a = r ? r->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
        std::free(r);
        return a;
    };
    xcb_client_message_event_t ev{};
    ev.response_type = XCB_CLIENT_MESSAGE;
    ev.format = 32;
    ev.window = static_cast<xcb_window_t>(topLevel->winId());
    ev.type = atom("WM_PROTOCOLS");
    ev.data.data32[0] = atom("WM_DELETE_WINDOW");
    ev.data.data32[1] = XCB_CURRENT_TIME;
    xcb_send_event(c, 0, ev.window, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char*>(&ev));
    xcb_flush(c);
    return true;
#else
    (void)topLevel;
    return false;
#endif
}

// ---- modal windows ----

ModalAnswerer::ModalAnswerer() {
    m_timer.setInterval(25);
    // The timer only posts the look: Qt does not fire a timer again while its own slot
    // runs, and an answer's click can run a nested loop (a message box opened by the
    // click) in which the next look must happen.
    QObject::connect(&m_timer, &QTimer::timeout, [this] {
        if (m_tickPosted) return;
        m_tickPosted = true;
        QTimer::singleShot(0, &m_timer, [this] {
            m_tickPosted = false;
            Tick();
        });
    });
}

ModalAnswerer::~ModalAnswerer() { m_timer.stop(); }

void ModalAnswerer::Start() { m_timer.start(); }
void ModalAnswerer::Stop() { m_timer.stop(); }

void ModalAnswerer::On(Rule rule) { m_rules.push_back(std::move(rule)); }
void ModalAnswerer::ClearRules() { m_rules.clear(); }

void ModalAnswerer::OnBox(const QString& text, int standardButton, int times) {
    Rule r;
    r.name = "box: " + text.toStdString();
    r.match = [text](QWidget* w) {
        auto* box = qobject_cast<QMessageBox*>(w);
        return box && box->text().contains(text);
    };
    r.act = [standardButton](QWidget* w) { PressButton(w, standardButton); };
    r.times = times;
    On(std::move(r));
}

void ModalAnswerer::OnTitle(const QString& title, std::function<void(QWidget*)> act, int times) {
    Rule r;
    r.name = "title: " + title.toStdString();
    r.match = [title](QWidget* w) { return w->windowTitle().contains(title); };
    r.act = std::move(act);
    r.times = times;
    On(std::move(r));
}

QStringList ModalAnswerer::LogLines(std::size_t from) const {
    QStringList lines;
    for (std::size_t i = from; i < m_log.size(); ++i)
        lines << m_log[i].kind + QLatin1Char('|') + m_log[i].title + QLatin1Char('|') + m_log[i].text +
                     QLatin1Char('|') + m_log[i].answer;
    return lines;
}

void ModalAnswerer::PressButton(QWidget* w, int standardButton) {
    auto* box = qobject_cast<QMessageBox*>(w);
    if (!box) return;
    QAbstractButton* b = box->button(static_cast<QMessageBox::StandardButton>(standardButton));
    if (b) QTest::mouseClick(b, Qt::LeftButton, Qt::NoModifier, b->rect().center());
}

void ModalAnswerer::PressDialogButton(QWidget* dialog, int id) {
    auto* b = dialog->findChild<QAbstractButton*>(QStringLiteral("c%1").arg(id));
    if (b && b->isEnabled()) ClickButton(b);
}

void ModalAnswerer::AnswerFileDialog(QWidget* w, const QString& path) {
    auto* fd = qobject_cast<QFileDialog*>(w);
    if (!fd) return;
    QAbstractButton* accept = nullptr;
    if (auto* box = fd->findChild<QDialogButtonBox*>(QStringLiteral("buttonBox")))
        for (QAbstractButton* b : box->buttons())
            if (box->buttonRole(b) == QDialogButtonBox::AcceptRole) accept = b;
    auto* edit = fd->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    if (!edit || !accept) {
        fd->selectFile(path);
        QMetaObject::invokeMethod(fd, "accept");
        return;
    }
    // The name typed into the name field, as a user types it, then the accept button
    // pressed. On a busy machine the dialog can finish reading its folder after the name
    // was typed and change the field: the user then types again.
    QPointer<QFileDialog> open(fd);
    for (int attempt = 0; attempt < 3 && open && open->isVisible(); ++attempt) {
        // Typing reaches a window once it has the focus: on a busy X server the dialog's
        // activation can come after it shows.
        if (!open->isActiveWindow()) {
            open->activateWindow();
            (void)QTest::qWaitForWindowActive(open, 2000);
            if (!open || !open->isVisible()) return;
        }
        if (edit->text() != path) {
            edit->setFocus();
            QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
            QTest::keyClicks(edit, path);
        }
        QTest::qWait(30);
        if (!open || !open->isVisible()) return;
        // The completion list over the field closes with Escape, as a user closes it.
        if (QWidget* popup = QApplication::activePopupWidget()) {
            QTest::keyClick(popup, Qt::Key_Escape);
            QTest::qWait(20);
        }
        if (edit->text() != path || !accept->isEnabled()) continue;
        QTest::mouseClick(accept, Qt::LeftButton, Qt::NoModifier, accept->rect().center());
        WaitFor([&] { return !open || !open->isVisible(); }, 500);
    }
}

bool ModalAnswerer::HandsOff(const QWidget* w) {
    // Progress windows (the long computations', the solver's) and the wait box while
    // results are read close by themselves; a user leaves them alone.
    const QString kind = QString::fromLatin1(w->metaObject()->className());
    return kind.contains(QStringLiteral("Progress")) || w->findChild<QProgressBar*>() ||
           w->windowTitle() == QStringLiteral("計算結果ﾌｧｲﾙ読込中");
}

bool ModalAnswerer::Answering(QWidget* w) const {
    return std::any_of(m_answering.begin(), m_answering.end(), [w](const QPointer<QWidget>& a) { return a == w; });
}

void ModalAnswerer::Tick() {
    QWidget* w = QApplication::activeModalWidget();
    if (w && HandsOff(w)) return;
    if (!w) {
        QWidget* popup = QApplication::activePopupWidget();
        auto* menu = qobject_cast<QMenu*>(popup);
        if (!m_closePopups || !menu) return;
        // Menus of the menu bar are the test's own; a view's information popup is not.
        for (QObject* o = menu->parent(); o; o = o->parent())
            if (qobject_cast<QMenuBar*>(o) || qobject_cast<QMenu*>(o)) return;
        if (Answering(menu)) return;
        const AnswerScope scope(m_answering, menu);
        Seen seen;
        seen.kind = QStringLiteral("QMenu");
        seen.text = menu->actions().isEmpty() ? QString() : menu->actions().front()->text();
        seen.answer = QStringLiteral("Escape");
        seen.where = menu->frameGeometry();
        m_log.push_back(seen);
        QTest::keyClick(menu, Qt::Key_Escape);
        return;
    }
    if (!w->isVisible() || Answering(w)) return;
    // A window is answered on its second look (its own loop runs by then); one that is
    // still there four looks later gets the next, firmer answer.
    int* looks = nullptr;
    for (auto& [p, n] : m_attempts)
        if (p == w) looks = &n;
    if (!looks) {
        m_attempts.erase(std::remove_if(m_attempts.begin(), m_attempts.end(), [](auto& e) { return e.first.isNull(); }),
                         m_attempts.end());
        m_attempts.emplace_back(w, 0);
        return;
    }
    const int look = ++*looks;
    if ((look - 1) % 4 != 0) return;
    const int round = (look - 1) / 4;
    const AnswerScope scope(m_answering, w);
    Seen seen;
    seen.kind = QString::fromLatin1(w->metaObject()->className());
    seen.title = w->windowTitle();
    if (auto* box = qobject_cast<QMessageBox*>(w)) seen.text = box->text();
    seen.where = w->frameGeometry();
    for (QAbstractButton* b : w->findChildren<QAbstractButton*>())
        if (b->isVisible() && qobject_cast<QDialogButtonBox*>(b->parentWidget())) seen.buttons << b->text();
    bool handled = false;
    if (round == 0) {
        for (auto it = m_rules.rbegin(); it != m_rules.rend(); ++it) {
            if (it->times == 0 || !it->match(w)) continue;
            if (it->times > 0) --it->times;
            seen.answer = QString::fromStdString("rule " + it->name);
            it->act(w);
            handled = true;
            break;
        }
    }
    if (!handled) Default(w, round, seen);
    std::fprintf(stderr, "[window %s \"%s\"%s%s] -> %s\n", qPrintable(seen.kind), qPrintable(seen.title),
                 seen.text.isEmpty() ? "" : " ", qPrintable(seen.text.left(60)), qPrintable(seen.answer));
    m_log.push_back(seen);
}

void ModalAnswerer::Default(QWidget* w, int round, Seen& seen) {
    if (auto* box = qobject_cast<QMessageBox*>(w)) {
        QAbstractButton* b = box->defaultButton();
        if (!b)
            for (QAbstractButton* x : box->buttons())
                if (box->buttonRole(x) == QMessageBox::AcceptRole || box->buttonRole(x) == QMessageBox::YesRole) {
                    b = x;
                    break;
                }
        if (!b) b = box->escapeButton();
        if (b && round == 0) {
            seen.answer = b->text();
            QTest::mouseClick(b, Qt::LeftButton, Qt::NoModifier, b->rect().center());
        } else {
            seen.answer = QStringLiteral("done(0)");
            box->done(0);
        }
        return;
    }
    if (qobject_cast<QFileDialog*>(w)) {
        seen.answer = round == 0 ? QStringLiteral("Escape") : QStringLiteral("reject()");
        if (round == 0)
            QTest::keyClick(w, Qt::Key_Escape);
        else if (auto* d = qobject_cast<QDialog*>(w))
            d->reject();
        return;
    }
    if (w->findChild<QAbstractButton*>(QStringLiteral("c1")) && round < 2) {
        // A dialog that keeps coming back after OK (an input repeated until the user
        // stops) is ended with Cancel the third time.
        const bool again = round == 0 && ++m_okCounts[w->windowTitle()] > 2;
        const bool ok = round == 0 && !again;
        seen.answer = ok ? QStringLiteral("OK") : QStringLiteral("Cancel");
        PressDialogButton(w, ok ? 1 : 2);
        return;
    }
    if (round <= 2) {
        seen.answer = QStringLiteral("Escape");
        QTest::keyClick(w, Qt::Key_Escape);
        return;
    }
    seen.answer = QStringLiteral("reject()");
    if (auto* d = qobject_cast<QDialog*>(w))
        d->reject();
    else
        w->close();
}

// ---- the X server's own view ----

#ifdef WAVORA_GUI_HAVE_XCB
namespace {

// A connection of the test's own: what it reads is the server's, not Qt's.
struct XConnection {
    XConnection() : c(xcb_connect(nullptr, nullptr)) {
        if (xcb_connection_has_error(c)) return;
        root = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    }
    ~XConnection() { xcb_disconnect(c); }
    explicit operator bool() const { return root != nullptr; }
    xcb_atom_t Atom(const char* name) const {
        xcb_intern_atom_reply_t* r =
            xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, static_cast<uint16_t>(std::strlen(name)), name), nullptr);
        const xcb_atom_t a = r ? r->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
        std::free(r);
        return a;
    }
    xcb_connection_t* c;
    xcb_screen_t* root = nullptr;
};

pid_t g_windowManager = -1;

void StopWindowManager() {
    if (g_windowManager <= 0) return;
    ::kill(g_windowManager, SIGTERM);
    ::waitpid(g_windowManager, nullptr, 0);
    g_windowManager = -1;
}

bool WindowManagerRuns(const XConnection& x) {
    xcb_get_property_reply_t* r = xcb_get_property_reply(
        x.c, xcb_get_property(x.c, 0, x.root->root, x.Atom("_NET_SUPPORTING_WM_CHECK"), XCB_ATOM_WINDOW, 0, 1),
        nullptr);
    const bool runs = r && xcb_get_property_value_length(r) == 4;
    std::free(r);
    return runs;
}

// Keycode of a keysym in the server's keyboard map (first column), 0 when unmapped.
xcb_keycode_t KeycodeOf(const XConnection& x, uint32_t keysym) {
    const xcb_setup_t* setup = xcb_get_setup(x.c);
    const int first = setup->min_keycode, count = setup->max_keycode - setup->min_keycode + 1;
    xcb_get_keyboard_mapping_reply_t* r = xcb_get_keyboard_mapping_reply(
        x.c, xcb_get_keyboard_mapping(x.c, static_cast<xcb_keycode_t>(first), static_cast<uint8_t>(count)), nullptr);
    if (!r) return 0;
    const xcb_keysym_t* syms = xcb_get_keyboard_mapping_keysyms(r);
    xcb_keycode_t code = 0;
    for (int k = 0; k < count && !code; ++k)
        for (int j = 0; j < r->keysyms_per_keycode && !code; ++j)
            if (syms[k * r->keysyms_per_keycode + j] == keysym) code = static_cast<xcb_keycode_t>(first + k);
    std::free(r);
    return code;
}

// The X keysym of a letter, digit or function key.
uint32_t KeysymOf(Qt::Key key) {
    if (key >= Qt::Key_A && key <= Qt::Key_Z) return static_cast<uint32_t>('a' + (key - Qt::Key_A));
    if (key >= Qt::Key_0 && key <= Qt::Key_9) return static_cast<uint32_t>(key);
    if (key >= Qt::Key_F1 && key <= Qt::Key_F12) return 0xffbe + static_cast<uint32_t>(key - Qt::Key_F1);
    switch (key) {
    case Qt::Key_Escape: return 0xff1b;
    case Qt::Key_Return: return 0xff0d;
    case Qt::Key_Tab: return 0xff09;
    case Qt::Key_Home: return 0xff50;
    case Qt::Key_End: return 0xff57;
    default: return 0;
    }
}

// A window's title (_NET_WM_NAME), "" when it has none.
QString TitleOf(const XConnection& x, xcb_window_t w) {
    xcb_get_property_reply_t* r = xcb_get_property_reply(
        x.c, xcb_get_property(x.c, 0, w, x.Atom("_NET_WM_NAME"), x.Atom("UTF8_STRING"), 0, 1024), nullptr);
    QString title;
    if (r) title = QString::fromUtf8(static_cast<const char*>(xcb_get_property_value(r)), xcb_get_property_value_length(r));
    std::free(r);
    return title;
}

}  // namespace
#endif

bool StartWindowManager(std::string* error) {
#ifdef WAVORA_GUI_HAVE_XCB
    if (g_windowManager > 0) return true;
    const pid_t pid = ::fork();
    if (pid < 0) {
        if (error) *error = "fork failed";
        return false;
    }
    if (pid == 0) {
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);
        const int log = ::open("openbox.log", O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        if (log >= 0) {
            ::dup2(log, STDOUT_FILENO);
            ::dup2(log, STDERR_FILENO);
        }
        ::execlp("openbox", "openbox", "--sm-disable", static_cast<char*>(nullptr));
        ::_exit(127);
    }
    g_windowManager = pid;
    std::atexit(StopWindowManager);
    // It runs once it has put its mark on the root window.
    for (int i = 0; i < 250; ++i) {
        int status = 0;
        if (::waitpid(pid, &status, WNOHANG) == pid) {
            g_windowManager = -1;
            if (error) *error = "openbox ended at once (scripts/install-deps.sh installs it, package openbox)";
            return false;
        }
        {
            XConnection x;
            if (x && WindowManagerRuns(x)) return true;
        }
        ::usleep(20000);
    }
    if (error) *error = "openbox did not take the screen within 5 s";
    return false;
#else
    if (error) *error = "built without xcb";
    return false;
#endif
}

QRect XFrameGeometry(const QWidget* topLevel) {
#ifdef WAVORA_GUI_HAVE_XCB
    if (!topLevel || !topLevel->windowHandle()) return {};
    XConnection x;
    if (!x) return {};
    // Up from the program's window to the child of the root that holds it.
    xcb_window_t w = static_cast<xcb_window_t>(topLevel->winId());
    for (;;) {
        xcb_query_tree_reply_t* t = xcb_query_tree_reply(x.c, xcb_query_tree(x.c, w), nullptr);
        if (!t) return {};
        const xcb_window_t parent = t->parent, root = t->root;
        std::free(t);
        if (parent == root || parent == XCB_WINDOW_NONE) break;
        w = parent;
    }
    xcb_get_geometry_reply_t* g = xcb_get_geometry_reply(x.c, xcb_get_geometry(x.c, w), nullptr);
    if (!g) return {};
    const QRect r(g->x, g->y, g->width + 2 * g->border_width, g->height + 2 * g->border_width);
    std::free(g);
    return r;
#else
    (void)topLevel;
    return {};
#endif
}

QPoint XClientOrigin(const QWidget* topLevel) {
#ifdef WAVORA_GUI_HAVE_XCB
    if (!topLevel || !topLevel->windowHandle()) return {};
    XConnection x;
    if (!x) return {};
    xcb_translate_coordinates_reply_t* t = xcb_translate_coordinates_reply(
        x.c, xcb_translate_coordinates(x.c, static_cast<xcb_window_t>(topLevel->winId()), x.root->root, 0, 0), nullptr);
    const QPoint p = t ? QPoint(t->dst_x, t->dst_y) : QPoint();
    std::free(t);
    return p;
#else
    (void)topLevel;
    return {};
#endif
}

bool XHasFocus(const QWidget* topLevel) {
#ifdef WAVORA_GUI_HAVE_XCB
    if (!topLevel || !topLevel->windowHandle()) return false;
    XConnection x;
    if (!x) return false;
    xcb_get_input_focus_reply_t* f = xcb_get_input_focus_reply(x.c, xcb_get_input_focus(x.c), nullptr);
    const bool has = f && f->focus == static_cast<xcb_window_t>(topLevel->winId());
    std::free(f);
    return has;
#else
    (void)topLevel;
    return false;
#endif
}

QString XWindowTitle(const QWidget* topLevel) {
#ifdef WAVORA_GUI_HAVE_XCB
    if (!topLevel || !topLevel->windowHandle()) return {};
    XConnection x;
    return x ? TitleOf(x, static_cast<xcb_window_t>(topLevel->winId())) : QString();
#else
    (void)topLevel;
    return {};
#endif
}

QRect XScreenGeometry() {
#ifdef WAVORA_GUI_HAVE_XCB
    XConnection x;
    return x ? QRect(0, 0, x.root->width_in_pixels, x.root->height_in_pixels) : QRect();
#else
    return {};
#endif
}

bool XKeyToFocus(Qt::Key key, Qt::KeyboardModifiers modifiers) {
#ifdef WAVORA_GUI_HAVE_XCB
    XConnection x;
    if (!x) return false;
    const xcb_keycode_t code = KeycodeOf(x, KeysymOf(key));
    if (!code) return false;
    xcb_get_input_focus_reply_t* f = xcb_get_input_focus_reply(x.c, xcb_get_input_focus(x.c), nullptr);
    xcb_window_t target = f ? f->focus : static_cast<xcb_window_t>(XCB_WINDOW_NONE);
    std::free(f);
    if (target == XCB_WINDOW_NONE) return true;  // the keyboard goes nowhere
    if (target == XCB_INPUT_FOCUS_POINTER_ROOT || target == x.root->root) {
        // The window under the pointer, as deep as it goes.
        target = x.root->root;
        for (;;) {
            xcb_query_pointer_reply_t* p = xcb_query_pointer_reply(x.c, xcb_query_pointer(x.c, target), nullptr);
            const xcb_window_t child = p ? p->child : static_cast<xcb_window_t>(XCB_WINDOW_NONE);
            std::free(p);
            if (child == XCB_WINDOW_NONE) break;
            target = child;
        }
    }
    uint16_t state = 0;
    if (modifiers & Qt::ShiftModifier) state |= XCB_MOD_MASK_SHIFT;
    if (modifiers & Qt::ControlModifier) state |= XCB_MOD_MASK_CONTROL;
    if (modifiers & Qt::AltModifier) state |= XCB_MOD_MASK_1;
    for (const uint8_t type : {uint8_t(XCB_KEY_PRESS), uint8_t(XCB_KEY_RELEASE)}) {
        xcb_key_press_event_t ev{};
        ev.response_type = type;
        ev.detail = code;
        ev.time = XCB_CURRENT_TIME;
        ev.root = x.root->root;
        ev.event = target;
        ev.child = XCB_WINDOW_NONE;
        ev.state = state;
        ev.same_screen = 1;
        const uint32_t mask = type == XCB_KEY_PRESS ? XCB_EVENT_MASK_KEY_PRESS : XCB_EVENT_MASK_KEY_RELEASE;
        xcb_send_event(x.c, 1, target, mask, reinterpret_cast<const char*>(&ev));
    }
    // A round trip: the server has sent the events on before this returns.
    std::free(xcb_get_input_focus_reply(x.c, xcb_get_input_focus(x.c), nullptr));
    return true;
#else
    (void)key;
    (void)modifiers;
    return false;
#endif
}

QString XFocusTitle() {
#ifdef WAVORA_GUI_HAVE_XCB
    XConnection x;
    if (!x) return {};
    xcb_get_input_focus_reply_t* f = xcb_get_input_focus_reply(x.c, xcb_get_input_focus(x.c), nullptr);
    xcb_window_t w = f ? f->focus : static_cast<xcb_window_t>(XCB_WINDOW_NONE);
    std::free(f);
    // Up from the focus window (a toolkit may focus a child of its own) to one with a title.
    while (w != XCB_WINDOW_NONE && w != XCB_INPUT_FOCUS_POINTER_ROOT && w != x.root->root) {
        const QString title = TitleOf(x, w);
        if (!title.isEmpty()) return title;
        xcb_query_tree_reply_t* t = xcb_query_tree_reply(x.c, xcb_query_tree(x.c, w), nullptr);
        w = t ? t->parent : static_cast<xcb_window_t>(XCB_WINDOW_NONE);
        std::free(t);
    }
#endif
    return {};
}

// ---- texts ----

QStringList EnglishWords(const QString& text) {
    QStringList words;
    for (const std::string& w : testsupport::EnglishWords(text.toStdString())) words << QString::fromStdString(w);
    return words;
}

// ---- pictures ----

QString Shot(const QString& name) {
    const char* dir = std::getenv("WAVORA_GUI_SHOTS");
    if (!dir || !*dir) return QString();
    QDir().mkpath(QString::fromLocal8Bit(dir));
    QTest::qWait(150);  // the last repaints
    QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) return QString();
    const QString path = QDir(QString::fromLocal8Bit(dir)).filePath(name + QStringLiteral(".png"));
    return screen->grabWindow(0).save(path) ? path : QString();
}

}  // namespace wv::gui

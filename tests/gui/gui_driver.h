// What a user's hand does, on the real widgets: clicks on menu titles and items, keys,
// mouse drags in a view, a click on a window's close box, the window manager's close
// request; and whoever answers the modal windows a command opens. Qt only: the programs'
// own headers stay out, so any test can use it.
#pragma once

#include <QPoint>
#include <QRect>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <Qt>

#include <functional>
#include <map>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

// Test output shows texts as texts.
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }
inline void PrintTo(const QPoint& p, std::ostream* os) { *os << p.x() << ',' << p.y(); }
inline void PrintTo(const QRect& r, std::ostream* os) {
    *os << r.x() << ',' << r.y() << ' ' << r.width() << 'x' << r.height();
}

class QAbstractButton;
class QAction;
class QMainWindow;
class QMdiSubWindow;
class QMenu;
class QMenuBar;
class QWidget;

namespace wv::gui {

// Processes events until `done` holds or `ms` have passed; whether it held.
bool WaitFor(const std::function<bool()>& done, int ms = 5000);
// Lets the event loop run for `ms`.
void Pump(int ms = 20);

// ---- menus ----

// The popup of a menu-bar title ("ファイル(&F)"), or null.
QMenu* MenuOf(QMenuBar* bar, const QString& title);
QStringList MenuTitles(QMenuBar* bar);
// Clicks the title in the menu bar and waits until its popup shows. Null when there is
// no such title or it did not open.
QMenu* OpenMenu(QMenuBar* bar, const QString& title);
// Escape on an open popup; waits until it has gone.
bool EscapeMenu(QMenu* menu);
// The item of `menu` with this text ("開く(&O)..."), also a submenu's title; null if none.
QAction* FindItem(QMenu* menu, const QString& text);
// Clicks a submenu's title in an open popup; returns the submenu once it shows.
QMenu* OpenSubmenu(QMenu* menu, QAction* submenu);
// Clicks an item of an open popup (press and release on it, as a hand does).
void ClickItem(QMenu* menu, QAction* item);

// One path through the menus: the title, then submenu titles, then the item's text.
using MenuPath = QStringList;
enum class ChooseResult { Chosen, Missing, Disabled };
// Opens the menus along `path` with clicks and clicks the item. A missing or disabled
// item closes the menus again with Escape.
ChooseResult Choose(QMenuBar* bar, const MenuPath& path);
// The paths of every command item under the menu bar as the menus show them now (each
// title opened with a click, read, and closed with Escape).
std::vector<MenuPath> CommandPaths(QMenuBar* bar);
// The action at a path (menus closed), or null.
QAction* ActionAt(QMenuBar* bar, const MenuPath& path);
QString PathText(const MenuPath& path);
// Opens every title of the menu bar with a click and closes it with Escape, `times` in a
// row each; false (with the title) when one did not open.
bool OpenEveryMenu(QMenuBar* bar, int times, QString* failed = nullptr);

// ---- input ----

void Key(QWidget* widget, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
void Click(QWidget* widget, QPoint at, Qt::MouseButton button = Qt::LeftButton,
           Qt::KeyboardModifiers modifiers = Qt::NoModifier);
void DoubleClick(QWidget* widget, QPoint at);
// Press at `from`, moves in steps, release at `to` (the left button held throughout).
void Drag(QWidget* widget, QPoint from, QPoint to, int steps = 8);
// Clicks a button where it takes clicks (a check box on its box).
void ClickButton(QAbstractButton* button);
// Types text into the focused control of `widget`.
void Type(QWidget* widget, const QString& text);
// Types into the edit with control id `id` of a dialog of the program: the field
// clicked, its text selected and replaced by `text`.
void TypeInto(QWidget* dialog, int id, const QString& text);
// A button in the title bar of a document window (QStyle::SC_TitleBar...), clicked.
void ClickTitleBarButton(QMdiSubWindow* sub, int subControl);
void ClickCloseBox(QMdiSubWindow* sub);
void ClickMinimizeBox(QMdiSubWindow* sub);
// Where the keyboard goes: the focus widget, else `fallback`.
QWidget* FocusTarget(QWidget* fallback);
// The window manager's close request (WM_DELETE_WINDOW) sent to a top-level window, as a
// window manager sends it when the user closes the window. False without an X display.
bool SendWindowManagerClose(QWidget* topLevel);

// ---- modal windows ----

// Answers the modal windows (and stray popup menus) that show while a test runs: the
// first matching rule acts; without one, message boxes get their default button,
// dialogs their OK button (Cancel when OK left them open), file dialogs Cancel and any
// other window Escape. Every window answered is logged.
class ModalAnswerer {
public:
    struct Rule {
        // Matches the window (class, title, text); `act` answers it.
        std::function<bool(QWidget*)> match;
        std::function<void(QWidget*)> act;
        int times = -1;  // -1: any number of times
        std::string name;
    };
    struct Seen {
        QString kind;   // class of the window
        QString title;
        QString text;   // a message box's text
        QString answer;
        QRect where;          // on the screen, with its frame
        QStringList buttons;  // a message box's or a stock dialog's button texts
    };

    ModalAnswerer();
    ~ModalAnswerer();

    void Start();
    void Stop();
    // Rules are tried newest first.
    void On(Rule rule);
    void ClearRules();
    // A message box whose text contains `text` gets the button with this role.
    void OnBox(const QString& text, int standardButton, int times = -1);
    // A window with this title (or containing it) is answered by `act`.
    void OnTitle(const QString& title, std::function<void(QWidget*)> act, int times = -1);
    // Stray popup menus (a view's information popup) are closed with Escape.
    void SetClosePopups(bool on) { m_closePopups = on; }

    const std::vector<Seen>& Log() const { return m_log; }
    void ClearLog() { m_log.clear(); }
    // A new command begins: the count of dialogs answered OK per title starts again.
    void NewCommand() { m_okCounts.clear(); }
    // Log lines "kind|title|answer" since `from`.
    QStringList LogLines(std::size_t from = 0) const;
    bool Busy() const { return !m_answering.empty(); }

    // The standard answers, for rules.
    static void PressButton(QWidget* box, int standardButton);
    static void PressDialogButton(QWidget* dialog, int id);  // a dialog of the program: control id (1 OK, 2 Cancel)
    static void AnswerFileDialog(QWidget* dialog, const QString& path);
    // Windows nobody answers: progress and wait windows, which close by themselves.
    static bool HandsOff(const QWidget* w);

private:
    void Tick();
    void Default(QWidget* w, int round, Seen& seen);

    QTimer m_timer;
    std::vector<Rule> m_rules;
    std::vector<Seen> m_log;
    std::vector<std::pair<QPointer<QWidget>, int>> m_attempts;
    // The windows an answer is being given to, outermost first. An answer's click runs
    // the event loop, and a window that opens meanwhile (a run's end message over a
    // dialog) is answered in its turn, not left waiting on the answer under it.
    std::vector<QPointer<QWidget>> m_answering;
    bool m_tickPosted = false;
    struct AnswerScope {
        AnswerScope(std::vector<QPointer<QWidget>>& list, QWidget* w) : m_list(list) { m_list.emplace_back(w); }
        ~AnswerScope() { m_list.pop_back(); }
        std::vector<QPointer<QWidget>>& m_list;
    };
    bool Answering(QWidget* w) const;
    bool m_closePopups = true;
    std::map<QString, int> m_okCounts;
};

// ---- a program under test ----

// The scratch folder a test runs in (the current folder) as the program's start folder:
// settings (XDG_CONFIG_HOME) and locks (XDG_RUNTIME_DIR, private) inside it, never the
// user's, and SYSVER.DAT holding `version` as the suite writes it ("" writes none).
void PrepareScratchStart(const std::string& version = "2.5.1");
std::string ConfigFolder();
std::string RuntimeFolder();

// For a program's start-up callable: starts `modals`, and once `window` shows runs
// `script` in the event loop; afterwards closes the window unless the script ended the
// program (exit code 1 when it does not close).
void ScriptWhenShown(QWidget& window, std::unique_ptr<ModalAnswerer>& modals,
                     std::function<void(ModalAnswerer&)> script);

// ---- the X server's own view ----

// Starts a window manager (openbox) on the test's display, as a user's desktop has one:
// frames with title bars, its own placement of new windows, the focus given to them.
// Call before the program makes its application object. False, with the reason in
// `error`, when none could be started.
bool StartWindowManager(std::string* error = nullptr);
// Where a top-level window lies on the screen as the X server has it: its outermost
// window (the window manager's frame, title bar included, when one runs), in root
// coordinates. Empty when it is not on the server.
QRect XFrameGeometry(const QWidget* topLevel);
// Where the top-left corner of a top-level window's own area (below any frame) lies on
// the screen, as the X server has it.
QPoint XClientOrigin(const QWidget* topLevel);
// Whether the X server's keyboard focus is on this top-level window.
bool XHasFocus(const QWidget* topLevel);
// A top-level window's title as the X server has it (_NET_WM_NAME): what a window
// manager shows in its title bar.
QString XWindowTitle(const QWidget* topLevel);
// The root window's rectangle: the whole screen.
QRect XScreenGeometry();
// A key (a letter, digit, F-key, Escape, Return, Tab, Home, End) pressed and released
// where the X server sends the keyboard now: the focus
// window, or the window under the pointer when the focus is the root (as a hand's key
// comes; nothing of Qt's own idea of the focus is used). False without an X display.
bool XKeyToFocus(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
// The title of the top-level window the X server sends the keyboard to ("" for none),
// whichever program it belongs to (one started through its launcher too).
QString XFocusTitle();

// ---- texts ----

// The English in a text the user sees (tests/support/english_words.h).
QStringList EnglishWords(const QString& text);

// ---- pictures ----

// With WAVORA_GUI_SHOTS=<folder>: the whole screen saved as <folder>/<name>.png.
// Returns the path, or "" when not asked for.
QString Shot(const QString& name);
// Each menu of the bar opened in turn and pictured as <prefix>-menu<n> (with
// WAVORA_GUI_SHOTS); false (with the title) when one did not open.
bool ShootEveryMenu(QMenuBar* bar, const QString& prefix, QString* failed = nullptr);

}  // namespace wv::gui

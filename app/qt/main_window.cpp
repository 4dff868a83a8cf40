#include "app/qt/main_window.h"

#include "core/command_ids.h"
#include "app/app_texts.h"
#include "app/qt/icons.h"
#include "app/qt/tree_dialog.h"
#include "app/wavora_app.h"
#include "platform/command_table.h"
#include "platform/document.h"
#include "platform/qt/printer_setup.h"
#include "platform/qt/scroll_view_widget.h"
#include "platform/view.h"

#include <QAction>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFontMetrics>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QShortcut>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QUrl>

namespace wv {

namespace {

// Marks the recent-project entries and the window list that a menu's opening puts in.
constexpr char kRecentEntry[] = "wavoraRecentEntry";
constexpr char kWindowEntry[] = "wavoraWindowEntry";

QString ToQ(const std::string& s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

// The text of a menu item: the part before "\t" (the key is shown by the shortcut).
QString MenuText(const std::string& text) {
    const auto tab = text.find('\t');
    return ToQ(tab == std::string::npos ? text : text.substr(0, tab));
}

// A document window: its close box asks the application, which may keep it open.
class ChildWindow : public QMdiSubWindow {
public:
    ChildWindow(MainWindow& main, CMDIChildWnd& child) : m_main(main), m_child(&child) {}
    void Detach() { m_child = nullptr; }

protected:
    void closeEvent(QCloseEvent* event) override {
        if (!m_child) {
            QMdiSubWindow::closeEvent(event);
            return;
        }
        event->ignore();
        CMDIChildWnd* child = m_child;
        MainWindow* main = &m_main;
        // Handled after this event: closing destroys this window.
        QTimer::singleShot(0, main, [main, child] { main->CloseChildByUser(child); });
    }

private:
    MainWindow& m_main;
    CMDIChildWnd* m_child;
};

}  // namespace

MainWindow::MainWindow(CWavoraApp& app, CMainFrame& frame) : m_app(app), m_frame(frame) {
    setObjectName(QStringLiteral("mainFrame"));
    setWindowTitle(QString::fromUtf8(apptext::kAppTitle));
    setWindowIcon(AppIcon());
    setAcceptDrops(true);
    m_mdi = new QMdiArea(this);
    m_mdi->setObjectName(QStringLiteral("mdi"));
    setCentralWidget(m_mdi);
    connect(m_mdi, &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow* sub) {
        if (m_activating || m_closing) return;
        // Losing the focus to a tool window leaves the last document window active.
        if (!sub) return;
        m_frame.OnChildActivatedByHost(ChildOf(sub));
    });
    BuildToolBar();
    BuildStatusBar();
    // The next and the previous document window, as the framework's keys did.
    for (const QKeySequence& key : {QKeySequence(Qt::CTRL | Qt::Key_F6), QKeySequence(Qt::CTRL | Qt::Key_Tab)})
        connect(new QShortcut(key, this), &QShortcut::activated, m_mdi, &QMdiArea::activateNextSubWindow);
    for (const QKeySequence& key : {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F6),
                                    QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab),
                                    QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab)})
        connect(new QShortcut(key, this), &QShortcut::activated, m_mdi, &QMdiArea::activatePreviousSubWindow);
    m_tree = new TreeDialog(*m_frame.m_pTreeDlg, this);
    m_frame.SetHost(this);
    m_frame.SetFrameHost(this);
    ShowMenu(m_frame.CurrentMenuId());
    resize(1100, 760);
}

MainWindow::~MainWindow() {
    m_closing = true;
    m_frame.SetHost(nullptr);
    m_frame.SetFrameHost(nullptr);
}

QLabel* MainWindow::StatusPane(int index) const {
    return index >= 0 && index < static_cast<int>(m_panes.size()) ? m_panes[static_cast<std::size_t>(index)] : nullptr;
}

QAction* MainWindow::Action(int id) {
    if (auto it = m_actions.find(id); it != m_actions.end()) return it->second;
    const CommandInfo* info = Commands().Find(id);
    auto* action = new QAction(this);
    action->setData(id);
    if (info) {
        action->setText(MenuText(info->text));
        action->setStatusTip(ToQ(info->statusText));
        const std::string tip = Commands().ToolTip(id);
        action->setToolTip(tip.empty() ? MenuText(info->text).remove(QLatin1Char('&')) : ToQ(tip));
        if (!info->accelerator.empty()) action->setShortcut(QKeySequence(ToQ(info->accelerator)));
        if (!info->icon.empty()) action->setIcon(ToolbarIcon(info->icon));
        action->setCheckable(info->checkable);
    }
    connect(action, &QAction::triggered, this, [this, id] {
        if (!RunOwnCommand(id)) m_app.ExecuteCommand(id);
        RefreshCommandStates();
    });
    connect(action, &QAction::hovered, this, [this, action] {
        if (!action->statusTip().isEmpty()) m_frame.StatusBar().ShowPrompt(action->statusTip().toStdString());
    });
    m_actions[id] = action;
    return action;
}

void MainWindow::BuildToolBar() {
    m_toolBar = addToolBar(QStringLiteral("toolbar"));
    m_toolBar->setObjectName(QStringLiteral("toolBar128"));
    m_toolBar->setIconSize(QSize(16, 15));
    if (const std::vector<int>* buttons = Commands().FindToolbar(ids::IDR_MAINFRAME))
        for (int id : *buttons) {
            if (id == 0)
                m_toolBar->addSeparator();
            else
                m_toolBar->addAction(Action(id));
        }
}

void MainWindow::BuildStatusBar() {
    CStatusBar& model = m_frame.StatusBar();
    for (int i = 0; i < model.GetCount(); ++i) {
        const wv::StatusPane& pane = model.Pane(i);
        auto* label = new QLabel(ToQ(pane.text), this);
        label->setObjectName(QStringLiteral("pane%1").arg(i));
        if (pane.stretch) {
            statusBar()->addWidget(label, 1);
        } else {
            label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
            label->setMinimumWidth(QFontMetrics(label->font()).horizontalAdvance(ToQ(pane.widthText)) + 8);
            statusBar()->addPermanentWidget(label);
        }
        m_panes.push_back(label);
    }
    model.SetOnChanged([this](int index) {
        if (QLabel* l = StatusPane(index)) l->setText(ToQ(m_frame.StatusBar().GetPaneText(index)));
    });
}

void MainWindow::FillMenu(QMenu* menu, const std::vector<MenuItem>& items) {
    for (const MenuItem& item : items) {
        switch (item.kind) {
        case MenuItem::Kind::Separator: menu->addSeparator(); break;
        case MenuItem::Kind::Command: menu->addAction(Action(item.id)); break;
        case MenuItem::Kind::Popup: FillMenu(menu->addMenu(ToQ(item.text)), item.items); break;
        case MenuItem::Kind::WindowList: {
            QAction* marker = menu->addSeparator();
            marker->setData(QStringLiteral("windows"));
            break;
        }
        case MenuItem::Kind::RecentFiles: {
            // A marker: the entries are put in when the menu opens.
            QAction* marker = menu->addSeparator();
            marker->setData(QStringLiteral("recent"));
            break;
        }
        }
    }
    connect(menu, &QMenu::aboutToShow, this, [this, menu] { UpdateMenu(menu); });
    connect(menu, &QMenu::aboutToHide, this, [this] { m_frame.StatusBar().ShowIdle(); });
}

QString MainWindow::Title() const {
    // The active document's name follows the program's, as the framework showed it; a
    // maximised document window has lost its own title bar, and its name goes in
    // brackets instead. That bracket is the window's own title, placeholder and all: the
    // MDI area finds it there and adds no second one.
    CDocument* doc = m_frame.GetActiveDocument();
    QString title = QString::fromUtf8(apptext::kAppTitle);
    if (!doc || doc->GetTitle().empty()) return title;
    const QMdiSubWindow* active = m_mdi->currentSubWindow();
    if (active && active->isMaximized() && !active->windowTitle().isEmpty())
        return title + QStringLiteral(" - [") + active->windowTitle() + QLatin1Char(']');
    return title + QStringLiteral(" - ") + ToQ(doc->GetTitle());
}

void MainWindow::UpdateTitle() {
    if (windowTitle() != Title()) setWindowTitle(Title());
}

void MainWindow::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    // The MDI area writes its own "- [name]" into the title when a window is maximised
    // (and its stored title back when it is restored): the title stays ours.
    if (event->type() == QEvent::WindowTitleChange && !m_closing)
        QTimer::singleShot(0, this, [this] { UpdateTitle(); });
}

void MainWindow::ShowMenu(int menuId) {
    UpdateTitle();
    // A command chosen from a menu may change the menus (a project opened from the recent
    // list, the last document closed): the old popups go once the event that chose it is
    // over, never while Qt still holds them.
    for (QAction* top : menuBar()->actions())
        if (QMenu* old = top->menu()) old->deleteLater();
    menuBar()->clear();
    const MenuDef* def = Commands().FindMenu(menuId);
    if (!def) return;
    for (const MenuPopup& popup : def->popups) {
        QMenu* menu = menuBar()->addMenu(ToQ(popup.title));
        FillMenu(menu, popup.items);
    }
}

bool MainWindow::OwnCommandState(int id, CCmdUI& ui) const {
    switch (id) {
    case ids::ID_VIEW_TOOLBAR:
        ui.Enable(true);
        ui.SetCheck(m_toolBar->isHidden() ? 0 : 1);
        return true;
    case ids::ID_VIEW_STATUS_BAR:
        ui.Enable(true);
        ui.SetCheck(statusBar()->isHidden() ? 0 : 1);
        return true;
    case ids::ID_WINDOW_CASCADE:
    case ids::ID_WINDOW_TILE_HORZ:
    case ids::ID_WINDOW_ARRANGE: ui.Enable(!m_mdi->subWindowList().isEmpty()); return true;
    case ids::ID_FILE_PRINT_SETUP: ui.Enable(true); return true;
    default: return false;
    }
}

bool MainWindow::RunOwnCommand(int id) {
    CCmdUI ui(id);
    if (!OwnCommandState(id, ui)) return false;
    if (!ui.m_bEnabled) return true;
    switch (id) {
    case ids::ID_VIEW_TOOLBAR: m_toolBar->setHidden(!m_toolBar->isHidden()); break;
    case ids::ID_VIEW_STATUS_BAR: statusBar()->setHidden(!statusBar()->isHidden()); break;
    case ids::ID_WINDOW_CASCADE: m_mdi->cascadeSubWindows(); break;
    case ids::ID_WINDOW_TILE_HORZ: m_mdi->tileSubWindows(); break;
    case ids::ID_WINDOW_ARRANGE: ArrangeIcons(); break;
    case ids::ID_FILE_PRINT_SETUP: RunPrintSetup(this, apptext::kPrintSetupCaption); break;
    default: break;
    }
    return true;
}

void MainWindow::ArrangeIcons() {
    // The minimised windows in rows from the bottom left, as the icons of a Windows MDI
    // frame were arranged; the others stay where they are.
    const QSize area = m_mdi->viewport()->size();
    int x = 0, bottom = area.height(), rowHeight = 0;
    for (QMdiSubWindow* sub : m_mdi->subWindowList()) {
        if (!sub->isMinimized()) continue;
        const QSize size = sub->size();
        if (x > 0 && x + size.width() > area.width()) {
            x = 0;
            bottom -= rowHeight;
            rowHeight = 0;
        }
        sub->move(x, bottom - size.height());
        x += size.width();
        rowHeight = std::max(rowHeight, size.height());
    }
}

void MainWindow::ApplyState(QAction* action, int id) {
    CCmdUI ui(id);
    if (!OwnCommandState(id, ui)) ui = m_app.QueryCommand(id);
    action->setEnabled(ui.m_bEnabled);
    if (action->isCheckable()) action->setChecked(ui.m_nCheck != 0);
    if (ui.m_bTextSet) action->setText(ToQ(ui.m_strText));
}

void MainWindow::UpdateMenu(QMenu* menu) {
    const QList<QAction*> before = menu->actions();
    for (QAction* a : before) {
        if (a->data().toString() == QStringLiteral("recent")) {
            // The recent projects, in place of the marker. Those of the last opening are
            // taken out and deleted later: one of them may be the action being handled.
            for (QAction* old : menu->actions())
                if (old->property(kRecentEntry).toBool()) {
                    menu->removeAction(old);
                    old->deleteLater();
                }
            const CRecentFileList& mru = m_app.RecentProjects();
            const int count = std::max(1, mru.GetCount());
            QList<QAction*> fresh;
            for (int i = 0; i < count; ++i) {
                const int id = ids::ID_FILE_MRU_FILE1 + i;
                auto* entry = new QAction(menu);
                entry->setData(id);
                entry->setProperty(kRecentEntry, true);
                const CCmdUI ui = m_app.QueryCommand(id);
                const CommandInfo* info = Commands().Find(id);
                entry->setText(ui.m_bTextSet ? ToQ(ui.m_strText) : ToQ(info ? info->text : std::string()));
                entry->setEnabled(ui.m_bEnabled);
                connect(entry, &QAction::triggered, this, [this, id] {
                    m_app.ExecuteCommand(id);
                    RefreshCommandStates();
                });
                fresh << entry;
            }
            menu->insertActions(a, fresh);
            continue;
        }
        if (a->data().toString() == QStringLiteral("windows")) {
            FillWindowList(menu, a);
            continue;
        }
        const int id = a->data().toInt();
        if (id != 0 && !a->menu() && m_actions.count(id) && m_actions[id] == a) ApplyState(a, id);
    }
}

void MainWindow::FillWindowList(QMenu* menu, QAction* marker) {
    for (QAction* old : menu->actions())
        if (old->property(kWindowEntry).toBool()) {
            menu->removeAction(old);
            old->deleteLater();
        }
    // The marker is the separator above the list.
    marker->setVisible(!m_frame.Children().empty());
    QList<QAction*> entries;
    int n = 0;
    for (const auto& c : m_frame.Children()) {
        CMDIChildWnd* child = c.get();
        ++n;
        QString title = ToQ(child->GetTitle()).replace(QLatin1Char('&'), QStringLiteral("&&"));
        auto* entry = new QAction(n <= 9 ? QStringLiteral("&%1 %2").arg(n).arg(title) : title, menu);
        entry->setProperty(kWindowEntry, true);
        entry->setCheckable(true);
        entry->setChecked(child == m_frame.MDIGetActive());
        connect(entry, &QAction::triggered, this, [this, child] {
            for (const auto& alive : m_frame.Children())
                if (alive.get() == child) {
                    m_frame.MDIActivate(child);
                    break;
                }
            RefreshCommandStates();
        });
        entries << entry;
    }
    const QList<QAction*> all = menu->actions();
    const qsizetype at = all.indexOf(marker);
    menu->insertActions(at + 1 < all.size() ? all[at + 1] : nullptr, entries);
}

void MainWindow::RefreshCommandStates() {
    for (auto& [id, action] : m_actions) ApplyState(action, id);
}

CMDIChildWnd* MainWindow::ChildOf(QMdiSubWindow* sub) const {
    for (const auto& c : m_frame.Children())
        if (c->m_pWidget == sub) return c.get();
    return nullptr;
}

namespace {
MainWindow::ChildBodyFactory& BodyFactory() {
    static MainWindow::ChildBodyFactory factory;
    return factory;
}
}  // namespace

void MainWindow::SetChildBodyFactory(ChildBodyFactory factory) { BodyFactory() = std::move(factory); }

void MainWindow::ChildCreated(CMDIChildWnd& child) {
    auto* sub = new ChildWindow(*this, child);
    QWidget* body = BodyFactory() ? BodyFactory()(child, sub) : nullptr;
    CView* view = child.Views().empty() ? nullptr : child.Views().front().get();
    if (!body) {
        if (auto* scroll = dynamic_cast<CScrollView*>(view)) {
            body = new ScrollViewWidget(scroll, sub);
        } else {
            body = new QWidget(sub);
            body->setAutoFillBackground(true);
            QPalette p = body->palette();
            p.setColor(QPalette::Window, Qt::black);
            body->setPalette(p);
        }
    }
    sub->setWidget(body);
    sub->setWindowIcon(AppIcon());
    child.m_pWidget = sub;
    m_mdi->addSubWindow(sub);
    connect(sub, &QMdiSubWindow::windowStateChanged, this, [this] { UpdateTitle(); });
    ChildTitleChanged(child);
    sub->resize(520, 380);
    sub->show();
}

void MainWindow::ChildDestroying(CMDIChildWnd& child) {
    auto* sub = static_cast<ChildWindow*>(child.m_pWidget);
    child.m_pWidget = nullptr;
    if (!sub) return;
    sub->Detach();
    const bool was = m_activating;
    m_activating = true;
    m_mdi->removeSubWindow(sub);
    delete sub;
    m_activating = was;
}

void MainWindow::ActivateChild(CMDIChildWnd* child) {
    const bool was = m_activating;
    m_activating = true;
    if (child && child->m_pWidget) m_mdi->setActiveSubWindow(static_cast<QMdiSubWindow*>(child->m_pWidget));
    m_activating = was;
}

void MainWindow::ChildTitleChanged(CMDIChildWnd& child) {
    if (auto* sub = static_cast<QMdiSubWindow*>(child.m_pWidget)) {
        sub->setWindowTitle(ToQ(child.GetTitle()) + QStringLiteral("[*]"));
        sub->setWindowModified(child.GetDocument() && child.GetDocument()->IsModified());
    }
    UpdateTitle();
}

void MainWindow::ActivateMainWindow() {
    raise();
    activateWindow();
}

void MainWindow::CloseChildByUser(CMDIChildWnd* child) {
    bool alive = false;
    for (const auto& c : m_frame.Children()) alive = alive || c.get() == child;
    if (!alive) return;
    CDocument* doc = child->GetDocument();
    if (m_frame.ChildrenOf(doc).size() > 1) {
        m_frame.DestroyChild(child);
    } else if (doc->SaveModified()) {
        m_app.GetDocManager()->CloseDocument(doc);
    }
    RefreshCommandStates();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (!m_app.OnCloseMainWindow()) {
        event->ignore();
        return;
    }
    m_closing = true;
    m_app.ExitInstance();
    event->accept();
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event) {
    std::vector<std::string> paths;
    for (const QUrl& url : event->mimeData()->urls())
        if (url.isLocalFile()) paths.push_back(url.toLocalFile().toStdString());
    if (!paths.empty()) m_app.OnDropFiles(paths);
    event->acceptProposedAction();
}

}  // namespace wv

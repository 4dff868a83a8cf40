#include "app/qt/main_window.h"

#include "core/command_ids.h"
#include "app/app_texts.h"
#include "app/qt/icons.h"
#include "app/qt/tree_dialog.h"
#include "app/wavora_app.h"
#include "platform/command_table.h"
#include "platform/document.h"
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
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QUrl>

namespace wv {

namespace {

// Marks the recent-project entries that a menu's opening puts in.
constexpr char kRecentEntry[] = "wavoraRecentEntry";

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
        action->setToolTip(MenuText(info->text).remove(QLatin1Char('&')));
        if (!info->accelerator.empty()) action->setShortcut(QKeySequence(ToQ(info->accelerator)));
        if (!info->icon.empty()) action->setIcon(ToolbarIcon(info->icon));
        action->setCheckable(info->checkable);
    }
    connect(action, &QAction::triggered, this, [this, id] {
        if (id == ids::ID_VIEW_TOOLBAR) {
            m_toolBar->setVisible(!m_toolBar->isVisible());
        } else if (id == ids::ID_VIEW_STATUS_BAR) {
            statusBar()->setVisible(!statusBar()->isVisible());
        } else if (id == ids::ID_WINDOW_CASCADE) {
            m_mdi->cascadeSubWindows();
        } else if (id == ids::ID_WINDOW_TILE_HORZ) {
            m_mdi->tileSubWindows();
        } else if (id == ids::ID_WINDOW_ARRANGE) {
            m_mdi->tileSubWindows();
        } else {
            m_app.ExecuteCommand(id);
        }
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

void MainWindow::UpdateTitle() {
    // The active document's name follows the program's, as the framework showed it.
    CDocument* doc = m_frame.GetActiveDocument();
    QString title = QString::fromUtf8(apptext::kAppTitle);
    if (doc && !doc->GetTitle().empty()) title += QStringLiteral(" - ") + ToQ(doc->GetTitle());
    setWindowTitle(title);
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

void MainWindow::ApplyState(QAction* action, int id) {
    const CCmdUI ui = m_app.QueryCommand(id);
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
        const int id = a->data().toInt();
        if (id != 0 && !a->menu() && m_actions.count(id) && m_actions[id] == a) ApplyState(a, id);
    }
    if (QAction* t = m_actions.count(ids::ID_VIEW_TOOLBAR) ? m_actions[ids::ID_VIEW_TOOLBAR] : nullptr)
        t->setChecked(m_toolBar->isVisible());
    if (QAction* s = m_actions.count(ids::ID_VIEW_STATUS_BAR) ? m_actions[ids::ID_VIEW_STATUS_BAR] : nullptr)
        s->setChecked(statusBar()->isVisible());
}

void MainWindow::RefreshCommandStates() {
    for (auto& [id, action] : m_actions) {
        if (id == ids::ID_VIEW_TOOLBAR || id == ids::ID_VIEW_STATUS_BAR) continue;
        if (id == ids::ID_WINDOW_CASCADE || id == ids::ID_WINDOW_TILE_HORZ || id == ids::ID_WINDOW_ARRANGE) {
            action->setEnabled(!m_mdi->subWindowList().isEmpty());
            continue;
        }
        ApplyState(action, id);
    }
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
    if (&child == m_frame.MDIGetActive()) UpdateTitle();
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

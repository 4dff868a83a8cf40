// The engine's headers go before Qt's, whose "slots" keyword they use as a name.
#include "calcview/qt/tyd_scroll_view.h"
#include "app/main_frame.h"
#include "app/wavora_app.h"
#include "platform/document.h"
#include "platform/files.h"
#include "platform/frame.h"
#include "platform/ui_service.h"

#include "gui/wavora_run.h"

#include "app/qt/app_main.h"
#include "app/qt/main_window.h"
#include "app/qt/qt_app_host.h"
#include "app/qt/tree_dialog.h"
#include "calcview/qt/tyd_frame.h"
#include "platform/qt/scroll_view_widget.h"

#include <QAction>
#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QSplitter>
#include <QSplitterHandle>
#include <QStyle>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <filesystem>

namespace wv::gui {

namespace fs = std::filesystem;

namespace {

std::string Here() { return fs::current_path().string(); }

QString Q(const std::string& s) { return QString::fromUtf8(s.c_str()); }

void Prepare(const WavoraOptions& options) {
    const std::string here = Here();
    PrepareScratchStart(options.version);
    // The example project, with a second calculation made from the first.
    const fs::path bay = fs::path(here) / "BAY";
    fs::create_directories(bay);
    const fs::path src = fs::path(WAVORA_SOURCE_DIR) / "examples/bay/BAY";
    for (const char* f : {"BAY.TIK", "BAY1.TYD", "BAY1.DPT"})
        fs::copy_file(src / f, bay / f, fs::copy_options::overwrite_existing);
    fs::copy_file(src / "BAY1.TYD", bay / "BAY2.TYD", fs::copy_options::overwrite_existing);
    fs::copy_file(src / "BAY1.DPT", bay / "BAY2.DPT", fs::copy_options::overwrite_existing);
}

}  // namespace


MainWindow* WavoraRun::Window() const { return m_host ? m_host->Window() : nullptr; }

QMenuBar* WavoraRun::Bar() const { return Window() ? Window()->menuBar() : nullptr; }

std::string WavoraRun::Start() const { return Here(); }
std::string WavoraRun::Bay() const { return Here() + "/BAY"; }
std::string WavoraRun::BayFile(const std::string& name) { return Here() + "/BAY/" + name; }

bool WavoraRun::Choose(const MenuPath& path) { return gui::Choose(Bar(), path) == ChooseResult::Chosen; }

bool WavoraRun::OpenBayProject() {
    const std::string tik = BayFile("BAY.TIK");
    if (Scripted())
        m_ui.AnswerFile("ﾌﾟﾛｼﾞｪｸﾄを開く", [tik](const FileDialogOptions&) { return tik; }, 1);
    else
        m_modals->OnTitle(QStringLiteral("ﾌﾟﾛｼﾞｪｸﾄを開く"),
                          [tik](QWidget* w) { ModalAnswerer::AnswerFileDialog(w, Q(tik)); }, 1);
    if (!Choose({QStringLiteral("ファイル(&F)"), QStringLiteral("ﾌﾟﾛｼﾞｪｸﾄを開く(&W)...")})) return false;
    return WaitFor([this] { return WindowOf("BAY.TIK") != nullptr; });
}

QTreeWidget* WavoraRun::Tree() const { return Window() && Window()->Tree() ? Window()->Tree()->Tree() : nullptr; }

void WavoraRun::CloseTree() {
    TreeDialog* tree = Window() ? Window()->Tree() : nullptr;
    if (!tree || !tree->isVisible()) return;
    for (QPushButton* b : tree->findChildren<QPushButton*>())
        if (b->text() == QStringLiteral("閉じる")) ClickButton(b);
    WaitFor([tree] { return !tree->isVisible(); }, 2000);
}

QMdiSubWindow* WavoraRun::OpenFromTree(const std::string& name) {
    if (!Choose({QStringLiteral("ファイル(&F)"), QStringLiteral("開く(&O)...")})) return nullptr;
    QTreeWidget* tree = Tree();
    if (!tree || !WaitFor([tree] { return tree->isVisible() && tree->topLevelItemCount() > 0; })) return nullptr;
    QTreeWidgetItem* root = tree->topLevelItem(0);
    root->setExpanded(true);
    QTreeWidgetItem* entry = nullptr;
    for (int i = 0; i < root->childCount(); ++i)
        if (root->child(i)->text(0).endsWith(Q(name))) entry = root->child(i);
    if (!entry) return nullptr;
    tree->scrollToItem(entry);
    Click(tree->viewport(), tree->visualItemRect(entry).center());
    QMdiSubWindow* sub = nullptr;
    WaitFor([&] { return (sub = WindowOf(name)) != nullptr; });
    Pump(50);
    return sub;
}

QMdiSubWindow* WavoraRun::WindowOf(const std::string& name) const {
    if (!Window()) return nullptr;
    for (QMdiSubWindow* s : Window()->MdiArea()->subWindowList())
        if (s->windowTitle().startsWith(Q(name))) return s;
    return nullptr;
}

CMDIChildWnd* WavoraRun::ChildOf(QMdiSubWindow* sub) const {
    if (!m_app || !m_app->GetMainFrame()) return nullptr;
    for (const auto& c : m_app->GetMainFrame()->Children())
        if (c->m_pWidget == sub) return c.get();
    return nullptr;
}

CDocument* WavoraRun::DocumentNamed(const std::string& name) const {
    if (!m_app || !m_app->GetDocManager()) return nullptr;
    for (CDocument* d : m_app->GetDocManager()->Documents())
        if (FileNameOf(d->GetPathName()) == name) return d;
    return nullptr;
}

void WavoraRun::Activate(QMdiSubWindow* sub) {
    if (!sub) return;
    if (sub->isMaximized() || sub->isMinimized()) {
        Window()->MdiArea()->setActiveSubWindow(sub);
        return;
    }
    // The title bar, left of its text: a click there activates the window.
    const int h = sub->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, sub);
    Click(sub, QPoint(sub->width() / 2, h / 2 + 2));
    WaitFor([this, sub] { return Window()->MdiArea()->activeSubWindow() == sub; }, 2000);
}

CTydFrame* WavoraRun::FrameOf(QMdiSubWindow* sub) const { return sub ? dynamic_cast<CTydFrame*>(sub->widget()) : nullptr; }

TydScrollView* WavoraRun::PaneView(QMdiSubWindow* sub, int row, int col) const {
    CTydFrame* f = FrameOf(sub);
    return f && f->Pane(row, col) ? dynamic_cast<TydScrollView*>(f->Pane(row, col)->View()) : nullptr;
}

bool WavoraRun::Split(QMdiSubWindow* sub) {
    CTydFrame* frame = FrameOf(sub);
    if (!frame) return false;
    QList<QSplitter*> splitters = frame->findChildren<QSplitter*>();
    QSplitter* rows = nullptr;
    QSplitter* firstRow = nullptr;
    for (QSplitter* s : splitters) {
        if (s->orientation() == Qt::Vertical) rows = s;
        else if (!firstRow) firstRow = s;
    }
    if (!rows || !firstRow) return false;
    // Each split bar sits at its edge while the second row or column is closed; a drag
    // brings it to the middle.
    for (QSplitter* s : {rows, firstRow}) {
        QSplitterHandle* handle = s->handle(1);
        if (!handle) return false;
        const QPoint middle = handle->mapFrom(s, QPoint(s->width() / 2, s->height() / 2));
        const QPoint grip = handle->rect().center();
        const QPoint to = s->orientation() == Qt::Vertical ? QPoint(grip.x(), middle.y()) : QPoint(middle.x(), grip.y());
        Drag(handle, grip, to);
        Pump(50);
    }
    // Both rows and both columns of a useful size.
    for (QSplitter* s : {rows, firstRow})
        if (s->sizes().value(0) < 40 || s->sizes().value(1) < 40) return false;
    return frame->Rows() == 2 && frame->Cols() == 2;
}

bool WavoraRun::ChooseRecent(int n) {
    QMenu* file = OpenMenu(Bar(), QStringLiteral("ファイル(&F)"));
    if (!file) return false;
    for (QAction* a : file->actions()) {
        if (a->data().toInt() == 57616 + n - 1 && a->isEnabled()) {
            ClickItem(file, a);
            return true;
        }
    }
    EscapeMenu(file);
    return false;
}

std::string WavoraRun::Inconsistency() const {
    if (!m_app || !Window()) return "no program";
    CMainFrame* frame = m_app->GetMainFrame();
    QMdiArea* mdi = Window()->MdiArea();
    const QList<QMdiSubWindow*> subs = mdi->subWindowList();
    if (static_cast<std::size_t>(subs.size()) != frame->Children().size())
        return std::to_string(subs.size()) + " document windows on screen, " + std::to_string(frame->Children().size()) +
               " frames";
    std::vector<CDocument*> docs = m_app->GetDocManager()->Documents();
    for (const auto& c : frame->Children()) {
        if (!subs.contains(static_cast<QMdiSubWindow*>(c->m_pWidget))) return "a frame without its window";
        if (std::find(docs.begin(), docs.end(), c->GetDocument()) == docs.end()) return "a frame of a closed document";
        if (c->GetActiveView() && c->GetActiveView()->GetDocument() != c->GetDocument())
            return "a frame's active view shows another document";
    }
    for (CDocument* d : docs)
        if (frame->ChildrenOf(d).empty()) return "document " + d->GetPathName() + " has no window";
    if (CView* v = frame->m_pResultView) {
        bool live = false;
        for (const auto& c : frame->Children())
            for (const auto& view : c->Views()) live = live || view.get() == v;
        if (!live) return "the result list's view is gone";
    }
    // The current window, not the active one: while another top-level window (a message
    // just closed) still holds the X focus, the area has no active window but keeps its
    // current one.
    if (frame->MDIGetActive() && frame->MDIGetActive()->m_pWidget != mdi->currentSubWindow())
        return "the active frame is not the active window";
    return {};
}

bool WavoraRun::Running() const {
    return m_host && !m_host->QuitRequested() && Window() && Window()->isVisible();
}

void WavoraRun::Attach(CWavoraApp& app, QtAppHost& host, const WavoraOptions& options) {
    m_app = &app;
    m_host = &host;
    m_options = options;
    m_modals = std::make_unique<ModalAnswerer>();
    m_modals->Start();
    if (options.scriptedUi) SetUi(&m_ui);
    if (MainWindow* w = Window()) {
        w->move(0, 0);
        // Nothing more: the window takes the keyboard itself when it shows.
        EXPECT_TRUE(QTest::qWaitForWindowExposed(w));
    }
    QObject::connect(qApp, &QCoreApplication::aboutToQuit, [this] { Detach(); });
}

void WavoraRun::EndIfRunning() {
    if (!Running()) return;
    // Whatever the script left: closed without saving.
    m_ui.Answer("への変更を保存しますか", IDNO);
    m_modals->OnBox(QStringLiteral("への変更を保存しますか"), QMessageBox::No);
    Window()->close();
    if (!WaitFor([this] { return !Running(); }, 20000)) {
        ADD_FAILURE() << "the program did not end when its window was closed";
        QCoreApplication::exit(1);
    }
}

void WavoraRun::Detach() {
    if (!m_modals) return;
    m_seen = m_modals->Log();
    m_modals.reset();
}

int RunWavoraScript(const WavoraOptions& options, const std::function<void(WavoraRun&)>& script) {
    Prepare(options);
    static char name[] = "Wavora";
    static char* argv[] = {name, nullptr};
    int argc = 1;
    WavoraRun run;
    const int code = RunWavora(argc, argv, [&](CWavoraApp& app, QtAppHost& host) {
        run.Attach(app, host, options);
        QTimer::singleShot(0, qApp, [&] {
            script(run);
            run.EndIfRunning();
        });
    });
    run.Detach();
    return code;
}

}  // namespace wv::gui

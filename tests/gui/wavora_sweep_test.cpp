// Every enabled command of every menu of Wavora, chosen with clicks, with the bay
// project and two calculations open: first with the calculation window active, then the
// project window, then the commands that close or replace documents. The engine's
// questions and file dialogs get scripted answers (files written go to the scratch
// folder, files asked for come from there), the modal windows are answered on screen. A
// command that leaves a mouse mode gets a click in the view and right clicks to end it.
// After every command the program must be alive and its windows, frames and documents
// agree; at the end the saved documents must read back as they were.
// The engine's headers go before Qt's, whose "slots" keyword they use as a name.
#include "calcview/qt/tyd_scroll_view.h"
#include "calc/cal_threads.h"
#include "calcdoc/tyd_doc.h"
#include "core/sokuten.h"
#include "platform/document.h"
#include "platform/files.h"
#include "project/qt/tik_view.h"
#include "project/tik_doc.h"

#include "gui/wavora_run.h"

#include "app/qt/main_window.h"
#include "calcview/qt/tyd_frame.h"
#include "platform/qt/scroll_view_widget.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QProgressBar>
#include <QStringList>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <set>
#include <string>

namespace wv::gui {
namespace {

namespace fs = std::filesystem;

// Commands that close or replace documents: chosen last. The program's end is the close
// tests' business.
const std::set<int> kLast = {32771, 32772, 57600, 57602, 32776, 57616, 57617, 57618, 57619};
const int kExit = 57665;

// The files a file dialog is answered with: written ones into out/, asked-for ones from
// out/ (what the program wrote) or in/ (what the test brought).
std::string AnswerFor(const FileDialogOptions& o, const std::string& start) {
    const fs::path out = fs::path(start) / "out";
    fs::create_directories(out);
    if (o.mode == FileDialogOptions::Mode::Save) {
        // A document saved under its own name stays where it is.
        const fs::path own = fs::path(start) / "BAY" / FileNameOf(o.initialName);
        if (!o.initialName.empty() && fs::exists(own)) return own.string();
        std::string name = o.initialName.empty() ? "saved" : FileNameOf(o.initialName);
        if (!o.defaultExt.empty() && name.find('.') == std::string::npos) name += "." + o.defaultExt;
        return (out / name).string();
    }
    for (const char* folder : {"out", "in"}) {
        std::vector<fs::path> files;
        std::error_code ec;
        for (const auto& e : fs::directory_iterator(fs::path(start) / folder, ec)) files.push_back(e.path());
        std::sort(files.begin(), files.end());
        for (const auto& [label, patterns] : o.filters) {
            if (patterns == "*" || patterns == "*.*") continue;
            for (const fs::path& f : files)
                if (MatchesFilePattern(f.filename().string(), patterns)) return f.string();
        }
    }
    return {};
}

void BringInputFiles(const std::string& start) {
    const fs::path in = fs::path(start) / "in";
    fs::create_directories(in);
    const fs::path src(WAVORA_SOURCE_DIR);
    fs::copy_file(src / "tests/data/project/dxf/r12_lines.dxf", in / "LINES.DXF", fs::copy_options::overwrite_existing);
    fs::copy_file(src / "examples/smallbay/SMALLBAY.DAT", in / "SMALLBAY.DAT", fs::copy_options::overwrite_existing);
    fs::copy_file(src / "examples/bay/BAY/BAY.TIK", in / "OTHER.TIK", fs::copy_options::overwrite_existing);
    AtomicWriteFile((in / "POINTS.CSV").string(), "1000.0,1200.0,-5.0\r\n1100.0,1250.0,-6.0\r\n", nullptr);
}

// The mouse mode a window's view is in (0: none).
int ModeOf(QMdiSubWindow* sub) {
    auto* w = sub ? dynamic_cast<ScrollViewWidget*>(sub->widget()) : nullptr;
    if (auto* tik = w ? dynamic_cast<CTikView*>(w->View()) : nullptr) return tik->Editor().State().m_nMode;
    return -1;
}

QWidget* ViewportOf(WavoraRun& r, QMdiSubWindow* sub) {
    if (TydScrollView* v = r.PaneView(sub, 0, 0)) {
        (void)v;
        return r.FrameOf(sub)->Pane(0, 0)->viewport();
    }
    auto* w = dynamic_cast<ScrollViewWidget*>(sub->widget());
    return w ? w->viewport() : nullptr;
}

int ViewMode(WavoraRun& r, QMdiSubWindow* sub) {
    if (TydScrollView* v = r.PaneView(sub, 0, 0)) return v->Controller() ? v->Controller()->Mode() : 0;
    return ModeOf(sub);
}

bool AnyRunGoingOn(WavoraRun& r) {
    for (QMdiSubWindow* s : r.Window()->MdiArea()->subWindowList())
        if (TydScrollView* v = r.PaneView(s, 0, 0))
            if (v->Controller() && v->Controller()->CalcSlot().GetExitCode() == CCalThreads::kStillActive &&
                v->Controller()->CalcSlot().Get())
                return true;
    QWidget* modal = QApplication::activeModalWidget();
    return modal != nullptr;
}

struct Outcome {
    QString path;
    int modals = 0;
    std::size_t messages = 0;
    qint64 ms = 0;
    int state = -1;  // the calculation's state after the command
};

class Sweep {
public:
    explicit Sweep(WavoraRun& r) : m_r(r) {}

    // Every enabled command of the window's menus, the ones of `kLast` left out (they are
    // returned for later).
    std::vector<MenuPath> Run(const std::string& windowName) {
        std::vector<MenuPath> later;
        QMdiSubWindow* target = m_r.WindowOf(windowName);
        if (!target) {
            ADD_FAILURE() << "no window " << windowName;
            return later;
        }
        m_r.Activate(target);
        std::vector<MenuPath> paths = CommandPaths(m_r.Bar());
        // The mesh file is read back after it was written.
        std::stable_partition(paths.begin(), paths.end(), [](const MenuPath& p) {
            return !(p.size() == 3 && p[1] == QStringLiteral("ﾒｯｼｭﾌｧｲﾙ") && p[2] == QStringLiteral("入力"));
        });
        for (const MenuPath& path : paths) {
            QAction* a = ActionAt(m_r.Bar(), path);
            const int id = a ? a->data().toInt() : 0;
            // The window list's entries change the active window: the window tests'.
            if (!a || id == kExit || (id == 0 && a->isCheckable())) continue;
            if (kLast.count(id)) {
                later.push_back(path);
                continue;
            }
            if (!m_r.Running()) return later;
            if (m_r.Window()->MdiArea()->activeSubWindow() != target) m_r.Activate(target);
            Once(path, target);
            if (::testing::Test::HasFatalFailure()) return later;
        }
        return later;
    }

    // One command chosen; false when it was disabled or missing now.
    bool Once(const MenuPath& path, QMdiSubWindow* window) {
        // The command may close the window.
        QPointer<QMdiSubWindow> target(window);
        Outcome o;
        o.path = PathText(path);
        const std::size_t modals = m_r.Modals().Log().size();
        const std::size_t messages = m_r.Ui().MessageCount();
        QElapsedTimer clock;
        clock.start();
        m_r.Modals().NewCommand();
        std::fprintf(stderr, "== %s\n", qPrintable(o.path));
        const ChooseResult chosen = Choose(m_r.Bar(), path);
        if (chosen != ChooseResult::Chosen) return false;
        // A run of the solver goes on by itself: its end is awaited and acknowledged.
        WaitFor([&] { return !AnyRunGoingOn(m_r); }, 120000);
        Pump(30);
        if (target && m_r.Running() && ViewMode(m_r, target) > 0) {
            // The mode's first click where the view is, then right clicks to leave it.
            if (QWidget* port = ViewportOf(m_r, target)) {
                Click(port, port->rect().center());
                WaitFor([&] { return !AnyRunGoingOn(m_r); }, 60000);
                for (int i = 0; i < 3 && m_r.Running() && ViewMode(m_r, target) > 0; ++i) {
                    Click(port, port->rect().center() + QPoint(7, 5), Qt::RightButton);
                    Pump(20);
                }
            }
        }
        CheckPlacement(o.path);
        o.ms = clock.elapsed();
        if (TydScrollView* v = m_r.Running() && target ? m_r.PaneView(target.data(), 0, 0) : nullptr)
            o.state = v->Controller() ? v->Controller()->Doc().m_info.m_nCalcState : -1;
        o.modals = static_cast<int>(m_r.Modals().Log().size() - modals);
        o.messages = m_r.Ui().MessageCount() - messages;
        m_done.push_back(o);
        EXPECT_TRUE(m_r.Running()) << "the program ended after " << o.path.toStdString();
        EXPECT_EQ(m_r.Inconsistency(), "") << "after " << o.path.toStdString();
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr) << "a window left open by " << o.path.toStdString();
        return true;
    }

    // No tool window (the tree, the result list) lies over the main window's menus.
    void CheckPlacement(const QString& after) {
        if (!m_r.Running()) return;
        const QRect menus(m_r.Bar()->mapToGlobal(QPoint(0, 0)), m_r.Bar()->size());
        for (QWidget* top : QApplication::topLevelWidgets())
            if (top != m_r.Window() && top->isVisible() && top->isWindow() && !qobject_cast<QMenu*>(top) &&
                top->frameGeometry().intersects(menus))
                m_overMenus.emplace(top->windowTitle(), after);
    }
    // The tool windows seen over the menus, each with the first command after which it was.
    const std::map<QString, QString>& OverMenus() const { return m_overMenus; }

    void Report() const {
        std::fprintf(stderr, "%zu commands:\n", m_done.size());
        for (const Outcome& o : m_done)
            std::fprintf(stderr, "  %5lld ms  %d windows  %zu messages  state %2d  %s\n", static_cast<long long>(o.ms),
                         o.modals, o.messages, o.state, qPrintable(o.path));
    }
    std::size_t Count() const { return m_done.size(); }

private:
    WavoraRun& m_r;
    std::vector<Outcome> m_done;
    std::map<QString, QString> m_overMenus;
};

bool Japanese(const QString& text) {
    for (const QChar c : text)
        if (c.unicode() > 0x7F) return true;
    return false;
}

struct Saved {
    int calcState = -1;
    int countX = -1, countY = -1;
};

TEST(WavoraSweep, EveryEnabledCommandOfEveryMenu) {
    // No tablet on this machine: the digitizer's port is one that does not exist.
    const std::string here = fs::current_path().string();
    fs::create_directories(ConfigFolder() + "/KTR Applications");
    AtomicWriteFile(ConfigFolder() + "/KTR Applications/Wavora.ini",
                    "[Digitizer]\nPort=" + here + "/no-tablet\n", nullptr);
    BringInputFiles(here);
    std::map<std::string, Saved> saved;
    int points = -1;
    std::size_t commands = 0;
    RunWavoraScript({}, [&](WavoraRun& r) {
        const std::string start = r.Start();
        r.Ui().AnswerFile("", [start](const FileDialogOptions& o) { return AnswerFor(o, start); });
        r.Ui().AnswerFile("ﾌﾟﾛｼﾞｪｸﾄを開く", [&r](const FileDialogOptions&) { return r.BayFile("BAY.TIK"); });
        r.Ui().AnswerFile("Q-SONA", [start](const FileDialogOptions&) { return start + "/in/SMALLBAY.DAT"; });
        // A new calculation BAY3 in the project; a new project is declined (the bay stays).
        r.Modals().OnTitle(QStringLiteral("新規作成"), [](QWidget* d) {
            if (d->windowTitle() != QStringLiteral("新規作成")) {
                ModalAnswerer::PressDialogButton(d, 2);
                return;
            }
            if (auto* name = d->findChild<QWidget*>(QStringLiteral("c1009"))) {
                Click(name, name->rect().center());
                Type(name, QStringLiteral("BAY3"));
            }
            ModalAnswerer::PressDialogButton(d, 1);
        });
        ASSERT_TRUE(r.OpenBayProject());
        ASSERT_NE(r.OpenFromTree("BAY2.TYD"), nullptr);
        ASSERT_NE(r.OpenFromTree("BAY1.TYD"), nullptr);
        r.Window()->MdiArea()->tileSubWindows();
        Sweep sweep(r);

        std::vector<MenuPath> later = sweep.Run("BAY1.TYD");
        ASSERT_FALSE(::testing::Test::HasFatalFailure());
        Shot(QStringLiteral("wavora-sweep-after-calculation"));
        std::vector<MenuPath> more = sweep.Run("BAY.TIK");
        ASSERT_FALSE(::testing::Test::HasFatalFailure());
        Shot(QStringLiteral("wavora-sweep-after-project"));
        // The second calculation split into four panes, its commands from the last pane.
        QMdiSubWindow* second = r.WindowOf("BAY2.TYD");
        ASSERT_NE(second, nullptr);
        r.Activate(second);
        second->showMaximized();
        ASSERT_TRUE(r.Split(second));
        QWidget* last = r.FrameOf(second)->Pane(1, 1)->viewport();
        Click(last, last->rect().center(), Qt::RightButton);
        sweep.Run("BAY2.TYD");
        ASSERT_FALSE(::testing::Test::HasFatalFailure());
        Shot(QStringLiteral("wavora-sweep-after-split"));
        second->showNormal();

        // Saved, and what was saved kept for the reading back.
        ASSERT_TRUE(r.Choose({QStringLiteral("ファイル(&F)"), QStringLiteral("すべて保存(&Z)")}));
        for (const char* name : {"BAY1.TYD", "BAY2.TYD"}) {
            auto* doc = dynamic_cast<CTydDoc*>(r.DocumentNamed(name));
            ASSERT_NE(doc, nullptr) << name;
            EXPECT_FALSE(doc->IsModified()) << name;
            saved[name] = {doc->m_info.m_nCalcState, doc->m_calcArea.GetMeshCountX(), doc->m_calcArea.GetMeshCountY()};
        }
        points = g_surveyPoints.GetCount();

        // Now the commands that close and open documents, with the calculation active,
        // every one that is still there and enabled.
        r.Activate(r.WindowOf("BAY1.TYD"));
        later.insert(later.end(), more.begin(), more.end());
        for (const MenuPath& path : later) {
            if (!r.Running()) break;
            sweep.Once(path, r.Window()->MdiArea()->activeSubWindow());
        }
        sweep.Report();
        commands = sweep.Count();
        // Dialogs and tool windows open over their owner, never over the menus.
        const QRect menus(r.Bar()->mapToGlobal(QPoint(0, 0)), r.Bar()->size());
        QStringList over;
        for (const auto& [title, after] : sweep.OverMenus()) over << title + QStringLiteral(" (after ") + after + ')';
        for (const ModalAnswerer::Seen& seen : r.Modals().Log())
            if (seen.where.intersects(menus)) over << seen.kind + QStringLiteral(" ") + seen.title;
        over.removeDuplicates();
        EXPECT_TRUE(over.isEmpty()) << "over the main menu bar:\n" << over.join('\n').toStdString();
        // The stock dialogs speak the program's language.
        QStringList english;
        for (const ModalAnswerer::Seen& seen : r.Modals().Log()) {
            if (!seen.kind.startsWith(QStringLiteral("Q"))) continue;
            if (!Japanese(seen.title)) english << seen.kind + QStringLiteral(": ") + seen.title;
            for (const QString& b : seen.buttons)
                if (!Japanese(b) && QString(b).remove(QLatin1Char('&')) != QStringLiteral("OK"))
                    english << seen.kind + QStringLiteral(" button: ") + b;
        }
        english.removeDuplicates();
        EXPECT_TRUE(english.isEmpty()) << "stock dialogs in English:\n" << english.join('\n').toStdString();
        EXPECT_TRUE(r.Running());
        QString failed;
        EXPECT_TRUE(OpenEveryMenu(r.Bar(), 2, &failed)) << failed.toStdString();
    });
    EXPECT_GT(commands, 100u) << "the menus of both views";
    // The saved documents read back as they were saved.
    for (const auto& [name, s] : saved) {
        CTydDoc doc;
        ASSERT_TRUE(doc.OnOpenDocument(here + "/BAY/" + name)) << name;
        EXPECT_EQ(doc.m_info.m_nCalcState, s.calcState) << name;
        EXPECT_EQ(doc.m_calcArea.GetMeshCountX(), s.countX) << name;
        EXPECT_EQ(doc.m_calcArea.GetMeshCountY(), s.countY) << name;
    }
    CTikDoc project;
    ASSERT_TRUE(project.OnOpenDocument(here + "/BAY/BAY.TIK"));
    EXPECT_EQ(g_surveyPoints.GetCount(), points);
    EXPECT_TRUE(fs::exists(here + "/PARAINI.DAT")) << "the defaults written at the end";
}

// The commands that read or write what a run uses, chosen while a run of the solver goes
// on (its progress window open beside the program): nothing may break, a second run is
// refused.
TEST(WavoraSweep, CommandsWhileARunGoesOn) {
    BringInputFiles(fs::current_path().string());
    // On one thread, so that a run lasts long enough for a submenu to open beside it: on
    // all of eight the example's run takes 0.15-0.2 s, and a submenu missed it three
    // times in a row on a busy machine.
    const char* threads = std::getenv("WAVORA_THREADS");
    const std::string before = threads ? threads : "";
    ::setenv("WAVORA_THREADS", "1", 1);
    struct Restore {
        bool had;
        std::string value;
        ~Restore() {
            if (had) ::setenv("WAVORA_THREADS", value.c_str(), 1);
            else ::unsetenv("WAVORA_THREADS");
        }
    } restore{threads != nullptr, before};
    RunWavoraScript({}, [&](WavoraRun& r) {
        const std::string start = r.Start();
        r.Ui().AnswerFile("", [start](const FileDialogOptions& o) { return AnswerFor(o, start); });
        ASSERT_TRUE(r.OpenBayProject());
        ASSERT_NE(r.OpenFromTree("BAY1.TYD"), nullptr);
        r.CloseTree();
        QMdiSubWindow* calc = r.WindowOf("BAY1.TYD");
        const QString f = QStringLiteral("ファイル(&F)"), c = QStringLiteral("計算(&C)");
        const std::vector<MenuPath> paths = {
            {c, QStringLiteral("計算")},
            {c, QStringLiteral("水深計算")},
            {c, QStringLiteral("波条件")},
            {c, QStringLiteral("連続計算用ﾃﾞｰﾀ作成")},
            {c, QStringLiteral("ﾒｯｼｭﾌｧｲﾙ"), QStringLiteral("出力")},
            {c, QStringLiteral("ﾒｯｼｭﾌｧｲﾙ"), QStringLiteral("入力")},
            {c, QStringLiteral("計算結果ﾌｧｲﾙ出力")},
            {c, QStringLiteral("計算領域"), QStringLiteral("設定")},
            {QStringLiteral("ｺﾝﾀｰ(&K)"), QStringLiteral("ｺﾝﾀｰ発生")},
            {QStringLiteral("ﾃﾞｼﾞﾀﾙﾏｯﾌﾟ(&M)"), QStringLiteral("ﾃﾞｼﾞﾀﾙﾏｯﾌﾟ図")},
            {QStringLiteral("表示(&V)"), QStringLiteral("一覧表示")},
            {f, QStringLiteral("上書き保存(&S)")},
            {f, QStringLiteral("名前を付けて保存(&A)...")},
            {f, QStringLiteral("印刷ﾌﾟﾚﾋﾞｭｰ(&V)")},
        };
        auto solverWindow = [] {
            for (QWidget* t : QApplication::topLevelWidgets())
                if (t->isVisible() && t->findChild<QProgressBar*>()) return true;
            return false;
        };
        for (const MenuPath& path : paths) {
            ASSERT_TRUE(r.Running());
            // A run started afresh (the depths first when they are gone); once the solver's
            // window shows (its showing closes an open menu), the command. A run that ended
            // before the menus were through is started again.
            ChooseResult chosen = ChooseResult::Missing;
            for (int attempt = 0; attempt < 3 && chosen != ChooseResult::Chosen; ++attempt) {
                TydScrollView* v = r.PaneView(calc, 0, 0);
                if (v->Controller()->Doc().m_info.m_nCalcState == 0) {
                    ASSERT_TRUE(r.Choose({c, QStringLiteral("水深計算")}));
                }
                WaitFor([&] { return !AnyRunGoingOn(r); }, 60000);
                ASSERT_TRUE(r.Choose({c, QStringLiteral("計算")}));
                WaitFor(solverWindow, 5000);
                std::fprintf(stderr, "== during the run: %s\n", qPrintable(PathText(path)));
                chosen = Choose(r.Bar(), path);
                if (chosen != ChooseResult::Chosen && v->Controller()->CalcSlot().GetExitCode() != CCalThreads::kStillActive) continue;
                break;
            }
            EXPECT_EQ(chosen, ChooseResult::Chosen) << PathText(path).toStdString();
            WaitFor([&] { return !AnyRunGoingOn(r); }, 120000);
            Pump(30);
            EXPECT_TRUE(r.Running()) << PathText(path).toStdString();
            EXPECT_EQ(r.Inconsistency(), "") << PathText(path).toStdString();
            if (ViewMode(r, calc) > 0) {
                Click(r.FrameOf(calc)->Pane(0, 0)->viewport(), QPoint(30, 30), Qt::RightButton);
            }
        }
        EXPECT_TRUE(r.Ui().Saw("計算中です")) << "a second run refused while one goes on";
    });
}

}  // namespace
}  // namespace wv::gui

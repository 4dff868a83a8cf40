// Where the program's windows open (offscreen platform, the real main window away from
// the screen's corner): the data-selection tree and the output-point result list dock
// below the menus, and a stored place over the menus or off the screen is corrected; the
// condition dialogs, the message boxes, the About box and the progress windows open
// centred on the main window.
#include "program_window_fixture.h"

#include "calc/cal_threads.h"
#include "core/calc_progress.h"
#include "core/qt/calc_progress_qt.h"
#include "platform/qt/qt_ui.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QMessageBox>
#include <QScreen>

namespace wv {
namespace {

class Placement : public ProgramWindowTest {
protected:
    void SetUp() override {
        ProgramWindowTest::SetUp();
        if (HasFatalFailure()) return;
        screen = QGuiApplication::primaryScreen()->availableGeometry();
        // The main window inside the screen, clear of its corner.
        w->setGeometry(screen.left() + 60, screen.top() + 40, screen.width() * 3 / 4, screen.height() * 3 / 4);
        QTest::qWait(50);
    }

    // The visible top-level window with this caption, or null.
    static QWidget* Window(const QString& caption) {
        for (QWidget* t : QApplication::topLevelWidgets())
            if (t->isVisible() && t->windowTitle() == caption) return t;
        return nullptr;
    }

    // The menu bar and the toolbar, in screen coordinates.
    QRect Bars() const {
        const QRect menu(w->menuBar()->mapToGlobal(QPoint(0, 0)), w->menuBar()->size());
        const QRect tools(w->ToolBar()->mapToGlobal(QPoint(0, 0)), w->ToolBar()->size());
        return menu.united(tools);
    }

    // The window lies on the screen and leaves the menus and the toolbar free.
    void ExpectInSight(QWidget* t, const char* what) {
        ASSERT_NE(t, nullptr) << what;
        const QRect r = t->frameGeometry();
        EXPECT_TRUE(screen.contains(r)) << what << " at " << r.x() << "," << r.y();
        EXPECT_FALSE(r.intersects(Bars())) << what << " at " << r.x() << "," << r.y();
        EXPECT_NE(r.topLeft(), screen.topLeft()) << what;
    }

    void ExpectCentredOnMain(QWidget* t, const char* what) {
        ASSERT_NE(t, nullptr) << what;
        const QPoint d = t->frameGeometry().center() - w->frameGeometry().center();
        EXPECT_LE(d.manhattanLength(), kFrameGuess) << what << " off by " << d.x() << "," << d.y();
    }

    // Without a window manager (a bare virtual display) Qt places a dialog allowing for a
    // frame it cannot know, 10 x 40 pixels; with one, or offscreen, the centres meet.
    static constexpr int kFrameGuess = 50;

    QRect screen;
};

TEST_F(Placement, TreeAndResultListDockBelowTheMenusAndStoredPlacesAreCorrected) {
    ScriptedUi ui;
    ScopedUi scoped(&ui);
    ASSERT_TRUE(app->OpenProject(bay + "/BAY.TIK"));
    app->ExecuteCommand(ids::ID_FILE_OPEN);
    PostedMessages().DeliverPending();
    QWidget* tree = Window(QStringLiteral("データの選択"));
    ExpectInSight(tree, "the tree, first opening");
    if (tree) {
        EXPECT_EQ(tree->frameGeometry().topLeft(), w->MdiArea()->mapToGlobal(QPoint(0, 0)));
    }

    ASSERT_NE(app->OpenDocumentFile(bay + "/BAY1.TYD"), nullptr);
    PostedMessages().DeliverPending();
    app->ExecuteCommand(ids::ID_RESULT_LIST);
    QTest::qWait(20);
    QWidget* list = Window(QStringLiteral("各算出位置の計算結果"));
    ExpectInSight(list, "the result list, first opening");
    Shot(QStringLiteral("tree_and_result_list_placed"));
    if (list) {
        // In the other corner: the tree stays in sight.
        EXPECT_EQ(list->frameGeometry().topRight(), w->MdiArea()->mapToGlobal(QPoint(w->MdiArea()->width() - 1, 0)));
        if (w->MdiArea()->width() >= list->frameGeometry().width() + tree->frameGeometry().width()) {
            EXPECT_FALSE(list->frameGeometry().intersects(tree->frameGeometry()));
        }
    }

    // Both closed, their places stored: one over the menus, one off the screen.
    QTest::keyClick(list, Qt::Key_Escape);
    QTest::keyClick(tree, Qt::Key_Escape);
    PostedMessages().DeliverPending();
    QTest::qWait(20);
    ASSERT_EQ(Window(QStringLiteral("データの選択")), nullptr);
    ASSERT_EQ(Window(QStringLiteral("各算出位置の計算結果")), nullptr);
    CProfile& profile = app->Profile();
    EXPECT_GE(profile.GetProfileInt("Position", "TreeDlgTop", -1), 0) << "closing keeps the place";
    profile.WriteProfileInt("Position", "TreeDlgTop", w->frameGeometry().top());
    profile.WriteProfileInt("Position", "TreeDlgLeft", w->frameGeometry().left() + 200);
    profile.WriteProfileInt("Position", "RefPosDlgTop", screen.bottom() + 500);
    profile.WriteProfileInt("Position", "RefPosDlgLeft", screen.right() + 500);
    app->ExecuteCommand(ids::ID_FILE_OPEN);
    PostedMessages().DeliverPending();
    tree = Window(QStringLiteral("データの選択"));
    ExpectInSight(tree, "the tree stored over the menus");
    if (tree) {
        EXPECT_EQ(tree->frameGeometry().left(), w->frameGeometry().left() + 200) << "moved down only";
    }
    app->GetMainFrame()->MDIActivate(app->GetMainFrame()->Children().back().get());
    app->ExecuteCommand(ids::ID_RESULT_LIST);
    QTest::qWait(20);
    ExpectInSight(Window(QStringLiteral("各算出位置の計算結果")), "the result list stored off the screen");

    // A place that harms nothing is kept as stored.
    list = Window(QStringLiteral("各算出位置の計算結果"));
    ASSERT_NE(list, nullptr);
    QTest::keyClick(list, Qt::Key_Escape);
    PostedMessages().DeliverPending();
    const QPoint fine = w->MdiArea()->mapToGlobal(QPoint(120, 90));
    profile.WriteProfileInt("Position", "RefPosDlgTop", fine.y());
    profile.WriteProfileInt("Position", "RefPosDlgLeft", fine.x());
    app->ExecuteCommand(ids::ID_RESULT_LIST);
    QTest::qWait(20);
    list = Window(QStringLiteral("各算出位置の計算結果"));
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->frameGeometry().topLeft(), fine);
}

TEST_F(Placement, DialogsMessageBoxesAndTheAboutBoxOpenCentredOnTheMainWindow) {
    // The program's own message boxes, owned by the main window as the program sets it.
    QtUi qtui;
    qtui.SetOwnerWindow(w);
    ScopedUi scoped(&qtui);
    ASSERT_TRUE(app->OpenProject(bay + "/BAY.TIK"));
    ASSERT_NE(app->OpenDocumentFile(bay + "/BAY1.TYD"), nullptr);

    std::vector<std::pair<std::string, QPoint>> offsets;
    auto measure = [&](const char* what) {
        WhenModal([&, what](QDialog* d) {
            QTest::qWait(20);
            offsets.emplace_back(what, d->frameGeometry().center() - w->frameGeometry().center());
            d->reject();
        });
    };
    measure("the wave conditions");
    app->ExecuteCommand(ids::ID_WAVE_COND);
    measure("a message box");
    Ui().MessageBox("test", "test", MbButtons::OkCancel, MbIcon::Question);
    measure("the About box");
    app->ExecuteCommand(ids::ID_APP_ABOUT);
    ASSERT_EQ(offsets.size(), 3u);
    for (const auto& [what, d] : offsets) EXPECT_LE(d.manhattanLength(), kFrameGuess) << what << " off by " << d.x() << "," << d.y();
}

TEST_F(Placement, ProgressWindowsOpenCentredOnTheMainWindow) {
    ScriptedUi ui;
    ScopedUi scoped(&ui);
    InstallQtCalcProgressFactory();
    w->activateWindow();
    QTest::qWait(20);
    const QWidgetList before = QApplication::topLevelWidgets();
    {
        std::unique_ptr<CCalcProgressDlg> progress = CreateCalcProgressDlg();
        QTest::qWait(20);
        QWidget* shown = nullptr;
        for (QWidget* t : QApplication::topLevelWidgets())
            if (t->isVisible() && !before.contains(t)) shown = t;
        ExpectCentredOnMain(shown, "the progress window");
    }

    // The solver's own window, while a wave calculation from the menu runs.
    ASSERT_TRUE(app->OpenProject(bay + "/BAY.TIK"));
    CDocument* doc = app->OpenDocumentFile(bay + "/BAY1.TYD");
    ASSERT_NE(doc, nullptr);
    auto* tyd = dynamic_cast<CTydDoc*>(doc);
    ASSERT_NE(tyd, nullptr);
    tyd->m_calcArea.SetOrigin(0.0, 200.0);
    tyd->m_calcArea.SetMeshSize(100.0);
    tyd->m_calcArea.SetMeshCountX(25);
    tyd->m_calcArea.SetMeshCountY(25);
    app->ExecuteCommand(ids::ID_DEPTH_CALC);
    ASSERT_EQ(tyd->m_info.m_nCalcState, 1);
    auto* sv = dynamic_cast<TydScrollView*>(app->GetMainFrame()->MDIGetActive()->GetActiveView());
    ASSERT_NE(sv, nullptr);
    const QWidgetList beforeRun = QApplication::topLevelWidgets();
    app->ExecuteCommand(ids::ID_WAVE_CALC);
    QPoint offset(10000, 10000);
    QRect progress, box;
    QTimer watcher;
    QObject::connect(&watcher, &QTimer::timeout, [&] {
        for (QWidget* t : QApplication::topLevelWidgets())
            if (t->isVisible() && !beforeRun.contains(t) && !qobject_cast<QMessageBox*>(t) &&
                t->windowTitle().startsWith(QStringLiteral("計算中")))
            {
                offset = t->frameGeometry().center() - w->frameGeometry().center();
                progress = t->frameGeometry();
            }
        if (auto* b = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()); b && b->isVisible()) {
            box = b->frameGeometry();
            b->accept();
        }
    });
    watcher.start(10);
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 60000) {
        QApplication::processEvents(QEventLoop::AllEvents, 50);
        if (sv->Controller()->CalcSlot().GetExitCode() != CCalThreads::kStillActive && !QApplication::activeModalWidget())
            break;
    }
    watcher.stop();
    EXPECT_LE(offset.manhattanLength(), kFrameGuess) << "the solver's window off by " << offset.x() << "," << offset.y();
    // The end message stands beside the solver's window, still open under it.
    ASSERT_TRUE(box.isValid() && progress.isValid());
    EXPECT_FALSE(box.intersects(progress)) << "the solver's message over its window";
    tyd->SetModifiedFlag(false);
}

}  // namespace
}  // namespace wv

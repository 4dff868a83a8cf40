// Where Wavora's windows come up under a window manager (openbox), read back from the X
// server: the data-selection tree and the result list inside the main window's client
// area below its toolbar, and in the same place when they come again; the solver's end
// message beside its still open progress window, not over it.
// The engine's headers go before Qt's, whose "slots" keyword they use as a name.
#include "calcview/qt/tyd_scroll_view.h"
#include "calc/cal_threads.h"
#include "calcview/tyd_view.h"

#include "gui/wavora_run.h"

#include "app/qt/main_window.h"
#include "app/qt/tree_dialog.h"

#include <QApplication>
#include <QMessageBox>
#include <QMdiArea>
#include <QToolBar>
#include <QTreeWidget>

#include <gtest/gtest.h>

namespace wv::gui {
namespace {

void UnderAWindowManager() {
    std::string why;
    ASSERT_TRUE(StartWindowManager(&why)) << why;
}

// The main window's MDI area on the screen, from where X has the window.
QRect MdiOnScreen(WavoraRun& r) {
    QMdiArea* mdi = r.Window()->MdiArea();
    return QRect(XClientOrigin(r.Window()) + mdi->mapTo(r.Window(), QPoint(0, 0)), mdi->size());
}

QWidget* ResultListWindow() {
    for (QWidget* top : QApplication::topLevelWidgets())
        if (auto* list = top->findChild<QTreeWidget*>(QStringLiteral("c1004")); list && list->isVisible())
            return list->window();
    return nullptr;
}

std::string Text(const QRect& r) {
    return std::to_string(r.x()) + "," + std::to_string(r.y()) + " " + std::to_string(r.width()) + "x" +
           std::to_string(r.height());
}

TEST(WavoraPlaces, ToolWindowsOpenBelowTheToolbarTheSamePlaceEachTime) {
    UnderAWindowManager();
    RunWavoraScript({}, [](WavoraRun& r) {
        ASSERT_TRUE(r.OpenBayProject());
        ASSERT_NE(r.OpenFromTree("BAY1.TYD"), nullptr);
        TreeDialog* tree = r.Window()->Tree();
        ASSERT_TRUE(WaitFor([&] { return XFrameGeometry(tree).isValid(); }));
        const QRect mdi = MdiOnScreen(r);
        const int toolbarBottom =
            XClientOrigin(r.Window()).y() + r.Window()->ToolBar()->mapTo(r.Window(), QPoint(0, r.Window()->ToolBar()->height())).y();
        ASSERT_LE(toolbarBottom, mdi.top());
        Pump(100);  // the window manager's last word on the new window
        const QRect first = XFrameGeometry(tree);
        EXPECT_GE(first.top(), toolbarBottom) << "the tree's title bar over the toolbar: " << Text(first);
        EXPECT_EQ(first.topLeft(), mdi.topLeft()) << "the tree in the client area's top-left corner: " << Text(first);

        // The result list beside it, in the top-right corner.
        ASSERT_TRUE(r.Choose({QStringLiteral("表示(&V)"), QStringLiteral("一覧表示")}));
        QWidget* list = nullptr;
        ASSERT_TRUE(WaitFor([&] { return (list = ResultListWindow()) != nullptr && XFrameGeometry(list).isValid(); }));
        Pump(100);
        const QRect firstList = XFrameGeometry(list);
        EXPECT_GE(firstList.top(), toolbarBottom) << Text(firstList) << " mdi " << Text(mdi);
        EXPECT_EQ(firstList.top(), mdi.top()) << Text(firstList);
        EXPECT_EQ(firstList.right(), mdi.right()) << Text(firstList);

        // Closed and opened again, twice: the same places.
        for (int round = 1; round <= 2; ++round) {
            r.CloseTree();
            ASSERT_TRUE(SendWindowManagerClose(list));
            ASSERT_TRUE(WaitFor([] { return ResultListWindow() == nullptr; }));
            ASSERT_TRUE(r.Choose({QStringLiteral("ファイル(&F)"), QStringLiteral("開く(&O)...")}));
            ASSERT_TRUE(WaitFor([&] { return tree->isVisible() && XFrameGeometry(tree).isValid(); }));
            ASSERT_TRUE(r.Choose({QStringLiteral("表示(&V)"), QStringLiteral("一覧表示")}));
            ASSERT_TRUE(WaitFor([&] { return (list = ResultListWindow()) != nullptr && XFrameGeometry(list).isValid(); }));
            Pump(100);
            EXPECT_EQ(XFrameGeometry(tree), first) << "round " << round << ": " << Text(XFrameGeometry(tree));
            EXPECT_EQ(XFrameGeometry(list), firstList) << "round " << round << ": " << Text(XFrameGeometry(list));
        }
        Shot(QStringLiteral("wavora-tree"));
    });
}

TEST(WavoraPlaces, SolversEndMessageStandsBesideItsProgressWindow) {
    UnderAWindowManager();
    RunWavoraScript({}, [](WavoraRun& r) {
        ASSERT_TRUE(r.OpenBayProject());
        QMdiSubWindow* calc = r.OpenFromTree("BAY1.TYD");
        ASSERT_NE(calc, nullptr);
        r.CloseTree();
        CTydView& view = *r.PaneView(calc, 0, 0)->Controller();
        if (view.Doc().m_info.m_nCalcState < 1) {
            ASSERT_TRUE(r.Choose({QStringLiteral("計算(&C)"), QStringLiteral("水深計算")}));
            ASSERT_TRUE(WaitFor([&] { return view.Doc().m_info.m_nCalcState == 1; }, 60000));
        }
        // The end message, as X shows it, against the progress window still open below it.
        QRect box, progress, screen = XScreenGeometry();
        bool seen = false;
        ModalAnswerer::Rule rule;
        rule.name = "end message";
        rule.times = 1;
        rule.match = [](QWidget* w) {
            auto* b = qobject_cast<QMessageBox*>(w);
            return b && b->text().startsWith(QStringLiteral("処理は正常終了しました"));
        };
        rule.act = [&](QWidget* w) {
            for (QWidget* top : QApplication::topLevelWidgets())
                if (top->objectName() == QStringLiteral("tydsolvProgress") && top->isVisible())
                    progress = XFrameGeometry(top);
            box = XFrameGeometry(w);
            seen = true;
            Shot(QStringLiteral("wavora-solver-end"));
            ModalAnswerer::PressButton(w, QMessageBox::Ok);
        };
        r.Modals().On(rule);
        ASSERT_TRUE(r.Choose({QStringLiteral("計算(&C)"), QStringLiteral("計算")}));
        ASSERT_TRUE(WaitFor([&] { return seen; }, 120000));
        ASSERT_TRUE(progress.isValid()) << "the progress window is open while its end message shows";
        EXPECT_FALSE(box.intersects(progress)) << "the end message " << testing::PrintToString(box)
                                               << " covers the progress window " << testing::PrintToString(progress);
        EXPECT_TRUE(screen.contains(box)) << testing::PrintToString(box);
        ASSERT_TRUE(WaitFor([&] {
            const int code = view.CalcSlot().GetExitCode();
            return code != CCalThreads::kStillActive && code != -1;
        }, 30000));
        EXPECT_EQ(view.CalcSlot().GetExitCode(), 0);
    });
}

}  // namespace
}  // namespace wv::gui

// Every menu of Wavora's main window opened with a click and closed with Escape, twice in
// a row, with every kind of window active (none, the project view, a calculation view,
// a split calculation view), and again after a print preview, after closing the project
// and after opening it from the recent-project list. The program must stay alive.
#include "gui/wavora_run.h"

#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>

#include "app/qt/main_window.h"

#include <gtest/gtest.h>

namespace wv::gui {
namespace {

const QString kFile = QStringLiteral("ファイル(&F)");

// Every menu twice, then pictures of each menu open (with WAVORA_GUI_SHOTS).
void MenusTwice(WavoraRun& r, const QString& kind) {
    QString failed;
    EXPECT_TRUE(OpenEveryMenu(r.Bar(), 2, &failed)) << kind.toStdString() << ": " << failed.toStdString();
    ASSERT_TRUE(r.Running()) << kind.toStdString();
    EXPECT_EQ(r.Inconsistency(), "") << kind.toStdString();
    EXPECT_TRUE(ShootEveryMenu(r.Bar(), QStringLiteral("wavora-%1").arg(kind), &failed)) << failed.toStdString();
}

TEST(WavoraMenus, TwiceWithoutDocument) {
    RunWavoraScript({}, [](WavoraRun& r) {
        EXPECT_EQ(MenuTitles(r.Bar()), (QStringList{kFile, "表示(&V)", "ヘルプ(&H)"}));
        MenusTwice(r, "empty");
    });
}

TEST(WavoraMenus, TwiceWithTheProjectView) {
    RunWavoraScript({}, [](WavoraRun& r) {
        ASSERT_TRUE(r.OpenBayProject());
        EXPECT_EQ(r.Window()->MdiArea()->activeSubWindow(), r.WindowOf("BAY.TIK"));
        EXPECT_TRUE(MenuTitles(r.Bar()).contains(QStringLiteral("入力(&I)")));
        MenusTwice(r, "project");
    });
}

TEST(WavoraMenus, TwiceWithACalculationView) {
    RunWavoraScript({}, [](WavoraRun& r) {
        ASSERT_TRUE(r.OpenBayProject());
        QMdiSubWindow* calc = r.OpenFromTree("BAY1.TYD");
        ASSERT_NE(calc, nullptr);
        EXPECT_EQ(r.Window()->MdiArea()->activeSubWindow(), calc);
        EXPECT_TRUE(MenuTitles(r.Bar()).contains(QStringLiteral("計算(&C)")));
        MenusTwice(r, "calc");
    });
}

TEST(WavoraMenus, TwiceWithASplitCalculationView) {
    RunWavoraScript({}, [](WavoraRun& r) {
        ASSERT_TRUE(r.OpenBayProject());
        QMdiSubWindow* calc = r.OpenFromTree("BAY1.TYD");
        ASSERT_NE(calc, nullptr);
        calc->resize(700, 560);
        ASSERT_TRUE(r.Split(calc)) << "the split bars dragged in from the edges open 2 x 2 panes";
        MenusTwice(r, "split");
    });
}

TEST(WavoraMenus, TwiceAfterAPrintPreview) {
    RunWavoraScript({}, [](WavoraRun& r) {
        ASSERT_TRUE(r.OpenBayProject());
        ASSERT_NE(r.OpenFromTree("BAY1.TYD"), nullptr);
        const std::size_t before = r.Modals().Log().size();
        ASSERT_TRUE(r.Choose({kFile, QStringLiteral("印刷ﾌﾟﾚﾋﾞｭｰ(&V)")}));
        const QStringList seen = r.Modals().LogLines(before);
        ASSERT_FALSE(seen.isEmpty());
        EXPECT_TRUE(seen.front().startsWith(QStringLiteral("QPrintPreviewDialog"))) << seen.join('\n').toStdString();
        MenusTwice(r, "preview");
    });
}

TEST(WavoraMenus, TwiceAfterClosingTheProject) {
    RunWavoraScript({}, [](WavoraRun& r) {
        ASSERT_TRUE(r.OpenBayProject());
        ASSERT_NE(r.OpenFromTree("BAY1.TYD"), nullptr);
        r.Activate(r.WindowOf("BAY.TIK"));
        ASSERT_EQ(r.Window()->MdiArea()->activeSubWindow(), r.WindowOf("BAY.TIK"));
        ASSERT_TRUE(r.Choose({kFile, QStringLiteral("閉じる(&C)")}));
        ASSERT_TRUE(WaitFor([&] { return r.WindowOf("BAY.TIK") == nullptr; }));
        MenusTwice(r, "closed-project");
        ASSERT_TRUE(r.Choose({kFile, QStringLiteral("すべて閉じる(&K)")}));
        ASSERT_TRUE(WaitFor([&] { return r.Window()->MdiArea()->subWindowList().isEmpty(); }));
        MenusTwice(r, "all-closed");
    });
}

TEST(WavoraMenus, TwiceAfterOpeningARecentProject) {
    RunWavoraScript({}, [](WavoraRun& r) {
        ASSERT_TRUE(r.OpenBayProject());
        ASSERT_TRUE(r.Choose({kFile, QStringLiteral("すべて閉じる(&K)")}));
        ASSERT_TRUE(WaitFor([&] { return r.Window()->MdiArea()->subWindowList().isEmpty(); }));
        ASSERT_TRUE(r.ChooseRecent(1));
        ASSERT_TRUE(WaitFor([&] { return r.WindowOf("BAY.TIK") != nullptr; }));
        MenusTwice(r, "recent");
    });
}

// The zoom items of both views' menus (32777 to 32779) as a user reads them.
TEST(WavoraMenus, ZoomItemsReadTheSameInBothViews) {
    RunWavoraScript({}, [](WavoraRun& r) {
        ASSERT_TRUE(r.OpenBayProject());
        const QStringList wanted = {QStringLiteral("拡大"), QStringLiteral("縮小"), QStringLiteral("全体")};
        auto texts = [&] {
            QStringList found;
            for (const MenuPath& p : CommandPaths(r.Bar())) {
                QAction* a = ActionAt(r.Bar(), p);
                const int id = a ? a->data().toInt() : 0;
                if (id >= 32777 && id <= 32779) found << a->text();
            }
            return found;
        };
        EXPECT_EQ(texts(), wanted) << "the project view's 地形 menu";
        ASSERT_NE(r.OpenFromTree("BAY1.TYD"), nullptr);
        EXPECT_EQ(texts(), wanted) << "the calculation view's 表示 menu";
    });
}

}  // namespace
}  // namespace wv::gui

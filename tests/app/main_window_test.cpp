// The main window on the offscreen platform: menus and toolbar from the command table,
// menus that follow the active document, black empty views, the status panes, closing.
#include "core/command_ids.h"
#include "app/qt/main_window.h"
#include "app/qt/qt_app_host.h"
#include "app/qt/tree_dialog.h"
#include "app/wavora_app.h"
#include "app_test_util.h"
#include "platform/qt/scroll_view_widget.h"
#include "platform/ui_service.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace wv {
namespace {

QStringList MenuTitles(QMainWindow* w) {
    QStringList titles;
    for (QAction* a : w->menuBar()->actions()) titles << a->text();
    return titles;
}

TEST(MainWindow, MenusToolbarPanesAndDocumentWindows) {
    const std::string here = apptest::Here();
    const std::string bay = apptest::StartInScratch();

    int argc = 1;
    char name[] = "main_window_test";
    char* argv[] = {name, nullptr};
    QApplication qapp(argc, argv);
    ScriptedUi ui;
    ScopedUi scoped(&ui);
    {
        QtAppHost host;
        CWavoraApp app(host);
        host.SetApp(&app);
        ASSERT_TRUE(app.InitInstance());
        MainWindow* w = host.Window();
        ASSERT_NE(w, nullptr);
        EXPECT_EQ(MenuTitles(w), (QStringList{"ファイル(&F)", "表示(&V)", "ヘルプ(&H)"}));
        EXPECT_EQ(w->ToolBar()->actions().size(), 13);
        EXPECT_FALSE(w->Action(ids::ID_FILE_NEW)->isEnabled());
        EXPECT_EQ(w->Action(ids::ID_FILE_NEW)->shortcut(), QKeySequence(QStringLiteral("Ctrl+N")));
        EXPECT_FALSE(w->Action(ids::ID_FILE_NEW)->icon().isNull()) << "toolbar icons of our own";
        EXPECT_EQ(w->StatusPane(0)->text(), QStringLiteral("準備できてます・・・・・"));
        app.GetMainFrame()->StatusBar().SetPaneText(1, "100.000/200.000/0.0");
        EXPECT_EQ(w->StatusPane(1)->text(), QStringLiteral("100.000/200.000/0.0"));

        ASSERT_TRUE(app.OpenProject(bay + "/BAY.TIK"));
        EXPECT_EQ(MenuTitles(w), (QStringList{"ファイル(&F)", "表示(&V)", "ウィンドウ(&W)", "ヘルプ(&H)"}));
        EXPECT_TRUE(w->Action(ids::ID_FILE_NEW)->isEnabled()) << "refreshed on activation, no polling";
        app.ExecuteCommand(ids::ID_FILE_OPEN);
        PostedMessages().DeliverPending();
        QTreeWidget* tree = w->Tree()->Tree();
        ASSERT_EQ(tree->topLevelItemCount(), 1);
        EXPECT_EQ(tree->topLevelItem(0)->text(0), QStringLiteral("ﾌﾟﾛｼﾞｪｸﾄ(BAY)"));
        ASSERT_EQ(tree->topLevelItem(0)->childCount(), 2);
        tree->setCurrentItem(tree->topLevelItem(0)->child(1));  // as a click does
        PostedMessages().DeliverPending();
        ASSERT_EQ(w->MdiArea()->subWindowList().size(), 2);
        QMdiSubWindow* calc = w->MdiArea()->activeSubWindow();
        ASSERT_NE(calc, nullptr);
        EXPECT_TRUE(calc->windowTitle().startsWith(QStringLiteral("BAY1.TYD")));
        auto* view = qobject_cast<QAbstractScrollArea*>(calc->widget());
        ASSERT_NE(dynamic_cast<ScrollViewWidget*>(calc->widget()), nullptr);
        calc->resize(300, 200);
        qapp.processEvents();
        const QImage shot = view->viewport()->grab().toImage();
        EXPECT_EQ(QColor(shot.pixel(shot.width() / 2, shot.height() / 2)), QColor(Qt::black)) << "views stay empty";
        EXPECT_EQ(w->windowTitle(), QStringLiteral("Wavora - BAY1.TYD"));
        w->MdiArea()->setActiveSubWindow(w->MdiArea()->subWindowList().front());
        EXPECT_EQ(app.GetMainFrame()->CurrentMenuId(), ids::IDR_TIKTYPE);
        EXPECT_EQ(w->windowTitle(), QStringLiteral("Wavora - BAY.TIK"));

        // The close box of a document window closes its document.
        w->MdiArea()->subWindowList().back()->close();
        qapp.processEvents();
        EXPECT_EQ(app.GetDocManager()->Documents().size(), 1u);
        EXPECT_TRUE(w->close());
        EXPECT_TRUE(std::filesystem::exists(here + "/PARAINI.DAT"));
    }
    ::unsetenv("XDG_RUNTIME_DIR");
    ::unsetenv("XDG_CONFIG_HOME");
}

}  // namespace
}  // namespace wv

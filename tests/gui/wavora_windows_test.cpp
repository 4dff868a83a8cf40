// Wavora's windows under a user's hand: the Window menu cascades, tiles, arranges the
// icons and lists the open windows; Ctrl+F6 and Ctrl+Tab move between the windows, F6 and
// Shift+F6 between the panes of a split calculation window; the toolbar and the status
// bar hide and show from the View menu.
// The engine's headers go before Qt's, whose "slots" keyword they use as a name.
#include "calcview/qt/tyd_scroll_view.h"
#include "platform/document.h"
#include "platform/frame.h"

#include "gui/wavora_run.h"

#include "app/qt/main_window.h"
#include "app/qt/tree_dialog.h"
#include "calcview/qt/tyd_frame.h"
#include "platform/qt/scroll_view_widget.h"

#include <QAction>
#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>
#include <QTreeWidget>

#include <gtest/gtest.h>

namespace wv::gui {
namespace {

const QString kWindow = QStringLiteral("ウィンドウ(&W)");
const QString kView = QStringLiteral("表示(&V)");

// The project window and the calculation window BAY1 open, the calculation active.
void OpenTwo(WavoraRun& r) {
    ASSERT_TRUE(r.OpenBayProject());
    ASSERT_NE(r.OpenFromTree("BAY1.TYD"), nullptr);
    r.CloseTree();
}

TEST(WavoraWindows, WindowMenuCascadesTilesAndArrangesIcons) {
    RunWavoraScript({}, [](WavoraRun& r) {
        OpenTwo(r);
        QMdiArea* mdi = r.Window()->MdiArea();
        QMdiSubWindow* project = r.WindowOf("BAY.TIK");
        QMdiSubWindow* calc = r.WindowOf("BAY1.TYD");

        ASSERT_EQ(Choose(r.Bar(), {kWindow, QStringLiteral("並べて表示(&T)")}), ChooseResult::Chosen)
            << "enabled with two windows open";
        Pump(50);
        EXPECT_FALSE(project->geometry().intersects(calc->geometry()));
        EXPECT_GE(project->width() * project->height() + calc->width() * calc->height(),
                  mdi->viewport()->width() * mdi->viewport()->height() * 9 / 10)
            << "the two windows fill the area";

        ASSERT_EQ(Choose(r.Bar(), {kWindow, QStringLiteral("重ねて表示(&C)")}), ChooseResult::Chosen);
        Pump(50);
        const QPoint step = calc->pos() - project->pos();
        EXPECT_NE(step, QPoint(0, 0));
        EXPECT_EQ(step.x() > 0, step.y() > 0) << "one window down and right of the other";
        EXPECT_TRUE(project->geometry().intersects(calc->geometry()));
        EXPECT_EQ(mdi->activeSubWindow(), calc) << "the active window stays in front";

        // Both minimised with their title-bar buttons, then lined up along the bottom.
        ClickMinimizeBox(calc);
        ClickMinimizeBox(project);
        ASSERT_TRUE(WaitFor([&] { return calc->isMinimized() && project->isMinimized(); }));
        project->move(200, 40);
        ASSERT_EQ(Choose(r.Bar(), {kWindow, QStringLiteral("アイコンの整列(&A)")}), ChooseResult::Chosen);
        Pump(50);
        const int bottom = mdi->viewport()->height();
        EXPECT_EQ(project->geometry().bottom() + 1, bottom);
        EXPECT_EQ(calc->geometry().bottom() + 1, bottom);
        EXPECT_FALSE(project->geometry().intersects(calc->geometry()));
        EXPECT_EQ(std::min(project->x(), calc->x()), 0);
        EXPECT_EQ(r.Inconsistency(), "");
    });
}

TEST(WavoraWindows, WindowMenuListsTheWindowsAndActivatesTheChosenOne) {
    RunWavoraScript({}, [](WavoraRun& r) {
        OpenTwo(r);
        QMdiArea* mdi = r.Window()->MdiArea();
        QMenu* menu = OpenMenu(r.Bar(), kWindow);
        ASSERT_NE(menu, nullptr);
        QAction* projectEntry = nullptr;
        QAction* calcEntry = nullptr;
        for (QAction* a : menu->actions()) {
            if (a->text().endsWith(QStringLiteral("BAY.TIK"))) projectEntry = a;
            if (a->text().endsWith(QStringLiteral("BAY1.TYD"))) calcEntry = a;
        }
        Shot(QStringLiteral("wavora-window-menu-two-windows"));
        ASSERT_NE(projectEntry, nullptr) << "the project window is listed";
        ASSERT_NE(calcEntry, nullptr) << "the calculation window is listed";
        EXPECT_TRUE(calcEntry->isChecked()) << "the active window is checked";
        EXPECT_FALSE(projectEntry->isChecked());
        ClickItem(menu, projectEntry);
        ASSERT_TRUE(WaitFor([&] { return mdi->activeSubWindow() == r.WindowOf("BAY.TIK"); }));
        EXPECT_EQ(r.Window()->windowTitle(), QStringLiteral("Wavora - BAY.TIK"));
        // Listed anew on every opening: now the project is the checked one.
        menu = OpenMenu(r.Bar(), kWindow);
        ASSERT_NE(menu, nullptr);
        int checked = 0;
        for (QAction* a : menu->actions())
            if (a->isChecked()) {
                ++checked;
                EXPECT_TRUE(a->text().endsWith(QStringLiteral("BAY.TIK"))) << a->text().toStdString();
            }
        EXPECT_EQ(checked, 1);
        EscapeMenu(menu);
        EXPECT_EQ(r.Inconsistency(), "");
    });
}

TEST(WavoraWindows, CtrlF6AndCtrlTabMoveBetweenWindows) {
    RunWavoraScript({}, [](WavoraRun& r) {
        OpenTwo(r);
        QMdiArea* mdi = r.Window()->MdiArea();
        QMdiSubWindow* project = r.WindowOf("BAY.TIK");
        QMdiSubWindow* calc = r.WindowOf("BAY1.TYD");
        ASSERT_EQ(mdi->activeSubWindow(), calc);
        Key(FocusTarget(r.Window()), Qt::Key_F6, Qt::ControlModifier);
        EXPECT_TRUE(WaitFor([&] { return mdi->activeSubWindow() == project; }, 2000)) << "Ctrl+F6";
        Key(FocusTarget(r.Window()), Qt::Key_Tab, Qt::ControlModifier);
        EXPECT_TRUE(WaitFor([&] { return mdi->activeSubWindow() == calc; }, 2000)) << "Ctrl+Tab";
        EXPECT_EQ(r.Window()->windowTitle(), QStringLiteral("Wavora - BAY1.TYD"));
        EXPECT_EQ(r.Inconsistency(), "");
    });
}

TEST(WavoraWindows, F6AndShiftF6MoveBetweenPanes) {
    RunWavoraScript({}, [](WavoraRun& r) {
        OpenTwo(r);
        QMdiSubWindow* calc = r.WindowOf("BAY1.TYD");
        calc->resize(760, 600);
        ASSERT_TRUE(r.Split(calc));
        CTydFrame* frame = r.FrameOf(calc);
        CMDIChildWnd* child = r.ChildOf(calc);
        ASSERT_NE(child, nullptr);
        QWidget* first = frame->Pane(0, 0)->viewport();
        Click(first, first->rect().center());
        ASSERT_EQ(child->GetActiveView(), r.PaneView(calc, 0, 0));
        // Row by row, and round again.
        const int order[][2] = {{0, 1}, {1, 0}, {1, 1}, {0, 0}};
        for (const auto& rc : order) {
            Key(FocusTarget(r.Window()), Qt::Key_F6);
            EXPECT_TRUE(WaitFor([&] { return child->GetActiveView() == r.PaneView(calc, rc[0], rc[1]); }, 1000))
                << "F6 to pane " << rc[0] << "," << rc[1];
        }
        Key(FocusTarget(r.Window()), Qt::Key_F6, Qt::ShiftModifier);
        EXPECT_TRUE(WaitFor([&] { return child->GetActiveView() == r.PaneView(calc, 1, 1); }, 1000)) << "Shift+F6";
        Key(FocusTarget(r.Window()), Qt::Key_F6, Qt::ShiftModifier);
        EXPECT_TRUE(WaitFor([&] { return child->GetActiveView() == r.PaneView(calc, 1, 0); }, 1000)) << "Shift+F6";
        // The key moves the keyboard too: the active pane has the focus.
        EXPECT_EQ(QApplication::focusWidget(), frame->Pane(1, 0)) << "the pane the key moved to has the focus";
        EXPECT_EQ(r.Inconsistency(), "");
    });
}

TEST(WavoraWindows, ToolbarAndStatusBarHideAndShow) {
    RunWavoraScript({}, [](WavoraRun& r) {
        QToolBar* bar = r.Window()->ToolBar();
        QStatusBar* status = r.Window()->statusBar();
        auto checked = [&](const QString& item) {
            QMenu* m = OpenMenu(r.Bar(), kView);
            QAction* a = FindItem(m, item);
            const bool on = a && a->isChecked();
            EscapeMenu(m);
            return on;
        };
        const QString toolbar = QStringLiteral("ツール バー(&T)");
        const QString statusbar = QStringLiteral("ステータス バー(&S)");
        // Without a document and with the project window active: the same items work.
        for (int round = 0; round < 2; ++round) {
            if (round == 1) {
                ASSERT_TRUE(r.OpenBayProject());
            }
            EXPECT_TRUE(checked(toolbar));
            ASSERT_EQ(Choose(r.Bar(), {kView, toolbar}), ChooseResult::Chosen) << "round " << round;
            EXPECT_TRUE(bar->isHidden());
            EXPECT_FALSE(checked(toolbar)) << "unchecked while hidden";
            ASSERT_EQ(Choose(r.Bar(), {kView, toolbar}), ChooseResult::Chosen);
            EXPECT_FALSE(bar->isHidden());
            EXPECT_TRUE(checked(statusbar));
            ASSERT_EQ(Choose(r.Bar(), {kView, statusbar}), ChooseResult::Chosen);
            EXPECT_TRUE(status->isHidden());
            EXPECT_FALSE(checked(statusbar));
            ASSERT_EQ(Choose(r.Bar(), {kView, statusbar}), ChooseResult::Chosen);
            EXPECT_FALSE(status->isHidden());
            EXPECT_TRUE(checked(statusbar));
        }
    });
}

// The keys of the main window's accelerator table, pressed where the keyboard is.
TEST(WavoraWindows, AcceleratorKeys) {
    RunWavoraScript({}, [](WavoraRun& r) {
        ASSERT_TRUE(r.OpenBayProject());
        QWidget* tree = r.Window()->Tree();
        Key(FocusTarget(r.Window()), Qt::Key_O, Qt::ControlModifier);
        ASSERT_TRUE(WaitFor([&] { return tree->isVisible(); })) << "Ctrl+O shows the tree";
        ASSERT_NE(r.OpenFromTree("BAY1.TYD"), nullptr);
        r.CloseTree();
        QMdiSubWindow* calc = r.WindowOf("BAY1.TYD");
        r.Activate(calc);
        // A change, then Ctrl+S.
        ASSERT_TRUE(r.Choose({QStringLiteral("図面(&Z)"), QStringLiteral("方位記号"), QStringLiteral("設定")}));
        QWidget* port = r.FrameOf(calc)->Pane(0, 0)->viewport();
        Click(port, port->rect().center());
        Click(port, port->rect().center(), Qt::RightButton);
        CDocument* doc = r.DocumentNamed("BAY1.TYD");
        ASSERT_TRUE(doc->IsModified());
        Key(FocusTarget(r.Window()), Qt::Key_S, Qt::ControlModifier);
        EXPECT_TRUE(WaitFor([&] { return !doc->IsModified(); }, 3000)) << "Ctrl+S saves";
        // Ctrl+P: the print dialog; Ctrl+N: the new calculation's dialog.
        std::size_t from = r.Modals().Log().size();
        Key(FocusTarget(r.Window()), Qt::Key_P, Qt::ControlModifier);
        ASSERT_TRUE(WaitFor([&] { return r.Modals().Log().size() > from && !QApplication::activeModalWidget(); }));
        EXPECT_EQ(r.Modals().Log()[from].kind, QStringLiteral("QPrintDialog")) << "Ctrl+P prints";
        from = r.Modals().Log().size();
        r.Modals().OnTitle(QStringLiteral("新規作成"), [](QWidget* d) { ModalAnswerer::PressDialogButton(d, 2); }, 1);
        Key(FocusTarget(r.Window()), Qt::Key_N, Qt::ControlModifier);
        ASSERT_TRUE(WaitFor([&] { return r.Modals().Log().size() > from && !QApplication::activeModalWidget(); }));
        EXPECT_EQ(r.Modals().Log()[from].title, QStringLiteral("新規作成")) << "Ctrl+N asks for a new calculation";
        EXPECT_EQ(r.Inconsistency(), "");
    });
}

// The data-selection tree has the keyboard on its list whenever it opens, also after its
// "閉じる" was clicked: Home goes to the project, End to the last calculation (which
// opens it), with no click into the list. The keys go through the X server, under a
// window manager that gives the opened window the focus, as on a user's desktop.
TEST(WavoraWindows, HomeAndEndMoveThroughTheTreeAsItOpens) {
    std::string why;
    ASSERT_TRUE(StartWindowManager(&why)) << why;
    RunWavoraScript({}, [](WavoraRun& r) {
        ASSERT_TRUE(r.OpenBayProject());
        TreeDialog* tree = r.Window()->Tree();
        for (int round = 1; round <= 2; ++round) {
            SCOPED_TRACE(round);
            ASSERT_TRUE(WaitFor([&] { return XHasFocus(r.Window()); }, 3000));
            ASSERT_TRUE(XKeyToFocus(Qt::Key_O, Qt::ControlModifier));
            ASSERT_TRUE(WaitFor([&] { return tree->isVisible() && XHasFocus(tree); }, 3000));
            QTreeWidget* list = r.Tree();
            QTreeWidgetItem* root = list->topLevelItem(0);
            ASSERT_TRUE(root && root->childCount() == 3) << "the project and its two calculations";
            ASSERT_TRUE(XKeyToFocus(Qt::Key_Home));
            EXPECT_TRUE(WaitFor([&] { return list->currentItem() == root; })) << "Home";
            ASSERT_TRUE(WaitFor([&] { return XHasFocus(tree); }, 3000));
            ASSERT_TRUE(XKeyToFocus(Qt::Key_End));
            EXPECT_TRUE(WaitFor([&] { return list->currentItem() == root->child(2) && r.WindowOf("BAY2.TYD"); }))
                << "End";
            r.CloseTree();
        }
    });
}

}  // namespace
}  // namespace wv::gui

// Wavora started under a window manager on a screen of 1024 x 600: its tallest dialogs
// and its tool windows lie wholly on the screen, and their buttons close them there.

#include "gui/small_screen.h"
#include "gui/wavora_run.h"

#include "app/qt/main_window.h"
#include "app/qt/tree_dialog.h"

#include <QAbstractButton>
#include <QApplication>
#include <QTreeWidget>

namespace wv::gui {
namespace {

// The window lies on the screen with `button`, which the pointer is moved onto and
// clicks: the window goes.
void LiesOnTheScreenAndClosesBy(QWidget* window, QAbstractButton* button) {
    ASSERT_NE(button, nullptr);
    WhollyOnTheScreen(*window, button);
    Shot(QStringLiteral("wavora-small-") + window->windowTitle());
    ClickButton(button);
    EXPECT_TRUE(WaitFor([window] { return !window->isVisible(); }, 2000)) << window->windowTitle().toStdString();
}

QAbstractButton* Control(QWidget* window, int id) {
    return window->findChild<QAbstractButton*>(QStringLiteral("c%1").arg(id));
}

TEST(SmallScreen, WavorasTallestDialogsAndToolWindowsLieOnTheScreen) {
    StartWindowManagerOrFail();
    RunWavoraScript({}, [](WavoraRun& r) {
        ASSERT_TRUE(r.OpenBayProject());
        auto dialog = [&r](const QString& title, const MenuPath& path) {
            bool seen = false;
            r.Modals().OnTitle(title, [&seen](QWidget* d) {
                seen = true;
                LiesOnTheScreenAndClosesBy(d, Control(d, 1));
            }, 1);
            ASSERT_TRUE(r.Choose(path));
            EXPECT_TRUE(WaitFor([&] { return seen && !QApplication::activeModalWidget(); })) << title.toStdString();
        };
        dialog(QStringLiteral("地形条件"), {QStringLiteral("地形(&T)"), QStringLiteral("設定(&S)")});
        ASSERT_NE(r.OpenFromTree("BAY1.TYD"), nullptr);
        dialog(QStringLiteral("波条件"), {QStringLiteral("計算(&C)"), QStringLiteral("波条件")});
        dialog(QStringLiteral("図面条件"), {QStringLiteral("図面(&Z)"), QStringLiteral("図面条件")});

        TreeDialog* tree = r.Window()->Tree();
        QAbstractButton* close = nullptr;
        for (QAbstractButton* b : tree->findChildren<QAbstractButton*>())
            if (b->text() == QStringLiteral("閉じる")) close = b;
        LiesOnTheScreenAndClosesBy(tree, close);

        ASSERT_TRUE(r.Choose({QStringLiteral("表示(&V)"), QStringLiteral("一覧表示")}));
        QWidget* list = nullptr;
        ASSERT_TRUE(WaitFor([&] { return (list = r.Window()->findChild<QTreeWidget*>(QStringLiteral("c1004"))) != nullptr; }));
        LiesOnTheScreenAndClosesBy(list->window(), Control(list->window(), 2));
    });
}

}  // namespace
}  // namespace wv::gui

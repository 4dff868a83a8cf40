// Small things a user reads: the main window's title (as X has it) with a maximised
// document window, and the project filter in the program's own open dialog.
// The engine's headers go before Qt's, whose "slots" keyword they use as a name.
#include "calcview/qt/tyd_scroll_view.h"

#include "gui/wavora_run.h"

#include "app/qt/main_window.h"

#include <QComboBox>
#include <QFileDialog>
#include <QMdiSubWindow>
#include <QMdiArea>
#include <QStyle>
#include <QTest>

#include <gtest/gtest.h>

namespace wv::gui {
namespace {

// The title as the window manager gets it, once it has settled.
QString Title(WavoraRun& r) {
    QString t;
    WaitFor([&] { return (t = XWindowTitle(r.Window())) == r.Window()->windowTitle().remove(QStringLiteral("[*]")); }, 1000);
    return t;
}

TEST(WavoraDetails, MaximisedWindowNamesItsDocumentOnceInTheTitle) {
    RunWavoraScript({}, [](WavoraRun& r) {
        ASSERT_TRUE(r.OpenBayProject());
        QMdiSubWindow* calc = r.OpenFromTree("BAY1.TYD");
        ASSERT_NE(calc, nullptr);
        r.CloseTree();
        EXPECT_EQ(Title(r), QStringLiteral("Wavora - BAY1.TYD"));
        ClickTitleBarButton(calc, QStyle::SC_TitleBarMaxButton);
        ASSERT_TRUE(WaitFor([calc] { return calc->isMaximized(); }));
        Pump(50);
        EXPECT_EQ(Title(r), QStringLiteral("Wavora - [BAY1.TYD]"));
        Shot(QStringLiteral("wavora-maximised"));
        // Another document comes to the front, maximised as well: its name alone.
        ASSERT_TRUE(r.Choose({QStringLiteral("ウィンドウ(&W)"), QStringLiteral("&1 BAY.TIK")}));
        ASSERT_TRUE(WaitFor([&] { return r.Window()->MdiArea()->activeSubWindow() == r.WindowOf("BAY.TIK"); }));
        Pump(50);
        EXPECT_EQ(Title(r), QStringLiteral("Wavora - [BAY.TIK]"));
        // Restored: the plain form again.
        r.Window()->MdiArea()->activeSubWindow()->showNormal();
        Pump(50);
        EXPECT_EQ(Title(r), QStringLiteral("Wavora - BAY.TIK"));
    });
}

TEST(WavoraDetails, ProjectFilterShowsItsPatternOnce) {
    WavoraOptions options;
    options.scriptedUi = false;
    RunWavoraScript(options, [](WavoraRun& r) {
        QStringList shown;
        r.Modals().OnTitle(QStringLiteral("ﾌﾟﾛｼﾞｪｸﾄを開く"), [&shown](QWidget* w) {
            if (auto* types = w->findChild<QComboBox*>(QStringLiteral("fileTypeCombo")))
                for (int i = 0; i < types->count(); ++i) shown << types->itemText(i);
            QTest::keyClick(w, Qt::Key_Escape);
        }, 1);
        ASSERT_TRUE(r.Choose({QStringLiteral("ファイル(&F)"), QStringLiteral("ﾌﾟﾛｼﾞｪｸﾄを開く(&W)...")}));
        ASSERT_TRUE(WaitFor([&] { return !shown.isEmpty(); }));
        EXPECT_EQ(shown, QStringList{QStringLiteral("ﾌﾟﾛｼﾞｪｸﾄﾌｧｲﾙ(*.TIK)")});
    });
}

}  // namespace
}  // namespace wv::gui

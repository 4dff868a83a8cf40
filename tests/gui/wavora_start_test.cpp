// Wavora just started, before anything is clicked: the keyboard reaches its menus. The
// keys go through the X server to wherever it sends the keyboard, as a user's keys do,
// once on a bare display and once under a window manager (openbox), which gives new
// windows the focus itself.
#include "gui/wavora_run.h"

#include "app/qt/main_window.h"

#include <QMenu>
#include <QMenuBar>

#include <gtest/gtest.h>

namespace wv::gui {
namespace {

// Alt with each title's mnemonic opens that menu; Escape closes it again.
void AltKeysOpenEachMenu(WavoraRun& r, const QString& shot) {
    // A user starts typing once the window is there; it holds the X focus by then.
    EXPECT_TRUE(WaitFor([&] { return XHasFocus(r.Window()); }, 3000)) << "the X focus is not on the main window";
    const struct {
        Qt::Key key;
        const char* title;
    } menus[] = {{Qt::Key_F, "ファイル(&F)"}, {Qt::Key_V, "表示(&V)"}, {Qt::Key_H, "ヘルプ(&H)"}};
    for (const auto& m : menus) {
        QMenu* menu = MenuOf(r.Bar(), QString::fromUtf8(m.title));
        ASSERT_NE(menu, nullptr) << m.title;
        ASSERT_TRUE(XKeyToFocus(m.key, Qt::AltModifier));
        EXPECT_TRUE(WaitFor([menu] { return menu->isVisible(); }, 3000)) << "Alt+" << char('A' + (m.key - Qt::Key_A))
                                                                        << " did not open " << m.title;
        if (m.key == Qt::Key_F) Shot(shot);
        EscapeMenu(menu);
    }
}

TEST(WavoraStart, AltKeysOpenTheMenusWithoutAClick) {
    RunWavoraScript({}, [](WavoraRun& r) { AltKeysOpenEachMenu(r, QStringLiteral("wavora-start-alt-f")); });
}

TEST(WavoraStart, AltKeysOpenTheMenusWithoutAClickUnderAWindowManager) {
    std::string why;
    ASSERT_TRUE(StartWindowManager(&why)) << why;
    RunWavoraScript({}, [](WavoraRun& r) { AltKeysOpenEachMenu(r, QStringLiteral("wavora-start-alt-f-openbox")); });
}

}  // namespace
}  // namespace wv::gui

// Reliefscope started under a window manager on a screen of 1024 x 600: its first window,
// status row included, lies wholly on the screen.
#include "gui/small_screen.h"

#include "viewer/qt/main_frame.h"
#include "viewer/qt/reliefscope_app.h"

#include <QStatusBar>

namespace wv::gui {
namespace {

TEST(SmallScreen, ReliefscopesFirstWindowLiesOnTheScreen) {
    PrepareScratchStart();
    StartWindowManagerOrFail();
    static char name[] = "Reliefscope";
    static char* argv[] = {name, nullptr};
    std::unique_ptr<ModalAnswerer> modals;
    ReliefscopeMain(1, argv, [&](CMainFrame& f) {
        ScriptWhenShown(f, modals, [&](ModalAnswerer&) {
            WhollyOnTheScreen(f, f.statusBar());
            Shot(QStringLiteral("reliefscope-first-window"));
        });
    });
}

}  // namespace
}  // namespace wv::gui

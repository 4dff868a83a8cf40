// Tydchain started under a window manager on a screen of 1024 x 600: its first window
// lies wholly on the screen.
#include "solver/tydsolv.h"

#include "gui/small_screen.h"

#include "batch/qt/tydchain_window.h"

namespace wv::gui {
namespace {

TEST(SmallScreen, TydchainsFirstWindowLiesOnTheScreen) {
    PrepareScratchStart();
    StartWindowManagerOrFail();
    static char name[] = "Tydchain";
    static char* argv[] = {name, nullptr};
    std::unique_ptr<ModalAnswerer> modals;
    TydchainMain(1, argv, &TYDSOLV, [&](CTydchainWindow& w) {
        ScriptWhenShown(w, modals, [&](ModalAnswerer&) {
            WhollyOnTheScreen(w, nullptr);
            Shot(QStringLiteral("tydchain-first-window"));
        });
    });
}

}  // namespace
}  // namespace wv::gui

// Reliefscope's stock dialogs speak Japanese, as its menus do (the program's own
// start-up, offscreen, in the test's scratch folder).
#include "viewer/qt/reliefscope_app.h"
#include "support/stock_dialogs.h"

#include <QTimer>

namespace wv {
namespace {

using namespace stocktest;

char g_name[] = "stock_dialogs_test";
char* g_argv[] = {g_name, nullptr};

// The hook for a program whose start-up takes none: it runs when the program's
// application object is made and looks once the event loop runs.
std::function<void()> g_onEventLoop;
void AtApplicationStart() {
    if (g_onEventLoop) QTimer::singleShot(300, qApp, [] { g_onEventLoop(); });
}
Q_COREAPP_STARTUP_FUNCTION(AtApplicationStart)

TEST(StockDialogs, ReliefscopeSpeaksJapanese) {
    ScratchStart();
    Seen seen;
    g_onEventLoop = [&seen] { LookAtTheStockDialogs(seen, QStringLiteral("reliefscope")); };
    int argc = 1;
    const int code = ReliefscopeMain(argc, g_argv);
    g_onEventLoop = nullptr;
    EXPECT_EQ(code, 0);
    ExpectJapanese(seen);
}

}  // namespace
}  // namespace wv

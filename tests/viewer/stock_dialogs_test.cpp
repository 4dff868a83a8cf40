// Reliefscope's stock dialogs speak Japanese, as its menus do (the program's own
// start-up, offscreen, in the test's scratch folder).
#include "viewer/qt/reliefscope_app.h"
#include "support/stock_dialogs.h"

namespace wv {
namespace {

char g_name[] = "stock_dialogs_test";
char* g_argv[] = {g_name, nullptr};

TEST(StockDialogs, ReliefscopeSpeaksJapanese) {
    stocktest::ExpectStockDialogsInJapanese(QStringLiteral("reliefscope"), [](const std::function<void()>& look) {
        int argc = 1;
        return ReliefscopeMain(argc, g_argv, [&look](CMainFrame&) { look(); });
    });
}

}  // namespace
}  // namespace wv

// Wavora's stock dialogs speak Japanese, as its menus do (the program's own start-up,
// offscreen, in the test's scratch folder).
#include "app/qt/app_main.h"
#include "support/stock_dialogs.h"

namespace wv {
namespace {

char g_name[] = "stock_dialogs_test";
char* g_argv[] = {g_name, nullptr};

TEST(StockDialogs, WavoraSpeaksJapanese) {
    stocktest::ExpectStockDialogsInJapanese(QStringLiteral("wavora"), [](const std::function<void()>& look) {
        int argc = 1;
        return RunWavora(argc, g_argv, [&look](CWavoraApp&, QtAppHost&) { look(); });
    });
}

}  // namespace
}  // namespace wv

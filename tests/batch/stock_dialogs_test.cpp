// Tydchain's stock dialogs speak Japanese, as its menus do (the program's own start-up,
// offscreen, in the test's scratch folder).
#include "batch/qt/tydchain_window.h"
#include "support/stock_dialogs.h"

namespace wv {
namespace {

char g_name[] = "stock_dialogs_test";
char* g_argv[] = {g_name, nullptr};

TEST(StockDialogs, TydchainSpeaksJapanese) {
    stocktest::ExpectStockDialogsInJapanese(QStringLiteral("tydchain"), [](const std::function<void()>& look) {
        int argc = 1;
        return TydchainMain(argc, g_argv, [](CalcRequest*) { return 0; }, [&look](CTydchainWindow&) { look(); });
    });
}

}  // namespace
}  // namespace wv

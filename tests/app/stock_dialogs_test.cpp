// Wavora's stock dialogs speak Japanese, as its menus do (the program's own start-up,
// offscreen, in the test's scratch folder).
#include "app/qt/app_main.h"
#include "support/stock_dialogs.h"

#include <QTimer>

namespace wv {
namespace {

using namespace stocktest;

char g_name[] = "stock_dialogs_test";
char* g_argv[] = {g_name, nullptr};

TEST(StockDialogs, WavoraSpeaksJapanese) {
    ScratchStart();
    Seen seen;
    int argc = 1;
    const int code = RunWavora(argc, g_argv, [&seen](CWavoraApp&, QtAppHost&) {
        QTimer::singleShot(300, qApp, [&seen] { LookAtTheStockDialogs(seen, QStringLiteral("wavora")); });
    });
    EXPECT_EQ(code, 0);
    ExpectJapanese(seen);
}

}  // namespace
}  // namespace wv

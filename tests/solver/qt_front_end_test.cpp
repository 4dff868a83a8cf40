// The progress window and the message boxes with a QApplication running: a worker-thread
// run reaches the GUI-thread window through the proxy and waits for the answers; a
// GUI-thread run (the batch program) pumps events once per column.
#include "platform/files.h"
#include "solver/solver_hooks.h"
#include "solver_test_util.h"

#include <QAbstractButton>
#include <QApplication>
#include <QEventLoop>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

namespace wv::solvtest {
namespace {

QApplication* App() {
    static int argc = 1;
    static char name[] = "solver_qt_test";
    static char* argv[] = {name, nullptr};
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication* app = new QApplication(argc, argv);
    return app;
}

QWidget* FindTop(const char* objectName) {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == QLatin1String(objectName) && w->isVisible()) return w;
    return nullptr;
}

tools::CalCase MakeCase() { return {.nd = 9, .nf = 2, .nx = 60, .ny = 12}; }
double Depth(int i, int) { return 15.0 - 0.2 * i; }

struct Seen {
    bool window = false;
    bool windowOnGuiThread = false;
    bool modal = false;
    int maxBar = 0;
    std::vector<std::string> texts;
};

// Watches the GUI from a timer: records the window, answers message boxes with
// `answer(text)` and clicks Cancel when `clickCancel(bar)` says so.
class GuiWatcher {
public:
    GuiWatcher(Seen& seen, std::function<QMessageBox::StandardButton(const std::string&)> answer,
               std::function<bool(int)> clickCancel = nullptr)
        : m_seen(seen), m_answer(std::move(answer)), m_clickCancel(std::move(clickCancel)) {
        QObject::connect(&m_timer, &QTimer::timeout, [this] { Poll(); });
        m_timer.start(5);
    }

private:
    void Poll() {
        if (QWidget* w = FindTop("tydsolvProgress")) {
            m_seen.window = true;
            m_seen.windowOnGuiThread = w->thread() == QApplication::instance()->thread();
            m_seen.modal = w->windowModality() == Qt::ApplicationModal;
            if (auto* bar = w->findChild<QProgressBar*>("progress")) {
                m_seen.maxBar = std::max(m_seen.maxBar, bar->value());
                if (m_clickCancel && m_clickCancel(bar->value()))
                    if (auto* b = w->findChild<QPushButton*>("cancel")) b->click();
            }
        }
        for (QWidget* w : QApplication::topLevelWidgets()) {
            auto* box = qobject_cast<QMessageBox*>(w);
            if (!box || !box->isVisible()) continue;
            const std::string text = box->text().toStdString();
            m_seen.texts.push_back(text);
            if (QAbstractButton* b = box->button(m_answer(text))) b->click();
        }
    }
    Seen& m_seen;
    std::function<QMessageBox::StandardButton(const std::string&)> m_answer;
    std::function<bool(int)> m_clickCancel;
    QTimer m_timer;
};

// Runs TYDSOLV on a worker thread while the GUI thread spins its event loop.
int RunOnWorker(const std::string& folder, const std::string& title, const tools::CalCase& s, int mode) {
    std::atomic<int> result{-1};
    std::atomic<bool> done{false};
    std::thread worker([&] {
        result = RunSolver(folder, title, folder, s, mode);
        done = true;
    });
    const auto start = std::chrono::steady_clock::now();
    while (!done && std::chrono::steady_clock::now() - start < std::chrono::seconds(60))
        QApplication::processEvents(QEventLoop::AllEvents, 10);
    worker.join();
    return result;
}

class SolverQt : public ::testing::Test {
protected:
    void SetUp() override {
        App();
        folder = ScratchFolder(::testing::UnitTest::GetInstance()->current_test_info()->name());
        ASSERT_TRUE(AtomicWriteFile(folder + "Q.CAL", tools::MakeCalText(MakeCase(), Depth), nullptr));
    }
    void TearDown() override { solv::SetProgressObserver(nullptr); }
    std::string folder;
};

TEST_F(SolverQt, WorkerRunShowsTheWindowOnTheGuiThreadAndWaitsForOk) {
    Seen seen;
    GuiWatcher watcher(seen, [](const std::string&) { return QMessageBox::Ok; });
    EXPECT_EQ(RunOnWorker(folder, "Q", MakeCase(), 0), 0);
    EXPECT_TRUE(seen.window);
    EXPECT_TRUE(seen.windowOnGuiThread);
    EXPECT_FALSE(seen.modal);  // the main program stays usable while a worker computes
    EXPECT_EQ(seen.maxBar, 100);
    ASSERT_EQ(seen.texts.size(), 1u);
    EXPECT_EQ(seen.texts[0], "処理は正常終了しました.");
    EXPECT_EQ(FindTop("tydsolvProgress"), nullptr);  // closed at the end
}

TEST_F(SolverQt, CancelFromTheWindowAsksAndObeysTheAnswer) {
    // A little time per column, so that the clicks land during the run.
    solv::SetProgressObserver([](int) { std::this_thread::sleep_for(std::chrono::milliseconds(5)); });
    Seen seen;
    int questions = 0;
    bool clickedEarly = false, clickedLate = false;
    GuiWatcher watcher(
        seen,
        [&](const std::string&) { return ++questions == 1 ? QMessageBox::No : QMessageBox::Yes; },
        [&](int bar) {
            if (bar >= 20 && !clickedEarly) return clickedEarly = true;
            if (bar >= 50 && questions == 1 && !clickedLate) return clickedLate = true;
            return false;
        });
    EXPECT_EQ(RunOnWorker(folder, "Q", MakeCase(), 1), 1);
    EXPECT_EQ(questions, 2);
    for (const std::string& t : seen.texts) EXPECT_EQ(t, "処理を中断しますか？");
    EXPECT_LT(seen.maxBar, 100);
    std::string calc;
    ASSERT_TRUE(ReadWholeFile(folder + "CALC.DAT", calc, nullptr));
    EXPECT_EQ(calc, "0\r\n");
}

TEST_F(SolverQt, ErrorsAreMessageBoxesOnTheGuiThread) {
    Seen seen;
    GuiWatcher watcher(seen, [](const std::string&) { return QMessageBox::Ok; });
    EXPECT_EQ(RunOnWorker(folder, "MISSING", MakeCase(), 0), 1);
    ASSERT_EQ(seen.texts.size(), 1u);
    EXPECT_EQ(seen.texts[0], "計算用データファイル(.CAL)が見つかりません.");
}

TEST_F(SolverQt, GuiThreadRunPumpsEventsWithAModalWindow) {
    Seen seen;
    GuiWatcher watcher(seen, [](const std::string&) { return QMessageBox::Ok; });
    solv::SetProgressObserver([](int) { std::this_thread::sleep_for(std::chrono::milliseconds(2)); });
    EXPECT_EQ(RunSolver(folder, "Q", folder, MakeCase(), 1), 0);  // the batch program's way
    EXPECT_TRUE(seen.window);  // the timer ran inside the solver's pumping
    EXPECT_TRUE(seen.modal);
    EXPECT_TRUE(seen.texts.empty());  // mode 1: no end message
}

}  // namespace
}  // namespace wv::solvtest

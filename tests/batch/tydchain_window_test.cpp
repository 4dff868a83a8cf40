// The Tydchain window, offscreen: its list and commands, the timer that drives the batch,
// dropped files, the refusal to close while the solver runs (with a stand-in that pumps
// events and tries every command meanwhile), and two prepared calculations run by the
// real solver and loaded as the main program loads them.
#include "batch/batch_messages.h"
#include "batch/qt/tydchain_window.h"
#include "calc/calc_state.h"
#include "calcdoc/calcdoc_messages.h"
#include "platform/file_lock.h"
#include "platform/qt/single_instance.h"
#include "support/lock_holder.h"
#include "tests/batch/batch_calc_util.h"
#include "tests/batch/batch_test_util.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QDropEvent>
#include <QHeaderView>
#include <QMessageBox>
#include <QMimeData>
#include <QPointer>
#include <QProcess>
#include <QTimer>
#include <QTreeWidget>
#include <QUrl>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>

namespace wv {
namespace {

QApplication* App() {
    static int argc = 1;
    static char name[] = "batch_window_tests";
    static char* argv[] = {name, nullptr};
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication* app = new QApplication(argc, argv);
    return app;
}

std::vector<std::string> RowTexts(const QTreeWidget* list, int column) {
    std::vector<std::string> out;
    for (int i = 0; i < list->topLevelItemCount(); ++i) out.push_back(list->topLevelItem(i)->text(column).toStdString());
    return out;
}

// Works off events until the batch is off (a deadline only guards against a hang).
void RunUntilOff(const CTydchainWindow& w) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(2);
    while (w.Queue().IsBatchRunning() && std::chrono::steady_clock::now() < deadline)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    ASSERT_FALSE(w.Queue().IsBatchRunning());
}

// Drops as the window receives them from the platform's drag and drop.
class DropWindow : public CTydchainWindow {
public:
    using CTydchainWindow::CTydchainWindow;
    void Drop(QDropEvent* e) { dropEvent(e); }
};

class TydchainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        App();
        dir = batchtest::EnterOwnFolder();
    }
    void TearDown() override {
        CCalThreads::CancelAndJoinAll();
        ResetTikData();
    }

    std::string AddDec(const std::string& name, const std::string& title) {
        batchtest::Write(dir + name + ".DEC", batchtest::DecText(title, 45, 7, 40, 60));
        return dir + name + ".DEC";
    }

    std::string dir;
    ScriptedUi ui;
    ScopedUi scoped{&ui};
};

TEST_F(TydchainWindowTest, ListAndCommandsAsTheProgramHadThem) {
    CTydchainWindow w([](CalcRequest*) { return 0; });
    const QTreeWidget* list = w.List();
    ASSERT_EQ(list->columnCount(), 3);
    const char* headings[] = {batchmsg::kColumnFile, batchmsg::kColumnTitle, batchmsg::kColumnState};
    const int widths[] = {100, 350, 70};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(list->headerItem()->text(i).toStdString(), headings[i]);
        EXPECT_EQ(list->columnWidth(i), widths[i]);
    }
    struct Cmd {
        int id;
        const char* text;
    };
    for (const Cmd& c : {Cmd{ID_BATCH_OPEN, batchmsg::kCmdOpen}, Cmd{ID_BATCH_DELETE, batchmsg::kCmdDelete},
                         Cmd{ID_BATCH_DELETE_ALL, batchmsg::kCmdDeleteAll}, Cmd{ID_BATCH_START, batchmsg::kCmdStart},
                         Cmd{ID_APP_ABOUT, batchmsg::kCmdAbout}}) {
        QAction* a = w.Command(c.id);
        ASSERT_NE(a, nullptr) << c.id;
        EXPECT_EQ(a->text().toStdString(), c.text);
        EXPECT_TRUE(a->isEnabled());
    }
    EXPECT_EQ(w.Command(ID_BATCH_OPEN)->shortcut(), QKeySequence(QStringLiteral("Ctrl+O")));
    EXPECT_EQ(w.windowTitle().toStdString(), "連続計算 - Tydchain");
    w.SetVersion("2.10 (試験版)");
    EXPECT_EQ(w.AboutVersionText(), "ﾊﾞｰｼﾞｮﾝ 2.10 (試験版)");
}

TEST_F(TydchainWindowTest, TheTimerRunsOnlyWhileTheBatchIsOn) {
    int calls = 0;
    CTydchainWindow w([&](CalcRequest*) { return ++calls, 0; });
    EXPECT_FALSE(w.IsTimerArmed());
    // Refused Start (another program runs): nothing armed.
    {
        testsupport::LockHolder main(testsupport::RunStarted(dir, "MAIN"), testsupport::RunEnd(dir));
        ASSERT_TRUE(main.Held());
        w.Command(ID_BATCH_START)->trigger();
        EXPECT_FALSE(w.Queue().IsBatchRunning());
        EXPECT_FALSE(w.IsTimerArmed());
        EXPECT_EQ(ui.Messages().size(), 1u);
    }
    // An empty list: on, one step, off, no row.
    w.Command(ID_BATCH_START)->trigger();
    EXPECT_TRUE(w.IsTimerArmed());
    RunUntilOff(w);
    EXPECT_FALSE(w.IsTimerArmed());
    EXPECT_EQ(w.List()->topLevelItemCount(), 0);

    // An entry that must wait (another program started after the first entry) keeps
    // the timer armed for the retry.
    w.OpenFiles({QString::fromStdString(AddDec("A", "a")), QString::fromStdString(AddDec("B", "b"))});
    w.OnBatchStart();
    w.OnBatchTimer();
    EXPECT_EQ(calls, 1);
    testsupport::LockHolder main(testsupport::RunStarted(dir, "MAIN"));
    ASSERT_TRUE(main.Held());
    w.OnBatchTimer();
    EXPECT_TRUE(w.IsTimerArmed());
    EXPECT_EQ(calls, 1);
}

TEST_F(TydchainWindowTest, DroppedAndOpenedFilesAreQueued) {
    DropWindow w([](CalcRequest*) { return 0; });
    const std::string a = AddDec("A", "湾 A");
    const std::string b = AddDec("b", "B");
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(QString::fromStdString(a))});
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    w.Drop(&drop);
    w.SetOpenDialog([&] { return QStringList{QString::fromStdString(b)}; });
    w.Command(ID_BATCH_OPEN)->trigger();
    EXPECT_EQ(RowTexts(w.List(), 0), (std::vector<std::string>{"A", "b"}));
    EXPECT_EQ(RowTexts(w.List(), 1), (std::vector<std::string>{"湾 A", "B"}));
    // Delete takes the selected row.
    w.List()->topLevelItem(0)->setSelected(true);
    w.Command(ID_BATCH_DELETE)->trigger();
    EXPECT_EQ(RowTexts(w.List(), 0), (std::vector<std::string>{"b"}));
    EXPECT_TRUE(ui.Messages().empty());

    // With two rows, as the user sees them.
    w.OpenFiles({QString::fromStdString(a)});
    if (const char* shot = std::getenv("WAVORA_TYDCHAIN_SCREENSHOT")) {
        w.show();
        QCoreApplication::processEvents();
        w.grab().save(QString::fromLocal8Bit(shot));
    }
}

// A stand-in solver that pumps the program's events, as the real one does once per
// column, and meanwhile tries every command, the timer and a close.
TEST_F(TydchainWindowTest, WhileTheSolverRunsNothingElseHappens) {
    int depth = 0, maxDepth = 0, calls = 0;
    CTydchainWindow* window = nullptr;
    const std::string extra = AddDec("X", "x");
    auto solver = [&](CalcRequest* r) -> int32_t {
        ++calls;
        maxDepth = std::max(maxDepth, ++depth);
        CTydchainWindow& w = *window;
        for (int round = 0; round < 3; ++round) {
            QCoreApplication::processEvents();
            for (int id : {ID_BATCH_OPEN, ID_BATCH_DELETE, ID_BATCH_DELETE_ALL, ID_BATCH_START}) {
                EXPECT_FALSE(w.Command(id)->isEnabled()) << id;
                w.Command(id)->trigger();
            }
            w.OnBatchStart();
            w.OnDeleteAll();
            w.List()->topLevelItem(1)->setSelected(true);
            w.OnDelete();
            w.OpenFiles({QString::fromStdString(extra)});
            w.OnBatchOpen();
            w.OnBatchTimer();
            EXPECT_FALSE(w.IsTimerArmed());
            EXPECT_FALSE(w.close());
            EXPECT_TRUE(w.isVisible());
            EXPECT_EQ(w.List()->topLevelItemCount(), 2);
        }
        // The request's texts are still those of this run.
        EXPECT_EQ(std::string(r->m_pszFolder, static_cast<std::size_t>(r->m_nFolderLen)), dir);
        --depth;
        return 0;
    };
    // A window that is deleted when it closes, as a main window goes with its program: a
    // close accepted mid-run would free the queue under the running step.
    QPointer<CTydchainWindow> w = new CTydchainWindow(solver);
    w->setAttribute(Qt::WA_DeleteOnClose);
    window = w.data();
    w->show();
    int dialogs = 0;
    w->SetOpenDialog([&] { return ++dialogs, QStringList{}; });
    w->OpenFiles({QString::fromStdString(AddDec("A", "a")), QString::fromStdString(AddDec("B", "b"))});
    w->Command(ID_BATCH_START)->trigger();
    RunUntilOff(*w);
    ASSERT_FALSE(w.isNull());
    EXPECT_EQ(calls, 2);
    EXPECT_EQ(maxDepth, 1);
    EXPECT_EQ(dialogs, 0);
    EXPECT_EQ(RowTexts(w->List(), 2), (std::vector<std::string>{batchmsg::kStateFinished, batchmsg::kStateFinished}));
    EXPECT_EQ(roadtest::CountMessages(ui, batchmsg::kCannotClose), 6);
    EXPECT_EQ(ui.Messages().size(), 6u);
    for (int id : {ID_BATCH_OPEN, ID_BATCH_DELETE, ID_BATCH_DELETE_ALL, ID_BATCH_START})
        EXPECT_TRUE(w->Command(id)->isEnabled()) << id;
    EXPECT_FALSE(w->IsTimerArmed());
    // Once the batch has ended the window closes.
    EXPECT_TRUE(w->close());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(w.isNull());
}

// Two calculations prepared by the batch-data command, queued in the window and run by
// the real solver on the window's thread; the main program then loads their results.
TEST_F(TydchainWindowTest, RunsTwoPreparedCalculationsToTheEnd) {
    batchtest::PreparePlaneBeach("BEACH.TYD", 30, 40, "平らな海岸");
    CTikDoc project;
    ASSERT_TRUE(project.OnOpenDocument(std::string(WAVORA_SOURCE_DIR) + "/examples/bay/BAY/BAY.TIK"));
    batchtest::PrepareBay("BAY.TYD", "Bay A");
    ui.Clear();

    CTydchainWindow w([](CalcRequest* r) { return TYDSOLV(r); });
    w.show();
    w.SetOpenDialog([&] { return QStringList{QString::fromStdString(dir + "BEACH.DEC"), QString::fromStdString(dir + "BAY.DEC")}; });
    w.Command(ID_BATCH_OPEN)->trigger();
    EXPECT_EQ(RowTexts(w.List(), 1), (std::vector<std::string>{"平らな海岸", "Bay A"}));
    w.Command(ID_BATCH_START)->trigger();
    RunUntilOff(w);
    EXPECT_EQ(RowTexts(w.List(), 2), (std::vector<std::string>{batchmsg::kStateFinished, batchmsg::kStateFinished}));
    EXPECT_TRUE(ui.Messages().empty());
    EXPECT_EQ(batchtest::ReadAll(StartFolderFile("CALC.DAT")), "0\r\n");
    for (const char* name : {"BEACH", "BAY"})
        EXPECT_EQ(batchtest::ReadAll(dir + name + ".KKA"), batchtest::DirectRun(dir + name + ".CAL")) << name;

    EXPECT_EQ(batchtest::LoadAndPoints(dir + "BEACH.TYD").state, kCalcResults);
    const batchtest::LoadedPoints bay = batchtest::LoadAndPoints(dir + "BAY.TYD");
    EXPECT_EQ(bay.state, kCalcResults);
    // The interactive run ends with the solver's message, a box the user closes or, with a
    // UI service installed, one message through it.
    QTimer reader;
    int endMessages = 0;
    QObject::connect(&reader, &QTimer::timeout, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            ++endMessages;
            box->done(QMessageBox::Ok);
        }
    });
    reader.start(10);
    const batchtest::LoadedPoints road =
        batchtest::InteractiveBay("BAYI.TYD", [] { QCoreApplication::processEvents(QEventLoop::AllEvents, 20); });
    reader.stop();
    for (const auto& m : ui.Messages()) endMessages += m.caption == "終了" ? 1 : 0;
    EXPECT_EQ(endMessages, 1);
    ASSERT_EQ(batchtest::PointsInUse(), 3);
    EXPECT_EQ(bay.height, road.height);
    EXPECT_EQ(bay.direction, road.direction);
}

// The lock of a solver run in another process stands for a busy flag: Start is refused,
// and a later entry waits until the run has ended.
TEST_F(TydchainWindowTest, AnotherProgramsSolverLockCountsAsBusy) {
    int calls = 0;
    CTydchainWindow w([&](CalcRequest*) { return ++calls, 0; });
    w.OpenFiles({QString::fromStdString(AddDec("A", "a")), QString::fromStdString(AddDec("B", "b"))});
    {
        testsupport::LockHolder other(testsupport::FlockOn(StartFolderFile("CALC.DAT.lock")));
        ASSERT_TRUE(other.Held());
        w.Command(ID_BATCH_START)->trigger();
        EXPECT_FALSE(w.Queue().IsBatchRunning());
        ASSERT_EQ(ui.Messages().size(), 1u);
        EXPECT_EQ(ui.Messages()[0].text.rfind(batchmsg::kRunningHead, 0), 0u);
    }
    w.Command(ID_BATCH_START)->trigger();
    w.OnBatchTimer();  // entry A runs
    EXPECT_EQ(calls, 1);
    {
        testsupport::LockHolder other(testsupport::FlockOn(StartFolderFile("CALC.DAT.lock")));
        ASSERT_TRUE(other.Held());
        w.OnBatchTimer();
        EXPECT_EQ(calls, 1);
        EXPECT_TRUE(w.Queue().IsBatchRunning());
        EXPECT_EQ(RowTexts(w.List(), 2), (std::vector<std::string>{batchmsg::kStateFinished, batchmsg::kStateWaiting}));
    }
    w.OnBatchTimer();
    RunUntilOff(w);
    EXPECT_EQ(calls, 2);
    EXPECT_EQ(ui.Messages().size(), 1u);
}

// Another program's run and what the commands of this process make of it: the batch
// program's Start and Delete all, and the calculate command of a calculation view.
class OtherProgramsRun : public TydchainWindowTest {
protected:
    void SetUp() override {
        TydchainWindowTest::SetUp();
        batchtest::PreparePlaneBeach("ROAD.TYD", 14, 12, "道");
        ui.Clear();
    }

    // The run of another process, started (lock taken, flag busy) and then killed.
    void KilledRun() {
        testsupport::LockHolder run(testsupport::RunStarted(dir, "ROAD"));
        ASSERT_TRUE(run.Held());
        run.Kill();
        ASSERT_EQ(batchtest::ReadAll(StartFolderFile("CALC.DAT")), "1\r\nROAD\r\n");
        ASSERT_FALSE(FileLock::IsHeld(StartFolderFile("CALC.DAT.lock")));
    }

    // The calculate command on ROAD.TYD; 0 when its run went, and then to its end.
    int Calculate() {
        CTydDoc doc;
        EXPECT_TRUE(doc.OnOpenDocument(dir + "ROAD.TYD"));
        CTydViewData view(doc);
        CWaveCalcSlot slot;
        const int code = OnWaveCalc(doc, view, batchtest::FrameOf(doc), slot);
        while (slot.GetExitCode() == CCalThreads::kStillActive) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        if (code == 0) {
            EXPECT_EQ(slot.GetExitCode(), 0);
        }
        return code;
    }

    std::vector<std::string> Texts() const {
        std::vector<std::string> out;
        for (const auto& m : ui.Messages()) out.push_back(m.text);
        return out;
    }
};

TEST_F(OtherProgramsRun, AKilledRunBlocksNoLaterStartDeleteAllOrCalculate) {
    CTydchainWindow w([](CalcRequest* r) { return TYDSOLV(r); });
    w.OpenFiles({QString::fromStdString(dir + "ROAD.DEC")});
    KilledRun();
    w.Command(ID_BATCH_START)->trigger();
    EXPECT_TRUE(w.Queue().IsBatchRunning());
    RunUntilOff(w);
    EXPECT_EQ(RowTexts(w.List(), 2), (std::vector<std::string>{batchmsg::kStateFinished}));
    EXPECT_TRUE(ui.Messages().empty()) << Texts().front();
    EXPECT_EQ(batchtest::ReadAll(StartFolderFile("CALC.DAT")), "0\r\n");

    KilledRun();
    ui.PushAnswer(IDOK);
    w.Command(ID_BATCH_DELETE_ALL)->trigger();
    EXPECT_EQ(Texts(), (std::vector<std::string>{batchmsg::kDeleteAllQuestion}));
    EXPECT_EQ(w.List()->topLevelItemCount(), 0);

    KilledRun();
    ui.Clear();
    EXPECT_EQ(Calculate(), 0);
    ASSERT_EQ(ui.Messages().size(), 2u) << "the start question and the run's end";
    EXPECT_EQ(ui.Messages()[0].caption, docmsg::kStartCaption);
    EXPECT_EQ(ui.Messages()[1].caption, "終了");
    EXPECT_EQ(batchtest::ReadAll(StartFolderFile("CALC.DAT")), "0\r\n");
}

// While a run of another process goes on, Start, Delete all and calculate are refused
// and its flag stays as it is; once it has ended, they go.
TEST_F(OtherProgramsRun, RefusedWhileItRunsAndGoOnceItHasEnded) {
    CTydchainWindow w([](CalcRequest* r) { return TYDSOLV(r); });
    w.OpenFiles({QString::fromStdString(dir + "ROAD.DEC")});
    const std::string running = std::string(batchmsg::kRunningHead) + "OTHER" + batchmsg::kRunningTail;
    {
        testsupport::LockHolder run(testsupport::RunStarted(dir, "OTHER"), testsupport::RunEnd(dir));
        ASSERT_TRUE(run.Held());
        w.Command(ID_BATCH_START)->trigger();
        EXPECT_FALSE(w.Queue().IsBatchRunning());
        w.Command(ID_BATCH_DELETE_ALL)->trigger();
        EXPECT_EQ(w.List()->topLevelItemCount(), 1);
        EXPECT_EQ(Calculate(), -1);
        EXPECT_EQ(Texts(), (std::vector<std::string>{running, batchmsg::kCannotNow, docmsg::kWaveStartQuestion,
                                                     std::string(docmsg::kRunningHead) + "OTHER" + docmsg::kRunningTail}));
        EXPECT_EQ(batchtest::ReadAll(StartFolderFile("CALC.DAT")), "1\r\nOTHER\r\n");
    }
    ASSERT_EQ(batchtest::ReadAll(StartFolderFile("CALC.DAT")), "0\r\n") << "the run has ended as runs do";
    ui.Clear();
    w.Command(ID_BATCH_START)->trigger();
    EXPECT_TRUE(w.Queue().IsBatchRunning());
    RunUntilOff(w);
    EXPECT_EQ(RowTexts(w.List(), 2), (std::vector<std::string>{batchmsg::kStateFinished}));
    EXPECT_EQ(Calculate(), 0);
    EXPECT_EQ(ui.Messages().size(), 2u);
}

// The program itself: a second instance ends at once, quietly.
TEST_F(TydchainWindowTest, ASecondInstanceEndsAtOnce) {
    const QString runtime = QString::fromStdString(dir + "runtime");
    QDir().mkpath(runtime);
    qputenv("XDG_RUNTIME_DIR", runtime.toLocal8Bit());
    SingleInstanceLock first;
    ASSERT_TRUE(first.TryLock("Tydchain"));
    QProcess second;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    second.setProcessEnvironment(env);
    second.setWorkingDirectory(QString::fromStdString(dir));
    second.start(QString::fromUtf8(WAVORA_BINARY_DIR "/bin/Tydchain"), {});
    ASSERT_TRUE(second.waitForFinished(60000));
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0);
}

}  // namespace
}  // namespace wv

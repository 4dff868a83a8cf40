// The queue's state machine with stand-in solvers: what each command and each batch step
// does to the entries, the rows, the files beside a calculation and "CALC.DAT".
#include "batch/batch_messages.h"
#include "batch/batch_queue.h"
#include "platform/atomic_file.h"
#include "platform/file_lock.h"
#include "platform/ui_service.h"
#include "support/lock_holder.h"
#include "tests/batch/batch_test_util.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>

namespace wv {
namespace {

using batchtest::RecordingRows;

const std::string W = batchmsg::kStateWaiting;
const std::string R = batchmsg::kStateRunning;
const std::string F = batchmsg::kStateFinished;
const std::string A = batchmsg::kStateAborted;

// What the stand-in saw of one call.
struct SolverCall {
    std::string folder, title, workDir;
    int nd, nf, nx, ny, mode;
    bool kkaPresent;
    std::string yno;
};

class BatchQueueTest : public ::testing::Test {
protected:
    void SetUp() override { dir = batchtest::EnterOwnFolder(); }

    // Start refused with one message; the batch stays off.
    void ExpectRefusedStart(const std::string& message) {
        EXPECT_FALSE(queue.IsBatchRunning());
        EXPECT_EQ(queue.GetNextEntry(), 0);
        ASSERT_EQ(ui.Messages().size(), 1u);
        EXPECT_EQ(ui.Messages()[0].text, message);
        EXPECT_EQ(ui.Messages()[0].caption, batchmsg::kCalcCaption);
    }

    // A queued calculation NAME: its .DEC and, unless told otherwise, its .CAL header.
    std::string AddCalc(const std::string& name, const std::string& title = "T", bool withCal = true) {
        const std::string dec = dir + name + ".DEC";
        batchtest::Write(dec, batchtest::DecText(title, 45, 7, 40, 60));
        if (withCal) batchtest::Write(dir + name + ".CAL", batchtest::CalHeader(36, 5, 30, 40));
        batchtest::Write(dir + name + ".KKA", "old results\r\n");
        return dec;
    }

    CBatchQueue::Solver Solver() {
        return [this](CalcRequest* r) -> int32_t {
            SolverCall c;
            c.folder.assign(r->m_pszFolder, static_cast<std::size_t>(r->m_nFolderLen));
            c.title.assign(r->m_pszTitle, static_cast<std::size_t>(r->m_nTitleLen));
            c.workDir.assign(r->m_pszWorkDir, static_cast<std::size_t>(r->m_nWorkDirLen));
            c.nd = r->m_nDirDiv;
            c.nf = r->m_nFreqDiv;
            c.nx = r->m_nMeshX;
            c.ny = r->m_nMeshY;
            c.mode = r->m_nMode;
            c.kkaPresent = FileExists(c.folder + c.title + ".KKA");
            c.yno = batchtest::ReadAll(c.folder + c.title + ".YNO");
            EXPECT_TRUE(rows.solverRunning);
            calls.push_back(c);
            if (during) during();
            auto it = results.find(c.title);
            return it == results.end() ? 0 : it->second;
        };
    }

    // Steps until the batch goes off (a stand-in never makes it wait).
    void RunBatch() {
        for (int guard = 0; guard < 1000 && queue.IsBatchRunning(); ++guard) queue.RunNextBatchEntry();
        ASSERT_FALSE(queue.IsBatchRunning());
    }

    std::string dir;
    ScriptedUi ui;
    ScopedUi scoped{&ui};
    RecordingRows rows;
    std::vector<SolverCall> calls;
    std::map<std::string, int> results;
    std::function<void()> during;
    CBatchQueue queue{rows, Solver()};
};

TEST_F(BatchQueueTest, OpenQueuesEachFileAndRefusesBadOnesByName) {
    const std::string a = AddCalc("BAYA", "湾 A");
    const std::string bad = dir + "BAD.DEC";
    batchtest::Write(bad, "\"t\"\r\n45\r\n7\r\n   40\r\n1\r\n");
    const std::string b = AddCalc("BAYB", "Bay B");
    EXPECT_EQ(queue.OnBatchOpen({a, bad, dir + "MISSING.DEC", b}), 2);
    ASSERT_EQ(rows.rows.size(), 2u);
    EXPECT_EQ(rows.rows[0].file, "BAYA");
    EXPECT_EQ(rows.rows[0].title, "湾 A");
    EXPECT_EQ(rows.rows[1].title, "Bay B");
    EXPECT_EQ(rows.States(), (std::vector<std::string>{W, W}));
    EXPECT_EQ(queue.GetEntryCount(), 2);
    EXPECT_EQ(queue.GetEntry(1).path, b);
    EXPECT_EQ(queue.GetEntry(0).p3, 40);
    EXPECT_EQ(queue.GetEntry(0).p4, 60);
    const auto msgs = ui.Messages();
    ASSERT_EQ(msgs.size(), 2u);
    EXPECT_NE(msgs[0].text.find(bad), std::string::npos);
    EXPECT_NE(msgs[0].text.find(batchmsg::kDecMalformed), std::string::npos);
    EXPECT_NE(msgs[1].text.find(dir + "MISSING.DEC"), std::string::npos);
    EXPECT_EQ(msgs[1].caption, batchmsg::kOpenDialogTitle);
}

TEST_F(BatchQueueTest, OpenTakesTheFileByTheNameGivenAndMakesItAbsolute) {
    // A lower-case name is read as it is: no name is made up.
    batchtest::Write(dir + "low.dec", batchtest::DecText("low", 45, 7, 2, 3));
    EXPECT_EQ(queue.OnBatchOpen({"low.dec"}), 1);
    EXPECT_EQ(queue.GetEntry(0).path, dir + "low.dec");
    EXPECT_TRUE(ui.Messages().empty());
}

TEST_F(BatchQueueTest, TheHundredAndFirstFileIsRefusedWithOneMessage) {
    std::vector<std::string> paths;
    for (int i = 0; i < 102; ++i) paths.push_back(AddCalc(Sprintf("C%03d", i), "t", false));
    EXPECT_EQ(queue.OnBatchOpen(paths), CBatchQueue::kMaxEntries);
    EXPECT_EQ(rows.rows.size(), 100u);
    ASSERT_EQ(ui.Messages().size(), 1u);
    EXPECT_NE(ui.Messages()[0].text.find("C100.DEC"), std::string::npos);
    EXPECT_NE(ui.Messages()[0].text.find("C101.DEC"), std::string::npos);
    EXPECT_EQ(ui.Messages()[0].text.find("C099.DEC"), std::string::npos);
    EXPECT_EQ(queue.OnBatchOpen({paths[0]}), 0);
    EXPECT_EQ(ui.Messages().size(), 2u);
}

TEST_F(BatchQueueTest, CompletedAbortedWaitingThenStartAgain) {
    queue.OnBatchOpen({AddCalc("A"), AddCalc("B"), AddCalc("C")});
    results["B"] = 1;
    queue.OnBatchStart();
    ASSERT_TRUE(queue.IsBatchRunning());
    RunBatch();
    EXPECT_EQ(rows.States(), (std::vector<std::string>{F, A, W}));
    EXPECT_EQ(queue.GetNextEntry(), 1);
    EXPECT_EQ(queue.GetEntry(0).state, 1);
    EXPECT_EQ(queue.GetEntry(1).state, 0);
    ASSERT_EQ(calls.size(), 2u);

    results["B"] = 0;
    queue.OnBatchStart();
    RunBatch();
    EXPECT_EQ(rows.States(), (std::vector<std::string>{F, F, F}));
    ASSERT_EQ(calls.size(), 4u);
    EXPECT_EQ(calls[2].title, "B");
    EXPECT_EQ(calls[3].title, "C");
    EXPECT_EQ(queue.GetNextEntry(), 3);

    // Everything has run: a further Start runs nothing and marks the last row again.
    rows.rows[2].state = "x";
    queue.OnBatchStart();
    RunBatch();
    EXPECT_EQ(calls.size(), 4u);
    EXPECT_EQ(rows.States(), (std::vector<std::string>{F, F, F}));
    EXPECT_TRUE(ui.Messages().empty());
}

TEST_F(BatchQueueTest, StartWithAnEmptyListTouchesNoRow) {
    queue.OnBatchStart();
    EXPECT_TRUE(queue.IsBatchRunning());
    EXPECT_EQ(queue.RunNextBatchEntry(), BatchStep::Off);
    EXPECT_FALSE(queue.IsBatchRunning());
    EXPECT_EQ(rows.calls, 0);
    // Off, a step does nothing at all.
    EXPECT_EQ(queue.RunNextBatchEntry(), BatchStep::Off);
    EXPECT_EQ(rows.calls, 0);
    EXPECT_TRUE(calls.empty());
}

TEST_F(BatchQueueTest, EachRunGetsItsRequestAndItsFiles) {
    queue.OnBatchOpen({AddCalc("WITHCAL"), AddCalc("NOCAL", "t", false)});
    queue.OnBatchStart();
    RunBatch();
    ASSERT_EQ(calls.size(), 2u);
    std::string work = dir;
    work.pop_back();
    for (const SolverCall& c : calls) {
        SCOPED_TRACE(c.title);
        EXPECT_EQ(c.folder, dir);
        EXPECT_EQ(c.folder.back(), '/');
        EXPECT_EQ(c.workDir, work);
        EXPECT_EQ(c.mode, 1);
        EXPECT_FALSE(c.kkaPresent);
        EXPECT_EQ(c.yno, "2\r\n");
    }
    // The counts of the solver input as it is at run time, not the queued ones ...
    EXPECT_EQ(calls[0].nd, 36);
    EXPECT_EQ(calls[0].nf, 5);
    EXPECT_EQ(calls[0].nx, 30);
    EXPECT_EQ(calls[0].ny, 40);
    // ... and the queued ones when it cannot be read: the solver says what is missing.
    EXPECT_EQ(calls[1].nd, 45);
    EXPECT_EQ(calls[1].nf, 7);
    EXPECT_EQ(calls[1].nx, 40);
    EXPECT_EQ(calls[1].ny, 60);
    // The request's texts stay with the queue after the run.
    EXPECT_EQ(std::string(queue.GetLastRequest().m_pszTitle, 5), "NOCAL");
}

TEST_F(BatchQueueTest, DeleteBelowTheNextEntryIsRefused) {
    queue.OnBatchOpen({AddCalc("A"), AddCalc("B"), AddCalc("C"), AddCalc("D")});
    results["B"] = 1;
    queue.OnBatchStart();
    RunBatch();
    ASSERT_EQ(queue.GetNextEntry(), 1);
    queue.OnDelete(0);
    ASSERT_EQ(ui.Messages().size(), 1u);
    EXPECT_EQ(ui.Messages()[0].text, batchmsg::kCannotDelete);
    EXPECT_EQ(ui.Messages()[0].caption, batchmsg::kDeleteCaption);
    EXPECT_EQ(queue.GetEntryCount(), 4);
    // The aborted entry and those after it may go; no selection does nothing.
    queue.OnDelete(-1);
    queue.OnDelete(2);
    EXPECT_EQ(queue.GetEntryCount(), 3);
    EXPECT_EQ(FileTitleOf(queue.GetEntry(2).path), "D");
    ASSERT_EQ(rows.rows.size(), 3u);
    EXPECT_EQ(rows.rows[2].file, "D");
    EXPECT_EQ(ui.Messages().size(), 1u);
}

TEST_F(BatchQueueTest, DeletingAMiddleRowShiftsTheRestAndEmptiesTheLastEntry) {
    std::vector<std::string> paths;
    for (int i = 0; i < 100; ++i) paths.push_back(AddCalc(Sprintf("C%03d", i), "t", false));
    ASSERT_EQ(queue.OnBatchOpen(paths), 100);
    queue.OnDelete(50);
    EXPECT_EQ(queue.GetEntryCount(), 99);
    EXPECT_EQ(FileTitleOf(queue.GetEntry(50).path), "C051");
    EXPECT_EQ(FileTitleOf(queue.GetEntry(98).path), "C099");
    const BatchEntry& last = queue.GetEntry(99);
    EXPECT_TRUE(last.path.empty());
    EXPECT_EQ(last.state, 0);
    EXPECT_EQ((std::vector<int>{last.p1, last.p2, last.p3, last.p4, last.p5}), (std::vector<int>{45, 10, 1, 1, 1}));
    EXPECT_EQ(rows.rows.size(), 99u);
    EXPECT_EQ(rows.rows[50].file, "C051");
    // The freed place takes a new file.
    EXPECT_EQ(queue.OnBatchOpen({paths[50]}), 1);
    EXPECT_EQ(rows.rows[99].file, "C050");
}

TEST_F(BatchQueueTest, CalcDatDecidesStart) {
    queue.OnBatchOpen({AddCalc("A"), AddCalc("B")});
    struct Case {
        const char* name;
        const char* content;  // nullptr: no file
        std::string message;
    };
    ui.Clear();
    DeleteFileSilently(StartFolderFile("CALC.DAT"));
    queue.OnBatchStart();
    ExpectRefusedStart(batchmsg::kCannotOpenCalcDat);
    ui.Clear();
    std::filesystem::create_directory(StartFolderFile("CALC.DAT"));
    queue.OnBatchStart();
    ExpectRefusedStart(batchmsg::kCannotOpenCalcDat);
    std::filesystem::remove(StartFolderFile("CALC.DAT"));
    {
        // Another program's run: its lock, then its flag.
        ui.Clear();
        testsupport::LockHolder other(testsupport::RunStarted(dir, "OTHER calc"), testsupport::RunEnd(dir));
        ASSERT_TRUE(other.Held());
        queue.OnBatchStart();
        ExpectRefusedStart("現在【OTHER】を計算中です");
    }
    EXPECT_TRUE(calls.empty());
    // After a refused Start any row may be deleted.
    queue.OnDelete(0);
    EXPECT_EQ(queue.GetEntryCount(), 1);

    // A flag that no run holds, busy, empty or damaged, was left by a run that died:
    // Start goes the first time. It claims the first entry's run, which keeps the lock
    // and the flag until its step has run it.
    for (const char* left : {"1\r\nDEAD\r\n", "", "hello"}) {
        SCOPED_TRACE(left);
        ui.Clear();
        batchtest::Write(StartFolderFile("CALC.DAT"), left);
        queue.OnBatchStart();
        EXPECT_TRUE(queue.IsBatchRunning());
        EXPECT_TRUE(ui.Messages().empty());
        EXPECT_EQ(batchtest::ReadAll(StartFolderFile("CALC.DAT")), "1\r\nB\r\n");
        EXPECT_TRUE(FileLock::IsHeld(StartFolderFile("CALC.DAT.lock")));
        while (queue.RunNextBatchEntry() != BatchStep::Off) {
        }
        EXPECT_EQ(batchtest::ReadAll(StartFolderFile("CALC.DAT")), "0\r\n");
        EXPECT_FALSE(FileLock::IsHeld(StartFolderFile("CALC.DAT.lock")));
        queue.OnDeleteAll();
        queue.OnBatchOpen({AddCalc("B")});
    }
}

TEST_F(BatchQueueTest, AnEntryWaitsWhileAnotherCalculationRuns) {
    queue.OnBatchOpen({AddCalc("A"), AddCalc("B")});
    queue.OnBatchStart();
    EXPECT_EQ(queue.RunNextBatchEntry(), BatchStep::Next);
    ASSERT_EQ(calls.size(), 1u);
    // The main program starts a calculation between the two entries.
    auto main = std::make_unique<testsupport::LockHolder>(testsupport::RunStarted(dir, "MAIN"), testsupport::RunEnd(dir));
    ASSERT_TRUE(main->Held());
    for (int i = 0; i < 3; ++i) EXPECT_EQ(queue.RunNextBatchEntry(), BatchStep::Retry);
    EXPECT_TRUE(queue.IsBatchRunning());
    EXPECT_EQ(calls.size(), 1u);
    EXPECT_EQ(rows.States(), (std::vector<std::string>{F, W}));
    EXPECT_EQ(queue.GetEntry(1).state, 0);
    EXPECT_TRUE(ui.Messages().empty());
    // Its KKA and marker are left alone while it waits.
    EXPECT_TRUE(FileExists(dir + "B.KKA"));
    EXPECT_FALSE(FileExists(dir + "B.YNO"));

    // A flag file that has gone stops the batch with a message; the entry still waits.
    main.reset();
    DeleteFileSilently(StartFolderFile("CALC.DAT"));
    EXPECT_EQ(queue.RunNextBatchEntry(), BatchStep::Off);
    ASSERT_EQ(ui.Messages().size(), 1u);
    EXPECT_EQ(ui.Messages()[0].text, batchmsg::kCannotOpenCalcDat);
    EXPECT_EQ(queue.GetNextEntry(), 1);

    batchtest::Write(StartFolderFile("CALC.DAT"), "0\r\n");
    queue.OnBatchStart();
    RunBatch();
    EXPECT_EQ(calls.size(), 2u);
    EXPECT_EQ(rows.States(), (std::vector<std::string>{F, F}));
}

TEST_F(BatchQueueTest, AMarkerThatCannotBeMadeStopsTheBatchOnce) {
    queue.OnBatchOpen({AddCalc("A"), AddCalc("B")});
    std::filesystem::create_directory(dir + "A.YNO");
    queue.OnBatchStart();
    EXPECT_EQ(queue.RunNextBatchEntry(), BatchStep::Off);
    EXPECT_FALSE(queue.IsBatchRunning());
    EXPECT_EQ(queue.RunNextBatchEntry(), BatchStep::Off);
    EXPECT_TRUE(calls.empty());
    ASSERT_EQ(ui.Messages().size(), 1u);
    EXPECT_EQ(ui.Messages()[0].text.rfind(batchmsg::kYnoFailed, 0), 0u);
    EXPECT_NE(ui.Messages()[0].text.find("A.YNO: " + SystemErrorText(EISDIR)), std::string::npos) << ui.Messages()[0].text;
    EXPECT_EQ(ui.Messages()[0].caption, batchmsg::kYnoCaption);
    EXPECT_EQ(rows.States(), (std::vector<std::string>{W, W}));
    EXPECT_EQ(queue.GetNextEntry(), 0);
    EXPECT_EQ(queue.GetEntry(0).state, 0);
    EXPECT_TRUE(std::filesystem::is_directory(dir + "A.YNO"));
    // No temporary file is left beside it.
    int files = 0;
    for (const auto& e : std::filesystem::directory_iterator(dir)) files += e.path().filename().string().rfind("A.YNO", 0) == 0;
    EXPECT_EQ(files, 1);
}

TEST_F(BatchQueueTest, DeleteAllAsksAndHeedsTheFlag) {
    queue.OnBatchOpen({AddCalc("A"), AddCalc("B")});
    {
        testsupport::LockHolder main(testsupport::RunStarted(dir, "MAIN"), testsupport::RunEnd(dir));
        ASSERT_TRUE(main.Held());
        queue.OnDeleteAll();
        ASSERT_EQ(ui.Messages().size(), 1u);
        EXPECT_EQ(ui.Messages()[0].text, batchmsg::kCannotNow);
        EXPECT_EQ(queue.GetEntryCount(), 2);
    }

    ui.PushAnswer(IDCANCEL);
    queue.OnDeleteAll();
    EXPECT_EQ(queue.GetEntryCount(), 2);
    EXPECT_EQ(ui.Messages().back().text, batchmsg::kDeleteAllQuestion);
    EXPECT_EQ(ui.Messages().back().caption, batchmsg::kConfirmCaption);
    EXPECT_EQ(ui.Messages().back().buttons, MbButtons::OkCancel);

    queue.OnBatchStart();
    RunBatch();
    ui.PushAnswer(IDOK);
    queue.OnDeleteAll();
    EXPECT_EQ(queue.GetEntryCount(), 0);
    EXPECT_EQ(queue.GetNextEntry(), 0);
    EXPECT_TRUE(rows.rows.empty());
    EXPECT_EQ(queue.GetEntry(0).path, "");
    // An empty list is not asked about.
    const std::size_t before = ui.Messages().size();
    queue.OnDeleteAll();
    EXPECT_EQ(ui.Messages().size(), before);
}

TEST_F(BatchQueueTest, NothingChangesTheQueueWhileTheSolverRuns) {
    const std::string c = AddCalc("C");
    queue.OnBatchOpen({AddCalc("A"), AddCalc("B")});
    int nested = 0;
    during = [&] {
        ++nested;
        EXPECT_TRUE(queue.IsSolverRunning());
        EXPECT_EQ(queue.RunNextBatchEntry(), BatchStep::Refused);
        queue.OnBatchStart();
        queue.OnDeleteAll();
        queue.OnDelete(1);
        EXPECT_EQ(queue.OnBatchOpen({c}), 0);
        EXPECT_EQ(queue.GetEntryCount(), 2);
        EXPECT_EQ(calls.size(), static_cast<std::size_t>(nested));
    };
    results["A"] = 1;
    queue.OnBatchStart();
    RunBatch();
    // The abort takes the next index back to the aborted entry, whatever was tried meanwhile.
    EXPECT_EQ(queue.GetNextEntry(), 0);
    EXPECT_EQ(rows.States(), (std::vector<std::string>{A, W}));
    results["A"] = 0;
    queue.OnBatchStart();
    RunBatch();
    EXPECT_EQ(nested, 3);
    EXPECT_EQ(rows.States(), (std::vector<std::string>{F, F}));
    EXPECT_TRUE(ui.Messages().empty());
    EXPECT_FALSE(queue.IsSolverRunning());
}

}  // namespace
}  // namespace wv

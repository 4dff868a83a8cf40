// The solver thread: the request block, the exit code while and after a run, one run
// per process, the texts outliving their callers, and cancelling a real run.
#include "calc/cal_threads.h"
#include "calc/calc_run_files.h"
#include "calc/calc_state.h"
#include "calc/calc_messages.h"
#include "calcdoc/calcdoc_messages.h"
#include "calcdoc/wave_calc_command.h"
#include "platform/busy_flag.h"
#include "platform/file_lock.h"
#include "platform/text.h"
#include "solver/solver_hooks.h"
#include "tests/calcdoc/calcdoc_test_util.h"

#include <gtest/gtest.h>
#include "support/lock_holder.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <sys/stat.h>
#include <thread>
#include <tuple>

namespace wv {
namespace {

// A stand-in for the solver that keeps its run going until the test lets it end, and
// remembers what the request block held.
struct Gate {
    std::mutex mutex;
    std::condition_variable cv;
    bool entered = false;
    bool open = false;
    int result = 0;
    CalcRequest seen{};
    std::string folder, title, workDir;

    void WaitEntered() {
        std::unique_lock<std::mutex> lock(mutex);
        cv.wait(lock, [this] { return entered; });
    }
    void Open(int r) {
        std::lock_guard<std::mutex> lock(mutex);
        result = r;
        open = true;
        cv.notify_all();
    }
};

Gate* g_gate = nullptr;

int32_t HeldRun(CalcRequest* request) {
    Gate& g = *g_gate;
    std::unique_lock<std::mutex> lock(g.mutex);
    g.seen = *request;
    g.folder.assign(request->m_pszFolder, request->m_nFolderLen);
    g.title.assign(request->m_pszTitle, request->m_nTitleLen);
    g.workDir.assign(request->m_pszWorkDir, request->m_nWorkDirLen);
    g.entered = true;
    g.cv.notify_all();
    g.cv.wait(lock, [&g] { return g.open; });
    return g.result;
}

class CalThreadsTest : public ::testing::Test {
protected:
    void SetUp() override { g_gate = &gate; }
    void TearDown() override { g_gate = nullptr; }
    Gate gate;
};

TEST_F(CalThreadsTest, ExitCodeIsStillActiveUntilTheRunEnds) {
    std::unique_ptr<CCalThreads> holder;
    {
        // The texts are the holder's own: the caller's strings may go at once.
        std::string folder = "/calc/", title = "BAY.NO.1", work = "/start";
        holder = std::make_unique<CCalThreads>(folder, title, work, 36, 5, 40, 30, &HeldRun);
    }
    EXPECT_EQ(holder->GetExitCode(), CCalThreads::kStillActive);
    ASSERT_EQ(holder->StartCalc(), 0);
    gate.WaitEntered();
    EXPECT_EQ(holder->GetExitCode(), CCalThreads::kStillActive);
    EXPECT_TRUE(holder->IsRunning());
    std::string folder, title;
    EXPECT_TRUE(CCalThreads::IsAnyRunning(&folder, &title));
    EXPECT_EQ(title, "BAY.NO.1");
    EXPECT_TRUE(CCalThreads::IsRunningFor("/calc/", "BAY.NO.1"));
    EXPECT_FALSE(CCalThreads::IsRunningFor("/calc/", "BAY"));

    // One run per process: a second holder is refused, and the first one keeps running.
    CCalThreads second("/calc/", "OTHER", "/start", 36, 5, 40, 30, &HeldRun);
    EXPECT_EQ(second.StartCalc(), -1);
    EXPECT_EQ(second.GetExitCode(), 1);
    EXPECT_EQ(holder->GetExitCode(), CCalThreads::kStillActive);

    gate.Open(1);
    holder->Wait();
    EXPECT_EQ(holder->GetExitCode(), 1);
    EXPECT_FALSE(CCalThreads::IsAnyRunning());
    EXPECT_EQ(holder->StartCalc(), -1);  // a holder runs once

    EXPECT_EQ(std::tie(gate.folder, gate.title, gate.workDir), std::tie("/calc/", "BAY.NO.1", "/start"));
    const CalcRequest& rq = gate.seen;
    EXPECT_EQ(std::tie(rq.m_nDirDiv, rq.m_nFreqDiv, rq.m_nMeshX, rq.m_nMeshY, rq.m_nMode),
              std::make_tuple(36, 5, 40, 30, 0));
}

// A view that closes mid-run hands its holder over; the run keeps its block until it
// ends, and quitting waits for it.
TEST_F(CalThreadsTest, HolderOutlivesItsOwnerUntilTheRunEnds) {
    auto holder = std::make_unique<CCalThreads>("/calc/", "LEFT", "/start", 9, 3, 5, 5, &HeldRun);
    ASSERT_EQ(holder->StartCalc(), 0);
    gate.WaitEntered();
    CCalThreads::KeepUntilFinished(std::move(holder));
    EXPECT_TRUE(CCalThreads::IsRunningFor("/calc/", "LEFT"));

    std::thread release([this] {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        gate.Open(0);
    });
    CCalThreads::CancelAndJoinAll();
    EXPECT_FALSE(CCalThreads::IsAnyRunning());
    release.join();
    EXPECT_EQ(gate.title, "LEFT");
}

// The real solver on the hand-written tiny input, cancelled (a completed run through the
// calculate command: WaveCalcCommandTest.StartsTheSolverOnItsThread).
class SolverThreadTest : public ::testing::Test {
protected:
    void SetUp() override {
        roadtest::UseScratchStartFolder();
        roadtest::CopyGolden("tiny_code1.CAL", roadtest::Scratch() + "TINY.CAL");
        DeleteFileSilently(roadtest::Scratch() + "TINY.KKA");
    }
    void TearDown() override { solv::SetProgressObserver(nullptr); }

    std::unique_ptr<CCalThreads> Holder() {
        std::string work = roadtest::Scratch();
        work.pop_back();
        // Code 1 on 3 columns and 2 rows: 3 nodes along the march, 2 across.
        return std::make_unique<CCalThreads>(roadtest::Scratch(), "TINY", work, 9, 3, 3, 2);
    }

    ScriptedUi ui;
    ScopedUi scoped{&ui};
};

TEST_F(SolverThreadTest, CancelledRunEndsWithOne) {
    // The solver stops at its first column until the cancel is on its way.
    std::atomic<bool> atColumn{false};
    std::atomic<bool> release{false};
    solv::SetProgressObserver([&](int) {
        atColumn = true;
        for (int i = 0; i < 400 && !release; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(5));
    });
    auto holder = Holder();
    ASSERT_EQ(holder->StartCalc(), 0);
    while (!atColumn) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    std::thread releaser([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        release = true;
    });
    holder->CancelAndWait();
    releaser.join();
    EXPECT_EQ(holder->GetExitCode(), 1);
    // A program that quits has nobody to ask: the run stops without the question and
    // is marked idle.
    EXPECT_EQ(roadtest::CountMessages(ui, "処理を中断しますか"), 0);
    EXPECT_EQ(roadtest::ReadAll(StartFolderFile("CALC.DAT")), "0\r\n");
}

TEST(CalcRunFiles, TitleKeepsEveryDotButTheLast) {
    const CalcRunName name = CalcRunNameOf("/data/bay/BAY.NO.1.TYD");
    EXPECT_EQ(name.folder, "/data/bay/");
    EXPECT_EQ(name.title, "BAY.NO.1");
}

TEST(CalcRunFiles, BusyFlagAsTheProgramsWriteIt) {
    roadtest::EnterOwnFolder();
    SetStartFolder(roadtest::Scratch());
    std::string title;
    DeleteFileSilently(StartFolderFile("CALC.DAT"));
    EXPECT_EQ(ReadBusyFlag(&title), BusyFlag::Missing);
    roadtest::WriteAll(StartFolderFile("CALC.DAT"), "0\r\n");
    EXPECT_EQ(ReadBusyFlag(&title), BusyFlag::Idle);
    {
        // While a run holds the lock, the name is the first word of the record after the flag.
        testsupport::LockHolder run(testsupport::FlockOn(StartFolderFile("CALC.DAT.lock")));
        ASSERT_TRUE(run.Held());
        roadtest::WriteAll(StartFolderFile("CALC.DAT"), "  1\r\n" + Utf8ToCp932("湾 2号") + "\r\n");
        EXPECT_EQ(ReadBusyFlag(&title), BusyFlag::Busy);
        EXPECT_EQ(title, "湾");
        // A document whose title holds a blank is still recognised as the one running.
        EXPECT_TRUE(IsCalcRunGoingOn("/data/湾 2号.TYD"));
        EXPECT_FALSE(IsCalcRunGoingOn("/data/湾2号.TYD"));
        roadtest::WriteAll(StartFolderFile("CALC.DAT"), "1\r\n\r\n");
        EXPECT_EQ(ReadBusyFlag(&title), BusyFlag::Busy);
        EXPECT_EQ(title, "");
    }
    // No run holds it: what is left there means no run, and reading changes nothing.
    for (const char* left : {"", "busy\r\n", "1\r\nDEAD\r\n"}) {
        roadtest::WriteAll(StartFolderFile("CALC.DAT"), left);
        EXPECT_EQ(ReadBusyFlag(&title), BusyFlag::Idle);
        EXPECT_EQ(title, "");
        EXPECT_EQ(roadtest::ReadAll(StartFolderFile("CALC.DAT")), left);
    }
}

// The calculate command on the tiny calculation: confirmation, the busy flag, and a run.
class WaveCalcCommandTest : public ::testing::Test {
protected:
    void SetUp() override {
        roadtest::UseScratchStartFolder();
        roadtest::OpenNew(doc, "TINY.TYD");
        roadtest::SetMesh(doc, 2, 3, roadtest::TinyDepths());
        doc.m_info.m_nDirDiv = 9;
        doc.m_info.m_nFreqDiv = 3;
        doc.m_info.m_dH0 = 2.0;
        doc.m_info.m_dT0 = 8.0;
        doc.m_info.m_nDirMode = 1;
        doc.m_info.m_dDirAngle = 190.0;  // the left column in an unturned view
        doc.m_info.m_bFreeRotation = 1;
        CCalValue v = doc.m_mesh.GetAt(0);
        v.SetHeightRatio(0.7f);  // from an earlier run
        doc.m_mesh.SetAt(0, v);
    }

    // The command stopped with one message and left the calculation as it was.
    void ExpectStopped(const std::string& text) {
        ui.Clear();
        CWaveCalcSlot slot;
        EXPECT_EQ(OnWaveCalc(doc, view, frame, slot), -1);
        ASSERT_EQ(ui.Messages().size(), 2u);  // the start question, then the refusal
        EXPECT_EQ(ui.Messages()[1].text, text);
        EXPECT_EQ(ui.Messages()[1].caption, docmsg::kWaveCalcCaption);
        EXPECT_EQ(slot.Get(), nullptr);
        EXPECT_EQ(doc.m_info.m_nCalcState, kCalcDepths);
        EXPECT_EQ(doc.m_mesh.GetAt(0).GetHeightRatio(), 0.7f);
    }

    ScriptedUi ui;
    ScopedUi scoped{&ui};
    CTydDoc doc;
    CTydViewData view{doc};
    CalcViewFrame frame;
};

TEST_F(WaveCalcCommandTest, StopsOnCancelAndOnTheBusyFlag) {
    ui.PushAnswer(IDCANCEL);
    CWaveCalcSlot slot;
    EXPECT_EQ(OnWaveCalc(doc, view, frame, slot), -1);
    // The input files are written and the document saved before the question.
    EXPECT_TRUE(FileExists(doc.SideFile("CAL")));
    EXPECT_TRUE(FileExists(doc.SideFile("DEC")));
    EXPECT_GT(FileSize(doc.GetPathName()), 0);
    EXPECT_EQ(doc.m_info.m_nCalcState, kCalcDepths);

    DeleteFileSilently(StartFolderFile("CALC.DAT"));
    ExpectStopped(docmsg::kCannotOpenCalcDat);
    {
        testsupport::LockHolder other(testsupport::RunStarted(StartFolder(), "OTHER CALC"), testsupport::RunEnd(StartFolder()));
        ASSERT_TRUE(other.Held());
        ExpectStopped("現在【OTHER】を計算中です");
    }
    DeleteFileSilently(StartFolderFile("CALC.DAT"));
    std::filesystem::create_directory(StartFolderFile("CALC.DAT"));
    ExpectStopped(docmsg::kCannotOpenCalcDat);
    std::filesystem::remove(StartFolderFile("CALC.DAT"));
}

TEST_F(WaveCalcCommandTest, StartsTheSolverOnItsThread) {
    roadtest::WriteAll(doc.SideFile("KKA"), "left from an earlier run\r\n");
    // A damaged flag that no run holds was left by a run that died: no reason to refuse.
    roadtest::WriteAll(StartFolderFile("CALC.DAT"), "hello");
    CWaveCalcSlot slot;
    ASSERT_EQ(OnWaveCalc(doc, view, frame, slot), 0);
    // Results of the earlier run are gone the moment the run starts.
    EXPECT_EQ(doc.m_info.m_nCalcState, kCalcStarted);
    EXPECT_EQ(doc.m_mesh.GetAt(0).GetHeightRatio(), 0.0f);
    EXPECT_EQ(doc.m_mesh.GetWaveHeight(), 2.0);
    EXPECT_TRUE(doc.IsModified());
    ASSERT_NE(slot.Get(), nullptr);
    const CalcRequest& rq = slot.Get()->GetRequest();
    EXPECT_EQ(std::string(rq.m_pszFolder, rq.m_nFolderLen), roadtest::Scratch());
    EXPECT_EQ(std::string(rq.m_pszTitle, rq.m_nTitleLen), "TINY");
    EXPECT_EQ(std::string(rq.m_pszWorkDir, rq.m_nWorkDirLen) + "/", roadtest::Scratch());
    // Code 1: the 3 columns along the march, the 2 rows across it.
    EXPECT_EQ(std::tie(rq.m_nMeshX, rq.m_nMeshY, rq.m_nDirDiv, rq.m_nFreqDiv), std::make_tuple(3, 2, 9, 3));
    slot.Wait();
    EXPECT_EQ(slot.GetExitCode(), 0);
    EXPECT_EQ(roadtest::ReadAll(StartFolderFile("CALC.DAT")), "0\r\n");
    EXPECT_EQ(doc.m_nRunOrientation, 1);
    EXPECT_EQ(LoadCalcResults(doc, view, frame), 0);
    EXPECT_GT(doc.m_mesh.GetAt(0).GetHeightRatio(), 0.0f);
}

// What the run that the calculate command starts finds when it begins.
struct SeenByRun {
    int runs = 0;
    LockState lock = LockState::Free;
    std::string flag;
    LockTake joined = LockTake::Held;
    bool otherProcessTookIt = true;
};
SeenByRun g_seen;

int32_t LookingRun(CalcRequest*) {
    ++g_seen.runs;
    const std::string lock = StartFolderFile(kCalcDatLockName);
    g_seen.lock = FileLock::Probe(lock);
    g_seen.flag = roadtest::ReadAll(StartFolderFile("CALC.DAT"));
    FileLock run(lock);
    g_seen.joined = run.TakeOrJoin();
    testsupport::LockHolder other(testsupport::FlockOn(lock));
    g_seen.otherProcessTookIt = other.Held();
    other.Release();
    WriteIdleFlag(StartFolderFile("CALC.DAT"));
    return 0;
}

// The run is decided on and started under one held lock: the run the command starts
// finds the lock held for it, shares it and keeps other programs out, and finds the flag
// naming it over what a run that died left. A flag the command cannot write stops it
// with one message and the system's reason, before anything changes.
TEST_F(WaveCalcCommandTest, ItsRunFindsItselfClaimedAndAnUnwritableFlagStopsIt) {
    g_seen = SeenByRun();
    const std::string flag = StartFolderFile("CALC.DAT");
    roadtest::WriteAll(flag, "0\r\n");
    ASSERT_EQ(::chmod(flag.c_str(), 0444), 0);
    {
        CWaveCalcSlot slot(&LookingRun);
        EXPECT_EQ(OnWaveCalc(doc, view, frame, slot), -1);
        ASSERT_EQ(ui.Messages().size(), 2u);
        const std::string text = ui.Messages()[1].text;
        const std::string head = std::string(calcmsg::kCalcDatWriteFailed) + "\n(" + flag + ": ";
        EXPECT_EQ(text.substr(0, head.size()), head);
        EXPECT_TRUE(text.size() > head.size() + 1 && text.back() == ')') << text;
        EXPECT_EQ(g_seen.runs, 0);
        EXPECT_EQ(doc.m_info.m_nCalcState, kCalcDepths);
        EXPECT_EQ(doc.m_mesh.GetAt(0).GetHeightRatio(), 0.7f);
        EXPECT_EQ(roadtest::ReadAll(flag), "0\r\n");
    }
    ASSERT_EQ(::chmod(flag.c_str(), 0644), 0);

    roadtest::WriteAll(flag, "1\r\nDEAD\r\n");
    CWaveCalcSlot slot(&LookingRun);
    ASSERT_EQ(OnWaveCalc(doc, view, frame, slot), 0);
    slot.Wait();
    EXPECT_EQ(g_seen.runs, 1);
    EXPECT_EQ(g_seen.lock, LockState::Held);
    EXPECT_EQ(g_seen.flag, "1\r\nTINY\r\n");
    EXPECT_EQ(g_seen.joined, LockTake::Taken);
    EXPECT_FALSE(g_seen.otherProcessTookIt);
    EXPECT_EQ(roadtest::ReadAll(flag), "0\r\n");
    EXPECT_FALSE(FileLock::IsHeld(StartFolderFile(kCalcDatLockName)));
}

}  // namespace
}  // namespace wv

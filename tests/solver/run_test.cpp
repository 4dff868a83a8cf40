// The run from request to files: every exit, the refusal of bad input before anything
// is written, cancel, a second run in the same process, and threads.
#include "platform/file_lock.h"
#include "platform/files.h"
#include "platform/ui_service.h"
#include "solver/column_results.h"
#include "solver/march.h"
#include "solver/run_sequence.h"
#include "solver/solver_hooks.h"
#include "solver/solver_messages.h"
#include "solver_test_util.h"
#include "support/lock_holder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <new>
#include <regex>
#include <stdexcept>
#include <string>

#include <unistd.h>

namespace wv::solvtest {
namespace {

namespace msg = solv::msg;

std::string FileText(const std::string& path) {
    std::string text, err;
    if (!ReadWholeFile(path, text, &err)) return "<missing>";
    return text;
}

int CountLines(const std::string& text, std::size_t length) {
    int n = 0;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t end = text.find("\r\n", pos);
        if (end == std::string::npos) return -1;
        if (end - pos == length) ++n;
        pos = end + 2;
    }
    return n;
}

// A small bay: 8 columns, 6 rows, land in the last column's upper rows.
tools::CalCase SmallSpec() {
    return {.breaking = 1, .nd = 9, .nf = 3, .nx = 8, .ny = 6, .period = 7.0, .height = 1.5};
}
double SmallDepth(int i, int j) { return (i == 8 && j >= 5) ? -1.0 : 12.0 - 1.2 * i; }

class SolverRun : public ::testing::Test {
protected:
    void SetUp() override {
        folder = ScratchFolder(::testing::UnitTest::GetInstance()->current_test_info()->name());
        solv::SetThreadCountOverride(2);
    }
    void TearDown() override {
        solv::SetProgressObserver(nullptr);
        solv::SetThreadCountOverride(0);
    }
    std::string Calc() const { return FileText(folder + "CALC.DAT"); }
    std::string folder;
    ScriptedUi ui;
    ScopedUi scoped{&ui};
};

TEST_F(SolverRun, NormalEndWritesResultsStatusAndTiming) {
    const tools::CalCase s = SmallSpec();
    ASSERT_EQ(WriteAndRun(folder, "BAY", s, SmallDepth, 0), 0);
    // Mode 0 ends with the message; nothing else was said.
    const auto messages = ui.Messages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, msg::kNormalEnd);
    EXPECT_EQ(messages[0].caption, "終了");
    EXPECT_EQ(messages[0].icon, MbIcon::Information);
    EXPECT_EQ(Calc(), "0\r\n");
    const std::regex timing("\\d\\d-(Jan|Feb|Mar|Apr|May|Jun|Jul|Aug|Sep|Oct|Nov|Dec)-\\d\\d\r\n"
                            "\\d\\d:\\d\\d:\\d\\d\r\n"
                            "\\d\\d-(Jan|Feb|Mar|Apr|May|Jun|Jul|Aug|Sep|Oct|Nov|Dec)-\\d\\d\r\n"
                            "\\d\\d:\\d\\d:\\d\\d\r\n");
    EXPECT_TRUE(std::regex_match(FileText(folder + "TIME.TMP"), timing));

    const std::string kka = FileText(folder + "BAY.KKA");
    EXPECT_EQ(CountLines(kka, 102), s.nx * s.ny);
    const auto recs = ReadKka(folder + "BAY.KKA");
    ASSERT_EQ(recs.size(), static_cast<std::size_t>(s.nx * s.ny));
    for (std::size_t n = 0; n < recs.size(); ++n) {
        const int i = static_cast<int>(n) / s.ny + 1, j = static_cast<int>(n) % s.ny + 1;
        EXPECT_EQ(recs[n].x, (i - 1) * s.dx);
        EXPECT_EQ(recs[n].y, (j - 1) * s.dy);
        EXPECT_EQ(recs[n].kr, -99.0);  // breaking on: no refraction coefficient
        EXPECT_LE(recs[n].hmax, 1.8 * recs[n].h + 1e-4);
        if (SmallDepth(i, j) <= 0) {
            EXPECT_EQ(recs[n].h, 0.0);
            EXPECT_EQ(recs[n].t, 0.0);
        } else {
            EXPECT_GT(recs[n].h, 0.5);
        }
    }
}

TEST_F(SolverRun, BatchModeEndsSilentlyAndKrIsWrittenWithoutBreaking) {
    tools::CalCase s = SmallSpec();
    s.breaking = 0;
    ASSERT_EQ(WriteAndRun(folder, "BAY", s, SmallDepth, 1), 0);
    EXPECT_TRUE(ui.Messages().empty());
    for (const KkaRecord& r : ReadKka(folder + "BAY.KKA")) {
        if (r.depth > 0) {
            EXPECT_GT(r.kr, 0.5);
            EXPECT_LT(r.kr, 1.5);
        } else {
            EXPECT_EQ(r.kr, -99.0);
        }
    }
}

// Short waves over deep water: kh in the thousands, where the shoaling routine's tanh
// used to overflow into NaN.
TEST_F(SolverRun, DeepWaterRefractionCoefficientIsFinite) {
    tools::CalCase s = SmallSpec();
    s.breaking = 0;
    s.period = 1.5;
    ASSERT_EQ(WriteAndRun(folder, "DEEP", s, [](int, int) { return 1000.0; }), 0);
    for (const KkaRecord& r : ReadKka(folder + "DEEP.KKA")) EXPECT_NEAR(r.kr, r.h, 2e-4);  // Ks = 1
}

TEST_F(SolverRun, OutputSelectionWritesTheCentreRowOnlyAndDumpFollows) {
    tools::CalCase s = SmallSpec();
    s.ny = 4;
    s.outputSelection = 1;
    s.dumpSwitch = 0;
    ASSERT_EQ(WriteAndRun(folder, "BAY", s, SmallDepth), 0);
    const std::string kka = FileText(folder + "BAY.KKA");
    EXPECT_EQ(CountLines(kka, 102), s.nx);
    EXPECT_EQ(CountLines(kka, 54), s.nx * s.ny);  // the dump has every node
    for (const KkaRecord& r : ReadKka(folder + "BAY.KKA")) EXPECT_EQ(r.y, 2 * s.dy);  // row 3
}

TEST_F(SolverRun, NoColumnsIsANormalEnd) {
    tools::CalCase s = SmallSpec();
    s.nx = 0;
    ASSERT_EQ(WriteAndRun(folder, "EMPTY", s, SmallDepth, 0), 0);
    EXPECT_EQ(FileText(folder + "EMPTY.KKA"), "");
    EXPECT_NE(FileText(folder + "TIME.TMP"), "<missing>");
    EXPECT_EQ(ui.Messages().size(), 1u);
    EXPECT_EQ(Calc(), "0\r\n");
}

TEST_F(SolverRun, NoWavesGiveZeroRatios) {
    tools::CalCase s = SmallSpec();
    s.height = 0.0;
    ASSERT_EQ(WriteAndRun(folder, "CALM", s, SmallDepth), 0);
    for (const KkaRecord& r : ReadKka(folder + "CALM.KKA")) {
        EXPECT_EQ(r.h, 0.0);
        EXPECT_EQ(r.hmax, 0.0);
    }
}

// The run's own failures: one error box saying why, result 1, the flag idle again, and
// no results (the result file is not made, or left empty when the window fails after it).
TEST_F(SolverRun, FailuresSayWhyAndLeaveNoResults) {
    ASSERT_TRUE(AtomicWriteFile(folder + "BAY.CAL", tools::MakeCalText(SmallSpec(), SmallDepth), nullptr));
    tools::CalCase huge = SmallSpec();
    huge.ny = 2000000000;  // the work storage is sized from the request
    struct Case {
        const char* what;
        const char* title;
        tools::CalCase request;
        bool windowFails;
        const char* text;
        const char* kka;
    } cases[] = {
        {"missing input", "NONE", SmallSpec(), false, msg::kNoCalFile, "<missing>"},
        {"work storage that cannot be had", "BAY", huge, false, msg::kNoMemory, "<missing>"},
        {"progress window that cannot be made", "BAY", SmallSpec(), true, msg::kDialogFailed, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ui.Clear();
        DeleteFileSilently(folder + "BAY.KKA");
        solv::SetProgressWindowFailure(c.windowFails);
        EXPECT_EQ(RunSolver(folder, c.title, folder, c.request), 1);
        solv::SetProgressWindowFailure(false);
        const auto messages = ui.Messages();
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_EQ(messages[0].text, c.text);
        EXPECT_EQ(messages[0].caption, "Error");
        EXPECT_EQ(messages[0].icon, MbIcon::Error);
        EXPECT_EQ(Calc(), "0\r\n");
        EXPECT_EQ(FileText(folder + c.title + ".KKA"), c.kka);
    }
}

// Every way a .CAL can be wrong: refused with a message that says what is wrong, before
// the result file is touched.
TEST_F(SolverRun, BadInputIsRefusedBeforeAnythingIsWritten) {
    struct Case {
        const char* what;
        std::function<void(tools::CalCase& file, tools::CalCase& request)> change;
        std::function<void(std::string& text)> edit;
        const char* expect;  // a piece of the detail
    };
    auto none = [](tools::CalCase&, tools::CalCase&) {};
    auto noEdit = [](std::string&) {};
    auto replaceLine = [](int record, const std::string& with) {
        return [=](std::string& text) {
            std::size_t pos = 0;
            for (int r = 1; r < record; ++r) pos = text.find("\r\n", pos) + 2;
            const std::size_t end = text.find("\r\n", pos);
            text.replace(pos, end - pos, with);
        };
    };
    const std::vector<Case> cases = {
        {"ND differs", [](auto& f, auto&) { f.nd = 12; }, noEdit, "方向分割数 12"},
        {"NF differs", [](auto&, auto& r) { r.nf = 4; }, noEdit, "周波数分割数 3"},
        {"NX too large", [](auto&, auto& r) { r.nx = -3; }, noEdit, "NX=8"},
        {"NY too large", [](auto&, auto& r) { r.ny = -4; }, noEdit, "NY=6"},
        {"NX negative", none, replaceLine(9, "   -1    6"), "NX=-1"},
        {"two bins", [](auto& f, auto& r) { f.nd = r.nd = 2; }, noEdit, "3 以上"},
        {"no component", [](auto& f, auto& r) { f.nf = r.nf = 0; }, noEdit, "1 以上"},
        {"period 0", [](auto& f, auto&) { f.period = 0.0; }, noEdit, "周期"},
        {"negative height", [](auto& f, auto&) { f.height = -1.0; }, noEdit, "波高"},
        {"height beyond numbers", none, replaceLine(12, "     8.000    1.E160"), "有義波高 1e+160"},
        {"dx 0", [](auto& f, auto&) { f.dx = 0.0; }, noEdit, "格子間隔"},
        {"dy negative", [](auto& f, auto&) { f.dy = -10.0; }, noEdit, "格子間隔"},
        {"range outside", [](auto& f, auto&) { f.theta0Deg = 100.0; f.rangeBelowDeg = f.rangeAboveDeg = 5.0; }, noEdit,
         "方向範囲"},
        {"zero range", [](auto& f, auto&) { f.rangeBelowDeg = f.rangeAboveDeg = 0.0; }, noEdit, "方向範囲"},
        {"letters", none, replaceLine(12, "     8.000       abc"), "12行目"},
        {"truncated header", none, [](std::string& t) { t = t.substr(0, t.find("\r\n") + 2); }, "2行目がありません"},
        {"missing depths", none, [](std::string& t) { t.resize(t.size() - 3 * 12); }, "48 個必要ですが 45 個"},
        {"bad depth", none, replaceLine(20, "   12.x   "), "20行目"},
        {"depth too wide", none, replaceLine(20, " 1234567.0"), "20行目"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ui.Clear();
        tools::CalCase file = SmallSpec(), request = SmallSpec();
        c.change(file, request);
        std::string text = tools::MakeCalText(file, SmallDepth);
        c.edit(text);
        ASSERT_TRUE(AtomicWriteFile(folder + "BAD.CAL", text, nullptr));
        ASSERT_TRUE(AtomicWriteFile(folder + "BAD.KKA", std::string("previous results"), nullptr));
        ASSERT_TRUE(AtomicWriteFile(folder + "CALC.DAT", std::string("1\r\nBAD\r\n"), nullptr));
        EXPECT_EQ(RunSolver(folder, "BAD", folder, request), 1);
        const auto messages = ui.Messages();
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_EQ(messages[0].caption, "Error");
        EXPECT_EQ(messages[0].text.rfind(msg::kBadCalFile, 0), 0u) << messages[0].text;
        EXPECT_NE(messages[0].text.find(c.expect), std::string::npos) << messages[0].text;
        EXPECT_EQ(FileText(folder + "BAD.KKA"), "previous results");
        EXPECT_EQ(Calc(), "0\r\n");
    }
}

// Requests and headers that need more storage than the machine has are refused at once,
// before the input's depths or the spectrum are built, with the out-of-memory message.
TEST_F(SolverRun, OversizedRunsAreRefusedBeforeAnythingIsBuilt) {
    struct Case {
        const char* what;
        std::function<void(tools::CalCase& file, tools::CalCase& request)> change;
        const char* meshRecord;  // record 9 of the file, or null to keep it
    } cases[] = {
        {"a mesh of 99999 x 99999 without depth records",
         [](auto&, auto& r) { r.nx = r.ny = 99999; }, "9999999999"},
        {"99999 directions and 99999 frequencies",
         [](auto& f, auto& r) { f.nd = r.nd = 99999; f.nf = r.nf = 99999; }, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ui.Clear();
        tools::CalCase file = SmallSpec(), request = SmallSpec();
        c.change(file, request);
        std::string text = tools::MakeCalText(file, SmallDepth);
        if (c.meshRecord) {
            std::size_t pos = 0;
            for (int r = 1; r < 9; ++r) pos = text.find("\r\n", pos) + 2;
            text.replace(pos, text.find("\r\n", pos) - pos, c.meshRecord);
            for (int r = 9; r <= 13; ++r) pos = text.find("\r\n", pos) + 2;
            text.resize(pos + 4 * 12);  // the header and four depth records
        }
        ASSERT_TRUE(AtomicWriteFile(folder + "BIG.CAL", text, nullptr));
        ASSERT_TRUE(AtomicWriteFile(folder + "BIG.KKA", std::string("previous results"), nullptr));
        EXPECT_EQ(RunSolver(folder, "BIG", folder, request), 1);
        const auto messages = ui.Messages();
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_EQ(messages[0].text, msg::kNoMemory);
        EXPECT_EQ(FileText(folder + "BIG.KKA"), "previous results");
        EXPECT_EQ(Calc(), "0\r\n");
    }
}

// Whatever goes wrong inside a run, the entry returns 1 with a message and marks the run
// idle: an exception must never leave the library's C entry.
TEST_F(SolverRun, NoExceptionLeavesTheEntry) {
    struct Case {
        const char* what;
        std::function<void()> fail;
        const char* message;
    } cases[] = {
        {"out of memory during the march", [] { throw std::bad_alloc(); }, msg::kNoMemory},
        {"any other failure", [] { throw std::runtime_error("unexpected"); }, msg::kUnexpectedFailure},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ui.Clear();
        solv::SetProgressObserver([&](int value) {
            if (value == 50) c.fail();
        });
        int result = -1;
        EXPECT_NO_THROW(result = WriteAndRun(folder, "EXC", SmallSpec(), SmallDepth));
        EXPECT_EQ(result, 1);
        const auto messages = ui.Messages();
        ASSERT_FALSE(messages.empty());
        EXPECT_EQ(messages.back().text, c.message);
        EXPECT_EQ(Calc(), "0\r\n");
        // The next run in the process is not refused as a second one.
        solv::SetProgressObserver(nullptr);
        ui.Clear();
        EXPECT_EQ(WriteAndRun(folder, "EXC", SmallSpec(), SmallDepth), 0);
    }
}

TEST_F(SolverRun, CancelAnsweredNoGoesOn) {
    int asked = 0;
    solv::SetProgressObserver([&](int value) {
        if (value >= 40 && asked++ == 0) solv::RequestCancel();
    });
    ui.PushAnswer(IDNO);
    EXPECT_EQ(WriteAndRun(folder, "BAY", SmallSpec(), SmallDepth, 1), 0);
    const auto messages = ui.Messages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, "処理を中断しますか？");
    EXPECT_EQ(messages[0].caption, "実行中断");
    EXPECT_EQ(messages[0].buttons, MbButtons::YesNo);
    EXPECT_EQ(CountLines(FileText(folder + "BAY.KKA"), 102), 48);
}

TEST_F(SolverRun, CancelAnsweredYesStopsAfterTheFinishedColumns) {
    solv::SetProgressObserver([&](int value) {
        if (value == 50) {  // after column 4 of 8
            solv::RequestCancel();
            solv::RequestCancel();  // several clicks are one report
        }
    });
    ui.PushAnswer(IDYES);
    EXPECT_EQ(WriteAndRun(folder, "BAY", SmallSpec(), SmallDepth, 0), 1);
    ASSERT_EQ(ui.Messages().size(), 1u);  // the question only, no end message
    const std::string kka = FileText(folder + "BAY.KKA");
    EXPECT_EQ(CountLines(kka, 102), 4 * 6);
    EXPECT_EQ(kka.size(), 4u * 6 * 104);
    EXPECT_EQ(FileText(folder + "TIME.TMP"), "<missing>");
    EXPECT_EQ(Calc(), "0\r\n");
}

// Columns of long segments, whose records are written while the next column is solved.
tools::CalCase LongSpec() {
    return {.breaking = 1, .nd = 9, .nf = 3, .nx = 10, .ny = 70, .period = 7.0, .height = 1.5};
}
double LongDepth(int i, int) { return 12.0 - 0.8 * i; }

TEST_F(SolverRun, CancelWithLongSegmentsKeepsEveryFinishedColumnWhole) {
    solv::SetThreadCountOverride(4);
    ASSERT_EQ(WriteAndRun(folder, "LONG", LongSpec(), LongDepth, 1), 0);
    const std::string whole = FileText(folder + "LONG.KKA");
    ASSERT_EQ(whole.size(), 10u * 70 * 104);
    for (int stopAt : {10, 60, 90}) {  // after columns 1, 6 and 9 of 10
        SCOPED_TRACE(::testing::Message() << "cancelled at " << stopAt << " %");
        solv::SetProgressObserver([&](int value) {
            if (value == stopAt) solv::RequestCancel();
        });
        ui.Clear();
        ui.PushAnswer(IDYES);
        EXPECT_EQ(WriteAndRun(folder, "LONG", LongSpec(), LongDepth, 1), 1);
        EXPECT_EQ(FileText(folder + "LONG.KKA"), whole.substr(0, static_cast<std::size_t>(stopAt / 10) * 70 * 104));
        EXPECT_EQ(Calc(), "0\r\n");
    }
}

TEST_F(SolverRun, AResultFileThatCannotBeWrittenEndsTheRunWithAMessage) {
    solv::SetThreadCountOverride(4);
    // Every write to the full device fails as on a full disk.
    ASSERT_EQ(::symlink("/dev/full", (folder + "FULL.KKA").c_str()), 0);
    EXPECT_EQ(WriteAndRun(folder, "FULL", LongSpec(), LongDepth, 1), 1);
    const auto messages = ui.Messages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, msg::kKkaWriteFailed);
    EXPECT_EQ(Calc(), "0\r\n");
    EXPECT_EQ(FileText(folder + "TIME.TMP"), "<missing>");
}

// A column's records on their own: what reaches the file, and what stops the run
// instead. The run cannot make these values itself (its input checks keep them out).
TEST(PendingRecords, AColumnReachesTheFileWholeOrNotAtAll) {
    const solv::CalInput input = MakeInput(LongSpec(), LongDepth);
    solv::RunState st;
    st.in = input;
    solv::SetUpRun(st, {input.nd, input.nf, static_cast<long long>(input.nx) + solv::kMeshMargin,
                        static_cast<long long>(input.ny) + solv::kMeshMargin});
    solv::AllocateMarch(st, 3);
    solv::WorkerPool pool(3);
    solv::PrepareMarch(st, pool);
    ASSERT_EQ(solv::MarchColumn(st, 1, pool), solv::ColumnStatus::Ok);
    ASSERT_EQ(solv::ColumnStatistics(st, 1, pool), solv::ColumnStatus::Ok);

    std::vector<std::string> written;
    bool accept = true;
    solv::PendingRecords records([&](const std::string& text) {
        written.push_back(text);
        return accept;
    });
    records.Take(st, 1);
    EXPECT_EQ(records.Finish(pool), solv::PendingRecords::Outcome::Ok);
    ASSERT_EQ(written.size(), 1u);
    EXPECT_EQ(CountLines(written[0], 102), 70);
    EXPECT_EQ(records.Finish(pool), solv::PendingRecords::Outcome::Ok) << "nothing is pending twice";
    EXPECT_EQ(written.size(), 1u);

    // Formatted by other threads in part, as during the next column: the same text.
    records.Take(st, 1);
    records.Work();
    EXPECT_EQ(records.Finish(pool), solv::PendingRecords::Outcome::Ok);
    ASSERT_EQ(written.size(), 2u);
    EXPECT_EQ(written[1], written[0]);

    accept = false;
    records.Take(st, 1);
    EXPECT_EQ(records.Finish(pool), solv::PendingRecords::Outcome::WriteFailed);

    // A value that is not finite in a late row: nothing of the column is handed on.
    const double kept = st.rowPeriod[65];
    st.rowPeriod[65] = std::nan("");
    records.Take(st, 1);
    st.rowPeriod[65] = kept;  // the records use the values taken
    EXPECT_EQ(records.Finish(pool), solv::PendingRecords::Outcome::NonFinite);
    EXPECT_EQ(written.size(), 3u);
}

TEST_F(SolverRun, SecondRunInTheSameProcessIsRefused) {
    int second = -1;
    std::string flagDuringRun;
    solv::SetProgressObserver([&](int value) {
        if (value == 50 && second < 0) {
            flagDuringRun = Calc();
            second = RunSolver(folder, "BAY", folder, SmallSpec());
        }
    });
    EXPECT_EQ(WriteAndRun(folder, "BAY", SmallSpec(), SmallDepth, 1), 0);
    EXPECT_EQ(second, 1);
    EXPECT_EQ(flagDuringRun, "1\r\nBAY\r\n");
    ASSERT_EQ(ui.Messages().size(), 1u);
    EXPECT_EQ(ui.Messages()[0].text, msg::kAlreadyRunning);
    EXPECT_EQ(Calc(), "0\r\n");
}

// A negative length counts as 0: an empty folder puts the input in the current folder.
TEST_F(SolverRun, NegativeTextLengthCountsAsZero) {
    const tools::CalCase s = SmallSpec();
    ASSERT_TRUE(AtomicWriteFile("REL.CAL", tools::MakeCalText(s, SmallDepth), nullptr));
    const std::string ignored = "ignored/", title = "REL";
    CalcRequest req = MakeRequest(ignored, title, folder, s);
    req.m_nFolderLen = -5;
    EXPECT_EQ(TYDSOLV(&req), 0);
    EXPECT_TRUE(FileExists("REL.KKA"));
    EXPECT_EQ(Calc(), "0\r\n");
}

// The frequency components of a column are solved in parallel; the results must not
// depend on the number of threads in any bit.
TEST_F(SolverRun, ResultsAreBitIdenticalForAnyThreadCount) {
    tools::CalCase s = SmallSpec();
    s.nx = 40;
    s.ny = 30;
    s.nd = 15;
    s.nf = 7;
    s.dumpSwitch = 0;
    s.theta0Deg = 20.0;
    auto depth = [](int i, int j) {
        const double x = i - 18.0, y = j - 12.0;
        const double h = 14.0 - 0.3 * i - 7.0 * std::exp(-(x * x + y * y) / 30.0);
        return (i > 30 && j > 22) ? -1.0 : h;  // a headland
    };
    ASSERT_TRUE(AtomicWriteFile(folder + "T.CAL", tools::MakeCalText(s, depth), nullptr));
    solv::SetThreadCountOverride(1);
    ASSERT_EQ(RunSolver(folder, "T", folder, s), 0);
    const std::string one = FileText(folder + "T.KKA");
    solv::SetThreadCountOverride(8);
    ASSERT_EQ(RunSolver(folder, "T", folder, s), 0);
    EXPECT_EQ(FileText(folder + "T.KKA"), one);
    EXPECT_EQ(CountLines(one, 54), s.nx * s.ny);
}

// Programs share the working folder's busy flag: a run holds its lock from start to
// end, and a run of another program in the same folder keeps this one out.
TEST_F(SolverRun, RunHoldsTheBusyFlagLockAndRespectsAnotherRuns) {
    const std::string lock = folder + "CALC.DAT.lock";
    bool heldDuringRun = false;
    solv::SetProgressObserver([&](int) { heldDuringRun = heldDuringRun || FileLock::IsHeld(lock); });
    ASSERT_EQ(WriteAndRun(folder, "BAY", SmallSpec(), SmallDepth, 1), 0);
    EXPECT_TRUE(heldDuringRun);
    EXPECT_FALSE(FileLock::IsHeld(lock)) << "released at the end";

    ASSERT_TRUE(AtomicWriteFile(folder + "CALC.DAT", std::string("1\r\nOTHER\r\n"), nullptr));
    DeleteFileSilently(folder + "BAY.KKA");
    ui.Clear();
    testsupport::LockHolder other(testsupport::FlockOn(lock));
    ASSERT_TRUE(other.Held());
    EXPECT_EQ(RunSolver(folder, "BAY", folder, SmallSpec()), 1);
    const auto messages = ui.Messages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, msg::kAlreadyRunning);
    EXPECT_EQ(Calc(), "1\r\nOTHER\r\n") << "the other run's flag is left alone";
    EXPECT_FALSE(FileExists(folder + "BAY.KKA"));
}

}  // namespace
}  // namespace wv::solvtest

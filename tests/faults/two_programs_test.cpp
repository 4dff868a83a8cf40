// Two programs on one "CALC.DAT": while one driver runs the solver (the solver's entry, or
// a batch job), it is held still mid-run (SIGSTOP), so that the second program's commands
// meet a run that is surely going on, whatever the machine's speed. The calculate command
// of another calculation, the batch program's Start and the results of the running one
// are refused with "現在【<title>】を計算中です", and the refusal changes nothing; once the
// run has ended, or was killed, they go.
#include "batch/batch_messages.h"
#include "calc/calc_messages.h"
#include "calc/calc_run_files.h"
#include "platform/files.h"
#include "tests/faults/fault_suite.h"
#include "tests/faults/prepared_calc.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <thread>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace wv::faultsuite {
namespace {

// Big enough that a run lasts a while; it is held still anyway.
constexpr double kRunningMesh = 25.0;
constexpr double kOtherMesh = 50.0;
// A run that does not mark itself busy within this has failed, not been slow.
constexpr double kBusyWaitSeconds = 120.0;

std::map<std::string, std::string> FilesOf(const PreparedCalc& c) {
    std::map<std::string, std::string> out;
    for (const char* ext : {"TYD", "DPT", "CAL", "DEC", "KKA", "YNO"})
        out[ext] = Exists(c.Side(ext)) ? ReadFile(c.Side(ext)) : std::string("(none)");
    return out;
}

// Whether the process is stopped now (state T in /proc).
bool IsStopped(pid_t pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    std::getline(stat, line);
    const auto close = line.rfind(')');
    return close != std::string::npos && close + 2 < line.size() && line[close + 2] == 'T';
}

// Holds the driver still once its solver runs: "CALC.DAT" shows the run and the result
// file is open (a batch claims the flag at Start, a moment before its marker and run).
// False when the run ended first (the caller tries again) or never marked itself busy.
bool StopWhenBusy(Driver& d, const PreparedCalc& c) {
    const std::string title = c.Title();
    if (!d.WaitForLine("begin")) return false;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(kBusyWaitSeconds);
    while (ReadFile(CalcDatPath()) != BusyFlag(title) || !Exists(c.Side("KKA"))) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    d.Signal(SIGSTOP);
    for (int i = 0; i < 10000 && !IsStopped(d.Pid()); ++i) std::this_thread::sleep_for(std::chrono::microseconds(100));
    // The run may have ended between the look and the stop.
    return IsStopped(d.Pid()) && ReadFile(CalcDatPath()) == BusyFlag(title);
}

std::string Refusal(const std::string& title) {
    return std::string(calcmsg::kRunningHead) + title + calcmsg::kRunningTail;
}

void Pass(bool batchHolds, bool killed) {
    const std::string what = std::string(batchHolds ? "a batch job" : "a solver run") +
                             (killed ? ", then killed" : ", then ended");
    PreparedCalc running, other;
    std::string err;
    // A batch job runs a calculation the batch-data command saved in state 1; its results
    // are found by the marker alone.
    ASSERT_TRUE(PreparedCalc::Prepare(running, "RUNNING", batchHolds ? "prepare-batch" : "prepare-run", kRunningMesh,
                                      &err))
        << err;
    ASSERT_TRUE(PreparedCalc::Prepare(other, "OTHER", "prepare-run", kOtherMesh, &err)) << err;
    // The other calculation's results wait to be loaded: a refusal must not lose them.
    WriteFile(other.Side("KKA"), other.CompleteResults());

    const std::vector<std::string> holder = batchHolds ? std::vector<std::string>{"batch", running.Side("DEC")}
                                                       : std::vector<std::string>{"run", running.Tyd()};
    std::unique_ptr<Driver> d;
    bool held = false;
    for (int attempt = 0; attempt < 5 && !held; ++attempt) {
        running.Restore();
        d = std::make_unique<Driver>(holder);
        held = StopWhenBusy(*d, running);
        if (!held) d.reset();
    }
    ASSERT_TRUE(held) << what << ": the run never showed in \"CALC.DAT\" while it went on";

    const std::map<std::string, std::string> runningFiles = FilesOf(running);
    const std::map<std::string, std::string> otherFiles = FilesOf(other);
    const std::string flag = ReadFile(CalcDatPath());

    const Finished calc = RunDriver({"calc", other.Tyd()});
    EXPECT_EQ(calc.Last("result "), "result refused") << what << "\n" << calc.Transcript();
    EXPECT_TRUE(AnyMessageHas(calc.Messages(), Refusal(running.Title()))) << what << "\n" << calc.Transcript();
    const Finished start = RunDriver({"batch", other.Side("DEC")});
    EXPECT_EQ(start.Last("result "), "result start-refused") << what << "\n" << start.Transcript();
    EXPECT_TRUE(AnyMessageHas(start.Messages(), Refusal(running.Title()))) << what << "\n" << start.Transcript();
    const Finished load = RunDriver({"load", running.Tyd()});
    EXPECT_TRUE(AnyMessageHas(load.Messages(), Refusal(running.Title()))) << what << "\n" << load.Transcript();

    // The refusals changed nothing: neither calculation's files nor the flag.
    for (const auto& [ext, bytes] : FilesOf(other)) EXPECT_TRUE(bytes == otherFiles.at(ext)) << what << ": OTHER." << ext;
    for (const auto& [ext, bytes] : FilesOf(running))
        EXPECT_TRUE(bytes == runningFiles.at(ext)) << what << ": RUNNING." << ext;
    EXPECT_TRUE(ReadFile(CalcDatPath()) == flag) << what;

    if (killed) {
        d->Signal(SIGKILL);
        d->Signal(SIGCONT);
        EXPECT_TRUE(d->Wait().killed) << what;
    } else {
        d->Signal(SIGCONT);
        const Finished ended = d->Wait();
        EXPECT_EQ(ended.exitCode, 0) << what << "\n" << ended.Transcript();
        EXPECT_TRUE(ReadFile(running.Side("KKA")) == running.CompleteResults()) << what;
    }

    // Now they go.
    const Finished loadAfter = RunDriver({"load", running.Tyd()});
    EXPECT_FALSE(AnyMessageHas(loadAfter.Messages(), calcmsg::kRunningHead)) << what << "\n" << loadAfter.Transcript();
    if (!killed) {
        EXPECT_EQ(loadAfter.Last("result "), "result 0 state 3") << what << "\n" << loadAfter.Transcript();
    }
    const Finished calcAfter = RunDriver({"calc", other.Tyd()});
    EXPECT_EQ(calcAfter.Last("result "), "result 0") << what << "\n" << calcAfter.Transcript();
    EXPECT_TRUE(ReadFile(other.Side("KKA")) == other.CompleteResults()) << what;
    const Finished startAfter = RunDriver({"batch", other.Side("DEC")});
    EXPECT_EQ(startAfter.exitCode, 0) << what << "\n" << startAfter.Transcript();
    EXPECT_TRUE(ReadFile(CalcDatPath()) == IdleFlag()) << what;
}

TEST(TwoPrograms, WhileASolverRunGoesTheOthersAreRefusedAndGoWhenItEnds) { Pass(false, false); }
TEST(TwoPrograms, WhileASolverRunGoesTheOthersAreRefusedAndGoWhenItIsKilled) { Pass(false, true); }
TEST(TwoPrograms, WhileABatchJobGoesTheOthersAreRefusedAndGoWhenItEnds) { Pass(true, false); }
TEST(TwoPrograms, WhileABatchJobGoesTheOthersAreRefusedAndGoWhenItIsKilled) { Pass(true, true); }


// Two programs that decide on a run at the same moment: each driver waits where its run
// is decided (the calculate command at its start question, the batch program before
// Start) until both are let go together. Exactly one runs; the other is told that it
// runs and has changed nothing: no entry aborted, no marker left, no result file lost.
constexpr int kTriesPerPair = 20;

struct Contender {
    const PreparedCalc* calc;
    bool batch;
};

std::vector<std::string> ArgsOf(const Contender& c) {
    return c.batch ? std::vector<std::string>{"batch", c.calc->Side("DEC")}
                   : std::vector<std::string>{"calc", c.calc->Tyd()};
}

bool Ran(const Contender& c, const Finished& f) {
    return c.batch ? f.Last("result ") == std::string("result ") + batchmsg::kStateFinished
                   : f.Last("result ") == "result 0";
}

bool WasRefused(const Contender& c, const Finished& f) {
    return f.Last("result ") == (c.batch ? "result start-refused" : "result refused");
}

bool AbortedAny(const Finished& f) {
    const std::string aborted = std::string(" ") + batchmsg::kStateAborted;
    for (const std::string& l : f.lines)
        if (l.compare(0, 4, "row ") == 0 && l.size() >= aborted.size() &&
            l.compare(l.size() - aborted.size(), aborted.size(), aborted) == 0)
            return true;
    return false;
}

TEST(TwoPrograms, StartedAtOnceOneRunsAndTheOtherIsRefusedBeforeItChangesAnything) {
    PreparedCalc batchA, batchB, calcA, calcB;
    std::string err;
    ASSERT_TRUE(PreparedCalc::Prepare(batchA, "BATCHA", "prepare-batch", kOtherMesh, &err)) << err;
    ASSERT_TRUE(PreparedCalc::Prepare(batchB, "BATCHB", "prepare-batch", kOtherMesh, &err)) << err;
    ASSERT_TRUE(PreparedCalc::Prepare(calcA, "CALCA", "prepare-run", kOtherMesh, &err)) << err;
    ASSERT_TRUE(PreparedCalc::Prepare(calcB, "CALCB", "prepare-run", kOtherMesh, &err)) << err;
    const std::pair<Contender, Contender> pairs[] = {
        {{&batchA, true}, {&batchB, true}},
        {{&batchA, true}, {&calcB, false}},
        {{&calcA, false}, {&calcB, false}},
    };
    int tries = 0, firstRan = 0, bad = 0;
    for (const auto& [first, second] : pairs) {
        for (int attempt = 0; attempt < kTriesPerPair; ++attempt) {
            const std::string what = ArgsOf(first)[0] + " and " + ArgsOf(second)[0] + ", try " + std::to_string(attempt + 1);
            for (const Contender* c : {&first, &second}) {
                c->calc->Restore();
                // A calculation's results wait to be loaded: a refusal must not lose them.
                if (!c->batch) WriteFile(c->calc->Side("KKA"), c->calc->CompleteResults());
            }
            const std::map<std::string, std::string> before[] = {FilesOf(*first.calc), FilesOf(*second.calc)};
            Driver a(ArgsOf(first), {"FAULT_DRIVER_WAIT=1"});
            Driver b(ArgsOf(second), {"FAULT_DRIVER_WAIT=1"});
            ASSERT_TRUE(a.WaitForLine("ready") && b.WaitForLine("ready")) << what;
            a.Go();
            b.Go();
            const Finished done[] = {a.Wait(), b.Wait()};
            const Contender* contenders[] = {&first, &second};
            const bool ran[] = {Ran(first, done[0]), Ran(second, done[1])};
            bool good = ran[0] != ran[1];
            EXPECT_TRUE(good) << what << ": exactly one runs\n" << done[0].Transcript() << done[1].Transcript();
            if (good) {
                const int w = ran[0] ? 0 : 1, l = 1 - w;
                const Contender& winner = *contenders[w];
                const Contender& loser = *contenders[l];
                const bool refused = WasRefused(loser, done[l]) &&
                                     AnyMessageHas(done[l].Messages(), Refusal(winner.calc->Title()));
                const bool unchanged = FilesOf(*loser.calc) == before[l];
                const bool whole = ReadFile(winner.calc->Side("KKA")) == winner.calc->CompleteResults();
                good = refused && unchanged && whole && !AbortedAny(done[l]) && !AbortedAny(done[w]);
                EXPECT_TRUE(refused) << what << "\n" << done[l].Transcript();
                EXPECT_TRUE(unchanged) << what << ": the refused one's files changed";
                EXPECT_TRUE(whole) << what << ": the run's results";
                EXPECT_FALSE(AbortedAny(done[l]) || AbortedAny(done[w])) << what;
                firstRan += w == 0;
            }
            ++tries;
            bad += !good;
            EXPECT_EQ(ReadFile(CalcDatPath()), IdleFlag()) << what;
        }
    }
    std::printf("[fault-suite] two programs started at once: %d tries, the first to start ran %d times; %d with both "
                "or neither run, or with the refused one's files changed\n",
                tries, firstRan, bad);
    EXPECT_EQ(bad, 0);
}

// A run whose busy flag cannot be written (the disk is full, the file is read-only) does
// not start: one message with the system's reason, and nothing of the run is left
// behind: no marker, no result file lost, no entry aborted, the flag as it was. The
// solver on its own says so once too.
TEST(TwoPrograms, ARunThatCannotWriteItsFlagDoesNotStart) {
    PreparedCalc batch, calc;
    std::string err;
    ASSERT_TRUE(PreparedCalc::Prepare(batch, "BATCH", "prepare-batch", kOtherMesh, &err)) << err;
    ASSERT_TRUE(PreparedCalc::Prepare(calc, "CALC", "prepare-run", kOtherMesh, &err)) << err;
    for (const bool readOnly : {false, true}) {
        for (const char* how : {"batch", "calc", "run"}) {
            const std::string what = std::string(how) + (readOnly ? ", read-only CALC.DAT" : ", disk full");
            const PreparedCalc& c = std::string(how) == "batch" ? batch : calc;
            c.Restore();
            if (std::string(how) == "calc") WriteFile(c.Side("KKA"), c.CompleteResults());
            const std::map<std::string, std::string> before = FilesOf(c);
            if (readOnly) {
                ASSERT_EQ(::chmod(CalcDatPath().c_str(), 0444), 0);
            }
            const std::vector<std::string> env =
                readOnly ? std::vector<std::string>{} : std::vector<std::string>{"WAVORA_TEST_FAULTS=write:1:ENOSPC:CALC.DAT"};
            const Finished f = RunDriver({how, std::string(how) == "batch" ? c.Side("DEC") : c.Tyd()}, env);
            if (readOnly) {
                ASSERT_EQ(::chmod(CalcDatPath().c_str(), 0644), 0);
            }
            int told = 0;
            for (const std::string& m : f.Messages()) told += m.find("CALC.DAT") != std::string::npos;
            EXPECT_EQ(told, 1) << what << "\n" << f.Transcript();
            EXPECT_TRUE(AnyMessageHas(f.Messages(), std::string(calcmsg::kCalcDatWriteFailed) + "\\n(" + CalcDatPath() + ": "))
                << what << "\n" << f.Transcript();
            EXPECT_NE(f.exitCode, 0) << what;
            EXPECT_FALSE(AbortedAny(f)) << what << "\n" << f.Transcript();
            if (std::string(how) != "run") {
                EXPECT_TRUE(FilesOf(c) == before) << what << ": the refused run's files changed";
            } else {
                EXPECT_FALSE(Exists(c.Side("KKA"))) << what;
            }
            EXPECT_EQ(ReadFile(CalcDatPath()), IdleFlag()) << what;
            EXPECT_TRUE(TempsOf(CalcDatPath()).empty()) << what;
        }
    }
}

// Two programs that only read an idle flag at the same time never take each other for a
// run.
TEST(TwoPrograms, ReadersNeverTakeEachOtherForARun) {
    SetStartFolder(Here());
    WriteFile(CalcDatPath(), IdleFlag());
    constexpr int kReads = 20000;
    int pipes[2][2];
    pid_t pids[2];
    for (int k = 0; k < 2; ++k) {
        ASSERT_EQ(::pipe(pipes[k]), 0);
        pids[k] = ::fork();
        if (pids[k] == 0) {
            int busy = 0;
            for (int i = 0; i < kReads; ++i) busy += ReadBusyFlag(nullptr) != wv::BusyFlag::Idle;
            (void)!::write(pipes[k][1], &busy, sizeof busy);
            ::_exit(0);
        }
        ::close(pipes[k][1]);
    }
    int falseBusy = 0;
    for (int k = 0; k < 2; ++k) {
        int busy = -1;
        EXPECT_EQ(::read(pipes[k][0], &busy, sizeof busy), static_cast<ssize_t>(sizeof busy));
        ::close(pipes[k][0]);
        ::waitpid(pids[k], nullptr, 0);
        falseBusy += busy;
    }
    std::printf("[fault-suite] two readers of an idle flag: %d reads, %d answered busy\n", 2 * kReads, falseBusy);
    EXPECT_EQ(falseBusy, 0);
}

}  // namespace
}  // namespace wv::faultsuite

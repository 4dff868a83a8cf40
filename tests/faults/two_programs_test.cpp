// Two programs on one "CALC.DAT": while one driver runs the solver (the solver's entry, or
// a batch job), it is held still mid-run (SIGSTOP), so that the second program's commands
// meet a run that is surely going on, whatever the machine's speed. The calculate command
// of another calculation, the batch program's Start and the results of the running one
// are refused with "現在【<title>】を計算中です", and the refusal changes nothing; once the
// run has ended, or was killed, they go.
#include "calc/calc_messages.h"
#include "platform/files.h"
#include "tests/faults/fault_suite.h"
#include "tests/faults/prepared_calc.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <thread>
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

// Holds the driver still once "CALC.DAT" shows its run. False when the run ended first
// (the caller tries again) or never marked itself busy.
bool StopWhenBusy(Driver& d, const std::string& title) {
    if (!d.WaitForLine("begin")) return false;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(kBusyWaitSeconds);
    while (ReadFile(CalcDatPath()) != BusyFlag(title)) {
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
        held = StopWhenBusy(*d, running.Title());
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

}  // namespace
}  // namespace wv::faultsuite

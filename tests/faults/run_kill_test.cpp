// Runs and batch jobs killed for real: the solver's entry on a calculation of the bay,
// and the batch program's queue with its marker, each killed with SIGKILL at seeded random
// moments and at every named moment of the file layer. After each kill the next programs
// take over: "CALC.DAT" is whole and reads idle to them (a flag no run holds is reset),
// a partial result file is refused with a message naming it and the document stays as it
// was, and the next run goes and gives the complete result file.
#include "calc/calc_messages.h"
#include "platform/files.h"
#include "tests/faults/fault_suite.h"
#include "tests/faults/prepared_calc.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace wv::faultsuite {
namespace {

constexpr double kMesh = 50.0;
constexpr int kRunKills = 40;
constexpr int kBatchKills = 40;
constexpr unsigned kRunSeed = 4203;
constexpr unsigned kBatchSeed = 4204;
const char* const kMoments[] = {"save.created", "save.written", "save.synced", "save.renamed"};

const char kBeforeMarker[] = "before the batch marker";
const char kBeforeBusy[] = "before the run marked busy";
const char kWriting[] = "while the results are written";
const char kCompleteBusy[] = "results complete, flag still busy";
const char kAfter[] = "after";

std::vector<std::string> RunWindows(bool batch) {
    std::vector<std::string> out;
    if (batch) out.push_back(kBeforeMarker);
    for (const char* w : {kBeforeBusy, kWriting, kCompleteBusy, kAfter}) out.push_back(w);
    return out;
}

// The moment a kill hit, read from what the run left.
std::string WindowOfRun(const PreparedCalc& c, const Finished& f, bool batch) {
    if (f.Has("end")) return kAfter;
    if (batch && !Exists(c.Side("YNO"))) return kBeforeMarker;
    const bool busy = ReadFile(CalcDatPath()).compare(0, 1, "1") == 0;
    const bool complete = ReadFile(c.Side("KKA")) == c.CompleteResults();
    if (!busy) return complete ? kAfter : (Exists(c.Side("KKA")) ? kWriting : kBeforeBusy);
    return complete ? kCompleteBusy : kWriting;
}

std::string Said(const Finished& f) { return f.Transcript(); }

// The results of the killed run asked for by the main program.
void CheckLoad(const PreparedCalc& c, bool batch, std::string& why) {
    const std::string kkaBefore = ReadFile(c.Side("KKA"));
    const bool hadKka = Exists(c.Side("KKA"));
    const bool complete = hadKka && kkaBefore == c.CompleteResults();
    const bool marker = Exists(c.Side("YNO"));
    const Finished load = RunDriver({"load", c.Tyd()});
    const std::vector<std::string> messages = load.Messages();
    const std::string result = load.Last("result ");
    const int preparedState = batch ? 1 : 2;
    if (AnyMessageHas(messages, calcmsg::kRunningHead))
        why += "the results of a run that is over were refused as still running\n" + Said(load);
    // Loaded: whole results of the run, found by the marker after a batch job.
    if (complete && (!batch || marker)) {
        if (result != "result 0 state 3") why += "complete results were not loaded\n" + Said(load);
        else if (Exists(c.Side("KKA")) || Exists(c.Side("YNO")))
            why += "the result file or the marker stayed after the results were saved\n";
        return;
    }
    if (result != "result -2 state " + std::to_string(preparedState))
        why += "the load did not stop where the results are not whole\n" + Said(load);
    if (!c.DocumentUnchanged()) why += "a refused load changed the calculation's files\n";
    if (ReadFile(c.Side("KKA")) != kkaBefore || Exists(c.Side("KKA")) != hadKka)
        why += "a refused load changed the result file\n";
    if (marker && !Exists(c.Side("YNO"))) why += "a refused load deleted the batch marker\n";
    if (hadKka && (!batch || marker)) {
        // A partial result file: refused, saying so and naming it.
        if (!AnyMessageHas(messages, calcmsg::kBadResultFile) ||
            !AnyMessageHas(messages, FileNameOf(c.Side("KKA"))))
            why += "the partial result file was not refused with a message naming it\n" + Said(load);
    } else if (batch && !marker) {
        if (!AnyMessageHas(messages, calcmsg::kNeedWaveCalc))
            why += "a calculation the batch never reached did not ask for its wave calculation\n" + Said(load);
    } else if (!messages.empty() && !AnyMessageHas(messages, calcmsg::kRunningHead)) {
        why += "no result file, yet a message\n" + Said(load);
    }
}

// The next run, as the user starts it: the calculate command, or the batch program's Start.
void CheckNextRun(const PreparedCalc& c, bool batch, std::string& why) {
    if (batch) c.Restore();
    else {
        Remove(c.Side("KKA"));
        Remove(c.Side("YNO"));
    }
    const Finished next = batch ? RunDriver({"batch", c.Side("DEC")}) : RunDriver({"calc", c.Tyd()});
    if (next.exitCode != 0) {
        why += "the next run did not go\n" + Said(next);
        return;
    }
    if (ReadFile(c.Side("KKA")) != c.CompleteResults()) why += "the next run's result file is not complete\n";
    if (ReadFile(CalcDatPath()) != IdleFlag()) why += "\"CALC.DAT\" is not idle after the next run\n";
    if (batch) {
        if (ReadFile(c.Side("YNO")) != "2\r\n") why += "the next batch job left no marker\n";
        const Finished load = RunDriver({"load", c.Tyd()});
        if (load.Last("result ") != "result 0 state 3") why += "the next batch job's results do not load\n" + Said(load);
    }
}

std::string CheckAfterKill(const PreparedCalc& c, bool batch) {
    std::string why;
    const std::string flag = ReadFile(CalcDatPath());
    if (flag != IdleFlag() && flag != BusyFlag(c.Title()))
        why += "\"CALC.DAT\" holds neither flag a run writes: \"" + flag + "\"\n";
    if (Exists(c.Side("YNO")) && ReadFile(c.Side("YNO")) != "2\r\n") why += "the batch marker is not whole\n";
    CheckLoad(c, batch, why);
    CheckNextRun(c, batch, why);
    for (const std::string& f : {CalcDatPath(), c.Side("KKA"), c.Side("YNO"), c.Side("TYD"), c.Side("DPT")})
        if (!TempsOf(f).empty()) why += "temporary files after the next run:\n" + TempList({f});
    return why;
}

std::vector<std::string> RunArgs(const PreparedCalc& c, bool batch) {
    return batch ? std::vector<std::string>{"batch", c.Side("DEC")} : std::vector<std::string>{"run", c.Tyd()};
}

void RandomKills(bool batch) {
    PreparedCalc c;
    std::string err;
    ASSERT_TRUE(PreparedCalc::Prepare(c, batch ? "BAYBATCH" : "BAYRUN", batch ? "prepare-batch" : "prepare-run", kMesh,
                                      &err))
        << err;
    Finished f;
    const double span = MeasureSpan(RunArgs(c, batch), &f);
    ASSERT_EQ(f.exitCode, 0) << f.Transcript();
    ASSERT_TRUE(ReadFile(c.Side("KKA")) == c.CompleteResults());

    Tally tally(std::string(batch ? "batch job" : "solver run") + ", random kills", RunWindows(batch));
    KillClock clock(batch ? kBatchSeed : kRunSeed, span);
    const int kills = batch ? kBatchKills : kRunKills;
    for (int k = 1; k <= kills; ++k) {
        c.Restore();
        pid_t pid = -1;
        const Finished killed = RunKilled(RunArgs(c, batch), clock.Next(), {}, &pid);
        const std::string window = WindowOfRun(c, killed, batch);
        const std::string why = CheckAfterKill(c, batch);
        tally.Add(window, why.empty());
        EXPECT_TRUE(why.empty()) << "kill " << k << " (" << window << "):\n" << why << killed.Transcript();
    }
    tally.Print("left anything the next program could not take up");
}

void NamedKills(bool batch) {
    PreparedCalc c;
    std::string err;
    ASSERT_TRUE(PreparedCalc::Prepare(c, batch ? "BAYBATCH" : "BAYRUN", batch ? "prepare-batch" : "prepare-run", kMesh,
                                      &err))
        << err;
    Tally tally(std::string(batch ? "batch job" : "solver run") + ", named kills", RunWindows(batch));
    for (const char* moment : kMoments) {
        for (int nth = 1; nth <= kMaxPasses; ++nth) {
            c.Restore();
            pid_t pid = -1;
            const Finished f = RunKilled(RunArgs(c, batch), std::nullopt, {KillAt(moment, nth)}, &pid);
            if (!f.killed) {
                EXPECT_EQ(f.exitCode, 0) << moment << ":" << nth << "\n" << f.Transcript();
                break;
            }
            const std::string window = WindowOfRun(c, f, batch);
            const std::string why = CheckAfterKill(c, batch);
            tally.Add(window, why.empty());
            EXPECT_TRUE(why.empty()) << moment << ":" << nth << " (" << window << "):\n" << why << f.Transcript();
        }
    }
    tally.Print("left anything the next program could not take up");
    EXPECT_GT(tally.Kills(), 0);
}

TEST(RunKills, AtRandomMomentsTheNextRunGoes) { RandomKills(false); }
TEST(RunKills, AtEveryNamedMomentTheNextRunGoes) { NamedKills(false); }
TEST(BatchKills, AtRandomMomentsTheNextBatchGoesAndNothingIsLost) { RandomKills(true); }
TEST(BatchKills, AtEveryNamedMomentTheNextBatchGoesAndNothingIsLost) { NamedKills(true); }

}  // namespace
}  // namespace wv::faultsuite

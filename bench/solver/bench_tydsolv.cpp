// Solver speed.
//
// BM_PlaneBeach: a whole solver run on a plane beach at the default discretisation (45
// direction bins, 7 frequency components, breaking on): reading the input, the march
// and the result file. Arguments: nodes each way, threads (0: all the machine has). The
// table of the notes (medians of three runs at 1, 2, 4 and 8 threads):
//   bench_tydsolv --benchmark_filter='PlaneBeach/(400|1000)/[1248]/'
//                 --benchmark_repetitions=3 --benchmark_report_aggregates_only=true
//
// BM_SpeedUp: eight threads over one on 1000 x 1000, from runs in turn (below).
//
// BM_SegmentSolve: one system of the march (45 bins by the given rows, a plane beach's
// coefficients) solved by a team of the given size, as the march hands the longest
// segments to teams. Arguments: rows, members.
#include "platform/files.h"
#include "solver/segment_solver.h"
#include "solver/solver_constants.h"
#include "solver/tydsolv.h"
#include "solver/worker_pool.h"
#include "tools/make_bay_cal/cal_writer.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

namespace {

std::string PrepareBeach(int n, int nf = 7) {
    namespace fs = std::filesystem;
    const std::string name = "wavora_bench_" + std::to_string(n) + (nf == 7 ? "" : "_" + std::to_string(nf));
    const std::string folder = (fs::temp_directory_path() / name).string() + "/";
    fs::create_directories(folder);
    const std::string cal = folder + "BEACH.CAL";
    if (!fs::exists(cal)) {
        wv::tools::CalCase s;
        s.nx = s.ny = n;
        s.dx = s.dy = 10.0;
        s.period = 8.0;
        s.height = 2.0;
        s.theta0Deg = 10.0;
        s.breaking = 1;
        s.nf = nf;
        // 20 m offshore to 0.5 m at the last column.
        wv::AtomicWriteFile(cal, wv::tools::MakeCalText(s, [n](int i, int) { return 20.0 - 19.5 * (i - 1) / (n - 1); }),
                            nullptr);
    }
    return folder;
}

// One whole run of the prepared beach on `threads` threads; false when it failed.
bool RunBeach(const std::string& folder, int n, int nf, int threads) {
    setenv("WAVORA_THREADS", std::to_string(threads).c_str(), 1);
    const std::string title = "BEACH";
    CalcRequest req{};
    req.m_pszFolder = folder.c_str();
    req.m_nFolderLen = static_cast<int32_t>(folder.size());
    req.m_pszTitle = title.c_str();
    req.m_nTitleLen = static_cast<int32_t>(title.size());
    req.m_pszWorkDir = folder.c_str();
    req.m_nWorkDirLen = static_cast<int32_t>(folder.size());
    req.m_nDirDiv = 45;
    req.m_nFreqDiv = nf;
    req.m_nMeshX = n;
    req.m_nMeshY = n;
    req.m_nMode = 1;
    return TYDSOLV(&req) == 0;
}

int ThreadsArg(std::int64_t arg) {
    return arg > 0 ? static_cast<int>(arg) : static_cast<int>(std::thread::hardware_concurrency());
}

void BM_PlaneBeach(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    const int threads = ThreadsArg(state.range(1));
    const int nf = state.range(2) > 0 ? static_cast<int>(state.range(2)) : 7;
    const std::string folder = PrepareBeach(n, nf);
    for (auto _ : state) {
        if (!RunBeach(folder, n, nf, threads)) state.SkipWithError("the run failed");
    }
    state.counters["threads"] = threads;
    state.counters["nodes"] = static_cast<double>(n) * n;
    state.counters["components"] = nf;
}

// <nodes>/<threads>/<components>: the defaults' seven components, and two, where most
// threads of a column have no job of their own and join teams.
BENCHMARK(BM_PlaneBeach)
    ->ArgsProduct({{400, 1000}, {1, 2, 4, 8, 0}, {7}})
    ->ArgsProduct({{1000}, {1, 8}, {2}})
    ->Unit(benchmark::kSecond)
    ->Iterations(1)
    ->UseRealTime();

// BM_SpeedUp: the speed-up of `threads` threads over one on the plane beach at the
// defaults, from runs taken in turn (one thread, then all, `rounds` times), so that both
// medians see the host in the same minutes; also the ratio of the fastest runs of each.
// Arguments: nodes each way, threads, rounds.
void BM_SpeedUp(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    const int threads = ThreadsArg(state.range(1));
    const int rounds = static_cast<int>(std::max<std::int64_t>(1, state.range(2)));
    const std::string folder = PrepareBeach(n);
    std::vector<double> one, all;
    auto timed = [&](int count, std::vector<double>& into) {
        const auto start = std::chrono::steady_clock::now();
        if (!RunBeach(folder, n, 7, count)) return false;
        into.push_back(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        return true;
    };
    bool failed = false;
    for (auto _ : state) {
        for (int r = 0; r < rounds && !failed; ++r) failed = !timed(1, one) || !timed(threads, all);
        if (failed) {
            state.SkipWithError("the run failed");
            break;
        }
    }
    if (failed) return;
    auto median = [](std::vector<double> v) {
        std::sort(v.begin(), v.end());
        const std::size_t h = v.size() / 2;
        return v.size() % 2 ? v[h] : 0.5 * (v[h - 1] + v[h]);
    };
    state.counters["one_thread_s"] = median(one);
    state.counters["threads_s"] = median(all);
    state.counters["speedup"] = median(one) / median(all);
    // The fastest of each: the host's best minutes for either.
    const double bestOne = *std::min_element(one.begin(), one.end());
    const double bestAll = *std::min_element(all.begin(), all.end());
    state.counters["best_speedup"] = bestOne / bestAll;
    state.counters["threads"] = threads;
}

BENCHMARK(BM_SpeedUp)->Args({1000, 8, 3})->Unit(benchmark::kSecond)->Iterations(1)->UseRealTime();

// The system of one column of the plane beach at 8 m depth for an 8 s component: the
// coefficients the march builds there, without refraction (depth uniform along y).
void FillBeachSystem(wv::solv::SegmentSystem& sys, int member, int members) {
    const int nd = sys.Bins();
    const int rows = sys.Rows();
    int ma, mb;
    wv::solv::MemberBins(nd, members, member, ma, mb);
    const double cg = 7.0, dx = 10.0, dy = 10.0, binWidth = wv::solv::kPi / nd;
    for (int m = ma; m <= mb; ++m) {
        const double theta = (m - 0.5) * binWidth - wv::solv::kHalfPlane;
        const double s = std::sin(theta), c = std::cos(theta);
        for (int j = 1; j <= rows; ++j) {
            const std::size_t i = sys.At(m, j);
            const bool northward = s >= 0.0;
            sys.south[i] = northward && j > 1 ? -s * cg / dy : 0.0;
            sys.north[i] = !northward && j < rows ? s * cg / dy : 0.0;
            sys.low[i] = m > 1 ? -0.01 : 0.0;
            sys.high[i] = m < nd ? -0.012 : 0.0;
            sys.diag[i] = cg * c / dx + std::fabs(s) * cg / dy + 0.03;
            sys.b[i] = cg * c * 0.01 * std::exp(-0.5 * theta * theta) / dx;
        }
    }
}

void BM_SegmentSolve(benchmark::State& state) {
    const int rows = static_cast<int>(state.range(0));
    const int members = static_cast<int>(state.range(1));
    wv::solv::WorkerPool pool(members);
    wv::solv::SegmentSystem sys;
    sys.Reserve(45, rows, members);
    sys.Shape(rows, members);
    wv::solv::SegmentTeam team;
    team.Reserve(members, 45);
    int iterations = 0;
    for (auto _ : state) {
        team.Start(members);
        pool.RunTeam(members, [&](int member) {
            FillBeachSystem(sys, member, members);
            const wv::solv::SolveOutcome out = wv::solv::SolveSegment(
                sys, team, member, wv::solv::kSolverTolerance, wv::solv::kSolverIterations, wv::solv::kSolverAlpha);
            if (member == 0) iterations = out.iterations;
        });
    }
    state.counters["members"] = members;
    state.counters["iterations"] = iterations;
}

BENCHMARK(BM_SegmentSolve)->ArgsProduct({{400, 1000}, {1, 2, 4, 8}})->Unit(benchmark::kMicrosecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();

// A whole solver run on a plane beach at the default discretisation (45 direction bins,
// 7 frequency components, breaking on): reading the input, the march and the result
// file. Arguments: nodes each way, threads (0: all the machine has).
//   bench_tydsolv --benchmark_filter=PlaneBeach/1000
#include "platform/files.h"
#include "solver/tydsolv.h"
#include "tools/make_bay_cal/cal_writer.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>

namespace {

std::string PrepareBeach(int n) {
    namespace fs = std::filesystem;
    const std::string folder = (fs::temp_directory_path() / ("wavora_bench_" + std::to_string(n))).string() + "/";
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
        // 20 m offshore to 0.5 m at the last column.
        wv::AtomicWriteFile(cal, wv::tools::MakeCalText(s, [n](int i, int) { return 20.0 - 19.5 * (i - 1) / (n - 1); }),
                            nullptr);
    }
    return folder;
}

void BM_PlaneBeach(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    const int threads = state.range(1) > 0 ? static_cast<int>(state.range(1))
                                           : static_cast<int>(std::thread::hardware_concurrency());
    const std::string folder = PrepareBeach(n);
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
    req.m_nFreqDiv = 7;
    req.m_nMeshX = n;
    req.m_nMeshY = n;
    req.m_nMode = 1;
    for (auto _ : state) {
        if (TYDSOLV(&req) != 0) state.SkipWithError("the run failed");
    }
    state.counters["threads"] = threads;
    state.counters["nodes"] = static_cast<double>(n) * n;
}

BENCHMARK(BM_PlaneBeach)
    ->Args({400, 1})
    ->Args({400, 0})
    ->Args({1000, 1})
    ->Args({1000, 0})
    ->Unit(benchmark::kSecond)
    ->Iterations(1)
    ->UseRealTime();

}  // namespace

BENCHMARK_MAIN();

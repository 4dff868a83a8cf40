// Cost of the depth calculation on a large project (100,000 survey points, 50,000
// terrain and depth lines, a coastline block of 20,000 segments) over a 1000 x 1000 mesh,
// straightforward and fast, on 1 and 8 threads.
//
//   bench_depth_mesh --benchmark_filter='DepthMesh/1/8/1000'
//
// Arguments: method (0 straightforward, 1 fast), threads, nodes per side (the mesh
// always spans the same 10 km). Counters: peak resident memory of the process so far
// (run one case per process to read it per case) and a hash of the mesh, outlines and
// triangles, equal for all methods and thread counts.

#include "bench_project.h"

#include "calc/calc_doc_data.h"
#include "calc/depth_mesh.h"
#include "core/calc_progress.h"

#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <cstdint>
#include <cstring>
#include <memory>

namespace {

using namespace wv;

class BenchDoc : public CTydDocData {
public:
    void Serialize(CArchive&) override {}
};

const bench::BenchProject& Project() {
    static const bench::BenchProject project = [] {
        bench::BenchProject p;
        bench::GenerateBenchProject(p);
        return p;
    }();
    return project;
}

std::uint64_t Fnv(std::uint64_t h, const void* data, std::size_t n) {
    const auto* b = static_cast<const unsigned char*>(data);
    for (std::size_t i = 0; i < n; ++i) h = (h ^ b[i]) * 1099511628211ULL;
    return h;
}

std::uint64_t HashResult(const CTydDocData& doc) {
    std::uint64_t h = 1469598103934665603ULL;
    const CDigitalMap& m = doc.m_mesh;
    for (int r = 0; r < m.GetMeshCountY(); ++r)
        for (int c = 0; c < m.GetMeshCountX(); ++c) {
            const int i = m.GetNodeIndex(r, c);
            h = Fnv(h, &i, sizeof i);
            if (i >= 0) {
                const float d = m.GetAt(i).GetDepth();
                h = Fnv(h, &d, sizeof d);
            }
        }
    for (int b = 0; b < doc.m_blkXY.GetCount(); ++b)
        h = Fnv(h, doc.m_blkXY.GetPoints(b), sizeof(CPointD) * doc.m_blkXY.GetPointCount(b));
    h = Fnv(h, doc.m_pTriNodeB.data(), sizeof(int) * doc.m_pTriNodeB.size());
    return h;
}

double PeakMegabytes() {
    rusage u;
    getrusage(RUSAGE_SELF, &u);
    return u.ru_maxrss / 1024.0;  // kilobytes on Linux
}

void BM_DepthMesh(benchmark::State& state) {
    const bench::BenchProject& p = Project();
    // A quiet progress window: the benchmark measures the calculation, not a terminal.
    SetCalcProgressFactory([] { return std::make_unique<CTestCalcProgressDlg>(); });

    DepthMeshOptions options;
    options.method = state.range(0) ? DepthMeshOptions::Method::Fast : DepthMeshOptions::Method::Straightforward;
    options.threads = static_cast<int>(state.range(1));
    const int nodes = static_cast<int>(state.range(2));

    std::uint64_t hash = 0;
    int result = 0, sea = 0;
    for (auto _ : state) {
        BenchDoc doc;
        doc.m_calcArea.SetOrigin(p.x0, p.y0);
        doc.m_calcArea.SetMeshSize(p.extent / (nodes - 1));
        doc.m_calcArea.SetMeshCountX(nodes);
        doc.m_calcArea.SetMeshCountY(nodes);
        CTydViewData view(doc);
        CalcViewFrame frame;
        frame.angle = p.angle;
        frame.scale = 1.0;
        frame.originX = p.x0 + 0.5 * p.extent;
        frame.originY = p.y0 + 0.5 * p.extent;
        result = CalcMeshDepth(view, frame, options);
        state.PauseTiming();
        hash = HashResult(doc);
        sea = doc.m_mesh.GetCount();
        state.ResumeTiming();
    }
    state.counters["result"] = result;
    state.counters["sea_nodes"] = sea;
    state.counters["hash"] = static_cast<double>(hash % 1000000007ULL);
    state.counters["peak_MB"] = PeakMegabytes();
    SetCalcProgressFactory(nullptr);
}

BENCHMARK(BM_DepthMesh)
    ->ArgNames({"fast", "threads", "nodes"})
    ->Args({1, 8, 1000})
    ->Args({1, 1, 1000})
    ->Args({0, 1, 1000})
    ->Args({1, 8, 250})
    ->Args({1, 1, 250})
    ->Args({0, 1, 250})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->UseRealTime();

}  // namespace

BENCHMARK_MAIN();

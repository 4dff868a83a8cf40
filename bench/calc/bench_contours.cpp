// Cost of the contour tracing on a 1000 x 1000 mesh (a sloping bed with shoals and a few
// islands, height ratios from a smooth formula), triangulated as the program does: 50
// depth levels and 50 result levels, straightforward and fast, on 1 and 8 threads.
//
//   bench_contours --benchmark_filter='Contours/fast:1/threads:8'
//
// Counters: the time of the depth run and of the result run, the polylines and points
// made, and a hash of everything traced, equal for every method and thread count.
#include "calc/calc_doc_data.h"
#include "calc/contour_levels.h"
#include "calc/contour_run.h"
#include "calc/mesh_triangles.h"
#include "calc/parallel.h"
#include "core/calc_progress.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <memory>

namespace {

using namespace wv;

class BenchDoc : public CTydDocData {
public:
    void Serialize(CArchive&) override {}
};

constexpr int kNodes = 1000;
constexpr double kSpacing = 10.0;
constexpr int kLevels = 50;

double Depth(double x, double y) {
    // A bed sloping offshore (y up) with a few shoals; the tallest break the surface.
    double d = 1.0 + 0.004 * y + 3.0 * std::sin(x / 700.0);
    const double shoals[][4] = {{2500, 3000, 600, 14}, {7000, 5500, 900, 26}, {4200, 8000, 500, 35},
                                {8200, 1500, 400, 6},  {1200, 7200, 700, 24}};
    for (const auto& s : shoals) {
        const double r2 = ((x - s[0]) * (x - s[0]) + (y - s[1]) * (y - s[1])) / (s[2] * s[2]);
        d -= s[3] * std::exp(-r2);
    }
    return d;
}

double Ratio(double x, double y, double depth) {
    // Shoaling near the shore, refraction patches over the shoals.
    return 0.55 + 0.35 * std::exp(-depth / 12.0) + 0.12 * std::sin(x / 410.0) * std::cos(y / 530.0) +
           0.05 * std::sin((x + y) / 170.0);
}

BenchDoc& Doc() {
    static BenchDoc* doc = [] {
        SetCalcProgressFactory([] { return std::make_unique<CTestCalcProgressDlg>(); });
        auto* d = new BenchDoc();
        CDigitalMap& m = d->m_mesh;
        std::vector<double> depth(static_cast<std::size_t>(kNodes) * kNodes);
        int sea = 0;
        for (int r = 0; r < kNodes; ++r)
            for (int c = 0; c < kNodes; ++c) {
                depth[static_cast<std::size_t>(r) * kNodes + c] = Depth(c * kSpacing, r * kSpacing);
                sea += depth[static_cast<std::size_t>(r) * kNodes + c] >= 0.0001 ? 1 : 0;
            }
        m.SetCount(sea);
        m.SetMeshCountX(kNodes);
        m.SetMeshCountY(kNodes);
        m.SetMeshSize(kSpacing);
        m.AllocValues();
        m.AllocNodeIndex();
        int next = 0;
        for (int r = 0; r < kNodes; ++r)
            for (int c = 0; c < kNodes; ++c) {
                const double dp = depth[static_cast<std::size_t>(r) * kNodes + c];
                if (dp < 0.0001) continue;
                CCalValue v;
                v.SetPos(static_cast<float>(c * kSpacing), static_cast<float>(r * kSpacing));
                v.SetDepth(static_cast<float>(dp));
                const float ratio = static_cast<float>(Ratio(c * kSpacing, r * kSpacing, dp));
                v.SetHeightRatio(ratio);
                v.SetEquivRatio(ratio);
                m.SetAt(next, v);
                m.SetNodeIndex(r, c, next++);
            }
        m.SetWaveHeight(2.0);
        m.CalcDepthRange();
        m.CalcResultRange();
        d->m_calcArea.SetMeshSize(kSpacing);
        CTydViewData view(*d);
        ParallelRunner runner(8);
        if (BuildMeshTriangles(view, 0, &runner) != 0) std::abort();
        // Per-triangle result ranges, as the result loader leaves them.
        for (int k = 0; k < 2; ++k) {
            d->m_pTriMinValue[k].resize(d->m_nTriNodes);
            d->m_pTriMaxValue[k].resize(d->m_nTriNodes);
        }
        for (int t = 0; t < d->m_nTriNodes; ++t) {
            float lo = 1e30f, hi = -1e30f;
            for (int u = 0; u < 3; ++u) {
                const float r = m.GetAt(d->m_pTriNodeB[3 * t + u]).GetHeightRatio();
                lo = std::min(lo, r);
                hi = std::max(hi, r);
            }
            for (int k = 0; k < 2; ++k) {
                d->m_pTriMinValue[k][t] = lo;
                d->m_pTriMaxValue[k][t] = hi;
            }
        }
        // 50 levels spread over each figure's range.
        auto spread = [](CContPara& p, double lo, double hi) {
            const double step = (hi - lo) / (kLevels + 1);
            p.SetFrom(lo + step);
            p.SetTo(lo + kLevels * step + 0.5 * step);
            p.SetInterval(step);
        };
        spread(d->m_contPara, d->m_hcheckLines.GetMinDepth(), d->m_hcheckLines.GetMaxDepth());
        spread(d->m_contParaFig[0], m.GetMinValue(0), m.GetMaxValue(0));
        std::fprintf(stderr, "mesh: %d sea nodes, %d triangles; levels: depth %zu, result %zu\n", sea,
                     d->m_nTriNodes,
                     BuildContourLevels(d->m_contPara, d->m_hcheckLines.GetMinDepth(), d->m_hcheckLines.GetMaxDepth())
                         .levels.size(),
                     BuildContourLevels(d->m_contParaFig[0], m.GetMinValue(0), m.GetMaxValue(0)).levels.size());
        return d;
    }();
    return *doc;
}

std::uint64_t Fnv(std::uint64_t h, const void* data, std::size_t n) {
    const auto* b = static_cast<const unsigned char*>(data);
    for (std::size_t i = 0; i < n; ++i) h = (h ^ b[i]) * 1099511628211ULL;
    return h;
}

std::uint64_t Hash(const CTydDocData& d, long long& points) {
    std::uint64_t h = 1469598103934665603ULL;
    for (int i = 0; i < d.m_hcheckPoints.GetCount(); ++i) {
        const CPointF p = d.m_hcheckPoints.GetPoint(i);
        const float v = d.m_hcheckPoints.GetValue(i);
        h = Fnv(Fnv(h, &p, sizeof p), &v, sizeof v);
    }
    for (int i = 0; i < d.m_hcheckLines.GetCount(); ++i) {
        const int s[2] = {d.m_hcheckLines.GetStart(i), d.m_hcheckLines.GetEnd(i)};
        h = Fnv(h, s, sizeof s);
    }
    points = 0;
    for (int i = 0; i < d.m_contGroup.GetCount(); ++i) {
        const double level = d.m_contGroup.GetLevel(i);
        h = Fnv(h, &level, sizeof level);
        for (int j = 0; j < d.m_contGroup.GetPointCount(i); ++j) {
            const CPointF p = d.m_contGroup.GetPoint(i, j).m_point;
            h = Fnv(h, &p, sizeof p);
        }
        points += d.m_contGroup.GetPointCount(i);
    }
    return h;
}

void BM_Contours(benchmark::State& state) {
    BenchDoc& doc = Doc();
    SetCalcProgressFactory([] { return std::make_unique<CTestCalcProgressDlg>(); });
    ContourOptions options;
    options.method = state.range(0) ? ContourOptions::Method::Fast : ContourOptions::Method::Straightforward;
    options.threads = static_cast<int>(state.range(1));
    CTydViewData view(doc);
    double depthMs = 0, resultMs = 0;
    int result = 0;
    for (auto _ : state) {
        const auto t0 = std::chrono::steady_clock::now();
        result += MakeDepthContours(view, options);
        const auto t1 = std::chrono::steady_clock::now();
        result += MakeResultContours(view, 0, options);
        const auto t2 = std::chrono::steady_clock::now();
        depthMs = std::chrono::duration<double, std::milli>(t1 - t0).count();
        resultMs = std::chrono::duration<double, std::milli>(t2 - t1).count();
    }
    long long points = 0;
    const std::uint64_t hash = Hash(doc, points);
    state.counters["result"] = result;
    state.counters["depth_ms"] = depthMs;
    state.counters["result_ms"] = resultMs;
    state.counters["segments"] = doc.m_hcheckLines.GetCount();
    state.counters["polylines"] = doc.m_contGroup.GetCount();
    state.counters["points"] = static_cast<double>(points);
    state.counters["hash"] = static_cast<double>(hash % 1000000007ULL);
    SetCalcProgressFactory(nullptr);
}

BENCHMARK(BM_Contours)
    ->ArgNames({"fast", "threads"})
    ->Args({1, 8})
    ->Args({1, 1})
    ->Args({0, 1})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->UseRealTime();

}  // namespace

BENCHMARK_MAIN();

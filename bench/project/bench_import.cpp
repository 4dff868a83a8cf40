// Cost of a large 2D DXF import: a drawing of 200,000 LINE segments (depth lines on a
// 0.5 m grid of wavy contours, so that neighbouring segments share ends) into a project
// that already has 100,000 survey points. Parsing, counting, reading and merging are
// all timed; the merge is the block-indexed one the importers use (Arg 1) or the flat
// reference (Arg 0, quadratic: run it on smaller drawings only).
//
//   bench_import --benchmark_filter='DxfImport/1'

#include "core/line.h"
#include "core/sokuten.h"
#include "platform/text.h"
#include "project/dxf_import.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <string>

namespace {

using namespace wv;

std::string MakeDrawing(int segments) {
    std::string s = "0\nSECTION\n2\nTABLES\n0\nTABLE\n2\nLAYER\n70\n2\n0\nLAYER\n2\nH5\n0\nLAYER\n2\nT0\n"
                    "0\nENDTAB\n0\nENDSEC\n0\nSECTION\n2\nENTITIES\n";
    const int perRow = 1000;
    for (int i = 0; i < segments; ++i) {
        const int row = i / perRow;
        const int col = i % perRow;
        auto y = [&](int c) { return row * 7.3 + 2.0 * std::sin(c * 0.05 + row); };
        s += Sprintf("0\nLINE\n8\n%s\n10\n%.3f\n20\n%.3f\n11\n%.3f\n21\n%.3f\n", row % 2 ? "H5" : "T0",
                     col * 0.5, y(col), (col + 1) * 0.5, y(col + 1));
    }
    s += "0\nENDSEC\n0\nEOF\n";
    return s;
}

// 100,000 survey points scattered over the drawing's area (a fixed sequence).
void AddExisting(CSokuten& points) {
    std::uint32_t state = 12345;
    auto next = [&] {
        state = state * 1664525u + 1013904223u;
        return (state >> 8) / 16777216.0;
    };
    for (int i = 0; i < 100000; ++i) {
        points.Add(std::round(next() * 500000.0) / 1000.0, std::round(next() * 1460000.0) / 1000.0, 0);
    }
}

void DxfImport(benchmark::State& state) {
    const bool fast = state.range(0) == 1;
    const int segments = static_cast<int>(state.range(1));
    const std::string text = MakeDrawing(segments);
    CSokuten base;
    AddExisting(base);
    int added = 0;
    for (auto _ : state) {
        state.PauseTiming();
        CSokuten points = base;
        CLine lines;
        state.ResumeTiming();
        std::string error;
        const auto file = DxfFile::Parse(text, "bench.dxf", error);
        const std::vector<DxfLayer> layers = ReadDxfLayers(*file);
        const int s = CountDxfSegments(*file, DxfMode::Plane);
        const ImportGeometry g = ReadDxfGeometry(*file, DxfMode::Plane, layers, {}, s);
        const MergeResult r = fast ? MergeImport(points, lines, g, true)
                                   : MergeImportReference(points, lines, g, true);
        added = r.pointsAdded;
        benchmark::DoNotOptimize(r);
    }
    state.counters["points_added"] = added;
}

}  // namespace

BENCHMARK(DxfImport)->Args({1, 200000})->Args({0, 20000})->Args({1, 20000})->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();

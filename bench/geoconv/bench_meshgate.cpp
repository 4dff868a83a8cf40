// Cost of the plane-coordinate conversion: a bathymetry import converts every record,
// so one million conversions is a large file.

#include "geoconv/meshgate.h"

#include <benchmark/benchmark.h>

#include <vector>

namespace {

constexpr int kConversions = 1000000;

struct Position {
    double latitude;
    double longitude;
};

// Positions spread over zone 9 (Tokyo Bay and around), degrees.
std::vector<Position> MakePositions()
{
    std::vector<Position> p;
    p.reserve(kConversions);
    for (int i = 0; i < kConversions; ++i) {
        p.push_back({34.5 + (i % 1000) * 0.0025, 139.0 + (i / 1000) * 0.0015});
    }
    return p;
}

void BM_MeshgateMillion(benchmark::State& state)
{
    const std::vector<Position> positions = MakePositions();
    const int ellipsoid = static_cast<int>(state.range(0));
    for (auto _ : state) {
        double sum = 0.0;
        for (const Position& p : positions) {
            double x = 0.0;
            double y = 0.0;
            Meshgate(ellipsoid, 9, p.latitude, p.longitude, &x, &y);
            sum += x + y;
        }
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * kConversions);
}
BENCHMARK(BM_MeshgateMillion)->Arg(MESHGATE_GRS80)->Arg(MESHGATE_BESSEL)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();

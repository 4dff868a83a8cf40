// The viewer on a large bathymetry file: one million records opened, fitted and drawn
// into a 1000 x 700 window image, and a zoom that draws them again; the two outputs of
// an area over a quarter of the data for comparison.

#include "platform/files.h"
#include "platform/qt/qt_dc.h"
#include "platform/text.h"
#include "viewer/area_qsona_writer.h"
#include "viewer/dxf3d_writer.h"
#include "viewer/record_painter.h"
#include "viewer/reliefscope_doc.h"
#include "viewer/view_geometry.h"

#include <benchmark/benchmark.h>

#include <QImage>

#include <cmath>

namespace {

constexpr int kRecords = 1000000;
constexpr int kPointsPerLine = 250;
const char* const kFile = "bench_reliefscope_1M.qsona";

// Depth lines of 250 points wandering over one degree square, with a coastline type
// every tenth line; point and line numbers as a writer would give them.
void MakeFile()
{
    if (wv::FileSize(kFile) > 0) {
        return;
    }
    std::string text;
    text.reserve(static_cast<std::size_t>(kRecords) * 62);
    int point = 0;
    for (int i = 0; i < kRecords; ++i) {
        const int line = i / kPointsPerLine;
        const int k = i % kPointsPerLine;
        const char type = line % 10 == 0 ? 'L' : 'N';
        point = point % 99999 + 1;
        const double lat = 34.5 + (line % 400) * 0.0025 + 0.001 * std::sin(k * 0.1 + line);
        const double lon = 139.0 + (line / 400) * 0.04 + k * 0.00016;
        text += wv::Sprintf("%c    %05d%7.1f%9.5f%10.5f           M  %8d 1\r\n", type, point, 5.0 + line % 30, lat, lon,
                            line + 1);
    }
    std::string err;
    wv::AtomicWriteFile(kFile, text, &err);
}

void BM_OpenFitPaint(benchmark::State& state)
{
    MakeFile();
    QImage image(1000, 700, QImage::Format_RGB32);
    for (auto _ : state) {
        wv::CReliefscopeDoc doc;
        doc.OnOpenDocument(kFile);
        wv::ReliefscopeGeometry geo;
        geo.SetDataBox(doc.DataBox());
        geo.SetClientSize(image.width(), image.height());
        geo.Fit();
        wv::CQtDC dc(&image);
        wv::RenderView(dc, doc, geo);
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(BM_OpenFitPaint)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_ZoomRepaint(benchmark::State& state)
{
    MakeFile();
    wv::CReliefscopeDoc doc;
    doc.OnOpenDocument(kFile);
    wv::ReliefscopeGeometry geo;
    geo.SetDataBox(doc.DataBox());
    QImage image(1000, 700, QImage::Format_RGB32);
    geo.SetClientSize(image.width(), image.height());
    geo.Fit();
    for (auto _ : state) {
        geo.ZoomAtClientPoint(500, 350, 1.2);
        wv::CQtDC dc(&image);
        wv::RenderView(dc, doc, geo);
        benchmark::DoNotOptimize(image.constBits());
        state.PauseTiming();
        geo.Fit();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_ZoomRepaint)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_AreaOutputs(benchmark::State& state)
{
    MakeFile();
    wv::CReliefscopeDoc doc;
    doc.OnOpenDocument(kFile);
    const wv::GeoBox& b = doc.DataBox();
    doc.SetArea({b.latMin, b.lonMin, b.latMin + b.LatSpan() / 2, b.lonMin + b.LonSpan() / 2});
    for (auto _ : state) {
        const std::string text = state.range(0) == 0 ? wv::BuildAreaQsona(doc)
                                                     : wv::BuildDxf3d(doc, 1, 9, wv::DxfUnit::Metres);
        benchmark::DoNotOptimize(text.data());
    }
}
BENCHMARK(BM_AreaOutputs)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(2);

}  // namespace

BENCHMARK_MAIN();

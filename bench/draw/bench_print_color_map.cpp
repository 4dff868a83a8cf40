// Cost of printing the colour map of a 1000 x 1000 mesh on an A0 sheet to a PDF file
// (high resolution), with a round island of land cut into it so that coast cells print
// their triangles. The mesh of 10 m at 1:12500 fills most of the 1169 x 811 mm frame
// (0.8 mm a cell, one square per cell).
//
//   QT_QPA_PLATFORM=offscreen bench_print_color_map
//
// Counters: the size of the PDF in bytes and the cells of the mesh.

#include "draw/qt/figure_printer.h"
#include "platform/files.h"

#include <QGuiApplication>
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdlib>
#include <string>

namespace {

using namespace wv;

class BenchDoc : public CTydDocData {
public:
    void Serialize(CArchive&) override {}
};

constexpr int kNodes = 1000;

void MakeDocument(BenchDoc& doc) {
    CZmn_Inf& z = doc.m_zmn;
    z.m_nPaperSize = 0;  // A0 landscape, 10 mm margins
    z.m_nPaperOrient = 0;
    z.m_nFrameWidth = 1169;
    z.m_nFrameHeight = 811;
    z.m_nScale = 12500;
    z.m_dCenterX = 5000.0;
    z.m_dCenterY = 5000.0;
    z.m_nValueType = 1;
    z.m_bColorContour = 1;
    z.m_bFillLand = 1;
    z.m_nLandColor = 5;  // magenta: not on the ramp, so the coast shows
    doc.m_calcArea.SetOrigin(0.0, 0.0);
    CDigitalMap& m = doc.m_mesh;
    m.SetMeshCountX(kNodes);
    m.SetMeshCountY(kNodes);
    m.SetMeshSize(10.0);
    m.AllocNodeIndex();
    auto land = [](int r, int c) { return std::hypot(r - 600.0, c - 400.0) < 120.0; };
    int count = 0;
    for (int r = 0; r < kNodes; ++r)
        for (int c = 0; c < kNodes; ++c)
            if (!land(r, c)) ++count;
    m.SetCount(count);
    m.AllocValues();
    int n = 0;
    for (int r = 0; r < kNodes; ++r)
        for (int c = 0; c < kNodes; ++c) {
            if (land(r, c)) continue;
            CCalValue v;
            v.SetPos(static_cast<float>(c * 10.0), static_cast<float>(r * 10.0));
            v.SetDepth(20.0f);
            v.SetHeightRatio(static_cast<float>(1.0 + 0.8 * std::sin(r / 90.0) * std::cos(c / 130.0)));
            m.SetAt(n, v);
            m.SetNodeIndex(r, c, n++);
        }
    m.SetWaveHeight(2.0);
    m.SetMinHeightRatio(0.2f);
    m.SetMaxHeightRatio(1.8f);
    doc.m_info.m_nCalcState = 3;
}

void BM_PrintColorMapA0(benchmark::State& state) {
    BenchDoc doc;
    MakeDocument(doc);
    CPlotStore store;
    store.ReadPlotText(0,
                       "LY0,25,7,1,1\r\nDL0,0,116900000,0,1\r\nDL116900000,0,116900000,82100000,1\r\n"
                       "DL116900000,82100000,0,82100000,1\r\nDL0,82100000,0,0,1\r\n"
                       "DL0,81100000,116900000,81100000,1\r\n");
    const std::string path = "bench_color_map.pdf";
    std::string err;
    for (auto _ : state) {
        if (!PrintFigureToPdf(path, PrintFigureRequest{doc, store, 0.0, 10.0, 10.0}, &err)) {
            state.SkipWithError(err.c_str());
            break;
        }
    }
    state.counters["pdf_bytes"] = static_cast<double>(FileSize(path));
    state.counters["cells"] = static_cast<double>(kNodes - 1) * (kNodes - 1);
    if (std::getenv("WAVORA_BENCH_KEEP") == nullptr) DeleteFileSilently(path);
}
BENCHMARK(BM_PrintColorMapA0)->Unit(benchmark::kSecond)->Iterations(1);

}  // namespace

int main(int argc, char** argv) {
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    // A flag the library does not know is refused, as BENCHMARK_MAIN refuses it.
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

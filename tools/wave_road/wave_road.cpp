// The wave-calculation road of the main program, without its window: a project, a new
// calculation over it, the depth mesh, the wave conditions, the solver input, the solver
// on its worker thread, the results loaded back into the mesh, and the wave height and
// direction at the project's output points; then the figure of the significant wave
// height, written as the plot file and printed to a PDF.
//
// Run `wave_road --help` for the options.
#include "calc/cal_threads.h"
#include "calc/calc_doc_data.h"
#include "calc/calc_run_files.h"
#include "calc/calc_view_frame.h"
#include "calc/digital_lattice.h"
#include "calc/result_loader.h"
#include "calcdoc/tyd_doc.h"
#include "calcdoc/wave_calc_command.h"
#include "core/sansyutu.h"
#include "core/sokuten.h"
#include "core/tik_inf.h"
#include "platform/files.h"
#include "platform/sysver.h"
#include "platform/text.h"
#include "draw/plot_figure.h"
#include "project/tik_doc.h"
#include "road_figure.h"
#include "tools/tool_args.h"

#if WAVORA_ROAD_PDF
#include "draw/qt/figure_printer.h"

#include <QApplication>
#include <QByteArray>
#include <memory>
#endif

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string>

namespace wv {
namespace {

constexpr char kUsage[] =
    "usage: wave_road [PROJECT.TIK] [options]\n"
    "\n"
    "Runs one wave calculation of a project the way the main program does, without a\n"
    "display, and prints the wave height and direction at the project's output points.\n"
    "\n"
    "  PROJECT.TIK       the project (default: examples/bay/BAY/BAY.TIK of the source tree)\n"
    "  --out DIR         folder for the calculation files (default: the current folder)\n"
    "  --name NAME       calculation name: DIR/NAME.TYD with its side files (default ROAD)\n"
    "  --mesh M          mesh spacing in metres (default 50)\n"
    "  --area X0 Y0 NX NY  lower-left corner and node counts of the calculation area\n"
    "                    (default: the survey points' extent at the mesh spacing)\n"
    "  --h0 H            offshore significant wave height, m (default 2.0)\n"
    "  --t0 T            significant wave period, s (default 8.0)\n"
    "  --dir16 N         incident direction, 16-point index 0 = N, 1 = NNE, ... (default 0)\n"
    "  --dirdiv N        direction bins (default 45)\n"
    "  --freqdiv N       frequency components (default 7)\n"
    "  --tide T          tide level, m (default 0.0)\n"
    "  --breaking        consider wave breaking\n"
    "  --pdf FILE        print the figure to FILE (default: DIR/NAME.pdf)\n"
    "  --no-pdf          write the figure's plot file but print no PDF\n"
    "\n"
    "\"CALC.DAT\", the solver's \"TIME.TMP\" and the figure's plot file \"pdata000.plt\" are\n"
    "written in the current folder, which is the program's start folder. The calculation\n"
    "is saved as NAME.TYD and NAME.DPT, with the figure's drawing conditions; NAME.CAL is\n"
    "the solver input it ran on. The figure is the significant wave height on A3: colour\n"
    "map, contours, direction arrows and the output points' values. It is printed on the\n"
    "offscreen Qt platform unless QT_QPA_PLATFORM says otherwise.\n";

const char* const kDirNames[16] = {"N",  "NNE", "NE", "ENE", "E",  "ESE", "SE", "SSE",
                                   "S",  "SSW", "SW", "WSW", "W",  "WNW", "NW", "NNW"};

struct Options {
    std::string project;
    std::string out = ".";
    std::string name = "ROAD";
    double mesh = 50.0;
    bool area = false;
    double x0 = 0.0, y0 = 0.0;
    int nx = 0, ny = 0;
    double h0 = 2.0, t0 = 8.0, tide = 0.0;
    int dir16 = 0;
    int dirDiv = 45;
    int freqDiv = 7;
    bool breaking = false;
    std::string pdf;  // empty: DIR/NAME.pdf
    bool noPdf = false;
};

int Fail(const std::string& text) {
    std::fprintf(stderr, "wave_road: %s\n", text.c_str());
    return 1;
}

bool ParseOptions(int argc, char** argv, Options& o, std::string& err) {
    auto number = [&](int& a, double& v) {
        if (a + 1 >= argc) return false;
        std::size_t used = 0;
        v = WinAtof(argv[++a], &used);
        return used > 0;
    };
    auto integer = [&](int& a, int& v) {
        if (a + 1 >= argc) return false;
        std::size_t used = 0;
        v = WinAtoi(argv[++a], &used);
        return used > 0;
    };
    for (int a = 1; a < argc; ++a) {
        const std::string arg = argv[a];
        bool ok = true;
        if (arg == "--out" && a + 1 < argc) o.out = argv[++a];
        else if (arg == "--name" && a + 1 < argc) o.name = argv[++a];
        else if (arg == "--mesh") ok = number(a, o.mesh) && o.mesh > 0.0;
        else if (arg == "--area") {
            o.area = true;
            ok = number(a, o.x0) && number(a, o.y0) && integer(a, o.nx) && integer(a, o.ny) && o.nx > 1 &&
                 o.ny > 1;
        } else if (arg == "--h0") ok = number(a, o.h0);
        else if (arg == "--t0") ok = number(a, o.t0);
        else if (arg == "--tide") ok = number(a, o.tide);
        else if (arg == "--dir16") ok = integer(a, o.dir16) && o.dir16 >= 0 && o.dir16 < 16;
        else if (arg == "--dirdiv") ok = integer(a, o.dirDiv);
        else if (arg == "--freqdiv") ok = integer(a, o.freqDiv);
        else if (arg == "--breaking") o.breaking = true;
        else if (arg == "--pdf" && a + 1 < argc) o.pdf = argv[++a];
        else if (arg == "--no-pdf") o.noPdf = true;
        else if (!arg.empty() && arg[0] != '-' && o.project.empty()) o.project = arg;
        else ok = false;
        if (!ok) {
            err = "bad or incomplete option: " + arg;
            return false;
        }
    }
    if (o.project.empty()) o.project = std::string(WAVORA_SOURCE_DIR) + "/examples/bay/BAY/BAY.TIK";
    return true;
}

// The survey points' extent, on whole mesh spacings.
bool AreaFromSurvey(Options& o) {
    bool any = false;
    double x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    for (int slot = 0; slot < g_surveyPoints.GetSlotCount(); ++slot) {
        const CSokutenZokusei p = g_surveyPoints.GetAt(slot);
        if (p.GetId() < 0) continue;
        const CPointD q = p.GetPos();
        if (!any) {
            x0 = x1 = q.m_dX;
            y0 = y1 = q.m_dY;
            any = true;
        }
        x0 = std::min(x0, q.m_dX);
        x1 = std::max(x1, q.m_dX);
        y0 = std::min(y0, q.m_dY);
        y1 = std::max(y1, q.m_dY);
    }
    if (!any) return false;
    o.x0 = std::floor(x0 / o.mesh) * o.mesh;
    o.y0 = std::floor(y0 / o.mesh) * o.mesh;
    o.nx = static_cast<int>(std::ceil((x1 - o.x0) / o.mesh)) + 1;
    o.ny = static_cast<int>(std::ceil((y1 - o.y0) / o.mesh)) + 1;
    return true;
}

// The figure of the results: set up, written as the plot file in the start folder, kept
// with the calculation, and printed to a PDF.
int PrintRoadFigure(int argc, char** argv, const Options& o, CTydDoc& doc, CTydViewData& view, double angle,
                    const std::string& folder) {
    std::string err;
    if (!SetUpRoadFigure(view, angle, &err)) return Fail(err);
    CPlotStore store;
    SheetOffsets offsets;
    if (MakePlotFile(view, angle, store, &offsets) != 0) return Fail("the figure's plot file could not be written");
    if (!doc.OnSaveDocument(doc.GetPathName())) return Fail("cannot save " + doc.GetPathName());
    std::printf("\nfigure       %s, 1:%d on A3, plot file %s\n", PlotFigureTitle(doc.m_zmn).c_str(),
                doc.m_zmn.m_nScale, StartFolderFile(kPlotFileName).c_str());
    if (o.noPdf) return 0;
#if WAVORA_ROAD_PDF
    // Printing needs a Qt application; without a display it runs offscreen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    const auto app = std::make_unique<QApplication>(argc, argv);
    const std::string pdf = o.pdf.empty()
                                ? (folder.empty() || folder.back() == '/' ? folder : folder + "/") + o.name + ".pdf"
                                : std::filesystem::absolute(o.pdf).lexically_normal().string();
    const PrintFigureRequest request{doc, store, angle, offsets.x, offsets.y};
    if (!PrintFigureToPdf(pdf, request, &err)) return Fail("cannot print the figure: " + err);
    std::printf("pdf          %s\n", pdf.c_str());
    return 0;
#else
    (void)argc, (void)argv, (void)folder;
    std::printf("pdf          (not printed: this build has no Qt printing)\n");
    return 0;
#endif
}

int Run(int argc, char** argv) {
    Options o;
    if (const int code = tools::CheckToolArgs(argc, argv, kUsage,
                                              {{"--out", 1}, {"--name", 1}, {"--mesh", 1}, {"--area", 4},
                                               {"--h0", 1}, {"--t0", 1}, {"--tide", 1}, {"--dir16", 1},
                                               {"--dirdiv", 1}, {"--freqdiv", 1}, {"--breaking", 0},
                                               {"--pdf", 1}, {"--no-pdf", 0}});
        code >= 0)
        return code;
    std::string err;
    if (!ParseOptions(argc, argv, o, err)) {
        std::fputs(kUsage, stderr);
        return Fail(err);
    }

    // As the main program starts: the start folder is the current folder, and no
    // calculation is running.
    SetStartFolder(std::filesystem::current_path().string());
    if (!ResetCalcDatIfIdle(StartFolder()))
        return Fail("a calculation is running in this folder, or CALC.DAT cannot be written");
    // The figure's file label carries the installation's version, as the program's do;
    // without a version file the label is the file title alone.
    g_strVersionCp932 = ReadSysVer(StartFolder());
    g_strVersion = Cp932ToUtf8(g_strVersionCp932);

    CTikDoc project;
    if (!project.OnOpenDocument(o.project)) return Fail("cannot open the project " + o.project);
    if (!o.area && !AreaFromSurvey(o)) return Fail("the project has no survey points");

    // A new calculation file is created empty and then opened.
    std::error_code ec;
    std::filesystem::create_directories(o.out, ec);
    const std::string folder = std::filesystem::absolute(o.out).lexically_normal().string();
    const std::string path = (folder.empty() || folder.back() == '/' ? folder : folder + "/") + o.name + ".TYD";
    if (!AtomicWriteFile(path, std::string(), &err)) return Fail(err);
    CTydDoc doc;
    if (!doc.OnOpenDocument(path)) return Fail("cannot open " + path);
    doc.SetProjectFolder(FolderOf(o.project));

    doc.m_calcArea.SetOrigin(o.x0, o.y0);
    doc.m_calcArea.SetMeshSize(o.mesh);
    doc.m_calcArea.SetMeshCountX(o.nx);
    doc.m_calcArea.SetMeshCountY(o.ny);
    CTyd_Inf& info = doc.m_info;
    info.m_nDirMode = 0;
    info.m_nDir16 = o.dir16;
    info.m_dH0 = o.h0;
    info.m_dT0 = o.t0;
    info.m_dTide = o.tide;
    info.m_nDirDiv = o.dirDiv;
    info.m_nFreqDiv = o.freqDiv;
    info.m_bBreaking = o.breaking ? 1 : 0;
    info.m_bFreeRotation = 0;

    // The view turns the map so that the waves come from the top, and keeps that angle in
    // the drawing conditions.
    CTydViewData view(doc);
    CalcViewFrame frame;
    frame.angle = CalcViewAngle(doc);
    frame.originX = o.x0;
    frame.originY = o.y0;
    doc.m_zmn.m_dRotation = frame.angle;

    std::printf("project      %s\ncalculation  %s\narea         %.3f %.3f, %d x %d nodes at %.3f m\n",
                o.project.c_str(), path.c_str(), o.x0, o.y0, o.nx, o.ny, o.mesh);
    std::fflush(stdout);

    if (doc.OnCalcDepth(view, frame) != 0) return Fail("the depth calculation did not complete");
    std::printf("depths       %d sea nodes, %.2f .. %.2f m\n", doc.m_mesh.GetCount(),
                doc.m_mesh.GetMinDepth(), doc.m_mesh.GetMaxDepth());
    std::fflush(stdout);

    CWaveCalcSlot slot;
    if (OnWaveCalc(doc, view, frame, slot) != 0) return Fail("the wave calculation did not start");
    slot.Wait();
    if (slot.GetExitCode() != 0) return Fail("the solver did not complete the run");
    if (LoadCalcResults(doc, view, frame) != kResultsLoaded) return Fail("the results could not be loaded");

    // The output-point values of the significant wave height, then of its ratio.
    const int valueType = doc.m_zmn.m_nValueType;
    doc.m_zmn.m_nValueType = 0;
    UpdateCalcPointResults(view, frame.angle);
    const std::vector<double> height = view.m_pCalcPtValue;
    const std::vector<float> direction = view.m_pCalcPtDir;
    doc.m_zmn.m_nValueType = valueType;

    std::printf("\nwaves from %s, H0 = %.2f m, T0 = %.2f s; directions in degrees from north, %s\n\n",
                kDirNames[o.dir16], o.h0, o.t0,
                info.m_nOutDirSense == 1 ? "clockwise" : "counter-clockwise");
    std::printf("%-6s %12s %12s %10s %8s %10s\n", "point", "X", "Y", "H (m)", "H/H0", "direction");
    int shown = 0;
    for (int i = 0; i < g_calcPoints.GetSize(); ++i) {
        const CSansyutuZokusei p = g_calcPoints.GetAt(i);
        if (p.GetUse() == 0) continue;
        ++shown;
        const std::string name = Cp932ToUtf8(p.GetName());
        if (height[i] >= kNoValue || direction[i] >= 990.0f) {
            std::printf("%-6s %12.3f %12.3f %10s %8s %10s\n", name.c_str(), p.GetPos().m_dX,
                        p.GetPos().m_dY, "-", "-", "-");
            continue;
        }
        std::printf("%-6s %12.3f %12.3f %10.3f %8.3f %10.1f\n", name.c_str(), p.GetPos().m_dX,
                    p.GetPos().m_dY, height[i], height[i] / o.h0, direction[i]);
    }
    if (shown == 0) std::printf("(the project has no output points)\n");
    std::fflush(stdout);

    return PrintRoadFigure(argc, argv, o, doc, view, frame.angle, folder);
}

}  // namespace
}  // namespace wv

int main(int argc, char** argv) {
    const int result = wv::Run(argc, argv);
    wv::CCalThreads::CancelAndJoinAll();
    return result;
}

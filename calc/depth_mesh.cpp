#include "calc/depth_mesh.h"

#include "calc/calc_doc_data.h"
#include "calc/calc_messages.h"
#include "calc/calc_state.h"
#include "calc/depth_crossings.h"
#include "calc/depth_grid.h"
#include "calc/grid_interp.h"
#include "calc/mesh_triangles.h"
#include "calc/parallel.h"
#include "calc/phase_progress.h"
#include "calc/time_check.h"
#include "core/block.h"
#include "core/line.h"
#include "core/sokuten.h"
#include "platform/text.h"

#include <algorithm>
#include <memory>
#include <optional>

namespace wv {

namespace {

// Work-grid markers: no value yet, and land.
constexpr double kUndetermined = 9999.0;
constexpr double kLandValue = -9999.0;
// Less water than this at a node makes it land.
constexpr double kMinDepth = 0.0001;

// The node's height from what its eight lines say (the sums of InterpolateNodeOnLine).
double CombineNode(double sum, double w, int n) {
    if (n < 0) return sum;                       // an exact crossing at the node
    if (w > kCrossingTolerance) return sum / w;  // weighted mean of the brackets
    if (n > 0) return sum / n;                   // plain mean of the one-sided values
    return kUndetermined;                        // nothing reaches the node
}

// Phase 4 for one work row, on crossings as found (sorted again for every node).
void NodeRowStraight(const DepthGrid& grid, const std::vector<GridLineCrossings>& crossings,
                     double L, int i, double* row) {
    const int C = grid.Area().cols;
    for (int j = 0; j < C; ++j) {
        if (!(row[j] > 9990.0)) continue;
        int n = 0;
        double w = 0.0, sum = 0.0;
        for (int fam = 0; fam < DepthGrid::kFamilies && n >= 0; ++fam) {
            const GridLineCrossings& gl = crossings[grid.FirstLine(fam) + grid.NodeLine(fam, i, j)];
            sum = InterpolateNodeOnLine(gl.Count(), gl.pos.data(), gl.val.data(), grid.NodePos(fam, i, j),
                                        sum, &w, &n, L);
        }
        row[j] = CombineNode(sum, w, n);
    }
}

// Phase 4 for one work row, on crossings sorted once per grid line.
void NodeRowFast(const DepthGrid& grid, const std::vector<SortedCrossings>& crossings, double L,
                 int i, double* row) {
    const int C = grid.Area().cols;
    for (int j = 0; j < C; ++j) {
        if (!(row[j] > 9990.0)) continue;
        int n = 0;
        double w = 0.0, sum = 0.0;
        for (int fam = 0; fam < DepthGrid::kFamilies && n >= 0; ++fam) {
            const SortedCrossings& gl = crossings[grid.FirstLine(fam) + grid.NodeLine(fam, i, j)];
            sum = gl.Interpolate(grid.NodePos(fam, i, j), sum, &w, &n, L);
        }
        row[j] = CombineNode(sum, w, n);
    }
}

class DepthMeshRun {
public:
    DepthMeshRun(CTydViewData& view, const CalcViewFrame& frame, const DepthMeshOptions& options,
                 DepthMeshReport* report)
        : m_view(view), m_doc(view.GetDocument()), m_frame(frame), m_options(options), m_report(report) {}

    int Run();

private:
    bool Fast() const { return m_options.method == DepthMeshOptions::Method::Fast; }
    // Cancel of phases 2 to 5, and no sea node: no outlines either.
    int CancelEarly();
    // Cancel of phase 6 and a failed triangulation: the mesh goes again.
    int ClearAgain();

    CTydViewData& m_view;
    CTydDocData& m_doc;
    CalcViewFrame m_frame;
    DepthMeshOptions m_options;
    DepthMeshReport* m_report;
    std::unique_ptr<CCalcProgressDlg> m_dlg;
    TimeCheck m_timeCheck;
};

int DepthMeshRun::CancelEarly() {
    m_doc.m_blkXY.FreeAll();
    m_doc.m_blkXY.SetCount(0);
    m_dlg->DestroyWindow();
    return -1;
}

int DepthMeshRun::ClearAgain() {
    ClearMeshData(m_doc, 0);
    ClearWaveResults(m_view);
    if (m_dlg->IsWindowOpen()) m_dlg->DestroyWindow();
    return -1;
}

int DepthMeshRun::Run() {
    // Phase 1: preparation.
    const CCalArea& calcArea = m_doc.m_calcArea;
    DepthArea area;
    area.x0 = calcArea.GetOrigin().m_dX;
    area.y0 = calcArea.GetOrigin().m_dY;
    area.meshSize = calcArea.GetMeshSize();
    area.cols = calcArea.GetMeshCountX();
    area.rows = calcArea.GetMeshCountY();
    const int R = area.rows, C = area.cols;
    const double m = area.meshSize;
    const double L = m_doc.m_info.m_dTide;
    const int blockCount = g_blocks.GetCount();

    m_dlg = CreateCalcProgressDlg();
    m_dlg->SetWindowText(calcmsg::kDepthCalcCaption);
    m_dlg->m_bCancel = 0;
    PhaseProgress progress(*m_dlg);
    progress.SetRange(static_cast<int>(std::min<long long>(2147483647LL, 1LL * blockCount * std::max(R, 0))));

    // From here on the old mesh, triangulation and results are gone.
    ClearMeshData(m_doc, 0);
    ClearWaveResults(m_view);
    if (R < 1 || C < 1) return CancelEarly();

    const DepthGrid grid(area, m_frame);
    std::optional<ParallelRunner> runner;
    if (Fast()) runner.emplace(m_options.threads);

    std::vector<double> V(static_cast<std::size_t>(R) * C, kUndetermined);
    m_timeCheck.Start();

    // Phase 2: land blocks.
    std::vector<BlockIssue> issues;
    const bool blocksDone = RunBlockPhase(grid, g_blocks, g_lines, g_surveyPoints, m_doc.m_blkXY, V,
                                          progress, m_timeCheck, runner ? &*runner : nullptr, issues);
    if (m_report) m_report->blockIssues = issues;
    if (!blocksDone) return CancelEarly();

    // Phase 3: crossings of the grid lines with the terrain.
    progress.SetRange(grid.TotalLines());
    m_timeCheck.Line(Sprintf("Y:%3d,X:%3d", R, C));
    m_timeCheck.Mark("[%ld秒],%d,%d", blockCount, g_lines.GetSlotCount());
    const std::vector<DepthLine> lines = CollectDepthLines(g_lines, g_surveyPoints);

    std::vector<GridLineCrossings> found;
    std::vector<SortedCrossings> sorted;
    const bool crossed =
        Fast() ? FindCrossingsIndexed(grid, lines, *runner, [&](int n) { return progress.Steps(n); }, sorted)
               : FindCrossingsStraight(grid, lines, [&] { return progress.Step(); }, found);
    if (!crossed) return CancelEarly();
    m_timeCheck.Mark("calcheck1[%ld秒]");

    // Phase 4: a height per node.
    progress.SetRange(2 * R + 1);
    if (Fast()) {
        const int batch = std::max(16, 4 * runner->Threads());
        for (int i0 = 0; i0 < R; i0 += batch) {
            const int i1 = std::min(R, i0 + batch);
            runner->For(i0, i1, [&](int i) {
                NodeRowFast(grid, sorted, L, i, V.data() + static_cast<std::size_t>(i) * C);
            });
            if (!progress.Steps(i1 - i0)) return CancelEarly();
        }
    } else {
        for (int i = 0; i < R; ++i) {
            if (!progress.Step()) return CancelEarly();
            NodeRowStraight(grid, found, L, i, V.data() + static_cast<std::size_t>(i) * C);
        }
    }
    std::vector<GridLineCrossings>().swap(found);
    std::vector<SortedCrossings>().swap(sorted);
    m_timeCheck.Mark("cal_end[%ld秒]");

    // Phase 5: depth below the tide level.
    int seaNodes = 0;
    for (double& v : V) {
        // No value, land, or a height that is no number (a damaged project).
        if (!(v <= 9990.0) || v < -9990.0) {
            v = kLandValue;
            continue;
        }
        v = L - v;
        if (v < kMinDepth) v = kLandValue;
        else ++seaNodes;
    }
    if (!progress.Step() || seaNodes == 0) return CancelEarly();
    m_timeCheck.Mark("cal_end[%ld秒]");

    // Phase 6: the sea nodes into the mesh, numbered row by row from the origin row.
    CDigitalMap& mesh = m_doc.m_mesh;
    mesh.SetMeshCountX(C);
    mesh.SetMeshCountY(R);
    mesh.AllocNodeIndex();
    mesh.SetMeshSize(m);
    mesh.SetBaseLevel(L);
    mesh.SetCount(seaNodes);
    mesh.AllocValues();
    mesh.AllocDepthFlag();
    mesh.AllocHeightFlag();
    mesh.AllocDirFlag();
    mesh.AllocVectorFlag();
    int number = 0;
    for (int r = 0; r < R; ++r) {
        if (!progress.Step()) return ClearAgain();
        const double* row = V.data() + static_cast<std::size_t>(R - 1 - r) * C;
        for (int c = 0; c < C; ++c) {
            mesh.SetNodeIndex(r, c, -1);
            if (!(row[c] >= -9990.0)) continue;
            CCalValue node;
            node.SetPos(static_cast<float>(c * m), static_cast<float>(r * m));
            node.SetDepth(static_cast<float>(row[c]));
            mesh.SetAt(number, node);
            mesh.SetNodeIndex(r, c, number);
            ++number;
        }
    }
    std::vector<double>().swap(V);
    mesh.CalcDepthRange();
    m_timeCheck.Mark("cal_endend[%ld秒]");
    m_dlg->DestroyWindow();

    // Phase 7: the triangulation.
    if (BuildMeshTriangles(m_view, 0, runner ? &*runner : nullptr) < 0) return ClearAgain();
    return 0;
}

}  // namespace

namespace {

// The mesh itself beside either the table it is made from (`perNode` bytes a node) or
// its triangulation, whichever is larger.
std::uint64_t MeshCommandBytes(int cols, int rows, std::uint64_t perNode) {
    const std::uint64_t nodes =
        static_cast<std::uint64_t>(std::max(cols, 0)) * static_cast<std::uint64_t>(std::max(rows, 0));
    const std::uint64_t mesh = nodes * (sizeof(int) + sizeof(CCalValue) + 4 * sizeof(std::int16_t));
    return mesh + std::max(nodes * perNode, MeshTriangleBytes(std::max(cols, 0), std::max(rows, 0)));
}

}  // namespace

std::uint64_t DepthMeshBytes(int cols, int rows, const DepthMeshOptions& options) {
    const int threads =
        options.method == DepthMeshOptions::Method::Fast ? ParallelRunner::ThreadsFor(options.threads) : 1;
    return MeshCommandBytes(cols, rows, sizeof(double)) +
           static_cast<std::uint64_t>(threads - 1) * ParallelRunner::BytesPerWorker();
}

std::uint64_t MeshInputBytes(int cols, int rows) { return MeshCommandBytes(cols, rows, sizeof(float)); }

int CalcMeshDepth(CTydViewData& view, const CalcViewFrame& frame, const DepthMeshOptions& options,
                  DepthMeshReport* report) {
    if (report) *report = DepthMeshReport();
    DepthMeshRun run(view, frame, options, report);
    return run.Run();
}

}  // namespace wv

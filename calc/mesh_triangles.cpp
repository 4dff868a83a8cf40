#include "calc/mesh_triangles.h"

#include "calc/calc_doc_data.h"
#include "calc/calc_messages.h"
#include "calc/parallel.h"
#include "calc/phase_progress.h"
#include "calc/triangulate_kernel.h"

#include <algorithm>

namespace wv {

int BuildMeshTriangles(CTydViewData& view, int flag, ParallelRunner* runner) {
    CTydDocData& doc = view.GetDocument();
    CDigitalMap& mesh = doc.m_mesh;
    const int rows = mesh.GetMeshCountY();
    const int cols = mesh.GetMeshCountX();

    std::unique_ptr<CCalcProgressDlg> dlg = CreateCalcProgressDlg();
    dlg->SetWindowText(flag == 1 ? calcmsg::kDepthInputCaption : calcmsg::kDepthCalcCaption);
    dlg->m_bCancel = 0;
    PhaseProgress progress(*dlg);
    progress.SetRange(std::max(0, 2 * rows - 2));

    std::vector<int> nodeIndex;
    if (rows > 0 && cols > 0) {
        nodeIndex.resize(static_cast<std::size_t>(rows) * cols);
        for (int r = 0; r < rows; ++r)
            for (int c = 0; c < cols; ++c)
                nodeIndex[static_cast<std::size_t>(r) * cols + c] = mesh.GetNodeIndex(r, c);
    }

    MeshTriangulation tri;
    const bool done =
        TriangulateNodeTable(rows, cols, nodeIndex, [&](int n) { return progress.Steps(n); }, tri, runner);
    if (!done || tri.EdgeCount() == 0 || tri.TriangleCount() == 0) {
        dlg->DestroyWindow();
        return -1;
    }

    const int edges = tri.EdgeCount();
    doc.m_triLine.SetCount(edges);
    doc.m_triLine.Alloc();
    for (int e = 0; e < edges; ++e)
        doc.m_triLine.SetAt(e, CTriLineZokusei(tri.edgeNode1[e], tri.edgeNode2[e]));

    const int T = tri.TriangleCount();
    doc.m_nTriNodes = T;
    doc.m_pTriNodeA = std::move(tri.triEdges);
    doc.m_pTriNodeB = std::move(tri.triNodes);
    doc.m_pEdgePairs = std::move(tri.edgePairs);
    doc.m_pTriMinDepth.assign(T, 0.0f);
    doc.m_pTriMaxDepth.assign(T, 0.0f);
    for (int k = 0; k < 2; ++k) {
        doc.m_pTriMinValue[k].assign(T, 0.0f);
        doc.m_pTriMaxValue[k].assign(T, 0.0f);
    }

    // The depth range of the triangulated mesh is what the depth-check figure spans.
    std::vector<float> depth(static_cast<std::size_t>(std::max(0, mesh.GetCount())));
    for (std::size_t i = 0; i < depth.size(); ++i) depth[i] = mesh.GetAt(static_cast<int>(i)).GetDepth();
    auto rangeOf = [&](int t) {
        const int* n = &doc.m_pTriNodeB[3 * static_cast<std::size_t>(t)];
        const float d0 = depth[n[0]], d1 = depth[n[1]], d2 = depth[n[2]];
        doc.m_pTriMinDepth[t] = std::min(std::min(d0, d1), d2);
        doc.m_pTriMaxDepth[t] = std::max(std::max(d0, d1), d2);
    };
    if (runner) runner->For(0, T, rangeOf);
    else for (int t = 0; t < T; ++t) rangeOf(t);
    float lowest = 999999.0f, highest = -999999.0f;
    for (int t = 0; t < T; ++t) {
        lowest = std::min(lowest, doc.m_pTriMinDepth[t]);
        highest = std::max(highest, doc.m_pTriMaxDepth[t]);
    }
    doc.m_hcheckLines.SetMinDepth(lowest);
    doc.m_hcheckLines.SetMaxDepth(highest);

    dlg->DestroyWindow();
    return 0;
}

std::uint64_t MeshTriangleBytes(int cols, int rows) {
    if (rows < 2 || cols < 1) return 0;
    const std::uint64_t nodes = static_cast<std::uint64_t>(rows) * static_cast<std::uint64_t>(cols);
    const std::uint64_t cells = static_cast<std::uint64_t>(rows - 1) * static_cast<std::uint64_t>(cols - 1);
    const std::uint64_t maxEdges = 3 * cells + (cols - 1) + (rows - 1) + 1;
    // The node table handed to the kernel and the depth per node; the edge records; the
    // depth and value ranges of at most two triangles per cell.
    return TriangulationKernelBytes(rows, cols) + nodes * (sizeof(int) + sizeof(float)) +
           maxEdges * sizeof(CTriLineZokusei) + cells * 2 * 6 * sizeof(float);
}

}  // namespace wv

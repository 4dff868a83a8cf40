#include "calc/triangulate_kernel.h"

#include "calc/parallel.h"

#include <algorithm>
#include <cstddef>

namespace wv {

namespace {

// The four edges that a node keeps: to the node above, to the node on the right, to the
// node above right, and the anti-diagonal of the cell above right of it (from the node
// above to the node on the right).
struct NodeEdges {
    int vertical = -1;
    int horizontal = -1;
    int diagonal = -1;
    int antiDiagonal = -1;
};

enum EdgeKind { kVertical, kHorizontal, kDiagonal, kAntiDiagonal };

class Triangulator {
public:
    Triangulator(int rows, int cols, const std::vector<int>& nodeIndex, MeshTriangulation& out)
        : m_rows(rows), m_cols(cols), m_index(nodeIndex), m_out(out),
          m_rec(static_cast<std::size_t>(rows) * cols) {}

    // The edges of row pair r in the order they are numbered, each handed to
    // emit(kind, row, col, node a, node b) with the record it is kept at.
    template <class Emit>
    void EdgesOfRowPair(int r, Emit&& emit) const {
        int v = At(r, 0);
        int w = At(r + 1, 0);
        for (int t = 1; t < m_cols; ++t) {
            const int a = At(r, t);
            const int b = At(r + 1, t);
            if (v >= 0 && w >= 0) emit(kVertical, r, t - 1, v, w);
            if (v >= 0 && a >= 0) emit(kHorizontal, r, t - 1, v, a);
            if (v >= 0 && b >= 0) emit(kDiagonal, r, t - 1, v, b);
            else if (w >= 0 && a >= 0) emit(kAntiDiagonal, r, t - 1, w, a);
            // The top row's horizontals belong to no lower row pair.
            if (r == m_rows - 2 && w >= 0 && b >= 0) emit(kHorizontal, r + 1, t - 1, w, b);
            v = a;
            w = b;
        }
        if (v >= 0 && w >= 0) emit(kVertical, r, m_cols - 1, v, w);
    }

    int CountEdges(int r) const {
        int n = 0;
        EdgesOfRowPair(r, [&](int, int, int, int, int) { ++n; });
        return n;
    }

    void WriteEdges(int r, int first) {
        int e = first;
        EdgesOfRowPair(r, [&](int kind, int row, int col, int a, int b) {
            m_out.edgeNode1[e] = std::min(a, b);
            m_out.edgeNode2[e] = std::max(a, b);
            NodeEdges& rec = Rec(row, col);
            switch (kind) {
            case kVertical: rec.vertical = e; break;
            case kHorizontal: rec.horizontal = e; break;
            case kDiagonal: rec.diagonal = e; break;
            default: rec.antiDiagonal = e; break;
            }
            ++e;
        });
    }

    // The triangles of row pair r, cell by cell, handed to emit(n0, n1, n2, e0, e1, e2).
    template <class Emit>
    void TrianglesOfRowPair(int r, Emit&& emit) const {
        for (int c = 0; c + 1 < m_cols; ++c) {
            const NodeEdges& ll = Rec(r, c);
            const NodeEdges& ul = Rec(r + 1, c);
            const NodeEdges& lr = Rec(r, c + 1);
            const int nLL = At(r, c), nUL = At(r + 1, c), nLR = At(r, c + 1), nUR = At(r + 1, c + 1);
            if (ll.diagonal >= 0) {
                if (ll.vertical >= 0 && ul.horizontal >= 0)
                    emit(nLL, nUL, nUR, ll.vertical, ul.horizontal, ll.diagonal);
                if (ll.horizontal >= 0 && lr.vertical >= 0)
                    emit(nLL, nUR, nLR, ll.diagonal, lr.vertical, ll.horizontal);
            } else if (ll.antiDiagonal >= 0) {
                if (ll.vertical >= 0 && ll.horizontal >= 0)
                    emit(nLL, nUL, nLR, ll.vertical, ll.antiDiagonal, ll.horizontal);
                if (lr.vertical >= 0 && ul.horizontal >= 0)
                    emit(nUR, nLR, nUL, lr.vertical, ll.antiDiagonal, ul.horizontal);
            }
        }
    }

    int CountTriangles(int r) const {
        int n = 0;
        TrianglesOfRowPair(r, [&](int, int, int, int, int, int) { ++n; });
        return n;
    }

    // Triangles of different rows write different slots of the edges they share: a
    // shared edge runs one way in one triangle and the other way in the other.
    void WriteTriangles(int r, int first) {
        int tri = first;
        TrianglesOfRowPair(r, [&](int n0, int n1, int n2, int e0, int e1, int e2) {
            const int nodesOf[3] = {n0, n1, n2};
            const int edgesOf[3] = {e0, e1, e2};
            for (int u = 0; u < 3; ++u) {
                m_out.triNodes[3 * static_cast<std::size_t>(tri) + u] = nodesOf[u];
                m_out.triEdges[3 * static_cast<std::size_t>(tri) + u] = edgesOf[u];
                const int slot = (m_out.edgeNode1[edgesOf[u]] == nodesOf[u]) ? 0 : 1;
                m_out.edgePairs[2 * static_cast<std::size_t>(edgesOf[u]) + slot] = tri;
            }
            ++tri;
        });
    }

private:
    int At(int r, int c) const { return m_index[static_cast<std::size_t>(r) * m_cols + c]; }
    NodeEdges& Rec(int r, int c) { return m_rec[static_cast<std::size_t>(r) * m_cols + c]; }
    const NodeEdges& Rec(int r, int c) const { return m_rec[static_cast<std::size_t>(r) * m_cols + c]; }

    int m_rows, m_cols;
    const std::vector<int>& m_index;
    MeshTriangulation& m_out;
    std::vector<NodeEdges> m_rec;
};

// Runs one pass over the row pairs in batches: counts what each row pair adds, numbers
// the row pairs one after the other, then writes them (in parallel with a runner).
template <class Count, class Grow, class Write>
bool RunPass(int rowPairs, ParallelRunner* runner, const std::function<bool(int)>& rowPairsDone,
             Count count, Grow grow, Write write) {
    const int batch = runner ? std::max(16, 8 * runner->Threads()) : 1;
    std::vector<int> first(static_cast<std::size_t>(batch));
    int total = 0;
    for (int r0 = 0; r0 < rowPairs; r0 += batch) {
        const int r1 = std::min(rowPairs, r0 + batch);
        if (!runner) {
            if (!rowPairsDone(1)) return false;
            const int n = count(r0);
            grow(total + n);
            write(r0, total);
            total += n;
            continue;
        }
        runner->For(r0, r1, [&](int r) { first[r - r0] = count(r); });
        for (int r = r0; r < r1; ++r) {
            const int n = first[r - r0];
            first[r - r0] = total;
            total += n;
        }
        grow(total);
        runner->For(r0, r1, [&](int r) { write(r, first[r - r0]); });
        if (!rowPairsDone(r1 - r0)) return false;
    }
    return true;
}

}  // namespace

std::uint64_t TriangulationKernelBytes(int rows, int cols) {
    if (rows < 2 || cols < 1) return 0;
    const std::uint64_t nodes = static_cast<std::uint64_t>(rows) * static_cast<std::uint64_t>(cols);
    const std::uint64_t cells = static_cast<std::uint64_t>(rows - 1) * static_cast<std::uint64_t>(cols - 1);
    const std::uint64_t maxEdges = 3 * cells + (cols - 1) + (rows - 1) + 1;
    // Node records; two ends and two neighbours per edge; three nodes and three edges
    // for each of at most two triangles per cell.
    return nodes * sizeof(NodeEdges) + maxEdges * 4 * sizeof(int) + cells * 2 * 6 * sizeof(int);
}

bool TriangulateNodeTable(int rows, int cols, const std::vector<int>& nodeIndex,
                          const std::function<bool(int)>& rowPairsDone, MeshTriangulation& out,
                          ParallelRunner* runner) {
    out = MeshTriangulation();
    if (rows < 2 || cols < 1) return true;
    const std::size_t nodes = static_cast<std::size_t>(rows) * static_cast<std::size_t>(cols);
    if (nodeIndex.size() < nodes) return true;

    Triangulator tr(rows, cols, nodeIndex, out);
    const std::size_t cells = static_cast<std::size_t>(rows - 1) * (cols - 1);
    const std::size_t maxEdges = 3 * cells + (cols - 1) + (rows - 1) + 1;
    out.edgeNode1.reserve(maxEdges);
    out.edgeNode2.reserve(maxEdges);

    // Edge pass.
    const bool edgesDone = RunPass(
        rows - 1, runner, rowPairsDone, [&](int r) { return tr.CountEdges(r); },
        [&](int total) {
            out.edgeNode1.resize(total);
            out.edgeNode2.resize(total);
        },
        [&](int r, int first) { tr.WriteEdges(r, first); });
    if (!edgesDone) return false;
    if (out.edgeNode1.empty()) return true;

    const int edgeCount = out.EdgeCount();
    out.edgePairs.assign(static_cast<std::size_t>(2) * edgeCount, -1);
    // At most two triangles per cell; reserving spares the copies of a growing table.
    out.triNodes.reserve(6 * cells);
    out.triEdges.reserve(6 * cells);

    // Triangle pass.
    return RunPass(
        rows - 1, runner, rowPairsDone, [&](int r) { return tr.CountTriangles(r); },
        [&](int total) {
            out.triNodes.resize(3 * static_cast<std::size_t>(total));
            out.triEdges.resize(3 * static_cast<std::size_t>(total));
        },
        [&](int r, int first) { tr.WriteTriangles(r, first); });
}

}  // namespace wv

// The contour tracing as first written: every triangle visited for every level, work
// lists sized for the whole mesh, the crossings sorted with the comb sort and looked up
// by binary search, and every start segment found by a scan from segment 0. It is slow
// on large meshes and stays as the reference the fast tracing must match bit for bit.
#include "calc/calc_doc_data.h"
#include "calc/contour_trace.h"
#include "core/geometry.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace wv {

namespace {

struct LevelSegments {
    std::vector<int> entryA, entryB;  // sorted distinct crossings
    std::vector<CPointF> pos;
    std::vector<int> end1, end2;      // per segment, entry indices, end1 <= end2
};

double NodeValue(const CTydDocData& doc, int figure, int node) {
    const CCalValue v = doc.m_mesh.GetAt(node);
    return figure == kDepthFigure ? static_cast<double>(v.GetDepth())
                                  : v.GetValue(figure, doc.m_mesh.GetWaveHeight());
}

// Range of triangle t; false when the triangle can never be cut.
bool TriangleRange(const CTydDocData& doc, int figure, int t, double& lo, double& hi) {
    const int nodes = doc.m_mesh.GetCount();
    for (int u = 0; u < 3; ++u) {
        const int n = doc.m_pTriNodeB[3 * t + u];
        const int e = doc.m_pTriNodeA[3 * t + u];
        if (n < 0 || n >= nodes || e < 0 || e >= doc.m_triLine.GetCount()) return false;
    }
    if (figure == kDepthFigure) {
        lo = doc.m_pTriMinDepth[t];
        hi = doc.m_pTriMaxDepth[t];
        return true;
    }
    const int r = (figure == 0 || figure == 1) ? 0 : 1;
    lo = doc.m_pTriMinValue[r][t];
    hi = doc.m_pTriMaxValue[r][t];
    if (figure == 0 || figure == 2) {
        lo = doc.m_mesh.GetWaveHeight() * doc.m_pTriMinValue[r][t];
        hi = doc.m_mesh.GetWaveHeight() * doc.m_pTriMaxValue[r][t];
    }
    return lo >= 0.0;
}

int TriangleCount(const CTydDocData& doc, int figure) {
    std::size_t T = static_cast<std::size_t>(std::max(0, doc.m_nTriNodes));
    T = std::min({T, doc.m_pTriNodeA.size() / 3, doc.m_pTriNodeB.size() / 3});
    if (figure == kDepthFigure) {
        T = std::min({T, doc.m_pTriMinDepth.size(), doc.m_pTriMaxDepth.size()});
    } else {
        const int r = (figure == 0 || figure == 1) ? 0 : 1;
        T = std::min({T, doc.m_pTriMinValue[r].size(), doc.m_pTriMaxValue[r].size()});
    }
    return static_cast<int>(T);
}

bool TraceSegments(const CTydDocData& doc, int figure, double L, LevelSegments& out) {
    if (L < 0.0001) return false;
    const int T = TriangleCount(doc, figure);
    const int E = std::max(0, doc.m_triLine.GetCount());
    std::vector<int> ca(2 * static_cast<std::size_t>(T)), cb(2 * static_cast<std::size_t>(T));
    std::vector<int> sa(T), sb(T);
    std::vector<int> edgeDone(E, -1);
    int nc = 0, ns = 0;
    for (int t = 0; t < T; ++t) {
        double lo = 0.0, hi = 0.0;
        if (!TriangleRange(doc, figure, t, lo, hi)) continue;
        if (!(lo - 0.0000001 <= L && L <= hi + 0.0000001)) continue;
        const int* n = &doc.m_pTriNodeB[3 * t];
        double v[3];
        for (int u = 0; u < 3; ++u) v[u] = NodeValue(doc, figure, n[u]);
        const int before = nc;
        int mask = 0;
        for (int u = 0; u < 3; ++u) {
            if (std::fabs(v[u] - L) < 0.0000001) {
                ca[nc] = n[u];
                cb[nc] = -1;
                ++nc;
                mask += 1 << u;
            }
        }
        if (mask == 7) {
            nc = before;
            continue;
        }
        for (int u = 0; u < 3; ++u) {
            const bool test = mask == 0 || (mask == 1 && u == 1) || (mask == 2 && u == 2) || (mask == 4 && u == 0);
            if (!test) continue;
            const int w = (u + 1) % 3;
            if ((v[u] > L && v[w] < L) || (v[u] < L && v[w] > L)) {
                ca[nc] = std::min(n[u], n[w]);
                cb[nc] = std::max(n[u], n[w]);
                ++nc;
            }
        }
        if (nc - before != 2) {
            nc = before;
            continue;
        }
        if (cb[before] == -1 && cb[before + 1] == -1) {
            const int edge = doc.m_pTriNodeA[3 * t + (mask == 3 ? 0 : mask == 6 ? 1 : 2)];
            if (edgeDone[edge] != -1) continue;
            edgeDone[edge] = ns;
        }
        sa[ns] = before;
        sb[ns] = before + 1;
        ++ns;
    }
    if (nc == 0 || ns == 0) return false;

    std::vector<int> ka(ca.begin(), ca.begin() + nc), kb(cb.begin(), cb.begin() + nc);
    int count = nc;
    CombSortPairs(ka.data(), kb.data(), &count);
    out.entryA.assign(ka.begin(), ka.begin() + count);
    out.entryB.assign(kb.begin(), kb.begin() + count);
    out.pos.resize(count);
    for (int i = 0; i < count; ++i) {
        const int a = out.entryA[i], b = out.entryB[i];
        const CPointF pa = doc.m_mesh.GetAt(a).GetPos();
        if (b == -1) {
            out.pos[i] = pa;
            continue;
        }
        const CPointF pb = doc.m_mesh.GetAt(b).GetPos();
        const double va = NodeValue(doc, figure, a), vb = NodeValue(doc, figure, b);
        const double xa = pa.m_fX, ya = pa.m_fY, xb = pb.m_fX, yb = pb.m_fY;
        out.pos[i].m_fX = static_cast<float>(xa + (xb - xa) * (L - va) / (vb - va));
        out.pos[i].m_fY = static_cast<float>(ya + (yb - ya) * (L - va) / (vb - va));
    }
    out.end1.resize(ns);
    out.end2.resize(ns);
    for (int j = 0; j < ns; ++j) {
        const int i1 = FindPair(ca[sa[j]], cb[sa[j]], out.entryA.data(), out.entryB.data(), count);
        const int i2 = FindPair(ca[sb[j]], cb[sb[j]], out.entryA.data(), out.entryB.data(), count);
        out.end1[j] = std::min(i1, i2);
        out.end2[j] = std::max(i1, i2);
    }
    return true;
}

}  // namespace

void TraceDepthContourReference(CTydDocData& doc, double level) {
    LevelSegments lv;
    if (!TraceSegments(doc, kDepthFigure, level, lv)) return;
    const int entries = static_cast<int>(lv.pos.size());
    const int S = static_cast<int>(lv.end1.size());
    const int p = doc.m_hcheckPoints.GetCount();
    const int s = doc.m_hcheckLines.GetCount();
    doc.m_hcheckPoints.Extend(entries);
    for (int i = 0; i < entries; ++i) {
        doc.m_hcheckPoints.SetPoint(p + i, lv.pos[i]);
        doc.m_hcheckPoints.SetValue(p + i, static_cast<float>(level));
    }
    doc.m_hcheckLines.Extend(S);
    for (int j = 0; j < S; ++j) {
        doc.m_hcheckLines.SetStart(s + j, p + lv.end1[j]);
        doc.m_hcheckLines.SetEnd(s + j, p + lv.end2[j]);
    }
}

int TraceResultContourReference(CTydDocData& doc, int kind, double level) {
    if (kind < 0 || kind > 3) return -1;
    LevelSegments lv;
    if (!TraceSegments(doc, kind, level, lv)) return -1;
    const int E = static_cast<int>(lv.pos.size());
    const int S = static_cast<int>(lv.end1.size());
    std::vector<int> degree(E, 0);
    std::vector<std::array<int, 32>> at(E);
    for (int j = 0; j < S; ++j) {
        for (int e : {lv.end1[j], lv.end2[j]}) {
            if (degree[e] < 32) at[e][degree[e]++] = j;
        }
    }
    std::vector<char> used(S, 0);
    int phase = 1;
    int added = 0;
    for (;;) {
        int cur = -1, p = -1;
        if (phase == 1) {
            for (int j = 0; j < S && cur < 0; ++j)
                if (!used[j] && (degree[lv.end1[j]] == 1 || degree[lv.end2[j]] == 1)) {
                    cur = j;
                    p = degree[lv.end1[j]] == 1 ? lv.end1[j] : lv.end2[j];
                }
            if (cur < 0) phase = 2;
        }
        if (phase == 2) {
            for (int j = 0; j < S && cur < 0; ++j)
                if (!used[j] && (degree[lv.end1[j]] > 2 || degree[lv.end2[j]] > 2)) {
                    cur = j;
                    p = degree[lv.end1[j]] > 2 ? lv.end1[j] : lv.end2[j];
                }
            if (cur < 0) phase = 3;
        }
        if (phase == 3) {
            for (int j = 0; j < S && cur < 0; ++j)
                if (!used[j]) {
                    cur = j;
                    p = lv.end1[j];
                }
            if (cur < 0) break;
        }
        std::vector<CPointF> points;
        for (;;) {
            used[cur] = 1;
            points.push_back(lv.pos[p]);
            const int next = p == lv.end1[cur] ? lv.end2[cur] : lv.end1[cur];
            if (degree[next] != 2) {
                points.push_back(lv.pos[next]);
                break;
            }
            const int follow = at[next][0] != cur ? at[next][0] : at[next][1];
            if (used[follow]) {
                points.push_back(lv.pos[next]);
                break;
            }
            p = next;
            cur = follow;
        }
        StoreContourPolyline(doc, points, level);
        ++added;
    }
    return added > 0 ? 0 : -1;
}

}  // namespace wv

#include "calc/contour_trace.h"

#include "calc/calc_doc_data.h"
#include "calc/parallel.h"

#include <algorithm>
#include <cmath>
#include <unordered_set>
#include <utility>

namespace wv {

namespace {

// A node lies on the level within this; a triangle is looked at when the level lies
// within this of its range.
constexpr double kOnLevel = 0.0000001;
// Levels below this (depth 0, the shore) are never traced.
constexpr double kLowestLevel = 0.0001;
// Segment ends recorded per crossing. The triangulation puts at most 8 triangles round a
// node; a damaged file may put more, and those ends are left out of the chaining.
constexpr int kMaxDegree = 32;

// Sort key of a crossing (a, b): a is a node number, b a node number or -1.
std::uint64_t PairKey(int a, int b) {
    return (static_cast<std::uint64_t>(static_cast<std::uint32_t>(a)) << 32) |
           static_cast<std::uint32_t>(b + 1);
}

// Calls fn(i) for i in [0, n), in blocks of many items on the runner's threads (one
// block at a time keeps the pool's bookkeeping out of the way), or in a plain loop.
template <class F>
void ForBlocks(ParallelRunner* runner, int n, const F& fn) {
    constexpr int kBlock = 1 << 14;
    if (!runner || n <= kBlock) {
        for (int i = 0; i < n; ++i) fn(i);
        return;
    }
    runner->For(0, (n + kBlock - 1) / kBlock, [&](int b) {
        const int end = std::min(n, (b + 1) * kBlock);
        for (int i = b * kBlock; i < end; ++i) fn(i);
    });
}

}  // namespace

struct ContourScratch {
    std::vector<int> rawA, rawB;  // crossings as the triangles give them
    std::vector<int> segRaw;      // 2 per segment: raw crossing indices
    // Edges a segment was made along in this level. Only edges lying on the level go in,
    // few in any mesh, so a set beats a table over all edges that would have to be cleared.
    std::unordered_set<int> edgeDone;
    std::vector<std::pair<std::uint64_t, int>> keys;
    std::vector<int> rawToEntry;
    std::vector<int> degree, first, filled, list;
    std::vector<std::uint8_t> used;
};

void ContourScratchDeleter::operator()(ContourScratch* s) const { delete s; }

ContourScratchPtr MakeContourScratch() { return ContourScratchPtr(new ContourScratch()); }

void PrepareContourField(const CTydDocData& doc, int figure, ContourField& f, ParallelRunner* runner) {
    const CDigitalMap& mesh = doc.m_mesh;
    const bool depth = figure == kDepthFigure;
    const int ratio = (figure == 0 || figure == 1) ? 0 : 1;
    const std::vector<float>& mins = depth ? doc.m_pTriMinDepth : doc.m_pTriMinValue[ratio];
    const std::vector<float>& maxs = depth ? doc.m_pTriMaxDepth : doc.m_pTriMaxValue[ratio];

    // Tables that do not agree with the count (a document being reset, a damaged file)
    // limit the triangles that are looked at.
    std::size_t T = static_cast<std::size_t>(std::max(0, doc.m_nTriNodes));
    T = std::min({T, doc.m_pTriNodeA.size() / 3, doc.m_pTriNodeB.size() / 3, mins.size(), maxs.size()});
    if (figure != kDepthFigure && (figure < 0 || figure > 3)) T = 0;
    f.triangles = static_cast<int>(T);
    f.edges = std::max(0, doc.m_triLine.GetCount());
    f.triEdges = doc.m_pTriNodeA.data();
    f.triNodes = doc.m_pTriNodeB.data();

    const int nodes = std::max(0, mesh.GetCount());
    const double h0 = mesh.GetWaveHeight();
    f.value.resize(static_cast<std::size_t>(nodes));
    f.x.resize(static_cast<std::size_t>(nodes));
    f.y.resize(static_cast<std::size_t>(nodes));
    ForBlocks(runner, nodes, [&](int i) {
        const CCalValue v = mesh.GetAt(i);
        f.value[i] = depth ? static_cast<double>(v.GetDepth()) : v.GetValue(figure, h0);
        f.x[i] = v.GetPos().m_fX;
        f.y[i] = v.GetPos().m_fY;
    });

    f.lowTol.resize(T);
    f.highTol.resize(T);
    f.never.assign(T, 0);
    ForBlocks(runner, static_cast<int>(T), [&](int t) {
        double lo = mins[t], hi = maxs[t];
        if (figure == 0 || figure == 2) {
            lo = h0 * mins[t];
            hi = h0 * maxs[t];
        }
        f.lowTol[t] = lo - kOnLevel;
        f.highTol[t] = hi + kOnLevel;
        bool never = std::isnan(f.lowTol[t]) || std::isnan(f.highTol[t]);
        // A negative result is the solver's "no value".
        if (!depth && lo < 0.0) never = true;
        for (int u = 0; u < 3; ++u) {
            const int n = f.triNodes[3 * t + u];
            const int e = f.triEdges[3 * t + u];
            if (n < 0 || n >= nodes || e < 0 || e >= f.edges) never = true;
        }
        f.never[t] = never ? 1 : 0;
    });
}

namespace {

// The crossings and the segment of triangle t at level L.
void CrossTriangle(const ContourField& f, int t, double L, ContourScratch& s) {
    if (f.never[t] || !(f.lowTol[t] <= L && L <= f.highTol[t])) return;
    const int* n = f.triNodes + 3 * static_cast<std::size_t>(t);
    const double v[3] = {f.value[n[0]], f.value[n[1]], f.value[n[2]]};
    const std::size_t first = s.rawA.size();
    int mask = 0;
    for (int u = 0; u < 3; ++u)
        if (std::fabs(v[u] - L) < kOnLevel) {
            s.rawA.push_back(n[u]);
            s.rawB.push_back(-1);
            mask |= 1 << u;
        }
    if (mask == 7) {  // flat on the level: no direction to draw
        s.rawA.resize(first);
        s.rawB.resize(first);
        return;
    }
    auto edge = [&](int u) {
        const int w = (u + 1) % 3;
        if ((v[u] > L && v[w] < L) || (v[u] < L && v[w] > L)) {
            s.rawA.push_back(std::min(n[u], n[w]));
            s.rawB.push_back(std::max(n[u], n[w]));
        }
    };
    switch (mask) {
        case 0: edge(0); edge(1); edge(2); break;
        case 1: edge(1); break;
        case 2: edge(2); break;
        case 4: edge(0); break;
        default: break;  // two nodes on the level: the segment is the edge between them
    }
    if (s.rawA.size() - first != 2) {
        s.rawA.resize(first);
        s.rawB.resize(first);
        return;
    }
    if (s.rawB[first] == -1 && s.rawB[first + 1] == -1) {
        // Both neighbours of an edge on the level would draw it: only the first does.
        const int slot = mask == 3 ? 0 : (mask == 6 ? 1 : 2);
        const int e = f.triEdges[3 * static_cast<std::size_t>(t) + slot];
        if (!s.edgeDone.insert(e).second) return;
    }
    s.segRaw.push_back(static_cast<int>(first));
    s.segRaw.push_back(static_cast<int>(first + 1));
}

// Chains the level's segments into polylines: open ends, then junctions, then loops,
// each from the unused segment of lowest number. The candidates of a phase never gain
// members (degrees are fixed, used segments stay used), so each phase keeps a cursor.
void ChainSegments(ContourLevel& out, ContourScratch& s) {
    const int E = static_cast<int>(out.entryA.size());
    const int S = out.Segments();
    const int* seg = out.seg.data();
    s.degree.assign(E, 0);
    for (int k = 0; k < 2 * S; ++k)
        if (s.degree[seg[k]] < kMaxDegree) ++s.degree[seg[k]];
    s.first.assign(static_cast<std::size_t>(E) + 1, 0);
    for (int e = 0; e < E; ++e) s.first[e + 1] = s.first[e] + s.degree[e];
    s.filled.assign(E, 0);
    s.list.resize(static_cast<std::size_t>(s.first[E]));
    for (int k = 0; k < 2 * S; ++k) {
        const int e = seg[k];
        if (s.filled[e] < s.degree[e]) s.list[s.first[e] + s.filled[e]++] = k / 2;
    }
    const int* deg = s.degree.data();
    s.used.assign(S, 0);

    out.lineStart.assign(1, 0);
    out.linePts.clear();
    int phase = 1, c1 = 0, c2 = 0, c3 = 0;
    for (;;) {
        int cur = -1, p = -1;
        if (phase == 1) {
            while (c1 < S && (s.used[c1] || (deg[seg[2 * c1]] != 1 && deg[seg[2 * c1 + 1]] != 1))) ++c1;
            if (c1 < S) {
                cur = c1;
                p = deg[seg[2 * c1]] == 1 ? seg[2 * c1] : seg[2 * c1 + 1];
            } else {
                phase = 2;
            }
        }
        if (phase == 2) {
            while (c2 < S && (s.used[c2] || (deg[seg[2 * c2]] <= 2 && deg[seg[2 * c2 + 1]] <= 2))) ++c2;
            if (c2 < S) {
                cur = c2;
                p = deg[seg[2 * c2]] > 2 ? seg[2 * c2] : seg[2 * c2 + 1];
            } else {
                phase = 3;
            }
        }
        if (phase == 3) {
            while (c3 < S && s.used[c3]) ++c3;
            if (c3 >= S) break;
            cur = c3;
            p = seg[2 * c3];
        }
        for (;;) {
            s.used[cur] = 1;
            out.linePts.push_back(p);
            const int a = seg[2 * cur], b = seg[2 * cur + 1];
            const int next = p == a ? b : a;
            if (deg[next] != 2) {
                out.linePts.push_back(next);
                break;
            }
            const int* l = &s.list[s.first[next]];
            const int follow = l[0] != cur ? l[0] : l[1];
            if (s.used[follow]) {  // back at the start of a loop, or at a used path
                out.linePts.push_back(next);
                break;
            }
            p = next;
            cur = follow;
        }
        out.lineStart.push_back(static_cast<int>(out.linePts.size()));
    }
}

}  // namespace

void TraceContourLevel(const ContourField& f, double L, const int* triangles, int count, bool chain,
                       ContourScratch& s, ContourLevel& out) {
    out = ContourLevel();
    out.level = L;
    if (L < kLowestLevel) return;

    s.rawA.clear();
    s.rawB.clear();
    s.segRaw.clear();
    s.edgeDone.clear();
    if (triangles) {
        for (int i = 0; i < count; ++i) CrossTriangle(f, triangles[i], L, s);
    } else {
        for (int t = 0; t < count && t < f.triangles; ++t) CrossTriangle(f, t, L, s);
    }
    if (s.segRaw.empty()) return;

    // Crossings sorted by (first node, second node) with repeats dropped: the entry of a
    // crossing is its rank among the distinct pairs, whatever sort finds them.
    const std::size_t raw = s.rawA.size();
    s.keys.resize(raw);
    for (std::size_t i = 0; i < raw; ++i) s.keys[i] = {PairKey(s.rawA[i], s.rawB[i]), static_cast<int>(i)};
    std::sort(s.keys.begin(), s.keys.end());
    s.rawToEntry.resize(raw);
    int entries = 0;
    for (std::size_t i = 0; i < raw; ++i) {
        if (i == 0 || s.keys[i].first != s.keys[i - 1].first) {
            const int r = s.keys[i].second;
            out.entryA.push_back(s.rawA[r]);
            out.entryB.push_back(s.rawB[r]);
            ++entries;
        }
        s.rawToEntry[s.keys[i].second] = entries - 1;
    }

    out.pos.resize(static_cast<std::size_t>(entries));
    for (int i = 0; i < entries; ++i) {
        const int a = out.entryA[i], b = out.entryB[i];
        if (b < 0) {
            out.pos[i] = CPointF(f.x[a], f.y[a]);
            continue;
        }
        const double va = f.value[a], vb = f.value[b];
        const double xa = f.x[a], ya = f.y[a], xb = f.x[b], yb = f.y[b];
        out.pos[i] = CPointF(static_cast<float>(xa + (xb - xa) * (L - va) / (vb - va)),
                             static_cast<float>(ya + (yb - ya) * (L - va) / (vb - va)));
    }

    const std::size_t S = s.segRaw.size() / 2;
    out.seg.resize(2 * S);
    for (std::size_t j = 0; j < S; ++j) {
        const int e1 = s.rawToEntry[s.segRaw[2 * j]], e2 = s.rawToEntry[s.segRaw[2 * j + 1]];
        out.seg[2 * j] = std::min(e1, e2);
        out.seg[2 * j + 1] = std::max(e1, e2);
    }
    if (chain) ChainSegments(out, s);
}

void AppendDepthLevel(CTydDocData& doc, const ContourLevel& lv) {
    const int entries = static_cast<int>(lv.pos.size());
    const int S = lv.Segments();
    if (entries == 0 || S == 0) return;
    CHCheckPoint& pts = doc.m_hcheckPoints;
    CHCheckLine& lines = doc.m_hcheckLines;
    const int p = pts.GetCount();
    pts.Extend(entries);
    const float level = static_cast<float>(lv.level);
    for (int i = 0; i < entries; ++i) {
        pts.SetPoint(p + i, lv.pos[i]);
        pts.SetValue(p + i, level);
    }
    const int s0 = lines.GetCount();
    lines.Extend(S);
    for (int j = 0; j < S; ++j) {
        lines.SetStart(s0 + j, p + lv.seg[2 * j]);
        lines.SetEnd(s0 + j, p + lv.seg[2 * j + 1]);
    }
}

void StoreContourPolyline(CTydDocData& doc, const std::vector<CPointF>& points, double level) {
    CContGroup& g = doc.m_contGroup;
    if (g.GetCount() < 0) g.SetCount(0);
    if (g.GetCount() >= g.GetCapacity()) g.Grow();
    const int i = g.GetCount();
    if (i >= g.GetCapacity()) return;  // the group cannot hold another polyline
    const int n = static_cast<int>(points.size());
    g.SetPointCount(i, n);
    g.AllocPoints(i);
    for (int j = 0; j < n; ++j) g.SetPoint(i, j, CContPoint(points[j]));
    g.SetLevel(i, level);
    g.SetCount(i + 1);
    if (g.GetCount() == g.GetCapacity()) g.Grow();
}

bool AppendResultLevel(CTydDocData& doc, const ContourLevel& lv) {
    const int lines = lv.Lines();
    std::vector<CPointF> points;
    for (int k = 0; k < lines; ++k) {
        points.clear();
        for (int q = lv.lineStart[k]; q < lv.lineStart[k + 1]; ++q) points.push_back(lv.pos[lv.linePts[q]]);
        StoreContourPolyline(doc, points, lv.level);
    }
    return lines > 0;
}

void BuildContourBuckets(const ContourField& f, const std::vector<double>& levels, ContourBuckets& out,
                         ParallelRunner* runner) {
    std::vector<double> u;
    for (double L : levels)
        if (L >= kLowestLevel) u.push_back(L);
    std::sort(u.begin(), u.end());
    u.erase(std::unique(u.begin(), u.end()), u.end());
    const int B = static_cast<int>(u.size());
    out.levelSlot.resize(levels.size());
    for (std::size_t i = 0; i < levels.size(); ++i)
        out.levelSlot[i] = levels[i] >= kLowestLevel
                               ? static_cast<int>(std::lower_bound(u.begin(), u.end(), levels[i]) - u.begin())
                               : -1;

    // Per triangle the run of levels its range spans: the levels are sorted, so the ones
    // with range minimum - tolerance <= L <= range maximum + tolerance are consecutive.
    const int T = f.triangles;
    std::vector<int> lowSlot(T), highSlot(T);
    auto span = [&](int t) {
        if (f.never[t] || B == 0) {
            lowSlot[t] = 0;
            highSlot[t] = -1;
            return;
        }
        lowSlot[t] = static_cast<int>(std::lower_bound(u.begin(), u.end(), f.lowTol[t]) - u.begin());
        highSlot[t] = static_cast<int>(std::upper_bound(u.begin(), u.end(), f.highTol[t]) - u.begin()) - 1;
    };
    ForBlocks(runner, T, span);

    out.start.assign(static_cast<std::size_t>(B) + 1, 0);
    for (int t = 0; t < T; ++t)
        for (int k = lowSlot[t]; k <= highSlot[t]; ++k) ++out.start[k + 1];
    for (int k = 0; k < B; ++k) out.start[k + 1] += out.start[k];
    out.tris.resize(static_cast<std::size_t>(out.start[B]));
    std::vector<long long> fill(out.start.begin(), out.start.end() - 1);
    for (int t = 0; t < T; ++t)
        for (int k = lowSlot[t]; k <= highSlot[t]; ++k) out.tris[fill[k]++] = t;
}

// ---- the document's single-level tracers ------------------------------------------

void CTydDocData::TraceDepthContour(double level) {
    ContourField f;
    PrepareContourField(*this, kDepthFigure, f);
    ContourScratchPtr s = MakeContourScratch();
    ContourLevel lv;
    TraceContourLevel(f, level, nullptr, f.triangles, false, *s, lv);
    AppendDepthLevel(*this, lv);
}

int CTydDocData::TraceResultContour(int kind, double level) {
    if (kind < 0 || kind >= kValueTypes) return -1;
    ContourField f;
    PrepareContourField(*this, kind, f);
    ContourScratchPtr s = MakeContourScratch();
    ContourLevel lv;
    TraceContourLevel(f, level, nullptr, f.triangles, true, *s, lv);
    return AppendResultLevel(*this, lv) ? 0 : -1;
}

}  // namespace wv

// The user's marks on the result contours (value labels, erased segments) kept as
// positions that survive retracing and saving: (level, ordinal of the polyline among the
// polylines of that level, index of the segment's start point). And the triangulation
// edge under the mouse for the contour insertion.
#include "calc/calc_doc_data.h"
#include "core/geometry.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace wv {

namespace {

// Levels of one contour match within this.
constexpr double kLevelTol = 0.0001;

bool HasFlag(const CContPoint& p, bool erased) { return erased ? p.m_nLine == 0 : p.m_nLabel == 1; }

void Collect(const CContGroup& group, CContHgtPos& set, bool erased) {
    const int lines = group.GetCount();
    if (lines <= 0) return;  // a figure without contours keeps the marks it had
    set.Free();
    set.SetCount(0);
    long long marked = 0;
    for (int i = 0; i < lines; ++i)
        for (int j = 0; j <= group.GetPointCount(i) - 2; ++j)
            if (HasFlag(group.GetPoint(i, j), erased)) ++marked;
    if (marked == 0) return;
    const int total = static_cast<int>(std::min<long long>(marked, INT32_MAX));
    set.SetCount(total);
    set.Alloc();
    double level = 99999999.999;
    int ordinal = 0, written = 0;
    for (int i = 0; i < lines && written < total; ++i) {
        if (std::fabs(group.GetLevel(i) - level) > kLevelTol) {
            level = group.GetLevel(i);
            ordinal = 0;
        }
        for (int j = 0; j <= group.GetPointCount(i) - 2 && written < total; ++j) {
            if (!HasFlag(group.GetPoint(i, j), erased)) continue;
            set.SetLevel(written, level);
            set.SetLineNo(written, ordinal);
            set.SetPointNo(written, j);
            ++written;
        }
        ++ordinal;
    }
}

// A run of polylines of one level, as Collect counts ordinals: it starts at a polyline
// whose level differs from the run before by more than the tolerance, and its level is
// that of its first polyline.
struct LevelRun {
    double level;
    int first;
    int count;
};

std::vector<LevelRun> LevelRuns(const CContGroup& group) {
    std::vector<LevelRun> runs;
    const int lines = group.GetCount();
    int q = 0;
    while (q < lines) {
        const double L = group.GetLevel(q);
        int end = q + 1;
        while (end < lines && std::fabs(group.GetLevel(end) - L) <= kLevelTol) ++end;
        runs.push_back({L, q, end - q});
        q = end;
    }
    return runs;
}

// Each entry marks the polyline that has its ordinal within one run of polylines: of the
// runs whose level lies within the tolerance of the entry's, the one whose level is
// closest (the one of exactly its level when there is one; the lower level, then the
// earlier run, on a tie). An extra level just off a ladder level is traced as a run of
// its own, and a mark on one of them must not land on the other as well. An entry whose
// ordinal lies beyond the polylines of its run, or whose point is not a segment start of
// that polyline, marks nothing.
void Apply(CContGroup& group, const CContHgtPos& set, bool erased) {
    const int lines = group.GetCount();
    const int n = set.GetCount();
    if (lines <= 0 || n <= 0) return;
    // Runs by level, so that each entry finds its candidates by a search.
    std::vector<LevelRun> runs = LevelRuns(group);
    std::erase_if(runs, [](const LevelRun& r) { return std::isnan(r.level); });
    std::stable_sort(runs.begin(), runs.end(),
                     [](const LevelRun& a, const LevelRun& b) { return a.level < b.level; });

    for (int e = 0; e < n; ++e) {
        const double level = set.GetLevel(e);
        if (std::isnan(level)) continue;  // a level that is no number matches none
        auto it = std::lower_bound(runs.begin(), runs.end(), level - kLevelTol,
                                   [](const LevelRun& r, double v) { return r.level < v; });
        const LevelRun* best = nullptr;
        for (; it != runs.end() && it->level <= level + kLevelTol; ++it) {
            const double d = std::fabs(it->level - level);
            if (d <= kLevelTol && (!best || d < std::fabs(best->level - level))) best = &*it;
        }
        if (!best) continue;
        const int ordinal = set.GetLineNo(e);
        const int point = set.GetPointNo(e);
        if (ordinal < 0 || ordinal >= best->count) continue;
        const int line = best->first + ordinal;
        if (point < 0 || point > group.GetPointCount(line) - 2) continue;
        CContPoint p = group.GetPoint(line, point);
        if (erased) p.m_nLine = 0;
        else p.m_nLabel = 1;
        group.SetPoint(line, point, p);
    }
}

bool ValidFigure(int k) { return k >= 0 && k < kValueTypes; }

}  // namespace

void CTydDocData::CollectContHgtPos(int figure) {
    if (ValidFigure(figure)) Collect(m_contGroup, m_labelPos[figure], false);
}

void CTydDocData::ApplyContHgtPos(int figure) {
    if (ValidFigure(figure)) Apply(m_contGroup, m_labelPos[figure], false);
}

void CTydDocData::CollectContHgtPosB(int figure) {
    if (ValidFigure(figure)) Collect(m_contGroup, m_labelPos2[figure], true);
}

void CTydDocData::ApplyContHgtPosB(int figure) {
    if (ValidFigure(figure)) Apply(m_contGroup, m_labelPos2[figure], true);
}

int CTydDocData::PickTriLine(double x, double y) const {
    const double t = 2.0 * m_calcArea.GetMeshSize();
    double best = t;
    int result = -1;
    double tie = -1.0;
    const int edges = m_triLine.GetCount();
    for (int e = 0; e < edges; ++e) {
        const CTriLineZokusei edge = m_triLine.GetAt(e);
        const CPointF p1 = m_mesh.GetAt(edge.GetNode1()).GetPos();
        const CPointF p2 = m_mesh.GetAt(edge.GetNode2()).GetPos();
        const double x1 = p1.m_fX, y1 = p1.m_fY, x2 = p2.m_fX, y2 = p2.m_fY;
        const double mx = (x1 + x2) / 2.0, my = (y1 + y2) / 2.0;
        if (!(std::fabs(mx - x) <= t && std::fabs(my - y) <= t)) continue;
        double fx = 0.0, fy = 0.0;
        const int on = ProjectPointOnSegment(x1, y1, x2, y2, x, y, &fx, &fy, 1);
        double dist, value;
        if (on == 0) {
            dist = std::sqrt((fx - x) * (fx - x) + (fy - y) * (fy - y));
            value = fx;
        } else {
            // Off the segment (or an edge of no length, which has no foot): the nearer end.
            const double d1 = std::sqrt((x1 - x) * (x1 - x) + (y1 - y) * (y1 - y));
            const double d2 = std::sqrt((x2 - x) * (x2 - x) + (y2 - y) * (y2 - y));
            dist = std::min(d1, d2);
            value = on == 1 ? fx : 0.0;
        }
        if (dist > best + 0.0000000001) continue;
        if (std::fabs(dist - best) >= 0.0000000001) {
            best = dist;
            result = e;
        } else if (tie < 0.0 || tie >= value) {
            result = e;
            tie = value;
        }
    }
    return result;
}

}  // namespace wv

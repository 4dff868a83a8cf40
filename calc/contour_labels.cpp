// The user's marks on the result contours (value labels, erased segments) kept as
// positions that survive retracing and saving: (level, ordinal of the polyline among the
// polylines of that level, index of the segment's start point). And the triangulation
// edge under the mouse for the contour insertion.
#include "calc/calc_doc_data.h"
#include "core/geometry.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

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

// Each entry marks the polyline that has its ordinal within the run of polylines of its
// level, and only that one: an entry whose ordinal lies beyond the polylines of its level,
// or whose point is not a segment start of that polyline, marks nothing.
void Apply(CContGroup& group, const CContHgtPos& set, bool erased) {
    const int lines = group.GetCount();
    const int n = set.GetCount();
    if (lines <= 0 || n <= 0) return;
    // Entries by level, so that each run of polylines finds its entries by a search.
    std::vector<int> order;
    for (int e = 0; e < n; ++e)
        if (!std::isnan(set.GetLevel(e))) order.push_back(e);  // a level that is no number matches none
    std::stable_sort(order.begin(), order.end(),
                     [&](int a, int b) { return set.GetLevel(a) < set.GetLevel(b); });
    std::vector<double> sorted(order.size());
    for (std::size_t k = 0; k < order.size(); ++k) sorted[k] = set.GetLevel(order[k]);

    int q = 0;
    while (q < lines) {
        const double L = group.GetLevel(q);
        int end = q + 1;
        while (end < lines && std::fabs(group.GetLevel(end) - L) <= kLevelTol) ++end;
        auto it = std::lower_bound(sorted.begin(), sorted.end(), L - kLevelTol);
        for (std::size_t k = static_cast<std::size_t>(it - sorted.begin()); k < sorted.size(); ++k) {
            const int e = order[k];
            const double level = set.GetLevel(e);
            if (level > L + kLevelTol) break;
            if (!(std::fabs(level - L) <= kLevelTol)) continue;
            const int ordinal = set.GetLineNo(e);
            const int point = set.GetPointNo(e);
            if (ordinal < 0 || ordinal >= end - q) continue;
            const int line = q + ordinal;
            if (point < 0 || point > group.GetPointCount(line) - 2) continue;
            CContPoint p = group.GetPoint(line, point);
            if (erased) p.m_nLine = 0;
            else p.m_nLabel = 1;
            group.SetPoint(line, point, p);
        }
        q = end;
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

#include "core/contour.h"
#include "core/messages.h"

#include "core/geometry.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace wv {

// ---- CContPara -----------------------------------------------------------------------

void CContPara::SetLevels(const double* src) {
    if (m_nLevel <= 0 || !src) return;
    m_pLevel.assign(src, src + m_nLevel);
}

void CContPara::AllocLevels() {
    if (m_nLevel > 0) m_pLevel.assign(m_nLevel, 0.0);
}

void CContPara::Serialize(CArchive& ar, unsigned nVersion) {
    if (ar.IsStoring()) {
        ar << m_nDefined << m_dFrom << m_dTo << m_dInterval << m_nLevel;
        for (int i = 0; i < m_nLevel; ++i)
            ar << (static_cast<std::size_t>(i) < m_pLevel.size() ? m_pLevel[i] : 0.0);
        ar << m_dColorFrom << m_dColorTo;
        return;
    }
    CContPara r(*this);
    // Files up to version 5 had no defined flag; their figures count as not yet set.
    if (nVersion > 5) ar >> r.m_nDefined;
    ar >> r.m_dFrom >> r.m_dTo >> r.m_dInterval >> r.m_nLevel;
    ar.CheckCount(r.m_nLevel, INT_MAX, 8, msg::kWhatExtraLevels);
    r.m_pLevel.assign(r.m_nLevel, 0.0);
    for (double& v : r.m_pLevel) ar >> v;
    if (r.m_nLevel == 0) r.m_pLevel.clear();
    ar >> r.m_dColorFrom >> r.m_dColorTo;
    *this = std::move(r);
}

// ---- CContHgtPos ---------------------------------------------------------------------

void CContHgtPos::Alloc() {
    if (m_nCount <= 0) return;
    m_pLevel.assign(m_nCount, 0.0);
    m_pLineNo.assign(m_nCount, 0);
    m_pPointNo.assign(m_nCount, 0);
}

void CContHgtPos::Free() {
    std::vector<double>().swap(m_pLevel);
    std::vector<int>().swap(m_pLineNo);
    std::vector<int>().swap(m_pPointNo);
}

void CContHgtPos::Serialize(CArchive& ar, unsigned) {
    if (ar.IsStoring()) {
        ar << m_nCount;
        for (int i = 0; i < m_nCount; ++i) ar << GetLevel(i) << GetLineNo(i) << GetPointNo(i);
        return;
    }
    CContHgtPos r;
    ar >> r.m_nCount;
    ar.CheckCount(r.m_nCount, INT_MAX, 16, msg::kWhatMarkedSegments);
    r.Alloc();
    for (int i = 0; i < r.m_nCount; ++i) {
        ar >> r.m_pLevel[i] >> r.m_pLineNo[i] >> r.m_pPointNo[i];
        CArchive::CheckRange(r.m_pLineNo[i], 0, INT_MAX, msg::kWhatContourLineNo);
        CArchive::CheckRange(r.m_pPointNo[i], 0, INT_MAX, msg::kWhatContourPointNo);
    }
    *this = std::move(r);
}

// ---- CContPoint, CContPolyLine -------------------------------------------------------

void CContPoint::Serialize(CArchive& ar, unsigned nVersion) {
    m_point.Serialize(ar, nVersion);
    if (ar.IsLoading()) {
        m_nLabel = 0;
        m_nSelect = 0;
        m_nLine = 1;
    }
}

void CContPolyLine::AllocPoints() {
    if (m_nCount > 0) m_points.assign(m_nCount, CContPoint());
}

void CContPolyLine::Serialize(CArchive& ar, unsigned nVersion) {
    if (ar.IsStoring()) {
        ar << m_nCount << m_dLevel;
        for (int j = 0; j < m_nCount; ++j) GetPoint(j).Serialize(ar, nVersion);
        return;
    }
    CContPolyLine r;
    ar >> r.m_nCount >> r.m_dLevel;
    ar.CheckCount(r.m_nCount, INT_MAX, 8, msg::kWhatContourPoints);
    r.AllocPoints();
    for (CContPoint& p : r.m_points) p.Serialize(ar, nVersion);
    *this = std::move(r);
}

// ---- CContGroup ----------------------------------------------------------------------

void CContGroup::AllocLines() {
    // The polylines are created empty when first written; until then they read as empty.
    std::vector<CContPolyLine>().swap(m_lines);
}

CContPolyLine* CContGroup::Slot(int i) {
    if (i < 0 || i >= m_nCapacity) return nullptr;
    if (static_cast<std::size_t>(i) >= m_lines.size()) m_lines.resize(static_cast<std::size_t>(i) + 1);
    return &m_lines[i];
}

void CContGroup::Grow() {
    // A group that was never given a step (the default, and what a reset leaves) still
    // has to make room: the tracer writes the next polyline right after growing.
    const long long step = m_nGrowBy > 0 ? m_nGrowBy : std::max(100, m_nCapacity);
    m_nCapacity = static_cast<int>(std::min<long long>(INT_MAX, (long long)m_nCapacity + step));
    if (m_nCapacity <= 0 || m_nCapacity <= m_nCount) return;
    // Polylines in use keep their points; one without points, and every polyline beyond
    // the count, starts out empty again.
    const std::size_t keep = std::min(m_lines.size(), static_cast<std::size_t>(std::max(m_nCount, 0)));
    m_lines.resize(keep);
    for (CContPolyLine& l : m_lines)
        if (!l.HasPoints()) l = CContPolyLine();
}

template <class F>
void CContGroup::ForEachLineInUse(F f) {
    for (int i = 0; i < m_nCount; ++i)
        if (InUse(i)) f(m_lines[i]);
}

void CContGroup::HitTest(double x, double y, double tolerance, int* line, int* segment) const {
    if (line) *line = -1;
    double best = 2.0 * tolerance;
    const double box = 4.0 * tolerance;
    for (int i = 0; i < m_nCount; ++i) {
        if (!InUse(i)) continue;
        const CContPolyLine& l = m_lines[i];
        for (int j = 0; j + 1 < l.GetCount(); ++j) {
            const CContPoint a = l.GetPoint(j);
            if (a.m_nLine == 0) continue;
            const double ax = a.m_point.m_fX, ay = a.m_point.m_fY;
            // The square around the start point keeps the search cheap on large figures.
            if (!(std::fabs(ax - x) <= box && std::fabs(ay - y) <= box)) continue;
            const CContPoint b = l.GetPoint(j + 1);
            const double bx = b.m_point.m_fX, by = b.m_point.m_fY;
            double fx = 0.0, fy = 0.0;
            double dist;
            if (ProjectPointOnSegment(ax, ay, bx, by, x, y, &fx, &fy, 1) == 0) {
                dist = std::sqrt((fx - x) * (fx - x) + (fy - y) * (fy - y));
            } else {
                const double da = std::sqrt((ax - x) * (ax - x) + (ay - y) * (ay - y));
                const double db = std::sqrt((bx - x) * (bx - x) + (by - y) * (by - y));
                dist = std::min(da, db);
            }
            if (dist <= best) {
                best = dist;
                if (line) *line = i;
                if (segment) *segment = j;
            }
        }
    }
}

void CContGroup::ToggleRunSelect(int i, int j) {
    if (!InUse(i)) return;
    CContPolyLine& l = m_lines[i];
    const CContPoint* pj = l.PointAt(j);
    if (!pj) return;
    const std::int16_t sel = pj->m_nSelect == 0 ? 1 : 0;
    for (int k = j; k <= l.GetCount() - 2; ++k) {
        CContPoint* p = l.PointAt(k);
        if (!p || p->m_nLine == 0) break;
        p->m_nSelect = sel;
    }
    for (int k = j - 1; k >= 0; --k) {
        CContPoint* p = l.PointAt(k);
        if (!p || p->m_nLine == 0) break;
        p->m_nSelect = sel;
    }
}

bool CContGroup::SelectPointsInArea(CPointD origin, double angle, const CPointList* polygon) {
    const int sense = GetPolygonOrientation(polygon);
    const double a = -angle * 3.141592653589793 / 180.0;
    const double c = std::cos(a);
    const double s = std::sin(a);
    bool any = false;
    ForEachLineInUse([&](CContPolyLine& l) {
        for (int j = 0; j < l.GetCount(); ++j) {
            CContPoint* p = l.PointAt(j);
            if (!p) break;
            double wx = 0.0, wy = 0.0;
            WorldToScreen(p->m_point.m_fX, p->m_point.m_fY, 0.0, 0.0, c, s, 1.0, origin.m_dX,
                          origin.m_dY, &wx, &wy);
            if (LocatePointInPolygon(wx, wy, sense, polygon) == 0) {
                p->m_nSelect = 1;
                any = true;
            }
        }
    });
    return any;
}

void CContGroup::ClearSelect() {
    ForEachLineInUse([](CContPolyLine& l) {
        for (int j = 0; j < l.GetCount(); ++j)
            if (CContPoint* p = l.PointAt(j)) p->m_nSelect = 0;
    });
}

void CContGroup::EraseSelectedRuns() {
    ForEachLineInUse([](CContPolyLine& l) {
        for (int j = 0; j <= l.GetCount() - 2; ++j) {
            CContPoint* p = l.PointAt(j);
            if (p && p->m_nSelect != 0) {
                p->m_nSelect = 0;
                p->m_nLine = 0;
            }
        }
    });
}

void CContGroup::EraseSelectedSegments() {
    ForEachLineInUse([](CContPolyLine& l) {
        const int last = l.GetCount() - 2;
        for (int j = 0; j <= last; ++j) {
            CContPoint* a = l.PointAt(j);
            CContPoint* b = l.PointAt(j + 1);
            if (!a || !b) break;
            // B's selection is still the one it had before this step: it is cleared only
            // when B becomes the A of the next step, or at the last segment below.
            if (a->m_nSelect == 1) {
                a->m_nSelect = 0;
                if (b->m_nSelect == 1) a->m_nLine = 0;
            }
            if (j == last && b->m_nSelect == 1) b->m_nSelect = 0;
        }
    });
}

void CContGroup::Serialize(CArchive& ar, unsigned nVersion) {
    if (ar.IsStoring()) {
        ar << m_nCount << m_nCapacity << m_nGrowBy;
        for (int i = 0; i < m_nCount; ++i) {
            if (InUse(i))
                m_lines[i].Serialize(ar, nVersion);
            else
                CContPolyLine().Serialize(ar, nVersion);
        }
        return;
    }
    int count = 0, capacity = 0, growBy = 0;
    ar >> count >> capacity >> growBy;
    CArchive::CheckRange(capacity, 0, INT_MAX, msg::kWhatContourCapacity);
    // A polyline in the file is at least its point count and level: 12 bytes.
    ar.CheckCount(count, capacity, 12, msg::kWhatContourLines);
    std::vector<CContPolyLine> lines(count);
    for (CContPolyLine& l : lines) l.Serialize(ar, nVersion);
    m_nCount = count;
    m_nCapacity = capacity;
    m_nGrowBy = growBy;
    m_lines = std::move(lines);
}

}  // namespace wv

#include "core/polygon.h"

#include "core/geometry.h"

#include <cmath>
#include <vector>

namespace wv {

namespace {

// The winding sum of a full turn is 2 pi; this absorbs its rounding.
constexpr double kWindingTolerance = 0.001;
// A new vertex this close to an existing one in x and in y is the same point.
constexpr double kSamePoint = 0.001;
// An edge whose ends are seen from the point in directions this close to opposite
// passes through the point.
constexpr double kOppositeTolerance = 1e-12;
// The turned y of the view frame.
constexpr double kTurnY = 30000.0;

double SeenAngle(double px, double py, double vx, double vy) {
    double a = std::atan2(vy - py, vx - px);
    if (a < 0.0) a += kTwoPi;
    return a;
}

// Accumulates the winding sum of a walk round a point. A point on a vertex or on an edge
// gives that edge a half turn of either sign, which would swing the sum between 0 and
// 2 pi by rounding alone, so such a point is flagged as on the boundary instead.
class WindingSum {
public:
    WindingSum(double x, double y) : m_x(x), m_y(y) {}

    void AddEdge(double vx, double vy, double wx, double wy) {
        if ((vx == m_x && vy == m_y) || (wx == m_x && wy == m_y)) {
            m_onBoundary = true;
            return;
        }
        double d = SeenAngle(m_x, m_y, vx, vy) - SeenAngle(m_x, m_y, wx, wy);
        if (d < -kPi) d += kTwoPi;
        if (d > kPi) d -= kTwoPi;
        if (std::fabs(std::fabs(d) - kPi) < kOppositeTolerance) m_onBoundary = true;
        m_sum += d;
    }

    double Sum() const { return m_sum; }
    bool OnBoundary() const { return m_onBoundary; }

private:
    double m_x, m_y;
    double m_sum = 0.0;
    bool m_onBoundary = false;
};

std::vector<CPointD> ToVector(const CPointList& list) {
    return std::vector<CPointD>(list.Points().begin(), list.Points().end());
}

bool Near(double a, double b) { return std::fabs(a - b) < kSamePoint; }

}  // namespace

bool IsOutsidePolygon(double x, double y, const CPointD* vertices, const double* turnedY, int n,
                      bool reverse) {
    if (vertices == nullptr || turnedY == nullptr || n < 1) return true;
    // The caller's vertex y values are already turned into the view frame; turn the
    // point the same way.
    WindingSum winding(x, kTurnY - y);
    for (int c = 0; c < n; ++c) {
        const int i = reverse ? n - c : c;
        const int j = reverse ? n - c - 1 : c + 1;
        winding.AddEdge(vertices[i].m_dX, turnedY[i], vertices[j].m_dX, turnedY[j]);
    }
    if (winding.OnBoundary()) return false;
    const double s = std::fabs(winding.Sum());
    if (std::fabs(s - kTwoPi) < kWindingTolerance) return false;
    return s < kWindingTolerance;
}

int LocatePointInPolygon(double x, double y, int reverse, const CPointList* list) {
    if (list == nullptr || list->IsEmpty()) return 2;
    std::vector<CPointD> pts = ToVector(*list);
    const int count = static_cast<int>(pts.size());
    WindingSum winding(x, y);
    for (int c = 0; c + 1 < count; ++c) {
        const int i = reverse ? count - 1 - c : c;
        const int j = reverse ? count - 2 - c : c + 1;
        winding.AddEdge(pts[i].m_dX, pts[i].m_dY, pts[j].m_dX, pts[j].m_dY);
    }
    if (winding.OnBoundary()) return 2;
    const double sum = winding.Sum();
    if (std::fabs(sum - kTwoPi) < kWindingTolerance) return 0;
    if (std::fabs(sum) < kWindingTolerance) return 1;
    return 2;
}

int GetPolygonOrientation(const CPointList* list) {
    if (list == nullptr || list->IsEmpty()) return -1;
    std::vector<CPointD> pts = ToVector(*list);
    const int count = static_cast<int>(pts.size());
    // Fewer than three distinct vertices have no sense of their own.
    if (count < 3) return 0;

    int v = -1;
    double minY = kUnsetCoord;
    for (int i = 0; i < count; ++i) {
        // Of equal minima the first wins; 1e-10 keeps a rounded copy from taking over.
        if (pts[i].m_dY < minY - 1e-10) {
            minY = pts[i].m_dY;
            v = i;
        }
    }
    if (v < 0) return 0;

    // The closing point repeats the head: the head's predecessor is the point before it,
    // and for an open list the tail's successor is taken to be the head.
    const int next = (v + 1 < count) ? v + 1 : 0;
    const int prev = (v == 0) ? count - 2 : v - 1;
    const double aN = std::atan2(pts[next].m_dY - pts[v].m_dY, pts[next].m_dX - pts[v].m_dX);
    const double aP = std::atan2(pts[prev].m_dY - pts[v].m_dY, pts[prev].m_dX - pts[v].m_dX);
    return (aN < aP) ? 1 : 0;
}

int SegmentCrossesPolygon(double x1, double y1, double x2, double y2, const CPointList* list) {
    if (list == nullptr || list->GetCount() < 2) return 0;
    std::vector<CPointD> pts = ToVector(*list);
    const int count = static_cast<int>(pts.size());
    const CPointD& first = pts[0];

    if (count > 2) {
        // The last edge ends where the new segment starts and always touches it.
        for (int i = 0; i + 2 < count; ++i) {
            double px, py;
            if (IntersectLines(x1, y1, x2, y2, pts[i].m_dX, pts[i].m_dY, pts[i + 1].m_dX,
                               pts[i + 1].m_dY, &px, &py) != 0)
                continue;
            const bool closesOnFirst = Near(x2, first.m_dX) && Near(y2, first.m_dY) &&
                                       Near(px, first.m_dX) && Near(py, first.m_dY);
            if (!closesOnFirst) return 1;
        }
    }
    // Going straight back along the last edge would fold the outline onto itself.
    const CPointD& beforeStart = pts[count - 2];
    if (Near(x2, beforeStart.m_dX) && Near(y2, beforeStart.m_dY)) return 1;
    return 0;
}

}  // namespace wv

#include "core/geometry.h"

#include <algorithm>
#include <cmath>

namespace wv {

namespace {

// Squared segment length below which a segment has no usable direction.
constexpr double kDegenerateLength2 = 1e-10;
// A foot of the perpendicular this close outside either end still counts as on the segment.
constexpr double kFootLow = -1e-9;
constexpr double kFootHigh = 1.000000001;
// |cross product| below which two lines count as parallel.
constexpr double kParallel = 1e-10;

bool OutsideRect(double x, double y, const CPointD& lo, const CPointD& hi) {
    return x > hi.m_dX || x < lo.m_dX || y > hi.m_dY || y < lo.m_dY;
}

}  // namespace

int WorldToScreen(double x, double y, double originX, double originY, double cosA, double sinA,
                  double scale, double offsetX, double offsetY, double* outX, double* outY) {
    const double dx = x - originX;
    const double dy = y - originY;
    *outX = (dx * cosA + dy * sinA) * scale + offsetX;
    *outY = (dy * cosA - dx * sinA) * scale + offsetY;
    return 0;
}

double DotProduct(double x1, double y1, double x2, double y2, double x3, double y3, double x4,
                  double y4) {
    return (x2 - x1) * (x4 - x3) + (y2 - y1) * (y4 - y3);
}

double CrossProduct(double x1, double y1, double x2, double y2, double x3, double y3, double x4,
                    double y4) {
    return (x2 - x1) * (y4 - y3) - (y2 - y1) * (x4 - x3);
}

int ProjectPointOnSegment(double ax, double ay, double bx, double by, double px, double py,
                          double* outX, double* outY, int mode) {
    const double len2 = (ax - bx) * (ax - bx) + (ay - by) * (ay - by);
    if (std::fabs(len2) < kDegenerateLength2) return -1;

    const double u = ((bx - ax) * (px - ax) + (by - ay) * (py - ay)) / len2;
    *outX = (1.0 - u) * ax + u * bx;
    *outY = (1.0 - u) * ay + u * by;
    if (u > kFootLow && u < kFootHigh) return 0;

    // The contour picker breaks ties between segments by how far the foot overshoots.
    if (mode == 1) *outX = (u < 0.0) ? -u : u - 1.0;
    return 1;
}

static double NormalizedAngle(double dy, double dx) {
    double a = std::atan2(dy, dx);
    if (a < 0.0) a += kTwoPi;
    return a;
}

double AngleBetween(double ax, double ay, double bx, double by, double cx, double cy) {
    double d = NormalizedAngle(by - ay, bx - ax) - NormalizedAngle(cy - ay, cx - ax);
    if (d < 0.0) d += kTwoPi;
    return d;
}

int IntersectLines(double x1, double y1, double x2, double y2, double x3, double y3, double x4,
                   double y4, double* outX, double* outY) {
    *outX = 0.0;
    *outY = 0.0;
    const double d = CrossProduct(x1, y1, x2, y2, x3, y3, x4, y4);
    if (std::fabs(d) < kParallel) return -1;

    const double t = ((x3 - x1) * (y4 - y3) - (y3 - y1) * (x4 - x3)) / d;
    const double u = ((x1 - x3) * (y2 - y1) - (y1 - y3) * (x2 - x1)) /
                     ((x4 - x3) * (y2 - y1) - (y4 - y3) * (x2 - x1));

    // The smaller parameter loses the least precision when the crossing is formed.
    if (std::fabs(u) >= std::fabs(t)) {
        *outX = (1.0 - t) * x1 + t * x2;
        *outY = (1.0 - t) * y1 + t * y2;
    } else {
        *outX = (1.0 - u) * x3 + u * x4;
        *outY = (1.0 - u) * y3 + u * y4;
    }

    int result = 0;
    if (t < 0.0 || t > 1.0) result += 1;
    if (u < 0.0 || u > 1.0) result += 2;
    return result;
}

int ClipSegmentToRect(double* x1, double* y1, double* x2, double* y2, CPointD lowerLeft,
                      CPointD upperRight) {
    const bool startOut = OutsideRect(*x1, *y1, lowerLeft, upperRight);
    const bool endOut = OutsideRect(*x2, *y2, lowerLeft, upperRight);
    if (!startOut && !endOut) return 0;

    const double xmin = lowerLeft.m_dX, ymin = lowerLeft.m_dY;
    const double xmax = upperRight.m_dX, ymax = upperRight.m_dY;
    const double borders[4][4] = {
        {xmin, ymin, xmin, ymax},  // left
        {xmin, ymax, xmax, ymax},  // top
        {xmax, ymax, xmax, ymin},  // right
        {xmax, ymin, xmin, ymin},  // bottom
    };

    // A segment through a corner meets two borders at the same point. Counted twice it
    // would look like an entry and an exit (or like four crossings) and lose the visible
    // part, so crossings that coincide are kept once. The tolerance only has to absorb
    // the rounding of the crossing formula, hence relative to the rectangle's magnitude.
    const double magnitude = std::max({std::fabs(xmin), std::fabs(xmax), std::fabs(ymin),
                                       std::fabs(ymax), xmax - xmin, ymax - ymin});
    const double same = 1e-9 * magnitude;

    double cx[4], cy[4];
    int count = 0;
    for (const auto& b : borders) {
        double px, py;
        if (IntersectLines(*x1, *y1, *x2, *y2, b[0], b[1], b[2], b[3], &px, &py) != 0) continue;
        bool known = false;
        for (int k = 0; k < count; ++k) {
            if (std::fabs(cx[k] - px) <= same && std::fabs(cy[k] - py) <= same) known = true;
        }
        if (known) continue;
        cx[count] = px;
        cy[count] = py;
        ++count;
    }

    if (count == 0) return -1;
    if (count == 2) {
        const double d0 = (cx[0] - *x1) * (cx[0] - *x1) + (cy[0] - *y1) * (cy[0] - *y1);
        const double d1 = (cx[1] - *x1) * (cx[1] - *x1) + (cy[1] - *y1) * (cy[1] - *y1);
        const int near = (d0 < d1) ? 0 : 1;
        *x1 = cx[near];
        *y1 = cy[near];
        *x2 = cx[1 - near];
        *y2 = cy[1 - near];
        return 3;
    }
    if (count == 1) {
        if (startOut && endOut) {
            // Both ends outside and a single contact: the segment only touches a corner.
            // What is visible is that one point.
            *x1 = *x2 = cx[0];
            *y1 = *y2 = cy[0];
            return 3;
        }
        if (startOut) {
            *x1 = cx[0];
            *y1 = cy[0];
            return 1;
        }
        *x2 = cx[0];
        *y2 = cy[0];
        return 2;
    }
    // Three or more distinct crossings cannot happen for a proper rectangle; leave the
    // segment as it is.
    return 0;
}

}  // namespace wv

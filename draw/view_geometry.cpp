#include "draw/view_geometry.h"

#include "core/geometry.h"

#include <cmath>

namespace wv {

GuardRect ClientGuard(int clientW, int clientH, double dx, double dy) {
    return GuardRect{dx - kGuard, dy - kGuard, dx + clientW + kGuard, dy + clientH + kGuard};
}

GuardRect DeviceGuard(const CDC& dc) {
    const CPoint org = dc.GetViewportOrg();
    return ClientGuard(dc.GetDeviceCaps(HORZRES), dc.GetDeviceCaps(VERTRES), -static_cast<double>(org.x),
                       -static_cast<double>(org.y));
}

bool ClipSegment(double& x1, double& y1, double& x2, double& y2, const GuardRect& g) {
    if (!std::isfinite(x1) || !std::isfinite(y1) || !std::isfinite(x2) || !std::isfinite(y2)) return false;
    if (g.Contains(x1, y1) && g.Contains(x2, y2)) return true;
    // Liang-Barsky on the parameter of the segment.
    const double dx = x2 - x1;
    const double dy = y2 - y1;
    double t0 = 0.0, t1 = 1.0;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {x1 - g.left, g.right - x1, y1 - g.top, g.bottom - y1};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0.0) {
            if (q[i] < 0.0) return false;
            continue;
        }
        const double r = q[i] / p[i];
        if (p[i] < 0.0) {
            if (r > t1) return false;
            if (r > t0) t0 = r;
        } else {
            if (r < t0) return false;
            if (r < t1) t1 = r;
        }
    }
    const double ox = x1, oy = y1;
    if (t1 < 1.0) { x2 = ox + t1 * dx; y2 = oy + t1 * dy; }
    if (t0 > 0.0) { x1 = ox + t0 * dx; y1 = oy + t0 * dy; }
    // Rounding can leave a clipped end a hair outside.
    ClampPoint(x1, y1, g);
    ClampPoint(x2, y2, g);
    return true;
}

std::vector<CPoint> ClipPolygon(const std::vector<double>& xy, const GuardRect& g) {
    std::vector<double> pts = xy;
    for (double v : pts)
        if (!std::isfinite(v)) return {};
    auto clipEdge = [&](auto inside, auto cross) {
        std::vector<double> out;
        const std::size_t n = pts.size() / 2;
        for (std::size_t i = 0; i < n; ++i) {
            const double ax = pts[2 * i], ay = pts[2 * i + 1];
            const std::size_t j = (i + 1) % n;
            const double bx = pts[2 * j], by = pts[2 * j + 1];
            const bool ina = inside(ax, ay), inb = inside(bx, by);
            if (ina) { out.push_back(ax); out.push_back(ay); }
            if (ina != inb) {
                double cx = 0, cy = 0;
                cross(ax, ay, bx, by, &cx, &cy);
                out.push_back(cx);
                out.push_back(cy);
            }
        }
        pts.swap(out);
    };
    const auto atX = [](double edge) {
        return [edge](double ax, double ay, double bx, double by, double* cx, double* cy) {
            *cx = edge;
            *cy = ay + (by - ay) * (edge - ax) / (bx - ax);
        };
    };
    const auto atY = [](double edge) {
        return [edge](double ax, double ay, double bx, double by, double* cx, double* cy) {
            *cy = edge;
            *cx = ax + (bx - ax) * (edge - ay) / (by - ay);
        };
    };
    clipEdge([&](double x, double) { return x >= g.left; }, atX(g.left));
    clipEdge([&](double x, double) { return x <= g.right; }, atX(g.right));
    clipEdge([&](double, double y) { return y >= g.top; }, atY(g.top));
    clipEdge([&](double, double y) { return y <= g.bottom; }, atY(g.bottom));
    std::vector<CPoint> out;
    for (std::size_t i = 0; i + 1 < pts.size(); i += 2) {
        double x = pts[i], y = pts[i + 1];
        ClampPoint(x, y, g);
        out.push_back(CPoint{static_cast<int>(x), static_cast<int>(y)});
    }
    return out;
}

bool ClampPoint(double& x, double& y, const GuardRect& g) {
    if (!std::isfinite(x) || !std::isfinite(y)) return false;
    x = x < g.left ? g.left : (x > g.right ? g.right : x);
    y = y < g.top ? g.top : (y > g.bottom ? g.bottom : y);
    return true;
}

bool WorldToViewRaw(const CCoordWnd& coord, double wx, double wy, double* vx, double* vy) {
    coord.WorldToView(&wx, &wy);
    *vx = wx;
    *vy = wy;
    return std::isfinite(wx) && std::isfinite(wy);
}

bool WorldToViewD(const CCoordWnd& coord, double wx, double wy, double* vx, double* vy) {
    if (!WorldToViewRaw(coord, wx, wy, vx, vy)) return false;
    *vx = std::trunc(*vx);
    *vy = std::trunc(*vy);
    return true;
}

void MeshToWorld(double angleDeg, CPointD areaOrigin, double mx, double my, double* wx, double* wy) {
    const double a = -angleDeg * kPi / 180.0;
    WorldToScreen(mx, my, 0.0, 0.0, std::cos(a), std::sin(a), 1.0, areaOrigin.m_dX, areaOrigin.m_dY, wx, wy);
}

bool MeshToViewD(const CCoordWnd& coord, CPointD areaOrigin, double mx, double my, double* vx,
                 double* vy) {
    double angle = 0.0;
    coord.GetAngle(&angle);
    double wx = 0.0, wy = 0.0;
    MeshToWorld(angle, areaOrigin, mx, my, &wx, &wy);
    return WorldToViewD(coord, wx, wy, vx, vy);
}

bool DrawSegment(CDC* pDC, double x1, double y1, double x2, double y2, const GuardRect& g) {
    if (!ClipSegment(x1, y1, x2, y2, g)) return false;
    pDC->MoveTo(static_cast<int>(x1), static_cast<int>(y1));
    pDC->LineTo(static_cast<int>(x2), static_cast<int>(y2));
    return true;
}

double PixelsPerMm(int scaleDenominator, double viewScale) {
    if (scaleDenominator <= 0 || !std::isfinite(viewScale) || viewScale <= 0.0) return 0.0;
    return scaleDenominator / 1000.0 * viewScale;
}

}  // namespace wv

#include "core/coord_wnd.h"

#include "core/geometry.h"
#include "platform/text.h"

#include <algorithm>
#include <cmath>

namespace wv {

double CCoordWnd::AngleRadians() const { return m_dAngle * kPi / 180.0; }

double CCoordWnd::FitScale(CPointD worldA, CPointD worldB, CPointD viewA, CPointD viewB,
                           bool bLarger) {
    const double vx = std::fabs(viewA.m_dX - viewB.m_dX);
    const double vy = std::fabs(viewA.m_dY - viewB.m_dY);
    double wx = std::fabs(worldA.m_dX - worldB.m_dX);
    double wy = std::fabs(worldA.m_dY - worldB.m_dY);
    // A terrain that is a single point or a straight line still gets a finite scale.
    if (wx < 0.001) wx = 1.0;
    if (wy < 0.001) wy = 1.0;
    const double rx = vx / wx;
    const double ry = vy / wy;
    m_dScale = bLarger ? std::max(rx, ry) : std::min(rx, ry) * 0.9;
    return m_dScale;
}

int CCoordWnd::WorldToViewEx(double originX, double originY, int offsetX, int offsetY,
                             double cosA, double sinA, double scale, double* x, double* y) {
    WorldToScreen(*x, *y, originX, originY, cosA, sinA, scale, offsetX, offsetY, x, y);
    *y = kTurnY - *y;
    return 0;
}

int CCoordWnd::ViewToWorldEx(double originX, double originY, int offsetX, int offsetY,
                             double cosA, double sinA, double scale, double* x, double* y) {
    *y = kTurnY - *y;
    WorldToScreen(*x, *y, offsetX, offsetY, cosA, sinA, 1.0 / scale, originX, originY, x, y);
    return 0;
}

int CCoordWnd::WorldToView(double* x, double* y) const {
    const double a = AngleRadians();
    return WorldToViewEx(m_dOriginX, m_dOriginY, m_nOffsetX, m_nOffsetY, std::cos(a), std::sin(a),
                         m_dScale, x, y);
}

int CCoordWnd::ViewToWorld(double* x, double* y) const {
    const double a = AngleRadians();
    return ViewToWorldEx(m_dOriginX, m_dOriginY, m_nOffsetX, m_nOffsetY, std::cos(-a),
                         std::sin(-a), m_dScale, x, y);
}

int CCoordWnd::WorldToViewPoint(double x, double y, int* vx, int* vy) const {
    WorldToView(&x, &y);
    *vx = DoubleToInt(x);
    *vy = DoubleToInt(y);
    return 0;
}

int CCoordWnd::ViewPointToWorld(int vx, int vy, double* x, double* y) const {
    // The y turn is taken on the integer (widened, so no vy can overflow it); the rest of
    // the inverse runs in doubles.
    const double turnedY = static_cast<double>(30000LL - vy);
    const double a = AngleRadians();
    WorldToScreen(vx, turnedY, m_nOffsetX, m_nOffsetY, std::cos(-a), std::sin(-a), 1.0 / m_dScale,
                  m_dOriginX, m_dOriginY, x, y);
    return 0;
}

}  // namespace wv

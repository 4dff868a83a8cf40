#include "calc/depth_grid.h"

#include "core/coord_wnd.h"
#include "core/geometry.h"

#include <cmath>

namespace wv {

namespace {

constexpr double kPiValue = 3.141592653589793;

double Radians(double degrees) { return degrees * kPiValue / 180.0; }

}  // namespace

DepthGrid::DepthGrid(const DepthArea& area, const CalcViewFrame& view) : m_area(area), m_view(view) {
    const double a = Radians(view.angle);
    m_cosArea = std::cos(-a);
    m_sinArea = std::sin(-a);
    m_cosBack = std::cos(-a);
    m_sinBack = std::sin(-a);

    // Frame angles added to the view angle. The two skew frames put the lines of slope
    // 1/2 and 2 of the mesh on the axes.
    const double theta[kFrames] = {0.0, 45.0, std::atan(0.5) * 180.0 / kPiValue,
                                   std::atan(2.0) * 180.0 / kPiValue};
    for (int f = 0; f < kFrames; ++f) {
        const double phi = Radians(view.angle + theta[f]);
        m_cosFrame[f] = std::cos(phi);
        m_sinFrame[f] = std::sin(phi);
    }

    const double m = area.meshSize;
    const double s = view.scale;
    m_step[0] = m * s;
    m_step[1] = (m / std::sqrt(2.0)) * s;
    m_step[2] = (m / std::sqrt(5.0)) * s;
    m_step[3] = m_step[2];

    const int R = area.rows, C = area.cols;
    const CPointD origin(area.x0, area.y0);
    const CPointD farSide = MeshToWorld(0.0, (R - 1) * m);  // the origin's column, far side
    const CPointD farCorner = MeshToWorld((C - 1) * m, (R - 1) * m);
    for (int f = 0; f < kFrames; ++f) {
        double ox = origin.m_dX, oy = origin.m_dY;
        ToFrame(f, ox, oy);
        double fx = farSide.m_dX, fy = farSide.m_dY;
        ToFrame(f, fx, fy);
        m_bx[f] = ox;
        m_by[f] = fy;
    }
    double ox = origin.m_dX, oy = origin.m_dY;
    ToFrame(0, ox, oy);
    double cx = farCorner.m_dX, cy = farCorner.m_dY;
    ToFrame(0, cx, cy);
    m_xmin = ox;
    m_xmax = cx;
    m_ymin = cy;
    m_ymax = oy;

    const int counts[kFamilies] = {R,         C,         R + C - 1,     R + C - 1,
                                   C + 2 * R - 2, R + 2 * C - 2, R + 2 * C - 2, 2 * R + C - 2};
    int first = 0;
    for (int fam = 0; fam < kFamilies; ++fam) {
        m_lineCount[fam] = counts[fam] > 0 ? counts[fam] : 0;
        m_firstLine[fam] = first;
        first += m_lineCount[fam];
    }
    m_totalLines = first;
}

CPointD DepthGrid::MeshToWorld(double dx, double dy) const {
    double x, y;
    WorldToScreen(m_area.x0 + dx, m_area.y0 + dy, m_area.x0, m_area.y0, m_cosArea, m_sinArea, 1.0,
                  m_area.x0, m_area.y0, &x, &y);
    return CPointD(x, y);
}

void DepthGrid::ToFrame(int frame, double& x, double& y) const {
    CCoordWnd::WorldToViewEx(m_view.originX, m_view.originY, m_view.offsetX, m_view.offsetY,
                             m_cosFrame[frame], m_sinFrame[frame], m_view.scale, &x, &y);
}

void DepthGrid::FromFrame0(double& x, double& y) const {
    CCoordWnd::ViewToWorldEx(m_view.originX, m_view.originY, m_view.offsetX, m_view.offsetY,
                             m_cosBack, m_sinBack, m_view.scale, &x, &y);
}

double DepthGrid::LineCoord(int family, int k) const {
    const int f = FrameOf(family);
    return (IsVertical(family) ? m_bx[f] : m_by[f]) + k * m_step[f];
}

int DepthGrid::NodeLine(int family, int i, int j) const {
    const int far = m_area.rows - 1 - i;  // mesh row of the node
    switch (family) {
    case 0: return i;
    case 1: return j;
    case 2: return i + j;
    case 3: return far + j;
    case 4: return j + 2 * i;
    case 5: return far + 2 * j;
    case 6: return i + 2 * j;
    default: return 2 * far + j;
    }
}

double DepthGrid::NodePos(int family, int i, int j) const {
    const int far = m_area.rows - 1 - i;
    const int f = FrameOf(family);
    int units = 0;
    switch (family) {
    case 0: units = j; break;
    case 1: units = i; break;
    case 2: units = far + j; break;
    case 3: units = i + j; break;
    case 4: units = far + 2 * j; break;
    case 5: units = j + 2 * i; break;
    case 6: units = 2 * far + j; break;
    default: units = i + 2 * j; break;
    }
    return (IsVertical(family) ? m_by[f] : m_bx[f]) + units * m_step[f];
}

}  // namespace wv

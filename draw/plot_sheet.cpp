#include "draw/plot_sheet.h"

#include "core/geometry.h"

#include <algorithm>
#include <cmath>

namespace wv {

PlotSheet::PlotSheet(const CTydDocData& doc, double viewAngleDeg) {
    const CZmn_Inf& z = doc.m_zmn;
    // Half the frame is a real division: the default frame height 267 is odd.
    m_dWidth = z.m_nFrameWidth;
    m_dHeight = z.m_nFrameHeight;
    m_nScale = z.m_nScale;
    m_dAngleDeg = viewAngleDeg;
    const double a = viewAngleDeg * kPi / 180.0;
    m_dCos = std::cos(a);
    m_dSin = std::sin(a);
    m_dFactor = m_nScale > 0 ? 1000.0 / m_nScale : 0.0;
    m_dCenterX = z.m_dCenterX;
    m_dCenterY = z.m_dCenterY;
    m_dOriginX = doc.m_calcArea.GetOrigin().m_dX;
    m_dOriginY = doc.m_calcArea.GetOrigin().m_dY;

    const double hw = m_dWidth * m_nScale / 1000.0 / 2.0;
    const double hh = m_dHeight * m_nScale / 1000.0 / 2.0;
    bool first = true;
    for (const int ab : {0, 1, 2, 3}) {
        const double sa = ab < 2 ? -1.0 : 1.0;
        const double sb = ab % 2 == 0 ? -1.0 : 1.0;
        const double x = m_dCenterX + sa * hw * m_dCos - sb * hh * m_dSin;
        const double y = m_dCenterY + sa * hw * m_dSin + sb * hh * m_dCos;
        if (first) {
            m_box = WorldBox{x, x, y, y};
            first = false;
            continue;
        }
        m_box.xmin = std::min(m_box.xmin, x);
        m_box.xmax = std::max(m_box.xmax, x);
        m_box.ymin = std::min(m_box.ymin, y);
        m_box.ymax = std::max(m_box.ymax, y);
    }
}

void PlotSheet::WorldToSheet(double x, double y, double* X, double* Y) const {
    WorldToScreen(x, y, m_dCenterX, m_dCenterY, m_dCos, m_dSin, m_dFactor, m_dWidth / 2.0, m_dHeight / 2.0, X, Y);
}

void PlotSheet::SheetToWorld(double X, double Y, double* x, double* y) const {
    const double k = m_dFactor > 0.0 ? 1.0 / m_dFactor : 0.0;
    WorldToScreen(X, Y, m_dWidth / 2.0, m_dHeight / 2.0, m_dCos, -m_dSin, k, m_dCenterX, m_dCenterY, x, y);
}

void PlotSheet::MeshToWorld(double u, double v, double* x, double* y) const {
    WorldToScreen(u, v, 0.0, 0.0, m_dCos, -m_dSin, 1.0, m_dOriginX, m_dOriginY, x, y);
}

void PlotSheet::MeshToSheet(double u, double v, double* X, double* Y) const {
    double x = 0.0, y = 0.0;
    MeshToWorld(u, v, &x, &y);
    WorldToSheet(x, y, X, Y);
}

namespace {
bool IsResultFigure(const CZmn_Inf& z) {
    return z.m_nFigureMask != 0 || z.m_bColorContour == 1 || z.m_bVectorFigure == 1;
}
}  // namespace

bool ShowsWaveConditions(const CZmn_Inf& z) {
    const std::string title = PlotFigureTitle(z);
    return title != "水深チェック図" && title != "地形図";
}

std::string PlotFigureTitle(const CZmn_Inf& z) {
    if (IsResultFigure(z)) {
        switch (z.m_nValueType) {
            case 0: return "有義波高";
            case 1: return "有義波高比";
            case 2: return "換算沖波波高";
            default: return "換算沖波波高比";
        }
    }
    if (z.m_bDirMapFigure == 1) return "波向";
    if (z.m_bCheckContour == 1 || z.m_bCheckMap == 1) return "水深チェック図";
    return "地形図";
}

}  // namespace wv

// Display commands: zoom in and out, whole drawing, redraw, the drawing frame's view,
// rotation.
#include "calcview/tyd_view.h"

#include "core/geometry.h"

#include <algorithm>
#include <cmath>

namespace wv {

namespace {

// The scale that fits a box into the window, or the old scale when the window or the
// box gives none (an empty window).
void FitKeeping(CCoordWnd& coord, CPointD a, CPointD b, int w, int h) {
    const double old = coord.GetScale();
    const double s = coord.FitScale(a, b, CPointD(0.0, 0.0), CPointD(w, h), false);
    if (!(s > 0.0) || !std::isfinite(s)) coord.SetScale(old);
}

}  // namespace

void CTydView::OnViewWhole() {
    ViewState& s = m_view;
    const double a = Angle() * kPi / 180.0;
    auto turn = [&](CPointD p, double sign) {
        double x = 0.0, y = 0.0;
        WorldToScreen(p.m_dX, p.m_dY, 0.0, 0.0, std::cos(sign * a), std::sin(sign * a), 1.0, 0.0, 0.0, &x, &y);
        return CPointD(x, y);
    };
    const CCalArea& area = Doc().m_calcArea;
    const bool hasArea = area.GetMeshCountX() > 1 && area.GetMeshCountY() > 1;
    bool any = g_surveyPoints.GetCount() > 0 || hasArea;
    for (int i = 0; i < g_calcPoints.GetSize(); ++i) any = any || g_calcPoints.GetAt(i).GetUse() != 0;
    double minX = 1e14, minY = 1e14, maxX = -1e14, maxY = -1e14;
    if (!any) minX = minY = maxX = maxY = 15000.0;
    auto widen = [&](CPointD p) {
        minX = std::min(minX, p.m_dX);
        minY = std::min(minY, p.m_dY);
        maxX = std::max(maxX, p.m_dX);
        maxY = std::max(maxY, p.m_dY);
    };
    for (int i = 0; i < g_surveyPoints.GetSlotCount(); ++i) {
        const CSokutenZokusei p = g_surveyPoints.GetAt(i);
        if (p.GetId() >= 0) widen(turn(p.GetPos(), 1.0));
    }
    for (int i = 0; i < g_calcPoints.GetSize(); ++i)
        if (g_calcPoints.GetAt(i).GetUse() != 0) widen(turn(g_calcPoints.GetAt(i).GetPos(), 1.0));
    if (hasArea) {
        const CPointD o = turn(area.GetOrigin(), 1.0);
        widen(o);
        widen(CPointD(o.m_dX + (area.GetMeshCountX() - 1) * area.GetMeshSize(),
                      o.m_dY + (area.GetMeshCountY() - 1) * area.GetMeshSize()));
    }
    const CPointD c = turn(CPointD((minX + maxX) / 2.0, (minY + maxY) / 2.0), -1.0);
    if (maxX - minX <= 0.001 && maxY - minY <= 0.001)
        s.coord.SetScale(1.0);
    else
        FitKeeping(s.coord, CPointD(minX, minY), CPointD(maxX, maxY), s.clientW, s.clientH);
    if (any) {
        s.coord.SetOrigin(c.m_dX, c.m_dY);
        g_surveyPoints.SetExtentPt1(turn(CPointD(minX, minY), -1.0));
        g_surveyPoints.SetExtentPt2(turn(CPointD(maxX, maxY), -1.0));
    } else {
        g_surveyPoints.SetExtentPt1(CPointD(minX, minY));
        g_surveyPoints.SetExtentPt2(CPointD(maxX, maxY));
        s.coord.SetOrigin((minX + maxX) / 2.0, (minY + maxY) / 2.0);
    }
    s.coord.SetOffset(kViewCentre, kViewCentre);
    s.CentreScroll();
    s.redraw = true;
    ApplyViewChange();
}

void CTydView::OnViewFrame() {
    ViewState& s = m_view;
    const CZmn_Inf& z = Doc().m_zmn;
    const double hw = z.m_nFrameWidth * static_cast<double>(z.m_nScale) / 1000.0 * 0.5;
    const double hh = z.m_nFrameHeight * static_cast<double>(z.m_nScale) / 1000.0 * 0.5;
    const CPointD a(z.m_dCenterX - hw, z.m_dCenterY - hh);
    const CPointD b(z.m_dCenterX + hw, z.m_dCenterY + hh);
    FitKeeping(s.coord, a, b, s.clientW, s.clientH);
    s.coord.SetOrigin(z.m_dCenterX, z.m_dCenterY);
    g_surveyPoints.SetExtentPt1(a);
    g_surveyPoints.SetExtentPt2(b);
    s.coord.SetOffset(kViewCentre, kViewCentre);
    s.CentreScroll();
    s.redraw = true;
    ApplyViewChange();
}

void AddDisplayCommands(CommandMap& m) {
    m[32777] = {[](CTydView& v) { v.SetMouseMode(10); }, {}};
    m[32778] = {[](CTydView& v) { v.SetMouseMode(20); }, {}};
    m[32779] = {[](CTydView& v) { v.OnViewWhole(); }, {}};
    m[32780] = {[](CTydView& v) { v.RedrawAll(); }, {}};
    m[32827] = {[](CTydView& v) { v.OnViewFrame(); }, {}};
    m[32781] = {[](CTydView& v) { v.SetMouseMode(30); },
                [](CTydView& v, CCmdUI& ui) { ui.Enable(v.Doc().m_info.m_bFreeRotation != 0); }};
}

}  // namespace wv

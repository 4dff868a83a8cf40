#include "project/tik_navigation.h"

#include "core/geometry.h"
#include "core/numeric.h"
#include "core/sansyutu.h"
#include "core/sokuten.h"
#include "project/tik_dialogs.h"

#include <algorithm>
#include <cmath>

namespace wv {

void CTikNavigation::BeginDrag(int cx, int cy) {
    s.m_rcDrag = CRect{cx, cy, cx, cy};
    switch (s.m_nMode) {
    case 10: s.m_nMode = 11; break;
    case 20: s.m_nMode = 21; break;
    case 5: s.m_nMode = 6; break;
    case 44: s.m_nMode = 45; break;
    default: break;
    }
}

void CTikNavigation::CentreScroll() {
    h.ScrollTo(15000 - s.m_nClientW / 2, 15000 - s.m_nClientH / 2);
}

void CTikNavigation::ZoomAtPoint(double vx, double vy) {
    const int m = s.m_nMode;
    if (m != 11 && m != 12 && m != 21 && m != 22) return;
    const CRect r = s.m_rcDrag;
    const bool click = m == 11 || m == 21 || r.Width() < 10 || r.Height() < 10;
    const double scale = s.m_coord.GetScale();
    const int sx = h.ScrollX(), sy = h.ScrollY();
    const CPointD clientA{0.0, 0.0};
    const CPointD clientB{static_cast<double>(s.m_nClientW), static_cast<double>(s.m_nClientH)};
    if (click) {
        const CPointD w = ViewToWorld(vx, vy);
        s.m_coord.SetOrigin(w.m_dX, w.m_dY);
        s.m_coord.SetOffset(CCoordWnd::kDefaultOffset, CCoordWnd::kDefaultOffset);
        s.m_coord.SetScale(scale * (m <= 12 ? 1.2 : 0.8));
        s.m_nMode = m < 20 ? 10 : 20;
    } else if (m == 12) {
        const CPointD c = ViewToWorld((r.left + r.right) / 2.0 + sx, (r.top + r.bottom) / 2.0 + sy);
        const double w = r.Width() / scale, hgt = r.Height() / scale;
        s.m_coord.FitScale({0.0, 0.0}, {w, hgt}, clientA, clientB, false);
        s.m_coord.SetOrigin(c.m_dX, c.m_dY);
        s.m_nMode = 10;
    } else {
        const CPointD C = ViewToWorld(s.m_nClientW / 2.0 + sx, s.m_nClientH / 2.0 + sy);
        const double w = s.m_nClientW / scale, hgt = s.m_nClientH / scale;
        s.m_coord.FitScale({0.0, 0.0}, {w, hgt}, {0.0, 0.0},
                           {static_cast<double>(r.Width()), static_cast<double>(r.Height())}, true);
        const CPointD D = ViewToWorld((r.left + r.right) / 2.0 + sx, (r.top + r.bottom) / 2.0 + sy);
        s.m_coord.SetOrigin(2 * C.m_dX - D.m_dX, 2 * C.m_dY - D.m_dY);
        s.m_nMode = 20;
    }
    CentreScroll();
    s.m_rcDrag = s.m_rcDragLast = CRect{};
    h.RedrawAll();
}

void CTikNavigation::BeginRotate(double x, double y) {
    const int p = g_surveyPoints.FindNearest(x, y);
    if (p < 0) return;
    s.m_nPoint1 = p;
    s.ClearRubberBand();
    s.m_nMode = 31;
}

void CTikNavigation::EndRotate(double vx, double vy) {
    const CPointD P = g_surveyPoints.GetAt(s.m_nPoint1).GetPos();
    double px = P.m_dX, py = P.m_dY;
    s.m_coord.WorldToView(&px, &py);
    const CPointD mw = ViewToWorld(vx, vy);
    double mx = mw.m_dX, my = mw.m_dY;
    s.m_coord.WorldToView(&mx, &my);
    double angle = 0.0;
    s.m_coord.GetAngle(&angle);
    const double turn = std::atan2(px - mx, py - my) * 180.0 / kPi + 90.0;
    const double e = RoundDecimal(turn, 0);
    double a = RoundDecimal(turn + angle, 0);
    double ox, oy;
    s.m_coord.GetOrigin(&ox, &oy);
    const double er = -e * kPi / 180.0;
    double nx, ny;
    WorldToScreen(ox, oy, P.m_dX, P.m_dY, std::cos(er), std::sin(er), 1.0, P.m_dX, P.m_dY, &nx, &ny);
    s.m_coord.SetOrigin(nx, ny);
    if (a < 0.0) a += 360.0;
    if (a > 360.0) a -= 360.0;
    if (a < 0.1) a = 360.0;
    s.m_coord.SetAngle(a - 360.0);
    s.m_nMode = 30;
    h.RedrawAll();
}

void CTikNavigation::BeginMeasure(double x, double y) {
    s.m_ptMeasureStart = {x, y};
    s.ClearRubberBand();
    s.m_nMode = 33;
}

void CTikNavigation::ShowMeasuredDistance(double x, double y) {
    const double dx = x - s.m_ptMeasureStart.m_dX, dy = y - s.m_ptMeasureStart.m_dY;
    CValueInputDlg dlg(&s);
    dlg.m_dValue = std::sqrt(dx * dx + dy * dy);
    h.RunDialog(dlg);
    s.m_nMode = 32;
    h.RedrawAll();
}

void CTikNavigation::FitAll() {
    double angle = 0.0;
    s.m_coord.GetAngle(&angle);
    const double ar = angle * kPi / 180.0;
    double minX = 1e14, minY = 1e14, maxX = -1e14, maxY = -1e14;
    int n = 0;
    auto widen = [&](CPointD p) {
        double tx, ty;
        WorldToScreen(p.m_dX, p.m_dY, 0.0, 0.0, std::cos(ar), std::sin(ar), 1.0, 0.0, 0.0, &tx, &ty);
        minX = std::min(minX, tx); maxX = std::max(maxX, tx);
        minY = std::min(minY, ty); maxY = std::max(maxY, ty);
        ++n;
    };
    for (int i = 0; i < g_surveyPoints.GetSlotCount(); ++i) {
        const CSokutenZokusei p = g_surveyPoints.GetAt(i);
        if (p.GetId() >= 0) widen(p.GetPos());
    }
    for (int i = 0; i < g_calcPoints.GetSize(); ++i) {
        const CSansyutuZokusei p = g_calcPoints.GetAt(i);
        if (p.GetUse()) widen(p.GetPos());
    }
    auto unturn = [&](double x, double y) {
        double wx, wy;
        WorldToScreen(x, y, 0.0, 0.0, std::cos(-ar), std::sin(-ar), 1.0, 0.0, 0.0, &wx, &wy);
        return CPointD{wx, wy};
    };
    if (n == 0) {
        minX = minY = maxX = maxY = 15000.0;
        s.m_coord.SetScale(1.0);
        g_surveyPoints.SetExtentPt1({minX, minY});
        g_surveyPoints.SetExtentPt2({maxX, maxY});
        s.m_coord.SetOrigin(15000.0, 15000.0);
    } else {
        if (n < 2)
            s.m_coord.SetScale(1.0);
        else
            s.m_coord.FitScale({minX, minY}, {maxX, maxY}, {0.0, 0.0},
                               {static_cast<double>(s.m_nClientW), static_cast<double>(s.m_nClientH)}, false);
        const CPointD c = unturn((minX + maxX) / 2.0, (minY + maxY) / 2.0);
        s.m_coord.SetOrigin(c.m_dX, c.m_dY);
        g_surveyPoints.SetExtentPt1(unturn(minX, minY));
        g_surveyPoints.SetExtentPt2(unturn(maxX, maxY));
    }
    s.m_coord.SetOffset(CCoordWnd::kDefaultOffset, CCoordWnd::kDefaultOffset);
    CentreScroll();
    h.RedrawAll();
}

}  // namespace wv

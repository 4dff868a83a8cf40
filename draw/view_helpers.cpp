#include "draw/view_helpers.h"

#include "calc/calc_doc_data.h"
#include "core/geometry.h"
#include "core/numeric.h"
#include "draw/terrain_draw.h"
#include "draw/marks_draw.h"

#include <algorithm>
#include <cmath>

namespace wv {

std::unique_ptr<CPointList> g_pAreaPolygon;

void ViewState::CentreScroll() {
    scrollX = kViewCentre - clientW / 2;
    scrollY = kViewCentre - clientH / 2;
}

DrawContext ViewState::Context() const {
    DrawContext c;
    c.coord = &coord;
    c.scrollX = scrollX;
    c.scrollY = scrollY;
    c.clientW = clientW;
    c.clientH = clientH;
    c.mode = mode;
    c.savedMode = savedMode;
    return c;
}

namespace {

// FitScale through the transform, but a window or box that gives no usable scale (an
// empty window divides to 0) keeps the scale the view had: a zero scale would make every
// later conversion divide by zero.
bool FitScaleKeeping(CCoordWnd& coord, CPointD wa, CPointD wb, CPointD va, CPointD vb, bool larger) {
    const double old = coord.GetScale();
    const double s = coord.FitScale(wa, wb, va, vb, larger);
    if (!(s > 0.0) || !std::isfinite(s)) {
        coord.SetScale(old);
        return false;
    }
    return true;
}

void ClearDrag(ViewState& v) {
    v.rcDrag = CRect{};
    v.rcDragLast = CRect{};
}

}  // namespace

bool ZoomAtPoint(ViewState& v, double mx, double my) {
    CRect rc = v.rcDrag;
    rc.NormalizeRect();
    const bool small = rc.Width() < 10 || rc.Height() < 10;
    const int mode = v.mode;
    if (mode == 11 || mode == 21 || ((mode == 12 || mode == 22) && small)) {
        double x = mx, y = my;
        v.coord.ViewToWorld(&x, &y);
        v.coord.SetOrigin(x, y);
        v.coord.SetOffset(kViewCentre, kViewCentre);
        v.CentreScroll();
        v.coord.SetScale(v.coord.GetScale() * (mode < 20 ? 1.2 : 0.8));
        v.mode = mode < 20 ? 10 : 20;
        ClearDrag(v);
        v.redraw = true;
        return true;
    }
    const CPointD client0(0.0, 0.0);
    const CPointD client1(v.clientW, v.clientH);
    const double scale = v.coord.GetScale();
    if (mode == 12) {
        double cx = (rc.left + rc.right) / 2.0 + v.scrollX;
        double cy = (rc.top + rc.bottom) / 2.0 + v.scrollY;
        v.coord.ViewToWorld(&cx, &cy);
        const double ww = static_cast<double>(rc.Width()) / scale;
        const double wh = static_cast<double>(rc.Height()) / scale;
        FitScaleKeeping(v.coord, CPointD(0.0, 0.0), CPointD(ww, wh), client0, client1, false);
        v.coord.SetOrigin(cx, cy);
        v.mode = 10;
    } else if (mode == 22) {
        double cx = v.clientW / 2.0 + v.scrollX;
        double cy = v.clientH / 2.0 + v.scrollY;
        v.coord.ViewToWorld(&cx, &cy);
        const double ww = v.clientW / scale;
        const double wh = v.clientH / scale;
        FitScaleKeeping(v.coord, CPointD(0.0, 0.0), CPointD(ww, wh), CPointD(0.0, 0.0),
                        CPointD(static_cast<double>(rc.Width()), static_cast<double>(rc.Height())), true);
        double dx = (rc.left + rc.right) / 2.0 + v.scrollX;
        double dy = (rc.top + rc.bottom) / 2.0 + v.scrollY;
        v.coord.ViewToWorld(&dx, &dy);
        v.coord.SetOrigin(2.0 * cx - dx, 2.0 * cy - dy);
        v.mode = 20;
    } else {
        return false;
    }
    v.coord.SetOffset(kViewCentre, kViewCentre);
    v.CentreScroll();
    ClearDrag(v);
    v.redraw = true;
    return true;
}

void BeginDrag(ViewState& v, int x, int y) {
    v.rcDrag.left = x;
    v.rcDrag.top = y;
    switch (v.mode) {
    case 10: v.mode = 11; break;
    case 20: v.mode = 21; break;
    case 80: v.mode = 81; break;
    case 5: v.mode = 6; break;
    case 44: v.mode = 45; break;
    default: break;
    }
}

bool BeginRotate(ViewState& v, double x, double y, const CSokuten& points) {
    const int slot = points.FindNearest(x, y);
    if (slot < 0) return false;
    v.point1 = slot;
    v.last = CPointD(kNoLastPoint, kNoLastPoint);
    v.mode = 31;
    return true;
}

double NormaliseViewAngle(double a) {
    a = std::fmod(a, 360.0);
    if (a < 0.0) a += 360.0;
    if (a < 0.1) a = 360.0;
    return a - 360.0;
}

bool EndRotate(ViewState& v, double mx, double my, const CSokuten& points) {
    const CSokutenZokusei centre = points.GetAt(v.point1);
    if (v.point1 < 0 || centre.GetId() < 0) return false;
    const CPointD P = centre.GetPos();
    double px = P.m_dX, py = P.m_dY;
    v.coord.WorldToView(&px, &py);
    double wx = mx, wy = my;
    v.coord.ViewToWorld(&wx, &wy);
    double qx = wx, qy = wy;
    v.coord.WorldToView(&qx, &qy);
    const double turn = std::atan2(px - qx, py - qy) * 180.0 / kPi + 90.0;
    double angle = 0.0;
    v.coord.GetAngle(&angle);
    const double e = RoundDecimal(turn, 0);
    const double a = RoundDecimal(turn + angle, 0);
    double ox = 0.0, oy = 0.0;
    v.coord.GetOrigin(&ox, &oy);
    const double er = -e * kPi / 180.0;
    double nx = 0.0, ny = 0.0;
    WorldToScreen(ox, oy, P.m_dX, P.m_dY, std::cos(er), std::sin(er), 1.0, P.m_dX, P.m_dY, &nx, &ny);
    v.coord.SetOrigin(nx, ny);
    v.coord.SetAngle(NormaliseViewAngle(a));
    v.mode = 30;
    v.redraw = true;
    return true;
}

void BeginMeasure(ViewState& v, double x, double y) {
    v.measureStart = CPointD(x, y);
    v.last = CPointD(kNoLastPoint, kNoLastPoint);
    v.mode = 33;
}

double ShowMeasuredDistance(ViewState& v, double x, double y, const std::function<void(double)>& show) {
    const double dx = x - v.measureStart.m_dX;
    const double dy = y - v.measureStart.m_dY;
    const double d = std::sqrt(dx * dx + dy * dy);
    if (show) show(d);
    v.mode = 32;
    v.redraw = true;
    return d;
}

bool PickLineChain(ViewState& v, LineChainView* view, double x, double y, int flag, const CLine& lines) {
    v.selIndex = lines.FindNearestOfKind(x, y, flag);
    if (v.selIndex < 0) return false;
    if (flag == 0)
        DrawLineChain(view, v.selIndex);
    else
        ResetLineChain(view, v.selIndex);
    v.selIndex = -1;
    return true;
}

bool AddAreaVertex(CPointD& rubber, double x, double y, std::unique_ptr<CPointList>& polygon) {
    if (!polygon) {
        polygon = std::make_unique<CPointList>(CPointD(x, y));
        rubber = CPointD(x, y);
        return true;
    }
    const CPointD tail = polygon->GetTail();
    if (std::fabs(tail.m_dX - x) < 1e-10 && std::fabs(tail.m_dY - y) < 1e-10) return false;
    if (SegmentCrossesPolygon(tail.m_dX, tail.m_dY, x, y, polygon.get()) == 1) return false;
    polygon->AddTail(CPointD(x, y));
    return true;
}

void FitAll(ViewState& v, CSokuten& points, const CSansyutu& calcPoints) {
    double angle = 0.0;
    v.coord.GetAngle(&angle);
    const double a = angle * kPi / 180.0;
    double minX = 1e14, minY = 1e14, maxX = -1e14, maxY = -1e14;
    int count = 0;
    auto widen = [&](CPointD p) {
        double tx = 0.0, ty = 0.0;
        WorldToScreen(p.m_dX, p.m_dY, 0.0, 0.0, std::cos(a), std::sin(a), 1.0, 0.0, 0.0, &tx, &ty);
        minX = std::min(minX, tx);
        minY = std::min(minY, ty);
        maxX = std::max(maxX, tx);
        maxY = std::max(maxY, ty);
        ++count;
    };
    for (int i = 0; i < points.GetSlotCount(); ++i) {
        const CSokutenZokusei p = points.GetAt(i);
        if (p.GetId() >= 0) widen(p.GetPos());
    }
    for (int i = 0; i < calcPoints.GetSize(); ++i) {
        const CSansyutuZokusei p = calcPoints.GetAt(i);
        if (p.GetUse() != 0) widen(p.GetPos());
    }
    if (count == 0) minX = minY = maxX = maxY = 15000.0;

    auto turnBack = [&](double x, double y) {
        double wx = 0.0, wy = 0.0;
        WorldToScreen(x, y, 0.0, 0.0, std::cos(-a), std::sin(-a), 1.0, 0.0, 0.0, &wx, &wy);
        return CPointD(wx, wy);
    };
    const CPointD centre = turnBack((minX + maxX) / 2.0, (minY + maxY) / 2.0);
    if (count < 2)
        v.coord.SetScale(1.0);
    else
        FitScaleKeeping(v.coord, CPointD(minX, minY), CPointD(maxX, maxY), CPointD(0.0, 0.0),
                        CPointD(v.clientW, v.clientH), false);
    if (count == 0) {
        points.SetExtentPt1(CPointD(minX, minY));
        points.SetExtentPt2(CPointD(maxX, maxY));
        v.coord.SetOrigin((minX + maxX) / 2.0, (minY + maxY) / 2.0);
    } else {
        v.coord.SetOrigin(centre.m_dX, centre.m_dY);
        points.SetExtentPt1(turnBack(minX, minY));
        points.SetExtentPt2(turnBack(maxX, maxY));
    }
    v.coord.SetOffset(kViewCentre, kViewCentre);
    v.CentreScroll();
    v.redraw = true;
}

bool BeginMoveCalcPointFrame(ViewState& v, const DrawContext& ctx, CDC* dc, double x, double y) {
    const int slot = ctx.calcPoints->FindNearest(x, y);
    v.selIndex = slot;
    if (slot < 0) return false;
    if (dc != nullptr) {
        DrawCalcPoints(dc, *ctx.coord, ctx.clientW, ctx.clientH, ctx.scrollX, ctx.scrollY, slot, 3,
                       *ctx.calcPoints);
        DrawCalcPointFrames(ctx, dc, ctx.scrollX, ctx.scrollY, slot, 3);
        DrawCalcPoints(dc, *ctx.coord, ctx.clientW, ctx.clientH, ctx.scrollX, ctx.scrollY, slot, 0,
                       *ctx.calcPoints);
        DrawCalcPointFrames(ctx, dc, ctx.scrollX, ctx.scrollY, slot, 0);
    }
    v.mode = 18;
    return true;
}

bool MoveCalcPointFrame(ViewState& v, CTydDocData& doc, const DrawContext& ctx, CDC* dc, double x,
                        double y) {
    const int slot = v.selIndex;
    if (slot < 0 || slot >= static_cast<int>(doc.m_pCalcPoints.size())) return false;
    if (dc != nullptr) DrawCalcPointFrames(ctx, dc, ctx.scrollX, ctx.scrollY, slot, 1);
    doc.m_pCalcPoints[static_cast<std::size_t>(slot)] = CPointD(x, y);
    if (dc != nullptr) DrawCalcPointFrames(ctx, dc, ctx.scrollX, ctx.scrollY, slot, 0);
    doc.SetModifiedFlag(true);
    return true;
}

bool ResetCalcPointFrame(ViewState& v, CTydDocData& doc, const DrawContext& ctx, CDC* dc, double x,
                         double y) {
    const int slot = ctx.calcPoints->FindNearest(x, y);
    if (slot < 0 || slot >= static_cast<int>(doc.m_pCalcPoints.size())) return false;
    if (dc != nullptr) DrawCalcPointFrames(ctx, dc, ctx.scrollX, ctx.scrollY, slot, 3);
    doc.m_pCalcPoints[static_cast<std::size_t>(slot)] = CPointD::Unset();
    doc.SetModifiedFlag(true);
    (void)v;
    return true;
}

}  // namespace wv

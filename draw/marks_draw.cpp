#include "draw/marks_draw.h"

#include "calc/result_loader.h"
#include "core/label_placement.h"
#include "draw/primitives.h"
#include "draw/view_geometry.h"
#include "platform/text.h"

#include <algorithm>
#include <cmath>

namespace wv {

namespace {

constexpr double kPiMarks = 3.141592653589793;

bool Ready(const DrawContext& view, CDC* pDC) {
    return pDC != nullptr && view.doc != nullptr && view.coord != nullptr;
}

bool Placed(const CPointD& p) { return !(p.m_dX > 99999999.9 && p.m_dY > 99999999.9); }

bool PointShows(double X, double Y, int sx, int sy, int w, int h) {
    return sx <= X && X <= static_cast<double>(sx) + w && sy <= Y && Y <= static_cast<double>(sy) + h;
}

// A rectangle of doubles to ints, its corners clamped into the guard (the parts beyond
// the guard cannot show).
CRect GuardedRect(double l, double t, double r, double b, const GuardRect& g) {
    ClampPoint(l, t, g);
    ClampPoint(r, b, g);
    return CRect{static_cast<int>(l), static_cast<int>(t), static_cast<int>(r), static_cast<int>(b)};
}

// Whether a land cell: its lower-left node has no depth above 0.0001 (land nodes count
// as -9999).
bool LandCell(const CDigitalMap& mesh, int r, int c) {
    return mesh.GetAt(mesh.GetNodeIndex(r, c)).GetDepth() <= 0.0001;
}

}  // namespace

double NorthMarkAngle(double north) {
    double a = std::fmod(360.0 - (north - 90.0), 360.0);
    if (a < -0.000001) a += 360.0;
    if (a > 359.99999) a -= 360.0;
    return a;
}

void DrawCalcAreaOutline(const DrawContext& view, CDC* pDC, int sx, int sy) {
    if (!Ready(view, pDC)) return;
    const CTydDocData& doc = *view.doc;
    const CCalArea& area = doc.m_calcArea;
    const int cols = area.GetMeshCountX(), rows = area.GetMeshCountY();
    if (cols <= 1 || rows <= 1) return;
    const CPointD o = area.GetOrigin();
    const double m = area.GetMeshSize();
    double fx, fy;
    MeshToWorld(view.Angle(), o, (cols - 1) * m, (rows - 1) * m, &fx, &fy);
    double Ox, Oy, Fx, Fy;
    if (!WorldToViewD(*view.coord, o.m_dX, o.m_dY, &Ox, &Oy) || !WorldToViewD(*view.coord, fx, fy, &Fx, &Fy)) return;
    Ox -= sx; Oy -= sy; Fx -= sx; Fy -= sy;
    const GuardRect g = ClientGuard(view.clientW, view.clientH);
    {
        ScopedPen pen(*pDC, CPen(PS_DOT, 1, kWhite));
        DrawSegment(pDC, Ox, Oy, Fx, Oy, g);
        DrawSegment(pDC, Fx, Oy, Fx, Fy, g);
        DrawSegment(pDC, Fx, Fy, Ox, Fy, g);
        DrawSegment(pDC, Ox, Fy, Ox, Oy, g);
    }
    {
        int code = 0;
        GetWaveDirQuadrant(doc, view.Angle(), &code);
        ScopedPen pen(*pDC, CPen(PS_SOLID, 1, kRed));
        switch (code) {
        case 0: DrawSegment(pDC, Fx, Fy, Ox, Fy, g); break;
        case 1: DrawSegment(pDC, Ox, Fy, Ox, Oy, g); break;
        case 2: DrawSegment(pDC, Ox, Oy, Fx, Oy, g); break;
        default: DrawSegment(pDC, Fx, Oy, Fx, Fy, g); break;
        }
    }
    const std::string text = Utf8ToCp932(Sprintf("メッシュ数：%ld", static_cast<long>(cols) * rows));
    DrawRotatedText(Ox, Oy + 20, 14, 14, text, 0.0, 7, 1, pDC);
}

void DrawLandCells(const DrawContext& view, CDC* pDC, int sx, int sy) {
    if (!Ready(view, pDC)) return;
    const CTydDocData& doc = *view.doc;
    if (doc.m_info.m_nCalcState == 0) return;
    const CDigitalMap& mesh = doc.m_mesh;
    const int rows = mesh.GetMeshCountY(), cols = mesh.GetMeshCountX();
    const double m = doc.m_calcArea.GetMeshSize();
    const CPointD o = doc.m_calcArea.GetOrigin();
    const GuardRect g = ClientGuard(view.clientW, view.clientH);
    ScopedPen pen(*pDC, CPen(PS_SOLID, 1, kWhite));
    for (int r = 0; r + 1 < rows; ++r) {
        for (int c = 0; c + 1 < cols; ++c) {
            if (!LandCell(mesh, r, c)) continue;
            double x0, y0, x1, y1;
            if (!MeshToViewD(*view.coord, o, c * m, r * m, &x0, &y0) ||
                !MeshToViewD(*view.coord, o, (c + 1) * m, (r + 1) * m, &x1, &y1))
                continue;
            x0 -= sx; y0 -= sy; x1 -= sx; y1 -= sy;
            if ((x0 < 0 && x1 < 0) || (x0 > view.clientW && x1 > view.clientW) || (y0 < 0 && y1 < 0) ||
                (y0 > view.clientH && y1 > view.clientH))
                continue;
            DrawSegment(pDC, x0, y0, x1, y1, g);
            DrawSegment(pDC, x0, y1, x1, y0, g);
            DrawSegment(pDC, x0, y0, x1, y0, g);
            DrawSegment(pDC, x1, y0, x1, y1, g);
            DrawSegment(pDC, x1, y1, x0, y1, g);
            DrawSegment(pDC, x0, y1, x0, y0, g);
        }
    }
}

void DrawLandFill(const DrawContext& view, CDC* pDC, int sx, int sy, int colourSwitch) {
    if (!Ready(view, pDC)) return;
    const CTydDocData& doc = *view.doc;
    const COLORREF color = colourSwitch != 0 ? kLandTan : kBlack;
    const GuardRect g = ClientGuard(view.clientW, view.clientH);
    if (doc.m_zmn.m_bDrawLandGrid == 1) {
        if (doc.m_info.m_nCalcState == 0) return;
        const CDigitalMap& mesh = doc.m_mesh;
        const double m = doc.m_calcArea.GetMeshSize();
        const CPointD o = doc.m_calcArea.GetOrigin();
        const double K = std::ceil(std::fabs(m * view.Scale()));
        if (!std::isfinite(K)) return;
        for (int r = 0; r + 1 < mesh.GetMeshCountY(); ++r) {
            for (int c = 0; c + 1 < mesh.GetMeshCountX(); ++c) {
                if (!LandCell(mesh, r, c)) continue;
                double X, Y;
                if (!MeshToViewD(*view.coord, o, c * m, r * m, &X, &Y)) continue;
                if (X - sx + K < 0 || Y - sy < 0 || X - sx > view.clientW || Y - sy - K > view.clientH) continue;
                const CRect rc = GuardedRect(X - sx, Y - sy - K, X - sx + K, Y - sy, g);
                pDC->FillSolidRect(rc, color);
            }
        }
        return;
    }
    const CBlkXY& blk = doc.m_blkXY;
    if (blk.GetCount() <= 0) return;
    ScopedPen pen(*pDC, CPen(PS_SOLID, 1, color));
    ScopedBrush brush(*pDC, CBrush(color));
    for (int i = 0; i < blk.GetCount(); ++i) {
        const int n = blk.GetPointCount(i);
        const CPointD* pts = blk.GetPoints(i);
        if (n <= 3 || pts == nullptr) continue;
        std::vector<double> xy;
        xy.reserve(static_cast<std::size_t>(n) * 2);
        for (int k = 0; k < n; ++k) {
            double X, Y;
            WorldToViewRaw(*view.coord, pts[k].m_dX, pts[k].m_dY, &X, &Y);
            xy.push_back(X - sx);
            xy.push_back(Y - sy);
        }
        const std::vector<CPoint> poly = ClipPolygon(xy, g);
        if (poly.size() >= 3) pDC->Polygon(poly.data(), static_cast<int>(poly.size()));
    }
}

void DrawAreaPolygon(CDC* pDC, const CCoordWnd& coord, int clientW, int clientH, int sx, int sy,
                     const CPointList* polygon, double mouseX, double mouseY, int pathSwitch) {
    if (pDC == nullptr || polygon == nullptr || polygon->IsEmpty()) return;
    ScopedRop2 rop(*pDC, R2_XORPEN);
    ScopedPen pen(*pDC, CPen(PS_SOLID, 1, kYellow));
    const bool path = pathSwitch == 1;
    const double dx = path ? 0.0 : sx, dy = path ? 0.0 : sy;
    const GuardRect g = ClientGuard(clientW, clientH, sx - dx, sy - dy);
    std::vector<double> xy;
    for (const CPointD& p : polygon->Points()) {
        double X, Y;
        if (!WorldToViewD(coord, p.m_dX, p.m_dY, &X, &Y)) return;
        xy.push_back(X - dx);
        xy.push_back(Y - dy);
    }
    const std::size_t n = xy.size() / 2;
    auto inClient = [&](double x, double y) {
        return x >= 0 && x <= clientW && y >= 0 && y <= clientH;
    };
    if (path) {
        // One path: the vertices clipped segment by segment keep each vertex once.
        for (std::size_t k = 0; k + 1 < n; ++k)
            DrawSegment(pDC, xy[2 * k], xy[2 * k + 1], xy[2 * k + 2], xy[2 * k + 3], g);
    } else {
        for (std::size_t k = 0; k + 1 < n; ++k) {
            if (!inClient(xy[2 * k], xy[2 * k + 1]) && !inClient(xy[2 * k + 2], xy[2 * k + 3])) continue;
            DrawSegment(pDC, xy[2 * k], xy[2 * k + 1], xy[2 * k + 2], xy[2 * k + 3], g);
        }
    }
    if (!(mouseX <= 99999999.9 || mouseY <= 99999999.9)) return;
    double MX, MY;
    if (!WorldToViewD(coord, mouseX, mouseY, &MX, &MY)) return;
    MX -= dx;
    MY -= dy;
    DrawSegment(pDC, xy[2 * n - 2], xy[2 * n - 1], MX, MY, g);
    bool close = n > 2;
    if (n == 2) {
        const CPointD second = polygon->GetAt(1);
        double SX, SY;
        close = WorldToViewD(coord, second.m_dX, second.m_dY, &SX, &SY) &&
                !(SX - dx == MX && SY - dy == MY);
    }
    if (close) DrawSegment(pDC, MX, MY, xy[0], xy[1], g);
}

void DrawRotateGuide(CDC* pDC, const CCoordWnd& coord, int sx, int sy, int centreSlot, CPointD mouse,
                     const CSokuten& points) {
    if (pDC == nullptr || centreSlot < 0 || centreSlot >= points.GetSlotCount()) return;
    const CSokutenZokusei p = points.GetAt(centreSlot);
    if (p.GetId() < 0) return;
    double X, Y;
    if (!WorldToViewRaw(coord, p.GetPos().m_dX, p.GetPos().m_dY, &X, &Y)) return;
    ScopedRop2 rop(*pDC, R2_XORPEN);
    ScopedPen pen(*pDC, CPen(PS_SOLID, 1, RGB(192, 192, 192)));
    DrawLineD(X - sx, Y - sy, mouse.m_dX - sx, mouse.m_dY - sy, pDC);
}

void DrawMeasureLine(CDC* pDC, const CCoordWnd& coord, int sx, int sy, CPointD start, CPointD end) {
    if (pDC == nullptr) return;
    double X, Y;
    if (!WorldToViewRaw(coord, start.m_dX, start.m_dY, &X, &Y)) return;
    ScopedRop2 rop(*pDC, R2_XORPEN);
    ScopedPen pen(*pDC, CPen(PS_SOLID, 1, kYellow));
    DrawLineD(X - sx, Y - sy, end.m_dX - sx, end.m_dY - sy, pDC);
}

namespace {

// A placed mark's view position and its pixels per millimetre of paper; false when the
// mark is not placed, off the screen, or the figure has no usable scale.
bool MarkOnScreen(const DrawContext& view, CDC* pDC, CPointD mark, int sx, int sy, double* X, double* Y,
                  double* k) {
    if (!Ready(view, pDC) || !Placed(mark)) return false;
    if (!WorldToViewD(*view.coord, mark.m_dX, mark.m_dY, X, Y) ||
        !PointShows(*X, *Y, sx, sy, view.clientW, view.clientH))
        return false;
    *k = PixelsPerMm(view.doc->m_zmn.m_nScale, view.Scale());
    return *k > 0.0;
}

}  // namespace

void DrawIncidentMark(const DrawContext& view, CDC* pDC, int sx, int sy, int drawSwitch) {
    double X, Y, k;
    if (!MarkOnScreen(view, pDC, view.doc ? view.doc->m_zmn.m_ptWaveMark : CPointD(), sx, sy, &X, &Y, &k))
        return;
    const CTydDocData& doc = *view.doc;
    const double north = view.tikInf->m_dNorth;
    const CTyd_Inf& info = doc.m_info;
    double D = 0.0;
    switch (info.m_nDirMode) {
    case 0: D = -north + info.m_nDir16 * 22.5; break;
    case 1: D = -north - info.m_dDirAngle; break;
    default: D = -north + info.m_dDirAngle; break;
    }
    const double t = std::fmod(D, 360.0) * kPiMarks / 180.0 + view.Angle() * kPiMarks / 180.0;
    const double c = std::cos(t), s = std::sin(t);
    const double x0 = X - sx, y0 = Y - sy;
    auto at = [&](double a, double b, double* px, double* py) {
        *px = x0 + (a * c - b * s) * k;
        *py = y0 + (a * s + b * c) * k;
    };
    const bool active = view.InMode(110);
    const GuardRect g = ClientGuard(view.clientW, view.clientH);
    double hx1, hy1, tx, ty, hx2, hy2, ex, ey;
    at(3, 1, &hx1, &hy1);
    at(0, 0, &tx, &ty);
    at(3, -1, &hx2, &hy2);
    at(21, 0, &ex, &ey);
    {
        ScopedRop2 rop(*pDC, R2_XORPEN);
        ScopedPen pen(*pDC, CPen(PS_SOLID, 1, active ? kYellow : kMagenta));
        DrawSegment(pDC, hx1, hy1, tx, ty, g);
        DrawSegment(pDC, tx, ty, hx2, hy2, g);
        DrawSegment(pDC, tx, ty, ex, ey, g);
    }
    if (3.0 * k >= 1.0) {
        const std::string text = Sprintf("H0=%3.2fm", info.m_dH0);
        double ax = std::trunc(tx), ay = std::trunc(ty), bx = std::trunc(ex), by = std::trunc(ey);
        if (bx < ax) { std::swap(ax, bx); std::swap(ay, by); }
        double x, y, angle;
        GetLabelPosition(ax, ay, bx, by, static_cast<int>(text.size()), 1.5 * k, 1.5 * k, &x, &y, &angle);
        const int code = drawSwitch == 0 ? 0 : (active ? 6 : 3);
        DrawRotatedText(x, y, 3.0 * k, 3.0 * k, text, angle, code, 1, pDC);
    }
}

void DrawNorthMark(const DrawContext& view, CDC* pDC, int sx, int sy, int drawSwitch) {
    double X, Y, k;
    if (!MarkOnScreen(view, pDC, view.doc ? view.doc->m_zmn.m_ptNorthMark : CPointD(), sx, sy, &X, &Y, &k))
        return;
    const double a = NorthMarkAngle(view.tikInf->m_dNorth);
    const double displayDeg = view.Angle();
    const double t = a * kPiMarks / 180.0 + displayDeg * kPiMarks / 180.0;
    const double st = std::sin(t), ct = std::cos(t);
    const double x0 = X - sx, y0 = Y - sy;
    auto at = [&](double u, double v, double* px, double* py) {
        *px = x0 + (u * st + v * ct) * k;
        *py = y0 + (-u * ct + v * st) * k;
    };
    const bool active = view.InMode(109);
    const GuardRect g = ClientGuard(view.clientW, view.clientH);
    double tipX, tipY;
    at(26, 0, &tipX, &tipY);
    {
        ScopedRop2 rop(*pDC, R2_XORPEN);
        ScopedPen pen(*pDC, CPen(PS_SOLID, 1, active ? kYellow : kMagenta));
        const double r = std::trunc(6.0 * k);
        if (r <= kGuard) {
            const int xi = static_cast<int>(x0), yi = static_cast<int>(y0), ri = static_cast<int>(r);
            pDC->Arc(xi - ri, yi - ri, xi + ri, yi + ri, xi - ri, yi - ri, xi - ri, yi - ri);
        }
        double ax, ay, bx, by;
        at(0, -12, &ax, &ay);
        at(0, 12, &bx, &by);
        DrawSegment(pDC, ax, ay, bx, by, g);
        at(-22, 0, &ax, &ay);
        DrawSegment(pDC, ax, ay, tipX, tipY, g);
        at(19, -3, &ax, &ay);
        at(15, 3, &bx, &by);
        DrawSegment(pDC, tipX, tipY, ax, ay, g);
        DrawSegment(pDC, ax, ay, bx, by, g);
    }
    const double size = 4.0 * k;
    if (size >= 1.0) {
        const double rot = std::fmod(displayDeg + a + 0.000001, 360.0);
        const double s = (360.0 - rot) * kPiMarks / 180.0;
        const double x = std::trunc(tipX) - std::cos(s) * size / 4.0;
        const double y = std::trunc(tipY) + std::sin(s) * size / 4.0;
        const int code = drawSwitch == 0 ? 0 : (active ? 6 : 3);
        DrawRotatedText(x, y, size, size, "N", rot, code, 1, pDC);
    }
}

void DrawCalcPointFrames(const DrawContext& view, CDC* pDC, int sx, int sy, int index, int style) {
    if (!Ready(view, pDC)) return;
    const CTydDocData& doc = *view.doc;
    if (index < 0 || index >= view.calcPoints->GetSize() ||
        index >= static_cast<int>(doc.m_pCalcPoints.size()))
        return;
    if (view.calcPoints->GetAt(index).GetUse() == 0) return;
    const CPointD pos = doc.m_pCalcPoints[static_cast<std::size_t>(index)];
    if (pos.m_dX > 99999999.9 && pos.m_dY > 99999999.9) return;
    const double k = PixelsPerMm(doc.m_zmn.m_nScale, view.Scale());
    if (k <= 0.0) return;
    const int dec = doc.m_zmn.m_nDecimals;
    const double w = (dec > 0 ? 2.0 * dec + 41.0 : 39.0) * k;
    const double h = 9.0 * k;
    double X, Y;
    if (!WorldToViewD(*view.coord, pos.m_dX, pos.m_dY, &X, &Y)) return;
    const CRect rc = GuardedRect(X - sx, Y - h - sy, X + w - sx, Y - sy, ClientGuard(view.clientW, view.clientH));
    if (!pDC->RectVisible(rc)) return;
    ScopedBrush brush(*pDC, CBrush::Null());
    ScopedRop2 rop(*pDC, R2_XORPEN);
    ScopedPen pen(*pDC, CPen(PS_SOLID, 1, (style == 0 || style == 1) ? kYellow : kBlue));
    pDC->Rectangle(rc.left, rc.top, rc.right, rc.bottom);
}

void DrawDrawingFrame(const DrawContext& view, CDC* pDC, int sx, int sy) {
    if (!Ready(view, pDC)) return;
    const CZmn_Inf& z = view.doc->m_zmn;
    const double k = PixelsPerMm(z.m_nScale, view.Scale());
    if (k <= 0.0) return;
    double X, Y;
    if (!WorldToViewD(*view.coord, z.m_dCenterX, z.m_dCenterY, &X, &Y)) return;
    X -= sx;
    Y -= sy;
    const double w = z.m_nFrameWidth / 2.0 * k, h = z.m_nFrameHeight / 2.0 * k;
    const GuardRect g = ClientGuard(view.clientW, view.clientH);
    const CRect outer = GuardedRect(X - w, Y - h - 10.0 * k, X + w, Y + h, g);
    if (!pDC->RectVisible(outer)) return;
    ScopedBrush brush(*pDC, CBrush::Null());
    ScopedRop2 rop(*pDC, R2_XORPEN);
    ScopedPen pen(*pDC, CPen(PS_SOLID, 1, view.InMode(100) ? kYellow : kMagenta));
    pDC->Rectangle(outer.left, outer.top, outer.right, outer.bottom);
    DrawSegment(pDC, X - w, Y - h, X + w, Y - h, g);
    double left, right, top, bottom;
    const double rx = X + w, by = Y + h;
    if (z.m_nScaleStyle != 0) {
        left = rx - 50.0 * k; right = rx - 10.0 * k; top = by - 11.0 * k; bottom = by - 7.0 * k;
    } else {
        const int n = static_cast<int>(std::log10(z.m_nScale + 0.0001)) + 9;
        left = rx - (5.0 * n + 5.0) * k; right = rx - 5.0 * k; top = by - 11.5 * k; bottom = by - 6.5 * k;
    }
    const CRect box = GuardedRect(left, top, right, bottom, g);
    if (pDC->RectVisible(box)) pDC->Rectangle(box.left, box.top, box.right, box.bottom);
}

}  // namespace wv

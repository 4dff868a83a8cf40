#include "draw/digital_map_draw.h"

#include "draw/primitives.h"
#include "draw/view_geometry.h"
#include "platform/text.h"

#include <algorithm>
#include <cmath>

namespace wv {

namespace {

struct NodeXY {
    double X = 0.0;  // view coordinates (truncated)
    double Y = 0.0;
};

// Placement of a sea node; false when it is not on the scrolled client area or not finite.
bool PlaceNode(const DrawContext& view, int node, int sx, int sy, NodeXY* p) {
    const CTydDocData& doc = *view.doc;
    const CPointF pos = doc.m_mesh.GetAt(node).GetPos();
    if (!MeshToViewD(*view.coord, doc.m_calcArea.GetOrigin(), pos.m_fX, pos.m_fY, &p->X, &p->Y)) return false;
    return sx <= p->X && p->X <= static_cast<double>(sx) + view.clientW && sy <= p->Y &&
           p->Y <= static_cast<double>(sy) + view.clientH;
}

bool Ready(const DrawContext& view, CDC* pDC) {
    return pDC != nullptr && view.doc != nullptr && view.coord != nullptr;
}

// Colour code of a node: all-nodes call by flag (1 shown, else selected); one-node call
// by flag (0 black, 1 shown, else selected).
int CodeFor(int flag, bool one, int shown, int selected) {
    if (one && flag == 0) return 0;
    return flag == 1 ? shown : selected;
}

void Dot(CDC* pDC, const NodeXY& p, int sx, int sy, int size, COLORREF c) {
    pDC->FillSolidRect(static_cast<int>(p.X - sx), static_cast<int>(p.Y - sy), size, size, c);
}

void NodeText(CDC* pDC, const NodeXY& p, int sx, int sy, const std::string& text, double h,
              double offsetChars, int code) {
    if (!(h >= 1.0)) return;
    const double offset = (static_cast<double>(text.size()) - offsetChars) * h / 2.0;
    DrawRotatedText(p.X - sx - offset, p.Y - sy, h, h, text, 0.0, code, 1, pDC);
}

// The nodes a routine visits: all, or the one asked for when it exists.
template <class F> void ForNodes(const CDigitalMap& mesh, int node, F f) {
    if (node < 0) {
        for (int i = 0; i < mesh.GetCount(); ++i) f(i, false);
    } else if (node < mesh.GetCount()) {
        f(node, true);
    }
}

}  // namespace

double ShownDirection(double nodeDirection, double north, double displayAngle, int dirMode,
                      int outDirSense) {
    double d = (90.0 - nodeDirection) - (north - displayAngle);
    if ((dirMode == 0 && outDirSense == 1) || dirMode == 2) d = -d;
    if (!std::isfinite(d)) return 0.0;
    // Reduce first (a huge north would otherwise take forever by steps of 360), round to
    // the written decimal, then bring into range, so 359.96 shows as 0.0.
    d = std::fmod(d, 360.0);
    d = std::round(d * 10.0) / 10.0;
    if (d < -0.000001) d += 360.0;
    if (d > 359.99999) d -= 360.0;
    if (d == 0.0) d = 0.0;  // no "-0.0"
    return d;
}

void DrawDepthDigitalMap(const DrawContext& view, CDC* pDC, int sx, int sy) {
    if (!Ready(view, pDC)) return;
    const CTydDocData& doc = *view.doc;
    const double h = doc.m_zmn.m_dMapTextSize * PixelsPerMm(doc.m_zmn.m_nScale, view.Scale());
    for (int i = 0; i < doc.m_mesh.GetCount(); ++i) {
        if (doc.m_mesh.GetDepthFlag(i) == 0) continue;
        NodeXY p;
        if (!PlaceNode(view, i, sx, sy, &p)) continue;
        Dot(pDC, p, sx, sy, 3, RGB(192, 192, 192));
        NodeText(pDC, p, sx, sy, Sprintf("%2.1f", static_cast<double>(doc.m_mesh.GetAt(i).GetDepth())), h, 1.75, 8);
    }
}

void DrawWaveHeightDigitalMap(const DrawContext& view, CDC* pDC, int sx, int sy, int node) {
    if (!Ready(view, pDC)) return;
    const CTydDocData& doc = *view.doc;
    const CDigitalMap& mesh = doc.m_mesh;
    const int kind = doc.m_zmn.m_nValueType;
    const double h = doc.m_zmn.m_dMapTextSize * PixelsPerMm(doc.m_zmn.m_nScale, view.Scale());
    ForNodes(mesh, node, [&](int i, bool one) {
        const int flag = mesh.GetHeightFlag(i);
        const double v = mesh.GetAt(i).GetValue(kind, mesh.GetWaveHeight());
        if (!one && (flag == 0 || !(v >= 0.0))) return;
        NodeXY p;
        if (!PlaceNode(view, i, sx, sy, &p)) return;
        const int code = CodeFor(flag, one, 5, 6);
        Dot(pDC, p, sx, sy, 3, ColorFromCode(code));
        NodeText(pDC, p, sx, sy, Sprintf("%3.2f", v), h, 2.75, code);
    });
}

void DrawWaveDirDigitalMap(const DrawContext& view, CDC* pDC, int sx, int sy, int node) {
    if (!Ready(view, pDC)) return;
    const CTydDocData& doc = *view.doc;
    const CDigitalMap& mesh = doc.m_mesh;
    const double h = doc.m_zmn.m_dDirTextSize * PixelsPerMm(doc.m_zmn.m_nScale, view.Scale());
    ForNodes(mesh, node, [&](int i, bool one) {
        const int flag = mesh.GetDirFlag(i);
        if (!one && flag == 0) return;
        NodeXY p;
        if (!PlaceNode(view, i, sx, sy, &p)) return;
        const int code = CodeFor(flag, one, 4, 6);
        const double d = ShownDirection(mesh.GetAt(i).GetDirection(), view.tikInf->m_dNorth, view.Angle(),
                                        doc.m_info.m_nDirMode, doc.m_info.m_nOutDirSense);
        Dot(pDC, p, sx, sy, 3, ColorFromCode(code));
        NodeText(pDC, p, sx, sy, Sprintf("%2.1f", d), h, 1.75, code);
    });
}

void DrawVectorMap(const DrawContext& view, CDC* pDC, int sx, int sy, int node) {
    if (!Ready(view, pDC)) return;
    const CTydDocData& doc = *view.doc;
    const CDigitalMap& mesh = doc.m_mesh;
    const CZmn_Inf& z = doc.m_zmn;
    const int kind = z.m_nValueType;
    if (kind < 0 || kind >= kValueTypes) return;
    double from = z.m_dVectorLow[kind], to = z.m_dVectorHigh[kind];
    if (from > to) std::swap(from, to);
    double lenMin = z.m_dVectorMin, lenMax = z.m_dVectorMax;
    if (lenMin > lenMax) std::swap(lenMin, lenMax);
    const double g = view.Scale();
    if (PixelsPerMm(z.m_nScale, g) <= 0.0) return;
    ScopedRop2 rop(*pDC, R2_COPYPEN);
    const GuardRect guard = ClientGuard(view.clientW, view.clientH);
    ForNodes(mesh, node, [&](int i, bool one) {
        const int flag = mesh.GetVectorFlag(i);
        if (!one && flag == 0) return;
        const CCalValue cv = mesh.GetAt(i);
        const double v = cv.GetValue(kind, mesh.GetWaveHeight());
        // A negative value is a node without a result: no arrow.
        if (!(v >= 0.0)) return;
        if (!(from - 0.0000001 <= v && v <= to + 0.0000001)) return;
        // A flat display range maps every value onto the shortest arrow.
        const double L = (to - from) > 0.0 ? lenMin + (v - from) / (to - from) * (lenMax - lenMin) : lenMin;
        if (!(L >= 0.5)) return;
        NodeXY p;
        if (!PlaceNode(view, i, sx, sy, &p)) return;
        const int code = CodeFor(flag, one, 3, 6);
        const COLORREF color = ColorFromCode(code);
        const double H = L * 0.5 * z.m_nScale / 1000.0;
        const double B = H / 3.0;
        const double t = cv.GetDirection() * 3.141592653589793 / 180.0;
        const double ux = -std::sin(t), uy = std::cos(t);
        const double wx = std::cos(t), wy = std::sin(t);
        const double X = p.X - sx, Y = p.Y - sy;
        const double tipX = std::trunc(X + H * g * ux), tipY = std::trunc(Y + H * g * uy);
        {
            ScopedPen pen(*pDC, CPen(PS_SOLID, 1, color));
            DrawSegment(pDC, std::trunc(X - H * g * ux), std::trunc(Y - H * g * uy), tipX, tipY, guard);
            DrawSegment(pDC, tipX, tipY, X + B * g * (ux - wx), Y + B * g * (uy - wy), guard);
            DrawSegment(pDC, tipX, tipY, X + B * g * (ux + wx), Y + B * g * (uy + wy), guard);
        }
        Dot(pDC, p, sx, sy, 3, color);
    });
}

void DrawMeshNodeMarks(const DrawContext& view, CDC* pDC, int sx, int sy, int node, int style,
                       int includeNegative) {
    if (!Ready(view, pDC)) return;
    const CTydDocData& doc = *view.doc;
    const CDigitalMap& mesh = doc.m_mesh;
    if (node < -1) return;
    if (node == -1) {
        const double px = doc.m_calcArea.GetMeshSize() * view.Scale();
        if (!(px >= 5.0)) return;  // (int)(mesh x scale) >= 5
    }
    const int kind = doc.m_zmn.m_nValueType;
    const int size = style == 0 ? 3 : 2;
    const COLORREF color = style == 0 ? kYellow : RGB(0, 0x78, 0x78);
    ForNodes(mesh, node, [&](int i, bool) {
        const double v = mesh.GetAt(i).GetValue(kind, mesh.GetWaveHeight());
        if (v < 0.0 && includeNegative == 0) return;
        NodeXY p;
        if (!PlaceNode(view, i, sx, sy, &p)) return;
        Dot(pDC, p, sx, sy, size, color);
    });
}

void DrawNoResultMarks(const DrawContext& view, CDC* pDC, int sx, int sy) {
    if (!Ready(view, pDC)) return;
    const CTydDocData& doc = *view.doc;
    const CDigitalMap& mesh = doc.m_mesh;
    const int kind = doc.m_zmn.m_nValueType;
    for (int i = 0; i < mesh.GetCount(); ++i) {
        if (!(mesh.GetAt(i).GetValue(kind, mesh.GetWaveHeight()) < 0.0)) continue;
        NodeXY p;
        if (!PlaceNode(view, i, sx, sy, &p)) continue;
        Dot(pDC, p, sx, sy, 2, kNoResult);
    }
}

}  // namespace wv

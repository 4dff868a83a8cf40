#include "draw/terrain_draw.h"

#include "draw/primitives.h"
#include "draw/view_geometry.h"

#include <cmath>

namespace wv {

namespace {

bool SegmentMayShow(double X1, double Y1, double X2, double Y2, int sx, int sy, int w, int h) {
    return (X1 >= sx || X2 >= sx) && (Y1 >= sy || Y2 >= sy) && (sx + w >= X1 || sx + w >= X2) &&
           (sy + h >= Y1 || sy + h >= Y2);
}

bool PointShows(double X, double Y, int sx, int sy, int w, int h) {
    return sx <= X && X <= static_cast<double>(sx) + w && sy <= Y && Y <= static_cast<double>(sy) + h;
}

// One line in its colour; (dx, dy) is what is subtracted from the view coordinates.
void LineInColor(const DrawContext& view, CDC* pDC, const CLineZokusei& line, COLORREF color, int sx,
                 int sy, double dx, double dy) {
    double X1, Y1, X2, Y2;
    const CPointD a = line.GetStartPos(), b = line.GetEndPos();
    if (!WorldToViewRaw(*view.coord, a.m_dX, a.m_dY, &X1, &Y1) ||
        !WorldToViewRaw(*view.coord, b.m_dX, b.m_dY, &X2, &Y2))
        return;
    if (!SegmentMayShow(X1, Y1, X2, Y2, sx, sy, view.clientW, view.clientH)) return;
    ScopedPen pen(*pDC, CPen(PS_SOLID, 1, color));
    double x1 = X1 - dx, y1 = Y1 - dy, x2 = X2 - dx, y2 = Y2 - dy;
    if (!ClipSegment(x1, y1, x2, y2, ClientGuard(view.clientW, view.clientH, sx - dx, sy - dy))) return;
    DrawLineD(x1, y1, x2, y2, pDC);
}

bool Selected(const int* table, int tableCount, int slotCount, int slot) {
    return table != nullptr && tableCount == slotCount && slot >= 0 && slot < tableCount && table[slot] == 1;
}

void PointMarks(const DrawContext& view, CDC* pDC, int sx, int sy, bool highlight) {
    const CSokuten& pts = *view.surveyPoints;
    const bool on = highlight && view.pointSel != nullptr && view.pointSelCount == pts.GetSlotCount();
    for (int i = 0; i < pts.GetSlotCount(); ++i) {
        const CSokutenZokusei p = pts.GetAt(i);
        if (p.GetId() < 0) continue;
        double X, Y;
        if (!WorldToViewD(*view.coord, p.GetPos().m_dX, p.GetPos().m_dY, &X, &Y)) continue;
        if (!PointShows(X, Y, sx, sy, view.clientW, view.clientH)) continue;
        const COLORREF c = on && Selected(view.pointSel, view.pointSelCount, pts.GetSlotCount(), i) ? kYellow : kRed;
        pDC->FillSolidRect(static_cast<int>(X - sx - 1), static_cast<int>(Y - sy - 1), 2, 2, c);
    }
}

}  // namespace

COLORREF LineKindColor(int kind, double depth) {
    switch (kind) {
    case kLineTerrain: return kWhite;
    case kLineDepth: return depth > 0.0 ? kRed : kCyan;
    case kLineAuxiliary: return kBlue;
    default: return RGB(0, 128, 0);
    }
}

void DrawTerrainLines(const DrawContext& view, CDC* pDC, int sx, int sy) {
    if (pDC == nullptr || view.coord == nullptr) return;
    const CLine& lines = *view.lines;
    ScopedRop2 rop(*pDC, R2_COPYPEN);
    const bool highlight = view.lineSel != nullptr && view.lineSelCount == lines.GetSlotCount();
    for (int i = 0; i < lines.GetSlotCount(); ++i) {
        const CLineZokusei l = lines.GetAt(i);
        if (l.GetState() < 0) continue;
        const bool sel = highlight && Selected(view.lineSel, view.lineSelCount, lines.GetSlotCount(), i);
        LineInColor(view, pDC, l, sel ? kYellow : LineKindColor(l.GetKind(), l.GetDepth()), sx, sy, sx, sy);
    }
}

void DrawTerrainLinesCalc(const DrawContext& view, CDC* pDC, int sx, int sy) {
    if (pDC == nullptr || view.coord == nullptr || view.doc == nullptr) return;
    const CZmn_Inf& z = view.doc->m_zmn;
    const CLine& lines = *view.lines;
    ScopedRop2 rop(*pDC, R2_COPYPEN);
    for (int i = 0; i < lines.GetSlotCount(); ++i) {
        const CLineZokusei l = lines.GetAt(i);
        if (l.GetState() < 0) continue;
        const int kind = l.GetKind();
        if (!((z.m_bDrawContour != 0 || kind == kLineTerrain) && !(z.m_bDrawLandGrid == 1 && kind == kLineTerrain)))
            continue;
        LineInColor(view, pDC, l, LineKindColor(kind, l.GetDepth()), sx, sy, sx, sy);
    }
}

void DrawTerrainLine(const DrawContext& view, CDC* pDC, int slot, int style, int coordSwitch) {
    if (pDC == nullptr || view.coord == nullptr || slot < 0 || slot >= view.lines->GetSlotCount()) return;
    const CLineZokusei l = view.lines->GetAt(slot);
    if (l.GetState() < 0) return;
    ScopedRop2 rop(*pDC, R2_COPYPEN);
    const int sx = view.scrollX, sy = view.scrollY;
    const double d = coordSwitch == 1 ? 0.0 : 1.0;
    LineInColor(view, pDC, l, style == 1 ? kYellow : LineKindColor(l.GetKind(), l.GetDepth()), sx, sy, d * sx,
                d * sy);
}

void DrawSurveyPointMarks(const DrawContext& view, CDC* pDC, int sx, int sy) {
    if (pDC == nullptr || view.coord == nullptr) return;
    PointMarks(view, pDC, sx, sy, true);
}

void DrawSurveyPointMarksCalc(const DrawContext& view, CDC* pDC, int sx, int sy) {
    if (pDC == nullptr || view.coord == nullptr || view.doc == nullptr) return;
    const CZmn_Inf& z = view.doc->m_zmn;
    if (z.m_bDrawContour == 0 || z.m_bDrawLandGrid == 1) return;
    PointMarks(view, pDC, sx, sy, false);
}

void DrawPickedPoints(const DrawContext& view, CDC* pDC, int sx, int sy) {
    if (pDC == nullptr || view.coord == nullptr) return;
    const GuardRect g = ClientGuard(view.clientW, view.clientH);
    const int slots[2] = {view.point1, view.point2};
    const COLORREF colors[2] = {kGreen, kMagenta};
    for (int k = 0; k < 2; ++k) {
        if (slots[k] < 0 || slots[k] >= view.surveyPoints->GetSlotCount()) continue;
        const CPointD p = view.surveyPoints->GetAt(slots[k]).GetPos();
        double X, Y;
        if (!WorldToViewD(*view.coord, p.m_dX, p.m_dY, &X, &Y)) continue;
        X -= sx;
        Y -= sy;
        if (!g.Contains(X, Y)) continue;
        const int x = static_cast<int>(X), y = static_cast<int>(Y);
        ScopedPen pen(*pDC, CPen(PS_SOLID, 1, colors[k]));
        ScopedBrush brush(*pDC, CBrush(colors[k]));
        pDC->Chord(x - 2, y - 2, x + 2, y + 2, x - 2, y, x - 2, y);
    }
}

void DrawPickSigns(const DrawContext& view, CDC* pDC) {
    if (pDC == nullptr || view.coord == nullptr) return;
    const int slots[2] = {view.point1, view.point2};
    if (slots[0] < 0 || slots[1] < 0) return;
    const char* const signs[2] = {"\x81\x7B", "\x81\x7C"};  // "＋" and "－" in CP932
    for (int k = 0; k < 2; ++k) {
        if (slots[k] >= view.surveyPoints->GetSlotCount()) continue;
        const CPointD p = view.surveyPoints->GetAt(slots[k]).GetPos();
        double X, Y;
        if (!WorldToViewD(*view.coord, p.m_dX, p.m_dY, &X, &Y)) continue;
        DrawRotatedText(X - view.scrollX, Y - view.scrollY, 14, 14, signs[k], 0.0, 6, 1, pDC);
    }
}

void DrawBlocks(CDC* pDC, const CCoordWnd& coord, int clientW, int clientH, int sx, int sy,
                const CBlock& blocks) {
    if (pDC == nullptr) return;
    ScopedPen pen(*pDC, CPen(PS_SOLID, 1, kRed));
    ScopedRop2 rop(*pDC, R2_COPYPEN);
    for (int i = 0; i < blocks.GetCount(); ++i) {
        const CPointD p = blocks.GetAt(i).GetPos();
        double X, Y;
        if (!WorldToViewD(coord, p.m_dX, p.m_dY, &X, &Y) || !PointShows(X, Y, sx, sy, clientW, clientH)) continue;
        const int x = static_cast<int>(X - sx), y = static_cast<int>(Y - sy);
        pDC->MoveTo(x + 4, y + 4);
        pDC->LineTo(x - 4, y - 4);
        pDC->MoveTo(x + 4, y - 4);
        pDC->LineTo(x - 4, y + 4);
        pDC->LineTo(x - 4, y - 4);
        pDC->LineTo(x + 4, y - 4);
        pDC->LineTo(x + 4, y + 4);
        pDC->LineTo(x - 4, y + 4);
    }
}

void DrawCalcPoints(CDC* pDC, const CCoordWnd& coord, int clientW, int clientH, int sx, int sy,
                    int index, int style, const CSansyutu& points) {
    if (pDC == nullptr || index < 0 || index >= CSansyutu::kCapacity || index >= points.GetSize()) return;
    const CSansyutuZokusei pt = points.GetAt(index);
    if (pt.GetUse() == 0) return;
    double X, Y;
    if (!WorldToViewD(coord, pt.GetPos().m_dX, pt.GetPos().m_dY, &X, &Y) ||
        !PointShows(X, Y, sx, sy, clientW, clientH))
        return;
    // Style 3 takes back a style-2 mark: the same red XOR circles, the name in black.
    const bool red = style == 2 || style == 3;
    const int code = style == 0 ? 6 : style == 2 ? 2 : 0;
    ScopedRop2 rop(*pDC, R2_XORPEN);
    ScopedBrush brush(*pDC, CBrush::Null());
    {
        ScopedPen pen(*pDC, CPen(PS_SOLID, 1, red ? kRed : kYellow));
        const int x = static_cast<int>(X - sx), y = static_cast<int>(Y - sy);
        pDC->Ellipse(x - 4, y - 4, x + 4, y + 4);
        pDC->Ellipse(x - 2, y - 2, x + 2, y + 2);
    }
    DrawRotatedText(X + 8 - sx, Y + 4 - sy, 8, 8, pt.GetName(), 0.0, code, 1, pDC);
}

}  // namespace wv

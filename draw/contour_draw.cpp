#include "draw/contour_draw.h"

#include "core/label_placement.h"
#include "draw/primitives.h"
#include "draw/view_geometry.h"
#include "platform/text.h"

#include <utility>

namespace wv {

namespace {

// The segment is drawn only when it can reach the scrolled client area.
bool SegmentMayShow(double X1, double Y1, double X2, double Y2, int sx, int sy, int w, int h) {
    return (X1 >= sx || X2 >= sx) && (Y1 >= sy || Y2 >= sy) && (sx + w >= X1 || sx + w >= X2) &&
           (sy + h >= Y1 || sy + h >= Y2);
}

// One segment with a pen of its own, as each segment of these figures is drawn.
void PenSegment(CDC* pDC, COLORREF color, double X1, double Y1, double X2, double Y2, const GuardRect& g) {
    ScopedPen pen(*pDC, CPen(PS_SOLID, 1, color));
    DrawSegment(pDC, X1, Y1, X2, Y2, g);
}

bool Marked(const DrawContext& view, const CContPoint& a, const CContPoint& b) {
    if (view.InMode(107)) return a.m_nSelect != 0;
    if (view.InMode(108)) return a.m_nSelect != 0 && b.m_nSelect != 0;
    if (view.InMode(114)) return a.m_nSelect != 0;
    return false;
}

}  // namespace

void DrawHCheck(const DrawContext& view, CDC* pDC, int sx, int sy) {
    if (pDC == nullptr || view.doc == nullptr || view.coord == nullptr) return;
    const CTydDocData& doc = *view.doc;
    const CPointD origin = doc.m_calcArea.GetOrigin();
    const GuardRect g = ClientGuard(view.clientW, view.clientH);
    for (int i = 0; i < doc.m_hcheckLines.GetCount(); ++i) {
        const CPointF a = doc.m_hcheckPoints.GetPoint(doc.m_hcheckLines.GetStart(i));
        const CPointF b = doc.m_hcheckPoints.GetPoint(doc.m_hcheckLines.GetEnd(i));
        double X1, Y1, X2, Y2;
        if (!MeshToViewD(*view.coord, origin, a.m_fX, a.m_fY, &X1, &Y1) ||
            !MeshToViewD(*view.coord, origin, b.m_fX, b.m_fY, &X2, &Y2))
            continue;
        if (!SegmentMayShow(X1, Y1, X2, Y2, sx, sy, view.clientW, view.clientH)) continue;
        PenSegment(pDC, kGreen, X1 - sx, Y1 - sy, X2 - sx, Y2 - sy, g);
    }
}

void DrawContours(const DrawContext& view, CDC* pDC, int sx, int sy, int index) {
    if (pDC == nullptr || view.doc == nullptr || view.coord == nullptr) return;
    const CTydDocData& doc = *view.doc;
    const CContGroup& group = doc.m_contGroup;
    if (index >= group.GetCount()) return;
    const int first = index < 0 ? 0 : index;
    const int last = index < 0 ? group.GetCount() - 1 : index;
    const CPointD origin = doc.m_calcArea.GetOrigin();
    const GuardRect g = ClientGuard(view.clientW, view.clientH);
    for (int pass = 0; pass < 2; ++pass) {
        for (int i = first; i <= last; ++i) {
            const int n = group.GetPointCount(i);
            for (int j = 0; j + 1 < n; ++j) {
                const CContPoint a = group.GetPoint(i, j);
                const CContPoint b = group.GetPoint(i, j + 1);
                if (a.m_nLine == 0) continue;
                const bool marked = Marked(view, a, b);
                if (pass == 0) {
                    if (a.m_nLabel == 1) continue;
                    double X1, Y1, X2, Y2;
                    if (!MeshToViewD(*view.coord, origin, a.m_point.m_fX, a.m_point.m_fY, &X1, &Y1) ||
                        !MeshToViewD(*view.coord, origin, b.m_point.m_fX, b.m_point.m_fY, &X2, &Y2))
                        continue;
                    if (!SegmentMayShow(X1, Y1, X2, Y2, sx, sy, view.clientW, view.clientH)) continue;
                    PenSegment(pDC, marked ? kYellow : kWhite, X1 - sx, Y1 - sy, X2 - sx, Y2 - sy, g);
                } else if (a.m_nLabel == 1) {
                    DrawContourValue(view, pDC, sx, sy, a.m_point, b.m_point, group.GetLevel(i), marked ? 6 : 7, 0);
                }
            }
        }
    }
}

void DrawContourValue(const DrawContext& view, CDC* pDC, int sx, int sy, CPointF p1, CPointF p2,
                      double level, int colourCode, int lineSwitch) {
    if (pDC == nullptr || view.doc == nullptr || view.coord == nullptr) return;
    const CTydDocData& doc = *view.doc;
    const CPointD origin = doc.m_calcArea.GetOrigin();
    double X1, Y1, X2, Y2;
    if (!MeshToViewD(*view.coord, origin, p1.m_fX, p1.m_fY, &X1, &Y1) ||
        !MeshToViewD(*view.coord, origin, p2.m_fX, p2.m_fY, &X2, &Y2))
        return;
    if (!(X1 < X2)) {
        std::swap(X1, X2);
        std::swap(Y1, Y2);
    }
    if (!SegmentMayShow(X1, Y1, X2, Y2, sx, sy, view.clientW, view.clientH)) return;
    const GuardRect g = ClientGuard(view.clientW, view.clientH);
    if (colourCode != 0 && lineSwitch == 1) PenSegment(pDC, kBlack, X1 - sx, Y1 - sy, X2 - sx, Y2 - sy, g);
    const std::string text = Sprintf("%3.2f", level);
    const double h = doc.m_zmn.m_dContTextSize * PixelsPerMm(doc.m_zmn.m_nScale, view.Scale());
    double x = 0, y = 0, angle = 0;
    GetLabelPosition(X1 - sx, Y1 - sy, X2 - sx, Y2 - sy, static_cast<int>(text.size()), h / 2.0, -h / 2.0,
                     &x, &y, &angle);
    if (h >= 1.0) DrawRotatedText(x, y, h, h, text, angle, colourCode, 1, pDC);
    if (colourCode == 0 && lineSwitch == 1) PenSegment(pDC, kWhite, X1 - sx, Y1 - sy, X2 - sx, Y2 - sy, g);
}

}  // namespace wv

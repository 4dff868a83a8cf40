#include "viewer/record_painter.h"

#include "viewer/view_logic.h"

namespace wv {

namespace {

COLORREF ColourOf(char type)
{
    switch (type) {
    case 'N':
        return kDepthLineColour;
    case 'L':
        return kCoastlineColour;
    default:
        return kLowTideColour;
    }
}

}  // namespace

void PaintRecords(CDC& dc, const CReliefscopeDoc& doc, const ReliefscopeGeometry& geo)
{
    // Scroll coordinates, shifted by the scroll position as a scroll view's context is.
    ScopedViewportOrg origin(dc, -geo.ScrollX(), -geo.ScrollY());
    const CPen oldPen = dc.GetCurrentPen();
    const long long right = static_cast<long long>(geo.ScrollX()) + geo.ClientW();
    const long long bottom = static_cast<long long>(geo.ScrollY()) + geo.ClientH();
    const long long left = geo.ScrollX();
    const long long top = geo.ScrollY();

    char prevType = 0;
    int prevLine = 0;
    PixelPoint prev;
    bool penAtPrev = false;
    for (int i = 0; i < doc.Count(); ++i) {
        const char type = doc.PointType(i);
        if (!doc.IsShownType(type)) {
            continue;  // neither joins nor splits the lines around it
        }
        const PixelPoint p = geo.ToPixel(doc.Latitude(i), doc.Longitude(i));
        const int lineNo = doc.LineNumber(i);
        if (type != prevType) {
            dc.SelectObject(CPen(PS_SOLID, 1, ColourOf(type)));
            penAtPrev = false;
        } else if (lineNo == prevLine) {
            // Segments wholly left of or above the client, or wholly right of or below
            // it, are not drawn.
            const bool skip = (prev.x < left && p.x < left) || (prev.y < top && p.y < top) ||
                              (prev.x > right && p.x > right) || (prev.y > bottom && p.y > bottom);
            if (!skip) {
                if (!penAtPrev) {
                    dc.MoveTo(prev.x, prev.y);
                }
                dc.LineTo(p.x, p.y);
                penAtPrev = true;
            } else {
                penAtPrev = false;
            }
        } else {
            penAtPrev = false;
        }
        prev = p;
        prevLine = lineNo;
        prevType = type;
    }
    dc.SelectObject(oldPen);
}

void XorAreaRect(CDC& dc, const CReliefscopeDoc& doc, const ReliefscopeGeometry& geo)
{
    const GeoBox& a = doc.Area();
    if (!AreaIsDrawn(a)) {
        return;
    }
    ScopedViewportOrg origin(dc, -geo.ScrollX(), -geo.ScrollY());
    ScopedPen pen(dc, CPen(PS_SOLID, 1, kAreaColour));
    ScopedRop2 rop(dc, R2_XORPEN);
    const PixelPoint ll = geo.ToPixel(a.latMin, a.lonMin);
    const PixelPoint ur = geo.ToPixel(a.latMax, a.lonMax);
    // A closed polyline draws each corner once, so a second pass erases exactly.
    const CPoint corners[5] = {{ll.x, ll.y}, {ur.x, ll.y}, {ur.x, ur.y}, {ll.x, ur.y}, {ll.x, ll.y}};
    dc.Polyline(corners, 5);
}

void XorRubberBandRect(CDC& dc, const DragRect& r, bool filled)
{
    ScopedRop2 rop(dc, R2_XORPEN);
    ScopedPen pen(dc, CPen(PS_SOLID, 1, filled ? kAreaColour : kZoomBandColour));
    ScopedBrush brush(dc, filled ? CBrush(kAreaColour) : CBrush::Null());
    dc.Rectangle(r.left, r.top, r.right + 1, r.bottom + 1);
}

void RenderView(CDC& dc, const CReliefscopeDoc& doc, const ReliefscopeGeometry& geo)
{
    dc.FillSolidRect(0, 0, geo.ClientW(), geo.ClientH(), RGB(0, 0, 0));
    PaintRecords(dc, doc, geo);
    XorAreaRect(dc, doc, geo);
}

}  // namespace wv

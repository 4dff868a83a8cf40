// Draws the viewer's picture through a drawing context: the records on black, the
// output area as an XOR mark, and the rubber bands of the mouse modes. Qt-free; the view
// gives it a context on its window image.
#pragma once

#include "platform/dc.h"
#include "viewer/reliefscope_doc.h"
#include "viewer/view_geometry.h"

namespace wv {

// Line colours by record type.
inline constexpr COLORREF kDepthLineColour = RGB(0, 255, 255);
inline constexpr COLORREF kCoastlineColour = RGB(255, 255, 255);
inline constexpr COLORREF kLowTideColour = RGB(255, 0, 0);
inline constexpr COLORREF kAreaColour = RGB(0, 255, 0);
inline constexpr COLORREF kZoomBandColour = RGB(255, 255, 255);

// The whole picture of the client: black, every shown line, and the area's mark.
void RenderView(CDC& dc, const CReliefscopeDoc& doc, const ReliefscopeGeometry& geo);

// The lines of the records, in file order. A point joins the previous shown point when
// their type and line number agree; a continuation record (another line number) only
// moves the pen to the point it repeats, so the line stays whole.
void PaintRecords(CDC& dc, const CReliefscopeDoc& doc, const ReliefscopeGeometry& geo);

// The output area's rectangle, green, XOR: drawn a second time it is gone.
void XorAreaRect(CDC& dc, const CReliefscopeDoc& doc, const ReliefscopeGeometry& geo);

// A rubber band in client pixels, XOR: an outline for the zooms, filled green for the
// output area.
void XorRubberBandRect(CDC& dc, const DragRect& r, bool filled);

}  // namespace wv

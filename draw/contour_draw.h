// Contour lines of the current figure with their value labels, and the lines of the
// depth-check figure, in the calculation view.
#pragma once

#include "draw/draw_context.h"
#include "platform/dc.h"

namespace wv {

// Every depth-check segment, green.
void DrawHCheck(const DrawContext& view, CDC* pDC, int sx, int sy);
// The contour polylines (index < 0: all; an index outside the group: none): first the
// unlabelled segments, then the labels. In modes 107, 108 and 114 selected segments
// show yellow, the rest white.
void DrawContours(const DrawContext& view, CDC* pDC, int sx, int sy, int index);
// One contour label on the segment p1-p2: the level "%3.2f" along it in the colour code
// (0 black, 6 yellow, 7 white). With the line switch 1 the segment is blacked out first
// (codes other than 0) or drawn again in white after (code 0).
void DrawContourValue(const DrawContext& view, CDC* pDC, int sx, int sy, CPointF p1, CPointF p2,
                      double level, int colourCode, int lineSwitch);

}  // namespace wv

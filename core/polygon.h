// Winding-angle polygon tests used by the depth mesh (land blocks) and by the area
// selection of both views. Include through core/geometry.h.
//
// A closed polygon repeats its first vertex as its last, so n + 1 vertices make n edges.
// The winding sum over the edges is +2 pi for a clockwise walk round the point (y up),
// -2 pi for a counter-clockwise one and 0 outside; 0.001 absorbs rounding of the sum.
#pragma once

#include "core/point.h"

namespace wv {

// `vertices` and `turnedY` hold n + 1 vertices; `turnedY[i]` is 30000 - vertices[i].y (the
// view's turned y). Edges run forwards, or backwards with `reverse`. True only when the
// point lies clearly outside; inside, on the boundary and undecided all give false. The
// sense of the polygon does not matter.
bool IsOutsidePolygon(double x, double y, const CPointD* vertices, const double* turnedY, int n,
                      bool reverse);

// Walks the closed list head to tail (tail to head when `reverse` is nonzero).
// 0 inside a clockwise walk, 1 outside, 2 otherwise (counter-clockwise walk, on the
// boundary, null or empty list).
int LocatePointInPolygon(double x, double y, int reverse, const CPointList* list);

// 1 when the closed polygon runs counter-clockwise (y up), 0 when clockwise, -1 for a
// null or empty list. Pass it to LocatePointInPolygon as the reverse flag.
int GetPolygonOrientation(const CPointList* list);

// 1 when the segment from the chain's last point (start) to a new point (end) must be
// refused: it crosses an earlier edge (closing exactly on the first point is allowed) or
// it goes straight back to the point before the start. 0 otherwise, and for a null list
// or one of fewer than 2 points.
int SegmentCrossesPolygon(double x1, double y1, double x2, double y2, const CPointList* list);

}  // namespace wv

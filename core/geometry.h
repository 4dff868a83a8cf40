// Plane geometry and number handling shared by the whole main program: the
// rotation-and-scale transform between a world frame and a view frame, projection on a
// segment, angles, segment crossing and clipping. The polygon tests and the numeric
// helpers live in their own headers and come along with this one.
//
// Angles are radians. The tolerances and result codes below are relied on by the depth
// mesh, contour tracing, hit tests and area selection; do not "tidy" them.
#pragma once

#include "core/numeric.h"
#include "core/point.h"
#include "core/polygon.h"

namespace wv {

inline constexpr double kPi = 3.141592653589793;
inline constexpr double kTwoPi = 6.283185307179586;

// Rotates (x, y) about (originX, originY) by the angle whose cosine and sine are given,
// scales and moves it onto (offsetX, offsetY):
//   out x = (dx cos + dy sin) scale + offset x,  out y = (dy cos - dx sin) scale + offset y.
// Passing cos(-a), sin(-a), 1/scale and exchanging origin and offset is the inverse.
// Always returns 0.
int WorldToScreen(double x, double y, double originX, double originY, double cosA, double sinA,
                  double scale, double offsetX, double offsetY, double* outX, double* outY);

// (P2 - P1) . (P4 - P3)
double DotProduct(double x1, double y1, double x2, double y2, double x3, double y3, double x4,
                  double y4);
// (x2 - x1)(y4 - y3) - (y2 - y1)(x4 - x3)
double CrossProduct(double x1, double y1, double x2, double y2, double x3, double y3, double x4,
                    double y4);

// Foot of the perpendicular from P on the line A-B, written also when it lies outside the
// segment. Result -1 for a segment shorter than the squared-length guard 1e-10 (nothing is
// written), 0 when the foot lies on the segment (-1e-9 < u < 1.000000001), else 1. In mode
// 1 a foot off the segment puts the overshoot, in segment lengths, into out x.
int ProjectPointOnSegment(double ax, double ay, double bx, double by, double px, double py,
                          double* outX, double* outY, int mode);

// Angle turned counter-clockwise (y up) from the direction A->C to the direction A->B,
// in [0, 2 pi).
double AngleBetween(double ax, double ay, double bx, double by, double cx, double cy);

// Crossing of the line P1-P2 with the line P3-P4. The outputs are set to (0, 0) first.
// -1 for parallel lines (|cross product| < 1e-10); otherwise 0 when the crossing lies on
// both segments, plus 1 when it lies outside the first, plus 2 when outside the second.
// The point is written in every non-parallel case.
int IntersectLines(double x1, double y1, double x2, double y2, double x3, double y3, double x4,
                   double y4, double* outX, double* outY);

// Clips the segment in place to the rectangle (border inside). 0 both ends inside (or an
// undecidable case, ends unchanged), -1 no part inside (unchanged), 1 start moved onto the
// border, 2 end moved, 3 both moved.
int ClipSegmentToRect(double* x1, double* y1, double* x2, double* y2, CPointD lowerLeft,
                      CPointD upperRight);

}  // namespace wv

// Turning positions into drawable pixels safely. View coordinates are kept in doubles
// until the last step: every one is clipped, in double, to the client rectangle widened by
// kGuard before it becomes an int. At a high zoom a terrain far away lands billions of
// pixels off; converted first, it would overflow the int and draw a wrapped line across
// the window. Coordinates already inside the guard are not changed by the clipping.
#pragma once

#include "core/coord_wnd.h"
#include "draw/draw_context.h"
#include "platform/dc.h"

#include <vector>

namespace wv {

inline constexpr double kGuard = 16384.0;

// A rectangle in the coordinates a routine draws in (client or view coordinates).
struct GuardRect {
    double left = 0.0;
    double top = 0.0;
    double right = 0.0;
    double bottom = 0.0;
    bool Contains(double x, double y) const {
        return x >= left && x <= right && y >= top && y <= bottom;
    }
};

// The client rectangle (0, 0, w, h) widened by the guard, shifted by (dx, dy) for
// routines that draw in unscrolled coordinates.
GuardRect ClientGuard(int clientW, int clientH, double dx = 0.0, double dy = 0.0);
// The device of a context in its logical coordinates, widened by the guard: for the
// routines that are not given a client size.
GuardRect DeviceGuard(const CDC& dc);

// Clips a segment to the rectangle in place. False when no part lies inside or a
// coordinate is not finite.
bool ClipSegment(double& x1, double& y1, double& x2, double& y2, const GuardRect& g);
// Clips a closed polygon to the rectangle (Sutherland-Hodgman). Points not finite make
// the polygon empty.
std::vector<CPoint> ClipPolygon(const std::vector<double>& xy, const GuardRect& g);
// A point clamped into the rectangle (for rectangles, whose parts beyond the guard cannot
// show). Not finite gives false.
bool ClampPoint(double& x, double& y, const GuardRect& g);

// World point to view coordinates truncated toward zero (WorldToViewPoint without the int
// conversion). False when the result is not finite.
bool WorldToViewD(const CCoordWnd& coord, double wx, double wy, double* vx, double* vy);
// World point to view coordinates without truncation.
bool WorldToViewRaw(const CCoordWnd& coord, double wx, double wy, double* vx, double* vy);
// Mesh-frame point (unrotated, calculation-area origin at (0, 0)) to truncated view
// coordinates: turned by minus the display angle, moved by the origin, then through the
// coordinate helper.
bool MeshToViewD(const CCoordWnd& coord, CPointD areaOrigin, double mx, double my, double* vx,
                 double* vy);
// Mesh frame to world, the first half of the above.
void MeshToWorld(double angleDeg, CPointD areaOrigin, double mx, double my, double* wx, double* wy);

// MoveTo/LineTo of a segment in drawing coordinates, clipped to the guard first.
// Returns false when nothing was drawn.
bool DrawSegment(CDC* pDC, double x1, double y1, double x2, double y2, const GuardRect& g);

// Pixels per paper millimetre: n mm = n x scale denominator / 1000 x view scale pixels.
// 0 when the scale is 0 or less or the view scale is not a positive finite number: then
// nothing sized in millimetres is drawn.
double PixelsPerMm(int scaleDenominator, double viewScale);

// Pen colours shared by the routines.
inline constexpr COLORREF kYellow = RGB(255, 255, 0);
inline constexpr COLORREF kMagenta = RGB(255, 0, 255);
inline constexpr COLORREF kWhite = RGB(255, 255, 255);
inline constexpr COLORREF kBlack = RGB(0, 0, 0);
inline constexpr COLORREF kRed = RGB(255, 0, 0);
inline constexpr COLORREF kGreen = RGB(0, 255, 0);
inline constexpr COLORREF kBlue = RGB(0, 0, 255);
inline constexpr COLORREF kCyan = RGB(0, 255, 255);
inline constexpr COLORREF kLandTan = 0x8CB4D2;  // land backdrop and land fill
inline constexpr COLORREF kNoResult = 0x2D52A0; // sea node without a result

}  // namespace wv

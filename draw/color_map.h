// The colour map of the result figures: the five-colour ramp that turns a value into a
// colour, and the screen map that paints every sea node of the mesh with it (the printed
// map uses the same ramp).
#pragma once

#include "draw/draw_context.h"
#include "platform/dc.h"

namespace wv {

// Blue, cyan, green, yellow, red at the five ascending breakpoints. Values outside
// B0..B4, and a value that is not a number, take white when `outOfRangeWhite` is nonzero,
// else black. A segment narrower than 1e-12 (a flat colour range) gives its top colour.
COLORREF GetRampColor(double value, const double breakpoints[5], int outOfRangeWhite);

// The five breakpoints equally spaced over from..to.
void MakeRampBreakpoints(double from, double to, double breakpoints[5]);

// Paints the mesh of the context's document: the land backdrop (when the land-fill switch
// is on), node squares subdivided and interpolated by cell, and black strips between the
// mesh rectangle and the client edges. Only FillSolidRect is used. Nothing while the
// document has no wave results (HasWaveResults).
void DrawColorMap(const DrawContext& view, CDC* pDC, int sx, int sy);

}  // namespace wv

// The remaining screen elements: the calculation area with its mesh count, land cells and
// land fill, the XOR marks and frames of the calculation view (incident direction,
// magnetic north, output-point data frames, the drawing frame with its title box), and
// the rubber bands of the mouse modes of both views.
#pragma once

#include "core/coord_wnd.h"
#include "core/point.h"
#include "core/sokuten.h"
#include "draw/draw_context.h"
#include "platform/dc.h"

namespace wv {

void DrawCalcAreaOutline(const DrawContext& view, CDC* pDC, int sx, int sy);
void DrawLandCells(const DrawContext& view, CDC* pDC, int sx, int sy);
// colourSwitch nonzero: tan; 0: black (erases the fill).
void DrawLandFill(const DrawContext& view, CDC* pDC, int sx, int sy, int colourSwitch);
// XOR rubber band of an area polygon (world points) to the mouse point (world; not
// placed when both coordinates are above 99999999.9). pathSwitch 1: one path in
// unscrolled coordinates; 0: segment by segment with the scroll subtracted.
void DrawAreaPolygon(CDC* pDC, const CCoordWnd& coord, int clientW, int clientH, int sx, int sy,
                     const CPointList* polygon, double mouseX, double mouseY, int pathSwitch);
// XOR guide from a survey point to the mouse point (view coordinates).
void DrawRotateGuide(CDC* pDC, const CCoordWnd& coord, int sx, int sy, int centreSlot, CPointD mouse,
                     const CSokuten& points = g_surveyPoints);
// XOR measuring line from a world point to the mouse point (view coordinates).
void DrawMeasureLine(CDC* pDC, const CCoordWnd& coord, int sx, int sy, CPointD start, CPointD end);
// drawSwitch 1 draw, 0 erase (the text is painted black).
void DrawIncidentMark(const DrawContext& view, CDC* pDC, int sx, int sy, int drawSwitch);
void DrawNorthMark(const DrawContext& view, CDC* pDC, int sx, int sy, int drawSwitch);
// style 0 or 1 yellow, other blue.
void DrawCalcPointFrames(const DrawContext& view, CDC* pDC, int sx, int sy, int index, int style);
void DrawDrawingFrame(const DrawContext& view, CDC* pDC, int sx, int sy);

// The angle of the north mark in degrees, brought into [0, 360) (a huge north is
// reduced at once rather than by steps of 360).
double NorthMarkAngle(double north);

}  // namespace wv

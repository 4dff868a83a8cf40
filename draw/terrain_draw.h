// The project's terrain on screen (lines by kind, survey points, land-block reference
// points) and the calculation output points, for both views.
#pragma once

#include "core/block.h"
#include "core/coord_wnd.h"
#include "core/sansyutu.h"
#include "core/sokuten.h"
#include "draw/draw_context.h"
#include "platform/dc.h"

namespace wv {

// Pen colour of a line by kind (depth lines by the sign of their depth).
COLORREF LineKindColor(int kind, double depth);

// Project view: every live line, selected ones yellow while the selection table fits
// the line table.
void DrawTerrainLines(const DrawContext& view, CDC* pDC, int sx, int sy);
// Calculation view: the lines the figure switches admit, by kind.
void DrawTerrainLinesCalc(const DrawContext& view, CDC* pDC, int sx, int sy);
// One line (nothing for a slot that holds none): style 0 by kind, 1 yellow. Coordinate
// switch 0 subtracts the view's scroll position, 1 draws unscrolled (for a context whose
// origin follows the scroll). Also the line chain view's single-line redraw.
void DrawTerrainLine(const DrawContext& view, CDC* pDC, int slot, int style, int coordSwitch);
void DrawSurveyPointMarks(const DrawContext& view, CDC* pDC, int sx, int sy);
void DrawSurveyPointMarksCalc(const DrawContext& view, CDC* pDC, int sx, int sy);
// Discs at the two picked survey points: first green, second magenta.
void DrawPickedPoints(const DrawContext& view, CDC* pDC, int sx, int sy);
// "＋" at the first picked point and "－" at the second, when both are picked.
void DrawPickSigns(const DrawContext& view, CDC* pDC);
void DrawBlocks(CDC* pDC, const CCoordWnd& coord, int clientW, int clientH, int sx, int sy,
                const CBlock& blocks = g_blocks);
// One output point: style 0 draw, 1 erase, 2 mark (red), 3 erase a mark. The circles are
// XOR; the name is painted (black to erase).
void DrawCalcPoints(CDC* pDC, const CCoordWnd& coord, int clientW, int clientH, int sx, int sy,
                    int index, int style, const CSansyutu& points = g_calcPoints);

}  // namespace wv

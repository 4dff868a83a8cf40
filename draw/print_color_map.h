// Area fills that the plot file cannot express, printed straight from the calculation's
// mesh under the plot records on a colour printer: the colour map of the current result
// value with its colour-bar legend, and the land fill.
#pragma once

#include "calc/calc_doc_data.h"
#include "draw/plot_renderer.h"
#include "platform/dc.h"

namespace wv {

// What the printed fills read besides the document: the view's rotation angle (degrees)
// of the world on the sheet.
struct PrintView {
    const CTydDocData& doc;
    double angle = 0.0;
};

// The colour map with its legend; it calls PrintLandFill itself. Prints nothing for a mesh
// without sea nodes or a scale of 0 or less; only the land fill while the document has no
// wave results (HasWaveResults).
void PrintColorMap(PlotRenderer& renderer, const PrintView& view, CDC& dc);
// Land in the land colour (fill 1) or white (fill 0): by land cells when the drawing
// conditions show them, else by the block outlines; then white outside the frame.
void PrintLandFill(PlotRenderer& renderer, const PrintView& view, CDC& dc, int fill);

// Sub-squares per cell side for a mesh spacing of `sheetSpacingMm` on the sheet: about
// one per millimetre, at least one.
int ColorMapSubdivision(double sheetSpacingMm);
// The legend's colour bar, slice 0 (blue) to 40 (red).
COLORREF ColorBarSlice(int slice);
// Land colour index of the drawing conditions: 0 red, 1 yellow, 2 green, 3 cyan, 4 blue,
// 5 magenta, any other black.
COLORREF PrintLandColor(int index);

}  // namespace wv

// Printing one calculation figure: the printer branch of the calculation view's drawing.
// The figure has been written as the plot file and read back into the document's plot
// store; this maps millimetres to the device, prints the colour map or the land fill
// underneath on a colour raster printer, and draws the plot records on top.
#pragma once

#include "calc/calc_doc_data.h"
#include "draw/plot_store.h"
#include "platform/dc.h"

namespace wv {

struct PrintFigureRequest {
    const CTydDocData& doc;
    const CPlotStore& store;  // only read: a preview may render it any number of times
    double viewAngle = 0.0;      // the view's rotation angle, degrees
    double sheetOffsetX = 0.0;   // the sheet's left margin, mm (set with the plot file)
    double sheetOffsetY = 0.0;   // its bottom margin, mm
    double printFactor = 1.0;    // factor on the device's dots per millimetre
};

// Draws the figure on a printing context. 0, or -1 when the store holds no figure
// (nothing is printed then).
int PrintFigure(CDC& dc, const PrintFigureRequest& request);

}  // namespace wv

// The figure the main job ends with: the significant wave height of the loaded results,
// set up as a user would in the drawing conditions, written as the plot file and printed.
#pragma once

#include "calc/calc_doc_data.h"

#include <string>

namespace wv {

// Scales the frame may take, the first that holds the calculation area wins.
inline constexpr int kRoadScales[] = {1000, 2500, 5000, 10000, 25000, 50000};

// Sets the drawing conditions of `view`'s document for the figure, seen at the view's
// angle (degrees): A3 landscape with the default margins; the frame centred on the
// calculation area at the first scale that holds it; the significant wave height as a
// colour map with its legend and as contours (traced here); direction arrows at every
// second node over the result's range; the north and incident-direction marks in the
// frame's upper corners; a result label beside each output point. False, with `err` set,
// when the document has no results or the contours cannot be traced.
bool SetUpRoadFigure(CTydViewData& view, double viewAngle, std::string* err);

}  // namespace wv

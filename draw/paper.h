// The paper sheets of the drawing conditions. B sizes are the Japanese (JIS) ones.
#pragma once

#include "core/zmn_inf.h"  // kPaperSizeCount: the sheets the drawing conditions can name

namespace wv {

struct PaperSizeMm {
    int shortSide;
    int longSide;
};

// Index 0-5 A0-A5, 6-10 B1-B5; {0, 0} for any other index.
PaperSizeMm PaperSizeByIndex(int paperSize);

struct SheetMm {
    int width;
    int height;
};

// The sheet as drawn: orientation 0 lays the long side horizontal, any other value
// upright. {0, 0} for an unknown paper size.
SheetMm PaperSheet(int paperSize, int orientation);

// The drawing frame a sheet leaves inside its margins and the 10 mm title band, each
// side at least 0.
SheetMm FrameFromPaper(int paperSize, int orientation, int marginTop, int marginBottom,
                       int marginLeft, int marginRight);

}  // namespace wv

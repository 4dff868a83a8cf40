// TEMPORARY copy of the colour ramp; see ramp_color_temp.h.
#include "draw/ramp_color_temp.h"

namespace wv {

COLORREF GetRampColor(double value, const double breaks[5], int outWhite) {
    const COLORREF out = outWhite != 0 ? RGB(255, 255, 255) : RGB(0, 0, 0);
    if (!(value >= breaks[0] && value <= breaks[4])) return out;
    // Segments are found from the top, each reaching a little below its lower breakpoint.
    int seg = 0;
    if (value > breaks[3] - 0.0001)
        seg = 3;
    else if (value > breaks[2] - 0.0001)
        seg = 2;
    else if (value > breaks[1] - 0.0001)
        seg = 1;
    const double va = breaks[seg], vb = breaks[seg + 1];
    int t = 255;
    // A flat range has no width to divide by: its one value is the segment's top.
    if (vb - va >= 1e-12) {
        const double f = (value - va) / (vb - va) * 255.0;
        t = f <= 0.0 ? 0 : (f >= 255.0 ? 255 : static_cast<int>(f));
    }
    switch (seg) {
    case 0: return RGB(0, t, 255);
    case 1: return RGB(0, 255, 255 - t);
    case 2: return RGB(t, 255, 0);
    default: return RGB(255, 255 - t, 0);
    }
}

}  // namespace wv

// The frame of the calculation view that the depth calculation works in: what it reads
// once from the view's coordinate helper when it starts.
#pragma once

#include "core/coord_wnd.h"

namespace wv {

struct CalcViewFrame {
    double angle = 0.0;    // rotation of the view, degrees
    double scale = 1.0;    // view units per world metre
    double originX = 0.0;  // world point that maps to the view offset
    double originY = 0.0;
    int offsetX = CCoordWnd::kDefaultOffset;
    int offsetY = CCoordWnd::kDefaultOffset;

    static CalcViewFrame From(const CCoordWnd& coord) {
        CalcViewFrame f;
        coord.GetAngle(&f.angle);
        f.scale = coord.GetScale();
        coord.GetOrigin(&f.originX, &f.originY);
        coord.GetOffset(&f.offsetX, &f.offsetY);
        return f;
    }
};

}  // namespace wv

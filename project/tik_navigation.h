// Zoom, drag start, rotation, distance measurement and fit of the project view: the
// routines both views share (draw/view_helpers.h), on the project view's own members.
#pragma once

#include "project/tik_edit_support.h"

namespace wv {

class CTikNavigation : public TikEditBase {
public:
    using TikEditBase::TikEditBase;
    // The press point (client) becomes the drag rectangle's corner; 10/20/5/44 move to
    // their pressed state.
    void BeginDrag(int cx, int cy);
    // Release in a zoom mode at the mouse position (view coordinates).
    void ZoomAtPoint(double vx, double vy);
    void BeginRotate(double x, double y);
    void EndRotate(double vx, double vy);
    void BeginMeasure(double x, double y);
    void ShowMeasuredDistance(double x, double y);
    // Fits every survey point and output point into the window and redraws.
    void FitAll();
};

}  // namespace wv

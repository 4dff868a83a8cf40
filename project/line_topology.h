// Changing how the lines hang together: split a line at a survey point (300, 301), merge
// two lines that meet end to end (310, 311), add the crossing point of two lines (315),
// and the click marks of the two delete modes.
#pragma once

#include "project/tik_edit_support.h"

namespace wv {

class CLineTopology : public TikEditBase {
public:
    using TikEditBase::TikEditBase;
    static bool Owns(int mode) {
        return mode == 300 || mode == 301 || mode == 310 || mode == 311 || mode == 315;
    }
    void LeftClick(double x, double y);

    void PickLineToEdit(double x, double y);
    void SplitLineAt(double x, double y);
    void MergeWithLine(double x, double y);
    void AddIntersectionPoint(double x, double y);
    // View (scrolled) coordinates of the button release.
    void ToggleLineMark(double vx, double vy);
    void TogglePointMark(double vx, double vy);

private:
    void EndSplit();
    void EndMerge();
};

}  // namespace wv

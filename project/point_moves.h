// Moving survey points: to typed coordinates (101), with the mouse (102, 103), re-attaching
// every line end at a point to another point (320, 321), and the stretch move of marked
// points along a reference line (350, 351, confirmed with the right button).
#pragma once

#include "project/tik_edit_support.h"

namespace wv {

class CPointMoves : public TikEditBase {
public:
    using TikEditBase::TikEditBase;
    static bool Owns(int mode) {
        return (mode >= 101 && mode <= 103) || mode == 320 || mode == 321 || mode == 350 || mode == 351;
    }
    void LeftClick(double x, double y);

    void MovePointByCoords(double x, double y);
    void BeginMovePoint(double x, double y);
    void MovePointTo(double x, double y);
    void PickEndPoint(double x, double y);
    void ChangeEndPoint(double x, double y);
    void PickStretchLine(double x, double y);
    void ToggleStretchPoint(double x, double y);
    // The right button in mode 351 with marked points: ask the distance and move them.
    void StretchMove();

private:
    void EndEndPointChange();
};

}  // namespace wv

// The project view's own selections: points and lines marked by click or rectangle for
// deletion (modes 5 and 44 with their drag states), and the area polygon with which lines
// are released or deleted and points deleted (42, 52, 132, 48, 49).
#pragma once

#include "draw/view_helpers.h"
#include "project/tik_edit_support.h"

namespace wv {

class CViewSelection : public TikEditBase {
public:
    using TikEditBase::TikEditBase;
    static bool IsAreaMode(int mode) {
        return mode == 42 || mode == 48 || mode == 49 || mode == 52 || mode == 132;
    }
    // Button release in modes 6, 7, 45 and 46 at a view (scrolled) point; false for any
    // other mode.
    bool ReleaseDrag(double vx, double vy);
    // Right button in mode 5 / 44 with marks: the question, and on Yes the deletion.
    // False on No.
    bool ConfirmPointDeletion();
    bool ConfirmLineDeletion();
    // A vertex of the area polygon; refused when its edge would cross the polygon or it
    // repeats the last vertex.
    void AddAreaVertex(double x, double y);
    // Right button in an area mode with a polygon.
    void AreaOperation();
    // The area rubber band to the mouse (world point), drawn in XOR over the old one.
    void MoveAreaRubberBand(double x, double y);
    void DeletePolygon() { g_pAreaPolygon.reset(); }

private:
    void EraseDragFrame();
    // Frees the marked points that no live line ends at; a stale link list must never
    // let a deletion leave a line ending at a free slot.
    void DeleteMarkedPoints();
    void DrawAreaBand();
};

}  // namespace wv

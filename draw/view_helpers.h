// Mouse input turned into changes of a view: zoom by a click or to a rectangle, the start
// of a drag rectangle, rotation about a survey point, distance measurement, line-chain
// picks, area-polygon vertices, fitting the terrain into the window and moving the
// output-point data frames. Both views (calculation and project) keep a ViewState and
// hand it to these routines, so the two behave alike and the routines run headless.
//
// Coordinates: "client" is a point of the window; "view" is a client point plus the
// scroll position (the logical space is 30000 x 30000 with the transform's offset at its
// centre); "world" is metres. A routine that changes the transform or the scroll sets
// `redraw`; the view then scrolls to (scrollX, scrollY) and draws everything anew.
#pragma once

#include "core/coord_wnd.h"
#include "core/line.h"
#include "core/line_chain.h"
#include "core/point.h"
#include "core/sansyutu.h"
#include "core/sokuten.h"
#include "draw/draw_context.h"
#include "platform/dc.h"

#include <functional>
#include <memory>

namespace wv {

class CTydDocData;

// "No point yet" of the rubber-band and guide ends.
inline constexpr double kNoLastPoint = -999999999.999;
// The logical view space's centre, where the transform's offset sits after a zoom or fit.
inline constexpr int kViewCentre = 15000;

struct ViewState {
    CCoordWnd coord;
    int scrollX = 0;
    int scrollY = 0;
    int clientW = 0;
    int clientH = 0;
    int mode = 0;
    int savedMode = 0;          // the mode a temporary zoom interrupted
    CRect rcDrag;               // the drag of the current operation, client coordinates
    CRect rcDragLast;           // the frame drawn last (XOR), client coordinates
    int point1 = -1;            // rotation centre / first picked survey point
    CPointD last{kNoLastPoint, kNoLastPoint};  // end of the rubber band drawn last
    CPointD measureStart;       // world start of a distance measurement
    int selIndex = -1;          // picked line or output point
    bool redraw = false;        // set when the whole view must be drawn anew

    // Returns and clears the redraw request.
    bool TakeRedraw() { const bool r = redraw; redraw = false; return r; }
    // Scroll position that puts the transform's offset at the window centre.
    void CentreScroll();
    // The view's drawing context for the figure routines (everything but the tables).
    DrawContext Context() const;
};

// The area-selection polygon shared by both views (world points); null when none.
extern std::unique_ptr<CPointList> g_pAreaPolygon;

// Completes a zoom on button release. (mx, my): mouse, view coordinates. Mode 11/21 (or a
// drag under 10 pixels in 12/22): zoom by 1.2 (in) or 0.8 (out) about the point, which
// becomes the window centre. Mode 12: zoom to the dragged rectangle. Mode 22: zoom out so
// the window's content fits into the rectangle. False, nothing changed, in other modes.
// A scale that cannot be computed (empty window) keeps the old scale.
bool ZoomAtPoint(ViewState& v, double mx, double my);

// Stores the press point (client) as the drag's left and top and moves the mode to its
// pressed state: 10 -> 11, 20 -> 21, 80 -> 81, 5 -> 6, 44 -> 45.
void BeginDrag(ViewState& v, int x, int y);

// Picks the survey point nearest to the world point as rotation centre (mode 31). False
// when there is none: nothing changed.
bool BeginRotate(ViewState& v, double x, double y, const CSokuten& points = g_surveyPoints);
// The new display angle from the centre to the mouse (view coordinates), whole degrees,
// stored in (-360, 0]; the world origin turns about the centre by the increment. Mode 30.
// False when the centre is not a live survey point.
bool EndRotate(ViewState& v, double mx, double my, const CSokuten& points = g_surveyPoints);
// The angle EndRotate stores for a new angle a (degrees): a brought into (0, 360] less
// 360, by whole turns, so any sum gets its true direction.
double NormaliseViewAngle(double a);

// Distance measurement: BeginMeasure keeps the start (mode 33); ShowMeasuredDistance
// hands the distance to `show` (the one-value dialog, read only), mode 32.
void BeginMeasure(ViewState& v, double x, double y);
double ShowMeasuredDistance(ViewState& v, double x, double y,
                            const std::function<void(double)>& show);

// Picks the nearest line of the kinds `flag` admits (0 undefined and depth lines, 1 depth
// lines); flag 0 toggles its chain's highlight, 1 makes the chain undefined. False when
// no line was found.
bool PickLineChain(ViewState& v, LineChainView* view, double x, double y, int flag,
                   const CLine& lines = g_lines);

// Adds the world point to the area polygon (creating it with this first vertex) and
// sets the rubber-band point. A vertex whose edge crosses the polygon, or that repeats
// the last vertex, is refused: false, nothing changed.
bool AddAreaVertex(CPointD& rubber, double x, double y,
                   std::unique_ptr<CPointList>& polygon = g_pAreaPolygon);

// Fits every live survey point and in-use output point into the window at the current
// angle, and stores the extent in the survey table. An empty window keeps the scale.
void FitAll(ViewState& v, CSokuten& points = g_surveyPoints,
            const CSansyutu& calcPoints = g_calcPoints);

// Output-point data frames of the calculation view. `ctx` is the view's drawing context
// (its document is `doc`); `dc` the window's image for the XOR marks (may be null).
// Begin: picks the nearest in-use output point (mode 18); false when none.
bool BeginMoveCalcPointFrame(ViewState& v, const DrawContext& ctx, CDC* dc, double x, double y);
// Moves the picked point's frame to the world point; modified.
bool MoveCalcPointFrame(ViewState& v, CTydDocData& doc, const DrawContext& ctx, CDC* dc, double x,
                        double y);
// The nearest in-use point's frame goes back to "not set"; modified. False when none.
bool ResetCalcPointFrame(ViewState& v, CTydDocData& doc, const DrawContext& ctx, CDC* dc,
                         double x, double y);

}  // namespace wv

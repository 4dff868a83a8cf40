// What a screen figure routine needs of the view it draws for. The views fill one from
// their members before they draw; tests fill one by hand, so every routine runs without a
// window.
#pragma once

#include "calc/calc_doc_data.h"
#include "core/block.h"
#include "core/coord_wnd.h"
#include "core/line.h"
#include "core/sansyutu.h"
#include "core/sokuten.h"
#include "core/tik_inf.h"

namespace wv {

struct DrawContext {
    const CCoordWnd* coord = nullptr;  // the view's coordinate helper
    int scrollX = 0;                   // the view's own scroll position
    int scrollY = 0;
    int clientW = 0;                   // client area, pixels
    int clientH = 0;
    int mode = 0;                      // mouse mode
    int savedMode = 0;                 // the mode saved while a dialog or zoom runs
    int landFill = 1;                  // calculation view: land backdrop of the colour map

    // Calculation view: its document (null in the project view).
    const CTydDocData* doc = nullptr;

    // The terrain of the open project; the application-wide tables unless a test says
    // otherwise.
    const CTik_Inf* tikInf = &g_tikInf;
    const CSokuten* surveyPoints = &g_surveyPoints;
    const CLine* lines = &g_lines;
    const CBlock* blocks = &g_blocks;
    const CSansyutu* calcPoints = &g_calcPoints;

    // Project view selection: one int per table slot (1 = marked) with the slot count it
    // was made for, and the two picked survey points (-1 = none).
    const int* lineSel = nullptr;
    int lineSelCount = 0;
    const int* pointSel = nullptr;
    int pointSelCount = 0;
    int point1 = -1;
    int point2 = -1;

    bool InMode(int m) const { return mode == m || savedMode == m; }
    // Display angle of the view in degrees, and its scale (pixels per metre).
    double Angle() const { double a = 0.0; if (coord) coord->GetAngle(&a); return a; }
    double Scale() const { return coord ? coord->GetScale() : 1.0; }
};

}  // namespace wv

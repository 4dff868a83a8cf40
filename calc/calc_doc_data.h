// What the calculation engine reads and writes of a calculation document and of its
// view. The document class (calcdoc/) derives from CTydDocData and adds its archives and
// commands; the calculation view derives from CTydViewData and adds its window. The
// engine itself needs neither, so it runs and is tested without a display.
#pragma once

#include "core/block.h"
#include "core/cal_area.h"
#include "core/contour.h"
#include "core/digital_map.h"
#include "core/hcheck.h"
#include "core/point.h"
#include "core/tri_line.h"
#include "core/tyd_inf.h"
#include "core/zmn_inf.h"
#include "platform/document.h"

#include <array>
#include <string>
#include <vector>

namespace wv {

// Number of result value types (0 significant wave height, 1 its ratio, 2 equivalent
// deep-water wave height, 3 its ratio).
inline constexpr int kValueTypes = 4;

class CTydDocData : public CDocument {
public:
    CTydDocData() = default;

    // The side file of this document with the given extension ("DEC", "YNO", ...): the
    // path up to and including its last '.', then the extension. Empty when the path has
    // no '.' (such a document has no side files).
    std::string SideFile(const char* ext) const;

    // Contours (calc/contour_trace.cpp). Adds the depth contour of one level to the
    // depth-check points and segments.
    void TraceDepthContour(double level);
    // Adds the polylines of one level of result kind 0-3 to the contour group, after the
    // polylines already there; 0 when at least one was added, else -1.
    int TraceResultContour(int kind, double level);
    // The marks of result figure 0-3 (calc/contour_labels.cpp): Collect turns the value
    // labels (B: the erased segments) of the contour group into m_labelPos[figure]
    // (B: m_labelPos2[figure]); a group without polylines leaves the set as it is. Apply
    // sets them again on the group.
    void CollectContHgtPos(int figure);
    void ApplyContHgtPos(int figure);
    void CollectContHgtPosB(int figure);
    void ApplyContHgtPosB(int figure);
    // The triangulation edge nearest to a point of the mesh frame whose midpoint lies
    // within two mesh sizes of it in x and y; -1 when none does.
    int PickTriLine(double x, double y) const;

    CTyd_Inf m_info;          // wave and calculation conditions, calculation state
    CZmn_Inf m_zmn;           // drawing conditions
    CCalArea m_calcArea;      // calculation area and mesh
    CBlkXY m_blkXY;           // land-block outlines, world coordinates
    CDigitalMap m_mesh;       // depths and results
    CContPara m_contPara;     // contours of the depth figure
    std::array<CContPara, kValueTypes> m_contParaFig;  // contours per result value type
    CContGroup m_contGroup;   // contour polylines of the current figure
    CTriLine m_triLine;       // triangulation edges
    // Per output-point slot, the position of its data frame (not set: kUnsetCoord).
    std::vector<CPointD> m_pCalcPoints;
    std::array<CContHgtPos, kValueTypes> m_labelPos;   // labelled contour segments
    std::array<CContHgtPos, kValueTypes> m_labelPos2;  // erased contour segments
    CHCheckPoint m_hcheckPoints;  // depth-check contour points
    CHCheckLine m_hcheckLines;    // depth-check contour segments and the mesh's depth range

    // The triangle tables of the triangulation (empty and 0 without one).
    int m_nTriNodes = 0;                  // triangle count T
    std::vector<int> m_pTriNodeA;         // 3T edge numbers into m_triLine
    std::vector<int> m_pTriNodeB;         // 3T sea-node numbers, clockwise
    std::vector<float> m_pTriMinDepth;    // T
    std::vector<float> m_pTriMaxDepth;    // T
    // T each, [0] height ratio, [1] equivalent deep-water ratio.
    std::array<std::vector<float>, 2> m_pTriMinValue;
    std::array<std::vector<float>, 2> m_pTriMaxValue;
    std::vector<int> m_pEdgePairs;        // 2 per edge: the triangles on either side, -1 none
};

// The calculation view as the engine sees it: its document and its output-point values.
// The window (calculation view) derives from it and supplies the hooks.
class CTydViewData {
public:
    explicit CTydViewData(CTydDocData& doc);
    virtual ~CTydViewData() = default;
    CTydViewData(const CTydViewData&) = delete;
    CTydViewData& operator=(const CTydViewData&) = delete;

    CTydDocData& GetDocument() const { return m_doc; }

    // Asks the output-point result list to refill itself; called when the result list
    // belongs to this view (m_bResultListOpen 1).
    virtual void PostResultListRefresh() {}
    virtual void SetMouseMode(int mode) { m_nMouseMode = mode; }
    int GetMouseMode() const { return m_nMouseMode; }
    // Invalidates the whole client area.
    virtual void RedrawAll() {}
    // The wait box of the result loader: shown (true) once the result file is open and
    // closed (false) as soon as it has been read, before the loader says anything.
    virtual void ResultsReading(bool reading) {}

    // Per output-point slot: the value (kNoValue none) and direction (kNoDirection none).
    std::vector<double> m_pCalcPtValue;
    std::vector<float> m_pCalcPtDir;
    // Sets every slot of the output-point table, in use or not, to "no value".
    void ResetCalcPointValues();
    // 1 while the output-point result list belongs to this view.
    int m_bResultListOpen = 0;

private:
    CTydDocData& m_doc;
    int m_nMouseMode = 0;
};

// Hooks with a default body that the program's calculation view (CTydView) overrides. A
// new hook of this kind goes on this list: tests/app/view_hooks_test.cpp fails for a
// listed hook that the real class does not override, and for a hook on no list.
#define WV_TYD_VIEW_DATA_HOOKS(HOOK) \
    HOOK(PostResultListRefresh) HOOK(SetMouseMode) HOOK(RedrawAll) HOOK(ResultsReading)

}  // namespace wv

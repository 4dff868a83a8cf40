// Placement commands: the calculation area, the drawing frame, the north and incident
// marks and the output-point data frames.
#include "calcview/tyd_view.h"

#include "draw/marks_draw.h"

namespace wv {

namespace {

// Erases a mark, enters its placement mode and draws it again in that mode's colour.
void EnterMarkMode(CTydView& v, int mode, void (*draw)(const DrawContext&, CDC*, int, int, int)) {
    const ViewState& s = v.State();
    v.WithMarks([&](CDC& dc) { draw(v.Context(), &dc, s.scrollX, s.scrollY, 0); });
    v.SetMouseMode(mode);
    v.WithMarks([&](CDC& dc) { draw(v.Context(), &dc, s.scrollX, s.scrollY, 1); });
}

// Removing a mark changes the stored figure: it is marked modified so that closing the
// window asks to save it (the mark would come back otherwise).
void RemoveMark(CTydView& v, CPointD& mark, void (*draw)(const DrawContext&, CDC*, int, int, int)) {
    const ViewState& s = v.State();
    v.WithMarks([&](CDC& dc) { draw(v.Context(), &dc, s.scrollX, s.scrollY, 0); });
    mark = CPointD::Unset();
    v.SetModified();
}

}  // namespace

void AddPlacementCommands(CommandMap& m) {
    m[32829] = {[](CTydView& v) { v.SetMouseMode(80); }, {}};
    m[32836] = {[](CTydView& v) {
                    const ViewState& s = v.State();
                    v.WithMarks([&](CDC& dc) { DrawDrawingFrame(v.Context(), &dc, s.scrollX, s.scrollY); });
                    v.SetMouseMode(100);
                    v.WithMarks([&](CDC& dc) { DrawDrawingFrame(v.Context(), &dc, s.scrollX, s.scrollY); });
                },
                {}};
    m[32837] = {[](CTydView& v) { EnterMarkMode(v, 109, DrawNorthMark); }, {}};
    m[32838] = {[](CTydView& v) { RemoveMark(v, v.Doc().m_zmn.m_ptNorthMark, DrawNorthMark); }, {}};
    m[32839] = {[](CTydView& v) { EnterMarkMode(v, 110, DrawIncidentMark); }, {}};
    m[32840] = {[](CTydView& v) { RemoveMark(v, v.Doc().m_zmn.m_ptWaveMark, DrawIncidentMark); }, {}};
    m[32856] = {[](CTydView& v) {
                    v.SetMouseMode(17);
                    v.State().selIndex = -1;
                },
                {}};
    m[32857] = {[](CTydView& v) { v.SetMouseMode(19); }, {}};
    m[32865] = {[](CTydView& v) {
                    for (CPointD& p : v.Doc().m_pCalcPoints) p = CPointD::Unset();
                    v.SetModified();
                    v.RedrawAll();
                },
                {}};
}

}  // namespace wv

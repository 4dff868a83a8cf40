// Contour commands: the editing modes of the result contours (insertion, labels, run and
// area deletion) and the height check.
#include "calcview/tyd_view.h"

namespace wv {

namespace {

// The editing commands act only while contours are shown and there are some.
bool ContoursEditable(const CTydView& v) {
    const CTydDoc& d = v.Doc();
    return d.m_zmn.m_nFigureMask > 1 && d.m_contGroup.GetCount() > 0;
}

}  // namespace

void AddContourCommands(CommandMap& m) {
    m[32843] = {[](CTydView& v) { if (ContoursEditable(v)) v.SetMouseMode(105); }, {}};
    m[32844] = {[](CTydView& v) { if (ContoursEditable(v)) v.SetMouseMode(106); }, {}};
    m[32845] = {[](CTydView& v) { if (ContoursEditable(v)) v.SetMouseMode(107); }, {}};
    m[32846] = {[](CTydView& v) {
                    if (!ContoursEditable(v)) return;
                    v.SetMouseMode(108);
                    g_pAreaPolygon.reset();
                },
                {}};
}

}  // namespace wv

// Digital-map commands: the depth, wave-height and direction maps and the vector figure
// placed by mouse or by coordinates, one node's value shown or hidden, and the values
// inside a polygon deleted.
#include "calcview/tyd_view.h"

#include "calc/digital_lattice.h"
#include "calcdoc/digital_map_interval_dlg.h"
#include "draw/digital_map_draw.h"

namespace wv {

namespace {

struct NodeCommand {
    int id;
    int mode;
    bool (*shown)(const CZmn_Inf& z);
    int includeNegative;  // last argument of the node marks; 0 for the area deletions
    bool marks;           // show/hide: all node marks drawn on entering
};

bool HeightShown(const CZmn_Inf& z) { return z.m_nFigureMask == 1 || z.m_nFigureMask == 3; }
bool DirShown(const CZmn_Inf& z) { return z.m_bDirMapFigure != 0; }
bool VectorShown(const CZmn_Inf& z) { return z.m_bVectorFigure != 0; }

const NodeCommand kNodeCommands[] = {
    {32850, 104, HeightShown, 0, true},  {32851, 113, HeightShown, 0, false},
    {32884, 118, DirShown, 1, true},     {32886, 119, DirShown, 0, false},
    {32854, 116, VectorShown, 0, true},  {32855, 117, VectorShown, 0, false},
};

// The placement commands: the interval dialog for one map, then its mode (by mouse) or
// its nodes (by coordinates).
struct PlaceCommand {
    int id;
    int kind;       // the interval dialog's map kind
    int set;        // interval set: 0 depth, 1 wave height, 2 direction, 3 vector
    int mode;       // by mouse: the reference-point mode; 0 by coordinates
    int nodeType;   // by coordinates: SetDigitalMapNodes type
};

const PlaceCommand kPlaceCommands[] = {
    {32867, 0, 0, 111, -1}, {32848, 0, 1, 120, -1}, {32849, 1, 1, 0, 0},
    {32880, 4, 2, 112, -1}, {32882, 5, 2, 0, 3},    {32852, 2, 3, 115, -1}, {32853, 3, 3, 0, 1},
};

void Place(CTydView& v, const PlaceCommand& c) {
    CTydDoc& doc = v.Doc();
    if (c.id == 32867) {
        if (doc.m_info.m_nCalcState == 0) return;
    } else if (!v.ResultsLoadable()) {
        return;
    }
    v.m_nMapKind = c.kind;
    CDigitalMapIntervalDlg dlg;
    dlg.LoadFrom(doc, c.set, c.kind, v.Angle());
    if (c.mode == 0) {
        dlg.SetAreaExtent(doc);
        dlg.m_pZmn = &doc.m_zmn;
    }
    if (CTydView::RunDialog(dlg) != IDOK) return;
    dlg.StoreTo(doc, c.set);
    CZmn_Inf& z = doc.m_zmn;
    if (c.mode != 0) {
        v.SetMouseMode(c.mode);
    } else {
        SetDigitalMapNodes(doc, c.nodeType);
        v.SetModified();
    }
    v.m_nSelNode = -1;
    switch (c.set) {
    case 0: z.m_bCheckMap = 1; break;
    case 1:
        if (z.m_nFigureMask == 0) z.m_nFigureMask = 1;
        else if (z.m_nFigureMask == 2) z.m_nFigureMask = 3;
        break;
    case 2: z.m_bDirMapFigure = 1; break;
    default: z.m_bVectorFigure = 1; break;
    }
    v.RedrawAll();
}

}  // namespace

void AddDigitalMapCommands(CommandMap& m) {
    for (const PlaceCommand& c : kPlaceCommands) m[c.id] = {[c](CTydView& v) { Place(v, c); }, {}};
    for (const NodeCommand& c : kNodeCommands) {
        m[c.id] = {[c](CTydView& v) {
                       const CTydDoc& d = v.Doc();
                       if (d.m_info.m_nCalcState != 3 || !c.shown(d.m_zmn)) return;
                       v.SetMouseMode(c.mode);
                       if (c.marks) {
                           const DrawContext ctx = v.Context();
                           v.WithMarks([&](CDC& dc) {
                               DrawMeshNodeMarks(ctx, &dc, ctx.scrollX, ctx.scrollY, -1, 1, c.includeNegative);
                           });
                       } else {
                           g_pAreaPolygon.reset();
                       }
                   },
                   {}};
    }
}

}  // namespace wv

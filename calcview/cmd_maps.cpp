// Digital-map commands: showing or hiding one node's value and deleting the values inside
// a polygon, for the wave-height map, the direction map and the vector figure.
#include "calcview/tyd_view.h"

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

}  // namespace

void AddDigitalMapCommands(CommandMap& m) {
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

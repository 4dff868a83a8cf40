// Placement on the mesh: the reference node of the depth, wave-height, direction and
// vector maps (111, 120, 112, 115) and one node's value shown or hidden (104 wave height,
// 116 vector, 118 direction).
#include "calcview/tyd_view.h"

#include "calc/digital_lattice.h"
#include "draw/digital_map_draw.h"

namespace wv {

namespace {

struct RefRow {
    int mode;
    int intervalSet;
    int nodeType;  // SetDigitalMapNodes: 0 wave height, 1 vector, 2 depth, 3 direction
};
const RefRow kRefRows[] = {{111, 0, 2}, {120, 1, 0}, {112, 2, 3}, {115, 3, 1}};

class PlacementHandler : public ModeHandler {
public:
    bool Handles(int m) const override {
        return m == 111 || m == 112 || m == 115 || m == 120 || m == 104 || m == 116 || m == 118;
    }

    void LButtonDown(CTydView& v, CPointD w, CPoint) override {
        CTydDoc& doc = v.Doc();
        const CPointD m = v.WorldToMesh(w);
        const int n = doc.m_mesh.FindNode(m.m_dX, m.m_dY);
        if (n < 0) return;
        const int mode = v.Mode();
        for (const RefRow& r : kRefRows) {
            if (r.mode != mode) continue;
            v.m_nSelNode = n;
            doc.m_zmn.m_interval[r.intervalSet].m_ptRef = doc.m_mesh.GetAt(n).GetPos();
            SetDigitalMapNodes(doc, r.nodeType);
            v.RedrawAll();
            v.SetModified();
            return;
        }
        ToggleNode(v, n, mode);
    }

    bool LButtonUp(CTydView&, CPoint) override { return true; }

    bool RButtonDown(CTydView& v) override {
        const int m = v.Mode();
        if (m == 111 || m == 112 || m == 115 || m == 120) v.m_nSelNode = -1;
        return false;
    }

private:
    static void ToggleNode(CTydView& v, int n, int mode) {
        CTydDoc& doc = v.Doc();
        CDigitalMap& mesh = doc.m_mesh;
        if (mode == 104 || mode == 116) {
            if (mesh.GetAt(n).GetValue(doc.m_zmn.m_nValueType, mesh.GetWaveHeight()) < 0.0) return;
        }
        const int flag = mode == 104 ? mesh.GetHeightFlag(n) : mode == 116 ? mesh.GetVectorFlag(n) : mesh.GetDirFlag(n);
        auto set = [&](std::int16_t f) {
            if (mode == 104) mesh.SetHeightFlag(n, f);
            else if (mode == 116) mesh.SetVectorFlag(n, f);
            else mesh.SetDirFlag(n, f);
        };
        const DrawContext ctx = v.Context();
        auto drawMap = [&](CDC& dc) {
            if (mode == 104) DrawWaveHeightDigitalMap(ctx, &dc, ctx.scrollX, ctx.scrollY, n);
            else if (mode == 116) DrawVectorMap(ctx, &dc, ctx.scrollX, ctx.scrollY, n);
            else DrawWaveDirDigitalMap(ctx, &dc, ctx.scrollX, ctx.scrollY, n);
        };
        if (flag != 0) {
            set(0);
            v.WithMarks([&](CDC& dc) {
                drawMap(dc);
                DrawMeshNodeMarks(ctx, &dc, ctx.scrollX, ctx.scrollY, n, 1, mode == 118 ? 1 : 0);
            });
        } else {
            set(1);
            v.WithMarks(drawMap);
        }
        v.SetModified();
    }
};

}  // namespace

std::unique_ptr<ModeHandler> MakePlacementHandler() { return std::make_unique<PlacementHandler>(); }

}  // namespace wv

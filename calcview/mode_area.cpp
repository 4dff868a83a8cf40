// Area modes: 80-82 (dragging the calculation area, snapped to whole meshes) and the
// area polygons 108, 113, 117, 119 (deleting contour segments, wave-height values,
// vectors or directions inside a polygon).
#include "calcview/tyd_view.h"

#include "core/cal_area.h"
#include "core/messages.h"
#include "core/numeric.h"
#include "draw/marks_draw.h"
#include "core/polygon.h"
#include "platform/text.h"
#include "platform/ui_service.h"

#include <cmath>

namespace wv {

namespace {

bool IsPolygonMode(int m) { return m == 108 || m == 113 || m == 117 || m == 119; }

// Mesh map kind of an area-deletion mode: 0 wave height, 1 vectors, 2 directions.
int MapKindOf(int m) { return m == 113 ? 0 : m == 117 ? 1 : 2; }

void DrawBand(CTydView& v) {
    const ViewState& s = v.State();
    v.WithMarks([&](CDC& dc) {
        DrawAreaPolygon(&dc, s.coord, s.clientW, s.clientH, s.scrollX, s.scrollY, g_pAreaPolygon.get(),
                        v.m_ptRubberEnd.m_dX, v.m_ptRubberEnd.m_dY, 0);
    });
}

class AreaHandler : public ModeHandler {
public:
    bool Handles(int m) const override { return (m >= 80 && m <= 82) || IsPolygonMode(m); }

    void LButtonDown(CTydView& v, CPointD w, CPoint c) override {
        ViewState& s = v.State();
        if (s.mode == 80) {
            BeginDrag(s, c.x, c.y);
            return;
        }
        if (!IsPolygonMode(s.mode)) return;
        // The band is XOR: it goes before the polygon changes and comes back after.
        const bool had = g_pAreaPolygon != nullptr;
        if (had) DrawBand(v);
        AddAreaVertex(v.m_ptRubberEnd, w.m_dX, w.m_dY);
        if (!had) v.m_ptRubberEnd = w;
        DrawBand(v);
    }

    bool MouseMove(CTydView& v, CPoint c) override {
        ViewState& s = v.State();
        if (s.mode == 82) {
            // The dragged corner follows whole meshes; without a mesh size there is
            // nothing to snap to and the corner follows the mouse.
            const double step = v.Doc().m_calcArea.GetMeshSize() * s.coord.GetScale();
            int x = c.x, y = c.y;
            if (step > 0.0 && std::isfinite(step)) {
                // Far out, a mesh is a sliver of a pixel: the counts are whole but huge.
                const double nx = std::trunc((c.x - s.rcDrag.left) / step);
                const double ny = std::trunc((c.y - s.rcDrag.top) / step);
                x = s.rcDrag.left + DoubleToInt(step * nx + 0.5);
                y = s.rcDrag.top + DoubleToInt(step * ny + 0.5);
            }
            s.rcDrag.right = x;
            s.rcDrag.bottom = y;
            CRect rc = s.rcDrag;
            rc.NormalizeRect();
            v.WithMarks([&](CDC& dc) { dc.DrawDragRect(rc, CSize{1, 1}, &s.rcDragLast, CSize{1, 1}); });
            s.rcDragLast = rc;
            return true;
        }
        if (IsPolygonMode(s.mode)) {
            if (g_pAreaPolygon && g_pAreaPolygon->GetCount() >= 1) {
                DrawBand(v);
                v.m_ptRubberEnd = v.ClientToWorld(c);
                DrawBand(v);
            }
            return true;
        }
        return false;
    }

    bool LButtonUp(CTydView& v, CPoint) override {
        ViewState& s = v.State();
        if (s.mode == 81 || (s.mode == 82 && (s.rcDrag.Width() < 10 || s.rcDrag.Height() < 10))) {
            s.mode = 80;
            s.rcDragLast = CRect{};
            v.RedrawAll();
            return true;
        }
        if (s.mode == 82) {
            SetArea(v);
            return true;
        }
        return true;
    }

    bool RButtonDown(CTydView& v) override {
        ViewState& s = v.State();
        if (!IsPolygonMode(s.mode) || !g_pAreaPolygon) return false;
        DrawBand(v);
        CTydDoc& doc = v.Doc();
        CPointList* poly = g_pAreaPolygon.get();
        bool selected = false;
        const CPointD first = poly->GetHead();
        const CPointD last = poly->GetTail();
        if (poly->GetCount() > 2 && SegmentCrossesPolygon(last.m_dX, last.m_dY, first.m_dX, first.m_dY, poly) != 1) {
            poly->AddTail(first);
            if (s.mode == 108)
                selected = doc.m_contGroup.SelectPointsInArea(doc.m_calcArea.GetOrigin(), v.Angle(), poly);
            else
                selected = doc.m_mesh.SelectFlagsInArea(doc.m_calcArea.GetOrigin(), v.Angle(), poly, MapKindOf(s.mode));
        }
        if (selected) {
            v.m_ptRubberEnd = CPointD::Unset();
            v.RedrawAll();
            const int answer = Ui().MessageBox("選択したﾃﾞｰﾀを削除します。", "削除", MbButtons::YesNo, MbIcon::Warning);
            if (answer == IDYES) {
                if (s.mode == 108)
                    doc.m_contGroup.EraseSelectedSegments();
                else
                    doc.m_mesh.EraseAreaFlags(MapKindOf(s.mode));
                v.SetModified();
            } else if (s.mode == 108) {
                doc.m_contGroup.ClearSelect();
            } else {
                doc.m_mesh.RestoreAreaFlags(MapKindOf(s.mode));
            }
            v.RedrawAll();
        }
        g_pAreaPolygon.reset();
        return true;
    }

private:
    static void SetArea(CTydView& v) {
        ViewState& s = v.State();
        CTydDoc& doc = v.Doc();
        const CRect rc = s.rcDrag;
        const double size = doc.m_calcArea.GetMeshSize();
        const double step = size * s.coord.GetScale();
        double nodesX = 0.0, nodesY = 0.0;
        if (size >= 0.0001 && step > 0.0 && std::isfinite(step)) {
            nodesX = std::trunc(static_cast<double>(rc.Width()) / step + 0.5) + 1.0;
            nodesY = std::trunc(static_cast<double>(rc.Height()) / step + 0.5) + 1.0;
        }
        // An area the calculation file cannot hold is refused before anything changes.
        if (!(nodesX <= 2147483647.0 && nodesY <= 2147483647.0) ||
            !MeshCountsFit(static_cast<long long>(nodesX), static_cast<long long>(nodesY))) {
            s.mode = 80;
            s.rcDragLast = CRect{};
            v.RedrawAll();
            Ui().MessageBox(msg::kCountTooLarge, msg::kAreaCaption, MbButtons::Ok, MbIcon::Warning);
            return;
        }
        const int nx = static_cast<int>(nodesX), ny = static_cast<int>(nodesY);
        double x = 0.0, y = 0.0;
        s.coord.ViewPointToWorld(rc.left + s.scrollX, rc.bottom + s.scrollY, &x, &y);
        doc.m_calcArea.SetOrigin(RoundDecimal(x, 3), RoundDecimal(y, 3));
        doc.m_calcArea.SetMeshCountX(nx);
        doc.m_calcArea.SetMeshCountY(ny);
        v.SetModified();
        doc.ClearMeshData(0);
        doc.ClearWaveResults(v);
        s.mode = 80;
        s.rcDragLast = CRect{};
        v.RedrawAll();
    }
};

}  // namespace

std::unique_ptr<ModeHandler> MakeAreaHandler() { return std::make_unique<AreaHandler>(); }

}  // namespace wv

// Contour editing modes: 105 (a result contour through a clicked point), 106 (a value
// label on or off), 107 (runs selected for deletion, deleted on the right button).
#include "calcview/tyd_view.h"

#include "core/geometry.h"
#include "core/numeric.h"
#include "draw/contour_draw.h"
#include "platform/ui_service.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace wv {

namespace {

// The level of the plane through the clicked triangle's three node values at (u, v), or
// false when the triangle is degenerate or a node has no value.
bool PlaneLevel(const CTydDoc& doc, int valueType, double u, double v, double* level) {
    const int e = doc.PickTriLine(u, v);
    if (e < 0) return false;
    const CTriLineZokusei edge = doc.m_triLine.GetAt(e);
    const CPointF p1 = doc.m_mesh.GetAt(edge.GetNode1()).GetPos();
    const CPointF p2 = doc.m_mesh.GetAt(edge.GetNode2()).GetPos();
    double d = std::atan2(p1.m_fY - v, p1.m_fX - u) - std::atan2(p2.m_fY - v, p2.m_fX - u);
    if (d < 0.0) d += kTwoPi;
    const std::size_t pair = static_cast<std::size_t>(e) * 2 + (d > kPi ? 1 : 0);
    if (pair >= doc.m_pEdgePairs.size()) return false;
    const int tri = doc.m_pEdgePairs[pair];
    if (tri < 0 || static_cast<std::size_t>(tri) * 3 + 2 >= doc.m_pTriNodeB.size()) return false;
    double x[3], y[3], z[3];
    const double h0 = doc.m_mesh.GetWaveHeight();
    for (int k = 0; k < 3; ++k) {
        const CCalValue n = doc.m_mesh.GetAt(doc.m_pTriNodeB[static_cast<std::size_t>(tri) * 3 + k]);
        x[k] = n.GetPos().m_fX;
        y[k] = n.GetPos().m_fY;
        z[k] = n.GetValue(valueType, h0);
        if (z[k] < 0.0) return false;
    }
    if (std::fabs(x[0] - x[1]) < 0.0001) {
        std::swap(x[0], x[2]);
        std::swap(y[0], y[2]);
        std::swap(z[0], z[2]);
    }
    const double den = (x[0] - x[1]) * (y[0] - y[2]) - (x[0] - x[2]) * (y[0] - y[1]);
    if (std::fabs(den) < 1e-6) return false;
    const double b = ((x[0] - x[1]) * (z[0] - z[2]) - (x[0] - x[2]) * (z[0] - z[1])) / den;
    if (std::fabs(x[0] - x[1]) < 1e-6) return false;
    const double a = (z[0] - z[1] - (y[0] - y[1]) * b) / (x[0] - x[1]);
    const double c = z[0] - a * x[0] - b * y[0];
    *level = RoundDecimal(a * u + b * v + c, 2);
    return true;
}

void InsertContour(CTydView& view, CPointD w) {
    CTydDoc& doc = view.Doc();
    const int t = doc.m_zmn.m_nValueType;
    const CPointD m = view.WorldToMesh(w);
    double L = 0.0;
    if (!PlaneLevel(doc, t, m.m_dX, m.m_dY, &L)) return;
    CContGroup& g = doc.m_contGroup;
    int found = -1;
    for (int i = 0; i < g.GetCount() && found < 0; ++i)
        if (std::fabs(g.GetLevel(i) - L) < 0.0001) found = i;
    if (found >= 0) {
        // An existing level gets its erased pieces back rather than a second trace.
        for (int i = found; i < g.GetCount(); ++i) {
            if (std::fabs(g.GetLevel(i) - L) >= 0.0001) continue;
            for (int j = 0; j < g.GetPointCount(i); ++j) {
                CContPoint p = g.GetPoint(i, j);
                p.m_nLine = 1;
                g.SetPoint(i, j, p);
            }
        }
    } else if (doc.TraceResultContour(t, L) == 0) {
        CContPara& para = doc.m_contParaFig[static_cast<std::size_t>(t)];
        std::vector<double> levels;
        const double* old = para.GetLevels();
        for (int i = 0; old && i < para.GetLevelCount() && static_cast<std::size_t>(i) < para.GetLevelsHeld(); ++i)
            levels.push_back(old[i]);
        const auto at = std::find_if(levels.begin(), levels.end(), [&](double x) { return !(x < L); });
        levels.insert(at, L);
        para.SetLevelCount(static_cast<int>(levels.size()));
        para.SetLevels(levels.data());
    }
    view.RedrawAll();
    view.SetModified();
}

void ToggleLabel(CTydView& view, CPointD w) {
    CTydDoc& doc = view.Doc();
    const CPointD m = view.WorldToMesh(w);
    int line = -1, seg = 0;
    doc.m_contGroup.HitTest(m.m_dX, m.m_dY, doc.m_calcArea.GetMeshSize(), &line, &seg);
    if (line < 0) return;
    CContPoint p = doc.m_contGroup.GetPoint(line, seg);
    const CContPoint q = doc.m_contGroup.GetPoint(line, seg + 1);
    const double level = doc.m_contGroup.GetLevel(line);
    int colour = 0;
    if (p.m_nLabel == 1) {
        p.m_nLabel = 0;
    } else {
        p.m_nLabel = 1;
        colour = 7;
    }
    doc.m_contGroup.SetPoint(line, seg, p);
    const DrawContext ctx = view.Context();
    view.WithMarks([&](CDC& dc) {
        DrawContourValue(ctx, &dc, ctx.scrollX, ctx.scrollY, p.m_point, q.m_point, level, colour, 1);
    });
    view.SetModified();
}

void SelectRun(CTydView& view, CPointD w) {
    CTydDoc& doc = view.Doc();
    const CPointD m = view.WorldToMesh(w);
    int line = -1, seg = 0;
    doc.m_contGroup.HitTest(m.m_dX, m.m_dY, doc.m_calcArea.GetMeshSize(), &line, &seg);
    if (line < 0) return;
    doc.m_contGroup.ToggleRunSelect(line, seg);
    const DrawContext ctx = view.Context();
    view.WithMarks([&](CDC& dc) { DrawContours(ctx, &dc, ctx.scrollX, ctx.scrollY, line); });
}

// Whether any point but the last of a polyline is selected (the last starts no segment).
bool AnySelected(const CContGroup& g) {
    for (int i = 0; i < g.GetCount(); ++i)
        for (int j = 0; j + 1 < g.GetPointCount(i); ++j)
            if (g.GetPoint(i, j).m_nSelect == 1) return true;
    return false;
}

class ContourHandler : public ModeHandler {
public:
    bool Handles(int m) const override { return m == 105 || m == 106 || m == 107; }

    void LButtonDown(CTydView& v, CPointD w, CPoint) override {
        switch (v.Mode()) {
        case 105:
            if (v.Host()) v.Host()->WaitCursor(true);
            InsertContour(v, w);
            if (v.Host()) v.Host()->WaitCursor(false);
            break;
        case 106: ToggleLabel(v, w); break;
        case 107: SelectRun(v, w); break;
        default: break;
        }
    }

    bool LButtonUp(CTydView&, CPoint) override { return true; }

    bool RButtonDown(CTydView& v) override {
        if (v.Mode() != 107) return false;
        CContGroup& g = v.Doc().m_contGroup;
        if (!AnySelected(g)) {
            v.State().mode = 0;
            v.State().savedMode = 0;
            return true;
        }
        if (Ui().MessageBox("選択線分を削除します。", "要素削除", MbButtons::YesNo, MbIcon::Warning) == IDYES) {
            g.EraseSelectedRuns();
            v.SetModified();
        } else {
            g.ClearSelect();
        }
        v.RedrawAll();
        return true;
    }
};

}  // namespace

std::unique_ptr<ModeHandler> MakeContourHandler() { return std::make_unique<ContourHandler>(); }

}  // namespace wv

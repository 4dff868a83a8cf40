#include "project/line_topology.h"

#include "draw/view_geometry.h"
#include "core/geometry.h"
#include "core/line.h"
#include "core/line_chain.h"
#include "core/sokuten.h"

#include <algorithm>
#include <cmath>

namespace wv {

void CLineTopology::LeftClick(double x, double y) {
    switch (s.m_nMode) {
    case 300:
    case 310: PickLineToEdit(x, y); break;
    case 301: SplitLineAt(x, y); break;
    case 311: MergeWithLine(x, y); break;
    case 315: AddIntersectionPoint(x, y); break;
    default: break;
    }
}

void CLineTopology::PickLineToEdit(double x, double y) {
    const int line = g_lines.FindNearest(x, y);
    if (line < 0) return;
    s.m_nSelIndex = line;
    MarkLine(line, 1);
    const CLineZokusei l = g_lines.GetAt(line);
    s.m_nPoint1 = l.GetStartIndex();
    s.m_nPoint2 = l.GetEndIndex();
    s.m_nMode = s.m_nMode == 300 ? 301 : 311;
}

void CLineTopology::EndSplit() {
    s.m_nMode = 300;
    s.m_nSelIndex = -1;
    h.RedrawAll();
}

void CLineTopology::SplitLineAt(double x, double y) {
    const int X = g_surveyPoints.FindNearest(x, y);
    if (X < 0 || X == s.m_nPoint1 || X == s.m_nPoint2) return;
    if (LineJoins(s.m_nPoint1, X) || LineJoins(X, s.m_nPoint2)) return EndSplit();
    // The two halves are added before the line goes, so both need a slot.
    if (!RoomForLines(2)) return EndSplit();

    CSokutenZokusei px = g_surveyPoints.GetAt(X);
    double d = kUndeterminedHeight;
    for (int i = 0; i < px.GetLineCount(); ++i) {
        const CLineZokusei l = g_lines.GetAt(px.GetLine(i));
        if (l.GetState() >= 0 && IsHeightBearing(l)) d = px.GetDepth();
    }
    const CLineZokusei P = g_lines.GetAt(s.m_nSelIndex);
    const CSokutenZokusei p1 = g_surveyPoints.GetAt(s.m_nPoint1);
    const CSokutenZokusei p2 = g_surveyPoints.GetAt(s.m_nPoint2);
    if (d < kDeterminedBelow) {
        if (P.GetKind() == kLineDepth && std::fabs(d - P.GetDepth()) > 0.0001) return EndSplit();
    } else if (IsHeightBearing(P)) {
        const double ds = p1.GetDepth(), de = p2.GetDepth();
        if (std::fabs(ds - de) < 0.0001) {
            d = ds;
        } else {
            const CPointD a = p1.GetPos(), m = px.GetPos(), b = p2.GetPos();
            const double la = std::hypot(m.m_dX - a.m_dX, m.m_dY - a.m_dY);
            const double lb = std::hypot(b.m_dX - m.m_dX, b.m_dY - m.m_dY);
            d = la + lb > 0.0 ? ds + la * (de - ds) / (la + lb) : ds;
        }
        px.SetDepth(d);
        g_surveyPoints.SetAt(X, px);
    }
    const CPointD a = p1.GetPos(), m = px.GetPos(), b = p2.GetPos();
    g_lines.Add(a.m_dX, a.m_dY, m.m_dX, m.m_dY, P.GetState(), P.GetHeightType(), P.GetDepth(),
                P.GetKind(), s.m_nPoint1, X);
    g_lines.Add(m.m_dX, m.m_dY, b.m_dX, b.m_dY, P.GetState(), P.GetHeightType(), P.GetDepth(),
                P.GetKind(), X, s.m_nPoint2);
    Modified();
    g_lines.RemoveAt(s.m_nSelIndex);
    UpdatePointLineLinks(kLinksAll);
    EndSplit();
}

void CLineTopology::EndMerge() {
    s.m_nMode = 310;
    s.m_nSelIndex = -1;
    h.RedrawAll();
}

void CLineTopology::MergeWithLine(double x, double y) {
    const int t = g_lines.FindNearest(x, y);
    if (t < 0 || t == s.m_nSelIndex) return;
    const CLineZokusei P = g_lines.GetAt(s.m_nSelIndex);
    const CLineZokusei T = g_lines.GetAt(t);
    const int S = s.m_nPoint1, E = s.m_nPoint2, Ts = T.GetStartIndex(), Te = T.GetEndIndex();
    int A = -1, B = -1;
    if (S == Ts) { A = E; B = Te; }
    if (E == Ts) { A = S; B = Te; }
    if (S == Te) { A = E; B = Ts; }
    if (E == Te) { A = S; B = Ts; }
    if (A < 0) return;
    if (A == B || LineJoins(A, B)) return EndMerge();

    const int kp = P.GetKind(), kt = T.GetKind();
    int k;
    if (kp == kLineUndefined || kt == kLineUndefined) k = kLineUndefined;
    else if (kp == kLineAuxiliary || kt == kLineAuxiliary) k = kLineAuxiliary;
    else if (kp == kLineTerrain || kt == kLineTerrain) k = kLineTerrain;
    else k = kp;
    const CSokutenZokusei pa = g_surveyPoints.GetAt(A), pb = g_surveyPoints.GetAt(B);
    if (k == kLineDepth && std::fabs(pa.GetDepth() - pb.GetDepth()) > 0.0001) return EndMerge();
    const int ht = (k == kLineTerrain || k == kLineAuxiliary)
                       ? std::max(P.GetHeightType(), T.GetHeightType())
                       : kHeightFromPoints;
    if (!RoomForLines(1)) return EndMerge();
    g_lines.Add(pa.GetPos().m_dX, pa.GetPos().m_dY, pb.GetPos().m_dX, pb.GetPos().m_dY,
                P.GetState(), ht, P.GetDepth(), k, A, B);
    Modified();
    g_lines.RemoveAt(t);
    g_lines.RemoveAt(s.m_nSelIndex);
    EndMerge();
}

void CLineTopology::AddIntersectionPoint(double x, double y) {
    if (!s.m_lineSel.exists) return;
    const int L = g_lines.FindNearest(x, y);
    if (L < 0) return;
    MarkLine(L, 1);
    s.m_lineSel.Set(L, 1);
    if (s.m_nPoint1 < 0) {
        const CLineZokusei l = g_lines.GetAt(L);
        s.m_nSelIndex = L;
        s.m_nPoint1 = l.GetStartIndex();
        s.m_nPoint2 = l.GetEndIndex();
        return;
    }
    if (L == s.m_nSelIndex) return;
    const CPointD a = g_surveyPoints.GetAt(s.m_nPoint1).GetPos();
    const CPointD b = g_surveyPoints.GetAt(s.m_nPoint2).GetPos();
    const CLineZokusei l = g_lines.GetAt(L);
    const CPointD c = g_surveyPoints.GetAt(l.GetStartIndex()).GetPos();
    const CPointD d = g_surveyPoints.GetAt(l.GetEndIndex()).GetPos();
    double cx, cy;
    auto unmark = [&] {
        s.m_lineSel.Set(L, 0);
        MarkLine(L, 0);
    };
    if (IntersectLines(a.m_dX, a.m_dY, b.m_dX, b.m_dY, c.m_dX, c.m_dY, d.m_dX, d.m_dY, &cx, &cy) < 0)
        return unmark();
    if (AddAndConfirmPoint(cx, cy, "２線分の交点を追加します", "交点追加") < 0) return unmark();
    s.m_lineSel.Set(L, 0);
    s.m_lineSel.Set(s.m_nSelIndex, 0);
    s.m_nSelIndex = s.m_nPoint1 = s.m_nPoint2 = -1;
    h.RedrawAll();
}

void CLineTopology::ToggleLineMark(double vx, double vy) {
    if (!s.m_lineSel.exists) return;
    const CPointD w = ViewToWorld(vx, vy);
    const int line = g_lines.FindNearest(w.m_dX, w.m_dY);
    if (line < 0) return;
    if (s.m_lineSel.Get(line)) {
        s.m_lineSel.Set(line, 0);
        MarkLine(line, 0);
    } else if (line < s.m_lineSel.Count()) {
        s.m_lineSel.Set(line, 1);
        MarkLine(line, 1);
    }
    s.m_nSelIndex = -1;
}

void CLineTopology::TogglePointMark(double vx, double vy) {
    if (!s.m_pointSel.exists) return;
    const CPointD w = ViewToWorld(vx, vy);
    const int p = g_surveyPoints.FindNearest(w.m_dX, w.m_dY);
    if (p < 0 || g_surveyPoints.GetAt(p).GetLineCount() > 0 || p >= s.m_pointSel.Count()) return;
    const bool marked = !s.m_pointSel.Get(p);
    s.m_pointSel.Set(p, marked ? 1 : 0);
    MarkPointSquare(p, marked ? kYellow : kRed);
    s.m_nSelPoint = -1;
}

}  // namespace wv

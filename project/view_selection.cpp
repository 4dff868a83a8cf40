#include "project/view_selection.h"

#include "draw/view_geometry.h"
#include "draw/view_helpers.h"
#include "core/geometry.h"
#include "core/line.h"
#include "core/polygon.h"
#include "core/sokuten.h"
#include "draw/marks_draw.h"
#include "project/line_topology.h"

#include <cmath>

namespace wv {

void CViewSelection::EraseDragFrame() {
    if (CDC* dc = h.BeginMarks()) {
        const CSize one{1, 1};
        dc->DrawDragRect(s.m_rcDragLast, one, nullptr, one);
        h.EndMarks();
    }
}

bool CViewSelection::ReleaseDrag(double vx, double vy) {
    const int m = s.m_nMode;
    if (m != 6 && m != 7 && m != 45 && m != 46) return false;
    const bool small = s.m_rcDrag.Width() < 10 || s.m_rcDrag.Height() < 10;
    const bool dragged = m == 7 || m == 46;
    if (dragged) EraseDragFrame();
    CLineTopology marks(s, h);
    const int sx = h.ScrollX(), sy = h.ScrollY();
    if (m == 6 || m == 7) {
        if (m == 6 || small) {
            marks.TogglePointMark(vx, vy);
        } else if (s.m_pointSel.exists) {
            for (int i = 0; i < s.m_pointSel.Count(); ++i) {
                const CSokutenZokusei p = g_surveyPoints.GetAt(i);
                if (p.GetId() < 0 || p.GetLineCount() > 0) continue;
                double X = p.GetPos().m_dX, Y = p.GetPos().m_dY;
                s.m_coord.WorldToView(&X, &Y);
                X -= sx;
                Y -= sy;
                if (X < s.m_rcDrag.left || X > s.m_rcDrag.right || Y < s.m_rcDrag.top ||
                    Y > s.m_rcDrag.bottom)
                    continue;
                s.m_pointSel.Set(i, 1);
                MarkPointSquare(i, kYellow);
            }
        }
        s.m_nMode = 5;
    } else {
        if (m == 45 || small) {
            marks.ToggleLineMark(vx, vy);
        } else if (s.m_lineSel.exists) {
            const CPointD ll{static_cast<double>(s.m_rcDrag.left), static_cast<double>(s.m_rcDrag.top)};
            const CPointD ur{static_cast<double>(s.m_rcDrag.right), static_cast<double>(s.m_rcDrag.bottom)};
            for (int i = 0; i < s.m_lineSel.Count(); ++i) {
                const CLineZokusei l = g_lines.GetAt(i);
                if (l.GetState() < 0) continue;
                double x1 = l.GetStartPos().m_dX, y1 = l.GetStartPos().m_dY;
                double x2 = l.GetEndPos().m_dX, y2 = l.GetEndPos().m_dY;
                s.m_coord.WorldToView(&x1, &y1);
                s.m_coord.WorldToView(&x2, &y2);
                x1 -= sx; x2 -= sx; y1 -= sy; y2 -= sy;
                if (ClipSegmentToRect(&x1, &y1, &x2, &y2, ll, ur) != 0) continue;
                s.m_lineSel.Set(i, 1);
                MarkLine(i, 1);
            }
        }
        s.m_nMode = 44;
    }
    s.m_rcDrag = CRect{};
    s.m_rcDragLast = CRect{};
    return true;
}

void CViewSelection::DeleteMarkedPoints() {
    for (int i = 0; i < s.m_pointSel.Count(); ++i) {
        if (!s.m_pointSel.flags[i]) continue;
        s.m_pointSel.flags[i] = 0;
        if (!LinesAt(i).empty()) continue;
        g_surveyPoints.RemoveAt(i);
    }
}

bool CViewSelection::ConfirmPointDeletion() {
    if (YesNo("選択した要素を削除します。", "要素削除") != IDYES) return false;
    DeleteMarkedPoints();
    Modified();
    h.RedrawAll();
    return true;
}

bool CViewSelection::ConfirmLineDeletion() {
    if (YesNo("選択した要素を削除します。", "要素削除") != IDYES) return false;
    for (int i = 0; i < s.m_lineSel.Count(); ++i) {
        if (!s.m_lineSel.flags[i]) continue;
        s.m_lineSel.flags[i] = 0;
        g_lines.RemoveAt(i);
    }
    Modified();
    h.RedrawAll();
    return true;
}

void CViewSelection::AddAreaVertex(double x, double y) {
    CPointD rubber{s.m_dAreaMouseX, s.m_dAreaMouseY};
    wv::AddAreaVertex(rubber, x, y);
    s.m_dAreaMouseX = rubber.m_dX;
    s.m_dAreaMouseY = rubber.m_dY;
}

void CViewSelection::DrawAreaBand() {
    if (!g_pAreaPolygon || g_pAreaPolygon->IsEmpty()) return;
    if (CDC* dc = h.BeginMarks()) {
        DrawAreaPolygon(dc, s.m_coord, s.m_nClientW, s.m_nClientH, h.ScrollX(), h.ScrollY(),
                        g_pAreaPolygon.get(), s.m_dAreaMouseX, s.m_dAreaMouseY, 0);
        h.EndMarks();
    }
}

void CViewSelection::MoveAreaRubberBand(double x, double y) {
    if (!g_pAreaPolygon || g_pAreaPolygon->IsEmpty()) return;
    DrawAreaBand();
    s.m_dAreaMouseX = x;
    s.m_dAreaMouseY = y;
    DrawAreaBand();
}

void CViewSelection::AreaOperation() {
    const int mode = s.m_nMode;
    DrawAreaBand();
    CPointList* poly = g_pAreaPolygon.get();
    if (!poly || poly->GetCount() <= 2) return DeletePolygon();
    const CPointD first = poly->GetHead(), last = poly->GetTail();
    if (SegmentCrossesPolygon(last.m_dX, last.m_dY, first.m_dX, first.m_dY, poly) == 1)
        return DeletePolygon();
    poly->AddTail(first);
    // Inside whichever way round the user drew it.
    const int reverse = GetPolygonOrientation(poly);
    auto inside = [&](CPointD p) { return LocatePointInPolygon(p.m_dX, p.m_dY, reverse, poly) == 0; };

    bool any = false;
    if (mode == 49) {
        for (int i = 0; i < s.m_pointSel.Count(); ++i) {
            const CSokutenZokusei p = g_surveyPoints.GetAt(i);
            if (p.GetId() < 0 || p.GetLineCount() > 0 || !inside(p.GetPos())) continue;
            s.m_pointSel.flags[i] = 1;
            any = true;
        }
    } else {
        const int kind = mode == 42 ? kLineDepth : mode == 52 ? kLineTerrain : mode == 132 ? kLineAuxiliary : -1;
        for (int i = 0; i < s.m_lineSel.Count(); ++i) {
            const CLineZokusei l = g_lines.GetAt(i);
            if (l.GetState() < 0 || (kind >= 0 && l.GetKind() != kind)) continue;
            const CPointD a = g_surveyPoints.GetAt(l.GetStartIndex()).GetPos();
            const CPointD b = g_surveyPoints.GetAt(l.GetEndIndex()).GetPos();
            if (!inside(a) || !inside(b)) continue;
            s.m_lineSel.flags[i] = 1;
            any = true;
        }
    }
    if (!any) return DeletePolygon();
    s.m_dAreaMouseX = s.m_dAreaMouseY = kAreaPointCleared;
    h.RedrawAll();
    const bool release = mode == 42 || mode == 52 || mode == 132;
    const int answer = release ? YesNo("選択したﾃﾞｰﾀを解除します。", "解除")
                               : YesNo("選択したﾃﾞｰﾀを削除します。", "削除");
    if (answer == IDYES) {
        if (mode == 49) {
            DeleteMarkedPoints();
        } else {
            for (int i = 0; i < s.m_lineSel.Count(); ++i) {
                if (!s.m_lineSel.flags[i]) continue;
                s.m_lineSel.flags[i] = 0;
                if (mode == 48) {
                    g_lines.RemoveAt(i);
                } else {
                    CLineZokusei l = g_lines.GetAt(i);
                    l.SetHeightType(kHeightFromPoints);
                    l.SetKind(kLineUndefined);
                    g_lines.SetAt(i, l);
                }
            }
        }
        h.RedrawAll();
        Modified();
    } else {
        std::fill(s.m_lineSel.flags.begin(), s.m_lineSel.flags.end(), 0);
        std::fill(s.m_pointSel.flags.begin(), s.m_pointSel.flags.end(), 0);
        h.RedrawAll();
    }
    DeletePolygon();
}

}  // namespace wv

#include "project/point_moves.h"

#include "draw/view_geometry.h"
#include "core/line.h"
#include "core/line_chain.h"
#include "core/numeric.h"
#include "core/sokuten.h"
#include "project/tik_dialogs.h"

#include <algorithm>
#include <cmath>

namespace wv {

void CPointMoves::LeftClick(double x, double y) {
    switch (s.m_nMode) {
    case 101: MovePointByCoords(x, y); break;
    case 102: BeginMovePoint(x, y); break;
    case 103: MovePointTo(x, y); break;
    case 320: PickEndPoint(x, y); break;
    case 321: ChangeEndPoint(x, y); break;
    case 350: PickStretchLine(x, y); break;
    case 351: ToggleStretchPoint(x, y); break;
    default: break;
    }
}

void CPointMoves::MovePointByCoords(double x, double y) {
    const int p = g_surveyPoints.FindNearest(x, y);
    if (p < 0) return;
    s.m_nSelPoint = p;
    MarkPointSquare(p, kYellow);
    CPointCoordDlg dlg(&s);
    const CPointD pos = g_surveyPoints.GetAt(p).GetPos();
    dlg.m_dX = pos.m_dX;
    dlg.m_dY = pos.m_dY;
    if (h.RunDialog(dlg) == IDOK && g_surveyPoints.HitTest(dlg.m_dX, dlg.m_dY, 0.001) < 0) {
        CSokutenZokusei rec = g_surveyPoints.GetAt(p);
        rec.SetPos(dlg.m_dX, dlg.m_dY);
        g_surveyPoints.SetAt(p, rec);
        ReattachLines(p);
        Modified();
    }
    s.m_nSelPoint = -1;
    h.RedrawAll();
}

void CPointMoves::BeginMovePoint(double x, double y) {
    const int p = g_surveyPoints.FindNearest(x, y);
    if (p < 0) return;
    s.m_nSelPoint = p;
    MarkPointSquare(p, kYellow);
    s.m_nMode = 103;
}

void CPointMoves::MovePointTo(double x, double y) {
    if (s.m_nSelPoint < 0 || g_surveyPoints.HitTest(x, y, 0.001) >= 0) return;
    CSokutenZokusei rec = g_surveyPoints.GetAt(s.m_nSelPoint);
    if (rec.GetId() < 0) return;
    rec.SetPos(x, y);
    g_surveyPoints.SetAt(s.m_nSelPoint, rec);
    ReattachLines(s.m_nSelPoint);
    Modified();
    h.RedrawAll();
}

void CPointMoves::PickEndPoint(double x, double y) {
    const int p = g_surveyPoints.FindNearest(x, y);
    if (p < 0 || LinesAt(p).empty()) return;
    s.m_nSelPoint = p;
    MarkPointSquare(p, kYellow);
    s.m_nMode = 321;
}

void CPointMoves::EndEndPointChange() {
    s.m_nMode = 320;
    s.m_nSelPoint = -1;
    h.RedrawAll();
}

void CPointMoves::ChangeEndPoint(double x, double y) {
    const int N = g_surveyPoints.FindNearest(x, y);
    const int P = s.m_nSelPoint;
    if (N < 0 || N == P || P < 0) return;
    // Every line that ends at the point, however many: a link list holds only eight.
    const std::vector<int> moved = LinesAt(P);
    const std::vector<int> atN = LinesAt(N);
    auto otherEnd = [P](const CLineZokusei& l) {
        return l.GetStartIndex() == P ? l.GetEndIndex() : l.GetStartIndex();
    };
    for (int li : moved) {
        const int O = otherEnd(g_lines.GetAt(li));
        if (O != N && LineJoins(O, N)) return EndEndPointChange();
    }
    double dOld = kUndeterminedHeight;
    bool depthLine = false;
    for (int li : moved) {
        const CLineZokusei l = g_lines.GetAt(li);
        if (!IsHeightBearing(l)) continue;
        dOld = g_surveyPoints.GetAt(P).GetDepth();
        if (l.GetKind() == kLineDepth) depthLine = true;
    }
    double dNew = kUndeterminedHeight;
    for (int li : atN) {
        if (IsHeightBearing(g_lines.GetAt(li))) {
            dNew = g_surveyPoints.GetAt(N).GetDepth();
            break;
        }
    }
    if (depthLine && dOld < kDeterminedBelow && dNew < kDeterminedBelow &&
        std::fabs(dOld - dNew) > 0.0001)
        return EndEndPointChange();
    if (dOld < kDeterminedBelow && dNew > kDeterminedBelow) {
        CSokutenZokusei n = g_surveyPoints.GetAt(N);
        n.SetDepth(dOld);
        g_surveyPoints.SetAt(N, n);
    }
    const CPointD pn = g_surveyPoints.GetAt(N).GetPos();
    for (int li : moved) {
        CLineZokusei l = g_lines.GetAt(li);
        const int O = otherEnd(l);
        if (O == N) {
            g_lines.RemoveAt(li);
            continue;
        }
        const CPointD po = g_surveyPoints.GetAt(O).GetPos();
        const bool oFirst = O < N;
        l.SetStartIndex(oFirst ? O : N);
        l.SetEndIndex(oFirst ? N : O);
        l.SetStartPos(oFirst ? po.m_dX : pn.m_dX, oFirst ? po.m_dY : pn.m_dY);
        l.SetEndPos(oFirst ? pn.m_dX : po.m_dX, oFirst ? pn.m_dY : po.m_dY);
        g_lines.SetAt(li, l);
    }
    Modified();
    UpdatePointLineLinks(kLinksAll);
    EndEndPointChange();
}

void CPointMoves::PickStretchLine(double x, double y) {
    const int line = g_lines.FindNearest(x, y);
    if (line < 0) return;
    s.m_nSelIndex = line;
    MarkLine(line, 1);
    const CLineZokusei l = g_lines.GetAt(line);
    // Here a tie goes to the start, unlike the attribute and construction picks.
    const bool startNear = NearerIsStart(line, x, y, true);
    s.m_nPoint1 = startNear ? l.GetStartIndex() : l.GetEndIndex();
    s.m_nPoint2 = startNear ? l.GetEndIndex() : l.GetStartIndex();
    MarkPickedPoints();
    s.m_nMode = 351;
}

void CPointMoves::ToggleStretchPoint(double x, double y) {
    if (!s.m_pointSel.exists) return;
    const int p = g_surveyPoints.FindNearest(x, y);
    if (p < 0 || p >= s.m_pointSel.Count()) return;
    const bool marked = !s.m_pointSel.Get(p);
    s.m_pointSel.Set(p, marked ? 1 : 0);
    MarkPointSquare(p, marked ? kYellow : kRed);
}

void CPointMoves::StretchMove() {
    std::vector<int> slots;
    std::vector<CPointD> kept;
    for (int i = 0; i < s.m_pointSel.Count(); ++i) {
        if (!s.m_pointSel.flags[i]) continue;
        const CSokutenZokusei p = g_surveyPoints.GetAt(i);
        if (p.GetId() < 0) continue;
        slots.push_back(i);
        kept.push_back(p.GetPos());
    }
    auto place = [this](int slot, CPointD pos) {
        CSokutenZokusei p = g_surveyPoints.GetAt(slot);
        p.SetPos(pos.m_dX, pos.m_dY);
        g_surveyPoints.SetAt(slot, p);
        ReattachLines(slot);
    };
    double value = 0.0;
    for (;;) {
        CValueInputDlg dlg(&s);
        dlg.m_dValue = value;
        if (h.RunDialog(dlg) != IDOK) break;
        value = dlg.m_dValue;
        const CPointD p1 = g_surveyPoints.GetAt(s.m_nPoint1).GetPos();
        const CPointD p2 = g_surveyPoints.GetAt(s.m_nPoint2).GetPos();
        const double a = std::atan2(p1.m_dY - p2.m_dY, p1.m_dX - p2.m_dX);
        for (std::size_t k = 0; k < slots.size(); ++k) {
            const CPointD from = g_surveyPoints.GetAt(slots[k]).GetPos();
            const double nx = RoundDecimal(from.m_dX + value * std::cos(a), 3);
            const double ny = RoundDecimal(from.m_dY + value * std::sin(a), 3);
            const int hit = g_surveyPoints.HitTest(nx, ny, 0.001);
            if (hit >= 0 && hit != slots[k]) continue;
            place(slots[k], {nx, ny});
        }
        h.RedrawAll();
        if (YesNo("選択した測点要素を移動します。", "測点移動") == IDYES) {
            Modified();
            break;
        }
        for (std::size_t k = 0; k < slots.size(); ++k) place(slots[k], kept[k]);
        h.RedrawAll();
    }
}

}  // namespace wv

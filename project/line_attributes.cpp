#include "project/line_attributes.h"

#include "draw/view_geometry.h"
#include "core/line.h"
#include "core/line_chain.h"
#include "core/sokuten.h"
#include "project/tik_dialogs.h"

#include <cmath>

namespace wv {

bool CLineAttributes::Owns(int mode) {
    switch (mode) {
    case 50: case 133: case 51: case 131: case 53: case 54: case 129: case 58: case 55:
    case 130: case 56: case 134: case 57: case 135:
        return true;
    default:
        return false;
    }
}

int CLineAttributes::PickFilter(int mode) {
    switch (mode) {
    case 50: case 53: case 54: case 58: case 55: return 2;   // undefined and terrain
    case 133: case 129: case 130: return 4;                  // undefined and auxiliary
    case 51: case 56: case 57: return 3;                     // terrain
    case 131: case 134: case 135: return 5;                  // auxiliary
    default: return -1;
    }
}

int CLineAttributes::KindWritten(int mode) {
    switch (mode) {
    case 50: case 58: case 55: return kLineTerrain;
    case 133: case 130: return kLineAuxiliary;
    default: return kLineUndefined;
    }
}

void CLineAttributes::LeftClick(double x, double y) {
    switch (s.m_nMode) {
    case 50: case 133: SetLineAttribute(x, y); break;
    case 51: case 131: ReleaseLineAttribute(x, y); break;
    case 53: case 54: case 129: BeginChainSet(x, y); break;
    case 58: case 55: case 130: SetChainAttribute(x, y); break;
    case 56: case 134: BeginChainRelease(x, y); break;
    case 57: case 135: ReleaseChainAttribute(x, y); break;
    default: break;
    }
}

void CLineAttributes::SetLineAttribute(double x, double y) {
    const int line = g_lines.FindNearestOfKind(x, y, PickFilter(s.m_nMode));
    if (line < 0) return;
    s.m_nSelIndex = line;
    MarkLine(line, 1);
    const CLineZokusei l = g_lines.GetAt(line);
    const bool startNear = NearerIsStart(line, x, y, false);
    s.m_nPoint1 = startNear ? l.GetStartIndex() : l.GetEndIndex();
    s.m_nPoint2 = startNear ? l.GetEndIndex() : l.GetStartIndex();
    MarkPickedPoints();

    CGroundHeightDlg dlg(&s);
    if (h.RunDialog(dlg) == IDOK) {
        CLineZokusei upd = g_lines.GetAt(line);
        upd.SetHeightType(dlg.m_nType);
        upd.SetKind(KindWritten(s.m_nMode));
        g_lines.SetAt(line, upd);
        if (dlg.m_nType == kHeightFromPoints) {
            CSokutenZokusei p1 = g_surveyPoints.GetAt(s.m_nPoint1);
            p1.SetDepth(dlg.m_dHeightStart);
            g_surveyPoints.SetAt(s.m_nPoint1, p1);
            CSokutenZokusei p2 = g_surveyPoints.GetAt(s.m_nPoint2);
            p2.SetDepth(dlg.m_dHeightEnd);
            g_surveyPoints.SetAt(s.m_nPoint2, p2);
        }
        Modified();
    }
    s.m_nSelIndex = s.m_nPoint1 = s.m_nPoint2 = -1;
    h.RedrawAll();
}

void CLineAttributes::ReleaseLineAttribute(double x, double y) {
    const int line = g_lines.FindNearestOfKind(x, y, PickFilter(s.m_nMode));
    if (line < 0) return;
    CLineZokusei l = g_lines.GetAt(line);
    l.SetHeightType(kHeightFromPoints);
    l.SetKind(kLineUndefined);
    g_lines.SetAt(line, l);
    MarkLine(line, 0);
    Modified();
}

void CLineAttributes::BeginChainSet(double x, double y) {
    const int line = g_lines.FindNearestOfKind(x, y, PickFilter(s.m_nMode));
    if (line < 0) return;
    s.m_nSelIndex = line;
    MarkLine(line, 1);
    const CLineZokusei l = g_lines.GetAt(line);
    s.m_nPoint1 = NearerIsStart(line, x, y, false) ? l.GetStartIndex() : l.GetEndIndex();
    MarkPickedPoints();
    s.m_nMode = s.m_nMode == 53 ? 58 : s.m_nMode == 54 ? 55 : 130;
}

CLineAttributes::Chain CLineAttributes::WalkChain(int firstLine, int startPoint, int last) {
    Chain c;
    const CLineZokusei first = g_lines.GetAt(firstLine);
    c.lines.push_back(firstLine);
    c.points.push_back(startPoint);
    c.points.push_back(first.GetStartIndex() == startPoint ? first.GetEndIndex() : first.GetStartIndex());
    if (last == firstLine) return c;
    int arrived = firstLine;
    // Bounded by the line table, so stale link lists can never make it run round.
    for (int guard = 0; guard < g_lines.GetSlotCount(); ++guard) {
        const CSokutenZokusei n = g_surveyPoints.GetAt(c.points.back());
        if (n.GetLineCount() != 2) break;
        const int next = n.GetLine(0) != arrived ? n.GetLine(0) : n.GetLine(1);
        if (next == firstLine) {
            c.closed = true;
            return c;
        }
        const CLineZokusei nl = g_lines.GetAt(next);
        if (nl.GetState() < 0) break;
        c.lines.push_back(next);
        c.points.push_back(nl.GetStartIndex() == c.points.back() ? nl.GetEndIndex() : nl.GetStartIndex());
        arrived = next;
        if (next == last) break;
    }
    return c;
}

void CLineAttributes::SetChainAttribute(double x, double y) {
    if (!s.m_lineSel.exists) return;
    const int t = g_lines.FindNearestOfKind(x, y, PickFilter(s.m_nMode));
    if (t < 0) return;
    const Chain c = WalkChain(s.m_nSelIndex, s.m_nPoint1, t);
    if (c.closed) return;
    for (int l : c.lines) s.m_lineSel.Set(l, 1);
    s.m_nPoint2 = c.points.back();
    h.RedrawAll();

    CGroundHeightDlg dlg(&s);
    if (h.RunDialog(dlg) == IDOK) {
        if (dlg.m_nType == kHeightFromPoints) {
            const double h1 = dlg.m_dHeightStart, h2 = dlg.m_dHeightEnd;
            const int m = static_cast<int>(c.points.size()) - 1;
            std::vector<double> dist(c.points.size(), 0.0);
            for (int k = 1; k <= m; ++k) {
                const CPointD a = g_surveyPoints.GetAt(c.points[k - 1]).GetPos();
                const CPointD b = g_surveyPoints.GetAt(c.points[k]).GetPos();
                dist[k] = dist[k - 1] + std::hypot(b.m_dX - a.m_dX, b.m_dY - a.m_dY);
            }
            for (int k = 0; k <= m; ++k) {
                double v = h1;
                if (k == m) v = h2;
                else if (k > 0 && std::fabs(h2 - h1) > 0.0001 && dist[m] > 0.0)
                    v = h1 + (h2 - h1) * dist[k] / dist[m];
                CSokutenZokusei p = g_surveyPoints.GetAt(c.points[k]);
                p.SetDepth(v);
                g_surveyPoints.SetAt(c.points[k], p);
            }
        }
        for (int l : c.lines) {
            CLineZokusei line = g_lines.GetAt(l);
            line.SetHeightType(dlg.m_nType);
            line.SetKind(KindWritten(s.m_nMode));
            g_lines.SetAt(l, line);
        }
        Modified();
    }
    s.m_nSelIndex = s.m_nPoint1 = s.m_nPoint2 = -1;
    std::fill(s.m_lineSel.flags.begin(), s.m_lineSel.flags.end(), 0);
    h.RedrawAll();
    s.m_nMode = s.m_nMode == 58 ? 53 : s.m_nMode == 55 ? 54 : 129;
}

void CLineAttributes::BeginChainRelease(double x, double y) {
    const int line = g_lines.FindNearestOfKind(x, y, PickFilter(s.m_nMode));
    if (line < 0) return;
    s.m_nSelIndex = line;
    MarkLine(line, 1);
    const CLineZokusei l = g_lines.GetAt(line);
    const bool startNear = NearerIsStart(line, x, y, false);
    s.m_nPoint1 = s.m_nSelPoint = startNear ? l.GetStartIndex() : l.GetEndIndex();
    s.m_nPoint2 = startNear ? l.GetEndIndex() : l.GetStartIndex();
    MarkPointSquare(s.m_nSelPoint, kYellow);
    s.m_nMode = s.m_nMode == 56 ? 57 : 135;
}

void CLineAttributes::ReleaseChainAttribute(double x, double y) {
    if (!s.m_lineSel.exists) return;
    const int t = g_lines.FindNearestOfKind(x, y, PickFilter(s.m_nMode));
    if (t < 0) return;
    const Chain c = WalkChain(s.m_nSelIndex, s.m_nPoint1, t);
    if (c.closed) return;
    for (int l : c.lines) s.m_lineSel.Set(l, 1);
    s.m_nSelPoint = -1;
    h.RedrawAll();
    if (YesNo("選択したﾃﾞｰﾀを解除します。", "解除") == IDYES) {
        for (int l : c.lines) {
            CLineZokusei line = g_lines.GetAt(l);
            line.SetHeightType(kHeightFromPoints);
            line.SetKind(kLineUndefined);
            g_lines.SetAt(l, line);
        }
        Modified();
        UpdatePointLineLinks(s.m_nMode == 135 ? kLinksAuxiliary : kLinksTerrain);
    }
    s.m_nSelIndex = s.m_nPoint1 = s.m_nPoint2 = -1;
    std::fill(s.m_lineSel.flags.begin(), s.m_lineSel.flags.end(), 0);
    s.m_nMode = s.m_nMode == 57 ? 56 : 134;
    h.RedrawAll();
}

}  // namespace wv

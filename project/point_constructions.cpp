#include "project/point_constructions.h"

#include "draw/view_geometry.h"
#include "core/geometry.h"
#include "core/line.h"
#include "core/sokuten.h"
#include "project/tik_dialogs.h"

#include <cmath>

namespace wv {

void CPointConstructions::LeftClick(double x, double y) {
    switch (s.m_nMode) {
    case 380: AddExtensionPoint(x, y); break;
    case 381: PickPerpendicularBase(x, y); break;
    case 382: AddPerpendicularPoint(x, y); break;
    case 383: AddAngleDistancePoint(x, y); break;
    default: break;
    }
}

bool CPointConstructions::PickBase(double x, double y) {
    const int line = g_lines.FindNearest(x, y);
    if (line < 0) return false;
    s.m_nSelIndex = line;
    MarkLine(line, 1);
    const CLineZokusei l = g_lines.GetAt(line);
    const bool startNear = NearerIsStart(line, x, y, false);
    s.m_nSelPoint = s.m_nPoint1 = startNear ? l.GetStartIndex() : l.GetEndIndex();
    s.m_nPoint2 = startNear ? l.GetEndIndex() : l.GetStartIndex();
    MarkPickedPoints();
    MarkPointSquare(s.m_nSelPoint, kYellow);
    return true;
}

double CPointConstructions::OutwardAngle() const {
    const CLineZokusei l = g_lines.GetAt(s.m_nSelIndex);
    const bool nearIsStart = l.GetStartIndex() == s.m_nPoint1;
    const CPointD n = nearIsStart ? l.GetStartPos() : l.GetEndPos();
    const CPointD f = nearIsStart ? l.GetEndPos() : l.GetStartPos();
    return std::atan2(n.m_dY - f.m_dY, n.m_dX - f.m_dX);
}

void CPointConstructions::ClearPicks() {
    s.m_nSelPoint = s.m_nSelIndex = s.m_nPoint2 = s.m_nPoint1 = -1;
    h.RedrawAll();
}

void CPointConstructions::AddExtensionPoint(double x, double y) {
    if (!PickBase(x, y)) return;
    // The value keeps the last entry while the dialog comes back.
    double value = 0.0;
    for (;;) {
        CValueInputDlg dlg(&s);
        dlg.m_dValue = value;
        if (h.RunDialog(dlg) != IDOK) break;
        value = dlg.m_dValue;
        const double t = OutwardAngle();
        const CPointD base = g_surveyPoints.GetAt(s.m_nSelPoint).GetPos();
        const int added = AddAndConfirmPoint(base.m_dX + value * std::cos(t),
                                             base.m_dY + value * std::sin(t), "伸縮点を追加します。",
                                             "伸縮点");
        if (added == 1 || added == -2) break;
    }
    ClearPicks();
}

void CPointConstructions::PickPerpendicularBase(double x, double y) {
    const int line = g_lines.FindNearest(x, y);
    if (line < 0) return;
    s.m_nSelIndex = line;
    MarkLine(line, 1);
    s.m_nMode = 382;
}

void CPointConstructions::AddPerpendicularPoint(double x, double y) {
    const int p = g_surveyPoints.FindNearest(x, y);
    if (p < 0) return;
    s.m_nSelPoint = p;
    MarkPointSquare(p, kYellow);
    const CLineZokusei l = g_lines.GetAt(s.m_nSelIndex);
    const CPointD a = l.GetStartPos(), b = l.GetEndPos(), q = g_surveyPoints.GetAt(p).GetPos();
    double fx = 0.0, fy = 0.0;
    // A base line of no length has no direction, so there is no foot to offer.
    if (l.GetState() >= 0 &&
        ProjectPointOnSegment(a.m_dX, a.m_dY, b.m_dX, b.m_dY, q.m_dX, q.m_dY, &fx, &fy, 0) >= 0)
        AddAndConfirmPoint(fx, fy, "垂直点を追加します", "垂直点", true);
    s.m_nSelPoint = -1;
    h.RedrawAll();
}

void CPointConstructions::AddAngleDistancePoint(double x, double y) {
    if (!PickBase(x, y)) return;
    double dist = 0.0, angle = 0.0;
    for (;;) {
        CAngleDistDlg dlg(&s);
        dlg.m_dDistance = dist;
        dlg.m_dAngle = angle;
        if (h.RunDialog(dlg) != IDOK) break;
        dist = dlg.m_dDistance;
        angle = dlg.m_dAngle;
        const double t = OutwardAngle();
        const CPointD n = g_surveyPoints.GetAt(s.m_nSelPoint).GetPos();
        const double p1x = n.m_dX + dist * std::cos(t), p1y = n.m_dY + dist * std::sin(t);
        const double a = angle * kPi / 180.0;
        double px, py;
        WorldToScreen(p1x, p1y, n.m_dX, n.m_dY, std::cos(a), std::sin(a), 1.0, n.m_dX, n.m_dY, &px, &py);
        const int added = AddAndConfirmPoint(px, py, "新しい測点要素を追加します。", "角度・距離指定");
        if (added == 1 || added == -2) break;
    }
    ClearPicks();
}

}  // namespace wv

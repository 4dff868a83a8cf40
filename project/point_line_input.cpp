#include "project/point_line_input.h"

#include "core/line.h"
#include "core/sokuten.h"
#include "draw/marks_draw.h"
#include "draw/view_geometry.h"

#include <algorithm>

namespace wv {

void CPointLineInput::LeftClick(double x, double y) {
    switch (s.m_nMode) {
    case 1: AddPointAt(x, y); break;
    case 200: BeginLineInput(x, y); break;
    case 201: AddLineTo(x, y); break;
    case 2: BeginConnect(x, y); break;
    case 3: ConnectTo(x, y); break;
    default: break;
    }
}

void CPointLineInput::AddPointAt(double x, double y) { TakeOrCreatePoint(x, y); }

void CPointLineInput::BeginLineInput(double x, double y) {
    const int slot = TakeOrCreatePoint(x, y);
    if (slot < 0) return;
    s.m_nPoint1 = slot;
    s.ClearRubberBand();
    s.m_nMode = 201;
}

void CPointLineInput::AddLineTo(double x, double y) {
    // Without room for the line the click makes no point either.
    if (!RoomForLines(1)) return;
    const int slot = TakeOrCreatePoint(x, y);
    if (slot < 0 || slot == s.m_nPoint1) return;
    JoinToChain(slot);
}

void CPointLineInput::BeginConnect(double x, double y) {
    const int slot = g_surveyPoints.FindNearest(x, y);
    if (slot < 0) return;
    s.m_nPoint1 = slot;
    s.ClearRubberBand();
    s.m_nMode = 3;
}

void CPointLineInput::ConnectTo(double x, double y) {
    const int slot = g_surveyPoints.FindNearest(x, y);
    if (slot < 0 || slot == s.m_nPoint1) return;
    JoinToChain(slot);
}

void CPointLineInput::JoinToChain(int slot) {
    if (LineExistsBetween(std::max(slot, s.m_nPoint1), std::min(slot, s.m_nPoint1))) return;
    if (!RoomForLines(1)) return;
    s.m_nPoint2 = slot;
    const CPointD a = g_surveyPoints.GetAt(s.m_nPoint1).GetPos();
    const CPointD b = g_surveyPoints.GetAt(s.m_nPoint2).GetPos();
    g_lines.Add(a.m_dX, a.m_dY, b.m_dX, b.m_dY, 0, kHeightFromPoints, 0.0, kLineUndefined,
                s.m_nPoint1, s.m_nPoint2);
    Modified();

    if (CDC* dc = h.BeginMarks()) {
        const GuardRect g = ClientGuard(s.m_nClientW, s.m_nClientH);
        const int sx = h.ScrollX(), sy = h.ScrollY();
        double ax, ay, bx, by;
        // Erased by the very routine that drew it, so the XOR takes back exactly its pixels.
        if (s.HasRubberBand())
            DrawRotateGuide(dc, s.m_coord, sx, sy, s.m_nPoint1, {s.m_dLastX, s.m_dLastY});
        const bool okA = WorldToViewD(s.m_coord, a.m_dX, a.m_dY, &ax, &ay);
        if (okA && WorldToViewD(s.m_coord, b.m_dX, b.m_dY, &bx, &by)) {
            ScopedPen pen(*dc, CPen(PS_SOLID, 1, RGB(0, 128, 0)));
            DrawSegment(dc, ax - sx, ay - sy, bx - sx, by - sy, g);
        }
        h.EndMarks();
    }
    s.m_nPoint1 = s.m_nPoint2;
    s.ClearRubberBand();
}

}  // namespace wv

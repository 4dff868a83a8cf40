#include "project/tik_edit_support.h"

#include "core/line.h"
#include "core/numeric.h"
#include "core/sokuten.h"
#include "core/table_limits.h"
#include "core/tik_inf.h"
#include "draw/terrain_draw.h"
#include "draw/view_geometry.h"

#include <cmath>

namespace wv {

int LineExistsBetween(int a, int b) { return g_lines.Exists(b, a); }

bool LineJoins(int p, int q) {
    return LineExistsBetween(std::max(p, q), std::min(p, q)) != 0;
}

bool IsHeightBearing(const CLineZokusei& line) {
    const int k = line.GetKind();
    if (k == kLineDepth) return true;
    return (k == kLineTerrain || k == kLineAuxiliary) && line.GetHeightType() == kHeightFromPoints;
}

DrawContext TikEditBase::Context() const {
    DrawContext c;
    c.coord = &s.m_coord;
    c.scrollX = h.ScrollX();
    c.scrollY = h.ScrollY();
    c.clientW = s.m_nClientW;
    c.clientH = s.m_nClientH;
    c.mode = s.m_nMode;
    c.savedMode = s.m_nSavedMode;
    if (s.m_lineSel.exists) {
        c.lineSel = s.m_lineSel.flags.data();
        c.lineSelCount = s.m_lineSel.Count();
    }
    if (s.m_pointSel.exists) {
        c.pointSel = s.m_pointSel.flags.data();
        c.pointSelCount = s.m_pointSel.Count();
    }
    c.point1 = s.m_nPoint1;
    c.point2 = s.m_nPoint2;
    return c;
}

CPointD TikEditBase::ViewToWorld(double vx, double vy) const {
    s.m_coord.ViewToWorld(&vx, &vy);
    return {vx, vy};
}

double TikEditBase::MouseTolerance() const {
    const double scale = s.m_coord.GetScale();
    return scale > 0.0 ? g_tikInf.m_nTolMouse / scale : 0.0;
}

void TikEditBase::MarkSquare(CPointD world, COLORREF color) {
    double X, Y;
    if (!WorldToViewD(s.m_coord, world.m_dX, world.m_dY, &X, &Y)) return;
    X -= h.ScrollX();
    Y -= h.ScrollY();
    if (!ClientGuard(s.m_nClientW, s.m_nClientH).Contains(X, Y)) return;
    if (CDC* dc = h.BeginMarks()) {
        dc->FillSolidRect(static_cast<int>(X) - 1, static_cast<int>(Y) - 1, 2, 2, color);
        h.EndMarks();
    }
}

void TikEditBase::MarkPointSquare(int pointSlot, COLORREF color) {
    const CSokutenZokusei p = g_surveyPoints.GetAt(pointSlot);
    if (p.GetId() < 0) return;
    MarkSquare(p.GetPos(), color);
}

void TikEditBase::MarkLine(int lineSlot, int style) {
    if (CDC* dc = h.BeginMarks()) {
        DrawTerrainLine(Context(), dc, lineSlot, style, 0);
        h.EndMarks();
    }
}

void TikEditBase::MarkPickedPoints() {
    if (CDC* dc = h.BeginMarks()) {
        DrawPickedPoints(Context(), dc, h.ScrollX(), h.ScrollY());
        h.EndMarks();
    }
}

bool TikEditBase::RoomForPoints(long long n) {
    if (g_surveyPoints.HasRoomFor(n)) return true;
    h.Ask(TableFullMessage(kSurveyPointsFull), kTableFullCaption, MbButtons::Ok, MbIcon::None);
    return false;
}

bool TikEditBase::RoomForLines(long long n) {
    if (g_lines.HasRoomFor(n)) return true;
    h.Ask(TableFullMessage(kLinesFull), kTableFullCaption, MbButtons::Ok, MbIcon::None);
    return false;
}

int TikEditBase::TakeOrCreatePoint(double x, double y) {
    const double rx = RoundDecimal(x, 3), ry = RoundDecimal(y, 3);
    const int found = g_surveyPoints.HitTest(rx, ry, MouseTolerance());
    if (found >= 0) return found;
    if (!RoomForPoints(1)) return -1;
    const int slot = g_surveyPoints.Add(rx, ry, 0);
    MarkSquare({rx, ry}, kRed);
    Modified();
    return slot;
}

int TikEditBase::AddAndConfirmPoint(double x, double y, const char* question, const char* caption,
                                    bool markRed) {
    const double rx = RoundDecimal(x, 3), ry = RoundDecimal(y, 3);
    if (!std::isfinite(rx) || !std::isfinite(ry)) return -1;
    if (g_surveyPoints.HitTest(rx, ry, 0.001) >= 0) return -1;
    if (!RoomForPoints(1)) return -2;
    if (markRed) MarkSquare({rx, ry}, kRed);
    const int slot = g_surveyPoints.Add(rx, ry, 0);
    h.RedrawAll();
    if (OkCancel(question, caption) == IDOK) {
        Modified();
        return 1;
    }
    g_surveyPoints.RemoveAt(slot);
    h.RedrawAll();
    return 0;
}

void TikEditBase::ReattachLines(int pointSlot) {
    const CPointD p = g_surveyPoints.GetAt(pointSlot).GetPos();
    for (int i = 0; i < g_lines.GetSlotCount(); ++i) {
        CLineZokusei l = g_lines.GetAt(i);
        if (l.GetState() < 0) continue;
        bool changed = false;
        if (l.GetStartIndex() == pointSlot) { l.SetStartPos(p.m_dX, p.m_dY); changed = true; }
        if (l.GetEndIndex() == pointSlot) { l.SetEndPos(p.m_dX, p.m_dY); changed = true; }
        if (changed) g_lines.SetAt(i, l);
    }
}

bool TikEditBase::NearerIsStart(int lineSlot, double x, double y, bool tieToStart) const {
    const CLineZokusei l = g_lines.GetAt(lineSlot);
    const CPointD a = l.GetStartPos(), b = l.GetEndPos();
    const double ds = std::hypot(x - a.m_dX, y - a.m_dY);
    const double de = std::hypot(x - b.m_dX, y - b.m_dY);
    return tieToStart ? !(ds > de) : (de > ds);
}

std::vector<int> TikEditBase::LinesAt(int pointSlot) const {
    std::vector<int> out;
    for (int i = 0; i < g_lines.GetSlotCount(); ++i) {
        const CLineZokusei l = g_lines.GetAt(i);
        if (l.GetState() < 0) continue;
        if (l.GetStartIndex() == pointSlot || l.GetEndIndex() == pointSlot) out.push_back(i);
    }
    return out;
}

int TikEditBase::YesNo(const char* text, const char* caption) {
    return h.Ask(text, caption, MbButtons::YesNo, MbIcon::Warning);
}

int TikEditBase::OkCancel(const char* text, const char* caption) {
    return h.Ask(text, caption, MbButtons::OkCancel, MbIcon::None);
}

}  // namespace wv

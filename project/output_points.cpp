#include "project/output_points.h"

#include "core/numeric.h"
#include "core/sansyutu.h"
#include "draw/terrain_draw.h"
#include "project/tik_dialogs.h"

#include <cstdio>

namespace wv {

void COutputPoints::LeftClick(double x, double y) {
    switch (s.m_nMode) {
    case 140: AddAt(x, y); break;
    case 141: PickToMove(x, y); break;
    case 142: MoveTo(x, y); break;
    case 143: EditByCoords(x, y); break;
    case 144: Remove(x, y); break;
    default: break;
    }
}

void COutputPoints::Mark(int slot, int style) {
    if (CDC* dc = h.BeginMarks()) {
        DrawCalcPoints(dc, s.m_coord, s.m_nClientW, s.m_nClientH, h.ScrollX(), h.ScrollY(), slot, style);
        h.EndMarks();
    }
}

void COutputPoints::LimitMessage(TikEditHost& host) {
    char text[160];
    std::snprintf(text, sizeof text, "算出点の登録数は上限値(%d)に達しています。", g_calcPoints.GetSize());
    host.Ask(text, "ｴﾗｰ", MbButtons::Ok, MbIcon::None);
}

void COutputPoints::AddAt(double x, double y) {
    const double rx = RoundDecimal(x, 3), ry = RoundDecimal(y, 3);
    if (g_calcPoints.HitTest(rx, ry, MouseTolerance()) >= 0) return;
    const int slot = g_calcPoints.Add(rx, ry);
    if (slot < 0) return LimitMessage(h);
    Mark(slot, 2);
    Modified();
}

void COutputPoints::PickToMove(double x, double y) {
    const int slot = g_calcPoints.FindNearest(x, y);
    if (slot < 0) return;
    s.m_nCalcPointSel = slot;
    Mark(slot, 3);
    Mark(slot, 0);
    s.m_nMode = 142;
}

void COutputPoints::MoveTo(double x, double y) {
    const int slot = s.m_nCalcPointSel;
    if (slot < 0 || g_calcPoints.HitTest(x, y, 0.001) >= 0) return;
    Mark(slot, 1);
    CSansyutuZokusei p = g_calcPoints.GetAt(slot);
    p.SetPos(x, y);
    g_calcPoints.SetAt(slot, p);
    Mark(slot, 0);
    Modified();
}

void COutputPoints::EditByCoords(double x, double y) {
    const int slot = g_calcPoints.FindNearest(x, y);
    if (slot < 0) return;
    s.m_nCalcPointSel = slot;
    Mark(slot, 3);
    Mark(slot, 0);
    CSansyutuCoordDlg dlg(&s);
    const CPointD pos = g_calcPoints.GetAt(slot).GetPos();
    dlg.m_dX = pos.m_dX;
    dlg.m_dY = pos.m_dY;
    if (h.RunDialog(dlg) == IDOK) {
        const int hit = g_calcPoints.HitTest(dlg.m_dX, dlg.m_dY, 0.001);
        if (hit >= 0) {
            Mark(slot, 1);
            Mark(slot, 2);
        } else {
            CSansyutuZokusei p = g_calcPoints.GetAt(slot);
            p.SetPos(dlg.m_dX, dlg.m_dY);
            g_calcPoints.SetAt(slot, p);
            Modified();
        }
    }
    s.m_nCalcPointSel = -1;
    h.RedrawAll();
}

void COutputPoints::Remove(double x, double y) {
    const int slot = g_calcPoints.FindNearest(x, y);
    if (slot < 0) return;
    Mark(slot, 3);
    g_calcPoints.RemoveAt(slot);
    Modified();
}

void COutputPoints::RemoveAll() {
    for (int i = 0; i < CSansyutu::kCapacity; ++i) g_calcPoints.RemoveAt(i);
    Modified();
    h.RedrawAll();
}

void COutputPoints::RegisterByCoords(const std::function<void()>& registered) {
    s.m_nMode = 0;
    CSansyutuCoordDlg dlg(&s);
    dlg.m_onRegistered = registered;
    h.RunDialog(dlg);
    h.RedrawAll();
}

}  // namespace wv

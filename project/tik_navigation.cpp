#include "project/tik_navigation.h"

#include "draw/view_helpers.h"
#include "project/tik_dialogs.h"

namespace wv {

namespace {

// The shared view routines work on a ViewState; the project view keeps its own members
// under their own names, so each call copies them across and back.
ViewState ToShared(const TikEditState& s, const TikEditHost& h) {
    ViewState v;
    v.coord = s.m_coord;
    v.scrollX = h.ScrollX();
    v.scrollY = h.ScrollY();
    v.clientW = s.m_nClientW;
    v.clientH = s.m_nClientH;
    v.mode = s.m_nMode;
    v.savedMode = s.m_nSavedMode;
    v.rcDrag = s.m_rcDrag;
    v.rcDragLast = s.m_rcDragLast;
    v.point1 = s.m_nPoint1;
    v.last = {s.m_dLastX, s.m_dLastY};
    v.measureStart = s.m_ptMeasureStart;
    v.selIndex = s.m_nSelIndex;
    return v;
}

void FromShared(ViewState& v, TikEditState& s, TikEditHost& h) {
    s.m_coord = v.coord;
    s.m_nMode = v.mode;
    s.m_nSavedMode = v.savedMode;
    s.m_rcDrag = v.rcDrag;
    s.m_rcDragLast = v.rcDragLast;
    s.m_nPoint1 = v.point1;
    s.m_dLastX = v.last.m_dX;
    s.m_dLastY = v.last.m_dY;
    s.m_ptMeasureStart = v.measureStart;
    s.m_nSelIndex = v.selIndex;
    if (v.TakeRedraw()) {
        h.ScrollTo(v.scrollX, v.scrollY);
        h.RedrawAll();
    }
}

}  // namespace

void CTikNavigation::BeginDrag(int cx, int cy) {
    ViewState v = ToShared(s, h);
    wv::BeginDrag(v, cx, cy);
    FromShared(v, s, h);
}

void CTikNavigation::ZoomAtPoint(double vx, double vy) {
    ViewState v = ToShared(s, h);
    wv::ZoomAtPoint(v, vx, vy);
    FromShared(v, s, h);
}

void CTikNavigation::BeginRotate(double x, double y) {
    ViewState v = ToShared(s, h);
    wv::BeginRotate(v, x, y);
    FromShared(v, s, h);
}

void CTikNavigation::EndRotate(double vx, double vy) {
    ViewState v = ToShared(s, h);
    const bool turned = wv::EndRotate(v, vx, vy);
    FromShared(v, s, h);
    if (turned) h.RedrawAll();
}

void CTikNavigation::BeginMeasure(double x, double y) {
    ViewState v = ToShared(s, h);
    wv::BeginMeasure(v, x, y);
    FromShared(v, s, h);
}

void CTikNavigation::ShowMeasuredDistance(double x, double y) {
    ViewState v = ToShared(s, h);
    // The dialog reads the measuring mode, so it is shown before the mode moves on.
    wv::ShowMeasuredDistance(v, x, y, [this](double d) {
        CValueInputDlg dlg(&s);
        dlg.m_dValue = d;
        h.RunDialog(dlg);
    });
    FromShared(v, s, h);
    h.RedrawAll();
}

void CTikNavigation::FitAll() {
    ViewState v = ToShared(s, h);
    wv::FitAll(v);
    v.redraw = true;
    FromShared(v, s, h);
}

}  // namespace wv

#include "project/tik_editor.h"

#include "core/block.h"
#include "core/line.h"
#include "core/sansyutu.h"
#include "core/sokuten.h"
#include "core/terrain_cond_dlg.h"
#include "core/tik_inf.h"
#include "draw/marks_draw.h"
#include "draw/mode_prompt.h"
#include "draw/terrain_draw.h"
#include "draw/view_geometry.h"
#include "draw/view_helpers.h"
#include "project/tik_dialogs.h"

#include <cmath>
#include <cstdio>

namespace wv {

namespace {

bool InAny(int mode, std::initializer_list<int> modes) {
    for (int m : modes)
        if (m == mode) return true;
    return false;
}

}  // namespace

CTikEditor::CTikEditor(TikEditHost& host)
    : m_host(host),
      m_input(m_state, host),
      m_topology(m_state, host),
      m_attributes(m_state, host),
      m_constructions(m_state, host),
      m_moves(m_state, host),
      m_selection(m_state, host),
      m_depthBlocks(m_state, host, *this),
      m_outputPoints(m_state, host),
      m_nav(m_state, host) {}

const std::vector<int>& CTikEditor::CommandIds() {
    static const std::vector<int> ids = {
        32777, 32778, 32779, 32780, 32781, 32868, 32782, 32783, 32784, 32792, 32793, 32794,
        32795, 32796, 32797, 32798, 32799, 32800, 32801, 32802, 32803, 32804, 32805, 32806,
        32807, 32808, 32809, 32810, 32904, 32811, 32905, 32902, 32903, 32813, 32906, 32907,
        32908, 32909, 32816, 32817, 32818, 32820, 32821, 32822, 32823, 32824, 32864};
    return ids;
}

void CTikEditor::PrepareLineFlags() { m_state.m_lineSel.Prepare(g_lines.GetSlotCount()); }
void CTikEditor::PreparePointFlags() { m_state.m_pointSel.Prepare(g_surveyPoints.GetSlotCount()); }

bool CTikEditor::OnCommand(int id) {
    TikEditState& s = m_state;
    auto picks = [&] { s.m_nPoint1 = s.m_nPoint2 = -1; };
    auto links = [](int filter) { UpdatePointLineLinks(filter); };
    switch (id) {
    case 32777:
    case 32778:
        if (s.m_nMode != 10 && s.m_nMode != 20) s.m_nSavedMode = s.m_nMode;
        s.m_nMode = id == 32777 ? 10 : 20;
        break;
    case 32779: FitToWindow(); break;
    case 32780: m_host.RedrawAll(); break;
    case 32781: s.m_nMode = 30; break;
    case 32868: s.m_nMode = 32; break;
    case 32782: TerrainConditions(); break;
    case 32783: s.m_nMode = 1; break;
    case 32784: s.m_nMode = 200; picks(); break;
    case 32792: PointCoordinates(); break;
    case 32793: s.m_nMode = 315; picks(); PrepareLineFlags(); break;
    case 32794: s.m_nMode = 380; picks(); break;
    case 32795: s.m_nMode = 381; break;
    case 32796: s.m_nMode = 383; picks(); break;
    case 32797: s.m_nMode = 2; break;
    case 32798: s.m_nMode = 300; picks(); links(kLinksAll); break;
    case 32799: s.m_nMode = 310; picks(); break;
    case 32800: s.m_nMode = 320; links(kLinksAll); break;
    case 32801: s.m_nMode = 44; PrepareLineFlags(); break;
    case 32802: s.m_nMode = 48; m_selection.DeletePolygon(); PrepareLineFlags(); break;
    case 32803: s.m_nMode = 101; break;
    case 32804: s.m_nMode = 102; break;
    case 32805: s.m_nMode = 350; picks(); PreparePointFlags(); break;
    case 32806: s.m_nMode = 5; PreparePointFlags(); links(kLinksAll); break;
    case 32807:
        s.m_nMode = 49;
        m_selection.DeletePolygon();
        PreparePointFlags();
        links(kLinksAll);
        break;
    case 32808: s.m_nMode = 40; PrepareLineFlags(); links(kLinksAll); break;
    case 32809: s.m_nMode = 41; links(kLinksAll); break;
    case 32810: s.m_nMode = 42; m_selection.DeletePolygon(); PrepareLineFlags(); break;
    case 32904: s.m_nMode = 50; picks(); links(kLinksAll); break;
    case 32811: s.m_nMode = 53; picks(); PrepareLineFlags(); links(kLinksUndefinedTerrain); break;
    case 32905: s.m_nMode = 54; picks(); PrepareLineFlags(); links(kLinksAll); break;
    case 32902: s.m_nMode = 51; break;
    case 32903: s.m_nMode = 56; picks(); PrepareLineFlags(); links(kLinksTerrain); break;
    case 32813: s.m_nMode = 52; m_selection.DeletePolygon(); PrepareLineFlags(); break;
    case 32906: s.m_nMode = 133; picks(); links(kLinksAll); break;
    case 32907: s.m_nMode = 129; picks(); PrepareLineFlags(); links(kLinksAll); break;
    case 32908: s.m_nMode = 131; break;
    case 32909: s.m_nMode = 134; picks(); PrepareLineFlags(); links(kLinksAuxiliary); break;
    case 32816: s.m_nMode = 132; m_selection.DeletePolygon(); PrepareLineFlags(); break;
    case 32817: s.m_nMode = 60; break;
    case 32818: s.m_nMode = 90; break;
    case 32820: s.m_nMode = 140; break;
    case 32821: s.m_nMode = 141; s.m_nCalcPointSel = -1; break;
    case 32822:
        m_outputPoints.RegisterByCoords([this] {
            m_host.SetModified();
            FitToWindow();
        });
        break;
    case 32823: s.m_nMode = 143; s.m_nCalcPointSel = -1; break;
    case 32824: s.m_nMode = 144; break;
    case 32864: m_outputPoints.RemoveAll(); break;
    default: return false;
    }
    return true;
}

void CTikEditor::TerrainConditions() {
    CTerrainCondDlg dlg;
    dlg.LoadFrom(g_tikInf, g_calcPoints);
    double angle = 0.0;
    m_state.m_coord.GetAngle(&angle);
    dlg.m_nRotation = static_cast<int>(-angle);
    if (m_host.RunDialog(dlg) != IDOK) return;
    dlg.StoreTo(g_tikInf, g_calcPoints);
    m_state.m_coord.SetAngle(g_tikInf.m_dRotation);
    m_host.SetModified();
    m_host.RedrawAll();
}

void CTikEditor::PointCoordinates() {
    m_state.m_nMode = 0;
    CPointCoordDlg dlg(&m_state);
    // A point registered here must reach the save question like any other edit.
    dlg.m_onRegistered = [this] {
        m_host.SetModified();
        FitToWindow();
    };
    m_host.RunDialog(dlg);
    m_host.RedrawAll();
}

void CTikEditor::OnInitialUpdate() {
    m_state.m_coord.SetAngle(g_tikInf.m_dRotation);
    FitToWindow();
}

void CTikEditor::OnSize(int clientW, int clientH) {
    m_state.m_nClientW = clientW;
    m_state.m_nClientH = clientH;
}

CPointD CTikEditor::WorldOfClient(int cx, int cy) const {
    double x, y;
    m_state.m_coord.ViewPointToWorld(cx + m_host.ScrollX(), cy + m_host.ScrollY(), &x, &y);
    return {x, y};
}

std::string CTikEditor::DescribeLine(int lineSlot) {
    const CLineZokusei l = g_lines.GetAt(lineSlot);
    char buf[96];
    switch (l.GetKind()) {
    case kLineUndefined: return "未定義";
    case kLineDepth:
        std::snprintf(buf, sizeof buf, "%.1fm", l.GetDepth());
        return buf;
    case kLineTerrain:
    case kLineAuxiliary: {
        if (l.GetHeightType() == kBoundaryValid) return "境界有効";
        if (l.GetHeightType() == kBoundaryInvalid) return "境界無効";
        const double a = g_surveyPoints.GetAt(l.GetStartIndex()).GetDepth();
        const double b = g_surveyPoints.GetAt(l.GetEndIndex()).GetDepth();
        if (std::fabs(a - b) >= 0.01)
            std::snprintf(buf, sizeof buf, "%.1fm～%.1fm", std::min(a, b), std::max(a, b));
        else
            std::snprintf(buf, sizeof buf, "%.1fm", a);
        return buf;
    }
    default: return "";
    }
}

void CTikEditor::OnLButtonDown(unsigned flags, int cx, int cy) {
    const CPointD w = WorldOfClient(cx, cy);
    if ((flags & kKeyControl) && !(flags & kKeyShift)) {
        // Nothing to describe without a line: no empty popup.
        const int line = g_lines.FindNearest(w.m_dX, w.m_dY);
        if (line >= 0) m_host.ShowLinePopup(DescribeLine(line), cx + 10, cy + 10);
        return;
    }
    LeftByMode(cx, cy, w.m_dX, w.m_dY);
}

void CTikEditor::LeftByMode(int cx, int cy, double x, double y) {
    TikEditState& s = m_state;
    const int mode = s.m_nMode;
    if (InAny(mode, {5, 44, 10, 20})) return m_nav.BeginDrag(cx, cy);
    switch (mode) {
    case 30: return m_nav.BeginRotate(x, y);
    case 31: {
        m_nav.EndRotate(cx + m_host.ScrollX(), cy + m_host.ScrollY());
        s.m_coord.GetAngle(&g_tikInf.m_dRotation);
        m_host.SetModified();
        return;
    }
    case 32: return m_nav.BeginMeasure(x, y);
    case 33: return m_nav.ShowMeasuredDistance(x, y);
    default: break;
    }
    if (CViewSelection::IsAreaMode(mode)) return m_selection.AddAreaVertex(x, y);
    if (CPointLineInput::Owns(mode)) return m_input.LeftClick(x, y);
    if (CLineTopology::Owns(mode)) return m_topology.LeftClick(x, y);
    if (CLineAttributes::Owns(mode)) return m_attributes.LeftClick(x, y);
    if (CPointConstructions::Owns(mode)) return m_constructions.LeftClick(x, y);
    if (CPointMoves::Owns(mode)) return m_moves.LeftClick(x, y);
    if (CDepthBlocks::Owns(mode)) return m_depthBlocks.LeftClick(x, y);
    if (COutputPoints::Owns(mode)) return m_outputPoints.LeftClick(x, y);
    // 0, the digitizer's 360 and 370 and the intermediate drag states: nothing.
}

void CTikEditor::RubberBand(int cx, int cy, bool measure) {
    TikEditState& s = m_state;
    if (!measure && s.m_nPoint1 < 0) return;
    CDC* dc = m_host.BeginMarks();
    if (!dc) return;
    const int sx = m_host.ScrollX(), sy = m_host.ScrollY();
    const CPointD mouse{static_cast<double>(cx + sx), static_cast<double>(cy + sy)};
    auto draw = [&](CPointD end) {
        if (measure)
            DrawMeasureLine(dc, s.m_coord, sx, sy, s.m_ptMeasureStart, end);
        else
            DrawRotateGuide(dc, s.m_coord, sx, sy, s.m_nPoint1, end);
    };
    if (s.HasRubberBand()) draw({s.m_dLastX, s.m_dLastY});
    draw(mouse);
    s.m_dLastX = mouse.m_dX;
    s.m_dLastY = mouse.m_dY;
    m_host.EndMarks();
}

void CTikEditor::OnMouseMove(unsigned, int cx, int cy) {
    TikEditState& s = m_state;
    s.m_dMouseX = cx + m_host.ScrollX();
    s.m_dMouseY = cy + m_host.ScrollY();
    const int mode = s.m_nMode;
    if (InAny(mode, {3, 201, 31})) return RubberBand(cx, cy, false);
    if (mode == 33) return RubberBand(cx, cy, true);
    if (CViewSelection::IsAreaMode(mode)) {
        const CPointD w = WorldOfClient(cx, cy);
        return m_selection.MoveAreaRubberBand(w.m_dX, w.m_dY);
    }
    if (!InAny(mode, {6, 7, 11, 12, 21, 22, 45, 46})) return;
    if (CDC* dc = m_host.BeginMarks()) {
        DrawDragFrame(dc, cx, cy, s.m_nMode, s.m_rcDrag, s.m_rcDragLast);
        m_host.EndMarks();
    }
}

void CTikEditor::OnLButtonUp(unsigned, int cx, int cy) {
    TikEditState& s = m_state;
    s.m_dMouseX = cx + m_host.ScrollX();
    s.m_dMouseY = cy + m_host.ScrollY();
    s.m_rcDrag.NormalizeRect();
    if (m_selection.ReleaseDrag(s.m_dMouseX, s.m_dMouseY)) return;
    if (s.m_nMode != 0) m_nav.ZoomAtPoint(s.m_dMouseX, s.m_dMouseY);
}

void CTikEditor::Reset() {
    TikEditState& s = m_state;
    s.m_nMode = 0;
    s.m_nSavedMode = 0;
    s.m_nPoint1 = s.m_nPoint2 = s.m_nSelPoint = s.m_nSelIndex = s.m_nCalcPointSel = -1;
    s.m_lineSel.ClearIfFits(g_lines.GetSlotCount());
    s.m_pointSel.ClearIfFits(g_surveyPoints.GetSlotCount());
    if (m_onReset) m_onReset();
    m_host.RedrawAll();
}

void CTikEditor::OnRButtonDown(unsigned, int, int) {
    TikEditState& s = m_state;
    const int mode = s.m_nMode;
    auto back = [&](int to) {
        s.m_nMode = to;
        m_host.RedrawAll();
    };
    switch (mode) {
    case 10:
    case 20:
        s.m_nMode = s.m_nSavedMode;
        s.m_nSavedMode = 0;
        m_host.RedrawAll();
        return;
    case 142:
        m_outputPoints.Mark(s.m_nCalcPointSel, 1);
        m_outputPoints.Mark(s.m_nCalcPointSel, 2);
        s.m_nCalcPointSel = -1;
        s.m_nMode = 141;
        return;
    case 201:
    case 3:
        s.m_nPoint1 = s.m_nPoint2 = -1;
        return back(mode == 201 ? 200 : 2);
    case 57:
    case 135:
        s.m_nSelPoint = s.m_nSelIndex = s.m_nPoint1 = s.m_nPoint2 = -1;
        return back(mode == 57 ? 56 : 134);
    case 58:
    case 55:
    case 130:
        s.m_nSelIndex = s.m_nPoint1 = -1;
        return back(mode == 58 ? 53 : mode == 55 ? 54 : 129);
    case 103:
        s.m_nSelPoint = -1;
        return back(102);
    case 5:
        if (s.m_pointSel.Any() && m_selection.ConfirmPointDeletion()) return;
        break;
    case 44:
        if (s.m_lineSel.Any() && m_selection.ConfirmLineDeletion()) return;
        break;
    case 351:
        if (s.m_pointSel.Any()) {
            m_moves.StretchMove();
            s.m_nPoint1 = s.m_nPoint2 = s.m_nSelIndex = -1;
            s.m_pointSel.ClearIfFits(s.m_pointSel.Count());
            return back(350);
        }
        break;
    case 40:
        if (s.m_lineSel.Any()) {
            m_depthBlocks.SetDepthLines();
            s.m_lineSel.ClearIfFits(s.m_lineSel.Count());
            m_host.RedrawAll();
            return;
        }
        break;
    default:
        if (CViewSelection::IsAreaMode(mode) && g_pAreaPolygon) return m_selection.AreaOperation();
        break;
    }
    Reset();
}

void CTikEditor::Draw(CDC* dc) {
    if (!dc) return;
    const TikEditState& s = m_state;
    const DrawContext ctx = m_input.Context();
    const int sx = ctx.scrollX, sy = ctx.scrollY;
    DrawBlocks(dc, s.m_coord, s.m_nClientW, s.m_nClientH, sx, sy);
    for (int i = 0; i < CSansyutu::kCapacity; ++i)
        DrawCalcPoints(dc, s.m_coord, s.m_nClientW, s.m_nClientH, sx, sy, i, i == s.m_nCalcPointSel ? 0 : 2);
    DrawSurveyPointMarks(ctx, dc, sx, sy);
    DrawTerrainLines(ctx, dc, sx, sy);
    if (s.m_nSelPoint != -1) {
        const CPointD p = g_surveyPoints.GetAt(s.m_nSelPoint).GetPos();
        double X, Y;
        if (WorldToViewD(s.m_coord, p.m_dX, p.m_dY, &X, &Y) &&
            ClientGuard(s.m_nClientW, s.m_nClientH).Contains(X - sx, Y - sy))
            dc->FillSolidRect(static_cast<int>(X - sx) - 1, static_cast<int>(Y - sy) - 1, 2, 2, kYellow);
    }
    if (s.m_nSelIndex >= 0) wv::DrawTerrainLine(ctx, dc, s.m_nSelIndex, 1, 0);
    if (ctx.InMode(380) || ctx.InMode(383) || ctx.InMode(351)) DrawPickSigns(ctx, dc);
    if ((ctx.InMode(3) || ctx.InMode(201) || ctx.InMode(31)) && s.HasRubberBand() && s.m_nPoint1 >= 0)
        DrawRotateGuide(dc, s.m_coord, sx, sy, s.m_nPoint1, {s.m_dLastX, s.m_dLastY});
    if (ctx.InMode(33) && s.HasRubberBand())
        DrawMeasureLine(dc, s.m_coord, sx, sy, s.m_ptMeasureStart, {s.m_dLastX, s.m_dLastY});
    const bool area = CViewSelection::IsAreaMode(s.m_nMode) || CViewSelection::IsAreaMode(s.m_nSavedMode);
    if (area && g_pAreaPolygon && !g_pAreaPolygon->IsEmpty())
        DrawAreaPolygon(dc, s.m_coord, s.m_nClientW, s.m_nClientH, sx, sy, g_pAreaPolygon.get(),
                        s.m_dAreaMouseX, s.m_dAreaMouseY, 0);
    if (ctx.InMode(50) || ctx.InMode(58) || ctx.InMode(55) || ctx.InMode(133) || ctx.InMode(130))
        DrawPickedPoints(ctx, dc, sx, sy);
}

std::string CTikEditor::PositionText() const {
    double x = m_state.m_dMouseX, y = m_state.m_dMouseY;
    m_state.m_coord.ViewToWorld(&x, &y);
    char buf[96];
    std::snprintf(buf, sizeof buf, "%12.3lf/%1.3lf", x, y);
    return buf;
}

const char* CTikEditor::PromptText() const { return ModePromptText(m_state.m_nMode); }

std::vector<int>* CTikEditor::LineMarks() {
    return m_state.m_lineSel.exists ? &m_state.m_lineSel.flags : nullptr;
}

void CTikEditor::DrawTerrainLine(int lineSlot, int mode) { m_input.MarkLine(lineSlot, mode); }

}  // namespace wv

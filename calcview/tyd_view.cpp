#include "calcview/tyd_view.h"

#include "calc/calc_state.h"
#include "calc/result_loader.h"
#include "core/geometry.h"
#include "core/line.h"
#include "draw/mode_prompt.h"

#include <cmath>
#include <cstdio>

namespace wv {

namespace {

DialogRunner& Runner() {
    static DialogRunner runner;
    return runner;
}

const CommandMap& Commands() {
    static const CommandMap map = [] {
        CommandMap m;
        AddDisplayCommands(m);
        AddPlacementCommands(m);
        AddConditionCommands(m);
        AddContourCommands(m);
        AddDigitalMapCommands(m);
        AddExportCommands(m);
        AddFileCommands(m);
        return m;
    }();
    return map;
}

std::string Format(const char* fmt, double a, double b) {
    char buf[128];
    std::snprintf(buf, sizeof buf, fmt, a, b);
    return buf;
}

// The text of the height popup for one line of the project.
std::string LineHeightText(const CLineZokusei& line, const CSokuten& points) {
    char buf[96];
    const int kind = line.GetKind();
    if (kind == 0) return "未定義";
    if (kind == 1 || kind == 3) {
        if (line.GetHeightType() == 1) return "境界有効";
        if (line.GetHeightType() == 2) return "境界無効";
        const double zs = points.GetAt(line.GetStartIndex()).GetDepth();
        const double ze = points.GetAt(line.GetEndIndex()).GetDepth();
        if (std::fabs(zs - ze) >= 0.01)
            std::snprintf(buf, sizeof buf, "%.1fm～%.1fm", std::min(zs, ze), std::max(zs, ze));
        else
            std::snprintf(buf, sizeof buf, "%.1fm", zs);
        return buf;
    }
    std::snprintf(buf, sizeof buf, "%.1fm", line.GetDepth());
    return buf;
}

}  // namespace

void CTydView::SetDialogRunner(DialogRunner runner) { Runner() = std::move(runner); }

int CTydView::RunDialog(CDialogModel& dlg) { return Runner() ? Runner()(dlg) : IDCANCEL; }

CTydView::CTydView(CTydDoc& doc) : CTydViewData(doc), m_slot(std::make_unique<CWaveCalcSlot>()) {
    m_handlers.push_back(MakeZoomHandler());
    m_handlers.push_back(MakeAreaHandler());
    m_handlers.push_back(MakeContourHandler());
    m_handlers.push_back(MakeMarkHandler());
    m_handlers.push_back(MakePlacementHandler());
}

CTydView::~CTydView() { OnDestroy(); }

void CTydView::OnInitialUpdate() {
    if (Doc().m_info.m_bFreeRotation != 0) m_view.coord.SetAngle(Doc().m_zmn.m_dRotation);
    OnViewWhole();
}

void CTydView::OnSize(int cx, int cy) {
    m_view.clientW = cx;
    m_view.clientH = cy;
}

void CTydView::OnScroll(int x, int y) {
    m_view.scrollX = x;
    m_view.scrollY = y;
}

void CTydView::OnActivateView(bool activate) {
    // The polygon belongs to the view it was drawn in; another view would draw and
    // close it in its own coordinates.
    if (activate) g_pAreaPolygon.reset();
}

void CTydView::OnDestroy() {
    // A run that goes on without this window keeps its holder alive until it ends (the
    // slot hands it to CCalThreads::KeepUntilFinished); an ended one goes now.
    m_slot.reset();
}

void CTydView::SetMouseMode(int mode) {
    const int cur = m_view.mode;
    if ((mode == 10 || mode == 20) && cur != 10 && cur != 20) m_view.savedMode = cur;
    m_view.selIndex = -1;
    m_view.mode = mode;
    SyncMode();
}

void CTydView::SyncMode() {
    CTydViewData::SetMouseMode(m_view.mode);
    if (m_host) m_host->ModeChanged(m_view.mode);
}

ModeHandler* CTydView::HandlerFor(int mode) const {
    for (const auto& h : m_handlers)
        if (h->Handles(mode)) return h.get();
    return nullptr;
}

DrawContext CTydView::Context() const {
    DrawContext c = m_view.Context();
    c.doc = &Doc();
    c.landFill = m_bLandFill;
    return c;
}

CPointD CTydView::ClientToWorld(CPoint c) const {
    double x = 0.0, y = 0.0;
    m_view.coord.ViewPointToWorld(c.x + m_view.scrollX, c.y + m_view.scrollY, &x, &y);
    return CPointD(x, y);
}

CPointD CTydView::WorldToMesh(CPointD w) const {
    const double a = Angle() * kPi / 180.0;
    const CPointD o = Doc().m_calcArea.GetOrigin();
    double u = 0.0, v = 0.0;
    WorldToScreen(w.m_dX, w.m_dY, o.m_dX, o.m_dY, std::cos(a), std::sin(a), 1.0, 0.0, 0.0, &u, &v);
    return CPointD(u, v);
}

void CTydView::WithMarks(const std::function<void(CDC&)>& draw) {
    if (!m_host) return;
    CDC* dc = m_host->BeginMarks();
    if (!dc) return;
    draw(*dc);
    m_host->EndMarks();
}

void CTydView::RedrawAll() {
    if (m_host) m_host->Redraw();
}

void CTydView::PostResultListRefresh() {
    if (m_host) m_host->PostResultListRefresh();
}

void CTydView::ApplyViewChange() {
    m_view.redraw = false;
    if (m_host) {
        m_host->ScrollTo(m_view.scrollX, m_view.scrollY);
        m_host->Redraw();
    }
}

// ---- mouse -------------------------------------------------------------------------

void CTydView::OnLButtonDown(unsigned flags, CPoint c) {
    m_ptMouse = CPointD(c.x + m_view.scrollX, c.y + m_view.scrollY);
    const CPointD w = ClientToWorld(c);
    if (flags == (kMouseLeft | kMouseCtrl)) {
        const int s = g_lines.FindNearest(w.m_dX, w.m_dY);
        if (s >= 0 && m_host) m_host->ShowPopup(LineHeightText(g_lines.GetAt(s), g_surveyPoints), c.x, c.y);
        return;
    }
    if (ModeHandler* h = HandlerFor(m_view.mode)) h->LButtonDown(*this, w, c);
    SyncMode();
    if (m_view.TakeRedraw()) ApplyViewChange();
}

void CTydView::OnMouseMove(unsigned, CPoint c) {
    m_ptMouse = CPointD(c.x + m_view.scrollX, c.y + m_view.scrollY);
    ModeHandler* h = HandlerFor(m_view.mode);
    if (!h || !h->MouseMove(*this, c)) {
        const int before = m_view.mode;
        CDC* dc = m_host ? m_host->BeginMarks() : nullptr;
        DrawDragFrame(dc, c.x, c.y, m_view.mode, m_view.rcDrag, m_view.rcDragLast);
        if (dc) m_host->EndMarks();
        if (m_view.mode != before) SyncMode();
    }
}

void CTydView::OnLButtonUp(unsigned, CPoint c) {
    m_ptMouse = CPointD(c.x + m_view.scrollX, c.y + m_view.scrollY);
    m_view.rcDrag.NormalizeRect();
    ModeHandler* h = HandlerFor(m_view.mode);
    if (!h || !h->LButtonUp(*this, c)) ZoomAtPoint(m_view, m_ptMouse.m_dX, m_ptMouse.m_dY);
    SyncMode();
    if (m_view.TakeRedraw()) ApplyViewChange();
}

void CTydView::OnRButtonDown(unsigned, CPoint c) {
    m_ptMouse = CPointD(c.x + m_view.scrollX, c.y + m_view.scrollY);
    ModeHandler* h = HandlerFor(m_view.mode);
    if (!h || !h->RButtonDown(*this)) {
        m_view.mode = 0;
        m_view.savedMode = 0;
        m_view.point1 = -1;
        RedrawAll();
    }
    SyncMode();
    if (m_view.TakeRedraw()) ApplyViewChange();
}

bool CTydView::OnKeyUp(int key) {
    return key == 27 && m_bResultListOpen == 1;
}

// ---- status texts ------------------------------------------------------------------

std::string CTydView::PositionText() const {
    double x = m_ptMouse.m_dX, y = m_ptMouse.m_dY;
    m_view.coord.ViewToWorld(&x, &y);
    const CTydDoc& doc = Doc();
    if (doc.m_info.m_nCalcState == 0) return Format("%12.3lf/%1.3lf", x, y);
    const CPointD m = WorldToMesh(CPointD(x, y));
    const double size = doc.m_mesh.GetMeshSize();
    if (size > 0.0) {
        const int row = static_cast<int>(std::floor(m.m_dY / size + 0.501));
        const int col = static_cast<int>(std::floor(m.m_dX / size + 0.501));
        const int node = doc.m_mesh.GetNodeIndex(row, col);
        if (node >= 0) {
            const double d = doc.m_mesh.GetAt(node).GetDepth();
            if (d >= -9990.0) {
                char buf[160];
                std::snprintf(buf, sizeof buf, "%1.3lf/%1.3lf/%1.1f", x, y, doc.m_mesh.GetBaseLevel() - d);
                return buf;
            }
        }
    }
    return Format("%12.3lf/%1.3lf", x, y);
}

std::string CTydView::PromptText() const {
    if (m_view.mode != 82) return ModePromptText(m_view.mode);
    CRect rc = m_view.rcDrag;
    rc.NormalizeRect();
    const double s = Doc().m_calcArea.GetMeshSize() * m_view.coord.GetScale();
    long long count = 0;
    // A mesh size or scale of 0 has no node count: the prompt says 0 rather than divide.
    if (s > 0.0 && std::isfinite(s)) {
        const long long nx = static_cast<long long>(static_cast<double>(rc.Width()) / s + 0.5) + 1;
        const long long ny = static_cast<long long>(static_cast<double>(rc.Height()) / s + 0.5) + 1;
        count = nx * ny;
    }
    char buf[64];
    std::snprintf(buf, sizeof buf, "メッシュ数：%lld", count);
    return buf;
}

// ---- commands ----------------------------------------------------------------------

const std::vector<int>& CTydView::CommandIds() {
    static const std::vector<int> ids = [] {
        std::vector<int> v;
        for (const auto& [id, row] : Commands()) v.push_back(id);
        return v;
    }();
    return ids;
}

bool CTydView::Execute(int id) {
    const auto it = Commands().find(id);
    if (it == Commands().end()) return false;
    it->second.run(*this);
    SyncMode();
    if (m_view.TakeRedraw()) ApplyViewChange();
    return true;
}

bool CTydView::Update(CCmdUI& ui) {
    if (ui.m_nID == kModePromptPaneId) {
        ui.SetText(PromptText());
        ui.Enable(true);
        return true;
    }
    if (ui.m_nID == 59143) {
        ui.SetText(PositionText());
        ui.Enable(true);
        return true;
    }
    const auto it = Commands().find(ui.m_nID);
    if (it == Commands().end()) return false;
    ui.Enable(true);
    if (it->second.update) it->second.update(*this, ui);
    return true;
}

bool CTydView::ResultsLoadable() { return LoadCalcResults(Doc(), *this, Frame()) != kResultsNotLoaded; }

void CTydView::ResultsReading(bool reading) {
    if (m_host) m_host->ResultsLoading(reading);
}

}  // namespace wv

#include "viewer/view_logic.h"

#include "viewer/messages.h"

namespace wv {

bool AreaIsDrawn(const GeoBox& area) { return area.LonSpan() > 0.00001 && area.LatSpan() > 0.00001; }

void CReliefscopeViewLogic::OnInitialUpdate(int clientW, int clientH)
{
    m_bBandShown = false;
    m_geo.SetDataBox(m_doc.DataBox());
    m_geo.SetClientSize(clientW, clientH);
    m_bReady = false;
    m_geo.Fit();
    m_bReady = true;
    m_surface.RedrawAll();
}

void CReliefscopeViewLogic::OnSize(int clientW, int clientH)
{
    if (m_bReady) {
        m_bReady = false;
        m_geo.Resize(clientW, clientH);
        m_bReady = true;
    } else {
        m_geo.SetClientSize(clientW, clientH);
    }
    m_bBandShown = false;
    m_surface.RedrawAll();
}

void CReliefscopeViewLogic::OnScroll(int x, int y)
{
    m_geo.ScrollTo(x, y);
    // The fresh picture holds no rubber band: a drag under way starts its band again.
    m_bBandShown = false;
    m_surface.RedrawAll();
}

void CReliefscopeViewLogic::OnZoomIn()
{
    if (m_nMode != kZoomIn && m_nMode != kZoomOut) {
        m_nSavedMode = m_nMode;
    }
    m_nMode = kZoomIn;
}

void CReliefscopeViewLogic::OnZoomOut()
{
    if (m_nMode != kZoomIn && m_nMode != kZoomOut) {
        m_nSavedMode = m_nMode;
    }
    m_nMode = kZoomOut;
}

void CReliefscopeViewLogic::OnZoomAll()
{
    m_geo.SetDataBox(m_doc.DataBox());
    m_bReady = false;
    m_geo.Fit();
    m_bReady = true;
    m_bBandShown = false;
    m_surface.RedrawAll();
}

void CReliefscopeViewLogic::OnLowTideLine()
{
    m_doc.SetLowTide(!m_doc.LowTide());
    m_bBandShown = false;
    m_surface.RedrawAll();
}

void CReliefscopeViewLogic::OnSetArea() { m_nMode = kArea; }

void CReliefscopeViewLogic::SetBand(const DragRect& r)
{
    const bool filled = RubberBandFilled();
    if (m_bBandShown) {
        m_surface.XorRubberBand(m_rcShown, filled);
    }
    m_rcShown = r.Normalized();
    m_surface.XorRubberBand(m_rcShown, filled);
    m_bBandShown = true;
}

void CReliefscopeViewLogic::EraseBand()
{
    if (m_bBandShown) {
        m_surface.XorRubberBand(m_rcShown, RubberBandFilled());
        m_bBandShown = false;
    }
}

void CReliefscopeViewLogic::OnLButtonDown(int x, int y)
{
    switch (m_nMode) {
    case kZoomIn:
    case kZoomOut:
        m_rcDrag = {x, y, x, y};
        m_nMode = m_nMode == kZoomIn ? kZoomInPressed : kZoomOutPressed;
        break;
    case kArea:
        if (AreaIsDrawn(m_doc.Area())) {
            m_surface.XorArea();
        }
        m_doc.ClearArea();
        m_rcDrag = {x, y, x, y};
        m_nMode = kAreaPressed;
        break;
    default:
        break;
    }
}

void CReliefscopeViewLogic::OnMouseMove(int x, int y)
{
    m_ptMouse = {x + m_geo.ScrollX(), y + m_geo.ScrollY()};
    switch (m_nMode) {
    case kZoomInPressed:
    case kZoomOutPressed:
    case kAreaPressed:
        m_nMode += 1;
        [[fallthrough]];
    case kZoomInDragging:
    case kZoomOutDragging:
    case kAreaDragging:
        m_rcDrag.right = x;
        m_rcDrag.bottom = y;
        SetBand(m_rcDrag);
        break;
    default:
        break;
    }
}

void CReliefscopeViewLogic::OnLButtonUp(int x, int y)
{
    if (m_nMode != kZoomInPressed && m_nMode != kZoomInDragging && m_nMode != kZoomOutPressed &&
        m_nMode != kZoomOutDragging && m_nMode != kAreaPressed && m_nMode != kAreaDragging) {
        return;
    }
    EraseBand();
    m_rcDrag.right = x;
    m_rcDrag.bottom = y;
    const DragRect r = m_rcDrag.Normalized();
    const bool small = r.Width() < kDragThreshold || r.Height() < kDragThreshold;

    if (m_nMode == kAreaPressed || m_nMode == kAreaDragging) {
        if (m_nMode == kAreaDragging && r.Width() > kDragThreshold && r.Height() > kDragThreshold) {
            const GeoPoint low = m_geo.ToGeoFromClient(r.left, r.bottom);
            const GeoPoint high = m_geo.ToGeoFromClient(r.right, r.top);
            m_doc.SetArea({low.lat, low.lon, high.lat, high.lon});
        }
        m_nMode = kArea;
        if (AreaIsDrawn(m_doc.Area())) {
            m_surface.XorArea();
        }
        return;
    }

    if (m_nMode == kZoomInPressed || m_nMode == kZoomOutPressed || small) {
        const bool in = m_nMode < kZoomOut;
        m_geo.ZoomAtClientPoint(x, y, in ? 1.2 : 0.8);
        m_nMode = in ? kZoomIn : kZoomOut;
    } else if (m_nMode == kZoomInDragging) {
        m_geo.ZoomInToRect(r);
        m_nMode = kZoomIn;
    } else {
        m_geo.ZoomOutFromRect(r);
        m_nMode = kZoomOut;
    }
    m_surface.RedrawAll();
}

void CReliefscopeViewLogic::OnRButtonDown()
{
    EraseBand();
    if (m_nMode == kZoomIn || m_nMode == kZoomOut) {
        m_nMode = m_nSavedMode;
    } else {
        m_nMode = kIdle;
    }
    m_nSavedMode = kIdle;
}

CursorKind CReliefscopeViewLogic::Cursor() const
{
    return m_nMode == kZoomIn || m_nMode == kZoomOut ? CursorKind::Zoom : CursorKind::Arrow;
}

std::string CReliefscopeViewLogic::StatusPosition() const
{
    const GeoPoint g = m_geo.ToGeo(m_ptMouse.x, m_ptMouse.y);
    return PositionStatusText(g.lat, g.lon);
}

std::string CReliefscopeViewLogic::StatusPrompt() const
{
    switch (m_nMode) {
    case kZoomIn:
    case kZoomInPressed:
        return viewer_text::kPromptZoomIn;
    case kZoomOut:
    case kZoomOutPressed:
        return viewer_text::kPromptZoomOut;
    case kZoomInDragging:
        return viewer_text::kPromptRectZoomIn;
    case kZoomOutDragging:
        return viewer_text::kPromptRectZoomOut;
    case kArea:
    case kAreaPressed:
    case kAreaDragging:
        return viewer_text::kPromptArea;
    default:
        return std::string();
    }
}

}  // namespace wv

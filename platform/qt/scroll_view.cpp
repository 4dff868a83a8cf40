#include "platform/qt/scroll_view.h"

#include <algorithm>

namespace wv {

CScrollView::CScrollView() = default;
CScrollView::~CScrollView() = default;

void CScrollView::SetScrollSizes(CSizeI total, CSizeI page, CSizeI line) {
    const CPointI before = m_scroll.GetScrollPosition();
    m_scroll.SetScrollSizes(total, page, line);
    if (m_host) m_host->ScrollSizesChanged();
    if (!(m_scroll.GetScrollPosition() == before)) RedrawAll();
}

void CScrollView::ScrollToPosition(CPointI logical) {
    const CPointI before = m_scroll.GetScrollPosition();
    m_scroll.ScrollToPosition(logical);
    if (m_scroll.GetScrollPosition() == before) return;
    if (m_host) m_host->ScrollSizesChanged();
    RedrawAll();
}

QPoint CScrollView::ViewportOrigin() const {
    const CPointI p = m_scroll.GetScrollPosition();
    return QPoint(-p.x, -p.y);
}

void CScrollView::RenderIfStale() {
    const CSizeI c = m_scroll.GetClientSize();
    if (!m_stale && m_image.width() == c.cx && m_image.height() == c.cy) return;
    QImage fresh(std::max(c.cx, 0), std::max(c.cy, 0), QImage::Format_RGB32);
    fresh.fill(Qt::black);
    ++m_renders;
    if (!fresh.isNull()) OnDraw(fresh);
    m_image = std::move(fresh);
    m_stale = false;
}

const QImage& CScrollView::WindowImage() {
    RenderIfStale();
    return m_image;
}

QImage& CScrollView::CurrentWindowImage() {
    RenderIfStale();
    return m_image;
}

void CScrollView::InvalidateClientRect(const QRect& clientRect) {
    if (m_host) m_host->UpdateRect(clientRect);
}

void CScrollView::RedrawAll() {
    m_stale = true;
    if (m_host) m_host->UpdateAll();
}

void CScrollView::OnSize(CSizeI client) {
    m_scroll.SetClientSize(client);
    if (m_host) m_host->ScrollSizesChanged();
    RedrawAll();
}

void CScrollView::OnScrollTo(CPointI logical) {
    const CPointI before = m_scroll.GetScrollPosition();
    m_scroll.ScrollToPosition(logical);
    if (!(m_scroll.GetScrollPosition() == before)) RedrawAll();
}

}  // namespace wv

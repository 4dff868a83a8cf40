#include "platform/qt/scroll_view_widget.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

namespace wv {

namespace {

unsigned FlagsOf(Qt::MouseButtons buttons, Qt::KeyboardModifiers mods) {
    unsigned f = 0;
    if (buttons & Qt::LeftButton) f |= MK_LBUTTON;
    if (buttons & Qt::RightButton) f |= MK_RBUTTON;
    if (buttons & Qt::MiddleButton) f |= MK_MBUTTON;
    if (mods & Qt::ShiftModifier) f |= MK_SHIFT;
    if (mods & Qt::ControlModifier) f |= MK_CONTROL;
    return f;
}

CPointI PointOf(const QMouseEvent* e) {
    const QPoint p = e->position().toPoint();
    return {p.x(), p.y()};
}

}  // namespace

ScrollViewWidget::ScrollViewWidget(CScrollView* view, QWidget* parent) : QAbstractScrollArea(parent), m_view(view) {
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setMouseTracking(true);
    // The view paints every pixel from its image: no background fill first.
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    if (m_view) m_view->SetHost(this);
}

ScrollViewWidget::~ScrollViewWidget() {
    if (m_view && m_view->GetHost() == this) m_view->SetHost(nullptr);
}

void ScrollViewWidget::UpdateRect(const QRect& clientRect) { viewport()->update(clientRect); }
void ScrollViewWidget::UpdateAll() { viewport()->update(); }

void ScrollViewWidget::ScrollSizesChanged() { SyncBars(); }

void ScrollViewWidget::SyncBars() {
    if (!m_view) return;
    m_syncing = true;
    const CScrollModel& m = m_view->ScrollModel();
    const CPointI max = m.GetMaxPosition();
    const CPointI pos = m.GetScrollPosition();
    horizontalScrollBar()->setRange(0, max.x);
    verticalScrollBar()->setRange(0, max.y);
    horizontalScrollBar()->setPageStep(std::max(1, m.GetClientSize().cx));
    verticalScrollBar()->setPageStep(std::max(1, m.GetClientSize().cy));
    horizontalScrollBar()->setSingleStep(m.GetLineSize().cx);
    verticalScrollBar()->setSingleStep(m.GetLineSize().cy);
    horizontalScrollBar()->setValue(pos.x);
    verticalScrollBar()->setValue(pos.y);
    m_syncing = false;
}

void ScrollViewWidget::paintEvent(QPaintEvent* event) {
    QPainter p(viewport());
    if (!m_view) {
        p.fillRect(rect(), Qt::black);
        return;
    }
    p.drawImage(QPoint(0, 0), m_view->WindowImage());
}

void ScrollViewWidget::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    if (m_view) m_view->OnSize({viewport()->width(), viewport()->height()});
    SyncBars();
}

void ScrollViewWidget::scrollContentsBy(int, int) {
    if (m_syncing || !m_view) return;
    m_view->OnScrollTo({horizontalScrollBar()->value(), verticalScrollBar()->value()});
}

void ScrollViewWidget::mousePressEvent(QMouseEvent* e) {
    if (!m_view) return;
    const unsigned f = FlagsOf(e->buttons(), e->modifiers());
    if (e->button() == Qt::LeftButton) m_view->OnLButtonDown(f, PointOf(e));
    if (e->button() == Qt::RightButton) m_view->OnRButtonDown(f, PointOf(e));
}

void ScrollViewWidget::mouseReleaseEvent(QMouseEvent* e) {
    if (!m_view) return;
    const unsigned f = FlagsOf(e->buttons(), e->modifiers());
    if (e->button() == Qt::LeftButton) m_view->OnLButtonUp(f, PointOf(e));
    if (e->button() == Qt::RightButton) m_view->OnRButtonUp(f, PointOf(e));
}

void ScrollViewWidget::mouseDoubleClickEvent(QMouseEvent* e) {
    if (m_view && e->button() == Qt::LeftButton) m_view->OnLButtonDblClk(FlagsOf(e->buttons(), e->modifiers()), PointOf(e));
}

void ScrollViewWidget::mouseMoveEvent(QMouseEvent* e) {
    if (m_view) m_view->OnMouseMove(FlagsOf(e->buttons(), e->modifiers()), PointOf(e));
}

void ScrollViewWidget::keyPressEvent(QKeyEvent* e) {
    if (!m_view) return;
    unsigned f = 0;
    if (e->modifiers() & Qt::ShiftModifier) f |= MK_SHIFT;
    if (e->modifiers() & Qt::ControlModifier) f |= MK_CONTROL;
    m_view->OnKeyDown(e->key(), f);
}

}  // namespace wv

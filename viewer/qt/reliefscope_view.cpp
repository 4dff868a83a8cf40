#include "viewer/qt/reliefscope_view.h"

#include "platform/qt/qt_dc.h"
#include "viewer/record_painter.h"

#include <QBitmap>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QScrollBar>

namespace wv {

namespace {

// Cursor 133 of the zoom modes: a magnifying glass.
QCursor ZoomCursor()
{
    QPixmap pm(32, 32);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(QPen(Qt::white, 3));
    p.drawEllipse(2, 2, 16, 16);
    p.drawLine(16, 16, 26, 26);
    p.setPen(QPen(Qt::black, 1));
    p.drawEllipse(2, 2, 16, 16);
    p.drawLine(16, 16, 26, 26);
    p.end();
    return QCursor(pm, 10, 10);
}

}  // namespace

CReliefscopeView::CReliefscopeView(CReliefscopeDoc& doc, QWidget* parent)
    : QAbstractScrollArea(parent), m_doc(doc), m_logic(doc, *this)
{
    viewport()->setMouseTracking(true);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_logic.Geometry().SetClientSize(viewport()->width(), viewport()->height());
    SyncCursor();
}

void CReliefscopeView::OnInitialUpdate()
{
    if (!isVisible()) {
        m_fitPending = true;
        return;
    }
    m_fitPending = false;
    m_logic.OnInitialUpdate(viewport()->width(), viewport()->height());
    emit StatusChanged();
}

void CReliefscopeView::ModeChanged()
{
    SyncCursor();
    emit StatusChanged();
}

void CReliefscopeView::RedrawAll()
{
    const ReliefscopeGeometry& geo = m_logic.Geometry();
    const int w = std::max(1, geo.ClientW());
    const int h = std::max(1, geo.ClientH());
    if (m_window.width() != w || m_window.height() != h) {
        m_window = QImage(w, h, QImage::Format_RGB32);
    }
    {
        CQtDC dc(&m_window);
        RenderView(dc, m_doc, geo);
    }
    ++m_renders;
    SyncScrollBars();
    viewport()->update();
}

void CReliefscopeView::XorArea()
{
    CQtDC dc(&m_window);
    XorAreaRect(dc, m_doc, m_logic.Geometry());
    viewport()->update();
}

void CReliefscopeView::XorRubberBand(const DragRect& r, bool filled)
{
    {
        CQtDC dc(&m_window);
        XorRubberBandRect(dc, r, filled);
    }
    viewport()->update(QRect(QPoint(r.left, r.top), QPoint(r.right, r.bottom)).adjusted(-1, -1, 2, 2));
}

void CReliefscopeView::paintEvent(QPaintEvent* event)
{
    QPainter p(viewport());
    if (m_window.isNull()) {
        p.fillRect(event->rect(), Qt::black);
        return;
    }
    p.fillRect(event->rect(), Qt::black);
    p.drawImage(event->rect().topLeft(), m_window, event->rect());
}

void CReliefscopeView::showEvent(QShowEvent* event)
{
    QAbstractScrollArea::showEvent(event);
    if (m_fitPending) {
        OnInitialUpdate();
    }
}

void CReliefscopeView::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    m_logic.OnSize(viewport()->width(), viewport()->height());
}

void CReliefscopeView::scrollContentsBy(int, int)
{
    if (m_syncing) {
        return;
    }
    m_logic.OnScroll(horizontalScrollBar()->value(), verticalScrollBar()->value());
}

void CReliefscopeView::SyncScrollBars()
{
    const ReliefscopeGeometry& geo = m_logic.Geometry();
    m_syncing = true;
    horizontalScrollBar()->setRange(0, geo.MaxScrollX());
    horizontalScrollBar()->setPageStep(std::max(1, geo.ClientW()));
    horizontalScrollBar()->setSingleStep(std::max(1, geo.ClientW() / 10));
    horizontalScrollBar()->setValue(geo.ScrollX());
    verticalScrollBar()->setRange(0, geo.MaxScrollY());
    verticalScrollBar()->setPageStep(std::max(1, geo.ClientH()));
    verticalScrollBar()->setSingleStep(std::max(1, geo.ClientH() / 10));
    verticalScrollBar()->setValue(geo.ScrollY());
    m_syncing = false;
}

void CReliefscopeView::SyncCursor()
{
    static const QCursor zoom = ZoomCursor();
    viewport()->setCursor(m_logic.Cursor() == CursorKind::Zoom ? zoom : QCursor(Qt::CrossCursor));
}

void CReliefscopeView::mousePressEvent(QMouseEvent* event)
{
    const QPoint p = event->position().toPoint();
    if (event->button() == Qt::LeftButton) {
        m_logic.OnLButtonDown(p.x(), p.y());
    } else if (event->button() == Qt::RightButton) {
        m_logic.OnRButtonDown();
    }
    SyncCursor();
    emit StatusChanged();
}

void CReliefscopeView::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint p = event->position().toPoint();
    m_logic.OnMouseMove(p.x(), p.y());
    emit StatusChanged();
}

void CReliefscopeView::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        const QPoint p = event->position().toPoint();
        m_logic.OnLButtonUp(p.x(), p.y());
        SyncCursor();
        emit StatusChanged();
    }
}

}  // namespace wv

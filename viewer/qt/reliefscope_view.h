// The viewer's scroll view on Qt: passes mouse, size and scroll events to the Qt-free
// logic and shows its window image. OnDraw renders a fresh image through the drawing
// context; the XOR marks of the mouse modes go into that image, so a rubber band or a
// new area never redraws the records.
#pragma once

#include "viewer/view_logic.h"

#include <QAbstractScrollArea>
#include <QImage>

namespace wv {

class CReliefscopeView : public QAbstractScrollArea, public ViewSurface {
    Q_OBJECT
public:
    CReliefscopeView(CReliefscopeDoc& doc, QWidget* parent = nullptr);

    CReliefscopeViewLogic& Logic() { return m_logic; }
    const QImage& WindowImage() const { return m_window; }
    // How often the records were drawn (tests: a mouse move must not draw them).
    int RenderCount() const { return m_renders; }

    // ViewSurface.
    void RedrawAll() override;
    void XorArea() override;
    void XorRubberBand(const DragRect& r, bool filled) override;

    // A file was opened: fit it.
    void OnInitialUpdate();
    // A command changed the mode: cursor and status follow.
    void ModeChanged();

signals:
    // The mouse moved or the mode changed: the status panes need their texts again.
    void StatusChanged();

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void SyncScrollBars();
    void SyncCursor();

    CReliefscopeDoc& m_doc;
    CReliefscopeViewLogic m_logic;
    QImage m_window;
    int m_renders = 0;
    bool m_syncing = false;
    // A file opened before the window had its size is fitted when it is first shown.
    bool m_fitPending = false;
};

}  // namespace wv

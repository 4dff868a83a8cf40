// The widget of a CScrollView: scroll bars, paint (a copy of the window image) and the
// mouse, passed on to the view.
#pragma once

#include "platform/qt/scroll_view.h"

#include <QAbstractScrollArea>

namespace wv {

class ScrollViewWidget : public QAbstractScrollArea, public ScrollViewHost {
public:
    // The view must outlive the widget or detach it (SetHost(nullptr)).
    explicit ScrollViewWidget(CScrollView* view, QWidget* parent = nullptr);
    ~ScrollViewWidget() override;

    CScrollView* View() const { return m_view; }

    void UpdateRect(const QRect& clientRect) override;
    void UpdateAll() override;
    void ScrollSizesChanged() override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void SyncBars();

    CScrollView* m_view;
    bool m_syncing = false;
};

}  // namespace wv

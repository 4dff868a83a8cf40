// A scrolling view and its screen model.
//
// The view owns one window image (QImage, RGB32, the size of its client area). Drawing
// renders into a fresh image cleared to black, which then becomes the window image; the
// widget's paint only copies it. Marks that mouse handlers draw (XOR rubber bands) go
// straight into the current window image, with the scroll position as origin, and
// update only their rectangle. Resizing, scrolling and RedrawAll mark the image stale;
// a stale image is rendered anew before a mark goes in, so a mark drawn twice always
// erases exactly.
//
// Logical coordinates are those of the whole scrollable area; the window shows the
// part from GetScrollPosition() on. A point of the window image is the logical point
// minus the scroll position.
#pragma once

#include "platform/scroll_model.h"
#include "platform/view.h"

#include <QImage>
#include <QPoint>
#include <QRect>

namespace wv {

// The widget behind a scroll view.
class ScrollViewHost {
public:
    virtual ~ScrollViewHost() = default;
    virtual void UpdateRect(const QRect& clientRect) = 0;  // repaint part of the window
    virtual void UpdateAll() = 0;
    virtual void ScrollSizesChanged() = 0;  // the scroll bars follow the model
};

// Mouse button and key state with a mouse message (the Windows MK_ values).
enum MouseFlags : unsigned { MK_LBUTTON = 0x1, MK_RBUTTON = 0x2, MK_SHIFT = 0x4, MK_CONTROL = 0x8, MK_MBUTTON = 0x10 };

class CScrollView : public CView {
public:
    CScrollView();
    ~CScrollView() override;

    void SetHost(ScrollViewHost* host) { m_host = host; }
    ScrollViewHost* GetHost() const { return m_host; }

    // Scrolling.
    void SetScrollSizes(CSizeI total, CSizeI page = {}, CSizeI line = {});
    CSizeI GetTotalSize() const { return m_scroll.GetTotalSize(); }
    CPointI GetScrollPosition() const { return m_scroll.GetScrollPosition(); }
    void ScrollToPosition(CPointI logical);
    CSizeI GetClientSize() const { return m_scroll.GetClientSize(); }
    const CScrollModel& ScrollModel() const { return m_scroll; }
    // A point of the client area (a mouse position) in logical coordinates.
    CPointI ClientToLogical(CPointI client) const { return m_scroll.ClientToLogical(client); }
    CPointI LogicalToClient(CPointI logical) const { return m_scroll.LogicalToClient(logical); }
    // Where logical (0, 0) lies in the window image: minus the scroll position.
    QPoint ViewportOrigin() const;

    // The screen model.
    // The window image, rendered first when stale. Paint copies it.
    const QImage& WindowImage();
    // The window image for marks drawn from mouse handlers (rendered first when stale).
    // After drawing, call InvalidateClientRect with what was touched.
    QImage& CurrentWindowImage();
    void InvalidateClientRect(const QRect& clientRect);
    bool IsImageStale() const { return m_stale; }
    // Draws everything anew at the next paint.
    void RedrawAll() override;

    // Events from the widget.
    void OnSize(CSizeI client);
    void OnScrollTo(CPointI logical);

    // Drawing: `image` is a fresh image of the client size, cleared to black; logical
    // (0, 0) is at ViewportOrigin(). Nothing drawn leaves the view black.
    virtual void OnDraw(QImage& image) {}

    // Mouse messages with the client-area point (ClientToLogical gives the scrolled one).
    virtual void OnLButtonDown(unsigned flags, CPointI client) {}
    virtual void OnLButtonUp(unsigned flags, CPointI client) {}
    virtual void OnLButtonDblClk(unsigned flags, CPointI client) {}
    virtual void OnRButtonDown(unsigned flags, CPointI client) {}
    virtual void OnRButtonUp(unsigned flags, CPointI client) {}
    virtual void OnMouseMove(unsigned flags, CPointI client) {}
    // A key pressed in the view (Windows virtual-key code where one exists, else the Qt key).
    virtual void OnKeyDown(int key, unsigned flags) {}

    // How many times the image was rendered (for tests of the screen model).
    int RenderCount() const { return m_renders; }

private:
    void RenderIfStale();

    ScrollViewHost* m_host = nullptr;
    CScrollModel m_scroll;
    QImage m_image;
    bool m_stale = true;
    int m_renders = 0;
};

// Hooks with a default body that each of the program's views (the calculation view and the
// project view) overrides. A new hook of this kind goes on this list:
// tests/app/view_hooks_test.cpp fails for a listed hook that a real view does not
// override, and for a hook on no list.
#define WV_SCROLL_VIEW_HOOKS(HOOK) \
    HOOK(OnDraw) HOOK(OnLButtonDown) HOOK(OnLButtonUp) HOOK(OnRButtonDown) HOOK(OnMouseMove)
// The messages a view takes only when it needs them (the calculation view takes keys).
#define WV_SCROLL_VIEW_OPTIONAL_HOOKS(HOOK) HOOK(OnLButtonDblClk) HOOK(OnRButtonUp) HOOK(OnKeyDown)

}  // namespace wv

// A view: one window's presentation of a document. It hears of the document's changes
// through OnUpdate and takes part in command routing before its document.
#pragma once

#include "platform/cmd_target.h"

namespace wv {

class CDocument;
class CFrameWnd;

class CView : public CCmdTarget {
public:
    CView() = default;
    ~CView() override;

    CDocument* GetDocument() const { return m_pDocument; }
    CFrameWnd* GetParentFrame() const { return m_pFrame; }

    // Once, when the view first shows its document: by default an update from nobody.
    virtual void OnInitialUpdate() { OnUpdate(nullptr, 0); }
    // The document changed (through another view when sender is set). By default the
    // whole view is drawn anew.
    virtual void OnUpdate(CView* sender, long hint) { RedrawAll(); }
    // Marks the whole view for drawing anew.
    virtual void RedrawAll() {}
    // The view became (or stopped being) the active view of the active frame.
    virtual void OnActivateView(bool activate) {}

private:
    friend class CDocument;
    friend class CFrameWnd;
    CDocument* m_pDocument = nullptr;
    CFrameWnd* m_pFrame = nullptr;
};

// Hooks with a default body that each of the program's views (the calculation view and the
// project view) overrides. A new hook of this kind goes on this list:
// tests/app/view_hooks_test.cpp fails for a listed hook that a real view does not
// override, and for a hook on no list.
#define WV_VIEW_HOOKS(HOOK) HOOK(OnInitialUpdate) HOOK(OnActivateView)
// The defaults a view may keep: the scroll view draws anew by itself.
#define WV_VIEW_OPTIONAL_HOOKS(HOOK) HOOK(OnUpdate) HOOK(RedrawAll)

}  // namespace wv

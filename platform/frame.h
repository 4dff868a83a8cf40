// Frames: the main window and its document windows (MDI children), as models that know
// which document and views each window holds and which one is active. The windows
// themselves are the widget layer's (FrameHost); without one, the models run headless.
#pragma once

#include "platform/cmd_target.h"
#include "platform/window_messages.h"

#include <memory>
#include <string>
#include <vector>

namespace wv {

class CDocument;
class CMDIChildWnd;
class CMDIFrameWnd;
class CView;

class CFrameWnd : public CCmdTarget, public CMsgTarget {
public:
    CFrameWnd() = default;
    ~CFrameWnd() override = default;

    virtual CDocument* GetActiveDocument();
    CView* GetActiveView() const { return m_pActiveView; }
    void SetActiveView(CView* view);
    // The frame whose view is active: the active child of an MDI frame, else this.
    virtual CFrameWnd* GetActiveFrame() { return this; }

    long WindowProc(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) override { return 0; }

protected:
    void AttachView(CView* view);
    CView* m_pActiveView = nullptr;
};

// The widget layer behind the frame models.
class FrameHost {
public:
    virtual ~FrameHost() = default;
    virtual void ChildCreated(CMDIChildWnd& child) = 0;
    virtual void ChildDestroying(CMDIChildWnd& child) = 0;
    // Bring the child's window to the front (null: none is active).
    virtual void ActivateChild(CMDIChildWnd* child) = 0;
    virtual void ChildTitleChanged(CMDIChildWnd& child) = 0;
};

class CMDIChildWnd : public CFrameWnd {
public:
    CMDIChildWnd(CMDIFrameWnd& mdiFrame, CDocument& doc);
    ~CMDIChildWnd() override;

    CDocument* GetActiveDocument() override { return m_pDocument; }
    CDocument* GetDocument() const { return m_pDocument; }
    CMDIFrameWnd& GetMDIFrame() const { return m_mdiFrame; }

    // The frame owns its views; the first one added becomes the active view.
    CView* AddView(std::unique_ptr<CView> view);
    const std::vector<std::unique_ptr<CView>>& Views() const { return m_views; }

    // The caption: the document's file name.
    std::string GetTitle() const;

    // The widget the host made for this frame (opaque here).
    void* m_pWidget = nullptr;

private:
    CMDIFrameWnd& m_mdiFrame;
    CDocument* m_pDocument;
    std::vector<std::unique_ptr<CView>> m_views;
    int m_modifiedHook = 0;
};

class CMDIFrameWnd : public CFrameWnd {
public:
    CMDIFrameWnd() = default;
    ~CMDIFrameWnd() override;

    void SetHost(FrameHost* host) { m_host = host; }
    FrameHost* GetHost() const { return m_host; }

    CDocument* GetActiveDocument() override;
    CFrameWnd* GetActiveFrame() override;
    CMDIChildWnd* MDIGetActive() const { return m_pActiveChild; }
    const std::vector<std::unique_ptr<CMDIChildWnd>>& Children() const { return m_children; }
    std::vector<CMDIChildWnd*> ChildrenOf(const CDocument* doc) const;

    // A new document window with its first view, made active.
    CMDIChildWnd* CreateChild(CDocument& doc, std::unique_ptr<CView> view);
    // Closes a document window (its views go with it). The document stays.
    void DestroyChild(CMDIChildWnd* child);
    // Makes a child active and brings it to the front.
    void MDIActivate(CMDIChildWnd* child);
    // The host reports that the user activated a child's window.
    void OnChildActivatedByHost(CMDIChildWnd* child);

protected:
    // The active child changed (menus, the tree's selection and the commands' state
    // follow it).
    virtual void OnActiveChildChanged() {}

private:
    void SetActiveChild(CMDIChildWnd* child);

    FrameHost* m_host = nullptr;
    std::vector<std::unique_ptr<CMDIChildWnd>> m_children;
    CMDIChildWnd* m_pActiveChild = nullptr;
    CMDIChildWnd* m_pCreating = nullptr;  // a window being made, before its first update
};

// Hooks with a default body that the program's main frame (CMainFrame) overrides. A new
// hook of this kind goes on this list: tests/app/view_hooks_test.cpp fails for a listed
// hook that the real class does not override, and for a hook on no list.
#define WV_MDI_FRAME_HOOKS(HOOK) HOOK(OnActiveChildChanged)

}  // namespace wv

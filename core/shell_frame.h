// What the views reach of the program's main frame: the status panes they write, the
// calculation view that the output-point result list belongs to, and the list itself. It
// sits below both views and the application shell, so the views meet the frame here and
// never in app/; the application's CMainFrame is one.
#pragma once

#include "platform/frame.h"
#include "platform/status_bar.h"

namespace wv {

class CView;

// The output-point result list as the frame and the views see it. The calculation view's
// part of the program provides it; without one, command 32858 stays disabled.
class ResultListProvider {
public:
    virtual ~ResultListProvider() = default;
    // Whether the view is a calculation view (only those own the list).
    virtual bool IsCalcView(CView* view) const = 0;
    virtual bool HasWindow() const = 0;
    virtual void Activate() = 0;
    // Marks the view as the list's owner, fills its values and creates the window.
    virtual void ShowFor(CView* view) = 0;
    // Creates the window again for the frame's result view (a calculation view whose list
    // was open when another window took it away).
    virtual void Reopen() = 0;
    // Posts a WM_RESULTLIST_... message to the list's window; false when it has none.
    virtual bool Post(unsigned message) = 0;
    // The list closed while a project view was active: every calculation view forgets it.
    virtual void ClearAllOwners() = 0;
};

class CShellFrame : public CMDIFrameWnd {
public:
    CStatusBar& StatusBar() { return m_wndStatusBar; }
    void SetResultListProvider(ResultListProvider* provider) { m_resultList = provider; }
    ResultListProvider* GetResultListProvider() const { return m_resultList; }

    // The main frame of the document window that holds the view; null outside one.
    static CShellFrame* Of(const CView* view);

    // The calculation view the result list belongs to; the calculation views set and
    // clear it.
    CView* m_pResultView = nullptr;

protected:
    CStatusBar m_wndStatusBar;

private:
    ResultListProvider* m_resultList = nullptr;
};

}  // namespace wv

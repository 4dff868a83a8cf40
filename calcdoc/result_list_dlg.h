// The output-point result list (template 136, "各算出位置の計算結果"): a modeless tool
// window listing, for every output point in use, the current figure's value and the wave
// direction after refraction, read from the calculation view whose values it shows.
//
// The main frame owns one list and reuses it for every showing. The view it shows is the
// frame's result view (CMainFrame::m_pResultView), reached through SetViewSource, never
// the active view: the list's own Cancel clears the flag of the view it belongs to.
//
//   frame: dlg.SetViewSource([frame] { return <the frame's m_pResultView as a ResultListView>; });
//   show:  view.m_bResultListOpen = 1; UpdateCalcPointResults(...); dlg.Create();
//   posts: WM_RESULTLIST_REFRESH (refill), WM_RESULTLIST_CLOSE (close for the frame),
//          WM_RESULTLIST_ESCAPE (Escape in the view: as Cancel)
//   Cancel / "閉じる": position saved, WM_RESULTLIST_CLOSED posted to the owner, the
//          view's flag cleared, the window destroyed.
#pragma once

#include "platform/dialog_model.h"
#include "platform/profile.h"
#include "platform/window_messages.h"

#include <functional>
#include <string>

namespace wv {

class CTydViewData;

// What the list needs of the calculation view that owns it; the view implements it.
class ResultListView {
public:
    virtual ~ResultListView() = default;
    // The view's output-point values and its document.
    virtual const CTydViewData& ResultListData() const = 0;
    // The list closed by its own Cancel (or Escape in the view): m_bResultListOpen = 0.
    virtual void OnResultListClosed() = 0;
};

// The window side of the list.
class ResultListHost {
public:
    virtual ~ResultListHost() = default;
    // Creates and shows the window; it runs the model's InitDialog.
    virtual void CreateWindow() = 0;
    virtual void DestroyWindow() = 0;
    virtual void ActivateWindow() = 0;
    virtual void MoveTo(int left, int top) = 0;
    virtual void GetPosition(int& left, int& top) const = 0;
    // Top-left corner of the owner's window.
    virtual void OwnerTopLeft(int& left, int& top) const = 0;
    // The model changed outside the window's own events (a posted refresh).
    virtual void Refresh() {}
};

// Hooks with a default body that the program's result list window (QtResultListHost)
// overrides. A new hook of this kind goes on this list: tests/app/view_hooks_test.cpp
// fails for a listed hook that the real class does not override, and for a hook on no
// list.
#define WV_RESULT_LIST_HOST_HOOKS(HOOK) HOOK(Refresh)

class CCalcPointResultDlg : public CDialogModel, public CMsgTarget {
public:
    enum : int { kList = 1004, kNote = 1005 };

    // `owner` receives WM_RESULTLIST_CLOSED; the position lives in `profile`.
    CCalcPointResultDlg(CMsgTarget* owner, CProfile& profile);

    void SetHost(ResultListHost* host) { m_host = host; }
    ResultListHost* GetHost() const { return m_host; }
    void SetViewSource(std::function<ResultListView*()> source) { m_viewSource = std::move(source); }

    // Creates the window (the model is ready for a new showing).
    void Create();
    bool HasWindow() const { return m_bWindow; }
    // Refills the list from the result view (none: an empty list).
    void Fill();
    // The window went away some other way (the program closes).
    void OnWindowDestroyed() { m_bWindow = false; }

    long WindowProc(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) override;

    // The cells of one row.
    static std::string ValueColumnTitle(int kind);
    static std::string FormatValue(double value, int decimals);
    static std::string FormatDirection(double direction);

protected:
    void DoDataExchange(CDataExchange&) override {}
    void OnInitDialog() override;
    void OnOK() override {}
    void OnCancel() override;

private:
    // Saves the position, tells the owner and destroys the window.
    void Close();

    CMsgTarget* m_pOwner;
    CProfile& m_profile;
    ResultListHost* m_host = nullptr;
    std::function<ResultListView*()> m_viewSource;
    bool m_bWindow = false;
};

}  // namespace wv

// The calculation view's window: a scroll view that hands every event to its CTydView and
// shows what that draws. Paint is a copy of the window image; the XOR marks of the mouse
// modes go straight into that image. Print, direct print and the print preview run the
// view's figure through the printer.
#pragma once

#include "calcview/tyd_view.h"
#include "calcdoc/result_list_dlg.h"
#include "platform/qt/scroll_view.h"

#include <memory>

class QWidget;

namespace wv {

class CShellFrame;
class CResultReadingDlg;
class DialogHost;
class CQtDC;

class TydScrollView : public CScrollView, public TydViewHost, public ResultListView {
public:
    TydScrollView();
    ~TydScrollView() override;

    // The controller; made when the view first shows its document.
    CTydView* Controller() const { return m_view.get(); }

    void OnInitialUpdate() override;
    void OnActivateView(bool activate) override;
    void OnDraw(QImage& image) override;
    void OnLButtonDown(unsigned flags, CPointI client) override;
    void OnLButtonUp(unsigned flags, CPointI client) override;
    void OnRButtonDown(unsigned flags, CPointI client) override;
    void OnMouseMove(unsigned flags, CPointI client) override;
    void OnKeyDown(int key, unsigned flags) override;
    bool OnCmdMsg(int id, CCmdUI* pCmdUI) override;

    // TydViewHost.
    void Redraw() override;
    void ScrollTo(int x, int y) override;
    CDC* BeginMarks() override;
    void EndMarks() override;
    void ShowPopup(const std::string& text, int clientX, int clientY) override;
    void ModeChanged(int mode) override;
    void WaitCursor(bool on) override;
    void ResultsLoading(bool on) override;
    void PostResultListRefresh() override;

    // ResultListView.
    const CTydViewData& ResultListData() const override { return *m_view; }
    void OnResultListClosed() override {
        if (m_view) m_view->m_bResultListOpen = 0;
    }

    // Printing (57607 with the print dialog, 57608 straight to the default printer or, with
    // none, to a PDF file, 57609 the preview). False when nothing was printed.
    bool Print(bool direct);
    bool Preview();
    // The direct print's PDF when no printer is set up: the file chosen in a save dialog.
    bool PrintToPdf(const std::string& path);

private:
    void Sync();
    // The prompt and position panes of the main window follow the active view.
    void UpdatePanes(bool position = true);
    // The main frame and its result list, when the view sits in the program's frame.
    CShellFrame* MainFrame() const;
    void PostToResultList(unsigned message);
    QWidget* Widget() const;

    std::unique_ptr<CTydView> m_view;
    std::unique_ptr<CQtDC> m_marks;
    std::unique_ptr<CResultReadingDlg> m_waitDlg;
    std::unique_ptr<DialogHost> m_waitBox;
};

}  // namespace wv

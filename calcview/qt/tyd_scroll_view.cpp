#include "calcview/qt/tyd_scroll_view.h"

#include "core/command_ids.h"
#include "core/shell_frame.h"
#include "calcdoc/calc_small_dlgs.h"
#include "calcdoc/qt/calc_dialogs_qt.h"
#include "platform/document.h"
#include "platform/frame.h"
#include "draw/mode_prompt.h"
#include "draw/qt/figure_printer.h"
#include "draw/qt/mode_cursor_qt.h"
#include "platform/files.h"
#include "platform/qt/printer_setup.h"
#include "platform/qt/qt_dc.h"
#include "platform/ui_service.h"

#include <QApplication>
#include <QCursor>
#include <QMenu>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QWidget>

namespace wv {

namespace {

constexpr int kDirectPrint = 57608;

CPoint ToPoint(CPointI p) { return CPoint{p.x, p.y}; }

}  // namespace

TydScrollView::TydScrollView() = default;

TydScrollView::~TydScrollView() {
    // The list must not read a view that is gone.
    if (CShellFrame* main = MainFrame(); main && main->m_pResultView == this) {
        PostToResultList(WM_RESULTLIST_CLOSE);
        main->m_pResultView = nullptr;
    }
    if (m_view) m_view->SetHost(nullptr);
}

CShellFrame* TydScrollView::MainFrame() const { return CShellFrame::Of(this); }

void TydScrollView::PostToResultList(unsigned message) {
    CShellFrame* main = MainFrame();
    if (ResultListProvider* list = main ? main->GetResultListProvider() : nullptr) list->Post(message);
}

QWidget* TydScrollView::Widget() const { return dynamic_cast<QWidget*>(GetHost()); }

void TydScrollView::Sync() {
    if (!m_view) return;
    const CSizeI c = GetClientSize();
    const CPointI s = GetScrollPosition();
    m_view->OnSize(c.cx, c.cy);
    m_view->OnScroll(s.x, s.y);
}

void TydScrollView::OnInitialUpdate() {
    auto* doc = dynamic_cast<CTydDoc*>(GetDocument());
    if (!doc) return;
    m_view = std::make_unique<CTydView>(*doc);
    m_view->SetHost(this);
    SetScrollSizes({30000, 30000}, {200, 200}, {50, 50});
    // A window not yet laid out has no size: the fit takes the size it will open with.
    if (GetClientSize().cx <= 0 || GetClientSize().cy <= 0) OnSize({640, 480});
    Sync();
    m_view->OnInitialUpdate();
    Sync();
}

void TydScrollView::OnActivateView(bool activate) {
    if (!m_view) return;
    m_view->OnActivateView(activate);
    CShellFrame* main = MainFrame();
    if (!activate || !main || main->m_pResultView == this) return;
    if (ResultListProvider* list = main->GetResultListProvider()) {
        if (list->HasWindow())
            list->Post(m_view->m_bResultListOpen == 1 ? WM_RESULTLIST_REFRESH : WM_RESULTLIST_CLOSE);
        else if (m_view->m_bResultListOpen == 1)
            list->Reopen();
    }
    main->m_pResultView = this;
}

void TydScrollView::OnDraw(QImage& image) {
    if (!m_view) return;
    Sync();
    CQtDC dc(&image);
    m_view->OnDraw(dc);
}

void TydScrollView::OnLButtonDown(unsigned flags, CPointI c) {
    if (!m_view) return;
    Sync();
    m_view->OnLButtonDown(flags, ToPoint(c));
    UpdatePanes();
}

void TydScrollView::OnLButtonUp(unsigned flags, CPointI c) {
    if (!m_view) return;
    Sync();
    m_view->OnLButtonUp(flags, ToPoint(c));
    UpdatePanes();
}

void TydScrollView::OnRButtonDown(unsigned flags, CPointI c) {
    if (!m_view) return;
    Sync();
    m_view->OnRButtonDown(flags, ToPoint(c));
    UpdatePanes();
}

void TydScrollView::OnMouseMove(unsigned flags, CPointI c) {
    if (!m_view) return;
    Sync();
    m_view->OnMouseMove(flags, ToPoint(c));
    UpdatePanes();
}

void TydScrollView::OnKeyDown(int key, unsigned) {
    if (!m_view) return;
    if (key == Qt::Key_Escape) key = 27;
    if (m_view->OnKeyUp(key)) PostToResultList(WM_RESULTLIST_ESCAPE);
}

bool TydScrollView::OnCmdMsg(int id, CCmdUI* ui) {
    if (!m_view) return false;
    Sync();
    if (id == ids::ID_FILE_PRINT || id == kDirectPrint || id == ids::ID_FILE_PRINT_PREVIEW) {
        if (ui) {
            ui->Enable(true);
            return true;
        }
        if (id == ids::ID_FILE_PRINT_PREVIEW)
            Preview();
        else
            Print(id == kDirectPrint);
        return true;
    }
    if (ui) return m_view->Update(*ui);
    const bool done = m_view->Execute(id);
    // A command changes the prompt; the position pane shows where the mouse was last.
    UpdatePanes(false);
    return done;
}

void TydScrollView::UpdatePanes(bool position) {
    if (!m_view) return;
    auto* child = dynamic_cast<CMDIChildWnd*>(GetParentFrame());
    CShellFrame* main = MainFrame();
    if (!main || main->MDIGetActive() != child) return;
    CStatusBar& bar = main->StatusBar();
    bar.SetPaneText(bar.CommandToIndex(ids::ID_SEPARATOR_PROMPT), m_view->PromptText());
    if (position) bar.SetPaneText(bar.CommandToIndex(ids::ID_INDICATOR_POSITION), m_view->PositionText());
}

void TydScrollView::Redraw() {
    // Every pane of the document shows the change.
    if (CDocument* doc = GetDocument()) {
        for (CView* v : doc->GetViews()) v->RedrawAll();
    } else {
        CScrollView::RedrawAll();
    }
}

void TydScrollView::PostResultListRefresh() { PostToResultList(WM_RESULTLIST_REFRESH); }

void TydScrollView::ScrollTo(int x, int y) {
    ScrollToPosition({x, y});
    if (m_view) m_view->OnScroll(GetScrollPosition().x, GetScrollPosition().y);
}

CDC* TydScrollView::BeginMarks() {
    QImage& img = CurrentWindowImage();
    if (img.isNull()) return nullptr;
    m_marks = std::make_unique<CQtDC>(&img);
    return m_marks.get();
}

void TydScrollView::EndMarks() {
    m_marks.reset();
    const CSizeI c = GetClientSize();
    InvalidateClientRect(QRect(0, 0, c.cx, c.cy));
}

void TydScrollView::ShowPopup(const std::string& text, int x, int y) {
    QWidget* w = Widget();
    if (!w) return;
    QMenu menu(w);
    // The popup only informs: its one item does nothing.
    menu.addAction(QString::fromStdString(text));
    const QWidget* area = w->findChild<QWidget*>("qt_scrollarea_viewport");
    const QPoint origin = (area ? area : w)->mapToGlobal(QPoint(0, 0));
    menu.exec(origin + QPoint(x + 10, y + 10));
}

void TydScrollView::ModeChanged(int mode) {
    if (QWidget* w = Widget()) {
        const QWidget* area = w->findChild<QWidget*>("qt_scrollarea_viewport");
        SetModeCursor(const_cast<QWidget*>(area ? area : w), mode);
    }
}

void TydScrollView::WaitCursor(bool on) {
    if (on)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

void TydScrollView::ResultsLoading(bool on) {
    if (on) {
        m_waitDlg = std::make_unique<CResultReadingDlg>();
        m_waitBox = ShowResultReadingBox(*m_waitDlg, Widget());
    } else {
        m_waitBox.reset();
        m_waitDlg.reset();
    }
}

bool TydScrollView::Print(bool direct) {
    if (!m_view || !m_view->PreparePrinting()) return false;
    const CTydDoc& doc = m_view->Doc();
    bool done = false;
    QPrinter& printer = ProgramPrinter();
    if (direct && !HasRealPrinter(printer)) {
        // No printer here: the direct print writes the page as a PDF file.
        FileDialogOptions fileDialog;
        fileDialog.mode = FileDialogOptions::Mode::Save;
        fileDialog.title = "印刷";
        fileDialog.filters = {{"PDF (*.pdf)", "*.pdf"}};
        fileDialog.defaultExt = "pdf";
        fileDialog.initialFolder = FolderOf(doc.GetPathName());
        fileDialog.initialName = FileTitleOf(doc.GetPathName()) + ".pdf";
        fileDialog.overwritePrompt = true;
        std::string path;
        if (Ui().FileDialog(fileDialog, path) && !path.empty()) done = PrintToPdf(path);
    } else {
        ConfigureFigurePrinter(printer, doc.m_zmn.m_nPaperSize, doc.m_zmn.m_nPaperOrient);
        bool go = direct;
        if (!direct) {
            QPrintDialog dlg(&printer, Widget());
            dlg.setMinMax(1, 1);
            go = dlg.exec() == QDialog::Accepted;
        }
        if (go) done = PrintFigureOnPrinter(printer, m_view->PrintRequest());
    }
    m_view->EndPrinting();
    return done;
}

bool TydScrollView::PrintToPdf(const std::string& path) {
    std::string err;
    if (PrintFigureToPdf(path, m_view->PrintRequest(), &err)) return true;
    Ui().MessageBox(err, "印刷", MbButtons::Ok, MbIcon::Warning);
    return false;
}

bool TydScrollView::Preview() {
    if (!m_view || !m_view->PreparePrinting()) return false;
    {
        QPrinter& printer = ProgramPrinter();
        const CTydDoc& doc = m_view->Doc();
        ConfigureFigurePrinter(printer, doc.m_zmn.m_nPaperSize, doc.m_zmn.m_nPaperOrient);
        std::unique_ptr<QPrintPreviewDialog> dlg(CreateFigurePreview(printer, m_view->PrintRequest(), Widget()));
        dlg->exec();
    }
    m_view->EndPrinting();
    return true;
}

}  // namespace wv

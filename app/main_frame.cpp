#include "app/main_frame.h"

#include "core/command_ids.h"
#include "app/app_texts.h"
#include "core/param_file.h"
#include "platform/document.h"

namespace wv {

CMainFrame::CMainFrame(CProfile& profile) {
    m_pTreeDlg = std::make_unique<CDataTreeDlg>(this, profile);
    m_pTreeDlg->SetActiveDocumentQuery([this] {
        CDocument* doc = GetActiveDocument();
        return doc ? doc->GetPathName() : std::string();
    });
    // The lock-key panes of the Windows program are not kept: no portable way reads the keys.
    m_wndStatusBar.SetIndicators({{ids::ID_SEPARATOR_PROMPT, apptext::kIdleText, "", true},
                                  {ids::ID_INDICATOR_POSITION, "", apptext::kPositionWidthText, false}});
    m_menuId = ids::IDR_MAINFRAME;
    LoadDefaultsFile();
}

CMainFrame::~CMainFrame() = default;

bool CMainFrame::SaveDefaults() { return SaveDefaultsFile(); }

void CMainFrame::ShowTree(const std::string& folder, const std::string& projectName) {
    if (m_pTreeDlg->HasWindow()) {
        if (m_pTreeDlg->GetHost()) m_pTreeDlg->GetHost()->ActivateWindow();
        return;
    }
    m_strDataFolder = folder;
    m_pTreeDlg->SetFolder(folder);
    m_pTreeDlg->SetProjectName(projectName);
    m_pTreeDlg->CreateTree();
}

void CMainFrame::ShowResultList() {
    ResultListProvider* list = GetResultListProvider();
    if (!list) return;
    if (list->HasWindow()) {
        list->Activate();
        return;
    }
    // Only a calculation view owns the list; with any other view active nothing happens.
    CView* view = MDIGetActive() ? MDIGetActive()->GetActiveView() : nullptr;
    if (!view || !list->IsCalcView(view)) return;
    m_pResultView = view;
    list->ShowFor(view);
}

long CMainFrame::OnTreeOpen(std::uintptr_t wParam, std::intptr_t lParam) {
    if (m_frameHost) m_frameHost->ActivateMainWindow();
    // An index of an earlier list (rebuilt or closed since) names nothing any more.
    if (wParam != m_pTreeDlg->Generation()) return 0;
    if (lParam < 0) {
        if (m_pTreeDlg->HasWindow() && m_pTreeDlg->GetHost()) m_pTreeDlg->GetHost()->ActivateWindow();
        return 0;
    }
    const std::string name = m_pTreeDlg->GetEntryName(static_cast<int>(lParam));
    if (name.empty()) return 0;
    const std::string path = m_strDataFolder.empty() || m_strDataFolder.back() == '/' ? m_strDataFolder + name
                                                                                      : m_strDataFolder + "/" + name;
    if (m_open) m_open(path);
    if (m_pTreeDlg->HasWindow() && m_pTreeDlg->GetHost()) m_pTreeDlg->GetHost()->ActivateWindow();
    return 1;
}

long CMainFrame::OnResultListClosed() {
    CDocument* doc = GetActiveDocument();
    if (!doc) return -1;
    ResultListProvider* list = GetResultListProvider();
    if (list && !(MDIGetActive() && list->IsCalcView(MDIGetActive()->GetActiveView()))) list->ClearAllOwners();
    return 0;
}

long CMainFrame::WindowProc(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) {
    switch (message) {
    case WM_TREE_OPEN: return OnTreeOpen(wParam, lParam);
    case WM_RESULTLIST_CLOSED: return OnResultListClosed();
    default: return 0;
    }
}

void CMainFrame::OnActiveChildChanged() {
    const int menu = m_menuOf ? m_menuOf(GetActiveDocument()) : 0;
    m_menuId = menu ? menu : ids::IDR_MAINFRAME;
    if (m_frameHost) m_frameHost->ShowMenu(m_menuId);
    // The tree follows the active document when the activation changes, not whenever
    // someone asks which document is active; it looks once the change is complete (a
    // Close All passes through several active documents).
    if (m_pTreeDlg->HasWindow()) PostMessage(m_pTreeDlg.get(), WM_TREE_REFRESH, 0, 1);
    if (m_frameHost) m_frameHost->RefreshCommandStates();
}

}  // namespace wv

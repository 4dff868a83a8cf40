#include "app/wavora_app.h"

#include "app/app_commands.h"
#include "core/command_ids.h"
#include "app/app_texts.h"
#include "calc/cal_threads.h"
#include "calc/calc_run_files.h"
#include "calcdoc/tyd_doc.h"
#include "core/calc_progress.h"
#include "platform/command_table.h"
#include "platform/files.h"
#include "platform/process.h"
#include "platform/sysver.h"
#include "platform/text.h"
#include "platform/ui_service.h"
#include "project/tik_archive.h"
#include "project/tik_doc.h"

#include <cstdio>
#include <filesystem>
#include <fstream>

namespace wv {

namespace {

// The start folder is read into 513 characters by the solver: a longer one cannot be passed on.
constexpr std::size_t kMaxStartFolder = 512;
constexpr int kUpdaterQuit = 3;
constexpr int kRecentCount = 4;
constexpr int kRecentDisplayLength = 30;

CWavoraApp::NewProjectDialog& NewProjectHook() {
    static CWavoraApp::NewProjectDialog hook;
    return hook;
}
CWavoraApp::NewCalcDialog& NewCalcHook() {
    static CWavoraApp::NewCalcDialog hook;
    return hook;
}
std::function<void()>& SplashHook() {
    static std::function<void()> hook;
    return hook;
}

bool CreateEmptyFile(const std::string& path) {
    std::string err;
    if (FileExists(path)) return true;
    return AtomicWriteFile(path, std::string(), &err);
}

std::string WithoutSlash(std::string folder) {
    while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
    return folder;
}

}  // namespace

int AppHost::RunProgram(const std::string& program, const std::vector<std::string>& args,
                        const std::string& workDir, std::string* err) {
    return RunProgramAndWait(program, args, workDir, err);
}

std::unique_ptr<CView> AppHost::CreateView(int) { return std::make_unique<CView>(); }

// Save, Save As and Close of the active document, as the framework handled them for
// every document class; a document class that handles them itself comes first.
class CWavoraApp::DocumentCommands : public CCmdTarget {
public:
    explicit DocumentCommands(CWavoraApp& app) : m_app(app) {
        using namespace ids;
        OnCommand(ID_FILE_SAVE, [this] {
            if (CDocument* d = Active()) d->DoFileSave();
        });
        OnCommand(ID_FILE_SAVE_AS, [this] {
            CDocument* d = Active();
            if (d && d->DoSaveAs()) m_app.OnFileSaveAs();
        });
        OnCommand(ID_FILE_CLOSE, [this] {
            CDocument* d = Active();
            if (d && d->SaveModified()) m_app.GetDocManager()->CloseDocument(d);
        });
        for (int id : {ID_FILE_SAVE, ID_FILE_SAVE_AS, ID_FILE_CLOSE})
            OnUpdateCommandUI(id, [this](CCmdUI& ui) { ui.Enable(Active() != nullptr); });
    }

private:
    CDocument* Active() { return m_app.GetMainFrame() ? m_app.GetMainFrame()->GetActiveDocument() : nullptr; }
    CWavoraApp& m_app;
};

void CWavoraApp::SetNewProjectDialog(NewProjectDialog dialog) { NewProjectHook() = std::move(dialog); }
void CWavoraApp::SetNewCalcDialog(NewCalcDialog dialog) { NewCalcHook() = std::move(dialog); }
void CWavoraApp::SetSplash(std::function<void()> splash) { SplashHook() = std::move(splash); }

CWavoraApp::CWavoraApp(AppHost& host) : m_host(host) {}

CWavoraApp::~CWavoraApp() {
    if (!m_exited && m_pMainFrame) ExitInstance();
    m_docManager.reset();
    m_host.DestroyMainWindow();
    m_pMainFrame.reset();
}

bool CWavoraApp::InitInstance() {
    // One instance only; a second one ends without a word.
    if (!m_host.AcquireSingleInstance()) return false;

    m_pProjectMRU = std::make_unique<CRecentFileList>(ids::ID_FILE_MRU_FILE1, "Recent File List", "File%d",
                                                      kRecentCount, kRecentDisplayLength);
    m_pProjectMRU->ReadList(Profile());

    if (Commands().FindMenu(ids::IDR_MAINFRAME) == nullptr) RegisterAppCommands(Commands());

    // The updater runs from the current folder before any window exists.
    if (Profile().GetProfileInt("Settings", "VerCheckFlag", 0) == 1 && !RunUpdaterAtStart()) return false;

    // The main frame reads the defaults file of the start folder.
    SetStartFolder(CurrentFolder());
    m_pMainFrame = std::make_unique<CMainFrame>(Profile());
    m_docManager = std::make_unique<CDocManager>(*m_pMainFrame);
    m_docCommands = std::make_unique<DocumentCommands>(*this);

    m_pCalcTemplate = m_docManager->AddDocTemplate(std::make_unique<CDocTemplate>(
        ids::IDR_TYDTYPE, apptext::kTydDocString, [] { return std::make_unique<CTydDoc>(); },
        [this] { return m_host.CreateView(ids::IDR_TYDTYPE); }));
    m_pProjectTemplate = m_docManager->AddDocTemplate(std::make_unique<CDocTemplate>(
        ids::IDR_TIKTYPE, apptext::kTikDocString, [] { return std::make_unique<CTikDoc>(); },
        [this] { return m_host.CreateView(ids::IDR_TIKTYPE); }));

    m_pMainFrame->SetDocumentOpener([this](const std::string& path) { return OpenDocumentFile(path); });
    m_pMainFrame->SetMenuOfDocument([](CDocument* doc) {
        return doc && doc->GetDocTemplate() ? doc->GetDocTemplate()->GetResourceId() : 0;
    });
    RegisterCommands();

    // Queued messages and drops wait while a progress window pumps events.
    PostedMessages().SetHold([] { return CCalcProgressDlg::OpenWindowCount() > 0; });

    if (!m_host.CreateMainWindow(*m_pMainFrame)) return false;
    m_host.ShowMainWindow();
    m_bProjectOpen = false;

    const std::string start = StartFolder();
    if (WithoutSlash(start).size() > kMaxStartFolder) {
        Ui().MessageBox(apptext::kStartFolderTooLong, apptext::kAppTitle, MbButtons::Ok, MbIcon::Error);
        return false;
    }
    // A calculation of another program running from this folder keeps its flag.
    ResetCalcDatIfIdle(start);
    ReadVersion();

    if (Commands().RemoveItem(ids::IDR_MAINFRAME, ids::ID_DUMMY)) m_host.MenusChanged();
    if (SplashHook()) SplashHook()();
    return true;
}

bool CWavoraApp::RunUpdaterAtStart() {
    std::string err;
    const int code = m_host.RunProgram(apptext::kUpdater, {apptext::kUpdater}, CurrentFolder(), &err);
    // Only its exit code 3 ends start-up; an updater that is missing or fails does not.
    return code != kUpdaterQuit;
}

void CWavoraApp::ReadVersion() {
    g_strVersion.clear();
    g_strVersionCp932.clear();
    bool opened = false;
    const std::string line = ReadSysVer(StartFolder(), &opened);
    if (!opened) {
        Ui().MessageBox(apptext::kNoVersion, apptext::kNoVersionCaption, MbButtons::Ok, MbIcon::None);
        return;
    }
    g_strVersion = Cp932ToUtf8(line);
    g_strVersionCp932 = line;
}

void CWavoraApp::ExitInstance() {
    if (m_exited) return;
    m_exited = true;
    // A run of the solver ends without its question: nobody is left to answer it.
    CCalThreads::CancelAndJoinAll();
    if (m_docManager) m_docManager->CloseAllDocuments();
    if (m_pMainFrame) {
        if (m_pMainFrame->m_pTreeDlg->HasWindow()) m_pMainFrame->m_pTreeDlg->OnCancel();
        m_pMainFrame->SaveDefaults();
    }
    Profile().Flush();
}

bool CWavoraApp::OnCloseMainWindow() {
    if (Busy()) return false;
    if (m_docManager && !m_docManager->SaveAllModified()) return false;
    return true;
}

bool CWavoraApp::Busy() const { return CCalcProgressDlg::OpenWindowCount() > 0; }

bool CWavoraApp::IsProjectPath(const std::string& path) const {
    return m_pProjectTemplate && m_pProjectTemplate->MatchesExtension(path);
}

CDocument* CWavoraApp::OpenDocumentFile(const std::string& path) {
    if (!m_docManager) return nullptr;
    if (IsProjectPath(path) && !m_docManager->FindOpen(path)) {
        if (!OpenProject(path)) return nullptr;
        return m_docManager->FindOpen(path);
    }
    return m_docManager->OpenDocumentFile(path);
}

bool CWavoraApp::SaveAllBeforeProjectChange() {
    // Projects share the application-wide tables: another project's file cannot be
    // opened while this one stays open. Every document is asked first; Cancel keeps all.
    return m_docManager->SaveAllModified();
}

bool CWavoraApp::OpenProject(const std::string& path, int mruIndex) {
    if (!m_docManager || path.empty()) return false;
    const std::string canonical = CanonicalPath(path);
    if (CDocument* open = m_docManager->FindOpen(canonical)) {
        m_docManager->OpenDocumentFile(canonical);  // activates it
        AfterProjectOpened(canonical);
        return open != nullptr;
    }
    // The project's own file reopened keeps its calculations; another project replaces
    // every open document.
    const bool sameProject = m_bProjectOpen && CanonicalPath(m_strProjectFolder + "/" + m_strProjectName + ".TIK") ==
                                                   CanonicalPath(FolderOf(canonical) + FileTitleOf(canonical) + ".TIK");
    std::vector<CDocument*> previous = sameProject ? std::vector<CDocument*>() : m_docManager->Documents();
    if (!previous.empty() && !SaveAllBeforeProjectChange()) return false;

    // A new project document starts by emptying the application-wide tables; they wait
    // aside, so that a failed open leaves the open project as it was, with its windows.
    TikTables kept;
    SwapWithOpenProject(kept);
    CDocument* doc = m_pProjectTemplate->OpenDocumentFile(canonical, *m_pMainFrame);
    if (!doc) {
        SwapWithOpenProject(kept);
        if (mruIndex >= 0) {
            m_pProjectMRU->Remove(mruIndex);
            m_pProjectMRU->WriteList(Profile());
        }
        return false;
    }
    for (CDocument* d : previous) m_docManager->CloseDocument(d);
    AfterProjectOpened(canonical);
    return true;
}

void CWavoraApp::AfterProjectOpened(const std::string& path) {
    m_strProjectFolder = WithoutSlash(FolderOf(path));
    m_strProjectName = FileTitleOf(path);
    m_bProjectOpen = true;
    CMainFrame& frame = *m_pMainFrame;
    if (frame.m_pTreeDlg->HasWindow()) {
        frame.m_pTreeDlg->OnCancel();
        frame.ShowTree(m_strProjectFolder, m_strProjectName);
    }
    m_pProjectMRU->Add(path);
    m_pProjectMRU->WriteList(Profile());
    frame.RefreshCommandStates();
}

void CWavoraApp::OnDropFiles(const std::vector<std::string>& paths) {
    std::vector<std::string> copy = paths;
    PostedMessages().PostCall([this, copy] {
        for (const std::string& p : copy) OpenDocumentFile(p);
    });
}

std::vector<CCmdTarget*> CWavoraApp::CommandChain() {
    std::vector<CCmdTarget*> chain;
    if (m_pMainFrame) {
        CMDIChildWnd* child = m_pMainFrame->MDIGetActive();
        if (child) {
            chain.push_back(child->GetActiveView());
            chain.push_back(child->GetDocument());
        }
        chain.push_back(m_docCommands.get());
        chain.push_back(child);
        chain.push_back(m_pMainFrame.get());
    }
    chain.push_back(this);
    return chain;
}

void CWavoraApp::ExecuteCommand(int id) {
    // While a progress window pumps events, a command waits until it has closed.
    if (Busy()) {
        PostedMessages().PostCall([this, id] { ExecuteCommand(id); });
        return;
    }
    RouteCommand(CommandChain(), id, nullptr);
}

CCmdUI CWavoraApp::QueryCommand(int id) { return QueryCommandState(CommandChain(), id); }

void CWavoraApp::RegisterCommands() {
    using namespace ids;
    OnCommand(ID_NEW_PROJECT, [this] { OnNewProject(); });
    OnCommand(ID_OPEN_PROJECT, [this] { OnOpenProject(); });
    OnCommand(ID_SAVE_ALL, [this] { OnSaveAll(); });
    OnCommand(ID_CLOSE_ALL, [this] { OnCloseAll(); });
    OnCommand(ID_FILE_NEW, [this] { OnFileNew(); });
    OnUpdateCommandUI(ID_FILE_NEW, [this](CCmdUI& ui) { ui.Enable(m_bProjectOpen); });
    OnCommand(ID_FILE_OPEN, [this] { OnFileOpen(); });
    OnUpdateCommandUI(ID_FILE_OPEN, [this](CCmdUI& ui) { ui.Enable(m_bProjectOpen); });
    OnCommandRange(ID_FILE_MRU_FILE1, ID_FILE_MRU_FILE4, [this](int id) {
        const int index = id - ID_FILE_MRU_FILE1;
        const std::string path = (*m_pProjectMRU)[index];
        if (!path.empty()) OpenProject(path, index);
    });
    OnUpdateCommandUIRange(ID_FILE_MRU_FILE1, ID_FILE_MRU_FILE4, [this](CCmdUI& ui) {
        const int index = ui.m_nID - ID_FILE_MRU_FILE1;
        ui.Enable(index < m_pProjectMRU->GetCount());
        if (index < m_pProjectMRU->GetCount()) ui.SetText(m_pProjectMRU->GetDisplayName(index));
    });
    OnCommand(ID_RESULT_LIST, [this] { m_pMainFrame->ShowResultList(); });
    OnUpdateCommandUI(ID_RESULT_LIST, [this](CCmdUI& ui) { ui.Enable(m_pMainFrame->GetResultListProvider() != nullptr); });
    OnCommand(ID_APP_ABOUT, [this] { m_host.ShowAbout(std::string(apptext::kAboutVersionPrefix) + g_strVersion); });
    OnCommand(ID_HELP_FINDER, [this] { OnHelpDocument(apptext::kHelpPdf); });
    OnCommand(ID_HELP_OVERVIEW, [this] { OnHelpDocument(apptext::kOverviewPdf); });
    OnCommand(ID_UPDATE_HISTORY, [this] { OnUpdateHistory(); });
    OnCommand(ID_CHECK_UPDATE, [this] { OnCheckUpdate(); });
    OnCommand(ID_UPDATE_AT_START, [this] { OnToggleUpdateAtStart(); });
    OnUpdateCommandUI(ID_UPDATE_AT_START, [this](CCmdUI& ui) {
        ui.Enable(true);
        ui.SetCheck(Profile().GetProfileInt("Settings", "VerCheckFlag", 0) == 1 ? 1 : 0);
    });
    OnCommand(ID_APP_EXIT, [this] { OnAppExit(); });
    // The placeholder of the Help menu does nothing.
    OnCommand(ID_DUMMY, [] {});
}

void CWavoraApp::OnNewProject() {
    NewProjectChoice choice;
    if (NewProjectHook()) {
        if (!NewProjectHook()(choice)) return;
    } else {
        FileDialogOptions fileDialog;
        fileDialog.mode = FileDialogOptions::Mode::Save;
        fileDialog.title = apptext::kNewProjectTitle;
        fileDialog.filters = {{apptext::kProjectFilter, apptext::kProjectPattern}};
        fileDialog.defaultExt = "TIK";
        fileDialog.overwritePrompt = true;
        std::string path;
        if (!Ui().FileDialog(fileDialog, path)) return;
        choice.folder = WithoutSlash(FolderOf(path));
        choice.name = FileTitleOf(path);
    }
    const std::string path = choice.folder + "/" + choice.name + ".TIK";
    if (!CreateEmptyFile(path)) {
        Ui().MessageBox(path + "\n" + apptext::kCannotCreate, apptext::kAppTitle, MbButtons::Ok, MbIcon::Error);
        return;
    }
    OpenProject(path);
}

void CWavoraApp::OnOpenProject() {
    FileDialogOptions fileDialog;
    fileDialog.mode = FileDialogOptions::Mode::Open;
    fileDialog.title = apptext::kOpenProjectTitle;
    fileDialog.filters = {{apptext::kProjectFilter, apptext::kProjectPattern}};
    fileDialog.defaultExt = "Tik";
    fileDialog.initialFolder = m_strProjectFolder;
    std::string path;
    if (!Ui().FileDialog(fileDialog, path)) return;
    OpenProject(path);
}

void CWavoraApp::OnSaveAll() {
    for (const auto& d : m_pProjectTemplate->Documents()) d->OnSaveDocument(d->GetPathName());
    for (const auto& d : m_pCalcTemplate->Documents()) {
        if (auto* tyd = dynamic_cast<CTydDoc*>(d.get())) tyd->SetProjectFolder(m_strProjectFolder);
        d->OnSaveDocument(d->GetPathName());
    }
}

void CWavoraApp::OnCloseAll() {
    if (!m_docManager->SaveAllModified()) return;
    m_docManager->CloseAllDocuments();
}

void CWavoraApp::OnFileNew() {
    std::string path;
    if (NewCalcHook()) {
        if (!NewCalcHook()(m_strProjectFolder, path)) return;
    } else {
        FileDialogOptions fileDialog;
        fileDialog.mode = FileDialogOptions::Mode::Save;
        fileDialog.title = apptext::kNewCalcTitle;
        fileDialog.filters = {{apptext::kTydFilter, apptext::kTydPattern}};
        fileDialog.defaultExt = "TYD";
        fileDialog.initialFolder = m_strProjectFolder;
        fileDialog.overwritePrompt = true;
        if (!Ui().FileDialog(fileDialog, path)) return;
        if (!CreateEmptyFile(path)) {
            Ui().MessageBox(path + "\n" + apptext::kCannotCreate, apptext::kAppTitle, MbButtons::Ok, MbIcon::Error);
            return;
        }
    }
    // A file chosen that is open already is only activated, never emptied.
    if (m_docManager->FindOpen(path)) {
        m_docManager->OpenDocumentFile(path);
        return;
    }
    if (!m_pCalcTemplate->OpenDocumentFile(path, *m_pMainFrame)) return;
    PostTreeRefresh();
}

void CWavoraApp::OnFileOpen() { m_pMainFrame->ShowTree(m_strProjectFolder, m_strProjectName); }

void CWavoraApp::OnFileSaveAs() { PostTreeRefresh(); }

void CWavoraApp::PostTreeRefresh() {
    if (m_pMainFrame->m_pTreeDlg->HasWindow()) PostMessage(m_pMainFrame->m_pTreeDlg.get(), WM_TREE_REFRESH, 0, 0);
}

void CWavoraApp::OnHelpDocument(const char* name) {
    const std::string path = StartFolderFile(name);
    if (!FileExists(path) || !m_host.OpenWithShell(path))
        Ui().MessageBox(apptext::kPdfFailed, apptext::kPdfCaption, MbButtons::Ok, MbIcon::None);
}

void CWavoraApp::OnUpdateHistory() {
    std::string text;
    // The seventh line names the document; a shorter file names none.
    std::vector<std::string> lines;
    if (ReadWholeFile(StartFolderFile(apptext::kUpdaterInfo), text, nullptr)) {
        std::size_t pos = 0;
        while (pos < text.size() && lines.size() < 7) {
            std::size_t nl = text.find('\n', pos);
            if (nl == std::string::npos) nl = text.size();
            std::string line = text.substr(pos, nl - pos);
            // The original read each line into 256 bytes.
            if (line.size() > 255) line.resize(255);
            lines.push_back(line);
            pos = nl + 1;
        }
    }
    if (lines.size() < 7) {
        Ui().MessageBox(apptext::kInfFailed, apptext::kInfCaption, MbButtons::Ok, MbIcon::None);
        return;
    }
    const std::string& seventh = lines[6];
    const std::size_t b = seventh.find_first_not_of(" \t\r");
    if (b == std::string::npos) {
        Ui().MessageBox(apptext::kInfFailed, apptext::kInfCaption, MbButtons::Ok, MbIcon::None);
        return;
    }
    const std::string word = Cp932ToUtf8(seventh.substr(b, seventh.find_first_of(" \t\r", b) - b));
    const std::string target = word.find("://") != std::string::npos || word[0] == '/' ? word : StartFolderFile(word);
    m_host.OpenWithShell(target);
}

void CWavoraApp::OnCheckUpdate() {
    // A missing updater is said before anything is asked or saved.
    const std::string updater = StartFolderFile(apptext::kUpdater);
    if (!FileExists(updater)) {
        Ui().MessageBox(apptext::kUpdaterMissing, apptext::kUpdaterCaption, MbButtons::Ok, MbIcon::Error);
        return;
    }
    if (!m_docManager->SaveAllModified()) return;
    std::string err;
    const int code = m_host.RunProgram(apptext::kUpdater, {apptext::kUpdater, apptext::kUpdateArgument},
                                       WithoutSlash(StartFolder()), &err);
    if (code < 0) {
        Ui().MessageBox(apptext::kUpdaterMissing, apptext::kUpdaterCaption, MbButtons::Ok, MbIcon::Error);
        return;
    }
    if (code != kUpdaterQuit) return;
    // The updater replaces the program: the documents are left as they are on disk.
    for (CDocument* d : m_docManager->Documents()) d->SetModifiedFlag(false);
    ExitInstance();
    m_host.Quit(0);
}

void CWavoraApp::OnToggleUpdateAtStart() {
    const int v = Profile().GetProfileInt("Settings", "VerCheckFlag", 0);
    Profile().WriteProfileInt("Settings", "VerCheckFlag", v != 0 ? 0 : 1);
    Profile().Flush();
}

void CWavoraApp::OnAppExit() {
    if (!OnCloseMainWindow()) return;
    ExitInstance();
    m_host.Quit(0);
}

}  // namespace wv

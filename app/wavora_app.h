// The application object of Wavora: one instance, its settings and recent projects,
// the two document templates, start-up and shutdown, and the project-level commands of
// the File and Help menus. Only one project is open at a time. Qt-free: the windows,
// the lock and the shell are the host's (AppHost).
#pragma once

#include "app/main_frame.h"
#include "platform/cmd_target.h"
#include "platform/doc_template.h"
#include "platform/profile.h"
#include "platform/recent_file_list.h"
#include "platform/view.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace wv {

class AppHost {
public:
    virtual ~AppHost() = default;
    // The single-instance lock, held until the program ends.
    virtual bool AcquireSingleInstance() = 0;
    virtual CProfile& Profile() = 0;
    // Builds the main window around the frame (menus, toolbar, status bar). False: fails.
    virtual bool CreateMainWindow(CMainFrame& frame) = 0;
    virtual void ShowMainWindow() = 0;
    // The window goes before the frame it shows (the application's end).
    virtual void DestroyMainWindow() {}
    // The menus of the command table changed.
    virtual void MenusChanged() = 0;
    // Opens a document with the desktop's program for it. False when that failed.
    virtual bool OpenWithShell(const std::string& path) = 0;
    // Runs a program in `workDir` and waits: its exit code, or -1 when it cannot start.
    virtual int RunProgram(const std::string& program, const std::vector<std::string>& args,
                           const std::string& workDir, std::string* err);
    virtual void ShowAbout(const std::string& versionLine) = 0;
    // The view a new window of a template shows (the views' own parts replace it through
    // CDocTemplate::SetViewFactory). By default an empty view.
    virtual std::unique_ptr<CView> CreateView(int templateId);
    // Ends the program with this exit code once the current command has returned.
    virtual void Quit(int exitCode) = 0;
};

// Hooks with a default body that the program's Qt host (QtAppHost) overrides. A new hook
// of this kind goes on this list: tests/app/view_hooks_test.cpp fails for a listed hook
// that the real class does not override, and for a hook on no list.
#define WV_APP_HOST_HOOKS(HOOK) HOOK(DestroyMainWindow)

// What the new-project dialog gives.
struct NewProjectChoice {
    std::string folder;  // the project's folder (created), without a trailing '/'
    std::string name;    // the project's name; the file is <folder>/<name>.TIK (created empty)
};

class CWavoraApp : public CCmdTarget {
public:
    // The dialogs of the new-project and new-calculation commands come from their own
    // part of the program; these hooks take them. Without one, a plain file dialog asks
    // for the new file's name.
    using NewProjectDialog = std::function<bool(NewProjectChoice& choice)>;
    using NewCalcDialog = std::function<bool(const std::string& projectFolder, std::string& path)>;
    static void SetNewProjectDialog(NewProjectDialog dialog);
    static void SetNewCalcDialog(NewCalcDialog dialog);
    // The splash window of start-up (created and destroyed again).
    static void SetSplash(std::function<void()> splash);

    explicit CWavoraApp(AppHost& host);
    ~CWavoraApp() override;

    // Start-up; false ends the program (exit code 0) before or after its window shows.
    bool InitInstance();
    // Shutdown: the running calculation is stopped, the documents closed, the defaults
    // file written. Called once, at exit or by the updater command.
    void ExitInstance();
    // The main window asks to close: true when every modified document was saved or
    // declined (then the program ends).
    bool OnCloseMainWindow();

    // The application's open-document path: a document already open is activated, a
    // project file goes through the project-opening path. Null when nothing opened.
    CDocument* OpenDocumentFile(const std::string& path);
    // Opening a project by path (the open command, the recent entries, a drop). Returns
    // false when the user cancelled or the file did not open; nothing changed then,
    // except that a recent entry that failed (mruIndex >= 0) is dropped.
    bool OpenProject(const std::string& path, int mruIndex = -1);
    // After a document was saved under a new name (the calculation view's Save As calls
    // it too): the tree rebuilds its list.
    void OnFileSaveAs();
    // Files dropped on the main window: projects and calculation files.
    void OnDropFiles(const std::vector<std::string>& paths);

    // Commands along the routing chain: active view, its document, the framework's
    // document commands, the active frame, the main frame, this application. Commands
    // and drops wait while a progress window pumps events.
    std::vector<CCmdTarget*> CommandChain();
    void ExecuteCommand(int id);
    CCmdUI QueryCommand(int id);

    CMainFrame* GetMainFrame() const { return m_pMainFrame.get(); }
    // The "Tik" template, whose view factory the program sets to the project view.
    CDocTemplate* GetProjectTemplate() const { return m_pProjectTemplate; }
    CDocManager* GetDocManager() const { return m_docManager.get(); }
    CProfile& Profile() { return m_host.Profile(); }
    const CRecentFileList& RecentProjects() const { return *m_pProjectMRU; }

    std::string m_strProjectName;
    std::string m_strProjectFolder;
    CDocTemplate* m_pProjectTemplate = nullptr;
    CDocTemplate* m_pCalcTemplate = nullptr;
    std::unique_ptr<CRecentFileList> m_pProjectMRU;
    bool m_bProjectOpen = false;

    // The framework's commands on the active document (save, save as, close).
    class DocumentCommands;

private:
    void RegisterCommands();
    bool RunUpdaterAtStart();
    void ReadVersion();
    void OnNewProject();
    void OnOpenProject();
    void OnSaveAll();
    void OnCloseAll();
    void OnFileNew();
    void OnFileOpen();
    void OnHelpDocument(const char* name);
    void OnUpdateHistory();
    void OnCheckUpdate();
    void OnToggleUpdateAtStart();
    void OnAppExit();
    void PostTreeRefresh();
    // Asks about every open document before another project replaces them. False on Cancel.
    bool SaveAllBeforeProjectChange();
    bool IsProjectPath(const std::string& path) const;
    void AfterProjectOpened(const std::string& path);
    bool Busy() const;

    AppHost& m_host;
    std::unique_ptr<CMainFrame> m_pMainFrame;
    std::unique_ptr<CDocManager> m_docManager;
    std::unique_ptr<DocumentCommands> m_docCommands;
    bool m_exited = false;
};

}  // namespace wv

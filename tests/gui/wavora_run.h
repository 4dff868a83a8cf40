// Wavora itself, started through its own start-up (RunWavora) in the test's scratch folder
// (settings, locks, working files and a copy of the example project BAY with a second
// calculation BAY2 inside it), with a test script running in its event loop. The script
// works the real main window with clicks and keys; the modal windows are answered by a
// ModalAnswerer and, in scripted mode, the engine's questions by a SuiteUi.
#pragma once

#include "gui/gui_driver.h"
#include "gui/suite_ui.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

class QMdiSubWindow;
class QMenuBar;
class QTreeWidget;

namespace wv {
class CDocument;
class CMDIChildWnd;
class CTydFrame;
class CView;
class CWavoraApp;
class MainWindow;
class QtAppHost;
class TydScrollView;
}  // namespace wv

namespace wv::gui {

struct WavoraOptions {
    // The engine's questions and file dialogs through the scripted service; false: the
    // program's own message boxes and file dialogs, answered on screen.
    bool scriptedUi = true;
    // The first line of SYSVER.DAT in the start folder (written with CR LF); no file
    // when empty.
    std::string version = "2.5.1";
};

class WavoraRun {
public:
    CWavoraApp& App() const { return *m_app; }
    QtAppHost& Host() const { return *m_host; }
    MainWindow* Window() const;
    QMenuBar* Bar() const;
    SuiteUi& Ui() { return m_ui; }
    ModalAnswerer& Modals() { return *m_modals; }
    bool Scripted() const { return m_options.scriptedUi; }

    // The start folder (the current folder) and the project's folder.
    std::string Start() const;
    std::string Bay() const;
    static std::string BayFile(const std::string& name);

    // ﾌﾟﾛｼﾞｪｸﾄを開く from the File menu, its file dialog answered with BAY.TIK.
    bool OpenBayProject();
    // 開く from the File menu, then the entry `name` clicked in the data-selection tree.
    QMdiSubWindow* OpenFromTree(const std::string& name);
    QTreeWidget* Tree() const;
    // The tree's own "閉じる" button clicked (when it shows).
    void CloseTree();
    // The document window whose title starts with `name` ("BAY1.TYD"), or null.
    QMdiSubWindow* WindowOf(const std::string& name) const;
    CMDIChildWnd* ChildOf(QMdiSubWindow* sub) const;
    CDocument* DocumentNamed(const std::string& name) const;
    // A click into the window's title bar, as a user activates it.
    void Activate(QMdiSubWindow* sub);
    // The calculation window's body and the view of its pane.
    CTydFrame* FrameOf(QMdiSubWindow* sub) const;
    TydScrollView* PaneView(QMdiSubWindow* sub, int row, int col) const;
    // Drags the split bars of a calculation window in from its edges: 2 x 2 panes.
    bool Split(QMdiSubWindow* sub);
    // Chooses the recent-project entry `n` (1..4) of the File menu.
    bool ChooseRecent(int n);
    // Chooses a menu item; false when it is missing or disabled.
    bool Choose(const MenuPath& path);

    // Empty when the windows, frames, documents and the result list's owner agree;
    // otherwise what does not.
    std::string Inconsistency() const;
    // Whether the program is still running (no exit asked for, the main window shown).
    bool Running() const;

    // What the answerer saw during the whole run (kept after the program has ended).
    const std::vector<ModalAnswerer::Seen>& SeenModals() const { return m_seen; }

    // Internal: the start-up and the end of a run.
    void Attach(CWavoraApp& app, QtAppHost& host, const WavoraOptions& options);
    void EndIfRunning();
    void Detach();

private:
    CWavoraApp* m_app = nullptr;
    QtAppHost* m_host = nullptr;
    WavoraOptions m_options;
    SuiteUi m_ui;
    std::unique_ptr<ModalAnswerer> m_modals;
    std::vector<ModalAnswerer::Seen> m_seen;
};

// Prepares the scratch start folder and runs Wavora with `script` in its event loop;
// after the script the program is closed (save questions declined) unless it ended
// already. Returns the program's exit code.
int RunWavoraScript(const WavoraOptions& options, const std::function<void(WavoraRun&)>& script);

}  // namespace wv::gui

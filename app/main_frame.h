// The main frame of Wavora: the MDI window's logic. It owns the data-selection tree, and
// (through CShellFrame, what the views see of it) the status panes and the place of the
// output-point result list; it reads the defaults file when it is built and writes it in
// the program's shutdown step.
#pragma once

#include "app/data_tree.h"
#include "core/shell_frame.h"
#include "platform/profile.h"

#include <functional>
#include <memory>
#include <string>

namespace wv {

class CDocument;
class CView;

// The main window's widget side.
class MainFrameHost {
public:
    virtual ~MainFrameHost() = default;
    virtual void ActivateMainWindow() = 0;
    // The menu of this resource replaces the window's menu.
    virtual void ShowMenu(int menuId) = 0;
    // The commands' state may have changed: toolbar and menus ask again.
    virtual void RefreshCommandStates() = 0;
};

class CMainFrame : public CShellFrame {
public:
    // Reads the defaults file (the application-wide defaults of new calculations).
    explicit CMainFrame(CProfile& profile);
    ~CMainFrame() override;

    void SetFrameHost(MainFrameHost* host) { m_frameHost = host; }
    // The application's open-document path (activates a document already open).
    void SetDocumentOpener(std::function<CDocument*(const std::string&)> open) { m_open = std::move(open); }
    // The menu of a document's template (0: the main menu).
    void SetMenuOfDocument(std::function<int(CDocument*)> menuOf) { m_menuOf = std::move(menuOf); }

    // The shutdown step that writes the defaults file. True when written.
    bool SaveDefaults();

    void ShowTree(const std::string& folder, const std::string& projectName);
    void ShowResultList();
    long OnTreeOpen(std::uintptr_t wParam, std::intptr_t lParam);
    long OnResultListClosed();
    long WindowProc(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) override;

    int CurrentMenuId() const { return m_menuId; }
    // The application's state changed outside a command (a project opened by a drop).
    void RefreshCommandStates() {
        if (m_frameHost) m_frameHost->RefreshCommandStates();
    }

    std::unique_ptr<CDataTreeDlg> m_pTreeDlg;
    std::string m_strDataFolder;

protected:
    void OnActiveChildChanged() override;

private:
    MainFrameHost* m_frameHost = nullptr;
    std::function<CDocument*(const std::string&)> m_open;
    std::function<int(CDocument*)> m_menuOf;
    int m_menuId = 0;
};

}  // namespace wv

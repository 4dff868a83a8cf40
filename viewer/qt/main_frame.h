// The viewer's main window: menu, toolbar, status bar, the four recent files, the About
// box, and the one document/view pair. Commands go straight to the view's logic and to
// the output commands; nothing here decides anything about the data.
#pragma once

#include "viewer/about_dlg.h"
#include "viewer/output_commands.h"
#include "viewer/qt/reliefscope_view.h"
#include "viewer/reliefscope_doc.h"

#include <QMainWindow>

#include <memory>

class QAction;
class QLabel;
class QMenu;
class QToolBar;

namespace wv {

// The output commands' questions as Qt dialogs.
class QtOutputPrompts : public OutputPrompts {
public:
    explicit QtOutputPrompts(QWidget* parent) : m_parent(parent) {}
    std::optional<std::string> AskSaveFile(SaveFileKind kind) override;
    bool AskDxfOptions(CDxfOutputDlg& dlg) override;
    void BeginWait() override;
    void EndWait() override;

private:
    QWidget* m_parent;
};

class CMainFrame : public QMainWindow {
    Q_OBJECT
public:
    CMainFrame();
    ~CMainFrame() override;

    CReliefscopeDoc& Document() { return m_doc; }
    CReliefscopeView& View() { return *m_view; }
    // The version text (CP932 bytes) for the About box.
    void SetVersion(const std::string& cp932) { m_version = cp932; }
    // Tests give their own answers to the output commands' questions.
    void SetPrompts(OutputPrompts* prompts) { m_prompts = prompts; }

    // Opens a file as the document; false (and the previous file stays) when refused.
    bool OpenFile(const std::string& path);
    QAction* Action(int id) const;
    QString PromptPaneText() const;
    QString PositionPaneText() const;
    const RecentFiles& Recent() const { return m_recent; }

public slots:
    void OnFileOpen();
    void OnOutputAreaFile();
    void OnOutput3dDxf();
    void OnAppAbout();

private:
    void BuildMenusAndBars();
    void UpdateTitle();
    void UpdateStatus();
    void UpdateRecentMenu();
    void LoadRecent();
    void SaveRecent();

    CReliefscopeDoc m_doc;
    CReliefscopeView* m_view = nullptr;
    QtOutputPrompts m_qtPrompts;
    OutputPrompts* m_prompts = nullptr;
    std::string m_version;
    RecentFiles m_recent;
    QMenu* m_fileMenu = nullptr;
    QAction* m_recentAnchor = nullptr;
    std::vector<QAction*> m_recentActions;
    QToolBar* m_toolBar = nullptr;
    QLabel* m_promptPane = nullptr;
    QLabel* m_positionPane = nullptr;
};

}  // namespace wv

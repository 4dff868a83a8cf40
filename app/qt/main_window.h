// The main window's widgets: the MDI area, the menus and the toolbar built from the
// command table, the status panes, the document windows and the tree dialog. It passes
// every event on to the application and its frame and shows what they decide.
#pragma once

#include <functional>

#include "app/main_frame.h"
#include "platform/frame.h"

#include <QMainWindow>
#include <QPointer>

#include <map>

class QAction;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QToolBar;

namespace wv {

class CWavoraApp;
class TreeDialog;

class MainWindow : public QMainWindow, public FrameHost, public MainFrameHost {
public:
    MainWindow(CWavoraApp& app, CMainFrame& frame);
    ~MainWindow() override;

    // FrameHost
    void ChildCreated(CMDIChildWnd& child) override;
    // The body of a document window whose view needs more than one scroll view (the
    // calculation view's splitter); null from the factory: the plain body.
    using ChildBodyFactory = std::function<QWidget*(CMDIChildWnd& child, QWidget* parent)>;
    static void SetChildBodyFactory(ChildBodyFactory factory);
    void ChildDestroying(CMDIChildWnd& child) override;
    void ActivateChild(CMDIChildWnd* child) override;
    void ChildTitleChanged(CMDIChildWnd& child) override;
    // MainFrameHost
    void ActivateMainWindow() override;
    void ShowMenu(int menuId) override;
    void RefreshCommandStates() override;

    QMdiArea* MdiArea() const { return m_mdi; }
    QToolBar* ToolBar() const { return m_toolBar; }
    QLabel* StatusPane(int index) const;
    TreeDialog* Tree() const { return m_tree; }
    QAction* Action(int id);
    // The user closes a document window (its close box).
    void CloseChildByUser(CMDIChildWnd* child);

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    QString Title() const;
    void UpdateTitle();
    void BuildToolBar();
    void BuildStatusBar();
    void FillMenu(QMenu* menu, const std::vector<struct MenuItem>& items);
    void UpdateMenu(QMenu* menu);
    void FillWindowList(QMenu* menu, QAction* marker);
    // The commands the window serves itself, as the framework's frame and application did:
    // the bars, the window arrangement and the print setup. False for any other command.
    bool OwnCommandState(int id, CCmdUI& ui) const;
    bool RunOwnCommand(int id);
    void ArrangeIcons();
    void ApplyState(QAction* action, int id);
    CMDIChildWnd* ChildOf(QMdiSubWindow* sub) const;

    CWavoraApp& m_app;
    CMainFrame& m_frame;
    QMdiArea* m_mdi = nullptr;
    QToolBar* m_toolBar = nullptr;
    std::vector<QLabel*> m_panes;
    std::map<int, QAction*> m_actions;
    TreeDialog* m_tree = nullptr;
    bool m_activating = false;
    bool m_closing = false;
};

}  // namespace wv

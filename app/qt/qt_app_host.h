// The Qt side of the application object: the instance lock, the settings file, the main
// window, the desktop's file opener and the About box.
#pragma once

#include "app/wavora_app.h"
#include "platform/qt/qt_profile.h"
#include "platform/qt/single_instance.h"

#include <QPointer>

namespace wv {

class MainWindow;

class QtAppHost : public AppHost {
public:
    QtAppHost();
    ~QtAppHost() override;

    bool AcquireSingleInstance() override;
    CProfile& Profile() override { return m_profile; }
    bool CreateMainWindow(CMainFrame& frame) override;
    void ShowMainWindow() override;
    void DestroyMainWindow() override;
    void MenusChanged() override;
    bool OpenWithShell(const std::string& path) override;
    void ShowAbout(const std::string& versionLine) override;
    void Quit(int exitCode) override;
    std::unique_ptr<CView> CreateView(int templateId) override;

    void SetApp(CWavoraApp* app) { m_app = app; }
    MainWindow* Window() const { return m_window.data(); }
    int ExitCode() const { return m_exitCode; }
    bool QuitRequested() const { return m_quit; }

private:
    SingleInstanceLock m_lock;
    QtProfile m_profile;
    CWavoraApp* m_app = nullptr;
    QPointer<MainWindow> m_window;
    int m_exitCode = 0;
    bool m_quit = false;
};

}  // namespace wv

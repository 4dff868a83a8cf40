// The program's real main window on the offscreen platform, started in the test's
// scratch folder with the example bay: the application object, its Qt host, both views
// installed as the program installs them, and the scripted UI service. What a test reaches
// of the calculation windows it reaches through the real frame, panes and views.
#pragma once

// The engine's headers go before Qt's, whose "slots" keyword they use as a name.
#include "calcview/qt/tyd_scroll_view.h"
#include "app/qt/install_views.h"
#include "app/qt/main_window.h"
#include "app/qt/qt_app_host.h"
#include "app/wavora_app.h"
#include "calcview/qt/tyd_frame.h"
#include "platform/qt/scroll_view_widget.h"
#include "platform/ui_service.h"
#include "tests/app/app_test_util.h"

#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>

#include <memory>
#include <string>

namespace wv::test {

class BayWindow {
public:
    // `sysver`: the bytes of "SYSVER.DAT" in the start folder.
    explicit BayWindow(const std::string& sysver = "V1.2\r\n") {
        bay = apptest::StartInScratch();
        apptest::WriteFile(apptest::Here() + "/SYSVER.DAT", sysver);
        qapp = std::make_unique<QApplication>(m_argc, m_argv);
        scoped = std::make_unique<ScopedUi>(&ui);
        host = std::make_unique<QtAppHost>();
        app = std::make_unique<CWavoraApp>(*host);
        host->SetApp(app.get());
        started = app->InitInstance();
        if (!started) return;
        window = host->Window();
        InstallViews(*app, *host);
        window->resize(1200, 900);
        window->show();
        QApplication::processEvents();
    }

    ~BayWindow() {
        if (app) {
            for (CDocument* d : app->GetDocManager()->Documents()) d->SetModifiedFlag(false);
            app->ExitInstance();
        }
        app.reset();
        host.reset();
        scoped.reset();
        qapp.reset();
    }

    // Opens a calculation of the bay's project (opening the project first) maximised.
    TydScrollView* OpenCalc(const std::string& file) {
        if (!app->m_bProjectOpen && !app->OpenProject(bay + "/BAY.TIK")) return nullptr;
        if (!app->OpenDocumentFile(bay + "/" + file)) return nullptr;
        QMdiSubWindow* sub = window->MdiArea()->activeSubWindow();
        if (!sub) return nullptr;
        sub->showMaximized();
        QApplication::processEvents();
        return ActivePane();
    }

    // The active calculation window's first pane.
    TydScrollView* ActivePane(int row = 0, int col = 0) const {
        QMdiSubWindow* sub = window->MdiArea()->activeSubWindow();
        auto* frame = sub ? dynamic_cast<CTydFrame*>(sub->widget()) : nullptr;
        ScrollViewWidget* pane = frame ? frame->Pane(row, col) : nullptr;
        return pane ? dynamic_cast<TydScrollView*>(pane->View()) : nullptr;
    }

    std::string bay;
    ScriptedUi ui;
    std::unique_ptr<QApplication> qapp;
    std::unique_ptr<ScopedUi> scoped;
    std::unique_ptr<QtAppHost> host;
    std::unique_ptr<CWavoraApp> app;
    MainWindow* window = nullptr;
    bool started = false;

private:
    int m_argc = 1;
    char m_name[16] = "wavora_test";
    char* m_argv[2] = {m_name, nullptr};
};

}  // namespace wv::test

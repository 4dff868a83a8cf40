// The views' headers (and the engine headers they bring) before any Qt header, whose
// "slots" macro would rewrite the engine's names.
#include "project/qt/tik_view.h"
#include "calcview/qt/tyd_scroll_view.h"
#include "calcview/calc_view_menus.h"
#include "calcview/qt/result_list_provider.h"
#include "calcview/qt/tyd_frame.h"
#include "calcdoc/qt/calc_dialogs_qt.h"
#include "core/command_ids.h"
#include "core/shell_commands.h"
#include "platform/command_table.h"
#include "project/digitizer_port.h"

#include "app/qt/install_views.h"
#include "app/qt/main_window.h"
#include "app/qt/qt_app_host.h"
#include "app/wavora_app.h"

#include <QCoreApplication>
#include <QPointer>

#include <memory>

namespace wv {

void InstallProjectView(CWavoraApp& app) {
    SetDigitizerProfile(&app.Profile());
    RegisterProjectViewCommands(Commands(), ids::IDR_TIKTYPE, kMenuWindow);
    if (CDocTemplate* t = app.GetProjectTemplate()) {
        CStatusBar* bar = app.GetMainFrame() ? &app.GetMainFrame()->StatusBar() : nullptr;
        t->SetViewFactory([bar] { return std::make_unique<CTikView>(bar); });
    }
}

void InstallCalcView(CWavoraApp& app, QWidget* dialogParent) {
    if (app.m_pCalcTemplate) app.m_pCalcTemplate->SetViewFactory([] { return std::make_unique<TydScrollView>(); });
    // A calculation window's body is the splitter of its panes.
    MainWindow::SetChildBodyFactory([](CMDIChildWnd& child, QWidget* parent) -> QWidget* {
        if (child.Views().empty() || !dynamic_cast<TydScrollView*>(child.Views().front().get())) return nullptr;
        return new CTydFrame(child, parent);
    });
    QPointer<QWidget> parent(dialogParent);
    CTydView::SetDialogRunner([parent](CDialogModel& dlg) { return RunCalcDialog(dlg, parent.data()); });
    SetTydSaveDialog([parent](const std::string& folder, const std::string& name, std::string& path) {
        path = RunFileSaveDialog(folder + name, parent.data());
        return !path.empty();
    });
    SetTydSaveAsHook([&app] { app.OnFileSaveAs(); });
    RegisterCalcViewCommands(Commands());
    // One result list for the program's life, made with the main frame it reports to.
    static std::unique_ptr<CalcResultListProvider> list;
    if (CMainFrame* frame = app.GetMainFrame()) {
        frame->SetResultListProvider(nullptr);
        list = std::make_unique<CalcResultListProvider>(*frame, app.Profile(), dialogParent);
        frame->SetResultListProvider(list.get());
        // The list goes while the frame and the windows it refers to are still there.
        QObject::connect(qApp, &QCoreApplication::aboutToQuit, [frame] {
            frame->SetResultListProvider(nullptr);
            list.reset();
        });
    }
}

void InstallViews(CWavoraApp& app, QtAppHost& host) {
    InstallProjectView(app);
    InstallCalcView(app, host.Window());
    host.MenusChanged();
}

}  // namespace wv

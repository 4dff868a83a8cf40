#include "calcview/qt/install.h"

#include "app/wavora_app.h"
#include "calcview/calc_view_menus.h"
#include "calcview/qt/tyd_scroll_view.h"
#include "calcview/qt/result_list_provider.h"
#include "calcview/qt/tyd_frame.h"
#include "calcdoc/qt/calc_dialogs_qt.h"

#include <QCoreApplication>
#include <QPointer>

namespace wv {

void InstallCalcView(CWavoraApp& app, QWidget* dialogParent) {
    if (app.m_pCalcTemplate) app.m_pCalcTemplate->SetViewFactory([] { return std::make_unique<TydScrollView>(); });
    InstallTydFrame();
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

}  // namespace wv

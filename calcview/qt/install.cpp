#include "calcview/qt/install.h"

#include "app/wavora_app.h"
#include "calcview/calc_view_menus.h"
#include "calcview/qt/tyd_scroll_view.h"
#include "core/qt/core_dialogs_qt.h"

#include <QPointer>

namespace wv {

void InstallCalcView(CWavoraApp& app, QWidget* dialogParent) {
    if (app.m_pCalcTemplate) app.m_pCalcTemplate->SetViewFactory([] { return std::make_unique<TydScrollView>(); });
    QPointer<QWidget> parent(dialogParent);
    CTydView::SetDialogRunner([parent](CDialogModel& dlg) { return RunDialog(dlg, parent.data()); });
    SetTydSaveAsHook([&app] { app.OnFileSaveAs(); });
    RegisterCalcViewCommands(Commands());
}

}  // namespace wv

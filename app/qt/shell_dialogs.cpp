#include "app/qt/shell_dialogs.h"

#include "app/wavora_app.h"
#include "core/new_file_dlgs.h"
#include "core/qt/core_dialogs_qt.h"

#include <QApplication>

namespace wv {

void InstallShellDialogs() {
    // Both dialogs create the empty file themselves; the application then opens it, and
    // a file of length 0 opens as a new document.
    CWavoraApp::SetNewCalcDialog([](const std::string& projectFolder, std::string& path) {
        path = RunNewTydDialog(projectFolder, QApplication::activeWindow());
        return !path.empty();
    });
    CWavoraApp::SetNewProjectDialog([](NewProjectChoice& choice) {
        return RunNewProjectDialog(choice.folder, choice.name, QApplication::activeWindow());
    });
    CWavoraApp::SetSplash([] {
        CSplashDlg dlg;
        auto host = ShowSplash(dlg);
        // Shown and painted once, then gone: start-up creates and destroys it.
        QApplication::processEvents();
    });
}

}  // namespace wv
